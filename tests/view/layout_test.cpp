// The view's cell grid: cell size, pane sharing (stacked and side by side), the line
// and column moves of UP_WINDOW_ADD_LINE, entry cells and their columns, visibility.
#include <gtest/gtest.h>
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/layout/Layout.h"
#include "app/settings/ViewSettings.h"

#include <memory>
#include <vector>

namespace
{

TEXTMETRICW Metrics(int height, int leading, int charWidth)
{
    TEXTMETRICW tm = {};
    tm.tmHeight = height;
    tm.tmExternalLeading = leading;
    tm.tmAveCharWidth = charWidth;
    return tm;
}

class LayoutTest : public ::testing::Test
{
protected:
    LayoutTest()
    {
        for (int* setting : kTouched)
            m_saved.push_back(*setting);
        for (int i = 0; i < kFilerInfoPresetCount; ++i)
            m_savedPresets[i] = g_FilerInfoPresets[i];
        m_one = std::make_unique<CFilerPane>(0);
        m_two = std::make_unique<CFilerPane>(1);
        m_one->m_position = PANE_POS_ACTIVE;
        m_two->m_position = PANE_POS_OTHER;
        m_panes[0] = m_one.get();
        m_panes[1] = m_two.get();
        g_WRITEHEADERTYPE = 1;
        g_WINDOWDEVIDEWAY = 0;
        g_UP_WINDOW_ADD_LINE = 0;
        g_ADD_HEIGHT_ONE_LINE = 0;
        g_FILENAMELONG = 20;
        g_FILEKINDMAXLONG = 5;
        g_AUTO_FILE_NAME_WIDTH = 0;
        g_ONE_FILE_USE_FULL_WIDTH = 0;
        g_FILERINFONUMBER = 0;
        g_FilerInfoPresets[0] = FilerInfoPreset();
    }
    ~LayoutTest() override
    {
        for (size_t i = 0; i < m_saved.size(); ++i)
            *kTouched[i] = m_saved[i];
        for (int i = 0; i < kFilerInfoPresetCount; ++i)
            g_FilerInfoPresets[i] = m_savedPresets[i];
    }

    ViewLayout Lay(const TEXTMETRICW& tm, int width, int height)
    {
        ViewLayout layout;
        ComputeLayout(tm, width, height, m_panes, layout);
        return layout;
    }

    static inline int* const kTouched[] = {
        &g_WRITEHEADERTYPE,
        &g_WINDOWDEVIDEWAY,
        &g_UP_WINDOW_ADD_LINE,
        &g_ADD_HEIGHT_ONE_LINE,
        &g_FILENAMELONG,
        &g_FILEKINDMAXLONG,
        &g_AUTO_FILE_NAME_WIDTH,
        &g_ONE_FILE_USE_FULL_WIDTH,
        &g_FILERINFONUMBER,
        &g_ENABLE_SOME_H_FILE_ONE_SCREEN,
        &g_DEVICE_H_DISP_ALL_MODE_DEVICE,
        &g_DISPLAY_FULL_SCREEN_NOT_FILER,
        &g_NOTSCROLLFILER,
    };
    std::vector<int> m_saved;
    FilerInfoPreset m_savedPresets[kFilerInfoPresetCount];
    std::unique_ptr<CFilerPane> m_one;
    std::unique_ptr<CFilerPane> m_two;
    CFilerPane* m_panes[2] = {};
};

TEST_F(LayoutTest, CellSizeAndClientAreaFallBackWhenZero)
{
    struct Case
    {
        int height, leading, charWidth, addHeight, width, clientHeight;
        int lineHeight, expectCharWidth, expectWidth, expectHeight;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 640, 480, 12, 6, 640, 480},  // a font without metrics
        {14, 2, 8, 0, 0, 0, 16, 8, 300, 300},     // a window not yet sized
        {14, 2, 8, 3, 640, 0, 19, 8, 640, 300},   // extra line height
        {0, 0, 7, -5, 640, 480, 12, 7, 640, 480}, // a negative sum still divides
    };
    for (const Case& c : cases)
    {
        g_ADD_HEIGHT_ONE_LINE = c.addHeight;
        ViewLayout layout = Lay(Metrics(c.height, c.leading, c.charWidth), c.width, c.clientHeight);
        EXPECT_EQ(c.lineHeight, layout.lineHeight) << c.height;
        EXPECT_EQ(c.expectCharWidth, layout.charWidth) << c.height;
        EXPECT_EQ(c.expectWidth, layout.clientWidth);
        EXPECT_EQ(c.expectHeight, layout.clientHeight);
    }
}

