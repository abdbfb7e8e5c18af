// Every cursor, page and end keyword ends in MovePaneCursor, which moves each pane
// mode its own way and extends the Shift selection of the lists.
#include "util/Log.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "filer/IncrementalSearchState.h"
#include "filer/PaneViewer.h"
#include "view/QvView.h"
#include "view/keys/MoverDeltas.h"

namespace
{

void EndIncrementalSearchOnMove(INT64 delta)
{
    if (delta == 0)
        return;
    if (g_INCMODENEGLECTCURMOVE)
    {
        g_IncrementalSearchOn = FALSE;
        g_IncrementalSearchMode = 0;
        g_IncrementalSearchText.Empty();
    }
    else if (g_INCMODEBUFFERDELCURMOVE)
        g_IncrementalSearchText.Empty();
}

// With VIEWFINDSCROLLPOSITION on, a scrolled viewer's next search starts from the
// first line shown.
void FollowViewerSearchToTopLine(CFilerPane& pane)
{
    if (!g_VIEWFINDSCROLLPOSITION || pane.m_viewer == nullptr)
        return;
    const INT64 offset = pane.ViewerTopLineOffset();
    if (offset >= 0)
        pane.m_viewer->SetSearchStart(offset);
}

} // namespace

void CQvView::ClearSelectionAnchors()
{
    m_keys.selectionAnchor[0] = -1;
    m_keys.selectionAnchor[1] = -1;
}

void CQvView::MovePaneCursor(int paneIndex, INT64 delta, int select, int wrap, int updateStatus)
{
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    EndIncrementalSearchOnMove(delta);
    CFilerPane* pane = PaneAt(paneIndex);
    if (pane == nullptr || (pane->m_position & PANE_POS_ACTIVE) == 0)
    {
        StartBinaryCursorTimer();
        return;
    }
    const bool draw = m_hWnd != nullptr && IsPaneVisible(paneIndex);
    const UINT mode = pane->m_mode;
    if ((mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) != 0)
    {
        // A missing drive or an empty list: nothing moves, and the view stays busy
        // until the next action ends.
        if (pane->CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY))
            return;
        if (draw)
            DrawCursorLine(paneIndex, 0);
        if (!select)
        {
            ClearSelectionAnchors();
            if (pane->MoveCursor(delta, wrap) && draw)
            {
                DrawPaneTitle(paneIndex);
                m_paneRedrawRequest[paneIndex] = 1;
                DrawPane(paneIndex);
            }
        }
        else if (delta != 0)
        {
            const INT64 old = pane->m_cursor;
            INT64& anchor = m_keys.selectionAnchor[paneIndex];
            const bool fresh = anchor == -1;
            if (fresh)
                anchor = old;
            if (pane->MoveCursor(delta, TRUE) && draw)
                DrawPaneTitle(paneIndex);
            const INT64 cursor = pane->m_cursor;
            if (fresh && cursor == old)
                pane->SetEntryMark(static_cast<INT_PTR>(cursor), 1);
            else
            {
                // Marked is exactly what lies between the anchor and the cursor; the
                // rest of the way just travelled is unmarked, so going back over the
                // anchor takes the marks of the other side away.
                const INT64 low = old < cursor ? old : cursor;
                const INT64 high = old < cursor ? cursor : old;
                const INT64 selLow = anchor < cursor ? anchor : cursor;
                const INT64 selHigh = anchor < cursor ? cursor : anchor;
                for (INT64 i = low; i <= high; ++i)
                    pane->SetEntryMark(static_cast<INT_PTR>(i), i >= selLow && i <= selHigh ? 1 : 0);
            }
            if (draw)
            {
                m_paneRedrawRequest[paneIndex] = 1;
                DrawPane(paneIndex);
                DrawMarks(paneIndex);
            }
        }
        if (draw)
        {
            DrawCursorLine(paneIndex, 1);
            if (updateStatus)
                DrawStatusLine(STATUS_PART_UPDATE);
        }
        // The picture windows, the following panes and the tag window show the new
        // cursor entry.
        UpdateAuxiliaryWindows();
    }
    else if ((mode & (PANE_MODE_NETWORK | PANE_MODE_DRIVE_LIST)) != 0)
    {
        if (select)
            return;
        if (draw)
            DrawCursorLine(paneIndex, 0);
        int scrolled = pane->MoveCursor(delta, TRUE);
        if (draw)
        {
            if (scrolled)
            {
                DrawPaneTitle(paneIndex);
                m_paneRedrawRequest[paneIndex] = 1;
                DrawPane(paneIndex);
            }
            DrawCursorLine(paneIndex, 1);
        }
    }
    else if ((mode & PANE_MODES_TEXT_VIEWERS) != 0)
    {
        if (select)
            return;
        const int rows = m_layout.panes[paneIndex].rowsFull > 0 ? m_layout.panes[paneIndex].rowsFull : 1;
        const INT64 scrolled = pane->ScrollViewerLines(delta, rows, FALSE);
        if (scrolled != 0)
        {
            // A scroll within a page moves the shown lines and draws only the rows it
            // uncovers; a longer one draws the pane afresh.
            if (draw && (scrolled > rows || -scrolled > rows))
            {
                m_paneRedrawRequest[paneIndex] = 1;
                DrawPane(paneIndex);
            }
            else if (draw)
                ScrollViewerPane(paneIndex, static_cast<int>(scrolled));
            FollowViewerSearchToTopLine(*pane);
        }
    }
    else if ((mode & PANE_MODE_BINARY) != 0)
    {
        if (select)
            return;
        MoveBinaryCursor(paneIndex, delta);
    }
    StartBinaryCursorTimer();
}

