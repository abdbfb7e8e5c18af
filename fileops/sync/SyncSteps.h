// The decisions of the synchronisation worker for one row, each a small function of
// plain values so that a table of cases can show it: which side a row writes, when its
// folder must be made first, and how an entry to be deleted goes.
#pragma once
#include <windows.h>

// TRUE when the row writes into the source's side (SYNC_TO_SRC); every other action
// that does something writes or deletes at the destination.
BOOL SyncRowWritesSource(int action);
// TRUE when a copy row lies in a folder below the compared one, which is made on the
// written side first (with the mirrored folder's attributes and times where it exists).
BOOL SyncRowMakesFolder(int action, LPCWSTR relativeFolder);

// How an entry of the destination that the list deletes goes.
enum SyncDeleteWay
{
    SYNC_DELETE_FILE,   // its protection lifted, then deleted as a file
    SYNC_DELETE_LINK,   // a folder link: removed as a folder, or as a file link, never followed
    SYNC_DELETE_FOLDER, // an empty folder, its protection lifted, then removed
};
struct SyncDeleteStep
{
    SyncDeleteWay way;
    // The attributes set before the deletion; 0: none are set. A link's are left
    // alone: some systems would set them on the folder it points to.
    DWORD lifted;
    // The attributes the entry gets back when it stays; INVALID_FILE_ATTRIBUTES: none.
    DWORD restored;
};
SyncDeleteStep PlanSyncDelete(DWORD attributes);
