// The menu bar follows the active pane's mode: kept between two filer panes, replaced
// for the drive list, gone with MENUDISPLAY off, and fixed up as the settings say.
#include "tests/view/CommandTestSupport.h"

#include "app/settings/FilerSettings.h"
#include "app/settings/GeneralToolSettings.h"
#include "res/Menus.h"
#include "tests/common/TestHelpers.h"

#include <algorithm>
#include <string>
#include <vector>

namespace
{

using commandtest::CommandBench;

std::vector<std::wstring> TopLevel(HMENU menu)
{
    std::vector<std::wstring> out;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
    {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        out.push_back(text);
    }
    return out;
}

bool Contains(const std::vector<std::wstring>& list, const std::wstring& text)
{
    for (const std::wstring& item : list)
        if (item == text)
            return true;
    return false;
}

class ModeMenus : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_MENUDISPLAY, 1);
        for (int i = 0; i < kHiddenMenuRowCount; ++i)
            for (int j = 0; j < 10; ++j)
                m_savedHidden[i][j] = g_HiddenMenuTable[i].hidden[j];
    }
    void TearDown() override
    {
        for (int i = 0; i < kHiddenMenuRowCount; ++i)
            for (int j = 0; j < 10; ++j)
                g_HiddenMenuTable[i].hidden[j] = m_savedHidden[i][j];
        CommandBench::TearDown();
    }

private:
    int m_savedHidden[kHiddenMenuRowCount][10] = {};
};

TEST_F(ModeMenus, EachModeHasItsMenuAndEveryMenuLoads)
{
    struct Case
    {
        UINT mode;
        UINT menu;
    } cases[] = {
        {PANE_MODE_FILER, IDR_MENU_FILER},
        {PANE_MODE_ARCHIVE, IDR_MENU_ARCHIVE},
        {PANE_MODE_GRAPHIC, IDR_MENU_GRAPHIC},
        {PANE_MODE_ARCHIVE_GRAPHIC, IDR_MENU_GRAPHIC},
        {PANE_MODE_TEXT_VIEWER, IDR_MENU_TEXT_VIEWER},
        {PANE_MODE_ARCHIVE_TEXT_VIEWER, IDR_MENU_TEXT_VIEWER},
        {PANE_MODE_DRIVE_LIST, IDR_MENU_DRIVE_LIST},
        {PANE_MODE_BINARY, IDR_MENU_BINARY},
        {PANE_MODE_NETWORK, IDR_MENU_NETWORK},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(GetModeMenuId(c.mode), c.menu) << c.mode;
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(c.menu));
        ASSERT_NE(menu, nullptr) << c.menu;
        // The menu's top-level popups are those of its row of the visibility table.
        for (const HiddenMenuRow& row : g_HiddenMenuTable)
            if (row.menuId == static_cast<int>(c.menu))
            {
                std::vector<std::wstring> expected(row.itemNames, row.itemNames + row.itemCount);
                EXPECT_EQ(TopLevel(menu), expected) << c.menu;
            }
        DestroyMenu(menu);
    }
}

TEST_F(ModeMenus, ThePlugInPopupLeavesWhateverTheCaseOfItsAccessKey)
{
    for (const wchar_t* text : {L"プラグイン(&I)", L"プラグイン(&i)"})
    {
        HMENU menu = CreateMenu();
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"ファイル操作(&F)");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), text);
        FixUpModeMenu(menu, IDR_MENU_FILER);
        std::vector<std::wstring> top = TopLevel(menu);
        EXPECT_FALSE(Contains(top, text)) << text;
        EXPECT_TRUE(Contains(top, L"ファイル操作(&F)")) << text;
        DestroyMenu(menu);
    }
}

TEST_F(ModeMenus, KeptBetweenTwoFilerPanesReplacedForTheDriveListGoneWhenSwitchedOff)
{
    CQvView& view = View();
    view.UpdateMenuForMode();
    HMENU filer = view.m_menus.modeMenu;
    ASSERT_NE(filer, nullptr);
    EXPECT_EQ(view.m_menus.shownMenuId, static_cast<UINT>(IDR_MENU_FILER));
    view.SwitchActivePane(-1);
    EXPECT_EQ(view.m_menus.modeMenu, filer);
    m_panes[1]->m_mode = PANE_MODE_DRIVE_LIST;
    view.UpdateMenuForMode();
    EXPECT_NE(view.m_menus.modeMenu, filer);
    EXPECT_EQ(view.m_menus.shownMenuId, static_cast<UINT>(IDR_MENU_DRIVE_LIST));
    Set(g_MENUDISPLAY, 0);
    view.UpdateMenuForMode();
    EXPECT_EQ(view.m_menus.modeMenu, nullptr);
    EXPECT_EQ(view.m_menus.shownMenuId, 0u);
}

