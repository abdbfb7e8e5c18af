// The options dialog of the newer-file marking.
#include "tools/execute/NewSelectConfDlg.h"
#include "res/ShellDialogs.h"

CNewSelectConfDlg::CNewSelectConfDlg(CWnd* pParent) : CScriptedDialog(IDD_NEW_SELECT_CONF, pParent) {}

BOOL CNewSelectConfDlg::OnInitDialog()
{
    CScriptedDialog::OnInitDialog();
    ::CheckDlgButton(m_hWnd, IDC_NEW_SELECT_BOTH, m_bothPanes ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_NEW_SELECT_ONE_SIDE, m_oneSide ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CNewSelectConfDlg::OnOK()
{
    m_bothPanes = ::IsDlgButtonChecked(m_hWnd, IDC_NEW_SELECT_BOTH) == BST_CHECKED;
    m_oneSide = ::IsDlgButtonChecked(m_hWnd, IDC_NEW_SELECT_ONE_SIDE) == BST_CHECKED;
    EndDialog(IDOK);
}

CDialogQuestion CNewSelectConfDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_NEW_SELECT_CONF;
    question.caption = L"選択方法";
    question.items.push_back(L"両ウィンドウのファイルを選択");
    question.items.push_back(L"片方にしか無いファイルは必ず選択");
    return question;
}

void CNewSelectConfDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result != IDOK)
        return;
    if (answer.checks.size() > 0)
        m_bothPanes = answer.checks[0] ? 1 : 0;
    if (answer.checks.size() > 1)
        m_oneSide = answer.checks[1] ? 1 : 0;
}
