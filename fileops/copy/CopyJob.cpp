#include "fileops/copy/CopyJob.h"
#include <time.h>
#include <wctype.h>
#include "app/Directories.h"
#include "app/Drives.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/Log.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/FileTimes.h"
#include "app/VirtualDrives.h"
#include "fs/FileIdentity.h"
#include "util/Wildcard.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/InputDlgs.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/EntryFind.h"
#include "fileops/copy/CopyRules.h"
#include "fileops/copy/CopyWayDlg.h"
#include "fileops/rename/RenameDlg.h"
#include "framework/FwWnd.h"

namespace
{

struct CopyKindText
{
    LPCWSTR tag;
    LPCWSTR caption;
};

const CopyKindText kKindTexts[COPY_OPERATION_COUNT] = {
    {L"COPY", L"ファイルのコピー"},
    {L"MOVE", L"ファイルの移動"},
    {L"UP_MOVE", L"ディレクトリの内容をこのディレクトリへ"},
    {L"NEGLECT_DIR", L"ディレクトリ中のファイルをこのディレクトリへ"},
    {L"DROP_COPY", L"ファイルのコピー"},
    {L"COPY_TO_ALL", L"選択しているすべてのディレクトリにコピー"},
    {L"SYNCRO_COPY", L"コピー"},
    {L"DROP_MOVE", L"ファイルの移動"},
    {L"DROP_LINK", L""},
};

BOOL SameRoot(LPCWSTR a, LPCWSTR b)
{
    CString rootA, rootB;
    if (!GetPathRoot(a, rootA) || !GetPathRoot(b, rootB))
        return FALSE;
    RemoveTrailingBackslash(rootA);
    RemoveTrailingBackslash(rootB);
    return rootA.CompareNoCase(rootB) == 0;
}

LONGLONG SizeOf(const WIN32_FIND_DATAW& findData)
{
    return ((LONGLONG)findData.nFileSizeHigh << 32) + findData.nFileSizeLow;
}

CString Joined(LPCWSTR directory, LPCWSTR name)
{
    CString path;
    MakePath(directory, name, path);
    return path;
}

CVirtualFolderStore* VirtualStoreOf(LPCWSTR path)
{
    if (path == nullptr || path[0] == 0 || path[1] != L':')
        return nullptr;
    wchar_t letter = (wchar_t)towupper(path[0]);
    if (letter < L'A' || letter > L'Z' || !IsVirtualDrive(letter, 1))
        return nullptr;
    return g_VirtualFolderStores[letter - L'A'];
}

} // namespace

BOOL IsMovingOperation(int kind)
{
    return kind == MOVE || kind == UP_MOVE || kind == NEGLECT_DIR || kind == DROP_MOVE;
}

LPCWSTR GetCopyOperationTag(int kind)
{
    return kind >= 0 && kind < COPY_OPERATION_COUNT ? kKindTexts[kind].tag : L"";
}

LPCWSTR GetCopyOperationCaption(int kind)
{
    return kind >= 0 && kind < COPY_OPERATION_COUNT ? kKindTexts[kind].caption : L"";
}

namespace
{

BOOL IsPathTextInsideDirectory(LPCWSTR destination, LPCWSTR directory)
{
    CString target(destination), folder(directory);
    RemoveTrailingBackslashRaw(target.GetBuffer());
    target.ReleaseBuffer();
    RemoveTrailingBackslashRaw(folder.GetBuffer());
    folder.ReleaseBuffer();
    target.MakeUpper();
    folder.MakeUpper();
    if (folder.IsEmpty())
        return FALSE;
    if (target == folder)
        return TRUE;
    return target.GetLength() > folder.GetLength() && wcsncmp(target, folder, folder.GetLength()) == 0 &&
           target[folder.GetLength()] == L'\\';
}

} // namespace

BOOL IsPathInsideDirectory(LPCWSTR destination, LPCWSTR directory)
{
    if (IsPathTextInsideDirectory(destination, directory))
        return TRUE;
    // The same folder may be spelt otherwise (short names, a closing dot, a link on the
    // way): walk the destination up to its root and compare each existing folder with
    // the directory itself.
    BY_HANDLE_FILE_INFORMATION folderInfo{};
    if (!GetFileIdentity(directory, folderInfo))
        return FALSE;
    CString ancestor(destination), root;
    RemoveTrailingBackslashRaw(ancestor.GetBuffer());
    ancestor.ReleaseBuffer();
    if (!GetPathRoot(ancestor, root))
        return FALSE;
    RemoveTrailingBackslash(root);
    while (ancestor.GetLength() > root.GetLength())
    {
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileIdentity(ancestor, info) && SameFileIdentity(info, folderInfo))
            return TRUE;
        const int slash = ancestor.ReverseFind(L'\\');
        if (slash < 0)
            break;
        ancestor = ancestor.Left(slash);
    }
    return FALSE;
}

BOOL IsSameFileObject(LPCWSTR a, LPCWSTR b)
{
    BY_HANDLE_FILE_INFORMATION infoA{}, infoB{};
    return GetFileIdentity(a, infoA) && GetFileIdentity(b, infoB) && SameFileIdentity(infoA, infoB);
}

CString FormatCopyFailure(LPCWSTR lead, LPCWSTR path, LPCWSTR operation, DWORD error, LPCWSTR detail)
{
    CString code;
    if (operation != nullptr && operation[0] != 0)
        code.Format(L"(%s:Error Code=%u)", operation, (unsigned)error);
    else
        code.Format(L"(Error Code=%u)", (unsigned)error);
    CString text;
    if (detail != nullptr && detail[0] != 0)
        text.Format(L"%s\n%s\n%s\n%s", lead, path, detail, code.GetString());
    else
        text.Format(L"%s\n%s\n%s", lead, path, code.GetString());
    return text;
}

