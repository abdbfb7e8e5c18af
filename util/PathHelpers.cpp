#include "util/PathHelpers.h"
#include <wchar.h>

namespace
{

// Below this length the system takes a path as it is; from it on, only the
// extended-length form gets past the classic limits of the file functions.
const size_t kLongPathLength = 248;

// The file system compares names without regard to case by ordinal upper-casing, not
// by the locale's rules.
bool EqualNoCase(LPCWSTR a, LPCWSTR b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

LPCWSTR OrEmpty(LPCWSTR text)
{
    return text ? text : L"";
}

} // namespace

// ---- Paths and names ----------------------------------------------------------------

int FindBackslash(int n, LPCWSTR path)
{
    if (n == 0 || path == nullptr)
        return -1;
    if (n == -1)
    {
        LPCWSTR last = wcsrchr(path, L'\\');
        return last ? static_cast<int>(last - path) : -1;
    }
    int seen = 0;
    for (LPCWSTR p = path; *p; ++p)
    {
        if (*p == L'\\' && ++seen == n)
            return static_cast<int>(p - path);
    }
    return -1;
}

void SplitPath(LPCWSTR path, CString* folder, CString* name)
{
    path = OrEmpty(path);
    // The outs may be the very string the path points into: take both parts first.
    LPCWSTR last = wcsrchr(path, L'\\');
    CString folderPart = last ? CString(path, static_cast<int>(last - path)) : CString();
    CString namePart(last ? last + 1 : path);
    if (folder)
        *folder = folderPart;
    if (name)
        *name = namePart;
}

int SplitExtension(LPCWSTR name, CString* base, CString* extension)
{
    name = OrEmpty(name);
    CString basePart, extensionPart;
    int result = 0;
    if (*name)
    {
        LPCWSTR dot = wcsrchr(name, L'.');
        if (dot)
        {
            basePart = CString(name, static_cast<int>(dot - name));
            extensionPart = dot + 1;
            result = 1;
        }
        else
            basePart = name;
    }
    if (base)
        *base = basePart;
    if (extension)
        *extension = extensionPart;
    return result;
}

int HasExtension(LPCWSTR name, LPCWSTR extension)
{
    if (extension == nullptr || *extension == 0)
        return 0;
    CString found;
    SplitExtension(name, nullptr, &found);
    return EqualNoCase(found, extension) ? 1 : 0;
}

int GetPathRoot(LPCWSTR path, CString& root)
{
    if (path == nullptr)
        return 0;
    if (path[0] != 0 && path[1] == L':')
    {
        wchar_t letter = path[0];
        if ((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z'))
        {
            root = CString(path, path[2] == L'\\' ? 3 : 2);
            return 1;
        }
        return 0;
    }
    if (path[0] == L'\\' && path[1] == L'\\')
    {
        LPCWSTR first = wcschr(path + 2, L'\\');
        if (first == nullptr)
            return 0; // a server without a share
        LPCWSTR second = wcschr(first + 1, L'\\');
        if (second == nullptr)
            root = CString(path);
        else
            root = CString(path, static_cast<int>(second - path) + 1);
        return 1;
    }
    return 0;
}

BOOL IsPathRoot(LPCWSTR path)
{
    CString root;
    return GetPathRoot(path, root) && static_cast<size_t>(root.GetLength()) == wcslen(path);
}

BOOL FileExists(LPCWSTR path, WIN32_FIND_DATAW* findData)
{
    WIN32_FIND_DATAW local;
    WIN32_FIND_DATAW* data = findData ? findData : &local;
    HANDLE find = FindFirstFileLong(path, data);
    if (find == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL exists = TRUE;
    // For a directory path the find reports the directory itself; a wildcard may
    // report "." first.
    if ((data->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !FindNextFileW(find, data))
        exists = FALSE;
    if (exists)
    {
        // The find also matches a short 8.3 alias and wildcards; only the long name
        // itself counts.
        CString name;
        SplitPath(path, nullptr, &name);
        exists = EqualNoCase(data->cFileName, name);
    }
    DWORD error = GetLastError();
    FindCloseLong(find);
    SetLastError(error);
    return exists;
}

BOOL NameIsTaken(LPCWSTR path)
{
    // The attribute lookup resolves the name exactly as the open that would create it
    // does (same long-path form, short names, case and closing dots), and, unlike a
    // find, takes no wildcards.
    if (GetFileAttributesLong(path) != INVALID_FILE_ATTRIBUTES)
        return TRUE;
    DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_INVALID_NAME;
}

// ---- Text ---------------------------------------------------------------------------

BOOL WriteUnicodeBom(HANDLE file)
{
    static const BYTE bom[2] = {0xFF, 0xFE};
    DWORD written = 0;
    return WriteFile(file, bom, sizeof bom, &written, nullptr);
}

int GetDisplayColumns(LPCWSTR text, int length)
{
    if (text == nullptr)
        return 0;
    if (length < 0)
        length = static_cast<int>(wcslen(text));
    // Names are short: classify them in slices on the stack instead of allocating.
    WORD types[256];
    int columns = 0;
    for (int done = 0; done < length;)
    {
        int slice = length - done < 256 ? length - done : 256;
        if (!GetStringTypeW(CT_CTYPE3, text + done, slice, types))
            ZeroMemory(types, sizeof types);
        for (int i = 0; i < slice; ++i)
            columns += (types[i] & C3_HALFWIDTH) ? 1 : 2;
        done += slice;
    }
    return columns;
}

int WideToAnsiBuffer(LPCWSTR text, char* buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0)
        return 0;
    // One UTF-16 unit can take up to three bytes when the ANSI code page is UTF-8, so
    // only the buffer's real size is a safe bound.
    int written = WideCharToMultiByte(CP_ACP, 0, OrEmpty(text), -1, buffer, capacity, nullptr, nullptr);
    if (written == 0)
        buffer[0] = 0; // never leave the part that did fit without its terminator
    return written;
}

int WideToAnsiString(LPCWSTR text, CStringA& out)
{
    text = OrEmpty(text);
    int needed = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
    {
        out.Empty();
        return 0;
    }
    char* buffer = out.GetBuffer(needed);
    int written = WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, needed, nullptr, nullptr);
    out.ReleaseBuffer(written > 0 ? written - 1 : 0);
    return written;
}

int AnsiToWideBuffer(LPCSTR text, wchar_t* buffer, int capacity)
{
    if (buffer == nullptr || capacity <= 0)
        return 0;
    int written = MultiByteToWideChar(CP_ACP, 0, text ? text : "", -1, buffer, capacity);
    if (written == 0)
        buffer[0] = 0;
    return written;
}

int AnsiToWideString(LPCSTR text, CString& out)
{
    if (text == nullptr)
        text = "";
    int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (needed <= 0)
    {
        out.Empty();
        return 0;
    }
    wchar_t* buffer = out.GetBuffer(needed);
    int written = MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, needed);
    out.ReleaseBuffer(written > 0 ? written - 1 : 0);
    return written;
}

BOOL IsAnsiSafeName(LPCWSTR name)
{
    name = OrEmpty(name);
    if (wcsnlen(name, kLongPathLength) >= kLongPathLength)
        return FALSE;
    // The conversion maps these Latin-1 characters to look-alikes ("é" to "e", "¥" to
    // a backslash) without reporting the default character.
    for (LPCWSTR p = name; *p; ++p)
    {
        if (*p >= 127 && *p <= 255)
            return FALSE;
    }
    BOOL usedDefault = FALSE;
    if (WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, "_", &usedDefault) == 0)
        return FALSE;
    return !usedDefault;
}
