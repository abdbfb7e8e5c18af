// The one place the program reads the wall clock, so that tests can set the time
// (dated backups, log lines, date parsing relative to today).
#pragma once
#include <windows.h>

typedef void(WINAPI* GetLocalTimeProc)(LPSYSTEMTIME);

// Points to ::GetLocalTime; tests replace it through CClockOverride.
extern GetLocalTimeProc g_pfnGetLocalTime;

inline void QvGetLocalTime(SYSTEMTIME* now)
{
    g_pfnGetLocalTime(now);
}

// Test helper: makes the clock return a fixed time for the life of the object.
class CClockOverride
{
public:
    explicit CClockOverride(const SYSTEMTIME& fixed);
    ~CClockOverride();
    void Set(const SYSTEMTIME& fixed);

private:
    GetLocalTimeProc m_previous;
};
