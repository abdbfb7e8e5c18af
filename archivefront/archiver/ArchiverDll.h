// The common-archiver back-end: drives one of the archiver libraries that share one
// calling convention (every export named by a per-library prefix, the bare prefix
// taking a console-style command line), chosen from the archiver table. Rows without
// a 64-bit library, and all packing, go through the bridge library "Unbypass.dll"
// in the folder the user configured. The libraries are outside the program: every
// one of them may be missing, and then the back-end reports code 1.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include "app/records/ArchiveFileInfo.h"
#include "archivefront/archiver/ArchiverTable.h"

class CProgressInfo;

class CArchiverDll
{
public:
    CArchiverDll();
    ~CArchiverDll();
    CArchiverDll(const CArchiverDll&) = delete;
    CArchiverDll& operator=(const CArchiverDll&) = delete;

    // 1 when a row whose open mask shares a bit with flags lists the name's
    // extension.
    static int IsSupportedName(LPCWSTR name, int flags);
    // The bridge library's path: the configured folder and "Unbypass.dll".
    static CString GetBridgeLibraryPath();

    // Finds the row whose library takes the archive, from firstRow on, for the
    // purposes in flags (ARCOPEN_ bits); the row, or -1. Without a path the library
    // of the last open is loaded again.
    int Open(LPCWSTR path, int flags, int firstRow);
    // Lists the archive's members into the listing; 1 when listed.
    int ListEntries(LPCWSTR path);
    // Reads one member into a new locked local-memory block (freed with
    // LocalFreeLocked), first straight from the library, then through a temporary
    // folder. `size`: on input a limit when not 0, on output the bytes delivered.
    // A name given alone that several members share is refused (code 41).
    int ExtractToMemory(LPCWSTR archive, LPCWSTR folder, LPCWSTR name, void** buffer, DWORD* size);
    // The same for one member of the listing. The libraries address members by
    // their stored name only: a member whose stored name another member shares (case
    // aside) is refused (code 41) rather than read as whichever the library picks.
    int ExtractToMemory(LPCWSTR archive, const CArchiveFileInfo& member, void** buffer, DWORD* size);
    // Extracts the whole archive, or the members added with option 2, into the
    // destination (option 5); 1 on success.
    int Extract(HWND owner, CProgressInfo* progress);
    // Packs the names added with option 13 into the archive (option 1).
    int CreateArchive(HWND packDialog, int flag);
    int MakeSelfExtracting(HWND packDialog, int flag);
    // Loads the row's library for packing without opening an archive; 1 on success.
    int LoadForPacking(int row);

    // Option indices: 0 base folder, 1 archive, 2 member (a CArchiveFileInfo), 3
    // switch, 4 encrypt, 5 destination, 6 ignore folders, 7 hide the library's
    // window, 8 password, 9 unpack options, 12 pack switches, 13 file name.
    void SetOption(int index, LPCWSTR text);
    // Option 2: one chosen member.
    void SetOption(int index, const CArchiveFileInfo& member);
    void ResetOptions();

    int HasListing() const { return m_listing.GetSize() > 0; }
    // Frees the library and empties the listing.
    void Close();
    // Frees the library and keeps the listing; a later operation loads it again.
    void UnloadLibrary();
    // The file name of the loaded library; empty when none is loaded.
    CString GetLibraryName() const;
    // The library's own settings dialog for unpacking (mode 1) or packing (mode 2).
    static void ShowConfigDialog(HWND owner, int row, int mode);

    CArrayArchiveFileInfo m_listing;
    WIN32_FIND_DATAW m_archiveFind;
    CErrorIF m_errors;
    int m_ownerSet;
    CString m_archivePath;
    CString m_libraryPath;
    int m_row;
    HMODULE m_library;
    int m_viaBridge;
    CString m_baseFolder;
    CString m_switches;
    CString m_fileList;
    CString m_archiveArg;
    CString m_destinationArg;
    CString m_destination;
    CString m_lastOutput;
    int m_ignoreFolders;
    CStringArray m_refusedSwitches;

private:
    // purpose ARCOPEN_UNPACK (reading) or ARCOPEN_PACK; 1 when loaded.
    int LoadRowLibrary(int purpose, int row);
    void FreeLibrary();
    FARPROC GetExport(const char* suffix) const;
    // Either `chosen` (a member of the listing, copied) or `folder` and `name`.
    int ExtractMember(LPCWSTR archive, const CArchiveFileInfo* chosen, LPCWSTR folder, LPCWSTR name,
                      void** buffer, DWORD* size);
    int ExtractOne(int method, LPCWSTR archive, const CArchiveFileInfo* chosen, LPCWSTR folder, LPCWSTR name,
                   void** buffer, DWORD* size);
    int ReadBackFromTemp(const CString& jobFolder, const CString& relative, DWORD size, void** buffer);
    int CheckTargetLength(const CString& member);
    int RunCommand(HWND owner, const CString& command);
    int RunPackCommand(HWND packDialog, const CString& line);
    void AddSwitch(const CString& text);
    void AddName(const CString& name, BOOL asFile);
};
