// The media windows the view keeps: the tag window that follows the cursor entry and
// the sound list window.
#pragma once
#include <windows.h>

// Shows the active filer pane's cursor file in the tag window when it is shown.
void UpdateTagViewWindow();
// Creates the sound list window on first use and shows it with `show`.
void ShowSoundListDlg(int show);
// TRUE while the tag window is shown.
BOOL IsTagWindowShown();
// Destroys the tag window.
void CloseTagViewWindow();
// Destroys both windows and stops the CD player at the end of the view.
void CloseMediaWindows();

class CCmdUI;
class CQvView;
// The state of a media item of the menus; FALSE for another item.
BOOL UpdateMediaMenuItem(UINT id, CCmdUI& ui);
// Runs the recently played files and the last play list (menu only); FALSE for
// another item.
BOOL RunMediaMenuCommand(CQvView& view, UINT id);
