#include "graphics/viewer/BackgroundSchedule.h"

namespace
{
ULONGLONG ToTicks(const SYSTEMTIME& time)
{
    FILETIME file = {};
    SystemTimeToFileTime(&time, &file);
    return (ULONGLONG(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

SYSTEMTIME FromTicks(ULONGLONG ticks)
{
    FILETIME file = {DWORD(ticks), DWORD(ticks >> 32)};
    SYSTEMTIME time = {};
    FileTimeToSystemTime(&file, &time);
    return time;
}

constexpr ULONGLONG kTicksPerMinute = 60ULL * 10000000ULL;
} // namespace

int DecideBackgroundActions(int reason, int type, bool due)
{
    const bool interval = type == 2 || type == 3;
    switch (reason)
    {
    case 0:
        if (type == 1)
            return BACKGROUND_NEXT | BACKGROUND_LOAD;
        if (interval && due)
            return BACKGROUND_LOAD | BACKGROUND_NEXT | BACKGROUND_RETIME;
        return BACKGROUND_LOAD;
    case 1:
        return interval ? BACKGROUND_LOAD | BACKGROUND_RETIME : BACKGROUND_LOAD;
    case 2:
        return interval && due ? BACKGROUND_NEXT | BACKGROUND_RETIME | BACKGROUND_LOAD : 0;
    case 3:
        if (type == 0)
            return BACKGROUND_LOAD;
        if (type == 1)
            return BACKGROUND_NEXT | BACKGROUND_LOAD;
        return BACKGROUND_NEXT | BACKGROUND_RETIME | BACKGROUND_LOAD;
    default:
        return 0;
    }
}

bool IsLaterThan(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return ToTicks(a) > ToTicks(b);
}

SYSTEMTIME NextBackgroundChangeTime(int type, const SYSTEMTIME& now, int days, int hours, int minutes)
{
    if (days == 0 && hours == 0 && minutes == 0)
        days = 1;
    const LONGLONG step = ((LONGLONG(days) * 24 + hours) * 60 + minutes) * LONGLONG(kTicksPerMinute);
    const ULONGLONG nowTicks = ToTicks(now);
    if (type != 3)
        return FromTicks(nowTicks + step);
    SYSTEMTIME midnight = now;
    midnight.wHour = midnight.wMinute = midnight.wSecond = midnight.wMilliseconds = 0;
    ULONGLONG next = ToTicks(midnight);
    if (step <= 0)
        return FromTicks(next + 24 * 60 * kTicksPerMinute);
    // Whole intervals at once: a one-minute interval late in the day would otherwise
    // loop over a thousand times.
    if (next <= nowTicks)
        next += ((nowTicks - next) / ULONGLONG(step) + 1) * ULONGLONG(step);
    return FromTicks(next);
}

bool IsBmpFileName(const CString& path)
{
    const int length = path.GetLength();
    return length >= 4 && path.Right(4).CompareNoCase(L".BMP") == 0;
}

void ChooseNextBackgroundPicture(CArrayCommonFileEx& list, CString& current, bool random, int randomValue,
                                 bool (*acceptable)(const CString& path, void* context), void* context)
{
    const INT_PTR count = list.GetCount();
    if (count == 0)
    {
        current.Empty();
        return;
    }
    INT_PTR start = 0;
    if (random)
        start = (randomValue < 0 ? -(randomValue + 1) : randomValue) % count;
    else
        for (INT_PTR i = 0; i < count; ++i)
            if (list[i].m_name.CompareNoCase(current) == 0)
            {
                start = (i + 1) % count;
                break;
            }
    INT_PTR at = start;
    do
    {
        if (random)
        {
            bool allUsed = true;
            for (INT_PTR i = 0; i < count && allUsed; ++i)
                allUsed = list[i].m_value != 0;
            if (allUsed)
                for (INT_PTR i = 0; i < count; ++i)
                    list[i].m_value = 0;
        }
        CCommonFile& entry = list[at];
        const bool skip = random && entry.m_value != 0;
        entry.m_value = 1;
        if (!skip && acceptable(entry.m_name, context))
        {
            current = entry.m_name;
            return;
        }
        at = (at + 1) % count;
    } while (at != start);
}
