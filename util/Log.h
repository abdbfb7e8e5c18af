// The program's text logs: the general log "qv.log" in the program folder, which
// keeps one older generation in "qv_log.bck", and named logs below the program
// folder (the copy logs in "Log"). Lines are UTF-16LE with CR LF; WriteLog adds no
// time stamp or tag of its own.
#pragma once
#include <windows.h>
#include <stdarg.h>
#include "framework/FwString.h"

// The general log's rotation size: a log above it is moved to "qv_log.bck" before the
// next line.
const DWORD kLogRotateSize = 1000000;
// Characters of one line, terminator included; a longer line is cut.
const int kLogLineCapacity = 51200;

// Appends one line formatted like swprintf (%s takes a wide string) to the general
// log (name null) or to g_ProgramDir + name (name begins with a backslash). Failures
// are silent: a log that cannot be opened loses the line. Creates no folders.
void WriteLogV(LPCWSTR name, LPCWSTR format, va_list args);
void WriteLogFormatted(LPCWSTR name, LPCWSTR format, ...);

// CString arguments may be passed as they are.
template <typename... Args> void WriteLog(LPCWSTR name, LPCWSTR format, const Args&... args)
{
    WriteLogFormatted(name, format, fw_detail::FormatArg(args)...);
}
