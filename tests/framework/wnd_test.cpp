// Message maps and command routing, menu updates, the document/frame/view trio
// created by the document template, and the application's message loop.
#include <gtest/gtest.h>

#include "framework/FwApp.h"
#include "framework/FwGdi.h"
#include "tests/common/TestSupport.h"
#include "tests/framework/framework_tests_res.h"

#include <string>
#include <vector>

namespace
{

std::vector<std::string> g_log;

// Dispatches until WM_QUIT; its code, or -1 after the time-out.
int PumpUntilQuit(DWORD milliseconds = 5000)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds)
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
                return (int)msg.wParam;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return -1;
}

std::wstring WindowText(HWND hWnd)
{
    wchar_t text[256] = {};
    GetWindowTextW(hWnd, text, 256);
    return text;
}

std::wstring MenuText(HMENU hMenu, UINT index)
{
    wchar_t text[64] = {};
    GetMenuStringW(hMenu, index, text, 64, MF_BYPOSITION);
    return text;
}

UINT g_msgRegistered = 0;
constexpr UINT WM_TEST_APP = WM_APP + 1;

class BaseWnd : public CWnd
{
public:
    std::vector<std::string> m_calls;
    UINT m_seenByWindowProc = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TEST_APP)
            ++m_seenByWindowProc;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void OnRange(UINT nID) { m_calls.push_back("range " + std::to_string(nID)); }
    void OnUpdateRange(CCmdUI* pCmdUI) { pCmdUI->Enable(pCmdUI->m_nID != ID_TEST_RANGE_LAST); }
    LRESULT OnTestApp(WPARAM wParam, LPARAM lParam)
    {
        m_calls.push_back("app " + std::to_string(wParam + lParam));
        return 77;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseWnd, CWnd)
ON_COMMAND_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, OnRange)
ON_UPDATE_COMMAND_UI_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, OnUpdateRange)
ON_MESSAGE(WM_TEST_APP, OnTestApp)
END_MESSAGE_MAP()

class DerivedWnd : public BaseWnd
{
protected:
    void OnMiddle() { m_calls.push_back("derived 3011"); }
    LRESULT OnRegistered(WPARAM wParam, LPARAM) { return (LRESULT)wParam * 2; }
    void OnTimer(UINT_PTR nIDEvent)
    {
        m_calls.push_back("timer " + std::to_string(nIDEvent));
        KillTimer(nIDEvent);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, BaseWnd)
ON_COMMAND(ID_TEST_RANGE_FIRST + 1, OnMiddle)
ON_REGISTERED_MESSAGE(g_msgRegistered, OnRegistered)
ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(MessageMap, DispatchesCommandsAndMessagesDerivedEntriesFirst)
{
    g_msgRegistered = RegisterWindowMessageW(L"QvFrameworkTestMessage");
    DerivedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"map", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));

    for (UINT id = ID_TEST_RANGE_FIRST; id <= ID_TEST_RANGE_LAST + 1; ++id)
        wnd.SendMessage(WM_COMMAND, id);
    // The same id as a control notification does not go through the update check.
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_RANGE_LAST, BN_CLICKED), (LPARAM)wnd.m_hWnd);
    EXPECT_EQ(77, wnd.SendMessage(WM_TEST_APP, 1, 2));
    EXPECT_EQ(42, wnd.SendMessage(g_msgRegistered, 21));
    wnd.SetTimer(5, 1);
    const DWORD start = GetTickCount();
    while (wnd.m_calls.size() < 5 && GetTickCount() - start < 3000)
        qvtest::DispatchPendingMessages();

    const std::vector<std::string> expected = {
        "range 3010",   // base range
        "derived 3011", // derived entry wins over the base range
        // 3012 by menu or accelerator: its update handler disables it, so nothing runs
        // 3013: no handler
        "range 3012", // as a control notification
        "app 3",
        "timer 5",
    };
    EXPECT_EQ(expected, wnd.m_calls);
    EXPECT_EQ(1u, wnd.m_seenByWindowProc);
    wnd.DestroyWindow();
    EXPECT_EQ(nullptr, wnd.m_hWnd);
}

