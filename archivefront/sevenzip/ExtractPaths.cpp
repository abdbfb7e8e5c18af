#include "archivefront/sevenzip/ExtractPaths.h"

#include "fs/FileIdentity.h"
#include "fs/FileSystem.h"
#include "fs/PathRules.h"
#include "framework/FwCollections.h"
#include <cwchar>
#include <vector>

namespace
{

// The device names the system opens whatever the folder: CON, PRN, AUX, NUL,
// CONIN$, CONOUT$, COM0-9 and LPT0-9, also with an extension or blanks before it.
// The system counts the superscript digits one to three (U+00B9, U+00B2, U+00B3)
// among the port numbers too.
BOOL IsDeviceName(const wchar_t* part, int length)
{
    int end = 0;
    while (end < length && part[end] != L'.')
        end++;
    while (end > 0 && part[end - 1] == L' ')
        end--;
    // Only a base as long as a device name can be one: most names end here.
    if (end != 3 && end != 4 && end != 6 && end != 7)
        return FALSE;
    const CString base(part, end);
    static const wchar_t* const kNames[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* name : kNames)
        if (base.CompareNoCase(name) == 0)
            return TRUE;
    const wchar_t digit = base.GetLength() == 4 ? base[3] : 0;
    if (base.GetLength() == 4 && (_wcsnicmp(base, L"COM", 3) == 0 || _wcsnicmp(base, L"LPT", 3) == 0) &&
        ((digit >= L'0' && digit <= L'9') || digit == 0x00B9 || digit == 0x00B2 || digit == 0x00B3))
        return TRUE;
    return FALSE;
}

// Writes the safe form of one part at `out` and returns its length (at most
// length + 1).
int WriteSafePart(const wchar_t* part, int length, wchar_t* out)
{
    for (int i = 0; i < length; i++)
    {
        const wchar_t c = part[i];
        out[i] = c < 0x20 || wcschr(L"<>:\"|?*", c) != nullptr ? L'_' : c;
    }
    // Windows cuts trailing dots and blanks from a name, which would make "x." and
    // "x" one file and ". ." a way back up.
    for (int i = length; i > 0 && (out[i - 1] == L'.' || out[i - 1] == L' '); i--)
        out[i - 1] = L'_';
    if (!IsDeviceName(out, length))
        return length;
    wmemmove(out + 1, out, static_cast<size_t>(length));
    out[0] = L'_';
    return length + 1;
}

// The characters the safe form of a path of `length` characters may take, with a
// closing NUL: a part may gain a leading '_', and no part is shorter than one.
size_t SafePathRoom(size_t length)
{
    return 2 * length + 2;
}

// The safe form of `length` characters of `text` into `out` (SafePathRoom
// characters), NUL-ended; its length, or -1 when the path is refused.
int WriteSafeRelativePath(const wchar_t* text, int length, wchar_t* out)
{
    int written = 0;
    int parts = 0;
    int start = 0;
    for (int i = 0; i <= length; i++)
    {
        if (i < length && text[i] != L'\\' && text[i] != L'/')
            continue;
        const wchar_t* part = text + start;
        const int partLength = i - start;
        const bool first = start == 0;
        start = i + 1;
        if (partLength == 0 || (partLength == 1 && part[0] == L'.'))
            continue;
        // A drive ("C:") is dropped only where a drive can stand: first in the path.
        if (first && partLength == 2 && part[1] == L':')
            continue;
        if (partLength == 2 && part[0] == L'.' && part[1] == L'.')
        {
            if (parts == 0)
                return -1;
            // The parts written hold no backslash: the last one starts after the last.
            while (written > 0 && out[written - 1] != L'\\')
                written--;
            if (written > 0)
                written--;
            parts--;
            continue;
        }
        if (parts > 0)
            out[written++] = L'\\';
        written += WriteSafePart(part, partLength, out + written);
        parts++;
    }
    out[written] = 0;
    return parts == 0 ? -1 : written;
}

// A buffer for the safe form of a path: on the stack for the usual lengths.
class CSafePathBuffer
{
public:
    explicit CSafePathBuffer(size_t length)
    {
        const size_t room = SafePathRoom(length);
        if (room > kLocal)
        {
            m_heap.resize(room);
            m_data = m_heap.data();
        }
    }
    CSafePathBuffer(const CSafePathBuffer&) = delete;
    CSafePathBuffer& operator=(const CSafePathBuffer&) = delete;
    wchar_t* Data() { return m_data; }

private:
    static constexpr size_t kLocal = 1024;
    wchar_t m_local[kLocal];
    std::vector<wchar_t> m_heap;
    wchar_t* m_data = m_local;
};

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
    const wchar_t* text = itemPath != nullptr ? itemPath : L"";
    const size_t length = wcslen(text);
    CSafePathBuffer safe(length);
    const int written = WriteSafeRelativePath(text, static_cast<int>(length), safe.Data());
    if (written < 0)
    {
        out.Empty();
        return FALSE;
    }
    out.SetString(safe.Data(), written);
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
    const wchar_t* text = storedPath != nullptr ? storedPath : L"";
    const size_t length = wcslen(text);
    CSafePathBuffer buffer(length);
    wchar_t* safe = buffer.Data();
    const int written = WriteSafeRelativePath(text, static_cast<int>(length), safe);
    if (written >= 0)
    {
        const wchar_t* slash = wcsrchr(safe, L'\\');
        if (slash == nullptr)
            folder.Empty();
        else
            folder.SetString(safe, static_cast<int>(slash - safe));
        name = slash != nullptr ? slash + 1 : safe;
        return TRUE;
    }
    folder.Empty();
    name = TrimmedFolder(text);
    return FALSE;
}

