// Enumeration over disk and archive folders, the name lookups, and the hand-over of
// search results to a pane.
#include "app/VirtualDrives.h"
#include "archivefront/ArchiveFront.h"
#include "filer/EntryFind.h"
#include "tests/common/TestSupport.h"
#include "tests/filer/FilerTestData.h"

#include <gtest/gtest.h>
#include <cstring>
#include <set>
#include <string>

using filertest::MakeFindData;
using filertest::Names;
using filertest::W;

namespace
{

bool MakeDirectory(const std::wstring& path)
{
    return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

std::set<std::wstring> ListAll(LPCWSTR directory, LPCWSTR pattern)
{
    std::set<std::wstring> names;
    CFileInfo entry;
    CEntryFind* find = FindFirstEntry(nullptr, directory, pattern, entry);
    for (BOOL more = find != nullptr; more; more = FindNextEntry(find, entry))
    {
        names.insert(entry.GetName());
        EXPECT_EQ(W(entry.GetDirectory()), directory);
        EXPECT_EQ(entry.m_source, ENTRY_SOURCE_DISK);
    }
    EXPECT_TRUE(CloseEntryFind(find));
    EXPECT_EQ(find, nullptr);
    return names;
}

TEST(EntryFind, ListsDiskDirectoryWithPattern)
{
    std::wstring dir = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\a.txt", "a"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\b.dat", "b"));
    ASSERT_TRUE(MakeDirectory(dir + L"\\sub"));
    EXPECT_EQ(ListAll(dir.c_str(), L"*.*"),
              (std::set<std::wstring>{L".", L"..", L"a.txt", L"b.dat", L"sub"}));
    EXPECT_EQ(ListAll(dir.c_str(), L"*.txt"), (std::set<std::wstring>{L"a.txt"}));

    // A directory entry lists its own inside.
    CFileInfo sub, child;
    ASSERT_EQ(FindEntryInDirectory(nullptr, dir.c_str(), L"sub", sub), 1);
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\sub\\inner.txt", "i"));
    CEntryFind* find = sub.FindFirstChild(L"*.txt", child);
    ASSERT_NE(find, nullptr);
    EXPECT_STREQ(child.GetName(), L"inner.txt");
    EXPECT_EQ(W(child.GetDirectory()), dir + L"\\sub");
    EXPECT_EQ(FindNextEntry(find, child), 0);
    CloseEntryFind(find);
}

TEST(EntryFind, MissingDirectoryGivesNoHandleAndKeepsSystemError)
{
    std::wstring dir = qvtest::ScratchDir();
    CFileInfo entry;
    SetLastError(0);
    CEntryFind* find = FindFirstEntry(nullptr, (dir + L"\\nothere").c_str(), L"*.*", entry);
    EXPECT_EQ(find, nullptr);
    DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) << error;
    EXPECT_EQ(FindNextEntry(nullptr, entry), 0);
    EXPECT_TRUE(CloseEntryFind(find));
}

TEST(EntryFind, LooksUpNamesIgnoringCaseAndSkipsDirectoriesForFiles)
{
    std::wstring dir = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\MixedCase.TXT", "x"));
    ASSERT_TRUE(MakeDirectory(dir + L"\\Folder"));

    CFileInfo entry;
    ASSERT_EQ(FindEntryInDirectory(nullptr, dir.c_str(), L"mixedcase.txt", entry), 1);
    EXPECT_STREQ(entry.GetName(), L"MixedCase.TXT");
    EXPECT_EQ(FindFileEntryOnDisk(dir.c_str(), L"MIXEDCASE.txt", entry), 1);

    EXPECT_EQ(FindEntryInDirectory(nullptr, dir.c_str(), L"folder", entry), 1);
    EXPECT_EQ(entry.m_entryClass, ENTRY_CLASS_DIRECTORY);
    EXPECT_EQ(FindFileEntryInDirectory(nullptr, dir.c_str(), L"folder", entry), 0);
    EXPECT_EQ(FindEntryInDirectory(nullptr, dir.c_str(), L"absent", entry), 0);
}

TEST(EntryFind, ArchiveFolderThatMatchesNothingGivesNoHandleAndNoEntry)
{
    CArchiveFront archive;
    CFileInfo entry;
    CEntryFind* find = FindFirstEntry(&archive, L"docs", L"*.zzz", entry);
    EXPECT_EQ(find, nullptr);
    EXPECT_STREQ(entry.GetName(), L"");
    EXPECT_EQ(entry.m_source, 0);
    EXPECT_EQ(FindEntryInDirectory(&archive, L"docs", L"readme.txt", entry), 0);
}

