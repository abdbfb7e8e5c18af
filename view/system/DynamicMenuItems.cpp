// The menu items made at run time: the new-file kinds, the control-panel applets and
// the audio devices, with the states and commands of the applets and the devices.
#include "app/records/ControlPanelApplets.h"
#include "app/settings/FilerSettings.h"
#include "view/QvView.h"
#include "view/system/DynamicMenuItems.h"
#include "view/system/SystemShellApi.h"
#include "media/devices/AudioEndpoints.h"
#include "tools/cpl/AppletCommands.h"
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

bool IsDefaultDevice(const CArray<CEndPointData>& devices, INT_PTR index, int flow)
{
    if (index >= devices.GetSize())
        return false;
    CEndPointData current;
    if (!GetDefaultAudioEndpoint(flow, current))
        return false;
    const CEndPointData& device = devices[index];
    if (!device.m_id.IsEmpty() && !current.m_id.IsEmpty())
        return device.m_id == current.m_id;
    return !device.m_name.IsEmpty() && device.m_name.CompareNoCase(current.m_name) == 0;
}

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

void RunAppletItem(UINT id)
{
    RunCplApplet(id - kFirstApplet);
}

void UpdateAudioDeviceItem(CQvView& view, CCmdUI& ui, UINT id)
{
    // The system's default device of the list carries the check mark.
    const bool output = id < kFirstInputDevice;
    ui.Enable(TRUE);
    ui.SetCheck(IsDefaultDevice(output ? view.m_system.outputDevices : view.m_system.inputDevices,
                                id - (output ? kFirstOutputDevice : kFirstInputDevice),
                                output ? AUDIO_FLOW_PLAYBACK : AUDIO_FLOW_CAPTURE)
                    ? 1
                    : 0);
}

void ChooseAudioDeviceItem(CQvView& view, UINT id)
{
    if (id >= kFirstOutputDevice && id < kFirstOutputDevice + kMaxDevices)
    {
        const INT_PTR i = id - kFirstOutputDevice;
        if (i < view.m_system.outputDevices.GetSize() && !view.m_system.outputDevices[i].m_name.IsEmpty())
            view.SetDefaultOutputDevice(view.m_system.outputDevices[i].m_name);
        return;
    }
    const INT_PTR i = id - kFirstInputDevice;
    if (i < view.m_system.inputDevices.GetSize() && !view.m_system.inputDevices[i].m_name.IsEmpty())
        view.SetDefaultInputDevice(view.m_system.inputDevices[i].m_name);
}
