// The text printing job against a recording printer: line and page numbers, tabs,
// double-byte characters at the line end, form feeds in two columns, page ranges,
// and printers that refuse to start or end.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "viewers/text/TextPrintJob.h"
#include "viewers/text/TextPrintThread.h"

namespace
{

struct Call
{
    std::string kind; // "doc", "page", "endpage", "enddoc", "abort", "text"
    int x = 0, y = 0;
    std::wstring text;
};

// Records every call; body characters are 10 units wide and 20 high, header ones 12
// by 30. Failures are played from counters.
class RecordingTarget : public CPrintTarget
{
public:
    int StartDoc(LPCWSTR) override
    {
        Add("doc");
        return startDocResult;
    }
    int StartPage() override
    {
        Add("page");
        return 1;
    }
    int EndPage() override
    {
        Add("endpage");
        return endPageFails ? -1 : 1;
    }
    int EndDoc() override
    {
        Add("enddoc");
        return 1;
    }
    void AbortDoc() override { Add("abort"); }
    void SelectFont(int header, int& lineHeight, int& charWidth) override
    {
        lineHeight = header ? 30 : 20;
        charWidth = header ? 12 : 10;
    }
    void RestoreFont() override {}
    void TextOut(int x, int y, LPCWSTR text, int length) override
    {
        Call call;
        call.kind = "text";
        call.x = x;
        call.y = y;
        call.text.assign(text, length);
        calls.push_back(call);
    }

    // The printed texts, each character cell on its own; `lines` joins the cells of
    // one row (same y and page) into one string per printed row.
    std::vector<std::wstring> Rows(int* pages = nullptr) const
    {
        std::vector<std::wstring> rows;
        int lastY = -1, page = 0;
        for (const Call& c : calls)
        {
            if (c.kind == "page")
            {
                ++page;
                lastY = -1;
            }
            if (c.kind != "text")
                continue;
            if (c.y != lastY)
                rows.push_back(L"");
            rows.back() += c.text;
            lastY = c.y;
        }
        if (pages)
            *pages = page;
        return rows;
    }

    int Count(const char* kind) const
    {
        int n = 0;
        for (const Call& c : calls)
            n += c.kind == kind;
        return n;
    }

    void Add(const char* kind)
    {
        Call call;
        call.kind = kind;
        calls.push_back(call);
    }

