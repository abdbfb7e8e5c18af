// Virtual drives: letters whose folders live in a folder store of the program rather
// than on a disk. Only what the path helpers need is here so far: the flags, the
// per-letter stores and the two folder queries of a store.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

class CArrayFileInfo;

class CVirtualFolderStore
{
public:
    // 1 when the folder (a full path on the store's drive) exists.
    BOOL FolderExists(LPCWSTR path) const;
    // 1 when the folder exists or was created with every missing parent.
    BOOL CreateDirectoryPath(LPCWSTR path);
    // Appends the entries of the folder whose names match the wildcard; returns how
    // many. The store keeps no entries yet, so every folder lists empty.
    int ListDirectory(LPCWSTR directory, LPCWSTR pattern, CArrayFileInfo& out) const;

private:
    CStringArray m_folders;
};

// One flag per letter A to Z; 1 treats the letter as a virtual drive.
extern int g_VirtualDriveFlags[26];
// The folder store of each letter A to Z (indexed by the upper-case letter), or null.
extern CVirtualFolderStore* g_VirtualFolderStores[26];
