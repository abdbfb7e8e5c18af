// Name keys compared as bytes give the order of CompareNamesForSort, in both of its
// orders, on names that stress it.
#include "app/NameSortKey.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

// Letter case, full and half width, hiragana and katakana, voiced marks, digits,
// combining marks, leading dots, punctuation and empty text.
const wchar_t* const kNames[] = {
    L"",
    L"a",
    L"A",
    L"\uFF41",
    L"\uFF21",
    L"b",
    L"B",
    L"ab",
    L"aB",
    L"a b",
    L"a-b",
    L"a_b",
    L"a'b",
    L"a.b",
    L".a",
    L"..a",
    L".A",
    L"a9",
    L"a10",
    L"a09",
    L"a010",
    L"A10",
    L"a1b",
    L"a1B",
    L"a01b",
    L"9",
    L"10",
    L"\uFF11\uFF10",
    L"\uFF19",
    L"x2y10",
    L"x2y9",
    L"x10y2",
    L"\u3042",
    L"\u30A2",
    L"\uFF71",
    L"\u304B",
    L"\u304C",
    L"\u30AB",
    L"\u30AC",
    L"\uFF76\uFF9E",
    L"\uFF76",
    L"\u30F5",
    L"e",
    L"\u00E9",
    L"e\u0301",
    L"E\u0301",
    L"\u00C9",
    L"\u6F22\u5B57",
    L"\u5B57",
    L"\u2460",
    L"\u00DF",
    L"ss",
    L"\u00E6",
    L"ae",
    L"co-op",
    L"coop",
    L"\u30FC",
    L"\uFF70",
    L"~a",
    L"[a",
    L"name00012345",
    L"name12345",
    L"name99999999999",
    L"name100000000000",
    L"n4294967296",
    L"n0",
    L"n2147483648",
    L"n2147483647",
    L"\u3000a",
    L" a",
};

int Sign(int three)
{
    return three == CSTR_LESS_THAN ? -1 : (three == CSTR_EQUAL ? 0 : 1);
}

std::vector<BYTE> Key(int kind, const wchar_t* name)
{
    std::vector<BYTE> key(8192);
    int length = MakeNameSortKey(kind, name, -1, key.data(), static_cast<int>(key.size()));
    key.resize(static_cast<size_t>(length));
    return key;
}

class NameSortKey : public ::testing::Test
{
protected:
    void TearDown() override
    {
        g_USE_STR_CMP_LOGICAL_W = 0;
        g_pfnStrCmpLogicalW = m_saved;
    }
    StrCmpLogicalWProc m_saved = g_pfnStrCmpLogicalW;
};

TEST_F(NameSortKey, KeysOrderEveryPairAsTheNameComparisonDoes)
{
    HMODULE shlwapi = LoadLibraryW(L"shlwapi.dll");
    ASSERT_NE(nullptr, shlwapi);
    auto logical = reinterpret_cast<StrCmpLogicalWProc>(
        reinterpret_cast<void*>(GetProcAddress(shlwapi, "StrCmpLogicalW")));
    ASSERT_NE(nullptr, logical);
    g_pfnStrCmpLogicalW = logical;
    for (int on : {0, 1})
    {
        g_USE_STR_CMP_LOGICAL_W = on;
        const int kind = GetNameSortKeyKind();
        if (on)
            ASSERT_NE(NAME_KEY_NONE, kind) << "no form of key gives this system's natural order";
        else
            EXPECT_EQ(NAME_KEY_LOCALE, kind);
        std::vector<std::vector<BYTE>> keys;
        for (const wchar_t* name : kNames)
        {
            keys.push_back(Key(kind, name));
            ASSERT_FALSE(keys.back().empty()) << on << " [" << name << "]";
        }
        for (size_t i = 0; i < keys.size(); ++i)
        {
            for (size_t j = 0; j < keys.size(); ++j)
            {
                int byKeys = CompareNameSortKeys(keys[i].data(), static_cast<int>(keys[i].size()),
                                                 keys[j].data(), static_cast<int>(keys[j].size()));
                EXPECT_EQ(Sign(CompareNamesForSort(kNames[i], kNames[j])), Sign(byKeys))
                    << "logical " << on << ": [" << kNames[i] << "] [" << kNames[j] << "]";
            }
        }
    }
}

