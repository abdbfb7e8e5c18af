// One pane of the main view: what it shows (position, mode, sub-mode), the directory
// it lists with its entries, cursor and marks, its sort order, its change
// notification and its own archive object. The two panes are reached through
// g_Panes; every command tests a pane with TestPaneState or FindPaneByMode, guards
// itself with CFilerPane::CheckState and takes its targets from
// CFilerPane::GetTargetEntry.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include "app/records/PaneRecords.h"
#include "app/settings/FilerSettings.h"
#include "filer/EntryFind.h"
#include "filer/FileInfo.h"
#include "filer/FindCondition.h"
#include "filer/PaneArchive.h"
#include "filer/PaneHooks.h"
#include "filer/PaneViewer.h"
#include "filer/SortSetting.h"

class CWnd;

// Position word.
enum
{
    PANE_POS_ACTIVE = 0x1,
    PANE_POS_OTHER = 0x2,
    PANE_POS_HIDDEN = 0x4,
};

// Mode word.
enum
{
    PANE_MODE_FILER = 0x8,
    PANE_MODE_TEXT_VIEWER = 0x10,
    PANE_MODE_GRAPHIC = 0x40,
    PANE_MODE_DRIVE_LIST = 0x80,
    PANE_MODE_ARCHIVE = 0x100,
    PANE_MODE_ARCHIVE_TEXT_VIEWER = 0x200,
    PANE_MODE_BINARY = 0x400,
    PANE_MODE_ARCHIVE_GRAPHIC = 0x800,
    // A bit of the list modes that no pane ever takes: the list masks of the layout
    // carry it beside the filer, archive and network modes, so a mode given it would
    // be laid out as a list.
    PANE_MODE_RESERVED_LIST = 0x1000,
    PANE_MODE_NETWORK = 0x2000,
};

// Masks of the mode word that callers test against.
enum
{
    // Every mode that shows a list of rows: filer, drive list, archive, network.
    PANE_MODES_LISTS = PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK,
    PANE_MODES_FILER_DRIVES_ARCHIVE = PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE,
    PANE_MODES_FILER_DRIVES_NETWORK = PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_NETWORK,
    PANE_MODES_TEXT_VIEWERS = PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER,
    PANE_MODES_GRAPHIC_VIEWERS = PANE_MODE_GRAPHIC | PANE_MODE_ARCHIVE_GRAPHIC,
    // The list modes of the stacked layout: their title row gives its last quarter to
    // the scroll strip, where the other modes give the strip a column of the pane.
    PANE_MODES_LIST_LAYOUT =
        PANE_MODE_FILER | PANE_MODE_ARCHIVE | PANE_MODE_RESERVED_LIST | PANE_MODE_NETWORK,
};

// Sub-mode of the filer mode.
enum
{
    PANE_SUB_DIRECTORY = 1,
    PANE_SUB_FIND_RESULTS = 2,
};

// Checks of CFilerPane::CheckState.
enum
{
    PANE_CHECK_FREE_SPACE = 0x1,
    PANE_CHECK_NOT_EMPTY = 0x2,
    PANE_CHECK_NO_DOT_TARGET = 0x4,
    PANE_CHECK_CURSOR_NOT_DOT = 0x8,
    PANE_CHECK_DRIVE_PRESENT = 0x10,
    PANE_CHECK_REAL_DRIVE = 0x20,
    PANE_CHECK_ACCESS = 0x40,
};

// Flags of CFilerPane::GetTargetEntry.
enum
{
    // Entries of a virtual drive count as targets (they stand for files elsewhere).
    TARGET_ALLOW_VIRTUAL_DRIVE = 0x1,
    // The cursor entry alone, even when entries are marked.
    TARGET_CURSOR_ONLY = 0x4,
    // The marked entries only when the cursor entry is one of them, else the cursor
    // entry alone.
    TARGET_MARKED_IF_CURSOR_MARKED = 0x40,
};

// Results of a read.
enum
{
    READ_UNCHANGED = 0,
    READ_REBUILT = 1,
    READ_CHANGED_IN_PLACE = 2,
};

// The root ("\\server\share\") of the network share a pane last left.
extern CString g_LastNetworkRoot;
// How deep the network list goes: the level stack's size.
constexpr int kNetworkLevelCount = 10;

