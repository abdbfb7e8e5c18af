// The mouse in a text viewer pane over a real file: drag selection with Shift and a
// plain click, the drag's scroll above and below the text, the double-click actions,
// the wheel; the hexadecimal form with its selection; the centring of a found range;
// and the companion viewer that follows the filer's cursor.
#include "tests/view/CommandTestSupport.h"

#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/settings/ViewerSettings.h"
#include "tests/common/TestHelpers.h"
#include "view/navigation/FileKindActions.h"
#include "view/scroll/ScrollBars.h"
#include "view/viewer/HexDump.h"
#include "viewers/text/TextPaneViewer.h"

#include <string>
#include <vector>

namespace
{

using commandtest::CommandBench;

std::vector<std::wstring>* g_opened = nullptr;

HINSTANCE WINAPI RecordOpen(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    if (g_opened != nullptr)
        g_opened->push_back(file);
    return reinterpret_cast<HINSTANCE>(33);
}

class ViewerMouse : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_VIEWCHARWIDE, 80);
        Set(g_TABCARAMES, 8);
        Set(g_VIEWER_CHAR_CODE, 0);
        Set(g_VIEWNUMBER, 0);
        Set(g_NOTVIEWUPDIR, 1);
        Set(g_NOTVIEWCURRENTDIR, 1);
        Set(g_LEFTMOUSEDISABLE, 0);
        Set(g_RIGHTMOUSEDISABLE, 0);
        m_savedLeft = g_ViewerLeftDblClickAct;
        m_savedRight = g_ViewerRightDblClickAct;
    }
    void TearDown() override
    {
        g_ViewerLeftDblClickAct = m_savedLeft;
        g_ViewerRightDblClickAct = m_savedRight;
        for (CFilerPane* pane : g_Panes)
            if (pane != nullptr)
                pane->ReleaseViewerData();
        CommandBench::TearDown();
    }
    CFilerPane& Pane(int index = 0) { return *g_Panes[index]; }
    void PutCursorOn(const wchar_t* name)
    {
        for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
            if (std::wstring(Pane().m_entries[i].GetName()) == name)
                Pane().m_cursor = i;
    }
    // Opens `text` as the file v.txt in pane 0.
    void Open(const std::string& text)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\v.txt", text));
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
        PutCursorOn(L"v.txt");
        View().ExecuteFilerCommand(L"@View");
        ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
        ASSERT_TRUE(Pane().IsViewerLoadDone());
        ASSERT_GE(Geo().rowsFull, 4) << "the layout leaves room for a few rows";
    }
    const PaneLayout& Geo() { return View().m_layout.panes[0]; }
    // A point inside the cell at (column, row) of pane 0's body.
    CPoint At(int column, int row)
    {
        const ViewLayout& layout = View().m_layout;
        return CPoint((Geo().originColumn + column) * layout.charWidth + 1,
                      (Geo().originRow + row) * layout.lineHeight + 1);
    }
    CPoint Below()
    {
        return CPoint(At(0, 0).x, (Geo().originRow + Geo().rowsDrawn) * View().m_layout.lineHeight + 4);
    }
    CPoint Above() { return CPoint(At(0, 0).x, Geo().originRow * View().m_layout.lineHeight - 4); }
    INT64 Top() { return Pane().m_viewer->GetTopLine(); }
    const ViewerSelection& Selection() { return View().m_viewer.selection; }
    // 100 lines of eight bytes: line l starts at 8 l.
    static std::string Lines100()
    {
        std::string text;
        for (int i = 0; i < 100; ++i)
        {
            char line[16];
            snprintf(line, sizeof(line), "line%02d\r\n", i);
            text += line;
        }
        return text;
    }

    CString m_savedLeft, m_savedRight;
};

