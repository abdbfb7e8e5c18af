#include "framework/FwThread.h"
#include <gtest/gtest.h>
#include <atomic>

namespace
{

// How the job of the test thread ends.
enum class Ending
{
    EndThreadInInit, // AfxEndThread(code) inside InitInstance
    FalseInit,       // InitInstance returns FALSE, ExitInstance returns code
    EndThreadInIdle, // InitInstance TRUE, OnIdle steps, then AfxEndThread(code)
};

struct Probe
{
    std::atomic<bool> ran{false};
    std::atomic<bool> unwound{false}; // a local object of InitInstance was destroyed
    std::atomic<bool> deleted{false};
    std::atomic<int> idleSteps{0};
};

class JobThread : public CWinThread
{
public:
    JobThread(Ending ending, UINT code, Probe* probe) : m_ending(ending), m_code(code), m_probe(probe) {}
    ~JobThread() override { m_probe->deleted = true; }

    BOOL InitInstance() override
    {
        struct Local
        {
            Probe* probe;
            ~Local() { probe->unwound = true; }
        } local{m_probe};
        m_probe->ran = true;
        if (m_ending == Ending::EndThreadInInit)
            AfxEndThread(m_code);
        return m_ending == Ending::EndThreadInIdle;
    }
    BOOL OnIdle(LONG lCount) override
    {
        m_probe->idleSteps = lCount + 1;
        if (lCount == 2)
            AfxEndThread(m_code);
        return 200; // more idle work, as a job that steps in OnIdle does
    }
    int ExitInstance() override { return static_cast<int>(m_code); }

private:
    Ending m_ending;
    UINT m_code;
    Probe* m_probe;
};

struct ExitCase
{
    Ending ending;
    UINT code;
    const char* name;
};

const ExitCase kExitCases[] = {
    {Ending::EndThreadInInit, 0, "AfxEndThread(0) in InitInstance"},
    {Ending::EndThreadInInit, static_cast<UINT>(-1), "AfxEndThread(-1) in InitInstance"},
    {Ending::FalseInit, 0, "FALSE InitInstance, ExitInstance 0"},
    {Ending::FalseInit, static_cast<UINT>(-1), "FALSE InitInstance, ExitInstance -1"},
    {Ending::EndThreadInIdle, static_cast<UINT>(-1), "AfxEndThread(-1) in OnIdle"},
};

TEST(CWinThreadTest, OwnerKeepsTheObjectAndReadsTheExactExitCode)
{
    for (const ExitCase& c : kExitCases)
    {
        SCOPED_TRACE(c.name);
        Probe probe;
        auto* thread = new JobThread(c.ending, c.code, &probe);
        thread->m_bAutoDelete = FALSE;
        ASSERT_TRUE(thread->CreateThread());
        ASSERT_EQ(WaitForSingleObject(thread->m_hThread, 10000), WAIT_OBJECT_0);
        DWORD code = 0x12345;
        EXPECT_TRUE(GetExitCodeThread(thread->m_hThread, &code));
        EXPECT_EQ(code, static_cast<DWORD>(c.code));
        EXPECT_TRUE(probe.ran);
        EXPECT_TRUE(probe.unwound);
        EXPECT_FALSE(probe.deleted);
        if (c.ending == Ending::EndThreadInIdle)
        {
            EXPECT_EQ(probe.idleSteps, 3);
        }
        delete thread;
        EXPECT_TRUE(probe.deleted);
    }
}

TEST(CWinThreadTest, AutoDeleteObjectIsDeletedAndTheExitCodeKept)
{
    for (const ExitCase& c : kExitCases)
    {
        SCOPED_TRACE(c.name);
        Probe probe;
        auto* thread = new JobThread(c.ending, c.code, &probe);
        // The object closes its handle when it deletes itself: keep our own.
        ASSERT_TRUE(thread->CreateThread(CREATE_SUSPENDED));
        HANDLE handle = nullptr;
        ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &handle, 0,
                                    FALSE, DUPLICATE_SAME_ACCESS));
        thread->ResumeThread();
        ASSERT_EQ(WaitForSingleObject(handle, 10000), WAIT_OBJECT_0);
        DWORD code = 0x12345;
        EXPECT_TRUE(GetExitCodeThread(handle, &code));
        EXPECT_EQ(code, static_cast<DWORD>(c.code));
        EXPECT_TRUE(probe.unwound);
        EXPECT_TRUE(probe.deleted);
        CloseHandle(handle);
    }
}

TEST(CWinThreadTest, SuspendedThreadRunsOnlyAfterResume)
{
    Probe probe;
    JobThread thread(Ending::FalseInit, 0, &probe);
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread(CREATE_SUSPENDED));
    EXPECT_EQ(GetThreadId(thread.m_hThread), thread.m_nThreadID);
    EXPECT_TRUE(thread.SetThreadPriority(THREAD_PRIORITY_IDLE));
    EXPECT_EQ(WaitForSingleObject(thread.m_hThread, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(probe.ran);
    EXPECT_EQ(thread.ResumeThread(), 1u);
    EXPECT_EQ(WaitForSingleObject(thread.m_hThread, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(probe.ran);
}

// Message loop: waits for messages (the base OnIdle returns FALSE) and ends on a
// posted quit with its code, through the base ExitInstance.
class LoopThread : public CWinThread
{
public:
    LoopThread() : started(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~LoopThread() override { CloseHandle(started); }
    BOOL InitInstance() override
    {
        SetEvent(started);
        return TRUE;
    }
    HANDLE started;
};

TEST(CWinThreadTest, PostedQuitEndsRunWithItsCode)
{
    LoopThread thread;
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    ASSERT_EQ(WaitForSingleObject(thread.started, 10000), WAIT_OBJECT_0);
    EXPECT_TRUE(thread.PostThreadMessage(WM_APP, 0, 0));
    EXPECT_TRUE(thread.PostThreadMessage(WM_QUIT, 7, 0));
    ASSERT_EQ(WaitForSingleObject(thread.m_hThread, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread.m_hThread, &code);
    EXPECT_EQ(code, 7u);
}

} // namespace
