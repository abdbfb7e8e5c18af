// "@Searchstr", "@Nextsearch" and "@Beforesearch" in a text viewer: the search text is
// asked for, and its first, next or previous place becomes the selection.
#include "app/dialogs/TellAndAsk.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/records/HistoryList.h"
#include "app/settings/ViewerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "viewers/text/StrSearchDlg.h"

#include <string>

namespace
{
// The hit becomes the selection and its line is brought to the middle of the pane.
void SelectViewerHit(CQvView& view, int index, BOOL fullRedraw)
{
    IPaneViewer& viewer = *g_Panes[index]->m_viewer;
    ViewerSelection& selection = view.m_viewer.selection;
    const BOOL shown = selection.active;
    const INT64 oldStart = shown ? selection.anchor : -1;
    const INT64 oldEnd = shown ? selection.end : -1;
    selection.anchor = viewer.GetSearchPosition();
    selection.end = selection.anchor + viewer.GetSearchLength();
    selection.active = TRUE;
    view.ScrollViewerToRange(index, oldStart, oldEnd, selection.anchor, selection.end, fullRedraw);
}

void RedrawViewerPane(CQvView& view, int index)
{
    if (view.m_hWnd != nullptr)
    {
        view.m_paneRedrawRequest[index] = 1;
        view.DrawPane(index);
    }
}

void SearchActiveTextViewer(CQvView& view, BOOL forward)
{
    const int index = view.GetActivePaneIndex();
    CFilerPane* pane = TextViewerPaneAt(index);
    if (pane == nullptr)
        return;
    IPaneViewer& viewer = *pane->m_viewer;
    if (viewer.GetSearchLength() <= 0)
        return;
    ViewerSelection& selection = view.m_viewer.selection;
    if (pane->SearchViewerText(forward))
    {
        SelectViewerHit(view, index, FALSE);
        return;
    }
    selection.anchor = selection.end = viewer.GetSearchPosition();
    selection.active = FALSE;
    Tell(&view, L"検索終了しました");
    RedrawViewerPane(view, index);
}

// The find dialog's options, kept for the next time it opens in this session.
struct FindOptions
{
    int ignoreCase = 0;
    int from = -1;
    int upward = -1;
};
FindOptions g_findOptions;

// The search runs over the converted text, which is in the system code page.
std::string ToAnsi(const CString& text)
{
    if (text.IsEmpty())
        return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), &out[0], bytes, nullptr, nullptr);
    return out;
}

// Asks for the search text in one text viewer pane and searches it from the start or
// from the first shown line. FALSE when the dialog was cancelled.
BOOL FindInTextViewer(CQvView& view, int index)
{
    CFilerPane* pane = TextViewerPaneAt(index);
    IPaneViewer& viewer = *pane->m_viewer;
    CStrSearchDlg dlg(DialogOwner(&view));
    dlg.m_ignoreCase = g_findOptions.ignoreCase;
    dlg.m_from = g_findOptions.from;
    dlg.m_upward = g_findOptions.upward;
    if (dlg.DoModal() != IDOK)
        return FALSE;
    g_findOptions.ignoreCase = dlg.m_ignoreCase;
    g_findOptions.from = dlg.m_from;
    g_findOptions.upward = dlg.m_upward;

    const std::string text = ToAnsi(dlg.m_text);
    INT64 start = 0;
    if (dlg.m_from == 1)
    {
        start = pane->ViewerTopLineOffset();
        if (start < 0)
            return TRUE;
    }
    viewer.SetSearch(text.data(), static_cast<int>(text.size()), dlg.m_ignoreCase != 0,
                     dlg.m_upward == 0 ? 1 : 0);
    viewer.SetSearchStart(start);
    if (text.empty())
        return TRUE;
    AddToHistoryList(g_ViewerSearchHistory, 30, dlg.m_text);
    // The dialog covered the pane: it is drawn whole.
    if (pane->SearchViewerText(TRUE))
    {
        SelectViewerHit(view, index, TRUE);
        return TRUE;
    }
    Tell(&view, L"文字列は見つかりませんでした");
    RedrawViewerPane(view, index);
    return TRUE;
}
} // namespace

VIEW_COMMAND(SearchText)
{
    for (int index = 0; index < 2; ++index)
        if (TextViewerPaneAt(index) != nullptr)
            FindInTextViewer(view, index);
}

void CQvView::SearchNext()
{
    if (SearchBinaryPane(0))
        return;
    SearchActiveTextViewer(*this, TRUE);
}

void CQvView::SearchPrevious()
{
    if (SearchBinaryPane(1))
        return;
    SearchActiveTextViewer(*this, FALSE);
}
