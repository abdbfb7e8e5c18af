// Marks in bulk, cursor movement through the list grid and the remembered cursor
// entry of each directory.
#include <gtest/gtest.h>
#include "filer/FilerPane.h"
#include "app/Settings.h"
#include "tests/common/TestSupport.h"
#include "FilerTestData.h"

#include <string>
#include <vector>

using filertest::MakeFindData;

namespace
{
// ".." first, then directories and files in the given order (a trailing backslash
// makes a directory).
void Fill(CFilerPane& pane, std::initializer_list<LPCWSTR> names)
{
    pane.m_currentDir = L"C:\\work";
    pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\work", L"", MakeFindData(L"..", true),
                                   -1);
    for (LPCWSTR name : names)
    {
        std::wstring text(name);
        bool directory = !text.empty() && text.back() == L'\\';
        if (directory)
            text.pop_back();
        pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\work", L"",
                                       MakeFindData(text.c_str(), directory), -1);
    }
    pane.m_dotCount = 1;
}

// The marks as a string, one character per entry.
std::string Marks(const CFilerPane& pane)
{
    std::string marks;
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        marks += pane.m_entries[i].m_mark ? 'x' : '.';
    return marks;
}

class SettingGuard
{
public:
    SettingGuard(int& setting, int value) : m_setting(setting), m_saved(setting) { setting = value; }
    ~SettingGuard() { m_setting = m_saved; }

private:
    int& m_setting;
    int m_saved;
};
} // namespace

TEST(PaneMarks, KindZeroMarksEverythingThenClearsIt)
{
    CFilerPane pane(0);
    Fill(pane, {L"sub\\", L"a", L"b"});
    pane.MarkAll(0);
    EXPECT_EQ(".xxx", Marks(pane));
    EXPECT_EQ(3, pane.m_markedCount);
    pane.MarkAll(0);
    EXPECT_EQ("....", Marks(pane));
    EXPECT_EQ(0, pane.m_markedCount);
}

TEST(PaneMarks, KindFiveMarksTheFilesUpToTheCursorThenTakesThemBack)
{
    CFilerPane pane(0);
    Fill(pane, {L"sub\\", L"a", L"b", L"c", L"d", L"e"});
    pane.m_cursor = 4; // "c", the third file
    pane.MarkAll(5);
    EXPECT_EQ("..xxx..", Marks(pane));
    EXPECT_EQ(3, pane.m_markedCount);
    pane.MarkAll(5);
    EXPECT_EQ(".......", Marks(pane));
    EXPECT_EQ(0, pane.m_markedCount);
    // Another mark outside the range: the range is set afresh, not taken back.
    pane.SetEntryMark(6, 1);
    pane.MarkAll(5);
    pane.MarkAll(6);
    EXPECT_EQ("....xxx", Marks(pane));
}

TEST(PaneMarks, KindsOneToFourWithAndWithoutMarks)
{
    struct Case
    {
        int kind;
        std::string before, after;
    };
    // Entries: "..", sub\, a, b.
    const Case cases[] = {
        {1, "....", "..xx"}, {1, "..x.", "...."}, {2, "....", "...."}, {2, ".xx.", "...."},
        {3, "....", ".xxx"}, {3, ".x.x", "..x."}, {4, "....", "..xx"}, {4, ".xx.", ".x.x"},
    };
    for (const Case& c : cases)
    {
        CFilerPane pane(0);
        Fill(pane, {L"sub\\", L"a", L"b"});
        for (size_t i = 0; i < c.before.size(); ++i)
            if (c.before[i] == 'x')
                pane.SetEntryMark(static_cast<INT_PTR>(i), 1);
        pane.MarkAll(c.kind);
        EXPECT_EQ(c.after, Marks(pane)) << "kind " << c.kind << " from " << c.before;
        EXPECT_EQ(pane.CountMarked(TRUE, TRUE),
                  pane.CountMarked(TRUE, FALSE) + pane.CountMarked(FALSE, TRUE));
    }
}

