// The time formats of the command-line macros %t1 to %t5. The string settings of
// section "ALLDATA" (g_FONTNAME, g_DOSSHELL …) are globals named after their ini keys
// like the integer settings: rows of app/SettingsTable.inc, declared by app/Settings.h.
#pragma once
#include "framework/FwString.h"
#include "app/Settings.h"

// The formats of %t1 to %t5 (section "TIME_MACRO").
inline CString g_TimeMacros[5];