TEST_F(ViewerMouse, DragSelectsAndShiftClickMovesTheEndAndAPlainClickClears)
{
    Open(Lines100());
    View().OnLButtonDown(0, At(1, 0));
    EXPECT_TRUE(View().m_bTextDrag);
    EXPECT_EQ(Selection().anchor, 1);
    View().OnMouseMove(MK_LBUTTON, At(3, 2));
    EXPECT_EQ(Selection().end, 19);
    View().OnLButtonUp(0, At(3, 2));
    EXPECT_FALSE(View().m_bTextDrag);
    EXPECT_TRUE(Selection().active);

    View().OnLButtonDown(MK_SHIFT, At(2, 1));
    EXPECT_FALSE(View().m_bTextDrag) << "Shift moves the end of the selection there is";
    EXPECT_EQ(Selection().anchor, 1);
    EXPECT_EQ(Selection().end, 10);
    View().OnLButtonUp(0, At(2, 1));
    EXPECT_TRUE(Selection().active);

    View().OnLButtonDown(0, At(0, 3));
    EXPECT_FALSE(Selection().active) << "a plain click takes the selection away";
    EXPECT_FALSE(View().m_bTextDrag);
    View().OnLButtonUp(0, At(0, 3));

    View().OnLButtonDown(0, At(0, 3));
    View().OnLButtonUp(0, At(0, 3));
    EXPECT_FALSE(Selection().active) << "a click without a move selects nothing";

    View().ExecuteViewerCommand(L"@Linenumber");
    View().OnLButtonDown(0, At(2, 1));
    EXPECT_EQ(Selection().anchor, 8) << "a press in the line-number gutter is the line's start";
    View().OnLButtonUp(0, At(2, 1));
}

TEST_F(ViewerMouse, ADragWhoseMouseAnotherWindowTakesEndsWithTheSelectionSoFar)
{
    Open(Lines100());
    View().OnLButtonDown(0, At(1, 0));
    View().OnMouseMove(MK_LBUTTON, At(3, 2));
    ASSERT_TRUE(View().m_bTextDrag);
    // A window that takes the mouse, as a dialog opened mid-drag does.
    HWND taker =
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(taker, nullptr);
    View().OnCaptureChanged(0, reinterpret_cast<LPARAM>(taker));
    DestroyWindow(taker);
    EXPECT_FALSE(View().m_bTextDrag);
    EXPECT_TRUE(Selection().active);
    EXPECT_FALSE(Selection().dragging);
    EXPECT_EQ(Selection().anchor, 1);
    EXPECT_EQ(Selection().end, 19);
    // A move without the capture no longer drags.
    View().OnMouseMove(0, At(5, 3));
    EXPECT_EQ(Selection().end, 19);

    // The button that comes up afterwards changes nothing, and a new drag runs as
    // usual.
    View().OnLButtonUp(0, At(5, 3));
    EXPECT_TRUE(Selection().active);
    EXPECT_EQ(Selection().end, 19);
    View().OnLButtonDown(0, At(0, 3));
    View().OnLButtonDown(0, At(0, 3));
    EXPECT_TRUE(View().m_bTextDrag);
    View().OnMouseMove(MK_LBUTTON, At(2, 3));
    View().OnLButtonUp(0, At(2, 3));
    EXPECT_FALSE(View().m_bTextDrag);
    EXPECT_EQ(Selection().anchor, 24);
    EXPECT_EQ(Selection().end, 26);
}

TEST_F(ViewerMouse, DragAboveOrBelowTheTextScrollsFasterAfterAWhile)
{
    Set(g_FASTSCROLLCOUNT, 2);
    Set(g_FASTSCROLLINE, 3);
    Open(Lines100());
    const INT64 rows = Geo().rowsFull;
    View().OnLButtonDown(0, At(0, 0));
    struct
    {
        bool below;
        INT64 top;
    } steps[] = {{true, 1}, {true, 2}, {true, 5}, {false, 2}};
    for (const auto& step : steps)
    {
        View().OnMouseMove(MK_LBUTTON, step.below ? Below() : Above());
        EXPECT_EQ(Top(), step.top);
        // Below: the start of the line after the last one shown; above: the first.
        EXPECT_EQ(Selection().end, step.below ? 8 * (step.top + rows) : 8 * step.top) << step.top;
    }
    View().OnMouseMove(MK_LBUTTON, At(1, 0));
    EXPECT_EQ(View().m_dragScrollCount, 0);
    EXPECT_EQ(Selection().end, 8 * 2 + 1);
    View().OnLButtonUp(0, At(1, 0));
    EXPECT_TRUE(Selection().active);
    EXPECT_EQ(Selection().anchor, 0);
}

