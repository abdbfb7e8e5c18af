// Deciding, before the archive library is touched, whether a file is an archive the
// library can read or a name under which it can pack: the two type lists, the suffix
// tests, the signatures of the first 4096 bytes with the library's handler class ids,
// and the name of an archive item that stores no path of its own.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// Comma-terminated type names.
extern const wchar_t kSevenZipReadableTypes[];
extern const wchar_t kSevenZipWritableTypes[];

// How many bytes of a file the signature test reads.
constexpr DWORD kSevenZipHeadSize = 4096;

// 1 when the name's last extension is in the packing list (flags & 4) or the reading
// list (otherwise).
int IsSupportedSevenZipName(LPCWSTR fileName, int flags);

// TRUE when any dotted suffix of the path ("a.tar.gz" gives gz and tar) is in the
// comma-terminated list.
BOOL HasListedSuffix(LPCWSTR path, LPCWSTR list);

// The handler class id of the format the head (signature first) or the extension
// names; null when neither decides.
const GUID* DetectSevenZipType(LPCWSTR path, BOOL withSignature);
// The same decision on a head already read (`size` bytes valid).
const GUID* DetectSevenZipTypeFromHead(const BYTE* head, DWORD size, LPCWSTR path);
// The format number of a handler class id (its byte 13).
inline BYTE SevenZipFormatNumber(const GUID* id)
{
    return id == nullptr ? 0 : id->Data4[5];
}

// Reads at most *size bytes from the start of the file; *size becomes the count
// read. 0 or a system error.
DWORD ReadFileHead(LPCWSTR path, BYTE* buffer, DWORD* size);

// The item name of an item without a stored path: the archive's file name without
// its last extension, with ".tar" for the compressed-tar short forms (x.tgz gives
// x.tar).
CString MakeSevenZipDefaultItemName(LPCWSTR archivePath);
