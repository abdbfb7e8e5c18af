#include "archivefront/sevenzip/ExtractPaths.h"

#include "fs/FileSystem.h"
#include "framework/FwCollections.h"
#include <cwchar>

namespace
{

BOOL IsDeviceName(const CString& part)
{
    CString base = part;
    int dot = base.Find(L'.');
    if (dot >= 0)
        base = base.Left(dot);
    base.TrimRight(L' ');
    static const wchar_t* const kNames[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* name : kNames)
        if (base.CompareNoCase(name) == 0)
            return TRUE;
    if (base.GetLength() == 4 && (_wcsnicmp(base, L"COM", 3) == 0 || _wcsnicmp(base, L"LPT", 3) == 0) &&
        base[3] >= L'0' && base[3] <= L'9')
        return TRUE;
    return FALSE;
}

CString MakeSafePart(const CString& part)
{
    CString safe;
    for (int i = 0; i < part.GetLength(); i++)
    {
        wchar_t c = part[i];
        if (c < 0x20 || wcschr(L"<>:\"|?*", c) != nullptr)
            c = L'_';
        safe += c;
    }
    // Windows cuts trailing dots and blanks from a name, which would make "x." and
    // "x" one file and ". ." a way back up.
    int end = safe.GetLength();
    while (end > 0 && (safe[end - 1] == L'.' || safe[end - 1] == L' '))
        end--;
    if (end < safe.GetLength())
    {
        CString tail;
        for (int i = end; i < safe.GetLength(); i++)
            tail += L'_';
        safe = safe.Left(end) + tail;
    }
    if (IsDeviceName(safe))
        safe = L"_" + safe;
    return safe;
}

} // namespace

BOOL MakeSafeRelativePath(LPCWSTR itemPath, CString& out)
{
    out.Empty();
    CStringArray parts;
    CString text(itemPath != nullptr ? itemPath : L"");
    int start = 0;
    for (int i = 0; i <= text.GetLength(); i++)
    {
        if (i < text.GetLength() && text[i] != L'\\' && text[i] != L'/')
            continue;
        CString part = text.Mid(start, i - start);
        start = i + 1;
        if (part.IsEmpty() || part == L".")
            continue;
        // A drive ("C:") is dropped only where a drive can stand: first in the path.
        if (parts.GetSize() == 0 && start == 3 && part.GetLength() == 2 && part[1] == L':')
            continue;
        if (part == L"..")
        {
            if (parts.GetSize() == 0)
                return FALSE;
            parts.RemoveAt(parts.GetSize() - 1);
            continue;
        }
        parts.Add(MakeSafePart(part));
    }
    if (parts.GetSize() == 0)
        return FALSE;
    for (INT_PTR i = 0; i < parts.GetSize(); i++)
    {
        if (i > 0)
            out += L'\\';
        out += parts[i];
    }
    return TRUE;
}

BOOL IsLinkAt(const CString& path)
{
    const DWORD attributes = FsGetFileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

BOOL PathStaysInside(const CString& destination, const CString& relativePath)
{
    CString path = destination;
    if (!path.IsEmpty() && path[path.GetLength() - 1] != L'\\')
        path += L'\\';
    int start = 0;
    for (;;)
    {
        int slash = relativePath.Find(L'\\', start);
        // A link standing where the file goes would have the file written through it.
        if (slash < 0)
            return !IsLinkAt(path + relativePath);
        CString folder = path + relativePath.Left(slash);
        DWORD attributes = FsGetFileAttributes(folder);
        if (attributes != INVALID_FILE_ATTRIBUTES && ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
                                                      (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0))
            return FALSE;
        start = slash + 1;
    }
}
