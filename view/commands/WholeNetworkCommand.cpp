// "@Toallnetwork": the active pane, whatever it shows, lists the whole network.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/status/StatusLine.h"

namespace commands
{

int ShowWholeNetwork(CQvView& view, const CommandCall&, INT_PTR)
{
    const int index = view.GetActivePaneIndex();
    if (index < 0 || g_Panes[index] == nullptr)
        return 1;
    CFilerPane* pane = g_Panes[index];
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    pane->SetMode(0, PANE_MODE_NETWORK, PANE_SUB_DIRECTORY);
    pane->CloseChangeNotification();
    view.UpdateMenuForMode();
    pane->m_networkPath = kWholeNetworkPath;
    pane->m_networkLevels[0] = 0;
    pane->m_networkDepth = 1;
    pane->m_firstVisible = 0;
    view.CalcLayout();
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
    view.RedrawMovedPane(index, STATUS_PART_FULL);
    view.StartBinaryCursorTimer();
    return 1;
}

} // namespace commands
