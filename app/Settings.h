// Integer settings of the program that the helpers read.
#pragma once
#include <windows.h>

// "USE_STR_CMP_LOGICAL_W" (section "ALLDATA2", default 0): names compare in natural order.
extern int g_USE_STR_CMP_LOGICAL_W;

// StrCmpLogicalW from "Shlwapi.dll", loaded by the view at start-up; null when the
// system does not offer it. Used only while g_USE_STR_CMP_LOGICAL_W is set.
typedef int(WINAPI* StrCmpLogicalWProc)(LPCWSTR, LPCWSTR);
extern StrCmpLogicalWProc g_pfnStrCmpLogicalW;