namespace
{
// Ten entries in a grid of two columns of four lines.
void GridOfTen(CFilerPane& pane)
{
    Fill(pane, {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9"});
    pane.m_columnCount = pane.m_columnsInUse = 2;
    pane.m_lineCount = pane.m_linesInUse = 4;
}
} // namespace

TEST(PaneCursor, CursorToggleWrapsAtBothEnds)
{
    SettingGuard toggle(g_CURSORTOGGLE, 1);
    CFilerPane pane(0);
    GridOfTen(pane);

    pane.m_cursor = 9;
    pane.m_firstVisible = 4;
    EXPECT_EQ(1, pane.MoveCursor(1, TRUE));
    EXPECT_EQ(0, pane.m_cursor);
    EXPECT_EQ(0, pane.m_firstVisible);

    EXPECT_EQ(1, pane.MoveCursor(-1, TRUE));
    EXPECT_EQ(9, pane.m_cursor);
    EXPECT_EQ(4, pane.m_firstVisible);

    // Without the wrap argument the cursor stops at the end.
    pane.MoveCursor(1, FALSE);
    EXPECT_EQ(9, pane.m_cursor);
    // A page down from the second-to-last entry lands on the last, not on the first.
    pane.m_cursor = 8;
    pane.MoveCursor(8, TRUE);
    EXPECT_EQ(9, pane.m_cursor);
    // A page up from the second entry lands on the first.
    pane.m_cursor = 1;
    pane.MoveCursor(-8, TRUE);
    EXPECT_EQ(0, pane.m_cursor);
}

TEST(PaneCursor, WithoutToggleTheCursorStopsAtTheEnds)
{
    SettingGuard toggle(g_CURSORTOGGLE, 0);
    CFilerPane pane(0);
    GridOfTen(pane);
    pane.m_cursor = 9;
    pane.MoveCursor(1, TRUE);
    EXPECT_EQ(9, pane.m_cursor);
    pane.m_cursor = 0;
    pane.MoveCursor(-1, TRUE);
    EXPECT_EQ(0, pane.m_cursor);
}

TEST(PaneCursor, PageMovesScrollByWholeColumns)
{
    CFilerPane pane(0);
    GridOfTen(pane);
    pane.m_cursor = 0;
    EXPECT_EQ(1, pane.MoveCursor(8, TRUE));
    EXPECT_EQ(8, pane.m_cursor);
    EXPECT_EQ(4, pane.m_firstVisible);
    // Past the end: the last entry, still on the same page.
    EXPECT_EQ(0, pane.MoveCursor(8, TRUE));
    EXPECT_EQ(9, pane.m_cursor);
    EXPECT_EQ(4, pane.m_firstVisible);
    // A first visible entry off the column grid starts over from the top.
    pane.m_firstVisible = 3;
    pane.m_cursor = 2;
    pane.MoveCursor(0, TRUE);
    EXPECT_EQ(0, pane.m_firstVisible);
    // A grid the geometry has not laid out yet counts as one cell.
    pane.m_columnCount = 0;
    pane.m_lineCount = -1;
    pane.m_cursor = 5;
    pane.MoveCursor(0, TRUE);
    EXPECT_EQ(5, pane.m_firstVisible);
    EXPECT_EQ(1, pane.m_columnsInUse);
    EXPECT_EQ(1, pane.m_linesInUse);
}

TEST(PaneCursor, DriveListScrollsByOneLine)
{
    CFilerPane pane(0);
    pane.SetMode(0, PANE_MODE_DRIVE_LIST, 0);
    pane.m_driveList.SetSize(6);
    pane.m_lineCount = pane.m_linesInUse = 3;
    pane.m_cursor = 2;
    EXPECT_EQ(1, pane.MoveCursor(1, TRUE));
    EXPECT_EQ(3, pane.m_cursor);
    EXPECT_EQ(1, pane.m_firstVisible);
    EXPECT_EQ(0, pane.MoveCursor(-1, TRUE));
    EXPECT_EQ(1, pane.MoveCursor(-2, TRUE));
    EXPECT_EQ(0, pane.m_firstVisible);
}

TEST(PaneCursor, SetCursorToNameIgnoresCaseAndFallsBack)
{
    CFilerPane pane(0);
    Fill(pane, {L"Sub\\", L"File"});
    pane.SetCursorToName(L"file", FALSE, 0);
    EXPECT_EQ(2, pane.m_cursor);
    pane.SetCursorToName(L"FILE", TRUE, 1); // a file where only directories count
    EXPECT_EQ(1, pane.m_cursor);
    pane.SetCursorToName(L"missing", FALSE, 0);
    EXPECT_EQ(0, pane.m_cursor);
    pane.m_cursor = 2;
    pane.SetCursorToName(nullptr, FALSE, 0);
    EXPECT_EQ(2, pane.m_cursor);
}

TEST(PaneCursor, SaveCursorPositionRemembersTheFileAndNotTheParent)
{
    SettingGuard save(g_SAVECURSORPOSITION, 1);
    CArray<CSaveCursorPosition> savedList = g_SaveCursorPositions;
    g_SaveCursorPositions.RemoveAll();
    g_SaveCursorPositions.SetSize(30);

    std::wstring root = qvtest::ScratchDir();
    std::wstring a = root + L"\\a", b = root + L"\\b";
    ASSERT_TRUE(CreateDirectoryW(a.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(b.c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(a + L"\\x.txt", "x"));
    ASSERT_TRUE(qvtest::WriteFileBytes(a + L"\\y.txt", "y"));

    CFilerPane pane(0);
    pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.ChangeDirectory(a.c_str(), 0, FALSE, FALSE);
    pane.SetCursorToName(L"y.txt", FALSE, 0);
    pane.SaveCursorPosition();
    pane.ChangeDirectory(b.c_str(), 0, FALSE, FALSE);
    pane.ChangeDirectory(a.c_str(), 0, FALSE, FALSE);
    ASSERT_NE(nullptr, pane.GetCursorEntry());
    EXPECT_STREQ(L"y.txt", pane.GetCursorEntry()->GetName());

    // Left on "..": the remembered file stays.
    pane.SetCursorToName(L"..", FALSE, 0);
    pane.SaveCursorPosition();
    pane.ChangeDirectory(b.c_str(), 0, FALSE, FALSE);
    pane.ChangeDirectory(a.c_str(), 0, FALSE, FALSE);
    EXPECT_STREQ(L"y.txt", pane.GetCursorEntry()->GetName());
    EXPECT_EQ(30, g_SaveCursorPositions.GetSize());
    EXPECT_EQ(CString(a.c_str()), g_SaveCursorPositions[0].m_directory);

    // A directory with nothing to remember gives up its record but not its slot.
    pane.ChangeDirectory(b.c_str(), 0, FALSE, FALSE);
    pane.m_entries.RemoveAll();
    pane.m_currentDir = a.c_str();
    pane.SaveCursorPosition();
    EXPECT_EQ(30, g_SaveCursorPositions.GetSize());
    EXPECT_TRUE(g_SaveCursorPositions[0].m_directory.IsEmpty());

    g_SaveCursorPositions = savedList;
}
