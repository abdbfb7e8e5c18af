// The file-search worker as the find-result list sees it: a thread with a stop flag
// that its owner stops and waits for. The search itself lives with the file
// operations, above the panes; the program installs the function that creates it.
#pragma once
#include <windows.h>
#include "filer/FileInfo.h"
#include "framework/FwThread.h"

// Where a search hands its finds: a pane's find results or the search dialog's list.
// Called on the search's thread, and on the thread that sorts the finds.
class CFindResultSink
{
public:
    virtual ~CFindResultSink() = default;
    // One find, as row `row` of the finds in their order (-1: after the others).
    virtual void AddFind(int row, const CFileInfo& entry) = 0;
    // The finds as they stand now, all of them in their order (none when a search
    // begins): what was shown before goes.
    virtual void ShowFinds(const CArrayFileInfo& finds) = 0;
};

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
    // Receives the finds; set before the thread starts. Null: the finds are kept by
    // the worker alone.
    CFindResultSink* m_sink = nullptr;
};

// What a pane search asks of the file operations, which lie above the filer; the
// program installs their search worker.
struct FindWorkerHooks
{
    // Creates the worker a pane search runs; until the program installs its own, one
    // that searches nothing.
    CFindThreadBase* (*createFindThread)();
};

extern FindWorkerHooks g_FindWorkerHooks;
