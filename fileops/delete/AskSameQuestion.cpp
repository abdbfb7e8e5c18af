#include "fileops/delete/AskSameQuestion.h"

#include "app/dialogs/DialogAnswerScript.h"
#include "app/dialogs/MessageBoxDlg.h"

int AskSameQuestion(CWnd* pParent, LPCWSTR caption, LPCWSTR text, int& same)
{
    CDialogQuestion question;
    question.dialogId = IDD_ASK_SAME;
    question.caption = caption;
    question.text = text;
    question.type = 4;
    CDialogAnswer answer;
    if (CDialogAnswerScript::Answer(question, answer))
    {
        if (!answer.checks.empty())
            same = answer.checks[0] ? 1 : 0;
        return answer.result == IDOK ? IDOK : IDCANCEL;
    }
    return ShowMessageBoxDlg(pParent, text, caption, 4) == IDYES ? IDOK : IDCANCEL;
}
