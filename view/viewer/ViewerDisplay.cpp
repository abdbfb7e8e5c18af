// The text viewer's two forms (lines of text, rows of sixteen bytes), the byte under a
// point in either, and the scroll that brings a found range into sight.
#include "app/Settings.h"
#include "app/settings/ViewSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/viewer/HexDump.h"
#include "viewers/text/ViewerHitTest.h"
#include "viewers/text/ViewerSelection.h"

namespace
{
void RedrawWholeViewer(CQvView& view, int index)
{
    if (view.m_hWnd == nullptr)
        return;
    view.m_paneRedrawRequest[index] = 1;
    view.DrawPane(index);
}
} // namespace

VIEW_COMMAND(ToggleHexDisplay)
{
    const int index = view.GetActivePaneIndex();
    CFilerPane* pane = TextViewerPaneAt(index);
    if (pane == nullptr)
        return;
    IPaneViewer& viewer = *pane->m_viewer;
    pane->m_bHexDisplay = !pane->m_bHexDisplay;
    // Lines and rows of bytes count differently: the form starts again at its top,
    // and a search goes on from the start with a new text.
    viewer.SetTopLine(0);
    viewer.SetSearch("", 0, FALSE, 0);
    viewer.SetSearchStart(0);
    view.m_viewer.selection = ViewerSelection();
    view.m_bTextDrag = FALSE;
    RedrawWholeViewer(view, index);
}

BOOL CQvView::ViewerPointToPosition(int index, CPoint point, BOOL after, INT64* offset)
{
    CFilerPane* pane = TextViewerPaneAt(index);
    if (pane == nullptr || !pane->LockViewerData())
        return FALSE;
    IPaneViewer& viewer = *pane->m_viewer;
    const PaneLayout& geo = m_layout.panes[index];
    const int cw = m_layout.charWidth > 0 ? m_layout.charWidth : 1;
    const int lh = m_layout.lineHeight > 0 ? m_layout.lineHeight : 1;
    if (pane->m_bHexDisplay)
    {
        // Row 0 of the body is the column header; the bytes begin below it.
        const int column = point.x / cw - geo.originColumn;
        const int row = (point.y - geo.originRow * lh) / lh - 1;
        *offset =
            HexPointToPosition(viewer.Text(), viewer.TextLength(), viewer.GetTopLine(), column, row, after);
    }
    else
    {
        ViewerPointFrame frame;
        frame.text = viewer.Text();
        frame.textLength = viewer.TextLength();
        frame.lineIndex = viewer.LineIndex();
        frame.lineCount = viewer.LineCount();
        frame.topLine = viewer.GetTopLine();
        frame.tabWidth = viewer.GetTabWidth();
        frame.left = (geo.originColumn + (g_VIEWNUMBER ? 6 : 0)) * cw;
        frame.top = geo.originRow * lh;
        frame.charWidth = cw;
        frame.lineHeight = lh;
        frame.clientWidth = m_viewer.textRight[index] > 0 ? m_viewer.textRight[index] : m_layout.clientWidth;
        *offset = ::ViewerPointToPosition(frame, point.x, point.y, after);
    }
    pane->UnlockViewerData();
    return TRUE;
}

void CQvView::ScrollViewerToRange(int index, INT64 oldStart, INT64 oldEnd, INT64 newStart, INT64 newEnd,
                                  BOOL fullRedraw)
{
    CFilerPane* pane = TextViewerPaneAt(index);
    if (pane == nullptr)
        return;
    IPaneViewer& viewer = *pane->m_viewer;
    const int rows = m_layout.panes[index].rowsDrawn > 0 ? m_layout.panes[index].rowsDrawn : 1;
    const INT64 oldTop = viewer.GetTopLine();
    INT64 line = 0;
    if (pane->m_bHexDisplay)
        line = newStart / 16;
    else
    {
        if (!pane->LockViewerData())
            return;
        ViewerTextView t;
        t.text = viewer.Text();
        t.textLength = viewer.TextLength();
        t.lineIndex = viewer.LineIndex();
        t.lineCount = viewer.LineCount();
        line = FindViewerLine(t, oldTop < t.lineCount ? oldTop : 0, newStart);
        pane->UnlockViewerData();
    }
    viewer.SetTopLine(line - rows / 2 < 0 ? 0 : line - rows / 2);
    // Clamped so that the last page stays full.
    pane->ScrollViewerLines(0, rows, FALSE);
    const INT64 moved = viewer.GetTopLine() - oldTop;
    if (m_hWnd == nullptr || !IsPaneVisible(index))
        return;
    if (fullRedraw || moved > rows / 2 || -moved > rows / 2)
    {
        RedrawWholeViewer(*this, index);
        return;
    }
    if (moved != 0)
        ScrollViewerPane(index, static_cast<int>(moved));
    if (oldStart >= 0 && oldEnd >= 0)
        RedrawViewerSpan(index, oldStart, oldEnd);
    RedrawViewerSpan(index, newStart, newEnd);
}
