// One row of a text-viewer pane (line number, text with tabs expanded, selection,
// line-break mark) and the pixel scroll of a viewer or binary-editor pane body.
#pragma once
#include <windows.h>
#include "framework/FwGdi.h"
#include "view/status/StatusLine.h"

#include <climits>

class CQvView;

// The view's text selection: two byte offsets into the file, in either order, and
// its two activity flags; it is drawn while either flag is set.
struct ViewerSelection
{
    INT64 anchor = 0;
    INT64 end = 0;
    BOOL active = FALSE;
    BOOL dragging = FALSE;
};

// What ExpandViewerLine built.
struct ViewerExpandedLine
{
    int length = 0;    // bytes written to the work buffer (= columns)
    int selStart = -1; // selection in expanded columns, [selStart, selEnd); -1 none
    int selEnd = -1;
    BOOL endsWithBreak = FALSE;
    // The work buffer was full before the line ended; the rest is not shown.
    BOOL truncated = FALSE;
};

// Expands the bytes of one line (system code page) into `out`: tabs to blanks up to
// the next multiple of tabWidth, double-byte characters kept whole, the first CR or
// LF ending the line. selStart/selEnd are byte positions in the line (-1 for none)
// and come back moved by the blanks of the tabs before them. Never writes more than
// `capacity` bytes, however long the line. Returns the expanded length.
int ExpandViewerLine(const char* line, int length, int tabWidth, int selStart, int selEnd, char* out,
                     int capacity, ViewerExpandedLine& result);

// Where and how a row is drawn.
struct ViewerLineFrame
{
    int originColumn = 0;
    // Right end of the text area in pixels (the pane's edge less its scroll bar).
    int rightEdge = 0;
    int tabWidth = 8;
    // VIEWNUMBER: a five-digit line number and a blank before the text.
    BOOL showNumbers = FALSE;
    const ViewerSelection* selection = nullptr;
    // The pane's line work buffer.
    char* workBuffer = nullptr;
    int workCapacity = 0;
    // The line-break mark; empty draws none.
    LPCWSTR breakMark = L"";
};

// Draws line `lineIndex` at `row`: its bytes run from lineStarts[lineIndex] to
// lineStarts[lineIndex + 1] in `text`.
void DrawViewerLineCells(CCellCanvas& canvas, const ViewerLineFrame& frame, const char* text,
                         const INT64* lineStarts, int row, INT64 lineIndex);

// Moves the pixels of a pane body by `lines` rows (positive moves the text up) and
// returns the rectangle that must be drawn again. paneRect starts at the pane's
// title row; headerRows is 1, or 2 for a pane with a column-header row (binary
// editor, hexadecimal viewer); rowsDrawn is the number of text rows shown. A pane
// that is not a text viewer redraws a band twice as tall.
CRect ScrollViewerBody(CDC* dc, const RECT& paneRect, int rowsDrawn, int lineHeight, int headerRows,
                       int lines, BOOL textViewer);

// The first and last view rows that meet a pixel rectangle; last < first when none.
void RowsMeetingRect(const RECT& rect, int lineHeight, int& firstRow, int& lastRow);

// The body rows of a text viewer pane (both forms); with a span (from >= 0) only the
// rows whose bytes meet [from, to], in either order; only the view rows from firstRow
// to lastRow.
void DrawViewerRows(CQvView& view, CDC* dc, int pane, INT64 from, INT64 to, int firstRow = 0,
                    int lastRow = INT_MAX);
