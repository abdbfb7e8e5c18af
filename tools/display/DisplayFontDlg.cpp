#include "tools/display/DisplayFontDlg.h"
#include <commdlg.h>
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "res/DisplayDialogs.h"

CDisplayFontDlg::CDisplayFontDlg() : CDialog(IDD_DISPLAY_FONT, nullptr) {}

BOOL CDisplayFontDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_fonts.RemoveAll();
    HWND list = ::GetDlgItem(m_hWnd, IDC_DSP_FONT_LIST);
    for (INT_PTR i = 0; i < g_DisplayFontSizes.GetCount(); ++i)
    {
        m_fonts.Add(g_DisplayFontSizes[i]);
        CString text = g_DisplayFontSizes[i].m_resolution;
        text.Replace(L"X", L" x ");
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(text)));
    }
    ::CheckDlgButton(m_hWnd, IDC_DSP_FONT_PER_RESOLUTION, m_fontPerResolution ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CDisplayFontDlg::ChooseFont()
{
    const int selected =
        static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_DSP_FONT_LIST, LB_GETCURSEL, 0, 0));
    if (selected < 0 || selected >= m_fonts.GetCount())
        return;
    CDisplayFontSize& entry = m_fonts[selected];
    LOGFONTW font = {};
    // An entry without a face would open the chooser on the first face the system
    // lists, often a vertical one at its smallest size: start on the main font instead.
    const bool own = !entry.m_faceName.IsEmpty();
    lstrcpynW(font.lfFaceName, own ? entry.m_faceName : g_FONTNAME, LF_FACESIZE);
    font.lfCharSet = static_cast<BYTE>(own ? entry.m_charSet : g_FONTCHARSET);
    font.lfHeight = own ? entry.m_height : g_FONTHEIGHT;
    font.lfWidth = own ? entry.m_width : g_FONTWIDE;
    font.lfWeight = own ? entry.m_weight : g_FONTWEIGHT;
    font.lfPitchAndFamily = FIXED_PITCH;
    CHOOSEFONTW choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = m_hWnd;
    choose.lpLogFont = &font;
    // Vertical ("@") faces draw the panes' text turned on its side.
    choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_FIXEDPITCHONLY |
                   CF_FORCEFONTEXIST | CF_NOVERTFONTS;
    if (!::ChooseFontW(&choose))
        return;
    entry.m_faceName = font.lfFaceName;
    entry.m_charSet = font.lfCharSet;
    entry.m_height = font.lfHeight;
    entry.m_width = font.lfWidth;
    entry.m_weight = font.lfWeight;
}

void CDisplayFontDlg::UseMainFontForAll()
{
    for (INT_PTR i = 0; i < m_fonts.GetCount(); ++i)
    {
        CDisplayFontSize& entry = m_fonts[i];
        entry.m_height = g_FONTHEIGHT;
        entry.m_width = g_FONTWIDE;
        entry.m_faceName = g_FONTNAME;
        entry.m_charSet = g_FONTCHARSET;
        entry.m_weight = g_FONTWEIGHT;
    }
}

BOOL CDisplayFontDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_DSP_FONT_CHOOSE)
    {
        ChooseFont();
        return TRUE;
    }
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_DSP_FONT_ALL_MAIN)
    {
        UseMainFontForAll();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CDisplayFontDlg::OnOK()
{
    m_fontPerResolution = ::IsDlgButtonChecked(m_hWnd, IDC_DSP_FONT_PER_RESOLUTION) == BST_CHECKED;
    g_DisplayFontSizes.RemoveAll();
    for (INT_PTR i = 0; i < m_fonts.GetCount(); ++i)
        g_DisplayFontSizes.Add(m_fonts[i]);
    EndDialog(IDOK);
}
