// Moving around on real folders: Enter and going up, the drive list, drive letters,
// opening a path, the path history, the marks and the two searches.
#include "tests/view/CommandTestSupport.h"

#include "app/Directories.h"
#include "app/SettingStrings.h"
#include "app/records/ViewFileHistory.h"
#include "app/DriveSeam.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/GeneralToolSettings.h"
#include "filer/IncrementalSearchState.h"
#include "filer/PathHistory.h"
#include "filer/SortSetting.h"
#include "view/navigation/FileKindActions.h"
#include "tests/common/TestHelpers.h"
#include "view/shell/ShellSeam.h"
#include "viewers/text/TextPaneViewer.h"

#include <string.h>

namespace
{

using commandtest::CommandBench;
using qvtest::W;

class Navigation : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        Set(g_NOTVIEWUPDIR, 0);
        Set(g_NOTVIEWCURRENTDIR, 1);
        Set(g_SAVECURSORPOSITION, 0);
        Set(g_INCMODENEGLECTRETURN, 1);
        Set(g_EASYSEARCHMODE, 0);
        g_IncrementalSearchMode = 0;
        g_IncrementalSearchOn = FALSE;
        g_IncrementalSearchText.Empty();
        m_savedHistory.CopyFrom(g_PathHistory);
        g_PathHistory.RemoveAll();
        for (int i = 0; i < 2; ++i)
            for (int d = 0; d < 26; ++d)
                m_savedDriveDirs[i][d] = g_DriveLastDirs[i][d];
    }
    void TearDown() override
    {
        for (int i = 0; i < 2; ++i)
            for (int d = 0; d < 26; ++d)
                g_DriveLastDirs[i][d] = m_savedDriveDirs[i][d];
        g_PathHistory.CopyFrom(m_savedHistory);
        g_IncrementalSearchMode = 0;
        g_IncrementalSearchOn = FALSE;
        g_IncrementalSearchText.Empty();
        BYTE keys[256] = {};
        SetKeyboardState(keys);
        CommandBench::TearDown();
    }
    CString Make(LPCWSTR relative, bool folder)
    {
        CString path = m_dir + L"\\" + relative;
        if (folder)
            CreateDirectoryW(path, nullptr);
        else
            qvtest::WriteFileBytes(std::wstring(path), "x");
        return path;
    }
    // Pane `index` lists `folder` as the user's Enter would have opened it.
    void Open(int index, const CString& folder) { View().ChangePaneDirectory(index, folder, 1, 0, FALSE); }
    std::wstring CursorName(int index)
    {
        CFileInfo* entry = m_panes[index]->GetCursorEntry();
        return entry ? std::wstring(entry->GetName()) : std::wstring(L"<none>");
    }
    void PutCursorOn(int index, LPCWSTR name)
    {
        m_panes[index]->m_cursor = -1;
        for (INT_PTR i = 0; i < m_panes[index]->m_entries.GetSize(); ++i)
            if (CString(m_panes[index]->m_entries[i].GetName()).CompareNoCase(name) == 0)
                m_panes[index]->m_cursor = i;
        ASSERT_GE(m_panes[index]->m_cursor, 0) << "no entry";
    }
    std::vector<std::wstring> MarkedNames(int index)
    {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < m_panes[index]->m_entries.GetSize(); ++i)
            if (m_panes[index]->m_entries[i].m_mark)
                out.push_back(m_panes[index]->m_entries[i].GetName());
        return out;
    }
    void SetHeld(int vk, bool held)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[vk] = held ? 0x80 : 0;
        SetKeyboardState(keys);
    }

private:
    CArrayPathHistoryInfo m_savedHistory;
    CString m_savedDriveDirs[2][26];
};

