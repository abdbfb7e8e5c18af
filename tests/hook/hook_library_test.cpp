#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/TestSupport.h"

namespace
{

typedef LRESULT(CALLBACK* Callback)(int, WPARAM, LPARAM);
typedef void(WINAPI* SetHookFn)(Callback);
typedef void(WINAPI* ReleaseHookFn)();
typedef LRESULT(CALLBACK* HookProcFn)(int, WPARAM, LPARAM);

// Keys no program of the test display binds.
const WORD kSwallowedKey = VK_F14;
const WORD kPassedKey = VK_F15;

std::vector<DWORD> g_firstSeen;
std::vector<DWORD> g_secondSeen;
std::vector<DWORD> g_chainSeen;

LRESULT CALLBACK FirstCallback(int, WPARAM message, LPARAM event)
{
    if (message != WM_KEYDOWN)
        return 0;
    DWORD key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(event)->vkCode;
    g_firstSeen.push_back(key);
    return key == kSwallowedKey ? 1 : 0;
}

LRESULT CALLBACK SecondCallback(int, WPARAM message, LPARAM event)
{
    if (message == WM_KEYDOWN)
        g_secondSeen.push_back(reinterpret_cast<const KBDLLHOOKSTRUCT*>(event)->vkCode);
    return 0;
}

// Installed before the library's hook, so it is called after it: it sees a key only
// when the library let it go on down the chain.
LRESULT CALLBACK ChainObserver(int code, WPARAM message, LPARAM event)
{
    if (code >= 0 && message == WM_KEYDOWN)
        g_chainSeen.push_back(reinterpret_cast<const KBDLLHOOKSTRUCT*>(event)->vkCode);
    return CallNextHookEx(nullptr, code, message, event);
}

bool Contains(const std::vector<DWORD>& keys, DWORD key)
{
    for (DWORD k : keys)
        if (k == key)
            return true;
    return false;
}

void Press(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
    // The hooks of this thread are called through its message queue.
    qvtest::PumpMessages(300);
}

class HookLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_firstSeen.clear();
        g_secondSeen.clear();
        g_chainSeen.clear();
        observer = SetWindowsHookExW(WH_KEYBOARD_LL, ChainObserver, GetModuleHandleW(nullptr), 0);
        ASSERT_NE(observer, nullptr);
        library = LoadLibraryW((qvtest::ProgramDir() + L"\\QvDll.DLL").c_str());
        ASSERT_NE(library, nullptr);
        setHook = reinterpret_cast<SetHookFn>(GetProcAddress(library, "SetHookProc"));
        releaseHook = reinterpret_cast<ReleaseHookFn>(GetProcAddress(library, "ReleaseHookProc"));
        hookProc = reinterpret_cast<HookProcFn>(GetProcAddress(library, "KeyboardHookProc"));
        ASSERT_TRUE(setHook && releaseHook && hookProc);
    }

    void TearDown() override
    {
        if (owner.hProcess)
        {
            TerminateProcess(owner.hProcess, 1);
            WaitForSingleObject(owner.hProcess, 5000);
            CloseHandle(owner.hProcess);
            CloseHandle(owner.hThread);
        }
        if (releaseHook)
            releaseHook();
        if (library)
            FreeLibrary(library);
        if (observer)
            UnhookWindowsHookEx(observer);
    }

    bool StartOwner()
    {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, L"QvHookOwnerReady");
        ResetEvent(ready);
        std::wstring command = L"\"" + qvtest::ProgramDir() + L"\\qv_hook_owner.exe\"";
        STARTUPINFOW startup = {sizeof(startup)};
        bool started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                      &startup, &owner) != FALSE;
        HANDLE waits[2] = {ready, owner.hProcess};
        bool isReady = started && WaitForMultipleObjects(2, waits, FALSE, 10000) == WAIT_OBJECT_0;
        CloseHandle(ready);
        return isReady;
    }

    HHOOK observer = nullptr;
    HMODULE library = nullptr;
    SetHookFn setHook = nullptr;
    ReleaseHookFn releaseHook = nullptr;
    HookProcFn hookProc = nullptr;
    PROCESS_INFORMATION owner = {};
};

TEST_F(HookLibraryTest, CallbackSwallowsOnOneAndPassesOnZero)
{
    setHook(FirstCallback);
    Press(kSwallowedKey);
    Press(kPassedKey);
    EXPECT_TRUE(Contains(g_firstSeen, kSwallowedKey));
    EXPECT_TRUE(Contains(g_firstSeen, kPassedKey));
    EXPECT_FALSE(Contains(g_chainSeen, kSwallowedKey));
    EXPECT_TRUE(Contains(g_chainSeen, kPassedKey));
}

TEST_F(HookLibraryTest, SecondInstallIsIgnoredUntilReleased)
{
    setHook(FirstCallback);
    setHook(SecondCallback);
    Press(kPassedKey);
    EXPECT_TRUE(Contains(g_firstSeen, kPassedKey));
    EXPECT_TRUE(g_secondSeen.empty());

    releaseHook();
    releaseHook(); // without a hook: nothing happens
    g_firstSeen.clear();
    Press(kPassedKey);
    EXPECT_TRUE(g_firstSeen.empty());

    setHook(SecondCallback);
    Press(kPassedKey);
    EXPECT_TRUE(g_firstSeen.empty());
    EXPECT_TRUE(Contains(g_secondSeen, kPassedKey));
}

TEST_F(HookLibraryTest, NegativeCodeNeverReachesTheCallback)
{
    setHook(FirstCallback);
    KBDLLHOOKSTRUCT event = {};
    event.vkCode = kSwallowedKey;
    EXPECT_EQ(hookProc(-1, WM_KEYDOWN, reinterpret_cast<LPARAM>(&event)), 0);
    EXPECT_TRUE(g_firstSeen.empty());
    EXPECT_EQ(hookProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&event)), 1);
    EXPECT_TRUE(Contains(g_firstSeen, kSwallowedKey));
}

TEST_F(HookLibraryTest, AnotherProcessCannotTakeOrDropTheOwnersHook)
{
    ASSERT_TRUE(StartOwner());
    HANDLE called = CreateEventW(nullptr, FALSE, FALSE, L"QvHookOwnerCalled");

    setHook(FirstCallback);
    releaseHook();
    setHook(SecondCallback);
    // The system passes over a hook whose process answers too slowly, as a loaded
    // machine's may once: the owner's hook counts as working when one of a few keys
    // reaches it, and that key must not go further.
    DWORD waited = WAIT_TIMEOUT;
    for (int attempt = 0; attempt < 3 && waited != WAIT_OBJECT_0; ++attempt)
    {
        g_chainSeen.clear();
        Press(kSwallowedKey);
        waited = WaitForSingleObject(called, 5000);
    }
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the owner's hook stopped";
    EXPECT_FALSE(Contains(g_chainSeen, kSwallowedKey)) << "the owner's callback no longer swallows";
    EXPECT_TRUE(g_firstSeen.empty());
    EXPECT_TRUE(g_secondSeen.empty());
    CloseHandle(called);
}

TEST_F(HookLibraryTest, HookOfAKilledOwnerDoesNotBlockTheNextInstall)
{
    ASSERT_TRUE(StartOwner());
    TerminateProcess(owner.hProcess, 1);
    WaitForSingleObject(owner.hProcess, 5000);

    setHook(FirstCallback);
    Press(kSwallowedKey);
    EXPECT_TRUE(Contains(g_firstSeen, kSwallowedKey));
    EXPECT_FALSE(Contains(g_chainSeen, kSwallowedKey));
}

} // namespace
