// Finding and loading the settings file at start-up, with the per-user redirection of
// section "USERINI", and the start-up hardening of the library search path.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CIniFile;

// "<homeDir>\qv.ini" when that file exists, else "<windowsDir>\qv.ini" (unchecked).
void LocateSettingsFile(LPCWSTR homeDir, LPCWSTR windowsDir, CString& out);

// The per-user settings file as a path to open: a relative path lies below the
// program folder (the settings writer saves it from there), a path rooted without a
// drive lies on the program's drive, anything with a drive or server part is taken
// as it is, and an empty value stays empty.
void ResolveUserIniPath(LPCWSTR userIniPath, LPCWSTR programDir, CString& out);

// CIniFile::Load, asking "Iniファイルが使用されています。\n読み込みを待ちますか" while the
// file stays in use; FALSE when the user chose not to wait.
BOOL LoadSettingsAskingWhileInUse(CIniFile& ini);

// Creates g_SettingsIni from the file LocateSettingsFile finds for g_HomeDir and
// g_WindowsDir, follows this user's (g_UserName) redirection of section "USERINI"
// into g_UserIniPath and g_UserIniActive, and reads the integer settings. FALSE,
// with g_SettingsIni deleted, when the user gave up waiting for a file in use.
BOOL LoadStartupSettings();

// Takes the current directory (and any library folder set before) out of the search
// path of libraries loaded by name, so that a folder the user browses to cannot plant
// one. FALSE when the system refused.
BOOL HardenDllSearchPath();
