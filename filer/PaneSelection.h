// The entries a file command acts on, taken from one pane: the marked entries, else
// the cursor entry, never "." or "..".
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "filer/FileInfo.h"

// Where the entries of a selection come from.
enum
{
    SELECTION_SOURCE_DISK = 1,
    SELECTION_SOURCE_ARCHIVE = 2,
};

// Flags of GetPaneSelection beside those of CFilerPane::GetTargetEntry (0x1, 0x4,
// 0x40), which it passes on.
enum
{
    SELECT_DIRECTORIES_ONLY = 0x10,
    SELECT_FILES_ONLY = 0x20,
};

// Results of GetPaneSelection.
enum
{
    SELECTION_TAKEN = 0,
    SELECTION_NONE = 2,
};

class CSelectedEntryList
{
public:
    CString m_directory;                      // the pane's current folder
    int m_sourceKind = SELECTION_SOURCE_DISK; // SELECTION_SOURCE_*
    CArrayFileInfo m_entries;                 // the targets, in the pane's order
    int m_markedCount = 0;                    // the pane's marked entries
};

// Fills `out` (its entries replaced) from pane 0 or 1 of g_Panes. SELECTION_TAKEN
// when at least one entry was taken, else SELECTION_NONE (also for a pane index
// without a pane).
int GetPaneSelection(DWORD flags, int pane, CSelectedEntryList& out);
