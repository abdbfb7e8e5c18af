// The one fixed-pitch font every pane is drawn in, chosen per screen resolution when
// the user asks for it.
#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "app/settings/ToolSettings.h"
#include "tools/display/DisplayFontDlg.h"
#include "tools/display/DisplayModeDlgs.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::CreateViewFont()
{
    LOGFONTW font = {};
    font.lfPitchAndFamily = FIXED_PITCH;
    bool chosen = false;
    if (g_DISPLAYFONTSIZE)
    {
        CString resolution;
        resolution.Format(L"%04dX%04d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        for (INT_PTR i = 0; i < g_DisplayFontSizes.GetSize(); ++i)
        {
            const CDisplayFontSize& entry = g_DisplayFontSizes[i];
            if (entry.m_resolution.CompareNoCase(resolution) != 0)
                continue;
            lstrcpynW(font.lfFaceName, entry.m_faceName, LF_FACESIZE);
            font.lfCharSet = static_cast<BYTE>(entry.m_charSet);
            font.lfHeight = entry.m_height;
            font.lfWidth = entry.m_width;
            font.lfWeight = entry.m_weight;
            chosen = true;
            break;
        }
    }
    if (!chosen)
    {
        lstrcpynW(font.lfFaceName, g_FONTNAME, LF_FACESIZE);
        font.lfCharSet = static_cast<BYTE>(g_FONTCHARSET);
        font.lfHeight = g_FONTHEIGHT;
        font.lfWidth = g_FONTWIDE;
        font.lfWeight = g_FONTWEIGHT;
    }
    m_viewFont.DeleteObject();
    m_viewFont.CreateFontIndirect(&font);
}

void CQvView::OnDisplayFontConfig()
{
    CViewBusyGuard busy(*this);
    CDisplayFontDlg dialog;
    dialog.m_fontPerResolution = g_DISPLAYFONTSIZE;
    if (dialog.DoModal() == IDOK)
    {
        g_DISPLAYFONTSIZE = dialog.m_fontPerResolution;
        CreateViewFont();
        if (m_hWnd != nullptr)
        {
            CalcLayout();
            Invalidate(TRUE);
        }
    }
}

void CQvView::OnDisplayModeSettings()
{
    CViewBusyGuard busy(*this);
    CDisplayModeDlg dialog;
    dialog.DoModal();
    // The slots may name the resolution the font list is keyed by.
    CreateViewFont();
    if (m_hWnd != nullptr)
    {
        CalcLayout();
        Invalidate(TRUE);
    }
}
