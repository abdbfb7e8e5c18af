// "@Fullscreen": the frame loses caption, borders and menu bar and its view covers the
// monitor; the second call gives everything back.
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"

namespace
{
constexpr LONG_PTR kFrameStyleBits =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
} // namespace

void CQvView::OnFullScreen()
{
    CWnd* frame = m_hWnd != nullptr ? GetParentFrame() : nullptr;
    if (frame == nullptr || frame->m_hWnd == nullptr)
        return;
    int index = -1;
    const bool graphic = FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODES_GRAPHIC_VIEWERS, 0);
    int& flag = graphic ? m_system.fullScreen.graphic : m_system.fullScreen.ordinary;
    if (flag)
    {
        flag = 0;
        // Adding the bits back would give a frame that never was a pop-up WS_POPUP:
        // the style it had before is restored as it was.
        if (!m_system.fullScreen.ordinary && !m_system.fullScreen.graphic)
            ::SetWindowLongPtrW(frame->m_hWnd, GWL_STYLE, m_system.fullScreen.frameStyle);
        const CRect& back = graphic && m_system.fullScreen.graphicRectSaved
                                ? m_system.fullScreen.graphicRect
                                : m_system.fullScreen.ordinaryRect;
        g_MENUDISPLAY = 1;
        UpdateMenuForMode();
        ::SetWindowPos(frame->m_hWnd, nullptr, back.left, back.top, back.Width(), back.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        m_system.fullScreenOn = m_system.fullScreen.ordinary || m_system.fullScreen.graphic ? 1 : 0;
        if (graphic && IsPictureShown())
            UpdatePictureLayout(0xFFFF);
        return;
    }
    CRect now;
    frame->GetWindowRect(&now);
    if (graphic)
    {
        m_system.fullScreen.graphicRect = now;
        m_system.fullScreen.graphicRectSaved = 1;
    }
    else
    {
        m_system.fullScreen.ordinaryRect = now;
    }
    if (!m_system.fullScreen.ordinary && !m_system.fullScreen.graphic)
        m_system.fullScreen.frameStyle = ::GetWindowLongPtrW(frame->m_hWnd, GWL_STYLE);
    flag = 1;
    g_MENUDISPLAY = 0;
    ::SetWindowLongPtrW(frame->m_hWnd, GWL_STYLE, m_system.fullScreen.frameStyle & ~kFrameStyleBits);
    RECT monitor = {};
    GetWindowMonitorRect(m_hWnd, &monitor);
    UpdateMenuForMode();
    ::SetWindowPos(frame->m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    // Whatever borders the frame keeps, the view's client area is what must cover the
    // monitor: the frame is placed by the client area's offset inside it.
    CRect frameRect, client;
    frame->GetWindowRect(&frameRect);
    GetClientRect(&client);
    ClientToScreen(&client);
    const int width = monitor.right - monitor.left + 1;
    const int height = monitor.bottom - monitor.top + 1;
    const int left = monitor.left - (client.left - frameRect.left);
    const int top = monitor.top - (client.top - frameRect.top);
    ::SetWindowPos(frame->m_hWnd, nullptr, left, top, width + frameRect.Width() - client.Width(),
                   height + frameRect.Height() - client.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_system.fullScreenOn = 1;
}