TEST(MessageMap, ReportsWhetherAHandlerExistsWithoutCallingIt)
{
    DerivedWnd wnd;
    FwCmdHandlerInfo info{};
    EXPECT_TRUE(wnd.OnCmdMsg(ID_TEST_RANGE_FIRST + 1, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(&wnd, info.pTarget);
    EXPECT_FALSE(wnd.OnCmdMsg(ID_TEST_RANGE_LAST + 1, CN_COMMAND, nullptr, &info));
    EXPECT_TRUE(wnd.m_calls.empty());
}

// ---- Document, frame and view ----

std::string g_updateOrder;

class TestDoc : public CDocument
{
    DECLARE_DYNCREATE(TestDoc)
public:
    static int s_alive;
    TestDoc() { ++s_alive; }
    ~TestDoc() override { --s_alive; }

protected:
    void OnUpdateChain(CCmdUI* pCmdUI)
    {
        g_updateOrder += "doc ";
        pCmdUI->m_bContinueRouting = TRUE;
    }
    void OnDocCommand() { g_log.push_back("doc"); }
    DECLARE_MESSAGE_MAP()
};
int TestDoc::s_alive = 0;
IMPLEMENT_DYNCREATE(TestDoc, CDocument)
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
ON_UPDATE_COMMAND_UI(ID_TEST_ENABLED, OnUpdateChain)
ON_COMMAND(ID_TEST_COMMAND_ONLY, OnDocCommand)
END_MESSAGE_MAP()

class TestView : public CView
{
    DECLARE_DYNCREATE(TestView)
public:
    static int s_alive;
    static bool s_failCreate;
    int m_initialUpdates = 0;
    TestView() { ++s_alive; }
    ~TestView() override { --s_alive; }
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override
    {
        ++m_initialUpdates;
        CView::OnInitialUpdate();
    }

protected:
    int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CView::OnCreate(lpcs) == -1 || s_failCreate)
            return -1;
        return 0;
    }
    void OnUpdateChain(CCmdUI* pCmdUI)
    {
        g_updateOrder += "view ";
        pCmdUI->m_bContinueRouting = TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
int TestView::s_alive = 0;
bool TestView::s_failCreate = false;
IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
ON_WM_CREATE()
ON_UPDATE_COMMAND_UI(ID_TEST_ENABLED, OnUpdateChain)
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(TestFrame)
public:
    static int s_alive;
    TestFrame() { ++s_alive; }
    ~TestFrame() override { --s_alive; }

protected:
    void OnUpdateEnabled(CCmdUI* pCmdUI)
    {
        g_updateOrder += "frame ";
        pCmdUI->m_bContinueRouting = TRUE;
        pCmdUI->Enable();
        pCmdUI->SetCheck(1);
    }
    void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdateRange(CCmdUI* pCmdUI)
    {
        pCmdUI->SetRadio(pCmdUI->m_nID == ID_TEST_RANGE_FIRST + 1);
        CString text;
        text.Format(L"項目 %u", pCmdUI->m_nID - ID_TEST_RANGE_FIRST + 1);
        pCmdUI->SetText(text);
    }
    void OnRange(UINT) {}
    void OnFrameCommand() { g_log.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};
int TestFrame::s_alive = 0;
IMPLEMENT_DYNCREATE(TestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_UPDATE_COMMAND_UI(ID_TEST_ENABLED, OnUpdateEnabled)
ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, OnUpdateDisabled)
ON_UPDATE_COMMAND_UI_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, OnUpdateRange)
ON_COMMAND_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, OnRange)
ON_COMMAND(ID_TEST_COMMAND_ONLY, OnFrameCommand)
END_MESSAGE_MAP()

class TestApp : public CWinApp
{
public:
    TestApp()
    {
        AddDocTemplate(new CSingleDocTemplate(IDR_TEST_MAIN, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestFrame),
                                              RUNTIME_CLASS(TestView)));
    }

