#include "fs/FileIdentity.h"

#include "fs/LongPath.h"

BOOL GetFileIdentity(LPCWSTR path, BY_HANDLE_FILE_INFORMATION& info)
{
    HANDLE file = CreateFileLong(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    const BOOL known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    return known;
}

BOOL SameFileIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b)
{
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}
