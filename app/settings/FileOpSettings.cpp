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
    FindFileDlgState& state = g_FindFileDlgState;
    state.init = ini.GetInt(kFindFileDlgInf, L"INIT", 0);
    state.top = ini.GetInt(kFindFileDlgInf, L"TOP", 0);
    state.left = ini.GetInt(kFindFileDlgInf, L"LEFT", 0);
    state.height = ini.GetInt(kFindFileDlgInf, L"HEIGHT", 0);
    state.width = ini.GetInt(kFindFileDlgInf, L"WIDTH", 0);
    for (int i = 0; i < 5; ++i)
        state.columns[i] = ini.GetInt(kFindFileDlgInf, IndexedKey(L"COLUMN%d", i), 0);
    ini.GetStringList(kFindFileDlgInf, L"SEARCH_FILE%d", g_FindPatternHistory, 10);
    ini.GetStringList(kFindFileDlgInf, L"SEARCH_DIRECTORY_NAME%d", g_FindDirectoryHistory, 10);
    ini.GetStringList(kFindFileDlgInf, L"SEARCH_STRING%d", g_FindTextHistory, 10);
}

void SaveSectionFindFileDlgInf(CIniFile& ini)
{
    const FindFileDlgState& state = g_FindFileDlgState;
    ini.WriteInt(kFindFileDlgInf, L"INIT", state.init);
    ini.WriteInt(kFindFileDlgInf, L"TOP", state.top);
    ini.WriteInt(kFindFileDlgInf, L"LEFT", state.left);
    ini.WriteInt(kFindFileDlgInf, L"HEIGHT", state.height);
    ini.WriteInt(kFindFileDlgInf, L"WIDTH", state.width);
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
