// "@Jumptext": the text viewer shows a line asked for by number, or moves by a signed
// number of lines.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "viewers/text/JumpTextDlg.h"

#include <cwchar>

namespace commands
{

int JumpToLine(CQvView& view, const CommandCall&, INT_PTR)
{
    const int index = view.GetActivePaneIndex();
    CFilerPane* pane = TextViewerPaneAt(index);
    if (pane == nullptr)
        return 1;
    CJumpTextDlg dlg(&view);
    if (dlg.DoModal() != IDOK)
        return 1;
    CString text = dlg.m_text;
    text.TrimLeft();
    text.TrimRight();
    if (text.IsEmpty())
        return 1;
    const INT64 n = _wtoi64(text);
    const int rows = view.m_layout.panes[index].rowsDrawn > 0 ? view.m_layout.panes[index].rowsDrawn : 1;
    if (text[0] == L'+' || text[0] == L'-')
        pane->ScrollViewerLines(n, rows, FALSE);
    else
    {
        pane->m_viewer->SetTopLine(n < 0 ? 0 : n);
        pane->ScrollViewerLines(0, rows, FALSE);
    }
    if (view.m_hWnd != nullptr)
    {
        view.m_paneRedrawRequest[index] = 1;
        view.DrawPane(index);
    }
    return 1;
}

} // namespace commands
