// Global hot keys: the hook callback's filter, the rules that install the hook, and
// the task-tray icon, through seams for the hook library and the shell.
#include "tests/view/CommandTestSupport.h"
#include "tests/common/TestHelpers.h"

#include "util/Globals.h"
#include "app/QvDllLoader.h"
#include "view/keys/HotKeys.h"
#include "app/dialogs/DialogAnswerScript.h"

#include <set>

namespace
{

using commandtest::CommandBench;
using qvtest::W;

std::set<int>* g_down = nullptr;
bool FakeKeyDown(int vk)
{
    return g_down != nullptr && g_down->count(vk) != 0;
}

int g_installs = 0;
int g_releases = 0;
BOOL CountInstall(HOOKPROC)
{
    ++g_installs;
    return TRUE;
}
void CountRelease()
{
    ++g_releases;
}

std::vector<std::pair<DWORD, NOTIFYICONDATAW>> g_trayCalls;
BOOL WINAPI RecordTray(DWORD message, PNOTIFYICONDATAW data)
{
    g_trayCalls.push_back({message, *data});
    return TRUE;
}

class HotKeysTest : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        m_savedMain = g_MainView;
        g_MainView = &View();
        m_savedHotKeySeam = g_HotKeySeam;
        g_HotKeySeam.modifierDown = FakeKeyDown;
        g_down = &m_down;
        g_KeyboardHookLibrary = {CountInstall, CountRelease};
        g_installs = g_releases = 0;
        g_HotKeySeam.trayNotify = RecordTray;
        g_trayCalls.clear();
    }
    void TearDown() override
    {
        View().m_bInTray = FALSE;
        g_HotKeySeam = m_savedHotKeySeam;
        g_KeyboardHookLibrary = DefaultKeyboardHookLibrary();
        g_down = nullptr;
        g_MainView = m_savedMain;
        CommandBench::TearDown();
    }
    int Press(UINT vk, WPARAM message = WM_KEYDOWN, int code = HC_ACTION)
    {
        KBDLLHOOKSTRUCT event = {};
        event.vkCode = vk;
        return View().KeyboardHookCallback(code, message, reinterpret_cast<LPARAM>(&event));
    }
    void BindHot(CArrayKeyCmdInfo& set, const wchar_t* key, int modifier, LPCWSTR keyword, int hot)
    {
        Bind(set, key, modifier, keyword);
        set.GetBinding(modifier, commandtest::RowOf(key)).hotKey = hot;
    }
    std::vector<std::wstring> Queue() { return qvtest::Items(View().m_keys.hotKeyQueue); }

    std::set<int> m_down;
    CQvView* m_savedMain = nullptr;
    HotKeySeam m_savedHotKeySeam = {};
};

