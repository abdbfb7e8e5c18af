// Enumeration of a directory's entries over the three sources a pane lists (a disk
// directory, a virtual-drive directory, a folder inside an archive), and the list
// through which the file search hands its finds to a pane.
#pragma once
#include <windows.h>
#include <functional>
#include "framework/FwString.h"
#include "filer/FileInfo.h"
#include "filer/FindWorkerLink.h"

class IPaneArchive;

// Kinds of an enumeration.
enum
{
    ENTRY_FIND_DISK = 1,
    ENTRY_FIND_VIRTUAL = 2,
    ENTRY_FIND_ARCHIVE = 3,
};

// An open enumeration (FindFirstEntry to CloseEntryFind).
class CEntryFind
{
public:
    int m_kind = 0;
    HANDLE m_findHandle = INVALID_HANDLE_VALUE; // disk
    int m_position = 0;                         // entry returned last (virtual, archive)
    CString m_directory;
    CString m_pattern;
    CArrayFileInfo m_entries; // the whole listing, taken at opening (virtual, archive)
};

// Opens an enumeration of `directory` with the wildcard `pattern` and fills `out`
// with the first entry. With an archive object the folder of the archive is listed;
// otherwise a virtual-drive letter lists its store, anything else the disk. Returns
// null when there is nothing (the system error of a failed disk find is kept for
// GetLastError).
CEntryFind* FindFirstEntry(IPaneArchive* archive, LPCWSTR directory, LPCWSTR pattern, CFileInfo& out);
// 1 with the next entry, 0 at the end and for a null handle.
int FindNextEntry(CEntryFind* find, CFileInfo& out);
// The same as the system's record alone, for a caller that fills an entry from it
// only when it needs one (a record is filled with the enumeration's directory).
int FindNextEntryData(CEntryFind* find, WIN32_FIND_DATAW& out);
// Frees the handle and nulls the reference; the result of closing a disk find, else 1.
BOOL CloseEntryFind(CEntryFind*& find);

// 1 with the first entry of the directory whose name equals `name` (case aside).
int FindEntryInDirectory(IPaneArchive* archive, LPCWSTR directory, LPCWSTR name, CFileInfo& out);
// The same, never a directory.
int FindFileEntryInDirectory(IPaneArchive* archive, LPCWSTR directory, LPCWSTR name, CFileInfo& out);
int FindFileEntryOnDisk(LPCWSTR directory, LPCWSTR name, CFileInfo& out);

// The hand-over list of a pane that shows search results. The search worker and the
// rename worker call in from their own threads; every member below the mutex is
// touched only while it is held.
class CFindResultList : public CFindResultSink
{
public:
    CFindResultList();
    ~CFindResultList() override;
    CFindResultList(const CFindResultList&) = delete;
    CFindResultList& operator=(const CFindResultList&) = delete;

    // Stops a running search, clears the results and returns the (new) worker, which
    // hands its finds to this list, for the caller to configure and start.
    CFindThreadBase* StartSearch();
    void StopSearch();
    // A copy of the entry is appended; returns 1.
    int AddResult(const CFileInfo& entry);
    // The search's finds: appended in the order they come (the pane sorts them).
    void AddFind(int row, const CFileInfo& entry) override;
    void ShowFinds(const CArrayFileInfo& finds) override;
    void Clear();
    // The first result with the entry's full path (case aside) takes the new name.
    void RenameResult(const CFileInfo& entry, LPCWSTR newName);

    HANDLE m_mutex;
    CArrayFileInfo m_results;
    CFindThreadBase* m_worker;
    BOOL m_changed; // added to, renamed in or cleared since the pane took the results
    BOOL m_cleared; // cleared since the pane took the results
};

// The pane side of the hand-over, told with the pane's listing state: returns 0
// (unchanged), 2 (changed in place) or 1 (the pane's entries were rebuilt from the
// results; the caller resets marks and sorts). `compareRead` is the pane's re-read
// comparison (running result, stored entry, new data).
int MergeFindResultsInto(CFindResultList& list, CArrayFileInfo& paneEntries, LPCWSTR wildcard,
                         BOOL filterDirectories, BOOL incremental, BOOL forced,
                         const std::function<int(int, CFileInfo*, const WIN32_FIND_DATAW&)>& compareRead);
