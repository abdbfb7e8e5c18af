// The system commands without a window: display presets, disk format, applets, the
// dynamic menu items, the jump groups and the thumbnail size. The machine is never
// touched: the display, the shell and the audio devices are stand-ins.
#include "tests/view/CommandTestSupport.h"

#include "app/DisplayModeSlots.h"
#include "util/Globals.h"
#include "app/SettingStrings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/records/ControlPanelApplets.h"
#include "app/settings/DisplayMode.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "tests/common/TestHelpers.h"
#include "view/system/SystemShellApi.h"

#include <string>
#include <vector>

namespace
{

using commandtest::CommandBench;
using qvtest::W;

class CRecordedUI : public CCmdUI
{
public:
    void Enable(BOOL on) override { enabled = on ? 1 : 0; }
    void SetText(LPCTSTR text) override { this->text = text ? text : L""; }

    int enabled = -1;
    std::wstring text;
};

// What the stand-ins of the system were asked.
struct ShellCalls
{
    UINT driveType = DRIVE_REMOVABLE;
    std::vector<UINT> formatted;
    std::vector<std::wstring> programs;
    std::vector<std::pair<int, std::wstring>> defaults;
    std::vector<std::wstring> outputs;
    std::vector<std::wstring> inputs;
    int connects = 0;
};
ShellCalls* g_calls = nullptr;

SystemShellApi StandIns()
{
    SystemShellApi api = {};
    api.getDriveType = [](LPCWSTR) -> UINT { return g_calls->driveType; };
    api.formatDrive = [](HWND, UINT drive) {
        g_calls->formatted.push_back(drive);
        return 1;
    };
    api.connectDialog = [](HWND, DWORD) -> DWORD {
        ++g_calls->connects;
        return 0;
    };
    api.disconnectDialog = api.connectDialog;
    api.runProgram = [](LPCWSTR program, LPCWSTR parameters) {
        g_calls->programs.push_back(std::wstring(program) + L" " + parameters);
        return 1;
    };
    api.enumAudioEndpoints = [](int flow, CArray<CEndPointData>& out) {
        for (const std::wstring& name : flow == AUDIO_FLOW_PLAYBACK ? g_calls->outputs : g_calls->inputs)
        {
            CEndPointData device;
            device.m_id = (L"{id}" + name).c_str();
            device.m_name = name.c_str();
            out.Add(device);
        }
        return 1;
    };
    api.setDefaultAudioEndpoint = [](int flow, LPCWSTR name) {
        g_calls->defaults.push_back({flow, name});
        return 1;
    };
    return api;
}

// The applets start through their own runner: it keeps the command line instead.
CplApi CplStandIn()
{
    CplApi api = g_CplApi;
    api.execute = [](LPCSTR commandLine, UINT) -> UINT {
        wchar_t wide[1024] = {};
        MultiByteToWideChar(CP_ACP, 0, commandLine, -1, wide, 1024);
        g_calls->programs.push_back(wide);
        return 33;
    };
    return api;
}

class SystemCommands : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        g_calls = &m_calls;
        m_savedCpl.Copy(g_CplList);
        m_savedGroups.Copy(g_JumpGroups);
        for (int i = 0; i < 10; ++i)
            m_savedSlots[i] = g_DisplayModeSlots[i];
    }
    void TearDown() override
    {
        g_CplList.Copy(m_savedCpl);
        g_JumpGroups.Copy(m_savedGroups);
        for (int i = 0; i < 10; ++i)
            g_DisplayModeSlots[i] = m_savedSlots[i];
        g_calls = nullptr;
        CommandBench::TearDown();
    }
    int Run(LPCWSTR keyword) { return View().DispatchCommandKeyword(keyword); }
    // Pane 0 lists these names of the scratch folder (directories end in a backslash).
    void ListNames(std::initializer_list<const wchar_t*> names)
    {
        CFilerPane& pane = *m_panes[0];
        pane.m_entries.RemoveAll();
        for (const wchar_t* name : names)
        {
            std::wstring text = name;
            WIN32_FIND_DATAW fd = {};
            fd.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
            if (!text.empty() && text.back() == L'\\')
            {
                text.pop_back();
                fd.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
            }
            wcscpy_s(fd.cFileName, text.c_str());
            pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, m_dir, L"", fd, -1);
        }
        pane.m_cursor = 0;
        pane.m_firstVisible = 0;
    }

    ShellCalls m_calls;
    ScopedSystemShellApi m_api{StandIns()};
    ScopedCplApi m_cplApi{CplStandIn()};

