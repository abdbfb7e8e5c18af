// The menus in the real program: a file command chosen from the menu opens the dialog
// its key opens, the quit key asks before the program ends, and with the option to
// show keys in the menus the items carry their keys.
#include "res/MediaDialogs.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

const char kSettings[] = "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                         "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                         "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\n";

// The program on two folders, the left one holding a file under the cursor.
class MenuEndToEnd : public testing::Test
{
protected:
    void Start(const std::string& extraSettings = "")
    {
        m_root = qvtest::ScratchDir();
        m_program = std::make_unique<qvtest::QvProgram>(m_root);
        ASSERT_TRUE(m_program->Ok());
        const std::wstring left = m_root + L"\\left";
        const std::wstring right = m_root + L"\\right";
        CreateDirectoryW(left.c_str(), nullptr);
        CreateDirectoryW(right.c_str(), nullptr);
        ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.txt", "alpha"));
        ASSERT_TRUE(m_program->WriteSettings(kSettings + extraSettings));
        m_process = std::make_unique<qvtest::QvProcess>();
        ASSERT_TRUE(m_process->Start(m_program->Exe(), qvtest::PaneArguments(left, right)));
        m_main = m_process->WaitForMainWindow(L" - qv");
        ASSERT_NE(nullptr, m_main);
        qvtest::Settle(*m_process);
    }
    void TearDown() override { Stop(); }
    void Stop()
    {
        if (m_process && m_process->WaitForExit(0) == STILL_ACTIVE)
        {
            m_process->Close();
            EXPECT_NE(static_cast<DWORD>(STILL_ACTIVE), m_process->WaitForExit());
        }
        m_process.reset();
        m_main = nullptr;
    }
    qvtest::QvProcess& Qv() { return *m_process; }
    // The popup menu the process shows, waited for; null when none opens.
    HWND WaitForPopupMenu()
    {
        qvtest::WindowMatch popup;
        HWND shown = nullptr;
        qvtest::PumpUntil(
            [&] {
                for (HWND window : qvtest::FindProcessWindows(Qv().ProcessId(), popup))
                {
                    wchar_t className[16] = {};
                    GetClassNameW(window, className, 16);
                    if (std::wstring(className) == L"#32768")
                        shown = window;
                }
                return shown != nullptr;
            },
            10000);
        return shown;
    }
    // The width of the popup menu that Alt and the access key open, 0 when none opens.
    int PopupWidth(WORD accessKey)
    {
        qvtest::Press(Qv(), m_main, {VK_MENU, accessKey});
        HWND shown = WaitForPopupMenu();
        RECT rect = {};
        if (shown != nullptr)
            GetWindowRect(shown, &rect);
        qvtest::Press(Qv(), m_main, {VK_ESCAPE, VK_ESCAPE});
        return rect.right - rect.left;
    }

    // The screen rectangles of the popup menus the program shows now.
    std::vector<RECT> OpenPopups()
    {
        std::vector<RECT> out;
        for (HWND window : qvtest::FindProcessWindows(Qv().ProcessId(), qvtest::WindowMatch()))
        {
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            RECT rect = {};
            if (std::wstring(className) == L"#32768" && GetWindowRect(window, &rect))
                out.push_back(rect);
        }
        return out;
    }
    // Waits until `count` popups are open; their rectangles, empty after the time-out.
    std::vector<RECT> WaitForPopups(size_t count)
    {
        std::vector<RECT> shown;
        qvtest::PumpUntil(
            [&] {
                shown = OpenPopups();
                return shown.size() == count;
            },
            10000);
        return shown.size() == count ? shown : std::vector<RECT>();
    }

    std::wstring m_root;
    std::unique_ptr<qvtest::QvProgram> m_program;
    std::unique_ptr<qvtest::QvProcess> m_process;
    HWND m_main = nullptr;
};

} // namespace

// The command a menu item posts opens the very dialog the command's key opens.
TEST_F(MenuEndToEnd, AFileCommandFromTheMenuOpensTheDialogOfItsKey)
{
    Start();
    const struct
    {
        UINT menuId;
        WORD key;
    } cases[] = {{297, 'C'}, {333, 'D'}, {816, 'R'}, {662, 'K'}, {171, 'A'}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.menuId);
        qvtest::Press(Qv(), m_main, {c.key});
        HWND byKey = qvtest::WaitForDialog(Qv().ProcessId(), L"");
        ASSERT_NE(nullptr, byKey) << "the key opened nothing";
        const std::wstring caption = qvtest::Caption(byKey);
        PostMessageW(byKey, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(qvtest::WaitForDialogsClosed(Qv().ProcessId()));

        ASSERT_TRUE(PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(c.menuId, 0), 0));
        HWND byMenu = qvtest::WaitForDialog(Qv().ProcessId(), caption);
        ASSERT_NE(nullptr, byMenu) << "the menu item did not open the key's dialog";
        PostMessageW(byMenu, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(qvtest::WaitForDialogsClosed(Qv().ProcessId()));
    }
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), Qv().WaitForExit(0));
}

