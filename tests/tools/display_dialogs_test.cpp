// The display-mode, font-per-resolution and wallpaper dialogs opened for real over a
// stand-in display: no test switches the machine's screen or its wallpaper, and the
// wallpaper's placement goes to a registry key of the test's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/DisplayModeSlots.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/DisplayMode.h"
#include "app/settings/ToolSettings.h"
#include "res/DisplayDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tools/display/DisplayFontDlg.h"
#include "tools/display/DisplayModeDlgs.h"
#include "tools/display/SetWallPaperDlg.h"

namespace
{

class DrivenChangeDlg : public qvtest::CDrivenDialog<DrivenChangeDlg, CChangeDisplayDlg>
{
};
class DrivenModeDlg : public qvtest::CDrivenDialog<DrivenModeDlg, CDisplayModeDlg>
{
};
class DrivenFontDlg : public qvtest::CDrivenDialog<DrivenFontDlg, CDisplayFontDlg>
{
};
class DrivenWallDlg : public qvtest::CDrivenDialog<DrivenWallDlg, CSetWallPaperDlg>
{
};

struct FakeMode
{
    DWORD width, height, bits, frequency;
};

// The stand-in display: two modes repeat 800 x 600 x 32 at other refresh rates.
const FakeMode kModes[] = {
    {800, 600, 32, 60}, {800, 600, 32, 75}, {1024, 768, 16, 60}, {1024, 768, 32, 60}, {800, 600, 32, 85},
};
std::vector<DEVMODEW> g_changed;
std::vector<std::wstring> g_wallpapers;

BOOL WINAPI FakeEnum(LPCWSTR, DWORD number, DEVMODEW* mode)
{
    if (number >= ARRAYSIZE(kModes))
        return FALSE;
    mode->dmPelsWidth = kModes[number].width;
    mode->dmPelsHeight = kModes[number].height;
    mode->dmBitsPerPel = kModes[number].bits;
    mode->dmDisplayFrequency = kModes[number].frequency;
    mode->dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL | DM_DISPLAYFREQUENCY;
    return TRUE;
}

LONG WINAPI FakeChange(DEVMODEW* mode, DWORD)
{
    if (mode != nullptr)
        g_changed.push_back(*mode);
    return DISP_CHANGE_SUCCESSFUL;
}

BOOL WINAPI FakeWallpaper(LPCWSTR path)
{
    g_wallpapers.push_back(path);
    return TRUE;
}

class DisplayDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_changed.clear();
        g_wallpapers.clear();
        m_savedRegist = g_REGISTDISPLAY;
        for (int i = 0; i < 10; ++i)
            m_savedSlots[i] = g_DisplayModeSlots[i];
    }
    void TearDown() override
    {
        g_REGISTDISPLAY = m_savedRegist;
        for (int i = 0; i < 10; ++i)
            g_DisplayModeSlots[i] = m_savedSlots[i];
    }

    ScopedDisplayApi m_api{DisplayApi{FakeEnum, FakeChange, FakeWallpaper}};
    int m_savedRegist = 1;
    DisplayModeSlot m_savedSlots[10] = {};
};

const std::vector<std::wstring> kListed = {L"800 x 600 32Bit Color", L"1024 x 768 16Bit Color",
                                           L"1024 x 768 32Bit Color"};

void Select(HWND dialog, int list, int index)
{
    ::SendDlgItemMessageW(dialog, list, LB_SETCURSEL, index, 0);
}

std::wstring Text(HWND dialog, int id)
{
    wchar_t text[256] = {};
    ::GetDlgItemTextW(dialog, id, text, 256);
    return text;
}

TEST_F(DisplayDialogs, ChangeDialogListsEachModeOnceAndSwitchesOnlyWithASelection)
{
    g_REGISTDISPLAY = 1;
    DrivenChangeDlg dialog;
    std::vector<std::wstring> lines;
    bool stayedOpen = false;
    dialog.drive = [&](DrivenChangeDlg& d) {
        lines = d.ListBoxLines(IDC_DSP_MODE_LIST);
        ::CheckDlgButton(d.m_hWnd, IDC_DSP_REGIST, BST_UNCHECKED);
        d.Command(IDOK);
        stayedOpen = ::IsWindowVisible(d.m_hWnd) && g_changed.empty();
        Select(d.m_hWnd, IDC_DSP_MODE_LIST, 2);
        d.Command(IDOK);
    };
    ASSERT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(kListed, lines);
    EXPECT_TRUE(stayedOpen) << "OK without a selection keeps the dialog";
    EXPECT_EQ(0, g_REGISTDISPLAY);
    ASSERT_EQ(1u, g_changed.size()) << "without REGISTDISPLAY the registry is not written";
    EXPECT_EQ(1024u, g_changed[0].dmPelsWidth);
    EXPECT_EQ(768u, g_changed[0].dmPelsHeight);
    EXPECT_EQ(32u, g_changed[0].dmBitsPerPel);
}

