#include "fs/LongPath.h"

#include <winternl.h>

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

HANDLE OpenFolderForNamesLong(LPCWSTR folder)
{
    // "X:" alone names the drive's current folder: the root is "X:\".
    CString root;
    if (folder != nullptr && folder[0] != 0 && folder[1] == L':' && folder[2] == 0)
    {
        root = folder;
        root += L'\\';
        folder = root;
    }
    return CreateFileLong(folder, FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

BOOL IsPlainNameInFolder(LPCWSTR name)
{
    if (name == nullptr || name[0] == 0)
        return FALSE;
    size_t length = 0;
    for (; name[length] != 0; ++length)
        if (name[length] < 32 || wcschr(L"\\/:*?\"<>|", name[length]) != nullptr || length >= MAX_PATH)
            return FALSE;
    if (name[length - 1] == L'.' || name[length - 1] == L' ')
        return FALSE;
    // A device's name opens the device with any extension and trailing spaces before it.
    size_t stem = 0;
    while (name[stem] != 0 && name[stem] != L'.')
        ++stem;
    while (stem > 0 && name[stem - 1] == L' ')
        --stem;
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices)
        if (stem == wcslen(device) && _wcsnicmp(name, device, stem) == 0)
            return FALSE;
    if (stem == 4 && (_wcsnicmp(name, L"COM", 3) == 0 || _wcsnicmp(name, L"LPT", 3) == 0) &&
        ((name[3] >= L'0' && name[3] <= L'9') || name[3] == 0x00B9 || name[3] == 0x00B2 || name[3] == 0x00B3))
        return FALSE;
    return TRUE;
}

namespace
{

// The attribute bits a new file takes; the rest of the word are flags.
const ULONG kValidAttributes = 0x7FB7 & ~FILE_ATTRIBUTE_DIRECTORY;

BOOL FillName(LPCWSTR name, UNICODE_STRING& text)
{
    const size_t bytes = wcslen(name) * sizeof(WCHAR);
    if (bytes == 0 || bytes > 0xFFFE)
        return FALSE;
    text.Length = static_cast<USHORT>(bytes);
    text.MaximumLength = static_cast<USHORT>(bytes);
    text.Buffer = const_cast<PWSTR>(name);
    return TRUE;
}

} // namespace

HANDLE CreateFileInFolder(HANDLE folder, LPCWSTR name, DWORD desiredAccess, DWORD shareMode,
                          DWORD creationDisposition, DWORD flagsAndAttributes)
{
    ULONG disposition;
    switch (creationDisposition)
    {
    case CREATE_NEW:
        disposition = FILE_CREATE;
        break;
    case CREATE_ALWAYS:
        disposition = FILE_OVERWRITE_IF;
        break;
    case OPEN_EXISTING:
        disposition = FILE_OPEN;
        break;
    case OPEN_ALWAYS:
        disposition = FILE_OPEN_IF;
        break;
    case TRUNCATE_EXISTING:
        disposition = FILE_OVERWRITE;
        break;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const DWORD unsupported = FILE_FLAG_OVERLAPPED | FILE_FLAG_BACKUP_SEMANTICS |
                              FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_POSIX_SEMANTICS |
                              FILE_FLAG_OPEN_NO_RECALL;
    UNICODE_STRING text;
    if ((flagsAndAttributes & unsupported) != 0 || !FillName(name, text))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    ULONG options = FILE_NON_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT;
    if (flagsAndAttributes & FILE_FLAG_WRITE_THROUGH)
        options |= FILE_WRITE_THROUGH;
    if (flagsAndAttributes & FILE_FLAG_NO_BUFFERING)
        options |= FILE_NO_INTERMEDIATE_BUFFERING;
    if (flagsAndAttributes & FILE_FLAG_SEQUENTIAL_SCAN)
        options |= FILE_SEQUENTIAL_ONLY;
    if (flagsAndAttributes & FILE_FLAG_RANDOM_ACCESS)
        options |= FILE_RANDOM_ACCESS;
    ACCESS_MASK access = desiredAccess | SYNCHRONIZE | FILE_READ_ATTRIBUTES;
    if (flagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE)
    {
        options |= FILE_DELETE_ON_CLOSE;
        access |= DELETE;
    }
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK io = {};
    HANDLE file = INVALID_HANDLE_VALUE;
    const NTSTATUS status =
        NtCreateFile(&file, access, &attributes, &io, nullptr, flagsAndAttributes & kValidAttributes,
                     shareMode, disposition, options, nullptr, 0);
    if (status < 0)
    {
        // As CreateFileW says it: a new file's name that is taken is "the file exists".
        const NTSTATUS kNameCollision = static_cast<NTSTATUS>(0xC0000035L);
        SetLastError(status == kNameCollision && disposition == FILE_CREATE ? ERROR_FILE_EXISTS
                                                                            : RtlNtStatusToDosError(status));
        return INVALID_HANDLE_VALUE;
    }
    const BOOL existed = io.Information == FILE_OPENED || io.Information == FILE_OVERWRITTEN;
    SetLastError(existed && (creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS)
                     ? ERROR_ALREADY_EXISTS
                     : ERROR_SUCCESS);
    return file;
}

BOOL RenameOpenFileInFolder(HANDLE file, HANDLE folder, LPCWSTR name, BOOL replace)
{
    UNICODE_STRING text;
    if (!FillName(name, text))
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const size_t size = offsetof(FILE_RENAME_INFORMATION, FileName) + text.Length + sizeof(WCHAR);
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
    if (block == nullptr)
    {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    auto* info = static_cast<FILE_RENAME_INFORMATION*>(block);
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    info->RootDirectory = folder;
    info->FileNameLength = text.Length;
    memcpy(info->FileName, name, text.Length);
    IO_STATUS_BLOCK io = {};
    const NTSTATUS status =
        NtSetInformationFile(file, &io, info, static_cast<ULONG>(size), FileRenameInformation);
    HeapFree(GetProcessHeap(), 0, block);
    if (status < 0)
    {
        SetLastError(RtlNtStatusToDosError(status));
        return FALSE;
    }
    return TRUE;
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
