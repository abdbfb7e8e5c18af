#include "archiveclient/base/ReparsePoints.h"
#include "fs/PathRules.h"

#include <cstring>
#include <winioctl.h>

namespace
{

CReparseApi g_systemReparseApi;
CReparseApi* g_reparseApi = &g_systemReparseApi;

UINT32 Get16(const BYTE* p)
{
    return static_cast<UINT32>(p[0]) | (static_cast<UINT32>(p[1]) << 8);
}

UINT32 Get32(const BYTE* p)
{
    return Get16(p) | (Get16(p + 2) << 16);
}

void Set16(BYTE* p, UINT32 v)
{
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}

void Set32(BYTE* p, UINT32 v)
{
    Set16(p, v);
    Set16(p + 2, v >> 16);
}

void ReadCountedName(const BYTE* p, UINT32 byteLength, UString& out)
{
    UINT32 count = byteLength / 2;
    wchar_t* chars = out.GetWriteBuffer(count);
    for (UINT32 i = 0; i < count; i++)
        chars[i] = static_cast<wchar_t>(Get16(p + i * 2));
    out.SetLengthAfterWrite(count);
}

void WriteName(BYTE* p, const wchar_t* chars, UINT32 count)
{
    for (UINT32 i = 0; i < count; i++)
        Set16(p + i * 2, chars[i]);
}

const wchar_t kNtPrefix[] = L"\\??\\";
const UINT32 kNtPrefixLength = 4;
const UINT32 kMountPointHeader = 16;
const UINT32 kSymLinkHeader = 20;

} // namespace

bool OpenReparsePointForRead(CInputFile& file, const wchar_t* path)
{
    return file.OpenWith(path, FILE_SHARE_READ, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT);
}

bool CReparseApi::GetReparseData(CFileHandle& file, const wchar_t*, void* buffer, DWORD size, DWORD& returned)
{
    return file.DeviceControlOut(FSCTL_GET_REPARSE_POINT, buffer, size, returned);
}

CReparseApi* SetReparseApi(CReparseApi* api)
{
    CReparseApi* old = g_reparseApi == &g_systemReparseApi ? nullptr : g_reparseApi;
    g_reparseApi = api != nullptr ? api : &g_systemReparseApi;
    return old;
}

bool ReadReparseData(const wchar_t* path, CByteBlock& block, BY_HANDLE_FILE_INFORMATION* info)
{
    block.Free();
    CInputFile file;
    if (!OpenReparsePointForRead(file, path))
        return false;
    if (info != nullptr)
        GetFileInformationByHandle(file.Handle(), info);
    CByteBlock buffer;
    buffer.Allocate(kReparseDataLimit);
    DWORD returned = 0;
    if (!g_reparseApi->GetReparseData(file, path, buffer.Data(), kReparseDataLimit, returned))
        return false;
    block.CopyFrom(buffer.Data(), returned < kReparseDataLimit ? returned : kReparseDataLimit);
    return true;
}

bool CReparseInfo::Parse(const BYTE* data, size_t size)
{
    if (size < 8)
        return false;
    Tag = Get32(data);
    UINT32 dataLength = Get16(data + 4);
    if (size < dataLength + 8u)
        return false;
    if (Tag != kReparseTagMountPoint && Tag != kReparseTagSymLink)
        return false;
    if (Get16(data + 6) != 0)
        return false;
    if (size != dataLength + 8u)
        return false;
    if (dataLength < 8)
        return false;
    UINT32 room = dataLength - 8;
    UINT32 nameArea = kMountPointHeader;
    Flags = 0;
    if (Tag == kReparseTagSymLink)
    {
        if (room < 4)
            return false;
        Flags = Get32(data + 16);
        room -= 4;
        nameArea = kSymLinkHeader;
    }
    UINT32 substituteOffset = Get16(data + 8);
    UINT32 substituteLength = Get16(data + 10);
    UINT32 printOffset = Get16(data + 12);
    UINT32 printLength = Get16(data + 14);
    if ((substituteOffset & 1) != 0 || substituteOffset + substituteLength > room)
        return false;
    if ((printOffset & 1) != 0 || printOffset + printLength > room)
        return false;
    ReadCountedName(data + nameArea + substituteOffset, substituteLength, SubstituteName);
    ReadCountedName(data + nameArea + printOffset, printLength, PrintName);
    return true;
}