TEST_F(Navigation, EnterEntersAFolderAndEveryWayUpLandsOnTheFolderLeft)
{
    Make(L"alpha", true);
    CString beta = Make(L"beta", true);
    Make(L"beta\\inner.txt", false);
    Make(L"c.txt", false);
    enum Way
    {
        ENTER_ON_DOTDOT,
        UPDIRECTORY_KEYWORD,
        BACKSPACE_BINDING
    };
    Bind(g_FilerKeyCmds, L"BACK", 0, L"@Updirectory");
    for (Way way : {ENTER_ON_DOTDOT, UPDIRECTORY_KEYWORD, BACKSPACE_BINDING})
    {
        Open(0, m_dir);
        PutCursorOn(0, L"beta");
        View().RouteKeyPress(VK_RETURN);
        ASSERT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(beta)) << way;
        if (way == ENTER_ON_DOTDOT)
        {
            PutCursorOn(0, L"..");
            View().RouteKeyPress(VK_RETURN);
        }
        else if (way == UPDIRECTORY_KEYWORD)
            EXPECT_EQ(View().ExecuteFilerCommand(L"@Updirectory"), 1);
        else
            View().RouteKeyPress(VK_BACK);
        EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(m_dir)) << way;
        EXPECT_EQ(CursorName(0), L"beta") << way;
    }
}

TEST_F(Navigation, GoingUpFromADriveRootShowsTheDriveListWithTheCursorOnThatDrive)
{
    CString root = m_dir.Left(2);
    m_panes[0]->m_currentDir = root;
    Make(L"a.txt", false);
    m_panes[0]->ReadDirectory(TRUE);
    View().GoParentDirectory();
    ASSERT_EQ(m_panes[0]->m_mode, static_cast<UINT>(PANE_MODE_DRIVE_LIST));
    ASSERT_LT(m_panes[0]->m_cursor, m_panes[0]->m_driveList.GetSize());
    EXPECT_EQ(std::wstring(m_panes[0]->m_driveList[static_cast<INT_PTR>(m_panes[0]->m_cursor)].m_name),
              std::wstring(root));
    // Enter on that row opens the drive again.
    View().RouteKeyPress(VK_RETURN);
    EXPECT_EQ(m_panes[0]->m_mode, static_cast<UINT>(PANE_MODE_FILER));
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir.Left(2)), std::wstring(root));
}

TEST_F(Navigation, ChangeDriveRestoresTheRememberedDirectoryOfEachPane)
{
    CString alpha = Make(L"alpha", true);
    CString beta = Make(L"beta", true);
    wchar_t letter = static_cast<wchar_t>(towupper(m_dir[0]));
    struct Case
    {
        int eachPane;
        int activePane;
        CString expected;
    } cases[] = {
        {0, 0, alpha},
        {0, 1, alpha},
        {1, 0, alpha},
        {1, 1, beta},
    };
    for (const Case& c : cases)
    {
        Set(g_USE_EACH_LAST_DIRECTORY, c.eachPane);
        g_DriveLastDirs[0][letter - L'A'] = alpha;
        g_DriveLastDirs[1][letter - L'A'] = beta;
        m_panes[c.activePane]->m_position = PANE_POS_ACTIVE;
        m_panes[1 - c.activePane]->m_position = PANE_POS_OTHER;
        EXPECT_EQ(View().ExecuteFilerCommand(CString(L"@Log") + letter), 1);
        EXPECT_EQ(std::wstring(m_panes[c.activePane]->m_currentDir), std::wstring(c.expected))
            << c.eachPane << c.activePane;
    }
}

TEST_F(Navigation, OpenPathInPanePutsTheCursorOnAFileAndIgnoresAMissingPath)
{
    CString folder = Make(L"sub", true);
    Make(L"sub\\a.txt", false);
    CString file = Make(L"sub\\target.txt", false);
    Make(L"sub\\z.txt", false);
    Open(0, m_dir);
    EXPECT_EQ(View().OpenPathInPane(0, file), 1);
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(folder));
    EXPECT_EQ(CursorName(0), L"target.txt");
    EXPECT_EQ(View().OpenPathInPane(0, m_dir + L"\\missing\\x.txt"), 0);
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(folder));
    EXPECT_EQ(CursorName(0), L"target.txt");
}

