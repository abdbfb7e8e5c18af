// The frame's commands: menu bar, full screen, minimise and maximise, the display
// presets, saving the settings, and the frame's last place.
#include "app/DisplayModeSlots.h"
#include "app/Settings.h"
#include "app/settings/DisplayMode.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::ApplyDisplaySet(int slot)
{
    if (slot < 0 || slot > 9)
        return;
    const DisplayModeSlot& mode = g_DisplayModeSlots[slot];
    ::ChangeDisplayMode(mode.width, mode.height, mode.bitsPerPixel);
    // A refused mode leaves the old resolution, and the font fits either.
    CreateViewFont();
    if (m_hWnd)
        Invalidate();
}

void CQvView::UpdateDisplaySetMenuItem(CCmdUI& item, int slot)
{
    const DisplayModeSlot& mode = g_DisplayModeSlots[slot];
    const bool set = mode.width != 0 && mode.height != 0 && mode.bitsPerPixel != 0;
    CString text;
    if (set)
        text.Format(L"%ld x %ld %ldBit Colorに変更", static_cast<long>(mode.width),
                    static_cast<long>(mode.height), static_cast<long>(mode.bitsPerPixel));
    else
        text = L"未設定";
    item.SetText(text);
    item.Enable(set ? TRUE : FALSE);
}

void CQvView::OnMove(int x, int y)
{
    CView::OnMove(x, y);
    RememberFrameRect();
}

void CQvView::ToggleMenuBar()
{
    g_MENUDISPLAY = g_MENUDISPLAY ? 0 : 1;
    UpdateMenuForMode();
}

void CQvView::ToggleFullScreen()
{
    CViewBusyGuard busy(*this);
    OnFullScreen();
}

void CQvView::MinimizeWindow()
{
    if (CWnd* frame = m_hWnd ? GetParentFrame() : nullptr)
        frame->ShowWindow(SW_MINIMIZE);
}

void CQvView::ToggleMaximize()
{
    if (CWnd* frame = m_hWnd ? GetParentFrame() : nullptr)
        frame->ShowWindow(frame->IsZoomed() ? SW_RESTORE : SW_MAXIMIZE);
}

void CQvView::RunDisplaySet(int slot)
{
    CViewBusyGuard busy(*this);
    ApplyDisplaySet(slot);
}
