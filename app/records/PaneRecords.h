// Records that the view, the filer and the copy engine keep in their lists: a row
// of a pane's drive list, directory-jump groups and their jumps, one level of a
// recursive directory walk and one line of the file-list dialog.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

// Kinds of drive-list rows that are not lettered drives of the system.
enum
{
    DRIVE_KIND_VIRTUAL = 1000,      // a virtual drive
    DRIVE_KIND_LAST_SHARE = 1001,   // the network share last visited
    DRIVE_KIND_NETWORK_ROOT = 1002, // "ネットワーク コンピュータ"
};

// The texts of the rows that are no lettered drives.
extern const wchar_t* const kVirtualDriveDescription; // "仮想ドライブ"
extern const wchar_t* const kNetworkComputerName;     // "ネットワーク コンピュータ"

// One row of a pane's drive list.
class CDriveInfo
{
public:
    CDriveInfo() = default;

    // The system drive type (2 removable, 3 fixed, 4 remote, 5 CD-ROM, 6 RAM disk)
    // or one of the DRIVE_KIND_ values; 0 in a new record.
    int m_kind = 0;
    // "X:" for a lettered or virtual drive, the share root for the last share,
    // kNetworkComputerName for the network row.
    CString m_name;
    // Shown right after the name: the volume text, kVirtualDriveDescription for a
    // virtual drive, empty for the network rows.
    CString m_description;

    // 1 when the path lies on the drive or share the row names (root compared
    // without case, one trailing backslash of the root ignored), else 0.
    int IsDriveOfPath(LPCWSTR path) const;
    // The name followed directly by the description.
    void GetDisplayText(CString& out) const;
};

// One directory jump.
class CEachJumpDirectory
{
public:
    CEachJumpDirectory() = default;

    CString m_keyName;   // one of the key table's names, or empty
    CString m_directory; // the destination
    CString m_display;   // a remark shown beside the destination
};

// One group of directory jumps, in the order the user arranged them.
class CJumpDirectory
{
public:
    CJumpDirectory() = default;

    CString m_groupName;
    CArray<CEachJumpDirectory> m_entries;
};

// An open enumeration of a folder's contents; the filer panes define it.
class CEntryFind;

// One directory level of a recursive walk. The frames form a stack through m_next,
// the deepest level on top; each is created on the heap for the directory entered,
// and popped by keeping m_next, deleting the frame and making m_next the top.
class CDirWalkFrame
{
public:
    CDirWalkFrame() = default;
    // Closes an open enumeration; the frame in m_next is left alone.
    ~CDirWalkFrame();
    CDirWalkFrame(const CDirWalkFrame&) = delete;
    CDirWalkFrame& operator=(const CDirWalkFrame&) = delete;

    // The open enumeration over the directory's contents ("*.*"), or null.
    CEntryFind* m_pFind = nullptr;
    // The directory's path counted from the folder that holds the walk's root.
    CString m_relativePath;
    // The frame of the enclosing directory; null for the root frame.
    CDirWalkFrame* m_next = nullptr;
    // The copy engine's target directory for this level; empty in other walks.
    CString m_targetDirectory;
    // The source directory's times, handed to the target when the level is done.
    FILETIME m_creationTime{};
    FILETIME m_lastAccessTime{};
    FILETIME m_lastWriteTime{};
    // 1 while the first entry, delivered by opening the enumeration, is unread.
    int m_firstEntryPending = 0;
    // The walked directory itself (its full path) for the jobs that remove their
    // source directories when a level is done.
    CString m_directoryPath;

    // The frame for the walk's root directory: relative path = its own name.
    static CDirWalkFrame* CreateRoot(LPCWSTR directoryPath);
    // The frame for `name`, a subdirectory of `parent`: relative path
    // "<parent's relative path>\<name>", linked to `parent`.
    static CDirWalkFrame* CreateChild(CDirWalkFrame* parent, LPCWSTR name);
};

// What the walk frames ask of the filer, which lies above them; the program installs
// it, and a frame left with an open enumeration before that leaves it open.
struct DirWalkHooks
{
    // Closes and frees an open enumeration and clears the reference: of the very type
    // of CloseEntryFind so that the program can install that function itself.
    BOOL (*closeEntryFind)(CEntryFind*& find);
};

extern DirWalkHooks g_DirWalkHooks;

// One line of the file-list dialog: a node of a singly linked list.
class CFileListEntry
{
public:
    CFileListEntry() = default;

    CString m_directory; // the real directory of the file
    CString m_name;
    CFileListEntry* m_next = nullptr;
};
