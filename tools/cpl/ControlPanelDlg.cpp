#include "tools/cpl/ControlPanelDlg.h"
#include "res/CustomiseDialogs.h"
#include "tools/cpl/AppletCommands.h"

CControlPanelDlg::CControlPanelDlg(CWnd* pParent) : CDialog(IDD_CONTROL_PANEL, pParent) {}

BOOL CControlPanelDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (INT_PTR i = 0; i < g_CplList.GetSize(); ++i)
        SendDlgItemMessageW(m_hWnd, IDC_CPL_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(g_CplList[i].m_name)));
    SendDlgItemMessageW(m_hWnd, IDC_CPL_LIST, LB_SETCURSEL, 0, 0);
    ShowDescription();
    return TRUE;
}

void CControlPanelDlg::ShowDescription()
{
    const LRESULT selected = SendDlgItemMessageW(m_hWnd, IDC_CPL_LIST, LB_GETCURSEL, 0, 0);
    CString description;
    if (selected >= 0 && selected < g_CplList.GetSize())
        description = g_CplList[selected].m_description;
    SetDlgItemText(IDC_CPL_DESCRIPTION, description);
}

void CControlPanelDlg::OnOK()
{
    const LRESULT selected = SendDlgItemMessageW(m_hWnd, IDC_CPL_LIST, LB_GETCURSEL, 0, 0);
    if (selected >= 0)
        RunCplApplet(selected);
}

BOOL CControlPanelDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_CPL_LIST && HIWORD(wParam) == LBN_SELCHANGE)
    {
        ShowDescription();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
