#include "media/playlist/SoundList.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/records/HistoryList.h"
#include "app/records/MediaKinds.h"
#include "app/records/PlayListFile.h"
#include "app/settings/MediaSettings.h"
#include "framework/FwLock.h"
#include "media/playlist/AudioPlayList.h"

CSoundListPlayer g_SoundList(&g_SOUNDREPEAT, &g_SOUNDRANDOM);

namespace
{

BOOL IsM3u(LPCWSTR path)
{
    LPCWSTR dot = path ? wcsrchr(path, L'.') : nullptr;
    return dot && _wcsicmp(dot + 1, L"M3U") == 0 && !wcschr(dot, L'\\');
}

} // namespace

BOOL IsMediaKindName(LPCWSTR name)
{
    return IsMovieKindFile(name) || IsAudioKindFile(name);
}

void StopPlayList()
{
    g_SoundList.StopList();
}

void PlayMediaOrPlayList(LPCWSTR path)
{
    if (path == nullptr || *path == 0)
        return;
    if (IsMediaKindName(path))
    {
        PlaySoundFile(path, MEDIA_REQUEST_SINGLE);
        return;
    }
    if (!IsM3u(path))
        return;
    StopPlayList();
    ClearPlayList();
    if (LoadPlayListM3u(path, g_PlayList))
        g_SoundList.Transport(SOUND_LIST_PLAY);
}

void RecordPlayedPath(LPCWSTR path)
{
    if (IsM3u(path))
    {
        g_LastPlayList = path;
        return;
    }
    CHandleLock lock(g_DataMutex);
    AddToHistoryList(g_PlayedFileHistory, 5, path);
}

bool SavePlayListAs(HWND owner)
{
    FileDialogRequest request(owner, L"M3Uファイル\0*.M3U\0\0");
    request.defaultExt = L"M3U";
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.save = true;
    CString name = g_LastPlayList;
    if (!BrowseForFile(request, name) || g_PlayList.IsEmpty())
        return false;
    g_LastPlayList = name;
    SavePlayListM3u(name, g_PlayList);
    return true;
}
