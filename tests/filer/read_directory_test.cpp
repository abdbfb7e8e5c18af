// Reading a pane's directory on a real folder: change detection, the listing filter
// and the ways out of a directory that vanished.
#include <gtest/gtest.h>
#include "filer/FilerPane.h"
#include "app/DriveSeam.h"
#include "app/Settings.h"
#include "app/VirtualDrives.h"
#include "tests/common/TestSupport.h"
#include "FilerTestData.h"

#include <algorithm>
#include <string>
#include <vector>

using filertest::Names;

namespace
{
std::vector<CString> g_messages;

void RecordMessage(CFilerPane&, LPCWSTR text)
{
    g_messages.push_back(text);
}

// Keeps the settings a test flips and records the pane's messages.
class ReadDirectoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_messages.clear();
        g_PaneHooks.showMessage = RecordMessage;
        m_dir = qvtest::ScratchDir();
        m_pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
        // Name keys, so that only a new name moves an entry in the sort.
        m_pane.m_sortSetting.m_fileKey = 0;
        m_pane.m_sortSetting.m_secondKey = 0;
        m_pane.m_sortSetting.m_value3 = 0;
    }
    void TearDown() override
    {
        g_NOTVIEWUPDIR = m_savedUp;
        g_NOTVIEWCURRENTDIR = m_savedCurrent;
    }

    std::wstring Path(LPCWSTR name) const { return m_dir + L"\\" + name; }
    // Moves the folder aside and puts a new one holding "d.txt" in its place, with the
    // host's own tools, which the program's open handles do not hold back.
    void ReplaceFolderOnHost(const std::wstring& folder)
    {
        const std::wstring host = qvtest::HostPath(m_dir);
        const std::wstring replaced = Path((folder + L"\\d.txt").c_str());
        ASSERT_TRUE(qvtest::RunHostProgram(
            L"/bin/sh",
            L"-c \"cd '" + host + L"' && mv " + folder + L" " + folder + L"-old && mkdir " + folder +
                L" && touch " + folder + L"/d.txt\"",
            [&] { return GetFileAttributesW(replaced.c_str()) != INVALID_FILE_ATTRIBUTES; }));
    }
    void File(LPCWSTR name) { ASSERT_TRUE(qvtest::WriteFileBytes(Path(name), "x")); }
    void Dir(LPCWSTR name) { ASSERT_TRUE(CreateDirectoryW(Path(name).c_str(), nullptr)); }
    // Sets the last-write time, and the other two times when `all` is set.
    void SetTime(LPCWSTR name, const FILETIME& time, bool all = false)
    {
        HANDLE file = CreateFileW(Path(name).c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        ASSERT_TRUE(SetFileTime(file, all ? &time : nullptr, all ? &time : nullptr, &time));
        CloseHandle(file);
    }

    // The re-check as the view's timer runs it, repeated while the notification is on
    // its way; READ_UNCHANGED when nothing has come within the deadline.
    int ReCheck(DWORD deadline = 5000)
    {
        int result = READ_UNCHANGED;
        qvtest::WaitFor([&] { return (result = m_pane.ReadDirectory(FALSE)) != READ_UNCHANGED; }, deadline);
        return result;
    }
    // Until the folder's watch has seen a change (it stays signalled until a read takes it).
    bool WatchSaw() { return WaitForSingleObject(m_pane.m_hChange, 5000) == WAIT_OBJECT_0; }

    INT_PTR IndexOf(LPCWSTR name) const
    {
        for (INT_PTR i = 0; i < m_pane.m_entries.GetSize(); ++i)
            if (wcscmp(m_pane.m_entries[i].GetName(), name) == 0)
                return i;
        return -1;
    }

    std::vector<std::wstring> SortedNames() const
    {
        std::vector<std::wstring> names = Names(m_pane.m_entries);
        std::sort(names.begin(), names.end());
        return names;
    }

    CPaneHooksOverride m_hooks;
    CFilerPane m_pane{0};
    std::wstring m_dir;
    int m_savedUp = g_NOTVIEWUPDIR;
    int m_savedCurrent = g_NOTVIEWCURRENTDIR;
};
} // namespace

