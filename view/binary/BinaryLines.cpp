#include "view/binary/BinaryLines.h"

#include "app/settings/ViewSettings.h"
#include "viewers/binary/BinaryData.h"

#include <stdio.h>

BinarySelectionBand GetBinarySelectionBand(const CBinaryData& data)
{
    BinarySelectionBand band;
    if (!data.m_selectionShown || data.m_selAnchor < 0 || data.m_selEnd < 0)
        return band;
    band.shown = TRUE;
    band.lo = data.m_selAnchor < data.m_selEnd ? data.m_selAnchor : data.m_selEnd;
    band.hi = data.m_selAnchor < data.m_selEnd ? data.m_selEnd : data.m_selAnchor;
    return band;
}

int IsBinaryByteSelected(const BinarySelectionBand& band, LONGLONG offset)
{
    return band.shown && band.lo / 2 <= offset && 2 * offset < band.hi;
}

void DrawBinaryLineCells(CCellCanvas& canvas, const BinaryLineFrame& frame, CBinaryData& data, int row,
                         LONGLONG line, int parts)
{
    const int cw = canvas.CharWidth();
    const int lh = canvas.LineHeight();
    const int p = frame.originColumn;
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    const COLORREF text = g_DisplayColors[COLOR_VIEWER];
    RECT rect = {p * cw, row * lh, frame.rightEdge, (row + 1) * lh};
    if (parts == BINARY_PARTS_CHARACTERS)
        rect.left = (p + 60) * cw;
    else if (parts == BINARY_PARTS_HEX)
    {
        rect.left = (p + 10) * cw;
        rect.right = (p + 59) * cw;
    }
    canvas.ClearRect(rect);
    const bool hex = (parts & BINARY_PARTS_HEX) != 0;
    const bool chars = (parts & BINARY_PARTS_CHARACTERS) != 0;
    if (parts == BINARY_PARTS_ALL)
    {
        wchar_t address[16];
        swprintf_s(address, L"%08IxH", static_cast<size_t>(line * kBinaryLineBytes));
        canvas.TextOutCell(p, row, address, g_DisplayColors[COLOR_VIEWER_LINE], back);
    }

    BinarySelectionBand band = GetBinarySelectionBand(data);
    const LONGLONG d = line * kBinaryNibblesPerLine;
    if (band.shown && hex && band.hi >= d && d + kBinaryNibblesPerLine >= band.lo)
    {
        const LONGLONG lo = band.lo < d ? d : band.lo;
        const LONGLONG hi = band.hi > d + kBinaryNibblesPerLine ? d + kBinaryNibblesPerLine : band.hi;
        const LONGLONG left = p + 11 + 3 * (lo / 2 - line * kBinaryLineBytes);
        const LONGLONG right = p + 3 * (hi / 2 - line * kBinaryLineBytes) + ((hi & 1) ? 13 : 10);
        if (left < right)
        {
            RECT bandRect = {static_cast<LONG>(left * cw), row * lh, static_cast<LONG>(right * cw),
                             (row + 1) * lh};
            canvas.FillRect(bandRect, text);
        }
    }

    BYTE bytes[kBinaryLineBytes];
    const LONGLONG count = data.Read(bytes, line * kBinaryLineBytes, kBinaryLineBytes);
    auto hexCell = [&](int i) {
        const LONGLONG offset = line * kBinaryLineBytes + i;
        char cell[3];
        sprintf_s(cell, "%02X", bytes[i]);
        COLORREF fore = text;
        COLORREF cellBack = back;
        if (IsBinaryByteSelected(band, offset))
        {
            fore = back;
            cellBack = text;
        }
        else if (frame.byteColors != nullptr)
            fore = frame.byteColors[bytes[i]];
        canvas.TextOutCellA(p + 11 + 3 * i, row, cell, 2, fore, cellBack);
    };
    for (int i = 0; i < count;)
    {
        // A double-byte character is shown whole, unless its lead byte ends the line:
        // then both halves stand alone, each on its own line.
        if (i != kBinaryLineBytes - 1 && i + 1 < count && IsDBCSLeadByte(bytes[i]))
        {
            if (chars)
                canvas.TextOutCellA(p + 60 + i, row, reinterpret_cast<const char*>(bytes + i), 2, text, back);
            if (hex)
            {
                hexCell(i);
                hexCell(i + 1);
            }
            i += 2;
            continue;
        }
        if (chars)
            canvas.TextOutCellA(p + 60 + i, row, reinterpret_cast<const char*>(bytes + i), 1, text, back);
        if (hex)
            hexCell(i);
        ++i;
    }
}

int BinaryNibbleAtX(int x, int originColumn, int charWidth)
{
    const int p = originColumn;
    const int w = charWidth;
    if (x < (p + 11) * w)
        return 0;
    if (x > (p + 59) * w)
        return 31;
    for (int i = 0; i < kBinaryLineBytes; ++i)
    {
        if ((p + 11 + 3 * i) * w <= x && x <= (p + 12 + 3 * i) * w)
            return 2 * i;
        if ((p + 12 + 3 * i) * w <= x && x <= (p + 14 + 3 * i) * w)
            return 2 * i + 1;
    }
    return 31;
}

int BinaryRowAtY(int y, int headerRow, int rows, int lineHeight, int clamp)
{
    const int top = (headerRow + 1) * lineHeight;
    if (y < top)
        return clamp ? 0 : -1;
    if (y >= (headerRow + 1 + rows) * lineHeight)
        return clamp ? rows - 1 : rows;
    return (y - top) / lineHeight;
}