TEST_F(Navigation, PathHistoryStepsBackAndForwardAndSkipsADeletedFolder)
{
    CString a = Make(L"a", true), b = Make(L"b", true), c = Make(L"c", true);
    Open(0, a);
    Open(0, b);
    Open(0, c);
    View().ExecuteFilerCommand(L"@Predirectory");
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(b));
    View().ExecuteFilerCommand(L"@Predirectory");
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(a));
    View().ExecuteFilerCommand(L"@NextDirectory");
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(b));
    View().ExecuteFilerCommand(L"@NextDirectory");
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(c));
    // b is gone: back from c goes to a.
    ASSERT_TRUE(RemoveDirectoryW(b));
    View().ExecuteFilerCommand(L"@Predirectory");
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(a));
}

TEST_F(Navigation, MarksByKeywordOnTwoPreparedPanes)
{
    CString left = Make(L"left", true), right = Make(L"right", true);
    for (LPCWSTR name :
         {L"left\\a.txt", L"left\\b.txt", L"left\\c.txt", L"right\\B.TXT", L"right\\c.txt", L"right\\d.txt"})
        Make(name, false);
    Make(L"left\\dir", true);
    Make(L"right\\dir", true);
    Open(1, right);
    Open(0, left);
    struct Case
    {
        std::vector<LPCWSTR> keywords;
        std::vector<std::wstring> marked;
    } cases[] = {
        {{L"@Anotherexistselect"}, {L"b.txt", L"c.txt"}},
        {{L"@Anothernoneselect"}, {L"a.txt"}},
        {{L"@Releaseselect", L"@Allselect"}, {L"a.txt", L"b.txt", L"c.txt"}},
        {{L"@Anotherexistselect", L"@Reverseselect"}, {L"dir", L"a.txt"}},
    };
    for (const Case& c : cases)
    {
        for (LPCWSTR keyword : c.keywords)
            EXPECT_EQ(View().ExecuteFilerCommand(keyword), 1);
        EXPECT_EQ(MarkedNames(0), c.marked) << W(CString(c.keywords.back()));
    }
    // "@Select" toggles the cursor entry and moves on.
    View().ExecuteFilerCommand(L"@Releaseselect");
    PutCursorOn(0, L"b.txt");
    View().ExecuteFilerCommand(L"@Select");
    EXPECT_EQ(MarkedNames(0), std::vector<std::wstring>{L"b.txt"});
    EXPECT_EQ(CursorName(0), L"c.txt");
}

TEST_F(Navigation, ReloadPutsTheCursorOnAGivenNameOrKeepsItsIndexClamped)
{
    CString left = Make(L"left", true), right = Make(L"right", true);
    for (LPCWSTR name : {L"left\\m.txt", L"left\\n.txt", L"left\\o.txt", L"right\\x.txt"})
        Make(name, false);
    Open(1, right);
    Open(0, left);
    PutCursorOn(0, L"n.txt");
    // A new file sorts in front of the cursor's: the named reload follows the name.
    Make(L"left\\a.txt", false);
    View().ReloadFilerPanes(L"n.txt");
    EXPECT_EQ(CursorName(0), L"n.txt");
    // Without a name the index stays, clamped to the shorter list.
    PutCursorOn(0, L"o.txt");
    INT64 index = m_panes[0]->m_cursor;
    ASSERT_TRUE(DeleteFileW(left + L"\\o.txt"));
    ASSERT_TRUE(DeleteFileW(left + L"\\n.txt"));
    View().ReloadFilerPanes();
    EXPECT_EQ(m_panes[0]->m_cursor, m_panes[0]->m_entries.GetSize() - 1);
    EXPECT_LT(m_panes[0]->m_cursor, index);
    // The other pane's folder did not change: it is left exactly as it was.
    m_panes[1]->m_cursor = 99;
    View().ReloadFilerPanes();
    EXPECT_EQ(m_panes[1]->m_cursor, 99);
}

