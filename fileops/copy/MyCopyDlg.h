// The modeless dialog of one copy or move job: the user confirms the destination,
// chooses a few options and starts the job; while the worker runs the same dialog
// shows its progress and offers the stop button; at the end it records the
// destination in the history, destroys its window and tells the view. And the modal
// dialog in which the user edits the target and excluded patterns of the job.
#pragma once
#include <windows.h>
#include "app/ProgressInfo.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/dialogs/WorkerDialog.h"
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "filer/dialogs/InputComplement.h"
#include "filer/PaneSelection.h"
#include "framework/FwCollections.h"

class CCopyDlgThread;

// Appends the pattern upper-cased; empty text and a pattern already there (case
// aside) are left out. 1 when it was appended.
int AddCopyPattern(CStringArray& patterns, LPCWSTR text);

// The drop-down entries of the destination field for COPY and MOVE: the selected
// directories, the past destinations, the special destinations and the SendTo
// folder's usable targets, each source at the place its position setting gives and
// only when its switch is on.
void CollectCopyDestinations(const CSelectedEntryList& selection, CStringArray& out);

class CMyCopyDlg : public CWorkerDialog
{
public:
    CMyCopyDlg();
    ~CMyCopyDlg() override;

    int m_kind = 0;
    int m_sourcePane = 0;
    CSelectedEntryList m_source;
    CSelectedEntryList m_targets; // COPY_TO_ALL
    CString m_otherDirectory;     // COPY_TO_ALL: the other pane's directory
    CString m_destinationText;    // preset by the opening command
    CStringArray m_targetPatterns;
    CStringArray m_excludedPatterns;
    CCopyDlgThread* m_pWorker = nullptr;

    // Creates the modeless window (template 1259) owned by `parent`.
    BOOL CreateModeless(CWnd* parent);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnStop();
    void OnBrowse();
    void OnSelectFiles();
    void OnWorkerEnded();
    void EndJob();
    // Shows what the worker published since the last look (the progress timer).
    void OnTimer(UINT_PTR id);
    void ShowWorkerProgress();

protected:
    DECLARE_MESSAGE_MAP()

private:
    void EnableItem(int id, BOOL enable);
    // The job runs: its options close, the stop button opens, and the window goes
    // down when the user asked for that.
    void ShowRunning();
    CInputComplement m_complement;
    BOOL m_minimize = FALSE;
    BOOL m_running = FALSE;
    CProgressDisplays m_shown;
    CPreviewReaderHold m_readerHold;
};

class CSelCopyFileDlg : public CScriptedDialog
{
public:
    explicit CSelCopyFileDlg(CWnd* pParent = nullptr);

    CStringArray m_targetPatterns;
    CStringArray m_excludedPatterns;

    BOOL OnInitDialog() override;
    void OnAddTarget();
    void OnAddExcluded();
    void OnRemoveTargets();
    void OnRemoveExcluded();

protected:
    // A scripted answer's `text` holds target patterns and `content` excluded ones,
    // each a list separated by ';', added as the Add buttons would.
    CDialogQuestion GetQuestion() const override;
    void ApplyAnswer(const CDialogAnswer& answer) override;

    DECLARE_MESSAGE_MAP()

private:
    void AddPattern(int editId, int listId, CStringArray& patterns);
    void RemovePatterns(int listId, CStringArray& patterns);
    void FillList(int listId, const CStringArray& patterns);
};
