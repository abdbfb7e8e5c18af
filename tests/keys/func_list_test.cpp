// The function list: its entries and their keys per mode, and the key look-up that
// jumps to the command bound to a key.
#include "tests/common/TestHelpers.h"

#include "app/PlugInCommands.h"
#include "app/records/ControlPanelApplets.h"
#include "app/settings/ToolSettings.h"
#include "tools/keys/FuncListDlg.h"

namespace
{

using qvtest::W;

int KeyRow(LPCWSTR name)
{
    for (int i = 0; i < KEY_TABLE_ROW_COUNT; ++i)
        if (lstrcmpW(g_KeyTable[i].keyName, name) == 0)
            return i;
    return -1;
}

int FilerCategoryPosition(int category)
{
    for (int i = 0; i < FILER_CATEGORY_COUNT; ++i)
        if (g_FilerCategories[i].category == category)
            return i;
    return -1;
}

class FuncListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_filer.CopyFrom(g_FilerKeyCmds);
        m_arc.CopyFrom(g_ArcInfoKeyCmds);
        for (CArrayKeyCmdInfo* set : {&g_FilerKeyCmds, &g_ArcInfoKeyCmds})
            for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
                for (int m = 0; m < KEY_MODIFIER_COUNT; ++m)
                    set->GetBinding(m, row).command = set == &g_ArcInfoKeyCmds ? L"@SameAsFiler" : L"";
        g_PlugInList.RemoveAll();
    }
    void TearDown() override
    {
        g_FilerKeyCmds.CopyFrom(m_filer);
        g_ArcInfoKeyCmds.CopyFrom(m_arc);
        g_PlugInList.RemoveAll();
    }
    static const CCmdInfo* Find(const CFuncListDlg& dlg, LPCWSTR keyword)
    {
        for (const CCmdInfo& info : dlg.m_commands)
            if (info.m_keyword.CompareNoCase(keyword) == 0)
                return &info;
        return nullptr;
    }
    CArrayKeyCmdInfo m_filer, m_arc;
};

TEST_F(FuncListTest, FilerListShowsJumpsProgramsAndPlugInsWithTheirKeys)
{
    const int j = KeyRow(L"J"), p = KeyRow(L"P"), d = KeyRow(L"D"), c = KeyRow(L"C");
    g_FilerKeyCmds.GetBinding(2, j).command = L"@Keyjumpdir C:\\Some Dir";
    g_FilerKeyCmds.GetBinding(0, p).command = L"C:\\Tools\\a b.exe,%m, x";
    g_FilerKeyCmds.GetBinding(1, d).command = L"@Defaultexe C:\\b.exe";
    g_FilerKeyCmds.GetBinding(3, c).command = L"@copy";
    CQvPlugIn plugIn;
    plugIn.m_fileName = L"tool.dll";
    plugIn.m_keyString = L"#T";
    plugIn.m_functionName = L"道具";
    g_PlugInList.Add(plugIn);
    // A key bound to the plug-in holds its reference, as the key dialog stores it.
    g_FilerKeyCmds.GetBinding(0, KeyRow(L"T")).command = L"#T,tool.dll";

    CFuncListDlg dlg(8);
    dlg.BuildCommandList();
    EXPECT_EQ(8, dlg.m_listMode);
    EXPECT_EQ(nullptr, Find(dlg, L"@Keyjumpdir"));
    struct Case
    {
        LPCWSTR keyword;
        int category;
        LPCWSTR text;
        LPCWSTR keys;
    } cases[] = {
        {L"@Keyjumpdir C:\\Some Dir", FilerCategoryPosition(3), L"C:\\Some Dirへ移動", L"[Ctrl + J]"},
        {L"C:\\Tools\\a b.exe,%m, x", FILER_CATEGORY_COUNT, L"C:\\Tools\\a b.exe(%m, x)", L"[P]"},
        {L"@Defaultexe C:\\b.exe", FILER_CATEGORY_COUNT, L"C:\\b.exe(デフォルト実行)", L"[Shift + D]"},
        {L"@Copy", 0, L"コピー", L"[Alt + C]"},
        {L"#T,tool.dll", FilerCategoryPosition(KEY_CATEGORY_PLUG_IN), L"道具", L"[T]"},
    };
    for (const Case& k : cases)
    {
        SCOPED_TRACE(k.keyword);
        const CCmdInfo* info = Find(dlg, k.keyword);
        ASSERT_NE(nullptr, info);
        EXPECT_EQ(k.category, info->m_category);
        EXPECT_EQ(std::wstring(k.text), W(info->m_text));
        EXPECT_EQ(std::wstring(k.keys), W(CFuncListDlg::FormatKeys(*info)));
    }
    // The plug-in's entry hands back its reference, never "<function>,<file>", which
    // the view would start as a program named like the function.
    EXPECT_EQ(nullptr, Find(dlg, L"道具,tool.dll"));
    int references = 0;
    for (const CCmdInfo& info : dlg.m_commands)
        if (info.m_keyword == L"#T,tool.dll")
            ++references;
    EXPECT_EQ(1, references) << "the bound reference is no program of \"ファイル実行\" too";
    dlg.m_selected = static_cast<int>(Find(dlg, L"#T,tool.dll") - dlg.m_commands.data());
    ASSERT_TRUE(dlg.ChooseSelected());
    EXPECT_EQ(L"#T,tool.dll", W(dlg.m_resultKeyword));
}

