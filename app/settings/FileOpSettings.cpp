// The file operations' sections of the settings file: "SPECIALCOPYTO", "SELECTDIR",
// "RENAMEHISTORY" and "FIND_FILE_DLG_INF".
#include "app/settings/FileOpSettings.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/SectionText.h"
#include "app/settings/SettingsSchema.h"
#include "framework/FwLock.h"

void LoadSectionSpecialCopyTo(CIniFile& ini)
{
    ini.GetStringList(L"SPECIALCOPYTO", L"DIR%d", g_SpecialCopyToDirs, 20);
}

void SaveSectionSpecialCopyTo(CIniFile& ini)
{
    ini.WriteStringList(L"SPECIALCOPYTO", L"DIR%d", g_SpecialCopyToDirs);
}

void LoadSectionSelectDir(CIniFile& ini)
{
    int maximum = g_SUMCOPYPASTDIRECTORY;
    {
        CHandleLock lock(g_DataMutex);
        if (g_SelectDirHistory.GetSize() > maximum)
            g_SelectDirHistory.SetSize(maximum > 0 ? maximum : 0);
    }
    ini.GetStringList(L"SELECTDIR", L"TODIR%d", g_SelectDirHistory, maximum);
}

void SaveSectionSelectDir(CIniFile& ini)
{
    ini.WriteStringList(L"SELECTDIR", L"TODIR%d", g_SelectDirHistory);
}

void LoadSectionRenameHistory(CIniFile& ini)
{
    ini.GetStringList(L"RENAMEHISTORY", L"NAME%d", g_RenameHistory, 10);
}

void SaveSectionRenameHistory(CIniFile& ini)
{
    ini.WriteStringList(L"RENAMEHISTORY", L"NAME%d", g_RenameHistory);
}

static const wchar_t kFindFileDlgInf[] = L"FIND_FILE_DLG_INF";

void LoadSectionFindFileDlgInf(CIniFile& ini)
{
    ReadSettingRows(ini, kFindFileDlgInf);
    FindFileDlgState& state = g_FindFileDlgState;
    for (int i = 0; i < 5; ++i)
        state.columns[i] = ini.GetInt(kFindFileDlgInf, IndexedKey(L"COLUMN%d", i), 0);
    ini.GetStringList(kFindFileDlgInf, L"SEARCH_FILE%d", g_FindPatternHistory, 10);
    ini.GetStringList(kFindFileDlgInf, L"SEARCH_DIRECTORY_NAME%d", g_FindDirectoryHistory, 10);
    ini.GetStringList(kFindFileDlgInf, L"SEARCH_STRING%d", g_FindTextHistory, 10);
}

void SaveSectionFindFileDlgInf(CIniFile& ini)
{
    WriteSettingRows(ini, kFindFileDlgInf);
    const FindFileDlgState& state = g_FindFileDlgState;
    for (int i = 0; i < 5; ++i)
        ini.WriteInt(kFindFileDlgInf, IndexedKey(L"COLUMN%d", i), state.columns[i]);
    ini.WriteStringList(kFindFileDlgInf, L"SEARCH_FILE%d", g_FindPatternHistory);
    ini.WriteStringList(kFindFileDlgInf, L"SEARCH_DIRECTORY_NAME%d", g_FindDirectoryHistory);
    ini.WriteStringList(kFindFileDlgInf, L"SEARCH_STRING%d", g_FindTextHistory);
}

void ResetSectionSpecialCopyTo()
{
    ClearListLocked(g_SpecialCopyToDirs);
}

void ResetSectionSelectDir()
{
    ClearListLocked(g_SelectDirHistory);
}

void ResetSectionRenameHistory()
{
    ClearListLocked(g_RenameHistory);
}

void ResetSectionFindFileDlgInf()
{
    g_FindFileDlgState = FindFileDlgState();
    ClearListLocked(g_FindPatternHistory);
    ClearListLocked(g_FindDirectoryHistory);
    ClearListLocked(g_FindTextHistory);
}
