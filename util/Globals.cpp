#include "util/Globals.h"

CString g_ProgramDir;
CString g_HomeDir;
CString g_WindowsDir;
CString g_SystemDir;

CString g_UserName;
CString g_UserIniPath;
int g_UserIniActive = 0;

CString g_StartDirs[2];

CIniFile* g_SettingsIni = nullptr;

HANDLE g_DataMutex = nullptr;
HANDLE g_LogMutex = nullptr;
