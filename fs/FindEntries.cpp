#include "fs/FindEntries.h"
#include "fs/FileSystem.h"
#include "fs/LongPathCall.h"

namespace
{
typedef HANDLE(WINAPI* FindFirstStreamFn)(LPCWSTR, STREAM_INFO_LEVELS, LPVOID, DWORD);
typedef BOOL(WINAPI* FindNextStreamFn)(HANDLE, LPVOID);

FindFirstStreamFn g_FindFirstStreamW = nullptr;
FindNextStreamFn g_FindNextStreamW = nullptr;

CFindApi g_RealFindApi;
CFindApi* g_FindApi = &g_RealFindApi;

// Bound when the program starts, before any thread of an archive operation runs.
const bool g_StreamFunctionsBound = (BindStreamFunctions(), true);

void FillEntry(const WIN32_FIND_DATAW& data, CFsEntryInfo& entry)
{
    entry.Attrib = data.dwFileAttributes;
    entry.CTime = data.ftCreationTime;
    entry.ATime = data.ftLastAccessTime;
    entry.MTime = data.ftLastWriteTime;
    entry.Size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.IsAltStream = false;
    entry.ExtraFlag = false;
    entry.Name = data.cFileName;
}

void FillStream(const WIN32_FIND_STREAM_DATA& data, CStreamEntry& entry)
{
    entry.Name = data.cStreamName;
    entry.Size = static_cast<uint64_t>(data.StreamSize.QuadPart);
}

bool IsDotOrDotDot(const UString& name)
{
    return name.Equals(L".") || name.Equals(L"..");
}

bool IsDirectoryAttrib(DWORD attrib)
{
    return attrib != INVALID_FILE_ATTRIBUTES && (attrib & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
} // namespace

// ---------------------------------------------------------------------------
// The find functions

HANDLE CFindApi::FirstFile(const wchar_t* path, WIN32_FIND_DATAW* data)
{
    return ::FindFirstFileW(path, data);
}

BOOL CFindApi::NextFile(HANDLE handle, WIN32_FIND_DATAW* data)
{
    return ::FindNextFileW(handle, data);
}

HANDLE CFindApi::FirstStream(const wchar_t* path, WIN32_FIND_STREAM_DATA* data)
{
    if (!g_FindFirstStreamW)
    {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return INVALID_HANDLE_VALUE;
    }
    return g_FindFirstStreamW(path, FindStreamInfoStandard, data, 0);
}

BOOL CFindApi::NextStream(HANDLE handle, WIN32_FIND_STREAM_DATA* data)
{
    if (!g_FindNextStreamW)
    {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    return g_FindNextStreamW(handle, data);
}

BOOL CFindApi::Close(HANDLE handle)
{
    return ::FindClose(handle);
}

CFindApi& GetFindApi()
{
    return *g_FindApi;
}

CFindApi* SetFindApi(CFindApi* api)
{
    CFindApi* previous = g_FindApi;
    g_FindApi = api ? api : &g_RealFindApi;
    return previous;
}

void BindStreamFunctions()
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel)
        return;
    g_FindFirstStreamW = reinterpret_cast<FindFirstStreamFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "FindFirstStreamW")));
    g_FindNextStreamW = reinterpret_cast<FindNextStreamFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "FindNextStreamW")));
}

// ---------------------------------------------------------------------------
// CFindHandle

bool CFindHandle::Close()
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return true;
    if (!GetFindApi().Close(m_handle))
        return false;
    m_handle = INVALID_HANDLE_VALUE;
    return true;
}

bool CFindHandle::FindFirst(const wchar_t* wildcardPath, CFsEntryInfo& entry)
{
    if (!Close())
        return false;
    WIN32_FIND_DATAW data;
    bool ok = CallWithLongPath(wildcardPath, [&](const wchar_t* p) {
        m_handle = GetFindApi().FirstFile(p, &data);
        return m_handle != INVALID_HANDLE_VALUE;
    });
    if (ok)
        FillEntry(data, entry);
    return ok;
}

bool CFindHandle::FindNext(CFsEntryInfo& entry)
{
    WIN32_FIND_DATAW data;
    if (!GetFindApi().NextFile(m_handle, &data))
        return false;
    FillEntry(data, entry);
    return true;
}

bool CFindHandle::FindFirstStream(const wchar_t* filePath, CStreamEntry& entry)
{
    if (!Close())
        return false;
    WIN32_FIND_STREAM_DATA data;
    SetLastError(0);
    bool noStreams = false;
    bool ok = CallWithLongPath(filePath, [&](const wchar_t* p) {
        // A file without streams answers "end of file": the other form of the path
        // would answer the same.
        if (noStreams)
        {
            SetLastError(ERROR_HANDLE_EOF);
            return false;
        }
        m_handle = GetFindApi().FirstStream(p, &data);
        if (m_handle != INVALID_HANDLE_VALUE)
            return true;
        noStreams = GetLastError() == ERROR_HANDLE_EOF;
        return false;
    });
    if (ok)
        FillStream(data, entry);
    return ok;
}

