// The general sections of the settings file: the value formats, "USERINI", the
// strings of "ALLDATA", "NETWORK" and "TIME_MACRO".
#include "app/settings/GeneralSections.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/NetworkAccounts.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/PrintSettings.h"
#include "app/settings/SectionText.h"
#include "app/settings/SettingsSchema.h"
#include "framework/FwLock.h"

#include <cwchar>

void FormatColorValue(DWORD color, CString& out)
{
    // Only the 24 colour bits: a seventh digit would shift every pair on reading.
    out.Format(L"%06x", static_cast<unsigned>(color & 0xffffff));
}

DWORD ReadColorValue(CIniFile& ini, LPCWSTR section, LPCWSTR key, DWORD defaultValue)
{
    CString value = ReadString(ini, section, key);
    return ParseColorHex(value, defaultValue);
}

void WriteColorValue(CIniFile& ini, LPCWSTR section, LPCWSTR key, DWORD color)
{
    CString text;
    FormatColorValue(color, text);
    ini.WriteString(section, key, text);
}

static const wchar_t kUserIni[] = L"USERINI";

void LoadUserIniEntries(CIniFile& ini, CStringArray& names, CStringArray& values)
{
    ini.GetSectionKeys(kUserIni, names, values);
}

void SaveUserIniEntries(CIniFile& ini, const CStringArray& names, const CStringArray& values)
{
    for (INT_PTR i = 0; i < names.GetSize() && i < values.GetSize(); ++i)
        ini.WriteString(kUserIni, names[i], values[i]);
}

void MakeSavedUserIniPath(LPCWSTR userIniPath, LPCWSTR programDir, CString& out)
{
    // A bare name is saved with the program folder in front; a path with a folder or
    // drive part is saved as the user gave it.
    CString path(userIniPath ? userIniPath : L"");
    if (path.IsEmpty() || wcspbrk(path, L"\\/:"))
        out = path;
    else
        out.Format(L"%s\\%s", programDir, path.GetString());
}

void SetUserIniEntry(CStringArray& names, CStringArray& values, LPCWSTR userName, LPCWSTR savedPath,
                     int active)
{
    CString value;
    if (active)
        value.Format(L"@%s", savedPath);
    else
        value = savedPath;
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
    {
        if (names[i] == userName) // user names differing in case are other users
        {
            values.SetAtGrow(i, value);
            return;
        }
    }
    names.Add(CString(userName));
    values.SetAtGrow(names.GetSize() - 1, value);
}

static const wchar_t kAllData[] = L"ALLDATA";

void LoadAllDataFontNames(CIniFile& ini)
{
    ReadSettingRows(ini, kAllData, SettingTypeBit(SETTING_FONT_FACE));
}

void LoadAllDataStrings(CIniFile& ini)
{
    ReadSettingRows(ini, kAllData, SettingTypeBit(SETTING_STRING) | SettingTypeBit(SETTING_WINDOWS_FOLDER));
}

void SaveAllDataStrings(CIniFile& ini)
{
    WriteSettingRows(ini, kAllData, kEverySettingType & ~SettingTypeBit(SETTING_INT));
}

static const wchar_t kNetwork[] = L"NETWORK";

void LoadSectionNetwork(CIniFile& ini)
{
    g_NetResourcePasswords.RemoveAll();
    for (int i = 0;; ++i)
    {
        CNetResourcePassWord login;
        ini.GetString(kNetwork, IndexedKey(L"RES%d", i), L"", &login.m_remoteName);
        if (login.m_remoteName.IsEmpty())
            break;
        ini.GetString(kNetwork, IndexedKey(L"USER%d", i), L"", &login.m_user);
        ini.GetString(kNetwork, IndexedKey(L"PASS%d", i), L"", &login.m_password);
        ini.GetString(kNetwork, IndexedKey(L"PROV%d", i), L"", &login.m_provider);
        g_NetResourcePasswords.Add(login);
    }
}

void SaveSectionNetwork(CIniFile& ini)
{
    for (int i = 0; i < g_NetResourcePasswords.GetSize(); ++i)
    {
        const CNetResourcePassWord& login = g_NetResourcePasswords[i];
        ini.WriteString(kNetwork, IndexedKey(L"RES%d", i), login.m_remoteName);
        ini.WriteString(kNetwork, IndexedKey(L"USER%d", i), login.m_user);
        ini.WriteString(kNetwork, IndexedKey(L"PASS%d", i), login.m_password);
        ini.WriteString(kNetwork, IndexedKey(L"PROV%d", i), login.m_provider);
    }
}

void LoadSectionTimeMacro(CIniFile& ini)
{
    for (int i = 0; i < 5; ++i)
        ini.GetString(L"TIME_MACRO", IndexedKey(L"DEF%d", i), L"", &g_TimeMacros[i]);
}

void SaveSectionTimeMacro(CIniFile& ini)
{
    for (int i = 0; i < 5; ++i)
        ini.WriteString(L"TIME_MACRO", IndexedKey(L"DEF%d", i), g_TimeMacros[i]);
}

void ResetAllDataStrings()
{
    for (int i = 0; i < g_SettingRowCount; ++i)
    {
        const SettingRow& row = g_SettingRows[i];
        if (wcscmp(row.section, kAllData) == 0 && row.type != SETTING_INT)
            static_cast<CString*>(row.storage)->Empty();
    }
}

void ResetSectionNetwork()
{
    g_NetResourcePasswords.RemoveAll();
}

void ResetSectionTimeMacro()
{
    for (CString& format : g_TimeMacros)
        format.Empty();
}
