// A binary-editor pane in the view: its drawing, the blinking caret, typing hex
// digits, extending the selection by keys and by the mouse, and the point mapping.
#include "view/binary/BinaryEditorUi.h"
#include "app/dialogs/DialogHelpers.h"
#include "view/binary/BinaryJump.h"
#include "app/Settings.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/ViewerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/binary/BinaryLines.h"
#include "viewers/binary/BinaryData.h"
#include "util/Formatting.h"

#include <memory>
#include <stdio.h>
#include <stdlib.h>
#include <commdlg.h>

namespace
{

// The view's client context with the view font; empty without a window.
class CBinaryPaneDC
{
public:
    explicit CBinaryPaneDC(CQvView& view)
    {
        if (view.m_hWnd == nullptr)
            return;
        m_dc = std::make_unique<CClientDC>(&view);
        if (view.m_viewFont.GetSafeHandle())
            m_oldFont = m_dc->SelectObject(&view.m_viewFont);
    }
    ~CBinaryPaneDC()
    {
        if (m_dc && m_oldFont)
            m_dc->SelectObject(m_oldFont);
    }
    CDC* get() const { return m_dc.get(); }

private:
    std::unique_ptr<CClientDC> m_dc;
    HGDIOBJ m_oldFont = nullptr;
};

const DWORD* ByteColors()
{
    return g_BINARYUSERCOLOR ? g_BinaryByteColors.data() : nullptr;
}

LONGLONG Abs64(LONGLONG v)
{
    return v < 0 ? -v : v;
}

} // namespace

CBinaryData* CQvView::BinaryDataOf(int pane) const
{
    const CFilerPane* target = PaneAt(pane);
    if (target == nullptr || target->m_mode != PANE_MODE_BINARY)
        return nullptr;
    return target->m_binaryData;
}

int CQvView::ActiveBinaryPane() const
{
    int pane = -1;
    if (!FindPaneByMode(&pane, PANE_POS_ACTIVE, PANE_MODE_BINARY, 0xFFFFFFFF) ||
        BinaryDataOf(pane) == nullptr)
        return -1;
    return pane;
}

int CQvView::BinaryShownLines(int pane) const
{
    const int rows = m_layout.panes[pane].rowsFull - 1;
    return rows > 0 ? rows : 1;
}

void CQvView::DrawBinaryLine(CDC* dc, int pane, int row, LONGLONG line, int parts)
{
    CBinaryData* data = BinaryDataOf(pane);
    if (data == nullptr || dc == nullptr)
        return;
    CDcCellCanvas canvas(dc, m_layout.charWidth, m_layout.lineHeight, m_layout.clientWidth);
    BinaryLineFrame frame;
    frame.originColumn = m_layout.panes[pane].originColumn;
    CRect area;
    GetPaneRect(nullptr, pane, &area);
    frame.rightEdge = area.right;
    frame.byteColors = ByteColors();
    DrawBinaryLineCells(canvas, frame, *data, row, line, parts);
}

void CQvView::DrawBinaryBody(CDC* dc, int pane, int right)
{
    CBinaryData* data = BinaryDataOf(pane);
    if (data == nullptr || dc == nullptr)
        return;
    const PaneLayout& geo = m_layout.panes[pane];
    const int shown = BinaryShownLines(pane);
    data->MoveCursor(0);
    data->ScrollToCursor(shown, 0);
    CDcCellCanvas canvas(dc, m_layout.charWidth, m_layout.lineHeight, m_layout.clientWidth);
    const int header = geo.originRow;
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    for (int i = 0; i < kBinaryLineBytes; ++i)
    {
        wchar_t label[8];
        swprintf_s(label, L"+%01x", i);
        canvas.TextOutCell(geo.originColumn + 11 + 3 * i, header, label, g_DisplayColors[COLOR_VIEWER_LINE],
                           back);
    }
    BinaryLineFrame frame;
    frame.originColumn = geo.originColumn;
    frame.rightEdge = right;
    frame.byteColors = ByteColors();
    for (int k = 0; k + 1 < geo.rowsDrawn; ++k)
    {
        const LONGLONG line = data->m_firstLine + k;
        if (line >= data->m_lineCount)
            break;
        DrawBinaryLineCells(canvas, frame, *data, header + 1 + k, line, BINARY_PARTS_ALL);
    }
    // The caret cell is drawn plain here; the next blink shows it.
    m_bCaretShown = 0;
    const COLORREF titleBack = g_DisplayColors[COLOR_INTRO_VOLUME];
    RECT titleRect = {geo.originColumn * m_layout.charWidth, (header - 1) * m_layout.lineHeight, right,
                      header * m_layout.lineHeight};
    canvas.FillRect(titleRect, titleBack);
    CString title;
    title.Format(L"%s,(%I64d/%I64d)", data->m_path.GetString(), data->m_cursor / kBinaryNibblesPerLine,
                 data->m_lineCount - 1);
    canvas.TextOutCell(geo.originColumn + 1, header - 1, title, back, titleBack);
    DrawPaneCursorMark(dc, pane);
}

