// The %-macros of command lines over real panes: every macro on the cursor entry and
// on marked entries, both passes with their result codes, and the edge cases.
#include "app/CommandMacros.h"
#include "util/Globals.h"
#include "app/SettingStrings.h"
#include "tests/common/TestHelpers.h"
#include "tests/view/CommandTestSupport.h"
#include "view/shell/ShellSeam.h"

#include <vector>

using qvtest::W;

namespace
{

class CommandMacrosTest : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        for (int i = 0; i < 5; ++i)
            m_savedTimes[i] = g_TimeMacros[i];
        m_savedHome = g_HomeDir;
        // Entries: "..", a.txt, sub (folder), "b c.txt", e.doc.
        Add(0, L"..", true);
        Add(0, L"a.txt", false);
        Add(0, L"sub", true);
        Add(0, L"b c.txt", false);
        Add(0, L"e.doc", false);
        m_panes[0]->m_cursor = 1;
        Add(1, L"o.txt", false);
        m_panes[1]->m_cursor = 0;
        m_panes[1]->m_currentDir = L"C:\\other dir";
    }
    void TearDown() override
    {
        for (int i = 0; i < 5; ++i)
            g_TimeMacros[i] = m_savedTimes[i];
        g_HomeDir = m_savedHome;
        CommandBench::TearDown();
    }
    void Add(int pane, LPCWSTR name, bool folder)
    {
        WIN32_FIND_DATAW fd = {};
        fd.dwFileAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
        wcscpy_s(fd.cFileName, name);
        CString directory = pane == 0 ? m_dir : CString(L"C:\\other dir");
        m_panes[pane]->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, directory, L"", fd, -1);
    }
    void Mark(std::initializer_list<int> indexes)
    {
        for (int i : indexes)
            m_panes[0]->m_entries[i].m_mark = 1;
        m_panes[0]->m_markedCount = static_cast<int>(indexes.size());
    }
    // The expansion with the cursorAsFile flag 0 and an empty base folder.
    std::pair<int, std::wstring> Expand(LPCWSTR templ, int index = -1, int cursorAsFile = 0)
    {
        CString out = L"untouched";
        CString base;
        int result = ExpandCommandMacros(templ, out, index, 0, base, cursorAsFile);
        return {result, W(out)};
    }
    std::wstring D(LPCWSTR name) const { return W(m_dir) + L"\\" + name; }

    CString m_savedTimes[5];
    CString m_savedHome;
};

struct MacroCase
{
    LPCWSTR templ;
    int result;
    LPCWSTR expected; // "D\" stands for the pane's folder and a backslash
};

std::wstring Resolve(LPCWSTR expected, const std::wstring& dir)
{
    std::wstring out;
    for (LPCWSTR p = expected; *p; ++p)
    {
        if (p[0] == L'D' && p[1] == L'\\')
        {
            out += dir + L"\\";
            ++p;
        }
        else
            out += *p;
    }
    return out;
}

TEST_F(CommandMacrosTest, WholeListMacrosOnTheCursorEntry)
{
    g_HomeDir = L"C:\\Qv";
    const MacroCase cases[] = {
        {L"prog %c", 1, L"prog D\\a.txt"},
        {L"prog %cf", 1, L"prog a.txt"},
        {L"prog %x", 1, L"prog D\\a"},
        {L"prog %xf", 1, L"prog a"},
        {L"%m", 1, L"D\\a.txt"},
        {L"%mf,%mfd", 1, L"a.txt,a.txt"},
        // The per-file macros wait for the per-file pass.
        {L"run %i %l %id", 1, L"run %i %l %id"},
        {L"%fcx", 1, L"D\\x"},
        {L"%gc", 1, L"D\\"},
        {L"%fs", 1, L"C:\\Qv\\"},
        {L"%gs", 1, L"C:\\Qv"},
        {L"%gsd %fsd", 1, L"C: C:\\"},
        {L"%fo", 1, L"\"C:\\other dir\\\""},
        {L"%foa", 1, L"C:\\other dir\\a"},
        {L"%fx %t6 %q 100%%", 1, L"%fx %t6 %q 100%%"},
        {L"%mb", 1, L"D\\a.txt \"C:\\other dir\\o.txt\""},
    };
    for (const MacroCase& c : cases)
    {
        auto [result, out] = Expand(c.templ);
        std::wstring expected = Resolve(c.expected, W(m_dir));
        if (std::wstring(c.templ) == L"%gc")
            expected = W(m_dir); // g: no backslash
        EXPECT_EQ(c.result, result) << c.templ;
        EXPECT_EQ(expected, out) << c.templ;
    }
}

TEST_F(CommandMacrosTest, ListsOfMarkedEntriesLeaveFoldersOutUnlessAsked)
{
    Mark({1, 2, 3});
    EXPECT_EQ(std::make_pair(1, D(L"a.txt") + L" \"" + D(L"b c.txt") + L"\""), Expand(L"%m"));
    EXPECT_EQ(std::make_pair(1, D(L"a.txt") + L" " + D(L"sub") + L" \"" + D(L"b c.txt") + L"\""),
              Expand(L"%md"));
    EXPECT_EQ(std::make_pair(1, std::wstring(L"a.txt sub \"b c.txt\"")), Expand(L"%mdf"));
    EXPECT_EQ(std::make_pair(1, std::wstring(L"a.txt sub \"b c.txt\"")), Expand(L"%mfd"));
    // %c stays the cursor entry, marks or not.
    EXPECT_EQ(std::make_pair(1, std::wstring(L"a.txt")), Expand(L"%cf"));
}

