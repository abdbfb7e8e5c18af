// Settings of the media functions kept in the settings file (sections
// "SCSICOMMAND", "SOUNDLIST", "WAV" and "SOUND"; the media kinds are g_MediaKindList of
// app/records/MediaKinds.h). In the settings layer so that every library can reach them.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

// The SCSI command slots of "@Scsi01" to "@Scsi09": adapter, target, unit as one
// hexadecimal digit each, then '0' open or '1' close; anything else is unassigned.
constexpr int SCSI_COMMAND_COUNT = 9;
inline CString g_ScsiCommandSettings[SCSI_COMMAND_COUNT];

// The commands that can play a sound, and the sound file of each (empty: none).
constexpr int COMMAND_SOUND_COUNT = 23;
inline const wchar_t* const g_CommandSoundNames[COMMAND_SOUND_COUNT] = {
    L"COPY",     L"MOVE",           L"DELETE",    L"RENAME",    L"EXECUTE",    L"PACK",
    L"UNPACK",   L"LOAD_PICTURE",   L"EDIT",      L"VIEW",      L"CMP_BINARY", L"ATTRIBUTE",
    L"MKDIR",    L"FILE_ALLSELECT", L"ALLSELECT", L"DIRCHANGE", L"JUMPDIR",    L"WILDCARD",
    L"FINDFILE", L"SORT",           L"UPDIR",     L"START",     L"QUIT"};
inline CString g_CommandSoundFiles[COMMAND_SOUND_COUNT];

// The M3U list loaded or saved last.
inline CString g_LastPlayList;

// The single files played most recently (at most five, newest first); guarded by
// g_DataMutex.
inline CStringArray g_PlayedFileHistory;

// ---- Sections ----------------------------------------------------------------------
// Each Load takes the file's values (defaults for what is missing), each Save writes
// the section into a file opened with CIniFile::Create, each Reset puts the records
// back to the values they are declared with.

class CIniFile;

void LoadSectionSoundList(CIniFile& ini); // "SOUNDLIST"
void SaveSectionSoundList(CIniFile& ini);
void ResetSectionSoundList();
void LoadSectionScsiCommand(CIniFile& ini);
void SaveSectionScsiCommand(CIniFile& ini);
void ResetSectionScsiCommand();
void LoadSectionWav(CIniFile& ini);
void SaveSectionWav(CIniFile& ini);
void ResetSectionWav();
// "SOUND": the last play list and the sixty media kinds (built-in ones first).
void LoadSectionSound(CIniFile& ini);
void SaveSectionSound(CIniFile& ini);
void ResetSectionSound();