CCopyDlgThread::CCopyDlgThread()
{
    m_bAutoDelete = FALSE;
    m_noCopyAttributes = g_NO_COPY_ACTION_COPY_ATTRIBUTES;
    m_noCopyDateTime = g_NO_COPY_ACTION_COPY_DATE_TIME;
}

CCopyDlgThread::~CCopyDlgThread()
{
    ClearWalk();
}

HWND CCopyDlgThread::OwnerWindow() const
{
    return m_pOwner != nullptr ? m_pOwner->GetSafeHwnd() : nullptr;
}

void CCopyDlgThread::ShowCurrent(LPCWSTR text)
{
    m_progress.SetDisplay(COPY_SHOW_CURRENT, text);
    m_progress.SetMainText(text);
}

int CCopyDlgThread::Ask(LPCWSTR text)
{
    if (m_stop)
        return 0;
    return ::Ask(m_pOwner, text, nullptr, MessageBoxKind::OkCancel) ? 1 : 0;
}

int CCopyDlgThread::WriteCopyLog(LPCWSTR operation, DWORD error, LPCWSTR path, LPCWSTR name)
{
    if (!m_writeLog || m_logName.IsEmpty())
        return 0;
    CString logPath = L"\\Log\\" + m_logName;
    if (name != nullptr)
        WriteLog(logPath, L"%s,%u,%s\\%s", operation, (unsigned)error, path, name);
    else
        WriteLog(logPath, L"%s,%u,%s", operation, (unsigned)error, path);
    m_logWritten = TRUE;
    return 1;
}

void CCopyDlgThread::NoteFailure(LPCWSTR operation, DWORD error, LPCWSTR path, LPCWSTR detail)
{
    m_lastError = error;
    m_lastOperation = operation;
    m_lastPath = path;
    m_lastDetail = detail != nullptr ? detail : L"";
}

int CCopyDlgThread::ReportFailure(LPCWSTR operation, DWORD error, LPCWSTR path, LPCWSTR question)
{
    if (WriteCopyLog(operation, error, path))
        return 1;
    return Ask(question);
}

BOOL CCopyDlgThread::InitInstance()
{
    int result = RunJob();
    HWND owner = OwnerWindow();
    if (owner != nullptr)
        PostMessageW(owner, WM_COMMAND, result == 1 ? IDM_WORKER_DONE : IDM_WORKER_FAILED, 0);
    m_exitCode = result == 1 ? 0 : -1;
    return FALSE;
}

int CCopyDlgThread::ExitInstance()
{
    return m_exitCode;
}

