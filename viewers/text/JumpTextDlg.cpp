#include "viewers/text/JumpTextDlg.h"

#include "res/ViewerDialogs.h"

CJumpTextDlg::CJumpTextDlg(CWnd* pParent) : CScriptedDialog(IDD_JUMP_TEXT, pParent) {}

void CJumpTextDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_JUMP_TEXT_LINE, m_text);
}

CDialogQuestion CJumpTextDlg::GetQuestion() const
{
    CDialogQuestion question;
    question.dialogId = IDD_JUMP_TEXT;
    question.caption = L"テキストのジャンプ";
    question.text = m_text;
    return question;
}

void CJumpTextDlg::ApplyAnswer(const CDialogAnswer& answer)
{
    if (answer.result == IDOK)
        m_text = answer.text;
}
