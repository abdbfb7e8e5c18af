// What a text viewer does at the last mouse point: select the URL or the display line
// there, hand the URL to the shell, and the double-click actions that choose among
// them.
#include "app/Settings.h"
#include "app/settings/ViewerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/navigation/FileKindActions.h"
#include "viewers/text/ViewerSelection.h"

#include <vector>

namespace
{
ViewerTextView TextOf(const IPaneViewer& viewer)
{
    ViewerTextView t;
    t.text = viewer.Text();
    t.textLength = viewer.TextLength();
    t.lineIndex = viewer.LineIndex();
    t.lineCount = viewer.LineCount();
    return t;
}

// The text viewer pane (text form) under the point and its display line there; -1
// as pane when there is none.
int TextPaneUnder(CQvView& view, CPoint point, INT64* line)
{
    int index = -1;
    INT64 entry = -1;
    view.HitTest(point, &index, &entry);
    if (index < 0)
        return -1;
    CFilerPane* pane = g_Panes[index];
    if ((pane->m_mode & PANE_MODES_TEXT_VIEWERS) == 0 || pane->m_viewer == nullptr || pane->m_bHexDisplay)
        return -1;
    const PaneLayout& geo = view.m_layout.panes[index];
    const int lh = view.m_layout.lineHeight > 0 ? view.m_layout.lineHeight : 1;
    if (point.y < geo.originRow * lh)
        return -1;
    const int row = (point.y - geo.originRow * lh) / lh;
    if (row >= geo.rowsDrawn)
        return -1;
    *line = pane->m_viewer->GetTopLine() + row;
    if (*line >= pane->m_viewer->LineCount())
        return -1;
    return index;
}

void ClearShownSelection(CQvView& view, int index)
{
    ViewerSelection& selection = view.m_viewer.selection;
    const BOOL shown = selection.active || selection.dragging;
    selection.active = selection.dragging = FALSE;
    view.m_bTextDrag = FALSE;
    if (shown)
        view.RedrawViewerSpan(index, selection.anchor, selection.end);
}
} // namespace

void CQvView::SelectUrlAtPoint()
{
    const CPoint point = m_lastClickPoint;
    INT64 line = 0;
    const int index = TextPaneUnder(*this, point, &line);
    if (index < 0)
        return;
    CFilerPane* pane = g_Panes[index];
    INT64 position = 0;
    if (!ViewerPointToPosition(index, point, FALSE, &position) || !pane->LockViewerData())
        return;
    INT64 start = 0, end = 0;
    const BOOL found = FindViewerUrl(TextOf(*pane->m_viewer), line, position, &start, &end);
    pane->UnlockViewerData();
    if (!found)
        return;
    if (index == GetActivePaneIndex())
        ClearShownSelection(*this, index);
    else
        m_viewer.selection = ViewerSelection();
    m_viewer.selection.anchor = start;
    m_viewer.selection.end = end;
    m_viewer.selection.active = TRUE;
    RedrawViewerSpan(index, start, end);
}

void CQvView::SelectLineAtPoint()
{
    INT64 line = 0;
    const int index = TextPaneUnder(*this, m_lastClickPoint, &line);
    if (index < 0)
        return;
    CFilerPane* pane = g_Panes[index];
    if (!pane->LockViewerData())
        return;
    const INT64 start = pane->m_viewer->LineIndex()[line];
    const INT64 next = pane->m_viewer->LineIndex()[line + 1];
    pane->UnlockViewerData();
    ClearShownSelection(*this, index);
    m_viewer.selection.anchor = start;
    m_viewer.selection.end = next;
    m_viewer.selection.active = TRUE;
    RedrawViewerSpan(index, start, next);
}

void CQvView::OpenUrlAtPoint()
{
    SelectUrlAtPoint();
    const int index = GetActivePaneIndex();
    if (!m_viewer.selection.active || index < 0 || g_Panes[index]->m_viewer == nullptr)
        return;
    CFilerPane* pane = g_Panes[index];
    if (!pane->LockViewerData())
        return;
    const std::string bytes =
        ViewerSelectedBytes(TextOf(*pane->m_viewer), m_viewer.selection.anchor, m_viewer.selection.end);
    pane->UnlockViewerData();
    if (bytes.empty())
        return;
    // The text is in the system code page; the shell wants UTF-16.
    std::vector<wchar_t> url(bytes.size() * 2 + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                           url.data(), static_cast<int>(url.size()) - 1);
    if (length <= 0)
        return;
    url[static_cast<size_t>(length)] = L'\0';
    g_FileOpenSeam.shellExecute(m_hWnd, L"open", url.data(), nullptr, nullptr, SW_SHOWNORMAL);
}

int CQvView::RunViewerClickAction(const CString& keyword)
{
    if (keyword.CompareNoCase(L"@Closeviewer") == 0)
        OpenCursorEntry(0, 0);
    else if (keyword.CompareNoCase(L"@Selectoneline") == 0)
        SelectLineAtPoint();
    else if (keyword.CompareNoCase(L"@Selecturl") == 0)
        SelectUrlAtPoint();
    else if (keyword.CompareNoCase(L"@Startbyurl") == 0)
        OpenUrlAtPoint();
    else
        return 0;
    return 1;
}

void CQvView::OnRButtonDblClk(UINT flags, CPoint point)
{
    m_lastClickPoint = point;
    if (g_RIGHTMOUSEDISABLE || (flags & (MK_CONTROL | MK_SHIFT)))
        return;
    for (CFilerPane* pane : g_Panes)
        if (pane != nullptr && (pane->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
        {
            OpenCursorEntry(0, 0);
            return;
        }
    int index = -1;
    INT64 entry = -1;
    HitTest(point, &index, &entry);
    if (index >= 0 && (g_Panes[index]->m_mode & PANE_MODES_TEXT_VIEWERS) != 0)
        RunViewerClickAction(g_ViewerRightDblClickAct);
}
