// The settings items of the menus that no keyword names: virtual drives, network
// settings, the key text in menu items, and the settings dialogs still to come.
#include "view/menus/SettingsMenuItems.h"

#include "app/NetworkSettingsDlg.h"
#include "app/Settings.h"
#include "app/VirtualDrives.h"
#include "filer/VirtualDriveDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "tools/cpl/NonLoadCplDlg.h"
#include "tools/menus/NotViewMenuDlg.h"
#include "tools/plugins/PlugInDlg.h"

namespace
{

CWnd* DialogParent(CQvView& view)
{
    return view.m_hWnd ? &view : nullptr;
}

void ChooseVirtualDrives(CQvView& view)
{
    CVirtualDriveDlg dialog(DialogParent(view));
    if (dialog.DoModal() != IDOK)
        return;
    LoadVirtualDrives();
    if (view.m_hWnd)
        view.DrawDriveBar(nullptr, 255);
}

void EditNetworkSettings(CQvView& view)
{
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    RunNetworkSettingsDialog(DialogParent(view));
    if (view.m_hWnd)
        view.Invalidate();
    view.StartBinaryCursorTimer();
}

void ToggleKeyTextInMenus(CQvView& view)
{
    g_VIEWMENUCOMMAND = g_VIEWMENUCOMMAND ? 0 : 1;
    // The menu bar keeps the texts it was built with: only a fresh load shows the
    // key texts or drops them.
    view.m_shownMenuId = 0;
    view.UpdateMenuForMode();
}

// PLACEHOLDER: the settings dialogs below come with the customisation work; until
// then each item only says in the log which dialog it would open.
void OpenPendingSettingsDialog(CQvView& view, LPCWSTR dialogName, bool reloadMenu)
{
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    ReportPendingCommand(dialogName, L"");
    if (reloadMenu)
    {
        view.m_shownMenuId = 0;
        view.UpdateMenuForMode();
    }
    if (view.m_hWnd)
        view.Invalidate();
    view.StartBinaryCursorTimer();
}

// The timers stay still while a customisation dialog is open; a changed menu table
// shows at once.
void RunCustomiseDialog(CQvView& view, CDialog& dialog, bool reloadMenu)
{
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    const INT_PTR result = dialog.DoModal();
    if (reloadMenu && result == IDOK)
    {
        view.m_shownMenuId = 0;
        view.UpdateMenuForMode();
    }
    if (view.m_hWnd)
        view.Invalidate();
    view.StartBinaryCursorTimer();
}

} // namespace

BOOL IsSettingsMenuItem(UINT id)
{
    switch (id)
    {
    case 324:
    case 325:
    case 331:
    case 657:
    case 694:
    case 705:
    case 716:
    case 924:
    case 935:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL RunSettingsMenuItem(CQvView& view, UINT id)
{
    switch (id)
    {
    case 331:
        ChooseVirtualDrives(view);
        return TRUE;
    case 694:
        EditNetworkSettings(view);
        return TRUE;
    case 657:
        ToggleKeyTextInMenus(view);
        return TRUE;
    case 935:
        OpenPendingSettingsDialog(view, L"CUseriniDlg", false);
        return TRUE;
    case 324:
        OpenPendingSettingsDialog(view, L"CDefCopyToDlg", false);
        return TRUE;
    case 325:
        OpenPendingSettingsDialog(view, L"CDefFilerInfoDlg", false);
        return TRUE;
    case 924: {
        CPlugInDlg dialog(DialogParent(view));
        RunCustomiseDialog(view, dialog, true);
        return TRUE;
    }
    case 705: {
        CNonLoadCplDlg dialog(DialogParent(view));
        RunCustomiseDialog(view, dialog, false);
        return TRUE;
    }
    case 716: {
        CNotViewMenuDlg dialog(DialogParent(view));
        RunCustomiseDialog(view, dialog, true);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
