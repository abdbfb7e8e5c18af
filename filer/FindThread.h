// The file-search worker as the find-result list sees it. The search itself (its
// dialog and thread) is built with the file operations; until then a worker runs
// nothing and stops at once.
#pragma once
#include <windows.h>

class CFindThread
{
public:
    CFindThread() = default;
    virtual ~CFindThread() = default;
    CFindThread(const CFindThread&) = delete;
    CFindThread& operator=(const CFindThread&) = delete;

    // Sets the stop flag and waits for the thread's end while dispatching this
    // thread's window messages; returns the last GetExitCodeThread result.
    BOOL StopAndPump()
    {
        m_stop = TRUE;
        return TRUE;
    }

    volatile BOOL m_stop = FALSE;
};
