// The frame's commands: menu bar, full screen, minimise and maximise, the display
// presets, saving the settings, and the frame's last place.
#include "app/DisplayModeSlots.h"
#include "app/Settings.h"
#include "app/settings/DisplayMode.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/SettingStrings.h"
#include "view/system/SystemShellApi.h"

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

VIEW_COMMAND(ToggleMenuBar)
{
    g_MENUDISPLAY = g_MENUDISPLAY ? 0 : 1;
    view.UpdateMenuForMode();
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

VIEW_COMMAND(RunDisplaySet)
{
    CViewBusyGuard busy(view);
    view.ApplyDisplaySet(value);
}

// ---- The owner of the auxiliary dialogs: the main window, or none (the desktop) for a
// dialog the user wants as a window of its own.
namespace
{
const wchar_t* const kDialogNames[] = {L"CGraphicListDlg", L"CFindFileDlg", L"DIR_HISTORY_DIALOG"};
} // namespace

CWnd* CQvView::GetDialogParent(int kind)
{
    // An owned window shares the main window's taskbar button and is minimised with
    // it; a desktop-owned one gets a button of its own and stays.
    if (g_ALL_DIALOG_OTHER_WINDOW)
        return nullptr;
    if (kind >= 0 && kind < static_cast<int>(sizeof(kDialogNames) / sizeof(kDialogNames[0])))
        for (const OtherWindowDialogRow& row : g_OtherWindowDialogs)
            if (wcscmp(row.className, kDialogNames[kind]) == 0 && row.flag)
                return nullptr;
    return m_hWnd ? AfxGetMainWnd() : nullptr;
}

// ---- Menu 522 "表示フォント": the common font dialog over the view's font settings.
void CQvView::OnDisplayFont()
{
    CViewBusyGuard busy(*this);
    LOGFONTW font = {};
    lstrcpynW(font.lfFaceName, g_FONTNAME, LF_FACESIZE);
    font.lfCharSet = static_cast<BYTE>(g_FONTCHARSET);
    font.lfHeight = g_FONTHEIGHT;
    font.lfWidth = g_FONTWIDE;
    font.lfWeight = g_FONTWEIGHT;
    font.lfPitchAndFamily = FIXED_PITCH;
    CHOOSEFONTW choice = {};
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = m_hWnd;
    choice.lpLogFont = &font;
    // The panes are laid out in cells of one width: only fixed-pitch faces fit, and
    // vertical ("@") faces would draw the text turned on its side.
    choice.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_FIXEDPITCHONLY |
                   CF_FORCEFONTEXIST | CF_NOVERTFONTS;
    if (g_SystemShellApi.chooseFont(&choice))
    {
        g_FONTNAME = font.lfFaceName;
        g_FONTCHARSET = font.lfCharSet;
        g_FONTHEIGHT = font.lfHeight;
        g_FONTWIDE = font.lfWidth;
        g_FONTWEIGHT = font.lfWeight;
        CreateViewFont();
        if (m_hWnd)
            Invalidate();
    }
}
