// The directory trees of drive roots kept for the rest of the run, one per drive
// letter, and their cache files "<cache folder>\<letter>_TREE.DAT" that carry them
// into the next run; with them the entry whose tree the tree dialog shows and the
// folder the user chose there. A tree is a chain of the full paths of its
// directories in display order (parents before children, siblings by name); the
// root itself is not in it.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "filer/FileInfo.h"

// One directory of a tree: its full path and the next directory in display order.
struct DirTreeNode
{
    CString m_path;
    DirTreeNode* m_next = nullptr;
};

// Frees a chain from its head (null is an empty chain).
void FreeDirTreeChain(DirTreeNode* head);

// A chain while it is built: a drive holds tens of thousands of folders, so the tail
// is kept and an append costs the same at any length.
class CDirTreeChain
{
public:
    CDirTreeChain() = default;
    ~CDirTreeChain() { Free(); }
    CDirTreeChain(const CDirTreeChain&) = delete;
    CDirTreeChain& operator=(const CDirTreeChain&) = delete;

    // The new node, or null when memory ran out (the chain is then unchanged).
    DirTreeNode* Append(LPCWSTR path);
    DirTreeNode* GetHead() const { return m_head; }
    BOOL IsEmpty() const { return m_head == nullptr; }
    // Hands the nodes over; the chain is empty afterwards.
    DirTreeNode* Detach();
    // Moves the nodes of `other` to the end of this chain; `other` is empty afterwards.
    void Splice(CDirTreeChain& other);
    void Free();

private:
    DirTreeNode* m_head = nullptr;
    DirTreeNode* m_tail = nullptr;
};

class DirTreeStore
{
public:
    DirTreeStore();
    ~DirTreeStore();
    DirTreeStore(const DirTreeStore&) = delete;
    DirTreeStore& operator=(const DirTreeStore&) = delete;

    // The two switches are the settings SAVEDRIVETREETOFILE and SAVEDRIVETREETOMEMORY
    // themselves (0 until the settings file says otherwise): a copy of them here
    // could disagree with what the settings dialog last stored.
    static BOOL SavesTreesToFile();
    static BOOL KeepsTreesInMemory();
    // Either switch on: the tree of a drive root outlives the dialog that built it.
    static BOOL CachesTrees();

    // The tree of drive A to Z (either case), or null when none is kept.
    DirTreeNode* GetTree(wchar_t letter) const;
    // Takes ownership of the chain from `head` (null forgets the drive's tree); the
    // chain it replaces is freed. For a character that is no drive letter the chain
    // is freed and nothing is kept.
    void SetTree(wchar_t letter, DirTreeNode* head);
    // Frees every kept tree.
    void Clear();

    // The folder of the cache files: the one set, else the program folder, which is
    // known only after start-up and so is not taken at construction.
    CString GetCacheFolder() const;
    void SetCacheFolder(LPCWSTR folder) { m_cacheFolder = folder; }
    // "<cache folder>\<upper-case letter>_TREE.DAT"; empty for no drive letter.
    CString GetCacheFilePath(wchar_t letter) const;
    // Reads the drive's cache file into its slot (see ReadTreeCacheFile); 0, and the
    // slot unchanged, when the file is declined.
    int LoadTreeFile(wchar_t letter);
    // Writes the cache file of every drive with a kept tree into `folder`; drives
    // without one keep their old file. FALSE when a file could not be written.
    BOOL SaveTreeFiles(LPCWSTR folder) const;

    // The directory whose tree the dialog shows (set by the caller before it opens).
    CFileInfo m_root;
    // The directory the user chose to go to (set when the dialog ends with a jump).
    CString m_resultPath;

private:
    static int Slot(wchar_t letter);
    CString m_cacheFolder;
    DirTreeNode* m_trees[26];
};

extern DirTreeStore g_DirTreeStore;

// Writes a cache file: FF FE, then every path followed by CR LF, replacing an old
// file. A failed write closes the file at once and keeps what was written. FALSE when
// the file could not be created or a write failed.
BOOL WriteTreeCacheFile(LPCWSTR path, const DirTreeNode* head);

// Reads a cache file into `out` (appending): UTF-16LE after FF FE, or else text in the
// system code page; only lines ended by CR LF count. 0 (nothing appended) when the
// file is missing or unreadable, holds 1 or 2 bytes only, or memory runs out; an
// empty file gives 1 and no path.
int ReadTreeCacheFile(LPCWSTR path, CDirTreeChain& out);