void CleanListedMember(CArchiveFileInfo& member, const CString& previousFolder)
{
    if (member.m_findData.cFileName[0] == 0)
    {
        // A folder record without a name of its own stands for its folder.
        CString folder;
        if (!MakeSafeRelativePath(member.m_folder, folder))
            folder.Empty();
        member.m_folder = folder;
        return;
    }
    if (member.m_storedPath.IsEmpty())
    {
        CString folder, name;
        if (member.m_folder.IsEmpty())
            CleanMemberPath(member.m_findData.cFileName, folder, name);
        else
            CleanMemberPath(member.m_folder + L"\\" + member.m_findData.cFileName, folder, name);
        if (member.m_folder != folder)
            member.m_folder = folder;
        if (name != member.m_findData.cFileName)
            member.SetName(name);
        return;
    }
    // The stored path's safe form is cut into folder and name in place: a member
    // whose folder and name are already these makes no new text.
    const CString& stored = member.m_storedPath;
    CSafePathBuffer buffer(static_cast<size_t>(stored.GetLength()));
    wchar_t* safe = buffer.Data();
    const int written = WriteSafeRelativePath(stored, stored.GetLength(), safe);
    if (written < 0)
    {
        CString folder, name;
        CleanMemberPath(stored, folder, name);
        if (member.m_folder != folder)
            member.m_folder = folder;
        if (name != member.m_findData.cFileName)
            member.SetName(name);
        return;
    }
    const wchar_t* slash = wcsrchr(safe, L'\\');
    const int folderLength = slash != nullptr ? static_cast<int>(slash - safe) : 0;
    const wchar_t* name = slash != nullptr ? slash + 1 : safe;
    const auto sameText = [&](const CString& text) {
        return text.GetLength() == folderLength &&
               wmemcmp(text, safe, static_cast<size_t>(folderLength)) == 0;
    };
    if (!sameText(member.m_folder))
    {
        if (sameText(previousFolder))
            member.m_folder = previousFolder;
        else
            member.m_folder.SetString(safe, folderLength);
    }
    if (wcscmp(name, member.m_findData.cFileName) != 0)
        member.SetName(name);
}

void CleanArchiveListing(CArrayArchiveFileInfo& listing)
{
    for (INT_PTR i = 0; i < listing.GetSize(); i++)
        CleanListedMember(listing[i], i > 0 ? listing[i - 1].m_folder : CString());
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

BOOL HasOverlongName(const CArchiveFileInfo& member, int flat, CString& shown)
{
    shown.Empty();
    CString stored = member.m_storedPath;
    if (stored.IsEmpty())
        stored = member.m_folder.IsEmpty() ? CString(member.m_findData.cFileName)
                                           : member.m_folder + L"\\" + member.m_findData.cFileName;
    // Most paths are shorter than one name may be: nothing to look at then.
    if (stored.GetLength() <= MAX_MEMBER_NAME)
        return FALSE;
    CString safe;
    if (!MakeSafeRelativePath(stored, safe))
        return FALSE;
    int start = flat ? safe.ReverseFind(L'\\') + 1 : 0;
    while (start <= safe.GetLength())
    {
        int end = safe.Find(L'\\', start);
        if (end < 0)
            end = safe.GetLength();
        if (end - start > MAX_MEMBER_NAME)
        {
            shown = safe;
            return TRUE;
        }
        start = end + 1;
    }
    return FALSE;
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
