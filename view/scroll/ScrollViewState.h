// The panes' scroll-bar windows as the view created them.
#pragma once
#include <windows.h>
#include "framework/FwGdi.h"

struct ScrollViewState
{
    // Control ids of the panes' scroll bars: [bar][pane].
    UINT barIds[2][2] = {{30000, 30001}, {30002, 30003}};
    // Each pane's scroll-bar window with the rectangle and orientation it was made with.
    HWND bars[2] = {nullptr, nullptr};
    CRect barRects[2];
    int barVertical[2] = {0, 0};
};
