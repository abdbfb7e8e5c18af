// Text-viewer rows on a buffer: tab expansion, the selection after a tab, line
// numbers, the line-break mark, the pixel scroll and a line far longer than the
// work buffer.
#include "view/viewer/ViewerLines.h"
#include "view/viewer/HexDump.h"

#include "app/settings/ViewSettings.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

struct CellCall
{
    int column;
    int row;
    std::string bytes; // TextOutCellA
    std::wstring text; // TextOutCell
    COLORREF fore;
    COLORREF back;
};

class CRecordingCanvas : public CCellCanvas
{
public:
    int CharWidth() const override { return 8; }
    int LineHeight() const override { return 16; }
    int ClientWidth() const override { return 800; }
    void TextOutCell(int column, int row, LPCWSTR text, COLORREF fore, COLORREF back) override
    {
        calls.push_back({column, row, "", text, fore, back});
    }
    void TextOutCellA(int column, int row, const char* bytes, int count, COLORREF fore,
                      COLORREF back) override
    {
        calls.push_back({column, row, std::string(bytes, count), L"", fore, back});
    }
    void ClearRect(const RECT&) override {}
    void FillRect(const RECT& rect, COLORREF) override { fills.push_back(rect); }
    void DrawLine(int, int, int, int, COLORREF) override {}
    void DrawTextInRect(const RECT&, LPCWSTR, COLORREF, UINT) override {}

    const CellCall* At(int column) const
    {
        for (const CellCall& call : calls)
            if (call.column == column)
                return &call;
        return nullptr;
    }

    std::vector<CellCall> calls;
    std::vector<RECT> fills;
};

std::string Expand(const std::string& line, int tabWidth)
{
    char out[256];
    ViewerExpandedLine result;
    int length =
        ExpandViewerLine(line.data(), static_cast<int>(line.size()), tabWidth, -1, -1, out, 256, result);
    return std::string(out, length);
}

TEST(ViewerLines, TabsExpandToTheNextMultipleOfTheTabWidth)
{
    struct Case
    {
        const char* line;
        int tabWidth;
        const char* expanded;
    } cases[] = {
        {"abcde\tX", 4, "abcde   X"},
        {"abcde\tX", 8, "abcde   X"},
        {"\tX", 4, "    X"},
        {"ab\t\tX", 4, "ab      X"},
        {"abcdefgh\tX", 8, "abcdefgh        X"},
        {"\x82\xa0\tX", 4, "\x82\xa0  X"}, // a double-width character takes two columns
        {"a\x82", 4, "a\x82"},             // a lead byte at the end is kept alone
        {"a\x82\tX", 4, "a\x82  X"},       // nor does it swallow a tab
        {"a\x82\nX", 4, "a\x82"},          // or a line break
        {"ab\r\ncd", 4, "ab"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Expand(c.line, c.tabWidth), c.expanded) << c.line << " / " << c.tabWidth;
}

class ViewerLineDraw : public ::testing::Test
{
protected:
    ViewerLineDraw()
    {
        m_frame.originColumn = 2;
        m_frame.rightEdge = 800;
        m_frame.tabWidth = 4;
        m_frame.workBuffer = m_work;
        m_frame.workCapacity = sizeof(m_work);
        m_frame.breakMark = L"\u00b6";
    }
    void Draw(const std::string& text, const std::vector<INT64>& starts, INT64 line)
    {
        DrawViewerLineCells(m_canvas, m_frame, text.data(), starts.data(), 7, line);
    }

    char m_work[256] = {};
    ViewerLineFrame m_frame;
    CRecordingCanvas m_canvas;
    const COLORREF m_fore = g_DisplayColors[COLOR_VIEWER];
    const COLORREF m_back = g_DisplayColors[COLOR_BACK_GROUND];
};

TEST_F(ViewerLineDraw, SelectionAfterATabCoversTheSameCharacters)
{
    // "a\tbcd": the selection of bytes 2..4 ("bc") sits at columns 4..6 once the tab
    // became three blanks.
    const std::string text = "a\tbcd\r\n";
    ViewerSelection selection;
    selection.anchor = 4;
    selection.end = 2; // either order
    selection.active = TRUE;
    m_frame.selection = &selection;
    Draw(text, {0, 7}, 0);

    ASSERT_EQ(m_canvas.fills.size(), 1u);
    EXPECT_EQ(m_canvas.fills[0].left, (2 + 4) * 8);
    EXPECT_EQ(m_canvas.fills[0].right, (2 + 6) * 8);
    struct Expect
    {
        int column;
        const char* bytes;
        bool inverted;
    } expected[] = {{2, "a", false}, {6, "b", true}, {7, "c", true}, {8, "d", false}};
    for (const Expect& e : expected)
    {
        const CellCall* call = m_canvas.At(e.column);
        ASSERT_NE(call, nullptr) << e.column;
        EXPECT_EQ(call->bytes, e.bytes);
        EXPECT_EQ(call->fore, e.inverted ? m_back : m_fore) << e.column;
        EXPECT_EQ(call->back, e.inverted ? m_fore : m_back) << e.column;
    }
}

TEST_F(ViewerLineDraw, LineNumbersMoveTheTextSixColumnsRight)
{
    m_frame.showNumbers = TRUE;
    std::vector<INT64> starts(42, 0); // lines 0..41 empty, line 42 is "xy"
    starts.push_back(0);
    starts.push_back(3);
    Draw("xy\n", starts, 42);
    const CellCall* number = m_canvas.At(2);
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->text, L"00042 ");
    EXPECT_EQ(number->fore, g_DisplayColors[COLOR_VIEWER_LINE]);
    ASSERT_NE(m_canvas.At(8), nullptr);
    EXPECT_EQ(m_canvas.At(8)->bytes, "x");
}

