// The version of the running system, read once at start-up.
#pragma once
#include <windows.h>

// Filled by ReadOsVersion; all zero before.
extern OSVERSIONINFOW g_OsVersion;

// Reads the version with GetVersionExW on its first call; later calls do nothing.
void ReadOsVersion();

// dwPlatformId of g_OsVersion (2 on every NT system).
DWORD GetOsPlatformId();

// The system generation the program distinguishes: on NT 2 for major version 4,
// 3 for 5.0 and 5 for anything else; on the older platform 0 for 4.0, 1 for 4.10
// and 4 for anything else.
int GetOsVersionKind();
