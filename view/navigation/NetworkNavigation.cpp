// Browsing the network list: entering domains, servers and shares, and climbing back.
#include "app/Directories.h"
#include "util/Globals.h"
#include "app/NetworkAccounts.h"
#include "util/PathHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/navigation/NetworkNavigation.h"

namespace
{

constexpr wchar_t kTooDeepMessage[] = L"ネットワークの階層が深すぎるため、これ以上は開けません";

} // namespace

void CQvView::RememberNetworkServer(LPCWSTR domain, LPCWSTR server, LPCWSTR network)
{
    for (INT_PTR i = m_navigation.savedDomainNames.GetSize() - 1; i >= 0; --i)
        if (m_navigation.savedDomainNames[i].server.CompareNoCase(server) == 0)
            m_navigation.savedDomainNames.RemoveAt(i);
    SavedDomainName record;
    record.domain = domain;
    record.server = server;
    record.network = network;
    m_navigation.savedDomainNames.InsertAt(0, record);
}

void ShowNetworkList(CQvView& view, int pane)
{
    CFilerPane* target = g_Panes[pane];
    if (target == nullptr)
        return;
    target->SetMode(0, PANE_MODE_NETWORK, PANE_SUB_DIRECTORY);
    target->CloseChangeNotification();
    target->m_networkDepth = 0;
    target->m_networkPath = L"\\\\";
    target->ReadNetworkResources();
    target->m_cursor = 0;
    target->m_firstVisible = 0;
    view.CalcLayout();
    view.RedrawMovedPane(pane, STATUS_PART_FULL);
}

void EnterNetworkResource(CQvView& view, int pane)
{
    CFilerPane& target = *g_Panes[pane];
    if (target.m_cursor < 0 || target.m_cursor >= target.m_networkList.GetSize())
        return;
    CNetResourceData resource = target.m_networkList[static_cast<INT_PTR>(target.m_cursor)];
    if (resource.m_name.IsEmpty())
    {
        target.m_networkPath = kWholeNetworkPath;
        target.m_networkLevels[0] = 0;
        target.m_networkDepth = 1;
    }
    else if (resource.m_name.CompareNoCase(L"..") == 0)
    {
        view.GoParentDirectory();
        return;
    }
    else
    {
        // The level stack has room for a fixed number of levels; a network that goes
        // deeper is refused rather than written past the stack.
        if (target.m_networkDepth >= kNetworkLevelCount)
        {
            Tell(&view, kTooDeepMessage);
            return;
        }
        if (target.m_networkDepth != 0)
            target.m_networkPath += L"\\";
        target.m_networkPath += resource.m_name;
        target.m_networkLevels[target.m_networkDepth++] = resource.m_displayType;
    }
    if (resource.m_displayType == RESOURCEDISPLAYTYPE_SHARE)
    {
        CString domain, network, server, share;
        for (int level = 0; level < target.m_networkDepth; ++level)
        {
            CString element;
            GetPathElement(level + 2, target.m_networkPath, element);
            UINT kind = target.m_networkLevels[level];
            if (kind == RESOURCEDISPLAYTYPE_DOMAIN)
                domain = element;
            else if (kind == RESOURCEDISPLAYTYPE_NETWORK)
                network = element;
            else if (kind == RESOURCEDISPLAYTYPE_SERVER)
                server = element;
            else if (kind == RESOURCEDISPLAYTYPE_SHARE)
            {
                share = element;
                break;
            }
        }
        CString unc;
        unc.Format(L"\\\\%s\\%s", (LPCWSTR)server, (LPCWSTR)share);
        if (GetFileAttributesLong(unc) == INVALID_FILE_ATTRIBUTES)
        {
            DWORD error = GetLastError();
            if (error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_PASSWORD)
                ConnectNetworkResource(unc, network, RESOURCE_GLOBALNET);
        }
        view.RememberNetworkServer(domain, server, network);
        view.ChangePaneDirectory(pane, unc, 1, STATUS_PART_FULL, FALSE);
        return;
    }
    view.CalcLayout();
    target.ReadNetworkResources();
    target.m_cursor = 0;
    target.m_firstVisible = 0;
    view.RedrawMovedPane(pane, STATUS_PART_FULL);
}

int CQvView::NetworkGoUp(int pane)
{
    CFilerPane& target = *g_Panes[pane];
    CString cursorName;
    if (target.m_mode == PANE_MODE_FILER)
    {
        CString server, share;
        GetPathElement(2, target.m_currentDir, server);
        if (server.IsEmpty())
            return 0;
        const SavedDomainName* record = nullptr;
        for (INT_PTR i = 0; i < m_navigation.savedDomainNames.GetSize() && record == nullptr; ++i)
            if (m_navigation.savedDomainNames[i].server.CompareNoCase(server) == 0)
                record = &m_navigation.savedDomainNames[i];
        if (record == nullptr)
            return 0;
        if (record->domain.IsEmpty())
        {
            target.m_networkPath = L"\\\\" + server;
            target.m_networkLevels[0] = RESOURCEDISPLAYTYPE_SERVER;
            target.m_networkDepth = 1;
        }
        else if (record->network.IsEmpty())
        {
            target.m_networkPath.Format(L"%s\\%s\\%s", kWholeNetworkPath, (LPCWSTR)record->domain,
                                        (LPCWSTR)server);
            const UINT levels[] = {0, RESOURCEDISPLAYTYPE_DOMAIN, RESOURCEDISPLAYTYPE_SERVER};
            memcpy(target.m_networkLevels, levels, sizeof(levels));
            target.m_networkDepth = 3;
        }
        else
        {
            target.m_networkPath.Format(L"%s\\%s\\%s\\%s", kWholeNetworkPath, (LPCWSTR)record->network,
                                        (LPCWSTR)record->domain, (LPCWSTR)server);
            const UINT levels[] = {0, RESOURCEDISPLAYTYPE_NETWORK, RESOURCEDISPLAYTYPE_DOMAIN,
                                   RESOURCEDISPLAYTYPE_SERVER};
            memcpy(target.m_networkLevels, levels, sizeof(levels));
            target.m_networkDepth = 4;
        }
        cursorName = target.m_currentDir.Mid(3 + server.GetLength());
        int cut = cursorName.Find(L'\\');
        if (cut >= 0)
            cursorName = cursorName.Left(cut);
    }
    else
    {
        if (target.m_networkDepth > 0)
            --target.m_networkDepth;
        int cut = target.m_networkPath.ReverseFind(L'\\');
        if (cut >= 0)
        {
            cursorName = target.m_networkPath.Mid(cut + 1);
            target.m_networkPath = target.m_networkPath.Left(cut);
        }
    }
    target.SetMode(0, PANE_MODE_NETWORK, PANE_SUB_DIRECTORY);
    target.CloseChangeNotification();
    CalcLayout();
    target.m_firstVisible = 0;
    target.ReadNetworkResources();
    if (!cursorName.IsEmpty())
        target.SetCursorToName(cursorName, FALSE, 0);
    target.MoveCursor(0, TRUE);
    RedrawMovedPane(pane, STATUS_PART_FULL);
    return 1;
}
