#include "fs/FileSystem.h"
#include "fs/FindEntries.h"
#include "fs/LongPathCall.h"

#include <memory>
#include <vector>

DWORD FsGetFileAttributes(const wchar_t* path)
{
    DWORD attrib = INVALID_FILE_ATTRIBUTES;
    CallWithLongPath(path, [&](const wchar_t* p) {
        attrib = GetFileAttributesW(p);
        return attrib != INVALID_FILE_ATTRIBUTES;
    });
    return attrib;
}

bool FsSetFileAttributes(const wchar_t* path, DWORD attributes)
{
    return CallWithLongPath(path,
                            [&](const wchar_t* p) { return SetFileAttributesW(p, attributes) != FALSE; });
}

bool FsMoveFile(const wchar_t* from, const wchar_t* to)
{
    ELongPathUse use1 = GetLongPathUse(from);
    ELongPathUse use2 = GetLongPathUse(to);
    if (use1 != LongPathOnly && use2 != LongPathOnly)
    {
        if (MoveFileW(from, to))
            return true;
        if (use1 == LongPathNever && use2 == LongPathNever)
            return false;
    }
    DWORD error = GetLastError();
    UString long1, long2;
    if (!GetLongPathsFor(from, to, long1, long2))
    {
        SetLastError(error);
        return false;
    }
    return MoveFileW(long1, long2) != FALSE;
}

bool FsMoveFileReplacing(const wchar_t* from, const wchar_t* to)
{
    if (MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING))
        return true;
    DWORD error = GetLastError();
    UString longFrom, longTo;
    if (!GetLongPathFor(from, longFrom) || !GetLongPathFor(to, longTo))
    {
        SetLastError(error);
        return false;
    }
    return MoveFileExW(longFrom, longTo, MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool FsDeleteFile(const wchar_t* path)
{
    DWORD attrib = FsGetFileAttributes(path);
    if (attrib != INVALID_FILE_ATTRIBUTES && !(attrib & FILE_ATTRIBUTE_DIRECTORY) &&
        (attrib & FILE_ATTRIBUTE_READONLY))
    {
        if (!FsSetFileAttributes(path, attrib & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)))
            return false;
    }
    return CallWithLongPath(path, [](const wchar_t* p) { return DeleteFileW(p) != FALSE; });
}

bool FsGetFileSecurity(const wchar_t* path, SECURITY_INFORMATION requested, void* descriptor, DWORD size,
                       DWORD& needed)
{
    return CallWithLongPath(path, [&](const wchar_t* p) {
        return GetFileSecurityW(p, requested, descriptor, size, &needed) != FALSE;
    });
}

bool FsRemoveDirectory(const wchar_t* path)
{
    return CallWithLongPath(path, [](const wchar_t* p) { return RemoveDirectoryW(p) != FALSE; });
}

bool FsCreateDirectory(const wchar_t* path)
{
    ELongPathUse use = GetLongPathUse(path);
    if (use != LongPathOnly)
    {
        if (CreateDirectoryW(path, nullptr))
            return true;
        // Something is there already: the other form of the path names the same thing.
        if (use == LongPathNever || GetLastError() == ERROR_ALREADY_EXISTS)
            return false;
    }
    DWORD error = GetLastError();
    UString longPath;
    if (!GetLongPathFor(path, longPath))
    {
        SetLastError(error);
        return false;
    }
    return CreateDirectoryW(longPath, nullptr) != FALSE;
}

namespace
{
// The answer to "it already exists": success only when a directory is there. The
// look-up may change the last error, so the caller's reason is restored on failure.
bool ExistingIsDirectory(const wchar_t* path)
{
    CFsEntryInfo entry;
    if (entry.FindForPath(path) && entry.IsDir())
        return true;
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
}
} // namespace

