// The left button in a text viewer pane: a press starts a drag selection (Shift moves
// the end of the selection there is), moving extends it and scrolls the text while the
// mouse stands above or below it, faster after a while, and the release ends it. Timer
// 6 replays the last move so that the scroll goes on while the mouse stands still.
#include "app/Settings.h"
#include "app/settings/ViewerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"

namespace
{
// The first and the last pixel row (exclusive) of the pane's text or byte rows, and
// how many of them there are: the hexadecimal form gives its first row to the header.
struct TextBand
{
    int top = 0;
    int bottom = 0;
    int rows = 1;
};

TextBand BandOf(const CQvView& view, int index, const CFilerPane& pane)
{
    const PaneLayout& geo = view.m_layout.panes[index];
    const int lh = view.m_layout.lineHeight > 0 ? view.m_layout.lineHeight : 1;
    const int header = pane.m_bHexDisplay ? 1 : 0;
    TextBand band;
    band.top = (geo.originRow + header) * lh;
    band.bottom = (geo.originRow + geo.rowsDrawn) * lh;
    band.rows = geo.rowsFull - header > 0 ? geo.rowsFull - header : 1;
    return band;
}
} // namespace

int CQvView::ViewerMouseDown(UINT flags, CPoint point)
{
    const int index = m_clickPane;
    CFilerPane* pane = TextViewerPaneAt(index);
    if (pane == nullptr || (pane->m_position & PANE_POS_ACTIVE) == 0)
        return 0;
    m_dragPoint = point;
    ViewerSelection& selection = m_viewer.selection;
    const TextBand band = BandOf(*this, index, *pane);
    const INT64 oldAnchor = selection.anchor;
    const INT64 oldEnd = selection.end;
    const BOOL shown = selection.active || selection.dragging;
    INT64 offset = 0;
    if (point.y < band.top || point.y >= band.bottom || !ViewerPointToPosition(index, point, FALSE, &offset))
    {
        // Above or below the text: the selection goes, no drag begins.
        selection.active = selection.dragging = FALSE;
        m_bTextDrag = FALSE;
        if (shown)
            RedrawViewerSpan(index, oldAnchor, oldEnd);
        return 1;
    }
    if (selection.active)
    {
        if (flags & MK_SHIFT)
        {
            m_dragScrollCount = 0;
            selection.end = offset;
            RedrawViewerSpan(index, oldEnd, offset, TRUE);
        }
        else
        {
            selection.active = FALSE;
            RedrawViewerSpan(index, oldAnchor, oldEnd);
        }
        return 1;
    }
    if (m_hWnd)
    {
        ::SetCapture(m_hWnd);
        SetTimer(VIEW_TIMER_DRAG_SCROLL, 20);
    }
    m_bTextDrag = TRUE;
    m_dragScrollCount = 0;
    selection.anchor = selection.end = offset;
    selection.dragging = TRUE;
    return 1;
}

int CQvView::ViewerMouseMove(CPoint point)
{
    if (!m_bTextDrag)
        return 0;
    StopViewTimers(VIEW_TIMER_DRAG_SCROLL);
    const int index = GetActivePaneIndex();
    CFilerPane* pane = TextViewerPaneAt(index);
    if (pane == nullptr)
    {
        m_bTextDrag = FALSE;
        return 1;
    }
    IPaneViewer& viewer = *pane->m_viewer;
    m_dragPoint = point;
    const TextBand band = BandOf(*this, index, *pane);
    const BOOL hex = pane->m_bHexDisplay;
    INT64 step = 0;
    if (point.y < band.top || point.y >= band.bottom)
    {
        ++m_dragScrollCount;
        step = m_dragScrollCount > g_FASTSCROLLCOUNT && g_FASTSCROLLINE > 0 ? g_FASTSCROLLINE : 1;
        if (point.y < band.top)
            step = -step;
    }
    else
        m_dragScrollCount = 0;
    const INT64 scrolled = step != 0 ? pane->ScrollViewerLines(step, band.rows + (hex ? 1 : 0), FALSE) : 0;
    const INT64 top = viewer.GetTopLine();
    INT64 end = 0;
    if (step == 0)
    {
        if (!ViewerPointToPosition(index, point, FALSE, &end))
            return 1;
    }
    else
    {
        if (!pane->LockViewerData())
            return 1;
        const INT64 length = viewer.TextLength();
        const INT64 count = viewer.LineCount();
        if (hex)
            end = step < 0 ? top * 16 : (top + band.rows) * 16;
        else if (step < 0)
            end = top < count ? viewer.LineIndex()[top] : length;
        else
            end = top + band.rows < count ? viewer.LineIndex()[top + band.rows] : length;
        if (end > length)
            end = length;
        pane->UnlockViewerData();
    }
    ViewerSelection& selection = m_viewer.selection;
    const INT64 previous = selection.end;
    selection.end = end;
    if (m_hWnd && IsPaneVisible(index))
    {
        if (scrolled != 0)
            ScrollViewerPane(index, static_cast<int>(scrolled));
        if (end != previous || scrolled != 0)
        {
            // Whatever lies between the old and the new end changed sides, on either
            // side of the anchor.
            RedrawViewerSpan(index, previous, end);
        }
        SetTimer(VIEW_TIMER_DRAG_SCROLL, 20);
    }
    return 1;
}

int CQvView::ViewerMouseUp()
{
    const int index = GetActivePaneIndex();
    if (TextViewerPaneAt(index) == nullptr)
        return 0;
    ViewerSelection& selection = m_viewer.selection;
    if (m_bTextDrag)
    {
        // Cleared first: releasing the capture reports the change back to this window.
        m_bTextDrag = FALSE;
        selection.active = selection.end != selection.anchor;
        selection.dragging = FALSE;
        if (m_hWnd && ::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    return 1;
}

BOOL CQvView::ScrollViewerByWheel(UINT flags, short delta, CPoint screenPoint)
{
    for (CFilerPane* pane : g_Panes)
        if (pane != nullptr && (pane->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
            return FALSE;
    CPoint point = screenPoint;
    if (m_hWnd)
        ::ScreenToClient(m_hWnd, &point);
    int index = -1;
    INT64 entry = -1;
    HitTest(point, &index, &entry);
    CFilerPane* pane = TextViewerPaneAt(index);
    if (pane == nullptr)
        return FALSE;
    // A wheel that reports finer steps than a notch moves nothing until a whole notch
    // has come together.
    const int notches = delta / WHEEL_DELTA;
    if (notches == 0)
        return TRUE;
    StopViewTimers(VIEW_TIMER_TEXT_SCROLL);
    const int rowsFull = m_layout.panes[index].rowsFull > 0 ? m_layout.panes[index].rowsFull : 1;
    const TextBand band = BandOf(*this, index, *pane);
    const INT64 perNotch = (flags & MK_SHIFT) ? band.rows : 1;
    const INT64 scrolled = pane->ScrollViewerLines(-static_cast<INT64>(notches) * perNotch, rowsFull, FALSE);
    if (scrolled != 0 && m_hWnd && IsPaneVisible(index))
    {
        // Within a page only the uncovered rows are drawn.
        if (scrolled > rowsFull || -scrolled > rowsFull)
        {
            m_paneRedrawRequest[index] = 1;
            DrawPane(index);
        }
        else
            ScrollViewerPane(index, static_cast<int>(scrolled));
    }
    return TRUE;
}
