// The rename pattern: expansion of "*", "?", text fields and counters over old
// names, free-name search on disk and in a rename list, series, and conversions.
#include <gtest/gtest.h>

#include "util/PathHelpers.h"
#include "app/ProgressInfo.h"
#include "fileops/rename/RenamePattern.h"
#include "filer/FileInfo.h"
#include "tests/common/TestHelpers.h"

#include <string>
#include <vector>

using qvtest::W;

namespace
{

CFileInfo DiskEntry(const std::wstring& directory, const std::wstring& name, bool folder = false)
{
    WIN32_FIND_DATAW data = {};
    data.dwFileAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    wcscpy_s(data.cFileName, name.c_str());
    CFileInfo entry;
    entry.SetFromDisk(directory.c_str(), data);
    return entry;
}

class RenamePatternTest : public qvtest::ScratchFolderTest
{
protected:
    void Touch(const std::wstring& name) { ASSERT_TRUE(qvtest::WriteFileBytes(P(name.c_str()), "x")); }

    // Runs the pattern over the names in order as a job does: each new name is taken
    // on disk (the old file renamed) before the next entry.
    std::vector<std::wstring> RunJob(const std::wstring& pattern, const std::vector<std::wstring>& names,
                                     int start = 1, int extensionStart = 1, int always = 0)
    {
        for (const auto& name : names)
            Touch(name);
        CRenamePattern engine;
        std::vector<std::wstring> result;
        for (size_t i = 0; i < names.size(); ++i)
        {
            CFileInfo entry = DiskEntry(dir, names[i]);
            if (i == 0)
                engine.Setup(entry, pattern.c_str(), start, extensionStart, nullptr, nullptr);
            if (!engine.MakeNewName(entry, always))
            {
                result.push_back(L"<fail>");
                continue;
            }
            result.push_back(W(engine.m_newName));
            MoveFileW(P(names[i].c_str()).c_str(), P(engine.m_newName).c_str());
        }
        return result;
    }
};

} // namespace

TEST(RenamePatternFields, FindsPercentAndCounterTokens)
{
    struct Case
    {
        LPCWSTR text;
        int start, end, width;
    } cases[] = {
        {L"a$nb", 1, 2, 2},  {L"$3n", 0, 2, 3},    {L"x$N", -1, -1, 0},
        {L"$0n", -1, -1, 0}, {L"$12n", -1, -1, 0}, {L"$$n", 1, 2, 2},
    };
    for (const auto& c : cases)
    {
        int start, end, width;
        FindCounterField(c.text, start, end, width);
        EXPECT_EQ(c.start, start) << c.text;
        EXPECT_EQ(c.end, end) << c.text;
        EXPECT_EQ(c.width, width) << c.text;
    }
    int start, end;
    FindPercentField(L"a%b%c%", start, end);
    EXPECT_EQ(1, start);
    EXPECT_EQ(3, end);
    FindPercentField(L"a%b", start, end);
    EXPECT_EQ(-1, start);
}

TEST(RenamePatternExpand, PlainCharactersTakeOldPositionsAndFieldsInsert)
{
    struct Case
    {
        LPCWSTR old, pattern, expected;
        int counter;
    } cases[] = {
        {L"abcdef", L"x*", L"xbcdef", -1},
        {L"abcdef", L"*x", L"abcdex", -1},
        {L"abcdef",
         L"??"
         L"-*",
         L"ab-def", -1},
        {L"abcdef", L"%x%*", L"xabcdef", -1},
        {L"abcdef", L"*??", L"abcdef", -1},
        {L"ab", L"????", L"ab", -1},
        {L"abc", L"*_$2n", L"ab_", 3},
        {L"abc", L"%n$n%*", L"nabc", 1},
        {L"50%off%", L"*", L"50%off%", -1},
        {L"a$nb", L"*", L"a$nb", -1},
        {L"a$nb", L"%x%$3n*", L"xa$nb", 1},
        {L"abc", L"%%", L"", -1},
    };
    for (const auto& c : cases)
    {
        int counter = 0, width = 0;
        EXPECT_EQ(c.expected, W(ExpandPatternPart(c.old, c.pattern, counter, width))) << c.pattern;
        EXPECT_EQ(c.counter, counter) << c.pattern;
    }
}

