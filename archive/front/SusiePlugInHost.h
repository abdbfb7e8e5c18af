// The image plug-in archive host as the archive front sees it: it lists and extracts
// archives through an archive plug-in. The plug-ins themselves are not hosted yet, so
// this host takes no file: every open reports "no plug-in" (15), which the front
// merges with the archiver libraries' "no library" into its single error.
#pragma once
#include <windows.h>
#include "app/records/ArchiveFileInfo.h"
#include "framework/FwString.h"

class CProgressInfo;
class CWnd;

class CSusiePlugInHost
{
public:
    CSusiePlugInHost();
    ~CSusiePlugInHost();
    CSusiePlugInHost(const CSusiePlugInHost&) = delete;
    CSusiePlugInHost& operator=(const CSusiePlugInHost&) = delete;

    // The index of the plug-in that takes the file (kind 1 archive, 2 image), or a
    // negative value with the errors set.
    int LoadPlugInForFile(LPCWSTR path, int kind, int firstIndex, int check);
    // Nonzero when the loaded plug-in listed the archive into m_listing.
    int ListArchive(LPCWSTR path);
    int ExtractToMemory(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer, LONGLONG* size,
                        CProgressInfo* progress);
    // The same in the output form the graphic viewer reads.
    int ExtractToMemory2(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer, LONGLONG* size,
                         CProgressInfo* progress);
    int Extract(CWnd* owner, CProgressInfo* progress);
    // 0 base folder, 1 archive, 2 member (a CArchiveFileInfo*), 5 destination, 6 ignore
    // folders; other indices are ignored.
    void SetOption(int index, LPCWSTR text);
    void ResetOptions();

    void Close();
    void UnloadLibrary();
    void Reset() { m_reset = 1; }
    CString GetLibraryName() const { return m_libraryName; }
    int HasListing() const { return m_listing.GetSize() > 0 ? 1 : 0; }
    // Whether an archive plug-in would take a file of that name.
    static int IsSupportedName(LPCWSTR name);

    CArrayArchiveFileInfo m_listing;
    CErrorIF m_errors;
    CString m_archivePath;
    WIN32_FIND_DATAW m_archiveFindData;
    CString m_libraryName;
    int m_reset = 0;
};
