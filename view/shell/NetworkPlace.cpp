#include "view/shell/NetworkPlace.h"
#include "app/Directories.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"
#include "view/status/StatusLine.h"

#include <winnetwk.h>

CString NetworkContextPlace(const CFilerPane& pane)
{
    CString server;
    CString share;
    // The list's path holds one element per level entered, after its own first two.
    for (int level = 0; level < pane.m_networkDepth && level < kNetworkLevelCount; ++level)
    {
        if (pane.m_networkLevels[level] != RESOURCEDISPLAYTYPE_SERVER)
            continue;
        GetPathElement(level + 2, pane.m_networkPath, server);
        break;
    }
    if (pane.m_cursor >= 0 && pane.m_cursor < pane.m_networkList.GetSize())
    {
        const CNetResourceData& row = pane.m_networkList[static_cast<INT_PTR>(pane.m_cursor)];
        if (row.m_displayType == RESOURCEDISPLAYTYPE_SERVER)
            server = row.m_name;
        else if (row.m_displayType == RESOURCEDISPLAYTYPE_SHARE)
            share = row.m_name;
    }
    // A name given as the network reports it ("\\server") loses its leading backslashes.
    server.TrimLeft(L'\\');
    if (server.IsEmpty())
        return CString();
    CString place = L"\\\\" + server;
    if (!share.IsEmpty())
        place += L"\\" + share;
    return place;
}

// ---- "@Toallnetwork": the active pane, whatever it shows, lists the whole network.
VIEW_COMMAND(ShowWholeNetwork)
{
    const int index = view.GetActivePaneIndex();
    if (PaneAt(index) == nullptr)
        return;
    CFilerPane* pane = g_Panes[index];
    CViewBusyGuard busy(view);
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
}
