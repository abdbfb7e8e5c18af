#include "view/viewer/HexDump.h"

#include "app/Settings.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/ViewerSettings.h"

namespace
{
// A lead byte pairs with the next byte only inside the row and inside the text: the
// last byte of a row, or of the text, is shown alone rather than read past.
bool PairsInRow(const BYTE* text, INT64 length, INT64 offset, int i)
{
    return i < 15 && offset + 1 < length && IsDBCSLeadByte(text[offset]);
}

bool IsSelected(const ViewerSelection* selection, INT64 offset)
{
    if (selection == nullptr || !(selection->active || selection->dragging))
        return false;
    const INT64 a = selection->anchor < selection->end ? selection->anchor : selection->end;
    const INT64 b = selection->anchor < selection->end ? selection->end : selection->anchor;
    return offset >= a && offset < b;
}
} // namespace

INT64 HexDumpRowCount(INT64 length)
{
    return length <= 0 ? 0 : (length + 15) / 16;
}

void DrawHexDumpHeader(CCellCanvas& canvas, int leftColumn, int row, int rightEdge)
{
    const int cw = canvas.CharWidth();
    const int lh = canvas.LineHeight();
    RECT band = {leftColumn * cw, row * lh, rightEdge, (row + 1) * lh};
    if (band.left < band.right)
        canvas.ClearRect(band);
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    const COLORREF fore = g_DisplayColors[COLOR_VIEWER_LINE];
    for (int k = 0; k < 16; ++k)
    {
        CString label;
        label.Format(L"+%01x", k);
        canvas.TextOutCell(leftColumn + HEX_BYTES_COLUMN + 3 * k, row, label, fore, back);
    }
}

void DrawHexDumpRow(CCellCanvas& canvas, const char* text, INT64 length, int leftColumn, int row,
                    INT64 rowNumber, int rightEdge, const ViewerSelection* selection)
{
    const int cw = canvas.CharWidth();
    const int lh = canvas.LineHeight();
    RECT band = {leftColumn * cw, row * lh, rightEdge, (row + 1) * lh};
    if (band.left < band.right)
        canvas.ClearRect(band);
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    const COLORREF fore = g_DisplayColors[COLOR_VIEWER];
    CString offsetText;
    offsetText.Format(L"%08I64xH", static_cast<unsigned long long>(rowNumber * 16));
    canvas.TextOutCell(leftColumn, row, offsetText, g_DisplayColors[COLOR_VIEWER_LINE], back);
    if (text == nullptr)
        return;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text);
    const INT64 first = rowNumber * 16;
    auto digits = [&](INT64 offset, int i) {
        CString hex;
        hex.Format(L"%02X", bytes[offset]);
        COLORREF colour = g_BINARYUSERCOLOR ? static_cast<COLORREF>(g_BinaryByteColors[bytes[offset]]) : fore;
        if (IsSelected(selection, offset))
            canvas.TextOutCell(leftColumn + HEX_BYTES_COLUMN + 3 * i, row, hex, back, colour);
        else
            canvas.TextOutCell(leftColumn + HEX_BYTES_COLUMN + 3 * i, row, hex, colour, back);
    };
    for (int i = 0; i < 16 && first + i < length;)
    {
        const INT64 offset = first + i;
        const int size = PairsInRow(bytes, length, offset, i) ? 2 : 1;
        // Control bytes would move or erase what the cell shows: they are shown as dots.
        char shown[2] = {text[offset], size == 2 ? text[offset + 1] : '\0'};
        if (size == 1 && (bytes[offset] < 0x20 || bytes[offset] == 0x7F || IsDBCSLeadByte(bytes[offset])))
            shown[0] = '.';
        const bool selected = IsSelected(selection, offset);
        canvas.TextOutCellA(leftColumn + HEX_CHARS_COLUMN + i, row, shown, size, selected ? back : fore,
                            selected ? fore : back);
        digits(offset, i);
        if (size == 2)
            digits(offset + 1, i + 1);
        i += size;
    }
}

INT64 HexPointToPosition(const char* text, INT64 length, INT64 topRow, int column, int row, BOOL after)
{
    if (length <= 0)
        return 0;
    INT64 formRow = topRow + (row < 0 ? 0 : row);
    const INT64 rows = HexDumpRowCount(length);
    if (formRow >= rows)
        return length - 1 + (after ? 1 : 0);
    int i = 0;
    if (column >= HEX_CHARS_COLUMN)
        i = column - HEX_CHARS_COLUMN;
    else if (column >= HEX_BYTES_COLUMN)
        i = (column - HEX_BYTES_COLUMN) / 3;
    if (i > 15)
        i = 15;
    const INT64 first = formRow * 16;
    if (first + i >= length)
        i = static_cast<int>(length - 1 - first);
    // The row's own walk decides which bytes pair, as the drawing does.
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text);
    int start = 0;
    int size = 1;
    for (int k = 0; k <= i;)
    {
        size = text != nullptr && PairsInRow(bytes, length, first + k, k) ? 2 : 1;
        start = k;
        k += size;
    }
    const INT64 offset = first + start + (after ? size : 0);
    return offset > length ? length : offset;
}
