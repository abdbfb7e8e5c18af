// The viewer commands that load or wrap the shown text again: the character code,
// the tab width, a reload of the file, and the line-number gutter.
#include "app/Settings.h"
#include "app/settings/ViewerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"

namespace
{
CFilerPane* ActiveTextViewer(CQvView& view, int& index)
{
    index = view.GetActivePaneIndex();
    return TextViewerPaneAt(index);
}

void RedrawViewer(CQvView& view, int index)
{
    if (view.m_hWnd == nullptr)
        return;
    view.m_paneRedrawRequest[index] = 1;
    view.DrawPane(index);
}
} // namespace

void CQvView::RewrapViewerPanes(int lineWidth, int tabWidth)
{
    int index;
    CFilerPane* pane = ActiveTextViewer(*this, index);
    if (pane == nullptr)
        return;
    const int width = lineWidth < 0 ? pane->m_viewer->GetLineWidth() : lineWidth;
    const int tab = tabWidth < 0 ? pane->m_viewer->GetTabWidth() : tabWidth;
    if (width == pane->m_viewer->GetLineWidth() && tab == pane->m_viewer->GetTabWidth())
        return;
    pane->LoadViewerData(tab, width);
    RedrawViewer(*this, index);
}

void CQvView::OnViewerLineWidthPreset(UINT id)
{
    if (id < 618 || id > 622)
        return;
    g_VIEWCHARWIDE = g_ViewerLineWidths[id - 618];
    RewrapViewerPanes(g_VIEWCHARWIDE, -1);
}

void CQvView::SetViewerEncoding(int value)
{
    const int code = value;
    g_VIEWER_CHAR_CODE = code;
    int index;
    CFilerPane* pane = ActiveTextViewer(*this, index);
    if (pane == nullptr)
        return;
    const int shown = pane->GetViewerEncoding();
    const int detected = pane->GetViewerEncodingDetail();
    if (code != 5 ? shown == code : (detected == 0 || detected == 2 || detected == 4) && detected == shown)
        return;
    const int tab = pane->m_viewer->GetTabWidth();
    const int width = pane->m_viewer->GetLineWidth();
    pane->ReleaseViewerData();
    if (pane->OpenViewerFile(pane->m_viewerEntry, static_cast<LONGLONG>(g_GETVIEWMEM) * 1000, tab, width, 0))
        RedrawViewer(*this, index);
}

void CQvView::ReloadViewerFile()
{
    int index;
    CFilerPane* pane = ActiveTextViewer(*this, index);
    if (pane == nullptr)
        return;
    const INT64 top = pane->m_viewer->GetTopLine();
    pane->ReleaseViewerData();
    if (!pane->OpenViewerFile(pane->m_viewerEntry, static_cast<LONGLONG>(g_GETVIEWMEM) * 1000, g_TABCARAMES,
                              g_VIEWCHARWIDE, 0))
        return;
    // Back to the line the user was reading, once the loader has come that far. The
    // hexadecimal form counts rows of 16 bytes, which have nothing to do with the
    // text's lines.
    while (!pane->IsViewerLoadDone() && (pane->m_bHexDisplay ? pane->m_viewer->TextLength() <= top * 16
                                                             : pane->m_viewer->LineCount() <= top))
        Sleep(100);
    pane->m_viewer->SetTopLine(top);
    const int rows = m_layout.panes[index].rowsFull;
    pane->ScrollViewerLines(0, rows > 0 ? rows : 1, FALSE);
    RedrawViewer(*this, index);
}

VIEW_COMMAND(SetTabWidth)
{
    g_TABCARAMES = value;
    view.RewrapViewerPanes(-1, g_TABCARAMES);
}

void CQvView::ToggleLineNumbers()
{
    g_VIEWNUMBER = !g_VIEWNUMBER;
    for (int i = 0; i < 2; ++i)
        if (g_Panes[i] != nullptr && (g_Panes[i]->m_mode & PANE_MODES_TEXT_VIEWERS) != 0)
            RedrawViewer(*this, i);
}
