// The pane's folder or selection handed to the rest of the desktop: a command prompt
// or PowerShell in the folder, new files from the shell's templates, and the file-kind
// loop over the target files.
#include "app/Directories.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/SettingStrings.h"
#include "app/settings/FilerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"
#include "view/shell/ShellSeam.h"
#include "app/CommandMacros.h"
#include "archivefront/dialogs/UnpackDlg.h"
#include "archivefront/sevenzip/ExtractPaths.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/TellAndAsk.h"

#include <vector>

namespace
{

// The active filer pane's folder with its trailing backslash, or the Windows folder
// on a virtual drive (no shell can start there); FALSE without an active filer pane.
BOOL GetShellFolder(CString& folder)
{
    int pane = 0;
    if (!FindPaneByMode(&pane, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return FALSE;
    folder = g_Panes[pane]->IsOnVirtualDrive() ? g_WindowsDir : g_Panes[pane]->m_currentDir;
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    SetCurrentDir(folder);
    return TRUE;
}

bool IsRunAs(LPCWSTR verb)
{
    return verb != nullptr && _wcsicmp(verb, L"RunAs") == 0;
}

BOOL PathExists(LPCWSTR path)
{
    return GetFileAttributesLong(path) != INVALID_FILE_ATTRIBUTES;
}

// The value under HKEY_CLASSES_ROOT\.<extension>\ShellNew; FALSE when it cannot be read.
BOOL ReadShellNewValue(const CString& extension, LPCWSTR valueName, std::vector<BYTE>& data, DWORD& type)
{
    CString keyName;
    keyName.Format(L".%s\\ShellNew", (LPCWSTR)extension);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return FALSE;
    // The size a failed read reports is the size to read with: a large "Data" value
    // then costs two calls, not one per two bytes.
    DWORD size = 256;
    LONG status = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 8 && status == ERROR_MORE_DATA; ++attempt)
    {
        data.resize(size + sizeof(wchar_t));
        DWORD got = size;
        status = RegQueryValueExW(key, valueName, nullptr, &type, data.data(), &got);
        if (status == ERROR_SUCCESS)
            data.resize(got);
        else
            size = got;
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

} // namespace

void BuildCommandPromptParameters(LPCWSTR directory, CString& out)
{
    CString root;
    if (!GetPathRoot(directory, root))
        root = directory;
    while (!root.IsEmpty() && root[root.GetLength() - 1] == L'\\')
        root = root.Left(root.GetLength() - 1);
    out.Format(L"/K %s && CD \"%s\"", (LPCWSTR)root, directory);
}

void BuildPowerShellParameters(LPCWSTR directory, CString& out)
{
    // A single-quoted PowerShell string takes everything literally except the quote
    // itself, which is doubled: neither a blank nor "$(...)" in a folder name can
    // break out and run as code in the elevated shell.
    CString literal;
    for (LPCWSTR p = directory; *p; ++p)
    {
        if (*p == L'\'' || *p == 0x2018 || *p == 0x2019 || *p == 0x201A || *p == 0x201B)
            literal += *p;
        literal += *p;
    }
    out.Format(L"-NoExit -command \"Set-Location -LiteralPath '%s'\"", (LPCWSTR)literal);
}

void CQvView::OpenCommandPrompt(LPCWSTR verb)
{
    CString folder;
    if (!GetShellFolder(folder))
        return;
    CString parameters;
    if (IsRunAs(verb))
        BuildCommandPromptParameters(folder, parameters);
    g_ShellRunSeam.shellExecute(m_hWnd, verb, SystemProgramPath(L"CMD.EXE"),
                                parameters.IsEmpty() ? nullptr : (LPCWSTR)parameters, folder, SW_SHOWNORMAL);
}

// "@Dosshell" and "@PowerShell" (0), "@DosShellRunAs" and "@PowerShellRunAs" (1).
VIEW_COMMAND(OpenCommandPromptAs)
{
    view.OpenCommandPrompt(value ? L"RunAs" : nullptr);
}

VIEW_COMMAND(OpenPowerShellAs)
{
    view.OpenPowerShell(value ? L"RunAs" : nullptr);
}

void CQvView::OpenPowerShell(LPCWSTR verb)
{
    CString folder;
    if (!GetShellFolder(folder))
        return;
    if (g_POWER_SHELL.IsEmpty())
        g_POWER_SHELL = L"powershell.exe";
    CString parameters;
    if (IsRunAs(verb))
        BuildPowerShellParameters(folder, parameters);
    // The stock name is the system's own PowerShell; a program the user chose is
    // started as stored.
    const CString program = g_POWER_SHELL.CompareNoCase(L"powershell.exe") == 0
                                ? SystemProgramPath(L"WindowsPowerShell\\v1.0\\powershell.exe")
                                : g_POWER_SHELL;
    g_ShellRunSeam.shellExecute(m_hWnd, verb, program, parameters.IsEmpty() ? nullptr : (LPCWSTR)parameters,
                                folder, SW_SHOWNORMAL);
}

void CQvView::CreateNewFile(int kind)
{
    int pane = 0;
    if (!FindPaneByMode(&pane, PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY) ||
        g_Panes[pane]->IsOnVirtualDrive())
        return;
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CString extension;
    CString displayName;
    CString type;
    if (kind >= 0 && kind < g_MakeNewFileKinds.GetSize())
    {
        extension = g_MakeNewFileKinds[kind].m_extension;
        displayName = g_MakeNewFileKinds[kind].m_displayName;
        type = g_MakeNewFileKinds[kind].m_templateType;
    }
    CString directory = g_Panes[pane]->m_currentDir;
    while (!directory.IsEmpty() && directory[directory.GetLength() - 1] == L'\\')
        directory = directory.Left(directory.GetLength() - 1);
    CString path;
    path.Format(L"%s\\新規%s.%s", (LPCWSTR)directory, (LPCWSTR)displayName, (LPCWSTR)extension);
    for (int number = 2; PathExists(path); ++number)
        path.Format(L"%s\\新規%s(%d).%s", (LPCWSTR)directory, (LPCWSTR)displayName, number,
                    (LPCWSTR)extension);
    auto createFile = [&](const BYTE* bytes, DWORD count) {
        HANDLE file = CreateFileLong(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        DWORD written = 0;
        if (count > 0)
            WriteFile(file, bytes, count, &written, nullptr);
        CloseHandle(file);
    };
    if (type.IsEmpty() || type.CompareNoCase(L"NullFile") == 0)
        createFile(nullptr, 0);
    else if (type.CompareNoCase(L"FileName") == 0 || type.CompareNoCase(L"Data") == 0)
    {
        std::vector<BYTE> data;
        DWORD valueType = 0;
        if (ReadShellNewValue(extension, type, data, valueType))
        {
            if (type.CompareNoCase(L"Data") == 0)
                createFile(data.data(), static_cast<DWORD>(data.size()));
            else
            {
                data.resize(data.size() + sizeof(wchar_t) * 2, 0);
                CString name(reinterpret_cast<LPCWSTR>(data.data()));
                CString source;
                source.Format(L"%s\\ShellNew\\%s", (LPCWSTR)g_WindowsDir, (LPCWSTR)name);
                if (!PathExists(source))
                    source = name;
                CopyFileLong(source, path, TRUE);
            }
        }
    }
    ReloadFilerPanes();
}

void CQvView::RunFileKindLoop()
{
    int pane = 0;
    if (!FindPaneByMode(&pane, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF) ||
        g_Panes[pane]->CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_DRIVE_PRESENT) != 0)
        return;
    CString temp;
    GetTempDirectory(temp);
    CFileInfo entry;
    for (int n = 0;
         g_Panes[pane] != nullptr && g_Panes[pane]->GetTargetEntry(TARGET_ALLOW_VIRTUAL_DRIVE, n, entry); ++n)
    {
        if (entry.IsDirectory())
            continue;
        CString entryDirectory = entry.GetDirectory();
        RunFileKindCommand(pane, entry, temp, entryDirectory, 1);
    }
}

// ---- The panes as the macro expander sees them.
BOOL GetMacroPaneTarget(int pane, int n, BOOL cursorOnly, MacroEntry& out)
{
    CFilerPane* source = PaneAt(pane);
    CFileInfo entry;
    DWORD flags = TARGET_ALLOW_VIRTUAL_DRIVE | (cursorOnly ? TARGET_CURSOR_ONLY : 0);
    if (source == nullptr || !source->GetTargetEntry(flags, n, entry))
        return FALSE;
    // A virtual drive lists files of other folders: programs need the real one.
    out.folder = entry.m_realDirectory.IsEmpty() ? entry.GetDirectory() : entry.m_realDirectory;
    out.name = entry.GetName();
    out.isFolder = entry.IsDirectory();
    return TRUE;
}

BOOL GetMacroPaneState(int pane, UINT& position, UINT& mode, int& subMode, CString& currentDir)
{
    const CFilerPane* found = PaneAt(pane);
    if (found == nullptr)
        return FALSE;
    const CFilerPane& target = *found;
    position = target.m_position;
    mode = target.m_mode;
    subMode = target.m_subMode;
    currentDir = target.m_currentDir;
    return TRUE;
}

// ---- Archive members handed to other programs: extracted to a temporary folder first.
namespace
{
// The folder the program's own temporary folder is made in: the graphic settings'
// temporary folder, else the system's (no closing backslash).
CString TempExtractionFolder(const CQvView& view)
{
    CString folder = view.m_tempDirectory;
    if (folder.IsEmpty())
        GetTempDirectory(folder);
    while (folder.GetLength() > 3 && folder[folder.GetLength() - 1] == L'\\')
        folder = folder.Left(folder.GetLength() - 1);
    return folder;
}
} // namespace

BOOL GetOwnTempFolder(CQvView& view, CString& folder)
{
    // The temporary folder is shared with every other program: a member extracted
    // there under its own name would replace, and at the end delete, a file of that
    // name that someone else keeps there. So members go into a folder of our own.
    const CString parent = TempExtractionFolder(view);
    CString bareParent = parent;
    bareParent.TrimRight(L'\\');
    for (INT_PTR i = 0; i < view.m_shell.ownTempFolders.GetSize(); ++i)
    {
        CString madeIn;
        SplitPath(view.m_shell.ownTempFolders[i], &madeIn, nullptr);
        if (madeIn.CompareNoCase(bareParent) == 0 && DirectoryExists(view.m_shell.ownTempFolders[i]))
        {
            folder = view.m_shell.ownTempFolders[i];
            return TRUE;
        }
    }
    // A folder of the name that is there already belongs to someone else (or to an
    // earlier run that kept it): it is never taken over, another name is made.
    const DWORD process = GetCurrentProcessId();
    for (int attempt = 1; attempt <= 100; ++attempt)
    {
        CString name;
        if (attempt == 1)
            name.Format(L"qv%lu", static_cast<unsigned long>(process));
        else
            name.Format(L"qv%lu_%d", static_cast<unsigned long>(process), attempt);
        CString candidate;
        MakePath(parent, name, candidate);
        if (CreateDirectoryLong(candidate, nullptr))
        {
            view.m_shell.ownTempFolders.Add(candidate);
            folder = candidate;
            return TRUE;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    folder.Empty();
    return FALSE;
}

int CQvView::ExtractCursorMemberToTemp()
{
    CViewBusyGuard busy(*this);
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_ARCHIVE, 0))
        return 0;
    // Only a file: a folder row would bring every member below it.
    const CFileInfo* cursor = g_Panes[index]->GetCursorEntry();
    if (cursor == nullptr || cursor->IsDots() || cursor->IsDirectory())
        return 0;
    CString folder;
    if (!GetOwnTempFolder(*this, folder))
    {
        CString text;
        text.Format(L"テンポラリフォルダの作成に失敗しました\n%s", TempExtractionFolder(*this).GetString());
        Tell(DialogOwner(this), text);
        return 0;
    }
    CUnpackDlg dialog(DialogOwner(this));
    dialog.m_sourceMode = UNPACK_FROM_ARCHIVE;
    dialog.m_sourcePane = index;
    dialog.m_toTemp = 1;
    dialog.m_baseFolder = folder;
    dialog.m_destination = folder;
    // The dialog names the file extraction wrote, under its cleaned name; it is what
    // the callers open, and it lies in our own folder.
    if (dialog.DoModal() != UNPACK_DONE || dialog.m_extractedFile.IsEmpty() ||
        !PathLiesInside(dialog.m_extractedFile, folder))
        return 0;
    SplitPath(dialog.m_extractedFile, &m_shell.extractedFolder, &m_shell.extractedName);
    for (INT_PTR i = 0; i < m_tempFiles.GetSize(); ++i)
        if (m_tempFiles[i].CompareNoCase(dialog.m_extractedFile) == 0)
            return 1;
    m_tempFiles.Add(dialog.m_extractedFile);
    return 1;
}
