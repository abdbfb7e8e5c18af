// Junctions (mount points) and symbolic links as the raw reparse data of the file
// system: reading it from a path, parsing it, turning the stored target into an
// ordinary path, and building it for a target.
#pragma once
#include "archiveclient/base/StreamAdapters.h"
#include "fs/FileHandles.h"
#include "fs/ArcString.h"

const UINT32 kReparseTagMountPoint = 0xA0000003;
const UINT32 kReparseTagSymLink = 0xA000000C;
const UINT32 kSymLinkFlagRelative = 1;
// The most reparse data the file system keeps for one entry.
const UINT32 kReparseDataLimit = 16384;

// Opens the entry itself, not what a link points to; directories open too.
bool OpenReparsePointForRead(CInputFile& file, const wchar_t* path);

// The system's FSCTL_GET_REPARSE_POINT call. Some file systems (among them the ones a
// compatibility layer maps onto other systems) answer no reparse queries, so tests
// may install their own with SetReparseApi.
class CReparseApi
{
public:
    virtual ~CReparseApi() = default;
    virtual bool GetReparseData(CFileHandle& file, const wchar_t* path, void* buffer, DWORD size,
                                DWORD& returned);
};

// Installs api (null: the real call again); returns the one installed before.
CReparseApi* SetReparseApi(CReparseApi* api);

// The block is empty unless the call succeeds. info, when given, receives the entry's
// file information.
bool ReadReparseData(const wchar_t* path, CByteBlock& block, BY_HANDLE_FILE_INFORMATION* info = nullptr);

struct CReparseInfo
{
    UINT32 Tag = 0;
    UINT32 Flags = 0; // 0 for mount points
    UString SubstituteName;
    UString PrintName;

    // True only for a well-formed mount point or symbolic link whose every length and
    // name lies inside the buffer. After false the record is not to be used.
    bool Parse(const BYTE* data, size_t size);
    bool IsSymLink() const { return Tag == kReparseTagSymLink; }
    bool IsRelative() const { return IsSymLink() && (Flags & kSymLinkFlagRelative) != 0; }
    // The substitute name as an ordinary path: "\??\C:\dir" gives C:\dir, and a
    // network target keeps the extended-length network prefix.
    void GetPath(UString& path) const;
};

// The data of a junction (isSymLink false; the target must be absolute) or of a
// symbolic link pointing at target. False when the target cannot be stored.
bool BuildReparseData(CByteBlock& block, const UString& target, bool isSymLink);