TEST_F(RenamePatternTest, WholeNamesFromStatedPatterns)
{
    struct Case
    {
        LPCWSTR old, pattern, expected;
    } cases[] = {
        {L"a.txt", L"*", L"a"},
        {L"b.txt", L"*.*", L"b.txt"},
        {L"NOEXT", L"*.*", L"NOEXT"},
        {L"README", L"*.txt", L"README.txt"},
        {L"c.txt", L"*.", L"c"},
        // An old name holding "%" or a counter token stays text.
        {L"50%off%.txt", L"*.*", L"50%off%.txt"},
        {L"50%off%.doc", L"*", L"50%off%"},
        {L"x$ny.txt", L"%new_%*.*", L"new_x$ny.txt"},
        {L"case.txt", L"CASE.TXT", L"CASE.TXT"},
        // A text field's dot does not split name and extension.
        {L"d.txt", L"%v.1%*.*", L"v.1d.txt"},
    };
    for (const auto& c : cases)
    {
        Touch(c.old);
        CRenamePattern engine;
        CFileInfo entry = DiskEntry(dir, c.old);
        engine.Setup(entry, c.pattern, 1, 1, nullptr, nullptr);
        ASSERT_EQ(1, engine.MakeNewName(entry, 0)) << c.old << L" " << c.pattern;
        EXPECT_EQ(c.expected, W(engine.m_newName)) << c.old << L" " << c.pattern;
    }
}

TEST_F(RenamePatternTest, InvalidPatternsFailEveryEntry)
{
    Touch(L"a.txt");
    for (LPCWSTR pattern : {L"a*a*", L"$n$n", L"%a%b%c%", L"", L"sub\\*", L"%%", L"*.$n$2n"})
    {
        CRenamePattern engine;
        CFileInfo entry = DiskEntry(dir, L"a.txt");
        engine.Setup(entry, pattern, 1, 1, nullptr, nullptr);
        EXPECT_EQ(0, engine.MakeNewName(entry, 0)) << pattern;
    }
}

TEST_F(RenamePatternTest, CountersSkipTakenNamesWrapAndFollowSeries)
{
    Touch(L"01");
    Touch(L"02");
    EXPECT_EQ((std::vector<std::wstring>{L"03", L"04"}), RunJob(L"$n", {L"p", L"q"}));
}

TEST_F(RenamePatternTest, ThreeDigitCounterWrapsThroughLowDigits)
{
    EXPECT_EQ((std::vector<std::wstring>{L"img998", L"img999", L"img000", L"img001"}),
              RunJob(L"img$3n", {L"a", L"b", L"c", L"d"}, 998));
}

// A name that is another file's 8.3 alias reaches that file: the search passes it
// over like a taken long name, and a pattern without a counter that gives it fails.
TEST_F(RenamePatternTest, ANameThatIsAnotherFilesShortAliasIsTaken)
{
    // A long name whose alias holds a digit before its dot, so that a counter can
    // land on the alias.
    std::wstring alias;
    int digit = -1;
    for (int n = 0; n < 64 && digit < 0; ++n)
    {
        const std::wstring name = L"Precious notes " + std::to_wstring(n) + L".txt";
        Touch(name);
        alias = qvtest::ShortAlias(P(name.c_str()));
        if (alias.empty())
            GTEST_SKIP() << "the file system keeps no 8.3 alias beside the long name";
        const size_t dot = alias.find(L'.');
        for (size_t i = 0; i < alias.size() && i < dot && digit < 0; ++i)
            if (iswdigit(alias[i]))
                digit = static_cast<int>(i);
        if (digit < 0)
            DeleteFileW(P(name.c_str()).c_str());
    }
    if (digit < 0)
        GTEST_SKIP() << "no alias of 64 names holds a digit for a counter to land on";
    Touch(L"b.txt");
    CFileInfo entry = DiskEntry(dir, L"b.txt");
    CRenamePattern engine;
    engine.Setup(entry, alias.c_str(), 1, 1, nullptr, nullptr);
    EXPECT_EQ(0, engine.MakeNewName(entry, 0)) << W(engine.m_newName);

    const std::wstring pattern = alias.substr(0, digit) + L"$1n" + alias.substr(digit + 1);
    const int start = alias[digit] - L'0';
    std::wstring next = alias;
    next[digit] = static_cast<wchar_t>(L'0' + (start + 1) % 10);
    engine.Setup(entry, pattern.c_str(), start, 1, nullptr, nullptr);
    ASSERT_EQ(1, engine.MakeNewName(entry, 0)) << pattern;
    EXPECT_EQ(next, W(engine.m_newName)) << pattern;
}

TEST_F(RenamePatternTest, SeriesRestartPerOldTextUnlessAlwaysIncrement)
{
    EXPECT_EQ((std::vector<std::wstring>{L"a_01", L"b_01", L"b_02"}),
              RunJob(L"*_$2n", {L"ax", L"bx", L"bx.y"}));
}

