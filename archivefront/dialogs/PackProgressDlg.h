// The modal dialog inside which the 7-Zip back-end runs a create, rename or delete
// job: it starts the job on a worker thread, shows the bytes done and a progress
// bar, passes Cancel to the job through the progress record, and ends only after the
// worker has posted IDM_WORKER_DONE and finished.
#pragma once
#include "app/ProgressInfo.h"
#include "framework/FwDialog.h"

class CSevenZipArchive;

class CPackProgressDlg : public CDialog
{
public:
    CPackProgressDlg(int kind, CWnd* pParent = nullptr);
    ~CPackProgressDlg() override;

    int m_kind; // SEVENZIP_JOB_*
    CSevenZipArchive* m_backEnd = nullptr;
    int m_result = 0; // the job's result after DoModal
    HANDLE m_thread = nullptr;
    CProgressInfo* m_progress = nullptr; // the caller's record, else m_ownProgress
    CProgressInfo m_ownProgress;

    static void OnProgress(UINT events, CProgressInfo* info);

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnOK() override {}
    void OnWorkerDone();
    DECLARE_MESSAGE_MAP()
};

// The worker's routine: runs the job of the dialog's kind, stores its result and
// posts IDM_WORKER_DONE to the dialog.
DWORD WINAPI RunPackProgressJob(LPVOID dialog);
