// Cursor movement on a pane of known entries: the Shift selection marks what lies
// between its anchor and the cursor, the ends never wrap, pages and half pages by mode,
// the scroll repeat, and scrolling by bar.
#include "tests/view/CommandTestSupport.h"

#include "view/keys/MoverDeltas.h"

namespace
{

using commandtest::CommandBench;

class CursorMoversTest : public CommandBench
{
};

TEST_F(CursorMoversTest, ShiftSelectionMarksBetweenAnchorAndCursor)
{
    FillPane(20, 1, 10);
    m_panes[0]->m_cursor = 5;
    struct Step
    {
        LPCWSTR keyword;
        INT64 cursor;
        std::vector<int> marked;
    } steps[] = {
        {L"@Downsel", 6, {5, 6}},
        {L"@Downsel", 7, {5, 6, 7}},
        {L"@Downsel", 8, {5, 6, 7, 8}},
        {L"@Upsel", 7, {5, 6, 7}},
        // Back over the anchor: the other side's marks go.
        {L"@Upsel", 6, {5, 6}},
        {L"@Upsel", 5, {5}},
        {L"@Upsel", 4, {4, 5}},
        {L"@Beforepagesel", 0, {0, 1, 2, 3, 4, 5}},
        {L"@Nextpagesel", 10, {5, 6, 7, 8, 9, 10}},
        // A move without Shift ends the selection and keeps the marks.
        {L"@Down", 11, {5, 6, 7, 8, 9, 10}},
        {L"@Downsel", 12, {5, 6, 7, 8, 9, 10, 11, 12}},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.cursor);
        EXPECT_EQ(View().ExecuteFilerCommand(step.keyword), 1);
        EXPECT_EQ(m_panes[0]->m_cursor, step.cursor);
        EXPECT_EQ(Marked(), step.marked);
    }
    EXPECT_EQ(View().m_keys.selectionAnchor[0], 11);
}

TEST_F(CursorMoversTest, FirstShiftMoveAtTheEndMarksOnlyTheCursor)
{
    FillPane(8, 1, 10);
    m_panes[0]->m_cursor = 7;
    View().ExecuteFilerCommand(L"@Downsel");
    EXPECT_EQ(m_panes[0]->m_cursor, 7);
    EXPECT_EQ(Marked(), std::vector<int>{7});
}

TEST_F(CursorMoversTest, EndsNeverWrapButLinesDoWithTheToggle)
{
    FillPane(8, 1, 10);
    Set(g_CURSORTOGGLE, 1);
    struct Case
    {
        LPCWSTR keyword;
        INT64 from;
        INT64 to;
    } cases[] = {
        {L"@Endpos", 7, 7}, {L"@Firstpos", 0, 0}, {L"@Endpos", 2, 7}, {L"@Firstpos", 5, 0},
        {L"@Down", 7, 0},   {L"@Up", 0, 7},       {L"@Down", 3, 4},
    };
    for (const Case& c : cases)
    {
        m_panes[0]->m_cursor = c.from;
        View().ExecuteFilerCommand(c.keyword);
        EXPECT_EQ(m_panes[0]->m_cursor, c.to) << c.from;
    }
}

