// Virtual drives: letters whose folders live in a folder store of the program rather
// than on a disk. A store holds a tree of folders; a file entry of a folder points at
// a real file elsewhere (its real directory plus its name). Each store is kept in
// "<program folder>\<letter>_Drive.ini".
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CIniFile;

// One node of a folder's list: a sub-folder (with its own list) or a file entry.
struct VirtualFolderNode
{
    CString name;
    CString realDirectory; // empty for folders
    int isFolder = 0;
    VirtualFolderNode* next = nullptr;
    VirtualFolderNode* firstChild = nullptr; // folders only
};

// One entry of a folder listing: its find data (the real file's for file entries)
// and its real directory (empty for folders).
struct VirtualFolderListing
{
    WIN32_FIND_DATAW findData;
    CString realDirectory;
};
typedef CArray<VirtualFolderListing, const VirtualFolderListing&> CVirtualFolderListing;

// Paths given to a store are full paths on its drive ("Q:\a\b") or paths inside it
// ("a\b"); the drive prefix is ignored, the empty path is the root folder, and names
// compare ignoring case.
class CVirtualFolderStore
{
public:
    CVirtualFolderStore();
    ~CVirtualFolderStore();
    CVirtualFolderStore(const CVirtualFolderStore&) = delete;
    CVirtualFolderStore& operator=(const CVirtualFolderStore&) = delete;

    // Replaces the tree with the file's. 1 on success (a missing file gives an empty
    // store); 0 when the file stayed in use or its folders clash with its entries.
    // After a failure the store refuses to save, so the file is never overwritten
    // with what little could be read.
    int Load(LPCWSTR filePath);
    // Rewrites the file from the tree: 1 when written; 0 when it cannot be created or
    // the store's load had failed (the file is then left as it is).
    int Save(LPCWSTR filePath);
    // FALSE after a load that failed.
    BOOL CanSave() const { return !m_loadFailed; }

    // 1 when the folder exists.
    BOOL FolderExists(LPCWSTR path) const;
    // 1 when the folder exists or was created with every missing parent; 0 when a
    // component is the name of a file entry.
    BOOL CreateDirectoryPath(LPCWSTR path);
    // Adds a folder (FILE_ATTRIBUTE_DIRECTORY in the find data) or a file entry
    // named by findData.cFileName to the folder, creating the folder when missing.
    // A file entry of an existing name gets the new real directory; 0 when the name
    // is empty or clashes with an entry of the other kind.
    BOOL AddEntry(LPCWSTR folderPath, const WIN32_FIND_DATAW& findData, LPCWSTR realDirectory);
    // Removes the entry of that name (a folder with its whole sub-tree).
    void RemoveEntry(LPCWSTR folderPath, LPCWSTR name);
    // The folder's entries that match the pattern (folders always, unless
    // filterFolders); outside the root "." and ".." lead as the settings
    // NOTVIEWCURRENTDIR / NOTVIEWUPDIR allow. A file entry whose real file is gone
    // is dropped from the store on the way.
    void EnumerateFolder(LPCWSTR folderPath, LPCWSTR pattern, BOOL filterFolders, CVirtualFolderListing& out);

    // The pane's listing of a folder: EnumerateFolder with folders filtered, each
    // entry appended through out.AddVirtualDriveEntry(directory, real directory,
    // find data). A template because the entry array belongs to a higher layer.
    // Returns the number of entries appended.
    template <class TEntryArray> int ListDirectory(LPCWSTR directory, LPCWSTR pattern, TEntryArray& out)
    {
        CVirtualFolderListing listing;
        EnumerateFolder(directory, pattern, TRUE, listing);
        for (INT_PTR i = 0; i < listing.GetSize(); ++i)
            out.AddVirtualDriveEntry(directory, listing[i].realDirectory, listing[i].findData);
        return static_cast<int>(listing.GetSize());
    }

    // Set to 1 for both panes by every change of the tree; a pane re-reads a folder
    // of the drive while its own flag is set and clears it.
    int m_changed[2];

    // The root folder's list (owned).
    VirtualFolderNode* m_root;

private:
    VirtualFolderNode** FindFolderList(LPCWSTR path);
    VirtualFolderNode* const* FindFolderList(LPCWSTR path) const;
    void FreeTree();
    void SetChanged();

    BOOL m_loadFailed;
};

// One flag per letter A to Z; 1 treats the letter as a virtual drive.
extern int g_VirtualDriveFlags[26];
// The folder store of each letter A to Z (indexed by the upper-case letter), or null.
extern CVirtualFolderStore* g_VirtualFolderStores[26];

// The store file of a letter index (0 for A): "<g_HomeDir>\<letter>_Drive.ini".
CString GetVirtualDriveFilePath(int letterIndex);
// For each letter: a real drive or a cleared flag saves and drops its store; a
// flagged letter without a store gets one, loaded from its file.
void LoadVirtualDrives();
// Saves the letter's store (unless its load failed) and drops it.
void SaveVirtualDrive(int letterIndex);

// Section "VIRTUALDRIVE" of the settings file: keys "ADRIVE" … "ZDRIVE".
void LoadSectionVirtualDrive(CIniFile& ini);
void SaveSectionVirtualDrive(CIniFile& ini);