class CFilerPane
{
public:
    explicit CFilerPane(UINT paneNumber);
    ~CFilerPane();
    CFilerPane(const CFilerPane&) = delete;
    CFilerPane& operator=(const CFilerPane&) = delete;

    // ---- Record ---------------------------------------------------------------------
    UINT m_paneNumber;
    int m_reloadTicks = 0;
    BOOL m_bPreviewLayout = FALSE;
    int m_columnCount = 1;
    int m_lineCount = 1;
    int m_columnsInUse = 1;
    int m_linesInUse = 1;
    int m_paneSlot = 0;
    INT64 m_firstVisible = 0;
    int m_markedCount = 0;
    int m_dotCount = 0;
    UINT m_position = PANE_POS_HIDDEN;
    UINT m_mode = PANE_MODE_FILER;
    UINT m_subMode = PANE_SUB_DIRECTORY;
    int m_lastTargetOrdinal = -1;
    int m_lastTargetIndex = -1;
    CString m_wildcard;
    BOOL m_bFilterDirectories = FALSE;
    FindCondition m_condition;
    CString m_currentDir;
    CString m_previousDir;
    INT64 m_cursor = 0;
    INT64 m_drawingMark = -1;
    CArrayFileInfo m_entries;
    CArray<CNetResourceData> m_networkList;
    CString m_networkPath;
    UINT m_networkLevels[kNetworkLevelCount] = {};
    int m_networkDepth = 0;
    HANDLE m_hChange = INVALID_HANDLE_VALUE;
    // The folder the change handle watches (volume serial number and file id, whose
    // upper half only some file systems use; an id of 0 when unknown): a path may name
    // another folder by now.
    ULONGLONG m_watchedFolderIndex = 0;
    ULONGLONG m_watchedFolderIndexHigh = 0;
    ULONGLONG m_watchedVolume = 0;
    // The watched folder, opened when the watch was armed and held until its identity
    // is first needed: asking for the volume serial number costs the system a round
    // trip to its mount manager, which the read that arms the watch need not wait for.
    HANDLE m_hWatchedFolder = INVALID_HANDLE_VALUE;
    // The drive class asked when the watch was armed: a watch still on its folder
    // stands on the same volume, so the class holds while the watch does.
    int m_watchedDriveClass = -1;
    BOOL m_bDriveNotReady = FALSE;
    DWORD m_lastListingError = 0;
    BOOL m_bJustEntered = FALSE;
    ULONGLONG m_driveTotalBytes = 0;
    ULONGLONG m_driveFreeBytes = 0;
    CArray<CDriveInfo> m_driveList;
    BOOL m_bReadSinceDrawn = FALSE;
    CFileInfo m_viewerEntry;
    // The viewer shows its text as rows of sixteen bytes in hexadecimal; its top line
    // then counts those rows.
    BOOL m_bHexDisplay = FALSE;
    int m_widestName = 0;
    UINT m_nameWidth = 0;
    BOOL m_bNameWidthComputed = FALSE;
    CString m_lastListedDir;
    CSortSetting m_workingSort;
    CSortSetting m_sortSetting;
    // Owned; made by the factory the program installs (CreatePaneArchive).
    IPaneArchive* m_archive;
    // Owned; made on the first open by the factory the program installs.
    IPaneViewer* m_viewer = nullptr;
    // The file a binary-editor pane edits; owned by the view, which makes and ends it.
    class CBinaryData* m_binaryData = nullptr;
    CWnd* m_pView = nullptr;
    CFindResultList m_findResults;

    // ---- Modes and lists ----------------------------------------------------------
    // Stores each argument that is not 0; then UpdatePreviewState, whose flag it returns.
    BOOL SetMode(UINT position, UINT mode, UINT subMode);
    BOOL UpdatePreviewState();
    // The size of the list of the current mode (drive list, network rows or entries).
    INT_PTR GetEntryCount() const;
    // The entry under the cursor; null when the entry list is empty.
    CFileInfo* GetCursorEntry();
    BOOL IsOnVirtualDrive() const;
    BOOL IsRootDirectory() const;

    // Rebuilds the drive list: the lettered drives in letter order with their
    // descriptions, the virtual drives, then the network rows. The cursor is kept.
    void ReadDriveList();
    // Rebuilds the network list for the network path and levels: "..", the
    // resources of the level (printers left out) sorted by name, and the closing
    // row. Credentials are asked for where the network wants them. Cursor 0.
    void ReadNetworkResources();

