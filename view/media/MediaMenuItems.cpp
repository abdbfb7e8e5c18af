// The media items of the view's menus: their states, the recently played files and
// the last play list.
#include "util/Globals.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/settings/MediaSettings.h"
#include "framework/FwWnd.h"
#include "app/Settings.h"
#include "framework/FwLock.h"
#include "media/MciWnd.h"
#include "media/playlist/AudioPlayList.h"
#include "media/playlist/SoundList.h"
#include "media/scsi/AttachScsiDlg.h"
#include "tools/settings/OtherSettingDialogs.h"
#include "view/QvView.h"
#include "view/media/MediaWindows.h"
#include "view/ViewBusyGuard.h"
#include "res/MenuIds.h"

namespace
{

BOOL IsM3uPath(const CString& path)
{
    return path.GetLength() > 4 && path.Right(4).CompareNoCase(L".M3U") == 0;
}

} // namespace

BOOL UpdateMediaMenuItem(UINT id, CCmdUI& ui)
{
    switch (id)
    {
    case ID_MENU_SOUND_LOAD:
    case ID_MENU_SOUND_LOAD_STOP:
        ui.Enable(!IsPlayListPlaying());
        return TRUE;
    case ID_MENU_SOUND_PAUSE:
    case ID_MENU_SOUND_STOP:
        ui.Enable(IsMediaPlaying() && !IsPlayListPlaying());
        return TRUE;
    case ID_MENU_MEDIA_FULL_SCREEN:
        ui.SetCheck(g_MciFullScreen ? 1 : 0);
        return TRUE;
    case ID_MENU_COMMAND_SOUNDS:
        ui.Enable(TRUE);
        return TRUE;
    case ID_MENU_TAG_WINDOW:
        // The item runs its keyword; the check mark follows the window.
        ui.Enable(TRUE);
        ui.SetCheck(IsTagWindowShown() ? 1 : 0);
        return TRUE;
    case ID_MENU_LAST_PLAY_LIST:
        ui.Enable(!g_LastPlayList.IsEmpty());
        ui.SetText(g_LastPlayList.IsEmpty() ? CString(L"なし") : g_LastPlayList);
        return TRUE;
    }
    if (id < ID_MENU_PLAYED_FIRST || id > ID_MENU_PLAYED_LAST)
        return FALSE;
    CString path;
    {
        CHandleLock lock(g_DataMutex);
        INT_PTR index = id - ID_MENU_PLAYED_FIRST;
        if (index < g_PlayedFileHistory.GetSize())
            path = g_PlayedFileHistory[index];
    }
    ui.Enable(!path.IsEmpty());
    ui.SetText(path.IsEmpty() ? CString(L"なし") : path);
    return TRUE;
}

BOOL RunMediaMenuCommand(CQvView& view, UINT id)
{
    if (id == ID_MENU_SCSI_ASSIGNMENT)
    {
        CAttachScsiDlg dlg(&g_AspiDeviceList);
        dlg.m_neglectScan = g_NEGLECTSCSISCAN;
        if (dlg.DoModal() == IDOK)
            g_NEGLECTSCSISCAN = dlg.m_neglectScan;
        return TRUE;
    }
    if (id == ID_MENU_COMMAND_SOUNDS)
    {
        CViewBusyGuard busy(view);
        CDefWavDlg dialog(DialogOwner(&view));
        dialog.DoModal();
        return TRUE;
    }
    if (id == ID_MENU_LAST_PLAY_LIST)
    {
        CViewBusyGuard busy(view);
        g_SoundList.StopList();
        ClearPlayList();
        if (IsM3uPath(g_LastPlayList))
            PlayMediaOrPlayList(g_LastPlayList);
        return TRUE;
    }
    if (id < ID_MENU_PLAYED_FIRST || id > ID_MENU_PLAYED_LAST)
        return FALSE;
    g_SoundList.StopList();
    CString path;
    {
        CHandleLock lock(g_DataMutex);
        INT_PTR index = id - ID_MENU_PLAYED_FIRST;
        if (index < g_PlayedFileHistory.GetSize())
            path = g_PlayedFileHistory[index];
    }
    if (!path.IsEmpty())
        PlayMediaOrPlayList(path);
    return TRUE;
}
