// The archive front's way to the archive plug-ins. The plug-in host lives with the
// image plug-ins above this library, so the front holds it through an interface
// that the program supplies at start-up; without one, no plug-in takes any file
// (code 15, which the front merges with the libraries' "no library").
#pragma once
#include <windows.h>
#include "app/records/ArchiveFileInfo.h"
#include "framework/FwString.h"

class CProgressInfo;
class CWnd;

class IArchivePlugInHost
{
public:
    virtual ~IArchivePlugInHost() = default;
    virtual int LoadPlugInForFile(LPCWSTR path, int kindFlags, int startIndex, int probe) = 0;
    virtual int ListArchive(LPCWSTR path) = 0;
    // One member of the host's listing, read at its own position (out of the image
    // set by SetArchiveImage when `fromImage`).
    virtual int ExtractMemberToMemory(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                                      CProgressInfo* progress, int fromImage) = 0;
    virtual int Extract(CWnd* owner, CProgressInfo* progress) = 0;
    virtual void SetOption(int number, LPCWSTR text) = 0;
    virtual void ClearOptions() = 0;
    virtual int HasSelection() = 0;
    virtual CString GetPlugInName() = 0;
    virtual void DisableReaderLock() = 0;
    // The archive held in memory from byte `imageStart` on, for the extraction from
    // the image; a null image forgets it.
    virtual void SetArchiveImage(const void* image, SIZE_T size, ULONGLONG imageStart) = 0;
    virtual void UnloadLibrary() = 0;
    virtual void Close() = 0;
    virtual const CErrorIF& Errors() = 0;
    virtual CArrayArchiveFileInfo& Listing() = 0;
    virtual WIN32_FIND_DATAW& FindData() = 0;
    virtual CString ArchivePath() = 0;
};

struct ArchivePlugInHooks
{
    // A new host for one front; the front deletes it.
    IArchivePlugInHost* (*createHost)();
    // Whether an enabled archive plug-in's patterns take a file of that name.
    int (*isSupportedName)(LPCWSTR name);
};
extern ArchivePlugInHooks g_ArchivePlugInHooks;

class CArchivePlugInBackEnd
{
public:
    CArchivePlugInBackEnd();
    ~CArchivePlugInBackEnd();
    CArchivePlugInBackEnd(const CArchivePlugInBackEnd&) = delete;
    CArchivePlugInBackEnd& operator=(const CArchivePlugInBackEnd&) = delete;

    // The index of the plug-in that takes the file (kind 1 archive, 2 image), or a
    // negative value with the errors set.
    int LoadPlugInForFile(LPCWSTR path, int kind, int firstIndex, int check);
    // Nonzero when the loaded plug-in listed the archive.
    int ListArchive(LPCWSTR path);
    // One member of the listing into memory.
    int ExtractToMemory(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                        CProgressInfo* progress);
    // The same in the output form the graphic viewer reads.
    int ExtractToMemory2(const CArchiveFileInfo& member, void** buffer, LONGLONG* size,
                         CProgressInfo* progress);
    int Extract(CWnd* owner, CProgressInfo* progress);
    // 0 base folder, 1 archive, 2 member (a CArchiveFileInfo*), 5 destination, 6 ignore
    // folders; other indices are ignored.
    void SetOption(int index, LPCWSTR text);
    void ResetOptions();

    void Close();
    void UnloadLibrary();
    void SetArchiveImage(const void* image, SIZE_T size, ULONGLONG imageStart);
    // The preview loader's fronts never wait for the loader's own reader lock.
    void Reset();
    CString GetLibraryName() const;
    int HasListing() const;
    static int IsSupportedName(LPCWSTR name);

    const CArrayArchiveFileInfo& Listing() const;
    const WIN32_FIND_DATAW& FindData() const;
    CString ArchivePath() const;

    CErrorIF m_errors;

private:
    IArchivePlugInHost* Host();
    int Forward(int result);

    IArchivePlugInHost* m_host = nullptr;
    int m_readerLockDisabled = 0;
    CArrayArchiveFileInfo m_emptyListing;
    WIN32_FIND_DATAW m_emptyFindData;
};