TEST_F(ModeMenus, FixUpTakesOutThePlugInsAndTheHiddenPopupsAndKeepsTheDevicePopups)
{
    g_HiddenMenuTable[0].hidden[4] = 1; // "表示設定(&V)" of the filer menu
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MENU_FILER));
    ASSERT_NE(menu, nullptr);
    FixUpModeMenu(menu, IDR_MENU_FILER);
    std::vector<std::wstring> top = TopLevel(menu);
    EXPECT_FALSE(Contains(top, L"プラグイン(&I)"));
    EXPECT_FALSE(Contains(top, L"表示設定(&V)"));
    EXPECT_TRUE(Contains(top, L"ファイル操作(&F)"));
    int media = -1;
    for (size_t i = 0; i < top.size(); ++i)
        if (top[i] == L"マルチメディア(&P)")
            media = static_cast<int>(i);
    ASSERT_GE(media, 0);
    std::vector<std::wstring> items = TopLevel(GetSubMenu(menu, media));
    EXPECT_TRUE(Contains(items, L"入力デバイス"));
    EXPECT_TRUE(Contains(items, L"出力デバイス"));
    // The anchors before which the devices are inserted.
    EXPECT_NE(GetMenuState(menu, 3028, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, 3029, MF_BYCOMMAND), static_cast<UINT>(-1));
    DestroyMenu(menu);
}

TEST_F(ModeMenus, TheFilerBarListsTheNamedNewFileKindsUnderItsFirstPopupsFirstSubmenu)
{
    CArray<CMakeNewFile> saved;
    saved.Copy(g_MakeNewFileKinds);
    g_MakeNewFileKinds.RemoveAll();
    for (const wchar_t* name : {L"テキスト文書", L"", L"ビットマップ"})
    {
        CMakeNewFile kind;
        kind.m_extension = L"ext";
        kind.m_displayName = name;
        g_MakeNewFileKinds.Add(kind);
    }
    View().UpdateMenuForMode();
    HMENU kinds = GetSubMenu(GetSubMenu(View().m_menus.modeMenu, 0), 0);
    ASSERT_NE(kinds, nullptr);
    const int count = GetMenuItemCount(kinds);
    ASSERT_GE(count, 3);
    EXPECT_NE(GetMenuState(kinds, static_cast<UINT>(count - 3), MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_EQ(GetMenuItemID(kinds, count - 2), 6100u);
    EXPECT_EQ(GetMenuItemID(kinds, count - 1), 6102u) << "the kind without a name is left out";
    EXPECT_EQ(TopLevel(kinds).back(), L"ビットマップ");
    g_MakeNewFileKinds.Copy(saved);
}

// The settings popup of every bar holds its forty-odd dialogs in six short submenus,
// each short enough for a screen 800 pixels high, and loses none of them.
TEST_F(ModeMenus, TheSettingsPopupGroupsItsDialogsInShortSubmenus)
{
    const std::vector<std::wstring> kGroups = {L"ファイラー", L"ビューア", L"画像", L"キー",
                                               L"サウンド",   L"システム", L"",     L"設定保存"};
    const std::vector<UINT> kItems = {140, 322, 168, 325, 326, 596, 358,  324, 598, 642,  330, 821, 917, 1064,
                                      605, 203, 329, 328, 323, 576, 1072, 539, 209, 3020, 638, 657, 332, 522,
                                      365, 915, 913, 331, 694, 935, 924,  705, 738, 139,  716, 294};
    for (UINT bar : {IDR_MENU_FILER, IDR_MENU_NETWORK, IDR_MENU_DRIVE_LIST, IDR_MENU_ARCHIVE,
                     IDR_MENU_TEXT_VIEWER, IDR_MENU_BINARY, IDR_MENU_GRAPHIC})
    {
        SCOPED_TRACE(bar);
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bar));
        ASSERT_NE(nullptr, menu);
        HMENU settings = nullptr;
        const std::vector<std::wstring> top = TopLevel(menu);
        for (size_t i = 0; i < top.size(); ++i)
            if (top[i] == L"各種設定(&D)")
                settings = GetSubMenu(menu, static_cast<int>(i));
        ASSERT_NE(nullptr, settings);
        EXPECT_EQ(kGroups, TopLevel(settings));
        std::vector<UINT> expected = kItems;
        if (bar == IDR_MENU_BINARY)
            expected.push_back(207);
        std::vector<UINT> found;
        for (int i = 0; i < GetMenuItemCount(settings); ++i)
        {
            HMENU group = GetSubMenu(settings, i);
            if (group == nullptr)
            {
                if (GetMenuItemID(settings, i) != 0)
                    found.push_back(GetMenuItemID(settings, i));
                continue;
            }
            // Rows of about twenty pixels: sixteen of them and the bar above stay well
            // inside 800 pixels wherever the submenu opens.
            EXPECT_LE(GetMenuItemCount(group), 16) << i;
            for (int j = 0; j < GetMenuItemCount(group); ++j)
            {
                EXPECT_EQ(nullptr, GetSubMenu(group, j)) << "one level of groups";
                if (GetMenuItemID(group, j) != 0)
                    found.push_back(GetMenuItemID(group, j));
            }
        }
        std::sort(expected.begin(), expected.end());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(expected, found);
        DestroyMenu(menu);
    }
}

} // namespace