TEST_F(Navigation, ForcedReloadReadsAndSortsAFolderThatDidNotChange)
{
    Make(L"a.txt", false);
    qvtest::WriteFileBytes(std::wstring(m_dir + L"\\b.txt"), "larger");
    Open(0, m_dir);
    auto names = [&] {
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
            if (!m_panes[0]->m_entries[i].IsDots())
                out.push_back(m_panes[0]->m_entries[i].GetName());
        return out;
    };
    ASSERT_EQ((std::vector<std::wstring>{L"a.txt", L"b.txt"}), names());
    // An order the listing has not taken yet: only a whole read shows it.
    m_panes[0]->m_sortSetting.m_fileKey = SORT_KEY_SIZE;
    View().ReloadFilerPanes();
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"b.txt"}), names());
    View().ExecuteFilerCommand(L"@Manualreload");
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt", L"a.txt"}), names());
}

// What the seam was asked to run or open.
std::vector<std::wstring> g_started;

HINSTANCE WINAPI RecordShellOpen(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    g_started.push_back(std::wstring(L"open ") + file);
    return reinterpret_cast<HINSTANCE>(42);
}

void RecordKindRow(CQvView&, int, LPCWSTR program, LPCWSTR parameters, LPCWSTR)
{
    g_started.push_back(std::wstring(L"run ") + program + L" " + parameters);
}

TEST_F(Navigation, ReturnOnAFileAsksAmongItsKindRowsOrOpensItsRegisteredAction)
{
    CFileOpenSeamOverride seam;
    g_FileOpenSeam.shellExecute = RecordShellOpen;
    g_FileOpenSeam.runKindRow = RecordKindRow;
    CKindExeEntry saved[kKindExeEntryCount];
    for (int i = 0; i < kKindExeEntryCount; ++i)
        saved[i] = g_KindExeTable[i];
    for (CKindExeEntry& row : g_KindExeTable)
        row = CKindExeEntry();
    g_KindExeTable[3].m_extension = L"txt";
    g_KindExeTable[3].m_action = L"first.exe";
    g_KindExeTable[3].m_displayName = L"First";
    g_KindExeTable[7].m_extension = L"TXT";
    g_KindExeTable[7].m_action = L"second.exe";
    g_KindExeTable[7].m_parameters = L"%F";
    g_KindExeTable[7].m_displayName = L"Second";
    Make(L"note.txt", false);
    CString other = Make(L"other.dat", false);
    Open(0, m_dir);
    struct Case
    {
        LPCWSTR file;
        int selectSameKind;
        INT_PTR answer;
        int index;
        size_t questions;
        std::vector<std::wstring> started;
    } cases[] = {
        {L"note.txt", 1, IDOK, 1, 1, {L"run second.exe %F"}},
        {L"note.txt", 1, IDCANCEL, 0, 1, {}},
        {L"note.txt", 0, IDOK, 0, 0, {L"run first.exe "}},
        {L"other.dat", 1, IDOK, 0, 0, {L"open " + std::wstring(other)}},
    };
    for (const Case& c : cases)
    {
        Set(g_SELECTSAMEKIND, c.selectSameKind);
        g_started.clear();
        CDialogAnswerScript script;
        CDialogAnswer answer;
        answer.result = c.answer;
        answer.index = c.index;
        script.Add(answer);
        PutCursorOn(0, c.file);
        View().RouteKeyPress(VK_RETURN);
        EXPECT_EQ(script.GetQuestions().size(), c.questions) << W(CString(c.file)) << c.selectSameKind;
        if (c.questions == 1)
        {
            EXPECT_EQ(script.GetQuestions()[0].items, (std::vector<CString>{L"First", L"Second"}));
        }
        EXPECT_EQ(g_started, c.started) << W(CString(c.file)) << c.selectSameKind;
    }
    for (int i = 0; i < kKindExeEntryCount; ++i)
        g_KindExeTable[i] = saved[i];
}

