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

// 1 for a 3.5-inch floppy drive, recognised by the shell's name for it.
BOOL IsFloppyDrive(wchar_t letter);

// The value as a string; the RegQueryValueExW error code (0 when `out` is valid).
LONG ReadRegistryString(HKEY key, LPCWSTR valueName, DWORD* type, CString& out);
// The index-th subkey name (room for `nameLength` characters); RegEnumKeyExW's code.
LONG EnumRegistryKey(HKEY key, DWORD index, DWORD nameLength, CString& name, FILETIME* lastWrite);
// The index-th value name (room for `nameLength` characters); RegEnumValueW's code.
LONG EnumRegistryValue(HKEY key, DWORD index, DWORD nameLength, CString& name);