    // ---- Guards and targets ---------------------------------------------------------
    // 1 as soon as one of the requested checks (PANE_CHECK_...) fails, 0 when all pass.
    int CheckState(DWORD checks);
    // The n-th target (from 0) copied into `out`, as the TARGET_ flags choose: the
    // marked entries, else the cursor entry. 0 when there is none.
    int GetTargetEntry(DWORD flags, int n, CFileInfo& out);
    // Forgets the remembered place of the walk over the marked entries.
    void ResetTargetIteration();

    // ---- Directory bookkeeping ----------------------------------------------------
    void SetDirectory(LPCWSTR path, BOOL justEntered);
    void SyncProcessDirectory();
    // The text that names the pane's drive in its title.
    void GetVolumeTitle(CString& out) const;
    // 4 network, 1 floppy, 3 other removable, 2 CD-ROM, 0 otherwise.
    int GetDriveClass() const;
    // Called on every tick of the view's one-second timer: 1 when the pane is due
    // for a re-check.
    int PollReload();
    void ComputeNameColumnWidth();
    void ResetIncrementalSearch();
    void CloseChangeNotification();
    // A network path counts as ready; a drive is ready when "X:\" is accessible.
    BOOL IsDriveReady() const;

    // ---- Reading (change detection) -----------------------------------------------
    // full = 1 reads the directory whole, 0 re-checks it. READ_UNCHANGED,
    // READ_REBUILT (the caller sorts) or READ_CHANGED_IN_PLACE.
    int ReadDirectory(BOOL full);
    void ChangeDirectory(LPCWSTR target, int historyMode, BOOL keepFilter, BOOL allowFile);
    void HandleListingError(BOOL* retry);
    // The running result of a re-read after comparing the stored entry at the write
    // position (null when there is none) with the newly found data.
    int CompareReadEntry(int running, CFileInfo* stored, const WIN32_FIND_DATAW& found);
    int CompareReadEntry(int running, CFileInfo* stored, const CEntryFindData& found);

    // ---- Sorting and find results (with the entry records) --------------------------
    void SortEntries();
    int MergeFindResults(BOOL incremental, BOOL forced);

    // ---- Marks and cursor -----------------------------------------------------------
    void SetEntryMark(INT_PTR index, int value);
    // Kinds 0 to 6; never marks "." or "..".
    void MarkAll(int kind);
    int CountMarked(BOOL files, BOOL directories) const;
    INT_PTR CountEntries(BOOL files, BOOL directories) const;
    ULONGLONG GetTotalFileSize() const;
    ULONGLONG GetMarkedFileSize() const;
    // 1 when the first visible entry changed.
    int MoveCursor(INT64 delta, BOOL mayWrap);
    int SetCursorToName(LPCWSTR name, BOOL directoriesOnly, INT64 fallbackIndex);
    void SetCursorToNameOrParent(LPCWSTR name);
    void SaveCursorPosition();

    // ---- Archive listing -------------------------------------------------------------
    // Opens the archive (reopen: the archive object's own archive, else the cursor
    // entry) and lists its root, cursor on ".." when there is one; 0 after a message
    // when the archive cannot be opened, with the pane as it was.
    int OpenArchiveListing(BOOL reopen);
    // Lists the archive object's current folder again and sorts; 1.
    int ReloadArchiveListing();
    // Closes the archive; with reread the directory is read again with the cursor on
    // the archive file.
    void CloseArchiveListing(BOOL reread);
    // Takes `opened`, an archive object that has opened and listed its archive, as
    // the pane's own; the one it had is closed and deleted, and the entries that
    // named it are dropped.
    void ReplaceArchive(IPaneArchive* opened);
    // The archive members that the selection (the marked entries, else or with
    // cursorOnly the cursor entry) covers, a directory's own member left out.
    int CountArchiveItems(BOOL cursorOnly);
    // The n-th (from 0) of the members the selection covers, a directory's own
    // member included; 1 and the member in `out`, or 0.
    int CollectArchiveItems(CArchiveFileInfo& out, int n, BOOL cursorOnly);

