// The view's layout members: the cell grid, pane rectangles and cells, the active-pane
// mark and the drive bar of the header.
#include "view/QvView.h"

#include "app/DriveSeam.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/layout/Layout.h"
#include "app/settings/ViewSettings.h"

#include <memory>
#include <wctype.h>

namespace
{

constexpr COLORREF kButtonGrey = 0x808080;

// Paints the background behind bar items: the pane background picture where one is
// shown, else the background colour.
void PaintBarBackground(CQvView& view, CDC* pDC, const CRect& rect)
{
    view.DrawPaneBackgroundPicture(pDC, rect, g_DisplayColors[COLOR_BACK_GROUND]);
}

void DrawScrollButton(CDC* pDC, const CRect& button, int pressed, int left, int charWidth, int lineHeight)
{
    pDC->FillSolidRect(&button, kButtonGrey);
    CRect edge = button;
    pDC->DrawEdge(&edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    POINT points[3];
    int tipX = left ? button.left + charWidth / 2 : button.right - charWidth / 2;
    int baseX = left ? button.right - charWidth / 2 : button.left + charWidth / 2;
    points[0] = POINT{baseX, button.top + lineHeight / 4};
    points[1] = POINT{tipX, button.top + lineHeight / 2};
    points[2] = POINT{baseX, button.top + 3 * lineHeight / 4};
    HGDIOBJ oldBrush = pDC->SelectObject(::GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = pDC->SelectObject(::GetStockObject(BLACK_PEN));
    ::Polygon(pDC->GetSafeHdc(), points, 3);
    pDC->SelectObject(oldPen);
    pDC->SelectObject(oldBrush);
}

} // namespace

void CQvView::CalcLayout()
{
    TEXTMETRICW tm = {};
    CRect client;
    if (m_hWnd && ::IsWindow(m_hWnd))
    {
        CClientDC dc(this);
        HGDIOBJ oldFont = m_viewFont.GetSafeHandle() ? dc.SelectObject(m_viewFont.GetSafeHandle()) : nullptr;
        dc.GetTextMetrics(&tm);
        if (oldFont)
            dc.SelectObject(oldFont);
        GetClientRect(&client);
    }
    ComputeLayout(tm, client.Width(), client.Height(), g_Panes, m_layout);
    // The input-method window follows the cursor cell once the view handles the input
    // method.
}

int CQvView::IsPaneVisible(int pane)
{
    return ComputePaneVisible(g_Panes, pane);
}

void CQvView::GetPaneRect(CDC* pDC, int pane, CRect* out)
{
    CRect rect = ComputePaneRect(m_layout, g_Panes, pane);
    if (pDC)
    {
        CRgn region;
        region.CreateRectRgnIndirect(&rect);
        pDC->SelectClipRgn(&region);
    }
    if (out)
        *out = rect;
}

void CQvView::GetEntryCell(int pane, int i, int j, INT64* index, int* column, int* row, BOOL noMark)
{
    INT64 entry = 0;
    int x = 0, y = 0;
    if (g_Panes[pane])
        ComputeEntryCell(m_layout, *g_Panes[pane], pane, i, j, noMark, entry, x, y);
    if (index)
        *index = entry;
    if (column)
        *column = x;
    if (row)
        *row = y;
}

void CQvView::GetPaneAreaRects(int pane, CRect& list, CRect& title)
{
    ComputePaneAreaRects(m_layout, g_Panes, pane, list, title);
}

int CQvView::GetCursorCell(int pane, int* column, int* row)
{
    if (!g_Panes[pane])
        return 0;
    int x = 0, y = 0;
    int shown = ComputeCursorCell(m_layout, *g_Panes[pane], pane, x, y);
    if (shown)
    {
        if (column)
            *column = x;
        if (row)
            *row = y;
    }
    return shown;
}

int CQvView::CanScrollPane(int pane)
{
    return g_Panes[pane] ? CanScrollPaneMode(g_Panes[pane]->m_mode) : 0;
}

void CQvView::DrawPaneCursorMark(CDC* pDC, int pane)
{
    if (!pDC || !g_Panes[pane])
        return;
    const PaneLayout& p = m_layout.panes[pane];
    const int cw = m_layout.charWidth;
    const int lh = m_layout.lineHeight;
    CRect cell(p.originColumn * cw, (p.originRow - 1) * lh, (p.originColumn + 1) * cw, p.originRow * lh);
    if (g_Panes[pane]->m_position & PANE_POS_ACTIVE)
    {
        COLORREF oldText = pDC->SetTextColor(g_DisplayColors[COLOR_BACK_GROUND]);
        COLORREF oldBack = pDC->SetBkColor(g_DisplayColors[COLOR_INTRO_VOLUME]);
        pDC->ExtTextOut(cell.left, cell.top, ETO_OPAQUE | ETO_CLIPPED, &cell, L">", 1, nullptr);
        pDC->SetTextColor(oldText);
        pDC->SetBkColor(oldBack);
        return;
    }
    if (m_layout.split && !m_layout.visible[pane])
        return;
    pDC->FillSolidRect(&cell, g_DisplayColors[COLOR_INTRO_VOLUME]);
}

void CQvView::DrawDriveBar(CDC* pDC, int flags)
{
    if (!g_DRIVE_LIST_ON_HEADER)
        return;
    std::unique_ptr<CClientDC> own;
    HGDIOBJ oldFont = nullptr;
    if (!pDC)
    {
        if (!m_hWnd || !::IsWindow(m_hWnd))
            return;
        own = std::make_unique<CClientDC>(this);
        pDC = own.get();
        if (m_viewFont.GetSafeHandle())
            oldFont = pDC->SelectObject(m_viewFont.GetSafeHandle());
    }
    DriveBarState& bar = m_driveBar;
    DriveBarRecount(bar, (flags & 8) ? g_DriveSeam.GetLogicalDrives() : bar.mask);
    const int cw = m_layout.charWidth;
    const int lh = m_layout.lineHeight;
    const int base = bar.baseColumn;

    if (flags & 1)
    {
        for (int b = 0; b < 2; ++b)
        {
            bar.buttons[b] = DriveBarButtonRect(bar, b, cw, lh);
            if (bar.count > kDriveBarSlots)
                DrawScrollButton(pDC, bar.buttons[b], bar.pressed[b], b == 0, cw, lh);
            else
                PaintBarBackground(*this, pDC, bar.buttons[b]);
        }
    }
    if (flags & 2)
        PaintBarBackground(*this, pDC,
                           CRect((base + kDriveBarFirstLetterColumn) * cw, lh,
                                 (base + kDriveBarRightButtonColumn) * cw, 2 * lh));

    wchar_t highlight = 0;
    int active = 0;
    if (FindPaneByMode(&active, PANE_POS_ACTIVE, 0, 0) && !g_Panes[active]->m_currentDir.IsEmpty())
        highlight = static_cast<wchar_t>(towupper(g_Panes[active]->m_currentDir[0]));
    bool changed = highlight != bar.lastActive;

    COLORREF oldText = pDC->GetTextColor();
    COLORREF oldBack = pDC->GetBkColor();
    int j = 0;
    for (int n = 0; n < 26; ++n)
    {
        if (!((bar.mask >> n) & 1))
            continue;
        int position = j++ - bar.first;
        if (position < 0)
            continue;
        if (position >= kDriveBarSlots)
            break;
        wchar_t letter = static_cast<wchar_t>(L'A' + n);
        bool draw = (flags & 2) != 0;
        if (!draw && (flags & 4) && changed && (letter == highlight || letter == bar.lastActive))
            draw = true;
        if (!draw)
            continue;
        int column = base + kDriveBarFirstLetterColumn + 3 * position;
        CRect cell(column * cw, lh, (column + 2) * cw, 2 * lh);
        if (!(flags & 2) && letter == bar.lastActive)
            PaintBarBackground(*this, pDC, CRect(column * cw, lh, (column + 3) * cw, 2 * lh));
        wchar_t text[3] = {letter, L':', 0};
        if (letter == highlight)
        {
            pDC->SetTextColor(g_DisplayColors[COLOR_BACK_GROUND]);
            pDC->SetBkColor(g_DisplayColors[COLOR_INTRO_VOLUME]);
        }
        else
        {
            pDC->SetTextColor(g_DisplayColors[COLOR_INTRO_VOLUME]);
            pDC->SetBkColor(g_DisplayColors[COLOR_BACK_GROUND]);
        }
        pDC->ExtTextOut(cell.left, cell.top, ETO_OPAQUE | ETO_CLIPPED, &cell, text, 2, nullptr);
    }
    pDC->SetTextColor(oldText);
    pDC->SetBkColor(oldBack);
    bar.lastActive = highlight;
    if (oldFont)
        pDC->SelectObject(oldFont);
}

void CQvView::ReleaseDriveBarButtons()
{
    if (!g_DRIVE_LIST_ON_HEADER || (!m_driveBar.pressed[0] && !m_driveBar.pressed[1]))
        return;
    m_driveBar.pressed[0] = m_driveBar.pressed[1] = 0;
    DrawDriveBar(nullptr, 1);
}

wchar_t CQvView::DriveBarClick(CPoint point)
{
    // Without the status rows the bar is not drawn, and its row belongs to the panes.
    if (!g_DRIVE_LIST_ON_HEADER || !g_WRITEHEADERTYPE)
        return 0;
    int active = 0;
    if (!FindPaneByMode(&active, PANE_POS_ACTIVE,
                        PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK, 0))
        return 0;
    int position = 0;
    int hit = DriveBarHit(m_driveBar, m_layout.charWidth, m_layout.lineHeight, point, &position);
    switch (hit)
    {
    case DRIVEBAR_HIT_LEFT:
    case DRIVEBAR_HIT_RIGHT: {
        int right = hit == DRIVEBAR_HIT_RIGHT ? 1 : 0;
        DriveBarScroll(m_driveBar, right ? 1 : -1);
        m_driveBar.pressed[right] = 1;
        DrawDriveBar(nullptr, 1 | 2);
        return 0;
    }
    case DRIVEBAR_HIT_LETTER:
        // The caller changes the active pane to this drive.
        return DriveBarLetterAt(m_driveBar, position);
    default:
        return 0;
    }
}
