// Timer 7: "@Autonext" / "@Autobefore" in a text viewer move on by a few lines per tick
// until the text's first or last page is in sight.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"

int CQvView::StepTextAutoScroll()
{
    const int index = GetActivePaneIndex();
    CFilerPane* pane = TextViewerPaneAt(index);
    if (pane == nullptr || m_scrollRepeatDir == 0)
        return 0;
    const int dir = m_scrollRepeatDir;
    if (m_hWnd)
        KillTimer(VIEW_TIMER_TEXT_SCROLL);
    // The line mover stops a running repeat, as a key press does; the repeat goes on
    // below when the end is not yet in sight.
    MoveCursorByLines(g_VIEWSCROLLLINE, 0, dir, 1);
    m_scrollRepeatDir = dir;
    const INT64 top = pane->m_viewer->GetTopLine();
    const INT64 shown = m_layout.panes[index].rowsFull > 0 ? m_layout.panes[index].rowsFull : 1;
    bool more;
    if (dir < 0)
        more = top > 0;
    else if (pane->m_bHexDisplay)
    {
        const INT64 length = pane->m_viewer->TextLength();
        more = top + shown - 1 < length / 16 + (length % 16 ? 1 : 0);
    }
    else
        more = top + shown < pane->m_viewer->LineCount();
    if (!more)
    {
        m_scrollRepeatDir = 0;
        return 1;
    }
    if (m_hWnd == nullptr)
        return 1;
    if (g_VIEWSCROLLSPEED > 0)
        SetTimer(VIEW_TIMER_TEXT_SCROLL, static_cast<UINT>(g_VIEWSCROLLSPEED) * 20);
    else
    {
        // With no pause the repeat would starve the queue: one waiting message goes
        // first, then the next tick is posted at once.
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::PostMessageW(m_hWnd, WM_TIMER, VIEW_TIMER_TEXT_SCROLL, 0);
    }
    return 1;
}
