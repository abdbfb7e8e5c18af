#include "app/dialogs/QuitDlg.h"

#include "res/CommonDialogs.h"

BEGIN_MESSAGE_MAP(CQuitDlg, CScriptedDialog)
ON_BN_CLICKED(IDC_QUIT_SHUTDOWN, OnShutdown)
ON_BN_CLICKED(IDC_QUIT_REBOOT, OnReboot)
END_MESSAGE_MAP()

CQuitDlg::CQuitDlg(CWnd* pParent) : CScriptedDialog(IDD_QUIT, pParent) {}

void CQuitDlg::OnShutdown()
{
    EndDialog(IDC_QUIT_SHUTDOWN);
}

void CQuitDlg::OnReboot()
{
    EndDialog(IDC_QUIT_REBOOT);
}

CDialogQuestion CQuitDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_QUIT;
    question.caption = L"終了しますか";
    return question;
}
