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
// The recently played files' items (ID_MENU_PLAYED_FIRST on): the file, or "なし"
// and greyed past the history; choosing one stops the play list and plays the file.
void UpdateRecentFileItem(CCmdUI& ui, UINT id);
void PlayRecentFile(UINT id);
// The last play list's item: its path, or "なし" and greyed; choosing it plays the
// list again when it is an M3U file.
void UpdateLastPlayListItem(CCmdUI& ui);
void PlayLastPlayList(CQvView& view);
// The dialog that assigns the SCSI devices; it keeps whether to skip the scan.
void AssignScsiDevices();
