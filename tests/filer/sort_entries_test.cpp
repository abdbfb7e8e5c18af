// The display order of a listing: dots, directory group, the key tables.
#include "app/Settings.h"
#include "filer/FileInfo.h"
#include "filer/SortSetting.h"
#include "tests/filer/FilerTestData.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

using filertest::MakeFindData;
using filertest::Names;

namespace
{

struct Item
{
    const wchar_t* name;
    bool directory;
    ULONGLONG size;
    DWORD time;
};

CArrayFileInfo MakeList(const std::vector<Item>& items)
{
    CArrayFileInfo entries;
    for (const Item& item : items)
        entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\dir", L"",
                                MakeFindData(item.name, item.directory, item.size, item.time), -1);
    return entries;
}

// Values 1, 2, 4, 7, 8 and 9 of a setting; the rest as a reset leaves them.
CSortSetting Setting(int fileKey, int secondKey, int directoryKey, int directoryOrder, int fileOrder, int mix)
{
    CSortSetting s;
    ResetSortSetting(s);
    s.m_fileKey = fileKey;
    s.m_secondKey = secondKey;
    s.m_directoryKey = directoryKey;
    s.m_directoryOrder = directoryOrder;
    s.m_fileOrder = fileOrder;
    s.m_mixDirectories = mix;
    return s;
}

struct SortCase
{
    const char* title;
    std::vector<Item> items;
    CSortSetting setting;
    int dotCount;
    std::vector<std::wstring> expected;
};

class SortTable : public ::testing::TestWithParam<SortCase>
{
};

TEST_P(SortTable, PutsEntriesIntoDisplayOrder)
{
    const SortCase& c = GetParam();
    CArrayFileInfo entries = MakeList(c.items);
    EXPECT_EQ(SortFileEntries(entries, c.setting), c.dotCount);
    EXPECT_EQ(Names(entries), c.expected);
}

const std::vector<Item> kMixed = {
    {L"..", true, 0, 0}, {L"b", true, 0, 0}, {L"a.txt", false, 1, 0}, {L"A", true, 0, 0}, {L".", true, 0, 0},
};

const SortCase kSortCases[] = {
    {"DotsLeadThenDirectoriesThenFiles",
     kMixed,
     Setting(SORT_KEY_NAME, 0, 1, 0, 0, 0),
     2,
     {L".", L"..", L"A", L"b", L"a.txt"}},
    {"MixFlagInterleavesButDotsStillLead",
     kMixed,
     Setting(SORT_KEY_NAME, 0, 1, 0, 0, 1),
     2,
     {L".", L"..", L"A", L"a.txt", L"b"}},
    {"DirectoryKeyNoneUsesFileKeysAndOrder",
     kMixed,
     Setting(SORT_KEY_NAME, 0, 0, 0, 1, 0),
     2,
     {L".", L"..", L"b", L"A", L"a.txt"}},
    {"SizeAscendingListsLargestFirstThenNameThenExtension",
     {{L"small.txt", false, 5, 0},
      {L"big.txt", false, 50, 0},
      {L"same.b", false, 10, 0},
      {L"same.a", false, 10, 0},
      {L"alpha.z", false, 10, 0}},
     Setting(SORT_KEY_SIZE, 0, 0, 0, 0, 0),
     0,
     {L"big.txt", L"alpha.z", L"same.a", L"same.b", L"small.txt"}},
    {"TimeDescendingNewestFirstTiesByNameThenExtensionDescending",
     {{L"old.txt", false, 0, 100},
      {L"new.txt", false, 0, 300},
      {L"mid.a", false, 0, 200},
      {L"mid.b", false, 0, 200},
      {L"zed.a", false, 0, 200}},
     Setting(SORT_KEY_TIME, 0, 0, 0, 1, 0),
     0,
     {L"new.txt", L"zed.a", L"mid.b", L"mid.a", L"old.txt"}},
    {"FirstKeyNoneRestoresReadingOrder",
     {{L"z.txt", false, 0, 0},
      {L"dirB", true, 0, 0},
      {L"a.txt", false, 0, 0},
      {L"..", true, 0, 0},
      {L"dirA", true, 0, 0},
      {L"m.txt", false, 0, 0}},
     Setting(SORT_KEY_NONE, 0, 0, 0, 0, 0),
     1,
     {L"..", L"dirB", L"dirA", L"z.txt", L"a.txt", L"m.txt"}},
    {"ExtensionThenName",
     {{L"b.txt", false, 0, 0}, {L"a.txt", false, 0, 0}, {L"c.doc", false, 0, 0}, {L"noext", false, 0, 0}},
     Setting(SORT_KEY_EXTENSION, 0, 0, 0, 0, 0),
     0,
     {L"noext", L"c.doc", L"a.txt", L"b.txt"}},
    {"DirectoriesBySizeKeyFallBackToName",
     {{L"d2", true, 0, 0}, {L"d1", true, 0, 0}, {L"f", false, 1, 0}},
     Setting(SORT_KEY_NAME, 0, 3, 1, 0, 0),
     0,
     {L"d2", L"d1", L"f"}},
};

