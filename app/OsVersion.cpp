#include "app/OsVersion.h"

OSVERSIONINFOW g_OsVersion = {};

void ReadOsVersion()
{
    if (g_OsVersion.dwOSVersionInfoSize != 0)
    {
        return;
    }
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExW(&version);
    g_OsVersion = version;
}

DWORD GetOsPlatformId()
{
    return g_OsVersion.dwPlatformId;
}

int GetOsVersionKind()
{
    const DWORD major = g_OsVersion.dwMajorVersion;
    const DWORD minor = g_OsVersion.dwMinorVersion;
    if (g_OsVersion.dwPlatformId == VER_PLATFORM_WIN32_NT)
    {
        if (major == 4)
        {
            return 2;
        }
        return (major == 5 && minor == 0) ? 3 : 5;
    }
    if (major != 4)
    {
        return 4;
    }
    if (minor == 0)
    {
        return 0;
    }
    return minor == 10 ? 1 : 4;
}
