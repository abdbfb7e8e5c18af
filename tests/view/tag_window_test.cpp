// The tag window on a real frame: its first showing takes the kept place, moved onto
// the frame's monitor when it lies outside and kept back so; a move by the user is kept
// for the next showing and the next start.
#include "tests/view/SettingsTestSupport.h"

#include "app/FolderChooser.h"
#include "app/StartDirs.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"
#include "view/media/MediaWindows.h"

#include <string>

namespace
{

using settingstest::SettingsBench;

BOOL CALLBACK FindTagWindow(HWND window, LPARAM found)
{
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (IsWindowVisible(window) && std::wstring(caption) == L"タグの表示")
    {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

class TagWindowTest : public SettingsBench
{
protected:
    void SetUp() override
    {
        SettingsBench::SetUp();
        g_StartDirs[0] = m_dir.c_str();
        g_StartDirs[1] = m_dir.c_str();
        qvtest::WriteFileBytes(m_dir + L"\\a.mp3", "not really");
        m_frame = new CFrameWnd;
        ASSERT_TRUE(m_frame->CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 50, 640,
                                      480, nullptr, nullptr));
        m_view = new CQvView;
        RECT rect = {0, 0, 600, 400};
        ASSERT_TRUE(m_view->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rect, m_frame, AFX_IDW_PANE_FIRST));
        GetWindowMonitorRect(m_frame->m_hWnd, &m_monitor);
    }
    void TearDown() override
    {
        CloseTagViewWindow();
        if (g_MainView == m_view && m_view != nullptr && m_view->m_hWnd)
            m_view->DestroyWindow();
        if (m_frame != nullptr && m_frame->m_hWnd)
            m_frame->DestroyWindow();
        SettingsBench::TearDown();
    }
    // The shown tag window's rectangle; an empty one when it is not shown.
    RECT ShownTagWindow(HWND* window = nullptr) const
    {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindTagWindow, reinterpret_cast<LPARAM>(&found));
        RECT rect = {};
        if (found != nullptr)
            GetWindowRect(found, &rect);
        if (window != nullptr)
            *window = found;
        return rect;
    }

    CFrameWnd* m_frame = nullptr;
    CQvView* m_view = nullptr;
    RECT m_monitor = {};
};

TEST_F(TagWindowTest, TheFirstShowingTakesTheKeptPlaceOnTheFramesMonitorAndKeepsItBack)
{
    // Where the window lands for a kept place; the window's size is known once it is shown.
    enum Edge
    {
        kAsKept,
        kLeftOrTop,
        kRightOrBottom
    };
    const struct
    {
        int x;
        int y;
        Edge xEdge;
        Edge yEdge;
    } cases[] = {
        {100, 120, kAsKept, kAsKept},
        {100000, -300, kRightOrBottom, kLeftOrTop},
        {-5000, 100000, kLeftOrTop, kRightOrBottom},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
        CloseTagViewWindow();
        g_VIEWTAGVIEWX = c.x;
        g_VIEWTAGVIEWY = c.y;
        ASSERT_EQ(1, m_view->DispatchCommandKeyword(L"@Viewtagview"));
        ASSERT_TRUE(IsTagWindowShown());
        const RECT shown = ShownTagWindow();
        const int width = shown.right - shown.left;
        const int height = shown.bottom - shown.top;
        ASSERT_GT(width, 0);
        const int x = c.xEdge == kAsKept      ? c.x
                      : c.xEdge == kLeftOrTop ? m_monitor.left
                                              : m_monitor.right - width;
        const int y = c.yEdge == kAsKept      ? c.y
                      : c.yEdge == kLeftOrTop ? m_monitor.top
                                              : m_monitor.bottom - height;
        EXPECT_EQ(x, shown.left);
        EXPECT_EQ(y, shown.top);
        EXPECT_EQ(x, g_VIEWTAGVIEWX);
        EXPECT_EQ(y, g_VIEWTAGVIEWY);
    }
}

TEST_F(TagWindowTest, AMoveIsKeptForTheNextShowingAndTheSettings)
{
    g_VIEWTAGVIEWX = 100;
    g_VIEWTAGVIEWY = 120;
    ASSERT_EQ(1, m_view->DispatchCommandKeyword(L"@Viewtagview"));
    HWND window = nullptr;
    ShownTagWindow(&window);
    ASSERT_NE(nullptr, window);
    SetWindowPos(window, nullptr, 160, 170, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(160, g_VIEWTAGVIEWX);
    EXPECT_EQ(170, g_VIEWTAGVIEWY);
    // Hidden and shown again, it stands where it was moved, not at a kept place set since.
    ASSERT_EQ(1, m_view->DispatchCommandKeyword(L"@Viewtagview"));
    EXPECT_FALSE(IsTagWindowShown());
    g_VIEWTAGVIEWX = 300;
    ASSERT_EQ(1, m_view->DispatchCommandKeyword(L"@Viewtagview"));
    const RECT shown = ShownTagWindow();
    EXPECT_EQ(160, shown.left);
    EXPECT_EQ(170, shown.top);
}

} // namespace
