#include "framework/FwThread.h"
#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CObject)

namespace
{
// Thrown by AfxEndThread and caught by the thread's entry; deliberately not derived
// from any exception class that a job might catch.
struct ThreadExitRequest
{
    UINT code;
};

thread_local CWinThread* t_currentThread = nullptr;
} // namespace

CWinThread::~CWinThread()
{
    if (m_hThread)
        CloseHandle(m_hThread);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    ASSERT(m_hThread == nullptr);
    // Always created suspended, so that the handle and id are stored before the
    // thread can run (and, with auto-delete, end and delete this object).
    // _beginthreadex rather than CreateThread: it sets up the C runtime's per-thread
    // data, which the job's string formatting and file functions use.
    unsigned id = 0;
    uintptr_t handle = _beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry, this,
                                      dwCreateFlags | CREATE_SUSPENDED, &id);
    if (handle == 0)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(reinterpret_cast<HANDLE>(handle)); // from here on, this may be gone
    return TRUE;
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

DWORD CWinThread::SuspendThread()
{
    return ::SuspendThread(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int nPriority)
{
    return ::SetThreadPriority(m_hThread, nPriority);
}

int CWinThread::GetThreadPriority()
{
    return ::GetThreadPriority(m_hThread);
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::Run()
{
    LONG idleCount = 0;
    bool idle = true;
    MSG msg;
    for (;;)
    {
        while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
        {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        do
        {
            // -1 (invalid arguments) cannot happen with these; treat it as the end.
            BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0 || got == -1)
            {
                m_nQuitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
                return ExitInstance();
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            idle = true;
            idleCount = 0;
        } while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::OnIdle(LONG /*lCount*/)
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return m_nQuitCode;
}

unsigned __stdcall CWinThread::ThreadEntry(void* param)
{
    auto* thread = static_cast<CWinThread*>(param);
    t_currentThread = thread;
    // A thread gets a message queue only on its first window call; make it now so
    // that PostThreadMessage works from the moment the thread exists.
    MSG msg;
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);

    unsigned code;
    try
    {
        if (thread->InitInstance())
            code = static_cast<unsigned>(thread->Run());
        else
            code = static_cast<unsigned>(thread->ExitInstance());
    }
    catch (const ThreadExitRequest& request)
    {
        code = request.code;
    }
    t_currentThread = nullptr;
    // Read the flag only now: the owner may switch auto-delete off after creating
    // the thread suspended.
    if (thread->m_bAutoDelete)
        delete thread;
    return code;
}

void AfxEndThread(UINT nExitCode)
{
    if (t_currentThread)
        throw ThreadExitRequest{nExitCode};
    ExitThread(nExitCode);
}

void WaitForThreadPumping(HANDLE thread, ThreadWaitPump pump)
{
    if (thread == nullptr)
        return;
    const DWORD wake = pump == ThreadWaitPump::All ? QS_ALLINPUT : QS_SENDMESSAGE;
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, wake) == WAIT_OBJECT_0 + 1)
    {
        MSG msg;
        if (pump == ThreadWaitPump::SentOnly)
        {
            // Peeking answers the sent messages; posted ones wait for the message loop.
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
