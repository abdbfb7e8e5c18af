// The key configuration dialogs over their working copies: what a binding shows as,
// what the shown state stores back, and that only OK reaches the live sets.
#include "tests/common/TestHelpers.h"

#include "app/PlugInCommands.h"
#include "app/settings/ToolSettings.h"
#include "tools/keys/KeyConfigDlg.h"

namespace
{

using qvtest::W;

// Position of a keyword within its category's run of the table.
int RunPosition(const CommandTableRow* rows, int count, LPCWSTR keyword)
{
    int index = -1;
    for (int i = 0; i < count && index < 0; ++i)
        if (lstrcmpW(rows[i].keyword, keyword) == 0)
            index = i;
    if (index < 0)
        return -1;
    int first = index;
    while (first > 0 && rows[first - 1].category == rows[index].category)
        --first;
    return index - first;
}

int FilerPosition(LPCWSTR keyword)
{
    return RunPosition(g_FilerCommandTable, FILER_COMMAND_COUNT, keyword);
}

int FakeDevices(int flow, CArray<CEndPointData>& out)
{
    const wchar_t* names[] = {L"Speakers", L"HDMI Out", L"Line In"};
    for (int i = 0; i < 3; ++i)
    {
        if ((flow == AUDIO_FLOW_CAPTURE) != (i == 2))
            continue;
        CEndPointData data;
        data.m_name = names[i];
        out.Add(data);
    }
    return 1;
}

class KeyConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_filer.CopyFrom(g_FilerKeyCmds);
        m_arc.CopyFrom(g_ArcInfoKeyCmds);
        m_viewer.CopyFrom(g_ViewerKeyCmds);
        m_common.CopyFrom(g_CommonKeyCmds);
        g_CplList.RemoveAll();
        const wchar_t* files[] = {L"alpha.cpl", L"beta.cpl", L"gamma.cpl"};
        for (int i = 0; i < 3; ++i)
        {
            CCplEntry entry;
            entry.m_file = files[i];
            entry.m_name.Format(L"Applet %d", i);
            entry.m_appendName = i == 2;
            g_CplList.Add(entry);
        }
        g_PlugInList.RemoveAll();
        CQvPlugIn plugIn;
        plugIn.m_fileName = L"tool.dll";
        plugIn.m_keyString = L"#TOOL";
        plugIn.m_functionName = L"Tool";
        g_PlugInList.Add(plugIn);
    }
    void TearDown() override
    {
        g_FilerKeyCmds.CopyFrom(m_filer);
        g_ArcInfoKeyCmds.CopyFrom(m_arc);
        g_ViewerKeyCmds.CopyFrom(m_viewer);
        g_CommonKeyCmds.CopyFrom(m_common);
        g_CplList.RemoveAll();
        g_PlugInList.RemoveAll();
    }
    CArrayKeyCmdInfo m_filer, m_arc, m_viewer, m_common;
};

struct FilerCase
{
    int mode;
    LPCWSTR binding;
    int category;
    int function; // -2: the applet 2 after the category's rows
    LPCWSTR argument;
    LPCWSTR parameters;
    BOOL argumentEnabled;
    LPCWSTR stored; // after passing over the key
};

TEST_F(KeyConfigTest, FilerBindingsShowAndStoreBack)
{
    const int jump = FilerPosition(L"@Keyjumpdir");
    const int copy = FilerPosition(L"@Copy");
    const FilerCase cases[] = {
        {0, L"@Keyjumpdir C:\\My Dir\\two  blanks", 3, jump, L"C:\\My Dir\\two  blanks", L"", TRUE,
         L"@Keyjumpdir C:\\My Dir\\two  blanks"},
        {0, L"C:\\Program Files\\a.exe,%m -x, y", KEY_CATEGORY_PROGRAM, 0, L"C:\\Program Files\\a.exe",
         L"%m -x, y", TRUE, L"C:\\Program Files\\a.exe,%m -x, y"},
        {0, L"@Defaultexe C:\\b c.exe", KEY_CATEGORY_PROGRAM, 1, L"C:\\b c.exe", L"", TRUE,
         L"@Defaultexe C:\\b c.exe"},
        {0, L"@Copy", 0, copy, L"", L"", FALSE, L"@Copy"},
        // The filer mode has no third program entry: nothing is selected.
        {0, L"@SameAsFiler", KEY_CATEGORY_PROGRAM, -1, L"", L"", FALSE, L"@SameAsFiler"},
        {1, L"@samEasfiler", KEY_CATEGORY_PROGRAM, 2, L"", L"", FALSE, L"@SameAsFiler"},
        {0, L"#TOOL,tool.dll", KEY_CATEGORY_PLUG_IN, 0, L"", L"", FALSE, L"#TOOL,tool.dll"},
        {0, L"@Defaultcpl gamma.cpl Applet 2", KEY_CATEGORY_CONTROL_PANEL, -2, L"", L"", FALSE,
         L"@Defaultcpl gamma.cpl Applet 2"},
    };
    for (const FilerCase& c : cases)
    {
        SCOPED_TRACE(c.binding);
        CKeyConfigDlg dlg;
        dlg.Begin();
        dlg.m_work[c.mode].GetBinding(2, 5).command = c.binding;
        dlg.SelectKey(c.mode, 5, 2);
        EXPECT_EQ(c.category, dlg.m_category);
        const int function = c.function == -2 ? FilerPosition(L"@Allcpldata") + 1 + 2 : c.function;
        EXPECT_EQ(function, dlg.m_function);
        EXPECT_EQ(std::wstring(c.argument), W(dlg.m_args.argument));
        EXPECT_EQ(std::wstring(c.parameters), W(dlg.m_args.parameters));
        EXPECT_EQ(c.argumentEnabled, dlg.m_args.argumentEnabled);
        dlg.SelectKey(c.mode, 6, 0);
        EXPECT_EQ(std::wstring(c.stored), W(dlg.m_work[c.mode].GetBinding(2, 5).command));
    }
}