// The editor stand-in writes a file beside the one it was given, as an editor's
// "save as" would.
HINSTANCE WINAPI RecordEditor(HWND, LPCWSTR, LPCWSTR program, LPCWSTR parameters, LPCWSTR directory, INT)
{
    g_started.push_back(std::wstring(L"edit ") + program + L" " + parameters);
    qvtest::WriteFileBytes(std::wstring(directory) + L"\\written.txt", "w");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

TEST_F(Navigation, EnterInTheViewerClosesItShiftEnterEditsAndShiftReturnListsWhatTheEditorWrote)
{
    CShellRunSeamOverride seam;
    g_ShellRunSeam.shellExecute = RecordEditor;
    const CString savedEditor = g_EDITORNAME;
    g_EDITORNAME = L"editor.exe";
    Set(g_SAMERETURNSHIFT, 0);
    Set(g_KINDSHIFTWINEXE, 0);
    Set(g_CHECK_EDIT_FILE_IS_UNICODE, 0);
    CArrayViewFile savedHistory;
    savedHistory.Copy(g_ViewHistory);
    g_ViewHistory.RemoveAll();
    CString note = Make(L"note.txt", false);
    Open(0, m_dir);
    PutCursorOn(0, L"note.txt");

    // Enter shows the file and remembers it; "@InDir" leaves the viewer alone.
    View().OpenCursorEntry(0, 0);
    ASSERT_EQ(PANE_MODE_TEXT_VIEWER, m_panes[0]->m_mode);
    ASSERT_EQ(1, g_ViewHistory.GetSize());
    EXPECT_EQ(std::wstring(note), W(g_ViewHistory[0].m_folder + L"\\" + g_ViewHistory[0].m_name));
    View().OpenCursorEntry(1, 1);
    EXPECT_EQ(PANE_MODE_TEXT_VIEWER, m_panes[0]->m_mode);
    // Shift+Enter hands the shown file to the editor and keeps it shown.
    SetHeld(VK_SHIFT, true);
    View().OpenCursorEntry(0, 0);
    SetHeld(VK_SHIFT, false);
    EXPECT_EQ(PANE_MODE_TEXT_VIEWER, m_panes[0]->m_mode);
    EXPECT_EQ((std::vector<std::wstring>{L"edit editor.exe " + std::wstring(note)}), g_started);
    // Enter closes it, back on the file.
    View().OpenCursorEntry(0, 0);
    EXPECT_EQ(PANE_MODE_FILER, m_panes[0]->m_mode);
    EXPECT_EQ(L"note.txt", CursorName(0));

    // Shift+Return on the file starts the editor and lists what it wrote at once.
    DeleteFileW(m_dir + L"\\written.txt");
    View().ReloadFilerPanes();
    g_started.clear();
    SetHeld(VK_SHIFT, true);
    View().OpenCursorEntry(0, 0);
    SetHeld(VK_SHIFT, false);
    ASSERT_EQ(1u, g_started.size());
    bool listed = false;
    for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
        listed = listed || CString(m_panes[0]->m_entries[i].GetName()) == L"written.txt";
    EXPECT_TRUE(listed);

    g_ViewHistory.Copy(savedHistory);
    g_EDITORNAME = savedEditor;
}

TEST_F(Navigation, TabSwitchesPanesUnlessAPictureIsShown)
{
    Bind(g_FilerKeyCmds, L"TAB", 0, L"@Changewindow");
    View().RouteKeyPress(VK_TAB);
    EXPECT_EQ(View().GetActivePaneIndex(), 1);
    View().RouteKeyPress(VK_TAB);
    EXPECT_EQ(View().GetActivePaneIndex(), 0);
    m_panes[1]->m_mode = PANE_MODE_GRAPHIC;
    View().ExecuteFilerCommand(L"@Changewindow");
    EXPECT_EQ(View().GetActivePaneIndex(), 0);
}

class Search : public Navigation
{
protected:
    void SetUp() override
    {
        Navigation::SetUp();
        for (LPCWSTR name : {L"Abc.txt", L"abd.txt", L"b1.txt", L"B2.txt", L"c.txt"})
            Make(name, false);
        Open(0, m_dir);
        PutCursorOn(0, L"c.txt");
    }
    void Type(const wchar_t* keys)
    {
        for (; *keys; ++keys)
            View().RouteKeyPress(*keys);
    }
};

TEST_F(Search, IncrementalSearchKeepsTheCursorOnTheLastMatch)
{
    EXPECT_EQ(View().ExecuteFilerCommand(L"@NorIncSearch"), 1);
    EXPECT_EQ(g_IncrementalSearchMode, 1);
    Type(L"AB");
    EXPECT_EQ(CursorName(0), L"Abc.txt");
    Type(L"X");
    EXPECT_EQ(CursorName(0), L"Abc.txt");
    EXPECT_EQ(std::wstring(g_IncrementalSearchText), L"ABX");
    View().ExecuteFilerCommand(L"@BackIncSearch");
    EXPECT_EQ(std::wstring(g_IncrementalSearchText), L"AB");
    Type(L"D");
    EXPECT_EQ(CursorName(0), L"abd.txt");
    // A key with Ctrl held is not the search's: it reaches the bindings.
    SetHeld(VK_CONTROL, true);
    EXPECT_EQ(View().IncrementalSearchKey('B', 1), 0);
    SetHeld(VK_CONTROL, false);
    // Enter ends the search and opens nothing.
    CString before = m_panes[0]->m_currentDir;
    View().RouteKeyPress(VK_RETURN);
    EXPECT_EQ(g_IncrementalSearchMode, 0);
    EXPECT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(before));
    // The same mode command twice switches the search off again.
    View().ExecuteFilerCommand(L"@NorIncSearch");
    View().ExecuteFilerCommand(L"@NorIncSearch");
    EXPECT_EQ(g_IncrementalSearchMode, 0);
}