    std::vector<Call> calls;
    int startDocResult = 1;
    int endPageFails = 0;
};

TextPrintLayout Layout(const char* text, int charsPerLine, int linesPerPage)
{
    TextPrintLayout layout;
    layout.text = text;
    layout.length = (int)strlen(text);
    layout.charsPerLine = charsPerLine;
    layout.linesPerPage = linesPerPage;
    layout.tabColumns = 8;
    layout.usableWidth = 1000;
    layout.usableHeight = 600;
    layout.leftMargin = 50;
    layout.topMargin = 40;
    layout.documentName = L"a.txt";
    return layout;
}

TEST(PrintText, ReadLineBreaksTabsAndDoubleByteCharacters)
{
    struct Case
    {
        const char* text;
        int charsPerLine;
        std::vector<std::string> lines;
    } cases[] = {
        {"abcde\tX", 20, {"abcde   X"}},                   // a tab at 5 adds 3 spaces
        {"abc\x82\xA0z", 4, {"abc", "\x82\xA0z"}},         // no double-byte character in the last cell
        {"\x82\xA0\x82\xA2", 1, {"\x82\xA0", "\x82\xA2"}}, // one cell a line still moves on
        {"ab\r\ncd\ref\ngh", 10, {"ab", "cd", "ef", "gh"}},
        {"abcdef", 4, {"abcd", "ef"}},
    };
    for (const Case& c : cases)
    {
        RecordingTarget target;
        CTextPrintJob job(Layout(c.text, c.charsPerLine, 10), target);
        std::vector<std::string> lines;
        char buffer[64];
        for (int guard = 0; guard < 20; ++guard)
        {
            int length = 0;
            int result = job.ReadLine(buffer, length);
            lines.push_back(std::string(buffer, length));
            if (result == PRINT_LINE_END_OF_TEXT)
                break;
        }
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

TEST(PrintText, LineNumbersCountAcrossSkippedPagesAndPageNumbersAreCentred)
{
    // Seven lines, two a page: pages 1 to 4; only 2 and 3 are printed.
    TextPrintLayout layout = Layout("l0\nl1\nl2\nl3\nl4\nl5\nl6", 20, 2);
    layout.lineNumbers = 1;
    layout.printPageNumbers = 1;
    layout.rangeSet = 1;
    layout.firstPage = 2;
    layout.lastPage = 3;
    RecordingTarget target;
    CTextPrintJob job(layout, target);
    EXPECT_EQ(job.Run(), 0);
    int pages = 0;
    std::vector<std::wstring> rows = target.Rows(&pages);
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(rows,
              (std::vector<std::wstring>{L"00002l2", L"00003l3", L"-2-", L"00004l4", L"00005l5", L"-3-"}));
    EXPECT_EQ(target.Count("endpage"), 2);
    EXPECT_EQ(target.Count("enddoc"), 1);
    // "-2-" centred at the foot of the usable area, in header cells.
    for (const Call& c : target.calls)
    {
        if (c.text == L"-2-")
        {
            EXPECT_EQ(c.x, 1000 / 2 + 50 - 3 * 12 / 2);
            EXPECT_EQ(c.y, 40 + 600 - 30);
        }
    }
    EXPECT_EQ(job.m_percent, 100);
}

TEST(PrintText, FormFeedMovesToTheSecondColumn)
{
    TextPrintLayout layout = Layout("a\fb\nc", 10, 5);
    layout.twoColumns = 1;
    RecordingTarget target;
    CTextPrintJob job(layout, target);
    EXPECT_EQ(job.Run(), 0);
    std::vector<Call> texts;
    for (const Call& c : target.calls)
    {
        if (c.kind == "text")
            texts.push_back(c);
    }
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].x, 50);
    EXPECT_EQ(texts[1].x, 50 + 1000 / 2 + 10);
    EXPECT_EQ(texts[1].y, 40);
    EXPECT_EQ(texts[2].y, 60);
    EXPECT_EQ(target.Count("page"), 1);
}

TEST(PrintText, DoubleByteCharacterTakesTwoCells)
{
    RecordingTarget target;
    CTextPrintJob job(Layout("\x82\xA0x", 10, 5), target);
    EXPECT_EQ(job.Run(), 0);
    ASSERT_EQ(target.Count("text"), 2);
    EXPECT_EQ(target.Rows(), (std::vector<std::wstring>{L"\u3042x"}));
    for (const Call& c : target.calls)
    {
        if (c.text == L"x")
        {
            EXPECT_EQ(c.x, 50 + 2 * 10);
        }
    }
}

TEST(PrintText, EmptyTextPrintsOnePage)
{
    TextPrintLayout layout = Layout("", 10, 5);
    layout.lineNumbers = 1;
    layout.printFileName = 1;
    RecordingTarget target;
    CTextPrintJob job(layout, target);
    EXPECT_EQ(job.Run(), 0);
    EXPECT_EQ(target.Count("page"), 1);
    EXPECT_EQ(target.Rows(), (std::vector<std::wstring>{L"a.txt"}));
}

TEST(PrintText, OneCellLinesOfDoubleByteTextEnd)
{
    RecordingTarget target;
    CTextPrintJob job(Layout("\x82\xA0\x82\xA2\x82\xA4", 1, 2), target);
    for (int guard = 0; guard < 200 && job.Step(); ++guard)
    {
    }
    EXPECT_EQ(job.m_exitCode, 0);
    EXPECT_EQ(target.Count("enddoc"), 1);
    EXPECT_EQ(target.Count("page"), 2);
}

TEST(PrintText, RefusingPrintersAreReportedAsFailures)
{
    {
        RecordingTarget target;
        target.startDocResult = -1;
        CTextPrintJob job(Layout("abc", 10, 5), target);
        EXPECT_EQ(job.Run(), -1);
        EXPECT_EQ(target.Count("page"), 0);
    }
    {
        RecordingTarget target;
        target.endPageFails = 1;
        CTextPrintJob job(Layout("abc", 10, 5), target);
        int steps = 0;
        while (job.Step() && steps < 1000)
            ++steps;
        EXPECT_LT(steps, 1000);
        EXPECT_EQ(job.m_exitCode, -1);
        EXPECT_EQ(target.Count("endpage"), CTextPrintJob::kMaxRetries);
        EXPECT_EQ(target.Count("abort"), 1);
    }
    {
        RecordingTarget target;
        CTextPrintJob job(Layout("abc", 10, 5), target);
        job.m_abort = 1;
        EXPECT_EQ(job.Run(), -1);
        EXPECT_EQ(target.Count("abort"), 1);
    }
}

TEST(PrintText, ThreadEndsWithTheJobsExitCode)
{
    const int startResults[] = {1, -1};
    for (int startResult : startResults)
    {
        RecordingTarget target;
        target.startDocResult = startResult;
        CTextPrintJob job(Layout("abc\ndef", 10, 5), target);
        CTextPrintThread thread(job);
        ASSERT_TRUE(thread.CreateThread());
        ASSERT_EQ(WaitForSingleObject(thread.m_hThread, 10000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeThread(thread.m_hThread, &code);
        EXPECT_EQ(code, startResult > 0 ? 0u : (DWORD)-1);
    }
}

} // namespace
