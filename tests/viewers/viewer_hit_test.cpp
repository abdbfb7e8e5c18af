// A point of a viewer pane to the byte under it: columns, tabs and double-byte
// characters, the gutter, line breaks, the client's edge and rows past the last line.
#include "viewers/text/ViewerHitTest.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
TEST(ViewerPoint, MapsCellsToBytes)
{
    // Lines: "ab\tc\r\n" (0-5), "\x8A\xBFxy" (6-9), "z" (10).
    const std::string text = "ab\tc\r\n\x8A\xBFxy"
                             "z";
    const INT64 index[] = {0, 6, 10, 11};
    ViewerPointFrame f;
    f.text = text.data();
    f.textLength = static_cast<INT64>(text.size());
    f.lineIndex = index;
    f.lineCount = 3;
    f.tabWidth = 4;
    f.left = 48; // a gutter of six columns of 8 pixels
    f.top = 16;
    f.charWidth = 8;
    f.lineHeight = 16;
    f.clientWidth = 400;
    struct
    {
        const char* name;
        int column; // -1: inside the gutter; 99: past the client's edge
        int row;
        BOOL after;
        INT64 offset;
    } cases[] = {
        {"first character", 0, 0, FALSE, 0},
        {"after the first character", 0, 0, TRUE, 1},
        {"inside a tab", 3, 0, FALSE, 2},
        {"after a tab", 3, 0, TRUE, 3},
        {"the character after the tab", 4, 0, FALSE, 3},
        {"on the line break", 5, 0, FALSE, 6},
        {"past the text of a line", 30, 0, FALSE, 6},
        {"in the gutter: the line's start", -1, 1, FALSE, 6},
        {"second half of a double-byte character", 1, 1, FALSE, 6},
        {"after a double-byte character", 1, 1, TRUE, 8},
        {"past the client's edge", 99, 1, FALSE, 10},
        {"the last line", 0, 2, TRUE, 11},
        {"the row just below the last line", 0, 3, FALSE, 10},
        {"far below", 3, 20, TRUE, 10},
    };
    for (const auto& c : cases)
    {
        int x = c.column < 0 ? 20 : c.column == 99 ? 400 : f.left + c.column * 8 + 3;
        int y = f.top + c.row * 16 + 5;
        EXPECT_EQ(ViewerPointToPosition(f, x, y, c.after), c.offset) << c.name;
    }
    f.topLine = 2;
    EXPECT_EQ(ViewerPointToPosition(f, f.left + 3, f.top + 16 + 5, FALSE), 10)
        << "scrolled: below the last line";
}
} // namespace
