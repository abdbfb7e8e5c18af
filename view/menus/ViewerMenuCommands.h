// The menu items of the viewers' commands, of the quick search and of the thin filer
// commands beside them.
#pragma once
#include <windows.h>

class CQvView;

// TRUE for a menu item this table serves.
BOOL IsViewerMenuCommand(UINT id);
// Runs the item's command; FALSE when the table does not serve it.
BOOL RunViewerMenuCommand(CQvView& view, UINT id);
