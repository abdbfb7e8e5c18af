// The pane tests every command starts with, the guard checks, the target walk and the
// reload tick.
#include <gtest/gtest.h>
#include "filer/FilerPane.h"
#include "app/DriveSeam.h"
#include "app/Settings.h"
#include "FilerTestData.h"

#include <climits>
#include <memory>

using filertest::MakeFindData;

namespace
{
// Puts two panes into g_Panes for the test and takes them out again.
class PaneStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_panes[0] = std::make_unique<CFilerPane>(0);
        m_panes[1] = std::make_unique<CFilerPane>(1);
        m_saved[0] = g_Panes[0];
        m_saved[1] = g_Panes[1];
        g_Panes[0] = m_panes[0].get();
        g_Panes[1] = m_panes[1].get();
    }
    void TearDown() override
    {
        g_Panes[0] = m_saved[0];
        g_Panes[1] = m_saved[1];
    }
    CFilerPane& Pane(int i) { return *m_panes[i]; }

    std::unique_ptr<CFilerPane> m_panes[2];
    CFilerPane* m_saved[2] = {};
};

// A listing of "C:\work": "..", then the given files.
void FillListing(CFilerPane& pane, std::initializer_list<LPCWSTR> files)
{
    pane.m_currentDir = L"C:\\work";
    pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\work", L"", MakeFindData(L"..", true),
                                   -1);
    for (LPCWSTR name : files)
        pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\work", L"",
                                       MakeFindData(name, false), -1);
    pane.m_dotCount = 1;
}

std::vector<std::wstring> AllTargets(CFilerPane& pane, DWORD flags)
{
    std::vector<std::wstring> names;
    CFileInfo target;
    for (int n = 0; pane.GetTargetEntry(flags, n, target); ++n)
        names.push_back(target.GetName());
    return names;
}
} // namespace

TEST_F(PaneStateTest, TestPaneStateMatchesPositionModeAndSubMode)
{
    struct Case
    {
        UINT position0, mode0, position1, mode1;
        int pane;
        UINT positionMask, modeMask, subModeMask;
        bool expected;
    };
    const Case cases[] = {
        // Either visible pane in filer mode.
        {PANE_POS_ACTIVE, PANE_MODE_DRIVE_LIST, PANE_POS_OTHER, PANE_MODE_FILER, -1, 0, 0x8, 0, true},
        // The only filer pane is hidden.
        {PANE_POS_ACTIVE, PANE_MODE_DRIVE_LIST, PANE_POS_HIDDEN, PANE_MODE_FILER, -1, 0, 0x8, 0, false},
        // A hidden pane is found when the position mask asks for it.
        {PANE_POS_ACTIVE, PANE_MODE_DRIVE_LIST, PANE_POS_HIDDEN, PANE_MODE_FILER, 1, PANE_POS_HIDDEN, 0x8, 0,
         true},
        // Filer-like mask over the network mode; pane 0 alone.
        {PANE_POS_ACTIVE, PANE_MODE_NETWORK, PANE_POS_OTHER, PANE_MODE_TEXT_VIEWER, 0, PANE_POS_ACTIVE,
         0x2188, 0, true},
        {PANE_POS_ACTIVE, PANE_MODE_NETWORK, PANE_POS_OTHER, PANE_MODE_TEXT_VIEWER, 1, PANE_POS_ACTIVE,
         0x2188, 0, false},
        // Both text viewers; the sub-mode must share a bit.
        {PANE_POS_OTHER, PANE_MODE_ARCHIVE_TEXT_VIEWER, PANE_POS_ACTIVE, PANE_MODE_FILER, 0, 0, 0x210, 0,
         true},
        {PANE_POS_OTHER, PANE_MODE_FILER, PANE_POS_ACTIVE, PANE_MODE_FILER, -1, 0, 0x8, PANE_SUB_FIND_RESULTS,
         false},
        // Any other pane number tests nothing.
        {PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_POS_OTHER, PANE_MODE_FILER, 2, 0, 0, 0, false},
    };
    for (const Case& c : cases)
    {
        Pane(0).SetMode(c.position0, c.mode0, PANE_SUB_DIRECTORY);
        Pane(1).SetMode(c.position1, c.mode1, PANE_SUB_DIRECTORY);
        EXPECT_EQ(c.expected, TestPaneState(c.pane, c.positionMask, c.modeMask, c.subModeMask))
            << "pane " << c.pane << " masks " << c.positionMask << "/" << c.modeMask << "/" << c.subModeMask;
    }
}

