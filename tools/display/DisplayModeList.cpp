#include "tools/display/DisplayModeList.h"
#include "app/settings/DisplayMode.h"

std::vector<DEVMODEW> EnumerateDisplayModes()
{
    std::vector<DEVMODEW> modes;
    for (DWORD number = 0;; ++number)
    {
        DEVMODEW mode = {};
        mode.dmSize = sizeof(mode);
        if (!g_DisplayApi.enumSettings(nullptr, number, &mode))
            break;
        bool known = false;
        for (const DEVMODEW& kept : modes)
            known =
                known || (kept.dmPelsWidth == mode.dmPelsWidth && kept.dmPelsHeight == mode.dmPelsHeight &&
                          kept.dmBitsPerPel == mode.dmBitsPerPel);
        if (!known)
            modes.push_back(mode);
    }
    return modes;
}

CString FormatDisplayMode(long width, long height, long bitsPerPixel)
{
    CString text;
    text.Format(L"%ld x %ld %ldBit Color", width, height, bitsPerPixel);
    return text;
}
