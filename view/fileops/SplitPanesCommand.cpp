// "@Wide": shows or hides the second pane.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::OnSplitPanes()
{
    CViewBusyGuard busy(*this);
    if (FindPaneByMode(nullptr, PANE_POS_ACTIVE, PANE_MODES_GRAPHIC_VIEWERS, 0))
        return;
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        CFilerPane* other = g_Panes[1 - index];
        if (pane == nullptr || other == nullptr)
            continue;
        if (pane->m_position & PANE_POS_HIDDEN)
        {
            if (g_KEEP_FILER_INFO)
                pane->m_position = PANE_POS_ACTIVE;
            else
            {
                pane->SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
                pane->m_currentDir = other->m_currentDir;
                pane->m_sortSetting = other->m_sortSetting;
            }
            other->m_position = PANE_POS_OTHER;
            if (pane->m_mode == PANE_MODE_FILER && pane->m_subMode == PANE_SUB_DIRECTORY)
            {
                pane->ReadDirectory(TRUE);
                pane->SortEntries();
                pane->MoveCursor(0, TRUE);
            }
            break;
        }
        if (pane->m_position & PANE_POS_OTHER)
        {
            pane->CloseChangeNotification();
            if (!g_KEEP_FILER_INFO)
            {
                if (pane->m_mode == PANE_MODE_ARCHIVE)
                    pane->CloseArchiveListing(TRUE);
                if (pane->m_mode == PANE_MODE_BINARY && pane->m_binaryData != nullptr)
                    CloseBinaryEditor(index, MB_YESNO);
                pane->SetMode(PANE_POS_HIDDEN, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
            }
            else
                pane->m_position = PANE_POS_HIDDEN;
            break;
        }
    }
    UpdateMenuForMode();
    CalcLayout();
    busy.Release();
    if (m_hWnd)
        Invalidate(FALSE);
    UpdateAuxiliaryWindows();
}