TEST_F(KeyConfigTest, ChoicesBuildTheBindingText)
{
    const int cplRows = FilerPosition(L"@Allcpldata") + 1;
    CString thirdApplet;
    GetCplCommandText(2, thirdApplet);
    struct Case
    {
        int category;
        int function;
        LPCWSTR argument;
        LPCWSTR parameters;
        int ime;
        LPCWSTR stored;
    } cases[] = {
        {KEY_CATEGORY_CONTROL_PANEL, cplRows + 2, L"", L"", 0, thirdApplet},
        {KEY_CATEGORY_CONTROL_PANEL, cplRows + 3, L"", L"", 0, L""}, // past the applets
        {3, FilerPosition(L"@Keyjumpdir"), L"D:\\a b", L"", 1, L"@Keyjumpdir D:\\a b"},
        {KEY_CATEGORY_PROGRAM, 0, L"C:\\x.exe", L"%m", 2, L"C:\\x.exe,%m"},
        {KEY_CATEGORY_PROGRAM, 1, L"C:\\x.exe", L"", 0, L"@Defaultexe C:\\x.exe"},
        {KEY_CATEGORY_PLUG_IN, 0, L"", L"", 0, L"#TOOL,tool.dll"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.stored);
        CKeyConfigDlg dlg;
        dlg.Begin();
        dlg.SelectKey(0, 7, 1);
        dlg.ChooseCategory(c.category);
        dlg.ChooseFunction(c.function);
        dlg.m_args.argument = c.argument;
        dlg.m_args.parameters = c.parameters;
        dlg.m_imeControl = c.ime;
        dlg.SelectKey(0, 8, 1);
        const CKeyCmdEntry& entry = dlg.m_work[0].GetBinding(1, 7);
        EXPECT_EQ(std::wstring(c.stored), W(entry.command));
        if (c.function < cplRows + 3)
        {
            EXPECT_EQ(c.ime, entry.imeControl);
        }
    }
}

TEST_F(KeyConfigTest, UnlistedAppletBindingSurvivesUntilAnotherCategoryIsChosen)
{
    CKeyConfigDlg dlg;
    dlg.Begin();
    dlg.m_work[0].GetBinding(0, 3).command = L"@Defaultcpl missing.cpl";
    dlg.SelectKey(0, 3, 0);
    EXPECT_EQ(KEY_CATEGORY_CONTROL_PANEL, dlg.m_category);
    EXPECT_EQ(-1, dlg.m_function);
    dlg.SelectKey(0, 4, 0);
    dlg.SelectKey(0, 3, 0);
    dlg.Commit();
    EXPECT_EQ(L"@Defaultcpl missing.cpl", W(g_FilerKeyCmds.GetBinding(0, 3).command));

    dlg.ChooseCategory(0);
    EXPECT_EQ(-1, dlg.m_function);
    dlg.Commit();
    EXPECT_EQ(L"", W(g_FilerKeyCmds.GetBinding(0, 3).command));
}

TEST_F(KeyConfigTest, OnlyCommitReachesTheLiveSets)
{
    g_FilerKeyCmds.GetBinding(0, 0).command = L"@Copy";
    {
        CKeyConfigDlg dlg;
        dlg.Begin();
        dlg.ChooseCategory(3);
        dlg.ChooseFunction(FilerPosition(L"@Keyjumpdir"));
        dlg.m_args.argument = L"C:\\x";
        dlg.SelectKey(0, 1, 0);
    }
    EXPECT_EQ(L"@Copy", W(g_FilerKeyCmds.GetBinding(0, 0).command));
    CKeyConfigDlg dlg;
    dlg.Begin();
    dlg.ChooseCategory(3);
    dlg.ChooseFunction(FilerPosition(L"@Keyjumpdir"));
    dlg.m_args.argument = L"C:\\x";
    dlg.Commit();
    EXPECT_EQ(L"@Keyjumpdir C:\\x", W(g_FilerKeyCmds.GetBinding(0, 0).command));
}

