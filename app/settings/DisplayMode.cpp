#include "app/settings/DisplayMode.h"

#include "app/Drives.h"
#include "app/Settings.h"

namespace
{
BOOL WINAPI ApplyWallpaper(LPCWSTR path)
{
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<LPWSTR>(path),
                                 SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

LONG WINAPI ChangeDisplaySettingsCall(DEVMODEW* mode, DWORD flags)
{
    return ChangeDisplaySettingsW(mode, flags);
}
} // namespace

DisplayApi g_DisplayApi = {EnumDisplaySettingsW, ChangeDisplaySettingsCall, ApplyWallpaper};

void ChangeDisplayMode(int width, int height, int bitsPerPixel)
{
    DEVMODEW mode;
    bool found = false;
    for (DWORD number = 0;; ++number)
    {
        ZeroMemory(&mode, sizeof(mode));
        mode.dmSize = sizeof(mode);
        if (!g_DisplayApi.enumSettings(nullptr, number, &mode))
            break;
        if (static_cast<int>(mode.dmPelsWidth) == width && static_cast<int>(mode.dmPelsHeight) == height &&
            static_cast<int>(mode.dmBitsPerPel) == bitsPerPixel)
        {
            found = true;
            break;
        }
    }
    if (!found)
        return;

    // Tried first without the registry, so that a mode the monitor cannot show is
    // gone again at the next sign-in at the latest.
    if (g_DisplayApi.changeSettings(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL)
    {
        g_DisplayApi.changeSettings(nullptr, 0);
        return;
    }
    if (g_REGISTDISPLAY)
        g_DisplayApi.changeSettings(&mode, CDS_UPDATEREGISTRY);

    // A mode change leaves the desktop without its picture until it is set again.
    CString wallpaper;
    if (GetWallpaperPath(wallpaper))
        g_DisplayApi.setWallpaper(wallpaper);
}

int GetWallpaperPath(CString& out)
{
    out.Empty();
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\desktop", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD type = 0;
    if (ReadRegistryString(key, L"Wallpaper", &type, out) != ERROR_SUCCESS)
        out.Empty();
    RegCloseKey(key);
    return 1;
}
