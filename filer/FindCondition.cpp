#include "filer/FindCondition.h"
#include "filer/FileInfo.h"

namespace
{
// A local wall-clock time of today (or of a fixed date) as a UTC file time.
FILETIME LocalToUtc(const SYSTEMTIME& local)
{
    FILETIME localTime{}, utc{};
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

ULONGLONG ToValue(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool InRange(const FILETIME& time, const FILETIME& from, const FILETIME& to)
{
    ULONGLONG value = ToValue(time);
    return value >= ToValue(from) && value <= ToValue(to);
}
} // namespace

void InitFindCondition(FindCondition& condition)
{
    SYSTEMTIME start{};
    start.wYear = 2000;
    start.wMonth = 1;
    start.wDay = 1;
    SYSTEMTIME today{};
    GetLocalTime(&today);
    today.wHour = 23;
    today.wMinute = 59;
    today.wSecond = 59;
    today.wMilliseconds = 0;
    FILETIME from = LocalToUtc(start);
    FILETIME to = LocalToUtc(today);
    condition.lastAccessFrom = condition.creationFrom = condition.updateFrom = from;
    condition.lastAccessTo = condition.creationTo = condition.updateTo = to;
    condition.attributeMask = 0x37;
    condition.noAttributeFlag = 1;
    condition.sizeMinimum = 0;
    condition.sizeMaximum = 1000000000000000LL;
    condition.lastAccessEnabled = 0;
    condition.creationEnabled = 0;
    condition.updateEnabled = 0;
}

BOOL MatchesFindConditionData(const CEntryFindData& findData, const FindCondition* condition)
{
    if (!condition)
        return TRUE;
    if (condition->lastAccessEnabled &&
        !InRange(findData.ftLastAccessTime, condition->lastAccessFrom, condition->lastAccessTo))
        return FALSE;
    if (condition->creationEnabled &&
        !InRange(findData.ftCreationTime, condition->creationFrom, condition->creationTo))
        return FALSE;
    if (condition->updateEnabled &&
        !InRange(findData.ftLastWriteTime, condition->updateFrom, condition->updateTo))
        return FALSE;
    DWORD attributes = findData.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return (condition->attributeMask & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if ((attributes & 0x37) == 0)
    {
        if (!condition->noAttributeFlag)
            return FALSE;
    }
    else if ((attributes & condition->attributeMask) == 0)
        return FALSE;
    LONGLONG size =
        static_cast<LONGLONG>((static_cast<ULONGLONG>(findData.nFileSizeHigh) << 32) | findData.nFileSizeLow);
    return size >= condition->sizeMinimum && size <= condition->sizeMaximum;
}
