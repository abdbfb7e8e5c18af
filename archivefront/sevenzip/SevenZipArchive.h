// The archive back-end that works through the 7-Zip archive library: it recognises
// an archive by its name and head, lists it, extracts chosen members (or all) into
// a folder or one member into memory, and creates archives and adds, deletes and
// renames members. Every failure is a code in its CErrorIF; none throws on its own.
#pragma once
#include <windows.h>
#include "app/ProgressInfo.h"
#include "app/records/ArchiveFileInfo.h"
#include "archiveclient/codecs/SevenZipLibrary.h"
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include <vector>

class CArchiveChain;
struct CRenameRule;
class CPackProgressDlg;
class CWnd;

// What OpenArchiveFile fills and the listing walks.
struct CSevenZipOpenState
{
    int status = 0;
    int kind = 3;
    CArchiveChain* chain = nullptr;
    UINT32 itemCount = 0;
    UINT32 nextItem = 0;
    ULONGLONG scratch = 0;
};

// The open flags of Open: reading (1, 8 when listing) and packing (4).
enum
{
    SEVENZIP_OPEN_READ = 1,
    SEVENZIP_OPEN_PACK = 4,
    SEVENZIP_OPEN_LIST = 8,
};

// The job kinds of the pack progress dialog.
enum
{
    SEVENZIP_JOB_CREATE = 0,
    SEVENZIP_JOB_RENAME = 1,
    SEVENZIP_JOB_DELETE = 2,
};

class CSevenZipArchive
{
public:
    CSevenZipArchive();
    ~CSevenZipArchive();
    CSevenZipArchive(const CSevenZipArchive&) = delete;
    CSevenZipArchive& operator=(const CSevenZipArchive&) = delete;

    void Reset() { m_noPrompt = 1; }
    void Close();
    void UnloadLibrary();
    void GetLibraryName(CString& out) const;
    static int IsSupportedName(LPCWSTR fileName, int flags);

    // 0 when the file is accepted (library loaded, type detected), else -1.
    int Open(LPCWSTR path, int flags);
    int ListEntries(LPCWSTR path);
    // The member `name` of `folder` into a new locked local-memory block that the
    // caller frees with LocalFreeLocked. *size on input: at most this many bytes
    // (0 or less: all); on output the bytes delivered.
    // A name that several members share (case aside) is refused with code 41.
    int ExtractToMemory(LPCWSTR archivePath, LPCWSTR folder, LPCWSTR name, void** buffer, LONGLONG* size,
                        CProgressInfo* progress);
    // The same for one member of the listing: the library's item of its index.
    int ExtractToMemory(LPCWSTR archivePath, const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                        CProgressInfo* progress);
    int PrepareForPacking();
    void ResetOptions();
    // Option 2 takes a CArchiveFileInfo* of the listing in place of the text.
    void SetOption(int index, LPCWSTR text);
    void SetRenameList(const CArrayRenameFileName& list);
    int HasListing() const { return m_listing.GetSize() > 0 ? 1 : 0; }

    // The pack jobs, each run on the worker of a modal pack progress dialog.
    static int CreateArchive(CSevenZipArchive* backEnd, CWnd* owner, CProgressInfo* progress);
    static int DeleteEntries(CSevenZipArchive* backEnd, CWnd* owner, CProgressInfo* progress);
    static int RenameEntries(CSevenZipArchive* backEnd, CWnd* owner, CProgressInfo* progress);
    int RunCreate(CPackProgressDlg* dialog, CProgressInfo* progress);
    int RunDelete(CPackProgressDlg* dialog, CProgressInfo* progress);
    int RunRename(CPackProgressDlg* dialog, CProgressInfo* progress);

    // The chosen members (all when none are chosen) into destinationDirectory.
    int Extract(CWnd* owner, CProgressInfo* progress);

    int LoadLibrary();
    void AcquireCodecs();
    void ReleaseCodecs();
    int OpenArchiveFile(LPCWSTR path, CSevenZipOpenState& state);
    void CloseArchiveFile(CSevenZipOpenState& state);

    // The item as stored, turned into text; throws the int 150245 for a type no
    // text is made of.
    static CString PropertyToUString(const PROPVARIANT& value);

    CArrayArchiveFileInfo m_listing;
    WIN32_FIND_DATAW m_archiveFindData;
    CString m_frontPath;
    int m_unknownSizeFlags = 0;
    CErrorIF m_errors;
    CString m_archivePath;
    ULONGLONG m_volumeTotal = 0;
    LONGLONG m_volumeCount = 0;
    const GUID* m_detectedClassId = nullptr;
    CString m_baseDirectory;
    CString m_targetArchivePath;
    CString m_destinationDirectory;
    int m_flatExtraction = 0;
    int m_passwordKnown = 0;
    CString m_knownPassword;
    int m_askPasswordOnPack = 0;
    CString m_givenPassword;
    CArray<CArchiveFileInfo*, CArchiveFileInfo*> m_chosenEntries;
    CArray<UINT32, UINT32> m_chosenIndexes;
    CStringArray m_filesToPack;
    CArrayRenameFileName m_renameList;
    int m_keepArchiveTime = 0;
    int m_noOverwritePrompt = 0;
    int m_noPrompt = 0;
    // Set: the next Close keeps the known password (and clears this).
    int m_keepPasswordOnce = 0;

private:
    static int RunJob(CSevenZipArchive* backEnd, int kind, CWnd* owner, CProgressInfo* progress);
    int RunPackJob(int kind, CProgressInfo* progress);
    // One rule per member the rename list gives a new name, by item index; false when
    // a member of the list is not in the listing or a path names none or several.
    bool MakeRenameRules(std::vector<CRenameRule>& rules) const;
    HMODULE Module() const { return m_library.Module(); }

    CSevenZipLibrary m_library;
};