TEST_F(ReadDirectoryTest, ReCheckReportsNothingThenInPlaceThenRebuilt)
{
    File(L"a.txt");
    m_pane.ChangeDirectory(m_dir.c_str(), 0, FALSE, FALSE);
    ASSERT_EQ(CString(m_dir.c_str()), m_pane.m_currentDir);
    INT_PTR a = IndexOf(L"a.txt");
    ASSERT_GE(a, 0);
    EXPECT_EQ(READ_UNCHANGED, m_pane.ReadDirectory(FALSE));

    // A new time: the same place in the sort, the mark stays.
    m_pane.SetEntryMark(a, 1);
    FILETIME time = {0x12345678, 0x01D00000};
    SetTime(L"a.txt", time);
    ASSERT_EQ(READ_CHANGED_IN_PLACE, ReCheck());
    ASSERT_EQ(a, IndexOf(L"a.txt"));
    EXPECT_TRUE(m_pane.m_entries[a].m_changed);
    EXPECT_EQ(1, m_pane.m_entries[a].m_mark);
    EXPECT_EQ(1, m_pane.m_markedCount);
    EXPECT_EQ(0, CompareFileTime(&time, &m_pane.m_entries[a].m_findData.ftLastWriteTime));
    EXPECT_EQ(READ_UNCHANGED, m_pane.ReadDirectory(FALSE));

    // A new name: the list is rebuilt and the marks go.
    ASSERT_TRUE(MoveFileW(Path(L"a.txt").c_str(), Path(L"b.txt").c_str()));
    ASSERT_EQ(READ_REBUILT, ReCheck());
    EXPECT_LT(IndexOf(L"a.txt"), 0);
    EXPECT_GE(IndexOf(L"b.txt"), 0);
    EXPECT_EQ(0, m_pane.m_markedCount);
}

TEST_F(ReadDirectoryTest, FilterMatrix)
{
    Dir(L"sub");
    Dir(L"doc.txt");
    File(L"a.txt");
    File(L"b.log");
    m_pane.ChangeDirectory(m_dir.c_str(), 0, FALSE, FALSE);

    struct Case
    {
        LPCWSTR wildcard;
        BOOL filterDirectories;
        int hideUp, hideCurrent;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {L"*.*", FALSE, 0, 0, {L".", L"..", L"a.txt", L"b.log", L"doc.txt", L"sub"}},
        {L"*.*", FALSE, 1, 1, {L"a.txt", L"b.log", L"doc.txt", L"sub"}},
        {L"*.txt", TRUE, 0, 0, {L".", L"..", L"a.txt", L"doc.txt"}},
        {L"*.txt", TRUE, 1, 0, {L".", L"a.txt", L"doc.txt"}},
        {L"*.txt", TRUE, 0, 1, {L"..", L"a.txt", L"doc.txt"}},
        {L"*.txt", FALSE, 0, 0, {L".", L"..", L"a.txt", L"doc.txt", L"sub"}},
        {L"*.txt", FALSE, 1, 1, {L"a.txt", L"doc.txt", L"sub"}},
    };
    for (const Case& c : cases)
    {
        m_pane.m_wildcard = c.wildcard;
        m_pane.m_bFilterDirectories = c.filterDirectories;
        g_NOTVIEWUPDIR = c.hideUp;
        g_NOTVIEWCURRENTDIR = c.hideCurrent;
        EXPECT_EQ(READ_REBUILT, m_pane.ReadDirectory(TRUE));
        EXPECT_EQ(c.expected, SortedNames())
            << c.wildcard << " dirs " << c.filterDirectories << " hide " << c.hideUp << c.hideCurrent;
        // Directories come before files in a filtered listing.
        if (wcscmp(c.wildcard, L"*.*") != 0)
        {
            EXPECT_STREQ(L"a.txt", m_pane.m_entries[m_pane.m_entries.GetSize() - 1].GetName());
        }
    }

    // Changing directory drops a filter that hides directories, unless asked to keep it.
    m_pane.m_wildcard = L"*.txt";
    m_pane.m_bFilterDirectories = TRUE;
    m_pane.ChangeDirectory(m_dir.c_str(), 0, TRUE, FALSE);
    EXPECT_EQ(CString(L"*.txt"), m_pane.m_wildcard);
    m_pane.ChangeDirectory(m_dir.c_str(), 0, FALSE, FALSE);
    EXPECT_EQ(CString(L"*.*"), m_pane.m_wildcard);
    EXPECT_FALSE(m_pane.m_bFilterDirectories);
}

