// "@Nextsearch" and "@Beforesearch" in a text viewer: the next or previous place of
// the search text becomes the selection.
#include "app/dialogs/MessageBoxDlg.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace
{
void SearchActiveTextViewer(CQvView& view, BOOL forward)
{
    const int index = view.GetActivePaneIndex();
    if (index < 0 || index > 1)
        return;
    CFilerPane* pane = g_Panes[index];
    if (pane == nullptr || (pane->m_mode & PANE_MODES_TEXT_VIEWERS) == 0 || pane->m_viewer == nullptr)
        return;
    IPaneViewer& viewer = *pane->m_viewer;
    if (viewer.GetSearchLength() <= 0)
        return;
    ViewerSelection& selection = view.m_viewerSelection;
    if (pane->SearchViewerText(forward))
    {
        selection.anchor = viewer.GetSearchPosition();
        selection.end = selection.anchor + viewer.GetSearchLength();
        selection.active = TRUE;
        const int rows = view.m_layout.panes[index].rowsDrawn > 0 ? view.m_layout.panes[index].rowsDrawn : 1;
        // The hit's line in the middle of the pane, as far as the text allows.
        if (pane->LockViewerData())
        {
            const INT64* lines = viewer.LineIndex();
            const INT64 count = viewer.LineCount();
            INT64 line = viewer.GetTopLine();
            if (line >= count)
                line = count > 0 ? count - 1 : 0;
            while (line > 0 && selection.anchor < lines[line])
                --line;
            while (line < count - 1 && selection.anchor >= lines[line + 1])
                ++line;
            pane->UnlockViewerData();
            viewer.SetTopLine(line - rows / 2 < 0 ? 0 : line - rows / 2);
            pane->ScrollViewerLines(0, rows, FALSE);
        }
    }
    else
    {
        selection.anchor = selection.end = viewer.GetSearchPosition();
        selection.active = FALSE;
        ShowMessageBoxDlg(view.m_hWnd ? &view : nullptr, L"検索終了しました", nullptr, 0);
    }
    if (view.m_hWnd != nullptr)
    {
        view.m_paneRedrawRequest[index] = 1;
        view.DrawPane(index);
    }
}
} // namespace

namespace commands
{

int SearchNext(CQvView& view, const CommandCall&, INT_PTR)
{
    SearchActiveTextViewer(view, TRUE);
    return 1;
}

int SearchPrevious(CQvView& view, const CommandCall&, INT_PTR)
{
    SearchActiveTextViewer(view, FALSE);
    return 1;
}

} // namespace commands
