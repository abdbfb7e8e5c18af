// The binary editor's ways of asking the user, replaceable so that tests answer the
// dialogs instead of a person: the modal dialogs (filled in and ended as the user
// would) and the change list's file name. Its questions go through Ask
// (app/dialogs/TellAndAsk.h), which a CDialogAnswerScript answers.
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
