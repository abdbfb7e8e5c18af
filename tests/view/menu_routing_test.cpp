// The menu items whose state follows a setting, the new-file range filled from the
// new-file kinds, and the key text an item carries when the option to show it is on;
// read back from a real menu.
#include "tests/view/CommandTestSupport.h"

#include "app/KeywordBuilders.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/MediaSettings.h"
#include "filer/IncrementalSearchState.h"
#include "res/Menus.h"
#include "app/settings/ViewSettings.h"
#include "media/cd/CdPlayer.h"
#include "app/keys/CommandTables.h"
#include "view/menus/MenuTable.h"

#include <iterator>
#include <string>
#include <vector>

namespace
{

using commandtest::CommandBench;

std::string Utf8(const std::wstring& text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr,
                                           0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], length, nullptr,
                        nullptr);
    return out;
}

class MenuRoutingTest : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        m_menu = CreatePopupMenu();
        m_savedKinds.Copy(g_MakeNewFileKinds);
        g_MakeNewFileKinds.RemoveAll();
        Set(g_VIEWMENUCOMMAND, 0);
    }
    void TearDown() override
    {
        DestroyMenu(m_menu);
        g_MakeNewFileKinds.Copy(m_savedKinds);
        CommandBench::TearDown();
    }
    // Adds the item when it is not there yet and runs the view's update of it.
    void Update(UINT id, LPCWSTR text = L"item")
    {
        if (GetMenuState(m_menu, id, MF_BYCOMMAND) == static_cast<UINT>(-1))
            AppendMenuW(m_menu, MF_STRING, id, text);
        CCmdUI ui;
        ui.m_nID = id;
        ui.m_hMenu = m_menu;
        ui.m_nIndexMax = GetMenuItemCount(m_menu);
        for (int i = 0; i < GetMenuItemCount(m_menu); ++i)
            if (GetMenuItemID(m_menu, i) == id)
                ui.m_nIndex = i;
        View().OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    }
    bool Checked(UINT id) { return (GetMenuState(m_menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    bool Disabled(UINT id)
    {
        return (GetMenuState(m_menu, id, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED)) != 0;
    }
    std::wstring Text(UINT id)
    {
        wchar_t buffer[256] = {};
        GetMenuStringW(m_menu, id, buffer, 256, MF_BYCOMMAND);
        return buffer;
    }

    HMENU m_menu = nullptr;
    CArray<CMakeNewFile> m_savedKinds;
};

TEST_F(MenuRoutingTest, ItemsFollowTheirSettings)
{
    struct Case
    {
        int* setting;
        int value;
        UINT id;
        bool checked;
    } cases[] = {
        {&g_AUTO_FILE_NAME_WIDTH, 1, 175, true},   {&g_AUTO_FILE_NAME_WIDTH, 0, 175, false},
        {&g_EASYSEARCHMODE, 0, 682, true},         {&g_EASYSEARCHMODE, 0, 706, false},
        {&g_EASYSEARCHMODE, 2, 938, true},         {&g_EASYSEARCHMODE, 2, 314, false},
        {&g_EASYSEARCHMODE, 3, 314, true},         {&g_EASYSEARCHMODE, 4, 428, true},
        {&g_EASYSEARCHMODE, 4, 682, false},        {&g_VIEWER_CHAR_CODE, 5, 262, true},
        {&g_VIEWER_CHAR_CODE, 3, 265, true},       {&g_MCI_ZOOM, 50, 955, true},
        {&g_IncrementalSearchMode, 0, 683, true},  {&g_IncrementalSearchMode, 0, 707, false},
        {&g_IncrementalSearchMode, 1, 707, true},  {&g_IncrementalSearchMode, 2, 939, true},
        {&g_IncrementalSearchMode, 2, 315, false}, {&g_IncrementalSearchMode, 3, 315, true},
        {&g_IncrementalSearchMode, 4, 429, true},  {&g_IncrementalSearchMode, 4, 683, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        Set(*c.setting, c.value);
        Update(c.id);
        EXPECT_EQ(Checked(c.id), c.checked);
    }
    // The menu command of a drive-list option toggles it.
    Set(g_DRIVELISTCURJUMP, 0);
    EXPECT_TRUE(View().OnCmdMsg(317, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(g_DRIVELISTCURJUMP, 1);
    // And the keyword of an item with a command of the base class runs it here.
    Set(g_AUTO_FILE_NAME_WIDTH, 0);
    EXPECT_EQ(View().ExecuteFilerCommand(L"@AutoFileNameWidth"), 1);
    EXPECT_EQ(g_AUTO_FILE_NAME_WIDTH, 1);
}

TEST_F(MenuRoutingTest, AnIncrementalSearchItemSwitchesItsModeAndCarriesTheCheckMark)
{
    Set(g_IncrementalSearchMode, 0);
    Set(g_IncrementalSearchOn, FALSE);
    Set(g_EASYSEARCHMODE, 0);
    EXPECT_TRUE(View().OnCmdMsg(939, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(g_IncrementalSearchMode, 2);
    for (UINT id : {683u, 707u, 939u, 315u, 429u})
    {
        Update(id);
        EXPECT_EQ(Checked(id), id == 939u) << id;
        EXPECT_FALSE(Disabled(id)) << id;
    }
    g_IncrementalSearchText.Empty();
}

TEST_F(MenuRoutingTest, TheCompanionViewerItemIsCheckedWhileAPaneFollowsTheCursor)
{
    for (int companion : {1, -1, 0})
    {
        SCOPED_TRACE(companion);
        View().m_nCompanionPane = companion;
        Update(741);
        EXPECT_EQ(Checked(741), companion >= 0);
        EXPECT_FALSE(Disabled(741));
    }
    View().m_nCompanionPane = -1;
}

TEST_F(MenuRoutingTest, NewFileRangeShowsTheKindsAndDisablesTheRest)
{
    CMakeNewFile kind;
    kind.m_extension = L"txt";
    kind.m_displayName = L"テキスト文書";
    g_MakeNewFileKinds.Add(kind);
    Update(6100, L"old");
    Update(6101, L"old");
    Update(6150, L"old");
    EXPECT_FALSE(Disabled(6100));
    EXPECT_EQ(Text(6100), L"テキスト文書");
    for (UINT id : {6101u, 6150u})
    {
        EXPECT_TRUE(Disabled(id)) << id;
        EXPECT_EQ(Text(id), L"") << id;
    }
    g_MakeNewFileKinds.RemoveAll();
    Update(6100);
    EXPECT_TRUE(Disabled(6100)) << "no kinds at all";
}

TEST_F(MenuRoutingTest, EverySettingsPopupOffersTheDialogsTheViewOpensAndKeepsThemEnabled)
{
    const UINT kDialogItems[] = {140, 322, 168, 325, 326, 596, 358, 323, 324,  598, 915, 332, 331, 694,
                                 657, 924, 705, 139, 716, 935, 821, 917, 3020, 329, 328, 365, 913};
    for (UINT menuId : {IDR_MENU_FILER, IDR_MENU_NETWORK, IDR_MENU_DRIVE_LIST, IDR_MENU_ARCHIVE,
                        IDR_MENU_TEXT_VIEWER, IDR_MENU_BINARY, IDR_MENU_GRAPHIC})
    {
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
        ASSERT_NE(nullptr, menu) << menuId;
        HMENU settings = nullptr;
        for (int i = 0; i < GetMenuItemCount(menu); ++i)
        {
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            if (std::wstring(text) == L"各種設定(&D)")
                settings = GetSubMenu(menu, i);
        }
        ASSERT_NE(nullptr, settings) << menuId;
        for (UINT id : kDialogItems)
            EXPECT_NE(static_cast<UINT>(-1), GetMenuState(settings, id, MF_BYCOMMAND)) << menuId << " " << id;
        DestroyMenu(menu);
    }
    // The alpha settings are a picture viewer's: its bar alone offers them.
    const UINT kAlphaSettings = 1509;
    HMENU graphic = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MENU_GRAPHIC));
    EXPECT_NE(static_cast<UINT>(-1), GetMenuState(graphic, kAlphaSettings, MF_BYCOMMAND));
    DestroyMenu(graphic);
    std::vector<UINT> items(std::begin(kDialogItems), std::end(kDialogItems));
    items.push_back(kAlphaSettings);
    // The frame greys every item for which no handler answers.
    for (UINT id : items)
    {
        AppendMenuW(m_menu, MF_STRING, id, L"item");
        CCmdUI ui;
        ui.m_nID = id;
        ui.m_hMenu = m_menu;
        ui.m_nIndex = static_cast<UINT>(GetMenuItemCount(m_menu) - 1);
        ui.m_nIndexMax = static_cast<UINT>(GetMenuItemCount(m_menu));
        ui.DoUpdate(&View(), TRUE);
        EXPECT_FALSE(Disabled(id)) << id;
    }
}

TEST_F(MenuRoutingTest, KeyTextFollowsTheOption)
{
    Bind(g_FilerKeyCmds, L"A", 2, L"@AutoFileNameWidth");
    Bind(g_FilerKeyCmds, L"A", 0, L"@AutoFileNameWidth");
    Update(175, L"自動ファイル名幅");
    EXPECT_EQ(Text(175), L"自動ファイル名幅") << "option off";
    Set(g_VIEWMENUCOMMAND, 1);
    Update(175);
    EXPECT_EQ(Text(175), L"自動ファイル名幅  [A]") << "the lower modifier's key";
    // Every opening of the menu updates the item again: the key text stays one.
    Update(175);
    Update(175);
    EXPECT_EQ(Text(175), L"自動ファイル名幅  [A]");
    // An item whose keyword's row carries its id shows the key too.
    Bind(g_FilerKeyCmds, L"B", 0, L"@Sameotherdir");
    Update(837, L"相手側と同じディレクトリに変更");
    EXPECT_EQ(Text(837), L"相手側と同じディレクトリに変更  [B]");
    // A keyword bound to no key adds nothing.
    Update(472, L"ファイル名短縮表示");
    EXPECT_EQ(Text(472), L"ファイル名短縮表示");
}

// The settings items sit one level down, in the groups of "各種設定(&D)": the frame's
// update of such a group still checks the key-text option's item and gives an item
// its key text once, however often the group opens.
TEST_F(MenuRoutingTest, TheSettingsGroupsCarryTheirChecksAndKeyTexts)
{
    Bind(g_FilerKeyCmds, L"K", 0, L"@Filerkey");
    HMENU bar = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MENU_FILER));
    ASSERT_NE(nullptr, bar);
    // The group that holds the filer's key settings, found through the bar's popups.
    HMENU keys = nullptr;
    for (int i = 0; i < GetMenuItemCount(bar) && keys == nullptr; ++i)
        if (HMENU popup = GetSubMenu(bar, i))
            for (int j = 0; j < GetMenuItemCount(popup) && keys == nullptr; ++j)
                if (HMENU group = GetSubMenu(popup, j); group != nullptr && GetMenuItemID(group, 0) == 576)
                    keys = group;
    ASSERT_NE(nullptr, keys) << "no group starts with the filer's key settings";
    // The frame's update of an opened popup, item by item.
    auto open = [&] {
        CCmdUI ui;
        ui.m_hMenu = keys;
        for (ui.m_nIndex = 0; ui.m_nIndex < static_cast<UINT>(GetMenuItemCount(keys)); ++ui.m_nIndex)
        {
            ui.m_nIndexMax = static_cast<UINT>(GetMenuItemCount(keys));
            ui.m_nID = GetMenuItemID(keys, static_cast<int>(ui.m_nIndex));
            if (ui.m_nID != 0 && ui.m_nID != static_cast<UINT>(-1))
                ui.DoUpdate(&View(), TRUE);
        }
    };
    auto text = [&](UINT id) {
        wchar_t buffer[256] = {};
        GetMenuStringW(keys, id, buffer, 256, MF_BYCOMMAND);
        return std::wstring(buffer);
    };
    for (int on : {1, 0})
    {
        SCOPED_TRACE(on);
        Set(g_VIEWMENUCOMMAND, on);
        open();
        open();
        EXPECT_EQ(on == 1, (GetMenuState(keys, 657, MF_BYCOMMAND) & MF_CHECKED) != 0);
        EXPECT_EQ(0u, GetMenuState(keys, 657, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED));
        if (on)
            EXPECT_EQ(L"ファイラーキー設定  [K]", text(576));
    }
    DestroyMenu(bar);
}

TEST_F(MenuRoutingTest, ViewOptionsCheckTheirItemsAndTheItemsToggleThem)
{
    struct Case
    {
        UINT id;
        int GraphicViewState::*option;
        const wchar_t* handler;
    } cases[] = {
        {537, &GraphicViewState::listWindowShown, L"TogglePictureList"},
        {945, &GraphicViewState::smallWindowShown, L"ToggleSmallPicture"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        for (int on : {1, 0})
        {
            View().m_graphic.*c.option = on;
            Update(c.id);
            EXPECT_EQ(on == 1, Checked(c.id));
            EXPECT_FALSE(Disabled(c.id));
        }
        m_ran.clear();
        EXPECT_TRUE(View().OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(1, View().m_graphic.*c.option);
        EXPECT_EQ(std::vector<std::wstring>{c.handler}, RanHandlers());
        Update(c.id);
        EXPECT_TRUE(Checked(c.id));
    }
    // The window the option shows goes with the view.
    View().ClosePictureWindows();
}

TEST_F(MenuRoutingTest, ItemsWithAKeywordRunItsHandler)
{
    Set(g_MPEGNAMEDISPLAY, 0);
    const struct
    {
        UINT id;
        const wchar_t* handler;
    } cases[] = {
        {1090, L"ZoomPicture"},           {1092, L"ZoomPicture"},           {3011, L"ToggleTemporaryScaling"},
        {758, L"PausePictureDisplay"},    {149, L"CloseAllScsiTrays"},      {150, L"OpenAllScsiTrays"},
        {679, L"ToggleMpegTitleDisplay"}, {538, L"CopyPictureToClipboard"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        m_ran.clear();
        Update(c.id);
        EXPECT_FALSE(Disabled(c.id));
        EXPECT_TRUE(View().OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(std::vector<std::wstring>{c.handler}, RanHandlers());
    }
}

TEST_F(MenuRoutingTest, KeyTextItemReloadsTheMenuBar)
{
    Set(g_VIEWMENUCOMMAND, 0);
    View().m_menus.shownMenuId = 0xBEEF;
    Update(657);
    EXPECT_FALSE(Disabled(657));
    EXPECT_FALSE(Checked(657));
    EXPECT_TRUE(View().OnCmdMsg(657, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(1, g_VIEWMENUCOMMAND);
    EXPECT_NE(0xBEEFu, View().m_menus.shownMenuId) << "the menu of the mode is loaded again";
    Update(657);
    EXPECT_TRUE(Checked(657));
}

// A menu id runs the keyword of the row that carries it: the active mode's table
// first, then the others, so that an item of another mode's command still acts.
TEST_F(MenuRoutingTest, MenuIdsRunTheKeywordOfTheirTableRow)
{
    const struct
    {
        int family;
        UINT id;
        const wchar_t* keyword;
        const wchar_t* handler;
    } cases[] = {
        {COMMAND_FAMILY_FILER, 297, L"@Copy", L"CopyFiles"},
        {COMMAND_FAMILY_FILER, 816, L"@Rename", L"RenameFiles"},
        {COMMAND_FAMILY_FILER, 57665, L"@Quit", L"QuitProgram"},
        {COMMAND_FAMILY_GRAPHIC, 1488, L"@AlphaChannelType1", L"SetAlphaChannelType"},
        {COMMAND_FAMILY_FILER, 704, L"@Nextsearch", L"SearchNext"},
        {COMMAND_FAMILY_VIEWER, 264, L"@CharCodeEUC", L"SetViewerEncoding"},
        {COMMAND_FAMILY_FILER, 855, L"@Scsi01", L"RunScsiCommand"},
        {COMMAND_FAMILY_BINARY, 369, L"@Displayset0", L"ApplyDisplaySet"},
        {COMMAND_FAMILY_BINARY, 298, L"@Clipcopy", L"CopyBinarySelection"},
        {COMMAND_FAMILY_VIEWER, 298, L"@Clipcopy", L"CopyTextSelection"},
        {COMMAND_FAMILY_FILER, 837, L"@Sameotherdir", L"SetToOtherDirectory"},
        {COMMAND_FAMILY_FILER, 139, L"@Allcpldata", L"ShowControlPanelList"},
        {COMMAND_FAMILY_BINARY, 139, L"@Allcpldata", L"ShowControlPanelList"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        MenuCommandRoute route = {};
        ASSERT_TRUE(FindMenuCommandRoute(c.family, c.id, &route));
        EXPECT_EQ(std::wstring(route.keyword), c.keyword);
        EXPECT_EQ(std::wstring(route.entry->handlerName), c.handler);
    }
    EXPECT_FALSE(FindMenuCommandRoute(COMMAND_FAMILY_FILER, 4242, nullptr));
    // A dialog template's number is no menu item of any table.
    EXPECT_FALSE(FindMenuCommandRoute(COMMAND_FAMILY_FILER, 1261, nullptr));
    // A command runs through the same row.
    Set(g_FILENAMEPACK, 0);
    m_ran.clear();
    EXPECT_TRUE(View().OnCmdMsg(472, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(std::vector<std::wstring>{L"ToggleFileNamePack"}, RanHandlers());
}

// Every id a command-table row carries runs that row's keyword when it is chosen in
// the row's mode, unless the menu table gives the id a command of its own.
TEST_F(MenuRoutingTest, EveryKeywordIdRunsTheKeywordOfItsTableRow)
{
    const struct
    {
        int family;
        int list;
        UINT mode;
    } families[] = {
        {COMMAND_FAMILY_FILER, DISPATCH_FILER, PANE_MODE_FILER},
        {COMMAND_FAMILY_VIEWER, DISPATCH_VIEWER, PANE_MODE_TEXT_VIEWER},
        {COMMAND_FAMILY_GRAPHIC, DISPATCH_GRAPHIC, PANE_MODE_GRAPHIC},
        {COMMAND_FAMILY_BINARY, DISPATCH_BINARY, PANE_MODE_BINARY},
    };
    const CommandObserver saved = g_CommandObserver;
    // The keyword is caught before its member runs: nothing is copied, deleted or ended.
    g_CommandObserver = [](const CommandEntry&, LPCWSTR keyword, LPCWSTR) { throw std::wstring(keyword); };
    std::wstring faults;
    int reached = 0;
    for (const auto& f : families)
    {
        m_panes[0]->m_mode = f.mode;
        int count = 0;
        const CommandTableRow* rows = GetCommandTable(f.family, &count);
        for (int i = 0; i < count; ++i)
        {
            const UINT id = static_cast<UINT>(rows[i].menuId);
            // The first row of the table with the id counts; a keyword that no list of
            // the family runs leaves the id to the other tables.
            int list = 0;
            if (id == 0 || FindCommandRowByMenuId(f.family, id) != &rows[i] ||
                ResolveDispatcherEntry(f.list, rows[i].keyword, &list) == nullptr)
                continue;
            const MenuRow* row = FindMenuRow(id);
            if (row == nullptr)
            {
                faults += L" " + std::to_wstring(id) + L" has no row;";
                continue;
            }
            if (row->run != nullptr)
                continue;
            std::wstring ran;
            try
            {
                View().OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
            }
            catch (const std::wstring& keyword)
            {
                ran = keyword;
            }
            if (ran != rows[i].keyword)
                faults +=
                    L" " + std::to_wstring(id) + L" ran \"" + ran + L"\", not " + rows[i].keyword + L";";
            ++reached;
        }
    }
    g_CommandObserver = saved;
    EXPECT_GE(reached, 300);
    EXPECT_TRUE(faults.empty()) << Utf8(faults);
}

// A fixed row that leaves choosing its item to a keyword has one for each of its ids,
// or greys the item: no item is left enabled that does nothing.
TEST_F(MenuRoutingTest, ARowWithoutACommandOfItsOwnRunsAKeywordOrIsGreyed)
{
    size_t count = 0;
    const MenuRow* rows = GetMenuRows(&count);
    int checked = 0;
    for (size_t i = 0; i < count; ++i)
    {
        if (rows[i].run != nullptr || rows[i].filledAtRunTime)
            continue;
        for (UINT id = rows[i].first; id <= rows[i].last; ++id)
        {
            SCOPED_TRACE(id);
            ++checked;
            if (FindMenuCommandRoute(COMMAND_FAMILY_FILER, id, nullptr))
                continue;
            Update(id);
            EXPECT_TRUE(Disabled(id)) << "enabled, and no keyword runs it";
        }
    }
    EXPECT_GE(checked, 60);
}

TEST_F(MenuRoutingTest, CdItemsFollowThePlayerState)
{
    const int saved = g_CdState;
    const struct
    {
        int state;
        UINT id;
        bool enabled;
    } cases[] = {
        {CD_PLAYING, 226, true}, {CD_PLAYING, 227, false}, {CD_PLAYING, 231, true}, {CD_STOPPED, 226, false},
        {CD_STOPPED, 227, true}, {CD_STOPPED, 223, false}, {CD_PAUSED, 225, true},  {CD_PAUSED, 226, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.id);
        g_CdState = c.state;
        Update(c.id);
        EXPECT_EQ(!Disabled(c.id), c.enabled);
    }
    g_CdState = saved;
}

// The device list as the test describes it: a CD-ROM drive at 0:1:0 and an MO drive,
// which only ejects, at 0:2:0.
int LookUpTwoDrives(int adapter, int target, int unit, CString& label, BOOL& ejectOnly)
{
    if (adapter != 0 || unit != 0 || (target != 1 && target != 2))
        return 0;
    label = target == 1 ? L"#01 CD-DRIVE" : L"#02 MO-DRIVE";
    ejectOnly = target == 2;
    return 1;
}

TEST_F(MenuRoutingTest, ScsiItemsNameTheirDeviceAndGreyWhatCannotAct)
{
    CString saved[SCSI_COMMAND_COUNT];
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        saved[i] = g_ScsiCommandSettings[i];
    const KeywordHooks savedLookup = g_KeywordHooks;
    g_KeywordHooks.lookupScsiDevice = LookUpTwoDrives;
    const struct
    {
        LPCWSTR setting;
        LPCWSTR text;
        bool enabled;
    } cases[] = {
        {L"", L"未登録", false},
        {L"A100", L"未登録", false},
        {L"0100", L"#01 CD-DRIVE Open", true},
        {L"0101", L"#01 CD-DRIVE Close", true},
        {L"0200", L"#02 MO-DRIVE Eject", true},
        {L"0201", L"#02 MO-DRIVE Close", false},
        {L"0350", L"#0:3:5 Open", false},
        {L"0351", L"#0:3:5 Close", false},
    };
    for (UINT slot = 1; slot <= 9; ++slot)
    {
        for (const auto& c : cases)
        {
            SCOPED_TRACE(std::to_wstring(slot) + L" " + c.setting);
            for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
                g_ScsiCommandSettings[i] = static_cast<int>(slot) - 1 == i ? c.setting : L"0100";
            const UINT id = 854 + slot;
            Update(id, L"SCSIコマンド");
            EXPECT_EQ(c.text, Text(id));
            EXPECT_EQ(c.enabled, !Disabled(id));
        }
    }
    g_KeywordHooks = savedLookup;
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        g_ScsiCommandSettings[i] = saved[i];
}

TEST_F(MenuRoutingTest, KeywordPairsOfTheRightClickMenuAnswerInTheView)
{
    UserMenuEntry saved = g_UserMenuEntries[2];
    g_UserMenuEntries[2].m_command = L"@Filenamepack";
    g_UserMenuEntries[2].m_display = L"短縮表示";
    Update(6302, L"old");
    EXPECT_FALSE(Disabled(6302));
    EXPECT_EQ(Text(6302), L"短縮表示");
    Set(g_FILENAMEPACK, 0);
    m_ran.clear();
    EXPECT_TRUE(View().OnCmdMsg(6302, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(std::vector<std::wstring>{L"ToggleFileNamePack"}, RanHandlers());
    g_UserMenuEntries[2] = saved;
    // The shell's items answer only while its menu is shown.
    ASSERT_EQ(g_pContMenu2, nullptr);
    EXPECT_FALSE(View().OnCmdMsg(10005, CN_COMMAND, nullptr, nullptr));
}

} // namespace
