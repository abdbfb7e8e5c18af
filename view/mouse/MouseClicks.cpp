// The left button on the panes: a click moves the cursor, Ctrl toggles the mark of
// the clicked entry, Shift marks the range from the old cursor; a click in the
// header's drive bar changes drive; a click where no entry is only activates.
#include "app/Settings.h"
#include "app/settings/ViewerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/mouse/MouseClicks.h"
#include "view/mouse/ShellDragSeam.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"

namespace
{
const UINT kFilerLikeModes = PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK;
} // namespace

void CQvView::HitTest(CPoint point, int* pane, INT64* entry)
{
    *pane = -1;
    *entry = -1;
    // A picture fills the client area: the whole of it is the graphic pane.
    for (int index = 0; index < 2; ++index)
        if (g_Panes[index] != nullptr && (g_Panes[index]->m_position & PANE_POS_ACTIVE) != 0 &&
            (g_Panes[index]->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
        {
            *pane = index;
            return;
        }
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* target = g_Panes[index];
        if (target == nullptr || (target->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) == 0)
            continue;
        CRect area;
        GetPaneRect(nullptr, index, &area);
        if (!area.PtInRect(point))
            continue;
        *pane = index;
        if ((target->m_mode & kFilerLikeModes) == 0)
            return;
        const PaneLayout& layout = m_layout.panes[index];
        for (int i = 0; i < layout.columnsDrawn; ++i)
            for (int j = 0; j < layout.rowsDrawn; ++j)
            {
                INT64 at = 0;
                int column = 0;
                int row = 0;
                GetEntryCell(index, i, j, &at, &column, &row, FALSE);
                if (at >= target->GetEntryCount())
                    continue;
                CRect cell(column * m_layout.charWidth, row * m_layout.lineHeight,
                           (column + layout.cellWidth) * m_layout.charWidth,
                           (row + layout.cellHeight) * m_layout.lineHeight);
                if (cell.PtInRect(point))
                {
                    *entry = at;
                    return;
                }
            }
        return;
    }
}

int ClickPane(CQvView& view, UINT flags, CPoint point)
{
    CViewBusyGuard busy(view);
    view.m_lastClickPoint = point;
    for (CFilerPane* pane : g_Panes)
        if (pane != nullptr && (pane->m_mode & PANE_MODES_GRAPHIC_VIEWERS))
            return 0;
    view.HitTest(point, &view.m_clickPane, &view.m_clickEntry);
    if (wchar_t letter = view.DriveBarClick(point))
    {
        view.ChangeDrive(letter);
        return 1;
    }
    if (view.m_clickPane < 0)
        return 0;
    CFilerPane& pane = *g_Panes[view.m_clickPane];
    const bool markable = (pane.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) != 0;
    if (view.ViewerMouseDown(flags, point))
        return 1;
    if ((pane.m_position & PANE_POS_ACTIVE) == 0)
    {
        // A click into the other pane makes it the active one, the cursor on the entry.
        view.SwitchActivePane(static_cast<int>(view.m_clickEntry));
        if ((flags & MK_CONTROL) && markable && view.m_clickEntry >= 0)
            view.MarkCursorEntry(0, 1);
        return 1;
    }
    if (pane.m_mode == PANE_MODE_BINARY)
    {
        view.ClickBinaryPane(view.m_clickPane, point, flags);
        // The drag keeps the mouse so rows beyond the pane's edge still select.
        view.m_binary.dragPane = view.m_clickPane;
        view.m_dragPoint = point;
        if (view.m_hWnd)
        {
            ::SetCapture(view.m_hWnd);
            // The mouse may stop beyond the pane's edge: the timer replays the move.
            view.SetTimer(VIEW_TIMER_DRAG_SCROLL_2, 20);
        }
    }
    if ((pane.m_mode & kFilerLikeModes) == 0 || view.m_clickEntry < 0)
        return 0;
    const int index = view.m_clickPane;
    if (view.m_hWnd)
        view.DrawCursorLine(index, 0);
    const INT64 oldCursor = pane.m_cursor;
    pane.m_cursor = view.m_clickEntry;
    if (markable)
    {
        if (flags & MK_CONTROL)
            view.MarkCursorEntry(0, 1);
        else if (flags & MK_SHIFT)
        {
            if (view.m_clickEntry == oldCursor)
            {
                if (!pane.m_entries[static_cast<INT_PTR>(view.m_clickEntry)].m_mark)
                    view.MarkCursorEntry(0, 1);
            }
            else
            {
                const INT64 low = oldCursor < view.m_clickEntry ? oldCursor : view.m_clickEntry;
                const INT64 high = oldCursor < view.m_clickEntry ? view.m_clickEntry : oldCursor;
                for (INT64 i = low; i <= high && i < pane.m_entries.GetSize(); ++i)
                {
                    // The dot entries take no mark: they are never a target.
                    if (pane.m_entries[static_cast<INT_PTR>(i)].IsDots())
                        continue;
                    pane.SetEntryMark(static_cast<INT_PTR>(i),
                                      pane.m_entries[static_cast<INT_PTR>(i)].m_mark ? 0 : 1);
                }
                if (view.m_hWnd)
                {
                    view.m_paneRedrawRequest[index] = 1;
                    view.DrawPane(index);
                }
            }
        }
        else
            view.m_keys.selectionAnchor[index] = -1;
    }
    if (view.m_hWnd)
    {
        view.DrawStatusLine(STATUS_PART_UPDATE);
        view.DrawCursorLine(index, 1);
    }
    // The press may be the start of a drag of the grabbed files into another program.
    const int dropped =
        (flags & MK_CONTROL) == 0 && pane.m_mode == PANE_MODE_FILER ? StartShellDrag(view, index) : 0;
    view.UpdateAuxiliaryWindows();
    return dropped ? 2 : 1;
}

void CQvView::OnLButtonDown(UINT flags, CPoint point)
{
    m_bShellDragStarted = 0;
    // After files were dropped elsewhere the program that took them stays in front.
    if ((g_LEFTMOUSEDISABLE || ClickPane(*this, flags, point) != 2) && m_hWnd && GetParent())
        ::SetActiveWindow(GetParent()->m_hWnd);
}

void CQvView::OnRButtonDown(UINT, CPoint point)
{
    m_lastClickPoint = point;
    if (m_hWnd && GetParent())
        ::SetActiveWindow(GetParent()->m_hWnd);
    if (g_RIGHTMOUSEDISABLE)
        return;
    CViewBusyGuard busy(*this);
    int pane = -1;
    INT64 entry = -1;
    HitTest(point, &pane, &entry);
    if (pane >= 0)
        ShowContextMenu(pane, point, 0);
}

void CQvView::OnLButtonDblClk(UINT flags, CPoint point)
{
    m_lastClickPoint = point;
    if (g_LEFTMOUSEDISABLE || (flags & (MK_CONTROL | MK_SHIFT)))
        return;
    if (FindGraphicPane() >= 0)
    {
        DoubleClickOnPicture();
        return;
    }
    if (m_clickPane >= 0 && (g_Panes[m_clickPane]->m_mode & PANE_MODES_TEXT_VIEWERS) != 0)
    {
        RunViewerClickAction(g_ViewerLeftDblClickAct);
        return;
    }
    int index = GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & kFilerLikeModes) == 0)
        return;
    if (m_clickEntry >= 0)
        OpenCursorEntry(0, 0);
    else if (g_EMPTYDBLCLICKUPDIR)
        GoParentDirectory();
}

