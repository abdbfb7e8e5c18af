// The settings items of the menus through the view: the virtual drives, the network
// settings and the filer settings sheet take effect only on OK, and
// "@Mpegnamedisplay" reads the shown filer lists again.
#include "tests/view/CommandTestSupport.h"
#include "tests/common/DialogHarness.h"

#include "util/Globals.h"
#include "app/NetworkSettingsDlg.h"
#include "app/VirtualDrives.h"
#include "res/NetworkDialogs.h"
#include "res/SettingsDialogs.h"

#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string>

namespace
{

// The caption of the dialog the timer answers, the button it presses and, for the
// network dialog, the provider width it types first.
const wchar_t* g_caption = nullptr;
int g_button = IDOK;
const wchar_t* g_providerWidth = nullptr;
int g_answered = 0;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindThreadDialog(g_caption);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    ++g_answered;
    if (g_providerWidth != nullptr)
        SetDlgItemTextW(dialog, IDC_NETDEF_PROVIDER_WIDTH, g_providerWidth);
    SendMessageW(dialog, WM_COMMAND, WPARAM(g_button), 0);
}

void RunItemAnswering(CQvView& view, UINT id, const wchar_t* caption, int button,
                      const wchar_t* providerWidth = nullptr)
{
    g_caption = caption;
    g_button = button;
    g_providerWidth = providerWidth;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerDialog);
    EXPECT_TRUE(view.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr));
    KillTimer(nullptr, timer);
}

// The filer settings sheet: shows its option page, flips the option of line
// g_optionLine (none when negative) as the space key does, and ends with g_button.
int g_optionLine = -1;

void CALLBACK AnswerFilerSettings(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND sheet = qvtest::FindThreadDialog(L"ファイラー設定");
    if (sheet == nullptr)
        return;
    KillTimer(nullptr, timer);
    if (g_optionLine >= 0)
    {
        HWND tab = GetDlgItem(sheet, IDC_FSET_TAB);
        SendMessageW(tab, TCM_SETCURSEL, 1, 0);
        NMHDR header = {tab, IDC_FSET_TAB, UINT(TCN_SELCHANGE)};
        SendMessageW(sheet, WM_NOTIFY, IDC_FSET_TAB, reinterpret_cast<LPARAM>(&header));
        HWND list = nullptr;
        for (HWND page = FindWindowExW(sheet, nullptr, L"#32770", nullptr);
             page != nullptr && list == nullptr; page = FindWindowExW(sheet, page, L"#32770", nullptr))
            list = GetDlgItem(page, IDC_FILER_OPTIONS);
        SendMessageW(list, LB_SETCURSEL, WPARAM(g_optionLine), 0);
        SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    }
    SendMessageW(sheet, WM_COMMAND, WPARAM(g_button), 0);
}

// The display-file dialog: hides the names beginning with a dot, ends with g_button.
void CALLBACK AnswerDisplayFiles(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindThreadDialog(L"表示ファイル設定");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    CheckDlgButton(dialog, IDC_DISPFILE_FIRST_DOT, BST_UNCHECKED);
    SendMessageW(dialog, WM_COMMAND, WPARAM(g_button), 0);
}

std::set<std::wstring> Names(const CFilerPane& pane)
{
    std::set<std::wstring> out;
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        out.insert(pane.m_entries[i].GetName());
    return out;
}

using SettingsMenuItems = commandtest::CommandBench;

TEST_F(SettingsMenuItems, VirtualDrivesAreLoadedOnlyOnOk)
{
    // A letter no real drive has; its store appears once the drives are loaded.
    const int letter = L'Q' - L'A';
    const CString home = g_HomeDir;
    g_HomeDir = m_dir;
    int flags[26];
    std::copy(g_VirtualDriveFlags, g_VirtualDriveFlags + 26, flags);
    CVirtualFolderStore* const before = g_VirtualFolderStores[letter];
    g_VirtualFolderStores[letter] = nullptr;
    g_VirtualDriveFlags[letter] = 1;

    RunItemAnswering(View(), 331, L"仮想ドライブ", IDCANCEL);
    EXPECT_EQ(nullptr, g_VirtualFolderStores[letter]) << "cancelled";
    RunItemAnswering(View(), 331, L"仮想ドライブ", IDOK);
    EXPECT_EQ(1, g_VirtualDriveFlags[letter]);
    EXPECT_NE(nullptr, g_VirtualFolderStores[letter]) << "loaded on OK";

    g_VirtualDriveFlags[letter] = 0;
    LoadVirtualDrives();
    EXPECT_EQ(nullptr, g_VirtualFolderStores[letter]);
    g_VirtualFolderStores[letter] = before;
    std::copy(flags, flags + 26, g_VirtualDriveFlags);
    g_HomeDir = home;
}