TEST_F(ViewerMouse, DoubleClickActionsSelectTheUrlOrTheLineAndOpenTheUrl)
{
    const std::string text = "see http://a.jp/x, more\r\nsecond\r\n";
    Open(text);
    std::vector<std::wstring> opened;
    g_opened = &opened;
    CFileOpenSeamOverride seam;
    g_FileOpenSeam.shellExecute = RecordOpen;

    struct
    {
        const wchar_t* action;
        bool right;
        UINT flags;
        int column, row;
        BOOL active;
        INT64 anchor, end;
    } steps[] = {
        {L"@Selecturl", false, 0, 6, 0, TRUE, 4, 17},
        // The press clears the selection; there is no URL to select again.
        {L"@Selecturl", false, 0, 0, 0, FALSE, 4, 17},
        {L"@Selectoneline", false, 0, 1, 1, TRUE, 25, 33},
        {L"@Selecturl", false, MK_CONTROL, 6, 0, FALSE, 25, 33}, // Ctrl: no action
        {L"@Selecturl", true, 0, 8, 0, TRUE, 4, 17},
        {L"", true, 0, 1, 1, TRUE, 4, 17}, // no action set
    };
    for (const auto& step : steps)
    {
        const CPoint point = At(step.column, step.row);
        if (step.right)
        {
            g_ViewerRightDblClickAct = step.action;
            View().OnRButtonDblClk(step.flags, point);
        }
        else
        {
            g_ViewerLeftDblClickAct = step.action;
            View().OnLButtonDown(step.flags, point);
            View().OnLButtonUp(step.flags, point);
            View().OnLButtonDblClk(step.flags, point);
        }
        EXPECT_EQ(Selection().active, step.active) << step.action;
        EXPECT_EQ(Selection().anchor, step.anchor) << step.action;
        EXPECT_EQ(Selection().end, step.end) << step.action;
    }
    EXPECT_TRUE(opened.empty());

    g_ViewerRightDblClickAct = L"@Startbyurl";
    View().OnRButtonDblClk(0, At(10, 0));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], L"http://a.jp/x");

    // The right-click menu's items act on the point the menu was opened over.
    View().m_lastClickPoint = At(2, 1);
    View().OnCmdMsg(908, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(Selection().anchor, 25);
    g_opened = nullptr;

    g_ViewerLeftDblClickAct = L"@Closeviewer";
    View().OnLButtonDown(0, At(0, 0));
    View().OnLButtonUp(0, At(0, 0));
    View().OnLButtonDblClk(0, At(0, 0));
    EXPECT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_FILER));
}

TEST_F(ViewerMouse, WheelScrollsLinesOrPagesByWholeNotches)
{
    Open(Lines100());
    const INT64 rows = Geo().rowsFull;
    struct
    {
        UINT flags;
        short delta;
        INT64 top;
    } steps[] = {
        {0, -240, 2}, {0, -60, 2}, {MK_SHIFT, -120, 2 + rows}, {0, 120, 1 + rows}, {MK_SHIFT, 720, 0},
    };
    for (const auto& step : steps)
    {
        View().OnMouseWheel(step.flags, step.delta, At(0, 1));
        EXPECT_EQ(Top(), step.top) << step.delta;
    }
}

TEST_F(ViewerMouse, ScrollBarCodesMoveTheTextAndTheBarFollows)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "x\r\n";
    Open(text);
    const INT64 rows = Geo().rowsFull;
    const INT64 last = 5000 - rows;
    struct
    {
        UINT code;
        int thumb, amount;
        INT64 top;
    } steps[] = {
        {SB_PAGEDOWN, 0, 1, rows}, {SB_PAGEDOWN, 0, 2, 3 * rows},
        {SB_PAGEUP, 0, 5, 0},      {SB_THUMBPOSITION, 1000, 1, 1000 * last / 2000},
        {SB_BOTTOM, 0, 1, last},   {SB_PAGEDOWN, 0, 1, last},
        {SB_TOP, 0, 1, 0},
    };
    for (const auto& step : steps)
    {
        View().ScrollPane(0, step.code, step.thumb, 0, 2000, step.amount);
        EXPECT_EQ(Top(), step.top) << step.code << " " << step.thumb;
        const PaneScrollRange bar = ComputePaneScrollRange(Pane(), 1, Geo().rowsFull);
        EXPECT_EQ(bar.maximum, 2000);
        EXPECT_EQ(bar.position, LineScrollRange(last, step.top).position);
    }
}

