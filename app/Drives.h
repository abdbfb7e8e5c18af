// Free and total bytes of the volume that holds a path, the shell's display name of a
// drive, the test for a 3.5-inch floppy drive, and thin registry readers.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// Free bytes of the whole volume (not the caller's quota); 0 on a virtual drive or
// when every way of asking fails.
ULONGLONG GetDiskFreeBytes(LPCWSTR path);
// Total bytes of the volume, same rules.
ULONGLONG GetDiskTotalBytes(LPCWSTR path);
// Both, from one question to the system.
void GetDiskBytes(LPCWSTR path, ULONGLONG& total, ULONGLONG& free);

// The shell's display name of the drive up to the "(X:)" part, the blank before it
// kept ("Local Disk "); the whole name when that part is not there.
void GetDriveDisplayName(LPCWSTR rootPath, CString& out);

// The type of the drive of a letter (GetDriveTypeW of its root). Asking for it costs
// the system a round trip to its mount manager, so the answer is kept per letter with
// the device the letter stood for then, and reused while the letter still stands for
// that device: a drive mapped, substituted or mounted under the letter since is asked
// anew.
UINT GetLetterDriveType(wchar_t letter);

// The memory behind GetLetterDriveType, with the two questions it asks passed in.
class CDriveTypeMemo
{
public:
    // The device the letter ("X") stands for, into `device`; false when none (or one
    // too long to keep).
    typedef bool (*DeviceOf)(wchar_t upper, wchar_t (&device)[MAX_PATH]);
    // The type of a root ("X:\\").
    typedef UINT (*TypeOf)(LPCWSTR root);

    CDriveTypeMemo();
    ~CDriveTypeMemo();
    CDriveTypeMemo(const CDriveTypeMemo&) = delete;
    CDriveTypeMemo& operator=(const CDriveTypeMemo&) = delete;

    // The type of the letter's drive (either case). A type is remembered only when
    // the letter stands for a device and the system could judge the root.
    UINT Get(wchar_t letter, DeviceOf deviceOf, TypeOf typeOf);

private:
    struct Known
    {
        bool known = false;
        UINT type = DRIVE_UNKNOWN;
        wchar_t device[MAX_PATH] = {};
    };
    Known m_known[26];
    CRITICAL_SECTION m_lock;
};

// 1 for a 3.5-inch floppy drive, recognised by the shell's name for it.
BOOL IsFloppyDrive(wchar_t letter);

// The value as a string; the RegQueryValueExW error code (0 when `out` is valid).
LONG ReadRegistryString(HKEY key, LPCWSTR valueName, DWORD* type, CString& out);
// The index-th subkey name (room for `nameLength` characters); RegEnumKeyExW's code.
LONG EnumRegistryKey(HKEY key, DWORD index, DWORD nameLength, CString& name, FILETIME* lastWrite);
// The index-th value name (room for `nameLength` characters); RegEnumValueW's code.
LONG EnumRegistryValue(HKEY key, DWORD index, DWORD nameLength, CString& name);
