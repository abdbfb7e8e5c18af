// The one way the program tells the user something and asks a question: the
// program's own message box (ShowMessageBoxDlg), which a running
// CDialogAnswerScript answers in place of the user, so that every message and
// question can be scripted and checked by the tests. Any thread.
//
//     Tell(DialogOwner(this), L"検索終了しました");
//     if (!Ask(this, question, L"削除確認", MessageBoxKind::YesNo))
//         return;
#pragma once

#include "framework/FwWnd.h"

#include <optional>

// The buttons a box offers. The values are the MessageBox styles, which a
// CDialogAnswerScript records as the question's type.
enum class MessageBoxKind : int
{
    Ok = MB_OK,
    OkCancel = MB_OKCANCEL,
    YesNoCancel = MB_YESNOCANCEL,
    YesNo = MB_YESNO,
    RetryCancel = MB_RETRYCANCEL,
};

// Shows `text` with OK only. owner: the window to centre on, null (or a window
// object without a window) for none; caption null: "qv", empty: no caption.
void Tell(CWnd* owner, LPCWSTR text, LPCWSTR caption = nullptr);

// Asks `text` with the buttons of `kind`; true when the answer is OK, Yes or Retry,
// false for any other end (No, Cancel, or a script that has run out).
bool Ask(CWnd* owner, LPCWSTR text, LPCWSTR caption, MessageBoxKind kind);

// Asks `text` with Yes, No and Cancel: true for Yes, false for No, nothing for Cancel
// (and any other end).
std::optional<bool> AskYesNoCancel(CWnd* owner, LPCWSTR text, LPCWSTR caption);
