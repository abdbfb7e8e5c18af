// Worker threads. A job derives from CWinThread, gets its inputs as fields, and
// does its work in InitInstance on the new thread:
//
//     class CDeleteThread : public CWinThread
//     {
//         BOOL InitInstance() override
//         {
//             ...                                 // the whole job
//             AfxEndThread(cancelled ? (UINT)-1 : 0);
//         }
//     };
//
//     auto* worker = new CDeleteThread;
//     worker->m_bAutoDelete = FALSE;              // the owner deletes it
//     if (!worker->CreateThread()) ...
//     ...
//     DWORD code;                                 // the owner waits for 0 or -1
//     while (GetExitCodeThread(worker->m_hThread, &code) && code != 0 && code != (DWORD)-1)
//         WaitForSingleObject(worker->m_hThread, INFINITE);
//     delete worker;                              // closes m_hThread
//
// The thread runs InitInstance; when it returns TRUE, Run (a message loop that
// calls OnIdle while the queue is empty) until WM_QUIT; when it returns FALSE,
// ExitInstance. The thread's exit code is ExitInstance's result, or the code given
// to AfxEndThread. With m_bAutoDelete TRUE (the default) the object deletes itself
// as the thread ends, so the creator must not touch it after a successful
// CreateThread unless it created the thread suspended; with FALSE the object and
// its thread handle stay valid until the owner deletes the object.
#pragma once

#include "framework/FwObject.h"

class CWinThread : public CObject
{
    DECLARE_DYNAMIC(CWinThread)

public:
    CWinThread() = default;
    // Closes the thread handle. The thread must have ended (or never started).
    ~CWinThread() override;

    // Starts the thread. flags: 0 or CREATE_SUSPENDED (then ResumeThread starts it),
    // optionally with STACK_SIZE_PARAM_IS_A_RESERVATION; stackSize 0 takes the
    // program's default. m_hThread and m_nThreadID are set before the thread runs.
    // FALSE when the thread could not be created (the object is not deleted then).
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

    DWORD ResumeThread();
    DWORD SuspendThread();
    BOOL SetThreadPriority(int nPriority);
    int GetThreadPriority();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Runs first on the new thread. TRUE goes on with Run, FALSE with ExitInstance.
    virtual BOOL InitInstance();
    // Message loop: dispatches the thread's messages and calls OnIdle(0), OnIdle(1),
    // ... while the queue is empty and OnIdle returns non-zero; a message restarts
    // the count. Ends on WM_QUIT with ExitInstance's result.
    virtual int Run();
    // One step of idle work; non-zero asks for another call before waiting.
    virtual BOOL OnIdle(LONG lCount);
    // Last call on the thread; the result is the thread's exit code. The base
    // returns the WM_QUIT exit code when Run ended on one, else 0.
    virtual int ExitInstance();

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;

private:
    static unsigned __stdcall ThreadEntry(void* param);

    int m_nQuitCode = 0;
};

// Ends the calling thread with the exit code. On a CWinThread's thread it unwinds
// the thread's stack like an exception (destructors run, locks held by RAII objects
// are released) up to the thread's entry, which deletes the object when
// m_bAutoDelete is set and ends the thread with the code; so code between must not
// swallow it (a catch (...) must rethrow). ExitInstance is not called. On any other
// thread it ends the thread at once, like ExitThread.
[[noreturn]] void AfxEndThread(UINT nExitCode);

// How WaitForThreadPumping answers the waiting thread's messages.
enum class ThreadWaitPump
{
    SentOnly, // only the messages other threads send to this thread's windows
    All,      // every message; posted ones are dispatched as well
};

// Waits until `thread` (null: at once) has ended while answering the calling
// thread's messages. A worker that writes its dialog's controls sends messages to
// the dialog's thread, so a plain wait there would never end.
void WaitForThreadPumping(HANDLE thread, ThreadWaitPump pump);

// Sets the stop flag of `worker` (a thread object with a polled m_stop), waits for its
// thread while dispatching every message of the calling thread, deletes it and
// clears the pointer.
template <class Worker> void StopWorkerPumping(Worker*& worker)
{
    worker->m_stop = 1;
    WaitForThreadPumping(worker->m_hThread, ThreadWaitPump::All);
    delete worker;
    worker = nullptr;
}
