#include "graphics/plugins/LoadPictureBDlg.h"

#include <commctrl.h>

#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "util/WorkerMessages.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/records/ArchiveFileInfo.h"
#include "app/records/LocalMemory.h"
#include "archivefront/ArchiveFront.h"
#include "graphics/picture/PictureData.h"
#include "graphics/plugins/PictureStepper.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "res/PictureDialogs.h"

#include <cstring>

namespace
{
constexpr DWORD kReadChunk = 32000;
constexpr int kProbeBytes = 2048;
constexpr int kArchiveCorrupt = 3;

// Masks of the ways the load ends.
constexpr int kMaskFailed = 255;
constexpr int kMaskNoMember = 47;
constexpr int kMaskMemberFailed = 115;
constexpr int kMaskLoaded = 99;
constexpr int kMaskNextPicture = 19;
} // namespace

CLoadPictureBDlg::CLoadPictureBDlg(IPictureStepper* position, CWnd* parent)
    : CDialog(IDD_LOAD_PICTURE, parent), m_position(position), m_hostInUse(&m_ownHost),
      m_picture(&g_CurrentPicture)
{
    // Held for the dialog's life: the thumbnail loader must not run a plug-in while
    // this one reads, since many plug-ins are not safe to call from two threads.
    m_lockedThread = g_pLoadPreviewThread;
    if (m_lockedThread != nullptr)
        m_lockedThread->AcquireReaderLock();
    m_picture->Free();
}

CLoadPictureBDlg::~CLoadPictureBDlg()
{
    if (m_thread != nullptr)
    {
        m_progress.cancelFlag = 1;
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    Release(LOADPIC_RELEASE_MEMBER_IMAGE | LOADPIC_RELEASE_ARCHIVE_IMAGE);
    if (m_lockedThread != nullptr)
        m_lockedThread->ReleaseReaderLock();
}

int CLoadPictureBDlg::LoadMaybeWithDialog(LONGLONG fileSize)
{
    m_fileSize = fileSize;
    if (g_ENABLE_NO_DIALOG_LOADING == 0 || fileSize > LONGLONG(g_NO_DIALOG_LOADING_SIZE) * 1000)
        return DoModal() == 1 ? 1 : 0;
    return LoadWithoutDialog();
}

int CLoadPictureBDlg::LoadWithoutDialog()
{
    m_noDialog = 1;
    SetUpTexts();
    RunLoadBody();
    const int code = Complete();
    m_noDialog = 0;
    return code == 1 ? 1 : 0;
}

// ---- Dialog ------------------------------------------------------------------------

BOOL CLoadPictureBDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_noDialog = 0;
    SetUpTexts();
    DWORD id = 0;
    m_thread = ::CreateThread(nullptr, 0, LoadPictureWorkerThread, this, 0, &id);
    if (m_thread == nullptr)
    {
        Fail(kMaskFailed);
        PostMessage(WM_COMMAND, IDM_WORKER_FAILED, 0);
    }
    return TRUE;
}

DWORD WINAPI CLoadPictureBDlg::LoadPictureWorkerThread(LPVOID parameter)
{
    CLoadPictureBDlg* dlg = static_cast<CLoadPictureBDlg*>(parameter);
    dlg->RunLoadBody();
    ::PostMessageW(dlg->m_hWnd, WM_COMMAND, IDM_WORKER_DONE, 0);
    return 0;
}

BOOL CLoadPictureBDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDM_WORKER_DONE:
    case IDM_WORKER_FAILED:
        Complete();
        return TRUE;
    case IDC_LOADPIC_STOP:
        m_stopMask = kMaskFailed;
        m_progress.cancelFlag = 1;
        m_endCode = 2;
        return TRUE;
    default:
        return CDialog::OnCommand(wParam, lParam);
    }
}

void CLoadPictureBDlg::OnCancel()
{
    // Esc stops as the button does but keeps the reader host open.
    m_stopMask = kMaskMemberFailed;
    m_progress.cancelFlag = 1;
    m_endCode = 2;
}