void CReparseInfo::GetPath(UString& path) const
{
    path = SubstituteName;
    if (!WideStartsWith(path, kNtPrefix))
        return;
    path.SetCharAt(1, L'\\');
    if (IsDriveRootPath(path.CharsAt(kNtPrefixLength)))
        path.EraseFront(kNtPrefixLength);
}

bool BuildReparseData(CByteBlock& block, const UString& target, bool isSymLink)
{
    const wchar_t* rest = target.Chars();
    bool writePrint = true;
    // What the system stores after "\??\": a drive path, "UNC\server\share" for a
    // network path, or whatever followed an extended-length prefix.
    const wchar_t* ntRest = nullptr;
    if (IsSuperPath(rest))
    {
        rest += kNtPrefixLength;
        writePrint = IsDriveRootPath(rest);
        ntRest = rest;
    }
    else if (IsDrivePath(rest))
        ntRest = rest;
    else if (IsPathSeparator(rest[0]) && IsPathSeparator(rest[1]))
        ntRest = rest + 2;
    bool networkPath = ntRest != nullptr && ntRest == rest + 2;

    // A junction can only hold a full path; a path rooted at the current drive is
    // relative to it, so a symbolic link stores it as relative.
    if (!isSymLink && ntRest == nullptr)
        return false;

    UINT32 restLength = WideLength(rest);
    UINT32 ntLength = ntRest != nullptr ? WideLength(ntRest) : 0;
    const wchar_t* kUnc = L"UNC\\";
    UINT32 substituteChars =
        ntRest == nullptr ? restLength : kNtPrefixLength + (networkPath ? 4 : 0) + ntLength;
    UINT64 substituteBytes = static_cast<UINT64>(substituteChars) * 2;
    UINT64 printBytes = writePrint ? static_cast<UINT64>(restLength) * 2 : 0;
    UINT64 total = kMountPointHeader + substituteBytes + printBytes + 4;
    // The lengths are 16-bit fields and the file system keeps at most 16 KiB: a longer
    // target cannot be stored and must not be cut silently.
    if (total > kReparseDataLimit)
        return false;

    block.Allocate(total);
    BYTE* p = block.Data();
    std::memset(p, 0, static_cast<size_t>(total));
    Set32(p, isSymLink ? kReparseTagSymLink : kReparseTagMountPoint);
    Set16(p + 4, static_cast<UINT32>(total - 8));
    UINT32 s = static_cast<UINT32>(substituteBytes);
    UINT32 pr = static_cast<UINT32>(printBytes);
    UINT32 substituteOffset, printOffset, nameArea;
    if (isSymLink)
    {
        substituteOffset = pr;
        printOffset = 0;
        nameArea = kSymLinkHeader;
        Set32(p + 16, ntRest == nullptr ? kSymLinkFlagRelative : 0);
    }
    else
    {
        substituteOffset = 0;
        printOffset = s + 2;
        nameArea = kMountPointHeader;
    }
    Set16(p + 8, substituteOffset);
    Set16(p + 10, s);
    Set16(p + 12, printOffset);
    Set16(p + 14, pr);

    BYTE* name = p + nameArea + substituteOffset;
    if (ntRest == nullptr)
        WriteName(name, rest, restLength);
    else
    {
        WriteName(name, kNtPrefix, kNtPrefixLength);
        name += kNtPrefixLength * 2;
        if (networkPath)
        {
            WriteName(name, kUnc, 4);
            name += 8;
        }
        WriteName(name, ntRest, ntLength);
    }
    if (writePrint)
        WriteName(p + nameArea + printOffset, rest, restLength);
    return true;
}