TEST_F(SettingsMenuItems, NetworkSettingsAreStoredOnlyOnOk)
{
    const NetworkDefValues saved = ReadNetworkDefValues();
    NetworkDefValues start = saved;
    start.providerWidth = 30;
    StoreNetworkDefValues(start);
    RunItemAnswering(View(), 694, L"NetWork設定", IDCANCEL, L"44");
    EXPECT_EQ(30, ReadNetworkDefValues().providerWidth);
    RunItemAnswering(View(), 694, L"NetWork設定", IDOK, L"44");
    EXPECT_EQ(44, ReadNetworkDefValues().providerWidth);
    StoreNetworkDefValues(saved);
}

TEST_F(SettingsMenuItems, CustomiseItemsOpenTheirDialogs)
{
    const struct
    {
        UINT id;
        const wchar_t* caption;
    } items[] = {
        {139, L"コントロールパネル"},
        {705, L"読み込まないCPLファイルの設定"},
        {716, L"表示しないメニュー項目"},
        {924, L"Quarvel Plugin"},
    };
    for (const auto& item : items)
    {
        g_answered = 0;
        RunItemAnswering(View(), item.id, item.caption, IDCANCEL);
        EXPECT_EQ(g_answered, 1) << item.id;
    }
}

// The new-file kinds are items of the menu bar: OK loads the bar again, Cancel does not.
TEST_F(SettingsMenuItems, NewFileKindsReloadTheMenuBarOnOk)
{
    for (const int button : {IDCANCEL, IDOK})
    {
        SCOPED_TRACE(button);
        View().m_menus.shownMenuId = 0xBEEF;
        g_answered = 0;
        RunItemAnswering(View(), 642, L"新規作成ファイルの設定", button);
        EXPECT_EQ(g_answered, 1);
        EXPECT_EQ(button == IDOK, View().m_menus.shownMenuId != 0xBEEFu);
    }
}

// The plug-in dialog's buttons change the plug-in list before OK or Cancel: the bar is
// loaded again whatever the answer.
TEST_F(SettingsMenuItems, PlugInSettingsReloadTheMenuBarWhateverTheAnswer)
{
    for (const int button : {IDCANCEL, IDOK})
    {
        SCOPED_TRACE(button);
        View().m_menus.shownMenuId = 0xBEEF;
        g_answered = 0;
        RunItemAnswering(View(), 924, L"Quarvel Plugin", button);
        EXPECT_EQ(g_answered, 1);
        EXPECT_NE(View().m_menus.shownMenuId, 0xBEEFu);
    }
}

TEST_F(SettingsMenuItems, FilerSettingsReadThePanesAgainOnlyWhenAListingOptionChanged)
{
    const std::wstring folder = std::wstring(m_dir) + L"\\listing";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(folder + L"\\.dot", "x"));
    ASSERT_TRUE(qvtest::WriteFileBytes(folder + L"\\plain.txt", "x"));
    Set(g_HIDDENVIEWFLAG, 1);
    Set(g_DISP_FIRST_DOT_FILE, 1);
    struct Case
    {
        int line; // 2 is ".～ファイルを表示"
        int button;
        int dotFiles;
        bool read;
    } cases[] = {
        {2, IDCANCEL, 1, false},
        {-1, IDOK, 1, false},
        {2, IDOK, 0, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.line << "/" << c.button);
        for (int i = 0; i < 2; ++i)
        {
            m_panes[i]->m_entries.RemoveAll();
            m_panes[i]->m_currentDir = folder.c_str();
        }
        g_optionLine = c.line;
        g_button = c.button;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerFilerSettings);
        EXPECT_TRUE(View().OnCmdMsg(140, CN_COMMAND, nullptr, nullptr));
        KillTimer(nullptr, timer);
        EXPECT_EQ(c.dotFiles, g_DISP_FIRST_DOT_FILE);
        for (int i = 0; i < 2; ++i)
        {
            EXPECT_EQ(c.read ? 1u : 0u, Names(*m_panes[i]).count(L"plain.txt")) << i;
            EXPECT_EQ(0u, Names(*m_panes[i]).count(L".dot")) << i;
        }
    }
}

