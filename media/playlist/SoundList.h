// The program's sound list (the play list's transport) and the play-list actions the
// view's commands use.
#pragma once
#include "media/playlist/SoundListPlayer.h"

// Steps with the settings SOUNDREPEAT and SOUNDRANDOM.
extern CSoundListPlayer g_SoundList;

// Stops the list and clears every failed mark.
void StopPlayList();
// A media file plays as a single file; an M3U list replaces the play list and
// starts. Anything else: nothing.
void PlayMediaOrPlayList(LPCWSTR path);
// Keeps a played path: an M3U list as the last list, any other file in the history.
void RecordPlayedPath(LPCWSTR path);
// A video or audio kind.
BOOL IsMediaKindName(LPCWSTR name);
// "@Soundlistsave" and the sound list's save button: asks, owned by `owner`, for the
// name to save the play list under (the last list offered) and writes it as an M3U
// list, which becomes the last list. False when the user cancelled or the list is empty.
bool SavePlayListAs(HWND owner);