TEST_F(ViewerMouse, ScrollRepeatRunsToEitherEndAndStops)
{
    Open(Lines100());
    Set(g_VIEWSCROLLLINE, 7);
    Set(g_VIEWSCROLLSPEED, 5);
    const INT64 rows = Geo().rowsFull;
    for (int dir : {1, -1})
    {
        View().m_scrollRepeatDir = dir;
        INT64 previous = Top();
        int ticks = 0;
        while (View().m_scrollRepeatDir != 0 && ticks < 100)
        {
            EXPECT_TRUE(View().StepTextAutoScroll());
            ++ticks;
            if (View().m_scrollRepeatDir != 0)
                EXPECT_EQ(Top() - previous, 7 * dir) << "a whole step per tick until the end";
            previous = Top();
        }
        EXPECT_EQ(Top(), dir > 0 ? 100 - rows : 0);
        EXPECT_FALSE(View().StepTextAutoScroll()) << "a stopped repeat does nothing";
    }
    View().StopViewTimers(VIEW_TIMER_TEXT_SCROLL);
}

TEST_F(ViewerMouse, EnterOnAFileWithoutAKindOrProgramShowsItInTheTextViewer)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\plain.txt", "one\r\ntwo\r\n"));
    Set(g_KINDWINEXE, 0);
    for (CKindExeEntry& row : g_KindExeTable)
        ASSERT_TRUE(row.m_extension.IsEmpty()) << "no kind row takes the file";
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    PutCursorOn(L"plain.txt");
    View().OpenCursorEntry(0, 0);
    ASSERT_EQ(Pane().m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    ASSERT_TRUE(Pane().IsViewerLoadDone());
    EXPECT_EQ(Pane().m_viewer->LineCount(), 2);
}

TEST_F(ViewerMouse, HexFormScrollsByRowsAndSelectsBytes)
{
    Open(Lines100());
    View().ExecuteViewerCommand(L"@Selectdown");
    Pane().m_viewer->SetTopLine(3);
    View().ExecuteViewerCommand(L"@Changebinary");
    EXPECT_TRUE(Pane().m_bHexDisplay);
    EXPECT_EQ(Top(), 0);
    EXPECT_FALSE(Selection().active);

    // Row 0 of the body is the header; the bytes begin on row 1.
    View().OnLButtonDown(0, At(HEX_BYTES_COLUMN + 3, 1));
    View().OnMouseMove(MK_LBUTTON, At(HEX_CHARS_COLUMN + 4, 2));
    View().OnLButtonUp(0, At(HEX_CHARS_COLUMN + 4, 2));
    EXPECT_TRUE(Selection().active);
    EXPECT_EQ(Selection().anchor, 1);
    EXPECT_EQ(Selection().end, 20);
    View().ExecuteViewerCommand(L"@Selectdown");
    EXPECT_EQ(Selection().end, 20) << "the selection keys step through lines only";

    // 800 bytes are 50 rows; the last page keeps the header and a row after the text.
    View().ExecuteViewerCommand(L"@Jumpendline");
    EXPECT_EQ(Top(), 50 + 1 - Geo().rowsFull);

    // A find from the shown place starts at the first shown row's first byte.
    Pane().m_viewer->SetTopLine(2);
    CDialogAnswerScript script;
    CDialogAnswer answer;
    answer.text = L"line";
    answer.checks = {0, 1, 1};
    script.Add(answer);
    View().ExecuteViewerCommand(L"@Searchstr");
    EXPECT_EQ(Selection().anchor, 32) << "row 2, not line 2 (byte 16)";
    EXPECT_TRUE(Pane().m_bHexDisplay);

    View().ExecuteViewerCommand(L"@Changebinary");
    EXPECT_FALSE(Pane().m_bHexDisplay);
    EXPECT_EQ(Top(), 0);
    EXPECT_FALSE(Selection().active);
}