TEST_F(ReadDirectoryTest, DirectoryDeletedFromOutsideIsLeftForItsParentWithinOneTick)
{
    Dir(L"victim");
    File(L"victim\\inner.txt");
    m_pane.ChangeDirectory(Path(L"victim").c_str(), 0, FALSE, FALSE);
    ASSERT_GE(IndexOf(L"inner.txt"), 0);

    ASSERT_TRUE(DeleteFileW(Path(L"victim\\inner.txt").c_str()));
    ASSERT_TRUE(RemoveDirectoryW(Path(L"victim").c_str()));
    ASSERT_EQ(1, m_pane.PollReload());
    EXPECT_EQ(READ_REBUILT, ReCheck());
    ASSERT_EQ(1u, g_messages.size());
    CString expected;
    expected.Format(L"ディレクトリ%sは存在しません\n上の階層にあがります", Path(L"victim").c_str());
    EXPECT_EQ(expected, g_messages[0]);
    EXPECT_EQ(CString(m_dir.c_str()), m_pane.m_currentDir);
    EXPECT_EQ(m_pane.m_currentDir, m_pane.m_lastListedDir);
    EXPECT_LT(IndexOf(L"victim"), 0);
    // The parent is watched now.
    EXPECT_EQ(READ_UNCHANGED, m_pane.ReadDirectory(FALSE));
}

DWORD WINAPI NoDrives()
{
    return 0;
}

TEST_F(ReadDirectoryTest, ClimbEndsAtTheRootWhenTheDriveItselfIsGone)
{
    Dir(L"deep");
    Dir(L"deep\\deeper");
    File(L"deep\\deeper\\f.txt");
    m_pane.ChangeDirectory(Path(L"deep\\deeper").c_str(), 0, FALSE, FALSE);
    ASSERT_EQ(CString(Path(L"deep\\deeper").c_str()), m_pane.m_currentDir);

    // The drive answers at its root but no longer counts as a drive: no directory on
    // it exists any more, so the climb has to stop at the root instead of cutting on.
    CDriveSeamOverride seam;
    g_DriveSeam.GetLogicalDrives = NoDrives;
    ASSERT_TRUE(DeleteFileW(Path(L"deep\\deeper\\f.txt").c_str()));
    ReCheck();
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ(CString(m_dir.substr(0, 2).c_str()), m_pane.m_currentDir);
}

TEST_F(ReadDirectoryTest, ChangeDirectoryToAFileKeepsItsNameForTheCursor)
{
    File(L"a.txt");
    File(L"b.txt");
    int saved = g_SAVECURSORPOSITION;
    g_SAVECURSORPOSITION = 1;
    m_pane.ChangeDirectory(Path(L"b.txt").c_str(), 0, FALSE, TRUE);
    g_SAVECURSORPOSITION = saved;
    EXPECT_EQ(CString(m_dir.c_str()), m_pane.m_currentDir);
    ASSERT_GE(m_pane.m_cursor, 0);
    EXPECT_STREQ(L"b.txt", m_pane.m_entries[static_cast<INT_PTR>(m_pane.m_cursor)].GetName());
}

TEST_F(ReadDirectoryTest, DriveThatIsNotReadyEmptiesTheListAndGoesToItsRoot)
{
    File(L"a.txt");
    m_pane.ChangeDirectory(m_dir.c_str(), 0, FALSE, FALSE);
    ASSERT_GE(IndexOf(L"a.txt"), 0);
    m_pane.SetEntryMark(IndexOf(L"a.txt"), 1);

    DWORD drives = GetLogicalDrives();
    wchar_t missing = 0;
    for (int i = 25; i >= 3 && !missing; --i)
        if (!((drives >> i) & 1))
            missing = static_cast<wchar_t>(L'A' + i);
    ASSERT_NE(0, missing);
    wchar_t gone[] = {missing, L':', L'\\', L'a', L'\\', L'b', 0};
    m_pane.m_currentDir = gone;
    EXPECT_EQ(READ_REBUILT, m_pane.ReadDirectory(FALSE));
    EXPECT_EQ(CString(gone).Left(2), m_pane.m_currentDir);
    EXPECT_EQ(0, m_pane.m_entries.GetSize());
    EXPECT_EQ(0, m_pane.m_markedCount);
    EXPECT_TRUE(m_pane.m_bDriveNotReady);
    EXPECT_EQ(0u, m_pane.m_driveFreeBytes);
    // While not ready and not active, the pane is left alone.
    m_pane.SetMode(PANE_POS_OTHER, 0, 0);
    EXPECT_EQ(READ_UNCHANGED, m_pane.ReadDirectory(FALSE));
}

namespace
{
enum Change
{
    NEW_TIME,
    NEW_SIZE,
    NOW_A_DIRECTORY,
};

struct OrderCase
{
    const char* title;
    int fileKey, secondKey, directoryKey; // values 1, 2 and 4 of the pane's setting
    int workingFileKey;                   // -1: no working setting
    bool directory;                       // the entry that changes
    Change change;
    int expected;
};
} // namespace

