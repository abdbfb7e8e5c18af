// The sort by keys made once per entry puts a listing into an order that the name
// comparison itself agrees with, for every key, second key, directory key, direction
// and mixing, in the locale order and in the natural order.
#include "app/NameSortKey.h"
#include "util/PathHelpers.h"
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

// Base names that stress the order, each given as a file with an extension, as a
// file without one, and as a directory.
const wchar_t* const kBaseNames[] = {
    L"a",      L"A",       L"\uFF41",   L"\uFF21", L"ab",           L"a b",          L"a-b",
    L"a9",     L"a10",     L"A10",      L"a010",   L"x2y10",        L"x2y9",         L"\u3042",
    L"\u30A2", L"\uFF71",  L"\u304B",   L"\u304C", L"\u30AC",       L"\uFF76\uFF9E", L"e",
    L"\u00E9", L"e\u0301", L".profile", L"..x",    L"\u6F22\u5B57", L"\uFF11\uFF10", L"10",
    L"9",      L"co-op",   L"coop",     L"a.b",
};
const wchar_t* const kExtensions[] = {L"txt", L"TXT", L"\uFF54\uFF58\uFF54", L"dat", L"t10", L"t9", L""};

CArrayFileInfo MakeListing()
{
    CArrayFileInfo entries;
    int n = 0;
    auto add = [&](const std::wstring& name, bool directory) {
        // Few sizes, times and attributes, so that the later keys decide often.
        WIN32_FIND_DATAW fd =
            MakeFindData(name.c_str(), directory, static_cast<ULONGLONG>(n % 3) * 100,
                         static_cast<DWORD>(n % 4), n % 5 == 0 ? FILE_ATTRIBUTE_READONLY : 0);
        entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\dir", L"", fd, -1);
        ++n;
    };
    add(L"..", true);
    for (size_t i = 0; i < sizeof(kBaseNames) / sizeof(kBaseNames[0]); ++i)
    {
        std::wstring base = kBaseNames[i];
        const wchar_t* extension = kExtensions[i % (sizeof(kExtensions) / sizeof(kExtensions[0]))];
        add(*extension ? base + L"." + extension : base, false);
        add(base + L"." + kExtensions[(i + 3) % 6], false);
        add(base, i % 2 == 0);
        add(base + L".d", true);
    }
    add(L".", true);
    return entries;
}

// The comparison the sort stands for, from the entries' own comparisons: key by key
// through CFileInfo::CompareBy, whose names go through CompareNamesForSort.
int Reference(CFileInfo& a, CFileInfo& b, const int* keys, int order)
{
    for (int place = 0; place < 3; ++place)
    {
        int result = COMPARE_EQUAL;
        switch (keys[place])
        {
        case SORT_KEY_NAME:
            result = a.CompareBy(COMPARE_BASE_NAME, b);
            break;
        case SORT_KEY_TIME:
            result = a.CompareBy(COMPARE_WRITE_TIME, b);
            break;
        case SORT_KEY_SIZE:
            result = a.CompareBy(COMPARE_SIZE, b);
            break;
        case SORT_KEY_EXTENSION:
            result = a.CompareBy(COMPARE_EXTENSION, b);
            break;
        case SORT_KEY_ATTRIBUTES:
            result = a.CompareBy(COMPARE_ATTRIBUTES, b);
            break;
        case SORT_KEY_NONE:
            result = place == 0 ? a.CompareBy(COMPARE_READ_ORDER, b) : COMPARE_EQUAL;
            break;
        }
        if (result != COMPARE_EQUAL)
            return (result == COMPARE_LESS) == (order == 0) ? -1 : 1;
    }
    return 0;
}

// Empty when every neighbour pair of the group stands in the reference order.
std::wstring CheckGroup(CArrayFileInfo& entries, INT_PTR first, INT_PTR end, const int* keys, int order)
{
    for (INT_PTR i = first + 1; i < end; ++i)
    {
        if (Reference(entries[i - 1], entries[i], keys, order) > 0)
            return std::wstring(L"[") + entries[i - 1].GetName() + L"] before [" + entries[i].GetName() +
                   L"]";
    }
    return std::wstring();
}

