#include "fs/LongPath.h"

#include <cstddef>
#include <cstring>
#include <io.h>
#include <wchar.h>

namespace
{

// Below this length the system takes a path as it is; from it on, only the
// extended-length form gets past the classic limits of the file functions.
const size_t kLongPathLength = 248;

} // namespace

LPCWSTR LongPathArg(LPCWSTR path, CString& holder)
{
    // Measuring stops at the limit: the wrappers run for every file of a listing.
    if (path == nullptr || path[0] == L'\\' || wcsnlen(path, kLongPathLength) < kLongPathLength)
        return path;
    holder = L"\\\\?\\";
    holder += path;
    return holder;
}

HANDLE FindFirstFileLong(LPCWSTR path, WIN32_FIND_DATAW* findData)
{
    CString holder;
    return FindFirstFileW(LongPathArg(path, holder), findData);
}

BOOL FindCloseLong(HANDLE& findHandle)
{
    if (findHandle == INVALID_HANDLE_VALUE)
        return TRUE;
    BOOL result = FindClose(findHandle);
    findHandle = INVALID_HANDLE_VALUE;
    return result;
}

HANDLE CreateFileLong(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                      DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile)
{
    CString holder;
    return CreateFileW(LongPathArg(path, holder), desiredAccess, shareMode, security, creationDisposition,
                       flagsAndAttributes, templateFile);
}

HANDLE FindFirstChangeNotificationLong(LPCWSTR path, BOOL watchSubtree, DWORD notifyFilter)
{
    CString holder;
    return FindFirstChangeNotificationW(LongPathArg(path, holder), watchSubtree, notifyFilter);
}

BOOL MoveFileLong(LPCWSTR existingPath, LPCWSTR newPath)
{
    CString existingHolder, newHolder;
    return MoveFileW(LongPathArg(existingPath, existingHolder), LongPathArg(newPath, newHolder));
}

BOOL CreateDirectoryLong(LPCWSTR path, LPSECURITY_ATTRIBUTES security)
{
    CString holder;
    return CreateDirectoryW(LongPathArg(path, holder), security);
}

BOOL SetFileAttributesLong(LPCWSTR path, DWORD attributes)
{
    CString holder;
    return SetFileAttributesW(LongPathArg(path, holder), attributes);
}

BOOL DeleteFileLong(LPCWSTR path)
{
    CString holder;
    return DeleteFileW(LongPathArg(path, holder));
}

BOOL RemoveDirectoryLong(LPCWSTR path)
{
    CString holder;
    return RemoveDirectoryW(LongPathArg(path, holder));
}

BOOL RemoveFolderTreeLong(LPCWSTR folder)
{
    CString pattern(folder);
    pattern += L"\\*";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileLong(pattern, &found);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
        {
            if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0)
                continue;
            CString path(folder);
            path += L"\\";
            path += found.cFileName;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    RemoveDirectoryLong(path);
                else
                    RemoveFolderTreeLong(path);
            }
            else
            {
                SetFileAttributesLong(path, FILE_ATTRIBUTE_ARCHIVE);
                DeleteFileLong(path);
            }
        } while (FindNextFileW(find, &found));
        FindCloseLong(find);
    }
    // A read-only folder refuses to go as well.
    SetFileAttributesLong(folder, FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryLong(folder);
}

DWORD GetFileAttributesLong(LPCWSTR path)
{
    CString holder;
    return GetFileAttributesW(LongPathArg(path, holder));
}

BOOL GetFileAttributesExLong(LPCWSTR path, GET_FILEEX_INFO_LEVELS infoLevel, void* info)
{
    CString holder;
    return GetFileAttributesExW(LongPathArg(path, holder), infoLevel, info);
}

BOOL MoveFileExLong(LPCWSTR existingPath, LPCWSTR newPath, DWORD flags)
{
    CString existingHolder, newHolder;
    return MoveFileExW(LongPathArg(existingPath, existingHolder), LongPathArg(newPath, newHolder), flags);
}

BOOL RenameOpenFileLong(HANDLE file, LPCWSTR newPath, BOOL replace)
{
    CString holder;
    LPCWSTR name = LongPathArg(newPath, holder);
    const size_t length = wcslen(name);
    const size_t size = offsetof(FILE_RENAME_INFO, FileName) + (length + 1) * sizeof(WCHAR);
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (block == nullptr)
    {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    auto* info = static_cast<FILE_RENAME_INFO*>(block);
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(length * sizeof(WCHAR));
    memcpy(info->FileName, name, (length + 1) * sizeof(WCHAR));
    BOOL renamed = SetFileInformationByHandle(file, FileRenameInfo, info, static_cast<DWORD>(size));
    DWORD error = GetLastError();
    HeapFree(GetProcessHeap(), 0, block);
    SetLastError(error);
    return renamed;
}

BOOL CopyFileLong(LPCWSTR existingPath, LPCWSTR newPath, BOOL failIfExists)
{
    CString existingHolder, newHolder;
    return CopyFileW(LongPathArg(existingPath, existingHolder), LongPathArg(newPath, newHolder),
                     failIfExists);
}

int AccessLong(LPCWSTR path, int mode)
{
    CString holder;
    return _waccess(LongPathArg(path, holder), mode);
}

BOOL SetFileTimeLong(LPCWSTR path, const WIN32_FIND_DATAW* findData)
{
    // A read-only file cannot be opened for writing, and the times need a handle with
    // write access.
    SetFileAttributesLong(path, FILE_ATTRIBUTE_NORMAL);
    HANDLE file;
    if (findData->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        // Only backup semantics give a handle to a directory.
        file = CreateFileLong(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                              nullptr);
    else
        file = CreateFileLong(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        SetFileAttributesLong(path, findData->dwFileAttributes);
        return FALSE;
    }
    BOOL result =
        SetFileTime(file, &findData->ftCreationTime, &findData->ftLastAccessTime, &findData->ftLastWriteTime);
    SetFileAttributesLong(path, findData->dwFileAttributes);
    CloseHandle(file);
    return result;
}

HANDLE FindFirstFileAsGiven(LPCWSTR path, WIN32_FIND_DATAW* findData)
{
    return FindFirstFileW(path, findData);
}

HANDLE CreateFileAsGiven(LPCWSTR path, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                         DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile)
{
    return CreateFileW(path, desiredAccess, shareMode, security, creationDisposition, flagsAndAttributes,
                       templateFile);
}

BOOL SetCurrentDirectoryAsGiven(LPCWSTR path)
{
    return SetCurrentDirectoryW(path);
}

DWORD GetShortPathNameAsGiven(LPCWSTR path, LPWSTR shortPath, DWORD size)
{
    return GetShortPathNameW(path, shortPath, size);
}

int SHFileOperationAsGiven(SHFILEOPSTRUCTW* operation)
{
    return SHFileOperationW(operation);
}
