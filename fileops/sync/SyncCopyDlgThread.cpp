// The synchronisation worker.
#include "fileops/sync/SyncCopyDlgThread.h"

#include <cwchar>

#include "app/Directories.h"
#include "util/PathHelpers.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/TellAndAsk.h"
#include "fileops/copy/CopyJob.h"
#include "fileops/sync/SyncSteps.h"
#include "fileops/sync/SyncWalk.h"
#include "framework/FwWnd.h"

CSyncCopyDlgThread::CSyncCopyDlgThread()
{
    m_bAutoDelete = FALSE;
    m_copier.m_progress = &m_progress;
}

CSyncCopyDlgThread::~CSyncCopyDlgThread()
{
    m_copier.Close(TRUE);
}

BOOL CSyncCopyDlgThread::InitInstance()
{
    m_exitCode = Run();
    if (m_pOwner != nullptr && m_pOwner->m_hWnd != nullptr)
        PostMessageW(m_pOwner->m_hWnd, WM_COMMAND, m_exitCode == 0 ? IDM_WORKER_DONE : IDM_WORKER_FAILED, 0);
    return FALSE;
}

int CSyncCopyDlgThread::ExitInstance()
{
    return m_exitCode;
}

int CSyncCopyDlgThread::Run()
{
    const int result = RunRows();
    m_copier.ReleaseFolder();
    return result;
}

int CSyncCopyDlgThread::RunRows()
{
    for (;;)
    {
        if (m_stop)
            return -1;
        const int step = DoNextRow();
        if (step == SYNC_STEP_ALL_DONE)
            return 0;
        if (step == SYNC_STEP_ENDED || m_stop)
            return -1;
    }
}

int CSyncCopyDlgThread::Ask(LPCWSTR text)
{
    return ::Ask(m_pOwner, text, nullptr, MessageBoxKind::OkCancel) ? 1 : 0;
}

void CSyncCopyDlgThread::Report(LPCWSTR text)
{
    Tell(m_pOwner, text);
}

// The entry the path names, its long name only (the find also matches 8.3 aliases).
static BOOL FindPathEntry(const CString& path, WIN32_FIND_DATAW& out)
{
    HANDLE find = FindFirstFileLong(path, &out);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    FindCloseLong(find);
    CString name;
    SplitPath(path, nullptr, &name);
    return _wcsicmp(out.cFileName, name) == 0;
}

// True when some folder of `relative` below `base` is a link: what lies under it
// belongs to another folder and is never written or deleted from here.
static BOOL PassesThroughLink(const CString& base, const CString& relative)
{
    CString path = base;
    int start = 0;
    while (start < relative.GetLength())
    {
        int slash = relative.Find(L'\\', start);
        if (slash < 0)
            slash = relative.GetLength();
        path += L"\\" + relative.Mid(start, slash - start);
        WIN32_FIND_DATAW data;
        if (FindPathEntry(path, data) && IsLinkFolder(data.dwFileAttributes))
            return TRUE;
        start = slash + 1;
    }
    return FALSE;
}