    // ---- Text viewer (PaneViewer.cpp) --------------------------------------------------
    // Opens `entry` as text: a disk file, or (in an archive listing, or modeOverride
    // with an archive mode) the member read into memory, at most maxMemberBytes. The
    // widths are defaults that a per-extension row may replace. 1 when the first
    // screen is indexed (the rest loads in the background), else 0.
    int OpenViewerFile(const CFileInfo& entry, LONGLONG maxMemberBytes, int tabWidth, int lineWidth,
                       UINT modeOverride);
    // Indexes the text held again with new widths (its code stays).
    int LoadViewerData(int tabWidth, int lineWidth);
    // Bracket every read of the viewer text; refused when there is no text.
    BOOL LockViewerData();
    void UnlockViewerData();
    // Keeps the text locked across a modal dialog that reads it (the print): until the
    // release, the loader waits and the pane's own lock and unlock pass at once, since
    // the thread that holds the lock is the one that draws the pane.
    BOOL HoldViewerData();
    void ReleaseHeldViewerData();
    BOOL m_viewerHeld = FALSE;
    void StopViewerLoader();
    void ReleaseViewerData();
    BOOL IsViewerLoadDone() const;
    // Moves the first shown line, kept within the text; the change made.
    INT64 ScrollViewerLines(INT64 delta, int linesPerPage, BOOL hexForm);
    // The byte offset of the first shown line (of the first row of sixteen bytes in the
    // hexadecimal form); -1 when the text cannot be locked.
    INT64 ViewerTopLineOffset();
    int GetViewerEncoding() const;
    int GetViewerEncodingDetail() const;
    int SearchViewerText(BOOL forward);

private:
    // The archive object's current folder into the entries, unsorted.
    void ListArchiveFolder();
    // Walks the members the selection covers: the number of them when wanted is
    // negative, else 1 with the wanted one copied into `out`, or 0.
    int WalkArchiveItems(BOOL cursorOnly, BOOL countOwnItems, int wanted, CArchiveFileInfo* out);
    // Opens the change notification on the current directory, whose drive class
    // (which allows it) is `driveClass`.
    void OpenChangeNotification(int driveClass);
    // TRUE when the change handle still watches the current directory and has seen
    // no change since it was last armed: a whole read may keep it.
    BOOL IsWatchStillGood();
    // Takes the watched folder's identity from the folder held since the watch was
    // armed, and lets go of it.
    void SettleWatchedIdentity();
    // Tells the user that the shown directory is gone and climbs to the nearest
    // existing parent.
    void LeaveVanishedDirectory();
    // The write position, the running result and where each stored entry stands
    // while a listing is compared with them (defined with the reading).
    struct ReadPass;
    // Lists the current directory into the entries; returns the write position.
    INT_PTR EnumerateDirectory(ReadPass& pass);
    // One pass of the listing over `pattern`, taking the entries of `passKind`.
    void ListPass(LPCWSTR pattern, int passKind, BOOL hideDot, BOOL hideDotDot, LPCWSTR filterPattern,
                  ReadPass& pass);
    // Moves the current directory up to its nearest existing parent.
    void ClimbToExistingParent();
};

// The display path of the whole network's top level.
extern const wchar_t* const kWholeNetworkPath;
// A drive row's description: the label padded to 25 display columns and the size
// text, or for a remote drive the label (24 characters at most) padded and the
// connection, else the label alone.
void FormatDriveDescription(const CString& label, const CString& sizeText, const CString& connection,
                            int remote, CString& out);

// The two panes; the command that exchanges the windows exchanges the pointers.
extern CFilerPane* g_Panes[2];

// Pane 0 or 1 of g_Panes (null while it is not made); null for any other number, such
// as the -1 of "no active pane".
inline CFilerPane* PaneAt(int pane)
{
    return pane == 0 || pane == 1 ? g_Panes[pane] : nullptr;
}

// PaneAt(pane) while it shows a file in one of the text viewers, its viewer made;
// else null.
inline CFilerPane* TextViewerPaneAt(int pane)
{
    CFilerPane* found = PaneAt(pane);
    return found != nullptr && (found->m_mode & PANE_MODES_TEXT_VIEWERS) != 0 && found->m_viewer != nullptr
               ? found
               : nullptr;
}

// Pane 0 or 1, or -1 for either: the pane is visible (position mask 0) or shares a
// bit with the position mask, and shares a bit with each non-zero mode and sub-mode
// mask.
bool TestPaneState(int pane, UINT positionMask, UINT modeMask, UINT subModeMask);
// The first of pane 0 and pane 1 that matches as in TestPaneState.
bool FindPaneByMode(int* pane, UINT positionMask, UINT modeMask, UINT subModeMask);
