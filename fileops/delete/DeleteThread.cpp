#include "fileops/delete/DeleteThread.h"

#include <shellapi.h>
#include <wctype.h>

#include <vector>

#include "util/PathHelpers.h"
#include "app/Directories.h"
#include "app/VirtualDrives.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/records/PaneRecords.h"
#include "fileops/copy/CopyJob.h"
#include "fileops/copy/CopyWayDlg.h"
#include "fileops/delete/DeleteRules.h"
#include "filer/EntryFind.h"

namespace
{

const wchar_t FAILED_CONTINUE[] = L"削除に失敗しました続けますか";

BOOL IsLink(const WIN32_FIND_DATAW& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

int DriveIndex(const CString& path)
{
    if (path.GetLength() < 2 || path[1] != L':')
        return -1;
    const wchar_t letter = static_cast<wchar_t>(towupper(path[0]));
    return letter >= L'A' && letter <= L'Z' ? letter - L'A' : -1;
}

} // namespace

CDeleteThread::~CDeleteThread()
{
    FreeFrames();
}

void CDeleteThread::FreeFrames()
{
    while (m_pFrames != nullptr)
    {
        CDirWalkFrame* next = m_pFrames->m_next;
        CloseEntryFind(m_pFrames->m_pFind);
        delete m_pFrames;
        m_pFrames = next;
    }
}

BOOL CDeleteThread::InitInstance()
{
    const int result = RunJob();
    if (m_pDialog != nullptr && m_pDialog->GetSafeHwnd() != nullptr)
        ::PostMessageW(m_pDialog->GetSafeHwnd(), WM_COMMAND,
                       result == 0 ? IDM_WORKER_DONE : IDM_WORKER_FAILED, 0);
    AfxEndThread(result == 0 ? 0 : static_cast<UINT>(-1));
}

BOOL CDeleteThread::IsVirtualEntry(const CFileInfo& entry) const
{
    if (entry.m_source == ENTRY_SOURCE_VIRTUAL)
        return TRUE;
    const int drive = DriveIndex(entry.GetDirectory());
    return drive >= 0 && g_VirtualDriveFlags[drive] && g_VirtualFolderStores[drive] != nullptr;
}

int CDeleteThread::RunJob()
{
    if (m_pSelection == nullptr)
        return 0;
    for (INT_PTR i = 0; i < m_pSelection->m_entries.GetSize() && !m_cancel; ++i)
        HandleEntry(m_pSelection->m_entries[i]);
    FreeFrames();
    return m_cancel ? -1 : 0;
}

void CDeleteThread::HandleEntry(const CFileInfo& entry)
{
    ShowProgress(entry.GetName());
    const DeleteWay way =
        ChooseDeleteWay(IsVirtualEntry(entry), entry.IsDirectory(), IsLink(entry.m_findData));
    // A virtual drive's entries only point at real files elsewhere: deleting there
    // forgets the entries and leaves every real file alone.
    if (way == DELETE_FORGET_VIRTUAL)
    {
        const int drive = DriveIndex(entry.GetDirectory());
        if (drive >= 0 && g_VirtualFolderStores[drive] != nullptr)
            g_VirtualFolderStores[drive]->RemoveEntry(entry.GetDirectory(), entry.GetName());
        return;
    }
    CString base = entry.GetRealDirectory(FALSE);
    const CString path = base.IsEmpty() ? CString(entry.GetName()) : base + L"\\" + entry.GetName();
    if (way == DELETE_ONE_FILE)
    {
        DeleteOneFile(path, entry.m_findData.dwFileAttributes);
        return;
    }
    if (way == DELETE_LINK_ONLY)
    {
        RemoveLink(path);
        return;
    }
    if (m_warnNotEmpty && TreeHasFiles(path))
    {
        CString text;
        text.Format(L"%sにはファイルが存在します。消去しますか", path.GetString());
        if (!Ask(m_pDialog, text, L"ファイルの削除", MessageBoxKind::YesNo))
            return;
    }
    LeaveProcessDirectory(path, base);
    DeleteTree(path);
}

void CDeleteThread::DeleteTree(const CString& path)
{
    if (IsWholeFolderRecycle())
    {
        // The shell moves the tree as one item; nothing inside is asked about.
        if (!MoveToRecycleBin(path))
            ReportFailure(path);
        return;
    }
    m_pFrames = CDirWalkFrame::CreateRoot(path);
    // Per open frame, innermost last: how many entries stayed before it was entered.
    std::vector<LONG> keptBefore(1, m_keptCount);
    CFileInfo child;
    while (m_pFrames != nullptr && !m_cancel)
    {
        CDirWalkFrame* frame = m_pFrames;
        if (!NextTreeChild(*frame, child))
            LeaveTreeFrame(keptBefore);
        else if (!child.IsDots())
            DeleteTreeChild(frame, child, keptBefore);
    }
}

BOOL CDeleteThread::NextTreeChild(CDirWalkFrame& frame, CFileInfo& child)
{
    if (frame.m_pFind == nullptr && !frame.m_firstEntryPending)
    {
        frame.m_firstEntryPending = 1;
        frame.m_pFind = FindFirstEntry(nullptr, frame.m_directoryPath, L"*.*", child);
        return frame.m_pFind != nullptr;
    }
    return frame.m_pFind != nullptr && FindNextEntry(frame.m_pFind, child);
}

void CDeleteThread::LeaveTreeFrame(std::vector<LONG>& keptBefore)
{
    CDirWalkFrame* frame = m_pFrames;
    CloseEntryFind(frame->m_pFind);
    const CString done = frame->m_directoryPath;
    m_pFrames = frame->m_next;
    delete frame;
    const BOOL contentsKept = m_keptCount != keptBefore.back();
    keptBefore.pop_back();
    FinishDirectory(done, contentsKept);
}

void CDeleteThread::DeleteTreeChild(CDirWalkFrame* frame, const CFileInfo& child,
                                    std::vector<LONG>& keptBefore)
{
    ShowProgress(frame->m_relativePath + L"\\" + child.GetName());
    const CString childPath = frame->m_directoryPath + L"\\" + child.GetName();
    const DeleteWay way = ChooseDeleteWay(FALSE, child.IsDirectory(), IsLink(child.m_findData));
    if (way == DELETE_ONE_FILE)
        DeleteOneFile(childPath, child.m_findData.dwFileAttributes);
    else if (way == DELETE_LINK_ONLY)
        // A junction or directory link goes as a link: what it points at lies
        // outside the chosen tree.
        RemoveLink(childPath);
    else
    {
        m_pFrames = CDirWalkFrame::CreateChild(frame, child.GetName());
        keptBefore.push_back(m_keptCount);
    }
}

void CDeleteThread::FinishDirectory(const CString& path, BOOL contentsKept)
{
    if (m_keepDirectories || m_cancel)
        return;
    // Contents the walk did not leave behind (a file made meanwhile, a folder that
    // another handle still holds) keep the directory as surely as a failure would.
    if (!IsDirectoryEmpty(path))
    {
        if (!contentsKept)
            ReportDirectoryFailure(path);
        return;
    }
    if (m_toRecycleBin)
    {
        if (!MoveToRecycleBin(path))
            ReportDirectoryFailure(path);
        return;
    }
    const DWORD attributes = GetFileAttributesLong(path);
    SetFileAttributesLong(path, FILE_ATTRIBUTE_NORMAL);
    if (RemoveDirectoryLong(path))
        return;
    // The directory stays with its attributes.
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesLong(path, attributes & ~FILE_ATTRIBUTE_DIRECTORY);
    ReportDirectoryFailure(path);
}

void CDeleteThread::LeaveProcessDirectory(const CString& directory, const CString& base)
{
    CString current;
    GetCurrentDir(current);
    if (!current.IsEmpty() && !base.IsEmpty() && IsPathInsideDirectory(current, directory))
        SetCurrentDir(base);
}

void CDeleteThread::RemoveLink(const CString& path)
{
    if (m_keepDirectories)
        return;
    // A directory link is removed as a directory on Windows; hosts that show a link
    // to a folder as a plain link take the file call. Nothing that could reach the
    // target is tried: a link that stays is reported.
    if (!RemoveDirectoryLong(path) && !DeleteFileLong(path))
        ReportFailure(path);
}

void CDeleteThread::DeleteOneFile(const CString& path, DWORD attributes)
{
    const DWORD kind = DeleteAttributeAsked(attributes);
    if (kind != 0)
    {
        EngineAnswer& answer = m_answers[DeleteAnswerSlot(kind)];
        if (!AnswerHoldsForRest(answer))
            answer = AskAttributeDelete(path, kind);
        if (DeleteAnswerKeepsFile(answer))
        {
            ++m_keptCount;
            return;
        }
    }
    BOOL cleared = FALSE;
    if (DeleteLiftsReadOnly(attributes))
    {
        if (!SetFileAttributesLong(path, FILE_ATTRIBUTE_ARCHIVE))
        {
            ReportFailure(path);
            return;
        }
        cleared = TRUE;
    }
    const BOOL removed = m_toRecycleBin ? MoveToRecycleBin(path) : DeleteFileLong(path);
    if (removed)
        return;
    // The file stays: it keeps the protection the user saw.
    if (cleared)
        SetFileAttributesLong(path, attributes);
    ReportFailure(path);
}

EngineAnswer CDeleteThread::AskAttributeDelete(const CString& path, int kind)
{
    CString text;
    if (kind == FILE_ATTRIBUTE_READONLY)
        text.Format(L"%sは\nリードオンリーファイルです。消去しますか?", path.GetString());
    else if (kind == FILE_ATTRIBUTE_HIDDEN)
        text.Format(L"%sは\n隠しファイルです。消去しますか?", path.GetString());
    else
        text.Format(L"%sは\nシステムファイルです。消去しますか?", path.GetString());
    CAskSameDlg question(m_pDialog);
    question.m_caption = L"削除の確認";
    question.m_message = text;
    question.m_same = TRUE;
    const INT_PTR result = question.DoModal();
    return AnswerWithScope(result == IDOK, question.m_same != FALSE);
}

int CDeleteThread::TreeHasFiles(LPCWSTR path)
{
    WIN32_FIND_DATAW data;
    CString pattern;
    pattern.Format(L"%s\\*.*", path);
    HANDLE find = FindFirstFileLong(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int found = 0;
    do
    {
        const int entryClass = CFileInfo::GetEntryClass(data);
        if (entryClass == ENTRY_CLASS_FILE)
            found = 1;
        else if (entryClass == ENTRY_CLASS_DIRECTORY && !IsLink(data))
        {
            CString child;
            child.Format(L"%s\\%s", path, data.cFileName);
            found = TreeHasFiles(child);
        }
    } while (!found && FindNextFileW(find, &data));
    FindCloseLong(find);
    return found;
}

int CDeleteThread::IsDirectoryEmpty(LPCWSTR path) const
{
    if (IsWholeFolderRecycle())
        return 1;
    WIN32_FIND_DATAW data;
    CString pattern;
    pattern.Format(L"%s\\*.*", path);
    HANDLE find = FindFirstFileLong(pattern, &data);
    if (find == INVALID_HANDLE_VALUE)
        return 1;
    int empty = 1;
    do
    {
        const int entryClass = CFileInfo::GetEntryClass(data);
        if (entryClass == ENTRY_CLASS_FILE || entryClass == ENTRY_CLASS_DIRECTORY)
            empty = 0;
    } while (empty && FindNextFileW(find, &data));
    FindCloseLong(find);
    return empty;
}

int CDeleteThread::MoveToRecycleBin(LPCWSTR path)
{
    const size_t length = wcslen(path);
    const SIZE_T bytes = ((2 * length + 4) / 16 + 1) * 16;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    wchar_t* from = block != nullptr ? static_cast<wchar_t*>(GlobalLock(block)) : nullptr;
    if (from == nullptr)
    {
        if (block != nullptr)
            GlobalFree(block);
        Tell(m_pDialog, L"メモリを確保できませんでした");
        return 0;
    }
    wcscpy_s(from, bytes / sizeof(wchar_t), path);
    SHFILEOPSTRUCTW operation = {};
    operation.hwnd = m_pDialog != nullptr ? m_pDialog->GetSafeHwnd() : nullptr;
    operation.wFunc = FO_DELETE;
    operation.pFrom = from;
    // Without FOF_WANTNUKEWARNING the shell destroys, without a word, whatever it
    // cannot recycle (files on network shares, files larger than the bin): the user
    // who asked for the bin is warned first.
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_WANTNUKEWARNING;
    operation.lpszProgressTitle = L"ファイルごみ箱へ移動中";
    const int result = SHFileOperationAsGiven(&operation);
    GlobalUnlock(block);
    GlobalFree(block);
    return result == 0 && !operation.fAnyOperationsAborted;
}

void CDeleteThread::ReportFailure(const CString& path)
{
    m_failedPaths.Add(path);
    ++m_keptCount;
    if (!Ask(m_pDialog, FAILED_CONTINUE, nullptr, MessageBoxKind::OkCancel))
        InterlockedExchange(&m_cancel, 1);
}

void CDeleteThread::ReportDirectoryFailure(const CString& path)
{
    m_failedPaths.Add(path);
    ++m_keptCount;
    CString text;
    text.Format(L"ディレクトリ%sの削除に失敗しました続けますか", path.GetString());
    if (!Ask(m_pDialog, text, nullptr, MessageBoxKind::OkCancel))
        InterlockedExchange(&m_cancel, 1);
}

void CDeleteThread::ShowProgress(LPCWSTR text)
{
    m_progress.SetDisplay(DELETE_SHOW_NAME, text);
}
