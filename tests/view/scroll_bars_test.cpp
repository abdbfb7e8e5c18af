// The panes' scroll bars under Wine: real child bars placed by the layout, set to the
// list's range and position, following scrolls, cursor moves, reloads and pane
// switches, and scrolling the list when their arrows and page areas are clicked.
#include "tests/view/SettingsTestSupport.h"

#include "app/StartDirs.h"
#include "graphics/picture/PictureData.h"
#include "view/scroll/ScrollBars.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <string>

namespace
{

using settingstest::SettingsBench;

class ScrollBars : public SettingsBench
{
protected:
    void SetUp() override
    {
        SettingsBench::SetUp();
        m_savedSplit = g_WINDOWDEVIDEWAY;
        m_savedHide = g_NOTSCROLLFILER;
        m_many = MakeFolder(L"many", 400);
        m_few = MakeFolder(L"few", 3);
        g_StartDirs[0] = m_many.c_str();
        g_StartDirs[1] = m_few.c_str();
        m_frame = CreateWindowExW(0, L"STATIC", L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 30, 640, 480,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, m_frame);
        m_pView = new CQvView;
        RECT rect = {0, 0, 600, 400};
        ASSERT_TRUE(m_pView->Create(nullptr, L"", WS_CHILD | WS_VISIBLE, rect, CWnd::FromHandle(m_frame),
                                    AFX_IDW_PANE_FIRST));
        ASSERT_NE(nullptr, g_Panes[0]);
        ASSERT_NE(nullptr, g_Panes[1]);
        ASSERT_GE(g_Panes[0]->GetEntryCount(), 400);
    }

    void TearDown() override
    {
        if (g_MainView == m_pView && m_pView != nullptr && m_pView->m_hWnd)
            m_pView->DestroyWindow();
        m_pView = nullptr;
        if (m_frame)
            DestroyWindow(m_frame);
        g_WINDOWDEVIDEWAY = m_savedSplit;
        g_NOTSCROLLFILER = m_savedHide;
        SettingsBench::TearDown();
    }

    std::wstring MakeFolder(const std::wstring& name, int files)
    {
        std::wstring dir = m_dir + L"\\" + name;
        CreateDirectoryW(dir.c_str(), nullptr);
        for (int i = 0; i < files; ++i)
        {
            wchar_t file[32];
            swprintf_s(file, L"\\f%03d.txt", i);
            qvtest::WriteFileBytes(dir + file, "x");
        }
        return dir;
    }

    // Side by side (1) or stacked (0), with the bars placed for it.
    void Arrange(int split)
    {
        g_WINDOWDEVIDEWAY = split;
        m_pView->UpdateScrollBars();
    }
    HWND Bar(int pane) const { return GetDlgItem(m_pView->m_hWnd, 30000 + pane); }
    SCROLLINFO Info(int pane) const
    {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_POS;
        EXPECT_TRUE(GetScrollInfo(Bar(pane), SB_CTL, &info));
        return info;
    }
    // One grid line of a vertical bar, one grid column of a horizontal one.
    INT64 Step(int pane) const
    {
        const CFilerPane& p = *g_Panes[pane];
        return m_pView->m_scroll.barVertical[pane] ? p.m_columnsInUse : p.m_linesInUse;
    }
    // The bar shows the pane's list as it stands now.
    void ExpectBarFollows(int pane)
    {
        ASSERT_NE(nullptr, Bar(pane));
        SCROLLINFO info = Info(pane);
        const INT64 step = Step(pane);
        EXPECT_EQ(0, info.nMin);
        EXPECT_EQ(g_Panes[pane]->GetEntryCount() / step, info.nMax);
        EXPECT_EQ(g_Panes[pane]->m_firstVisible / step, info.nPos);
    }

