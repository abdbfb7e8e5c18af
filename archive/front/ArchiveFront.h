// The archive object that each pane owns: it opens an archive through one of the
// archive back-ends and lists its folders. Until the back-ends are joined to it, an
// archive front has no archive open and every folder it lists is empty.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include "app/records/ArchiveFileInfo.h"
#include "filer/PaneArchive.h"

class CArrayFileInfo;
class CProgressInfo;
struct FindCondition;

class CArchiveFront : public IPaneArchive
{
public:
    CArchiveFront() = default;
    CArchiveFront(const CArchiveFront&) = delete;
    CArchiveFront& operator=(const CArchiveFront&) = delete;

    int ListDirectory(CArrayFileInfo& out, LPCWSTR folder, LPCWSTR wildcard, BOOL filterDirectories,
                      const FindCondition* condition) override;
    const CString& GetCurrentFolder() const override { return m_currentFolder; }
    void SetCurrentFolder(LPCWSTR folder) override { m_currentFolder = folder; }
    CErrorIF& GetErrors() override { return m_errors; }

    // Placeholders until the back-ends are joined: an archive front lists nothing,
    // so there is nothing to delete in it.
    BOOL HasListing() const { return FALSE; }
    // Deletes the items (paths inside the archive) from the listed archive, keeping
    // the archive file's times when asked; 1 on success. Reports through `progress`.
    int DeleteEntries(const CStringArray& items, BOOL keepArchiveTimes, CProgressInfo* progress);

    // The factory the program installs for the panes (SetPaneArchiveFactory).
    static IPaneArchive* CreateForPane();

    // The current folder inside the archive; empty at its root.
    CString m_currentFolder;
    // The error codes of the last operation.
    CErrorIF m_errors;
};