// Escape asks whether to quit; Cancel keeps the program, and the menu's exit item asks
// the same question, whose first button ends it.
TEST_F(MenuEndToEnd, TheQuitKeyAsksAndCancelKeepsTheProgram)
{
    Start();
    const std::wstring question = L"終了しますか";
    qvtest::Press(Qv(), m_main, {VK_ESCAPE});
    HWND asked = qvtest::WaitForDialog(Qv().ProcessId(), question);
    ASSERT_NE(nullptr, asked) << "Escape did not ask";
    HWND cancel = GetDlgItem(asked, IDCANCEL);
    ASSERT_NE(nullptr, cancel);
    wchar_t text[64] = {};
    GetWindowTextW(cancel, text, 64);
    EXPECT_EQ(std::wstring(L"キャンセル(&N)"), text);
    PostMessageW(asked, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
    ASSERT_TRUE(qvtest::WaitForDialogsClosed(Qv().ProcessId()));
    qvtest::Settle(Qv());
    ASSERT_EQ(static_cast<DWORD>(STILL_ACTIVE), Qv().WaitForExit(0)) << "Cancel ended the program";
    EXPECT_TRUE(IsWindowVisible(m_main));

    ASSERT_TRUE(PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(57665, 0), 0));
    asked = qvtest::WaitForDialog(Qv().ProcessId(), question);
    ASSERT_NE(nullptr, asked) << "the exit item did not ask";
    PostMessageW(asked, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, Qv().WaitForExit(30000));
}

// The exit item's key (Q) widens the "ファイル操作(&F)" popup when keys are shown, and
// only once however often the popup opens.
TEST_F(MenuEndToEnd, WithKeysShownTheItemsCarryTheirKeys)
{
    int widths[2] = {};
    for (int shown : {0, 1})
    {
        Start(shown ? "VIEWMENUCOMMAND=1\r\n" : "VIEWMENUCOMMAND=0\r\n");
        widths[shown] = PopupWidth('F');
        ASSERT_GT(widths[shown], 0) << "Alt+F opened no popup";
        // Opened again, the items carry their keys once, not once more per opening.
        EXPECT_EQ(PopupWidth('F'), widths[shown]) << "the second opening changed the items' texts";
        Stop();
    }
    EXPECT_GT(widths[1], widths[0]);
}

// The display-font item opens the system's font chooser and the program lives on after
// it is cancelled.
TEST_F(MenuEndToEnd, TheDisplayFontItemOpensTheFontChooser)
{
    Start();
    ASSERT_TRUE(PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(522, 0), 0));
    HWND chooser = qvtest::WaitForDialog(Qv().ProcessId(), L"");
    ASSERT_NE(nullptr, chooser) << "no font chooser opened";
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), Qv().WaitForExit(0));
    PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(qvtest::WaitForDialogsClosed(Qv().ProcessId()));
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), Qv().WaitForExit(0));
    EXPECT_TRUE(IsWindowVisible(m_main));
}

// In the text viewer no cursor entry is in sight, so the Apps key opens the viewer's
// menu where the mouse is.
TEST_F(MenuEndToEnd, TheAppsKeyOpensTheViewersMenuAtTheMouse)
{
    Start();
    qvtest::Press(Qv(), m_main, {'V'});
    ASSERT_TRUE(qvtest::PumpUntil(
        [&] { return qvtest::Caption(m_main).find(L"a.txt") != std::wstring::npos; }, 10000))
        << "V did not open the text viewer";
    const POINT mouse = {430, 280};
    ASSERT_TRUE(SetCursorPos(mouse.x, mouse.y));
    qvtest::Press(Qv(), m_main, {VK_APPS});
    HWND shown = WaitForPopupMenu();
    ASSERT_NE(nullptr, shown) << "the Apps key opened no menu";
    RECT rect = {};
    GetWindowRect(shown, &rect);
    qvtest::Press(Qv(), m_main, {VK_ESCAPE});
    EXPECT_EQ(mouse.x + 2, rect.left);
    EXPECT_EQ(mouse.y + 2, rect.top);
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), Qv().WaitForExit(0));
}

