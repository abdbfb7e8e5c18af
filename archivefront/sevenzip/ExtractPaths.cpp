#include "archivefront/sevenzip/ExtractPaths.h"

#include "fs/FileIdentity.h"
#include "fs/FileSystem.h"
#include "fs/PathRules.h"
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

// Backslashes only, none at either end.
CString TrimmedFolder(const CString& text)
{
    CString folder = text;
    folder.Replace(L'/', L'\\');
    folder.Trim(L'\\');
    return folder;
}

// The folder a full path names, without a closing backslash (a drive root keeps it).
BOOL FullFolderPath(const CString& path, CString& out)
{
    UString full;
    if (path.IsEmpty() || !MakeFullPath(path, full))
        return FALSE;
    out = static_cast<const wchar_t*>(full);
    out.Replace(L'/', L'\\');
    while (out.GetLength() > 3 && out[out.GetLength() - 1] == L'\\')
        out.Delete(out.GetLength() - 1);
    return TRUE;
}

BOOL SameFolderObject(const CString& a, const CString& b)
{
    BY_HANDLE_FILE_INFORMATION info[2] = {};
    const CString* paths[2] = {&a, &b};
    for (int i = 0; i < 2; i++)
    {
        // A file system that gives no file index tells nothing by it.
        if (!GetFileIdentity(*paths[i], info[i]) ||
            (info[i].nFileIndexHigh == 0 && info[i].nFileIndexLow == 0))
            return FALSE;
    }
    return SameFileIdentity(info[0], info[1]);
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

BOOL CleanMemberPath(LPCWSTR storedPath, CString& folder, CString& name)
{
    CString safe;
    if (MakeSafeRelativePath(storedPath, safe))
    {
        const int slash = safe.ReverseFind(L'\\');
        folder = slash < 0 ? CString() : safe.Left(slash);
        name = safe.Mid(slash + 1);
        return TRUE;
    }
    folder.Empty();
    name = TrimmedFolder(storedPath != nullptr ? storedPath : L"");
    return FALSE;
}

void CleanArchiveListing(CArrayArchiveFileInfo& listing)
{
    CString folder, name;
    for (INT_PTR i = 0; i < listing.GetSize(); i++)
    {
        CArchiveFileInfo& member = listing[i];
        if (member.m_findData.cFileName[0] == 0)
        {
            // A folder record without a name of its own stands for its folder.
            if (!MakeSafeRelativePath(member.m_folder, folder))
                folder.Empty();
            member.m_folder = folder;
            continue;
        }
        if (!member.m_storedPath.IsEmpty())
            CleanMemberPath(member.m_storedPath, folder, name);
        else if (member.m_folder.IsEmpty())
            CleanMemberPath(member.m_findData.cFileName, folder, name);
        else
            CleanMemberPath(member.m_folder + L"\\" + member.m_findData.cFileName, folder, name);
        if (member.m_folder != folder)
            member.m_folder = folder;
        if (name != member.m_findData.cFileName)
            member.SetName(name);
    }
}

BOOL ExtractedMemberPath(const CString& destination, const CArchiveFileInfo& member,
                         const CString& innerFolder, int flat, CString& target)
{
    target.Empty();
    CString relative = member.m_findData.cFileName;
    if (!flat)
    {
        CString folder = TrimmedFolder(member.m_folder);
        const CString inner = TrimmedFolder(innerFolder);
        if (!inner.IsEmpty() && folder.Left(inner.GetLength()).CompareNoCase(inner) == 0 &&
            (folder.GetLength() == inner.GetLength() || folder[inner.GetLength()] == L'\\'))
            folder = TrimmedFolder(folder.Mid(inner.GetLength()));
        if (!folder.IsEmpty())
            relative = folder + L"\\" + relative;
    }
    CString safe;
    if (destination.IsEmpty() || !MakeSafeRelativePath(relative, safe))
        return FALSE;
    CString base = destination;
    while (!base.IsEmpty() && (base[base.GetLength() - 1] == L'\\' || base[base.GetLength() - 1] == L'/'))
        base.Delete(base.GetLength() - 1);
    target = base + L"\\" + safe;
    return TRUE;
}

BOOL PathLiesInside(const CString& path, const CString& folder)
{
    CString fullPath, fullFolder;
    if (!FullFolderPath(path, fullPath) || !FullFolderPath(folder, fullFolder))
        return FALSE;
    CString prefix = fullFolder;
    if (prefix[prefix.GetLength() - 1] != L'\\')
        prefix += L'\\';
    if (fullPath.GetLength() > prefix.GetLength() &&
        fullPath.Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
    {
        // Only a rest made of plain names: the system reads a name with closing dots
        // or blanks, or a device name, as something else.
        const CString rest = fullPath.Mid(prefix.GetLength());
        CString safe;
        if (MakeSafeRelativePath(rest, safe) && safe == rest)
            return PathStaysInside(fullFolder, rest);
    }
    const int slash = fullPath.ReverseFind(L'\\');
    CString safe;
    if (slash <= 0 || !MakeSafeRelativePath(fullPath.Mid(slash + 1), safe) || safe != fullPath.Mid(slash + 1))
        return FALSE;
    CString parent = fullPath.Left(slash);
    if (parent.GetLength() == 2 && parent[1] == L':')
        parent += L'\\';
    return SameFolderObject(parent, fullFolder);
}