bool CFindHandle::FindNextStream(CStreamEntry& entry)
{
    WIN32_FIND_STREAM_DATA data;
    if (!GetFindApi().NextStream(m_handle, &data))
        return false;
    FillStream(data, entry);
    return true;
}

// ---------------------------------------------------------------------------
// Enumerators

bool CDirEnumerator::NextEntry(CFsEntryInfo& entry)
{
    for (;;)
    {
        bool ok = m_find.IsOpen() ? m_find.FindNext(entry) : m_find.FindFirst(m_wildcard, entry);
        if (!ok)
            return false;
        if (!(entry.IsDir() && IsDotOrDotDot(entry.Name)))
            return true;
    }
}

bool CDirEnumerator::NextEntryOrEnd(CFsEntryInfo& entry, bool& found)
{
    bool first = !m_find.IsOpen();
    found = NextEntry(entry);
    if (found)
        return true;
    DWORD error = GetLastError();
    // A directory without "." and ".." (an empty drive root) has nothing to find at all.
    return error == ERROR_NO_MORE_FILES || (first && error == ERROR_FILE_NOT_FOUND);
}

bool CStreamEnumerator::NextStream(CStreamEntry& entry, bool& found)
{
    found = m_find.IsOpen() ? m_find.FindNextStream(entry) : m_find.FindFirstStream(m_path, entry);
    if (found)
        return true;
    return GetLastError() == ERROR_HANDLE_EOF;
}

// ---------------------------------------------------------------------------
// Look-up

void CFsEntryInfo::Clear()
{
    Size = 0;
    CTime = ATime = MTime = FILETIME();
    Attrib = 0;
    IsAltStream = false;
    ExtraFlag = false;
}

bool CFsEntryInfo::FindForPath(const wchar_t* path)
{
    int colon = FindStreamColon(path);
    if (colon >= 0 && path[colon + 1] != 0)
    {
        UString filePart = UString::FromLeftChars(path, static_cast<uint32_t>(colon));
        UString streamPart(path + colon);
        if (!(streamPart.Length() >= 7 && WideEqualsAsciiNoCase(streamPart.TailChars(6), ":$DATA")))
            streamPart.Append(L":$DATA");
        bool fileFound;
        if (IsDrivePath(path) && (colon == 2 || (colon == 3 && path[2] == L'\\')))
        {
            Clear();
            if (colon == 2)
                Name = filePart;
            else
                Name.Empty();
            fileFound = true;
        }
        else
            fileFound = FindForPath(filePart);
        if (fileFound)
        {
            Attrib &= ~static_cast<uint32_t>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
            Size = 0;
            CStreamEnumerator streams(filePart);
            for (;;)
            {
                CStreamEntry stream;
                bool found;
                if (!streams.NextStream(stream, found))
                    return false;
                if (!found)
                {
                    SetLastError(ERROR_FILE_NOT_FOUND);
                    return false;
                }
                if (stream.Name.EqualsNoCase(streamPart))
                {
                    Name.Append(StripDataStreamSuffix(stream.Name));
                    Size = stream.Size;
                    IsAltStream = true;
                    return true;
                }
            }
        }
    }

    const wchar_t* plain = IsSuperPath(path) ? path + 4 : path;
    if (IsDriveRootPath(plain) && plain[3] == 0)
    {
        DWORD attrib = FsGetFileAttributes(path);
        if (IsDirectoryAttrib(attrib))
        {
            Clear();
            Attrib = attrib;
            Name = UString::FromLeftChars(plain, 2);
            return true;
        }
    }
    else if (IsPathSeparator(path[0]))
    {
        if (path[1] == 0)
        {
            DWORD attrib = FsGetFileAttributes(path);
            if (IsDirectoryAttrib(attrib))
            {
                Clear();
                Name.Empty();
                Attrib = attrib;
                return true;
            }
        }
        else
        {
            uint32_t server = GetServerPrefixLength(path);
            if (server != 0 && path[server] != 0 && FindPathSeparator(path + server) < 0)
            {
                // A share root cannot be found by its own name: search inside it.
                UString pattern(path);
                pattern.Append(L"\\*");
                CFindHandle find;
                CFsEntryInfo first;
                bool any = find.FindFirst(pattern, first);
                if (any && first.Name.Equals(L"."))
                {
                    *this = first;
                    Name = path + server;
                    return true;
                }
                DWORD attrib = FsGetFileAttributes(path);
                if (any || IsDirectoryAttrib(attrib))
                {
                    Clear();
                    Attrib = attrib == INVALID_FILE_ATTRIBUTES ? FILE_ATTRIBUTE_DIRECTORY : attrib;
                    Name = path + server;
                    return true;
                }
            }
        }
    }
    CFindHandle find;
    return find.FindFirst(path, *this);
}

bool PathExists(const wchar_t* path)
{
    CFsEntryInfo entry;
    return entry.FindForPath(path);
}

bool IsExistingFile(const wchar_t* path)
{
    CFsEntryInfo entry;
    return entry.FindForPath(path) && !entry.IsDir();
}

bool IsExistingDirectory(const wchar_t* path)
{
    CFsEntryInfo entry;
    return entry.FindForPath(path) && entry.IsDir();
}