// Item 1076 shows the tag window; the first time at the kept place, here moved onto the
// monitor from far off its right and top edges, and the place it took is saved.
TEST_F(MenuEndToEnd, TheTagWindowFirstStandsAtItsKeptPlaceOnTheMonitor)
{
    Start("NOTQUITMESSAGE=1\r\n[ALLDATA2]\r\nVIEWTAGVIEWX=100000\r\nVIEWTAGVIEWY=-400\r\n");
    ASSERT_TRUE(PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(1076, 0), 0));
    qvtest::WindowMatch match;
    match.caption = L"タグの表示";
    HWND tags = qvtest::WaitForProcessWindow(Qv().ProcessId(), match);
    ASSERT_NE(nullptr, tags) << "item 1076 showed no tag window";
    RECT rect = {};
    GetWindowRect(tags, &rect);
    const HMONITOR monitor = MonitorFromWindow(m_main, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info = {sizeof(info)};
    ASSERT_TRUE(GetMonitorInfoW(monitor, &info));
    EXPECT_EQ(info.rcMonitor.right - 1 - (rect.right - rect.left), rect.left);
    EXPECT_EQ(info.rcMonitor.top, rect.top);
    Stop();
    EXPECT_EQ(std::to_wstring(rect.left), m_program->Setting(L"ALLDATA2", L"VIEWTAGVIEWX"));
    EXPECT_EQ(std::to_wstring(rect.top), m_program->Setting(L"ALLDATA2", L"VIEWTAGVIEWY"));
}

// Item 974 opens the sound list, whose five transport buttons carry pictures: with
// nothing playing, play shows its first one and the other four their second one.
TEST_F(MenuEndToEnd, TheSoundListsTransportButtonsShowPictures)
{
    Start();
    ASSERT_TRUE(PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(974, 0), 0));
    qvtest::WindowMatch match;
    match.caption = L"音楽データのリスト再生";
    HWND list = qvtest::WaitForProcessWindow(Qv().ProcessId(), match);
    ASSERT_NE(nullptr, list) << "item 974 opened no sound list";
    LRESULT pictures[5] = {};
    const int controls[5] = {IDC_SOUNDLIST_PREVIOUS, IDC_SOUNDLIST_PLAY, IDC_SOUNDLIST_PAUSE,
                             IDC_SOUNDLIST_STOP, IDC_SOUNDLIST_NEXT};
    for (int i = 0; i < 5; ++i)
    {
        SCOPED_TRACE(controls[i]);
        HWND button = GetDlgItem(list, controls[i]);
        ASSERT_NE(nullptr, button);
        EXPECT_NE(0, GetWindowLongPtrW(button, GWL_STYLE) & BS_BITMAP);
        pictures[i] = SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0);
        EXPECT_NE(0, pictures[i]);
    }
    // Pause and stop show the same form of two pictures of their own.
    EXPECT_NE(pictures[2], pictures[3]);
    PostMessageW(list, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(qvtest::PumpUntil([&] { return !IsWindowVisible(list); }, 10000));
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), Qv().WaitForExit(0));
}

// Every group of "各種設定(&D)" opens as a submenu that ends above the 800th pixel row,
// so each settings item is reached on a 1280 x 800 screen without scrolling the menu.
TEST_F(MenuEndToEnd, EverySettingsGroupOpensWithinAnEightHundredPixelScreen)
{
    Start();
    RECT frame = {};
    GetWindowRect(m_main, &frame);
    ASSERT_LT(frame.top, 50) << "the window is not at the top of the screen";
    qvtest::Press(Qv(), m_main, {VK_MENU, 'D'});
    std::vector<RECT> shown = WaitForPopups(1);
    ASSERT_EQ(1u, shown.size()) << "Alt+D opened no popup";
    EXPECT_LE(shown[0].bottom, 800);
    const int kGroups = 6;
    for (int group = 0; group < kGroups; ++group)
    {
        SCOPED_TRACE(group);
        // The first group is the highlighted item; the others lie one row further down each.
        qvtest::Press(Qv(), m_main, {static_cast<WORD>(group == 0 ? VK_RIGHT : VK_DOWN)});
        if (group > 0)
            qvtest::Press(Qv(), m_main, {VK_RIGHT});
        shown = WaitForPopups(2);
        ASSERT_EQ(2u, shown.size()) << "the group did not open as a submenu";
        for (const RECT& rect : shown)
            EXPECT_LE(rect.bottom, 800) << "a popup reaches below the screen of 800 rows";
        qvtest::Press(Qv(), m_main, {VK_LEFT});
        ASSERT_EQ(1u, WaitForPopups(1).size());
    }
    qvtest::Press(Qv(), m_main, {VK_ESCAPE, VK_ESCAPE});
    EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), Qv().WaitForExit(0));
}
