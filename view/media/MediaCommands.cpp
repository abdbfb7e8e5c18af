// The view's media commands: single files and the play list on the media window.
#include "app/Settings.h"
#include "app/records/MediaKinds.h"
#include "filer/FilerPane.h"
#include "media/MciWnd.h"
#include "media/playlist/AudioPlayList.h"
#include "media/playlist/SoundList.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

namespace
{

// The active filer pane's cursor file when it is of a media kind; empty otherwise.
CString CursorMediaPath()
{
    for (CFilerPane* pane : g_Panes)
    {
        if (pane == nullptr || (pane->m_position & PANE_POS_ACTIVE) == 0 || pane->m_mode != PANE_MODE_FILER)
            continue;
        if (pane->CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET | PANE_CHECK_DRIVE_PRESENT))
            return CString();
        CFileInfo* entry = pane->GetCursorEntry();
        if (entry == nullptr || entry->IsDirectory() || !IsMediaKindName(entry->GetName()))
            return CString();
        return entry->GetFullPath();
    }
    return CString();
}

} // namespace

int PlaySoundFile(CQvView&, const CommandCall&, INT_PTR)
{
    // PLACEHOLDER: a member of a listed archive plays once the archive front extracts
    // single members to the temporary folder.
    CString path = CursorMediaPath();
    if (path.IsEmpty())
        return 1;
    RecordPlayedPath(path);
    ::PlaySoundFile(path, MEDIA_REQUEST_SINGLE);
    return 1;
}

int StopSoundLoad(CQvView&, const CommandCall&, INT_PTR)
{
    if (!g_MciWnd)
        return 1;
    CString path = CursorMediaPath();
    if (!path.IsEmpty())
        RecordPlayedPath(path);
    g_MciWnd->ControlPlayback(MEDIA_TOGGLE, path, MEDIA_REQUEST_SINGLE);
    return 1;
}

int AddToSoundList(CQvView&, const CommandCall&, INT_PTR)
{
    if (!g_PlayList.IsEmpty())
    {
        g_SoundList.Transport(1);
        return 1;
    }
    // PLACEHOLDER: a drive-list pane plays the media of its cursor drive's folder, and
    // the first use after start falls back to the last M3U list, once the sound list
    // window exists.
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        if (pane == nullptr || (pane->m_position & PANE_POS_ACTIVE) == 0 || pane->m_mode != PANE_MODE_FILER)
            continue;
        if (pane->CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET | PANE_CHECK_DRIVE_PRESENT))
            return 1;
        StopPlayList();
        ClearPlayList();
        CStringArray kinds;
        GetMediaKindList(kinds, TRUE, TRUE);
        AddPaneSelectionToPlayList(index, g_PlayList, kinds);
        if (!g_PlayList.IsEmpty())
            g_SoundList.Transport(1);
        return 1;
    }
    return 1;
}

int PauseSound(CQvView&, const CommandCall&, INT_PTR)
{
    if (g_MciWnd)
        g_MciWnd->ControlPlayback(MEDIA_PAUSE_RESUME, nullptr, MEDIA_REQUEST_SINGLE);
    return 1;
}

int StopSound(CQvView&, const CommandCall&, INT_PTR)
{
    if (g_MciWnd)
        g_MciWnd->ControlPlayback(MEDIA_STOP, nullptr, MEDIA_REQUEST_SINGLE);
    return 1;
}

int PauseSoundList(CQvView&, const CommandCall&, INT_PTR)
{
    if (g_MciWnd)
        g_MciWnd->ControlPlayback(MEDIA_PAUSE_RESUME, nullptr, MEDIA_REQUEST_LIST);
    return 1;
}

int StopSoundList(CQvView&, const CommandCall&, INT_PTR)
{
    StopPlayList();
    return 1;
}

int SoundListNext(CQvView&, const CommandCall&, INT_PTR)
{
    g_SoundList.Transport(5);
    return 1;
}

int SoundListPrevious(CQvView&, const CommandCall&, INT_PTR)
{
    g_SoundList.Transport(4);
    return 1;
}

int ToggleSoundListRepeat(CQvView&, const CommandCall&, INT_PTR)
{
    g_SOUNDREPEAT = !g_SOUNDREPEAT;
    return 1;
}

int ToggleSoundListRandom(CQvView&, const CommandCall&, INT_PTR)
{
    g_SOUNDRANDOM = !g_SOUNDRANDOM;
    return 1;
}

int SetMediaZoom(CQvView&, const CommandCall&, INT_PTR value)
{
    if (IsMediaPlaying())
        g_MciWnd->SetZoom(static_cast<int>(value));
    return 1;
}

int ToggleMediaFullScreen(CQvView&, const CommandCall&, INT_PTR)
{
    if (IsMediaPlaying())
        g_MciWnd->ToggleFullScreen(TRUE);
    return 1;
}

int MediaVolumeUp(CQvView&, const CommandCall&, INT_PTR)
{
    if (g_MciWnd)
        g_MciWnd->ChangeVolume(100);
    return 1;
}

int MediaVolumeDown(CQvView&, const CommandCall&, INT_PTR)
{
    if (g_MciWnd)
        g_MciWnd->ChangeVolume(-100);
    return 1;
}

} // namespace commands
