// The archive object through which the program works with an archive file. It hides
// the back-ends (the 7-Zip library, the common-archiver libraries and the image
// plug-in archive host) behind one set of operations and one error list: each
// operation clears the list, calls the back-end that holds the archive (or, when
// opening, tries them in a fixed order) and takes over that back-end's codes.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include "app/records/ArchiveFileInfo.h"
#include "archivefront/ArchivePlugInBackEnd.h"
#include "archivefront/archiver/ArchiverDll.h"
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "filer/PaneArchive.h"

class CArrayFileInfo;
class CArrayRenameFileName;
class CProgressInfo;
class CWnd;
struct FindCondition;

// Which back-end holds the open archive.
enum
{
    ARCFRONT_NONE = 0,
    ARCFRONT_PLUGIN = 1,
    ARCFRONT_ARCHIVER = 2,
    ARCFRONT_SEVENZIP = 3,
};

// Open purposes (the archiver table's open-mask bits).
enum
{
    ARCFRONT_OPEN_MEMBER_TO_MEMORY = 1,
    ARCFRONT_OPEN_MEMBER_VIA_TEMP = 2,
    ARCFRONT_OPEN_PACK = 4,
    ARCFRONT_OPEN_UNPACK = 8,
};

// OpenAndList preferences: plug-ins first (1), archiver libraries first (2), no
// archiver library at all (4).
enum
{
    ARCFRONT_PREFER_PLUGIN = 1,
    ARCFRONT_PREFER_ARCHIVER = 2,
    ARCFRONT_NO_ARCHIVER = 4,
};

class CArchiveFront : public IPaneArchive
{
public:
    CArchiveFront();
    ~CArchiveFront() override;
    CArchiveFront(const CArchiveFront&) = delete;
    CArchiveFront& operator=(const CArchiveFront&) = delete;

    // Opens without listing (flags: ARCFRONT_OPEN_ purposes); 1 when a back-end took
    // the archive.
    int Open(LPCWSTR path, int flags);
    // Opens and lists (preference: ARCFRONT_PREFER_ bits); 1 when a back-end listed it.
    int OpenAndList(LPCWSTR path, int preference) override;
    // 1 when some back-end would take a file of that name for the purposes in flags.
    static int IsSupportedName(LPCWSTR name, int flags);

    // One folder level of the listed archive; folders that only members' paths name
    // are listed as directories with the archive file's own times.
    int ListDirectory(CArrayFileInfo& out, LPCWSTR folder, LPCWSTR wildcard, BOOL filterDirectories,
                      const FindCondition* condition) override;
    const CString& GetCurrentFolder() const override { return m_innerFolder; }
    void SetCurrentFolder(LPCWSTR folder) override { m_innerFolder = folder ? folder : L""; }
    CErrorIF& GetErrors() override { return m_errors; }

    int GetEntryCount() override;
    int GetEntry(CArchiveFileInfo** out, int index) override;
    BOOL HasListing() const;
    void GetArchivePath(CString& out) override;
    void SplitArchivePath(CString* folder, CString* name) override;
    CString GetLibraryName() const;
    // Bit 0: a listed file has no recorded size (7-Zip listings only).
    int GetSevenZipState() const override;

    // One member of the listing (a record GetEntry gave, or a copy of one) into a
    // locked local-memory block the caller frees with LocalFreeLocked. *size on
    // input, when not 0, limits the bytes delivered; on output the bytes delivered.
    // 1 on success. The member is the one the record stands for, whatever others
    // share its name.
    int ExtractToMemory(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                        CProgressInfo* progress);
    // The same for the member at an index of the listing (a pane row's item index).
    int ExtractEntryToMemory(int index, void** buffer, LONGLONG* size, CProgressInfo* progress) override;
    // The same for the member `name` of `folder` when a name is all there is: a name
    // that several members share (case aside) names none of them (code 41).
    int ExtractToMemory(LPCWSTR name, LPCWSTR folder, void** buffer, LONGLONG* size, CProgressInfo* progress);
    // The plug-in host's form for the graphic viewer; 0 without an error unless the
    // plug-in host holds the archive. With an image (the archive's bytes from
    // `imageStart` on) the plug-in reads the member out of memory.
    int ExtractToMemoryViaPlugIn(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                                 CProgressInfo* progress, const void* image = nullptr, SIZE_T imageSize = 0,
                                 ULONGLONG imageStart = 0);
    int ExtractToMemoryViaPlugIn(LPCWSTR name, LPCWSTR folder, void** buffer, LONGLONG* size,
                                 CProgressInfo* progress, const void* image = nullptr, SIZE_T imageSize = 0,
                                 ULONGLONG imageStart = 0);