// Whether a changed entry may keep its place depends on every key the sort in force
// reads: the second file key, the directory key and a working setting included.
TEST(CompareReadEntry, RebuildsWhenAKeyOfTheOrderInForceReadsTheChange)
{
    const OrderCase cases[] = {
        {"name only, new time", 0, 0, 0, -1, false, NEW_TIME, READ_CHANGED_IN_PLACE},
        {"extension then size, new size", 3, 3, 0, -1, false, NEW_SIZE, READ_REBUILT},
        {"name then time, new time", 0, 2, 0, -1, false, NEW_TIME, READ_REBUILT},
        {"directories by time, directory gets a new time", 0, 0, 2, -1, true, NEW_TIME, READ_REBUILT},
        {"working setting by time, new time", 0, 0, 0, 1, false, NEW_TIME, READ_REBUILT},
        {"file replaced by a directory of its name", 0, 0, 0, -1, false, NOW_A_DIRECTORY, READ_REBUILT},
    };
    for (const OrderCase& c : cases)
    {
        CFilerPane pane(0);
        pane.m_sortSetting.m_fileKey = c.fileKey;
        pane.m_sortSetting.m_secondKey = c.secondKey;
        pane.m_sortSetting.m_value3 = 0;
        pane.m_sortSetting.m_directoryKey = c.directoryKey;
        pane.m_sortSetting.m_mixDirectories = 0;
        if (c.workingFileKey >= 0)
        {
            pane.m_workingSort.m_fileKey = c.workingFileKey;
            pane.m_workingSort.m_secondKey = 0;
        }
        WIN32_FIND_DATAW old = filertest::MakeFindData(L"entry", c.directory, 10, 100);
        pane.m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\work", L"", old, -1);
        WIN32_FIND_DATAW found = old;
        if (c.change == NEW_TIME)
            found.ftLastWriteTime.dwLowDateTime = 200;
        else if (c.change == NEW_SIZE)
            found.nFileSizeLow = 20;
        else
            found.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
        EXPECT_EQ(c.expected, pane.CompareReadEntry(READ_UNCHANGED, &pane.m_entries[0], found)) << c.title;
        EXPECT_TRUE(pane.m_entries[0].m_changed) << c.title;
    }
}

// The system lists a directory in its own order, the pane shows it sorted: a
// re-check still finds each entry again and changes it in place.
TEST_F(ReadDirectoryTest, InPlaceChangeWhenTheSystemListsInAnotherOrderThanShown)
{
    Dir(L"sub1");
    Dir(L"sub2");
    File(L"a.txt");
    File(L"b.txt");
    File(L"c.txt");
    m_pane.ChangeDirectory(m_dir.c_str(), 0, FALSE, FALSE);
    auto shownAsListed = [this] {
        for (INT_PTR i = 0; i < m_pane.m_entries.GetSize(); ++i)
            if (m_pane.m_entries[i].m_readPosition != i)
                return false;
        return true;
    };
    if (shownAsListed())
    {
        m_pane.m_sortSetting.m_directoryOrder = 1;
        m_pane.m_sortSetting.m_fileOrder = 1;
        m_pane.SortEntries();
    }
    ASSERT_FALSE(shownAsListed());
    const std::vector<std::wstring> shown = Names(m_pane.m_entries);
    m_pane.SetEntryMark(IndexOf(L"a.txt"), 1);

    FILETIME time = {0x12345678, 0x01D00000};
    SetTime(L"c.txt", time);

    ASSERT_EQ(READ_CHANGED_IN_PLACE, ReCheck());
    EXPECT_EQ(shown, Names(m_pane.m_entries));
    EXPECT_EQ(1, m_pane.m_entries[IndexOf(L"a.txt")].m_mark);
    EXPECT_EQ(1, m_pane.m_markedCount);
    const CFileInfo& changed = m_pane.m_entries[IndexOf(L"c.txt")];
    EXPECT_TRUE(changed.m_changed);
    EXPECT_EQ(0, CompareFileTime(&time, &changed.m_findData.ftLastWriteTime));
}

// A re-check that finds the pane in another directory than it last listed (after
// climbing out of a vanished one) lists that directory anew, even when its entries
// look exactly like the old ones.
TEST_F(ReadDirectoryTest, ReCheckInAnotherDirectoryRebuildsEvenWhenTheEntriesLookAlike)
{
    Dir(L"one");
    Dir(L"two");
    File(L"one\\f.txt");
    File(L"two\\f.txt");
    FILETIME time = {0x12345678, 0x01D00000};
    for (LPCWSTR name : {L"one\\f.txt", L"two\\f.txt"})
        SetTime(name, time, true);
    m_pane.ChangeDirectory(Path(L"one").c_str(), 0, FALSE, FALSE);
    ASSERT_GE(IndexOf(L"f.txt"), 0);

    m_pane.m_currentDir = Path(L"two").c_str();
    EXPECT_EQ(READ_REBUILT, m_pane.ReadDirectory(FALSE));
    ASSERT_GE(IndexOf(L"f.txt"), 0);
    EXPECT_EQ(Path(L"two\\f.txt"), filertest::W(m_pane.m_entries[IndexOf(L"f.txt")].GetFullPath()));
}

