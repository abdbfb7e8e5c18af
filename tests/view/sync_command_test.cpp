// "@Syncrocopyex": which panes make a synchronisation, and that the settings are
// asked for only when they do.
#include "tests/view/CommandTestSupport.h"

#include "app/VirtualDrives.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "res/SyncDialogs.h"
#include "tests/common/TestHelpers.h"
#include "view/sync/SyncCommand.h"

#include <string>

namespace
{

class SyncCommand : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        FillPane(2, 1, 10);
    }
    // The questions the command asked; every one is answered with Cancel.
    size_t Run()
    {
        CDialogAnswerScript script;
        script.Add(IDCANCEL);
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Syncrocopyex"));
        const auto questions = script.GetQuestions();
        for (const auto& question : questions)
            EXPECT_EQ(static_cast<UINT>(IDD_SYNC_COPY_SETTING), question.dialogId);
        return questions.size();
    }
};

TEST_F(SyncCommand, TwoDirectoryPanesAskForTheSettings)
{
    SyncPaneSides sides;
    ASSERT_TRUE(FindSyncPaneSides(sides));
    EXPECT_EQ(0, sides.source);
    EXPECT_EQ(1, sides.destination);
    EXPECT_EQ(std::wstring(m_dir), qvtest::W(sides.destinationText));
    EXPECT_EQ(1u, Run());
}

TEST_F(SyncCommand, BareRootDestinationGetsItsBackslash)
{
    m_panes[1]->m_currentDir = std::wstring(m_dir).substr(0, 2).c_str();
    SyncPaneSides sides;
    ASSERT_TRUE(FindSyncPaneSides(sides));
    EXPECT_EQ(std::wstring(m_dir).substr(0, 2) + L"\\", qvtest::W(sides.destinationText));
}

TEST_F(SyncCommand, NothingHappensWithoutTwoUsableSides)
{
    struct Case
    {
        const char* what;
        UINT mode0, mode1, position1;
    } cases[] = {
        {"two archive listings", PANE_MODE_ARCHIVE, PANE_MODE_ARCHIVE, PANE_POS_OTHER},
        {"hidden other pane", PANE_MODE_FILER, PANE_MODE_FILER, PANE_POS_HIDDEN},
        {"other pane a text viewer", PANE_MODE_FILER, PANE_MODE_TEXT_VIEWER, PANE_POS_OTHER},
    };
    for (const Case& c : cases)
    {
        m_panes[0]->m_mode = c.mode0;
        m_panes[1]->m_mode = c.mode1;
        m_panes[1]->m_position = c.position1;
        SyncPaneSides sides;
        EXPECT_FALSE(FindSyncPaneSides(sides)) << c.what;
        EXPECT_EQ(0u, Run()) << c.what;
    }
}

TEST_F(SyncCommand, VirtualDriveOnEitherSideDoesNothing)
{
    // A letter no real drive has, made a virtual drive.
    wchar_t letter = L'Q';
    while (letter < L'Z' && ((GetLogicalDrives() >> (letter - L'A')) & 1))
        ++letter;
    const int index = letter - L'A';
    CVirtualFolderStore store;
    const int savedFlag = g_VirtualDriveFlags[index];
    CVirtualFolderStore* savedStore = g_VirtualFolderStores[index];
    g_VirtualDriveFlags[index] = 1;
    g_VirtualFolderStores[index] = &store;
    const CString virtualFolder = CString(letter) + L":\\folder";
    for (int side = 0; side < 2; ++side)
    {
        m_panes[side]->m_currentDir = virtualFolder;
        m_panes[1 - side]->m_currentDir = std::wstring(m_dir).c_str();
        SyncPaneSides sides;
        EXPECT_FALSE(FindSyncPaneSides(sides)) << side;
        EXPECT_EQ(0u, Run()) << side;
    }
    g_VirtualDriveFlags[index] = savedFlag;
    g_VirtualFolderStores[index] = savedStore;
}

} // namespace
