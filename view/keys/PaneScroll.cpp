// Scrolling a pane by its scroll bar and by the mouse wheel: the visible part moves,
// the cursor stays on its entry.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/scroll/ScrollBars.h"
#include "viewers/binary/BinaryData.h"

// The steps of ScrollByBar and ScrollPane, defined after them.
static void ScrollPictureByAmount(CQvView& view, UINT code, int thumb, int amount);
static void ScrollTextDocument(CQvView& view, int paneIndex, UINT code, int thumb, int amount);
static void ScrollBinaryDocument(CQvView& view, int paneIndex, UINT code, int thumb, int amount);

namespace
{

constexpr UINT kListModes = PANE_MODE_FILER | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK;

} // namespace

void CQvView::OnVScroll(UINT code, UINT thumb, CWnd* bar)
{
    // The view's own bars (no bar window) belong to the shown picture.
    if (bar == nullptr && FindGraphicPane() >= 0)
    {
        ScrollPictureBar(SB_VERT, code, static_cast<int>(thumb));
        return;
    }
    ScrollByBar(code, static_cast<int>(thumb), bar != nullptr ? bar->m_hWnd : nullptr, 1);
}

// The stacked list panes carry a horizontal bar; it scrolls them as the vertical one
// scrolls the others.
void CQvView::OnHScroll(UINT code, UINT thumb, CWnd* bar)
{
    if (bar == nullptr && FindGraphicPane() >= 0)
    {
        ScrollPictureBar(SB_HORZ, code, static_cast<int>(thumb));
        return;
    }
    ScrollByBar(code, static_cast<int>(thumb), bar != nullptr ? bar->m_hWnd : nullptr, 1);
}

BOOL CQvView::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    if (ScrollViewerByWheel(flags, delta, point))
        return TRUE;
    // An operation of none leaves the wheel to the window's default handling.
    if (FindGraphicPane() >= 0)
        return TurnWheelOverPicture(flags, delta) ||
               (m_hWnd != nullptr && CView::OnMouseWheel(flags, delta, point));
    int steps = delta / WHEEL_DELTA;
    if (steps == 0)
        steps = delta > 0 ? 1 : (delta < 0 ? -1 : 0);
    if (steps != 0)
        ScrollByBar(steps > 0 ? SB_LINEUP : SB_LINEDOWN, 0, nullptr, steps > 0 ? steps : -steps);
    return TRUE;
}

