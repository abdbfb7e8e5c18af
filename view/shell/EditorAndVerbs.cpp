// A file opened in the configured editor, or with the first verb its file class
// registers.
#include "app/CommandMacros.h"
#include "app/Directories.h"
#include "app/FileProbes.h"
#include "util/Formatting.h"
#include "util/PathHelpers.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/dialogs/DialogHelpers.h"
#include "fileops/dialogs/NameInputDlgs.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/commands/CommandDispatch.h"
#include "view/shell/ShellSeam.h"
#include "view/ViewBusyGuard.h"

#include <vector>

namespace
{

CString Unquoted(const CString& text)
{
    int length = text.GetLength();
    if (length >= 2 && text[0] == L'"' && text[length - 1] == L'"')
        return text.Mid(1, length - 2);
    return text;
}

bool IsAbsolute(const CString& name)
{
    return (name.GetLength() >= 2 && name[1] == L':') || name.Left(2) == L"\\\\" ||
           (!name.IsEmpty() && name[0] == L':');
}

} // namespace

void BuildEditorArgument(int withOption, LPCWSTR baseDir, LPCWSTR path, CString& out)
{
    CString name = Unquoted(path ? path : L"");
    CString root;
    CString full = name;
    if (!GetPathRoot(name, root))
        full.Format(L"%s\\%s", baseDir ? baseDir : L"", static_cast<LPCWSTR>(name));
    out.Empty();
    if (withOption && !g_EDITOR_OPEN_UNICODE_OPTION.IsEmpty() && HasUnicodeBom(full))
        out = g_EDITOR_OPEN_UNICODE_OPTION + L" ";
    QuoteIfContainsBlank(name);
    out += name;
}

void CQvView::OpenInEditor(LPCWSTR fileName, LPCWSTR directory, int pane, int unicodeOption)
{
    if (g_EDITORNAME.IsEmpty())
        return;
    CString base = directory ? directory : L"";
    CString editor;
    if (ExpandCommandMacros(g_EDITORNAME, editor, -1, pane, base, 0) == MACRO_FAILED)
        return;
    CString file = fileName ? fileName : L"";
    if (!file.IsEmpty() && file[0] == L'%')
    {
        CString expanded;
        CString fileBase = base;
        if (ExpandCommandMacros(file, expanded, -1, pane, fileBase, 0) == MACRO_FAILED)
            return;
        file = expanded;
    }
    file = Unquoted(file);
    if (!IsAbsolute(file))
    {
        CString folder = directory ? directory : L"";
        // A virtual drive lists files of other folders: the editor needs the real one.
        if (pane >= 0 && pane <= 1 && g_Panes[pane] != nullptr && g_Panes[pane]->IsOnVirtualDrive())
            for (INT_PTR i = 0; i < g_Panes[pane]->m_entries.GetSize(); ++i)
            {
                const CFileInfo& entry = g_Panes[pane]->m_entries[i];
                if (_wcsicmp(entry.GetName(), file) == 0 && !entry.m_realDirectory.IsEmpty())
                {
                    folder = entry.m_realDirectory;
                    break;
                }
            }
        CString full;
        MakePath(folder, file, full);
        file = full;
    }
    SetCurrentDir(directory);
    CString parameters;
    BuildEditorArgument(unicodeOption, directory, file, parameters);
    // An editor line with a per-file macro names one program per target entry.
    std::vector<CString> programs;
    for (int k = 0;; ++k)
    {
        CString programBase = base;
        CString program;
        int result = ExpandCommandMacros(editor, program, k, pane, programBase, 0);
        if (result == MACRO_ENTRY_EXPANDED)
            programs.push_back(program);
        else if (result != MACRO_SKIP_ENTRY)
            break;
    }
    if (programs.empty())
        programs.push_back(editor);
    for (const CString& program : programs)
        g_ShellRunSeam.shellExecute(m_hWnd, nullptr, program, parameters, directory, SW_SHOWNORMAL);
}