TEST(MoverDeltas, ByModeWithTruncatedHalves)
{
    struct Case
    {
        UINT mode;
        BOOL preview;
        int kind;
        int dir;
        bool applies;
        INT64 delta;
    } cases[] = {
        // A filer pane of 3 columns x 5 rows, entries down the columns.
        {PANE_MODE_FILER, FALSE, MOVER_HORIZONTAL, 1, true, 5},
        {PANE_MODE_FILER, FALSE, MOVER_LINES, -1, true, -1},
        {PANE_MODE_FILER, FALSE, MOVER_PAGE, 1, true, 15},
        {PANE_MODE_FILER, FALSE, MOVER_HALF_PAGE, 1, true, 7},
        {PANE_MODE_FILER, FALSE, MOVER_HALF_PAGE, -1, true, -7},
        {PANE_MODE_FILER, FALSE, MOVER_TO_END, 1, true, 40},
        // In the preview layout they run along the rows.
        {PANE_MODE_FILER, TRUE, MOVER_HORIZONTAL, -1, true, -1},
        {PANE_MODE_FILER, TRUE, MOVER_LINES, 1, true, 3},
        {PANE_MODE_TEXT_VIEWER, FALSE, MOVER_HORIZONTAL, 1, false, 0},
        {PANE_MODE_TEXT_VIEWER, FALSE, MOVER_PAGE, 1, true, 5},
        {PANE_MODE_TEXT_VIEWER, FALSE, MOVER_HALF_PAGE, -1, true, -2},
        // Binary: one line of 32 nibbles of the old page stays in sight.
        {PANE_MODE_BINARY, FALSE, MOVER_HORIZONTAL, -1, true, -1},
        {PANE_MODE_BINARY, FALSE, MOVER_LINES, 1, true, 32},
        {PANE_MODE_BINARY, FALSE, MOVER_PAGE, 1, true, 128},
        {PANE_MODE_BINARY, FALSE, MOVER_HALF_PAGE, -1, true, -64},
        {PANE_MODE_DRIVE_LIST, FALSE, MOVER_PAGE, 1, true, 5},
        {PANE_MODE_DRIVE_LIST, FALSE, MOVER_HALF_PAGE, 1, true, 2},
        {PANE_MODE_DRIVE_LIST, FALSE, MOVER_TO_END, 1, false, 0},
        {PANE_MODE_GRAPHIC, FALSE, MOVER_LINES, 1, false, 0},
    };
    CFilerPane pane(0);
    pane.m_columnsInUse = 3;
    pane.m_linesInUse = 5;
    for (int i = 0; i < 40; ++i)
    {
        WIN32_FIND_DATAW fd = {};
        swprintf_s(fd.cFileName, L"f%02d", i);
        pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\", L"", fd, -1);
    }
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.mode << " kind " << c.kind << " dir " << c.dir);
        pane.m_mode = c.mode;
        pane.m_bPreviewLayout = c.preview;
        INT64 delta = 0;
        int wrap = -1;
        EXPECT_EQ(ComputeMoverDelta(c.kind, pane, 1, c.dir, &delta, &wrap), c.applies);
        if (c.applies)
        {
            EXPECT_EQ(delta, c.delta);
            EXPECT_EQ(wrap, c.kind == MOVER_TO_END ? 0 : 1);
        }
    }
    // Binary page of 4 rows: 4 x 32 - 32.
    pane.m_mode = PANE_MODE_BINARY;
    pane.m_linesInUse = 4;
    INT64 delta = 0;
    int wrap = 0;
    ComputeMoverDelta(MOVER_PAGE, pane, 1, -1, &delta, &wrap);
    EXPECT_EQ(delta, -96);
}

TEST_F(CursorMoversTest, ScrollRepeatIsStoppedByTheOppositeKeyNotTurned)
{
    m_panes[0]->m_mode = PANE_MODE_TEXT_VIEWER;
    struct Step
    {
        LPCWSTR keyword;
        int dir;
    } steps[] = {
        {L"@Autonext", 1}, {L"@Autonext", 1}, {L"@Autobefore", 0}, {L"@Autobefore", -1}, {L"@Autonext", 0},
    };
    for (const Step& step : steps)
    {
        View().ExecuteViewerCommand(step.keyword);
        EXPECT_EQ(View().m_scrollRepeatDir, step.dir);
    }
    // A line move ends the repeat.
    View().ExecuteViewerCommand(L"@Autonext");
    View().ExecuteViewerCommand(L"@Down");
    EXPECT_EQ(View().m_scrollRepeatDir, 0);
}

TEST_F(CursorMoversTest, ScrollByBarMovesTheFirstVisibleEntry)
{
    FillPane(25, 1, 10);
    struct Case
    {
        UINT code;
        int thumb;
        int amount;
        INT64 from;
        INT64 to;
    } cases[] = {
        {SB_LINEDOWN, 0, 1, 0, 10}, {SB_LINEDOWN, 0, 2, 0, 20},      {SB_LINEUP, 0, 1, 10, 0},
        {SB_LINEUP, 0, 1, 0, 0},    {SB_PAGEDOWN, 0, 1, 0, 10},      {SB_BOTTOM, 0, 1, 0, 20},
        {SB_TOP, 0, 1, 20, 0},      {SB_THUMBPOSITION, 2, 1, 0, 20}, {SB_LINEDOWN, 0, 5, 0, 20},
    };
    for (const Case& c : cases)
    {
        m_panes[0]->m_firstVisible = c.from;
        View().ScrollPane(0, c.code, c.thumb, 0, 2, c.amount);
        EXPECT_EQ(m_panes[0]->m_firstVisible, c.to) << c.code << " from " << c.from;
    }
}

