#include "view/scroll/ScrollBars.h"

#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "viewers/binary/BinaryData.h"

namespace
{

constexpr UINT kListModes = PANE_MODE_FILER | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK;
constexpr UINT kBarModes = kListModes | PANE_MODE_DRIVE_LIST | PANE_MODES_TEXT_VIEWERS | PANE_MODE_BINARY;

} // namespace

PaneScrollBarPlace ComputePaneScrollBar(const ViewLayout& layout, CFilerPane* const panes[2], int pane)
{
    PaneScrollBarPlace out;
    const CFilerPane* record = pane >= 0 && pane < 2 ? panes[pane] : nullptr;
    if (record == nullptr || !layout.visible[pane] || (record->m_mode & kBarModes) == 0 ||
        !CanScrollPaneMode(record->m_mode))
        return out;
    out.shown = 1;
    const int lh = layout.lineHeight;
    const int w = layout.clientWidth;
    const CRect body = ComputePaneRect(layout, panes, pane);
    if (layout.split == 0 && (record->m_mode & kListModes) != 0 && !record->m_bPreviewLayout)
    {
        out.vertical = 0;
        out.rect = CRect(w - w / 4, body.top, w, body.top + lh);
        return out;
    }
    // The pane's rectangle already leaves the bar its column, except for the stacked
    // drive list, which draws its short rows across the whole width.
    int right = body.right + lh;
    if (right > w)
        right = w;
    out.rect = CRect(right - lh, body.top, right, body.bottom);
    return out;
}

INT64 LastFirstDocumentLine(const CFilerPane& pane, int rowsFull)
{
    INT64 last = 0;
    if ((pane.m_mode & PANE_MODES_TEXT_VIEWERS) != 0 && pane.m_viewer != nullptr)
    {
        // The hexadecimal form keeps one more row free below the last bytes, as the
        // viewer's scrolling does.
        const INT64 length = pane.m_viewer->TextLength();
        last = pane.m_bHexDisplay ? length / 16 + (length % 16 ? 2 : 1) - rowsFull
                                  : pane.m_viewer->LineCount() - rowsFull;
    }
    else if (pane.m_mode == PANE_MODE_BINARY && pane.m_binaryData != nullptr)
    {
        // The binary editor gives its first row to the column header.
        last = pane.m_binaryData->m_lineCount - (rowsFull > 1 ? rowsFull - 1 : 1);
    }
    return last > 0 ? last : 0;
}

PaneScrollRange ComputePaneScrollRange(const CFilerPane& pane, int vertical, int rowsFull)
{
    if ((pane.m_mode & kListModes) != 0)
        return ListScrollRange(pane.GetEntryCount(), pane.m_firstVisible,
                               vertical ? pane.m_columnsInUse : pane.m_linesInUse);
    PaneScrollRange out;
    if (pane.m_mode == PANE_MODE_DRIVE_LIST)
    {
        INT64 rest = static_cast<INT64>(pane.GetEntryCount()) - pane.m_linesInUse;
        out.maximum = rest > 0 ? static_cast<int>(rest) : 0;
        out.position = static_cast<int>(pane.m_firstVisible);
        return out;
    }
    INT64 first = 0;
    if ((pane.m_mode & PANE_MODES_TEXT_VIEWERS) != 0 && pane.m_viewer != nullptr)
        first = pane.m_viewer->GetTopLine();
    else if (pane.m_mode == PANE_MODE_BINARY && pane.m_binaryData != nullptr)
        first = pane.m_binaryData->m_firstLine;
    return LineScrollRange(LastFirstDocumentLine(pane, rowsFull), first);
}

int CQvView::UpdateScrollBars()
{
    if (m_hWnd == nullptr)
        return 0;
    int changed = 0;
    const int active = GetActivePaneIndex();
    const bool picture = active >= 0 && (g_Panes[active]->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0;
    if (!picture)
        CalcLayout();
    for (int i = 0; i < 2; ++i)
    {
        HWND& bar = m_scroll.bars[i];
        // A bar destroyed with an earlier window of the view is gone.
        if (bar != nullptr && (!::IsWindow(bar) || ::GetParent(bar) != m_hWnd))
            bar = nullptr;
        PaneScrollBarPlace place;
        // A shown picture scrolls by the view's own pair of bars, set where the picture
        // is laid out; the pane bars give way to it.
        if (!picture)
            place = ComputePaneScrollBar(m_layout, g_Panes, i);
        if (bar != nullptr && (!place.shown || place.vertical != m_scroll.barVertical[i] ||
                               !::EqualRect(&place.rect, &m_scroll.barRects[i])))
        {
            // The bar is only a child window: the view paints the room it leaves.
            ::DestroyWindow(bar);
            bar = nullptr;
            m_scroll.barRects[i].SetRectEmpty();
            changed = 1;
        }
        if (!place.shown)
            continue;
        if (bar == nullptr)
        {
            bar = ::CreateWindowExW(
                0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | (place.vertical ? SBS_VERT : SBS_HORZ),
                place.rect.left, place.rect.top, place.rect.Width(), place.rect.Height(), m_hWnd,
                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_scroll.barIds[0][i])),
                ::GetModuleHandleW(nullptr), nullptr);
            if (bar == nullptr)
                continue;
            m_scroll.barRects[i] = place.rect;
            m_scroll.barVertical[i] = place.vertical;
            changed = 1;
        }
        else
        {
            // The view has just painted over it (it does not clip its children).
            ::InvalidateRect(bar, nullptr, TRUE);
        }
        PaneScrollRange range =
            ComputePaneScrollRange(*g_Panes[i], place.vertical, m_layout.panes[i].rowsFull);
        SCROLLINFO info = {
            sizeof(info), SIF_RANGE | SIF_POS, range.minimum, range.maximum, 0, range.position, 0};
        ::SetScrollInfo(bar, SB_CTL, &info, TRUE);
    }
    return changed;
}
