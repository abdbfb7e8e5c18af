// The menu items made at run time: the new-file kinds, the control-panel applets and
// the audio devices, and the commands of those items.
#include "app/records/ControlPanelApplets.h"
#include "app/settings/FilerSettings.h"
#include "view/QvView.h"
#include "view/system/SystemShellApi.h"
#include "res/MenuIds.h"

namespace
{
constexpr UINT kFirstApplet = ID_MENU_CPL_FIRST;
constexpr INT_PTR kMaxApplets = ID_MENU_CPL_LAST - ID_MENU_CPL_FIRST + 1;
constexpr UINT kFirstOutputDevice = ID_MENU_OUTPUT_DEVICE_FIRST;
constexpr UINT kFirstInputDevice = ID_MENU_INPUT_DEVICE_FIRST;
// Ten ids are reserved for each device list, and the tenth device works like the
// others.
constexpr INT_PTR kMaxDevices = 10;
constexpr UINT kNoOutputDeviceItem = 3028;
constexpr UINT kNoInputDeviceItem = 3029;

void InsertDevices(HMENU menu, const CArray<CEndPointData>& devices, UINT before, UINT firstId)
{
    // The "(なし)" item is the anchor: without it the menu has no device popup.
    if (GetMenuState(menu, before, MF_BYCOMMAND) == static_cast<UINT>(-1))
        return;
    bool inserted = false;
    for (INT_PTR i = 0; i < devices.GetSize() && i < kMaxDevices; ++i)
    {
        InsertMenuW(menu, before, MF_BYCOMMAND | MF_STRING, firstId + static_cast<UINT>(i),
                    devices[i].m_name);
        inserted = true;
    }
    if (inserted)
        DeleteMenu(menu, before, MF_BYCOMMAND);
}
} // namespace

void CQvView::AppendNewFileMenu(HMENU menu)
{
    HMENU first = menu != nullptr ? GetSubMenu(menu, 0) : nullptr;
    HMENU kinds = first != nullptr ? GetSubMenu(first, 0) : nullptr;
    if (kinds == nullptr)
        return;
    bool separated = false;
    for (INT_PTR i = 0; i < g_MakeNewFileKinds.GetSize() && i < 100; ++i)
    {
        const CMakeNewFile& kind = g_MakeNewFileKinds[i];
        if (kind.m_extension.IsEmpty() || kind.m_displayName.IsEmpty())
            continue;
        if (!separated)
            AppendMenuW(kinds, MF_SEPARATOR, 0, nullptr);
        separated = true;
        AppendMenuW(kinds, MF_STRING, ID_MENU_NEW_FILE_FIRST + static_cast<UINT>(i), kind.m_displayName);
    }
}

void CQvView::InsertDynamicMenuItems(HMENU menu)
{
    if (menu == nullptr)
        return;
    if (GetMenuState(menu, 139, MF_BYCOMMAND) != static_cast<UINT>(-1))
        for (INT_PTR i = 0; i < g_CplList.GetSize() && i < kMaxApplets; ++i)
            InsertMenuW(menu, 139, MF_BYCOMMAND | MF_STRING, kFirstApplet + static_cast<UINT>(i),
                        g_CplList[i].m_name);
    m_system.outputDevices.RemoveAll();
    m_system.inputDevices.RemoveAll();
    g_SystemShellApi.enumAudioEndpoints(AUDIO_FLOW_PLAYBACK, m_system.outputDevices);
    g_SystemShellApi.enumAudioEndpoints(AUDIO_FLOW_CAPTURE, m_system.inputDevices);
    InsertDevices(menu, m_system.outputDevices, kNoOutputDeviceItem, kFirstOutputDevice);
    InsertDevices(menu, m_system.inputDevices, kNoInputDeviceItem, kFirstInputDevice);
}

int CQvView::GetDeviceMenuKeyword(UINT id, CString& keyword)
{
    struct
    {
        UINT firstId;
        const CArray<CEndPointData>& devices;
        LPCWSTR command;
    } const lists[] = {
        {kFirstOutputDevice, m_system.outputDevices, L"@SetAudioPlayback"},
        {kFirstInputDevice, m_system.inputDevices, L"@SetAudioCapture"},
    };
    for (const auto& list : lists)
    {
        if (id < list.firstId || id >= list.firstId + kMaxDevices)
            continue;
        const INT_PTR i = id - list.firstId;
        if (i >= list.devices.GetSize() || list.devices[i].m_name.IsEmpty())
            return 0;
        keyword.Format(L"%s %s", list.command, static_cast<LPCWSTR>(list.devices[i].m_name));
        return 1;
    }
    return 0;
}

int CQvView::SetDefaultOutputDevice(LPCWSTR name)
{
    return g_SystemShellApi.setDefaultAudioEndpoint(AUDIO_FLOW_PLAYBACK, name);
}

int CQvView::SetDefaultInputDevice(LPCWSTR name)
{
    return g_SystemShellApi.setDefaultAudioEndpoint(AUDIO_FLOW_CAPTURE, name);
}

BOOL CQvView::RunDynamicMenuItem(UINT id)
{
    if (id >= kFirstApplet && id < kFirstApplet + kMaxApplets)
    {
        RunCplApplet(id - kFirstApplet);
        return TRUE;
    }
    if (id >= kFirstOutputDevice && id < kFirstOutputDevice + kMaxDevices)
    {
        const INT_PTR i = id - kFirstOutputDevice;
        if (i < m_system.outputDevices.GetSize() && !m_system.outputDevices[i].m_name.IsEmpty())
            SetDefaultOutputDevice(m_system.outputDevices[i].m_name);
        return TRUE;
    }
    if (id >= kFirstInputDevice && id < kFirstInputDevice + kMaxDevices)
    {
        const INT_PTR i = id - kFirstInputDevice;
        if (i < m_system.inputDevices.GetSize() && !m_system.inputDevices[i].m_name.IsEmpty())
            SetDefaultInputDevice(m_system.inputDevices[i].m_name);
        return TRUE;
    }
    return FALSE;
}
