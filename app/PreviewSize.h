// The size of the thumbnail box.
#pragma once
#include <windows.h>

// The thumbnail box in pixels: PREVIEW_WIDTH (PREVIEW_HEIGHT) times
// PREVIEW_MAGNIFICATION percent, at least 1.
int GetPreviewWidthScaled();
int GetPreviewHeightScaled();
