// Return on a file: the row of the file-kind table for its extension, a program
// start, or the action Windows has registered for it.
#include "view/navigation/FileKindActions.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/Directories.h"
#include "app/PlugInCommands.h"
#include "util/Log.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/dialogs/InputDlgs.h"
#include "app/settings/GeneralToolSettings.h"
#include "filer/FilerPane.h"
#include "tools/kinds/SelectKindDlg.h"
#include "view/QvView.h"
#include "view/shell/ShellSeam.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace
{

void RunKindRow(CQvView& view, int pane, LPCWSTR program, LPCWSTR parameters, LPCWSTR fileDirectory)
{
    if (RefuseOwnPlugInReference(program))
        return;
    if (program[0] == L'@')
    {
        view.DispatchCommandKeyword(program);
        return;
    }
    // "%i" asks for one run per file, each waiting for the one before.
    if (wcsstr(parameters, L"%i") != nullptr)
    {
        g_ShellRunSeam.runLoopExecute(view, pane, fileDirectory, parameters, program);
        return;
    }
    view.ExecuteCommandLine(pane, program, parameters, fileDirectory);
}

bool IsProgramKeyword(const CString& program)
{
    return !program.IsEmpty() && program[0] == L'@' && program.CompareNoCase(L"@Execute") != 0 &&
           program.CompareNoCase(L"@ExecuteSetFileToParam") != 0 &&
           program.CompareNoCase(L"@ExecuteSetFileToFile") != 0;
}

// The path a shell link points at; empty when it cannot be read.
void ReadShortcutTarget(LPCWSTR link, CString& target)
{
    target.Empty();
    HRESULT com = CoInitialize(nullptr);
    IShellLinkW* shellLink = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink))))
    {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
        {
            wchar_t path[MAX_PATH * 4] = {};
            if (SUCCEEDED(file->Load(link, STGM_READ)) &&
                SUCCEEDED(shellLink->GetPath(path, ARRAYSIZE(path), nullptr, 0)))
                target = path;
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

} // namespace

FileOpenSeam g_FileOpenSeam = {ShellExecuteW, RunKindRow};

int CQvView::RunFileKindCommand(int pane, const CFileInfo& entry, LPCWSTR workDirectory,
                                LPCWSTR fileDirectory, int loopOnly)
{
    const CKindExeEntry* table =
        (g_SAMERETURNSHIFT || loopOnly || !m_bShiftDown) ? g_KindExeTable : g_KindExeShiftTable;
    CString name = entry.GetName();
    // A member's row holds only the start of a name longer than a path can be: the
    // kind is that of the whole name, which the stored path gives.
    CFilerPane* listing = PaneAt(pane);
    if (name.GetLength() >= MAX_PATH - 1 && listing != nullptr && listing->m_mode == PANE_MODE_ARCHIVE)
    {
        CArchiveFileInfo member;
        if (listing->CollectArchiveItems(member, 0, TRUE))
            name = member.GetWholeName();
    }
    int matches[kKindExeEntryCount];
    int count = 0;
    for (int i = 0; i < kKindExeEntryCount; ++i)
    {
        if (table[i].m_extension.IsEmpty() || !HasExtension(name, table[i].m_extension))
            continue;
        matches[count++] = i;
        if (!g_SELECTSAMEKIND)
            break;
    }
    if (count == 0)
        return 0;
    int chosen = matches[0];
    if (count > 1)
    {
        CSelectKindDlg dialog(name, table, DialogOwner(this));
        if (dialog.DoModal() != IDOK || dialog.m_result < 0)
            return 1;
        chosen = dialog.m_result;
    }
    const CKindExeEntry& row = table[chosen];
    if (!SetCurrentDir(workDirectory) && !IsProgramKeyword(row.m_action))
        return 1;
    CString memberFolder;
    CFilerPane* owner = PaneAt(pane);
    if (owner != nullptr && owner->m_mode == PANE_MODE_ARCHIVE)
    {
        if (loopOnly)
            return 0;
        // A program gets the member as a file: a copy in the temporary folder.
        if (!IsProgramKeyword(row.m_action))
        {
            if (!ExtractCursorMemberToTemp())
                return 1;
            memberFolder = m_shell.extractedFolder;
            fileDirectory = memberFolder;
        }
    }
    if (loopOnly)
    {
        if (row.m_action.IsEmpty() || row.m_action[0] == L'@' || row.m_action[0] == L'#' ||
            row.m_parameters.Find(L"%c") < 0)
            return 0;
        g_ShellRunSeam.runLoopExecute(*this, pane, fileDirectory, row.m_parameters, row.m_action);
        return 1;
    }
    g_FileOpenSeam.runKindRow(*this, pane, row.m_action, row.m_parameters, fileDirectory);
    return 1;
}

// Return on a file of a filer pane (view/navigation/FileKindActions.cpp): the
// file-kind table, else the program start or the registered action.
void OpenFileEntry(CQvView& view, int pane, const CFileInfo& entry)
{
    CFilerPane& target = *g_Panes[pane];
    CString directory =
        target.m_subMode == PANE_SUB_FIND_RESULTS ? CString(entry.GetDirectory()) : target.m_currentDir;
    LPCWSTR findDirectory = target.m_subMode == PANE_SUB_FIND_RESULTS ? (LPCWSTR)directory : nullptr;
    if (view.RunFileKindCommand(pane, entry, directory, findDirectory, 0))
        return;
    CString name = entry.GetName();
    for (LPCWSTR extension : {L"CMD", L"EXE", L"COM", L"BAT", L"PIF"})
        if (HasExtension(name, extension))
        {
            // A program opens the run dialog, as its menu command does.
            view.RunExecuteCommand(0);
            return;
        }
    bool shift = view.m_bShiftDown && !g_SAMERETURNSHIFT;
    if (shift ? g_KINDSHIFTWINEXE : g_KINDWINEXE)
    {
        if (HasExtension(name, L"LNK") && !(entry.m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            view.OpenShortcutEntry(shift ? 1 : 0, pane, entry))
            return;
        CString full;
        MakePath(directory, name, full);
        HINSTANCE result =
            g_FileOpenSeam.shellExecute(view.m_hWnd, nullptr, full, nullptr, directory, SW_SHOWNORMAL);
        // A result of 32 or more is success; a failure is not reported, the next
        // way is tried.
        if (reinterpret_cast<INT_PTR>(result) > 31)
            return;
        if ((shift ? g_SHIFTRETURNREADREGIST : g_RETURNREADREGIST) && view.OpenWithShellVerb(name, directory))
            return;
    }
    if (shift)
    {
        view.OpenInEditor(name, target.m_currentDir, pane, g_CHECK_EDIT_FILE_IS_UNICODE);
        // The editor may already have written the file, or a new one beside it.
        const int read = target.ReadDirectory(FALSE);
        if (read == READ_UNCHANGED)
            return;
        if (read == READ_REBUILT)
            target.SortEntries();
        target.MoveCursor(0, TRUE);
        view.RedrawMovedPane(pane, STATUS_PART_FULL);
        return;
    }
    // Anything else is shown in the text viewer, as "@View" shows the cursor file.
    view.OpenCursorInTextViewer(pane);
}

// Return on a member of an archive listing: the file-kind table, else the action
// the shell has registered (when ARCINFOREADREGIST or ARCINFOSHIFTREADREGIST asks
// for it), else the text viewer.
void OpenArchiveMember(CQvView& view, int pane, const CFileInfo& entry)
{
    CString temp;
    GetTempDirectory(temp);
    if (view.RunFileKindCommand(pane, entry, temp, temp, 0))
        return;
    const bool shift = view.m_bShiftDown && !g_SAMERETURNSHIFT;
    // The shell's action needs the member on disk: the opener extracts it first.
    if ((shift ? g_ARCINFOSHIFTREADREGIST : g_ARCINFOREADREGIST) &&
        view.OpenWithShellVerb(entry.GetName(), temp))
        return;
    view.OpenCursorInTextViewer(pane);
}

int CQvView::OpenShortcutEntry(int shiftVariant, int pane, const CFileInfo& entry)
{
    CString directory = entry.GetDirectory().IsEmpty() ? g_Panes[pane]->m_currentDir : entry.GetDirectory();
    CString link;
    MakePath(directory, entry.GetName(), link);
    CString target;
    ReadShortcutTarget(link, target);
    int directoryAction = shiftVariant ? g_LNK_DIR_ACT_RETURN_KEY_SHIFT : g_LNK_DIR_ACT_RETURN_KEY_STD;
    int fileAction = shiftVariant ? g_LNK_FILE_ACT_RETURN_KEY_SHIFT : g_LNK_FILE_ACT_RETURN_KEY_STD;
    DWORD attributes = target.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesLong(target);
    bool isFolder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!target.IsEmpty() && (IsPathRoot(target) || isFolder) && directoryAction == 1)
    {
        ChangePaneDirectory(pane, target, 1, 0, 0);
        return 1;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && !isFolder && (fileAction == 1 || fileAction == 2))
    {
        OpenPathInPane(pane, target);
        CFileInfo* cursor = g_Panes[pane] ? g_Panes[pane]->GetCursorEntry() : nullptr;
        int slash = target.ReverseFind(L'\\');
        CString name = target.Mid(slash + 1);
        if (fileAction == 1 && cursor != nullptr && _wcsicmp(cursor->GetName(), name) == 0 &&
            !cursor->IsDirectory() && !HasExtension(name, L"LNK"))
            OpenCursorEntry(0, 0);
        return 1;
    }
    g_FileOpenSeam.shellExecute(m_hWnd, nullptr, link, nullptr, directory, SW_SHOWNORMAL);
    return 1;
}
