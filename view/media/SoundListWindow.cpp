// The sound list window, "@Setsoundlist" and "@Soundlistsave".
#include "util/Globals.h"
#include "app/records/HistoryList.h"
#include "app/records/PlayListFile.h"
#include "app/settings/MediaSettings.h"
#include "framework/FwApp.h"
#include "framework/FwLock.h"
#include "media/cd/CdPlayer.h"
#include "media/playlist/AudioPlayList.h"
#include "media/playlist/SoundList.h"
#include "media/playlist/SoundListDlg.h"
#include "view/media/MediaWindows.h"
#include "view/QvView.h"

#include <commdlg.h>

namespace
{

CSoundListDlg* g_pSoundListDlg = nullptr;
// The first "@Setsoundlist" after start loads the last list when the list is empty.
int g_firstSoundListOpen = 1;

BOOL IsM3uPath(const CString& path)
{
    return path.GetLength() > 4 && path.Right(4).CompareNoCase(L".M3U") == 0;
}

} // namespace

void ShowSoundListDlg(int show)
{
    if (g_pSoundListDlg == nullptr)
        g_pSoundListDlg = new CSoundListDlg;
    BOOL existed = g_pSoundListDlg->m_hWnd != nullptr;
    if (!existed && !g_pSoundListDlg->Create(AfxGetMainWnd()))
        return;
    g_pSoundListDlg->ShowWindow(show);
    if (show == SW_SHOW && existed)
        g_pSoundListDlg->m_refreshRequest = 1;
}

void CloseMediaWindows()
{
    // The player thread takes g_CdMutex, which ends with the view.
    StopCdPlayThread();
    CloseTagViewWindow();
    delete g_pSoundListDlg;
    g_pSoundListDlg = nullptr;
}

void CQvView::OpenSoundList()
{
    if (g_firstSoundListOpen)
    {
        g_firstSoundListOpen = 0;
        if (g_PlayList.IsEmpty() && IsM3uPath(g_LastPlayList))
        {
            StopPlayList();
            ClearPlayList();
            LoadPlayListM3u(g_LastPlayList, g_PlayList);
        }
    }
    ShowSoundListDlg(SW_SHOW);
}

void CQvView::SaveSoundList()
{
    CWnd* main = AfxGetMainWnd();
    SavePlayListAs(main ? main->m_hWnd : nullptr);
}