TEST_F(FuncListTest, TheControlPanelListsItsAppletsAfterItsRowsWithTheirKeys)
{
    CArray<CCplEntry> saved;
    saved.Copy(g_CplList);
    g_CplList.RemoveAll();
    CCplEntry display;
    display.m_file = L"desk.cpl";
    display.m_name = L"画面";
    CCplEntry mouse;
    mouse.m_file = L"main.cpl";
    mouse.m_name = L"マウス";
    mouse.m_appendName = 1;
    g_CplList.Add(display);
    g_CplList.Add(mouse);
    g_FilerKeyCmds.GetBinding(0, KeyRow(L"M")).command = L"@Defaultcpl main.cpl マウス";

    CFuncListDlg dlg(8);
    dlg.BuildCommandList();
    const std::vector<int> entries = dlg.EntriesOf(FilerCategoryPosition(KEY_CATEGORY_CONTROL_PANEL));
    ASSERT_GE(entries.size(), 2u);
    const CCmdInfo& first = dlg.m_commands[size_t(entries[entries.size() - 2])];
    const CCmdInfo& second = dlg.m_commands[size_t(entries.back())];
    EXPECT_EQ(L"@Defaultcpl desk.cpl", W(first.m_keyword));
    EXPECT_EQ(L"画面", W(first.m_text));
    EXPECT_EQ(L"@Defaultcpl main.cpl マウス", W(second.m_keyword));
    EXPECT_EQ(L"[M]", W(CFuncListDlg::FormatKeys(second)));
    // The bound applet is no program of "ファイル実行".
    EXPECT_TRUE(dlg.EntriesOf(FILER_CATEGORY_COUNT).empty());
    g_CplList.Copy(saved);
}

TEST_F(FuncListTest, ArchiveListingCountsItsOwnBindingsUnlessDeferring)
{
    const int a = KeyRow(L"A"), b = KeyRow(L"B");
    g_FilerKeyCmds.GetBinding(0, a).command = L"@Copy";
    g_FilerKeyCmds.GetBinding(0, b).command = L"@Copy";
    g_ArcInfoKeyCmds.GetBinding(0, b).command = L"@Move";

    CFuncListDlg archive(0x100);
    archive.BuildCommandList();
    EXPECT_EQ(L"[A]", W(CFuncListDlg::FormatKeys(*Find(archive, L"@Copy"))));
    EXPECT_EQ(L"[B]", W(CFuncListDlg::FormatKeys(*Find(archive, L"@Move"))));

    CFuncListDlg filer(8);
    filer.BuildCommandList();
    EXPECT_EQ(L"[A],[B]", W(CFuncListDlg::FormatKeys(*Find(filer, L"@Copy"))));
    EXPECT_EQ(L"", W(CFuncListDlg::FormatKeys(*Find(filer, L"@Move"))));
}

TEST_F(FuncListTest, KeysJumpToTheirCommandAndUnboundKeysAreSwallowed)
{
    const int j = KeyRow(L"J");
    g_FilerKeyCmds.GetBinding(2, j).command = L"@Keyjumpdir D:\\x";
    CFuncListDlg dlg(8);
    dlg.BuildCommandList();
    dlg.m_categoryPosition = 0;
    dlg.m_selected = 0;

    EXPECT_TRUE(dlg.SelectByKey('Q', 0));
    EXPECT_EQ(0, dlg.m_categoryPosition);
    EXPECT_EQ(0, dlg.m_selected);
    EXPECT_TRUE(dlg.SelectByKey('J', 0)); // bound only with Ctrl
    EXPECT_EQ(0, dlg.m_selected);
    for (UINT key : {VK_DOWN, VK_UP, VK_RETURN, VK_ESCAPE, VK_NEXT, VK_HOME})
        EXPECT_FALSE(dlg.SelectByKey(key, 0));
    EXPECT_TRUE(dlg.SelectByKey(VK_DOWN, 1));

    EXPECT_TRUE(dlg.SelectByKey('J', 2));
    EXPECT_EQ(FilerCategoryPosition(3), dlg.m_categoryPosition);
    ASSERT_TRUE(dlg.ChooseSelected());
    EXPECT_EQ(L"@Keyjumpdir D:\\x", W(dlg.m_resultKeyword));
    EXPECT_EQ(2, dlg.m_resultModifier);
    EXPECT_EQ(static_cast<UINT>('J'), dlg.m_resultVirtualKey);
}

TEST_F(FuncListTest, ViewerListsTakeTheirModesCategories)
{
    struct Case
    {
        UINT paneMode;
        int listMode;
        const CommandCategoryRow* categories;
        const CommandTableRow* table;
        int tableCount;
    } cases[] = {
        {0x10, 16, g_ViewerCategories, g_ViewerCommandTable, VIEWER_COMMAND_COUNT},
        {0x200, 16, g_ViewerCategories, g_ViewerCommandTable, VIEWER_COMMAND_COUNT},
        {0x800, 64, g_GraphicCategories, g_GraphicCommandTable, GRAPHIC_COMMAND_COUNT},
        {0x400, 1024, g_BinaryCategories, g_BinaryCommandTable, BINARY_COMMAND_COUNT},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.paneMode);
        CFuncListDlg dlg(c.paneMode);
        dlg.BuildCommandList();
        EXPECT_EQ(c.listMode, dlg.m_listMode);
        int rows = 0;
        for (int i = 0; i < c.tableCount; ++i)
            rows += c.table[i].category == c.categories[0].category;
        const std::vector<int> first = dlg.EntriesOf(0);
        ASSERT_EQ(static_cast<size_t>(rows), first.size());
        for (int index : first)
        {
            const CommandTableRow* row = nullptr;
            for (int i = 0; i < c.tableCount && row == nullptr; ++i)
                if (dlg.m_commands[index].m_keyword == c.table[i].keyword)
                    row = &c.table[i];
            ASSERT_NE(nullptr, row);
            EXPECT_EQ(c.categories[0].category, row->category);
        }
    }
}

} // namespace