TEST_F(KeyConfigTest, ArgumentFieldsFollowTheKeyword)
{
    CKeyConfigDlg dlg;
    dlg.m_enumDevices = FakeDevices;
    dlg.ShowArgumentFields(L"@Keyjumpdir", L"C:\\d");
    EXPECT_EQ(L"DIR名", W(dlg.m_args.label));
    EXPECT_EQ(L"C:\\d", W(dlg.m_args.argument));
    EXPECT_TRUE(dlg.m_args.argumentEnabled && dlg.m_args.browseShown);
    EXPECT_FALSE(dlg.m_args.parametersEnabled || dlg.m_args.deviceShown);

    dlg.ShowArgumentFields(L"@SetAudioPlayback", L"hdmi out");
    EXPECT_EQ(L"デバイス", W(dlg.m_args.label));
    EXPECT_FALSE(dlg.m_args.argumentShown || dlg.m_args.browseShown);
    EXPECT_TRUE(dlg.m_args.deviceShown);
    std::vector<std::wstring> devices;
    for (const CString& d : dlg.m_args.devices)
        devices.push_back(W(d));
    EXPECT_EQ((std::vector<std::wstring>{L"hdmi out", L"Speakers"}), devices);
    dlg.ShowArgumentFields(L"@SetAudioCapture", L"");
    ASSERT_EQ(1u, dlg.m_args.devices.size());
    EXPECT_EQ(L"Line In", W(dlg.m_args.devices[0]));

    dlg.ShowArgumentFields(L"@Copy", L"C:\\p.exe", FALSE, L"%m");
    EXPECT_EQ(L"プログラム", W(dlg.m_args.label));
    EXPECT_EQ(L"", W(dlg.m_args.argument));
    EXPECT_FALSE(dlg.m_args.argumentEnabled || dlg.m_args.parametersEnabled);
    dlg.ShowArgumentFields(L"", L"C:\\p.exe", TRUE, L"%m");
    EXPECT_EQ(L"C:\\p.exe", W(dlg.m_args.argument));
    EXPECT_EQ(L"%m", W(dlg.m_args.parameters));
}

TEST_F(KeyConfigTest, ViewerSideDialogStoresOnlyOnCommit)
{
    const CString before = g_ViewerKeyCmds.GetBinding(0, 0).command;
    {
        CViewKeyConfigDlg dlg(0);
        dlg.Begin();
        dlg.ChooseCategory(g_ViewerCategories[0].category);
        ASSERT_FALSE(dlg.m_functions.empty());
        dlg.ChooseFunction(0);
        dlg.SelectKey(1, 0);
    }
    EXPECT_EQ(W(before), W(g_ViewerKeyCmds.GetBinding(0, 0).command));

    CViewKeyConfigDlg dlg(0);
    dlg.Begin();
    dlg.ChooseCategory(11);
    int first = -1;
    for (int i = 0; i < VIEWER_COMMAND_COUNT && first < 0; ++i)
        if (g_ViewerCommandTable[i].category == 11)
            first = i;
    ASSERT_GE(first, 0);
    dlg.ChooseFunction(0);
    dlg.Commit();
    EXPECT_EQ(std::wstring(g_ViewerCommandTable[first].keyword), W(g_ViewerKeyCmds.GetBinding(0, 0).command));

    dlg.ChooseCategory(CViewKeyConfigDlg::NO_BINDING_CATEGORY);
    EXPECT_TRUE(dlg.m_functions.empty());
    dlg.Commit();
    EXPECT_EQ(L"", W(g_ViewerKeyCmds.GetBinding(0, 0).command));
}

TEST_F(KeyConfigTest, HotKeyBoxOnlyForRowsCarryingTheFlag)
{
    struct Case
    {
        LPCWSTR keyword;
        BOOL enabled;
    } cases[] = {{L"@Scsi01", TRUE}, {L"@Windowtotasktray", FALSE}, {L"@Soundlistsave", FALSE}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.keyword);
        CViewKeyConfigDlg dlg(3);
        dlg.Begin();
        const CommandTableRow* row = FindCommandRowByKeyword(COMMAND_FAMILY_COMMON, c.keyword);
        ASSERT_NE(nullptr, row);
        dlg.ChooseCategory(row->category);
        dlg.m_hotKey = 1;
        dlg.ChooseFunction(RunPosition(g_CommonCommandTable, COMMON_COMMAND_COUNT, c.keyword));
        EXPECT_EQ(0, dlg.m_hotKey);
        EXPECT_EQ(c.enabled, dlg.m_hotKeyEnabled);
        dlg.m_hotKey = c.enabled;
        dlg.Commit();
        EXPECT_EQ(std::wstring(c.keyword), W(g_CommonKeyCmds.GetBinding(0, 0).command));
        EXPECT_EQ(c.enabled ? 1 : 0, g_CommonKeyCmds.GetBinding(0, 0).hotKey);

        // Shown again: the flag is read back and the box is enabled for the listed row.
        CViewKeyConfigDlg again(3);
        again.Begin();
        EXPECT_EQ(row->category, again.m_category);
        EXPECT_EQ(c.enabled ? 1 : 0, again.m_hotKey);
        EXPECT_TRUE(again.m_hotKeyEnabled);
    }
}

} // namespace
