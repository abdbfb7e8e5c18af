// One line of a binary-editor pane on the cell grid (address, sixteen hex cells, the
// bytes as characters), and the mapping from a client point to a nibble position.
// Both work from figures alone so that they run without a window.
#pragma once
#include <windows.h>
#include "view/status/StatusLine.h"

class CBinaryData;

// Bytes and nibbles of one line.
constexpr int kBinaryLineBytes = 16;
constexpr LONGLONG kBinaryNibblesPerLine = 32;

// Which parts of a line DrawBinaryLineCells draws.
enum BinaryLineParts
{
    BINARY_PARTS_CHARACTERS = 1,
    BINARY_PARTS_HEX = 16,
    BINARY_PARTS_ALL = 17,
};

struct BinaryLineFrame
{
    // The pane's first character column.
    int originColumn = 0;
    // The right edge of the row in pixels (the pane's edge less its scroll strip).
    int rightEdge = 0;
    // Per-byte colours of the hex cells; null draws every cell in the viewer colour.
    const DWORD* byteColors = nullptr;
};

// The selection as drawn: lo/hi are the smaller and larger nibble, shown when set.
struct BinarySelectionBand
{
    BOOL shown = FALSE;
    LONGLONG lo = 0;
    LONGLONG hi = 0;
};
BinarySelectionBand GetBinarySelectionBand(const CBinaryData& data);

// 1 when the byte at `offset` is drawn selected: from the byte of the smaller nibble up
// to the byte of the larger one, that last byte only when the larger nibble is odd.
int IsBinaryByteSelected(const BinarySelectionBand& band, LONGLONG offset);

// Draws line `line` of the data at view row `row`.
void DrawBinaryLineCells(CCellCanvas& canvas, const BinaryLineFrame& frame, CBinaryData& data, int row,
                         LONGLONG line, int parts);

// The nibble of a line under client x (0 left of the hex area, 31 right of it).
int BinaryNibbleAtX(int x, int originColumn, int charWidth);

// The data row (0 = first shown line) under client y for a pane whose header is row
// `headerRow` and which shows `rows` lines. Above them -1, below them `rows` (one
// beyond, which scrolls a drag); with clamp the first or the last shown row.
int BinaryRowAtY(int y, int headerRow, int rows, int lineHeight, int clamp);
