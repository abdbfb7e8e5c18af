// The EUC-JP and JIS converters, cell by cell, against the system's own EUC-JP
// conversion: every row of the 94 x 94 table, the row 0xDE included.
#include "viewers/text/ViewDataThread.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// What the system makes of one EUC-JP cell in Shift_JIS; empty when it has no
// character there.
std::string SystemCell(BYTE c1, BYTE c2)
{
    char euc[2] = {static_cast<char>(c1), static_cast<char>(c2)};
    WCHAR wide[4];
    int n = MultiByteToWideChar(20932, MB_ERR_INVALID_CHARS, euc, 2, wide, 4);
    if (n != 1 || wide[0] == 0x30FB || (wide[0] >= 0xE000 && wide[0] < 0xF900))
        return {};
    char out[4];
    BOOL lossy = FALSE;
    int m = WideCharToMultiByte(932, 0, wide, 1, out, 4, nullptr, &lossy);
    if (m != 2 || lossy)
        return {};
    return std::string(out, 2);
}

class ViewerConvert : public ::testing::Test
{
protected:
    ViewerTextData data;
    CViewDataThread loader{data, nullptr, 0, 8, 80};
};

TEST_F(ViewerConvert, EucAndJisRowsMatchTheSystem)
{
    int compared = 0;
    int comparedDe = 0;
    for (int c1 = 0xA1; c1 <= 0xFE; ++c1)
    {
        for (int c2 = 0xA1; c2 <= 0xFE; ++c2)
        {
            std::string expected = SystemCell(static_cast<BYTE>(c1), static_cast<BYTE>(c2));
            if (expected.empty())
                continue;
            ++compared;
            comparedDe += c1 == 0xDE;
            BYTE euc[2] = {static_cast<BYTE>(c1), static_cast<BYTE>(c2)};
            BYTE out[8] = {};
            ASSERT_EQ(loader.ConvertEuc(euc, out, 2, nullptr), 2);
            ASSERT_EQ(std::string(reinterpret_cast<char*>(out), 2), expected)
                << "EUC " << std::hex << c1 << " " << c2;

            BYTE jis[8] = {0x1B, '$', 'B', static_cast<BYTE>(c1 - 0x80), static_cast<BYTE>(c2 - 0x80),
                           0x1B, '(', 'B'};
            BOOL error = FALSE;
            ASSERT_EQ(loader.ConvertJis(jis, out, 8, &error), 2);
            EXPECT_FALSE(error);
            ASSERT_EQ(std::string(reinterpret_cast<char*>(out), 2), expected)
                << "JIS " << std::hex << c1 - 0x80 << " " << c2 - 0x80;
        }
    }
    EXPECT_GT(compared, 6000);
    EXPECT_EQ(comparedDe, 94);
}

struct JisCase
{
    const char* name;
    std::string in;
    std::string out;
    bool error;
};

TEST_F(ViewerConvert, JisEscapes)
{
    const JisCase cases[] = {
        {"ESC ( B returns to ASCII", "\x1B$B$\"\x1B(Bab\r\n",
         "\x82\xA0"
         "ab\r\n",
         false},
        {"ESC ( J returns to ASCII", "\x1B$B$\"\x1B(Jab\n",
         "\x82\xA0"
         "ab\n",
         false},
        {"ESC $ @ is the older two-byte set", "\x1B$@$\"\x1B(B.", "\x82\xA0.", false},
        {"ESC ( I gives half-width katakana", "\x1B(I\x31\x5F\x1B(Bz", "\xB1\xDFz", false},
        {"text before any escape is kept", "abc\x1B$B$\"", "abc\x82\xA0", false},
        {"an unknown escape is an error", "\x1B$Zab", "ab", true},
        {"8-bit bytes are not JIS", "a\x82\xA0", "a", true},
    };
    for (const JisCase& c : cases)
    {
        ViewerTextData d;
        CViewDataThread fresh(d, nullptr, 0, 8, 80);
        BYTE out[64] = {};
        BOOL error = FALSE;
        int n = fresh.ConvertJis(reinterpret_cast<const BYTE*>(c.in.data()), out,
                                 static_cast<INT64>(c.in.size()), &error);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), static_cast<size_t>(n)), c.out) << c.name;
        EXPECT_EQ(error != FALSE, c.error) << c.name;
    }
}

// A character cut by the end of the input is left for the next call, never turned
// into garbage or read past the end.
TEST_F(ViewerConvert, CutCharactersAreNotConsumed)
{
    struct
    {
        const char* name;
        int code;
        std::string in;
        INT64 consumed;
    } cases[] = {
        {"EUC lead byte last", 1, "a\xC6", 1},
        {"UTF-8 sequence cut", 4, "a\xE6\x97", 1},
        {"UTF-8 complete", 4, "a\xE6\x97\xA5", 4},
        {"UTF-16 high surrogate last", 2, std::string("A\0\x3D\xD8", 4), 2},
        {"UTF-16 odd byte", 2, std::string("A\0B", 3), 2},
        {"JIS double byte cut", 3, "\x1B$B$", 3},
    };
    for (const auto& c : cases)
    {
        ViewerTextData d;
        CViewDataThread fresh(d, nullptr, 0, 8, 80);
        BYTE out[64] = {};
        INT64 consumed = -1;
        const BYTE* in = reinterpret_cast<const BYTE*>(c.in.data());
        INT64 n = static_cast<INT64>(c.in.size());
        switch (c.code)
        {
        case 1:
            fresh.ConvertEuc(in, out, n, nullptr, &consumed);
            break;
        case 2:
            fresh.ConvertUtf16(in, out, n, nullptr, &consumed);
            break;
        case 3:
            fresh.ConvertJis(in, out, n, nullptr, &consumed);
            break;
        default:
            fresh.ConvertUtf8(in, out, n, nullptr, &consumed);
        }
        EXPECT_EQ(consumed, c.consumed) << c.name;
    }
}

// Unicode text carries some JIS characters under other code points than the system's
// Shift-JIS table: each must become its JIS cell, not "?".
TEST_F(ViewerConvert, UnicodeFormsOfJisCharactersBecomeTheirCells)
{
    const struct
    {
        WCHAR wide;
        const char* sjis;
    } cases[] = {
        {0x301C, "\x81\x60"}, {0x2016, "\x81\x61"}, {0x2212, "\x81\x7C"}, {0x2014, "\x81\x5C"},
        {0x00A2, "\x81\x91"}, {0x00A3, "\x81\x92"}, {0x00AC, "\x81\xCA"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.wide));
        const WCHAR text[] = {L'a', c.wide, L'b'};
        BYTE out[16] = {};
        INT64 consumed = 0;
        ViewerTextData d;
        CViewDataThread fresh(d, nullptr, 0, 8, 80);
        ASSERT_EQ(
            fresh.ConvertUtf16(reinterpret_cast<const BYTE*>(text), out, sizeof(text), nullptr, &consumed),
            4);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 4), std::string("a") + c.sjis + "b") << "UTF-16";

        char utf8[16] = {};
        const int n = WideCharToMultiByte(CP_UTF8, 0, text, 3, utf8, sizeof(utf8), nullptr, nullptr);
        BYTE out8[16] = {};
        ASSERT_EQ(fresh.ConvertUtf8(reinterpret_cast<const BYTE*>(utf8), out8, n, nullptr, &consumed), 4);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out8), 4), std::string("a") + c.sjis + "b") << "UTF-8";
    }
}

} // namespace
