// What the panes offer the layers below them, which the program installs at start-up:
// the play-list filler of the records takes the panes' target entries through it.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// The n-th target entry (CFilerPane::GetTargetEntry, no flags) of g_Panes[paneIndex]:
// its real folder and find record and TRUE, or FALSE when there is none.
BOOL GetPaneTargetForPlayList(int paneIndex, int n, CString& folder, WIN32_FIND_DATAW& findData);
