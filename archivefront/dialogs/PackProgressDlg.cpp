#include "archivefront/dialogs/PackProgressDlg.h"

#include "util/Formatting.h"
#include "util/WorkerMessages.h"
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "res/SevenZipDialogs.h"

BEGIN_MESSAGE_MAP(CPackProgressDlg, CDialog)
ON_COMMAND(IDM_WORKER_DONE, OnWorkerDone)
END_MESSAGE_MAP()

CPackProgressDlg::CPackProgressDlg(int kind, CWnd* pParent)
    : CDialog(IDD_PACK_PROGRESS, pParent), m_kind(kind)
{
}

CPackProgressDlg::~CPackProgressDlg()
{
    // A dialog that never got its window still owns a worker only when one started.
    if (m_thread != nullptr)
    {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
    if (m_progress != nullptr)
        m_progress->progressCallback = nullptr;
}

BOOL CPackProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CString path = m_backEnd != nullptr ? m_backEnd->m_targetArchivePath : CString();
    if (path.IsEmpty() && m_backEnd != nullptr)
        path = m_backEnd->m_archivePath;
    CString caption;
    caption.Format(L"%sの圧縮中", static_cast<LPCWSTR>(path.Mid(path.ReverseFind(L'\\') + 1)));
    SetWindowText(caption);
    if (m_progress == nullptr)
        m_progress = &m_ownProgress;
    m_progress->ownerWindow = this;
    m_progress->progressCallback = &CPackProgressDlg::OnProgress;
    if (m_progress->barSpan <= 0)
        m_progress->barSpan = 100;
    ::SendDlgItemMessageW(GetSafeHwnd(), IDC_PACK_PROGRESS_BAR, PBM_SETRANGE32,
                          static_cast<WPARAM>(m_progress->barBase),
                          static_cast<LPARAM>(m_progress->barBase + m_progress->barSpan));
    m_thread = CreateThread(nullptr, 0, RunPackProgressJob, this, 0, nullptr);
    if (m_thread == nullptr)
    {
        m_result = 0;
        EndDialog(IDCANCEL);
    }
    return TRUE;
}

void CPackProgressDlg::OnProgress(UINT events, CProgressInfo* info)
{
    CPackProgressDlg* dialog = static_cast<CPackProgressDlg*>(info->ownerWindow);
    if (dialog == nullptr || (events & (PROGRESS_TOTAL | PROGRESS_DONE)) == 0)
        return;
    CString done, total, text;
    FormatNumberInt(static_cast<ULONGLONG>(info->doneAmount + info->currentAmount), done, 0);
    FormatNumberInt(static_cast<ULONGLONG>(info->totalAmount < 0 ? 0 : info->totalAmount), total, 0);
    text.Format(L"%s/%s", static_cast<LPCWSTR>(done.Trim()), static_cast<LPCWSTR>(total.Trim()));
    dialog->SetDlgItemText(IDC_PACK_PROGRESS_TEXT, text);
    ::SendDlgItemMessageW(dialog->GetSafeHwnd(), IDC_PACK_PROGRESS_BAR, PBM_SETPOS,
                          static_cast<WPARAM>(info->GetPosition()), 0);
}

void CPackProgressDlg::OnCancel()
{
    // The job stops at its next poll; the dialog waits for its end.
    if (m_progress != nullptr)
        InterlockedExchange(&m_progress->cancelFlag, 1);
}

void CPackProgressDlg::OnWorkerDone()
{
    if (m_thread != nullptr)
    {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    if (m_progress != nullptr)
    {
        m_progress->progressCallback = nullptr;
        m_progress->ownerWindow = nullptr;
    }
    EndDialog(IDOK);
}

DWORD WINAPI RunPackProgressJob(LPVOID parameter)
{
    CPackProgressDlg* dialog = static_cast<CPackProgressDlg*>(parameter);
    int result = 0;
    // Nobody above this thread could catch what the job throws (the archive
    // client throws on duplicate names, for one): it becomes the back-end's
    // exception code here instead of ending the process.
    try
    {
        switch (dialog->m_kind)
        {
        case 0:
            result = dialog->m_backEnd->RunCreate(dialog, dialog->m_progress);
            break;
        case 1:
            result = dialog->m_backEnd->RunRename(dialog, dialog->m_progress);
            break;
        case 2:
            result = dialog->m_backEnd->RunDelete(dialog, dialog->m_progress);
            break;
        default:
            break;
        }
    }
    catch (int value)
    {
        dialog->m_backEnd->m_errors.Add(ARCERR_EXCEPTION, value);
        result = 0;
    }
    catch (...)
    {
        dialog->m_backEnd->m_errors.Add(ARCERR_EXCEPTION, 0);
        result = 0;
    }
    dialog->m_result = result;
    ::PostMessageW(dialog->GetSafeHwnd(), WM_COMMAND, IDM_WORKER_DONE, 0);
    return 0;
}
