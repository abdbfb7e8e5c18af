#include "media/playlist/SoundListPlayer.h"
#include "util/PathHelpers.h"
#include "media/playlist/AudioPlayList.h"

CSoundListPlayer::CSoundListPlayer(const int* repeat, const int* random) : m_repeat(repeat), m_random(random)
{
}

BOOL CSoundListPlayer::IsListPlaying(BOOL anyStop)
{
    return g_MciWnd && g_MciWnd->IsBusy(anyStop) && (g_MciWnd->m_requestMask & MEDIA_REQUEST_LIST);
}

int CSoundListPlayer::Transport(int command)
{
    switch (command)
    {
    case SOUND_LIST_PLAY:
        if (IsListPlaying(FALSE) || !HasPlayableEntry())
            return 0;
        PlayCurrent();
        return 1;
    case SOUND_LIST_STOP:
        if (g_MciWnd)
            g_MciWnd->ControlPlayback(MEDIA_STOP, nullptr, MEDIA_REQUEST_LIST);
        return SOUND_LIST_STOP;
    case SOUND_LIST_PREVIOUS:
    case SOUND_LIST_NEXT:
        if (!HasPlayableEntry() ||
            !StepPlayListPosition(command == SOUND_LIST_PREVIOUS ? -1 : 1, *m_repeat, *m_random))
        {
            Transport(SOUND_LIST_STOP);
            return command;
        }
        if (IsListPlaying(TRUE))
            PlayCurrent();
        return command;
    case SOUND_LIST_PAUSE:
        if (g_MciWnd)
            g_MciWnd->ControlPlayback(MEDIA_PAUSE_RESUME, nullptr, MEDIA_REQUEST_LIST);
        return SOUND_LIST_PAUSE;
    default:
        return 0;
    }
}

void CSoundListPlayer::StopList()
{
    Transport(SOUND_LIST_STOP);
    ResetPlayListFlags(g_PlayList);
}

void CSoundListPlayer::PlayCurrent()
{
    int count = static_cast<int>(g_PlayList.GetSize());
    if (count == 0)
        return;
    if (g_PlayListPos >= count)
        g_PlayListPos = count - 1;
    if (g_PlayListPos < 0)
        g_PlayListPos = 0;
    CMpegAudioData& entry = g_PlayList[g_PlayListPos];
    entry.m_played = 1;
    g_PlayListStartedPos = g_PlayListPos;
    CString path = entry.m_file.GetRealFullPath();
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileLong(path, &found);
    if (find != INVALID_HANDLE_VALUE)
    {
        FindCloseLong(find);
        CFileInfo& file = entry.m_file;
        file.SetFromFindData(file.m_source, file.m_owner, CString(file.GetDirectory()),
                             file.GetRealDirectory(TRUE), found, file.m_itemIndex);
        entry.ReadTags();
    }
    if (g_MciWnd)
    {
        g_MciWnd->m_pOwnerList = this;
        g_MciWnd->ControlPlayback(MEDIA_PLAY, path, MEDIA_REQUEST_LIST);
    }
}
