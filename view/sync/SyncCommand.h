// "@Syncrocopyex": directory synchronisation between the active pane and the other.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

struct SyncPaneSides
{
    int source = -1;
    int destination = -1;
    // The other pane's directory (a bare drive root gets its backslash), or the
    // path of the archive it lists.
    CString destinationText;
    BOOL sourceIsArchive = FALSE;
    BOOL destinationIsArchive = FALSE;
};

// Finds the source (the active pane) and the destination (the other pane). FALSE
// when the panes do not make a synchronisation: a guard failed, a side is missing,
// or both list archives.
BOOL FindSyncPaneSides(SyncPaneSides& out);
