// The file-entry record and the entry array.
#include "filer/FileInfo.h"
#include "filer/SortSetting.h"
#include "app/NameSortKey.h"
#include "tests/common/TestSupport.h"
#include "tests/filer/FilerTestData.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <string>
#include <utility>
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

// The base-name and extension keys an entry holds.
std::pair<std::vector<BYTE>, std::vector<BYTE>> KeysOf(const CFileInfo& entry)
{
    int baseLength = 0, extensionLength = 0;
    const BYTE* base = entry.GetBaseNameKey(baseLength);
    const BYTE* extension = entry.GetExtensionKey(extensionLength);
    return std::make_pair(std::vector<BYTE>(base, base + baseLength),
                          std::vector<BYTE>(extension, extension + extensionLength));
}

class FileInfoSplit : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(FileInfoSplit, SplitsNameAndClassifies)
{
    const SplitCase& c = GetParam();
    WIN32_FIND_DATAW data = MakeFindData(c.name, c.directory, 0x123456789ULL, 77);
    wcscpy(data.cAlternateFileName, L"SHORT~1.X");
    CFileInfo entry;
    entry.SetFromDisk(L"C:\\dir", data);
    EXPECT_EQ(W(entry.m_baseName), c.base);
    EXPECT_EQ(W(entry.m_extension), c.extension);
    EXPECT_EQ(entry.m_entryClass, c.entryClass);

    // A walk's appended entry is made as the fill makes it, after an entry with
    // another extension and one with the same.
    CArrayFileInfo entries;
    CFoundStrings shared;
    const CString directory = L"C:\\dir";
    entries.AddDiskEntry(directory, MakeFindData(L"first.other", false), shared);
    entries.AddDiskEntry(directory, MakeFindData((L"same." + std::wstring(c.extension)).c_str(), false),
                         shared);
    const CFileInfo& made = entries[entries.AddDiskEntry(directory, data, shared)];
    EXPECT_TRUE(made.m_findData == entry.m_findData);
    EXPECT_EQ(W(made.m_baseName), c.base);
    EXPECT_EQ(W(made.m_extension), c.extension);
    if (*c.extension)
    {
        EXPECT_EQ(made.m_extension.GetString(), entries[1].m_extension.GetString()) << "one string shared";
    }
    EXPECT_EQ(made.m_entryClass, c.entryClass);
    EXPECT_EQ(made.m_size, entry.m_size);
    EXPECT_EQ(made.m_source, ENTRY_SOURCE_DISK);
    EXPECT_EQ(made.m_readPosition, 2);
    EXPECT_EQ(made.m_itemIndex, -1);
    EXPECT_EQ(W(made.GetFullPath()), W(entry.GetFullPath()));
    EXPECT_TRUE(made.m_realDirectory.IsEmpty());
    EXPECT_EQ(made.m_owner, nullptr);
    EXPECT_EQ(made.m_nameKeys, nullptr);

    // Its sort keys, the extension's taken over from the entry with the same string,
    // are the keys made anew.
    ASSERT_TRUE(entries[1].PrepareNameKeys(NAME_KEY_LOCALE));
    ASSERT_TRUE(entries[2].PrepareNameKeys(NAME_KEY_LOCALE, &entries[1]));
    ASSERT_TRUE(entry.PrepareNameKeys(NAME_KEY_LOCALE));
    EXPECT_EQ(KeysOf(entries[2]), KeysOf(entry));
}

