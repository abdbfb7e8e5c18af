// The frame's commands: menu bar, full screen, minimise and maximise, the display
// presets, saving the settings, and the frame's last place.
#include "app/DisplayModeSlots.h"
#include "app/Settings.h"
#include "app/settings/DisplayMode.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/ViewBusyGuard.h"

void CQvView::ApplyDisplaySet(int slot)
{
    if (slot < 0 || slot > 9)
        return;
    const DisplayModeSlot& mode = g_DisplayModeSlots[slot];
    ChangeDisplayMode(mode.width, mode.height, mode.bitsPerPixel);
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

namespace commands
{

int ToggleMenuBar(CQvView& view, const CommandCall&, INT_PTR)
{
    g_MENUDISPLAY = g_MENUDISPLAY ? 0 : 1;
    view.UpdateMenuForMode();
    return 1;
}

int ToggleFullScreen(CQvView& view, const CommandCall&, INT_PTR)
{
    CViewBusyGuard busy(view);
    view.OnFullScreen();
    return 1;
}

int MinimizeWindow(CQvView& view, const CommandCall&, INT_PTR)
{
    if (CWnd* frame = view.m_hWnd ? view.GetParentFrame() : nullptr)
        frame->ShowWindow(SW_MINIMIZE);
    return 1;
}

int ToggleMaximize(CQvView& view, const CommandCall&, INT_PTR)
{
    if (CWnd* frame = view.m_hWnd ? view.GetParentFrame() : nullptr)
        frame->ShowWindow(frame->IsZoomed() ? SW_RESTORE : SW_MAXIMIZE);
    return 1;
}

int ApplyDisplaySet(CQvView& view, const CommandCall&, INT_PTR slot)
{
    CViewBusyGuard busy(view);
    view.ApplyDisplaySet(static_cast<int>(slot));
    return 1;
}

int SaveConfiguration(CQvView& view, const CommandCall&, INT_PTR)
{
    view.SaveAllSettings();
    return 1;
}

} // namespace commands
