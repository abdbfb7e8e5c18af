// "@Textprint": the active text viewer's text printed through the print dialog,
// held locked for the whole dialog so that its loader cannot move it meanwhile.
#include "app/Settings.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/settings/PrintSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"
#include "viewers/text/PrintTextDlg.h"

#include <climits>

void CQvView::PrintText()
{
    const int index = GetActivePaneIndex();
    if (TextViewerPaneAt(index) == nullptr)
        return;
    CFilerPane& pane = *g_Panes[index];
    if ((pane.m_mode & PANE_MODES_TEXT_VIEWERS) == 0 || pane.m_viewer == nullptr)
        return;
    CViewBusyGuard busy(*this);
    g_PrintSettings.charsPerLine = g_VIEWCHARWIDE;
    g_PrintSettings.lineNumbers = g_VIEWNUMBER;
    g_PrintSettings.documentName = (pane.m_mode & PANE_MODE_TEXT_VIEWER) != 0
                                       ? pane.m_viewerEntry.GetRealFullPath()
                                       : CString(pane.m_viewerEntry.GetName());
    // Waits while the loader holds the text; a pane without text prints nothing.
    if (!pane.HoldViewerData())
        return;
    g_PrintSettings.tabColumns = pane.m_viewer->GetTabWidth();
    // The print job counts in int: a text beyond that prints its first 2 GiB.
    const INT64 length = pane.m_viewer->TextLength();
    const int printed = length > INT_MAX ? INT_MAX : static_cast<int>(length);
    {
        CPrintTextDlg dialog(g_PrintSettings, pane.m_viewer->Text(), printed, DialogOwner(this));
        dialog.DoModal();
    }
    pane.ReleaseHeldViewerData();
    if (m_hWnd)
        Invalidate();
}
