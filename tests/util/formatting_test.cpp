// Value formatting, parsing and wildcard matching.
#include "util/Formatting.h"
#include "util/Wildcard.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

using qvtest::W;

} // namespace

TEST(FormatSizeShort, KeepsFiveColumnsAndCutsTheTenth)
{
    struct Case
    {
        LONGLONG bytes;
        BOOL unit;
        const wchar_t* expected;
    } cases[] = {
        {0, FALSE, L"    0"},
        {999, FALSE, L"  999"},
        {999, TRUE, L"  999B"},
        {1000, TRUE, L"  1.0K"},
        {1999, FALSE, L"  1.9K"}, // cut, not rounded
        {999999, FALSE, L"999.9K"},
        {1000000, FALSE, L"  1.0M"},
        {999999999, FALSE, L"999.9M"},
        {1000000000, FALSE, L"  1.0G"},
        {5000000000000LL, FALSE, L"5000.0G"}, // beyond 32 bits
    };
    for (const Case& c : cases)
    {
        CString out;
        FormatSizeShort(c.bytes, out, c.unit);
        EXPECT_EQ(W(out), c.expected) << c.bytes;
    }
}

TEST(FormatNumberWithSeparators, GroupsDigitsAndRaisesTheWidth)
{
    struct Case
    {
        ULONGLONG value;
        int width;
        const wchar_t* expected;
        int widthAfter;
    } cases[] = {
        {0, 0, L"0", 1},
        {999, 0, L"999", 3},
        {1000, 0, L"1,000", 5},
        {1234567, 0, L"1,234,567", 9},
        {1234567, 12, L"   1,234,567", 12},
        {18446744073709551615ULL, 0, L"18,446,744,073,709,551,615", 26},
    };
    for (const Case& c : cases)
    {
        CString out;
        int width = c.width;
        FormatNumberWithSeparators(c.value, out, width);
        EXPECT_EQ(W(out), c.expected) << c.value;
        EXPECT_EQ(width, c.widthAfter) << c.value;
    }
}

TEST(ParseHexNumber, TakesAtMostEightDigits)
{
    struct Case
    {
        const wchar_t* text;
        BOOL allowMinus;
        int result;
        int value;
    } cases[] = {
        {L"7FFFFFFF", FALSE, 1, 2147483647},
        {L"7fffffff", FALSE, 1, 2147483647},
        {L"-7FFFFFFF", TRUE, 1, -2147483647},
        {L"-10", FALSE, 0, 0},
        {L"FFFFFFFF", FALSE, 1, -1},
        {L"100000000", FALSE, 0, 0}, // nine digits would lose the top one
        {L"-100000000", TRUE, 0, 0}, // ten characters
        {L"12G4", FALSE, 0, 0},
        {L"", FALSE, 0, 0},
        {L"-", TRUE, 0, 0},
        {L"1-2", TRUE, 0, 0},
    };
    for (const Case& c : cases)
    {
        int value = 12345;
        EXPECT_EQ(ParseHexNumber(c.text, value, c.allowMinus), c.result) << c.text;
        EXPECT_EQ(value, c.result ? c.value : 12345) << c.text;
    }
}

TEST(ParseSearchBytes, ConvertsEachKindWithinItsRangeAndCapacity)
{
    struct Case
    {
        const wchar_t* text;
        int kind;
        BOOL isSigned;
        int capacity;
        int result;
        std::vector<BYTE> bytes;
    } cases[] = {
        {L"0a1B", 1, FALSE, 16, 1, {0x0A, 0x1B}},
        {L"0a1", 1, FALSE, 16, 0, {}},
        {L"0g", 1, FALSE, 16, 0, {}},
        {L"0a1B", 1, FALSE, 1, 0, {}},
        {L"-129", 2, TRUE, 16, 0, {}},
        {L"-128", 2, TRUE, 16, 1, {0x80}},
        {L"127", 2, TRUE, 16, 1, {0x7F}},
        {L"128", 2, TRUE, 16, 0, {}},
        {L"255", 2, FALSE, 16, 1, {0xFF}},
        {L"-1", 2, FALSE, 16, 0, {}},
        {L"65535", 3, FALSE, 16, 1, {0xFF, 0xFF}},
        {L"65536", 3, FALSE, 16, 0, {}},
        {L"-32768", 3, TRUE, 16, 1, {0x00, 0x80}},
        {L"99999999999999999999", 3, FALSE, 16, 0, {}},
        {L"4294967297", 4, FALSE, 16, 1, {0x01, 0x00, 0x00, 0x00}}, // modulo 2^32
        {L"-1", 4, TRUE, 16, 1, {0xFF, 0xFF, 0xFF, 0xFF}},
        {L"12a", 4, FALSE, 16, 0, {}},
        {L"", 2, FALSE, 16, 0, {}},
        {L"AB", 0, FALSE, 16, 1, {'A', 'B', 0}},
        {L"\x3042", 0, FALSE, 16, 1, {0x82, 0xA0, 0}}, // code page 932
        {L"ABCD", 0, FALSE, 4, 0, {}},                 // the NUL does not fit
        {L"ABCD", 0, FALSE, 5, 1, {'A', 'B', 'C', 'D', 0}},
        {L"1", 9, FALSE, 16, 1, {}},
    };
    for (const Case& c : cases)
    {
        BYTE buffer[20];
        memset(buffer, 0xCC, sizeof(buffer));
        int count = -1;
        EXPECT_EQ(ParseSearchBytes(c.text, buffer, c.capacity, count, c.kind, c.isSigned), c.result)
            << "kind " << c.kind << " " << std::wstring(c.text).size();
        if (c.result)
        {
            EXPECT_EQ(std::vector<BYTE>(buffer, buffer + count), c.bytes) << "kind " << c.kind;
        }
        else
        {
            EXPECT_EQ(count, 0);
        }
        EXPECT_EQ(buffer[c.capacity], 0xCC) << "written past the capacity";
    }
}