void CQvView::MoveCursorOneColumn(int select, int dir)
{
    MoveCursorHorizontal(select, dir, 1);
}

void CQvView::MoveCursorOneLine(int select, int dir)
{
    MoveCursorByLines(1, select, dir, 1);
}

void CQvView::MoveCursorHorizontal(int select, int dir, int updateStatus)
{
    int index = GetActivePaneIndex();
    INT64 delta = 0;
    int wrap = 1;
    if (index < 0 || !ComputeMoverDelta(MOVER_HORIZONTAL, *g_Panes[index], 1, dir, &delta, &wrap))
        return;
    MovePaneCursor(index, delta, select, wrap, updateStatus);
}

void CQvView::MoveCursorByLines(int lines, int select, int dir, int updateStatus)
{
    int index = GetActivePaneIndex();
    INT64 delta = 0;
    int wrap = 1;
    if (index < 0 || !ComputeMoverDelta(MOVER_LINES, *g_Panes[index], lines, dir, &delta, &wrap))
        return;
    StopViewTimers(VIEW_TIMER_TEXT_SCROLL);
    StopViewTimers(VIEW_TIMER_BINARY_SCROLL);
    MovePaneCursor(index, delta, select, wrap, updateStatus);
}

void CQvView::MoveCursorByPage(int select, int dir)
{
    int index = GetActivePaneIndex();
    INT64 delta = 0;
    int wrap = 1;
    if (index < 0 || !ComputeMoverDelta(MOVER_PAGE, *g_Panes[index], 1, dir, &delta, &wrap))
        return;
    StopViewTimers(VIEW_TIMER_TEXT_SCROLL);
    StopViewTimers(VIEW_TIMER_BINARY_SCROLL);
    MovePaneCursor(index, delta, select, wrap, 1);
}

void CQvView::MoveCursorByHalfPage(int select, int dir)
{
    int index = GetActivePaneIndex();
    INT64 delta = 0;
    int wrap = 1;
    if (index < 0 || !ComputeMoverDelta(MOVER_HALF_PAGE, *g_Panes[index], 1, dir, &delta, &wrap))
        return;
    StopViewTimers(VIEW_TIMER_TEXT_SCROLL);
    StopViewTimers(VIEW_TIMER_BINARY_SCROLL);
    MovePaneCursor(index, delta, select, wrap, 1);
}

void CQvView::MoveCursorToEnd(int select, int dir)
{
    int index = GetActivePaneIndex();
    INT64 delta = 0;
    int wrap = 0;
    if (index < 0 || !ComputeMoverDelta(MOVER_TO_END, *g_Panes[index], 1, dir, &delta, &wrap))
        return;
    MovePaneCursor(index, delta, select, wrap, 1);
}

void CQvView::StartAutoScroll(int dir)
{
    int index = GetActivePaneIndex();
    if (index < 0)
        return;
    const UINT mode = g_Panes[index]->m_mode;
    struct Repeat
    {
        UINT modes;
        UINT_PTR timer;
        int lines;
        int speed;
    };
    const Repeat repeats[] = {
        {PANE_MODES_TEXT_VIEWERS, VIEW_TIMER_TEXT_SCROLL, g_VIEWSCROLLLINE, g_VIEWSCROLLSPEED},
        {PANE_MODE_BINARY, VIEW_TIMER_BINARY_SCROLL, g_BINARYSCROLLLINE, g_BINARYSCROLLSPEED},
    };
    for (const Repeat& repeat : repeats)
    {
        if ((mode & repeat.modes) == 0)
            continue;
        // The other direction stops a running repeat; it does not turn it round.
        if (m_scrollRepeatDir != 0 && m_scrollRepeatDir != dir)
        {
            StopViewTimers(static_cast<int>(repeat.timer));
            return;
        }
        MoveCursorByLines(repeat.lines, 0, dir, 1);
        if (m_hWnd)
            SetTimer(repeat.timer, static_cast<UINT>(repeat.speed) * 20);
        m_scrollRepeatDir = dir;
    }
}