// Only the keywords that act without the window (tray, sound list, CD, media volume,
// audio device) are hot keys: the common keywords that open a dialog or change the
// display pass on to the program that has the focus.
TEST_F(HotKeysTest, CallbackFilterQueuesOnlyHotKeysTheCommonDispatcherRuns)
{
    struct Case
    {
        const char* name;
        std::set<int> down;
        WPARAM message;
        UINT vk;
        BOOL inTray;
        UINT mode;
        int result;
        std::vector<std::wstring> queued;
    } cases[] = {
        {"ctrl and shift take the shift binding",
         {VK_CONTROL, VK_SHIFT},
         WM_KEYDOWN,
         'C',
         FALSE,
         PANE_MODE_FILER,
         1,
         {L"@Soundpause"}},
        {"ctrl alone", {VK_CONTROL}, WM_KEYDOWN, 'C', FALSE, PANE_MODE_FILER, 1, {L"@Soundstop"}},
        {"plain key can be hot", {}, WM_KEYDOWN, VK_F5, FALSE, PANE_MODE_FILER, 1, {L"@CdPlay"}},
        {"alt through the system key", {}, WM_SYSKEYDOWN, 'X', FALSE, PANE_MODE_FILER, 1, {L"@CdStop x"}},
        {"key up passes", {}, WM_KEYUP, VK_F5, FALSE, PANE_MODE_FILER, 0, {}},
        {"bound but not hot", {}, WM_KEYDOWN, VK_F6, FALSE, PANE_MODE_FILER, 0, {}},
        {"hot but unknown", {}, WM_KEYDOWN, VK_F7, FALSE, PANE_MODE_FILER, 0, {}},
        {"applet keyword without applet", {}, WM_KEYDOWN, VK_F8, FALSE, PANE_MODE_FILER, 0, {}},
        {"applet keyword with applet", {}, WM_KEYDOWN, VK_F9, FALSE, PANE_MODE_FILER, 0, {}},
        {"function list", {}, WM_KEYDOWN, VK_F2, FALSE, PANE_MODE_FILER, 0, {}},
        {"display mode change", {}, WM_KEYDOWN, VK_F3, FALSE, PANE_MODE_FILER, 0, {}},
        {"display set", {}, WM_KEYDOWN, VK_F4, FALSE, PANE_MODE_FILER, 0, {}},
        {"display set in the tray", {}, WM_KEYDOWN, VK_F4, TRUE, PANE_MODE_FILER, 0, {}},
        {"unbound key", {}, WM_KEYDOWN, VK_F11, FALSE, PANE_MODE_FILER, 0, {}},
        {"tray keyword outside the tray", {}, WM_KEYDOWN, 'T', FALSE, PANE_MODE_FILER, 0, {}},
        {"tray keyword in the tray", {}, WM_KEYDOWN, 'T', TRUE, PANE_MODE_FILER, 1, {L"@Windowtotasktray"}},
        {"archive mode as the filer, in the tray",
         {},
         WM_KEYDOWN,
         'Y',
         TRUE,
         PANE_MODE_ARCHIVE,
         1,
         {L"@Windowtotasktray"}},
        {"archive mode as the filer, not in the tray", {}, WM_KEYDOWN, 'Y', FALSE, PANE_MODE_ARCHIVE, 0, {}},
        {"viewer mode has its own set", {}, WM_KEYDOWN, 'Y', TRUE, PANE_MODE_TEXT_VIEWER, 0, {}},
    };
    BindHot(g_CommonKeyCmds, L"C", 1, L"@Soundpause", 1);
    BindHot(g_CommonKeyCmds, L"C", 2, L"@Soundstop", 1);
    BindHot(g_CommonKeyCmds, L"F5", 0, L"@CdPlay", 1);
    BindHot(g_CommonKeyCmds, L"X", 3, L"@CdStop x", 1);
    BindHot(g_CommonKeyCmds, L"F6", 0, L"@CdPause", 0);
    BindHot(g_CommonKeyCmds, L"F7", 0, L"@NoSuchCommand", 1);
    BindHot(g_CommonKeyCmds, L"F8", 0, L"@Defaultcpl", 1);
    BindHot(g_CommonKeyCmds, L"F9", 0, L"@Defaultcpl main.cpl", 1);
    BindHot(g_CommonKeyCmds, L"T", 0, L"@Windowtotasktray", 0);
    BindHot(g_CommonKeyCmds, L"F2", 0, L"@ExeByFuncList", 1);
    BindHot(g_CommonKeyCmds, L"F3", 0, L"@Changedisplay", 1);
    BindHot(g_CommonKeyCmds, L"F4", 0, L"@Displayset3", 1);
    Bind(g_ArcInfoKeyCmds, L"Y", 0, L"@sameasfiler");
    Bind(g_FilerKeyCmds, L"Y", 0, L"@Windowtotasktray");
    Bind(g_ViewerKeyCmds, L"Y", 0, L"@Soundpause");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_down = c.down;
        View().m_bInTray = c.inTray;
        m_panes[0]->m_mode = c.mode;
        View().m_keys.hotKeyQueue.RemoveAll();
        EXPECT_EQ(Press(c.vk, c.message), c.result);
        EXPECT_EQ(Queue(), c.queued);
    }
    EXPECT_EQ(Press(VK_F5, WM_KEYDOWN, -1), 0) << "a negative code passes";
    EXPECT_TRUE(m_ran.empty()) << "nothing runs inside the hook";
}

TEST_F(HotKeysTest, QueuedCommandRunsAfterTheCallbackReturned)
{
    BindHot(g_CommonKeyCmds, L"F5", 0, L"@Soundpause", 1);
    HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    View().m_hWnd = window;
    EXPECT_EQ(Press(VK_F5), 1);
    View().m_hWnd = nullptr;
    EXPECT_TRUE(m_ran.empty());
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, window, WM_QV_RUN_HOT_KEYS, WM_QV_RUN_HOT_KEYS, PM_REMOVE))
        << "the view is asked to run its queue";
    DestroyWindow(window);
    View().RunQueuedHotKeys();
    EXPECT_EQ(RanHandlers(), std::vector<std::wstring>{L"PauseSound"});
    EXPECT_EQ(View().m_keys.hotKeyQueue.GetSize(), 0);
}

// The queue runs a hot key's text as the hook's keywords only: a common keyword that
// reached it anyway runs nothing; an argument goes along with its keyword.
TEST_F(HotKeysTest, TheQueueRunsOnlyTheHookKeywords)
{
    for (LPCWSTR text : {L"@ExeByFuncList", L"@Changedisplay", L"@Displayset3", L"@Defaultcpl main.cpl",
                         L"@Soundstop", L"@CdStop x"})
        View().m_keys.hotKeyQueue.Add(text);
    View().RunQueuedHotKeys();
    ASSERT_EQ(m_ran.size(), 2u);
    EXPECT_EQ(m_ran[0].handler, L"StopSound");
    EXPECT_EQ(m_ran[1].handler, L"StopCd");
    EXPECT_EQ(m_ran[1].argument, L"x");
    EXPECT_EQ(View().m_keys.hotKeyQueue.GetSize(), 0);
}