TEST_F(DisplayDialogs, SlotsTakeListedModesOrAreClearedAndReachTheSettingsOnlyOnOk)
{
    for (int i = 0; i < 10; ++i)
        g_DisplayModeSlots[i] = DisplayModeSlot{0, 0, 0};
    g_DisplayModeSlots[3] = DisplayModeSlot{16, 1024, 768};
    for (const INT_PTR result : {IDCANCEL, IDOK})
    {
        DrivenModeDlg dialog;
        std::vector<std::wstring> lines;
        std::wstring before3, after3, after0, after5;
        dialog.drive = [&](DrivenModeDlg& d) {
            lines = d.ListBoxLines(IDC_DSP_MODE_LIST);
            before3 = Text(d.m_hWnd, IDC_DSP_SLOT_TEXT0 + 3);
            Select(d.m_hWnd, IDC_DSP_MODE_LIST, 3); // "設定解除"
            d.Command(IDC_DSP_SLOT_SET0 + 3);
            Select(d.m_hWnd, IDC_DSP_MODE_LIST, 0);
            d.Command(IDC_DSP_SLOT_SET0 + 0);
            ::SendDlgItemMessageW(d.m_hWnd, IDC_DSP_MODE_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
            d.Command(IDC_DSP_SLOT_SET0 + 5); // no selection: nothing
            after3 = Text(d.m_hWnd, IDC_DSP_SLOT_TEXT0 + 3);
            after0 = Text(d.m_hWnd, IDC_DSP_SLOT_TEXT0 + 0);
            after5 = Text(d.m_hWnd, IDC_DSP_SLOT_TEXT0 + 5);
            if (result == IDOK)
                d.Command(IDOK);
            else
                d.EndDialog(IDCANCEL);
        };
        ASSERT_EQ(result, dialog.DoModal());
        std::vector<std::wstring> expected = kListed;
        expected.push_back(L"設定解除");
        EXPECT_EQ(expected, lines);
        EXPECT_EQ(L"1024 x 768 16Bit Color", before3);
        EXPECT_EQ(L"未設定", after3);
        EXPECT_EQ(L"800 x 600 32Bit Color", after0);
        EXPECT_EQ(L"未設定", after5);
        if (result == IDCANCEL)
        {
            EXPECT_EQ(1024, g_DisplayModeSlots[3].width) << "Cancel keeps the slots";
            EXPECT_EQ(0, g_DisplayModeSlots[0].width);
        }
        else
        {
            EXPECT_EQ(0, g_DisplayModeSlots[3].width);
            EXPECT_EQ(800, g_DisplayModeSlots[0].width);
            EXPECT_EQ(600, g_DisplayModeSlots[0].height);
            EXPECT_EQ(32, g_DisplayModeSlots[0].bitsPerPixel);
        }
    }
    EXPECT_TRUE(g_changed.empty()) << "choosing slots never switches the display";
}

TEST_F(DisplayDialogs, ApplyNowAndRegistryBoxActAtOnce)
{
    g_REGISTDISPLAY = 0;
    DrivenModeDlg dialog;
    int registWhileOpen = -1;
    dialog.drive = [&](DrivenModeDlg& d) {
        Select(d.m_hWnd, IDC_DSP_MODE_LIST, 3); // "設定解除" applies nothing
        d.Command(IDC_DSP_APPLY_NOW);
        ::CheckDlgButton(d.m_hWnd, IDC_DSP_REGIST, BST_CHECKED);
        d.Command(IDC_DSP_REGIST);
        registWhileOpen = g_REGISTDISPLAY;
        Select(d.m_hWnd, IDC_DSP_MODE_LIST, 1);
        d.Command(IDC_DSP_APPLY_NOW);
        d.EndDialog(IDCANCEL);
    };
    ASSERT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, registWhileOpen);
    // Switched once for the screen and once more to store it, REGISTDISPLAY being on.
    ASSERT_EQ(2u, g_changed.size());
    EXPECT_EQ(16u, g_changed[0].dmBitsPerPel);
}

