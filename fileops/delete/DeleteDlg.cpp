#include "fileops/delete/DeleteDlg.h"

#include "app/Directories.h"
#include "app/OsVersion.h"
#include "app/Settings.h"
#include "util/WorkerMessages.h"
#include "archivefront/ArchiveFront.h"
#include "app/dialogs/TellAndAsk.h"
#include "fileops/copy/CopyJob.h"
#include "fileops/delete/DeleteThread.h"
#include "filer/FilerPane.h"
#include "res/DeleteDialogs.h"

namespace
{
const int OPTION_CONTROLS[] = {IDC_DELETE_TO_RECYCLE_BIN, IDC_DELETE_WHOLE_FOLDER, IDC_DELETE_WARN_NOT_EMPTY,
                               IDC_DELETE_KEEP_DIRECTORIES};

// Where the dialog shows what its worker publishes.
const ProgressDisplayControl kDeleteDisplays[] = {
    {DELETE_SHOW_NAME, IDC_DELETE_NAME, PROGRESS_SHOW_TEXT},
};
} // namespace

void LeaveDirectoriesAboutToGo(const CSelectedEntryList& selection)
{
    for (CFilerPane* pane : g_Panes)
    {
        if (pane == nullptr || pane->m_currentDir.IsEmpty() || pane->IsOnVirtualDrive())
            continue;
        for (INT_PTR i = 0; i < selection.m_entries.GetSize(); ++i)
        {
            const CFileInfo& entry = selection.m_entries[i];
            if (!entry.IsDirectory() || entry.IsDots() || entry.m_source != ENTRY_SOURCE_DISK)
                continue;
            const CString holder = entry.GetRealDirectory(FALSE);
            CString directory;
            MakePath(holder, entry.GetName(), directory);
            if (!IsPathInsideDirectory(pane->m_currentDir, directory))
                continue;
            pane->CloseChangeNotification();
            // A listing pane lists the folder at once, so that no command of it
            // meets a name of the old listing in the new folder. A pane in another
            // mode keeps its place: the directory it returns to is climbed out of
            // when it is found gone.
            if (pane->m_mode == PANE_MODE_FILER && pane->m_subMode == PANE_SUB_DIRECTORY)
            {
                pane->ChangeDirectory(holder, PATH_VISIT_NAVIGATE, TRUE, FALSE);
                if (pane->m_pView != nullptr && pane->m_pView->GetSafeHwnd() != nullptr)
                    pane->m_pView->Invalidate(FALSE);
            }
            break;
        }
    }
}

BEGIN_MESSAGE_MAP(CDeleteDlg, CWorkerDialog)
ON_WM_TIMER()
END_MESSAGE_MAP()

CDeleteDlg::CDeleteDlg(CWnd* pParent) : CWorkerDialog(IDD_DELETE, pParent) {}

void CDeleteDlg::OnTimer(UINT_PTR id)
{
    if (id == PROGRESS_TIMER_ID)
        ShowWorkerProgress();
}

void CDeleteDlg::ShowWorkerProgress()
{
    if (m_pWorker == nullptr || m_hWnd == nullptr)
        return;
    TakeAndShowDisplays(m_hWnd, m_pWorker->m_progress, m_shown, kDeleteDisplays);
}

CDeleteDlg::~CDeleteDlg()
{
    delete m_pWorker;
}

void CDeleteDlg::DoDataExchange(CDataExchange* pDX)
{
    CWorkerDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_DELETE_TO_RECYCLE_BIN, m_toRecycleBin);
    DDX_Check(pDX, IDC_DELETE_WHOLE_FOLDER, m_wholeFolder);
    DDX_Check(pDX, IDC_DELETE_WARN_NOT_EMPTY, m_warnNotEmpty);
}

BOOL CDeleteDlg::OnInitDialog()
{
    CWorkerDialog::OnInitDialog();
    ::SetDlgItemTextW(m_hWnd, IDC_DELETE_NAME,
                      m_selection.m_entries.GetSize() == 1 ? m_selection.m_entries[0].GetName()
                                                           : L"タグファイル");
    if (IsArchiveMode())
    {
        for (int id : OPTION_CONTROLS)
            ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
    }
    else
    {
        const int os = GetOsVersionKind();
        // The shell of these systems cannot move a folder to the bin as one item.
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_DELETE_WHOLE_FOLDER), os != 0 && os != 2);
    }
    return TRUE;
}

