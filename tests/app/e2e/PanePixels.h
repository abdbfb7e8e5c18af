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
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0)
        return pixels;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr)
    {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y + top, SRCCOPY);
        SelectObject(memory, old);
        GdiFlush();
        const DWORD* p = static_cast<const DWORD*>(bits);
        pixels.assign(p, p + static_cast<size_t>(width) * height);
        for (DWORD& pixel : pixels)
            pixel &= 0xFFFFFF;
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

} // namespace e2etest
