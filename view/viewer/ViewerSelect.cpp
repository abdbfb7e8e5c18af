// The text viewer's selection in the view: the selection keys, select-all and the
// copy of the selected text to the clipboard.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "viewers/text/ViewerSelection.h"

#include <cstring>
#include <string>

namespace
{
CFilerPane* ActiveTextViewer(CQvView& view, int& index)
{
    index = view.GetActivePaneIndex();
    return TextViewerPaneAt(index);
}

ViewerTextView TextOf(const IPaneViewer& viewer)
{
    ViewerTextView t;
    t.text = viewer.Text();
    t.textLength = viewer.TextLength();
    t.lineIndex = viewer.LineIndex();
    t.lineCount = viewer.LineCount();
    return t;
}

void RedrawPaneBody(CQvView& view, int index)
{
    if (view.m_hWnd == nullptr)
        return;
    view.m_paneRedrawRequest[index] = 1;
    view.DrawPane(index);
}

// CF_TEXT wants a terminated block in the system code page, which the text already is.
BOOL PutTextOnClipboard(HWND owner, const std::string& bytes)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
    if (block == nullptr)
        return FALSE;
    char* p = static_cast<char*>(GlobalLock(block));
    if (p == nullptr)
    {
        GlobalFree(block);
        return FALSE;
    }
    memcpy(p, bytes.data(), bytes.size());
    p[bytes.size()] = '\0';
    GlobalUnlock(block);
    if (!OpenClipboard(owner))
    {
        GlobalFree(block);
        return FALSE;
    }
    EmptyClipboard();
    const BOOL ok = SetClipboardData(CF_TEXT, block) != nullptr;
    CloseClipboard();
    if (!ok)
        GlobalFree(block);
    return ok;
}
} // namespace

void CQvView::ExtendViewerSelection(INT64 byteStep, INT64 lineStep)
{
    int index = 0;
    CFilerPane* pane = ActiveTextViewer(*this, index);
    // The keys step through lines, which the hexadecimal form does not show.
    if (pane == nullptr || pane->m_bHexDisplay || !pane->LockViewerData())
        return;
    StopViewTimers(VIEW_TIMER_DRAG_SCROLL);
    IPaneViewer& viewer = *pane->m_viewer;
    const ViewerTextView t = TextOf(viewer);
    const INT64 top = viewer.GetTopLine();
    if (!m_viewer.selection.active)
    {
        const INT64 start = top < t.lineCount ? t.lineIndex[top] : 0;
        m_viewer.selection.anchor = m_viewer.selection.end = start;
        m_viewer.selection.active = TRUE;
    }
    m_viewer.selection.end = NextViewerCaret(t, m_viewer.selection.end, byteStep, lineStep);
    const INT64 caretLine = FindViewerLine(t, top, m_viewer.selection.end);
    pane->UnlockViewerData();

    const int rows = m_layout.panes[index].rowsDrawn > 0 ? m_layout.panes[index].rowsDrawn : 1;
    INT64 delta = 0;
    if (caretLine < top)
        delta = caretLine - top;
    else if (caretLine >= top + rows)
        delta = caretLine - rows + 1 - top;
    if (delta != 0)
        pane->ScrollViewerLines(delta, rows, FALSE);
    RedrawPaneBody(*this, index);
}

// The selection steps of the "@Select" keywords: 0 left, 1 right, 2 up, 3 down, 4
// and 5 a page, 6 and 7 half a page, 8 and 9 to the first and the last line.
VIEW_COMMAND(MoveViewerSelection)
{
    int index = 0;
    CFilerPane* pane = ActiveTextViewer(view, index);
    if (pane == nullptr)
        return;
    const INT64 rows = view.m_layout.panes[index].rowsDrawn > 0 ? view.m_layout.panes[index].rowsDrawn : 1;
    const INT64 all = pane->m_viewer->LineCount() + 1;
    // Left, right, up, down, page up and down, half pages, to the first and last line.
    const INT64 bytes[] = {-1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    const INT64 lines[] = {0, 0, -1, 1, -rows, rows, -(rows / 2), rows / 2, -all, all};
    if (value < 0 || value > 9)
        return;
    INT64 lineStep = lines[value];
    if (bytes[value] == 0 && lineStep == 0)
        lineStep = value % 2 == 0 ? -1 : 1;
    view.ExtendViewerSelection(bytes[value], lineStep);
}

VIEW_COMMAND(SelectAllText)
{
    int index = 0;
    CFilerPane* pane = ActiveTextViewer(view, index);
    if (pane == nullptr)
        return;
    view.m_viewer.selection.anchor = 0;
    view.m_viewer.selection.end = 0;
    // The hexadecimal form shows bytes, not the text a selection stands for.
    if (pane->m_bHexDisplay)
    {
        view.m_viewer.selection.active = FALSE;
        RedrawPaneBody(view, index);
        return;
    }
    view.m_viewer.selection.end = pane->m_viewer->TextLength();
    view.m_viewer.selection.active = TRUE;
    RedrawPaneBody(view, index);
}

void CQvView::CopyTextSelection()
{
    int index = 0;
    CFilerPane* pane = ActiveTextViewer(*this, index);
    if (pane == nullptr || !m_viewer.selection.active || !pane->LockViewerData())
        return;
    const std::string bytes =
        ViewerSelectedBytes(TextOf(*pane->m_viewer), m_viewer.selection.anchor, m_viewer.selection.end);
    pane->UnlockViewerData();
    if (!bytes.empty())
        PutTextOnClipboard(m_hWnd, bytes);
}
