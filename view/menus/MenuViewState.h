// The menu bar the view gave the frame.
#pragma once
#include <windows.h>

struct MenuViewState
{
    // The menu loaded for the frame and its resource id (0: none loaded).
    HMENU modeMenu = nullptr;
    UINT shownMenuId = 0;
};
