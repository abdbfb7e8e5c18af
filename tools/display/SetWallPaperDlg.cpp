#include "tools/display/SetWallPaperDlg.h"
#include "app/OsVersion.h"
#include "app/Settings.h"
#include "app/settings/DisplayMode.h"
#include "res/DisplayDialogs.h"

#include <initializer_list>

namespace
{
bool ReadText(HKEY key, LPCWSTR name, CString& out)
{
    wchar_t buffer[64] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    out = buffer;
    return true;
}

void WriteText(HKEY key, LPCWSTR name, const CString& value)
{
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(static_cast<LPCWSTR>(value)),
                   static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t)));
}

CString ItemText(HWND dialog, int id)
{
    wchar_t text[64] = {};
    ::GetDlgItemTextW(dialog, id, text, ARRAYSIZE(text));
    return text;
}
} // namespace

CSetWallPaperDlg::CSetWallPaperDlg(CWnd* pParent) : CDialog(IDD_SET_WALLPAPER, pParent) {}

BOOL CSetWallPaperDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_WALL_STRETCH), GetOsPlatformId() == VER_PLATFORM_WIN32_NT);
    ::SetDlgItemTextW(m_hWnd, IDC_WALL_PATH, m_bitmapPath);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_desktopKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return TRUE;
    CString style, tile, x, y;
    int button = IDC_WALL_CENTER;
    if (ReadText(key, L"WallpaperStyle", style) && _wtoi(style) == 2)
        button = IDC_WALL_STRETCH;
    else if (ReadText(key, L"TileWallpaper", tile) && _wtoi(tile) != 0)
        button = IDC_WALL_TILE;
    // The three ids are not in one range, so CheckRadioButton cannot take them.
    for (int id : {IDC_WALL_CENTER, IDC_WALL_TILE, IDC_WALL_STRETCH})
        ::CheckDlgButton(m_hWnd, id, id == button ? BST_CHECKED : BST_UNCHECKED);
    const bool origin = ReadText(key, L"WallpaperOriginX", x) && ReadText(key, L"WallpaperOriginY", y);
    ::CheckDlgButton(m_hWnd, IDC_WALL_ORIGIN, origin ? BST_CHECKED : BST_UNCHECKED);
    if (origin)
    {
        m_originX = _wtoi(x);
        m_originY = _wtoi(y);
        ::SetDlgItemInt(m_hWnd, IDC_WALL_ORIGIN_X, m_originX, TRUE);
        ::SetDlgItemInt(m_hWnd, IDC_WALL_ORIGIN_Y, m_originY, TRUE);
    }
    RegCloseKey(key);
    return TRUE;
}

void CSetWallPaperDlg::OnOK()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, m_desktopKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS)
    {
        WriteText(key, L"TileWallpaper",
                  ::IsDlgButtonChecked(m_hWnd, IDC_WALL_TILE) == BST_CHECKED ? L"1" : L"0");
        WriteText(key, L"WallpaperStyle",
                  ::IsDlgButtonChecked(m_hWnd, IDC_WALL_STRETCH) == BST_CHECKED ? L"2" : L"0");
        if (::IsDlgButtonChecked(m_hWnd, IDC_WALL_ORIGIN) == BST_CHECKED)
        {
            WriteText(key, L"WallpaperOriginX", ItemText(m_hWnd, IDC_WALL_ORIGIN_X));
            WriteText(key, L"WallpaperOriginY", ItemText(m_hWnd, IDC_WALL_ORIGIN_Y));
        }
        else
        {
            RegDeleteValueW(key, L"WallpaperOriginX");
            RegDeleteValueW(key, L"WallpaperOriginY");
        }
        RegCloseKey(key);
    }
    g_DisplayApi.setWallpaper(m_bitmapPath);
    EndDialog(IDOK);
}
