// The file-search worker as the find-result list sees it: a thread with a stop flag
// that its owner stops and waits for. The search itself lives with the file
// operations, above the panes; the program installs the function that creates it.
#pragma once
#include <windows.h>
#include "framework/FwThread.h"

class CFindThreadBase : public CWinThread
{
public:
    CFindThreadBase() { m_bAutoDelete = FALSE; }
    ~CFindThreadBase() override = default;
    CFindThreadBase(const CFindThreadBase&) = delete;
    CFindThreadBase& operator=(const CFindThreadBase&) = delete;

    // Sets the stop flag, then waits for the thread's end while dispatching this
    // thread's window messages (the worker sends to windows this thread owns, so a
    // plain wait could deadlock). Returns the last GetExitCodeThread result; FALSE
    // at once for a thread that never started.
    BOOL StopAndWait();

    // Written by the owner, polled by the worker between entries, blocks and compare
    // positions.
    volatile int m_stop = 0;
};

// Creates the worker a pane search runs; null until the program installs the
// file operations' worker (then a pane search cannot start).
extern CFindThreadBase* (*g_CreateFindThread)();
