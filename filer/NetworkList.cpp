// The network list of a pane: the resources of one level of the network, read through
// the drive seam so that a machine without a network neighbourhood can be stood in for.
#include "app/Directories.h"
#include "app/DriveSeam.h"
#include "app/NetworkAccounts.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"

#include <vector>

namespace
{

constexpr DWORD kEnumBufferBytes = 60000;

} // namespace

const wchar_t* const kWholeNetworkPath = L"\\\\ネットワーク全体";

void CFilerPane::ReadNetworkResources()
{
    m_cursor = 0;
    m_networkList.RemoveAll();
    if (!g_NOTVIEWUPDIR)
    {
        CNetResourceData up;
        up.m_name = L"..";
        m_networkList.Add(up);
    }
    CString elements[4];
    for (int i = 0; i < m_networkDepth && i < 4; ++i)
        GetPathElement(i + 2, m_networkPath, elements[i]);

    NETRESOURCEW resource = {};
    resource.dwScope = RESOURCE_GLOBALNET;
    resource.dwType = RESOURCETYPE_DISK;
    resource.dwDisplayType = RESOURCEDISPLAYTYPE_DOMAIN;
    resource.dwUsage = RESOURCEUSAGE_CONTAINER;
    DWORD scope = RESOURCE_GLOBALNET;
    // The strings the resource points into; they live until the enumeration closed.
    CString remote, provider;
    bool hasRemote = false, hasProvider = false;
    switch (m_networkDepth)
    {
    case 0:
        m_networkPath = L"\\\\";
        scope = RESOURCE_CONTEXT;
        break;
    case 1:
        if (m_networkLevels[0] == RESOURCEDISPLAYTYPE_SERVER)
        {
            remote = L"\\\\" + elements[0];
            hasRemote = true;
        }
        break;
    case 2:
        if (m_networkLevels[1] == RESOURCEDISPLAYTYPE_DOMAIN)
            remote = elements[1], hasRemote = true;
        else
            provider = elements[1], hasProvider = true;
        break;
    case 3:
        if (m_networkLevels[1] == RESOURCEDISPLAYTYPE_DOMAIN)
            remote = L"\\\\" + elements[2], hasRemote = true;
        else
        {
            remote = elements[2], hasRemote = true;
            provider = elements[1], hasProvider = true;
        }
        break;
    case 4:
        remote = L"\\\\" + elements[3], hasRemote = true;
        provider = elements[1], hasProvider = true;
        break;
    default:
        break;
    }
    resource.lpRemoteName = hasRemote ? remote.GetBuffer() : nullptr;
    resource.lpProvider = hasProvider ? provider.GetBuffer() : nullptr;

    HANDLE enumeration = nullptr;
    DWORD result = g_DriveSeam.WNetOpenEnumW(scope, RESOURCETYPE_ANY, 0, &resource, &enumeration);
    bool listed = result == NO_ERROR;
    if (result == ERROR_NOT_AUTHENTICATED)
    {
        if (ConnectNetworkResource(hasRemote ? (LPCWSTR)remote : nullptr,
                                   hasProvider ? (LPCWSTR)provider : nullptr, scope))
            listed =
                g_DriveSeam.WNetOpenEnumW(scope, RESOURCETYPE_ANY, 0, &resource, &enumeration) == NO_ERROR;
    }
    else if (result != NO_ERROR)
        return;
    if (listed)
    {
        std::vector<BYTE> buffer(kEnumBufferBytes);
        for (;;)
        {
            std::fill(buffer.begin(), buffer.end(), 0);
            DWORD count = 1;
            DWORD size = kEnumBufferBytes;
            if (g_DriveSeam.WNetEnumResourceW(enumeration, &count, buffer.data(), &size) != NO_ERROR ||
                count == 0)
                break;
            const NETRESOURCEW& found = *reinterpret_cast<const NETRESOURCEW*>(buffer.data());
            if (found.lpRemoteName == nullptr ||
                (found.dwDisplayType == RESOURCEDISPLAYTYPE_SHARE && found.dwType == RESOURCETYPE_PRINT))
                continue;
            CNetResourceData row;
            row.m_type = found.dwType;
            row.m_displayType = found.dwDisplayType;
            CString name = found.lpRemoteName;
            int cut = name.ReverseFind(L'\\');
            row.m_name = cut >= 0 ? name.Mid(cut + 1) : name;
            row.m_comment = found.lpComment != nullptr ? found.lpComment : L"";
            row.m_provider = found.lpProvider != nullptr ? found.lpProvider : L"";
            m_networkList.Add(row);
        }
        g_DriveSeam.WNetCloseEnum(enumeration);
    }
    if (!(m_networkDepth == 1 && m_networkLevels[0] == 0))
        m_networkList.Add(CNetResourceData());
    SortEntries();
}
