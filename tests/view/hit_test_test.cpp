// Hit tests on the cell grid: the cursor entry's cell, and the drive bar's letters and
// scroll buttons.
#include <gtest/gtest.h>
#include "app/Settings.h"
#include "app/VirtualDrives.h"
#include "filer/FilerPane.h"
#include "tests/filer/FilerTestData.h"
#include "view/layout/Layout.h"
#include "view/QvView.h"
#include "app/settings/ViewSettings.h"

#include <algorithm>
#include <iterator>

namespace
{

TEST(CursorCellTest, CursorCellFollowsTheGridOrPaneIsOffScreen)
{
    CFilerPane pane(0);
    pane.m_currentDir = L"C:\\";
    for (int i = 0; i < 60; ++i)
    {
        wchar_t name[16];
        wsprintfW(name, L"f%02d.txt", i);
        pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\", L"",
                                       filertest::MakeFindData(name, false), -1);
    }
    ViewLayout layout;
    PaneLayout& p = layout.panes[0];
    p.originColumn = 0;
    p.originRow = 6;
    p.cellWidth = 30;
    p.rowsDrawn = 10;
    p.columnsDrawn = 3;
    pane.m_firstVisible = 10;

    struct Case
    {
        INT64 cursor;
        int shown, column, row;
    };
    const Case cases[] = {{9, 0, 0, 0}, {10, 1, 1, 6}, {23, 1, 31, 9}, {39, 1, 61, 15}, {40, 0, 0, 0}};
    for (const Case& c : cases)
    {
        pane.m_cursor = c.cursor;
        int column = 0, row = 0;
        ASSERT_EQ(c.shown, ComputeCursorCell(layout, pane, 0, column, row)) << c.cursor;
        if (c.shown)
        {
            EXPECT_EQ(c.column, column) << c.cursor;
            EXPECT_EQ(c.row, row) << c.cursor;
        }
    }
    // Thumbnails run along the rows: entry 10 + 4 is row 1, column 1 of three.
    pane.m_bPreviewLayout = TRUE;
    p.cellHeight = 5;
    pane.m_cursor = 14;
    int column = 0, row = 0;
    ASSERT_EQ(1, ComputeCursorCell(layout, pane, 0, column, row));
    EXPECT_EQ(31, column);
    EXPECT_EQ(6 + 5, row);
    // An empty listing has no cursor cell.
    pane.m_entries.RemoveAll();
    EXPECT_EQ(0, ComputeCursorCell(layout, pane, 0, column, row));
}

// The bar lies at base column 2 of 8-pixel cells in header row 1 (y 16..31).
class DriveBarTest : public ::testing::Test
{
protected:
    DriveBarTest() { std::copy(std::begin(g_VirtualDriveFlags), std::end(g_VirtualDriveFlags), m_saved); }
    ~DriveBarTest() override { std::copy(std::begin(m_saved), std::end(m_saved), g_VirtualDriveFlags); }
    void SetUp() override
    {
        std::fill(std::begin(g_VirtualDriveFlags), std::end(g_VirtualDriveFlags), 0);
        m_bar.baseColumn = 2;
    }
    static POINT Letter(int position) { return POINT{(2 + 33 + 3 * position) * 8 + 3, 20}; }
    static POINT Button(int button) { return POINT{(2 + (button ? 63 : 30)) * 8 + 1, 20}; }
    int Hit(POINT pt, int* position = nullptr) { return DriveBarHit(m_bar, 8, 16, pt, position); }

    int m_saved[26] = {};
    DriveBarState m_bar;
};

TEST_F(DriveBarTest, TenDrivesOrFewerHaveNoWorkingButtons)
{
    m_bar.first = 4;               // left over from a time with more drives
    DriveBarRecount(m_bar, 0x3FF); // A to J
    EXPECT_EQ(10, m_bar.count);
    EXPECT_EQ(0, m_bar.first);
    EXPECT_EQ(DRIVEBAR_HIT_NONE, Hit(Button(0)));
    EXPECT_EQ(DRIVEBAR_HIT_NONE, Hit(Button(1)));
    EXPECT_EQ(0, DriveBarScroll(m_bar, 1));
    EXPECT_EQ(0, m_bar.first);
    int position = -1;
    EXPECT_EQ(DRIVEBAR_HIT_LETTER, Hit(Letter(9), &position));
    EXPECT_EQ(9, position);
    EXPECT_EQ(L'J', DriveBarLetterAt(m_bar, 9));
    // Between two letters (the third cell of a slot) nothing is hit.
    EXPECT_EQ(DRIVEBAR_HIT_NONE, Hit(POINT{(2 + 33 + 2) * 8 + 1, 20}));
    // Outside header row 1 nothing is hit.
    EXPECT_EQ(DRIVEBAR_HIT_NONE, Hit(POINT{Letter(0).x, 32}));
}

TEST_F(DriveBarTest, VirtualDrivesCountAndTheRightButtonStopsAtTheLastLetter)
{
    g_VirtualDriveFlags[L'V' - L'A'] = 1;
    g_VirtualDriveFlags[L'Z' - L'A'] = 1;
    DriveBarRecount(m_bar, 0x7FF); // A to K, with V and Z: 13 drives
    EXPECT_EQ(13, m_bar.count);
    EXPECT_EQ(DRIVEBAR_HIT_RIGHT, Hit(Button(1)));
    EXPECT_EQ(DRIVEBAR_HIT_LEFT, Hit(Button(0)));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(1, DriveBarScroll(m_bar, 1));
    EXPECT_EQ(12, m_bar.first);
    EXPECT_EQ(L'Z', DriveBarLetterAt(m_bar, 0));
    // Past the last drive there is no letter, and a click there is ignored.
    EXPECT_EQ(0, DriveBarLetterAt(m_bar, 1));
    EXPECT_EQ(DRIVEBAR_HIT_NONE, Hit(Letter(1)));
    EXPECT_EQ(DRIVEBAR_HIT_LETTER, Hit(Letter(0)));

    DriveBarScroll(m_bar, -1);
    EXPECT_EQ(L'V', DriveBarLetterAt(m_bar, 0));
    EXPECT_EQ(L'Z', DriveBarLetterAt(m_bar, 1));
    for (int i = 0; i < 20; ++i)
        DriveBarScroll(m_bar, -1);
    EXPECT_EQ(0, m_bar.first);
    EXPECT_EQ(L'A', DriveBarLetterAt(m_bar, 0));
}

