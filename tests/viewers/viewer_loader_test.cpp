// The viewer's text: how bytes become display lines (widths, breaks, tabs,
// double-byte characters), how the character code is chosen, block-wise conversion of
// files larger than one block, and stopping a loader that is still running.
#include "viewers/text/ViewerText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/settings/ViewerSettings.h"
#include "tests/common/TestHelpers.h"

namespace
{
// The bytes of every display line, as the index splits the text.
std::vector<std::string> Lines(CViewerText& text)
{
    std::vector<std::string> lines;
    if (!text.LockViewerData())
        return lines;
    for (INT64 i = 0; i < text.LineCount(); ++i)
    {
        INT64 a = text.LineIndex()[i];
        INT64 b = text.LineIndex()[i + 1];
        EXPECT_LE(b, text.TextLength()) << "line " << i << " ends past the text";
        lines.emplace_back(text.Text() + a, static_cast<size_t>(b - a));
    }
    text.UnlockViewerData();
    return lines;
}

std::string Content(CViewerText& text)
{
    std::string s;
    if (text.LockViewerData())
    {
        s.assign(text.Text(), static_cast<size_t>(text.TextLength()));
        text.UnlockViewerData();
    }
    return s;
}

void WaitLoaded(CViewerText& text)
{
    for (int i = 0; i < 3000 && !text.IsViewerLoadDone(); ++i)
        Sleep(10);
    ASSERT_TRUE(text.IsViewerLoadDone());
}

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// Shift_JIS "あ" and "漢".
const std::string kA = "\x82\xA0";
const std::string kKan = "\x8A\xBF";

std::string Narrow(const std::wstring& w, UINT cp)
{
    int n = WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

std::wstring Wide(const std::string& s, UINT cp)
{
    int n = MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(cp, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr));
    CloseHandle(h);
}

struct IndexCase
{
    const char* name;
    std::string text;
    int tab;
    int width;
    std::vector<std::string> lines;
};

TEST(ViewerIndex, SplitsTextIntoDisplayLines)
{
    const IndexCase cases[] = {
        {"empty text is one empty line", "", 8, 80, {""}},
        {"200 characters at width 80",
         Repeat("a", 200),
         8,
         80,
         {Repeat("a", 80), Repeat("a", 80), Repeat("a", 40)}},
        {"exactly two full lines", Repeat("a", 160), 8, 80, {Repeat("a", 80), Repeat("a", 80)}},
        {"double-byte character at column 79 wraps whole",
         Repeat("a", 79) + kKan + "b",
         8,
         80,
         {Repeat("a", 79), kKan + "b"}},
        {"double-byte character at column 78 stays",
         Repeat("a", 78) + kKan + "b",
         8,
         80,
         {Repeat("a", 78) + kKan, "b"}},
        {"CR LF, CR and LF each end one line", "a\r\nb\rc\nd", 8, 80, {"a\r\n", "b\r", "c\n", "d"}},
        {"a final break adds no line", "a\n", 8, 80, {"a\n"}},
        {"an empty line between breaks", "a\n\nb", 8, 80, {"a\n", "\n", "b"}},
        {"tab from column 0 and 4 to 8 fills the line", "\t\tX", 4, 8, {"\t\t", "X"}},
        {"tab after text moves to the next stop", "ab\tcdefX", 4, 8, {"ab\tcdef", "X"}},
        {"width 1 and tab 0 are clamped, not a hang", "a\tb" + kA + "c", 0, 1, {"a\t", "b", kA, "c"}},
        {"lead byte as the last byte stays inside the text", "ab\x82", 8, 80, {"ab\x82"}},
    };
    for (const IndexCase& c : cases)
    {
        CViewerText text;
        ASSERT_TRUE(text.OpenViewerMemory(c.text.data(), static_cast<INT64>(c.text.size()), kViewerNoName,
                                          c.tab, c.width, VIEWER_CODE_ANSI))
            << c.name;
        WaitLoaded(text);
        EXPECT_EQ(Lines(text), c.lines) << c.name;
    }
}

TEST(ViewerIndex, RewrapKeepsTextAndCode)
{
    std::wstring japanese = L"日本語のテキスト\r\n";
    std::string utf8 = "\xEF\xBB\xBF" + Narrow(japanese, CP_UTF8) + Repeat("x", 30);
    CViewerText text;
    ASSERT_TRUE(text.OpenViewerMemory(utf8.data(), static_cast<INT64>(utf8.size()), L"txt", 8, 80,
                                      VIEWER_CODE_DETECT));
    WaitLoaded(text);
    std::string sjis = Narrow(japanese, 932) + Repeat("x", 30);
    EXPECT_EQ(Content(text), sjis);
    ASSERT_TRUE(text.RewrapViewerData(8, 10));
    WaitLoaded(text);
    EXPECT_EQ(Content(text), sjis);
    EXPECT_EQ(text.GetViewerEncoding(), VIEWER_CODE_UTF8);
    EXPECT_EQ(Lines(text), (std::vector<std::string>{sjis.substr(0, 10), sjis.substr(10, 8), Repeat("x", 10),
                                                     Repeat("x", 10), Repeat("x", 10)}));
}

struct CodeCase
{
    const char* name;
    std::string bytes;
    int requested;
    int effective;
    int detected;
    std::string text;
};

TEST(ViewerEncoding, MarksRequestsAndTrials)
{
    const std::wstring jp = L"日本語のテキストです。";
    const std::string sjis = Narrow(jp, 932);
    const std::string utf8 = Narrow(jp, CP_UTF8);
    const std::string euc = Narrow(jp, 20932);
    std::wstring wjp = L"AB" + jp;
    const std::string utf16(reinterpret_cast<const char*>(wjp.data()), wjp.size() * 2);
    const std::string utf16Text = Narrow(wjp, 932);
    const std::string jis = "mail: \x1B$BF|K\\8l\x1B(B end\r\n";
    const CodeCase cases[] = {
        {"plain ASCII is ANSI even when detecting", "abc\tdef\r\n", VIEWER_CODE_DETECT, 0, 0, "abc\tdef\r\n"},
        {"Shift_JIS is found", sjis + "\r\n", VIEWER_CODE_DETECT, 0, 0, sjis + "\r\n"},
        {"EUC-JP is found", euc + "\r\n", VIEWER_CODE_DETECT, 1, 1, sjis + "\r\n"},
        {"UTF-8 without mark is found", utf8 + "\r\n", VIEWER_CODE_DETECT, 4, 4, sjis + "\r\n"},
        {"NUL bytes mean UTF-16", utf16, VIEWER_CODE_DETECT, 2, 2, utf16Text},
        {"JIS with ESC ( B keeps its ASCII", jis, VIEWER_CODE_DETECT, 3, 3,
         "mail: \x93\xFA\x96\x7B\x8C\xEA end\r\n"},
        {"FF FE mark decides when detecting", "\xFF\xFE" + utf16, VIEWER_CODE_DETECT, 2, 2, utf16Text},
        {"EF BB BF mark decides when detecting", "\xEF\xBB\xBF" + utf8, VIEWER_CODE_DETECT, 4, 4, sjis},
        {"a requested code wins over a mark", "\xEF\xBB\xBF" + sjis, VIEWER_CODE_ANSI, 0, 4,
         "\xEF\xBB\xBF" + sjis},
        {"a requested UTF-8 skips its mark", "\xEF\xBB\xBF" + utf8, VIEWER_CODE_UTF8, 4, 4, sjis},
        {"a requested code without mark", euc, VIEWER_CODE_EUC, 1, -1, sjis},
    };
    for (const CodeCase& c : cases)
    {
        CViewerText text;
        ASSERT_TRUE(text.OpenViewerMemory(c.bytes.data(), static_cast<INT64>(c.bytes.size()), kViewerNoName,
                                          8, 200, c.requested))
            << c.name;
        WaitLoaded(text);
        EXPECT_EQ(text.GetViewerEncoding(), c.effective) << c.name;
        EXPECT_EQ(text.GetViewerEncodingDetail(), c.detected) << c.name;
        EXPECT_EQ(Content(text), c.text) << c.name;
    }
}

class ViewerFileTest : public qvtest::ScratchFolderTest
{
};

// Files of several blocks convert and index exactly as the whole text at once would,
// whatever falls on a block boundary.
TEST_F(ViewerFileTest, LargeFilesEqualTheWholeConversion)
{
    std::wstring body;
    for (int i = 0; body.size() < 160000; ++i)
        body += L"行" + std::to_wstring(i) + L" 日本語のテキストと\tタブ、ｶﾀｶﾅ abc" +
                std::wstring(i % 7, L'x') + (i % 3 ? L"\r\n" : L"\n");
    const std::string expected = Narrow(body, 932);
    std::string utf16(reinterpret_cast<const char*>(body.data()), body.size() * 2);
    struct
    {
        const char* name;
        std::string bytes;
        int code;
    } files[] = {
        {"utf8", Narrow(body, CP_UTF8), VIEWER_CODE_UTF8},
        {"utf16", "\xFF\xFE" + utf16, VIEWER_CODE_UTF16},
        {"euc", Narrow(body, 20932), VIEWER_CODE_EUC},
        {"sjis", expected, VIEWER_CODE_ANSI},
    };
    CViewerText reference;
    ASSERT_TRUE(reference.OpenViewerMemory(expected.data(), static_cast<INT64>(expected.size()),
                                           kViewerNoName, 4, 60, VIEWER_CODE_ANSI));
    WaitLoaded(reference);
    const std::vector<std::string> expectedLines = Lines(reference);
    for (const auto& f : files)
    {
        ASSERT_GT(f.bytes.size(), 3u * 0x10000) << f.name;
        std::wstring path = P((std::wstring(L"big_") + Wide(f.name, CP_ACP) + L".txt").c_str());
        WriteBytes(path, f.bytes);
        CViewerText text;
        ASSERT_TRUE(text.OpenViewerFile(path.c_str(), 4, 60, f.code)) << f.name;
        EXPECT_GT(text.LineCount(), 0) << f.name << ": the first screen is indexed before the open returns";
        WaitLoaded(text);
        EXPECT_EQ(text.GetViewerEncoding(), f.code) << f.name;
        EXPECT_TRUE(Content(text) == expected) << f.name;
        EXPECT_TRUE(Lines(text) == expectedLines) << f.name;
    }
}

// The text is mapped in steps ahead of the reads and filled through the reused read
// block: a file that spans several steps, and ends inside a block, holds every byte
// where the file has it and splits into the lines a load from memory makes.
TEST_F(ViewerFileTest, FilesPastSeveralMappingStepsHoldEveryByteInPlace)
{
    std::string bytes;
    const size_t size = static_cast<size_t>(2 * kViewerMapStep + 3 * kViewerBlockSize + 4321);
    for (int i = 0; bytes.size() < size; ++i)
        bytes += "line " + std::to_string(i) + " " + kA +
                 std::string(static_cast<size_t>(i % 83), 'a' + i % 26) + (i % 5 ? "\r\n" : "\n");
    bytes.resize(size);
    CViewerText reference;
    ASSERT_TRUE(reference.OpenViewerMemory(bytes.data(), static_cast<INT64>(bytes.size()), kViewerNoName, 8,
                                           80, VIEWER_CODE_ANSI));
    WaitLoaded(reference);
    const std::wstring path = P(L"steps.txt");
    WriteBytes(path, bytes);
    CViewerText text;
    ASSERT_TRUE(text.OpenViewerFile(path.c_str(), 8, 80, VIEWER_CODE_ANSI));
    WaitLoaded(text);
    const std::string loaded = Content(text);
    ASSERT_EQ(loaded.size(), bytes.size());
    EXPECT_TRUE(loaded == bytes) << "first difference at byte "
                                 << std::mismatch(loaded.begin(), loaded.end(), bytes.begin()).first -
                                        loaded.begin();
    EXPECT_TRUE(Lines(text) == Lines(reference));
}

TEST_F(ViewerFileTest, CloseOrReopenWhileLoadingStopsTheLoader)
{
    std::string big = Repeat(Repeat("0123456789", 7) + "\r\n", 300000); // about 21 MB
    WriteBytes(P(L"big.txt"), big);
    WriteBytes(P(L"small.txt"), "second\nfile");
    CViewerText text;
    ASSERT_TRUE(text.OpenViewerFile(P(L"big.txt").c_str(), 8, 80, VIEWER_CODE_UTF8));
    ASSERT_TRUE(text.OpenViewerFile(P(L"small.txt").c_str(), 8, 80, VIEWER_CODE_ANSI));
    WaitLoaded(text);
    EXPECT_EQ(Lines(text), (std::vector<std::string>{"second\n", "file"}));

    ASSERT_TRUE(text.OpenViewerFile(P(L"big.txt").c_str(), 8, 80, VIEWER_CODE_UTF8));
    text.ReleaseViewerData();
    EXPECT_TRUE(text.IsViewerLoadDone());
    EXPECT_EQ(text.LineCount(), 0);
    EXPECT_FALSE(text.LockViewerData()) << "no table, no lock";

    EXPECT_FALSE(text.OpenViewerFile(P(L"missing.txt").c_str(), 8, 80, VIEWER_CODE_ANSI));
    EXPECT_FALSE(text.LockViewerData());
}

TEST_F(ViewerFileTest, ANameWithoutExtensionTakesTheEmptyRowsAndBytesWithoutANameKeepTheirWidths)
{
    ViewerKindRow saved[VIEWER_KIND_ROW_COUNT];
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
        saved[i] = g_ViewerKindRows[i];
    WriteBytes(P(L"README"), std::string(100, 'a'));
    const std::string hundred(100, 'a');
    struct
    {
        const char* name;
        ViewerKindRow lastRow;
        LPCWSTR extension; // for the bytes in memory
        int tab, width;
    } const cases[] = {
        {"untouched rows", {L"", 80, 8}, L"", 8, 80},
        {"the last empty row wins", {L"", 30, 2}, L"", 2, 30},
        {"a named row leaves the empty ones", {L"txt", 30, 2}, L"", 8, 80},
        {"bytes without a name", {L"", 30, 2}, kViewerNoName, 4, 40},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        g_ViewerKindRows[VIEWER_KIND_ROW_COUNT - 1] = c.lastRow;
        CViewerText memory;
        ASSERT_TRUE(memory.OpenViewerMemory(hundred.data(), 100, c.extension, 4, 40, VIEWER_CODE_ANSI));
        WaitLoaded(memory);
        EXPECT_EQ(memory.GetTabWidth(), c.tab);
        EXPECT_EQ(memory.GetLineWidth(), c.width);
        EXPECT_EQ(memory.LineCount(), (100 + c.width - 1) / c.width);
        if (c.extension == kViewerNoName)
            continue;
        CViewerText file;
        ASSERT_TRUE(file.OpenViewerFile(P(L"README").c_str(), 4, 40, VIEWER_CODE_ANSI));
        WaitLoaded(file);
        EXPECT_EQ(file.GetTabWidth(), c.tab);
        EXPECT_EQ(file.GetLineWidth(), c.width);
    }
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
        g_ViewerKindRows[i] = saved[i];
}

TEST(ViewerKindRows, TheLaterOfTwoMatchingRowsWins)
{
    ViewerKindRow saved[VIEWER_KIND_ROW_COUNT];
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
        saved[i] = g_ViewerKindRows[i];
    g_ViewerKindRows[2] = {L"log", 100, 2};
    g_ViewerKindRows[7] = {L"LOG", 120, 6};
    g_ViewerKindRows[9] = {L"c", 70, 4};
    // Numbers the loader cannot use, as the per-extension dialog may store them.
    g_ViewerKindRows[11] = {L"dat", 0, 0};
    g_ViewerKindRows[12] = {L"md", 1, 3};
    struct
    {
        LPCWSTR extension;
        int tab, width;
    } cases[] = {{L"log", 6, 120}, {L"Log", 6, 120}, {L"c", 4, 70}, {L"cpp", 8, 80},
                 {L"", 8, 80},     {L"dat", 8, 80},  {L"md", 3, 80}};
    for (const auto& c : cases)
    {
        int tab = 8, width = 80;
        ViewerWidthsForExtension(c.extension, tab, width);
        EXPECT_EQ(tab, c.tab) << qvtest::W(c.extension).size();
        EXPECT_EQ(width, c.width);
    }
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
        g_ViewerKindRows[i] = saved[i];
}

} // namespace