namespace
{
DWORD WINAPI OnlyDriveC()
{
    return 1u << 2;
}

// Makes Q: a virtual drive with the given store for one test.
class CVirtualDriveQ
{
public:
    explicit CVirtualDriveQ(CVirtualFolderStore& store)
        : m_flag(g_VirtualDriveFlags[kIndex]), m_store(g_VirtualFolderStores[kIndex])
    {
        g_DriveSeam.GetLogicalDrives = OnlyDriveC;
        g_VirtualDriveFlags[kIndex] = 1;
        g_VirtualFolderStores[kIndex] = &store;
    }
    ~CVirtualDriveQ()
    {
        g_VirtualDriveFlags[kIndex] = m_flag;
        g_VirtualFolderStores[kIndex] = m_store;
    }
    CVirtualDriveQ(const CVirtualDriveQ&) = delete;
    CVirtualDriveQ& operator=(const CVirtualDriveQ&) = delete;

private:
    static const int kIndex = L'Q' - L'A';
    CDriveSeamOverride m_seam;
    int m_flag;
    CVirtualFolderStore* m_store;
};
} // namespace

// Files copied into or moved out of a virtual folder change the store, not the real
// files the folder shows: the re-check must list the folder again when the store
// says it changed.
TEST_F(ReadDirectoryTest, VirtualFolderReCheckFollowsTheStore)
{
    using filertest::MakeFindData;
    typedef std::vector<std::wstring> List;
    CVirtualFolderStore store;
    CVirtualDriveQ drive(store);
    File(L"a.txt");
    File(L"b.txt");
    ASSERT_TRUE(store.AddEntry(L"Q:\\f", MakeFindData(L"a.txt", false), m_dir.c_str()));
    ASSERT_TRUE(store.CreateDirectoryPath(L"Q:\\other"));
    m_pane.m_sortSetting.m_directoryKey = 0;
    m_pane.m_paneSlot = 1;
    m_pane.m_currentDir = L"Q:\\f";
    ASSERT_EQ(READ_REBUILT, m_pane.ReadDirectory(TRUE));
    m_pane.SortEntries();
    ASSERT_EQ((List{L".", L"..", L"a.txt"}), SortedNames());
    store.m_changed[0] = store.m_changed[1] = 0;
    EXPECT_EQ(READ_UNCHANGED, m_pane.ReadDirectory(FALSE));

    // A change in another folder of the drive: listed again, nothing moves, the mark
    // stays, and only this pane's flag is taken.
    m_pane.SetEntryMark(IndexOf(L"a.txt"), 1);
    ASSERT_TRUE(store.AddEntry(L"Q:\\other", MakeFindData(L"b.txt", false), m_dir.c_str()));
    EXPECT_NE(READ_REBUILT, m_pane.ReadDirectory(FALSE));
    EXPECT_EQ(0, store.m_changed[1]);
    EXPECT_EQ(1, store.m_changed[0]);
    EXPECT_EQ(1, m_pane.m_markedCount);
    EXPECT_EQ(1, m_pane.m_entries[IndexOf(L"a.txt")].m_mark);

    // An entry added to the folder shows; one removed from it goes although its real
    // file is still there.
    ASSERT_TRUE(store.AddEntry(L"Q:\\f", MakeFindData(L"b.txt", false), m_dir.c_str()));
    EXPECT_EQ(READ_REBUILT, m_pane.ReadDirectory(FALSE));
    EXPECT_EQ((List{L".", L"..", L"a.txt", L"b.txt"}), SortedNames());
    store.RemoveEntry(L"Q:\\f", L"a.txt");
    EXPECT_EQ(READ_REBUILT, m_pane.ReadDirectory(FALSE));
    EXPECT_EQ((List{L".", L"..", L"b.txt"}), SortedNames());
}