void CQvView::DrawBinaryPane(int pane, int flag)
{
    CBinaryData* data = BinaryDataOf(pane);
    if (data == nullptr)
        return;
    const BinarySelectionBand band = GetBinarySelectionBand(*data);
    if (flag == 2)
    {
        const LONGLONG byteNibble = 2 * (data->m_cursor / 2);
        flag = band.shown && band.lo <= byteNibble && byteNibble < band.hi ? 1 : 0;
    }
    CBinaryPaneDC dc(*this);
    if (dc.get() == nullptr)
        return;
    CalcLayout();
    const PaneLayout& geo = m_layout.panes[pane];
    const int cw = m_layout.charWidth;
    const int lh = m_layout.lineHeight;
    CDcCellCanvas canvas(dc.get(), cw, lh, m_layout.clientWidth);
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    const COLORREF text = g_DisplayColors[COLOR_VIEWER];
    const int header = geo.originRow;
    if (flag == 1)
    {
        CRect area;
        GetPaneRect(nullptr, pane, &area);
        const COLORREF titleBack = g_DisplayColors[COLOR_INTRO_VOLUME];
        RECT titleRect = {geo.originColumn * cw, (header - 1) * lh, area.right, header * lh};
        canvas.FillRect(titleRect, titleBack);
        CString title;
        title.Format(L"%s,(%I64d/%I64d)", data->m_path.GetString(), data->m_cursor / kBinaryNibblesPerLine,
                     data->m_lineCount - 1);
        canvas.TextOutCell(geo.originColumn + 1, header - 1, title, back, titleBack);
        DrawPaneCursorMark(dc.get(), pane);
    }
    BYTE value = 0;
    const LONGLONG offset = data->m_cursor / 2;
    if (data->Read(&value, offset, 1) != 1)
        return;
    const LONGLONG shownRow = data->m_cursor / kBinaryNibblesPerLine - data->m_firstLine;
    if (shownRow < 0 || shownRow > BinaryShownLines(pane) - 1)
        return;
    char digits[3];
    sprintf_s(digits, "%02X", value);
    const int odd = static_cast<int>(data->m_cursor & 1);
    const int column = geo.originColumn + 11 + 3 * static_cast<int>(offset % kBinaryLineBytes) + odd;
    const int row = header + 1 + static_cast<int>(shownRow);
    RECT cell = {column * cw, row * lh, (column + 1) * cw, (row + 1) * lh};
    if (flag == 1)
    {
        canvas.FillRect(cell, text);
        canvas.TextOutCellA(column, row, digits + odd, 1, back, text);
    }
    else
    {
        canvas.ClearRect(cell);
        const COLORREF fore = g_BINARYUSERCOLOR ? g_BinaryByteColors[value] : text;
        canvas.TextOutCellA(column, row, digits + odd, 1, fore, back);
    }
}

void CQvView::BlinkBinaryCaret()
{
    const int pane = ActiveBinaryPane();
    if (pane < 0)
    {
        if (m_hWnd)
            KillTimer(VIEW_TIMER_BINARY_CURSOR);
        return;
    }
    m_bCaretShown = !m_bCaretShown;
    DrawBinaryPane(pane, m_bCaretShown ? 1 : 0);
}