int CSyncCopyDlgThread::DoNextRow()
{
    while (m_current < m_rows->GetSize() && (*m_rows)[m_current].m_action == SYNC_NOTHING)
        ++m_current;
    if (m_current >= m_rows->GetSize())
        return SYNC_STEP_ALL_DONE;
    const CSyncData row = (*m_rows)[m_current];
    const CString& folder = row.m_relativeFolder;
    const CString relative = JoinSyncPath(folder, row.m_entry.GetName());
    const BOOL toDest = !SyncRowWritesSource(row.m_action);
    const CString& writtenSide = toDest ? m_destination : m_source;
    const CString& readSide = toDest ? m_source : m_destination;
    if (PassesThroughLink(writtenSide, folder))
        return NextRow();
    if (SyncRowMakesFolder(row.m_action, folder) &&
        !MakeRowFolder(writtenSide + L"\\" + folder, readSide + L"\\" + folder))
        return SYNC_STEP_ENDED;
    if (row.m_action == SYNC_DELETE)
        return DeletePath(m_destination + L"\\" + relative) ? NextRow() : SYNC_STEP_ENDED;

    const CString from = readSide + L"\\" + relative;
    const CString to = writtenSide + L"\\" + relative;
    WIN32_FIND_DATAW source;
    if (!FindPathEntry(from, source))
    {
        CString text;
        text.Format(L"コピー元ファイル%sが見つかりません", relative.GetString());
        Report(text);
        return SYNC_STEP_ENDED;
    }
    CString status;
    status.Format(L"%s %s", SyncActionText(row).GetString(), relative.GetString());
    m_progress.SetDisplay(SYNC_SHOW_STATUS, status);
    if (source.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return CarryFolder(source, to);
    return CopyRowFile(source, from, to, folder.IsEmpty() ? CString() : writtenSide + L"\\" + folder);
}

int CSyncCopyDlgThread::NextRow()
{
    ++m_current;
    return SYNC_STEP_MORE;
}

BOOL CSyncCopyDlgThread::MakeRowFolder(const CString& target, const CString& mirrored)
{
    WIN32_FIND_DATAW data;
    const BOOL found = FindPathEntry(mirrored, data);
    WIN32_FIND_DATAW existing;
    if (found && !FindPathEntry(target, existing))
        m_createdFolders.push_back({target, data});
    if (CreateDirectoryTree(target, found ? data.dwFileAttributes : FILE_ATTRIBUTE_NORMAL,
                            found ? &data : nullptr))
        return TRUE;
    const DWORD error = GetLastError();
    Report(FormatCopyFailure(L"ディレクトリの作成に失敗しました", target, L"CreateDirectory", error));
    return FALSE;
}

int CSyncCopyDlgThread::CarryFolder(const WIN32_FIND_DATAW& source, const CString& to)
{
    // A folder row (one that exists on one side only) is carried over as a folder.
    if (!CreateDirectoryTree(to, source.dwFileAttributes & ~FILE_ATTRIBUTE_REPARSE_POINT, &source))
    {
        const DWORD error = GetLastError();
        Report(FormatCopyFailure(L"ディレクトリの作成に失敗しました", to, L"CreateDirectory", error));
        return SYNC_STEP_ENDED;
    }
    return NextRow();
}

int CSyncCopyDlgThread::CopyRowFile(const WIN32_FIND_DATAW& source, const CString& from, const CString& to,
                                    const CString& writtenFolder)
{
    CString fromFolder;
    SplitPath(from, &fromFolder, nullptr);
    int goOn = 1;
    BOOL failed = TRUE;
    if (m_copier.Open(source, to, fromFolder))
    {
        int more = 1;
        while (!m_stop && more)
            more = m_copier.CopyChunk(&goOn);
        // The copier removes an unfinished new target and leaves a target it was
        // replacing as it was, so a failure never leaves a truncated file that
        // looks newer than the good one.
        m_copier.Close(m_stop != 0);
        if (m_stop)
            return SYNC_STEP_ENDED;
        failed = !goOn;
    }
    if (!writtenFolder.IsEmpty())
        RestampCreatedFolder(writtenFolder);
    // The question names the file that failed, with the step and the system's code.
    if (failed && !Ask(FormatCopyFailure(L"ファイルのコピーに失敗しました。続けますか",
                                         m_copier.m_failedPath.IsEmpty() ? to : m_copier.m_failedPath,
                                         m_copier.m_failedOperation, m_copier.m_failedError)))
        return SYNC_STEP_ENDED;
    return NextRow();
}

void CSyncCopyDlgThread::RestampCreatedFolder(const CString& folder)
{
    for (const auto& created : m_createdFolders)
        if (created.first.CompareNoCase(folder) == 0)
            SetFileTimeLong(folder, &created.second);
}

int CSyncCopyDlgThread::DeletePath(const CString& path)
{
    WIN32_FIND_DATAW data;
    if (!FindPathEntry(path, data))
        return 1;
    const SyncDeleteStep step = PlanSyncDelete(data.dwFileAttributes);
    if (step.lifted != 0)
        SetFileAttributesLong(path, step.lifted);
    BOOL deleted;
    if (step.way == SYNC_DELETE_FILE)
        deleted = DeleteFileLong(path);
    else if (step.way == SYNC_DELETE_LINK)
        // A link to a folder goes as a folder, one that the system shows as a file link
        // as a file.
        deleted = RemoveDirectoryLong(path) || DeleteFileLong(path);
    else
        deleted = RemoveDirectoryLong(path);
    if (deleted)
        return 1;
    const DWORD error = GetLastError();
    if (step.restored != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesLong(path, step.restored);
    CString text;
    text.Format(L"%sの削除に失敗しました(Error=%x)。続けますか", path.GetString(), (unsigned)error);
    return Ask(text);
}
