#include "view/viewer/ViewerLines.h"

#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/binary/BinaryLines.h"
#include "viewers/binary/BinaryData.h"
#include "app/settings/ViewSettings.h"

namespace
{

// A lead byte takes the next byte as its second half only when that byte can be one:
// a broken character before a tab or a line break must not swallow it.
bool PairsWithNext(const char* bytes, int i, int length)
{
    return i + 1 < length && IsDBCSLeadByte(static_cast<BYTE>(bytes[i])) &&
           static_cast<BYTE>(bytes[i + 1]) >= 0x40;
}

} // namespace

int ExpandViewerLine(const char* line, int length, int tabWidth, int selStart, int selEnd, char* out,
                     int capacity, ViewerExpandedLine& result)
{
    result = ViewerExpandedLine();
    if (tabWidth < 1)
        tabWidth = 8;
    int shiftStart = 0, shiftEnd = 0;
    int column = 0;
    for (int i = 0; i < length; ++i)
    {
        const char ch = line[i];
        if (ch == '\r' || ch == '\n')
        {
            result.endsWithBreak = TRUE;
            break;
        }
        if (ch == '\t')
        {
            const int blanks = tabWidth - column % tabWidth;
            if (selStart >= 0 && i < selStart)
                shiftStart += blanks - 1;
            if (selEnd >= 0 && i < selEnd)
                shiftEnd += blanks - 1;
            // A line of tabs grows up to tabWidth times: what does not fit in the work
            // buffer is cut, never written past it.
            const int room = capacity - column;
            for (int b = 0; b < blanks && b < room; ++b)
                out[column + b] = ' ';
            if (blanks > room)
            {
                column = capacity;
                result.truncated = TRUE;
                break;
            }
            column += blanks;
            continue;
        }
        const bool lead = PairsWithNext(line, i, length);
        const int size = lead ? 2 : 1;
        if (column + size > capacity)
        {
            result.truncated = TRUE;
            break;
        }
        out[column++] = ch;
        if (lead)
            out[column++] = line[++i];
    }
    result.length = column;
    if (selStart >= 0 && selEnd >= 0)
    {
        result.selStart = selStart + shiftStart;
        result.selEnd = selEnd + shiftEnd;
    }
    return column;
}

void DrawViewerLineCells(CCellCanvas& canvas, const ViewerLineFrame& frame, const char* text,
                         const INT64* lineStarts, int row, INT64 lineIndex)
{
    const INT64 start = lineStarts[lineIndex];
    const INT64 end = lineStarts[lineIndex + 1];
    const int length = static_cast<int>(end - start);

    int selStart = -1, selEnd = -1;
    const ViewerSelection* selection = frame.selection;
    if (selection && (selection->active || selection->dragging))
    {
        const INT64 a = selection->anchor < selection->end ? selection->anchor : selection->end;
        const INT64 b = selection->anchor < selection->end ? selection->end : selection->anchor;
        if (b >= start && end >= a)
        {
            selStart = static_cast<int>((a > start ? a : start) - start);
            selEnd = static_cast<int>((b < end ? b : end) - start);
        }
    }
    ViewerExpandedLine expanded;
    ExpandViewerLine(text + start, length, frame.tabWidth, selStart, selEnd, frame.workBuffer,
                     frame.workCapacity, expanded);

    const int cw = canvas.CharWidth();
    const int lh = canvas.LineHeight();
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    const COLORREF fore = g_DisplayColors[COLOR_VIEWER];
    int x = frame.originColumn;
    if (frame.showNumbers)
    {
        RECT cells = {x * cw, row * lh, (x + 6) * cw, (row + 1) * lh};
        canvas.ClearRect(cells);
        CString number;
        number.Format(L"%05lld ", static_cast<long long>(lineIndex));
        canvas.TextOutCell(x, row, number, g_DisplayColors[COLOR_VIEWER_LINE], back);
        x += 6;
    }
    RECT area = {x * cw, row * lh, frame.rightEdge, (row + 1) * lh};
    if (area.left < area.right)
        canvas.ClearRect(area);

    const bool hasSelection = expanded.selStart >= 0 && expanded.selEnd > expanded.selStart;
    if (hasSelection)
    {
        // A selection may run far past the pane (a long line); the fill stops at the
        // text area's edge like the characters do.
        RECT cells = {(x + expanded.selStart) * cw, row * lh, (x + expanded.selEnd) * cw, (row + 1) * lh};
        if (cells.right > frame.rightEdge)
            cells.right = frame.rightEdge;
        if (cells.left < cells.right)
            canvas.FillRect(cells, fore);
    }
    auto selected = [&](int column) {
        return hasSelection && column >= expanded.selStart && column < expanded.selEnd;
    };

    for (int i = 0; i < expanded.length;)
    {
        // Characters past the text area are not seen; a very long line costs no more
        // than a screenful.
        if ((x + i) * cw >= frame.rightEdge)
            break;
        const int size = PairsWithNext(frame.workBuffer, i, expanded.length) ? 2 : 1;
        if (selected(i))
            canvas.TextOutCellA(x + i, row, frame.workBuffer + i, size, back, fore);
        else
            canvas.TextOutCellA(x + i, row, frame.workBuffer + i, size, fore, back);
        i += size;
    }

    if (expanded.endsWithBreak && frame.breakMark && frame.breakMark[0] &&
        (x + expanded.length) * cw < frame.rightEdge)
    {
        const int column = expanded.length;
        canvas.TextOutCell(x + column, row, frame.breakMark, g_DisplayColors[COLOR_VIEWER_CONTROL],
                           selected(column) ? fore : back);
    }
}

