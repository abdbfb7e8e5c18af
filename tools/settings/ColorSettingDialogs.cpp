#include "tools/settings/ColorSettingDialogs.h"

#include "app/Settings.h"
#include "res/SettingsDialogs.h"

const ColorButtonRow g_ColorButtonRows[kColorButtonCount] = {
    {IDC_COLOR_READ_ONLY, COLOR_READ_ONLY},
    {IDC_COLOR_SYSTEM, COLOR_SYSTEM},
    {IDC_COLOR_DIRECTORY, COLOR_DIRECTORY},
    {IDC_COLOR_HIDDEN, COLOR_HIDDEN},
    {IDC_COLOR_ARCHIVE, COLOR_ARCHIVE},
    {IDC_COLOR_BACK_GROUND, COLOR_BACK_GROUND},
    {IDC_COLOR_ALL_INTRO, COLOR_ALL_INTRO},
    {IDC_COLOR_INTRO_VOLUME, COLOR_INTRO_VOLUME},
    {IDC_COLOR_TIME, COLOR_TIME},
    {IDC_COLOR_INFORMATION, COLOR_INFORMATION},
    {IDC_COLOR_ALARM, COLOR_ALARM},
    {IDC_COLOR_TAG, COLOR_TAG},
    {IDC_COLOR_LINE, COLOR_LINE},
    {IDC_COLOR_VIEWER, COLOR_VIEWER},
    {IDC_COLOR_VIEWER_CONTROL, COLOR_VIEWER_CONTROL},
    {IDC_COLOR_VIEWER_LINE, COLOR_VIEWER_LINE},
    {IDC_COLOR_BINARYCMP, COLOR_BINARYCMP},
    {IDC_COLOR_MPEGNAME, COLOR_MPEGNAME},
};

// ---- CAttColorDlg --------------------------------------------------------------------

CAttColorDlg::CAttColorDlg(ColorSet& colors, int& neglectAttributes, CWnd* parent)
    : CDialog(IDD_ATT_COLOR, parent), m_colors(colors), m_neglectAttributes(neglectAttributes)
{
}

BOOL CAttColorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < kColorButtonCount; ++i)
    {
        m_buttons[size_t(i)].m_color = m_colors[size_t(g_ColorButtonRows[i].colorIndex)];
        m_buttons[size_t(i)].SubclassDlgItem(g_ColorButtonRows[i].controlId, this);
    }
    CheckDlgButton(IDC_COLOR_NEGLECT_ATTRIBUTE, m_neglectAttributes ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

BOOL CAttColorDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    for (CSelectColorButton& button : m_buttons)
        if (button.ReflectParentMessage(WM_COMMAND, wParam, lParam))
            return TRUE;
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CAttColorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM)
        for (CSelectColorButton& button : m_buttons)
            if (button.ReflectParentMessage(message, wParam, lParam))
                return TRUE;
    return CDialog::WindowProc(message, wParam, lParam);
}

void CAttColorDlg::OnOK()
{
    for (int i = 0; i < kColorButtonCount; ++i)
        m_colors[size_t(g_ColorButtonRows[i].colorIndex)] = m_buttons[size_t(i)].m_color;
    m_neglectAttributes = IsDlgButtonChecked(IDC_COLOR_NEGLECT_ATTRIBUTE) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}

// ---- CFileKindColorDlg ---------------------------------------------------------------

CFileKindColorDlg::CFileKindColorDlg(CWnd* parent) : CDialog(IDD_FILE_KIND_COLOR, parent) {}

BOOL CFileKindColorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int i = 0; i < kKindColorCount; ++i)
        m_entries[size_t(i)] = g_KindColors[i];
    for (int k = 0; k < kRowsPerPage; ++k)
        m_buttons[size_t(k)].SubclassDlgItem(IDC_KINDCOLOR_BUTTON0 + k, this);
    m_first = 0;
    ShowPage();
    CheckDlgButton(IDC_KINDCOLOR_USE, g_DISP_FILE_KIND_COLOR ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CFileKindColorDlg::ShowPage()
{
    for (int k = 0; k < kRowsPerPage; ++k)
    {
        const KindColorEntry& entry = m_entries[size_t(m_first + k)];
        SetDlgItemText(IDC_KINDCOLOR_NAME0 + k, entry.m_extensions);
        m_buttons[size_t(k)].m_color = entry.m_color;
        m_buttons[size_t(k)].Invalidate();
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KINDCOLOR_BEFORE), m_first > 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KINDCOLOR_NEXT), m_first + kRowsPerPage < kKindColorCount);
}

void CFileKindColorDlg::StorePage()
{
    for (int k = 0; k < kRowsPerPage; ++k)
    {
        KindColorEntry& entry = m_entries[size_t(m_first + k)];
        GetDlgItemText(IDC_KINDCOLOR_NAME0 + k, entry.m_extensions);
        entry.m_color = m_buttons[size_t(k)].m_color;
    }
}

void CFileKindColorDlg::Turn(int step)
{
    const int first = m_first + step;
    if (first < 0 || first + kRowsPerPage > kKindColorCount)
        return;
    StorePage();
    m_first = first;
    ShowPage();
}

BOOL CFileKindColorDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    for (CSelectColorButton& button : m_buttons)
        if (button.ReflectParentMessage(WM_COMMAND, wParam, lParam))
            return TRUE;
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_KINDCOLOR_NEXT)
    {
        Turn(kRowsPerPage);
        return TRUE;
    }
    if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_KINDCOLOR_BEFORE)
    {
        Turn(-kRowsPerPage);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CFileKindColorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM)
        for (CSelectColorButton& button : m_buttons)
            if (button.ReflectParentMessage(message, wParam, lParam))
                return TRUE;
    return CDialog::WindowProc(message, wParam, lParam);
}

void CFileKindColorDlg::OnOK()
{
    StorePage();
    for (int i = 0; i < kKindColorCount; ++i)
        g_KindColors[i] = m_entries[size_t(i)];
    g_DISP_FILE_KIND_COLOR = IsDlgButtonChecked(IDC_KINDCOLOR_USE) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
}
