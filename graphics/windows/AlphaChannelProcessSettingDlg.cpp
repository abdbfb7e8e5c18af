#include "graphics/windows/AlphaChannelProcessSettingDlg.h"

#include "graphics/picture/PictureData.h"
#include "res/GraphicViewerDialogs.h"

namespace
{
const wchar_t* const kModeTexts[] = {L"無効", L"有効(塗りつぶし:背景色)", L"有効(塗りつぶし:指定色)",
                                     L"有効(格子:指定色)"};
} // namespace

CAlphaChannelProcessSettingDlg::CAlphaChannelProcessSettingDlg(CWnd* parent)
    : CDialog(IDD_ALPHA_CHANNEL_SETTING, parent), m_rows(g_AlphaChannelTypes)
{
}

BOOL CAlphaChannelProcessSettingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_rows = g_AlphaChannelTypes;
    m_colourButton.SubclassDlgItem(IDC_ALPHA_COLOUR, this);
    for (int i = 0; i < ALPHA_CHANNEL_ROW_COUNT; ++i)
    {
        CString text;
        FormatAlphaChannelType(text, i, m_rows.data());
        SendDlgItemMessageW(m_hWnd, IDC_ALPHA_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(LPCWSTR(text)));
    }
    SendDlgItemMessageW(m_hWnd, IDC_ALPHA_LIST, LB_SETCURSEL, WPARAM(m_editedRow), 0);
    for (const wchar_t* mode : kModeTexts)
        SendDlgItemMessageW(m_hWnd, IDC_ALPHA_MODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mode));
    ShowEditedRow();
    return TRUE;
}

void CAlphaChannelProcessSettingDlg::ShowEditedRow()
{
    const CAlphaChannelRow& row = m_rows[size_t(m_editedRow)];
    SendDlgItemMessageW(m_hWnd, IDC_ALPHA_MODE, CB_SETCURSEL, WPARAM(row.mode), 0);
    m_colourButton.m_color = row.colour;
    if (HWND button = ::GetDlgItem(m_hWnd, IDC_ALPHA_COLOUR))
        ::InvalidateRect(button, nullptr, TRUE);
}

void CAlphaChannelProcessSettingDlg::ReplaceRowText(int row)
{
    CString text;
    FormatAlphaChannelType(text, row, m_rows.data());
    SendDlgItemMessageW(m_hWnd, IDC_ALPHA_LIST, LB_DELETESTRING, WPARAM(row), 0);
    SendDlgItemMessageW(m_hWnd, IDC_ALPHA_LIST, LB_INSERTSTRING, WPARAM(row),
                        reinterpret_cast<LPARAM>(LPCWSTR(text)));
    SendDlgItemMessageW(m_hWnd, IDC_ALPHA_LIST, LB_SETCURSEL, WPARAM(row), 0);
}

BOOL CAlphaChannelProcessSettingDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_ALPHA_MODE && code == CBN_SELCHANGE)
    {
        const LRESULT mode = SendDlgItemMessageW(m_hWnd, IDC_ALPHA_MODE, CB_GETCURSEL, 0, 0);
        if (mode >= 0)
        {
            m_rows[size_t(m_editedRow)].mode = int(mode);
            ReplaceRowText(m_editedRow);
        }
        return TRUE;
    }
    if (id == IDC_ALPHA_LIST && code == LBN_SELCHANGE)
    {
        // The mode shown belongs to the row edited so far: it is kept before the
        // switch.
        const LRESULT mode = SendDlgItemMessageW(m_hWnd, IDC_ALPHA_MODE, CB_GETCURSEL, 0, 0);
        if (mode >= 0)
            m_rows[size_t(m_editedRow)].mode = int(mode);
        const LRESULT selected = SendDlgItemMessageW(m_hWnd, IDC_ALPHA_LIST, LB_GETCURSEL, 0, 0);
        if (selected >= 0 && selected < ALPHA_CHANNEL_ROW_COUNT)
            m_editedRow = int(selected);
        ShowEditedRow();
        return TRUE;
    }
    if (id == IDC_ALPHA_COLOUR && code == BN_CLICKED)
    {
        m_colourButton.m_color = m_rows[size_t(m_editedRow)].colour;
        if (m_colourButton.OnClicked())
        {
            m_rows[size_t(m_editedRow)].colour = m_colourButton.m_color;
            ReplaceRowText(m_editedRow);
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

LRESULT CAlphaChannelProcessSettingDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && m_colourButton.ReflectParentMessage(message, wParam, lParam))
        return TRUE;
    return CDialog::WindowProc(message, wParam, lParam);
}

void CAlphaChannelProcessSettingDlg::OnOK()
{
    g_AlphaChannelTypes = m_rows;
    EndDialog(IDOK);
}
