// Which byte of a text viewer pane lies under a point of the view.
#pragma once
#include <windows.h>

struct ViewerPointFrame
{
    const char* text = nullptr;
    INT64 textLength = 0;
    const INT64* lineIndex = nullptr;
    INT64 lineCount = 0;
    INT64 topLine = 0;
    int tabWidth = 8;
    // Pixels: the text's left edge (the gutter of line numbers already passed), the
    // top of the first body row, a cell's width and height, and the client width.
    int left = 0;
    int top = 0;
    int charWidth = 8;
    int lineHeight = 16;
    int clientWidth = 640;
};

// The byte offset under (x, y): after FALSE gives the start of the character under the
// point, TRUE the offset after it. Left of the text gives the line's start; past a
// line's end, its break or the client's right edge gives the next line's start; below
// the last line gives the last byte. The caller holds the text's lock.
INT64 ViewerPointToPosition(const ViewerPointFrame& frame, int x, int y, BOOL after);