TEST_F(ViewerMouse, FoundRangeIsCentredAndTheLastPageStaysFull)
{
    Open(Lines100());
    const INT64 rows = Geo().rowsDrawn;
    const INT64 count = Pane().m_viewer->LineCount();
    struct
    {
        INT64 start;
        INT64 top;
    } cases[] = {
        {8 * 50 + 2, 50 - rows / 2},
        {3, 0},
        {8 * 99, count - rows},
        {8 * 50, 50 - rows / 2},
    };
    for (const auto& c : cases)
    {
        View().ScrollViewerToRange(0, -1, -1, c.start, c.start + 2, FALSE);
        EXPECT_EQ(Top(), c.top) << c.start;
    }
}

TEST_F(ViewerMouse, CompanionViewerFollowsTheFilerCursorUntilSwitchedOff)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\a.txt", "alpha"));
    ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\b.txt", "beta\r\nbeta"));
    ASSERT_TRUE(CreateDirectoryW((std::wstring(m_dir) + L"\\sub").c_str(), nullptr));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    auto indexOf = [&](const wchar_t* name) {
        for (INT_PTR i = 0; i < Pane().m_entries.GetSize(); ++i)
            if (std::wstring(Pane().m_entries[i].GetName()) == name)
                return static_cast<INT64>(i);
        return static_cast<INT64>(-1);
    };
    auto moveTo = [&](const wchar_t* name) {
        View().MovePaneCursor(0, indexOf(name) - Pane().m_cursor, 0, 0, 0);
        ASSERT_EQ(Pane().m_cursor, indexOf(name));
    };
    moveTo(L"a.txt");
    View().OnCmdMsg(741, CN_COMMAND, nullptr, nullptr);
    EXPECT_EQ(View().m_nCompanionPane, 1);
    ASSERT_EQ(Pane(1).m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));
    EXPECT_STREQ(Pane(1).m_viewerEntry.GetName(), L"a.txt");
    EXPECT_EQ(Pane(1).m_viewer->TextLength(), 5);
    EXPECT_EQ(Pane(0).m_mode, static_cast<UINT>(PANE_MODE_FILER)) << "the filer stays the active pane";

    moveTo(L"b.txt");
    EXPECT_STREQ(Pane(1).m_viewerEntry.GetName(), L"b.txt");
    EXPECT_EQ(Pane(1).m_viewer->LineCount() >= 2, true);
    moveTo(L"sub");
    EXPECT_STREQ(Pane(1).m_viewerEntry.GetName(), L"b.txt") << "a folder leaves the last file shown";

    View().ExecuteFilerCommand(L"@Otheralwaysviewer");
    EXPECT_EQ(View().m_nCompanionPane, -1);
    moveTo(L"a.txt");
    EXPECT_STREQ(Pane(1).m_viewerEntry.GetName(), L"b.txt") << "switched off: the pane keeps its text";
    EXPECT_EQ(Pane(1).m_mode, static_cast<UINT>(PANE_MODE_TEXT_VIEWER));

    // Closing the companion viewer itself ends the mode.
    View().ExecuteFilerCommand(L"@Otheralwaysviewer");
    EXPECT_STREQ(Pane(1).m_viewerEntry.GetName(), L"a.txt");
    View().SwitchActivePane(-1);
    ASSERT_EQ(View().GetActivePaneIndex(), 1);
    View().ExecuteViewerCommand(L"@Closeviewer");
    EXPECT_EQ(View().m_nCompanionPane, -1);
    EXPECT_EQ(Pane(1).m_mode, static_cast<UINT>(PANE_MODE_FILER));
    View().SwitchActivePane(-1);
    moveTo(L"b.txt");
    EXPECT_EQ(Pane(1).m_mode, static_cast<UINT>(PANE_MODE_FILER));
}

} // namespace