private:
    CArray<CCplEntry> m_savedCpl;
    CArray<CJumpDirectory> m_savedGroups;
    DisplayModeSlot m_savedSlots[10] = {};
};

TEST_F(SystemCommands, DisplayPresetItemsShowTheModeOrUnsetDisabled)
{
    g_DisplayModeSlots[0] = {32, 1024, 768};
    g_DisplayModeSlots[1] = {0, 1024, 768};
    g_DisplayModeSlots[2] = {16, 0, 600};
    g_DisplayModeSlots[3] = {16, 800, 0};
    struct Case
    {
        int slot;
        const wchar_t* text;
        int enabled;
    } cases[] = {
        {0, L"1024 x 768 32Bit Colorに変更", 1},
        {1, L"未設定", 0},
        {2, L"未設定", 0},
        {3, L"未設定", 0},
    };
    for (const Case& c : cases)
    {
        CRecordedUI ui;
        ui.m_nID = 369 + c.slot;
        CQvView::UpdateDisplaySetMenuItem(ui, c.slot);
        EXPECT_EQ(ui.text, c.text) << c.slot;
        EXPECT_EQ(ui.enabled, c.enabled) << c.slot;
    }
}

DEVMODEW g_requested = {};
TEST_F(SystemCommands, DisplayPresetAsksForTheSlotsMode)
{
    g_DisplayModeSlots[4] = {16, 800, 600};
    DisplayApi api = {};
    api.enumSettings = [](LPCWSTR, DWORD n, DEVMODEW* mode) -> BOOL {
        static const DWORD modes[][3] = {{1024, 768, 32}, {800, 600, 16}};
        if (n >= 2)
            return FALSE;
        mode->dmPelsWidth = modes[n][0];
        mode->dmPelsHeight = modes[n][1];
        mode->dmBitsPerPel = modes[n][2];
        return TRUE;
    };
    api.changeSettings = [](DEVMODEW* mode, DWORD) -> LONG {
        if (mode != nullptr)
            g_requested = *mode;
        return DISP_CHANGE_SUCCESSFUL;
    };
    api.setWallpaper = [](LPCWSTR) -> BOOL { return TRUE; };
    ScopedDisplayApi display(api);
    g_requested = {};
    EXPECT_EQ(Run(L"@Displayset4"), 1);
    EXPECT_EQ(g_requested.dmPelsWidth, 800u);
    EXPECT_EQ(g_requested.dmPelsHeight, 600u);
    EXPECT_EQ(g_requested.dmBitsPerPel, 16u);
}

TEST_F(SystemCommands, DiskFormatOnlyForARemovableDriveOfTheDriveList)
{
    CFilerPane& pane = *m_panes[0];
    pane.m_mode = PANE_MODE_DRIVE_LIST;
    CDriveInfo row;
    row.m_name = L"E:";
    pane.m_driveList.Add(row);
    row.m_name = L"\\\\server\\share";
    row.m_kind = DRIVE_KIND_LAST_SHARE;
    pane.m_driveList.Add(row);
    struct Case
    {
        int cursor;
        UINT type;
        bool formats;
    } cases[] = {
        {0, DRIVE_REMOVABLE, true}, {0, DRIVE_FIXED, false},     {0, DRIVE_REMOTE, false},
        {0, DRIVE_CDROM, false},    {1, DRIVE_REMOVABLE, false},
    };
    for (const Case& c : cases)
    {
        m_calls.formatted.clear();
        m_calls.driveType = c.type;
        pane.m_cursor = c.cursor;
        Run(L"@Diskformat");
        EXPECT_EQ(m_calls.formatted, c.formats ? std::vector<UINT>{4} : std::vector<UINT>{})
            << c.cursor << " " << c.type;
    }
    pane.m_mode = PANE_MODE_FILER;
    pane.m_cursor = 0;
    m_calls.driveType = DRIVE_REMOVABLE;
    Run(L"@Diskformat");
    EXPECT_TRUE(m_calls.formatted.empty()) << "only the drive list formats";
}

TEST_F(SystemCommands, OpenAppletOnlyOnACplFile)
{
    ListNames({L"main.cpl", L"notes.txt", L"sub.cpl\\"});
    for (int cursor = 0; cursor < 3; ++cursor)
    {
        m_panes[0]->m_cursor = cursor;
        Run(L"@Opencpl");
    }
    ASSERT_EQ(m_calls.programs.size(), 1u);
    EXPECT_EQ(m_calls.programs[0], qvtest::AppletCommandPrefix() + W(m_dir) + L"\\main.cpl");
}