// 41 body lines below five status rows of 16 pixels.
TEST_F(LayoutTest, StackedPanesShareTheBodyAndMoveLinesWithinRange)
{
    struct Case
    {
        int add, kept, upper, lower;
    };
    const Case cases[] = {
        {0, 0, 19, 19}, {25, 18, 37, 1}, {18, 18, 37, 1}, {-30, -18, 1, 37}, {5, 5, 24, 14},
    };
    for (const Case& c : cases)
    {
        g_UP_WINDOW_ADD_LINE = c.add;
        ViewLayout layout = Lay(Metrics(16, 0, 8), 640, 5 * 16 + 41 * 16);
        EXPECT_EQ(0, layout.split);
        EXPECT_EQ(5, layout.statusRows);
        EXPECT_EQ(c.kept, g_UP_WINDOW_ADD_LINE) << c.add;
        EXPECT_EQ(c.upper, layout.panes[0].bodyLines) << c.add;
        EXPECT_EQ(c.lower, layout.panes[1].bodyLines) << c.add;
        EXPECT_EQ(6, layout.panes[0].originRow);
        EXPECT_EQ(6 + c.upper + 1, layout.panes[1].originRow) << c.add;
        EXPECT_EQ(c.upper, m_one->m_lineCount);
        EXPECT_EQ(c.lower, m_two->m_linesInUse);
    }
}

TEST_F(LayoutTest, WithoutStatusRowsPanesStartAtRowOne)
{
    g_WRITEHEADERTYPE = 0;
    ViewLayout layout = Lay(Metrics(16, 0, 8), 640, 480);
    EXPECT_EQ(0, layout.statusRows);
    EXPECT_EQ(1, layout.panes[0].originRow);
    EXPECT_EQ(0, layout.panes[0].originColumn);
}

// W = 800 pixels of 8-pixel characters: 100 columns.
TEST_F(LayoutTest, SideBySideSplitColumnStaysThreeColumnsFromEitherEdge)
{
    g_WINDOWDEVIDEWAY = 1;
    struct Case
    {
        int add, kept, column;
    };
    const Case cases[] = {{0, 0, 50}, {60, 47, 97}, {47, 47, 97}, {-60, -47, 3}, {-10, -10, 40}};
    for (const Case& c : cases)
    {
        g_UP_WINDOW_ADD_LINE = c.add;
        ViewLayout layout = Lay(Metrics(16, 0, 8), 800, 600);
        EXPECT_EQ(1, layout.split);
        EXPECT_EQ(c.kept, g_UP_WINDOW_ADD_LINE) << c.add;
        EXPECT_EQ(c.column, layout.panes[1].originColumn) << c.add;
        EXPECT_EQ(0, layout.panes[0].originColumn);
        EXPECT_EQ(layout.panes[0].originRow, layout.panes[1].originRow);
        // Each pane is as tall as the body: 600 - 80 = 520 pixels, 32 lines and a title.
        EXPECT_EQ(31, layout.panes[1].bodyLines);
        // A directory listing side by side runs down a single column.
        EXPECT_EQ(1, layout.panes[0].columnsDrawn);
        EXPECT_EQ(1, m_two->m_columnCount);
    }
}

TEST_F(LayoutTest, FilerInfoSwitchesWidenTheCell)
{
    struct Case
    {
        FilerInfoPreset info; // date, time, noSeconds, size, attributes
        int extra;            // columns beyond N + E
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0}, 3},  {{0, 1, 0, 0, 0}, 12}, {{0, 1, 1, 0, 0}, 9},  {{1, 0, 0, 0, 0}, 14},
        {{0, 0, 0, 1, 0}, 18}, {{0, 0, 0, 0, 1}, 8},  {{1, 1, 0, 1, 1}, 43}, {{1, 1, 1, 1, 1}, 40},
        {{0, 0, 1, 0, 0}, 3}, // no seconds without the time changes nothing
    };
    g_FILERINFONUMBER = 3;
    for (const Case& c : cases)
    {
        g_FilerInfoPresets[3] = c.info;
        ViewLayout layout = Lay(Metrics(16, 0, 8), 1600, 600);
        EXPECT_EQ(20, layout.panes[0].nameWidth);
        EXPECT_EQ(5, layout.panes[0].extWidth);
        EXPECT_EQ(20 + 5 + c.extra, layout.panes[0].cellWidth) << c.extra;
    }
}

