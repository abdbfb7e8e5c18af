#include "viewers/text/ViewerHitTest.h"

#include "viewers/text/ViewDataThread.h"

INT64 ViewerPointToPosition(const ViewerPointFrame& f, int x, int y, BOOL after)
{
    if (f.lineIndex == nullptr || f.lineCount <= 0 || f.textLength <= 0)
        return 0;
    const INT64 lastByte = f.textLength - 1;
    const int lh = f.lineHeight > 0 ? f.lineHeight : 1;
    const int cw = f.charWidth > 0 ? f.charWidth : 1;
    const INT64 row = y < f.top ? 0 : (y - f.top) / lh;
    const INT64 line = f.topLine + row;
    // A row without a line of its own (below the last one) means the end of the text;
    // its index entry would lie past the table.
    if (line >= f.lineCount)
        return lastByte;
    const INT64 start = f.lineIndex[line];
    INT64 next = f.lineIndex[line + 1];
    if (next > f.textLength)
        next = f.textLength;
    if (x < f.left)
        return start;
    if (x >= f.clientWidth)
        return next;
    const INT64 column = (x - f.left) / cw;
    const int tab = f.tabWidth > 0 ? f.tabWidth : 1;
    const BYTE* text = reinterpret_cast<const BYTE*>(f.text);
    INT64 col = 0;
    for (INT64 p = start; p < next;)
    {
        const BYTE c = text[p];
        if (c == '\r' || c == '\n')
            return next;
        int bytes = 1;
        INT64 width = 1;
        if (IsViewerLeadByte(c) && p + 1 < next)
        {
            bytes = 2;
            width = 2;
        }
        else if (c == '\t')
            width = (col / tab + 1) * tab - col;
        if (col + width > column)
            return after ? p + bytes : p;
        col += width;
        p += bytes;
    }
    return next;
}
