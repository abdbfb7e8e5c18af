// "@Jumptext": the text viewer shows a line asked for by number, or moves by a signed
// number of lines.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "viewers/text/JumpTextDlg.h"

#include <cwchar>

void CQvView::JumpToLine()
{
    const int index = GetActivePaneIndex();
    if (index < 0 || index > 1)
        return;
    CFilerPane* pane = g_Panes[index];
    if (pane == nullptr || (pane->m_mode & PANE_MODES_TEXT_VIEWERS) == 0 || pane->m_viewer == nullptr)
        return;
    CJumpTextDlg dlg(this);
    if (dlg.DoModal() != IDOK)
        return;
    CString text = dlg.m_text;
    text.TrimLeft();
    text.TrimRight();
    if (text.IsEmpty())
        return;
    const INT64 n = _wtoi64(text);
    const int rows = m_layout.panes[index].rowsDrawn > 0 ? m_layout.panes[index].rowsDrawn : 1;
    if (text[0] == L'+' || text[0] == L'-')
        pane->ScrollViewerLines(n, rows, FALSE);
    else
    {
        pane->m_viewer->SetTopLine(n < 0 ? 0 : n);
        pane->ScrollViewerLines(0, rows, FALSE);
    }
    if (m_hWnd != nullptr)
    {
        m_paneRedrawRequest[index] = 1;
        DrawPane(index);
    }
}