class SortOrderTable : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        m_shlwapi = LoadLibraryW(L"shlwapi.dll");
        ASSERT_NE(nullptr, m_shlwapi);
        g_pfnStrCmpLogicalW = reinterpret_cast<StrCmpLogicalWProc>(
            reinterpret_cast<void*>(GetProcAddress(m_shlwapi, "StrCmpLogicalW")));
        ASSERT_NE(nullptr, g_pfnStrCmpLogicalW);
        g_USE_STR_CMP_LOGICAL_W = GetParam();
    }
    void TearDown() override
    {
        g_USE_STR_CMP_LOGICAL_W = m_savedSetting;
        g_pfnStrCmpLogicalW = m_savedProc;
    }
    HMODULE m_shlwapi = nullptr;
    int m_savedSetting = g_USE_STR_CMP_LOGICAL_W;
    StrCmpLogicalWProc m_savedProc = g_pfnStrCmpLogicalW;
};

TEST_P(SortOrderTable, EveryKeyAndDirectionAgreesWithTheNameComparison)
{
    std::vector<std::wstring> before = Names(MakeListing());
    std::sort(before.begin(), before.end());
    int settings = 0;
    for (int fileKey = SORT_KEY_NAME; fileKey <= SORT_KEY_NONE; ++fileKey)
        for (int secondKey = 0; secondKey <= 5; ++secondKey)
            for (int directoryKey : {0, 1, 2, 3, 4, 5})
                for (int directoryOrder : {0, 1})
                    for (int fileOrder : {0, 1})
                        for (int mix : {0, 1})
                        {
                            CSortSetting setting;
                            ResetSortSetting(setting);
                            setting.m_fileKey = fileKey;
                            setting.m_secondKey = secondKey;
                            setting.m_directoryKey = directoryKey;
                            setting.m_directoryOrder = directoryOrder;
                            setting.m_fileOrder = fileOrder;
                            setting.m_mixDirectories = mix;
                            CArrayFileInfo entries = MakeListing();
                            const int dots = SortFileEntries(entries, setting);
                            ++settings;

                            std::vector<std::wstring> after = Names(entries);
                            std::sort(after.begin(), after.end());
                            ASSERT_EQ(before, after) << "the sort lost or doubled an entry";
                            ASSERT_EQ(2, dots);
                            ASSERT_STREQ(L".", entries[0].GetName());
                            ASSERT_STREQ(L"..", entries[1].GetName());
                            INT_PTR directoryEnd = dots;
                            while (!mix && directoryEnd < entries.GetSize() &&
                                   entries[directoryEnd].IsDirectory())
                                ++directoryEnd;
                            SortKeys keys;
                            BuildSortKeysInto(setting, FALSE, keys);
                            const bool asFiles = keys.directoryKeys[0] == SORT_KEY_NONE;
                            std::wstring fault = CheckGroup(entries, dots, directoryEnd,
                                                            asFiles ? keys.fileKeys : keys.directoryKeys,
                                                            asFiles ? keys.fileOrder : keys.directoryOrder);
                            if (fault.empty())
                                fault = CheckGroup(entries, directoryEnd, entries.GetSize(), keys.fileKeys,
                                                   keys.fileOrder);
                            ASSERT_TRUE(fault.empty())
                                << fault << " keys " << fileKey << "/" << secondKey << "/" << directoryKey
                                << " orders " << directoryOrder << "/" << fileOrder << " mix " << mix;
                        }
    EXPECT_EQ(6 * 6 * 6 * 2 * 2 * 2, settings);
}

INSTANTIATE_TEST_SUITE_P(LocaleAndNaturalOrder, SortOrderTable, ::testing::Values(0, 1));

TEST(SortOrderKeys, ARenamedEntryIsSortedByItsNewName)
{
    // The keys an entry keeps from an earlier sort must not outlive its name.
    CArrayFileInfo entries;
    for (const wchar_t* name : {L"b.txt", L"c.txt", L"d.txt"})
        entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, L"C:\\dir", L"", MakeFindData(name, false), -1);
    CSortSetting setting;
    ResetSortSetting(setting);
    setting.m_fileKey = SORT_KEY_NAME;
    setting.m_secondKey = 0;
    SortFileEntries(entries, setting);
    CFileInfo& last = entries[2];
    last.SetFromFindData(last.m_source, last.m_owner, last.m_directory, last.m_realDirectory,
                         MakeFindData(L"a.txt", false), last.m_itemIndex);
    SortFileEntries(entries, setting);
    EXPECT_EQ(Names(entries), (std::vector<std::wstring>{L"a.txt", L"b.txt", L"c.txt"}));

    // A copied array sorts on its own keys after the original is gone.
    CArrayFileInfo* original = new CArrayFileInfo(entries);
    CArrayFileInfo copy(*original);
    delete original;
    setting.m_fileOrder = 1;
    SortFileEntries(copy, setting);
    EXPECT_EQ(Names(copy), (std::vector<std::wstring>{L"c.txt", L"b.txt", L"a.txt"}));
}

} // namespace
