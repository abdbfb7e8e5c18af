// The synchronisation worker: carries out on disk what the list leaves to it, one
// row per step in the list's order (contents before their folder), copying with the
// one-file copier and asking whether to go on after a failed copy or deletion. Its
// progress goes to m_progress (the copier's file percent and the status below), which
// the dialog takes on its timer.
#pragma once
#include <windows.h>
#include <utility>
#include <vector>
#include "app/ProgressInfo.h"
#include "fileops/copy/FileCopier.h"
#include "fileops/sync/SyncRows.h"
#include "framework/FwString.h"
#include "framework/FwThread.h"

class CWnd;

// Results of DoNextRow.
enum
{
    SYNC_STEP_MORE = 0,
    SYNC_STEP_ALL_DONE = 1,
    SYNC_STEP_ENDED = 2,
};

// The display the worker publishes beside the copier's.
enum SyncDisplay
{
    SYNC_SHOW_STATUS = COPIER_SHOW_COUNT, // what is done to which row ("%s %s" of action and path)
};

class CSyncCopyDlgThread : public CWinThread
{
public:
    CSyncCopyDlgThread();
    ~CSyncCopyDlgThread() override;

    // Runs the list and posts IDM_WORKER_DONE (exit code 0) or IDM_WORKER_FAILED
    // (exit code -1, stopped or ended by a row) to the owner.
    BOOL InitInstance() override;
    int ExitInstance() override;

    // The whole run on the calling thread: 0 when the list was worked through, -1
    // when it was stopped or a row ended it. Posts nothing.
    int Run() override;
    int DoNextRow();
    // 1 when the path was deleted, is absent, or the user chose to go on; 0 when the
    // user chose to stop.
    int DeletePath(const CString& path);

    CWnd* m_pOwner = nullptr;
    volatile LONG m_stop = 0;
    CSyncDataArray* m_rows = nullptr;
    CString m_destination; // without a trailing backslash
    CString m_source;      // the source pane's directory, without a trailing backslash
    INT_PTR m_current = 0;
    CFileCopier m_copier;
    CProgressInfo m_progress;

private:
    // Run's loop over the rows; Run lets go of the copier's folder after it.
    int RunRows();
    // The steps of a row, returning DoNextRow's results.
    int NextRow();
    // Makes the folder `target` of a row with the attributes and times of the folder
    // `mirrored` on the other side, where that exists; FALSE (told) when it cannot.
    BOOL MakeRowFolder(const CString& target, const CString& mirrored);
    int CarryFolder(const WIN32_FIND_DATAW& source, const CString& to);
    // `writtenFolder`: the row's folder on the written side, empty at the top.
    int CopyRowFile(const WIN32_FIND_DATAW& source, const CString& from, const CString& to,
                    const CString& writtenFolder);
    int Ask(LPCWSTR text);
    void Report(LPCWSTR text);
    // Puts the mirrored times back on a folder this run created: every file
    // written into a folder moves its last-write time.
    void RestampCreatedFolder(const CString& folder);

    std::vector<std::pair<CString, WIN32_FIND_DATAW>> m_createdFolders;
    int m_exitCode = 0;
};