int CLoadPictureBDlg::Complete()
{
    if (m_thread != nullptr)
    {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    const int cancelled = m_progress.cancelFlag != 0;
    // A stop that came after the picture was read still drops it: the user asked for
    // no picture.
    Release(cancelled ? m_stopMask : m_cleanupMask);
    const int code = cancelled ? 2 : m_endCode;
    if (!m_noDialog && m_hWnd != nullptr)
        EndDialog(code);
    return code;
}

// ---- Texts and progress --------------------------------------------------------------

void CLoadPictureBDlg::SetUpTexts()
{
    m_currentSourceKind = m_sourceKind;
    m_loadPhase = 0;
    m_endCode = 2;
    m_cleanupMask = 0;
    m_stopMask = kMaskFailed;
    m_retryFromMemory = 0;
    if (m_hostInUse == nullptr)
        m_hostInUse = &m_ownHost;
    ShowCounter();
    // A narrow plug-in export cannot open a path the system code page cannot spell:
    // such a file is read into memory first.
    const int ansiSafe = IsAnsiSafeName(m_filePath) ? 1 : 0;
    if (m_sourceKind == 1)
        m_loadType = ansiSafe ? 0 : 1;
    else
        m_loadType =
            (m_archiveFront != nullptr && m_archiveFront->m_activeBackEnd == ARCFRONT_PLUGIN && !ansiSafe)
                ? 1
                : 0;
    m_progress.Clear(TRUE);
    m_progress.cancelFlag = 0;
    m_progress.userData = this;
    m_progress.progressCallback = ProgressEvents;
    m_progress.ownerWindow = m_noDialog ? nullptr : this;
    CString text;
    if (m_sourceKind == 1)
        text.Format(L"PlugIn:  %s\n\n%sを読み込み中", static_cast<LPCWSTR>(m_hostInUse->GetPlugInName()),
                    static_cast<LPCWSTR>(m_filePath));
    else
        text.Format(
            L"PlugIn:  %s\n\n%sの\n%sを解凍中\n(%05ld/%05ld)",
            static_cast<LPCWSTR>(m_archiveFront != nullptr ? m_archiveFront->GetLibraryName() : CString()),
            static_cast<LPCWSTR>(m_filePath), static_cast<LPCWSTR>(m_memberName),
            long(m_position != nullptr ? m_position->GetIndex(-1) + 1 : 0),
            long(m_position != nullptr ? m_position->GetCount(-1) : 0));
    ShowMessage(text);
}

void CLoadPictureBDlg::ShowMessage(const CString& text)
{
    if (!m_noDialog && m_hWnd != nullptr)
        SetDlgItemText(IDC_LOADPIC_MESSAGE, text);
}

void CLoadPictureBDlg::ShowCounter()
{
    if (m_noDialog || m_hWnd == nullptr || m_position == nullptr)
        return;
    const int index = m_position->GetIndex(-2) + 1;
    const int count = m_position->GetCount(-2);
    CString text;
    text.Format(L"%05ld\n  /%05ld", long(index), long(count));
    SetDlgItemText(IDC_LOADPIC_COUNTER, text);
    const int percent = count > 0 ? int(LONGLONG(index) * 100 / count) : 100;
    ::SendDlgItemMessageW(m_hWnd, IDC_LOADPIC_LIST_BAR, PBM_SETPOS, WPARAM(percent), 0);
}

void CLoadPictureBDlg::ProgressEvents(UINT events, CProgressInfo* info)
{
    static_cast<CLoadPictureBDlg*>(info->userData)->OnProgress(events);
}

void CLoadPictureBDlg::OnProgress(UINT events)
{
    if ((events & (PROGRESS_TOTAL | PROGRESS_DONE)) == 0 || m_noDialog || m_hWnd == nullptr)
        return;
    const int percent = m_progress.GetPosition();
    CString text;
    text.Format(L"%ld%%", long(percent));
    SetDlgItemText(IDC_LOADPIC_PERCENT, text);
    ::SendDlgItemMessageW(m_hWnd, IDC_LOADPIC_BAR, PBM_SETPOS, WPARAM(percent), 0);
}

void CLoadPictureBDlg::BeginPhase(int span, int base)
{
    m_progress.barSpan = span;
    m_progress.barBase = base;
    m_progress.totalAmount = 0;
    m_progress.doneAmount = 0;
}

// ---- The load body -----------------------------------------------------------------

int CLoadPictureBDlg::Fail(int mask)
{
    m_endCode = 2;
    m_cleanupMask = mask;
    return -1;
}

void CLoadPictureBDlg::Release(int mask)
{
    if ((mask & LOADPIC_RELEASE_MEMBER_IMAGE) != 0 && m_memberImage != nullptr)
    {
        LocalFreeLocked(m_memberImage);
        m_memberImage = nullptr;
        m_memberImageSize = 0;
    }
    if ((mask & LOADPIC_CLOSE_HOST) != 0 && m_hostInUse != nullptr)
        m_hostInUse->Close();
    if ((mask & LOADPIC_EMPTY_PICTURE) != 0 && m_picture != nullptr)
        m_picture->Free();
    if ((mask & LOADPIC_RELEASE_ARCHIVE_IMAGE) != 0 && m_archiveImage != nullptr)
    {
        LocalFreeLocked(m_archiveImage);
        m_archiveImage = nullptr;
        m_archiveImageSize = 0;
        m_archiveImageStart = 0;
    }
}

int CLoadPictureBDlg::RunLoadBody()
{
    while (m_progress.cancelFlag == 0)
    {
        int result = 0;
        if (m_loadPhase == 0)
            result = FindNextPicture();
        else if (m_currentSourceKind == 0)
            result = ExtractMember();
        else
            result = ReadPicture();
        if (result < 0)
            return 0;
        if (result == 1)
            return 1;
    }
    return 0;
}

CArchiveFileInfo* CLoadPictureBDlg::MemberAt(int index)
{
    if (m_memberAt)
        return m_memberAt(index);
    CArchiveFileInfo* entry = nullptr;
    if (m_archiveFront == nullptr || !m_archiveFront->GetEntry(&entry, index))
        return nullptr;
    return entry;
}

int CLoadPictureBDlg::FindNextPicture()
{
    if (!m_retryFromMemory)
    {
        if (m_position == nullptr)
            return Fail(kMaskFailed);
        int step = m_position->Step();
        while (step == 2 && m_progress.cancelFlag == 0)
            step = m_position->Step();
        if (step == 3 || step == 4)
            return Fail(kMaskFailed);
    }
    m_retryFromMemory = 0;
    Release(kMaskNextPicture);
    ShowCounter();
    if (m_currentSourceKind == 0)
    {
        const int index = m_position->GetIndex(-1);
        m_entry = MemberAt(index);
        if (m_entry == nullptr)
            return Fail(kMaskNoMember);
        Release(LOADPIC_RELEASE_ARCHIVE_IMAGE);
        m_memberName = m_entry->m_findData.cFileName;
        if (m_ownHost.LoadPlugInForFile(m_memberName, 2, 0, 0) < 0)
        {
            m_position->MoveOn();
            return 0;
        }
        m_hostInUse = &m_ownHost;
        CString text;
        text.Format(L"PlugIn:%s  \n\n%sの\n%sを解凍中\n(%05ld/%05ld)",
                    static_cast<LPCWSTR>(m_ownHost.GetPlugInName()), static_cast<LPCWSTR>(m_filePath),
                    static_cast<LPCWSTR>(m_memberName), long(index + 1), long(m_position->GetCount(-1)));
        ShowMessage(text);
        if (m_loadType != 0)
        {
            BeginPhase(50, 0);
            const LONGLONG start = LONGLONG(m_entry->m_position);
            const LONGLONG length = LONGLONG(m_entry->m_packedSize);
            if (!ReadFileRegion(m_filePath, start, length, &m_archiveImage))
                return Fail(kMaskMemberFailed);
            m_archiveImageSize = length;
            m_archiveImageStart = start;
        }
        m_loadPhase = 2;
        return 0;
    }
    if (m_loadType != 0)
    {
        BeginPhase(50, 0);
        WIN32_FIND_DATAW findData;
        if (!FileExists(m_filePath, &findData))
            return Fail(kMaskFailed);
        const LONGLONG size = (LONGLONG(findData.nFileSizeHigh) << 32) | findData.nFileSizeLow;
        if (!ReadFileRegion(m_filePath, 0, size, &m_memberImage))
            return Fail(kMaskFailed);
        m_memberImageSize = size;
    }
    m_loadPhase = 2;
    return 0;
}

int CLoadPictureBDlg::ExtractMember()
{
    Release(LOADPIC_RELEASE_MEMBER_IMAGE);
    if (m_archiveFront == nullptr || m_entry == nullptr)
        return Fail(kMaskMemberFailed);
    // The member this record stands for, whatever others share its name.
    const CArchiveFileInfo member = *m_entry;
    void* buffer = nullptr;
    LONGLONG size = 0;
    int extracted = 0;
    if (m_loadType == 0)
    {
        BeginPhase(75, 0);
        extracted = m_archiveFront->ExtractToMemory(member, &buffer, &size, &m_progress);
    }
    else
    {
        BeginPhase(25, 50);
        extracted = m_archiveFront->ExtractToMemoryViaPlugIn(member, &buffer, &size, &m_progress,
                                                             m_archiveImage, SIZE_T(m_archiveImageSize),
                                                             ULONGLONG(m_archiveImageStart));
    }
    const int corrupt = !extracted && m_archiveFront->GetErrors().HasCode(kArchiveCorrupt);
    m_archiveFront->UnloadLibraries();
    if (!extracted)
    {
        if (buffer != nullptr)
            LocalFreeLocked(buffer);
        if (corrupt)
        {
            CString text;
            text.Format(L"%sは\nファイルが壊れているか、展開にパスワードが必要です",
                        static_cast<LPCWSTR>(m_memberName));
            Tell(m_noDialog ? nullptr : this, text, L"ファイル読み込みエラー");
        }
        return Fail(kMaskMemberFailed);
    }
    m_memberImage = buffer;
    m_memberImageSize = size;
    // Plug-ins read a whole probe block whatever the member's size.
    BYTE head[kProbeBytes] = {};
    if (buffer != nullptr && size > 0)
        memcpy(head, buffer, size_t(size < kProbeBytes ? size : kProbeBytes));
    if (m_ownHost.LoadPlugInForBuffer(m_memberName, head, kProbeBytes, 2, 0) < 0)
    {
        m_position->MoveOn();
        m_loadPhase = 0;
        return 0;
    }
    m_hostInUse = &m_ownHost;
    const int index = m_position->GetIndex(-1);
    CString text;
    text.Format(L"PlugIn:%s  \n\n%sの\n%sを読み込み中\n(%05ld/%05ld)",
                static_cast<LPCWSTR>(m_ownHost.GetPlugInName()), static_cast<LPCWSTR>(m_filePath),
                static_cast<LPCWSTR>(m_memberName), long(index + 1), long(m_position->GetCount(-1)));
    ShowMessage(text);
    m_currentSourceKind = 1;
    m_loadType = 3;
    m_fileSize = size;
    return 0;
}

int CLoadPictureBDlg::ReadPicture()
{
    m_picture->Free();
    CSusiePlugInHost* host = m_hostInUse != nullptr ? m_hostInUse : &m_ownHost;
    int result = 0;
    if (m_loadType == 0)
    {
        BeginPhase(100, 0);
        result = host->GetPicture(m_filePath, *m_picture, &m_progress);
    }
    else
    {
        if (m_loadType == 3)
            BeginPhase(25, 75);
        else
            BeginPhase(50, 50);
        // A host that has not chosen its plug-in yet chooses it by the name.
        CString name;
        if (host->GetModule() == nullptr)
            SplitPath(m_sourceKind == 1 ? static_cast<LPCWSTR>(m_filePath)
                                        : static_cast<LPCWSTR>(m_memberName),
                      nullptr, &name);
        result =
            host->GetPictureFromMemory(name.IsEmpty() ? nullptr : static_cast<LPCWSTR>(name), m_memberImage,
                                       SIZE_T(m_memberImageSize), *m_picture, &m_progress);
    }
    if (result == 0 && m_picture->IsValid())
    {
        Release(LOADPIC_RELEASE_MEMBER_IMAGE | LOADPIC_RELEASE_ARCHIVE_IMAGE);
        m_endCode = 1;
        m_cleanupMask = kMaskLoaded;
        return 1;
    }
    m_picture->Free();
    if (m_sourceKind == 0)
    {
        // The next member is read from memory when the plug-in back-end holds the
        // archive: the path may be what a narrow plug-in cannot open. The other
        // back-ends have no such path and keep extracting directly.
        m_currentSourceKind = 0;
        m_loadType = m_archiveFront != nullptr && m_archiveFront->m_activeBackEnd == ARCFRONT_PLUGIN ? 1 : 0;
        m_position->MoveOn();
        m_loadPhase = 0;
        return 0;
    }
    if (m_loadType == 0)
    {
        m_loadType = 1;
        m_retryFromMemory = 1;
        m_loadPhase = 0;
        return 0;
    }
    return Fail(kMaskFailed);
}

int CLoadPictureBDlg::ReadFileRegion(LPCWSTR path, LONGLONG offset, LONGLONG length, void** block)
{
    *block = nullptr;
    if (offset < 0 || length < 0 || ULONGLONG(length) > ULONGLONG(SIZE_T(-1) / 2))
        return 0;
    BYTE* data =
        static_cast<BYTE*>(LocalAllocLocked(LMEM_MOVEABLE | LMEM_ZEROINIT, SIZE_T(length ? length : 1)));
    if (data == nullptr)
        return 0;
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    int ok = 0;
    LARGE_INTEGER fileSize = {};
    LARGE_INTEGER start = {};
    start.QuadPart = offset;
    if (file != INVALID_HANDLE_VALUE && GetFileSizeEx(file, &fileSize) &&
        fileSize.QuadPart - offset >= length && SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
    {
        m_progress.totalAmount += length;
        ok = 1;
        LONGLONG done = 0;
        while (done < length && m_progress.cancelFlag == 0)
        {
            const DWORD piece = length - done < kReadChunk ? DWORD(length - done) : kReadChunk;
            DWORD read = 0;
            if (!ReadFile(file, data + done, piece, &read, nullptr) || read != piece)
            {
                ok = 0;
                break;
            }
            done += piece;
            m_progress.doneAmount += piece;
            m_progress.Notify(PROGRESS_DONE);
        }
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    if (!ok)
    {
        LocalFreeLocked(data);
        return 0;
    }
    *block = data;
    return 1;
}