int CQvView::StepBinaryAutoScroll()
{
    const int pane = ActiveBinaryPane();
    if (pane < 0 || m_scrollRepeatDir == 0)
        return 0;
    const int dir = m_scrollRepeatDir;
    if (m_hWnd)
        KillTimer(VIEW_TIMER_BINARY_SCROLL);
    CBinaryData& data = *BinaryDataOf(pane);
    MoveBinaryCursor(pane, static_cast<LONGLONG>(g_BINARYSCROLLLINE) * kBinaryNibblesPerLine * dir);
    const LONGLONG line = data.m_cursor / kBinaryNibblesPerLine;
    const bool more = dir > 0 ? line < data.m_lineCount - 1 : line > 0;
    if (more && m_hWnd)
        SetTimer(VIEW_TIMER_BINARY_SCROLL, static_cast<UINT>(g_BINARYSCROLLSPEED) * 20);
    else
        m_scrollRepeatDir = 0;
    return 1;
}

void CQvView::MoveBinaryCursor(int pane, LONGLONG delta)
{
    CBinaryData* data = BinaryDataOf(pane);
    if (data == nullptr)
        return;
    DrawBinaryPane(pane, 2);
    data->MoveCursor(delta);
    const int shown = BinaryShownLines(pane);
    const int d = data->ScrollToCursor(shown, 1);
    if (d != 0)
    {
        if (Abs64(d) > shown)
        {
            m_paneRedrawRequest[pane] = 1;
            DrawPane(pane);
        }
        else
            ScrollViewerPane(pane, d);
    }
    else
        data->m_extending = 0;
    DrawBinaryPane(pane, 1);
    m_bCaretShown = 1;
    StartBinaryCursorTimer();
}

void CQvView::InputBinaryNibble(int digit)
{
    const int pane = ActiveBinaryPane();
    if (pane < 0 || digit < 0 || digit > 15)
        return;
    CBinaryData& data = *BinaryDataOf(pane);
    if (data.m_size <= 0)
        return;
    if ((data.m_cursor & 1) == 0)
        data.SetByte(data.m_cursor / 2, static_cast<BYTE>(digit), BINEDIT_HIGH_NIBBLE);
    else
        data.SetByte(data.m_cursor / 2, static_cast<BYTE>(digit), BINEDIT_LOW_NIBBLE);
    DrawBinaryPane(pane, 2);
    const LONGLONG oldLine = data.m_cursor / kBinaryNibblesPerLine;
    data.MoveCursor(1);
    const int d = data.ScrollToCursor(BinaryShownLines(pane), 1);
    if (d != 0)
        ScrollViewerPane(pane, d);
    else if (m_hWnd)
    {
        CBinaryPaneDC dc(*this);
        const int header = m_layout.panes[pane].originRow;
        const LONGLONG newLine = data.m_cursor / kBinaryNibblesPerLine;
        if (oldLine != newLine)
            DrawBinaryLine(dc.get(), pane, header + 1 + static_cast<int>(oldLine - data.m_firstLine), oldLine,
                           BINARY_PARTS_CHARACTERS);
        DrawBinaryLine(dc.get(), pane, header + 1 + static_cast<int>(newLine - data.m_firstLine), newLine,
                       BINARY_PARTS_CHARACTERS);
    }
    DrawBinaryPane(pane, 1);
    m_bCaretShown = 1;
}

