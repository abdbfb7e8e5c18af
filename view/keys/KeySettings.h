// The key-setting commands and the import of key bindings from another settings file.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CQvView;
class CWnd;

// The modes of the view key dialog.
enum ViewKeyDialogMode
{
    VIEW_KEYS_VIEWER = 0,
    VIEW_KEYS_GRAPHIC = 1,
    VIEW_KEYS_BINARY = 2,
    VIEW_KEYS_COMMON = 3,
};

// The two key dialogs, run modally; their result. Tests replace them.
struct KeyDialogRunners
{
    INT_PTR (*filerKeys)(CQvView& view);
    INT_PTR (*viewKeys)(CQvView& view, int mode);
};
extern KeyDialogRunners g_KeyDialogRunners;
const KeyDialogRunners& DefaultKeyDialogRunners();

// The file-open dialog of the import, filled with the default file: FALSE on Cancel.
// Answered by a running CDialogAnswerScript (the answer's text is the chosen file).
BOOL ChooseKeyDataFile(CWnd* parent, CString& path);
