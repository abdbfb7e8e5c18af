#include "app/dialogs/TellAndAsk.h"

#include "app/dialogs/DialogAnswerScript.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/MessageBoxDlg.h"

namespace
{

// The box of `kind`; returns the pressed button as MessageBox does.
int ShowBox(CWnd* owner, LPCWSTR text, LPCWSTR caption, MessageBoxKind kind)
{
    owner = DialogOwner(owner);
    switch (kind)
    {
    case MessageBoxKind::Ok:
    case MessageBoxKind::OkCancel:
    case MessageBoxKind::YesNo:
        return ShowMessageBoxDlg(owner, text, caption, static_cast<int>(kind));
    case MessageBoxKind::YesNoCancel:
    case MessageBoxKind::RetryCancel:
        break;
    }
    // The program's own box has two buttons: three, or Retry, take the system's box,
    // which a running script answers all the same.
    CDialogQuestion question;
    question.caption = caption != nullptr ? caption : L"qv";
    question.text = text;
    question.type = static_cast<int>(kind);
    CDialogAnswer answer;
    if (CDialogAnswerScript::Answer(question, answer))
        return static_cast<int>(answer.result);
    return ::MessageBoxW(owner != nullptr ? owner->m_hWnd : nullptr, text, question.caption,
                         static_cast<UINT>(kind));
}

} // namespace

void Tell(CWnd* owner, LPCWSTR text, LPCWSTR caption)
{
    ShowBox(owner, text, caption, MessageBoxKind::Ok);
}

bool Ask(CWnd* owner, LPCWSTR text, LPCWSTR caption, MessageBoxKind kind)
{
    const int answer = ShowBox(owner, text, caption, kind);
    switch (kind)
    {
    case MessageBoxKind::Ok:
    case MessageBoxKind::OkCancel:
        return answer == IDOK;
    case MessageBoxKind::YesNo:
    case MessageBoxKind::YesNoCancel:
        return answer == IDYES;
    case MessageBoxKind::RetryCancel:
        return answer == IDRETRY;
    }
    return false;
}

std::optional<bool> AskYesNoCancel(CWnd* owner, LPCWSTR text, LPCWSTR caption)
{
    switch (ShowBox(owner, text, caption, MessageBoxKind::YesNoCancel))
    {
    case IDYES:
        return true;
    case IDNO:
        return false;
    default:
        return std::nullopt;
    }
}
