// "@Samedirectory", "@Changefilerdata" and "@Changedevide": one pane set from the
// other, the panes exchanged, the split turned.
#include "tests/view/CommandTestSupport.h"

#include "tests/common/TestHelpers.h"

#include <string>

namespace
{

class PaneExchangeCommand : public commandtest::CommandBench
{
};

TEST_F(PaneExchangeCommand, OtherPaneMovesToTheActivePanesDirectory)
{
    CreateDirectoryW((std::wstring(m_dir) + L"\\sub").c_str(), nullptr);
    View().ChangePaneDirectory(0, m_dir + L"\\sub", 1, 0, FALSE);
    View().ChangePaneDirectory(1, m_dir, 1, 0, FALSE);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Samedirectory"));
    EXPECT_EQ(std::wstring(m_dir) + L"\\sub", qvtest::W(m_panes[1]->m_currentDir));
    EXPECT_EQ(std::wstring(m_dir) + L"\\sub", qvtest::W(m_panes[0]->m_currentDir));
}

TEST_F(PaneExchangeCommand, TheActivePaneMovesToTheOtherPanesDirectoryByItsMenuItem)
{
    CreateDirectoryW((std::wstring(m_dir) + L"\\sub").c_str(), nullptr);
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    View().ChangePaneDirectory(1, m_dir + L"\\sub", 1, 0, FALSE);
    EXPECT_TRUE(View().OnCmdMsg(837, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(std::wstring(m_dir) + L"\\sub", qvtest::W(m_panes[0]->m_currentDir));
    EXPECT_EQ(std::wstring(m_dir) + L"\\sub", qvtest::W(m_panes[1]->m_currentDir));

    // Without a directory listing in the other pane nothing moves.
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    m_panes[1]->m_mode = PANE_MODE_DRIVE_LIST;
    EXPECT_TRUE(View().OnCmdMsg(837, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(std::wstring(m_dir), qvtest::W(m_panes[0]->m_currentDir));
    m_panes[1]->m_mode = PANE_MODE_FILER;
}

TEST_F(PaneExchangeCommand, ExchangeSwapsThePanesOnlyWhenBothAreShown)
{
    Set(g_UP_WINDOW_ADD_LINE, 3);
    View().m_nCompanionPane = 0;
    View().m_previews.followingPane = -1;
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Changefilerdata"));
    EXPECT_EQ(m_panes[1].get(), g_Panes[0]);
    EXPECT_EQ(m_panes[0].get(), g_Panes[1]);
    EXPECT_EQ(-3, g_UP_WINDOW_ADD_LINE);
    EXPECT_EQ(1, View().m_nCompanionPane);
    EXPECT_EQ(-1, View().m_previews.followingPane);

    struct Case
    {
        const char* what;
        UINT position;
        UINT mode;
    } cases[] = {
        {"hidden pane", PANE_POS_HIDDEN, PANE_MODE_FILER},
        {"graphic viewer", PANE_POS_OTHER, PANE_MODE_GRAPHIC},
        {"archive graphic viewer", PANE_POS_OTHER, PANE_MODE_ARCHIVE_GRAPHIC},
    };
    for (const Case& c : cases)
    {
        CFilerPane* before[2] = {g_Panes[0], g_Panes[1]};
        const UINT position = g_Panes[1]->m_position;
        g_Panes[1]->m_position = c.position;
        g_Panes[1]->m_mode = c.mode;
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Changefilerdata")) << c.what;
        EXPECT_EQ(before[0], g_Panes[0]) << c.what;
        EXPECT_EQ(before[1], g_Panes[1]) << c.what;
        EXPECT_EQ(-3, g_UP_WINDOW_ADD_LINE) << c.what;
        g_Panes[1]->m_position = position;
        g_Panes[1]->m_mode = PANE_MODE_FILER;
    }
}

TEST_F(PaneExchangeCommand, ThePaneThatFollowsTheCursorsDirectoryKeepsFollowingAfterAnExchange)
{
    Set(g_NOTVIEWUPDIR, 1);
    Set(g_NOTVIEWCURRENTDIR, 1);
    for (LPCWSTR name : {L"\\one", L"\\two"})
        CreateDirectoryW((std::wstring(m_dir) + name).c_str(), nullptr);
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    View().ChangePaneDirectory(1, m_dir, 1, 0, FALSE);
    m_panes[0]->SetCursorToName(L"one", FALSE, 0);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@OtherAlwaysDispDir"));
    ASSERT_EQ(1, View().m_previews.followingPane);
    EXPECT_EQ(std::wstring(m_dir) + L"\\one", qvtest::W(m_panes[1]->m_currentDir));

    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Changefilerdata"));
    ASSERT_EQ(m_panes[0].get(), g_Panes[1]) << "the active pane now lies on the other side";
    EXPECT_EQ(0, View().m_previews.followingPane) << "the follower is named by its new side";
    // The active pane's cursor moves on: the follower shows the directory under it.
    m_panes[0]->SetCursorToName(L"two", FALSE, 0);
    View().UpdateAuxiliaryWindows();
    EXPECT_EQ(std::wstring(m_dir) + L"\\two", qvtest::W(m_panes[1]->m_currentDir));
    EXPECT_EQ(std::wstring(m_dir), qvtest::W(m_panes[0]->m_currentDir));
}

TEST_F(PaneExchangeCommand, SplitDirectionToggles)
{
    Set(g_WINDOWDEVIDEWAY, 0);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Changedevide"));
    EXPECT_EQ(1, g_WINDOWDEVIDEWAY);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Changedevide"));
    EXPECT_EQ(0, g_WINDOWDEVIDEWAY);
    // The menu item runs the same command.
    EXPECT_TRUE(View().OnCmdMsg(379, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(1, g_WINDOWDEVIDEWAY);
}

TEST_F(PaneExchangeCommand, MenuItemsRunTheirKeywordsCommands)
{
    CreateDirectoryW((std::wstring(m_dir) + L"\\sub").c_str(), nullptr);
    View().ChangePaneDirectory(0, m_dir + L"\\sub", 1, 0, FALSE);
    View().ChangePaneDirectory(1, m_dir, 1, 0, FALSE);
    EXPECT_TRUE(View().OnCmdMsg(834, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(std::wstring(m_dir) + L"\\sub", qvtest::W(m_panes[1]->m_currentDir));
    EXPECT_TRUE(View().OnCmdMsg(257, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(m_panes[1].get(), g_Panes[0]);
}

} // namespace
