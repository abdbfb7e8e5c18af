// The text viewer's hexadecimal form: a header row of the sixteen column labels, then
// one row of sixteen bytes each, the offset, the bytes as two hexadecimal digits and
// the bytes as characters; and which byte lies under a point of that form.
#pragma once
#include <windows.h>
#include "view/status/StatusLine.h"
#include "view/viewer/ViewerLines.h"

// Columns of the form, counted from the pane's left column.
enum
{
    HEX_BYTES_COLUMN = 11, // the first byte's two digits; each byte takes three columns
    HEX_CHARS_COLUMN = 60, // the first byte as a character
};

// The rows of the form for a text of `length` bytes: one per sixteen bytes.
INT64 HexDumpRowCount(INT64 length);

// The header row: "+0" to "+f" over the byte columns.
void DrawHexDumpHeader(CCellCanvas& canvas, int leftColumn, int row, int rightEdge);

// Row `rowNumber` of the form (the bytes from 16 x rowNumber) at view row `row`. A
// double-byte character whose lead byte stands in the row's last column is shown as
// single bytes: the next row begins with its trail byte. Selected bytes (the
// selection's range, in either order) are drawn in reversed colours.
void DrawHexDumpRow(CCellCanvas& canvas, const char* text, INT64 length, int leftColumn, int row,
                    INT64 rowNumber, int rightEdge, const ViewerSelection* selection);

// The byte offset under cell (column, row) of the form, both counted from its first
// byte row's left column; topRow is the form row shown first. Left of the bytes gives
// the row's first byte, right of them its last one; a point on the second half of a
// double-byte character gives the character's start. after 1 gives the offset after
// the character. The result never passes the text's length.
INT64 HexPointToPosition(const char* text, INT64 length, INT64 topRow, int column, int row, BOOL after);