// Where the system gives no change notification (some network drives), the re-check
// compares the listing: it reports a change only when the folder changed.
TEST_F(ReadDirectoryTest, ReCheckWithoutAWatchReportsOnlyRealChanges)
{
    File(L"a.txt");
    auto saved = g_ReloadSettings;
    // A class without notification stands for a notification the system refused.
    g_ReloadSettings[m_pane.GetDriveClass()].enable = 0;
    m_pane.ChangeDirectory(m_dir.c_str(), 0, FALSE, FALSE);
    ASSERT_EQ(INVALID_HANDLE_VALUE, m_pane.m_hChange);
    INT_PTR a = IndexOf(L"a.txt");
    ASSERT_GE(a, 0);
    m_pane.SetEntryMark(a, 1);

    int unchanged[3];
    for (int& result : unchanged)
        result = m_pane.ReadDirectory(FALSE);
    FILETIME time = {0x12345678, 0x01D00000};
    SetTime(L"a.txt", time);
    int touched = m_pane.ReadDirectory(FALSE);
    int markKept = m_pane.m_markedCount;
    File(L"b.txt");
    int added = m_pane.ReadDirectory(FALSE);
    int after = m_pane.ReadDirectory(FALSE);
    g_ReloadSettings = saved;

    for (int result : unchanged)
        EXPECT_EQ(READ_UNCHANGED, result);
    EXPECT_EQ(READ_CHANGED_IN_PLACE, touched);
    EXPECT_EQ(1, markKept);
    EXPECT_EQ(READ_REBUILT, added);
    EXPECT_GE(IndexOf(L"b.txt"), 0);
    EXPECT_EQ(READ_UNCHANGED, after);
    EXPECT_TRUE(g_messages.empty());
}

namespace
{
// Removes an empty folder the way another program does on Windows. Wine keeps a
// folder that its own RemoveDirectoryW removed while any handle (the pane's watch) is
// open on it, and still opens and lists it, where Windows refuses to open a folder in
// that delete-pending state; the host's rmdir takes it away at once.
bool RemoveDirectoryOnHost(const std::wstring& path)
{
    return qvtest::RunHostProgram(L"/bin/rmdir", L"\"" + qvtest::HostPath(path) + L"\"", [&] {
        return GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
    });
}
} // namespace

// Neither removing the shown folder when it is empty nor renaming a folder above it
// reaches a watch on the folder's contents: the tick itself notices that the folder is
// gone and climbs to the nearest folder that is still there.
TEST_F(ReadDirectoryTest, ShownFolderGoneWithoutANotificationIsLeftOnTheNextTick)
{
    struct Case
    {
        const char* title;
        bool renameParent; // else the (empty) shown folder is removed
        LPCWSTR landsIn;   // under the scratch folder; empty: the scratch folder
    };
    const Case cases[] = {{"empty folder removed", false, L"p0"}, {"parent renamed", true, L""}};
    int n = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.title);
        g_messages.clear();
        std::wstring parent = L"p" + std::to_wstring(n++);
        std::wstring shown = parent + L"\\shown";
        Dir(parent.c_str());
        Dir(shown.c_str());
        m_pane.ChangeDirectory(Path(shown.c_str()).c_str(), 0, FALSE, FALSE);
        ASSERT_EQ(CString(Path(shown.c_str()).c_str()), m_pane.m_currentDir);
        ASSERT_NE(INVALID_HANDLE_VALUE, m_pane.m_hChange);

        if (c.renameParent)
            ASSERT_TRUE(MoveFileW(Path(parent.c_str()).c_str(), Path((parent + L"moved").c_str()).c_str()));
        else
            ASSERT_TRUE(RemoveDirectoryOnHost(Path(shown.c_str())));
        EXPECT_EQ(READ_REBUILT, ReCheck());
        std::wstring expected = c.landsIn[0] ? Path(c.landsIn) : m_dir;
        EXPECT_EQ(CString(expected.c_str()), m_pane.m_currentDir);
        EXPECT_EQ(1u, g_messages.size());
        EXPECT_EQ(m_pane.m_currentDir, m_pane.m_lastListedDir);
    }
}

namespace
{
std::vector<std::pair<std::wstring, int>> g_visits;

void RecordVisitMode(UINT, LPCWSTR directory, int historyMode)
{
    g_visits.emplace_back(directory, historyMode);
}
} // namespace

