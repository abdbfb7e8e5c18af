// Menu 522 "表示フォント": the common font dialog over the view's font settings.
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "view/QvView.h"
#include "view/system/SystemShellApi.h"
#include "view/ViewBusyGuard.h"

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
    // The panes are laid out in cells of one width: only fixed-pitch faces fit.
    choice.Flags =
        CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_FIXEDPITCHONLY | CF_FORCEFONTEXIST;
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
