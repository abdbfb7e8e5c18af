// "@Toallnetwork": the active pane, whatever it shows, lists the whole network.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"
#include "view/status/StatusLine.h"

void CQvView::ShowWholeNetwork()
{
    const int index = GetActivePaneIndex();
    if (PaneAt(index) == nullptr)
        return;
    CFilerPane* pane = g_Panes[index];
    CViewBusyGuard busy(*this);
    pane->SetMode(0, PANE_MODE_NETWORK, PANE_SUB_DIRECTORY);
    pane->CloseChangeNotification();
    UpdateMenuForMode();
    pane->m_networkPath = kWholeNetworkPath;
    pane->m_networkLevels[0] = 0;
    pane->m_networkDepth = 1;
    pane->m_firstVisible = 0;
    CalcLayout();
    pane->ReadNetworkResources();
    pane->m_cursor = 0;
    for (INT_PTR i = 0; i < pane->m_networkList.GetSize(); ++i)
    {
        if (pane->m_networkList[i].m_name.CompareNoCase(L"..") == 0)
        {
            pane->m_cursor = i;
            break;
        }
    }
    pane->MoveCursor(0, FALSE);
    RedrawMovedPane(index, STATUS_PART_FULL);
}
