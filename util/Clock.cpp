#include "util/Clock.h"

ClockSeam g_ClockSeam = {::GetLocalTime};

namespace
{
// Only one override is active at a time; tests that use it run on one thread.
SYSTEMTIME s_fixed;

void WINAPI FixedLocalTime(LPSYSTEMTIME now)
{
    *now = s_fixed;
}
} // namespace

CClockOverride::CClockOverride(const SYSTEMTIME& fixed) : m_previous(g_ClockSeam)
{
    Set(fixed);
}

CClockOverride::~CClockOverride()
{
    g_ClockSeam = m_previous;
}

void CClockOverride::Set(const SYSTEMTIME& fixed)
{
    s_fixed = fixed;
    g_ClockSeam.getLocalTime = FixedLocalTime;
}
