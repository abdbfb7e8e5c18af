#include "app/StartupSettings.h"

#include "util/Globals.h"
#include "util/IniFile.h"
#include "util/PathHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/Settings.h"

void LocateSettingsFile(LPCWSTR homeDir, LPCWSTR windowsDir, CString& out)
{
    out.Format(L"%s\\qv.ini", homeDir);
    if (!FileExists(out))
        out.Format(L"%s\\qv.ini", windowsDir);
}

void ResolveUserIniPath(LPCWSTR userIniPath, LPCWSTR programDir, CString& out)
{
    CString path(userIniPath ? userIniPath : L"");
    auto isSlash = [](wchar_t ch) { return ch == L'\\' || ch == L'/'; };
    const int length = path.GetLength();
    const bool hasDrive = length >= 2 && path[1] == L':';
    const bool server = length >= 2 && isSlash(path[0]) && isSlash(path[1]);
    const bool rooted = length >= 1 && isSlash(path[0]);
    // Left alone, a relative path would be opened from whatever the current directory
    // is at start, while the settings writer saves it from the program folder.
    if (length == 0 || hasDrive || server)
        out = path;
    else if (!rooted)
        out.Format(L"%s\\%s", programDir, path.GetString());
    else if (programDir && programDir[0] && programDir[1] == L':')
        out.Format(L"%.2s%s", programDir, path.GetString()); // on the program's drive
    else
        out = path;
}

BOOL LoadSettingsAskingWhileInUse(CIniFile& ini)
{
    while (ini.Load() == INI_LOAD_IN_USE)
    {
        if (!Ask(nullptr, L"Iniファイルが使用されています。\n読み込みを待ちますか", L"再読み込み確認",
                 MessageBoxKind::OkCancel))
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

BOOL HardenDllSearchPath()
{
    return SetDllDirectoryW(L"");
}