// Stacked lists run down columns across the whole width; a partly visible column is
// drawn but not counted as full.
TEST_F(LayoutTest, StackedListColumnsCountThePartlyVisibleOne)
{
    struct Case
    {
        int width, drawn, full;
    };
    // The cell is 28 columns of 8 pixels: 224 pixels.
    const Case cases[] = {{800, 4, 3}, {672, 4, 3}, {100, 1, 1}, {224, 2, 1}};
    for (const Case& c : cases)
    {
        ViewLayout layout = Lay(Metrics(16, 0, 8), c.width, 600);
        EXPECT_EQ(28, layout.panes[0].cellWidth);
        EXPECT_EQ(c.drawn, layout.panes[0].columnsDrawn) << c.width;
        EXPECT_EQ(c.full, layout.panes[0].columnsFull) << c.width;
        EXPECT_EQ(c.drawn, m_one->m_columnCount);
        EXPECT_EQ(c.full, m_one->m_columnsInUse);
    }
}

TEST_F(LayoutTest, NameWidthFitsTheAvailableWidth)
{
    struct Case
    {
        int fullWidth, autoWidth, split, name, cell;
    };
    // 100 columns; the cell is N + 8, N = FILENAMELONG (20) to start with.
    const Case cases[] = {
        {1, 0, 0, 92, 100}, // one file fills the window
        {1, 0, 1, 42, 50},  // ... or its half side by side
        {0, 1, 0, 20, 28},  // auto width only ever shrinks
    };
    for (const Case& c : cases)
    {
        g_ONE_FILE_USE_FULL_WIDTH = c.fullWidth;
        g_AUTO_FILE_NAME_WIDTH = c.autoWidth;
        g_WINDOWDEVIDEWAY = c.split;
        ViewLayout layout = Lay(Metrics(16, 0, 8), 800, 600);
        EXPECT_EQ(c.name, layout.panes[0].nameWidth) << c.fullWidth << c.split;
        EXPECT_EQ(c.cell, layout.panes[0].cellWidth) << c.fullWidth << c.split;
    }
    // Too narrow for even FILENAMELONG: the name keeps it and the cell overflows.
    g_ONE_FILE_USE_FULL_WIDTH = 1;
    g_WINDOWDEVIDEWAY = 0;
    ViewLayout narrow = Lay(Metrics(16, 0, 8), 160, 600);
    EXPECT_EQ(20, narrow.panes[0].nameWidth);
    EXPECT_EQ(28, narrow.panes[0].cellWidth);
}

TEST_F(LayoutTest, InactivePaneGivesWayToViewersAndFindResults)
{
    struct Case
    {
        int split, deviceAll, fullScreen;
        UINT otherMode, otherSub, activeMode, activeSub;
        int visible;
    };
    const Case cases[] = {
        {0, 0, 0, PANE_MODE_TEXT_VIEWER, 0, PANE_MODE_FILER, 1, 1},
        {1, 0, 0, PANE_MODE_TEXT_VIEWER, 0, PANE_MODE_FILER, 1, 0},
        {1, 0, 0, PANE_MODE_FILER, 1, PANE_MODE_BINARY, 0, 0},
        {1, 1, 0, PANE_MODE_FILER, 1, PANE_MODE_GRAPHIC, 0, 1},
        {0, 0, 1, PANE_MODE_FILER, 1, PANE_MODE_ARCHIVE_GRAPHIC, 0, 0},
        {1, 0, 0, PANE_MODE_FILER, 1, PANE_MODE_FILER, PANE_SUB_FIND_RESULTS, 0},
        {0, 0, 1, PANE_MODE_FILER, 1, PANE_MODE_FILER, PANE_SUB_FIND_RESULTS, 1},
        {1, 0, 0, PANE_MODE_NETWORK, 0, PANE_MODE_DRIVE_LIST, 0, 1},
    };
    for (const Case& c : cases)
    {
        g_WINDOWDEVIDEWAY = c.split;
        g_DEVICE_H_DISP_ALL_MODE_DEVICE = c.deviceAll;
        g_DISPLAY_FULL_SCREEN_NOT_FILER = c.fullScreen;
        m_two->m_mode = c.otherMode;
        m_two->m_subMode = c.otherSub;
        m_one->m_mode = c.activeMode;
        m_one->m_subMode = c.activeSub;
        EXPECT_EQ(1, ComputePaneVisible(m_panes, 0));
        EXPECT_EQ(c.visible, ComputePaneVisible(m_panes, 1)) << c.otherMode << " " << c.activeMode;
    }
    m_two->m_mode = PANE_MODE_FILER;
    m_two->m_position = PANE_POS_HIDDEN;
    EXPECT_EQ(0, ComputePaneVisible(m_panes, 1));
}

