// The file-entry record and the entry array.
#include "filer/FileInfo.h"
#include "filer/SortSetting.h"
#include "tests/common/TestSupport.h"
#include "tests/filer/FilerTestData.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

using filertest::MakeFindData;
using filertest::Names;
using filertest::W;

namespace
{

struct SplitCase
{
    const wchar_t* name;
    bool directory;
    const wchar_t* base;
    const wchar_t* extension;
    int entryClass;
};

class FileInfoSplit : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(FileInfoSplit, SplitsNameAndClassifies)
{
    const SplitCase& c = GetParam();
    CFileInfo entry;
    entry.SetFromDisk(L"C:\\dir", MakeFindData(c.name, c.directory));
    EXPECT_EQ(W(entry.m_baseName), c.base);
    EXPECT_EQ(W(entry.m_extension), c.extension);
    EXPECT_EQ(entry.m_entryClass, c.entryClass);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FileInfoSplit,
    ::testing::Values(SplitCase{L"archive.tar.gz", false, L"archive.tar", L"gz", 1},
                      SplitCase{L".profile", false, L".profile", L"", 1},
                      SplitCase{L"name.", false, L"name", L"", 1},
                      SplitCase{L"plain", false, L"plain", L"", 1}, SplitCase{L"a.b", true, L"a.b", L"", 2},
                      SplitCase{L"...", true, L"...", L"", 2}, SplitCase{L".x", true, L".x", L"", 2},
                      SplitCase{L"..", true, L"..", L"", 3}, SplitCase{L".", true, L".", L"", 4}));

TEST(FileInfo, SetMarkRefusesDotsAndUnchangedValues)
{
    for (LPCWSTR dots : {L".", L".."})
    {
        CFileInfo entry;
        entry.SetFromDisk(L"C:", MakeFindData(dots, true));
        EXPECT_EQ(entry.SetMark(1), 0) << dots;
        EXPECT_EQ(entry.m_mark, 0) << dots;
    }
    CFileInfo file;
    file.SetFromDisk(L"C:", MakeFindData(L"f.txt", false));
    EXPECT_EQ(file.SetMark(1), 1);
    EXPECT_EQ(file.SetMark(1), 0);
    EXPECT_EQ(file.m_mark, 1);
    EXPECT_EQ(file.SetMark(0), 1);
}

TEST(FileInfo, FullPathJoinsDirectoryAndName)
{
    CFileInfo entry;
    entry.SetFromDisk(L"C:", MakeFindData(L"x", false));
    EXPECT_EQ(W(entry.GetFullPath()), L"C:\\x");
    entry.SetFromDisk(L"", MakeFindData(L"x", false));
    EXPECT_EQ(W(entry.GetFullPath()), L"x");

    // The entry a listing starts from: a drive root has no name of its own.
    entry.SetFromPath(nullptr, L"C:");
    EXPECT_EQ(W(entry.GetDirectory()), L"C:");
    EXPECT_STREQ(entry.GetName(), L"");
    EXPECT_EQ(W(entry.GetFullPath()), L"C:");
    entry.SetFromPath(nullptr, L"C:\\dir\\sub");
    EXPECT_EQ(W(entry.GetFullPath()), L"C:\\dir\\sub");
    EXPECT_EQ(entry.m_entryClass, ENTRY_CLASS_DIRECTORY);
    EXPECT_EQ(entry.m_source, ENTRY_SOURCE_DISK);
}

TEST(FileInfo, CompareBySizeListsDirectoriesThenLargestFirst)
{
    struct Case
    {
        bool leftDirectory;
        ULONGLONG leftSize;
        bool rightDirectory;
        ULONGLONG rightSize;
        int expected;
    };
    const Case cases[] = {
        {true, 0, false, 1000, COMPARE_LESS}, {false, 1000, true, 0, COMPARE_GREATER},
        {false, 10, false, 5, COMPARE_LESS},  {false, 5, false, 10, COMPARE_GREATER},
        {false, 7, false, 7, COMPARE_EQUAL},  {false, 0x100000000ull, false, 1, COMPARE_LESS},
    };
    for (const Case& c : cases)
    {
        CFileInfo left, right;
        left.SetFromDisk(L"C:", MakeFindData(L"l", c.leftDirectory, c.leftSize));
        right.SetFromDisk(L"C:", MakeFindData(L"r", c.rightDirectory, c.rightSize));
        EXPECT_EQ(left.CompareBy(COMPARE_SIZE, right), c.expected) << c.leftSize << " vs " << c.rightSize;
    }
}

TEST(FileInfo, CompareByComponentsPutsShorterAndDirectoriesFirst)
{
    CFileInfo shallow, deep, directory, file;
    shallow.SetFromDisk(L"C:\\a", MakeFindData(L"f", false));
    deep.SetFromDisk(L"C:\\a\\b", MakeFindData(L"f", false));
    directory.SetFromDisk(L"C:\\a", MakeFindData(L"b", true)); // components C:, a, b
    file.SetFromDisk(L"C:\\a\\b", MakeFindData(L"g", false));  // components C:, a, b
    EXPECT_EQ(shallow.CompareBy(COMPARE_COMPONENTS_1, deep), COMPARE_LESS);
    EXPECT_EQ(deep.CompareBy(COMPARE_COMPONENTS_1, shallow), COMPARE_GREATER);
    EXPECT_EQ(directory.CompareBy(COMPARE_COMPONENTS_1, file), COMPARE_LESS);
    EXPECT_EQ(file.CompareBy(COMPARE_COMPONENTS_1, directory), COMPARE_GREATER);
    EXPECT_EQ(deep.CompareBy(COMPARE_COMPONENTS_1, file), COMPARE_EQUAL);
}

TEST(FileInfo, CopyDropsComponentCacheAndKeepsTargetMark)
{
    CFileInfo source;
    source.SetFromDisk(L"C:\\a\\b", MakeFindData(L"f.txt", false, 5));
    source.SetMark(1);
    source.GetPathComponents(1);
    ASSERT_NE(source.m_pathComponents, nullptr);

    CFileInfo copy;
    copy.SetFromDisk(L"D:", MakeFindData(L"other", false));
    copy = source;
    EXPECT_EQ(copy.m_pathComponents, nullptr);
    EXPECT_EQ(copy.m_componentMode, 0);
    EXPECT_EQ(copy.m_mark, 0);
    EXPECT_EQ(W(copy.GetFullPath()), L"C:\\a\\b\\f.txt");
    EXPECT_EQ(copy.m_size, 5u);
    EXPECT_EQ(source.GetPathComponents(1).GetSize(), 3);
}

TEST(FileInfo, RefreshFindDataLooksUpVirtualDriveEntryInItsRealDirectory)
{
    std::wstring dir = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\v.txt", "12345"));
    CFileInfo entry;
    // The listing directory of a virtual drive is not a disk path.
    entry.SetFromVirtualDrive(L"Q:\\folder", dir.c_str(), MakeFindData(L"v.txt", false, 1));
    entry.m_findData.dwReserved0 = 0x1234;
    WIN32_FIND_DATAW found = {};
    ASSERT_EQ(entry.RefreshFindData(found), 1);
    EXPECT_EQ(found.nFileSizeLow, 5u);
    EXPECT_EQ(found.dwReserved0, 0x1234u);

    CFileInfo gone;
    gone.SetFromDisk(dir.c_str(), MakeFindData(L"missing.txt", false));
    EXPECT_EQ(gone.RefreshFindData(found), 0);
}

// The array moves its records as raw bytes (SwapEntries, the sort's qsort): a string
// type that points into its own object (a short-string buffer) would come out
// corrupted or crash. Short and long names, marks and cached components must all
// survive exchanges, growth and removals.
TEST(ArrayFileInfo, RecordsSurviveRawExchangeGrowthAndRemoval)
{
    CArrayFileInfo entries;
    std::vector<std::wstring> expected;
    for (int i = 0; i < 300; ++i)
    {
        std::wstring name =
            (i % 2) ? L"s" + std::to_wstring(i) : std::wstring(120, L'L') + std::to_wstring(i);
        entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\dir", L"",
                                MakeFindData(name.c_str(), false), -1);
        entries[i].SetMark(i % 3 == 0 ? 1 : 0);
        entries[i].GetPathComponents(1);
        expected.push_back(name);
    }
    std::mt19937 random(7);
    for (int n = 0; n < 2000; ++n)
    {
        INT_PTR i = random() % expected.size();
        INT_PTR j = random() % expected.size();
        entries.SwapEntries(i, j);
        std::swap(expected[i], expected[j]);
    }
    entries.RemoveAt(5);
    expected.erase(expected.begin() + 5);
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        const CFileInfo& e = entries[i];
        ASSERT_EQ(W(e.m_baseName), expected[i]) << i;
        ASSERT_EQ(W(e.GetFullPath()), L"C:\\dir\\" + expected[i]) << i;
        int original = std::stoi(expected[i].substr(expected[i].find_first_of(L"0123456789")));
        ASSERT_EQ(e.m_mark, original % 3 == 0 ? 1 : 0) << i;
        ASSERT_EQ(e.m_readPosition, original) << i;
        ASSERT_NE(e.m_pathComponents, nullptr);
        ASSERT_EQ(e.m_pathComponents->GetSize(), 2);
    }

    CSortSetting byName;
    ResetSortSetting(byName);
    byName.m_fileKey = SORT_KEY_NONE;
    SortFileEntries(entries, byName);
    for (INT_PTR i = 1; i < entries.GetSize(); ++i)
        ASSERT_LT(entries[i - 1].m_readPosition, entries[i].m_readPosition);
    EXPECT_EQ(W(entries[0].m_baseName), std::wstring(120, L'L') + L"0");
    EXPECT_EQ(W(entries[1].m_baseName), L"s1");
}

TEST(ArrayFileInfo, AddEntryRefillsWithoutMarkAndNumbersByPosition)
{
    CArrayFileInfo entries;
    CFileInfo source;
    source.SetFromVirtualDrive(L"Q:\\f", L"C:\\real", MakeFindData(L"a.txt", false, 3));
    source.SetMark(1);
    source.m_displayName = L"title";
    entries.AddEntry(source);
    // Appending an element of the array itself while the array grows.
    for (int i = 0; i < 40; ++i)
        entries.AddEntry(entries[0]);
    ASSERT_EQ(entries.GetSize(), 41);
    const CFileInfo& last = entries[40];
    EXPECT_EQ(last.m_readPosition, 40);
    EXPECT_EQ(last.m_mark, 0);
    EXPECT_TRUE(last.m_displayName.IsEmpty());
    EXPECT_EQ(last.m_source, ENTRY_SOURCE_VIRTUAL);
    EXPECT_EQ(W(last.GetRealFullPath()), L"C:\\real\\a.txt");
    EXPECT_EQ(W(last.GetFullPath()), L"Q:\\f\\a.txt");
}

} // namespace
