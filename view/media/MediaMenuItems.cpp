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

namespace
{

const UINT kFirstHistoryItem = 732;
const UINT kLastHistoryItem = 736;
const UINT kLastPlayListItem = 737;
const UINT kScsiAssignmentItem = 930;
const UINT kCommandSoundItem = 332;

BOOL IsM3uPath(const CString& path)
{
    return path.GetLength() > 4 && path.Right(4).CompareNoCase(L".M3U") == 0;
}

} // namespace

BOOL UpdateMediaMenuItem(UINT id, CCmdUI& ui)
{
    switch (id)
    {
    case 976:
    case 977:
        ui.Enable(!IsPlayListPlaying());
        return TRUE;
    case 978:
    case 979:
        ui.Enable(IsMediaPlaying() && !IsPlayListPlaying());
        return TRUE;
    case 956:
        ui.SetCheck(g_MciFullScreen ? 1 : 0);
        return TRUE;
    case kCommandSoundItem:
        ui.Enable(TRUE);
        return TRUE;
    case kLastPlayListItem:
        ui.Enable(!g_LastPlayList.IsEmpty());
        ui.SetText(g_LastPlayList.IsEmpty() ? CString(L"なし") : g_LastPlayList);
        return TRUE;
    }
    if (id < kFirstHistoryItem || id > kLastHistoryItem)
        return FALSE;
    CString path;
    {
        CHandleLock lock(g_DataMutex);
        INT_PTR index = id - kFirstHistoryItem;
        if (index < g_PlayedFileHistory.GetSize())
            path = g_PlayedFileHistory[index];
    }
    ui.Enable(!path.IsEmpty());
    ui.SetText(path.IsEmpty() ? CString(L"なし") : path);
    return TRUE;
}

BOOL RunMediaMenuCommand(CQvView& view, UINT id)
{
    if (id == kScsiAssignmentItem)
    {
        CAttachScsiDlg dlg(&g_AspiDeviceList);
        dlg.m_neglectScan = g_NEGLECTSCSISCAN;
        if (dlg.DoModal() == IDOK)
            g_NEGLECTSCSISCAN = dlg.m_neglectScan;
        return TRUE;
    }
    if (id == kCommandSoundItem)
    {
        CViewBusyGuard busy(view);
        CDefWavDlg dialog(DialogOwner(&view));
        dialog.DoModal();
        return TRUE;
    }
    if (id == kLastPlayListItem)
    {
        CViewBusyGuard busy(view);
        StopPlayList();
        ClearPlayList();
        if (IsM3uPath(g_LastPlayList))
            PlayMediaOrPlayList(g_LastPlayList);
        return TRUE;
    }
    if (id < kFirstHistoryItem || id > kLastHistoryItem)
        return FALSE;
    StopPlayList();
    CString path;
    {
        CHandleLock lock(g_DataMutex);
        INT_PTR index = id - kFirstHistoryItem;
        if (index < g_PlayedFileHistory.GetSize())
            path = g_PlayedFileHistory[index];
    }
    if (!path.IsEmpty())
        PlayMediaOrPlayList(path);
    return TRUE;
}