int CQvView::OpenWithShellVerb(LPCWSTR fileName, LPCWSTR directory)
{
    CString extension;
    if (!SplitExtension(fileName, nullptr, &extension) || extension.IsEmpty())
        return 0;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"." + extension, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    wchar_t fileClass[512] = {};
    DWORD size = sizeof(fileClass) - sizeof(wchar_t);
    LONG status = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(fileClass), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || fileClass[0] == 0)
        return 0;
    CString verb;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, CString(fileClass) + L"\\shell", 0, KEY_READ, &key) == ERROR_SUCCESS)
    {
        DWORD longest = 0;
        RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr);
        std::vector<wchar_t> name(longest + 2, 0);
        DWORD length = longest + 1;
        status = RegEnumKeyExW(key, 0, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return 0;
        verb = name.data();
    }
    CString file;
    CString workDirectory;
    int pane = 0;
    if (FindPaneByMode(&pane, PANE_POS_ACTIVE, PANE_MODE_ARCHIVE, 0xFFFFFFFF))
    {
        if (!ExtractCursorMemberToTemp())
            return 0;
        file.Format(L"%s\\%s", (LPCWSTR)m_shell.extractedFolder, (LPCWSTR)m_shell.extractedName);
        workDirectory = m_shell.extractedFolder + L"\\";
        HINSTANCE result = g_ShellRunSeam.shellExecute(m_hWnd, verb.IsEmpty() ? nullptr : (LPCWSTR)verb, file,
                                                       nullptr, workDirectory, SW_SHOWNORMAL);
        return reinterpret_cast<INT_PTR>(result) > 31 ? 1 : 0;
    }
    CString folder = directory ? directory : L"";
    while (!folder.IsEmpty() && folder[folder.GetLength() - 1] == L'\\')
        folder = folder.Left(folder.GetLength() - 1);
    file.Format(L"%s\\%s", (LPCWSTR)folder, fileName);
    workDirectory = folder + L"\\";
    HINSTANCE result = g_ShellRunSeam.shellExecute(m_hWnd, verb.IsEmpty() ? nullptr : (LPCWSTR)verb, file,
                                                   nullptr, workDirectory, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 31 ? 1 : 0;
}

// "@Edit": the cursor file of the active filer pane in the editor.
VIEW_COMMAND(EditFile)
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    CFilerPane& pane = *g_Panes[index];
    CEditNameDlg dialog(DialogOwner(&view));
    dialog.m_paneIndex = index;
    dialog.m_directory = pane.m_currentDir;
    dialog.m_bUnicode = g_CHECK_EDIT_FILE_IS_UNICODE;
    // A folder listing offers the name the user set for one or for several marked
    // files; elsewhere, or without such a name, the cursor file.
    const bool listing = pane.m_subMode == PANE_SUB_DIRECTORY && !pane.IsOnVirtualDrive();
    const DWORD strictGuard = PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_CURSOR_NOT_DOT;
    if (!pane.CheckState(strictGuard))
    {
        const CString& preset = pane.m_markedCount == 0 ? g_ONEDEFEDIT : g_SOMEDEFEDIT;
        const CFileInfo* cursor = pane.GetCursorEntry();
        if (listing && !preset.IsEmpty())
            dialog.m_fileName = preset;
        else if (cursor != nullptr && !cursor->IsDirectory())
        {
            // A found file lies in a folder of its own: its whole path.
            if (!cursor->GetDirectory().IsEmpty() &&
                cursor->GetDirectory().CompareNoCase(pane.m_currentDir) != 0)
                dialog.m_fileName = cursor->GetFullPath();
            else
                dialog.m_fileName = cursor->GetName();
        }
    }
    if (!listing && dialog.m_fileName.IsEmpty())
        return;
    CViewBusyGuard busy(view);
    g_SoundHooks.playCommandSound(L"EDIT");
    if (dialog.DoModal() != IDOK)
        return;
    g_CHECK_EDIT_FILE_IS_UNICODE = dialog.m_bUnicode;
    CString name = dialog.m_fileName;
    // One leading backslash is dropped; a network path keeps its two.
    if (name.GetLength() >= 1 && name[0] == L'\\' &&
        (name.GetLength() < 2 || (name[1] != L'\\' && name[1] != L':')))
        name = name.Mid(1);
    view.OpenInEditor(name, pane.m_currentDir, index, g_CHECK_EDIT_FILE_IS_UNICODE);
    if (pane.ReadDirectory(FALSE) == READ_REBUILT)
        pane.SortEntries();
    view.DrawPaneTitle(index);
    view.DrawCursorLine(index, 1);
}
