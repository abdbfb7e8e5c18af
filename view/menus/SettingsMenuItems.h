// The settings items of the menus that no keyword names: each opens its settings
// dialog or flips its option and brings the view up to date afterwards.
#pragma once
#include <windows.h>

class CQvView;

// TRUE for a menu item served here.
BOOL IsSettingsMenuItem(UINT id);
// Runs the item; FALSE when it is not served here.
BOOL RunSettingsMenuItem(CQvView& view, UINT id);
// FALSE for an item served here that could do nothing in the active pane's mode, so
// that its menu item is greyed there.
BOOL CanRunSettingsMenuItem(CQvView& view, UINT id);
// The display-file dialog ("@DispFileSetting" and its menu item), only while the
// active pane lists a folder or an archive; after OK the panes are listed again.
void OpenDisplayFilterDialog(CQvView& view);
