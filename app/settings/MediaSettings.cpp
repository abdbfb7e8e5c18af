// The media sections of the settings file: "SCSICOMMAND", "SOUNDLIST", "WAV" and
// "SOUND".
#include "app/settings/MediaSettings.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/records/MediaKinds.h"
#include "app/settings/SectionText.h"
#include "app/settings/SettingsSchema.h"
#include "framework/FwLock.h"

void LoadSectionSoundList(CIniFile& ini)
{
    ini.GetStringList(L"SOUNDLIST", L"LIST%d", g_PlayedFileHistory, 5);
}

void SaveSectionSoundList(CIniFile& ini)
{
    ini.WriteStringList(L"SOUNDLIST", L"LIST%d", g_PlayedFileHistory);
}

void ResetSectionSoundList()
{
    ClearListLocked(g_PlayedFileHistory);
}

void LoadSectionScsiCommand(CIniFile& ini)
{
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        g_ScsiCommandSettings[i] = ReadString(ini, L"SCSICOMMAND", IndexedKey(L"SCSI%d", i), L"");
}

void SaveSectionScsiCommand(CIniFile& ini)
{
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        ini.WriteString(L"SCSICOMMAND", IndexedKey(L"SCSI%d", i), g_ScsiCommandSettings[i]);
}

void LoadSectionWav(CIniFile& ini)
{
    for (int i = 0; i < COMMAND_SOUND_COUNT; ++i)
        g_CommandSoundFiles[i] = ReadString(ini, L"WAV", g_CommandSoundNames[i], L"");
}

void SaveSectionWav(CIniFile& ini)
{
    for (int i = 0; i < COMMAND_SOUND_COUNT; ++i)
        ini.WriteString(L"WAV", g_CommandSoundNames[i], g_CommandSoundFiles[i]);
}

void LoadSectionSound(CIniFile& ini)
{
    ReadSettingRows(ini, L"SOUND");
    SetDefaultMediaKinds(g_MediaKindList);
    const int half = MEDIA_KIND_COUNT / 2;
    for (int i = 0; i < half; ++i)
    {
        g_MediaKindList[i] = ReadString(ini, L"SOUND", IndexedKey(L"MOVIEKIND%02d", i), g_MediaKindList[i]);
        g_MediaKindList[half + i] =
            ReadString(ini, L"SOUND", IndexedKey(L"AUDIOKIND%02d", i), g_MediaKindList[half + i]);
    }
}

void SaveSectionSound(CIniFile& ini)
{
    WriteSettingRows(ini, L"SOUND");
    const int half = MEDIA_KIND_COUNT / 2;
    for (int i = 0; i < half; ++i)
        ini.WriteString(L"SOUND", IndexedKey(L"MOVIEKIND%02d", i),
                        i < g_MediaKindList.GetCount() ? g_MediaKindList[i] : CString());
    for (int i = 0; i < half; ++i)
        ini.WriteString(L"SOUND", IndexedKey(L"AUDIOKIND%02d", i),
                        half + i < g_MediaKindList.GetCount() ? g_MediaKindList[half + i] : CString());
}

void ResetSectionScsiCommand()
{
    for (CString& slot : g_ScsiCommandSettings)
        slot.Empty();
}

void ResetSectionWav()
{
    for (CString& file : g_CommandSoundFiles)
        file.Empty();
}

void ResetSectionSound()
{
    g_LastPlayList.Empty();
    SetDefaultMediaKinds(g_MediaKindList);
}