CRect ScrollViewerBody(CDC* dc, const RECT& paneRect, int rowsDrawn, int lineHeight, int headerRows,
                       int lines, BOOL textViewer)
{
    CRect scroll(paneRect);
    scroll.bottom = paneRect.top + (rowsDrawn + 1) * lineHeight;
    scroll.top = paneRect.top + headerRows * lineHeight;
    CRect uncovered;
    HDC hdc = dc->GetSafeHdc();
    HRGN clip = ::CreateRectRgnIndirect(&scroll);
    ::SelectClipRgn(hdc, clip);
    ::ScrollDC(hdc, 0, -lines * lineHeight, &scroll, &scroll, nullptr, &uncovered);
    ::SelectClipRgn(hdc, nullptr);
    ::DeleteObject(clip);
    if (!textViewer)
    {
        const int band = (lines < 0 ? -lines : lines) * lineHeight;
        if (lines < 0)
            uncovered.bottom += band;
        else
            uncovered.top -= band;
    }
    return uncovered;
}

void RowsMeetingRect(const RECT& rect, int lineHeight, int& firstRow, int& lastRow)
{
    if (lineHeight <= 0 || rect.bottom <= rect.top)
    {
        firstRow = 0;
        lastRow = -1;
        return;
    }
    firstRow = rect.top / lineHeight;
    lastRow = (rect.bottom - 1) / lineHeight;
}

void CQvView::DrawViewerLines(CDC* dc, int pane, const RECT* update)
{
    CFilerPane* target = PaneAt(pane);
    if (target == nullptr || dc == nullptr)
        return;
    int firstRow = 0, lastRow = INT_MAX;
    if (update != nullptr)
        RowsMeetingRect(*update, m_layout.lineHeight, firstRow, lastRow);
    if ((target->m_mode & PANE_MODE_BINARY) == 0)
    {
        DrawViewerRows(*this, dc, pane, -1, -1, firstRow, lastRow);
        return;
    }
    CBinaryData* data = BinaryDataOf(pane);
    if (data == nullptr)
        return;
    // A binary pane's data rows start under its column-header row.
    const PaneLayout& geo = m_layout.panes[pane];
    const int header = geo.originRow;
    CRect area;
    GetPaneRect(nullptr, pane, &area);
    CDcCellCanvas canvas(dc, m_layout.charWidth, m_layout.lineHeight, m_layout.clientWidth);
    for (int k = 0; k + 1 < geo.rowsDrawn; ++k)
    {
        const int row = header + 1 + k;
        if (row < firstRow || row > lastRow)
            continue;
        const LONGLONG line = data->m_firstLine + k;
        if (line < data->m_lineCount)
            DrawBinaryLine(dc, pane, row, line, BINARY_PARTS_ALL);
        else
        {
            RECT band = {geo.originColumn * m_layout.charWidth, row * m_layout.lineHeight, area.right,
                         (row + 1) * m_layout.lineHeight};
            canvas.ClearRect(band);
        }
    }
}

void CQvView::ScrollViewerPane(int pane, int lines)
{
    if (m_hWnd == nullptr || PaneAt(pane) == nullptr || lines == 0)
        return;
    CClientDC dc(this);
    const ViewLayout& layout = m_layout;
    CRect client;
    ::GetClientRect(m_hWnd, &client);
    CRect body;
    GetPaneRect(&dc, pane, &body);
    HGDIOBJ oldFont = m_viewFont.GetSafeHandle() ? dc.SelectObject(m_viewFont.GetSafeHandle()) : nullptr;
    const UINT mode = g_Panes[pane]->m_mode;
    const BOOL binary = (mode & PANE_MODE_BINARY) != 0;
    // The title row shows the new position; a binary editor's title comes with its
    // caret, which every caller draws after the scroll.
    if (!binary)
        DrawViewerTitle(&dc, pane, m_viewer.textRight[pane]);
    if (client.Height() < layout.statusRows * layout.lineHeight)
    {
        ::SelectClipRgn(dc.GetSafeHdc(), nullptr);
        if (oldFont)
            dc.SelectObject(oldFont);
        return;
    }
    if (g_BACKBITMAPFLAG)
    {
        // A background picture cannot be moved with the text: every line is drawn
        // again over it.
        DrawViewerLines(&dc, pane, nullptr);
    }
    else
    {
        // The binary editor and the text viewer's hexadecimal form have a column-header
        // row under their title that stays where it is.
        const int headerRows = binary || g_Panes[pane]->m_bHexDisplay ? 2 : 1;
        const BOOL textViewer = (mode & (PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER)) != 0;
        const CRect uncovered = ScrollViewerBody(&dc, body, layout.panes[pane].rowsDrawn, layout.lineHeight,
                                                 headerRows, lines, textViewer);
        GetPaneRect(&dc, pane);
        DrawViewerLines(&dc, pane, &uncovered);
    }
    ::SelectClipRgn(dc.GetSafeHdc(), nullptr);
    if (oldFont)
        dc.SelectObject(oldFont);
    UpdateScrollBars();
}
