#include "app/FileTimes.h"
#include "app/Settings.h"

int CompareFileTimes(const FILETIME& a, const FILETIME& b, BOOL slack)
{
    const ULONGLONG range = slack ? 20000000ULL : 0;
    const ULONGLONG timeA = ((ULONGLONG)a.dwHighDateTime << 32) | a.dwLowDateTime;
    const ULONGLONG timeB = ((ULONGLONG)b.dwHighDateTime << 32) | b.dwLowDateTime;
    if (timeA + range < timeB)
    {
        return 1;
    }
    if (timeB + range < timeA)
    {
        return -1;
    }
    return 0;
}

int CompareFileTimesBySetting(const FILETIME& a, const FILETIME& b)
{
    return CompareFileTimes(a, b, g_COPY_FILE_TIME_USED_RANGE);
}
