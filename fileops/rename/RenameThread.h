// The rename worker: applies one pattern to every entry a command acts on and renames
// each on disk, or, for an archive listing, records the new names in the job's
// rename list. The name being renamed and its new name are published in m_progress
// for the dialog to show.
#pragma once
#include <windows.h>
#include "app/ProgressInfo.h"
#include "framework/FwString.h"
#include "framework/FwThread.h"
#include "fileops/rename/RenamePattern.h"

class CFilerPane;

// The displays the worker publishes in its progress record.
enum RenameDisplay
{
    RENAME_SHOW_OLD_NAME = 0, // the entry being renamed (or that failed)
    RENAME_SHOW_NEW_NAME = 1, // the name it takes
};

class CRenameThread : public CWinThread
{
public:
    CRenameThread();

    // Posts IDM_WORKER_DONE or IDM_WORKER_FAILED to the dialog and ends with exit code
    // 0 or -1.
    BOOL InitInstance() override;
    // The job on the calling thread: 0 finished, -1 cancelled.
    int RunJob();

    HWND m_dialog = nullptr; // receives the end message
    // The displays above; ownerWindow owns the questions, cancelFlag stops the job.
    CProgressInfo m_progress;
    int m_caseMode = 0; // 0 unchanged, 1 upper, 2 lower
    int m_nameStart = 0;
    int m_extensionStart = 0;
    CFilerPane* m_pane = nullptr; // the pane whose target entries are renamed
    int m_nextIndex = 0;
    CString m_pattern;
    CString m_lastNewName;
    int m_mode = 0; // the dialog's mode: 0 every target, 1 only the one given
    CharConvertInfo m_convert;
    int m_alwaysIncrement = 0;
    CArrayRenameFileName* m_pRenameList = nullptr;
    CRenamePattern m_engine;

private:
    // Asks whether to go on after a failure; FALSE (and the cancel flag) to stop.
    BOOL AskContinue();
    void ShowNames(LPCWSTR oldName, LPCWSTR newName);
};
