// What the end-to-end tests of the viewers read off the running program's window: the
// pixels of the left pane's body.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

#include "tests/common/EndToEnd.h"
#include "tests/common/TestSupport.h"

namespace e2etest
{

// The pixels of a band of the left pane's body, clear of its title row and its
// scroll bar. `skip` rows more are left out at its top.
inline std::vector<DWORD> BodyPixels(HWND window, int skip = 0)
{
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const int width = client.right / 2 - 40;
    const int top = client.bottom / 6 + skip;
    const int height = client.bottom * 2 / 3 - skip;
    std::vector<DWORD> pixels = qvtest::ScreenPixels(origin.x, origin.y + top, width, height);
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

} // namespace e2etest
