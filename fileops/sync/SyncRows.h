// The rows of a directory synchronisation: one per file found on either side, with
// the action proposed for it, how a pair of times decides that action, the order
// of the list and the folder deletions that must not remove kept contents.
#pragma once
#include <windows.h>
#include "filer/FileInfo.h"
#include "framework/FwCollections.h"
#include "framework/FwString.h"

enum SyncAction
{
    SYNC_NOTHING = 0,
    SYNC_TO_DEST = 1,
    SYNC_TO_SRC = 2,
    SYNC_DELETE = 3,
};

enum
{
    SYNC_IN_SOURCE = 0x1,
    SYNC_IN_DEST = 0x2,
    // The row lies where one side has a folder and the other a link of that name:
    // it keeps SYNC_NOTHING whatever the settings and the buttons say.
    SYNC_BLOCKED = 0x4,
};

class CSyncData
{
public:
    CString m_relativeFolder; // "" directly in the compared folder, else "a\b"
    int m_action = SYNC_NOTHING;
    CFileInfo m_entry; // the source file, or the destination entry of a destination-only row
    BYTE m_flags = 0;
    FILETIME m_destinationTime = {}; // valid with SYNC_IN_DEST
};
typedef CArray<CSyncData> CSyncDataArray;

struct SyncSettings
{
    int copyMissing = 1;   // a source file missing at the destination is copied there
    int olderWins = 0;     // 0: the newer file wins, 1: the older one
    int deleteMissing = 0; // a destination entry missing at the source is deleted
};

// Two last-write times this close count as equal: file systems keep times at
// different resolutions (two seconds on FAT), so a copy may differ by that much.
const LONGLONG kSyncTimeSlack = 20000000;

// Decides the row's action. For a source row, `destination` is the same-named file at
// the destination (null when there is none, or only a folder of that name); its
// presence sets SYNC_IN_DEST and the destination time.
void DecideSyncAction(CSyncData& row, const WIN32_FIND_DATAW* destination, const SyncSettings& settings);

// The list's sort columns.
enum
{
    SYNC_SORT_NAME = 0,
    SYNC_SORT_PATH = 1,
    SYNC_SORT_ACTION = 2,
};

// -1, 0 or 1 as the list orders the rows by the column (0 to 2).
int CompareSyncRows(const CSyncData& a, const CSyncData& b, int column, BOOL descending);
void SortSyncRows(CSyncDataArray& rows, int column, BOOL descending);

// With the rows sorted by path descending (contents before their folder): a folder
// marked for deletion keeps its place (SYNC_NOTHING) when anything inside it is not
// being deleted.
void KeepFoldersWithKeptContents(CSyncDataArray& rows);

// The text of the action column: "×", "▼", "▽", "▲" or "削除".
CString SyncActionText(const CSyncData& row);

// Rows changed by the action buttons, each keeping what does not apply to it.
void ApplySyncButton(CSyncData& row, int action);
