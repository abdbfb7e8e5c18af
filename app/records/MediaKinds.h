// The file extensions that count as video and as audio: the play list, the media
// window and the play-list files decide by them.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

// 60 extensions without dot: 0-29 the video kinds (section "SOUND", keys
// "MOVIEKIND00".."MOVIEKIND29"), 30-59 the audio kinds ("AUDIOKIND00".."AUDIOKIND29");
// empty entries are unused. Holds the defaults until the settings are read.
extern CStringArray g_MediaKindList;

// Number of entries of g_MediaKindList and of each half.
constexpr int MEDIA_KIND_COUNT = 60;

// Refills `list` with the 60 default kinds.
void SetDefaultMediaKinds(CStringArray& list);

// 1 when the name's extension equals (case aside) a non-empty video, respectively
// audio, kind of g_MediaKindList.
int IsMovieKindFile(LPCWSTR fileName);
int IsAudioKindFile(LPCWSTR fileName);

// Empties `out`, then appends the non-empty video kinds (when `videos`) and after
// them the non-empty audio kinds (when `audio`), in table order.
void GetMediaKindList(CStringArray& out, BOOL videos, BOOL audio);
