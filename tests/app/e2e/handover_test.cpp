// The hand-over of a further start, driven from the test's own windows standing in
// for a running instance: which windows it addresses, and that a hung one cannot keep
// it from ending.
#include "app/StartDirs.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>

namespace
{

std::map<HWND, int> g_requests;

LRESULT CALLBACK ProbeProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == g_MsgReqDirChange)
    {
        ++g_requests[hWnd];
        return 1;
    }
    return DefWindowProcW(hWnd, message, wParam, lParam);
}

const wchar_t* ProbeClass()
{
    static bool registered = false;
    if (!registered)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QvHandOverProbe";
        RegisterClassW(&wc);
        registered = true;
    }
    return L"QvHandOverProbe";
}

HWND CreateProbe(const wchar_t* title, HWND owner = nullptr)
{
    return CreateWindowExW(0, ProbeClass(), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100, owner,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

class HandOver : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_MsgReqDirChange = RegisterWindowMessageW(QV_MSG_REQ_DIR_CHANGE_NAME);
        g_requests.clear();
    }
};

TEST_F(HandOver, AddressesWindowsByTheTitleSuffix)
{
    struct
    {
        const wchar_t* title;
        bool addressed;
    } cases[] = {
        {L"無題 - qv", true},   {L"some other program - qv", true},
        {L" - qv", false},      {L"無題 - QV", false},
        {L"無題 - qv ", false}, {L"qv", false},
    };
    for (const auto& c : cases)
    {
        HWND probe = CreateProbe(c.title);
        ASSERT_NE(nullptr, probe);
        FindRunningInstanceProc(probe, 0);
        EXPECT_EQ(c.addressed ? 1 : 0, g_requests[probe]) << c.title;
        DestroyWindow(probe);
    }
}

TEST_F(HandOver, AnOwnedWindowPassesTheRequestToItsOwner)
{
    HWND owner = CreateProbe(L"owner");
    HWND owned = CreateProbe(L"dialog - qv", owner);
    ASSERT_TRUE(owner && owned);
    FindRunningInstanceProc(owned, 0);
    EXPECT_EQ(1, g_requests[owner]);
    EXPECT_EQ(0, g_requests[owned]);
    DestroyWindow(owned);
    DestroyWindow(owner);
}

TEST_F(HandOver, AMinimisedWindowIsRestoredBeforeTheRequest)
{
    HWND probe = CreateProbe(L"minimised - qv");
    ASSERT_NE(nullptr, probe);
    ShowWindow(probe, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(probe));
    FindRunningInstanceProc(probe, 0);
    EXPECT_FALSE(IsIconic(probe));
    EXPECT_EQ(1, g_requests[probe]);
    DestroyWindow(probe);
}

struct HungWindow
{
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND window = nullptr;

    static DWORD WINAPI Run(LPVOID param)
    {
        auto* self = static_cast<HungWindow*>(param);
        self->window = CreateProbe(L"hung - qv");
        SetEvent(self->created);
        // Takes no messages until released, like a program stuck in a long task.
        WaitForSingleObject(self->release, 30000);
        DestroyWindow(self->window);
        return 0;
    }
};

TEST_F(HandOver, AHungWindowDoesNotHoldTheStartUp)
{
    HungWindow hung;
    HANDLE thread = CreateThread(nullptr, 0, HungWindow::Run, &hung, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hung.created, 10000));
    ASSERT_NE(nullptr, hung.window);

    const DWORD savedTimeout = g_HandOverTimeoutMs;
    g_HandOverTimeoutMs = 500;
    // The probe takes no message until released, which happens only after the look
    // returned or gave up: the look must come back while the window is still hung.
    HANDLE looked = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread look([&] {
        FindRunningInstanceProc(hung.window, 0);
        SetEvent(looked);
    });
    const bool returned = WaitForSingleObject(looked, 20000) == WAIT_OBJECT_0;
    SetEvent(hung.release);
    look.join();
    g_HandOverTimeoutMs = savedTimeout;

    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    CloseHandle(looked);
    CloseHandle(hung.created);
    CloseHandle(hung.release);
    EXPECT_TRUE(returned) << "a window that takes no messages held the start-up";
}

} // namespace