// Keys carved from shared blocks are the keys made alone, and each entry's keys stay
// its own while the blocks and the other entries let go of theirs.
TEST(FileInfo, NameKeysFromSharedBlocksOutliveTheBlocksAndEachOther)
{
    const int count = 300; // the keys of more names than one block holds
    CArrayFileInfo shared, alone;
    for (int i = 0; i < count; ++i)
    {
        wchar_t name[64];
        swprintf(name, 64, L"a rather long name number %d.txt", i);
        shared.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\dir", L"", MakeFindData(name, false, 1), -1);
        alone.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\dir", L"", MakeFindData(name, false, 1), -1);
        ASSERT_TRUE(alone[i].PrepareNameKeys(NAME_KEY_LOCALE));
    }
    {
        CNameKeyBlocks blocks;
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(shared[i].PrepareNameKeys(NAME_KEY_LOCALE, nullptr, &blocks));
    }
    for (int i = 0; i < count; i += 2)
        shared[i].ClearNameKeys();
    for (int i = 1; i < count; i += 2)
        EXPECT_EQ(KeysOf(shared[i]), KeysOf(alone[i])) << i;
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

// The record keeps the find data in a compact form: every field of the system's
// record must come back as it was, names cut where the system's fields end.
TEST(EntryFindData, GivesBackEveryFieldOfTheSystemRecord)
{
    struct Case
    {
        std::wstring name;
        std::wstring shortName;
        std::wstring expectedName;
        std::wstring expectedShort;
    };
    const std::wstring longest(MAX_PATH - 1, L'n');
    const Case cases[] = {
        {L"a.txt", L"", L"a.txt", L""},
        {L"長い名前のファイル.text", L"E5B7~1.TEX", L"長い名前のファイル.text", L"E5B7~1.TEX"},
        {longest, L"ABCDEFGH.IJK", longest, L"ABCDEFGH.IJK"},
        // Fields filled to their last character without a NUL: cut as the system's
        // fields hold them.
        {std::wstring(MAX_PATH, L'x'), std::wstring(14, L'S'), std::wstring(MAX_PATH - 1, L'x'),
         std::wstring(13, L'S')},
    };
    for (const Case& c : cases)
    {
        WIN32_FIND_DATAW fd;
        memset(&fd, 0x5A, sizeof(fd)); // leftovers behind the names
        fd.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY;
        fd.ftCreationTime = {1, 2};
        fd.ftLastAccessTime = {3, 4};
        fd.ftLastWriteTime = {5, 6};
        fd.nFileSizeHigh = 7;
        fd.nFileSizeLow = 8;
        fd.dwReserved0 = 9;
        fd.dwReserved1 = 10;
        wmemcpy(fd.cFileName, c.name.c_str(), std::min<size_t>(c.name.size(), MAX_PATH));
        if (c.name.size() < MAX_PATH)
            fd.cFileName[c.name.size()] = L'\0';
        wmemcpy(fd.cAlternateFileName, c.shortName.c_str(), std::min<size_t>(c.shortName.size(), 14));
        if (c.shortName.size() < 14)
            fd.cAlternateFileName[c.shortName.size()] = L'\0';

        CEntryFindData data(fd);
        EXPECT_EQ(W(data.cFileName), c.expectedName);
        EXPECT_EQ(W(data.cAlternateFileName), c.expectedShort);
        EXPECT_TRUE(data.SameAs(fd));

        WIN32_FIND_DATAW expected = fd;
        CFileInfo::NormalizeFindData(expected);
        WIN32_FIND_DATAW back = data;
        EXPECT_EQ(memcmp(&back, &expected, sizeof(back)), 0) << c.expectedName.substr(0, 20);
    }

    // Each field on its own makes the data differ.
    const WIN32_FIND_DATAW base = MakeFindData(L"a.txt", false, 5, 6);
    const CEntryFindData stored(base);
    void (*const changes[])(WIN32_FIND_DATAW&) = {
        [](WIN32_FIND_DATAW& d) { d.dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN; },
        [](WIN32_FIND_DATAW& d) { d.ftCreationTime.dwHighDateTime = 1; },
        [](WIN32_FIND_DATAW& d) { d.ftLastAccessTime.dwLowDateTime = 1; },
        [](WIN32_FIND_DATAW& d) { d.ftLastWriteTime.dwLowDateTime = 1; },
        [](WIN32_FIND_DATAW& d) { d.nFileSizeHigh = 1; },
        [](WIN32_FIND_DATAW& d) { d.nFileSizeLow = 1; },
        [](WIN32_FIND_DATAW& d) { d.dwReserved0 = 1; },
        [](WIN32_FIND_DATAW& d) { d.dwReserved1 = 1; },
        [](WIN32_FIND_DATAW& d) { wcscpy(d.cFileName, L"A.txt"); },
        [](WIN32_FIND_DATAW& d) { wcscpy(d.cAlternateFileName, L"A~1.TXT"); },
    };
    for (size_t i = 0; i < sizeof(changes) / sizeof(changes[0]); ++i)
    {
        WIN32_FIND_DATAW changed = base;
        changes[i](changed);
        EXPECT_FALSE(stored.SameAs(changed)) << i;
        EXPECT_TRUE(stored != CEntryFindData(changed)) << i;
    }
    EXPECT_TRUE(stored == CEntryFindData(base));
}

// A walk puts each found entry into the slot of the stored one. The same name keeps
// the stored strings and name keys and takes the new data; another name takes the
// found entry over, and the found entry, refilled for the next name, must never
// change what the array holds.
TEST(ArrayFileInfo, PutFoundEntryKeepsTheSameNameAndTakesOverAnother)
{
    CArrayFileInfo entries;
    entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\dir", L"", MakeFindData(L"a.txt", false, 1),
                            -1);
    CFileInfo& slot = entries[0];
    ASSERT_TRUE(slot.PrepareNameKeys(NAME_KEY_LOCALE));
    const BYTE* keys = slot.m_nameKeys;
    slot.SetMark(1);
    slot.m_changed = TRUE;
    slot.m_displayName = L"title";
    slot.GetPathComponents(1);

    WIN32_FIND_DATAW newer = MakeFindData(L"a.txt", false, 99, 1234);
    wcscpy(newer.cAlternateFileName, L"A~1.TXT");
    CFileInfo found;
    found.SetFromDisk(L"C:\\dir", newer);
    EXPECT_EQ(entries.PutFoundEntry(0, std::move(found)), 0);
    EXPECT_EQ(slot.m_nameKeys, keys);
    EXPECT_EQ(slot.m_size, 99u);
    EXPECT_EQ(slot.m_findData.ftLastWriteTime.dwLowDateTime, 1234u);
    EXPECT_EQ(W(slot.m_findData.cAlternateFileName), L"A~1.TXT");
    EXPECT_EQ(slot.m_mark, 0);
    EXPECT_FALSE(slot.m_changed);
    EXPECT_TRUE(slot.m_displayName.IsEmpty());
    EXPECT_EQ(slot.m_pathComponents, nullptr);
    EXPECT_EQ(slot.m_readPosition, 0);
    EXPECT_EQ(W(found.GetName()), L"a.txt"); // left for the next find

    found.SetFromDisk(L"C:\\dir", MakeFindData(L"b.txt", false, 2));
    entries.PutFoundEntry(0, std::move(found));
    EXPECT_EQ(slot.m_nameKeys, nullptr);
    EXPECT_EQ(W(slot.GetName()), L"b.txt");
    EXPECT_TRUE(slot.m_findData.cAlternateFileName.IsEmpty());

    // The next names share nothing with the stored entry's strings any more.
    found.SetFromDisk(L"C:\\other", MakeFindData(L"c.dat", false, 3));
    EXPECT_EQ(W(found.m_extension), L"dat");
    entries.PutFoundEntry(1, std::move(found));
    found.SetFromDisk(L"C:\\other", MakeFindData(L"d", true));
    EXPECT_EQ(W(entries[0].m_baseName), L"b");
    EXPECT_EQ(W(entries[0].m_extension), L"txt");
    EXPECT_EQ(W(entries[0].GetFullPath()), L"C:\\dir\\b.txt");
    EXPECT_EQ(W(entries[1].m_extension), L"dat");
    EXPECT_EQ(W(entries[1].GetFullPath()), L"C:\\other\\c.dat");
    EXPECT_EQ(entries[1].m_readPosition, 1);
    EXPECT_TRUE(found.m_extension.IsEmpty());
    EXPECT_EQ(W(found.m_baseName), L"d");

    // The same name turned into a directory is another entry: split anew.
    CFileInfo folder;
    folder.SetFromDisk(L"C:\\dir", MakeFindData(L"b.txt", true));
    entries.PutFoundEntry(0, std::move(folder));
    EXPECT_EQ(W(entries[0].m_baseName), L"b.txt");
    EXPECT_TRUE(entries[0].m_extension.IsEmpty());
    EXPECT_EQ(entries[0].m_entryClass, ENTRY_CLASS_DIRECTORY);
}

} // namespace
