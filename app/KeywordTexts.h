// Display texts of the numbered command keywords.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// For "@Displayset0" to "@Displayset9": "<width>X<height> <bits>Bits Color" of that
// slot and 1; 0 for another keyword or a slot with a zero value.
int GetDisplaySetCommandText(LPCWSTR keyword, CString& out);