TEST_F(CursorMoversTest, ScrollBeforeTheFirstLayoutEnds)
{
    FillPane(25, 1, 10);
    // Before the first layout the grid is empty: the step is taken as one.
    m_panes[0]->m_linesInUse = 0;
    m_panes[0]->m_columnsInUse = 0;
    View().ScrollPane(0, SB_BOTTOM, 0, 0, 0, 1);
    EXPECT_EQ(m_panes[0]->m_firstVisible, 24);
    View().ScrollPane(0, SB_LINEDOWN, 0, 0, 0, 3);
    EXPECT_EQ(m_panes[0]->m_firstVisible, 24);
}

TEST_F(CursorMoversTest, WheelOverTheOtherPaneOnlyActivatesIt)
{
    FillPane(25, 1, 10);
    View().ScrollPane(1, SB_LINEDOWN, 0, 0, 0, 1);
    EXPECT_EQ(View().GetActivePaneIndex(), 1);
    EXPECT_EQ(m_panes[1]->m_firstVisible, 0);
}

TEST_F(CursorMoversTest, InGraphicModeTheWheelAndTheViewsBarScrollThePictureWhileOneIsShown)
{
    m_panes[0]->m_mode = PANE_MODE_GRAPHIC;
    View().m_layout.clientHeight = 300; // a page of one notch: 3 steps
    GraphicViewState& g = View().m_graphic;
    const int savedState = g.state;
    g.vMin = 0;
    g.vMax = 40;
    g.baseOrigin = {0, 7};
    struct Case
    {
        UINT code;
        int thumb;
        int amount;
        int shown; // the graphic state: 2 while a picture is shown
        int to;    // from position 10
    } const cases[] = {
        {SB_LINEDOWN, 0, 3, GRAPHIC_STATE_SHOWN, 13},
        {SB_LINEUP, 0, 2, GRAPHIC_STATE_SHOWN, 8},
        {SB_PAGEDOWN, 0, 1, GRAPHIC_STATE_SHOWN, 13},
        {SB_PAGEUP, 0, 2, GRAPHIC_STATE_SHOWN, 4},
        {SB_THUMBPOSITION, 25, 1, GRAPHIC_STATE_SHOWN, 25},
        {SB_BOTTOM, 0, 1, GRAPHIC_STATE_SHOWN, 40},
        {SB_LINEUP, 0, 50, GRAPHIC_STATE_SHOWN, 0},
        {SB_LINEDOWN, 0, 50, GRAPHIC_STATE_SHOWN, 40},
        {SB_TOP, 0, 1, GRAPHIC_STATE_SHOWN, 10},
        {SB_LINEDOWN, 0, 1, 0, 10},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "code " << c.code << " amount " << c.amount);
        g.state = c.shown;
        g.vPos = 10;
        g.origin = {0, 7 - 10 * 50};
        View().ScrollByBar(c.code, c.thumb, nullptr, c.amount);
        EXPECT_EQ(g.vPos, c.to);
        EXPECT_EQ(g.origin.y, 7 - c.to * 50);
    }
    // Two notches of the wheel towards the user.
    g.state = GRAPHIC_STATE_SHOWN;
    g.vPos = 10;
    View().OnMouseWheel(0, -2 * WHEEL_DELTA, CPoint(0, 0));
    EXPECT_EQ(g.vPos, 12);
    // The hidden pane bars move neither the picture nor the list.
    if (View().m_hWnd != nullptr)
    {
        View().ScrollByBar(SB_LINEDOWN, 0, View().m_hWnd, 1);
        EXPECT_EQ(g.vPos, 12);
        EXPECT_EQ(m_panes[0]->m_firstVisible, 0);
    }
    g.state = savedState;
    m_panes[0]->m_mode = PANE_MODE_FILER;
}

} // namespace