    CQvView* m_pView = nullptr;
    HWND m_frame = nullptr;
    std::wstring m_many, m_few;
    int m_savedSplit = 0;
    int m_savedHide = 0;
};

TEST_F(ScrollBars, EachShownListGetsABarWhereTheLayoutLeavesItsRoom)
{
    for (int split : {1, 0})
    {
        SCOPED_TRACE(split);
        Arrange(split);
        const ViewLayout& layout = m_pView->m_layout;
        for (int pane = 0; pane < 2; ++pane)
        {
            HWND bar = Bar(pane);
            ASSERT_NE(nullptr, bar) << pane;
            wchar_t cls[32] = {};
            GetClassNameW(bar, cls, 32);
            EXPECT_EQ(0, _wcsicmp(cls, L"SCROLLBAR"));
            RECT rect;
            GetWindowRect(bar, &rect);
            MapWindowPoints(nullptr, m_pView->m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            CRect body = ComputePaneRect(layout, g_Panes, pane);
            const LONG style = GetWindowLongW(bar, GWL_STYLE);
            if (split)
            {
                // Along the pane's right edge, over its whole height.
                EXPECT_EQ(SBS_VERT, style & SBS_VERT);
                EXPECT_EQ(body.right, rect.left);
                EXPECT_EQ(layout.lineHeight, rect.right - rect.left);
                EXPECT_EQ(body.top, rect.top);
                EXPECT_EQ(body.bottom, rect.bottom);
            }
            else
            {
                // The last quarter of the stacked pane's title row.
                EXPECT_EQ(0, style & SBS_VERT);
                EXPECT_EQ(layout.clientWidth, rect.right);
                EXPECT_EQ(layout.clientWidth - layout.clientWidth / 4, rect.left);
                EXPECT_EQ(body.top, rect.top);
                EXPECT_EQ(layout.lineHeight, rect.bottom - rect.top);
            }
            ExpectBarFollows(pane);
        }
    }
    // Switched off for filer panes: the bars go.
    g_NOTSCROLLFILER = 1;
    EXPECT_EQ(1, m_pView->UpdateScrollBars());
    EXPECT_EQ(nullptr, Bar(0));
    EXPECT_EQ(nullptr, Bar(1));
    g_NOTSCROLLFILER = 0;
    EXPECT_EQ(1, m_pView->UpdateScrollBars());
    EXPECT_NE(nullptr, Bar(0));
    EXPECT_EQ(0, m_pView->UpdateScrollBars()) << "an unchanged bar is kept";
}

TEST_F(ScrollBars, ClickingArrowsAndPageAreasMovesTheList)
{
    for (int split : {1, 0})
    {
        SCOPED_TRACE(split);
        Arrange(split);
        CFilerPane& pane = *g_Panes[0];
        pane.m_firstVisible = 0;
        const INT64 step = Step(0);
        const INT64 page = static_cast<INT64>(pane.m_linesInUse) * pane.m_columnsInUse;
        ASSERT_GT(pane.GetEntryCount(), 3 * page);
        struct Case
        {
            UINT code;
            int thumb;
            INT64 first;
        } cases[] = {
            {SB_PAGEDOWN, 0, page},   {SB_PAGEDOWN, 0, 2 * page}, {SB_LINEDOWN, 0, 2 * page + step},
            {SB_LINEUP, 0, 2 * page}, {SB_PAGEUP, 0, page},       {SB_THUMBPOSITION, 7, 7 * step},
            {SB_TOP, 0, 0},           {SB_LINEUP, 0, 0},
        };
        const UINT message = m_pView->m_scroll.barVertical[0] ? WM_VSCROLL : WM_HSCROLL;
        for (const Case& c : cases)
        {
            SendMessageW(m_pView->m_hWnd, message, MAKEWPARAM(c.code, c.thumb),
                         reinterpret_cast<LPARAM>(Bar(0)));
            EXPECT_EQ(c.first, pane.m_firstVisible) << c.code;
            EXPECT_EQ(c.first / step, Info(0).nPos) << c.code;
        }
    }
}

TEST_F(ScrollBars, PositionFollowsCursorMovesReloadsAndPaneSwitches)
{
    Arrange(1);
    CFilerPane& pane = *g_Panes[0];
    // The cursor to the last entry: the list scrolls and the bar with it.
    m_pView->MovePaneCursor(0, pane.GetEntryCount(), 0, 0, 0);
    ASSERT_GT(pane.m_firstVisible, 0);
    ExpectBarFollows(0);
    EXPECT_GT(Info(0).nPos, 0);

    // The pane opens the short folder: range and position start again.
    m_pView->ChangePaneDirectory(0, m_few.c_str(), 1, 0, FALSE);
    EXPECT_EQ(0, pane.m_firstVisible);
    ExpectBarFollows(0);
    EXPECT_LE(Info(0).nMax, 6) << "three files and the dot entries";

    // Back in the long folder, the other pane becomes the active one; both bars stay
    // with their own lists.
    m_pView->ChangePaneDirectory(0, m_many.c_str(), 1, 0, FALSE);
    m_pView->MovePaneCursor(0, pane.GetEntryCount(), 0, 0, 0);
    m_pView->SwitchActivePane(-1);
    ASSERT_NE(0u, g_Panes[1]->m_position & PANE_POS_ACTIVE);
    ExpectBarFollows(0);
    ExpectBarFollows(1);
    EXPECT_GT(Info(0).nPos, 0);
}

// A picture shown in the active pane takes the whole view: no pane keeps its bar over
// it, and both bars come back with the list.
TEST_F(ScrollBars, APictureShownInTheActivePaneTakesEveryPaneBarAwayUntilTheListReturns)
{
    for (int split : {1, 0})
    {
        SCOPED_TRACE(split);
        Arrange(split);
        ASSERT_NE(nullptr, Bar(0));
        ASSERT_NE(nullptr, Bar(1));
        const int active = m_pView->GetActivePaneIndex();
        ASSERT_GE(active, 0);
        const std::wstring picture = m_dir + L"\\shown.bmp";
        ASSERT_TRUE(qvtest::WriteFileBytes(picture, qvtest::SolidBmp(40, 30, 255, 0, 0)));
        ASSERT_EQ(1, g_CurrentPicture.LoadBmp(picture.c_str()));
        g_Panes[active]->SetMode(0, PANE_MODE_GRAPHIC, 0);
        m_pView->m_graphic.state = GRAPHIC_STATE_SHOWN;
        m_pView->UpdatePictureLayout(PICTURE_LAYOUT_ALL);
        EXPECT_EQ(nullptr, Bar(0));
        EXPECT_EQ(nullptr, Bar(1));

        m_pView->LeaveGraphicMode(active, GRAPHIC_LEAVE_BY_USER);
        EXPECT_EQ(UINT(PANE_MODE_FILER), g_Panes[active]->m_mode);
        ExpectBarFollows(0);
        ExpectBarFollows(1);
    }
}

} // namespace