void CQvView::OnMouseMove(UINT flags, CPoint point)
{
    if (m_binary.dragPane >= 0)
    {
        if ((flags & MK_LBUTTON) && g_Panes[m_binary.dragPane]->m_mode == PANE_MODE_BINARY)
        {
            m_dragPoint = point;
            DragBinarySelection(m_binary.dragPane, point);
            if (m_hWnd)
                SetTimer(VIEW_TIMER_DRAG_SCROLL_2, 20);
        }
        return;
    }
    ViewerMouseMove(point);
}

namespace
{
// Stops the drag timers and ends a drag selection in a viewer or binary pane.
void EndMouseDrag(CQvView& view)
{
    for (int timer :
         {VIEW_TIMER_TEXT_SCROLL, VIEW_TIMER_DRAG_SCROLL, VIEW_TIMER_BINARY_SCROLL, VIEW_TIMER_DRAG_SCROLL_2})
        view.StopViewTimers(timer);
    if (view.m_binary.dragPane >= 0)
    {
        view.m_binary.dragPane = -1;
        if (view.m_hWnd && ::GetCapture() == view.m_hWnd)
            ::ReleaseCapture();
    }
    view.ViewerMouseUp();
}
} // namespace

void CQvView::OnLButtonUp(UINT, CPoint)
{
    if (g_LEFTMOUSEDISABLE)
        return;
    EndMouseDrag(*this);
}

LRESULT CQvView::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    // Without the capture no button-up reaches this window: a dialog or another
    // program that took the mouse would leave the drag and its scroll timer running
    // and the next plain move would still extend the selection.
    if (reinterpret_cast<HWND>(lParam) != m_hWnd && (m_bTextDrag || m_binary.dragPane >= 0))
        EndMouseDrag(*this);
    return 0;
}
