// The wiring between the panes and the layers around them that only the program can
// make, since those layers sit below the panes (the walk frames of the records, the
// play-list filler) or above them (the archive front). The program calls it once at
// start-up; tests call the same function to run with the program's wiring.
#pragma once
#include "filer/PaneArchive.h"

// Installs CloseEntryFind for the directory walks' frames, the panes' target entries
// as the source of the play-list filler, and `archiveFactory` (null: the default
// that lists nothing) for the archive object of every pane made afterwards.
void InstallFilerHooks(PaneArchiveFactory archiveFactory);

// The n-th target entry (CFilerPane::GetTargetEntry, no flags) of g_Panes[paneIndex]:
// its real folder and find record and TRUE, or FALSE when there is none.
BOOL GetPaneTargetForPlayList(int paneIndex, int n, CString& folder, WIN32_FIND_DATAW& findData);