TEST_F(RenamePatternTest, AlwaysIncrementRunsAcrossSeries)
{
    EXPECT_EQ((std::vector<std::wstring>{L"a_01", L"b_02", L"c_03"}),
              RunJob(L"*_$2n", {L"ax", L"bx", L"cx"}, 1, 1, 1));
}

TEST_F(RenamePatternTest, EachExtensionStartsItsOwnSeries)
{
    EXPECT_EQ((std::vector<std::wstring>{L"img01.jpg", L"img01.png", L"img02.jpg"}),
              RunJob(L"img$2n.*", {L"a.jpg", L"b.png", L"c.jpg"}));
}

TEST_F(RenamePatternTest, RenameListDecidesInsteadOfDisk)
{
    // Names in the list, nothing on disk: the second entry may not take the first's name.
    CArrayRenameFileName list;
    list.Add(CRenameFileName((dir + L"\\a").c_str()));
    list.Add(CRenameFileName((dir + L"\\b").c_str()));
    CRenamePattern engine;
    CFileInfo a = DiskEntry(dir, L"a"), b = DiskEntry(dir, L"b");
    engine.Setup(a, L"n$n", 1, 1, nullptr, &list);
    ASSERT_EQ(1, engine.MakeNewName(a, 0));
    EXPECT_EQ(L"n01", W(engine.m_newName));
    list.SetNewNameOf(a.GetFullPath(), (dir + L"\\n01").c_str());
    ASSERT_EQ(1, engine.MakeNewName(b, 0));
    EXPECT_EQ(L"n02", W(engine.m_newName));
}

TEST_F(RenamePatternTest, FreeNameSearchIsBoundedAndCancellable)
{
    // An entry outside the rename list can take no name: two nine-digit counters would
    // otherwise be tried ten thousand million times.
    CArrayRenameFileName list;
    CFileInfo entry = DiskEntry(dir, L"a");
    for (LONG cancelled : {1, 0})
    {
        CRenamePattern engine;
        volatile LONG cancel = cancelled;
        engine.SetCancelFlag(&cancel);
        engine.Setup(entry, L"$9n.$9n", 1, 1, nullptr, &list);
        EXPECT_EQ(0, engine.MakeNewName(entry, 0));
    }
}

TEST(RenamePatternConvert, KanaWidthAndCaseConversions)
{
    struct Case
    {
        LPCWSTR text;
        CharConvertInfo info;
        LPCWSTR expected;
    } cases[] = {
        {L"\xFF76\xFF9E", {1, 0, 3}, L"\x304C"},                // ｶﾞ -> が
        {L"\xFF73\xFF9E", {1, 0, 3}, L"\x3046\x309B"},          // ｳﾞ -> う゛
        {L"\x30AC", {1, 0, 1}, L"\xFF76\xFF9E"},                // ガ -> ｶﾞ
        {L"\xFF8A\xFF9F", {1, 0, 2}, L"\x30D1"},                // ﾊﾟ -> パ
        {L"\x3071", {1, 0, 0, 1}, L"\xFF8A\xFF9F"},             // ぱ -> ﾊﾟ
        {L"a1 ", {1, 0, 0, 0, 2, 2, 2}, L"\xFF41\xFF11\x3000"}, // to full width
        {L"\xFF41\xFF11\x3000", {1, 0, 0, 0, 1, 1, 1}, L"a1 "}, // to half width
        {L"\xFF71\xFF70", {1, 0, 2}, L"\x30A2\x30FC"},          // ｱｰ -> アー
    };
    for (const auto& c : cases)
    {
        int counter = -1;
        EXPECT_EQ(c.expected, W(ConvertCharKinds(c.text, c.info, counter))) << W(CString(c.text));
    }
    // The counter lands after the converted text before it.
    int counter = 2;
    EXPECT_EQ(L"\x304C", W(ConvertCharKinds(L"\xFF76\xFF9E", CharConvertInfo{1, 0, 3}, counter)));
    EXPECT_EQ(1, counter);
    EXPECT_EQ(KANA_TABLE_ROWS, 59);
    EXPECT_EQ(L'\xFF9D', GetKanaTable()[55].half);
}

TEST_F(RenamePatternTest, ConversionNeverTouchesTheExtension)
{
    const std::wstring old = L"\xFF76\xFF9E.\xFF76";
    Touch(old);
    CRenamePattern engine;
    CFileInfo entry = DiskEntry(dir, old);
    CharConvertInfo info{1, 0, 3};
    engine.Setup(entry, L"*.*", 1, 1, &info, nullptr);
    ASSERT_EQ(1, engine.MakeNewName(entry, 0));
    EXPECT_EQ(L"\x304C.\xFF76", W(engine.m_newName));
}
