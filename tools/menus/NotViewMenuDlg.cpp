#include "tools/menus/NotViewMenuDlg.h"
#include "res/CustomiseDialogs.h"

CNotViewMenuDlg::CNotViewMenuDlg(CWnd* pParent) : CDialog(IDD_NOT_VIEW_MENU, pParent)
{
    for (int row = 0; row < kHiddenMenuRowCount; ++row)
        m_table[row] = g_HiddenMenuTable[row];
}

BOOL CNotViewMenuDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_items.SubclassDlgItem(IDC_NOT_VIEW_MENU_ITEMS, this);
    m_items.SetFont(GetFont());
    for (const HiddenMenuRow& row : m_table)
        SendDlgItemMessageW(m_hWnd, IDC_NOT_VIEW_MENU_MODE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(row.modeName));
    SendDlgItemMessageW(m_hWnd, IDC_NOT_VIEW_MENU_MODE, CB_SETCURSEL, 0, 0);
    ShowRow(0);
    return TRUE;
}

void CNotViewMenuDlg::ShowRow(int row)
{
    m_shownRow = row;
    m_items.ResetContent();
    const HiddenMenuRow& shown = m_table[row];
    for (int i = 0; i < shown.itemCount; ++i)
    {
        const int at = m_items.AddString(shown.itemNames[i]);
        m_items.SetCheck(at, shown.hidden[i] ? 1 : 0);
    }
}

void CNotViewMenuDlg::StoreShownRow()
{
    HiddenMenuRow& shown = m_table[m_shownRow];
    for (int i = 0; i < shown.itemCount; ++i)
        shown.hidden[i] = m_items.GetCheck(i) != 0 ? 1 : 0;
}

void CNotViewMenuDlg::OnOK()
{
    StoreShownRow();
    for (int row = 0; row < kHiddenMenuRowCount; ++row)
        g_HiddenMenuTable[row] = m_table[row];
    EndDialog(IDOK);
}

BOOL CNotViewMenuDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_NOT_VIEW_MENU_MODE && HIWORD(wParam) == CBN_SELCHANGE)
    {
        const LRESULT row = SendDlgItemMessageW(m_hWnd, IDC_NOT_VIEW_MENU_MODE, CB_GETCURSEL, 0, 0);
        if (row >= 0 && row < kHiddenMenuRowCount)
        {
            StoreShownRow();
            ShowRow(static_cast<int>(row));
        }
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
