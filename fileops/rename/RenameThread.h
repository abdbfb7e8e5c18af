// The rename worker: applies one pattern to every entry a command acts on and renames
// each on disk, or, for an archive listing, records the new names in the job's
// rename list.
#pragma once
#include <windows.h>
#include "app/ProgressInfo.h"
#include "framework/FwString.h"
#include "framework/FwThread.h"
#include "fileops/rename/RenamePattern.h"

class CRenameThread : public CWinThread
{
public:
    CRenameThread();

    // Posts IDM_WORKER_DONE or IDM_WORKER_FAILED to the dialog and ends with exit code
    // 0 or -1.
    BOOL InitInstance() override;
    // The job on the calling thread: 0 finished, -1 cancelled.
    int RunJob();

    HWND m_dialog = nullptr;
    CProgressInfo m_progress; // old name in the main text, new name in the phase text
    int m_caseMode = 0;       // 0 unchanged, 1 upper, 2 lower
    int m_nameStart = 0;
    int m_extensionStart = 0;
    int m_paneIndex = 0;
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
};

// Writes the old and the new name into the owner window's name fields (event bit 1);
// without an owner window it does nothing.
void RenameProgressCallback(UINT events, CProgressInfo* info);
