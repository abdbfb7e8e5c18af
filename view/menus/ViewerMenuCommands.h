// The menu items of the viewers' and the quick search's commands.
#pragma once
#include <windows.h>

class CQvView;

// TRUE for a menu item this table serves.
BOOL IsViewerMenuCommand(UINT id);
// Runs the item's command; FALSE when the table does not serve it.
BOOL RunViewerMenuCommand(CQvView& view, UINT id);
