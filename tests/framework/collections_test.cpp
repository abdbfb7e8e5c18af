#include <gtest/gtest.h>

#include "framework/FwCollections.h"
#include "framework/FwMemory.h"
#include "tests/common/TestHelpers.h"

#include <functional>
#include <ostream>
#include <vector>

// Readable failure messages.
inline void PrintTo(const CString& s, std::ostream* os)
{
    *os << '"' << CStringA(s).GetString() << '"';
}

namespace
{

using qvtest::ThrowsInvalidArg;

std::vector<CString> Contents(const CStringArray& a)
{
    return std::vector<CString>(a.GetData(), a.GetData() + a.GetSize());
}

TEST(CArrayGrowth, GrowsByGrowByElseAnEighthWithin4And1024)
{
    struct Case
    {
        INT_PTR startSize; // elements before, in a block of exactly that size
        INT_PTR growBy;    // given to SetSize before growing
        INT_PTR newSize;
        INT_PTR expectedAlloc;
    };
    const Case cases[] = {
        {0, 0, 1, 1},             // the first block is exactly as large as asked
        {0, 10, 1, 10},           // ... or as the grow-by count
        {1, 0, 2, 5},             // an eighth of 1 is below 4
        {39, 0, 40, 43},          // an eighth of 39 is still 4
        {100, 0, 101, 112},       // an eighth of 100 is 12
        {20000, 0, 20001, 21024}, // capped at 1024
        {10, 3, 11, 13},          // grow-by given
        {5, 0, 50, 50},           // a jump beyond the step takes the new size
        {64, 0, 60, 64},          // shrinking keeps the block
    };
    for (const auto& c : cases)
    {
        CDWordArray a;
        a.SetSize(c.startSize);
        a.FreeExtra();
        ASSERT_EQ(c.startSize, a.GetAllocSize());
        a.SetSize(c.startSize, c.growBy);
        a.SetSize(c.newSize);
        EXPECT_EQ(c.expectedAlloc, a.GetAllocSize()) << c.startSize << " -> " << c.newSize;
        EXPECT_EQ(c.newSize, a.GetSize());
    }

    // Adding one at a time: 1, then steps of 4 while the count is below 40.
    CUIntArray added;
    std::vector<INT_PTR> allocs;
    for (UINT i = 0; i < 48; ++i)
    {
        EXPECT_EQ(static_cast<INT_PTR>(i), added.Add(i));
        if (allocs.empty() || allocs.back() != added.GetAllocSize())
        {
            allocs.push_back(added.GetAllocSize());
        }
    }
    EXPECT_EQ((std::vector<INT_PTR>{1, 5, 9, 13, 17, 21, 25, 29, 33, 37, 41, 46, 51}), allocs);
    for (UINT i = 0; i < 48; ++i)
    {
        EXPECT_EQ(i, added[i]);
    }
    CDWordArray zeroed;
    zeroed.SetSize(3);
    EXPECT_EQ(0u, zeroed[0] | zeroed[1] | zeroed[2]);
}

TEST(CArrayGrowth, AddConstructedGrowsAsSetSizeWould)
{
    // Grow-by 3, then the automatic step from 0 on: 3, 6, 9, then an eighth within 4..1024.
    CStringArray a;
    std::vector<INT_PTR> allocs;
    for (int i = 0; i < 14; ++i)
    {
        const wchar_t text[] = {static_cast<wchar_t>(L'a' + i), L'!', 0};
        EXPECT_EQ(i, a.AddConstructed(i == 0 ? 3 : i == 9 ? 0 : -1, text, 1));
        if (allocs.empty() || allocs.back() != a.GetAllocSize())
            allocs.push_back(a.GetAllocSize());
    }
    EXPECT_EQ((std::vector<INT_PTR>{3, 6, 9, 13, 17}), allocs);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(CString(static_cast<wchar_t>(L'a' + i)), a[i]);
}

TEST(CArrayGrowth, LargeBlocksGrowWhereTheyLie)
{
    // Past 256 KB the block stays where it is while it grows and shrinks.
    CDWordArray numbers;
    for (DWORD i = 0; i < 300000; ++i)
        numbers.Add(i);
    const DWORD* before = numbers.GetData();
    ASSERT_GE(numbers.GetAllocSize() * sizeof(DWORD), fw_detail::kArrayReserveFrom);
    for (DWORD i = 300000; i < 3000000; ++i)
        numbers.Add(i);
    EXPECT_EQ(before, numbers.GetData());
    numbers.SetSize(400000);
    numbers.FreeExtra();
    EXPECT_EQ(before, numbers.GetData());
    EXPECT_EQ(400000, numbers.GetAllocSize());
    for (DWORD i = 0; i < 400000; ++i)
        ASSERT_EQ(i, numbers[i]);

    // Elements of any kind survive the move between small and large blocks.
    CStringArray names;
    for (int i = 0; i < 140000; ++i)
        names.Add(CString(static_cast<wchar_t>(L'A' + i % 26), 1 + i % 3));
    names.SetSize(1000);
    names.FreeExtra();
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(CString(static_cast<wchar_t>(L'A' + i % 26), 1 + i % 3), names[i]) << i;
}

TEST(CArrayAccess, OutOfRangeThrowsAndLeavesTheArray)
{
    CStringArray a;
    a.Add(L"x");
    a.Add(L"y");
    const std::function<void()> actions[] = {
        [&] { a.GetAt(-1); },
        [&] { a.GetAt(2); },
        [&] { a[2]; },
        [&] { a.ElementAt(-1); },
        [&] { a.SetAt(2, L"z"); },
        [&] { static_cast<const CStringArray&>(a)[5]; },
        [&] { a.RemoveAt(2); },
        [&] { a.RemoveAt(1, 2); },
        [&] { a.RemoveAt(-1); },
        [&] { a.InsertAt(-1, L"z"); },
        [&] { a.SetSize(-1); },
        [&] { a.SetAtGrow(-1, L"z"); },
    };
    for (size_t i = 0; i < sizeof(actions) / sizeof(actions[0]); ++i)
    {
        EXPECT_TRUE(ThrowsInvalidArg(actions[i])) << "action " << i;
    }
    EXPECT_EQ((std::vector<CString>{L"x", L"y"}), Contents(a));
}

TEST(CArrayEdit, InsertAtAndRemoveAtMoveTheElements)
{
    CStringArray a;
    a.Add(L"a");
    a.Add(L"b");
    a.Add(L"c");
    a.InsertAt(1, L"x", 2);
    EXPECT_EQ((std::vector<CString>{L"a", L"x", L"x", L"b", L"c"}), Contents(a));
    a.InsertAt(7, L"z"); // beyond the end: grows with empty strings up to it
    EXPECT_EQ((std::vector<CString>{L"a", L"x", L"x", L"b", L"c", L"", L"", L"z"}), Contents(a));
    a.RemoveAt(5, 2);
    a.RemoveAt(1, 2);
    EXPECT_EQ((std::vector<CString>{L"a", L"b", L"c", L"z"}), Contents(a));

    CStringArray other;
    other.Add(L"1");
    other.Add(L"2");
    a.InsertAt(1, &other);
    EXPECT_EQ((std::vector<CString>{L"a", L"1", L"2", L"b", L"c", L"z"}), Contents(a));
    a.InsertAt(0, &a);
    EXPECT_EQ(12, a.GetSize());
    a.RemoveAt(6, 6);

    // An element of the array itself, while the array reallocates.
    a.FreeExtra();
    a.InsertAt(0, a[5]);
    a.FreeExtra();
    a.Add(a[0]);
    a.SetAtGrow(8, a[1]);
    EXPECT_EQ((std::vector<CString>{L"z", L"a", L"1", L"2", L"b", L"c", L"z", L"z", L"a"}), Contents(a));
    a.SetAt(7, L"seven");
    a.ElementAt(6) += L"!";
    EXPECT_EQ(L"seven", a.GetAt(7));
    EXPECT_EQ(L"z!", a[6]);
    EXPECT_EQ(8, a.GetUpperBound());
}

TEST(CArrayValue, CopiesAreIndependent)
{
    CStringArray a;
    a.Add(L"one");
    a.Add(L"two");
    CStringArray b = a;
    b[0] = L"changed";
    b.Add(L"three");
    EXPECT_EQ((std::vector<CString>{L"one", L"two"}), Contents(a));
    CStringArray c;
    c.Copy(b);
    EXPECT_EQ(3, c.Append(a));
    EXPECT_EQ((std::vector<CString>{L"changed", L"two", L"three", L"one", L"two"}), Contents(c));
    EXPECT_EQ(2, a.Append(a));
    EXPECT_EQ((std::vector<CString>{L"one", L"two", L"one", L"two"}), Contents(a));
    c.RemoveAll();
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_EQ(0, c.GetAllocSize());

    CPtrArray pointers;
    int value = 0;
    pointers.Add(&value);
    EXPECT_EQ(&value, pointers[0]);
}

std::vector<std::pair<CString, CString>> Iterate(const CMapStringToString& map)
{
    std::vector<std::pair<CString, CString>> seen;
    POSITION pos = map.GetStartPosition();
    while (pos)
    {
        CString key, value;
        map.GetNextAssoc(pos, key, value);
        seen.emplace_back(key, value);
    }
    return seen;
}

// Mapping pages in ahead changes nothing a program can see: the bytes stay, the pages
// stay writable, and a reserved part past the committed one stays reserved, whether the
// range is smaller or larger than one lock step, starts inside a page or ends unaligned.
TEST(FwPrefaultPages, LeavesContentsProtectionAndReservationAsTheyWere)
{
    const size_t kPage = 4096;
    const size_t kCommitted = size_t(9) << 20; // more than two lock steps
    const size_t kReserved = kCommitted + (size_t(1) << 20);
    BYTE* block = static_cast<BYTE*>(VirtualAlloc(nullptr, kReserved, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(block, nullptr);
    ASSERT_NE(VirtualAlloc(block, kCommitted, MEM_COMMIT, PAGE_READWRITE), nullptr);
    for (size_t i = 0; i < kCommitted; i += kPage / 2)
        block[i] = static_cast<BYTE>(i / kPage + 1);
    struct Case
    {
        const char* name;
        size_t start;
        size_t bytes;
    } cases[] = {
        {"one page", 0, kPage},
        {"inside a page, unaligned end", 100, 3 * kPage + 17},
        {"more than a lock step", kPage, kCommitted - 2 * kPage},
        {"into the reserved part", kCommitted - 8 * kPage, 16 * kPage},
        {"nothing", 5, 0},
    };
    for (const Case& c : cases)
    {
        FwPrefaultPages(block + c.start, c.bytes);
        for (size_t i = 0; i < kCommitted; i += kPage / 2)
            ASSERT_EQ(block[i], static_cast<BYTE>(i / kPage + 1)) << c.name << ": byte " << i;
        MEMORY_BASIC_INFORMATION committed = {}, reserved = {};
        ASSERT_NE(VirtualQuery(block, &committed, sizeof committed), 0u);
        EXPECT_EQ(committed.State, static_cast<DWORD>(MEM_COMMIT)) << c.name;
        EXPECT_EQ(committed.Protect, static_cast<DWORD>(PAGE_READWRITE)) << c.name;
        EXPECT_EQ(committed.RegionSize, kCommitted) << c.name;
        ASSERT_NE(VirtualQuery(block + kCommitted, &reserved, sizeof reserved), 0u);
        EXPECT_EQ(reserved.State, static_cast<DWORD>(MEM_RESERVE)) << c.name;
    }
    block[kCommitted - 1] = 0xAB; // still writable to its last byte
    EXPECT_EQ(block[kCommitted - 1], 0xAB);
    VirtualFree(block, 0, MEM_RELEASE);
}

TEST(CMapStringToString, InsertionOrderLookupAndRemove)
{
    CMapStringToString map;
    EXPECT_EQ(nullptr, map.GetStartPosition());
    map.SetAt(L"zeta", L"1");
    map.SetAt(L"Alpha", L"2");
    map.SetAt(L"alpha", L"3"); // keys are case-sensitive
    map[L"mid"] = L"4";
    map.SetAt(L"zeta", L"5"); // keeps its place
    using Pairs = std::vector<std::pair<CString, CString>>;
    EXPECT_EQ((Pairs{{L"zeta", L"5"}, {L"Alpha", L"2"}, {L"alpha", L"3"}, {L"mid", L"4"}}), Iterate(map));

    CString value = L"untouched";
    EXPECT_FALSE(map.Lookup(L"ALPHA", value));
    EXPECT_EQ(L"untouched", value);
    EXPECT_TRUE(map.Lookup(L"alpha", value));
    EXPECT_EQ(L"3", value);

    // Removing the entry just returned while iterating.
    POSITION pos = map.GetStartPosition();
    CString key;
    while (pos)
    {
        map.GetNextAssoc(pos, key, value);
        if (key == L"Alpha")
        {
            EXPECT_TRUE(map.RemoveKey(key));
        }
    }
    EXPECT_FALSE(map.RemoveKey(L"Alpha"));
    map.SetAt(L"Alpha", L"6"); // re-added: now last
    EXPECT_EQ((Pairs{{L"zeta", L"5"}, {L"alpha", L"3"}, {L"mid", L"4"}, {L"Alpha", L"6"}}), Iterate(map));
    EXPECT_EQ(4, map.GetCount());

    CMapStringToString copy = map;
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(4, copy.GetCount());
}

TEST(CMapStringToString, ManyKeysKeepOrderThroughRehashing)
{
    CMapStringToString map;
    for (int i = 0; i < 2000; ++i)
    {
        CString key;
        key.Format(L"key%d", i);
        map[key].Format(L"%d", i * 2);
    }
    for (int i = 0; i < 2000; i += 2)
    {
        CString key;
        key.Format(L"key%d", i);
        ASSERT_TRUE(map.RemoveKey(key));
    }
    auto seen = Iterate(map);
    ASSERT_EQ(1000u, seen.size());
    for (int n = 0; n < 1000; ++n)
    {
        CString expectedKey, expectedValue;
        expectedKey.Format(L"key%d", 2 * n + 1);
        expectedValue.Format(L"%d", (2 * n + 1) * 2);
        EXPECT_EQ(expectedKey, seen[n].first);
        EXPECT_EQ(expectedValue, seen[n].second);
    }
    CString value;
    EXPECT_TRUE(map.Lookup(L"key1999", value));
    EXPECT_FALSE(map.Lookup(L"key1998", value));
}

} // namespace
