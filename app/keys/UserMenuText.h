// The labels of the user's own right-click menu items, and the categories under which
// their configuration dialog lists the commands one can assign.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

struct CommandCategoryRow
{
    int category;
    wchar_t name[40];
};

// The category of the two file-execution rows, which no command table row carries.
constexpr int COMMAND_CATEGORY_PLUG_IN = 10;
constexpr int COMMAND_CATEGORY_EXECUTE = 14;
constexpr int COMMAND_CATEGORY_CONTROL_PANEL = 8;
constexpr int COMMAND_CATEGORY_COUNT = 12;
extern const CommandCategoryRow g_CommandCategoryTable[COMMAND_CATEGORY_COUNT];

// The label of user menu entry `number` (0 to 9) with that command and display text:
// the own plug-in's text for a plug-in reference, else the display text, else a text
// made from the command (the keyword's name, the jump directory, the device, the
// applet, the program). An empty command gives "メニュー<number>" and 0; any other 1.
int GetUserMenuItemText(LPCWSTR command, LPCWSTR display, int number, CString& label);
