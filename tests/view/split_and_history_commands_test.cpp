// "@Downdevide"/"@Updevide", "@Sameotherdir", "@Filenamepack", "@Dirchangedlg",
// "@Dirhistory" and "@Properties": the split line moved, the active pane set from the
// other, the short names, a directory chosen in the folder chooser or from the
// visited ones, and the shell's property sheet of the cursor entry.
#include "tests/view/CommandTestSupport.h"

#include "app/records/PaneRecords.h"
#include "filer/PaneHooks.h"
#include "filer/PathHistory.h"
#include "res/FilerDialogs.h"
#include "view/shell/ShellSeam.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestHelpers.h"

#include <string>
#include <vector>

namespace
{

class SplitAndHistoryCommands : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_WINDOWDEVIDEWAY, 0);
        Set(g_WRITEHEADERTYPE, 1);
        Set(g_ADD_HEIGHT_ONE_LINE, 0);
        Set(g_UP_WINDOW_ADD_LINE, 0);
        Set(g_FILENAMEPACK, 0);
        m_savedHistory.CopyFrom(g_PathHistory);
        g_PathHistory.RemoveAll();
    }
    void TearDown() override
    {
        g_PathHistory.CopyFrom(m_savedHistory);
        CommandBench::TearDown();
    }

    CArrayPathHistoryInfo m_savedHistory;
};

TEST_F(SplitAndHistoryCommands, SplitterMovesByOneLineWithinTheView)
{
    // A view without a window gives each stacked pane nine lines of entries; either
    // keeps at least one.
    struct Step
    {
        const wchar_t* keyword;
        int from, to;
    } steps[] = {
        {L"@Downdevide", 0, 1}, {L"@Updevide", 1, 0},   {L"@Updevide", 0, -1},
        {L"@Downdevide", 8, 8}, {L"@Updevide", -8, -8}, {L"@Updevide", 30, 8},
    };
    for (const Step& s : steps)
    {
        g_UP_WINDOW_ADD_LINE = s.from;
        EXPECT_EQ(1, View().ExecuteFilerCommand(s.keyword));
        EXPECT_EQ(s.to, g_UP_WINDOW_ADD_LINE) << s.from;
    }
    // The viewer and the binary editor move it the same way.
    g_UP_WINDOW_ADD_LINE = 0;
    EXPECT_EQ(1, View().ExecuteViewerCommand(L"@Downdevide"));
    EXPECT_EQ(1, View().ExecuteBinaryCommand(L"@Downdevide"));
    EXPECT_EQ(2, g_UP_WINDOW_ADD_LINE);
}

TEST_F(SplitAndHistoryCommands, SplitterStaysWithAHiddenPaneOrAPicture)
{
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
        g_UP_WINDOW_ADD_LINE = 3;
        m_panes[1]->m_position = c.position;
        m_panes[1]->m_mode = c.mode;
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Downdevide")) << c.what;
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Updevide")) << c.what;
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Updevide")) << c.what;
        EXPECT_EQ(3, g_UP_WINDOW_ADD_LINE) << c.what;
        m_panes[1]->m_position = PANE_POS_OTHER;
        m_panes[1]->m_mode = PANE_MODE_FILER;
    }
}

TEST_F(SplitAndHistoryCommands, ActivePaneTakesTheOtherPanesDirectory)
{
    CreateDirectoryW((std::wstring(m_dir) + L"\\sub").c_str(), nullptr);
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    View().ChangePaneDirectory(1, m_dir + L"\\sub", 1, 0, FALSE);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Sameotherdir"));
    EXPECT_EQ(std::wstring(m_dir) + L"\\sub", qvtest::W(m_panes[0]->m_currentDir));
    EXPECT_EQ(std::wstring(m_dir) + L"\\sub", qvtest::W(m_panes[1]->m_currentDir));
}

TEST_F(SplitAndHistoryCommands, FileNamePackToggles)
{
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Filenamepack"));
    EXPECT_EQ(1, g_FILENAMEPACK);
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Filenamepack"));
    EXPECT_EQ(0, g_FILENAMEPACK);
}

std::wstring g_started;
std::wstring g_folder;
BOOL g_accept = FALSE;

BOOL FakeChooseFolder(CString& path, CWnd*, BOOL includeFiles)
{
    g_started = qvtest::W(path);
    EXPECT_FALSE(includeFiles);
    if (g_accept)
        path = g_folder.c_str();
    return g_accept;
}