TEST_F(ViewerLineDraw, MarkOnlyWhereALineBreakEndsTheLine)
{
    const std::string text = "ab\r\ncd";
    const std::vector<INT64> starts = {0, 4, 6};
    Draw(text, starts, 0);
    const CellCall* mark = m_canvas.At(2 + 2);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->text, L"\u00b6");
    EXPECT_EQ(mark->fore, g_DisplayColors[COLOR_VIEWER_CONTROL]);

    // A line that reaches the pane's edge has no room for the mark.
    m_canvas.calls.clear();
    m_frame.rightEdge = (2 + 2) * 8;
    Draw(text, starts, 0);
    EXPECT_EQ(m_canvas.At(2 + 2), nullptr) << "mark drawn past the pane's edge";
    m_frame.rightEdge = 800;

    m_canvas.calls.clear();
    Draw(text, starts, 1); // last line of the file, no break
    for (const CellCall& call : m_canvas.calls)
        EXPECT_TRUE(call.text.empty()) << "mark drawn at column " << call.column;
    EXPECT_EQ(m_canvas.calls.size(), 2u);
}

TEST(ViewerLines, LineFarLongerThanTheWorkBufferStaysInsideIt)
{
    const int capacity = 4095; // odd, so a double-width character meets the end
    const char guard = '\x5a';
    struct Case
    {
        std::string unit;
        int expectedLength;
    } cases[] = {{"\t", capacity}, {"\x82\xa0", capacity - 1}, {"x\t", capacity}};
    for (const Case& c : cases)
    {
        std::string line;
        line.reserve(1 << 20);
        while (line.size() < (1u << 20))
            line += c.unit;
        std::vector<char> buffer(capacity + 64, guard);
        ViewerExpandedLine result;
        int length = ExpandViewerLine(line.data(), static_cast<int>(line.size()), 8, 0,
                                      static_cast<int>(line.size()), buffer.data(), capacity, result);
        EXPECT_EQ(length, c.expectedLength);
        EXPECT_TRUE(result.truncated);
        EXPECT_FALSE(result.endsWithBreak);
        for (int i = capacity; i < capacity + 64; ++i)
            ASSERT_EQ(buffer[i], guard) << "written past the buffer at " << i;

        // Drawn as a row: only the visible cells are drawn.
        CRecordingCanvas canvas;
        ViewerLineFrame frame;
        frame.rightEdge = canvas.ClientWidth();
        frame.workBuffer = buffer.data();
        frame.workCapacity = capacity;
        ViewerSelection selection;
        selection.end = static_cast<INT64>(line.size());
        selection.active = TRUE;
        frame.selection = &selection;
        const INT64 starts[2] = {0, static_cast<INT64>(line.size())};
        DrawViewerLineCells(canvas, frame, line.data(), starts, 0, 0);
        EXPECT_LE(canvas.calls.size(), 100u);
        ASSERT_EQ(canvas.fills.size(), 1u);
        EXPECT_EQ(canvas.fills[0].right, frame.rightEdge) << "the selection is filled past the pane";
        for (int i = capacity; i < capacity + 64; ++i)
            ASSERT_EQ(buffer[i], guard);
    }
}

