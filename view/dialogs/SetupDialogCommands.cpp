// The menu commands that open the view's set-up dialogs of the user's right-click
// menu items and of the filer wallpaper.
#include "app/Settings.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/SettingStrings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/dialogs/RightClickMenuDlg.h"
#include "view/dialogs/SetFilerBitmapDlg.h"
#include "view/ViewBusyGuard.h"

void CQvView::OnRightClickMenuSettings()
{
    // The change check must not run into the dialog's modal loop.
    CViewBusyGuard busy(*this);
    CRightClickMenuDlg dialog(DialogOwner(this));
    dialog.DoModal();
}

void CQvView::OnFilerWallpaperSettings()
{
    CViewBusyGuard busy(*this);
    CSetFilerBitmapDlg dialog(DialogOwner(this));
    dialog.m_path = g_BACKBITMAPNAME;
    dialog.m_show = g_BACKBITMAPFLAG;
    dialog.m_days = g_FILERBMPCHANGEDAY;
    dialog.m_hours = g_FILERBMPCHANGEHOUR;
    dialog.m_minutes = g_FILERBMPCHANGEMINUTE;
    dialog.m_random = g_FIELRBMPCHANGERANDOM;
    dialog.m_tile = g_BACKBMPTILE;
    dialog.m_brightness = g_BACKPALLETCHANGE;
    const int active = GetActivePaneIndex();
    if (active >= 0 && active <= 1 && g_Panes[active] != nullptr)
        dialog.m_startFolder = g_Panes[active]->m_currentDir;
    if (dialog.DoModal() == IDOK)
    {
        g_BACKBITMAPNAME = dialog.m_path;
        g_BACKBITMAPFLAG = dialog.m_show;
        g_FILERBMPCHANGEDAY = dialog.m_days;
        g_FILERBMPCHANGEHOUR = dialog.m_hours;
        g_FILERBMPCHANGEMINUTE = dialog.m_minutes;
        g_FIELRBMPCHANGERANDOM = dialog.m_random;
        g_BACKBMPTILE = dialog.m_tile;
        g_BACKPALLETCHANGE = dialog.m_brightness;
        LoadPaneBackgroundPicture(1);
        if (m_hWnd)
            Invalidate(TRUE);
    }
}
