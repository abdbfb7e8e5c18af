// The remembered last folder of each drive letter.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// The slot of g_DriveLastDirs that remembers the last folder visited on the drive of
// `letter` (A-Z in either case): the second set for pane 1 while
// USE_EACH_LAST_DIRECTORY is on, else the first. Null for any other character.
CString* GetDriveLetterSlot(wchar_t letter, int paneIndex);
