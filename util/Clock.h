// The one place the program reads the wall clock, so that tests can set the time
// (dated backups, log lines, date parsing relative to today).
#pragma once
#include <windows.h>

// The system's clock; tests replace it through CClockOverride.
struct ClockSeam
{
    void(WINAPI* getLocalTime)(LPSYSTEMTIME now);
};

extern ClockSeam g_ClockSeam;

inline void QvGetLocalTime(SYSTEMTIME* now)
{
    g_ClockSeam.getLocalTime(now);
}

// Test helper: makes the clock return a fixed time for the life of the object.
class CClockOverride
{
public:
    explicit CClockOverride(const SYSTEMTIME& fixed);
    ~CClockOverride();
    void Set(const SYSTEMTIME& fixed);

private:
    ClockSeam m_previous;
};
