// The directory scan for packing: what a path filter names on disk, collected as one
// item per file, directory or alternate stream with its metadata, its place in two
// shared trees of path prefixes (on disk and in the archive), an optional index into
// the set of distinct security descriptors and optional link data.
#pragma once
#include "archiveclient/base/StreamAdapters.h"
#include "archiveclient/base/PathFilter.h"
#include "fs/ArcString.h"
#include "fs/FindEntries.h"
#include "fs/Vectors.h"

struct CDiskItem
{
    uint64_t Size = 0;
    FILETIME CTime = {};
    FILETIME ATime = {};
    FILETIME MTime = {};
    UString Name; // for an alternate stream: the file name, ':' and the stream name
    CByteBlock ReparseData;
    CByteBlock FixedReparseData;
    uint32_t Attrib = 0;
    int32_t DiskParent = -1;
    int32_t StoredParent = -1;
    int32_t SecureIndex = -1;
    bool IsAltStream = false;

    bool IsDir() const { return (Attrib & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

struct CDiskScanStats
{
    uint64_t NumDirs = 0;
    uint64_t NumFiles = 0;
    uint64_t NumAltStreams = 0;
    uint64_t FilesSize = 0;
    uint64_t AltStreamsSize = 0;
    uint64_t NumErrors = 0;
};

// What the scan tells its user. S_OK goes on; any other result ends the scan with it.
struct IDirItemsCallback
{
    virtual HRESULT ScanError(const UString& path, uint32_t systemError) = 0;
    virtual HRESULT ScanProgress(const CDiskScanStats& stats, const UString& path, bool isDir) = 0;

protected:
    ~IDirItemsCallback() = default;
};

// Enables "SeSecurityPrivilege" for the process, so that system access lists can be
// read; true only when the system reports no error.
bool AcquireSeSecurityPrivilege();

class CDiskItemList
{
public:
    COwnedPtrVector<UString> Prefixes;
    CValueVector<int32_t> DiskParents;
    CValueVector<int32_t> StoredParents;
    COwnedPtrVector<CDiskItem> Items;
    bool StoreLinks = false;
    bool ScanAltStreams = false;
    CDiskScanStats Stats;
    CUniqueBlobSet SecureBlocks;
    CByteBlock SecureBuffer;
    bool SaclPrivilege = false;
    bool ReadSecurity = false;
    IDirItemsCallback* Callback = nullptr;

    CDiskItemList();
    CDiskItemList(const CDiskItemList&) = delete;
    CDiskItemList& operator=(const CDiskItemList&) = delete;

    int32_t AddPrefix(int32_t diskParent, int32_t storedParent, const UString& prefix);
    void DeleteLastPrefix();
    void AddItem(int32_t diskParent, int32_t storedParent, int32_t secureIndex, const CFsEntryInfo& entry);

    HRESULT ReportError(const UString& path, uint32_t systemError);
    HRESULT ReportLastError(const UString& path);
    HRESULT ReportProgress(const UString& path);

    HRESULT StoreSecurityDescriptor(const UString& path, int32_t& index);
    HRESULT SetLinkInfo(CDiskItem& item, const CFsEntryInfo& entry, const UString& dirPrefix);

    UString GetDiskPath(uint32_t itemIndex) const;
    UString GetStoredPath(uint32_t itemIndex) const;
    void ReserveDown();
    // Gives absolute links into the folder that the archive's root stands for a second
    // form whose target starts at the drive root instead.
    void FillFixedReparse();
};

// The identity of a file or directory on its volume. The scan compares identities so
// that it never enters a directory again that it is already inside of: a junction or
// link to an ancestor would otherwise make the walk endless.
struct CFileIdentity
{
    uint32_t VolumeSerial = 0;
    uint64_t FileIndex = 0;

    bool operator==(const CFileIdentity& other) const
    {
        return VolumeSerial == other.VolumeSerial && FileIndex == other.FileIndex;
    }
};

// How the scan finds the identity of the directory a path leads to (following links).
// The default object asks the file system; a test may install its own.
class CFileIdentityApi
{
public:
    virtual ~CFileIdentityApi() = default;
    virtual bool GetDirectoryIdentity(const wchar_t* path, CFileIdentity& identity);
};

// Installs api (null: the file system again); returns the one installed before.
CFileIdentityApi* SetFileIdentityApi(CFileIdentityApi* api);