// The order found from the characters alone is the keys' order for every pair of
// plain ASCII names, and no order at all when a name has another character.
TEST_F(NameSortKey, NamesComparedWithoutKeysOrderAsTheirLocaleKeys)
{
    std::vector<std::wstring> names;
    for (const wchar_t* name : kNames)
        names.push_back(name);
    // Every printable ASCII character, alone and after a common stem.
    for (wchar_t c = 0x20; c < 0x7F; ++c)
    {
        names.push_back(std::wstring(1, c));
        names.push_back(std::wstring(L"ab") + c);
    }
    int compared = 0;
    for (const std::wstring& a : names)
    {
        const std::vector<BYTE> aKey = Key(NAME_KEY_LOCALE, a.c_str());
        for (const std::wstring& b : names)
        {
            const int direct = CompareNamesByLocaleKeys(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                                        static_cast<int>(b.size()));
            bool ascii = true;
            for (wchar_t c : a + b)
                ascii = ascii && c < 0x80;
            if (!ascii)
            {
                EXPECT_EQ(0, direct) << "[" << a << "] [" << b << "]";
                continue;
            }
            if (direct == 0)
                continue; // a character whose key the system makes alone
            const std::vector<BYTE> bKey = Key(NAME_KEY_LOCALE, b.c_str());
            ++compared;
            EXPECT_EQ(Sign(CompareNameSortKeys(aKey.data(), static_cast<int>(aKey.size()), bKey.data(),
                                               static_cast<int>(bKey.size()))),
                      Sign(direct))
                << "[" << a << "] [" << b << "]";
        }
    }
    // Letters, digits and the usual marks are all put together here.
    EXPECT_GT(compared, 20000);
}

TEST_F(NameSortKey, PartOfANameHasTheKeyOfThatText)
{
    // The sort keys a base name cut from a longer buffer: a length limits the name.
    for (int kind = NAME_KEY_LOCALE; kind <= NAME_KEY_LOGICAL_CHARACTERS_WRAPPED; ++kind)
    {
        BYTE cut[256], whole[256];
        int cutLength = MakeNameSortKey(kind, L"file10.txt", 6, cut, sizeof cut);
        int wholeLength = MakeNameSortKey(kind, L"file10", -1, whole, sizeof whole);
        ASSERT_GT(cutLength, 0);
        EXPECT_EQ(std::vector<BYTE>(whole, whole + wholeLength), std::vector<BYTE>(cut, cut + cutLength));
        EXPECT_EQ(0, MakeNameSortKey(kind, L"file10", -1, whole, 3)) << "a buffer too small makes no key";
    }
}

TEST_F(NameSortKey, LocaleKeysAreTheSystemsOwnKeys)
{
    // Names of plain characters get their keys put together without the system: the
    // bytes must be the system's.
    const wchar_t* names[] = {L"file000123", L"Makefile",   L"a b-c_d.e~f",
                              L"x",          L"ABCxyz0189", L"{[(<'!\"#$%&*+,/:;=?@\\^`|>)]}",
                              L"co-op",      L"a\u00E9",    L"\u3042a"};
    for (const wchar_t* name : names)
    {
        BYTE system[512];
        int systemLength = LCMapStringW(LOCALE_SYSTEM_DEFAULT,
                                        LCMAP_SORTKEY | NORM_IGNORECASE | NORM_IGNORENONSPACE |
                                            NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH,
                                        name, -1, reinterpret_cast<LPWSTR>(system), sizeof system);
        ASSERT_GT(systemLength, 0) << name;
        std::vector<BYTE> ours = Key(NAME_KEY_LOCALE, name);
        EXPECT_EQ(std::vector<BYTE>(system, system + systemLength), ours) << name;
    }
}

} // namespace