TEST_F(HotKeysTest, InstallRules)
{
    HWND own = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, own, nullptr, nullptr, nullptr);
    View().m_hWnd = own;
    struct Case
    {
        const char* name;
        BOOL hotKeys;
        BOOL inTray;
        BOOL suspended;
        HWND focus;
        int installs;
    } cases[] = {
        {"no hot keys", FALSE, FALSE, FALSE, nullptr, 0},
        {"hot keys, another program", TRUE, FALSE, FALSE, nullptr, 1},
        {"tray without hot keys", FALSE, TRUE, FALSE, nullptr, 1},
        {"the view itself focused", TRUE, FALSE, FALSE, own, 0},
        {"a window of the view focused", TRUE, FALSE, FALSE, child, 1},
        {"key dialog open", TRUE, TRUE, TRUE, nullptr, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        g_installs = 0;
        View().m_keys.hasHotKey = c.hotKeys;
        View().m_bInTray = c.inTray;
        View().m_bHookSuspended = c.suspended;
        InstallKeyboardHook(c.focus);
        EXPECT_EQ(g_installs, c.installs);
    }
    View().m_hWnd = nullptr;
    DestroyWindow(own);

    View().m_bInTray = FALSE;
    View().m_keys.hasHotKey = TRUE;
    View().m_bHookSuspended = FALSE;
    g_installs = g_releases = 0;
    View().SuspendHotKeys();
    EXPECT_EQ(g_releases, 1);
    InstallKeyboardHook(nullptr);
    EXPECT_EQ(g_installs, 0);
    View().ResumeHotKeys();
    EXPECT_EQ(g_installs, 1);
}

// Without QvDll.dll beside the program the hot keys stay off: installing finds no
// export, says nothing to the user and loads nothing from another folder.
TEST_F(HotKeysTest, MissingLibraryIsSilent)
{
    const std::wstring empty = qvtest::ScratchDir() + L"\\no-hook-library";
    ASSERT_TRUE(CreateDirectoryW(empty.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    g_KeyboardHookLibrary = DefaultKeyboardHookLibrary();
    CString saved = g_ProgramDir;
    g_ProgramDir = empty.c_str();
    FreeQvDll();
    View().m_keys.hasHotKey = TRUE;
    CDialogAnswerScript script;
    EXPECT_EQ(g_KeyboardHookLibrary.install(KeyboardHookThunk), FALSE);
    InstallKeyboardHook(nullptr);
    ReleaseKeyboardHook();
    EXPECT_EQ(GetQvDllProc("SetHookProc"), nullptr);
    EXPECT_EQ(GetModuleHandleW(L"QvDll.dll"), nullptr) << "no other folder may supply the library";
    EXPECT_TRUE(script.GetQuestions().empty()) << "a missing hook library is not the user's business";
    g_ProgramDir = saved;
    FreeQvDll();
}

TEST_F(HotKeysTest, TrayIconComesAndGoesWithTheHook)
{
    View().m_keys.hasHotKey = FALSE;
    View().GoToTray();
    EXPECT_TRUE(View().m_bInTray);
    EXPECT_EQ(g_installs, 1) << "the tray keyword needs the hook even without hot keys";
    ASSERT_EQ(g_trayCalls.size(), 1u);
    const NOTIFYICONDATAW& added = g_trayCalls[0].second;
    EXPECT_EQ(g_trayCalls[0].first, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(added.uID, 100u);
    EXPECT_EQ(added.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(added.uCallbackMessage, 1029u);
    EXPECT_NE(added.hIcon, nullptr);
    EXPECT_EQ(std::wstring(added.szTip), L"QV");

    View().RestoreFromTray();
    EXPECT_FALSE(View().m_bInTray);
    EXPECT_EQ(g_releases, 1);
    ASSERT_EQ(g_trayCalls.size(), 2u);
    EXPECT_EQ(g_trayCalls[1].first, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(g_trayCalls[1].second.uID, 100u);

    View().RestoreFromTray();
    EXPECT_EQ(g_trayCalls.size(), 2u) << "outside the tray nothing happens";
}

TEST_F(HotKeysTest, LongTooltipIsCutToTheField)
{
    std::wstring tip(300, L'x');
    SetTrayIcon(nullptr, NIM_ADD, 100, nullptr, tip.c_str());
    ASSERT_EQ(g_trayCalls.size(), 1u);
    const NOTIFYICONDATAW& data = g_trayCalls[0].second;
    const size_t field = sizeof(data.szTip) / sizeof(data.szTip[0]);
    EXPECT_EQ(std::wstring(data.szTip), tip.substr(0, field - 1));
    SetTrayIcon(nullptr, NIM_DELETE, 100, nullptr, nullptr);
    EXPECT_EQ(std::wstring(g_trayCalls[1].second.szTip), L"");
}

} // namespace