void CQvView::ScrollByBar(UINT code, int thumb, HWND bar, int amount)
{
    StopViewTimers(VIEW_TIMER_TEXT_SCROLL);
    StopViewTimers(VIEW_TIMER_DRAG_SCROLL);
    StopViewTimers(VIEW_TIMER_BINARY_SCROLL);
    m_scrollRepeatDir = 0;
    CFilerPane* active =
        g_Panes[0] != nullptr && (g_Panes[0]->m_position & PANE_POS_ACTIVE) ? g_Panes[0] : g_Panes[1];
    if (active != nullptr && (active->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
    {
        // The picture fills the view and scrolls by the view's own bar; the pane bars
        // are hidden and move nothing.
        if (bar == nullptr)
            ScrollPictureByAmount(*this, code, thumb, amount);
        return;
    }
    int target = -1;
    if (bar == nullptr)
    {
        if (m_hWnd == nullptr)
            return;
        POINT point;
        GetCursorPos(&point);
        ::ScreenToClient(m_hWnd, &point);
        for (int i = 0; i < 2 && target < 0; ++i)
        {
            if (!IsPaneVisible(i))
                continue;
            CRect rect;
            GetPaneRect(nullptr, i, &rect);
            if (rect.PtInRect(point))
                target = i;
        }
        if (target < 0)
            return;
    }
    else
    {
        UINT id = static_cast<UINT>(::GetDlgCtrlID(bar));
        for (int i = 0; i < 2; ++i)
            if (id == m_scroll.barIds[0][i])
                target = i;
    }
    if (target < 0)
        return;
    int rangeMin = 0;
    int rangeMax = 0;
    if (bar != nullptr)
        GetScrollRange(bar, SB_CTL, &rangeMin, &rangeMax);
    ScrollPane(target, code, thumb, rangeMin, rangeMax, amount);
}

// The view's vertical picture bar moved by a code and an amount of steps (the
// wheel's notches); only while a picture is shown.
static void ScrollPictureByAmount(CQvView& view, UINT code, int thumb, int amount)
{
    if (view.m_graphic.state != GRAPHIC_STATE_SHOWN)
        return;
    // A page is a share of the client height, so that a turn of several notches moves
    // as far on a tall window as on a small one.
    const int page = amount * view.m_layout.clientHeight / 100;
    int next = view.m_graphic.vPos;
    switch (code)
    {
    case SB_LINEUP:
        next -= amount;
        break;
    case SB_LINEDOWN:
        next += amount;
        break;
    case SB_PAGEUP:
        next -= page;
        break;
    case SB_PAGEDOWN:
        next += page;
        break;
    case SB_THUMBPOSITION:
        next = thumb;
        break;
    case SB_BOTTOM:
        next = view.m_graphic.vMax;
        break;
    default:
        return;
    }
    // Clamped to the bar's range, the offset set and the picture redrawn there.
    view.ScrollPictureBar(SB_VERT, SB_THUMBPOSITION, next);
}

void CQvView::ScrollPane(int paneIndex, UINT code, int thumb, int rangeMin, int rangeMax, int amount)
{
    CFilerPane* pane = PaneAt(paneIndex);
    if (pane == nullptr)
        return;
    int active = GetActivePaneIndex();
    if (active >= 0 && (g_Panes[active]->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
        return;
    if ((pane->m_position & PANE_POS_OTHER) != 0)
    {
        // A turn of the wheel over the other pane only makes it the active one.
        SwitchActivePane(-1);
        return;
    }
    const bool draw = m_hWnd != nullptr && IsPaneVisible(paneIndex);
    const INT64 count = pane->GetEntryCount();
    const INT64 old = pane->m_firstVisible;
    INT64 first = old;
    if ((pane->m_mode & kListModes) != 0)
    {
        const INT64 lines = pane->m_linesInUse;
        const INT64 columns = pane->m_columnsInUse;
        INT64 step = pane->m_bPreviewLayout || m_layout.split ? columns : lines;
        // Before the first layout the grid can be empty; a step of 0 would never
        // leave the loops below.
        if (step < 1)
            step = 1;
        switch (code)
        {
        case SB_LINEUP:
            first -= amount * step;
            break;
        case SB_LINEDOWN:
            first += amount * step;
            break;
        case SB_PAGEUP:
            first -= amount * lines * columns;
            break;
        case SB_PAGEDOWN:
            first += amount * lines * columns;
            break;
        case SB_THUMBPOSITION:
            first = rangeMax > rangeMin ? thumb * step : 0;
            break;
        case SB_TOP:
            first = 0;
            break;
        case SB_BOTTOM:
            while (first + step < count)
                first += step;
            break;
        default:
            return;
        }
        if (first < 0 || count < step)
            first = 0;
        else
            while (first >= count && first > 0)
                first -= step;
        if (first < 0)
            first = 0;
        if (first != old)
        {
            pane->m_firstVisible = first;
            if (draw)
            {
                m_paneRedrawRequest[paneIndex] = 1;
                DrawPane(paneIndex);
                DrawCursorLine(paneIndex, (pane->m_position & PANE_POS_ACTIVE) != 0);
                if ((pane->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) != 0)
                    DrawMarks(paneIndex);
            }
        }
    }
    else if (pane->m_mode == PANE_MODE_DRIVE_LIST)
    {
        const INT64 lines = pane->m_linesInUse > 0 ? pane->m_linesInUse : 1;
        switch (code)
        {
        case SB_LINEUP:
            first -= amount;
            break;
        case SB_LINEDOWN:
            first += amount;
            break;
        case SB_PAGEUP:
            first -= amount * lines;
            break;
        case SB_PAGEDOWN:
            first += amount * lines;
            break;
        case SB_THUMBPOSITION:
            first = thumb;
            break;
        case SB_TOP:
            first = 0;
            break;
        case SB_BOTTOM:
            first = count - lines;
            break;
        default:
            return;
        }
        if (first > count - lines)
            first = count - lines;
        if (first < 0)
            first = 0;
        if (first != old)
        {
            pane->m_firstVisible = first;
            if (draw)
            {
                m_paneRedrawRequest[paneIndex] = 1;
                DrawPane(paneIndex);
                DrawCursorLine(paneIndex, (pane->m_position & PANE_POS_ACTIVE) != 0);
            }
        }
    }
    else if ((pane->m_mode & PANE_MODES_TEXT_VIEWERS) != 0 && (code == SB_LINEUP || code == SB_LINEDOWN))
        MoveCursorByLines(amount, 0, code == SB_LINEUP ? -1 : 1, 1);
    else if ((pane->m_mode & PANE_MODES_TEXT_VIEWERS) != 0)
        ScrollTextDocument(*this, paneIndex, code, thumb, amount);
    else if (pane->m_mode == PANE_MODE_BINARY)
        ScrollBinaryDocument(*this, paneIndex, code, thumb, amount);
}

// The first line a scroll code asks for, from the current one: a page is pageLines, the
// thumb stands for a line as the bar was set (up to the last line that can be at the
// top), the bottom is that last line. Returns false for a code that moves nothing.
static bool DocumentLineForCode(UINT code, int thumb, int amount, INT64 current, INT64 pageLines, INT64 last,
                                INT64* first)
{
    switch (code)
    {
    case SB_LINEUP:
        *first = current - amount;
        return true;
    case SB_LINEDOWN:
        *first = current + amount;
        return true;
    case SB_PAGEUP:
        *first = current - amount * pageLines;
        return true;
    case SB_PAGEDOWN:
        *first = current + amount * pageLines;
        return true;
    case SB_THUMBPOSITION:
        *first = LineFromScrollThumb(last, thumb);
        return true;
    case SB_TOP:
        *first = 0;
        return true;
    case SB_BOTTOM:
        *first = last;
        return true;
    default:
        return false;
    }
}

// The text viewer and the binary editor move their first shown line by a scroll code.
static void ScrollTextDocument(CQvView& view, int paneIndex, UINT code, int thumb, int amount)
{
    CFilerPane* pane = g_Panes[paneIndex];
    if (pane->m_viewer == nullptr)
        return;
    const int rows =
        view.m_layout.panes[paneIndex].rowsFull > 0 ? view.m_layout.panes[paneIndex].rowsFull : 1;
    const INT64 top = pane->m_viewer->GetTopLine();
    INT64 first = top;
    if (!DocumentLineForCode(code, thumb, amount, top, rows, LastFirstDocumentLine(*pane, rows), &first))
        return;
    // The viewer clamps to its last page and to the first line.
    if (pane->ScrollViewerLines(first - top, rows, FALSE) != 0 && view.m_hWnd != nullptr &&
        view.IsPaneVisible(paneIndex))
    {
        view.m_paneRedrawRequest[paneIndex] = 1;
        view.DrawPane(paneIndex);
    }
}

static void ScrollBinaryDocument(CQvView& view, int paneIndex, UINT code, int thumb, int amount)
{
    CBinaryData* data = view.BinaryDataOf(paneIndex);
    if (data == nullptr)
        return;
    const bool draw = view.m_hWnd != nullptr && view.IsPaneVisible(paneIndex);
    // The caret cell is drawn plain before the rows move under it.
    if (draw)
        view.DrawBinaryPane(paneIndex, 2);
    const int shown = view.BinaryShownLines(paneIndex);
    const INT64 top = data->m_firstLine;
    INT64 first = top;
    if (!DocumentLineForCode(
            code, thumb, amount, top, shown,
            LastFirstDocumentLine(*g_Panes[paneIndex], view.m_layout.panes[paneIndex].rowsFull), &first))
    {
        if (draw)
            view.DrawBinaryPane(paneIndex, 1);
        return;
    }
    data->m_firstLine = first;
    data->ScrollToCursor(shown, 0);
    if (draw)
    {
        if (data->m_firstLine != top)
        {
            view.m_paneRedrawRequest[paneIndex] = 1;
            view.DrawPane(paneIndex);
        }
        view.DrawBinaryPane(paneIndex, 1);
    }
}