TEST(ViewerLines, ScrollRedrawsOnlyTheUncoveredRows)
{
    HDC screen = GetDC(nullptr);
    CDC dc;
    dc.Attach(CreateCompatibleDC(screen));
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 640, 480);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc.GetSafeHdc(), bitmap);

    const int lineHeight = 16;
    const RECT pane = {0, 5 * lineHeight, 640, 480}; // title row at view row 5
    const int rowsDrawn = 20;
    struct Case
    {
        int headerRows;
        int lines;
        BOOL textViewer;
        int firstRow, lastRow;
    } cases[] = {
        {1, 3, TRUE, 23, 25},  // up: the three bottom rows of the body
        {1, -3, TRUE, 6, 8},   // down: the three rows under the title
        {2, 3, FALSE, 20, 25}, // binary editor: six rows
        {2, -3, FALSE, 7, 12},
    };
    for (const Case& c : cases)
    {
        CRect uncovered =
            ScrollViewerBody(&dc, pane, rowsDrawn, lineHeight, c.headerRows, c.lines, c.textViewer);
        int first, last;
        RowsMeetingRect(uncovered, lineHeight, first, last);
        EXPECT_EQ(first, c.firstRow) << c.lines << " " << c.textViewer;
        EXPECT_EQ(last, c.lastRow) << c.lines << " " << c.textViewer;
    }
    SelectObject(dc.GetSafeHdc(), old);
    DeleteObject(bitmap);
    DeleteDC(dc.Detach());
}

// The hexadecimal form over 40 bytes: "AB", then a double-byte character whose lead
// byte stands in the last column of row 0, then bytes to the end of row 2.
std::string HexSample()
{
    std::string text = "AB\t";
    text += std::string(12, 'x');
    text += "\x82\xA0"; // byte 15 is a lead byte, byte 16 its trail
    text += "\x82\xA0"; // a whole character at bytes 17 and 18
    while (text.size() < 40)
        text += 'z';
    return text;
}

TEST(HexDump, RowsShowOffsetDigitsAndCharactersAndCutACharacterAtTheRowEnd)
{
    const std::string text = HexSample();
    const INT64 length = static_cast<INT64>(text.size());
    CRecordingCanvas canvas;
    DrawHexDumpRow(canvas, text.data(), length, 2, 5, 0, 800, nullptr);
    ASSERT_NE(canvas.At(2), nullptr);
    EXPECT_EQ(canvas.At(2)->text, L"00000000H");
    EXPECT_EQ(canvas.At(2 + HEX_BYTES_COLUMN)->text, L"41");
    EXPECT_EQ(canvas.At(2 + HEX_CHARS_COLUMN + 2)->bytes, ".") << "a tab shows as a dot";
    EXPECT_EQ(canvas.At(2 + HEX_BYTES_COLUMN + 3 * 15)->text, L"82");
    EXPECT_EQ(canvas.At(2 + HEX_CHARS_COLUMN + 15)->bytes, ".") << "a lead byte in the last column is alone";

    CRecordingCanvas next;
    DrawHexDumpRow(next, text.data(), length, 2, 6, 1, 800, nullptr);
    EXPECT_EQ(next.At(2)->text, L"00000010H");
    EXPECT_EQ(next.At(2 + HEX_BYTES_COLUMN)->text, L"A0") << "the row begins with the trail byte";
    EXPECT_EQ(next.At(2 + HEX_CHARS_COLUMN + 1)->bytes, "\x82\xA0") << "a whole character inside the row";
    EXPECT_EQ(next.At(2 + HEX_BYTES_COLUMN + 3)->text, L"82");
    EXPECT_EQ(next.At(2 + HEX_BYTES_COLUMN + 6)->text, L"A0");

    CRecordingCanvas past;
    DrawHexDumpRow(past, text.data(), length, 2, 7, 3, 800, nullptr);
    ASSERT_EQ(past.calls.size(), 1u) << "a row past the text shows only its offset";
    EXPECT_EQ(past.calls[0].text, L"00000030H");

    // A text whose very last byte is a lead byte is never read past.
    const std::string cut = "ab\x82";
    CRecordingCanvas last;
    DrawHexDumpRow(last, cut.data(), 3, 0, 0, 0, 800, nullptr);
    EXPECT_EQ(last.At(HEX_CHARS_COLUMN + 2)->bytes, ".");
    EXPECT_EQ(last.At(HEX_BYTES_COLUMN + 6)->text, L"82");
}