bool FsCreateDirectoryOrExisting(const wchar_t* path)
{
    ELongPathUse use = GetLongPathUse(path);
    DWORD error = 0;
    if (use != LongPathOnly)
    {
        if (CreateDirectoryW(path, nullptr))
            return true;
        error = GetLastError();
    }
    if (use != LongPathNever && (use == LongPathOnly || error != ERROR_ALREADY_EXISTS))
    {
        UString longPath;
        if (GetLongPathFor(path, longPath))
        {
            if (CreateDirectoryW(longPath, nullptr))
                return true;
            if (GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
            return ExistingIsDirectory(longPath);
        }
        SetLastError(error);
    }
    if (error != ERROR_ALREADY_EXISTS)
        return false;
    return ExistingIsDirectory(path);
}

bool CreateDirectoryPath(const wchar_t* path)
{
    DWORD attrib = FsGetFileAttributes(path);
    if (attrib != INVALID_FILE_ATTRIBUTES && (attrib & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    if (IsDriveRootOnly(path))
        return false;
    uint32_t rootLength = GetRootPrefixLength(path);
    UString current(path);
    if (!current.IsEmpty() && IsPathSeparator(current[current.Length() - 1]))
    {
        if (current.Length() == 1)
            return true;
        current.RemoveLastChar();
    }
    UString target(current);
    for (;;)
    {
        if (FsCreateDirectoryOrExisting(current))
            break;
        if (GetLastError() == ERROR_ALREADY_EXISTS)
            return false; // a file is in the way
        int sep = current.FindLastPathSeparator();
        if (sep <= 0 || (sep == 1 && IsPathSeparator(current[0])) ||
            rootLength >= static_cast<uint32_t>(sep) + 1)
            return false;
        current.TruncateAt(static_cast<uint32_t>(sep));
    }
    uint32_t pos = current.Length();
    while (pos < target.Length())
    {
        uint32_t next = pos + 1;
        while (next < target.Length() && !IsPathSeparator(target[next]))
            next++;
        if (next > pos + 1) // doubled separators name no directory of their own
        {
            if (!FsCreateDirectory(UString::FromLeftPart(target, next)))
                return false;
        }
        pos = next;
    }
    return true;
}

namespace
{
// Removes a directory that holds nothing any more.
bool RemoveEmptiedDirectory(const wchar_t* path)
{
    return FsSetFileAttributes(path, 0) && FsRemoveDirectory(path);
}

// Removes a junction or a directory link itself. Setting attributes through a link
// reaches its target, which would lose its own attributes (and a link whose target is
// gone could not be removed at all), so the link is removed as it is.
bool RemoveDirectoryLink(const wchar_t* path)
{
    return FsRemoveDirectory(path);
}

struct CRemoveLevel
{
    explicit CRemoveLevel(const UString& dir) : Path(dir), Entries(ConcatStringWithChars(dir, L"\\*")) {}
    UString Path;
    CDirEnumerator Entries;
};
} // namespace

bool RemoveDirectoryWithSubItems(const wchar_t* path)
{
    CFsEntryInfo entry;
    if (!entry.FindForPath(path))
        return false;
    if (!entry.IsDir())
    {
        SetLastError(ERROR_DIRECTORY);
        return false;
    }
    // A junction or link is removed itself; what it points to is not ours to delete.
    if (entry.IsReparsePoint())
        return RemoveDirectoryLink(path);

    // An explicit stack of open levels, so that a deep tree cannot exhaust the thread's stack.
    std::vector<std::unique_ptr<CRemoveLevel>> levels;
    levels.push_back(std::unique_ptr<CRemoveLevel>(new CRemoveLevel(UString(path))));
    while (!levels.empty())
    {
        CRemoveLevel& level = *levels.back();
        bool found;
        if (!level.Entries.NextEntryOrEnd(entry, found))
            return false;
        if (!found)
        {
            UString dir(level.Path);
            levels.pop_back(); // closes the search before the directory goes
            if (!RemoveEmptiedDirectory(dir))
                return false;
            continue;
        }
        UString child = ConcatStringChar(level.Path, L'\\');
        child.Append(entry.Name);
        if (!entry.IsDir())
        {
            if (!FsDeleteFile(child))
                return false;
        }
        else if (entry.IsReparsePoint())
        {
            if (!RemoveDirectoryLink(child))
                return false;
        }
        else
            levels.push_back(std::unique_ptr<CRemoveLevel>(new CRemoveLevel(child)));
    }
    return true;
}

bool SetCurrentDirectoryPath(const wchar_t* path)
{
    return SetCurrentDirectoryW(path) != FALSE;
}

namespace
{
// The system writes at most 260 characters and a terminator; a longer answer is a failure.
template <class Query> bool GetFixedSizePath(UString& out, Query query)
{
    const DWORD kSize = MAX_PATH + 1;
    wchar_t buffer[kSize + 1];
    buffer[0] = 0;
    DWORD count = query(kSize, buffer);
    buffer[kSize] = 0;
    out = buffer;
    return count >= 1 && count <= MAX_PATH;
}
} // namespace

bool GetCurrentDirectoryPath(UString& out)
{
    return GetFixedSizePath(out,
                            [](DWORD size, wchar_t* buffer) { return GetCurrentDirectoryW(size, buffer); });
}

bool GetTempDirectoryPath(UString& out)
{
    return GetFixedSizePath(out, [](DWORD size, wchar_t* buffer) { return GetTempPathW(size, buffer); });
}

bool CTempDirectory::Create(const wchar_t* namePrefix)
{
    if (!Remove())
        return false;
    UString base;
    if (!GetTempDirectoryPath(base))
        return false;
    base.Append(namePrefix);
    uint32_t value = (GetTickCount() << 12) ^ (GetCurrentThreadId() << 14) ^ GetCurrentProcessId();
    bool created = false;
    for (int attempt = 0; attempt < 100; attempt++)
    {
        UString candidate(base);
        for (int digit = 0; digit < 8; digit++)
            candidate.AppendChar(L"0123456789ABCDEF"[(value >> (4 * digit)) & 0xF]);
        uint32_t step = GetTickCount() + 2;
        value += step == 0 ? 1 : step;
        if (PathExists(candidate))
        {
            SetLastError(ERROR_ALREADY_EXISTS);
            continue;
        }
        if (FsCreateDirectory(candidate))
        {
            m_path = candidate;
            created = true;
            break;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    if (!created)
    {
        m_path.Empty();
        return false;
    }
    m_mustDelete = true;
    return true;
}

bool CTempDirectory::Remove()
{
    if (!m_mustDelete)
        return true;
    if (!RemoveDirectoryWithSubItems(m_path))
        return false;
    m_mustDelete = false;
    return true;
}

bool GetLogicalDriveList(COwnedPtrVector<UString>& roots)
{
    roots.Clear();
    DWORD size = GetLogicalDriveStringsW(0, nullptr);
    if (size == 0)
        return false;
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[size]);
    DWORD count = GetLogicalDriveStringsW(size, buffer.get());
    if (count == 0 || count > size)
        return false;
    uint32_t start = 0;
    for (uint32_t i = 0; i < count; i++)
    {
        if (buffer[i] == 0)
        {
            roots.AddCopy(UString::FromLeftChars(buffer.get() + start, i - start));
            start = i + 1;
        }
    }
    return start == count;
}
