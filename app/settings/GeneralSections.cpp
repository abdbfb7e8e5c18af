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
static const wchar_t kDefaultFontFace[] = L"ＭＳ 明朝";

struct StringSettingRow
{
    const wchar_t* key;
    CString* variable;
};

// The fourteen in the order they are written.
static const StringSettingRow kAllDataStrings[] = {
    {L"FONTNAME", &g_FONTNAME},
    {L"PRINTFONTNAME", &g_PrintSettings.fontName},
    {L"EDITORNAME", &g_EDITORNAME},
    {L"ONEDEFEDIT", &g_ONEDEFEDIT},
    {L"SOMEDEFEDIT", &g_SOMEDEFEDIT},
    {L"EDITOR_OPEN_UNICODE_OPTION", &g_EDITOR_OPEN_UNICODE_OPTION},
    {L"DOSSHELL", &g_DOSSHELL},
    {L"POWER_SHELL", &g_POWER_SHELL},
    {L"BACKBITMAPNAME", &g_BACKBITMAPNAME},
    {L"FIRSTDIRECTORY", &g_FIRSTDIRECTORY},
    {L"SECONDDIRECTORY", &g_SECONDDIRECTORY},
    {L"ENDDIRECTORY", &g_ENDDIRECTORY},
    {L"ENDDIRECTORY2", &g_ENDDIRECTORY2},
    {L"SET_SAME_TIME", &g_SET_SAME_TIME},
};

void LoadAllDataFontNames(CIniFile& ini)
{
    ini.GetString(kAllData, L"FONTNAME", kDefaultFontFace, &g_FONTNAME);
    ini.GetString(kAllData, L"PRINTFONTNAME", kDefaultFontFace, &g_PrintSettings.fontName);
}

void LoadAllDataStrings(CIniFile& ini)
{
    ini.GetString(kAllData, L"EDITORNAME", L"", &g_EDITORNAME);
    ini.GetString(kAllData, L"ONEDEFEDIT", L"", &g_ONEDEFEDIT);
    ini.GetString(kAllData, L"SOMEDEFEDIT", L"", &g_SOMEDEFEDIT);
    ini.GetString(kAllData, L"EDITOR_OPEN_UNICODE_OPTION", L"", &g_EDITOR_OPEN_UNICODE_OPTION);
    ini.GetString(kAllData, L"DOSSHELL", L"command.com", &g_DOSSHELL);
    ini.GetString(kAllData, L"POWER_SHELL", L"powershell.exe", &g_POWER_SHELL);
    ini.GetString(kAllData, L"BACKBITMAPNAME", L"", &g_BACKBITMAPNAME);
    ini.GetString(kAllData, L"FIRSTDIRECTORY", g_WindowsDir, &g_FIRSTDIRECTORY);
    ini.GetString(kAllData, L"SECONDDIRECTORY", L"", &g_SECONDDIRECTORY);
    ini.GetString(kAllData, L"ENDDIRECTORY", g_WindowsDir, &g_ENDDIRECTORY);
    ini.GetString(kAllData, L"ENDDIRECTORY2", L"", &g_ENDDIRECTORY2);
    ini.GetString(kAllData, L"SET_SAME_TIME", L"00:00:00", &g_SET_SAME_TIME);
    if (g_FIRSTDIRECTORY.IsEmpty())
        g_FIRSTDIRECTORY = g_WindowsDir;
    if (g_ENDDIRECTORY.IsEmpty())
        g_ENDDIRECTORY = g_WindowsDir;
}

void SaveAllDataStrings(CIniFile& ini)
{
    for (const StringSettingRow& row : kAllDataStrings)
        ini.WriteString(kAllData, row.key, *row.variable);
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
    for (const StringSettingRow& row : kAllDataStrings)
        row.variable->Empty();
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
