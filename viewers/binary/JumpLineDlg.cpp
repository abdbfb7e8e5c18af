#include "viewers/binary/JumpLineDlg.h"

#include "res/ViewerToolDialogs.h"

BEGIN_MESSAGE_MAP(CJumpLineDlg, CDialog)
ON_BN_CLICKED(IDC_JUMP_LINE_DECIMAL, ShowUnit)
ON_BN_CLICKED(IDC_JUMP_LINE_HEX, ShowUnit)
END_MESSAGE_MAP()

CJumpLineDlg::CJumpLineDlg(CWnd* pParent) : CDialog(IDD_JUMP_LINE, pParent) {}

BOOL CJumpLineDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowUnit();
    return TRUE;
}

void CJumpLineDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_JUMP_LINE_TEXT, m_text);
    DDX_Radio(pDX, IDC_JUMP_LINE_DECIMAL, m_notation);
    DDX_Radio(pDX, IDC_JUMP_LINE_ABSOLUTE, m_relative);
}

void CJumpLineDlg::ShowUnit()
{
    // A line is 16 bytes: a decimal count is multiplied out, a hexadecimal one is an
    // offset whose last digit is 0.
    LPCWSTR unit = L"";
    if (::IsDlgButtonChecked(m_hWnd, IDC_JUMP_LINE_DECIMAL) == BST_CHECKED)
        unit = L"X16";
    else if (::IsDlgButtonChecked(m_hWnd, IDC_JUMP_LINE_HEX) == BST_CHECKED)
        unit = L"0H";
    ::SetDlgItemTextW(m_hWnd, IDC_JUMP_LINE_UNIT, unit);
}
