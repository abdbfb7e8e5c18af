// Display-mode changes and the desktop wallpaper. The calls that touch the real
// display go through g_DisplayApi so that tests can stand in for them: a test must
// never switch the machine's screen or wallpaper.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

struct DisplayApi
{
    BOOL(WINAPI* enumSettings)(LPCWSTR device, DWORD modeNumber, DEVMODEW* mode);
    LONG(WINAPI* changeSettings)(DEVMODEW* mode, DWORD flags);
    BOOL(WINAPI* setWallpaper)(LPCWSTR path); // re-applies the desktop wallpaper
};

// The system's own functions unless a test replaced them.
extern DisplayApi g_DisplayApi;

// Replaces g_DisplayApi for one scope.
class ScopedDisplayApi
{
public:
    explicit ScopedDisplayApi(const DisplayApi& api) : m_saved(g_DisplayApi) { g_DisplayApi = api; }
    ~ScopedDisplayApi() { g_DisplayApi = m_saved; }
    ScopedDisplayApi(const ScopedDisplayApi&) = delete;
    ScopedDisplayApi& operator=(const ScopedDisplayApi&) = delete;

private:
    DisplayApi m_saved;
};

// Switches the primary display to the first enumerated mode of that size and depth;
// nothing when the display offers none. A mode the system refuses returns the display
// to the mode stored in the registry. With REGISTDISPLAY on, a successful change is
// also stored, and the wallpaper is applied again.
void ChangeDisplayMode(int width, int height, int bitsPerPixel);

// The user's wallpaper path (HKCU "Control Panel\desktop", value "Wallpaper"): 1 when
// the key could be opened (out empty when the value is absent), else 0.
int GetWallpaperPath(CString& out);