TEST(EntryFind, VirtualDriveStartEntryAndEmptyStoreFolder)
{
    const int q = L'Q' - L'A';
    CVirtualFolderStore store;
    int savedFlag = g_VirtualDriveFlags[q];
    CVirtualFolderStore* savedStore = g_VirtualFolderStores[q];
    g_VirtualDriveFlags[q] = 1;
    g_VirtualFolderStores[q] = &store;

    CFileInfo start, entry;
    start.SetFromPath(nullptr, L"q:\\folder\\inner");
    CEntryFind* find = start.FindFirstChild(L"*.*", entry);

    g_VirtualDriveFlags[q] = savedFlag;
    g_VirtualFolderStores[q] = savedStore;
    EXPECT_EQ(start.m_source, ENTRY_SOURCE_VIRTUAL);
    EXPECT_TRUE(start.GetDirectory().IsEmpty());
    EXPECT_EQ(W(start.GetRealDirectory(TRUE)), L"q:\\folder");
    EXPECT_EQ(W(start.GetRealFullPath()), L"q:\\folder\\inner");
    EXPECT_EQ(find, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// The pane's re-read comparison, reduced to the name key: a rename reorders, any
// other difference changes the entry in place.
int CompareByName(int running, CFileInfo* stored, const WIN32_FIND_DATAW& found)
{
    if (running == 1 || !stored)
        return 1;
    if (stored->m_findData.SameAs(found))
        return running;
    stored->m_changed = TRUE;
    return wcscmp(stored->GetName(), found.cFileName) != 0 ? 1 : 2;
}

class FindResults : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = qvtest::ScratchDir(); }

    void AddFound(LPCWSTR name)
    {
        CFileInfo entry;
        ASSERT_EQ(FindEntryInDirectory(nullptr, m_dir.c_str(), name, entry), 1) << name;
        m_list.AddResult(entry);
    }

    int Merge(BOOL incremental, BOOL forced, LPCWSTR wildcard = L"*.*", BOOL filterDirectories = FALSE)
    {
        return MergeFindResultsInto(m_list, m_pane, wildcard, filterDirectories, incremental, forced,
                                    CompareByName);
    }

    std::wstring m_dir;
    CFindResultList m_list;
    CArrayFileInfo m_pane;
};

TEST_F(FindResults, SearchThatFindsNothingStillEmptiesThePane)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\old.txt", "o"));
    AddFound(L"old.txt");
    EXPECT_EQ(Merge(TRUE, FALSE), 1);
    EXPECT_EQ(Names(m_pane), (std::vector<std::wstring>{L"old.txt"}));
    EXPECT_EQ(Merge(TRUE, FALSE), 0);
    EXPECT_EQ(Merge(FALSE, FALSE), 0);

    ASSERT_NE(m_list.StartSearch(), nullptr);
    EXPECT_EQ(Merge(TRUE, FALSE), 1);
    EXPECT_TRUE(m_pane.IsEmpty());
    EXPECT_EQ(Merge(TRUE, FALSE), 0);
}

TEST_F(FindResults, RenamedResultShowsItsNewNameWithoutNewSearch)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\before.txt", "b"));
    ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\other.txt", "o"));
    AddFound(L"before.txt");
    AddFound(L"other.txt");
    ASSERT_EQ(Merge(TRUE, FALSE), 1);

    CFileInfo renamed = m_pane[0];
    ASSERT_TRUE(MoveFileW((m_dir + L"\\before.txt").c_str(), (m_dir + L"\\after.txt").c_str()));
    m_list.RenameResult(renamed, L"after.txt");
    EXPECT_EQ(Merge(TRUE, FALSE), 1);
    EXPECT_EQ(Names(m_pane), (std::vector<std::wstring>{L"after.txt", L"other.txt"}));
    EXPECT_EQ(W(m_pane[0].m_extension), L"txt");

    // A name that no result has changes nothing.
    m_list.RenameResult(renamed, L"again.txt");
    EXPECT_EQ(Merge(TRUE, FALSE), 0);
}

TEST_F(FindResults, RefreshDropsVanishedResultsAndUpdatesChangedOnesInPlace)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\keep.txt", "1"));
    ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\gone.txt", "2"));
    AddFound(L"keep.txt");
    AddFound(L"gone.txt");
    ASSERT_EQ(Merge(TRUE, FALSE), 1);
    m_pane[0].SetMark(1);

    ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\keep.txt", "longer"));
    EXPECT_EQ(Merge(TRUE, FALSE), 2);
    EXPECT_EQ(m_pane[0].m_size, 6u);
    EXPECT_TRUE(m_pane[0].m_changed);
    EXPECT_EQ(m_pane[0].m_mark, 1);
    EXPECT_EQ(Merge(TRUE, FALSE), 0);

    ASSERT_TRUE(DeleteFileW((m_dir + L"\\gone.txt").c_str()));
    EXPECT_EQ(Merge(TRUE, FALSE), 1);
    EXPECT_EQ(Names(m_pane), (std::vector<std::wstring>{L"keep.txt"}));
}

TEST_F(FindResults, RebuildFiltersByWildcardAndDirectoriesOnlyWhenAsked)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\a.txt", "a"));
    ASSERT_TRUE(qvtest::WriteFileBytes(m_dir + L"\\b.dat", "b"));
    ASSERT_TRUE(MakeDirectory(m_dir + L"\\dir"));
    AddFound(L"a.txt");
    AddFound(L"b.dat");
    AddFound(L"dir");
    EXPECT_EQ(Merge(FALSE, TRUE, L"*.txt", FALSE), 1);
    EXPECT_EQ(Names(m_pane), (std::vector<std::wstring>{L"a.txt", L"dir"}));
    EXPECT_EQ(Merge(FALSE, TRUE, L"*.txt", TRUE), 1);
    EXPECT_EQ(Names(m_pane), (std::vector<std::wstring>{L"a.txt"}));
}

} // namespace
