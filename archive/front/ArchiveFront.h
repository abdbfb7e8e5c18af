// The archive object that each pane owns: it opens an archive through one of the
// archive back-ends and lists its folders. Until the back-ends are joined to it, an
// archive front has no archive open and every folder it lists is empty.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "app/records/ArchiveFileInfo.h"

class CArrayFileInfo;
struct FindCondition;

class CArchiveFront
{
public:
    CArchiveFront() = default;
    CArchiveFront(const CArchiveFront&) = delete;
    CArchiveFront& operator=(const CArchiveFront&) = delete;

    // Fills `out` with the entries of one folder of the listed archive that match
    // the wildcard. Returns the number of entries added.
    int ListDirectory(CArrayFileInfo& /*out*/, LPCWSTR /*folder*/, LPCWSTR /*wildcard*/,
                      BOOL /*filterDirectories*/, const FindCondition* /*condition*/)
    {
        return 0;
    }

    // The current folder inside the archive; empty at its root.
    CString m_currentFolder;
    // The error codes of the last operation.
    CErrorIF m_errors;
};