TEST_F(DisplayDialogs, FontDialogListsResolutionsAndGivesAllTheMainFont)
{
    CArray<CDisplayFontSize> saved;
    saved.Copy(g_DisplayFontSizes);
    const CString savedName = g_FONTNAME;
    const int savedHeight = g_FONTHEIGHT, savedWeight = g_FONTWEIGHT;
    g_DisplayFontSizes.RemoveAll();
    for (LPCWSTR key : {L"0800X0600", L"1920X1080"})
    {
        CDisplayFontSize entry;
        entry.m_resolution = key;
        entry.m_faceName = L"Other";
        g_DisplayFontSizes.Add(entry);
    }
    g_FONTNAME = L"Main";
    g_FONTHEIGHT = -20;
    g_FONTWEIGHT = 700;
    for (const INT_PTR result : {IDCANCEL, IDOK})
    {
        DrivenFontDlg dialog;
        dialog.m_fontPerResolution = 1;
        std::vector<std::wstring> lines;
        bool checked = false;
        dialog.drive = [&](DrivenFontDlg& d) {
            lines = d.ListBoxLines(IDC_DSP_FONT_LIST);
            checked = ::IsDlgButtonChecked(d.m_hWnd, IDC_DSP_FONT_PER_RESOLUTION) == BST_CHECKED;
            d.ChooseFont(); // nothing selected: no font dialog opens
            d.Command(IDC_DSP_FONT_ALL_MAIN);
            ::CheckDlgButton(d.m_hWnd, IDC_DSP_FONT_PER_RESOLUTION, BST_UNCHECKED);
            if (result == IDOK)
                d.Command(IDOK);
            else
                d.EndDialog(IDCANCEL);
        };
        ASSERT_EQ(result, dialog.DoModal());
        EXPECT_EQ((std::vector<std::wstring>{L"0800 x 0600", L"1920 x 1080"}), lines);
        EXPECT_TRUE(checked);
        const CDisplayFontSize& stored = g_DisplayFontSizes[1];
        if (result == IDCANCEL)
            EXPECT_EQ(CString(L"Other"), stored.m_faceName);
        else
        {
            EXPECT_EQ(0, dialog.m_fontPerResolution);
            EXPECT_EQ(CString(L"Main"), stored.m_faceName);
            EXPECT_EQ(-20, stored.m_height);
            EXPECT_EQ(700, stored.m_weight);
            EXPECT_EQ(CString(L"1920X1080"), stored.m_resolution);
        }
    }
    g_DisplayFontSizes.Copy(saved);
    g_FONTNAME = savedName;
    g_FONTHEIGHT = savedHeight;
    g_FONTWEIGHT = savedWeight;
}

// The wallpaper's placement in a key of this test's own under HKEY_CURRENT_USER.
class WallpaperKey
{
public:
    WallpaperKey()
    {
        m_path.Format(L"Software\\QvTests\\Wallpaper%lu", ::GetCurrentProcessId());
        RegCreateKeyExW(HKEY_CURRENT_USER, m_path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
    }
    ~WallpaperKey()
    {
        RegCloseKey(m_key);
        RegDeleteKeyW(HKEY_CURRENT_USER, m_path);
    }
    void Set(LPCWSTR name, LPCWSTR value)
    {
        if (value == nullptr)
            RegDeleteValueW(m_key, name);
        else
            RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                           static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t)));
    }
    // The value's text, or "-" when it is missing.
    std::wstring Get(LPCWSTR name) const
    {
        wchar_t text[64] = {};
        DWORD size = sizeof(text) - sizeof(wchar_t);
        if (RegQueryValueExW(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS)
            return L"-";
        return text;
    }
    CString m_path;

private:
    HKEY m_key = nullptr;
};