protected:
    void OnUpdateChain(CCmdUI*) { g_updateOrder += "app"; }
    void OnAppCommand() { g_log.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
ON_UPDATE_COMMAND_UI(ID_TEST_ENABLED, OnUpdateChain)
ON_COMMAND(ID_TEST_COMMAND_ONLY, OnAppCommand)
ON_COMMAND(ID_TEST_DISABLED, OnAppCommand)
END_MESSAGE_MAP()

TEST(DocTemplate, NewFileCommandCreatesDocumentFrameAndView)
{
    TestApp app;
    CCommandLineInfo cmdInfo;
    ASSERT_EQ(CCommandLineInfo::FileNew, cmdInfo.m_nShellCommand);
    ASSERT_TRUE(app.ProcessShellCommand(cmdInfo));
    ASSERT_EQ(1, TestDoc::s_alive);
    ASSERT_EQ(1, TestView::s_alive);
    auto* pFrame = dynamic_cast<TestFrame*>(AfxGetMainWnd());
    ASSERT_NE(nullptr, pFrame);
    auto* pView = dynamic_cast<TestView*>(pFrame->GetActiveView());
    ASSERT_NE(nullptr, pView);
    CDocument* pDoc = pView->GetDocument();
    ASSERT_NE(nullptr, pDoc);
    EXPECT_EQ(1, pView->m_initialUpdates);
    EXPECT_STREQ(L"qv", AfxGetAppName());

    // The caption follows the document's title.
    EXPECT_EQ(L"無題 - qv", WindowText(pFrame->m_hWnd));
    pDoc->SetTitle(L"C:\\Temp");
    EXPECT_EQ(L"C:\\Temp - qv", WindowText(pFrame->m_hWnd));

    // The view fills the frame's client area.
    RECT rcClient{}, rcView{};
    pFrame->GetClientRect(&rcClient);
    pView->GetWindowRect(&rcView);
    EXPECT_EQ(rcClient.right - rcClient.left, rcView.right - rcView.left);
    EXPECT_EQ(rcClient.bottom - rcClient.top, rcView.bottom - rcView.top);

    // Menu updates when the menu opens: view, document, frame, application in turn.
    HMENU hPopup = GetSubMenu(pFrame->GetMenu(), 0);
    ASSERT_NE(nullptr, hPopup);
    g_updateOrder.clear();
    pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hPopup, MAKELPARAM(0, FALSE));
    EXPECT_EQ("view doc frame app", g_updateOrder);
    auto state = [&](UINT pos) { return GetMenuState(hPopup, pos, MF_BYPOSITION); };
    EXPECT_EQ(0u, state(0) & MF_GRAYED);
    EXPECT_NE(0u, state(0) & MF_CHECKED);
    EXPECT_NE(0u, state(1) & MF_GRAYED) << "its update handler disables it";
    EXPECT_NE(0u, state(3) & MF_GRAYED) << "no handler at all";
    EXPECT_EQ(0u, state(4) & MF_GRAYED) << "a command handler alone enables it";
    EXPECT_EQ(0u, state(6) & MF_GRAYED);
    EXPECT_NE(0u, state(6) & MF_CHECKED);
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(hPopup, 6, TRUE, &mii);
    EXPECT_NE(0u, mii.fType & MFT_RADIOCHECK);
    EXPECT_EQ(0u, state(5) & MF_CHECKED);
    EXPECT_EQ(L"項目 1", MenuText(hPopup, 5));
    EXPECT_EQ(L"項目 3", MenuText(hPopup, 7));

    // Commands: the first target with a handler takes it; a disabled item does nothing.
    g_log.clear();
    pFrame->SendMessage(WM_COMMAND, ID_TEST_COMMAND_ONLY);
    pFrame->SendMessage(WM_COMMAND, ID_TEST_DISABLED);
    EXPECT_EQ(std::vector<std::string>{"doc"}, g_log);

    // The framework's exit command, here from a menu owned by the view, closes
    // the main window, which ends the message loop and takes the view and the
    // document with it.
    pView->SendMessage(WM_COMMAND, ID_APP_EXIT);
    EXPECT_EQ(0, PumpUntilQuit());
    EXPECT_EQ(nullptr, AfxGetMainWnd());
    EXPECT_EQ(0, TestFrame::s_alive);
    EXPECT_EQ(0, TestView::s_alive);
    EXPECT_EQ(0, TestDoc::s_alive);
}