TEST_F(SplitAndHistoryCommands, FolderChooserStartsAtThePanesFolderAndItsChoiceIsShown)
{
    const std::wstring sub = std::wstring(m_dir) + L"\\sub";
    CreateDirectoryW(sub.c_str(), nullptr);
    const ShellDialogSeam saved = g_ShellDialogSeam;
    g_ShellDialogSeam.chooseFolder = FakeChooseFolder;
    struct Case
    {
        const char* what;
        UINT mode;
        BOOL accept;
        std::wstring start, after;
    } cases[] = {
        {"filer, chosen", PANE_MODE_FILER, TRUE, std::wstring(m_dir), sub},
        {"filer, cancelled", PANE_MODE_FILER, FALSE, std::wstring(m_dir), std::wstring(m_dir)},
        {"drive list, chosen", PANE_MODE_DRIVE_LIST, TRUE, L"", sub},
    };
    for (const Case& c : cases)
    {
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
        m_panes[0]->m_mode = c.mode;
        g_accept = c.accept;
        g_folder = sub;
        g_started = L"unset";
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Dirchangedlg")) << c.what;
        EXPECT_EQ(c.start, g_started) << c.what;
        EXPECT_EQ(c.after, qvtest::W(m_panes[0]->m_currentDir)) << c.what;
        EXPECT_EQ(PANE_MODE_FILER, m_panes[0]->m_mode) << c.what;
    }
    // A graphic viewer has no folder to change: the chooser does not open.
    m_panes[0]->m_mode = PANE_MODE_GRAPHIC;
    g_started = L"unset";
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Dirchangedlg"));
    EXPECT_EQ(L"unset", g_started);
    m_panes[0]->m_mode = PANE_MODE_FILER;
    g_ShellDialogSeam = saved;
}

std::vector<std::wstring> g_shown;

BOOL WINAPI FakeShellExecuteEx(SHELLEXECUTEINFOW* info)
{
    EXPECT_EQ(0x44Cu, info->fMask);
    EXPECT_STREQ(L"Properties", info->lpVerb);
    EXPECT_EQ(SW_SHOWNORMAL, info->nShow);
    g_shown.push_back(info->lpFile);
    return TRUE;
}

TEST_F(SplitAndHistoryCommands, PropertiesOfTheCursorFileOrDrive)
{
    CloseHandle(CreateFileW((std::wstring(m_dir) + L"\\a.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
        if (m_panes[0]->m_entries[i].GetName() == CString(L"a.txt"))
            m_panes[0]->m_cursor = i;
    const ShellDialogSeam saved = g_ShellDialogSeam;
    g_ShellDialogSeam.shellExecuteEx = FakeShellExecuteEx;
    g_shown.clear();
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Properties"));

    // In the drive list the drive under the cursor; the network row has no sheet.
    m_panes[0]->m_mode = PANE_MODE_DRIVE_LIST;
    CDriveInfo drive;
    drive.m_kind = DRIVE_FIXED;
    drive.m_name = L"C:";
    m_panes[0]->m_driveList.Add(drive);
    drive.m_kind = DRIVE_KIND_NETWORK_ROOT;
    drive.m_name = kNetworkComputerName;
    m_panes[0]->m_driveList.Add(drive);
    m_panes[0]->m_cursor = 0;
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Properties"));
    m_panes[0]->m_cursor = 1;
    EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Properties"));
    m_panes[0]->m_mode = PANE_MODE_FILER;
    g_ShellDialogSeam = saved;
    EXPECT_EQ((std::vector<std::wstring>{std::wstring(m_dir) + L"\\a.txt", L"C:"}), g_shown);
}

std::wstring g_choice;
bool g_chose = false;

// Picks the line `g_choice` of the history dialog once it shows, and accepts it.
void CALLBACK ChooseHistoryLine(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindThreadDialog(L"ディレクトリ履歴");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    LRESULT line = SendDlgItemMessageW(dialog, IDC_DIR_HISTORY_LIST, LB_FINDSTRINGEXACT,
                                       static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(g_choice.c_str()));
    g_chose = line != LB_ERR;
    if (g_chose)
        SendDlgItemMessageW(dialog, IDC_DIR_HISTORY_LIST, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    SendMessageW(dialog, WM_COMMAND, g_chose ? IDOK : IDCANCEL, 0);
}

TEST_F(SplitAndHistoryCommands, HistoryChoiceBecomesTheActivePanesDirectoryAndTheNewestVisit)
{
    const std::wstring sub = std::wstring(m_dir) + L"\\sub";
    CreateDirectoryW(sub.c_str(), nullptr);
    View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    struct Case
    {
        const wchar_t* stored;
        std::wstring expected;
    } cases[] = {
        {sub.c_str(), sub},
        // A bare drive from the history goes to its root, which the pane names by
        // its drive.
        {L"C:", L"C:"},
    };
    for (const Case& c : cases)
    {
        CStringArray list;
        list.Add(L"Z:\\newer");
        list.Add(c.stored);
        g_PathHistory.LoadFromList(list);
        g_choice = c.stored;
        g_chose = false;
        SetTimer(nullptr, 0, 50, ChooseHistoryLine);
        EXPECT_EQ(1, View().ExecuteFilerCommand(L"@Dirhistory"));
        EXPECT_TRUE(g_chose) << c.stored;
        EXPECT_EQ(c.expected, qvtest::W(m_panes[0]->m_currentDir)) << c.stored;
        ASSERT_GT(g_PathHistory.GetSize(), 0);
        EXPECT_EQ(0, _wcsicmp(c.expected.c_str(), g_PathHistory.GetAt(0).m_path))
            << "a chosen directory is the newest visit: " << qvtest::W(g_PathHistory.GetAt(0).m_path);
        View().ChangePaneDirectory(0, m_dir, 1, 0, FALSE);
    }
}

} // namespace
