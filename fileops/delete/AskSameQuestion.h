// A yes/no question with the check "以後同設定", through which the delete worker
// confirms protected files. It answers from a running CDialogAnswerScript (the
// question's dialog id is the same-answer dialog's template, 1195; the script's first
// check, when given, is the check's final state); without a script it asks with the
// program's message box and leaves the check as it was preset.
#pragma once
#include <windows.h>

class CWnd;

enum
{
    IDD_ASK_SAME = 1195,
};

// IDOK for yes, IDCANCEL for anything else; `same` in: the preset check, out: its
// final state.
int AskSameQuestion(CWnd* pParent, LPCWSTR caption, LPCWSTR text, int& same);
