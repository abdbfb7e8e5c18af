// The unpack dialog: asks for the destination (folder per archive, ignore folders,
// path length check, password) and unpacks on a worker thread of its own, showing
// the current file, the bytes done and a bar. One job runs at a time in the
// process; a later dialog waits (polling every 100 ms) until the earlier job ended.
//
// Three uses, all set up by the caller before the window exists:
//  - archive files of a filer pane (m_sourceMode UNPACK_FROM_FILER): modeless, made
//    with Create(IDD_UNPACK, parent); m_selection holds the pane's targets (taken
//    from the source pane when left empty). When it ends it destroys its window and
//    posts IDM_MODELESS_DONE to the worker-done window; the view deletes it then.
//  - members of an archive listing (UNPACK_FROM_ARCHIVE): DoModal; the front object
//    is the source pane's own unless m_sourceArchive is set, the members are the
//    pane's selection unless m_members is filled. The end code is UNPACK_DONE or
//    UNPACK_FAILED.
//  - the same with m_toTemp = 1: starts by itself, OK stays disabled; the cursor
//    member goes to the destination, a folder the caller made for itself (an older
//    copy there is deleted first and replaced without a question), and
//    m_extractedFile names it afterwards.
#pragma once
#include "app/ProgressInfo.h"
#include "app/dialogs/WorkerDialog.h"
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "archivefront/dialogs/UnpackJob.h"
#include "filer/PaneSelection.h"
#include "filer/dialogs/InputComplement.h"

class CUnpackDlg : public CWorkerDialog
{
public:
    explicit CUnpackDlg(CWnd* pParent = nullptr);
    ~CUnpackDlg() override;

    CString m_destination; // the destination text; after OK the text the user gave
    CString m_baseFolder;  // relative destinations are resolved against it
    int m_sourcePane = 0;
    int m_sourceMode = UNPACK_FROM_FILER;
    int m_toTemp = 0;
    CSelectedEntryList m_selection;
    CArchiveFront* m_sourceArchive = nullptr;
    CArrayArchiveFileInfo m_members;

    int m_result = UNPACK_DONE;
    CString m_resolvedDestination;
    CString m_extractedFile;
    CProgressInfo m_progress;

    // TRUE while the job waits for the earlier one, or runs.
    BOOL IsWaiting() const { return m_waiting; }
    BOOL IsRunning() const { return m_thread != nullptr; }

    static void OnProgress(UINT events, CProgressInfo* info);
    // Three quarters of the item's share count as its current amount.
    static BOOL OnItemPercent(int value, int unused, CProgressInfo* info);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnBrowse();
    void OnTimer(UINT_PTR id);
    void OnShowWindow(BOOL show, UINT status);
    LRESULT OnUnpackEnd(WPARAM, LPARAM);
    LRESULT OnArchiverProgress(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void StartWorker();
    void Finish();
    static DWORD WINAPI WorkerMain(LPVOID dialog);

    CPreviewReaderHold m_readerHold;
    CInputComplement m_destinationCompletion;
    CUnpackJob m_job;
    HANDLE m_thread = nullptr;
    BOOL m_waiting = FALSE;
    BOOL m_firstShow = TRUE;
    CString m_shownFile;
};
