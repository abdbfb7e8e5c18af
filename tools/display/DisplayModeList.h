// The display modes of the primary display as the mode dialogs list them: each
// width, height and colour depth once, in the order the display reports them.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

#include <vector>

// Enumerated through g_DisplayApi; a mode that differs from a kept one only in its
// refresh rate (or another field) is passed over, the first of equal modes wins.
std::vector<DEVMODEW> EnumerateDisplayModes();

// "%ld x %ld %ldBit Color" of width, height and bits per pixel.
CString FormatDisplayMode(long width, long height, long bitsPerPixel);