void CQvView::SelectBinaryMove(LONGLONG delta)
{
    const int pane = ActiveBinaryPane();
    if (pane < 0)
        return;
    CBinaryData& data = *BinaryDataOf(pane);
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    const LONGLONG oldAnchor = data.m_selAnchor;
    const LONGLONG oldEnd = data.m_selEnd;
    if (!data.m_extending)
    {
        data.m_selAnchor = data.m_selEnd = data.m_cursor;
        data.m_extending = 1;
        data.m_selectionShown = 1;
    }
    data.MoveCursor(delta);
    data.m_selEnd = data.m_cursor;
    const int shown = BinaryShownLines(pane);
    const int d = data.ScrollToCursor(shown, 1);
    if (d != 0)
    {
        if (Abs64(d) > shown)
        {
            m_paneRedrawRequest[pane] = 1;
            DrawPane(pane);
        }
        else
            ScrollViewerPane(pane, d);
    }
    else
        RedrawBinaryRange(pane, data.m_selAnchor, data.m_selEnd, oldAnchor, oldEnd);
    DrawBinaryPane(pane, 1);
    m_bCaretShown = 1;
    StartBinaryCursorTimer();
}

void CQvView::RedrawBinaryRange(int pane, LONGLONG newFrom, LONGLONG newTo, LONGLONG oldFrom, LONGLONG oldTo)
{
    CBinaryData* data = BinaryDataOf(pane);
    if (data == nullptr || m_hWnd == nullptr)
        return;
    CRect client;
    GetClientRect(&client);
    if (client.Height() < m_layout.statusRows * m_layout.lineHeight)
        return;
    LONGLONG s[4] = {newFrom, newTo, oldFrom, oldTo};
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            if (s[j] < s[i])
            {
                LONGLONG t = s[i];
                s[i] = s[j];
                s[j] = t;
            }
    CBinaryPaneDC dc(*this);
    const int header = m_layout.panes[pane].originRow;
    const LONGLONG first = data->m_firstLine * kBinaryNibblesPerLine;
    const LONGLONG last = (data->m_firstLine + BinaryShownLines(pane) - 1) * kBinaryNibblesPerLine;
    auto band = [&](LONGLONG from, LONGLONG to) {
        for (LONGLONG at = from; at <= to + kBinaryNibblesPerLine; at += kBinaryNibblesPerLine)
        {
            const LONGLONG lineStart = at / kBinaryNibblesPerLine * kBinaryNibblesPerLine;
            if (at < 0 || lineStart < first || lineStart > last)
                continue;
            const LONGLONG line = at / kBinaryNibblesPerLine;
            DrawBinaryLine(dc.get(), pane, header + 1 + static_cast<int>(line - data->m_firstLine), line,
                           BINARY_PARTS_HEX);
        }
    };
    band(s[0], s[1]);
    if (!(s[0] == s[2] && s[1] == s[3]))
        band(s[2], s[3]);
    UpdateScrollBars();
}

int CQvView::BinaryPointToPosition(int pane, int x, int y, LONGLONG* position, int clamp)
{
    CBinaryData* data = BinaryDataOf(pane);
    if (data == nullptr || position == nullptr)
        return 0;
    const PaneLayout& geo = m_layout.panes[pane];
    const int nibble = BinaryNibbleAtX(x, geo.originColumn, m_layout.charWidth);
    const int row = BinaryRowAtY(y, geo.originRow, BinaryShownLines(pane), m_layout.lineHeight, clamp);
    LONGLONG at = (row + data->m_firstLine) * kBinaryNibblesPerLine + nibble;
    if (at > 2 * data->m_size - 1)
        at = 2 * data->m_size - 1;
    if (at < 0)
        at = 0;
    *position = at;
    return 1;
}

void CQvView::SyncOtherBinaryPane(int pane)
{
    const int other = 1 - pane;
    CBinaryData* mine = BinaryDataOf(pane);
    CBinaryData* theirs = BinaryDataOf(other);
    if (mine == nullptr || theirs == nullptr || mine->m_path.CompareNoCase(theirs->m_path) != 0)
        return;
    theirs->InvalidateReadWindow();
    m_paneRedrawRequest[other] = 1;
    DrawPane(other);
    if (other == GetActivePaneIndex())
        DrawBinaryPane(other, 1);
}

