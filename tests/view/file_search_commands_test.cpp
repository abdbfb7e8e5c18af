// The file search from the keys: the search window and its start folder, the search
// whose finds the active pane lists, and the way back to those finds.
#include "tests/view/CommandTestSupport.h"

#include "fileops/find/FindFileDlg.h"
#include "fileops/find/FindThread.h"
#include "res/FindDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"

#include <set>
#include <string>

namespace
{

using qvtest::W;

// What the pane search dialog showed and how the test answers it: with a pattern it
// searches, without one it is cancelled.
const wchar_t* g_searchPattern = nullptr;
std::wstring g_shownFolder;
bool g_searchAnswered = false;

void CALLBACK AnswerPaneSearch(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"ファイル検索");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    wchar_t folder[MAX_PATH] = {};
    GetDlgItemTextW(dialog, IDC_FIND_DIRECTORY, folder, MAX_PATH);
    g_shownFolder = folder;
    g_searchAnswered = true;
    if (g_searchPattern != nullptr)
    {
        SetDlgItemTextW(dialog, IDC_FIND_PATTERN, g_searchPattern);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    else
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

class FileSearchCommands : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_FIND_DIALOG_AUTO_ADD_ASTERRISK, 0);
        m_root = W(m_dir) + L"\\tree";
        CreateDirectoryW(m_root.c_str(), nullptr);
        CreateDirectoryW((m_root + L"\\sub").c_str(), nullptr);
        for (const wchar_t* name : {L"a.log", L"b.txt", L"sub\\c.log", L"sub\\d.txt"})
            qvtest::WriteFileBytes(m_root + L"\\" + name, "x");
        View().ChangePaneDirectory(0, m_root.c_str(), 1, 0, FALSE);
        m_panes[0]->m_position = PANE_POS_ACTIVE;
        m_panes[1]->m_position = PANE_POS_OTHER;
    }
    void TearDown() override
    {
        for (CFindDialogBase* dialog : SearchWindows())
        {
            View().RemoveFindDialog(dialog);
            dialog->DestroyWindow();
            delete dialog;
        }
        m_panes[0]->m_findResults.StopSearch();
        CommandBench::TearDown();
    }
    std::vector<CFindDialogBase*> SearchWindows()
    {
        std::vector<CFindDialogBase*> out;
        for (INT_PTR i = 0; i < View().m_findDialogs.GetSize(); ++i)
            out.push_back(View().m_findDialogs[i]);
        return out;
    }
    // Runs the keyword while the dialog is answered; whether it showed.
    bool RunPaneSearch(const wchar_t* pattern)
    {
        g_searchPattern = pattern;
        g_searchAnswered = false;
        g_shownFolder.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerPaneSearch);
        View().ExecuteFilerCommand(L"@FindFileInWindow");
        KillTimer(nullptr, timer);
        return g_searchAnswered;
    }
    // The pane's names once its search has ended and it took the finds.
    std::set<std::wstring> ListedAfterSearch()
    {
        CFilerPane& pane = *m_panes[0];
        if (pane.m_findResults.m_worker != nullptr)
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pane.m_findResults.m_worker->m_hThread, 10000));
        pane.ReadDirectory(FALSE);
        std::set<std::wstring> names;
        for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
            names.insert(W(pane.m_entries[i].GetFullPath()).substr(m_root.size() + 1));
        return names;
    }
    std::wstring m_root;
};

} // namespace

TEST_F(FileSearchCommands, PaneSearchListsItsFindsUnderAnOpenFilterAndTheResultsComeBackAfterLeaving)
{
    m_panes[0]->m_wildcard = L"b*";
    ASSERT_TRUE(RunPaneSearch(L"*.log"));
    EXPECT_EQ(g_shownFolder, m_root);
    EXPECT_EQ(PANE_SUB_FIND_RESULTS, m_panes[0]->m_subMode);
    EXPECT_EQ(std::wstring(L"*.*"), W(m_panes[0]->m_wildcard));
    const std::set<std::wstring> finds = {L"a.log", L"sub\\c.log"};
    EXPECT_EQ(finds, ListedAfterSearch());

    View().GoParentDirectory();
    EXPECT_EQ(PANE_SUB_DIRECTORY, m_panes[0]->m_subMode);
    View().ExecuteFilerCommand(L"@DispResultFindFile");
    EXPECT_EQ(PANE_SUB_FIND_RESULTS, m_panes[0]->m_subMode);
    EXPECT_EQ(finds, ListedAfterSearch());
}

