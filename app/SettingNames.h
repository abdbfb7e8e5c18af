// The names that the settings file writes for colours, mouse actions of the graphic
// viewer and modifier keys.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// The colour's name for the known colours, else "RGB(0x.., 0x.., 0x..)".
CString GetColorName(COLORREF color);
// The ini key part of a mouse action of the graphic viewer (0 "LEFT_CLICK" ...
// 5 "WHEEL_DOWN"); empty for any other value.
CString GetMouseActionName(int action);
// "N", "S", "C", "A" for modifier 0 to 3; empty for any other value.
CString GetModifierLetter(int modifier);
