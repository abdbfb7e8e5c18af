#include "app/Settings.h"

int g_USE_STR_CMP_LOGICAL_W = 0;
StrCmpLogicalWProc g_pfnStrCmpLogicalW = nullptr;
