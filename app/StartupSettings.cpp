#include "app/StartupSettings.h"

#include "app/Globals.h"
#include "app/IniFile.h"
#include "app/PathHelpers.h"
#include "app/Settings.h"

#include <cwchar>

void LocateSettingsFile(LPCWSTR homeDir, LPCWSTR windowsDir, CString& out)
{
    out.Format(L"%s\\qv.ini", homeDir);
    if (!FileExists(out))
        out.Format(L"%s\\qv.ini", windowsDir);
}

void ResolveUserIniPath(LPCWSTR userIniPath, LPCWSTR programDir, CString& out)
{
    CString path(userIniPath ? userIniPath : L"");
    if (path.IsEmpty() || wcspbrk(path, L"\\/:"))
    {
        out = path;
        return;
    }
    // Left alone, a bare name would be opened in whatever the current directory is.
    out.Format(L"%s\\%s", programDir, path.GetString());
}

BOOL LoadSettingsAskingWhileInUse(CIniFile& ini)
{
    while (ini.Load() == INI_LOAD_IN_USE)
    {
        if (MessageBoxW(nullptr, L"Iniファイルが使用されています。\n読み込みを待ちますか", L"再読み込み確認",
                        MB_OKCANCEL) != IDOK)
            return FALSE;
    }
    return TRUE;
}

BOOL LoadStartupSettings()
{
    CString path;
    LocateSettingsFile(g_HomeDir, g_WindowsDir, path);
    g_SettingsIni = new CIniFile;
    g_SettingsIni->filePath = path;
    BOOL loaded = LoadSettingsAskingWhileInUse(*g_SettingsIni);
    if (loaded && !g_UserName.IsEmpty())
    {
        CString value;
        g_SettingsIni->GetString(L"USERINI", g_UserName, L"", &value);
        if (!value.IsEmpty() && value[0] == L'@')
        {
            g_UserIniPath = value.Mid(1);
            g_UserIniActive = 1;
            ResolveUserIniPath(g_UserIniPath, g_HomeDir, g_SettingsIni->filePath);
            loaded = LoadSettingsAskingWhileInUse(*g_SettingsIni);
        }
        else
        {
            g_UserIniPath = value;
            g_UserIniActive = 0;
        }
    }
    if (!loaded)
    {
        delete g_SettingsIni;
        g_SettingsIni = nullptr;
        return FALSE;
    }
    ReadIntSettings(*g_SettingsIni);
    return TRUE;
}

void HardenDllSearchPath()
{
    SetDllDirectoryW(L"");
}
