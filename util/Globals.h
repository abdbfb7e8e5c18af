// Process-wide values of the application core, filled once at start-up.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CIniFile;

// The folder of the program file, twice (g_HomeDir is the one the settings file is
// looked up in), and the Windows and system folders; none with a trailing backslash.
extern CString g_ProgramDir;
extern CString g_HomeDir;
extern CString g_WindowsDir;
extern CString g_SystemDir;

// The Windows user name of the process; empty when it cannot be read.
extern CString g_UserName;
// This user's value in section "USERINI" without its leading "@".
extern CString g_UserIniPath;
// 1 while the per-user settings file is in force, else 0.
extern int g_UserIniActive;

// The start directories of pane 0 and pane 1 from the command line; empty when not
// given.
extern CString g_StartDirs[2];

// The loaded settings file: made by start-up (LoadStartupSettings in
// CQvApp::InitInstance) and freed by the view's settings reader once every section is
// read (CQvView::LoadViewSettings), or by InitInstance when it gives way to a running
// instance; null before and after. A start-up that fails after loading it leaves it
// to the end of the process.
extern CIniFile* g_SettingsIni;

// Unnamed mutexes: g_DataMutex guards settings lookups, history lists and shared path
// strings (re-entrant for its owner); g_LogMutex guards only the log file.
extern HANDLE g_DataMutex;
extern HANDLE g_LogMutex;
