// The synchronisation settings dialog and the synchronisation dialog: the list of
// rows with their proposed actions, the buttons that change them, and carrying the
// list out (the archive steps here, the work on disk by the worker).
#pragma once
#include <windows.h>
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "app/ProgressInfo.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "filer/FileInfo.h"
#include "fileops/copy/FileCopier.h"
#include "fileops/sync/SyncRows.h"
#include "framework/FwDialog.h"
#include "framework/FwString.h"

class CArchiveFront;
class CSyncCopyDlgThread;

// The three settings, shown and taken back on OK.
class CSyncCopySetting : public CScriptedDialog
{
public:
    explicit CSyncCopySetting(CWnd* pParent = nullptr);

    SyncSettings m_settings;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    CDialogQuestion GetQuestion() const override;
    // A scripted answer's checks, when given, are the three settings in their order.
    void ApplyAnswer(const CDialogAnswer& answer) override;
};

class CSynccopyDlg : public CDialog
{
public:
    explicit CSynccopyDlg(CWnd* pParent = nullptr);
    ~CSynccopyDlg() override;

    // ---- Set by the command ---------------------------------------------------------
    int m_sourcePane = -1;
    int m_destinationPane = -1; // -1: a folder no pane shows
    // The source pane's directory; for an archive listing the folder of the archive file.
    CString m_sourceDirectory;
    // The archive objects of archive listings (null for a directory side).
    CArchiveFront* m_sourceArchive = nullptr;
    CArchiveFront* m_destinationArchive = nullptr;
    // The entries the command acts on in the source pane.
    CArrayFileInfo m_targets;
    // The other pane's directory (a drive root keeps its backslash), or the path of
    // the archive it lists.
    CString m_destination;
    SyncSettings m_settings;
    // Tests put in their own drive probe for the copier (null: the system's).
    const CopierDriveProbe* m_copierProbe = nullptr;

    // ---- State -------------------------------------------------------------------------
    CSyncDataArray m_rows;
    int m_sortColumn = SYNC_SORT_PATH;
    BOOL m_descending = FALSE;
    CSyncCopyDlgThread* m_worker = nullptr;

    void OnCopyToDestination() { ApplyToSelected(SYNC_TO_DEST); }
    void OnCopyToSource() { ApplyToSelected(SYNC_TO_SRC); }
    void OnDoNothing() { ApplyToSelected(SYNC_NOTHING); }
    void OnDeleteRows() { ApplyToSelected(SYNC_DELETE); }
    void OnBrowseDestination();
    void OnColumnClick(int column);
    void OnAbort();
    void UpdateActionButtons();
    // Stops the worker and waits for its end while this thread's messages are still
    // dispatched: the worker's questions, owned by this dialog, wait for this thread.
    void StopWorker();

    // Build, decide, sort and fill: what a new destination needs as well, so that no
    // row of the old one acts on the new one.
    void RebuildRows();
    void ShowRow(int index);

    // The archive steps of carrying out; FALSE after a failure (already reported).
    BOOL ExtractFromArchive();
    BOOL PackIntoArchive();
    BOOL DeleteInArchive();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // The folder chooser of 1034; tests answer it themselves.
    virtual BOOL ChooseDestinationFolder(CString& path);
    // Shows what the worker published since the last look (the progress timer).
    void OnTimer(UINT_PTR id);
    void ShowWorkerProgress();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyToSelected(int action);
    void FillList();
    void CloseWithMessage(LPCWSTR text);
    // The source as the dialog shows it: the archive's path, or the folder (a root with
    // its backslash).
    CString SourceText() const;
    void SetUpListColumns();
    CString DestinationBase() const;
    CString SourceBase() const;
    CArchiveFront* ArchiveSide() const;
    CString DiskFolder() const;

    CPreviewReaderHold m_previewHold;
    HIMAGELIST m_images = nullptr;
    BOOL m_running = FALSE;
    BOOL m_stopping = FALSE;
    BOOL m_packed = FALSE;
    CProgressDisplays m_shown;
};