void CDeleteDlg::OnOK()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), FALSE);
    ::SetDlgItemTextW(m_hWnd, IDCANCEL, L"中止");
    if (IsArchiveMode())
    {
        const int ok = DeleteArchiveEntries();
        ::PostMessageW(m_hWnd, WM_COMMAND, ok ? IDM_WORKER_DONE : IDM_WORKER_FAILED, 0);
    }
    else
    {
        UpdateData(TRUE);
        g_DELETEASKNOTENMPTY = m_warnNotEmpty;
        g_DELETETODUST = m_toRecycleBin;
        g_TODUSTUNITFOLDER = m_wholeFolder;
        const int keep = ::IsDlgButtonChecked(m_hWnd, IDC_DELETE_KEEP_DIRECTORIES) == BST_CHECKED;
        for (int id : OPTION_CONTROLS)
            ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
        LeaveDirectoriesAboutToGo(m_selection);
        m_pWorker = new CDeleteThread;
        m_pWorker->m_pDialog = this;
        m_pWorker->m_pSelection = &m_selection;
        m_pWorker->m_toRecycleBin = m_toRecycleBin;
        m_pWorker->m_wholeFolder = m_wholeFolder;
        m_pWorker->m_warnNotEmpty = m_warnNotEmpty;
        m_pWorker->m_keepDirectories = keep;
        if (!m_pWorker->CreateThread())
        {
            delete m_pWorker;
            m_pWorker = nullptr;
            Tell(this, L"Threadを作成するに失敗しました");
            FinishJob(2);
            return;
        }
        SetTimer(PROGRESS_TIMER_ID, PROGRESS_TIMER_PERIOD);
        if (m_paneIndex >= 0 && m_paneIndex < 2 && g_Panes[m_paneIndex] != nullptr)
            g_Panes[m_paneIndex]->MarkAll(2);
    }
    ::SetFocus(::GetDlgItem(m_hWnd, IDCANCEL));
}

void CDeleteDlg::OnCancel()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDCANCEL), FALSE);
    InterlockedExchange(&m_progress.cancelFlag, 1);
    if (m_pWorker != nullptr)
        InterlockedExchange(&m_pWorker->m_cancel, 1);
    else
        FinishJob(2);
}

BOOL CDeleteDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    if (nCode == 0 && pHandlerInfo == nullptr && (nID == IDM_WORKER_DONE || nID == IDM_WORKER_FAILED))
    {
        FinishJob(nID == IDM_WORKER_DONE ? 1 : 2);
        return TRUE;
    }
    return CWorkerDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDeleteDlg::FinishJob(int code)
{
    if (m_pWorker != nullptr)
    {
        DWORD exitCode = STILL_ACTIVE;
        while (GetExitCodeThread(m_pWorker->m_hThread, &exitCode) && exitCode != 0 &&
               exitCode != static_cast<DWORD>(-1))
            WaitForSingleObject(m_pWorker->m_hThread, INFINITE);
        KillTimer(PROGRESS_TIMER_ID);
        ShowWorkerProgress();
        delete m_pWorker;
        m_pWorker = nullptr;
    }
    if (IsArchiveMode())
    {
        m_bWorkerDone = 1;
        EndDialog(code);
        return;
    }
    DestroyWindow();
    NotifyWorkerDone();
}

int CDeleteDlg::DeleteArchiveEntries()
{
    CFilerPane* pane = m_paneIndex >= 0 && m_paneIndex < 2 ? g_Panes[m_paneIndex] : nullptr;
    CArchiveFront* front = pane != nullptr ? dynamic_cast<CArchiveFront*>(pane->m_archive) : nullptr;
    if (front == nullptr)
        return 0;
    // Every member the chosen rows cover: a file row its own member, a folder row the
    // members below it one by one.
    CArrayArchiveFileInfo members;
    CArchiveFileInfo member;
    for (int n = 0; pane->CollectArchiveItems(member, n, FALSE); ++n)
    {
        if (m_progress.IsCancelled())
            return 0;
        members.Add(member);
    }
    m_progress.Clear(TRUE);
    if (!front->HasListing())
        return 1;
    if (front->DeleteEntries(members, g_KEEP_FILE_TIME_AT_ARCHIVE_UPDATE, &m_progress))
        return 1;
    if (!m_progress.IsCancelled() && !front->m_errors.HasCode(21))
        Tell(this, front->m_errors.GetMessageText(), L"削除失敗");
    return 0;
}