TEST(ParseDateText, ReadsEightDigitsOrSlashedParts)
{
    struct Case
    {
        const wchar_t* text;
        int result;
        WORD year, month, day;
    } cases[] = {
        {L"20260308", 1, 2026, 3, 8}, {L"2026/3/8", 1, 2026, 3, 8},     {L"2026/03/08", 1, 2026, 3, 8},
        {L"16000101", 0, 0, 0, 0},    {L"1601/1/1", 1, 1601, 1, 1},     {L"2026/13/1", 0, 0, 0, 0},
        {L"2026/12/32", 0, 0, 0, 0},  {L"2026/0/1", 0, 0, 0, 0},        {L"2026/3/8/1", 0, 0, 0, 0},
        {L"2026/3", 0, 0, 0, 0},      {L"2026-3-8", 0, 0, 0, 0},        {L"2026038", 0, 0, 0, 0},
        {L"2026a308", 0, 0, 0, 0},    {L"99999999999/1/1", 0, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        SYSTEMTIME st = {};
        EXPECT_EQ(ParseDateText(c.text, st), c.result) << c.text;
        if (c.result)
        {
            EXPECT_EQ(st.wYear, c.year);
            EXPECT_EQ(st.wMonth, c.month);
            EXPECT_EQ(st.wDay, c.day);
        }
    }
}

TEST(MatchFileNameWildcard, MatchesBaseAndExtensionSeparately)
{
    struct Case
    {
        const wchar_t* name;
        const wchar_t* pattern;
        BOOL result;
    } cases[] = {
        {L"a.txt", L"*.TXT", TRUE},
        {L"a.txt", L"?.T*", TRUE},
        {L"ab.txt", L"?.T*", FALSE},
        {L"README", L"*.", TRUE},
        {L"a.txt", L"*.", FALSE},
        {L"README", L"*.TXT", FALSE},
        {L"anything.at.all", L"*", TRUE},
        {L"noext", L"*.*", TRUE},
        {L"a.b.txt", L"A.B.TXT", TRUE}, // split at the last dot of each
        {L"report2026.doc", L"REPORT*6.DOC", TRUE},
        {L"report2026.doc", L"REPORT*7.DOC", FALSE},
        {L"a?b.txt", L"A*?B.TXT", TRUE}, // the character after '*' is literal
        {L"axb.txt", L"A*?B.TXT", FALSE},
        {L"abc.txt", L"ABC?.TXT", FALSE}, // '?' needs a character
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchFileNameWildcard(c.name, c.pattern), c.result) << c.name << L" " << c.pattern;
}

TEST(CompactWildcardPattern, ReducesStarRunsAndUpperCases)
{
    struct Case
    {
        const wchar_t* pattern;
        const wchar_t* expected;
    } cases[] = {
        {L"a?*?b", L"A*B"},
        {L"**.txt", L"*.TXT"},
        {L"??x", L"??X"},
        {L"", L""},
    };
    for (const Case& c : cases)
    {
        CString out = L">";
        CompactWildcardPattern(c.pattern, out);
        EXPECT_EQ(W(out), std::wstring(L">") + c.expected);
    }
}

TEST(CountAnsiChars, CountsDoubleByteCharactersOnce)
{
    struct Case
    {
        const char* text;
        int expected;
    } cases[] = {
        {"", 0},
        {"abc", 3},
        {"\x82\xA0\x82\xA2", 2}, // two hiragana in code page 932
        {"a\x8A\xBF"
         "b",
         3},             // a kanji between two letters
        {"\xB1\xB2", 2}, // half-width katakana are single bytes
        {"\x82", 1},     // a lead byte cut off at the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(CountAnsiChars(c.text), c.expected) << c.text;
}