// A menu with the anchors of the dynamic items: "コントロールパネルの情報" (139) and the
// "(なし)" items of both device popups (3028, 3029).
HMENU AnchorMenu()
{
    HMENU bar = CreateMenu();
    HMENU system = CreatePopupMenu();
    AppendMenuW(system, MF_STRING, 139, L"コントロールパネルの情報");
    HMENU output = CreatePopupMenu();
    AppendMenuW(output, MF_STRING, 3028, L"(なし)");
    HMENU input = CreatePopupMenu();
    AppendMenuW(input, MF_STRING, 3029, L"(なし)");
    AppendMenuW(system, MF_POPUP, reinterpret_cast<UINT_PTR>(output), L"出力デバイス");
    AppendMenuW(system, MF_POPUP, reinterpret_cast<UINT_PTR>(input), L"入力デバイス");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(system), L"システム");
    return bar;
}

std::vector<UINT> Ids(HMENU popup)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(popup); ++i)
        ids.push_back(GetMenuItemID(popup, i));
    return ids;
}

TEST_F(SystemCommands, AppletsAndDevicesAreInsertedBeforeTheirAnchors)
{
    for (int i = 0; i < 12; ++i)
    {
        CCplEntry applet;
        applet.m_file.Format(L"a%d.cpl", i);
        applet.m_name.Format(L"アプレット%d", i);
        g_CplList.Add(applet);
    }
    m_calls.outputs = {L"Speakers", L"Headphones"};
    HMENU menu = AnchorMenu();
    View().InsertDynamicMenuItems(menu);
    HMENU system = GetSubMenu(menu, 0);
    std::vector<UINT> expected;
    for (UINT id = 6000; id <= 6011; ++id)
        expected.push_back(id);
    expected.push_back(139);
    expected.push_back(static_cast<UINT>(-1));
    expected.push_back(static_cast<UINT>(-1));
    EXPECT_EQ(Ids(system), expected);
    EXPECT_EQ(Ids(GetSubMenu(system, 13)), (std::vector<UINT>{6311, 6312})) << "(なし) is gone";
    EXPECT_EQ(Ids(GetSubMenu(system, 14)), std::vector<UINT>{3029}) << "no input device: (なし) stays";
    wchar_t text[64] = {};
    GetMenuStringW(menu, 6312, text, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(text), L"Headphones");
    DestroyMenu(menu);

    EXPECT_TRUE(View().OnCmdMsg(6311 + 1, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(View().OnCmdMsg(6011, CN_COMMAND, nullptr, nullptr));
    ASSERT_EQ(m_calls.defaults.size(), 1u);
    EXPECT_EQ(m_calls.defaults[0], (std::pair<int, std::wstring>{AUDIO_FLOW_PLAYBACK, L"Headphones"}));
    ASSERT_EQ(m_calls.programs.size(), 1u);
    EXPECT_EQ(m_calls.programs[0],
              qvtest::AppletCommandPrefix() + std::wstring(static_cast<LPCWSTR>(g_SystemDir)) + L"\\a11.cpl");
}

TEST_F(SystemCommands, TheTenthDeviceGetsAWorkingItemAndAnEleventhNone)
{
    for (int i = 0; i < 11; ++i)
        m_calls.inputs.push_back(L"Mic" + std::to_wstring(i));
    HMENU menu = AnchorMenu();
    View().InsertDynamicMenuItems(menu);
    std::vector<UINT> ids = Ids(GetSubMenu(GetSubMenu(menu, 0), 2));
    ASSERT_EQ(ids.size(), 10u);
    EXPECT_EQ(ids.back(), 6330u);
    DestroyMenu(menu);
    EXPECT_TRUE(View().OnCmdMsg(6330, CN_COMMAND, nullptr, nullptr));
    ASSERT_EQ(m_calls.defaults.size(), 1u);
    EXPECT_EQ(m_calls.defaults[0], (std::pair<int, std::wstring>{AUDIO_FLOW_CAPTURE, L"Mic9"}));
}

TEST_F(SystemCommands, DeviceItemsShowTheKeyBoundToTheirDevice)
{
    m_calls.outputs = {L"Speakers", L"Headphones"};
    m_calls.inputs = {L"Mic"};
    Bind(g_CommonKeyCmds, L"F7", 2, L"@SetAudioPlayback headphones");
    Bind(g_CommonKeyCmds, L"F8", 0, L"@SetAudioCapture Mic");
    HMENU menu = AnchorMenu();
    View().InsertDynamicMenuItems(menu);
    DestroyMenu(menu);
    struct
    {
        UINT id;
        const wchar_t* keyword; // nullptr: the item has none
        const wchar_t* key;     // nullptr: no key is bound
    } const cases[] = {
        {6311, L"@SetAudioPlayback Speakers", nullptr},
        {6312, L"@SetAudioPlayback Headphones", L"Ctrl+F7"},
        {6313, nullptr, nullptr},
        {6321, L"@SetAudioCapture Mic", L"F8"},
        {6322, nullptr, nullptr},
    };
    for (const auto& c : cases)
    {
        CString keyword;
        ASSERT_EQ(View().GetKeywordOfMenuId(c.id, keyword), c.keyword ? 1 : 0) << c.id;
        if (c.keyword == nullptr)
            continue;
        EXPECT_EQ(W(keyword), c.keyword) << c.id;
        CString keyText;
        EXPECT_EQ(View().GetKeyNameOfKeyword(keyword, keyText), c.key ? 1 : 0) << c.id;
        if (c.key)
            EXPECT_EQ(W(keyText), c.key) << c.id;
    }
}

class AddDirJump : public SystemCommands
{
protected:
    void SetUp() override
    {
        SystemCommands::SetUp();
        g_JumpGroups.RemoveAll();
        CJumpDirectory group;
        group.m_groupName = L"仕事";
        g_JumpGroups.Add(group);
        ListNames({L"..\\", L"Temp\\", L"a.txt"});
    }
};

TEST_F(AddDirJump, ParentAddsNothingAFileOrFolderAddsItsPathOnce)
{
    CDialogAnswerScript script;
    m_panes[0]->m_cursor = 0;
    Run(L"@AddDirJump");
    EXPECT_EQ(g_JumpGroups[0].m_entries.GetSize(), 0);
    EXPECT_TRUE(script.GetQuestions().empty());

    m_panes[0]->m_cursor = 2;
    Run(L"@AddDirJump");
    ASSERT_EQ(g_JumpGroups[0].m_entries.GetSize(), 1);
    EXPECT_EQ(W(g_JumpGroups[0].m_entries[0].m_directory), W(m_dir) + L"\\a.txt");
    ASSERT_EQ(script.GetQuestions().size(), 1u);
    EXPECT_EQ(W(script.GetQuestions()[0].text), W(m_dir) + L"\\a.txtを追加しました");
    EXPECT_EQ(W(script.GetQuestions()[0].caption), L"ディレクトリジャンプへの追加");

    // The same folder in other letters is the same folder.
    CEachJumpDirectory upper;
    CString temp = m_dir + L"\\Temp";
    temp.MakeUpper();
    upper.m_directory = temp;
    g_JumpGroups[0].m_entries.Add(upper);
    m_panes[0]->m_cursor = 1;
    Run(L"@AddDirJump");
    EXPECT_EQ(g_JumpGroups[0].m_entries.GetSize(), 2);
    ASSERT_EQ(script.GetQuestions().size(), 2u);
    EXPECT_EQ(W(script.GetQuestions()[1].text), W(m_dir) + L"\\Tempは追加済みです");
}

TEST_F(AddDirJump, WithTwoGroupsTheChosenOneTakesItAndCancelAddsNothing)
{
    CJumpDirectory second;
    second.m_groupName = L"趣味";
    g_JumpGroups.Add(second);
    m_panes[0]->m_cursor = 1;
    CDialogAnswerScript script;
    script.Add(IDCANCEL);
    CDialogAnswer chosen;
    chosen.index = 1;
    script.Add(chosen);
    Run(L"@AddDirJump");
    EXPECT_EQ(g_JumpGroups[0].m_entries.GetSize() + g_JumpGroups[1].m_entries.GetSize(), 0);
    Run(L"@AddDirJump");
    EXPECT_EQ(g_JumpGroups[0].m_entries.GetSize(), 0);
    ASSERT_EQ(g_JumpGroups[1].m_entries.GetSize(), 1);
    std::vector<CDialogQuestion> asked = script.GetQuestions();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(W(asked[0].caption), L"グループの選択");
    EXPECT_EQ(asked[0].items.size(), 2u);
    EXPECT_EQ(W(asked[2].text), L"グループ趣味に\n" + W(m_dir) + L"\\Tempを追加しました");
}

TEST_F(SystemCommands, PreviewSizeStopsAtItsBoundsWithoutLoadingAgain)
{
    CLoadPreviewThread* saved = g_pLoadPreviewThread;
    CLoadPreviewThread loader;
    g_pLoadPreviewThread = &loader;
    WIN32_FIND_DATAW fd = {};
    wcscpy_s(fd.cFileName, L"p.bmp");
    loader.AcquireReaderLock();
    loader.QueueEntry(1, m_dir, fd, CString());
    loader.ReleaseReaderLock();
    CPreviewInfo* item = loader.GetQueue().Find(m_dir, L"p.bmp");
    ASSERT_NE(item, nullptr);
    struct Case
    {
        int before;
        const wchar_t* keyword;
        int after;
        bool requeued;
    } cases[] = {
        {500, L"@PreviewDispMagExpansion", 500, false}, {10, L"@PreviewDispMagReduction", 10, false},
        {100, L"@PreviewDispMagReset", 100, false},     {490, L"@PreviewDispMagExpansion", 500, true},
        {20, L"@PreviewDispMagReduction", 10, true},    {250, L"@PreviewDispMagReset", 100, true},
    };
    for (const Case& c : cases)
    {
        Set(g_PREVIEW_MAGNIFICATION, c.before);
        item->state = PREVIEW_READY;
        Run(c.keyword);
        EXPECT_EQ(g_PREVIEW_MAGNIFICATION, c.after) << W(c.keyword) << " " << c.before;
        EXPECT_EQ(item->state, c.requeued ? PREVIEW_QUEUED : PREVIEW_READY)
            << W(c.keyword) << " " << c.before;
    }
    g_pLoadPreviewThread = saved;
}

TEST(SystemShellApiDefaults, EveryCallIsTheSystemsOwn)
{
    // The table is filled by a static initialiser: a member left out is a null call
    // that ends the program the first time its menu item is chosen.
    const SystemShellApi& api = g_SystemShellApi;
    EXPECT_NE(api.getDriveType, nullptr);
    EXPECT_NE(api.formatDrive, nullptr);
    EXPECT_NE(api.connectDialog, nullptr);
    EXPECT_NE(api.disconnectDialog, nullptr);
    EXPECT_NE(api.runProgram, nullptr);
    EXPECT_NE(api.enumAudioEndpoints, nullptr);
    EXPECT_NE(api.setDefaultAudioEndpoint, nullptr);
    EXPECT_NE(api.chooseFont, nullptr);
}

CHOOSEFONTW g_offered = {};
LOGFONTW g_offeredFont = {};

TEST_F(SystemCommands, DisplayFontOffersTheSettingsAndStoresTheChoice)
{
    CString savedName = g_FONTNAME;
    g_FONTNAME = L"ＭＳ ゴシック";
    Set(g_FONTHEIGHT, -16);
    Set(g_FONTWIDE, 0);
    Set(g_FONTWEIGHT, 400);
    Set(g_FONTCHARSET, 128);
    SystemShellApi api = g_SystemShellApi;
    api.chooseFont = [](CHOOSEFONTW* choice) -> BOOL {
        g_offered = *choice;
        g_offeredFont = *choice->lpLogFont;
        lstrcpynW(choice->lpLogFont->lfFaceName, L"Courier New", LF_FACESIZE);
        choice->lpLogFont->lfHeight = -20;
        choice->lpLogFont->lfWeight = 700;
        choice->lpLogFont->lfCharSet = ANSI_CHARSET;
        return TRUE;
    };
    ScopedSystemShellApi chooser(api);
    EXPECT_TRUE(View().OnCmdMsg(522, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(std::wstring(g_offeredFont.lfFaceName), L"ＭＳ ゴシック");
    EXPECT_EQ(g_offeredFont.lfHeight, -16);
    EXPECT_EQ(g_offeredFont.lfCharSet, 128);
    const DWORD flags = CF_FIXEDPITCHONLY | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST | CF_NOVERTFONTS;
    EXPECT_EQ(g_offered.Flags & flags, flags);
    EXPECT_EQ(W(g_FONTNAME), L"Courier New");
    EXPECT_EQ(g_FONTHEIGHT, -20);
    EXPECT_EQ(g_FONTWEIGHT, 700);
    EXPECT_EQ(g_FONTCHARSET, ANSI_CHARSET);
    g_FONTNAME = savedName;
}

} // namespace