INSTANTIATE_TEST_SUITE_P(Sort, SortTable, ::testing::ValuesIn(kSortCases),
                         [](const ::testing::TestParamInfo<SortCase>& info) { return info.param.title; });

struct KeyCase
{
    int fileKey;
    int secondKey;
    int expected[3];
};

// A listing of ASCII names comes out in the same order whichever order it was read
// in: already in order, reversed, or in order but for one pair; by name and by
// extension, each way round.
TEST(SortEntries, AsciiListingsEndInOneOrderFromAnyReadingOrder)
{
    const std::vector<std::wstring> names = {L"a.txt", L"A.dat",   L"a-b.txt", L"a_b",     L"ab.TXT",  L"b",
                                             L"B.txt", L"b10.dat", L"b9.dat",  L".hidden", L"x y.txt", L"z"};
    for (int fileKey : {SORT_KEY_NAME, SORT_KEY_EXTENSION})
        for (int order : {0, 1})
        {
            const CSortSetting setting = Setting(fileKey, 0, 0, 0, order, 0);
            auto sorted = [&](const std::vector<std::wstring>& reading) {
                CArrayFileInfo entries;
                for (const std::wstring& name : reading)
                    entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\dir", L"",
                                            MakeFindData(name.c_str(), false, 0, 0), -1);
                SortFileEntries(entries, setting);
                return Names(entries);
            };
            const std::vector<std::wstring> expected = sorted(names);
            std::vector<std::wstring> reading = expected;
            EXPECT_EQ(expected, sorted(reading)) << fileKey << "/" << order << " in order";
            std::reverse(reading.begin(), reading.end());
            EXPECT_EQ(expected, sorted(reading)) << fileKey << "/" << order << " reversed";
            reading = expected;
            std::swap(reading[reading.size() - 2], reading[reading.size() - 1]);
            EXPECT_EQ(expected, sorted(reading)) << fileKey << "/" << order << " last pair swapped";
            // Each neighbour pair of the result stands in the order of the comparison.
            CArrayFileInfo check;
            for (const std::wstring& name : expected)
                check.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\dir", L"",
                                      MakeFindData(name.c_str(), false, 0, 0), -1);
            for (INT_PTR i = 1; i < check.GetSize(); ++i)
            {
                const int key = fileKey == SORT_KEY_NAME ? COMPARE_BASE_NAME : COMPARE_EXTENSION;
                int result = check[i - 1].CompareBy(key, check[i]);
                if (result == COMPARE_EQUAL)
                    result = check[i - 1].CompareBy(
                        key == COMPARE_BASE_NAME ? COMPARE_EXTENSION : COMPARE_BASE_NAME, check[i]);
                EXPECT_NE(order ? COMPARE_LESS : COMPARE_GREATER, result)
                    << fileKey << "/" << order << " " << check[i - 1].GetName() << " " << check[i].GetName();
            }
        }
}

TEST(SortKeys, FileKeyTable)
{
    const KeyCase cases[] = {
        {SORT_KEY_NAME, 0, {SORT_KEY_NAME, SORT_KEY_EXTENSION, SORT_KEY_NONE}},
        {SORT_KEY_NAME, 1, {SORT_KEY_NAME, SORT_KEY_NONE, SORT_KEY_NONE}},
        {SORT_KEY_NAME, 3, {SORT_KEY_NAME, SORT_KEY_SIZE, SORT_KEY_NONE}},
        {SORT_KEY_TIME, 4, {SORT_KEY_TIME, SORT_KEY_EXTENSION, SORT_KEY_NAME}},
        {SORT_KEY_TIME, 2, {SORT_KEY_TIME, SORT_KEY_NONE, SORT_KEY_NONE}},
        {SORT_KEY_SIZE, 2, {SORT_KEY_SIZE, SORT_KEY_TIME, SORT_KEY_NONE}},
        {SORT_KEY_EXTENSION, 0, {SORT_KEY_EXTENSION, SORT_KEY_NAME, SORT_KEY_NONE}},
        {SORT_KEY_EXTENSION, 4, {SORT_KEY_EXTENSION, SORT_KEY_NONE, SORT_KEY_NONE}},
        {SORT_KEY_ATTRIBUTES, 0, {SORT_KEY_ATTRIBUTES, SORT_KEY_NAME, SORT_KEY_EXTENSION}},
        {SORT_KEY_ATTRIBUTES, 5, {SORT_KEY_ATTRIBUTES, SORT_KEY_NONE, SORT_KEY_NONE}},
        {SORT_KEY_ATTRIBUTES, 2, {SORT_KEY_ATTRIBUTES, SORT_KEY_TIME, SORT_KEY_NONE}},
        {SORT_KEY_NONE, 1, {SORT_KEY_NONE, SORT_KEY_NONE, SORT_KEY_NONE}},
    };
    for (const KeyCase& c : cases)
    {
        BuildSortKeys(Setting(c.fileKey, c.secondKey, 0, 0, 0, 0), FALSE);
        EXPECT_EQ(std::vector<int>(g_SortKeys.fileKeys, g_SortKeys.fileKeys + 3),
                  std::vector<int>(c.expected, c.expected + 3))
            << c.fileKey << "/" << c.secondKey;
    }
}