TEST(HexDump, SelectedBytesAreReversedInBothHalves)
{
    const std::string text = HexSample();
    ViewerSelection selection;
    selection.anchor = 3;
    selection.end = 1; // either order
    selection.active = TRUE;
    CRecordingCanvas canvas;
    DrawHexDumpRow(canvas, text.data(), static_cast<INT64>(text.size()), 0, 0, 0, 800, &selection);
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    const COLORREF fore = g_DisplayColors[COLOR_VIEWER];
    struct Case
    {
        int column;
        bool selected;
    } cases[] = {
        {HEX_BYTES_COLUMN, false},     {HEX_BYTES_COLUMN + 3, true}, {HEX_BYTES_COLUMN + 6, true},
        {HEX_BYTES_COLUMN + 9, false}, {HEX_CHARS_COLUMN + 1, true}, {HEX_CHARS_COLUMN + 3, false},
    };
    for (const Case& c : cases)
    {
        const CellCall* call = canvas.At(c.column);
        ASSERT_NE(call, nullptr) << c.column;
        EXPECT_EQ(call->back, c.selected ? fore : back) << c.column;
    }
}

TEST(HexDump, HeaderLabelsTheSixteenColumns)
{
    CRecordingCanvas canvas;
    DrawHexDumpHeader(canvas, 4, 1, 800);
    ASSERT_EQ(canvas.calls.size(), 16u);
    EXPECT_EQ(canvas.At(4 + HEX_BYTES_COLUMN)->text, L"+0");
    EXPECT_EQ(canvas.At(4 + HEX_BYTES_COLUMN + 3 * 15)->text, L"+f");
}

TEST(HexDump, PointToOffset)
{
    const std::string text = HexSample();
    const INT64 length = static_cast<INT64>(text.size());
    struct Case
    {
        const char* name;
        INT64 top;
        int column, row;
        BOOL after;
        INT64 offset;
    } cases[] = {
        {"offset column: the row's first byte", 0, 3, 1, FALSE, 16},
        {"first digit of byte 2", 0, HEX_BYTES_COLUMN + 6, 0, FALSE, 2},
        {"blank after byte 2", 0, HEX_BYTES_COLUMN + 8, 0, FALSE, 2},
        {"after byte 2", 0, HEX_BYTES_COLUMN + 6, 0, TRUE, 3},
        {"character column of byte 5", 0, HEX_CHARS_COLUMN + 5, 0, FALSE, 5},
        {"right of the characters: the last byte", 0, HEX_CHARS_COLUMN + 30, 0, FALSE, 15},
        {"second half of a character: its start", 0, HEX_BYTES_COLUMN + 3 * 2, 1, FALSE, 17},
        {"after a whole character", 0, HEX_CHARS_COLUMN + 2, 1, TRUE, 19},
        {"the top row counts", 1, HEX_BYTES_COLUMN, 0, FALSE, 16},
        {"past the last byte of the last row", 0, HEX_CHARS_COLUMN + 15, 2, FALSE, 39},
        {"below the text", 0, HEX_BYTES_COLUMN, 9, FALSE, 39},
        {"below the text, after", 0, HEX_BYTES_COLUMN, 9, TRUE, 40},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HexPointToPosition(text.data(), length, c.top, c.column, c.row, c.after), c.offset)
            << c.name;
    EXPECT_EQ(HexDumpRowCount(0), 0);
    EXPECT_EQ(HexDumpRowCount(16), 1);
    EXPECT_EQ(HexDumpRowCount(17), 2);
}

} // namespace
