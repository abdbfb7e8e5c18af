// "@Mpegnamedisplay": the filer lists show the audio files by the title in their tags
// or by their file names.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"

void CQvView::ToggleMpegTitleDisplay()
{
    CViewBusyGuard busy(*this);
    g_MPEGNAMEDISPLAY = g_MPEGNAMEDISPLAY ? 0 : 1;
    // The titles are read with the listing and the order may follow them, so the
    // shown lists are read again rather than only redrawn.
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        if (pane == nullptr || pane->m_mode != PANE_MODE_FILER || (pane->m_position & PANE_POS_HIDDEN) != 0)
            continue;
        pane->ReadDirectory(TRUE);
        pane->SortEntries();
        pane->MoveCursor(0, TRUE);
        if (m_hWnd == nullptr)
            continue;
        const bool active = (pane->m_position & PANE_POS_ACTIVE) != 0;
        m_paneRedrawRequest[index] = 1;
        DrawPaneTitle(index);
        DrawPane(index);
        if (active)
            DrawCursorLine(index, 1);
    }
    if (m_hWnd != nullptr)
        DrawStatusLine(STATUS_PART_FULL);
    StartBinaryCursorTimer();
}