TEST(DocTemplate, ViewCreationFailureFailsTheCommandWithoutLeaks)
{
    TestApp app;
    TestView::s_failCreate = true;
    CCommandLineInfo cmdInfo;
    EXPECT_FALSE(app.ProcessShellCommand(cmdInfo));
    TestView::s_failCreate = false;
    EXPECT_EQ(nullptr, AfxGetMainWnd());
    EXPECT_EQ(0, TestFrame::s_alive);
    EXPECT_EQ(0, TestView::s_alive);
    EXPECT_EQ(0, TestDoc::s_alive);
}

// ---- Handlers that receive a device context ----

// Handlers that fail with a framework exception, which the window procedure
// reports and swallows.
class ThrowingPaintWnd : public CWnd
{
protected:
    BOOL OnEraseBkgnd(CDC*) { throw new CException; }
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT) { throw new CException; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ThrowingPaintWnd, CWnd)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(MessageMap, AThrowingHandlerLeavesTheMessagesDeviceContextAlive)
{
    ThrowingPaintWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"dc", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    for (UINT message : {WM_ERASEBKGND, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT})
    {
        // The context belongs to whoever sent the message, never to the handler.
        HDC hDC = CreateCompatibleDC(nullptr);
        EXPECT_EQ(0, wnd.SendMessage(message, (WPARAM)hDC, 0)) << message;
        EXPECT_EQ((DWORD)OBJ_MEMDC, GetObjectType(hDC)) << message;
        DeleteDC(hDC);
    }
}

// ---- The application's message loop ----

class LoggingWnd : public CWnd
{
public:
    explicit LoggingWnd(const char* name) : m_name(name) {}
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_log.push_back(m_name);
        return FALSE;
    }
    const char* m_name;
};

class LoopApp : public CWinApp
{
public:
    LoggingWnd m_top{"top"};
    LoggingWnd m_inner{"inner"};
    int m_keysDispatched = 0;

    BOOL InitInstance() override
    {
        if (!m_top.CreateEx(0, nullptr, L"loop", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 200, nullptr,
                            nullptr))
            return FALSE;
        // A foreign window in the middle of the chain: it has no object to ask.
        HWND hMiddle = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, m_top.m_hWnd,
                                       nullptr, nullptr, nullptr);
        if (!m_inner.CreateEx(0, nullptr, L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, hMiddle, (HMENU)1))
            return FALSE;
        m_pMainWnd = &m_top;
        m_inner.PostMessage(WM_KEYDOWN, 'A', 1);
        m_top.PostMessage(WM_CLOSE);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_log.push_back("app");
        return CWinApp::PreTranslateMessage(pMsg);
    }
    int ExitInstance() override { return CWinApp::ExitInstance() + 5; }
};

TEST(AppLoop, OffersMessagesToTheWindowChainAndEndsWithTheMainWindow)
{
    g_log.clear();
    LoopApp app;
    EXPECT_EQ(5, AfxWinMain(GetModuleHandleW(nullptr), const_cast<LPWSTR>(L""), SW_SHOWNORMAL));
    EXPECT_EQ((std::vector<std::string>{"app", "inner", "top"}), g_log);
    EXPECT_EQ(nullptr, app.m_top.m_hWnd);
    EXPECT_EQ(nullptr, app.m_inner.m_hWnd);
}

class FailingApp : public CWinApp
{
public:
    bool m_exitRan = false;
    bool m_runRan = false;
    BOOL InitInstance() override { return FALSE; }
    int Run() override
    {
        m_runRan = true;
        return CWinApp::Run();
    }
    int ExitInstance() override
    {
        m_exitRan = true;
        return 3;
    }
};

TEST(AppLoop, ExitInstanceRunsAfterAFailedInitInstance)
{
    FailingApp app;
    EXPECT_EQ(3, AfxWinMain(GetModuleHandleW(nullptr), const_cast<LPWSTR>(L""), SW_SHOWNORMAL));
    EXPECT_TRUE(app.m_exitRan);
    EXPECT_FALSE(app.m_runRan);
}

} // namespace