TEST_F(CommandMacrosTest, PerFilePassRunsEachEntryAndSkipsFolders)
{
    Mark({1, 2, 3});
    struct Step
    {
        int n;
        int result;
        std::wstring out;
    };
    const std::vector<Step> steps = {
        {0, 3, L"run " + D(L"a.txt") + L" %m"},
        {1, 2, L""},
        {2, 3, L"run \"" + D(L"b c.txt") + L"\" %m"},
        {3, -1, L""},
    };
    for (const Step& step : steps)
    {
        auto [result, out] = Expand(L"run %i %m", step.n);
        EXPECT_EQ(step.result, result) << step.n;
        if (step.result == 3)
            EXPECT_EQ(step.out, out) << step.n;
    }
    // With "d" the folder is an entry like any other; %l and %c (cursorAsFile) are %i.
    EXPECT_EQ(std::make_pair(3, D(L"sub")), Expand(L"%ld", 1));
    EXPECT_EQ(std::make_pair(3, std::wstring(L"sub=sub")), Expand(L"%ifd=%ifd", 1));
    EXPECT_EQ(std::make_pair(3, std::wstring(L"\"b c.txt\"")), Expand(L"%cf", 2, 1));
    // Without a per-file macro, or with %c of the whole-list pass, nothing to run.
    EXPECT_EQ(-1, Expand(L"prog %c", 0).first);
    // A doubled percent sign is no escape.
    EXPECT_EQ(std::make_pair(3, L"%" + D(L"a.txt")), Expand(L"%%i", 0));
}

TEST_F(CommandMacrosTest, EdgeResults)
{
    // The cursor on ".." with nothing marked: no entry for a list macro.
    m_panes[0]->m_cursor = 0;
    EXPECT_EQ(-1, Expand(L"%m").first);
    EXPECT_EQ(-1, Expand(L"%c").first);
    EXPECT_EQ(-1, Expand(L"%i", 0).first);
    // A folder alone under the cursor is no file.
    m_panes[0]->m_cursor = 2;
    EXPECT_EQ(-1, Expand(L"%c").first);
    EXPECT_EQ(std::make_pair(1, D(L"sub")), Expand(L"%cd"));
    // An empty template leaves the output alone.
    EXPECT_EQ(std::make_pair(0, std::wstring(L"untouched")), Expand(L""));
    // The folder macros' conditions, in both passes.
    m_panes[0]->m_mode = PANE_MODE_TEXT_VIEWER;
    EXPECT_EQ(-1, Expand(L"%fc").first);
    m_panes[0]->m_mode = PANE_MODE_FILER;
    m_panes[1]->m_position = PANE_POS_HIDDEN;
    EXPECT_EQ(-1, Expand(L"%go").first);
    EXPECT_EQ(-1, Expand(L"%go %i", 0).first);
    // The base folder is the pane's folder and stays for the caller.
    CString out;
    CString base;
    ExpandCommandMacros(L"x", out, -1, 0, base, 0);
    EXPECT_EQ(W(m_dir), W(base));
}

TEST_F(CommandMacrosTest, FolderRootsAndTimes)
{
    m_panes[0]->m_currentDir = L"C:\\work\\deep";
    EXPECT_EQ(std::make_pair(1, std::wstring(L"C:")), Expand(L"%gcd"));
    EXPECT_EQ(std::make_pair(1, std::wstring(L"C:\\")), Expand(L"%fcd"));
    m_panes[0]->m_currentDir = L"\\\\server\\share\\dir";
    EXPECT_EQ(std::make_pair(1, std::wstring(L"\\\\server\\share")), Expand(L"%gcd"));
    m_panes[0]->m_currentDir = L"relative";
    EXPECT_EQ(-1, Expand(L"%gcd").first);

    for (CString& t : g_TimeMacros)
        t.Empty();
    EXPECT_EQ(std::make_pair(1, std::wstring(L"[]")), Expand(L"[%t1]"));
    g_TimeMacros[4] = L"YYYY";
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(std::make_pair(1, std::to_wstring(now.wYear)), Expand(L"%t5"));
}

TEST_F(CommandMacrosTest, EntriesOfOtherFoldersAndArchiveMembers)
{
    // A virtual drive lists files of other folders: the real folder is inserted.
    WIN32_FIND_DATAW fd = {};
    fd.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    wcscpy_s(fd.cFileName, L"v.txt");
    m_panes[0]->m_entries.AddVirtualDriveEntry(L"Q:", L"C:\\real", fd);
    m_panes[0]->m_cursor = 5;
    EXPECT_EQ(std::make_pair(1, std::wstring(L"C:\\real\\v.txt")), Expand(L"%c"));
    // A member of an archive listing has no folder of its own: the base folder leads.
    m_panes[0]->m_mode = PANE_MODE_ARCHIVE;
    m_panes[0]->m_entries[1].m_directory.Empty();
    m_panes[0]->m_cursor = 1;
    CString out;
    CString base = L"C:\\tmp";
    EXPECT_EQ(1, ExpandCommandMacros(L"%c", out, -1, 0, base, 0));
    EXPECT_EQ(L"C:\\tmp\\a.txt", W(out));
}

} // namespace