TEST_F(FileSearchCommands, PaneSearchAsksOnlyInAListingOrTheDriveListAndACancelKeepsThePane)
{
    struct Case
    {
        UINT mode;
        UINT subMode;
        bool asks;
    } const cases[] = {
        {PANE_MODE_FILER, PANE_SUB_DIRECTORY, true},
        {PANE_MODE_FILER, PANE_SUB_FIND_RESULTS, false},
        {PANE_MODE_ARCHIVE, 0, false},
        {PANE_MODE_TEXT_VIEWER, 0, false},
    };
    for (const Case& c : cases)
    {
        m_panes[0]->m_mode = c.mode;
        m_panes[0]->m_subMode = c.subMode == 0 ? PANE_SUB_DIRECTORY : c.subMode;
        EXPECT_EQ(c.asks, RunPaneSearch(nullptr)) << c.mode << "/" << c.subMode;
        EXPECT_EQ(c.mode, m_panes[0]->m_mode);
    }
    // "@DispResultFindFile" only turns a directory listing to its finds.
    m_panes[0]->m_mode = PANE_MODE_ARCHIVE;
    m_panes[0]->m_subMode = PANE_SUB_DIRECTORY;
    View().ExecuteFilerCommand(L"@DispResultFindFile");
    EXPECT_EQ(PANE_MODE_ARCHIVE, m_panes[0]->m_mode);
    EXPECT_EQ(PANE_SUB_DIRECTORY, m_panes[0]->m_subMode);
}

TEST_F(FileSearchCommands, TheDriveListSearchesTheCursorDriveAndThePaneLandsOnThatDrive)
{
    CFilerPane& pane = *m_panes[0];
    pane.SetMode(0, PANE_MODE_DRIVE_LIST, 1);
    pane.m_driveList.RemoveAll();
    CDriveInfo network;
    network.m_kind = DRIVE_KIND_NETWORK_ROOT;
    network.m_name = L"ネットワーク";
    CDriveInfo drive;
    drive.m_kind = DRIVE_FIXED;
    drive.m_name = L"Z:";
    pane.m_driveList.Add(network);
    pane.m_driveList.Add(drive);

    // The network row has no folder to search: nothing opens.
    pane.m_cursor = 0;
    EXPECT_FALSE(RunPaneSearch(nullptr));
    pane.m_cursor = 1;
    ASSERT_TRUE(RunPaneSearch(nullptr));
    EXPECT_EQ(g_shownFolder, L"Z:\\");
    EXPECT_EQ(PANE_MODE_DRIVE_LIST, pane.m_mode);
    // A search that goes ahead leaves the list for the drive's finds; the walk of the
    // whole drive is stopped as soon as the command returned.
    pane.m_findResults.m_results.RemoveAll();
    g_searchPattern = L"no-such-file-anywhere.none";
    g_searchAnswered = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerPaneSearch);
    View().ExecuteFilerCommand(L"@FindFileInWindow");
    KillTimer(nullptr, timer);
    pane.m_findResults.StopSearch();
    ASSERT_TRUE(g_searchAnswered);
    EXPECT_EQ(PANE_MODE_FILER, pane.m_mode);
    EXPECT_EQ(PANE_SUB_FIND_RESULTS, pane.m_subMode);
    EXPECT_EQ(std::wstring(L"Z:\\"), W(pane.m_currentDir));
}

TEST_F(FileSearchCommands, TheSearchWindowOpensOnceUnlessANewOneIsAskedForAndStartsInTheListingsFolder)
{
    View().ExecuteFilerCommand(L"@Findfile");
    ASSERT_EQ(1u, SearchWindows().size());
    auto* first = static_cast<CFindFileDlg*>(SearchWindows()[0]);
    EXPECT_TRUE(first->m_hWnd != nullptr && IsWindowVisible(first->m_hWnd));
    EXPECT_EQ(W(first->m_baseDirectory), m_root);
    EXPECT_EQ(0, first->m_paneIndex);

    View().ExecuteFilerCommand(L"@Findfile");
    EXPECT_EQ(1u, SearchWindows().size());

    // A root keeps its backslash; the second window is a window of its own.
    m_panes[0]->m_currentDir = L"Z:";
    View().ExecuteFilerCommand(L"@FindFileNewDlg");
    ASSERT_EQ(2u, SearchWindows().size());
    EXPECT_EQ(std::wstring(L"Z:\\"), W(static_cast<CFindFileDlg*>(SearchWindows()[1])->m_baseDirectory));

    // The two menu items run the same two commands.
    EXPECT_TRUE(View().OnCmdMsg(513, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(2u, SearchWindows().size());
    EXPECT_TRUE(View().OnCmdMsg(3017, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(3u, SearchWindows().size());

    // A pane that shows no folder gets no window nobody would see.
    m_panes[0]->m_mode = PANE_MODE_TEXT_VIEWER;
    View().ExecuteFilerCommand(L"@FindFileNewDlg");
    EXPECT_EQ(3u, SearchWindows().size());
}