int CCopyDlgThread::RunJob()
{
    if (m_kind == DROP_LINK)
        m_kind = DROP_COPY; // a link drop copies; its kind is only a log tag
    m_firstQuestion = TRUE;
    if (m_writeLog)
    {
        if (!AskCopyWay(nullptr, L"", nullptr))
            return 0;
        CString folder = g_ProgramDir + L"\\Log";
        CreateDirectoryTree(folder, FILE_ATTRIBUTE_NORMAL, nullptr);
        SYSTEMTIME now;
        GetLocalTime(&now);
        m_logName.Format(L"%s_ERROR_%04d-%02d-%02d_%02d%02d%02d.log", GetCopyOperationTag(m_kind), now.wYear,
                         now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
    }
    int ok = m_kind == COPY_TO_ALL ? NextTargetDirectory() : PrepareJob();
    if (!ok)
        return 0;
    int last = 1;
    while (!m_stop)
    {
        if (!NextEntry())
            break;
        last = ProcessEntry();
        if (last == 0)
            break;
    }
    m_copier.ReleaseFolder();
    return !m_stop && last != 0 ? 1 : 0;
}

void CCopyDlgThread::BeginRunning()
{
    if (m_started)
        return;
    m_started = TRUE;
    m_progress.SetDisplay(COPY_SHOW_RUNNING, L"", 1);
    m_startTick = GetTickCount64();
    m_copier.m_pJobStartTick = &m_startTick;
    SYSTEMTIME now;
    GetLocalTime(&now);
    CString text;
    text.Format(L"%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
    m_progress.SetDisplay(COPY_SHOW_START_TIME, text);
}

int CCopyDlgThread::IsCopyIntoItself()
{
    // Dropped files are checked too: a folder dropped onto a pane that shows one of
    // its own sub-folders would otherwise be copied into itself without end.
    for (INT_PTR i = 0; i < m_source.m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = m_source.m_entries[i];
        if (!entry.IsDirectory())
            continue;
        CString directory = Joined(entry.GetRealDirectory(FALSE), entry.GetName());
        if (IsPathInsideDirectory(m_destination, directory))
        {
            if (!m_stop)
                Tell(m_pOwner, L"無限ループに入るファイルのコピーできません");
            return 1;
        }
    }
    return 0;
}

int CCopyDlgThread::PrepareJob()
{
    m_copier.m_pJobTotal = &m_totalBytes;
    m_copier.m_pFinishedBytes = &m_finishedBytes;
    m_copier.m_progress = &m_progress;
    if (!ResolvePaneTargetDirectory(m_source.m_directory, m_destinationText, m_destination,
                                    RESOLVE_CHECK_DRIVE, m_sourcePane))
        return 0;
    if (!EnsureDirectory(m_destination, nullptr, nullptr))
        return 0;
    if (IsCopyIntoItself())
        return 0;
    if (g_COPYDLGEXTRA)
    {
        if (CopyJobCountsTotals(m_kind, SameRoot(m_source.m_directory, m_destination)))
        {
            m_showJobProgress = TRUE;
            CountJob();
            ShowTotals();
        }
    }
    BeginRunning();
    return 1;
}

int CCopyDlgThread::NextTargetDirectory()
{
    m_copier.m_pJobTotal = &m_totalBytes;
    m_copier.m_pFinishedBytes = &m_finishedBytes;
    m_copier.m_progress = &m_progress;
    ClearWalk();
    m_sourcePosition = 0;
    while (m_targetPosition < m_targets.m_entries.GetSize())
    {
        const CFileInfo& target = m_targets.m_entries[m_targetPosition++];
        CString path = Joined(m_targets.m_directory, target.GetName());
        if (!ResolvePaneTargetDirectory(target.GetRealDirectory(FALSE), path, m_destination,
                                        RESOLVE_CHECK_DRIVE, m_sourcePane))
            continue; // a target that names no reachable directory is passed over
        int goOn = 1;
        if (!EnsureDirectory(m_destination, nullptr, &goOn))
        {
            if (goOn)
                continue;
            return 0;
        }
        m_progress.SetDisplay(COPY_SHOW_DESTINATION, m_destination);
        if (IsCopyIntoItself())
            return 0;
        BeginRunning();
        return 1;
    }
    return 0;
}

BOOL CCopyDlgThread::MatchesFilter(LPCWSTR name) const
{
    for (INT_PTR i = 0; i < m_excludedPatterns.GetSize(); ++i)
        if (MatchFileNameWildcard(name, m_excludedPatterns[i]))
            return FALSE;
    if (m_targetPatterns.GetSize() == 0)
        return TRUE;
    for (INT_PTR i = 0; i < m_targetPatterns.GetSize(); ++i)
        if (MatchFileNameWildcard(name, m_targetPatterns[i]))
            return TRUE;
    return FALSE;
}

void CCopyDlgThread::ShowFreeSpace(LPCWSTR path, BOOL force)
{
    // Asking the volume for every entry of a tree of small files costs more than
    // copying them: between two readings, the job takes off what it wrote.
    ULONGLONG now = GetTickCount64();
    if (!force && m_freeBytesTick != 0 && now - m_freeBytesTick < 500)
        return;
    m_freeBytes = GetDiskFreeBytes(path);
    m_freeBytesTick = now;
    CString text;
    FormatNumberInt(m_freeBytes, text, 15);
    m_progress.SetDisplay(COPY_SHOW_FREE, text);
}

void CCopyDlgThread::ShowTotals()
{
    if (!m_showJobProgress)
        return;
    CString done, total, text;
    FormatNumberInt((ULONGLONG)m_finishedBytes, done, 15);
    FormatNumberInt((ULONGLONG)m_totalBytes, total, 15);
    text.Format(L"%s/%s", done.GetString(), total.GetString());
    m_progress.SetDisplay(COPIER_SHOW_JOB_BYTES, text);
    text.Format(L"%ld/%ld", (long)m_filesCounted, (long)m_totalFiles);
    m_progress.SetDisplay(COPY_SHOW_JOB_FILES, text);
    if (m_totalBytes == 0)
        text = L"100.0%";
    else
        text.Format(L"%3.1f%%", (double)m_finishedBytes * 100.0 / (double)m_totalBytes);
    m_progress.SetDisplay(COPIER_SHOW_JOB_PERCENT, text);
}

void CCopyDlgThread::CountTree(LPCWSTR directory)
{
    WIN32_FIND_DATAW findData;
    HANDLE find = FindFirstFileLong(Joined(directory, L"*.*"), &findData);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
    {
        if (CFileInfo::GetEntryClass(findData) > ENTRY_CLASS_DIRECTORY)
            continue;
        if (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            if (!(findData.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                CountTree(Joined(directory, findData.cFileName));
        }
        else
        {
            m_totalBytes += SizeOf(findData);
            ++m_totalFiles;
        }
    } while (!m_stop && FindNextFileW(find, &findData));
    FindCloseLong(find);
}

void CCopyDlgThread::CountJob()
{
    m_totalBytes = 0;
    m_totalFiles = 0;
    for (INT_PTR i = 0; i < m_source.m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = m_source.m_entries[i];
        if (!entry.IsDirectory())
        {
            m_totalBytes += (LONGLONG)entry.m_size;
            ++m_totalFiles;
        }
        else if (!entry.HasAttribute(FILE_ATTRIBUTE_REPARSE_POINT))
            CountTree(entry.GetRealFullPath());
    }
}

void CCopyDlgThread::CountSkipped(const CFileInfo& entry)
{
    if (!m_showJobProgress)
        return;
    m_finishedBytes += (LONGLONG)entry.m_size;
    ShowTotals();
}

void CCopyDlgThread::PopFrame()
{
    CDirWalkFrame* top = m_walkTop;
    if (top == nullptr)
        return;
    m_walkTop = top->m_next;
    if (top->m_pFind != nullptr)
        CloseEntryFind(top->m_pFind);
    delete top;
    if (!m_pendingEntries.empty())
        m_pendingEntries.pop_back();
    if (!m_createdTargets.empty())
        m_createdTargets.pop_back();
    if (m_walkTop == nullptr)
        m_walking = FALSE;
}

void CCopyDlgThread::ClearWalk()
{
    while (m_walkTop != nullptr)
        PopFrame();
    m_pendingEntries.clear();
    m_createdTargets.clear();
    m_walking = FALSE;
}

int CCopyDlgThread::NextWalkEntry()
{
    CDirWalkFrame* frame = m_walkTop;
    if (frame->m_firstEntryPending)
    {
        frame->m_firstEntryPending = 0;
        const CFileInfo& first = m_pendingEntries.back();
        if (!first.IsDots() && (first.IsDirectory() || MatchesFilter(first.GetName())))
        {
            m_current = first;
            ShowCurrent(Joined(frame->m_relativePath, first.GetName()));
            return 1;
        }
    }
    if (frame->m_pFind == nullptr)
        return 0;
    CFileInfo entry;
    while (!m_stop && FindNextEntry(frame->m_pFind, entry))
    {
        if (entry.IsDots())
            continue;
        if (entry.IsDirectory() || MatchesFilter(entry.GetName()))
        {
            m_current = entry;
            return 1;
        }
    }
    CloseEntryFind(frame->m_pFind);
    return 0;
}

int CCopyDlgThread::NextTopEntry()
{
    while (m_sourcePosition < m_source.m_entries.GetSize())
    {
        const CFileInfo& entry = m_source.m_entries[m_sourcePosition++];
        if ((m_kind == UP_MOVE || m_kind == NEGLECT_DIR) && !entry.IsDirectory())
            continue;
        if (entry.IsDots())
            continue;
        m_current = entry;
        ShowCurrent(entry.GetName());
        return 1;
    }
    return 0;
}

void CCopyDlgThread::FinishWalkedDirectory()
{
    CDirWalkFrame* frame = m_walkTop;
    m_copier.ReleaseFolder();
    if (IsMovingOperation(m_kind))
        RemoveMovedDirectory(frame->m_directoryPath);
    if (!frame->m_targetDirectory.IsEmpty() && !m_createdTargets.empty() && m_createdTargets.back())
    {
        HANDLE directory = CreateFileLong(frame->m_targetDirectory, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                          FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (directory != INVALID_HANDLE_VALUE)
        {
            SetFileTime(directory, &frame->m_creationTime, &frame->m_lastAccessTime, &frame->m_lastWriteTime);
            CloseHandle(directory);
        }
    }
    PopFrame();
}

void CCopyDlgThread::RemoveMovedDirectory(const CString& path)
{
    CVirtualFolderStore* store = VirtualStoreOf(path);
    if (store != nullptr)
    {
        CString folder, name;
        SplitPath(path, &folder, &name);
        store->RemoveEntry(folder, name);
        return;
    }
    // The attributes are lifted only for the removal: a directory that stays (it still
    // holds skipped files) keeps its own.
    DWORD attributes = GetFileAttributesLong(path);
    SetFileAttributesLong(path, FILE_ATTRIBUTE_ARCHIVE);
    if (RemoveDirectoryLong(path))
        return;
    const DWORD error = GetLastError();
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesLong(path, attributes);
    if (!MovedDirectoryLeftIsAFailure(error))
        return;
    NoteFailure(L"RemoveDirectory", error, path);
    if (!ReportFailure(
            L"RemoveDirectory", error, path,
            FormatCopyFailure(L"ファイルの移動に失敗しました。続けますか", path, L"RemoveDirectory", error)))
        m_stop = 1;
}

int CCopyDlgThread::NextEntry()
{
    while (!m_stop)
    {
        if (m_walking && m_walkTop != nullptr)
        {
            ShowFreeSpace(m_destination);
            if (NextWalkEntry())
                return 1;
            FinishWalkedDirectory();
            continue;
        }
        m_walking = FALSE;
        ShowFreeSpace(m_destination);
        if (NextTopEntry())
            return 1;
        if (m_kind == COPY_TO_ALL)
        {
            if (!NextTargetDirectory())
                return 0;
            continue;
        }
        return 0;
    }
    return 0;
}

CString CCopyDlgThread::RelativeTargetDirectory() const
{
    // The frame's path below the top directory (empty at the top directory itself).
    const CString& relative = m_walkTop->m_relativePath;
    if (relative.GetLength() <= m_topNameLength)
        return CString();
    return relative.Mid(m_topNameLength + 1);
}

CString CCopyDlgThread::CurrentRelativeName(const CFileInfo& entry) const
{
    if (m_walking && m_walkTop != nullptr)
        return Joined(m_walkTop->m_relativePath, entry.GetName());
    return entry.GetName();
}

int CCopyDlgThread::ProcessEntry()
{
    CFileInfo entry = m_current;
    if (entry.IsDirectory())
        return ProcessDirectory(entry);

    const BOOL inWalk = m_walking && m_walkTop != nullptr;
    const CString below = inWalk && m_kind == UP_MOVE ? RelativeTargetDirectory() : CString();
    const CString target = CopyTargetForFile(m_kind, inWalk, m_destination,
                                             inWalk ? m_walkTop->m_relativePath.GetString() : L"", below);
    NoteFailure(L"", 0, entry.GetRealFullPath());
    int result = CopyFileEntry(target, entry);
    if (result == 2)
        return 0;
    if (result == 0 && !m_writeLog && !m_stop &&
        !Ask(FormatCopyFailure(L"ファイルのコピーに失敗しました。続けますか", m_lastPath, m_lastOperation,
                               m_lastError, m_lastDetail)))
        return 0;
    return 1;
}

int CCopyDlgThread::CopyLinkItself(const CFileInfo& entry, LPCWSTR target)
{
    // A link to a directory is copied as the link, never as what it points to: a move
    // would otherwise copy the target's files and then delete them through the link.
    CString source = entry.GetRealFullPath();
    BYTE buffer[MAXIMUM_REPARSE_DATA_BUFFER_SIZE];
    DWORD length = 0;
    HANDLE link =
        CreateFileLong(source, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    DWORD error = ERROR_NOT_SUPPORTED;
    if (link != INVALID_HANDLE_VALUE)
    {
        BOOL read = DeviceIoControl(link, FSCTL_GET_REPARSE_POINT, nullptr, 0, buffer, sizeof(buffer),
                                    &length, nullptr);
        error = read ? 0 : GetLastError();
        CloseHandle(link);
        if (read)
        {
            BOOL created = CreateDirectoryLong(target, nullptr);
            error = created ? 0 : GetLastError();
            if (created)
            {
                HANDLE copy =
                    CreateFileLong(target, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
                DWORD returned = 0;
                BOOL set =
                    copy != INVALID_HANDLE_VALUE && DeviceIoControl(copy, FSCTL_SET_REPARSE_POINT, buffer,
                                                                    length, nullptr, 0, &returned, nullptr);
                error = set ? 0 : GetLastError();
                if (copy != INVALID_HANDLE_VALUE)
                    CloseHandle(copy);
                if (!set)
                    RemoveDirectoryLong(target);
            }
        }
    }
    if (error == 0)
        return 1;
    if (error == ERROR_INVALID_FUNCTION)
        error = ERROR_NOT_SUPPORTED;
    NoteFailure(L"CreateDirectory", error, source);
    const CString text =
        FormatCopyFailure(L"ファイルのコピーに失敗しました。続けますか", source, L"CreateDirectory", error);
    return ReportFailure(L"CreateDirectory", error, source, text) ? 2 : 0; // 2: not copied, go on
}

int CCopyDlgThread::ProcessDirectory(const CFileInfo& entry)
{
    const BOOL isLink = entry.HasAttribute(FILE_ATTRIBUTE_REPARSE_POINT);
    const BOOL inWalk = m_walking && m_walkTop != nullptr;
    const CString below = inWalk && m_kind == UP_MOVE ? RelativeTargetDirectory() : CString();
    const CString target =
        CopyTargetForDirectory(m_kind, inWalk, isLink, m_destination,
                               inWalk ? m_walkTop->m_relativePath.GetString() : L"", below, entry.GetName());

    // The directory taken is shown like a file: a question about it must not stand
    // under the name of the file before it.
    ShowCurrent(CurrentRelativeName(entry));
    const CString source = entry.GetRealFullPath();
    if (const std::optional<int> settled = MoveDirectoryByRename(entry, isLink, source, target))
        return *settled;
    if (isLink)
    {
        int result = CopyLinkItself(entry, target);
        if (result == 1 && IsMovingOperation(m_kind))
            RemoveDirectoryLong(source); // removes the link, never the target's contents
        return result != 0 ? 1 : 0;
    }

    BOOL created = FALSE;
    if (const std::optional<int> settled = MakeWalkTarget(entry, target, created))
        return *settled;
    // Its files need not make sure of it again.
    m_ensuredDirectory = target;
    PushWalkFrame(entry, source, target, created);
    return 1;
}

std::optional<int> CCopyDlgThread::MoveDirectoryByRename(const CFileInfo& entry, BOOL isLink, LPCWSTR source,
                                                         LPCWSTR target)
{
    const BOOL filtered = m_targetPatterns.GetSize() != 0 || m_excludedPatterns.GetSize() != 0;
    if (!DirectoryMoveTriesRename(m_kind, isLink, entry.m_source == ENTRY_SOURCE_VIRTUAL, filtered) ||
        DirectoryExists(target) || !SameRoot(entry.GetRealDirectory(FALSE), target))
        return std::nullopt;
    if ((m_kind == UP_MOVE || m_kind == DROP_MOVE) && m_walking)
    {
        CString parent, name;
        SplitPath(target, &parent, &name);
        if (!EnsureDirectory(parent, nullptr, nullptr))
            return 0;
    }
    if (MoveFileLong(source, target))
        return 1;
    DWORD error = GetLastError();
    // Two folders of one root may still lie on different volumes (a mounted
    // folder): then the tree is copied and removed instead.
    if (RenameFailureFallsBackToCopy(error))
        return std::nullopt;
    NoteFailure(L"MoveFile", error, source);
    return ReportFailure(
        L"MoveFile", error, source,
        FormatCopyFailure(L"ファイルのコピーに失敗しました。続けますか", source, L"MoveFile", error));
}

std::optional<int> CCopyDlgThread::MakeWalkTarget(const CFileInfo& entry, LPCWSTR target, BOOL& created)
{
    // Below a directory this job made, the name is free: the directory is made at once,
    // without looking for it and for each folder above it. Only when that fails is it
    // looked at as anywhere else.
    created = InFreshTarget() && MakeDirectoryInFreshTarget(target, entry);
    if (created)
        return std::nullopt;
    created = !DirectoryExists(target);
    int goOn = 1;
    // An existing destination directory keeps its own attributes: only a directory
    // made here takes the source's.
    if (!EnsureDirectory(target, created ? &entry : nullptr, &goOn))
        return goOn ? 1 : 0;
    return std::nullopt;
}

void CCopyDlgThread::PushWalkFrame(const CFileInfo& entry, LPCWSTR source, LPCWSTR target, BOOL created)
{
    CDirWalkFrame* frame = new CDirWalkFrame();
    if (m_walkTop == nullptr || !m_walking)
    {
        ClearWalk();
        frame->m_relativePath = entry.GetName();
        m_topNameLength = frame->m_relativePath.GetLength();
    }
    else
        frame->m_relativePath = Joined(m_walkTop->m_relativePath, entry.GetName());
    frame->m_next = m_walking ? m_walkTop : nullptr;
    frame->m_targetDirectory = target;
    frame->m_directoryPath = source;
    frame->m_creationTime = entry.m_findData.ftCreationTime;
    frame->m_lastAccessTime = entry.m_findData.ftLastAccessTime;
    frame->m_lastWriteTime = entry.m_findData.ftLastWriteTime;
    CFileInfo first;
    frame->m_pFind = entry.FindFirstChild(L"*.*", first);
    frame->m_firstEntryPending = frame->m_pFind != nullptr ? 1 : 0;
    m_walkTop = frame;
    m_pendingEntries.push_back(first);
    m_createdTargets.push_back(created && m_kind != NEGLECT_DIR ? 1 : 0);
    m_walking = TRUE;
}

BOOL CCopyDlgThread::InFreshTarget() const
{
    return m_walking && m_walkTop != nullptr && !m_createdTargets.empty() && m_createdTargets.back();
}

BOOL CCopyDlgThread::MakeDirectoryInFreshTarget(LPCWSTR path, const CFileInfo& entry)
{
    if (VirtualStoreOf(path) != nullptr || !CreateDirectoryLong(path, nullptr))
        return FALSE;
    const DWORD attributes = entry.m_findData.dwFileAttributes & kCopiedDirectoryAttributes;
    if (attributes != 0)
        SetFileAttributesLong(path, attributes);
    return TRUE;
}

int CCopyDlgThread::EnsureDirectory(LPCWSTR path, const CFileInfo* entry, int* pContinue)
{
    if (DirectoryExists(path))
        return 1;
    // A directory named by its short name is there too, though its listed name differs.
    DWORD attributes = GetFileAttributesLong(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return 1;
    attributes = entry != nullptr ? (entry->m_findData.dwFileAttributes & kCopiedDirectoryAttributes) : 0;
    if (CreateDirectoryTree(path, attributes, nullptr))
        return 1;
    DWORD error = GetLastError();
    if (pContinue != nullptr)
        *pContinue = 1;
    NoteFailure(L"CreateDirectory", error, path);
    if (WriteCopyLog(L"CreateDirectory", error, path))
        return 0;
    if (pContinue == nullptr)
    {
        if (!m_stop)
            Tell(m_pOwner,
                 FormatCopyFailure(L"ディレクトリの作成に失敗しました", path, L"CreateDirectory", error));
    }
    else if (!Ask(FormatCopyFailure(L"ディレクトリの作成に失敗しました。続けますか", path, L"CreateDirectory",
                                    error)))
        *pContinue = 0;
    return 0;
}

int CCopyDlgThread::AskCopyWay(const CFileInfo* entry, LPCWSTR directory, const WIN32_FIND_DATAW* existing)
{
    CCopyWayDlg dialog;
    dialog.m_pEntry = entry;
    dialog.m_directory = directory;
    if (existing != nullptr)
        dialog.m_existing = *existing;
    dialog.m_rule = m_rule;
    if (m_firstQuestion && g_SAVE_SAME_FILE_NAME_COPY_WAY)
        dialog.m_rule = g_SAME_FILE_NAME_COPY_WAY;
    if (dialog.m_rule < COPY_RULE_NEWER || dialog.m_rule > COPY_RULE_OVERWRITE)
        dialog.m_rule = COPY_RULE_NEWER;
    dialog.m_sameForRest = m_firstQuestion ? TRUE : AnswerHoldsForRest(m_conflictAnswer);
    dialog.m_timeRange = g_COPY_FILE_TIME_USED_RANGE;
    dialog.m_noCopyAttributes = m_noCopyAttributes;
    dialog.m_noCopyDateTime = m_noCopyDateTime;
    m_firstQuestion = FALSE;
    if (dialog.DoModal() != IDOK)
        return 0;
    m_noCopyAttributes = dialog.m_noCopyAttributes;
    m_noCopyDateTime = dialog.m_noCopyDateTime;
    g_NO_COPY_ACTION_COPY_ATTRIBUTES = m_noCopyAttributes;
    g_NO_COPY_ACTION_COPY_DATE_TIME = m_noCopyDateTime;
    g_COPY_FILE_TIME_USED_RANGE = dialog.m_timeRange;
    m_conflictAnswer = AnswerWithScope(true, dialog.m_sameForRest != FALSE);
    m_rule = dialog.m_rule;
    g_SAME_FILE_NAME_COPY_WAY = dialog.m_rule;
    return 1;
}

int CCopyDlgThread::ApplyNoCopyActions(const CFileInfo& entry, LPCWSTR targetDirectory)
{
    CString path = Joined(targetDirectory, entry.GetName());
    CString words, operation;
    DWORD error = 0;
    const DWORD attributes = NoCopyTakenAttributes(entry.m_findData.dwFileAttributes);
    if (m_noCopyAttributes && !SetFileAttributesLong(path, attributes))
    {
        error = GetLastError();
        operation = L"_SetFileAttributes";
        words = L"属性";
    }
    if (m_noCopyDateTime)
    {
        DWORD old = GetFileAttributesLong(path);
        SetFileAttributesLong(path, FILE_ATTRIBUTE_NORMAL);
        HANDLE file =
            CreateFileLong(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        BOOL failed = FALSE;
        if (file == INVALID_HANDLE_VALUE)
        {
            error = GetLastError();
            operation = L"CreateFile";
            failed = TRUE;
        }
        else
        {
            if (!SetFileTime(file, &entry.m_findData.ftCreationTime, &entry.m_findData.ftLastAccessTime,
                             &entry.m_findData.ftLastWriteTime))
            {
                error = GetLastError();
                operation = L"SetFileTime";
                failed = TRUE;
            }
            CloseHandle(file);
        }
        SetFileAttributesLong(
            path, NoCopyAttributesAfterTimes(m_noCopyAttributes, entry.m_findData.dwFileAttributes, old));
        if (failed)
            words += words.IsEmpty() ? L"日時" : L",日時";
    }
    if (words.IsEmpty())
        return 1;
    NoteFailure(operation, error, path);
    CString lead;
    lead.Format(L"%sの変更に失敗しました。続けますか?", words.GetString());
    return ReportFailure(operation, error, path, FormatCopyFailure(lead, path, operation, error));
}

int CCopyDlgThread::MoveOverExisting(const CFileInfo& entry, LPCWSTR path, BOOL replace, DWORD& error)
{
    // One step that replaces the old file only when the move succeeds; a read-only
    // destination refuses to be replaced, so its attributes are lifted for the step.
    DWORD old = replace ? GetFileAttributesLong(path) : INVALID_FILE_ATTRIBUTES;
    if (old != INVALID_FILE_ATTRIBUTES &&
        (old & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        SetFileAttributesLong(path, FILE_ATTRIBUTE_NORMAL);
    CString source = entry.GetRealFullPath();
    if (MoveFileExLong(source, path, replace ? MOVEFILE_REPLACE_EXISTING : 0))
        return 1;
    error = GetLastError();
    if (old != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesLong(path, old);
    return 0;
}

int CCopyDlgThread::RemoveMovedSource(const CFileInfo& entry)
{
    CVirtualFolderStore* store =
        entry.m_source == ENTRY_SOURCE_VIRTUAL ? VirtualStoreOf(entry.GetDirectory()) : nullptr;
    if (store != nullptr)
    {
        store->RemoveEntry(entry.GetDirectory(), entry.GetName());
        return 1;
    }
    CString source = entry.GetRealFullPath();
    DWORD old = GetFileAttributesLong(source);
    SetFileAttributesLong(source, FILE_ATTRIBUTE_ARCHIVE);
    if (DeleteFileLong(source))
        return 1;
    DWORD error = GetLastError();
    // The source stays: it keeps the attributes it had.
    if (old != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesLong(source, old);
    NoteFailure(L"DeleteFile", error, source);
    WriteCopyLog(L"DeleteFile", error, source);
    return Ask(FormatCopyFailure(L"ファイルの移動に失敗しました。続けますか", source, L"DeleteFile", error))
               ? 1
               : 2;
}

int CCopyDlgThread::CopyFileEntry(LPCWSTR targetDirectory, const CFileInfo& entry)
{
    CFileTarget target;
    target.path = Joined(targetDirectory, entry.GetName());
    ShowCurrent(CurrentRelativeName(entry));
    CVirtualFolderStore* virtualTarget = VirtualStoreOf(target.path);
    // In a directory this job made itself, no name can be taken yet. Where the name is
    // free the copier is told so: it does not look again, and fails rather than replace
    // a file that appeared meanwhile.
    const BOOL taken = virtualTarget == nullptr && !InFreshTarget() && LookUpTarget(target);
    m_copier.m_replaceExisting = taken;
    CountFileTaken();
    // The system resolves a name that is another entry's 8.3 alias to that entry: only
    // an entry whose long name is the source's own is the file of that name. Any other
    // is a different file, which no answer may replace.
    if (taken && IsAnotherFilesShortName(target.existing.cFileName, entry.GetName()))
        return PassOverShortNameClash(entry, target);
    m_copier.m_filesCounted = m_filesCounted;
    m_copier.m_filesInJob = m_totalFiles;

    if (!target.exists && virtualTarget != nullptr)
        return AddToVirtualFolder(entry, targetDirectory, target.path, *virtualTarget);
    const std::optional<int> settled = target.exists ? SettleConflict(entry, targetDirectory, target)
                                                     : MoveByRename(entry, target, targetDirectory, FALSE);
    if (settled)
        return *settled;

    int copied = 0;
    const int result =
        CopyOneFile(entry, target.exists ? &target.existing : nullptr, target.path, targetDirectory, copied);
    if (CopiedFileRemovesSource(m_kind, result, copied))
        return RemoveMovedSource(entry);
    return result;
}

BOOL CCopyDlgThread::LookUpTarget(CFileTarget& target)
{
    HANDLE find = FindFirstFileLong(target.path, &target.existing);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    FindCloseLong(find);
    target.exists = !(target.existing.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    return TRUE;
}

void CCopyDlgThread::CountFileTaken()
{
    if (!m_showJobProgress)
        return;
    ++m_filesCounted;
    ShowTotals();
}

int CCopyDlgThread::PassOverShortNameClash(const CFileInfo& entry, const CFileTarget& target)
{
    CString detail;
    detail.Format(L"この名前は別のファイル「%s」の短い名前です", target.existing.cFileName);
    NoteFailure(L"ShortName", ERROR_ALREADY_EXISTS, target.path, detail);
    CountSkipped(entry);
    CString logged;
    logged.Format(L"%s,%s", target.path.GetString(), target.existing.cFileName);
    return WriteCopyLog(L"ShortName", ERROR_ALREADY_EXISTS, logged) ? 1 : 0;
}

int CCopyDlgThread::AddToVirtualFolder(const CFileInfo& entry, LPCWSTR targetDirectory, LPCWSTR path,
                                       CVirtualFolderStore& store)
{
    const CString source = entry.GetRealFullPath();
    WIN32_FIND_DATAW own;
    HANDLE find = FindFirstFileLong(source, &own);
    if (find == INVALID_HANDLE_VALUE)
    {
        NoteFailure(L"ExistFile", GetLastError(), source);
        return WriteCopyLog(L"ExistFile", m_lastError, source) ? 1 : 0;
    }
    FindCloseLong(find);
    if (!store.AddEntry(targetDirectory, own, entry.GetRealDirectory(FALSE)))
    {
        NoteFailure(L"AddToVirtualDrive", 0, path);
        return WriteCopyLog(L"AddToVirtualDrive", 0, targetDirectory, entry.GetName()) ? 1 : 0;
    }
    if (VirtualAddRemovesSource(m_kind, entry.m_source == ENTRY_SOURCE_VIRTUAL))
        RemoveMovedSource(entry);
    return 1;
}

std::optional<int> CCopyDlgThread::MoveByRename(const CFileInfo& entry, const CFileTarget& target,
                                                LPCWSTR targetDirectory, BOOL nameTaken)
{
    if (!FileMoveTriesRename(m_kind, entry.m_source == ENTRY_SOURCE_VIRTUAL, nameTaken) ||
        !SameRoot(entry.GetRealDirectory(FALSE), targetDirectory))
        return std::nullopt;
    DWORD error = 0;
    if (MoveOverExisting(entry, target.path, target.exists, error))
        return 1;
    if (RenameFailureFallsBackToCopy(error))
        return std::nullopt;
    const CString source = entry.GetRealFullPath();
    NoteFailure(L"MoveFile", error, source);
    if (nameTaken)
        CountSkipped(entry);
    return WriteCopyLog(L"MoveFile", error, source) ? 1 : 0;
}

std::optional<int> CCopyDlgThread::SettleConflict(const CFileInfo& entry, LPCWSTR targetDirectory,
                                                  CFileTarget& target)
{
    if (!AnswerHoldsForRest(m_conflictAnswer) && !AskCopyWay(&entry, targetDirectory, &target.existing))
        return 2;
    const int timeOrder =
        CompareFileTimesBySetting(entry.m_findData.ftLastWriteTime, target.existing.ftLastWriteTime);
    std::optional<int> settled;
    switch (
        ConflictRuleOutcome(m_rule, timeOrder, (ULONGLONG)entry.m_size, (ULONGLONG)SizeOf(target.existing)))
    {
    case CONFLICT_TYPED_NAME:
        settled = TakeTypedName(entry, targetDirectory, target);
        break;
    case CONFLICT_NUMBERED_NAME:
        settled = TakeNumberedName(entry, targetDirectory, target);
        break;
    case CONFLICT_LEAVE:
        return LeaveExisting(entry, targetDirectory);
    case CONFLICT_REPLACE:
        break;
    }
    if (settled)
        return settled;
    // Replacing a file by itself (the same file under another spelling: letter
    // case, a short name, a path through a link) would destroy it.
    if (target.exists && IsReplacingItself(target.path, entry))
    {
        CountSkipped(entry);
        return 1;
    }
    return MoveByRename(entry, target, targetDirectory, TRUE);
}

std::optional<int> CCopyDlgThread::TakeTypedName(const CFileInfo& entry, LPCWSTR targetDirectory,
                                                 CFileTarget& target)
{
    // The rename dialog of one entry refuses a name the destination has.
    CRenameDlg dialog(m_pOwner);
    dialog.m_mode = 2;
    dialog.m_entry = entry;
    dialog.m_testDirectory = targetDirectory;
    dialog.m_bScriptable = TRUE;
    if (dialog.DoModal() != IDOK || dialog.m_typedName.IsEmpty())
    {
        CountSkipped(entry);
        return 2;
    }
    const CString path = Joined(targetDirectory, dialog.m_typedName);
    // Any entry answering to the name, by its short alias too, is left alone.
    if (NameIsTaken(path))
    {
        CountSkipped(entry);
        return 1;
    }
    TakeFreeName(target, path);
    return std::nullopt;
}

std::optional<int> CCopyDlgThread::TakeNumberedName(const CFileInfo& entry, LPCWSTR targetDirectory,
                                                    CFileTarget& target)
{
    for (int n = 0; n < kNumberedCopyNameCount; ++n)
    {
        const CString candidate =
            Joined(targetDirectory, NumberedCopyName(entry.m_baseName, entry.m_extension, n));
        if (GetFileAttributesLong(candidate) == INVALID_FILE_ATTRIBUTES)
        {
            TakeFreeName(target, candidate);
            return std::nullopt;
        }
    }
    CountSkipped(entry);
    return 1;
}

void CCopyDlgThread::TakeFreeName(CFileTarget& target, LPCWSTR path)
{
    // Found free: a file put there meanwhile fails the copy rather than go.
    target.path = path;
    target.exists = FALSE;
    m_copier.m_replaceExisting = FALSE;
}

int CCopyDlgThread::LeaveExisting(const CFileInfo& entry, LPCWSTR targetDirectory)
{
    if (!ApplyNoCopyActions(entry, targetDirectory))
        return 2;
    CountSkipped(entry);
    return 1;
}

BOOL CCopyDlgThread::IsReplacingItself(LPCWSTR path, const CFileInfo& entry) const
{
    const CString source = entry.GetRealFullPath();
    return source.CompareNoCase(path) == 0 || IsSameFileObject(path, source);
}

int CCopyDlgThread::CopyOneFile(const CFileInfo& entry, const WIN32_FIND_DATAW* existing, LPCWSTR path,
                                LPCWSTR targetDirectory, int& copied)
{
    copied = 0;
    const LONGLONG existingSize = existing != nullptr ? SizeOf(*existing) : 0;
    if (!WaitForFreeSpace(path, existingSize, (LONGLONG)entry.m_size))
        return 0;
    if (m_ensuredDirectory.CompareNoCase(targetDirectory) != 0)
    {
        if (!EnsureDirectory(targetDirectory, nullptr, nullptr))
            return 0;
        m_ensuredDirectory = targetDirectory;
    }

    m_copier.m_showJobProgress = m_showJobProgress;
    m_copier.m_folderIsNew = InFreshTarget();
    CString realDirectory = entry.GetRealDirectory(FALSE);
    int goOn = 1;
    if (m_copier.Open(entry.m_findData, path, realDirectory))
    {
        int more = 1;
        while (!m_stop && more)
            more = m_copier.CopyChunk(&goOn);
        m_copier.Close(more != 0);
        if (more)
            return 0; // stopped: the partial destination is gone
        if (goOn)
        {
            copied = 1;
            m_freeBytes = FreeBytesAfterCopy(m_freeBytes, existingSize, (LONGLONG)entry.m_size);
            return 1;
        }
    }
    return ReportCopierFailure();
}

int CCopyDlgThread::WaitForFreeSpace(LPCWSTR path, LONGLONG existingSize, LONGLONG size)
{
    // The free space was read for this entry when it was taken; it is read again
    // only when it seems too small, and after the user says another disk is in.
    for (BOOL fresh = FALSE;; fresh = TRUE)
    {
        if (fresh)
            ShowFreeSpace(path, TRUE);
        switch (JudgeFreeSpace(m_freeBytes, existingSize, size, fresh))
        {
        case FREE_SPACE_ENOUGH:
            return 1;
        case FREE_SPACE_READ_AGAIN:
            break;
        case FREE_SPACE_ASK_FOR_DISK:
            if (!Ask(L"容量が足りませんディスクを入れ替えてください"))
                return 0;
            break;
        }
    }
}

int CCopyDlgThread::ReportCopierFailure()
{
    NoteFailure(m_copier.m_failedOperation, m_copier.m_failedError, m_copier.m_failedPath);
    const CString text =
        FormatCopyFailure(L"ファイルのコピーに失敗しました。続けますか", m_copier.m_failedPath,
                          m_copier.m_failedOperation, m_copier.m_failedError);
    return ReportFailure(m_copier.m_failedOperation, m_copier.m_failedError, m_copier.m_failedPath, text) ? 1
                                                                                                          : 2;
}