TEST_F(Search, LeavingAFolderEndsTheSearchOrEmptiesItsText)
{
    CString sub = Make(L"sub", true);
    Bind(g_FilerKeyCmds, L"BACK", 0, L"@Updirectory");
    struct Case
    {
        int neglect;
        int mode;
        BOOL on;
        const wchar_t* text;
        // Where the key B leaves the cursor afterwards: only a running search moves it.
        const wchar_t* cursorAfterB;
    } cases[] = {
        {1, 0, FALSE, L"AB", L"sub"},
        {0, 1, TRUE, L"", L"b1.txt"},
    };
    for (const Case& c : cases)
    {
        Set(g_INCMODENEGLECTINCCHANGE, c.neglect);
        Open(0, sub);
        View().ExecuteFilerCommand(L"@NorIncSearch");
        Type(L"AB");
        View().RouteKeyPress(VK_BACK);
        ASSERT_EQ(std::wstring(m_panes[0]->m_currentDir), std::wstring(m_dir)) << c.neglect;
        EXPECT_EQ(g_IncrementalSearchMode, c.mode) << c.neglect;
        EXPECT_EQ(g_IncrementalSearchOn, c.on) << c.neglect;
        EXPECT_EQ(std::wstring(g_IncrementalSearchText), c.text) << c.neglect;
        Type(L"B");
        EXPECT_EQ(CursorName(0), c.cursorAfterB) << c.neglect;
        View().ClearIncrementalSearch();
    }
}

TEST_F(Search, EasySearchCyclesThroughTheNamesOfALetterAndWraps)
{
    EXPECT_EQ(View().ExecuteFilerCommand(L"@NorEasySearch"), 1);
    EXPECT_EQ(g_EASYSEARCHMODE, 1);
    const wchar_t* expected[] = {L"b1.txt", L"B2.txt", L"b1.txt"};
    for (const wchar_t* name : expected)
    {
        Type(L"B");
        EXPECT_EQ(CursorName(0), name);
    }
    // Shift is not the plain mode's: the key is not consumed.
    SetHeld(VK_SHIFT, true);
    EXPECT_EQ(View().IncrementalSearchKey('A', 1), 0);
    SetHeld(VK_SHIFT, false);
    // Switching the incremental search of the same keys on takes the keys over.
    View().ExecuteFilerCommand(L"@NorIncSearch");
    EXPECT_EQ(g_EASYSEARCHMODE, 0);
}