// Setting the directory, climbing out of a vanished one and cutting to the root of a
// drive that is not ready are ordinary navigation: the history moves them to the
// front, so that stepping back from there goes to the directory shown before.
TEST_F(ReadDirectoryTest, EveryWayIntoADirectoryButSteppingMovesItsVisitToTheFront)
{
    g_PaneHooks.recordVisit = RecordVisitMode;
    Dir(L"gone");
    Dir(L"kept");
    g_visits.clear();
    m_pane.SetDirectory(Path(L"kept").c_str(), FALSE);
    m_pane.ReadDirectory(TRUE);
    m_pane.ChangeDirectory(Path(L"gone").c_str(), PATH_VISIT_STEP, FALSE, FALSE);
    ASSERT_TRUE(RemoveDirectoryOnHost(Path(L"gone")));
    EXPECT_EQ(READ_REBUILT, ReCheck()); // climbs to the scratch folder

    DWORD drives = GetLogicalDrives();
    wchar_t missing = 0;
    for (int i = 25; i >= 3 && !missing; --i)
        if (!((drives >> i) & 1))
            missing = static_cast<wchar_t>(L'A' + i);
    ASSERT_NE(0, missing);
    wchar_t notReady[] = {missing, L':', L'\\', L'a', 0};
    m_pane.m_currentDir = notReady;
    m_pane.ReadDirectory(FALSE); // cuts to the root

    const std::vector<std::pair<std::wstring, int>> expected = {
        {Path(L"kept"), PATH_VISIT_NAVIGATE},
        {Path(L"gone"), PATH_VISIT_STEP}, // as the caller asked
        {m_dir, PATH_VISIT_NAVIGATE},
        {std::wstring(notReady, 2), PATH_VISIT_NAVIGATE},
    };
    EXPECT_EQ(expected, g_visits);
}

TEST_F(ReadDirectoryTest, ReReadsLeaveTheDisplayOrderOrSortNewNamesIntoIt)
{
    for (LPCWSTR name : {L"d.txt", L"b.txt", L"e.dat", L"c.txt"})
        File(name);
    m_pane.ChangeDirectory(m_dir.c_str(), 0, FALSE, FALSE);
    const std::vector<std::wstring> shown = {L".", L"..", L"b.txt", L"c.txt", L"d.txt", L"e.dat"};
    ASSERT_EQ(shown, Names(m_pane.m_entries));
    EXPECT_EQ(READ_UNCHANGED, m_pane.ReadDirectory(FALSE));

    // A change in place is compared where the entries stand: nothing moves.
    m_pane.SetEntryMark(IndexOf(L"c.txt"), 1);
    SetTime(L"c.txt", FILETIME{0x12345678, 0x01D00000});
    EXPECT_EQ(READ_CHANGED_IN_PLACE, ReCheck());
    EXPECT_EQ(shown, Names(m_pane.m_entries));
    EXPECT_EQ(1, m_pane.m_entries[IndexOf(L"c.txt")].m_mark);
    EXPECT_TRUE(m_pane.m_entries[IndexOf(L"c.txt")].m_changed);
    EXPECT_EQ(0x01D00000u, m_pane.m_entries[IndexOf(L"c.txt")].m_findData.ftLastWriteTime.dwHighDateTime);

    // A new name sorts by itself, and the names read again keep their places.
    ASSERT_TRUE(MoveFileW(Path(L"d.txt").c_str(), Path(L"a.txt").c_str()));
    ASSERT_EQ(READ_REBUILT, ReCheck());
    m_pane.SortEntries();
    const std::vector<std::wstring> renamed = {L".", L"..", L"a.txt", L"b.txt", L"c.txt", L"e.dat"};
    EXPECT_EQ(renamed, Names(m_pane.m_entries));

    for (int round = 0; round < 2; ++round)
    {
        EXPECT_EQ(READ_REBUILT, m_pane.ReadDirectory(TRUE));
        m_pane.SortEntries();
        EXPECT_EQ(renamed, Names(m_pane.m_entries)) << round;
        std::vector<LONGLONG> positions;
        for (INT_PTR i = 0; i < m_pane.m_entries.GetSize(); ++i)
            positions.push_back(m_pane.m_entries[i].m_readPosition);
        std::sort(positions.begin(), positions.end());
        EXPECT_EQ((std::vector<LONGLONG>{0, 1, 2, 3, 4, 5}), positions) << "the reading order is whole";
    }
}

