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
};

// Makes the archive object of a new pane; the pane owns and deletes it.
using PaneArchiveFactory = IPaneArchive* (*)();
// Null puts the default back: an archive object that lists nothing.
void SetPaneArchiveFactory(PaneArchiveFactory factory);
IPaneArchive* CreatePaneArchive();