TEST_F(PaneStateTest, FindPaneByModeGivesTheFirstMatchingPane)
{
    Pane(0).SetMode(PANE_POS_ACTIVE, PANE_MODE_GRAPHIC, 0);
    Pane(1).SetMode(PANE_POS_OTHER, PANE_MODE_ARCHIVE_GRAPHIC, 0);
    int found = -1;
    ASSERT_TRUE(FindPaneByMode(&found, 0, 0x840, 0));
    EXPECT_EQ(0, found);
    ASSERT_TRUE(FindPaneByMode(&found, PANE_POS_OTHER, 0x840, 0));
    EXPECT_EQ(1, found);
    found = 7;
    EXPECT_FALSE(FindPaneByMode(&found, 0, PANE_MODE_FILER, 0));
    EXPECT_EQ(7, found);
}

TEST_F(PaneStateTest, SetModeChangesOnlyTheNonZeroWords)
{
    CFilerPane& pane = Pane(0);
    EXPECT_EQ(UINT(PANE_POS_HIDDEN), pane.m_position);
    EXPECT_EQ(UINT(PANE_MODE_FILER), pane.m_mode);
    EXPECT_EQ(UINT(PANE_SUB_DIRECTORY), pane.m_subMode);
    pane.SetMode(PANE_POS_ACTIVE, 0, PANE_SUB_FIND_RESULTS);
    pane.SetMode(0, PANE_MODE_TEXT_VIEWER, 0);
    EXPECT_EQ(UINT(PANE_POS_ACTIVE), pane.m_position);
    EXPECT_EQ(UINT(PANE_MODE_TEXT_VIEWER), pane.m_mode);
    EXPECT_EQ(UINT(PANE_SUB_FIND_RESULTS), pane.m_subMode);
}

TEST_F(PaneStateTest, TargetsAreTheMarkedEntriesOrTheCursorEntry)
{
    CFilerPane& pane = Pane(0);
    FillListing(pane, {L"a", L"b", L"c", L"d", L"e"});
    pane.SetEntryMark(1, 1);
    pane.SetEntryMark(3, 1);
    pane.SetEntryMark(5, 1);
    pane.m_cursor = 2; // "b", not marked

    // Without 0x40 the three marked entries, then nothing.
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"c", L"e"}), AllTargets(pane, 0));
    CFileInfo target;
    EXPECT_EQ(0, pane.GetTargetEntry(0, 3, target));
    // Asked out of order, the remembered place must not skip or repeat entries.
    ASSERT_EQ(1, pane.GetTargetEntry(0, 2, target));
    ASSERT_EQ(1, pane.GetTargetEntry(0, 0, target));
    EXPECT_STREQ(L"a", target.GetName());
    ASSERT_EQ(1, pane.GetTargetEntry(0, 1, target));
    EXPECT_STREQ(L"c", target.GetName());
    // With 0x40 and the cursor off the marks: the cursor entry alone.
    EXPECT_EQ((std::vector<std::wstring>{L"b"}), AllTargets(pane, TARGET_MARKED_IF_CURSOR_MARKED));
    // With 0x40 and the cursor on a marked entry: the marked entries.
    pane.m_cursor = 3;
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"c", L"e"}),
              AllTargets(pane, TARGET_MARKED_IF_CURSOR_MARKED));
    // 0x4 takes the cursor entry even with marks.
    EXPECT_EQ((std::vector<std::wstring>{L"c"}), AllTargets(pane, TARGET_CURSOR_ONLY));
    // A change of the marks forgets the remembered place.
    ASSERT_EQ(1, pane.GetTargetEntry(0, 2, target));
    pane.SetEntryMark(1, 0);
    pane.SetEntryMark(4, 1);
    EXPECT_EQ((std::vector<std::wstring>{L"c", L"d", L"e"}), AllTargets(pane, 0));
}

TEST_F(PaneStateTest, ParentEntryUnderTheCursorIsNoTarget)
{
    CFilerPane& pane = Pane(0);
    FillListing(pane, {L"a"});
    pane.m_cursor = 0;
    CFileInfo target;
    EXPECT_EQ(0, pane.GetTargetEntry(0, 0, target));
    EXPECT_EQ(1, pane.CheckState(PANE_CHECK_NO_DOT_TARGET));
    EXPECT_EQ(1, pane.CheckState(PANE_CHECK_CURSOR_NOT_DOT));
    // Once something is marked the dot under the cursor no longer matters to 0x4.
    pane.SetEntryMark(1, 1);
    EXPECT_EQ(0, pane.CheckState(PANE_CHECK_NO_DOT_TARGET));
    EXPECT_EQ(1, pane.CheckState(PANE_CHECK_CURSOR_NOT_DOT));
    // "." and ".." never take a mark.
    pane.SetEntryMark(0, 1);
    EXPECT_EQ(1, pane.m_markedCount);
}