// A whole read of a folder in which nothing happened keeps its watch, which must go on
// reporting; a watch follows its folder and not the path, so a folder put in the
// place of the shown one (as another program may do) is noticed all the same, and
// watched from then on.
TEST_F(ReadDirectoryTest, WholeReadsKeepAQuietWatchAndAFolderPutInPlaceOfTheShownOneIsListed)
{
    Dir(L"w");
    File(L"w\\a.txt");
    m_pane.ChangeDirectory(Path(L"w").c_str(), 0, FALSE, FALSE);
    ASSERT_NE(INVALID_HANDLE_VALUE, m_pane.m_hChange);
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(READ_REBUILT, m_pane.ReadDirectory(TRUE));
        m_pane.SortEntries();
    }
    EXPECT_EQ(READ_UNCHANGED, m_pane.ReadDirectory(FALSE));
    File(L"w\\b.txt");
    ASSERT_EQ(READ_REBUILT, ReCheck());
    EXPECT_GE(IndexOf(L"b.txt"), 0);

    // A change the watch saw before a whole read is in that read; it is not reported
    // again afterwards.
    File(L"w\\c.txt");
    ASSERT_TRUE(WatchSaw());
    EXPECT_EQ(READ_REBUILT, m_pane.ReadDirectory(TRUE));
    m_pane.SortEntries();
    EXPECT_GE(IndexOf(L"c.txt"), 0);
    EXPECT_EQ(READ_UNCHANGED, ReCheck(1000)) << "a change already read is not reported again";

    ASSERT_NO_FATAL_FAILURE(ReplaceFolderOnHost(L"w"));
    ASSERT_EQ(READ_REBUILT, ReCheck());
    EXPECT_GE(IndexOf(L"d.txt"), 0);
    EXPECT_LT(IndexOf(L"a.txt"), 0);
    EXPECT_TRUE(g_messages.empty());

    File(L"w\\e.txt");
    ASSERT_EQ(READ_REBUILT, ReCheck());
    EXPECT_GE(IndexOf(L"e.txt"), 0);
}

// The watched folder's identity is taken only at the first re-check; a folder put in
// the shown one's place before then is still told from the one the watch was armed on.
TEST_F(ReadDirectoryTest, AFolderPutInPlaceOfTheShownOneBeforeTheFirstReCheckIsListed)
{
    Dir(L"v");
    File(L"v\\a.txt");
    m_pane.ChangeDirectory(Path(L"v").c_str(), 0, FALSE, FALSE);
    ASSERT_NE(INVALID_HANDLE_VALUE, m_pane.m_hChange);
    ASSERT_NO_FATAL_FAILURE(ReplaceFolderOnHost(L"v"));
    ASSERT_EQ(READ_REBUILT, ReCheck());
    EXPECT_GE(IndexOf(L"d.txt"), 0);
    EXPECT_LT(IndexOf(L"a.txt"), 0);
    EXPECT_TRUE(g_messages.empty());

    File(L"v\\e.txt");
    ASSERT_EQ(READ_REBUILT, ReCheck());
    EXPECT_GE(IndexOf(L"e.txt"), 0);
}

// Entries whose data the walk finds unchanged stay in their records; they must still
// come out as new entries of the folder just read: another folder's path, no mark, no
// title, renumbered in reading order.
TEST_F(ReadDirectoryTest, UnchangedEntriesOfAWholeReadStandForTheFolderJustRead)
{
    const FILETIME time = {0x11111111, 0x01D00000};
    for (LPCWSTR folder : {L"x", L"y"})
    {
        Dir(folder);
        for (LPCWSTR name : {L"a.txt", L"b.txt"})
        {
            std::wstring file = std::wstring(folder) + L"\\" + name;
            File(file.c_str());
            SetTime(file.c_str(), time, true);
        }
    }
    m_pane.ChangeDirectory(Path(L"x").c_str(), 0, FALSE, FALSE);
    INT_PTR a = IndexOf(L"a.txt");
    ASSERT_GE(a, 0);
    m_pane.SetEntryMark(a, 1);
    m_pane.m_entries[a].m_displayName = L"title";
    m_pane.m_entries[a].GetPathComponents(1);

    EXPECT_EQ(READ_REBUILT, m_pane.ReadDirectory(TRUE));
    m_pane.SortEntries();
    a = IndexOf(L"a.txt");
    EXPECT_EQ(0, m_pane.m_entries[a].m_mark);
    EXPECT_EQ(0, m_pane.m_markedCount);
    EXPECT_TRUE(m_pane.m_entries[a].m_displayName.IsEmpty());
    EXPECT_EQ(nullptr, m_pane.m_entries[a].m_pathComponents);

    m_pane.ChangeDirectory(Path(L"y").c_str(), 0, FALSE, FALSE);
    std::vector<LONGLONG> positions;
    for (INT_PTR i = 0; i < m_pane.m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = m_pane.m_entries[i];
        positions.push_back(entry.m_readPosition);
        if (!entry.IsDots())
        {
            EXPECT_EQ(CString((Path(L"y\\") + entry.GetName()).c_str()), entry.GetFullPath());
        }
    }
    std::sort(positions.begin(), positions.end());
    for (size_t i = 0; i < positions.size(); ++i)
        EXPECT_EQ(static_cast<LONGLONG>(i), positions[i]);
}
