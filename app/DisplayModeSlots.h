// The ten display-mode slots of the display-mode commands ("@Displayset0" to
// "@Displayset9"); an unused slot is all zero. Filled by the settings reader.
#pragma once

struct DisplayModeSlot
{
    int bitsPerPixel;
    int width;
    int height;
};

extern DisplayModeSlot g_DisplayModeSlots[10];
