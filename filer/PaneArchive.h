// What a filer pane asks of the archive object it owns: the listing of one folder of
// the open archive, the folder it stands in and the errors of the last operation.
// The archive front sits above the panes, so the pane reaches it only through this
// interface; the program installs the factory that makes the real object, and
// without it a pane gets an archive object whose every folder is empty.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "app/records/ArchiveFileInfo.h"

class CArrayFileInfo;
class CProgressInfo;
struct FindCondition;

class IPaneArchive
{
public:
    virtual ~IPaneArchive() = default;

    // Fills `out` with the entries of one folder of the listed archive that match
    // the wildcard. Returns the number of entries added.
    virtual int ListDirectory(CArrayFileInfo& out, LPCWSTR folder, LPCWSTR wildcard, BOOL filterDirectories,
                              const FindCondition* condition) = 0;
    // The current folder inside the archive; empty at its root.
    virtual const CString& GetCurrentFolder() const = 0;
    virtual void SetCurrentFolder(LPCWSTR folder) = 0;
    // The error codes of the last operation.
    virtual CErrorIF& GetErrors() = 0;

    // The archive operations of the pane's listing. Without a back-end an archive
    // object opens nothing: the open fails with "no library or plug-in" (28), there
    // is no archive path and no entry.
    // Opens and lists the archive (preference 0: the pane's order of back-ends);
    // nonzero on success.
    virtual int OpenAndList(LPCWSTR path, int preference);
    // Frees the back-ends' libraries and keeps the listing.
    virtual void UnloadLibraries() {}
    // Closes the archive in every back-end.
    virtual void Close() {}
    // The path of the open archive; empty when none.
    virtual void GetArchivePath(CString& out) { out.Empty(); }
    // That path split at its last backslash; either output may be null.
    virtual void SplitArchivePath(CString* folder, CString* name);
    // Bit 0: the listing gives no sizes of its files.
    virtual int GetSevenZipState() const { return 0; }
    // The number of listed members, and the member at an index (0 when the index is
    // out of range).
    virtual int GetEntryCount() { return 0; }
    virtual int GetEntry(CArchiveFileInfo** out, int index);
    // The member at an index of the listing (a row's item index) into a locked
    // local-memory block the caller frees with LocalFreeLocked; *size limits (when
    // not 0) and then gives the bytes. 1 on success; without a back-end nothing is
    // extracted.
    virtual int ExtractEntryToMemory(int /*index*/, void** /*buffer*/, LONGLONG* /*size*/,
                                     CProgressInfo* /*progress*/)
    {
        return 0;
    }
};

// What makes a new pane's archive object, which lies above the panes; the program
// installs it.
struct PaneArchiveHooks
{
    // Makes the archive object of a new pane; null: one that lists nothing.
    IPaneArchive* (*create)();
};

extern PaneArchiveHooks g_PaneArchiveHooks;

// The archive object of a new pane; the pane owns and deletes it.
IPaneArchive* CreatePaneArchive();