TEST_F(DriveBarTest, FirstShownLetterFollowsADrivesDrop)
{
    DriveBarRecount(m_bar, 0xFFF); // A to L
    while (m_bar.first < 11)
        DriveBarScroll(m_bar, 1);
    DriveBarRecount(m_bar, 0x7FF); // L went away: still more than ten
    EXPECT_EQ(10, m_bar.first);
    EXPECT_EQ(L'K', DriveBarLetterAt(m_bar, 0));
    DriveBarRecount(m_bar, 0x1FF); // nine left
    EXPECT_EQ(0, m_bar.first);
}

// The view's own members without a window: the fallback grid, and a click through
// the drive bar that scrolled as far as it goes.
TEST_F(DriveBarTest, ViewWithoutWindowLaysOutAndIgnoresClicksPastTheLastDrive)
{
    CFilerPane* saved[2] = {g_Panes[0], g_Panes[1]};
    int savedHeader = g_DRIVE_LIST_ON_HEADER;
    CFilerPane active(0);
    active.m_position = PANE_POS_ACTIVE;
    active.m_currentDir = L"C:\\";
    g_Panes[0] = &active;
    g_Panes[1] = nullptr;
    g_DRIVE_LIST_ON_HEADER = 1;
    {
        CQvView view;
        view.CalcLayout();
        EXPECT_EQ(6, view.m_layout.charWidth);
        EXPECT_EQ(12, view.m_layout.lineHeight);
        EXPECT_EQ(300, view.m_layout.clientWidth);
        EXPECT_EQ(300, view.m_layout.clientHeight);
        int column = -1, row = -1;
        EXPECT_EQ(0, view.GetCursorCell(0, &column, &row)); // an empty listing

        view.m_driveBar.baseColumn = 2;
        DriveBarRecount(view.m_driveBar, 0xFFF); // A to L
        auto at = [&](int column) { return CPoint(column * 6 + 1, 12 + 2); };
        EXPECT_EQ(L'A', view.DriveBarClick(at(2 + 33)));
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(0, view.DriveBarClick(at(2 + 63)));
        EXPECT_EQ(11, view.m_driveBar.first);
        EXPECT_EQ(1, view.m_driveBar.pressed[1]);
        EXPECT_EQ(L'L', view.DriveBarClick(at(2 + 33)));
        EXPECT_EQ(0, view.DriveBarClick(at(2 + 33 + 3)));
        // Without the status rows the bar's place is an entry row of the pane.
        int savedRows = g_WRITEHEADERTYPE;
        g_WRITEHEADERTYPE = 0;
        EXPECT_EQ(0, view.DriveBarClick(at(2 + 33)));
        EXPECT_EQ(0, view.DriveBarClick(at(2 + 30)));
        EXPECT_EQ(11, view.m_driveBar.first) << "an entry click scrolled the hidden bar";
        g_WRITEHEADERTYPE = savedRows;
        // Only filer-like panes take drive clicks.
        active.m_mode = PANE_MODE_TEXT_VIEWER;
        EXPECT_EQ(0, view.DriveBarClick(at(2 + 33)));
    }
    g_DRIVE_LIST_ON_HEADER = savedHeader;
    g_Panes[0] = saved[0];
    g_Panes[1] = saved[1];
}

// With ten drives or fewer the buttons' places show the background; with more they
// are grey buttons.
TEST_F(DriveBarTest, ButtonsAreDrawnOnlyForMoreThanTenDrives)
{
    int savedHeader = g_DRIVE_LIST_ON_HEADER;
    CFilerPane* saved[2] = {g_Panes[0], g_Panes[1]};
    g_Panes[0] = g_Panes[1] = nullptr;
    g_DRIVE_LIST_ON_HEADER = 1;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 800, 40);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    {
        CDC dc;
        dc.Attach(memory);
        CQvView view;
        view.CalcLayout(); // 6 x 12 cells
        view.m_driveBar.baseColumn = 2;
        for (DWORD mask : {0x3FFul, 0xFFFul})
        {
            CRect all(0, 0, 800, 40);
            dc.FillSolidRect(&all, 0x123456);
            view.m_driveBar.mask = mask;
            view.DrawDriveBar(&dc, 1 | 2);
            ::GdiFlush();
            for (int b = 0; b < 2; ++b)
            {
                CRect button = DriveBarButtonRect(view.m_driveBar, b, 6, 12);
                COLORREF expected = mask == 0x3FF ? g_DisplayColors[COLOR_BACK_GROUND] : 0x808080;
                EXPECT_EQ(expected, dc.GetPixel(button.left + 3, button.top + 2)) << mask << " " << b;
            }
        }
        dc.Detach();
    }
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    g_DRIVE_LIST_ON_HEADER = savedHeader;
    g_Panes[0] = saved[0];
    g_Panes[1] = saved[1];
}

} // namespace
