// The viewer's key selection: where the caret goes for each step over line breaks
// and double-byte characters, the line that holds a byte, and the copied bytes.
#include "viewers/text/ViewerSelection.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// Lines: "ab\r\n" (0-3), "\x8A\xBFx\r\n" (4-8), "last" (9-12).
const std::string kText = "ab\r\n\x8A\xBFx\r\nlast";
const INT64 kIndex[] = {0, 4, 9, 13};

ViewerTextView MakeView()
{
    ViewerTextView t;
    t.text = kText.data();
    t.textLength = static_cast<INT64>(kText.size());
    t.lineIndex = kIndex;
    t.lineCount = 3;
    return t;
}

TEST(ViewerSelection, CaretSteps)
{
    const ViewerTextView t = MakeView();
    struct
    {
        const char* name;
        INT64 caret, byteStep, lineStep, expected;
    } cases[] = {
        {"right one character", 0, 1, 0, 1},
        {"right onto the line break", 1, 1, 0, 2},
        {"right over CR LF to the next line", 2, 1, 0, 4},
        {"right over a double-byte character whole", 4, 1, 0, 6},
        {"right past the end", 12, 1, 0, 13},
        {"left over a double-byte character whole", 6, -1, 0, 4},
        {"left from a line start onto the break", 4, -1, 0, 2},
        {"left at the start stays", 0, -1, 0, 0},
        {"up from mid-line goes to its own start", 6, 0, -1, 4},
        {"up from a line start", 4, 0, -1, 0},
        {"up from the text end", 13, 0, -1, 9},
        {"down to the next line start", 1, 0, 1, 4},
        {"down past the last line gives the end", 9, 0, 5, 13},
        {"far up gives the start", 12, 0, -100, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, NextViewerCaret(t, c.caret, c.byteStep, c.lineStep)) << c.name;
}

TEST(ViewerSelection, FindsLines)
{
    const ViewerTextView t = MakeView();
    struct
    {
        INT64 from, offset, line;
    } cases[] = {{0, 0, 0}, {0, 3, 0}, {0, 4, 1}, {2, 4, 1}, {0, 12, 2}, {0, 13, 2}, {2, 0, 0}, {1, -1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.line, FindViewerLine(t, c.from, c.offset)) << c.from << " " << c.offset;
}

TEST(ViewerSelection, SelectedBytesInEitherOrderClipped)
{
    const ViewerTextView t = MakeView();
    EXPECT_EQ("\x8A\xBF", ViewerSelectedBytes(t, 6, 4));
    EXPECT_EQ("ast", ViewerSelectedBytes(t, 10, 99));
    EXPECT_EQ("", ViewerSelectedBytes(t, 5, 5));
}

TEST(ViewerSelection, UrlUnderAPosition)
{
    // Line 0: "see HTTP://a.jp/x, and ftp://b c" (0-33 with CR LF); line 1 is wrapped
    // text that continues an address of line 0's end; line 2 ends in a lead byte.
    const std::string text = "see HTTP://a.jp/x, and ftp://b c\r\n"
                             "https://wrapped/at/eighty\"q\r\n"
                             "http://z\x82";
    const INT64 index[] = {0, 34, 63, static_cast<INT64>(text.size())};
    ViewerTextView t;
    t.text = text.data();
    t.textLength = static_cast<INT64>(text.size());
    t.lineIndex = index;
    t.lineCount = 3;
    struct
    {
        const char* name;
        INT64 line, position;
        BOOL found;
        INT64 start, end;
    } cases[] = {
        {"on the scheme, any case; the comma is not taken", 0, 4, TRUE, 4, 17},
        {"on the last character", 0, 16, TRUE, 4, 17},
        {"on the comma right after it", 0, 17, TRUE, 4, 17},
        {"a URL that starts right of the point", 0, 1, FALSE, 0, 0},
        {"between two URLs", 0, 20, FALSE, 0, 0},
        {"a blank ends the second URL", 0, 24, TRUE, 23, 30},
        {"a double quote ends it", 1, 36, TRUE, 34, 59},
        {"a lead byte as the last byte ends it without reading past", 2, 65, TRUE, 63, 71},
        {"a position outside the line", 0, 40, FALSE, 0, 0},
    };
    for (const auto& c : cases)
    {
        INT64 start = 0, end = 0;
        EXPECT_EQ(FindViewerUrl(t, c.line, c.position, &start, &end), c.found) << c.name;
        if (c.found)
        {
            EXPECT_EQ(start, c.start) << c.name;
            EXPECT_EQ(end, c.end) << c.name;
        }
    }
}

} // namespace
