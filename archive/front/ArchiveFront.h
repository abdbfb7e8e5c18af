// The archive object that each pane owns: it opens an archive through one of the
// archive back-ends and lists its folders. Until the back-ends are joined to it, an
// archive front has no archive open and every folder it lists is empty.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "app/records/ArchiveFileInfo.h"
#include "filer/PaneArchive.h"

class CArrayFileInfo;
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

    // The factory the program installs for the panes (SetPaneArchiveFactory).
    static IPaneArchive* CreateForPane();

    // The current folder inside the archive; empty at its root.
    CString m_currentFolder;
    // The error codes of the last operation.
    CErrorIF m_errors;
};