TEST_F(SettingsMenuItems, TheDisplayFileDialogListsThePanesAgainAfterOk)
{
    const std::wstring folder = std::wstring(m_dir) + L"\\shown";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(folder + L"\\.dot", "x"));
    Set(g_HIDDENVIEWFLAG, 1);
    for (const int button : {IDCANCEL, IDOK})
    {
        SCOPED_TRACE(button);
        Set(g_DISP_FIRST_DOT_FILE, 1);
        m_panes[1]->m_entries.RemoveAll();
        m_panes[1]->m_currentDir = folder.c_str();
        g_button = button;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerDisplayFiles);
        EXPECT_TRUE(View().OnCmdMsg(358, CN_COMMAND, nullptr, nullptr));
        KillTimer(nullptr, timer);
        EXPECT_EQ(button == IDOK ? 0 : 1, g_DISP_FIRST_DOT_FILE);
        // Listed again on OK only, and then without the dot name.
        EXPECT_EQ(button == IDOK, m_panes[1]->m_entries.GetSize() > 0);
        EXPECT_EQ(0u, Names(*m_panes[1]).count(L".dot"));
    }
}

TEST_F(SettingsMenuItems, TurningTheSharedSortOnGivesTheListingTheOrderOfItsPartner)
{
    // Which pane takes the other's order: the active listing, else the listing beside
    // an active pane that lists nothing, else the second pane.
    struct Case
    {
        int active;
        UINT activeMode;
        UINT otherMode;
        int taker;
    } cases[] = {
        {1, PANE_MODE_FILER, PANE_MODE_FILER, 1},        {0, PANE_MODE_ARCHIVE, PANE_MODE_FILER, 0},
        {1, PANE_MODE_DRIVE_LIST, PANE_MODE_FILER, 0},   {0, PANE_MODE_NETWORK, PANE_MODE_FILER, 1},
        {1, PANE_MODE_DRIVE_LIST, PANE_MODE_ARCHIVE, 0}, {0, PANE_MODE_DRIVE_LIST, PANE_MODE_NETWORK, 1},
    };
    const int sortKeys[2] = {SORT_KEY_SIZE, SORT_KEY_NAME};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "active " << c.active << " " << c.activeMode << "/" << c.otherMode);
        Set(g_CHYNCROSORT, 0);
        for (int i = 0; i < 2; ++i)
        {
            m_panes[i]->m_position = i == c.active ? PANE_POS_ACTIVE : PANE_POS_OTHER;
            m_panes[i]->m_mode = i == c.active ? c.activeMode : c.otherMode;
            m_panes[i]->m_sortSetting.m_fileKey = sortKeys[i];
        }
        g_optionLine = 6; // "ソート方法を同期させる"
        g_button = IDOK;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, AnswerFilerSettings);
        EXPECT_TRUE(View().OnCmdMsg(140, CN_COMMAND, nullptr, nullptr));
        KillTimer(nullptr, timer);
        ASSERT_EQ(1, g_CHYNCROSORT);
        EXPECT_EQ(sortKeys[1 - c.taker], m_panes[c.taker]->m_sortSetting.m_fileKey) << "the taker";
        EXPECT_EQ(sortKeys[1 - c.taker], m_panes[1 - c.taker]->m_sortSetting.m_fileKey) << "its partner";
    }
    for (int i = 0; i < 2; ++i)
    {
        m_panes[i]->m_position = i == 0 ? PANE_POS_ACTIVE : PANE_POS_OTHER;
        m_panes[i]->m_mode = PANE_MODE_FILER;
    }
}

TEST_F(SettingsMenuItems, MpegTitleSwitchReadsTheShownFilerListsAgain)
{
    const int saved = g_MPEGNAMEDISPLAY;
    const std::wstring folder = std::wstring(m_dir) + L"\\mpeg";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(folder + L"\\a.mp3", "ID3"));
    struct Case
    {
        UINT position;
        UINT mode;
        bool read;
    } cases[] = {
        {PANE_POS_OTHER, PANE_MODE_FILER, true},
        {PANE_POS_HIDDEN, PANE_MODE_FILER, false},
        {PANE_POS_OTHER, PANE_MODE_DRIVE_LIST, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.position << "/" << c.mode);
        for (int i = 0; i < 2; ++i)
        {
            m_panes[i]->m_entries.RemoveAll();
            m_panes[i]->m_currentDir = folder.c_str();
        }
        m_panes[1]->m_position = c.position;
        m_panes[1]->m_mode = c.mode;
        const int before = g_MPEGNAMEDISPLAY;
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Mpegnamedisplay"));
        EXPECT_EQ(before ? 0 : 1, g_MPEGNAMEDISPLAY);
        EXPECT_EQ(1u, Names(*m_panes[0]).count(L"a.mp3")) << "the active list";
        EXPECT_EQ(c.read ? 1u : 0u, Names(*m_panes[1]).count(L"a.mp3"));
    }
    g_MPEGNAMEDISPLAY = saved;
}

} // namespace
