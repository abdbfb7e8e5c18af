// From a key to its keyword: the common set first in every mode, the archive
// listing's deferral to the filer set, the input-method choice of the filer sets only,
// unbound keys left to the window, and the key texts of the menus.
#include "app/settings/FilerSettings.h"
#include "tests/view/CommandTestSupport.h"

#include "app/keys/CommandTables.h"
#include "app/records/ControlPanelApplets.h"

namespace
{

using commandtest::CommandBench;

class KeyResolutionTest : public CommandBench
{
};

TEST_F(KeyResolutionTest, CommonBindingWinsInEveryMode)
{
    Bind(g_CommonKeyCmds, L"C", 2, L"@Soundpause");
    for (CArrayKeyCmdInfo* set :
         {&g_FilerKeyCmds, &g_ArcInfoKeyCmds, &g_ViewerKeyCmds, &g_GraphicKeyCmds, &g_BinaryKeyCmds})
        Bind(*set, L"C", 2, L"@Copydata");
    for (UINT mode :
         {PANE_MODE_FILER, PANE_MODE_DRIVE_LIST, PANE_MODE_NETWORK, PANE_MODE_ARCHIVE, PANE_MODE_TEXT_VIEWER,
          PANE_MODE_ARCHIVE_TEXT_VIEWER, PANE_MODE_BINARY, PANE_MODE_GRAPHIC, PANE_MODE_ARCHIVE_GRAPHIC})
    {
        SCOPED_TRACE(mode);
        m_ran.clear();
        m_panes[0]->m_mode = mode;
        EXPECT_EQ(View().ExecuteKeyCommand('C', 2), 1);
        EXPECT_EQ(RanHandlers(), std::vector<std::wstring>{L"PauseSound"});
    }
}

TEST_F(KeyResolutionTest, ArchiveListingDefersOnlyWhenItSaysSo)
{
    Bind(g_FilerKeyCmds, L"C", 0, L"@Copy");
    m_panes[0]->m_mode = PANE_MODE_ARCHIVE;
    struct Case
    {
        LPCWSTR archiveBinding;
        int result;
        std::vector<std::wstring> ran;
    } cases[] = {
        {L"@SameAsFiler", 1, {L"CopyFiles"}},
        {L"@sameasFILER", 1, {L"CopyFiles"}},
        {L"@Move", 1, {L"MoveFiles"}},
        // Empty is unbound, not "as the filer".
        {L"", 0, {}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "[" << std::wstring(c.archiveBinding).size() << "]");
        m_ran.clear();
        Bind(g_ArcInfoKeyCmds, L"C", 0, c.archiveBinding);
        EXPECT_EQ(View().ExecuteKeyCommand('C', 0), c.result);
        EXPECT_EQ(RanHandlers(), c.ran);
    }
}

TEST_F(KeyResolutionTest, InputMethodChoiceAppliesInTheFilerSetsOnly)
{
    struct Case
    {
        UINT mode;
        CArrayKeyCmdInfo* set;
        int expected; // -1: not applied
    } cases[] = {
        {PANE_MODE_FILER, &g_FilerKeyCmds, 2},     {PANE_MODE_DRIVE_LIST, &g_FilerKeyCmds, 2},
        {PANE_MODE_ARCHIVE, &g_ArcInfoKeyCmds, 2}, {PANE_MODE_TEXT_VIEWER, &g_ViewerKeyCmds, -1},
        {PANE_MODE_BINARY, &g_BinaryKeyCmds, -1},  {PANE_MODE_GRAPHIC, &g_GraphicKeyCmds, -1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.mode);
        m_panes[0]->m_mode = c.mode;
        Bind(*c.set, L"W", 0, L"@Wide", 2);
        View().m_keys.lastImeControl = -1;
        View().ExecuteKeyCommand('W', 0);
        EXPECT_EQ(View().m_keys.lastImeControl, c.expected);
        Bind(*c.set, L"W", 0, L"");
        // "@Wide" really hides or shows a pane: the next case starts as this one did.
        m_panes[0]->m_position = PANE_POS_ACTIVE;
        m_panes[1]->m_position = PANE_POS_OTHER;
        m_panes[1]->m_mode = PANE_MODE_FILER;
    }
    // The common set's choice applies in every mode.
    m_panes[0]->m_mode = PANE_MODE_TEXT_VIEWER;
    Bind(g_CommonKeyCmds, L"W", 0, L"@Soundstop", 1);
    View().ExecuteKeyCommand('W', 0);
    EXPECT_EQ(View().m_keys.lastImeControl, 1);
}

TEST_F(KeyResolutionTest, UnboundAndUnknownKeysAreLeftToTheWindow)
{
    Bind(g_FilerKeyCmds, L"Q", 0, L"@Quit");
    EXPECT_EQ(View().ExecuteKeyCommand('Q', 3), 0) << "an unbound Alt key keeps its menu access";
    EXPECT_EQ(View().ExecuteKeyCommand('H', 0), 0) << "in the table, bound nowhere";
    EXPECT_EQ(View().ExecuteKeyCommand(VK_RETURN, 0), 0) << "not in the table";
    EXPECT_EQ(View().ExecuteKeyCommand('Q', 4), 1) << "beyond Alt: consumed";
    EXPECT_TRUE(m_ran.empty());
    // Alt reaches a binding when there is one.
    Bind(g_FilerKeyCmds, L"Q", 3, L"@Sortname");
    EXPECT_EQ(View().ExecuteKeyCommand('Q', 3), 1);
    EXPECT_EQ(RanHandlers(), std::vector<std::wstring>{L"SetSortKey"});
}

TEST_F(KeyResolutionTest, KeyTextOfAKeywordPrefersTheLowerModifier)
{
    Bind(g_FilerKeyCmds, L"C", 2, L"@Copy");
    Bind(g_FilerKeyCmds, L"C", 0, L"@Copy");
    Bind(g_FilerKeyCmds, L"F3", 1, L"@Sortsize");
    Bind(g_CommonKeyCmds, L"Z", 3, L"@CdPlay");
    struct Case
    {
        LPCWSTR keyword;
        LPCWSTR text; // null: none
    } cases[] = {
        {L"@Copy", L"C"},       {L"@copy", L"C"},    {L"@Sortsize", L"Shift+F3"},
        {L"@CdPlay", L"Alt+Z"}, {L"@Move", nullptr},
    };
    for (const Case& c : cases)
    {
        CString text;
        EXPECT_EQ(View().GetKeyNameOfKeyword(c.keyword, text), c.text != nullptr ? 1 : 0);
        EXPECT_EQ(std::wstring(text.GetString()), c.text != nullptr ? c.text : L"");
    }
}

TEST_F(KeyResolutionTest, MenuIdGivesTheKeywordOfTheActiveFamily)
{
    CString keyword;
    EXPECT_EQ(View().GetKeywordOfMenuId(175, keyword), 1);
    EXPECT_EQ(std::wstring(keyword.GetString()), L"@AutoFileNameWidth");
    m_panes[0]->m_mode = PANE_MODE_TEXT_VIEWER;
    EXPECT_EQ(View().GetKeywordOfMenuId(618, keyword), 1);
    EXPECT_EQ(std::wstring(keyword.GetString()), L"@Lineword1");
    EXPECT_EQ(View().GetKeywordOfMenuId(175, keyword), 0) << "not a viewer command";
    EXPECT_TRUE(keyword.IsEmpty());

    // Of two rows with one menu id the first gives the keyword.
    const CommandTableRow rows[] = {
        {L"@First", L"一", 700, 0, 0, 0},
        {L"@Second", L"二", 700, 0, 0, 0},
        {L"@NoMenu", L"三", 0, 0, 0, 0},
    };
    ASSERT_NE(FindCommandRowByMenuId(rows, 3, 700), nullptr);
    EXPECT_EQ(std::wstring(FindCommandRowByMenuId(rows, 3, 700)->keyword), L"@First");
    EXPECT_EQ(FindCommandRowByMenuId(rows, 3, 0), nullptr) << "0 is no menu id";
}

TEST_F(KeyResolutionTest, AppletMenuIdGivesItsDefaultcplText)
{
    CArray<CCplEntry> saved;
    saved.Copy(g_CplList);
    g_CplList.RemoveAll();
    g_CplList.Add(CCplEntry{L"MAIN.CPL", L"マウス", L"", 1});
    g_CplList.Add(CCplEntry{L"sound.cpl", L"Sound", L"", 0});
    CString keyword;
    EXPECT_EQ(View().GetKeywordOfMenuId(6000, keyword), 1);
    EXPECT_EQ(std::wstring(keyword.GetString()), L"@Defaultcpl MAIN.CPL マウス");
    EXPECT_EQ(View().GetKeywordOfMenuId(6001, keyword), 1);
    EXPECT_EQ(std::wstring(keyword.GetString()), L"@Defaultcpl sound.cpl");
    EXPECT_EQ(View().GetKeywordOfMenuId(6002, keyword), 0) << "past the list";
    EXPECT_TRUE(keyword.IsEmpty());
    g_CplList.Copy(saved);
}

TEST_F(KeyResolutionTest, FrontConsumesTableKeysAndEnterOnly)
{
    Set(g_ENABLEMENUBUTON, 1);
    struct Case
    {
        UINT vk;
        int consumed;
    } cases[] = {
        {'H', 1}, {VK_F10, 1}, {VK_RETURN, 1}, {VK_APPS, 1}, {VK_F13, 0}, {VK_CAPITAL, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(View().OnKeyDownFront(c.vk, 1, 0), c.consumed) << c.vk;
    // With the menu key off, the Apps key is a key like any other outside the table.
    Set(g_ENABLEMENUBUTON, 0);
    EXPECT_EQ(View().OnKeyDownFront(VK_APPS, 1, 0), 0);
    // "@Dirjumpkey" arms the next key, which a filer pane then swallows.
    Bind(g_FilerKeyCmds, L"S", 0, L"@Sortname");
    View().ExecuteFilerCommand(L"@Dirjumpkey");
    EXPECT_EQ(View().m_bJumpKeyArmed, 1);
    m_ran.clear();
    View().OnKeyDownFront('S', 1, 0);
    EXPECT_TRUE(m_ran.empty());
    View().OnKeyDownFront('S', 1, 0);
    EXPECT_EQ(RanHandlers(), std::vector<std::wstring>{L"SetSortKey"});

    // With a jump entry naming the key (in another letter case), the armed key takes the
    // active pane to the entry's folder and runs nothing else.
    const std::wstring target = std::wstring(m_dir) + L"\\jumped";
    CreateDirectoryW(target.c_str(), nullptr);
    const CArray<CJumpDirectory> savedGroups = g_JumpGroups;
    g_JumpGroups.SetSize(1);
    CEachJumpDirectory entry;
    entry.m_keyName = L"s";
    entry.m_directory = target.c_str();
    g_JumpGroups[0].m_entries.RemoveAll();
    g_JumpGroups[0].m_entries.Add(entry);
    View().ExecuteFilerCommand(L"@Dirjumpkey");
    m_ran.clear();
    View().OnKeyDownFront('S', 1, 0);
    EXPECT_TRUE(m_ran.empty());
    const int active = View().GetActivePaneIndex();
    ASSERT_GE(active, 0);
    EXPECT_EQ(0, _wcsicmp(g_Panes[active]->m_currentDir, target.c_str()));
    g_JumpGroups = savedGroups;
}

} // namespace
