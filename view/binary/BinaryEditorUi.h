// The binary editor's ways of asking the user, replaceable so that tests answer the
// dialogs instead of a person: the modal dialogs (filled in and ended as the user
// would), the save question and the change list's file name.
#pragma once
#include <windows.h>
#include "framework/FwDialog.h"
#include "framework/FwString.h"

struct BinaryEditorUi
{
    // Runs the dialog of template `templateId` modally; returns its end code.
    INT_PTR (*runDialog)(CDialog& dialog, UINT templateId);
    // The file the change list goes to; FALSE when the user cancelled.
    BOOL (*askSavePath)(CWnd* owner, CString& path);
};

extern BinaryEditorUi g_BinaryEditorUi;

// The program's own ways.
const BinaryEditorUi& DefaultBinaryEditorUi();

// A question with the system's message box of `style` (MB_YESNO, MB_YESNOCANCEL,
// MB_RETRYCANCEL); a running CDialogAnswerScript answers it instead (the question
// carries the style as its type). Returns IDYES, IDNO, IDCANCEL or IDRETRY.
int AskBinaryEditorQuestion(CWnd* owner, LPCWSTR text, LPCWSTR caption, UINT style);
