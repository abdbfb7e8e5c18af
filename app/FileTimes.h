// Comparing file times with the slack of file systems that store them in 2-second steps.
#pragma once
#include <windows.h>

// 1 when a is earlier than b, -1 when b is earlier than a, 0 when they count as
// equal: within 2 seconds of each other when `slack` is set (file systems that
// store times in 2-second steps), else only when identical.
int CompareFileTimes(const FILETIME& a, const FILETIME& b, BOOL slack);
// The same with the slack of setting COPY_FILE_TIME_USED_RANGE.
int CompareFileTimesBySetting(const FILETIME& a, const FILETIME& b);
