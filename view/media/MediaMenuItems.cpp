// The media items of the view's menus that no keyword names: the recently played
// files, the last play list and the SCSI device assignment. The menu table
// (view/menus/MenuTable.cpp) names each for its item.
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

namespace
{

// The file of a recently played item, empty past the history.
CString RecentFileOfItem(UINT id)
{
    CHandleLock lock(g_DataMutex);
    INT_PTR index = id - ID_MENU_PLAYED_FIRST;
    return index < g_PlayedFileHistory.GetSize() ? g_PlayedFileHistory[index] : CString();
}

} // namespace

void UpdateRecentFileItem(CCmdUI& ui, UINT id)
{
    const CString path = RecentFileOfItem(id);
    ui.Enable(!path.IsEmpty());
    ui.SetText(path.IsEmpty() ? CString(L"なし") : path);
}

void PlayRecentFile(UINT id)
{
    StopPlayList();
    const CString path = RecentFileOfItem(id);
    if (!path.IsEmpty())
        PlayMediaOrPlayList(path);
}

void UpdateLastPlayListItem(CCmdUI& ui)
{
    ui.Enable(!g_LastPlayList.IsEmpty());
    ui.SetText(g_LastPlayList.IsEmpty() ? CString(L"なし") : g_LastPlayList);
}

void PlayLastPlayList(CQvView& view)
{
    CViewBusyGuard busy(view);
    StopPlayList();
    ClearPlayList();
    if (IsM3uPath(g_LastPlayList))
        PlayMediaOrPlayList(g_LastPlayList);
}

void AssignScsiDevices()
{
    CAttachScsiDlg dlg(&g_AspiDeviceList);
    dlg.m_neglectScan = g_NEGLECTSCSISCAN;
    if (dlg.DoModal() == IDOK)
        g_NEGLECTSCSISCAN = dlg.m_neglectScan;
}
