#include "framework/FwGuard.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <float.h>
#include <atomic>
#include <stdexcept>
#include <thread>

namespace
{

using PluginFn = int(__cdecl*)(int);

HMODULE g_dll = nullptr;

PluginFn Export(const char* name)
{
    auto fn = reinterpret_cast<PluginFn>(reinterpret_cast<void*>(GetProcAddress(g_dll, name)));
    EXPECT_NE(fn, nullptr) << name;
    return fn;
}

// Calls one export of the fault fixture under a guard; returns the exception code
// (0: none).
DWORD CallGuarded(const char* name, int arg, int* result = nullptr)
{
    PluginFn fn = Export(name);
    int value = 0;
    DWORD code = 0xFFFFFFFF;
    bool ok = GuardedCall([&] { value = fn(arg); }, &code);
    EXPECT_EQ(ok, code == 0);
    if (result)
        *result = value;
    return code;
}

class GuardedCallTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        g_dll = LoadLibraryW((qvtest::ProgramDir() + L"\\qv_fault_fixture.dll").c_str());
    }
    static void TearDownTestSuite()
    {
        if (g_dll)
            FreeLibrary(g_dll);
        g_dll = nullptr;
    }
    void SetUp() override { ASSERT_NE(g_dll, nullptr) << "qv_fault_fixture.dll not beside the test program"; }
};

struct FaultCase
{
    const char* exportName;
    DWORD expectedCode;
};

TEST_F(GuardedCallTest, EachFaultKindIsCaughtTwiceAndTheThreadGoesOn)
{
    const FaultCase cases[] = {
        {"FaultWrite", EXCEPTION_ACCESS_VIOLATION},
        {"FaultDivide", EXCEPTION_INT_DIVIDE_BY_ZERO},
        {"FaultIllegal", EXCEPTION_ILLEGAL_INSTRUCTION},
        {"FaultFloat", EXCEPTION_FLT_DIVIDE_BY_ZERO},
    };
    for (const FaultCase& c : cases)
    {
        SCOPED_TRACE(c.exportName);
        EXPECT_EQ(CallGuarded(c.exportName, 7), c.expectedCode);
        int result = 0;
        EXPECT_EQ(CallGuarded("Okay", 21, &result), 0u);
        EXPECT_EQ(result, 42);
        EXPECT_EQ(CallGuarded(c.exportName, 8), c.expectedCode);
    }
}

TEST_F(GuardedCallTest, FloatingPointStateIsRestoredAfterAFault)
{
    unsigned int before = _control87(0, 0);
    EXPECT_EQ(CallGuarded("FaultFloat", 1), static_cast<DWORD>(EXCEPTION_FLT_DIVIDE_BY_ZERO));
    EXPECT_EQ(_control87(0, 0) & _MCW_EM, before & _MCW_EM);
}

struct OverflowRun
{
    DWORD codes[2];
    int after;
};

DWORD WINAPI OverflowTwice(void* param)
{
    auto* run = static_cast<OverflowRun*>(param);
    run->codes[0] = CallGuarded("FaultStack", 1, nullptr);
    CallGuarded("Okay", 5, &run->after);
    run->codes[1] = CallGuarded("FaultStack", 1, nullptr);
    return 0;
}

TEST_F(GuardedCallTest, StackOverflowIsCaughtAgainAfterTheFirst)
{
    // On a thread of its own, so that whatever happens the test runner's own stack
    // keeps its guard page.
    OverflowRun run = {};
    HANDLE thread = CreateThread(nullptr, 0, OverflowTwice, &run, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(run.codes[0], static_cast<DWORD>(EXCEPTION_STACK_OVERFLOW));
    EXPECT_EQ(run.codes[1], static_cast<DWORD>(EXCEPTION_STACK_OVERFLOW));
    EXPECT_EQ(run.after, 10);
}

TEST_F(GuardedCallTest, CppExceptionsPassThroughAndTheGuardStillWorks)
{
    EXPECT_THROW(GuardedCall([] { throw std::runtime_error("ours"); }), std::runtime_error);
    EXPECT_EQ(CallGuarded("FaultWrite", 1), static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
}

TEST_F(GuardedCallTest, NestedGuardsTheInnermostCatches)
{
    PluginFn fault = Export("FaultDivide");
    DWORD inner = 0, outer = 0;
    bool innerOk = true;
    bool outerOk = GuardedCall([&] { innerOk = GuardedCall([&] { fault(1); }, &inner); }, &outer);
    EXPECT_TRUE(outerOk);
    EXPECT_EQ(outer, 0u);
    EXPECT_FALSE(innerOk);
    EXPECT_EQ(inner, static_cast<DWORD>(EXCEPTION_INT_DIVIDE_BY_ZERO));
}

TEST_F(GuardedCallTest, GuardsOnTwoThreadsAtOnce)
{
    const int rounds = 200;
    std::atomic<int> ready{0};
    int caught[2] = {}, okays[2] = {};
    auto work = [&](int index) {
        ready.fetch_add(1);
        while (ready.load() < 2)
            Sleep(0);
        for (int i = 0; i < rounds; ++i)
        {
            if (CallGuarded(index ? "FaultDivide" : "FaultWrite", i) != 0)
                ++caught[index];
            int result = -1;
            if (CallGuarded("Okay", i, &result) == 0 && result == 2 * i)
                ++okays[index];
        }
    };
    std::thread a(work, 0), b(work, 1);
    a.join();
    b.join();
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(caught[i], rounds) << i;
        EXPECT_EQ(okays[i], rounds) << i;
    }
}

} // namespace