TEST(SortEntries, NamesWithNumbersInNaturalOrderWhenLogicalCompareIsOn)
{
    HMODULE shlwapi = LoadLibraryW(L"shlwapi.dll");
    ASSERT_NE(shlwapi, nullptr);
    StrCmpLogicalWProc savedProc = g_pfnStrCmpLogicalW;
    int savedSetting = g_USE_STR_CMP_LOGICAL_W;
    g_pfnStrCmpLogicalW = reinterpret_cast<StrCmpLogicalWProc>(
        reinterpret_cast<void*>(GetProcAddress(shlwapi, "StrCmpLogicalW")));
    ASSERT_NE(g_pfnStrCmpLogicalW, nullptr);

    std::vector<Item> items = {
        {L"file10.txt", false, 0, 0}, {L"file2.txt", false, 0, 0}, {L"file1.txt", false, 0, 0}};
    g_USE_STR_CMP_LOGICAL_W = 1;
    CArrayFileInfo logical = MakeList(items);
    SortFileEntries(logical, Setting(SORT_KEY_NAME, 0, 0, 0, 0, 0));
    g_USE_STR_CMP_LOGICAL_W = 0;
    CArrayFileInfo plain = MakeList(items);
    SortFileEntries(plain, Setting(SORT_KEY_NAME, 0, 0, 0, 0, 0));

    g_USE_STR_CMP_LOGICAL_W = savedSetting;
    g_pfnStrCmpLogicalW = savedProc;
    EXPECT_EQ(Names(logical), (std::vector<std::wstring>{L"file1.txt", L"file2.txt", L"file10.txt"}));
    EXPECT_EQ(Names(plain), (std::vector<std::wstring>{L"file1.txt", L"file10.txt", L"file2.txt"}));
}

TEST(SortSetting, ResetLeavesUnsetAndPaneSlotsFollowSynchronisedSort)
{
    CSortSetting s;
    ResetSortSetting(s);
    EXPECT_FALSE(s.IsSet());
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(s.GetValue(n), -1) << n;
    for (int n = 7; n <= 9; ++n)
        EXPECT_EQ(s.GetValue(n), 0) << n;

    int savedSync = g_CHYNCROSORT;
    CSortSetting saved0, saved1;
    GetPaneSortSetting(0, saved0);
    GetPaneSortSetting(1, saved1);

    CSortSetting wanted = Setting(SORT_KEY_SIZE, 2, 3, 1, 1, 1);
    g_CHYNCROSORT = 0;
    SetPaneSortSetting(1, wanted);
    CSortSetting got0, got1;
    GetPaneSortSetting(0, got0);
    GetPaneSortSetting(1, got1);
    EXPECT_EQ(got1.m_fileKey, SORT_KEY_SIZE);
    EXPECT_EQ(got1.m_mixDirectories, 1);
    EXPECT_EQ(got0.m_fileKey, saved0.m_fileKey);
    g_CHYNCROSORT = 1;
    SetPaneSortSetting(1, wanted);
    GetPaneSortSetting(0, got0);
    EXPECT_EQ(got0.m_directoryKey, 3);
    EXPECT_EQ(got0.m_fileOrder, 1);

    SetPaneSortSetting(0, saved0);
    g_CHYNCROSORT = 0;
    SetPaneSortSetting(1, saved1);
    g_CHYNCROSORT = savedSync;
}

} // namespace

TEST(SortSetting, ValueNumbersNameTheMembersAndOthersTouchNothing)
{
    CSortSetting s;
    for (int n = 1; n <= 9; ++n)
        s.SetValue(n, n * 10);
    const int members[] = {s.m_fileKey, s.m_secondKey,      s.m_value3,    s.m_directoryKey,  s.m_value5,
                           s.m_value6,  s.m_directoryOrder, s.m_fileOrder, s.m_mixDirectories};
    for (int n = 1; n <= 9; ++n)
    {
        EXPECT_EQ(n * 10, members[n - 1]) << n;
        EXPECT_EQ(n * 10, s.GetValue(n)) << n;
    }
    // Numbers outside 1 to 9 (a corrupt settings row) neither read a neighbour nor
    // write past the record.
    struct Guarded
    {
        int before = 7;
        CSortSetting setting{};
        int after = 7;
    } guarded;
    for (int n : {-1, 0, 10, 11})
    {
        guarded.setting.SetValue(n, 99);
        EXPECT_EQ(0, guarded.setting.GetValue(n)) << n;
    }
    EXPECT_EQ(7, guarded.before);
    EXPECT_EQ(7, guarded.after);
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(0, guarded.setting.GetValue(n)) << n;
}
