#include "fs/ArcString.h"

#include <gtest/gtest.h>
#include <cstring>

namespace
{

struct GrowthCase
{
    uint32_t count;
    bool oneByOne;
    uint32_t capacity;
};

TEST(UStringTest, GrowsByHalfRoundedUpTo15Mod16)
{
    const GrowthCase cases[] = {{4, true, 15}, {10, false, 15}, {20, false, 31}, {16, true, 31}};
    for (const GrowthCase& c : cases)
    {
        UString s;
        EXPECT_EQ(s.Capacity(), 3u);
        std::wstring text(c.count, L'x');
        if (c.oneByOne)
            for (wchar_t ch : text)
                s.AppendChar(ch);
        else
            s.Append(text.c_str());
        EXPECT_EQ(s.Capacity(), c.capacity) << c.count;
        EXPECT_STREQ(s.Chars(), text.c_str());
    }
}

TEST(UStringTest, AssignmentReusesTheBlockAndIgnoresItself)
{
    UString s(L"a rather long text");
    uint32_t capacity = s.Capacity();
    s.Assign(L"ab");
    EXPECT_EQ(s.Capacity(), capacity);
    EXPECT_STREQ(s.Chars(), L"ab");
    const UString& same = s;
    s = same;
    EXPECT_STREQ(s.Chars(), L"ab");
    EXPECT_EQ(s.Length(), 2u);
}

TEST(UStringTest, AppendingItselfSurvivesGrowth)
{
    UString s(L"abc");
    s.Append(s);
    EXPECT_STREQ(s.Chars(), L"abcabc");
    s.InsertChars(1, s.CharsAt(3));
    EXPECT_STREQ(s.Chars(), L"aabcbcabc");
}

TEST(UStringTest, EditsClampAtTheEnd)
{
    UString s(L"abcdef");
    EXPECT_EQ(s.Erase(2, 100), 2u);
    EXPECT_STREQ(s.Chars(), L"ab");
    s.InsertChars(1, L"");
    EXPECT_STREQ(s.Chars(), L"ab");
    s.InsertChars(40, L"cd");
    EXPECT_STREQ(s.Chars(), L"abcd");
    s.Erase(2, 2);
    EXPECT_EQ(s.Erase(5, 1), 2u);
    EXPECT_STREQ(UString(L"abc").Substring(1, 10).Chars(), L"bc");
    EXPECT_STREQ(UString::FromLeftChars(L"ab", 5).Chars(), L"ab");
}

TEST(UStringTest, TrimTrailingBlanksKeepsCarriageReturn)
{
    const struct
    {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {{L"a \t\n", L"a"}, {L"a\r", L"a\r"}, {L"a \r", L"a \r"}, {L" \t", L""}};
    for (const auto& c : cases)
    {
        UString s(c.in);
        s.TrimTrailingBlanks();
        EXPECT_STREQ(s.Chars(), c.out);
    }
}

TEST(UStringTest, ThrowsOverTheLimitAndStaysUnchanged)
{
    UString wide(L"keep");
    try
    {
        wide.ReserveDiscarding(0x40000000);
        FAIL() << "no exception";
    }
    catch (int code)
    {
        EXPECT_EQ(code, 20130221);
    }
    EXPECT_STREQ(wide.Chars(), L"keep");
    EXPECT_THROW(wide.GetWriteBuffer(0x40000000), int);

    CNarrowString narrow("keep");
    try
    {
        narrow.GetWriteBuffer(0x40000000);
        FAIL() << "no exception";
    }
    catch (int code)
    {
        EXPECT_EQ(code, 20130220);
    }
    EXPECT_STREQ(narrow.Chars(), "keep");
}

TEST(NumberFormatTest, FormatsDecimal)
{
    wchar_t buffer[32];
    FormatInt64Decimal(INT64_MIN, buffer);
    EXPECT_STREQ(buffer, L"-9223372036854775808");
    FormatUInt64Decimal(UINT64_MAX, buffer);
    EXPECT_STREQ(buffer, L"18446744073709551615");
    wchar_t* end = FormatUInt32Decimal(0, buffer);
    EXPECT_STREQ(buffer, L"0");
    EXPECT_EQ(end, buffer + 1);
}

TEST(NumberFormatTest, ParsesDecimalWithEndPointer)
{
    const struct
    {
        const wchar_t* text;
        uint64_t value;
        int endIndex;
    } cases[] = {
        {L"18446744073709551615x", UINT64_MAX, 20},
        {L"18446744073709551616", 0, 0},
        {L"99999999999999999999", 0, 0},
        {L"-1", 0, 0},
        {L"", 0, 0},
        {L"0123 4", 123, 4},
    };
    for (const auto& c : cases)
    {
        const wchar_t* end = nullptr;
        EXPECT_EQ(ParseUInt64Decimal(c.text, &end), c.value) << c.text;
        EXPECT_EQ(end - c.text, c.endIndex) << c.text;
    }
    EXPECT_EQ(ParseUInt64Decimal(L"42", nullptr), 42u);
}

TEST(CodePageTest, ConvertsAndReplacesUnmappable)
{
    UString hiragana(L"a\x3042");
    EXPECT_STREQ(WideToNarrow(hiragana, 1252).Chars(), "a_");
    EXPECT_STREQ(WideToNarrow(hiragana, CP_UTF8).Chars(), "a\xE3\x81\x82");
    bool defaultUsed = false;
    WideToNarrowWithFlag(hiragana, 1252, defaultUsed);
    EXPECT_TRUE(defaultUsed);

    EXPECT_STREQ(NarrowToWide(CNarrowString("\x82\xA0z"), 932).Chars(), L"\x3042z");
    EXPECT_TRUE(NarrowToWide(CNarrowString(""), 932).IsEmpty());
    try
    {
        NarrowToWide(CNarrowString("abc"), 12345);
        FAIL() << "no exception";
    }
    catch (int code)
    {
        EXPECT_EQ(code, 282228);
    }
}

TEST(NameOrderTest, ComparesFoldedAboveAscii)
{
    EXPECT_LT(ComparePathNames(L"abc", L"ABD"), 0);
    EXPECT_GT(ComparePathNames(L"ABD", L"abc"), 0);
    EXPECT_EQ(ComparePathNames(L"\x00E4x", L"\x00C4X"), 0);
    EXPECT_LT(ComparePathNames(L"ab", L"abc"), 0);
    EXPECT_TRUE(UString(L"\x00E4\x00DF").EqualsNoCase(L"\x00C4\x00DF"));
    // ASCII folding stops at 128.
    EXPECT_FALSE(WideEqualsAsciiNoCase(L"\x00E4", "\xC4"));
    EXPECT_TRUE(UString(L"::$Data").EqualsAsciiNoCase("::$DATA"));
    EXPECT_TRUE(UString(L"PhysicalDrive").StartsWithAsciiNoCase("phys"));
}

} // namespace