TEST_F(DisplayDialogs, WallpaperPlacementIsReadAndWrittenAndOriginsDeleted)
{
    struct Case
    {
        LPCWSTR tile, style, x, y; // in the registry before
        int shownButton;
        bool shownOrigin;
        int chosenButton;
        bool chosenOrigin;
        LPCWSTR tileAfter, styleAfter, xAfter, yAfter;
    };
    const Case cases[] = {
        // Style 2 wins over the tile value; unchecking the origin deletes both values.
        {L"1", L"2", L"10", L"20", IDC_WALL_STRETCH, true, IDC_WALL_TILE, false, L"1", L"0", L"-", L"-"},
        {L"1", L"0", L"5", nullptr, IDC_WALL_TILE, false, IDC_WALL_CENTER, true, L"0", L"0", L"33", L"44"},
        {L"0", nullptr, nullptr, nullptr, IDC_WALL_CENTER, false, IDC_WALL_STRETCH, false, L"0", L"2", L"-",
         L"-"},
    };
    for (const Case& c : cases)
    {
        WallpaperKey key;
        key.Set(L"TileWallpaper", c.tile);
        key.Set(L"WallpaperStyle", c.style);
        key.Set(L"WallpaperOriginX", c.x);
        key.Set(L"WallpaperOriginY", c.y);
        g_wallpapers.clear();
        DrivenWallDlg dialog;
        dialog.m_desktopKey = key.m_path;
        dialog.m_bitmapPath = L"C:\\Pictures\\QVWALLPAPER.BMP";
        int shownButton = 0;
        bool shownOrigin = false;
        std::wstring shownX, shownPath;
        dialog.drive = [&](DrivenWallDlg& d) {
            for (int id : {IDC_WALL_CENTER, IDC_WALL_TILE, IDC_WALL_STRETCH})
                if (::IsDlgButtonChecked(d.m_hWnd, id) == BST_CHECKED)
                    shownButton = id;
            shownOrigin = ::IsDlgButtonChecked(d.m_hWnd, IDC_WALL_ORIGIN) == BST_CHECKED;
            shownX = Text(d.m_hWnd, IDC_WALL_ORIGIN_X);
            shownPath = Text(d.m_hWnd, IDC_WALL_PATH);
            for (int id : {IDC_WALL_CENTER, IDC_WALL_TILE, IDC_WALL_STRETCH})
                ::CheckDlgButton(d.m_hWnd, id, id == c.chosenButton ? BST_CHECKED : BST_UNCHECKED);
            ::CheckDlgButton(d.m_hWnd, IDC_WALL_ORIGIN, c.chosenOrigin ? BST_CHECKED : BST_UNCHECKED);
            ::SetDlgItemTextW(d.m_hWnd, IDC_WALL_ORIGIN_X, L"33");
            ::SetDlgItemTextW(d.m_hWnd, IDC_WALL_ORIGIN_Y, L"44");
            d.Command(IDOK);
        };
        ASSERT_EQ(IDOK, dialog.DoModal());
        EXPECT_EQ(c.shownButton, shownButton) << c.tile;
        EXPECT_EQ(c.shownOrigin, shownOrigin) << c.tile;
        EXPECT_EQ(c.shownOrigin ? std::wstring(c.x) : std::wstring(), shownX);
        EXPECT_EQ(L"C:\\Pictures\\QVWALLPAPER.BMP", shownPath);
        EXPECT_EQ(c.tileAfter, key.Get(L"TileWallpaper"));
        EXPECT_EQ(c.styleAfter, key.Get(L"WallpaperStyle"));
        EXPECT_EQ(c.xAfter, key.Get(L"WallpaperOriginX"));
        EXPECT_EQ(c.yAfter, key.Get(L"WallpaperOriginY"));
        ASSERT_EQ(1u, g_wallpapers.size());
        EXPECT_EQ(L"C:\\Pictures\\QVWALLPAPER.BMP", g_wallpapers[0]);
    }
}

TEST_F(DisplayDialogs, WallpaperIsAppliedEvenWhenTheKeyCannotBeOpened)
{
    DrivenWallDlg dialog;
    dialog.m_desktopKey = L"Software\\QvTests\\NoSuchKey\\desktop";
    dialog.m_bitmapPath = L"C:\\a.bmp";
    dialog.drive = [](DrivenWallDlg& d) { d.Command(IDOK); };
    ASSERT_EQ(IDOK, dialog.DoModal());
    ASSERT_EQ(1u, g_wallpapers.size());
    EXPECT_EQ(L"C:\\a.bmp", g_wallpapers[0]);
}

} // namespace
