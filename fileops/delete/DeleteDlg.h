// The delete dialog: shows what is to be deleted and the options, then runs the delete
// worker (filer panes, modeless) or deletes archive items in place (archive listings,
// modal).
#pragma once
#include "app/ProgressInfo.h"
#include "app/dialogs/WorkerDialog.h"
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "filer/PaneSelection.h"

class CDeleteThread;

// Before a delete job, on the interface thread: a pane that stands in one of the chosen
// directories or below one lets go of its change watch and, listing a directory,
// climbs to the folder that holds the chosen one, so that nothing of this program
// keeps the directory from going.
void LeaveDirectoriesAboutToGo(const CSelectedEntryList& selection);

class CDeleteDlg : public CWorkerDialog
{
public:
    explicit CDeleteDlg(CWnd* pParent = nullptr);
    ~CDeleteDlg() override;

    // Options bound to the check boxes; the creator sets them from the settings.
    int m_toRecycleBin = 0;
    int m_wholeFolder = 0;
    int m_warnNotEmpty = 0;
    CSelectedEntryList m_selection;
    int m_paneIndex = 0;
    UINT m_paneMode = 0x8; // the pane's mode word at creation
    CProgressInfo m_progress;
    CDeleteThread* m_pWorker = nullptr;

    // The end of every job: 1 done, 2 failed, stopped or cancelled.
    void FinishJob(int code);
    // The archive listing's deletion on the interface thread: 1 on success.
    int DeleteArchiveEntries();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    // The progress timer: shows what the worker published since the last look.
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    BOOL IsArchiveMode() const { return (m_paneMode & 0x100) != 0; }
    void ShowWorkerProgress();
    CProgressDisplays m_shown;
    CPreviewReaderHold m_readerHold;
};