TEST_F(PaneStateTest, CheckStateFailsOnTheFirstFailingCheck)
{
    CFilerPane& pane = Pane(0);
    // An empty list.
    pane.m_currentDir = L"C:\\work";
    EXPECT_EQ(1, pane.CheckState(PANE_CHECK_NOT_EMPTY));
    EXPECT_EQ(0, pane.CheckState(PANE_CHECK_NO_DOT_TARGET | PANE_CHECK_CURSOR_NOT_DOT));
    // A letter that is no drive, a server without a share, a share.
    struct Case
    {
        LPCWSTR directory;
        int expected;
    };
    DWORD drives = GetLogicalDrives();
    wchar_t missing = 0;
    for (int i = 25; i >= 2 && !missing; --i)
        if (!((drives >> i) & 1))
            missing = static_cast<wchar_t>(L'A' + i);
    ASSERT_NE(0, missing);
    wchar_t missingPath[] = {missing, L':', L'\\', L'x', 0};
    const Case cases[] = {
        {L"C:\\work", 0},
        {missingPath, 1},
        {L"\\\\server", 1},
        {L"\\\\server\\share", 0},
    };
    for (const Case& c : cases)
    {
        pane.m_currentDir = c.directory;
        EXPECT_EQ(c.expected, pane.CheckState(PANE_CHECK_DRIVE_PRESENT)) << c.directory;
    }
    // Access denied on entering counts only for a filer directory listing.
    pane.m_currentDir = L"C:\\work";
    pane.m_bJustEntered = TRUE;
    pane.m_lastListingError = ERROR_ACCESS_DENIED;
    EXPECT_EQ(1, pane.CheckState(PANE_CHECK_ACCESS));
    pane.m_subMode = PANE_SUB_FIND_RESULTS;
    EXPECT_EQ(0, pane.CheckState(PANE_CHECK_ACCESS));
}

TEST_F(PaneStateTest, ReloadTickFiresAtTheTickCountAndAfterThePokedValue)
{
    CFilerPane& pane = Pane(0);
    pane.m_currentDir = L"C:\\work";
    ReloadSetting saved = g_ReloadSettings[0];
    g_ReloadSettings[0] = {1, 3};
    EXPECT_EQ(0, pane.PollReload());
    EXPECT_EQ(0, pane.PollReload());
    EXPECT_EQ(1, pane.PollReload());
    EXPECT_EQ(0, pane.PollReload());
    // The view forces a re-check by poking the counter high; the next tick must
    // reload and start counting afresh, not run on past the tick count forever.
    pane.m_reloadTicks = 0x7FFFFFFE;
    EXPECT_EQ(1, pane.PollReload());
    EXPECT_EQ(0, pane.m_reloadTicks);
    pane.m_reloadTicks = INT_MAX;
    EXPECT_EQ(1, pane.PollReload());
    // A disabled class is never due, except for search results.
    g_ReloadSettings[0] = {0, 1};
    EXPECT_EQ(0, pane.PollReload());
    pane.m_subMode = PANE_SUB_FIND_RESULTS;
    EXPECT_EQ(1, pane.PollReload());
    g_ReloadSettings[0] = saved;
}

namespace
{
UINT g_driveType = DRIVE_FIXED;
UINT WINAPI FakeDriveType(LPCWSTR)
{
    return g_driveType;
}
BOOL WINAPI FakeVolume(LPCWSTR, LPWSTR label, DWORD size, LPDWORD, LPDWORD, LPDWORD, LPWSTR, DWORD)
{
    lstrcpynW(label, L"DATA", size);
    return TRUE;
}
DWORD WINAPI FakeConnection(LPCWSTR, LPWSTR remote, LPDWORD length)
{
    lstrcpynW(remote, L"\\\\srv\\share", *length);
    return NO_ERROR;
}
} // namespace

TEST_F(PaneStateTest, VolumeTitleAndDriveClassFollowTheDriveType)
{
    CDriveSeamOverride seam;
    g_DriveSeam.GetDriveTypeW = FakeDriveType;
    g_DriveSeam.GetVolumeInformationW = FakeVolume;
    g_DriveSeam.WNetGetConnectionW = FakeConnection;
    struct Case
    {
        LPCWSTR directory;
        UINT type;
        LPCWSTR title;
        int driveClass;
    };
    const Case cases[] = {
        {L"C:\\work", DRIVE_FIXED, L"DATA", 0},
        {L"C:", DRIVE_CDROM, L"DATA", 2},
        {L"C:\\x", DRIVE_REMOTE, L"\\\\srv\\share", 4},
        {L"\\\\srv\\share\\x", DRIVE_FIXED, L"Net Work", 4},
        {L"C:\\x", DRIVE_UNKNOWN, L"", 0},
    };
    for (const Case& c : cases)
    {
        g_driveType = c.type;
        Pane(0).m_currentDir = c.directory;
        CString title;
        Pane(0).GetVolumeTitle(title);
        EXPECT_EQ(CString(c.title), title) << c.directory;
        EXPECT_EQ(c.driveClass, Pane(0).GetDriveClass()) << c.directory;
    }
}
