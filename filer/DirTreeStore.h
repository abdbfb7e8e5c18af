// The directory trees of drive roots kept for the rest of the run, one per drive
// letter, and their cache files "<program folder>\<letter>_TREE.DAT" that carry them
// into the next run. A tree is the list of the full paths of its directories in
// display order (parents before children, siblings by name); the root itself is not
// in it.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class DirTreeStore
{
public:
    DirTreeStore() = default;
    ~DirTreeStore();
    DirTreeStore(const DirTreeStore&) = delete;
    DirTreeStore& operator=(const DirTreeStore&) = delete;

    // The tree of drive A to Z (either case), or null when none was loaded this run.
    CStringArray* GetTree(wchar_t letter) const;
    // Takes ownership of `lines` (null forgets the drive's tree).
    void SetTree(wchar_t letter, CStringArray* lines);
    void Clear();

private:
    static int Slot(wchar_t letter);
    CStringArray* m_trees[26] = {};
};

extern DirTreeStore g_DirTreeStore;

// Writes the cache file: FF FE, then every line followed by CR LF, replacing an old
// file. A failed write closes the file at once and keeps what was written. FALSE when
// the file could not be created or a write failed.
BOOL WriteTreeCacheFile(LPCWSTR path, const CStringArray& lines);

// The cache file of every drive whose tree is loaded and not empty, into the folder
// "<folder>\<letter>_TREE.DAT"; drives without a tree keep their old file.
void SaveTreeCacheFiles(LPCWSTR folder);