    // The numbered options, handed to the active back-end (none: nothing happens).
    void ResetOptions();
    void SetOption(int index, LPCWSTR text);
    // Option 2: one chosen member of the listing.
    void SetOption(int index, CArchiveFileInfo* member);
    void SetRenameList(const CArrayRenameFileName& list);

    // Prepares a back-end for packing without an archive: kind 2 the archiver library
    // of the table row, kind 3 the 7-Zip library. 1 when it became active.
    int SelectPackBackEnd(int kind, int row);
    int CreateArchive(CWnd* packDialog, int flag, CProgressInfo* progress = nullptr);
    int MakeSelfExtracting(CWnd* packDialog, int flag);
    // Extracts the chosen members (option 2), or every member. A member whose name
    // no folder on disk can hold is refused before anything is written (code 26,
    // the member as the subject).
    int Extract(CWnd* owner, CProgressInfo* progress);
    // Deletes the chosen members (option 2) from a 7-Zip archive.
    int DeleteEntries(CWnd* owner, CProgressInfo* progress);
    // Deletes exactly the members (records of this listing, as the pane's rows give
    // them), keeping the archive file's times when asked; the progress dialog is owned
    // by `owner`. 1 on success; code 4 when a member is not in the listing.
    int DeleteEntries(const CArrayArchiveFileInfo& members, BOOL keepArchiveTimes, CProgressInfo* progress,
                      CWnd* owner = nullptr);
    // Lets the password known for this archive outlive the next opening of it, the
    // listing read again after this object changed the archive.
    void KeepPasswordForReopen() { m_sevenZip.m_keepPasswordOnce = 1; }
    // Renames by the rename list in a 7-Zip archive.
    int RenameEntries(CWnd* owner, CProgressInfo* progress);

    // Forgets per-archive state (asked passwords, plug-in state).
    void Reset();
    // Closes the archive in every back-end; the listing goes with it.
    void Close() override;
    // Frees every back-end's library and keeps the listing.
    void UnloadLibraries() override;

    // The factory the program installs for the panes (g_PaneArchiveHooks).
    static IPaneArchive* CreateForPane();

    // The folder inside the archive the owning pane shows; empty at its root.
    CString m_innerFolder;
    int m_activeBackEnd = ARCFRONT_NONE;
    CErrorIF m_errors;
    CSevenZipArchive m_sevenZip;
    CArchivePlugInBackEnd m_plugIn;
    CArchiverDll m_archiverDll;

private:
    // What the options chose for the next extraction: the number of members, the
    // first one too long to write with its folders and without them, and whether
    // folders are dropped.
    int m_chosenCount = 0;
    CString m_overlongPath;
    CString m_overlongName;
    int m_flatExtraction = 0;

    // The one member of the listing the name names (errors 4 and 41 otherwise).
    CArchiveFileInfo* FindNamedMember(LPCWSTR name, LPCWSTR folder);
    // The first member to be extracted whose name is too long to write, or empty.
    CString FindOverlongMember() const;
    const CArrayArchiveFileInfo* ActiveListing() const;
    const WIN32_FIND_DATAW* ActiveArchiveFindData() const;
    // Runs a back-end call, turning what it throws into error 40; 0 then.
    template <class Call> int Guarded(Call call);
    // Deleting or renaming members: a job of the 7-Zip back-end's pack progress dialog.
    using SevenZipJob = int (*)(CSevenZipArchive*, CWnd*, CProgressInfo*);
    int RunSevenZipChange(SevenZipJob job, CWnd* owner, CProgressInfo* progress);
};