// Drive rows through the drive seam: letters in order, sizes and labels padded.
DWORD WINAPI TwoDrives()
{
    return (1u << 2) | (1u << 3);
}
UINT WINAPI FixedDrive(LPCWSTR)
{
    return DRIVE_FIXED;
}
BOOL WINAPI SomeSpace(LPCWSTR, PULARGE_INTEGER available, PULARGE_INTEGER total, PULARGE_INTEGER free)
{
    available->QuadPart = free->QuadPart = 1024ull * 1024 * 1024;
    total->QuadPart = 4096ull * 1024 * 1024;
    return TRUE;
}
BOOL WINAPI Labels(LPCWSTR root, LPWSTR label, DWORD size, LPDWORD, LPDWORD, LPDWORD, LPWSTR, DWORD)
{
    wcsncpy_s(label, size, root[0] == L'C' ? L"SYSTEM" : L"\u30c7\u30fc\u30bf", _TRUNCATE);
    return TRUE;
}

TEST_F(Navigation, DriveListRowsComeFromTheSeamPaddedToOneColumn)
{
    CDriveSeamOverride seam;
    g_DriveSeam.GetLogicalDrives = TwoDrives;
    g_DriveSeam.GetDriveTypeW = FixedDrive;
    g_DriveSeam.GetDiskFreeSpaceExW = SomeSpace;
    g_DriveSeam.GetVolumeInformationW = Labels;
    CString savedRoot = g_LastNetworkRoot;
    g_LastNetworkRoot.Empty();
    m_panes[0]->ReadDriveList();
    g_LastNetworkRoot = savedRoot;
    ASSERT_EQ(m_panes[0]->m_driveList.GetSize(), 2);
    EXPECT_EQ(std::wstring(m_panes[0]->m_driveList[0].m_name), L"C:");
    EXPECT_EQ(std::wstring(m_panes[0]->m_driveList[1].m_name), L"D:");
    // Both size texts begin at display column 26: six letters and twenty blanks, three
    // double-width letters (six columns) and twenty blanks less three.
    CString ascii = m_panes[0]->m_driveList[0].m_description;
    CString wide = m_panes[0]->m_driveList[1].m_description;
    EXPECT_EQ(W(ascii.Left(26)), L"SYSTEM" + std::wstring(20, L' '));
    EXPECT_EQ(W(wide.Left(23)), L"\u30c7\u30fc\u30bf" + std::wstring(20, L' '));
    EXPECT_EQ(W(ascii.Mid(26)), W(wide.Mid(23)));
    EXPECT_EQ(ascii.Right(5), CString(L" FREE"));

    // The last share left and, when switched on, the network computers follow.
    Set(g_VIEWNETWORKONLIST, 1);
    g_LastNetworkRoot = L"\\\\HOST\\docs\\";
    m_panes[0]->ReadDriveList();
    g_LastNetworkRoot = savedRoot;
    ASSERT_EQ(m_panes[0]->m_driveList.GetSize(), 4);
    EXPECT_EQ(m_panes[0]->m_driveList[2].m_kind, DRIVE_KIND_LAST_SHARE);
    EXPECT_EQ(W(m_panes[0]->m_driveList[2].m_name), L"\\\\HOST\\docs\\");
    EXPECT_EQ(m_panes[0]->m_driveList[3].m_kind, DRIVE_KIND_NETWORK_ROOT);
    EXPECT_EQ(W(m_panes[0]->m_driveList[3].m_name), std::wstring(kNetworkComputerName));
}

} // namespace