TEST_F(LayoutTest, OnePaneLeftStacksWhenAskedAndTakesTheWholeBody)
{
    g_WINDOWDEVIDEWAY = 1;
    g_ENABLE_SOME_H_FILE_ONE_SCREEN = 1;
    m_two->m_position = PANE_POS_HIDDEN;
    ViewLayout layout = Lay(Metrics(16, 0, 8), 800, 5 * 16 + 30 * 16);
    EXPECT_EQ(0, layout.split);
    EXPECT_EQ(29, layout.panes[0].bodyLines);
    CRect list, title;
    ComputePaneAreaRects(layout, m_panes, 0, list, title);
    EXPECT_EQ(layout.clientHeight, list.bottom);
    EXPECT_EQ(6 * 16, list.top);
    EXPECT_EQ(5 * 16, title.top);
}

TEST_F(LayoutTest, PaneRectanglesMeetAtTheSameEdges)
{
    // Stacked: pane 0's clip and repaint areas end where pane 1's title begins.
    ViewLayout stacked = Lay(Metrics(16, 0, 8), 800, 5 * 16 + 41 * 16);
    CRect clip0 = ComputePaneRect(stacked, m_panes, 0);
    CRect clip1 = ComputePaneRect(stacked, m_panes, 1);
    CRect list0, title0, list1, title1;
    ComputePaneAreaRects(stacked, m_panes, 0, list0, title0);
    ComputePaneAreaRects(stacked, m_panes, 1, list1, title1);
    EXPECT_EQ(CRect(0, 80, 800, 25 * 16), clip0);
    EXPECT_EQ(CRect(0, 25 * 16, 800, stacked.clientHeight), clip1);
    EXPECT_EQ(clip0.bottom, list0.bottom);
    EXPECT_EQ(clip1.top, title1.top);
    EXPECT_EQ(CRect(0, 25 * 16, 800 - 200, 26 * 16), title1); // the strip keeps a quarter
    EXPECT_EQ(800, list1.right);

    // Side by side: both meet at the split column, each short of its scroll strip.
    g_WINDOWDEVIDEWAY = 1;
    ViewLayout split = Lay(Metrics(16, 0, 8), 800, 600);
    EXPECT_EQ(CRect(0, 80, 400 - 16, 600), ComputePaneRect(split, m_panes, 0));
    EXPECT_EQ(CRect(400, 80, 800 - 16, 600), ComputePaneRect(split, m_panes, 1));
    ComputePaneAreaRects(split, m_panes, 1, list1, title1);
    EXPECT_EQ(ComputePaneRect(split, m_panes, 1), list1);
    EXPECT_TRUE(title1.IsRectNull());
    g_NOTSCROLLFILER = 1;
    EXPECT_EQ(400, ComputePaneRect(split, m_panes, 0).right);
}

TEST_F(LayoutTest, EntryCellsRunDownColumnsInListsAndAlongRowsWithThumbnails)
{
    ViewLayout layout = Lay(Metrics(16, 0, 8), 800, 5 * 16 + 41 * 16);
    m_one->m_firstVisible = 100;
    INT64 index = 0;
    int column = 0, row = 0;
    ComputeEntryCell(layout, *m_one, 0, 2, 3, FALSE, index, column, row);
    EXPECT_EQ(100 + 2 * 19 + 3, index);
    EXPECT_EQ(2 * 28 + 1, column);
    EXPECT_EQ(6 + 3, row);
    ComputeEntryCell(layout, *m_one, 0, 2, 3, TRUE, index, column, row);
    EXPECT_EQ(2 * 28, column);

    layout.panes[0].columnsDrawn = 5;
    layout.panes[0].cellHeight = 4;
    m_one->m_bPreviewLayout = TRUE;
    ComputeEntryCell(layout, *m_one, 0, 2, 3, FALSE, index, column, row);
    EXPECT_EQ(100 + 2 + 3 * 5, index);
    EXPECT_EQ(6 + 3 * 4, row);
}

} // namespace