void CQvView::ClickBinaryPane(int pane, CPoint point, UINT flags)
{
    CBinaryData* data = BinaryDataOf(pane);
    LONGLONG position = 0;
    if (data == nullptr || !BinaryPointToPosition(pane, point.x, point.y, &position, 1))
        return;
    DrawBinaryPane(pane, 2);
    const LONGLONG oldAnchor = data->m_selAnchor;
    const LONGLONG oldEnd = data->m_selEnd;
    if (flags & MK_SHIFT)
    {
        if (!data->m_selectionShown || data->m_selAnchor < 0)
            data->m_selAnchor = data->m_cursor;
        data->m_selEnd = position;
        data->m_selectionShown = 1;
    }
    else
    {
        // The click is where a drag would start its selection.
        data->m_selAnchor = data->m_selEnd = position;
        data->m_selectionShown = 0;
    }
    data->m_extending = 0;
    data->m_cursor = position;
    RedrawBinaryRange(pane, data->m_selAnchor, data->m_selEnd, oldAnchor, oldEnd);
    DrawBinaryPane(pane, 1);
    m_bCaretShown = 1;
}

void CQvView::DragBinarySelection(int pane, CPoint point)
{
    CBinaryData* data = BinaryDataOf(pane);
    LONGLONG position = 0;
    if (data == nullptr || !BinaryPointToPosition(pane, point.x, point.y, &position, 0))
        return;
    DrawBinaryPane(pane, 2);
    const LONGLONG oldAnchor = data->m_selAnchor;
    const LONGLONG oldEnd = data->m_selEnd;
    if (data->m_selAnchor < 0)
        data->m_selAnchor = data->m_cursor;
    data->m_selEnd = position;
    data->m_selectionShown = 1;
    data->m_cursor = position;
    // A point above or below the shown rows maps one line beyond them: the pane follows.
    const int shown = BinaryShownLines(pane);
    const int d = data->ScrollToCursor(shown, 1);
    if (d != 0)
    {
        if (Abs64(d) > shown)
        {
            m_paneRedrawRequest[pane] = 1;
            DrawPane(pane);
        }
        else
            ScrollViewerPane(pane, d);
    }
    else
        RedrawBinaryRange(pane, data->m_selAnchor, data->m_selEnd, oldAnchor, oldEnd);
    DrawBinaryPane(pane, 1);
    m_bCaretShown = 1;
}

BOOL ComputeBinaryJumpDelta(LPCWSTR text, int hexNotation, int relative, LONGLONG cursor, LONGLONG* delta)
{
    LONGLONG number = 0;
    if (hexNotation)
    {
        int value = 0;
        if (!ParseHexNumber(text, value, TRUE))
            return FALSE;
        number = value;
    }
    else
        number = text != nullptr ? _wtoi64(text) : 0;
    *delta = relative ? number * 32 : number * 32 - cursor;
    return TRUE;
}

BOOL ParseBinaryOffset(LPCWSTR text, int hexNotation, LONGLONG size, LONGLONG* offset)
{
    if (text == nullptr || *text == 0)
        return FALSE;
    LONGLONG value = 0;
    if (hexNotation)
    {
        int parsed = 0;
        if (!ParseHexNumber(text, parsed, TRUE))
            return FALSE;
        value = parsed;
    }
    else
    {
        wchar_t* end = nullptr;
        value = _wcstoi64(text, &end, 10);
        if (end == text || *end != 0)
            return FALSE;
    }
    if (value < 0 || value >= size)
        return FALSE;
    *offset = value;
    return TRUE;
}

namespace
{

INT_PTR RunDialogModally(CDialog& dialog, UINT)
{
    return dialog.DoModal();
}

BOOL AskSavePathWithDialog(CWnd* owner, CString& path)
{
    FileDialogRequest request(owner != nullptr ? owner->m_hWnd : nullptr, L"全てのファイル\0*.*\0\0");
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
    request.save = true;
    CString chosen;
    if (!BrowseForFile(request, chosen))
        return FALSE;
    path = chosen;
    return TRUE;
}

const BinaryEditorUi kDefaultUi = {RunDialogModally, AskSavePathWithDialog};

} // namespace

BinaryEditorUi g_BinaryEditorUi = kDefaultUi;

const BinaryEditorUi& DefaultBinaryEditorUi()
{
    return kDefaultUi;
}
