#include "app/Directories.h"
#include "app/DriveSeam.h"
#include "fs/LongPath.h"
#include "util/Globals.h"
#include "app/NetworkAccounts.h"
#include "util/PathHelpers.h"
#include "app/DriveSlots.h"
#include "app/VirtualDrives.h"
#include "framework/FwCollections.h"
#include "framework/FwLock.h"

#include <cwchar>

namespace
{

const int kPathBufferLength = 1040;

bool EndsWithBackslash(const CString& text)
{
    return !text.IsEmpty() && text[text.GetLength() - 1] == L'\\';
}

void DropTrailingBackslash(CString& text)
{
    if (EndsWithBackslash(text))
        text = text.Left(text.GetLength() - 1);
}

wchar_t UpperLetter(wchar_t ch)
{
    return ch >= L'a' && ch <= L'z' ? static_cast<wchar_t>(ch - L'a' + L'A') : ch;
}

bool IsDriveLetter(wchar_t upper)
{
    return upper >= L'A' && upper <= L'Z';
}

// True while the drive seam holds the system's own drive list (tests put a stand-in).
bool UsesSystemDriveList()
{
    return g_DriveSeam.GetLogicalDrives == RealDriveSeam().GetLogicalDrives;
}

bool IsRealDrive(wchar_t upper)
{
    // The system builds the whole mask by looking up each of the 26 letters (under Wine
    // a round trip to its server each, some milliseconds in all); with the real
    // function in the table the one letter is looked up alone. A name longer than the
    // buffer still names a drive.
    if (UsesSystemDriveList())
    {
        const wchar_t device[3] = {upper, L':', 0};
        wchar_t target[kPathBufferLength];
        return QueryDosDeviceW(device, target, kPathBufferLength) != 0 ||
               GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    }
    return (g_DriveSeam.GetLogicalDrives() >> (upper - L'A')) & 1;
}

// The path without its drive or share root.
CString WithoutRoot(LPCWSTR path)
{
    CString root;
    if (!GetPathRoot(path, root))
        return CString(path);
    return CString(path + root.GetLength());
}

// Whether the path is there, with the long-path rule of every other path call.
bool PathAccessible(LPCWSTR path)
{
    return AccessLong(path, 0) == 0;
}

// A name the system's find would match only by itself: not empty, no wildcard, no
// "~" of a short name, no separator or stream colon, no trailing dot or blank.
bool IsPlainLongName(const CString& name)
{
    const int length = name.GetLength();
    if (length == 0 || name[length - 1] == L'.' || name[length - 1] == L' ')
        return false;
    for (int i = 0; i < length; ++i)
    {
        const wchar_t ch = name[i];
        if (wcschr(L"*?~<>\":/|", ch) != nullptr)
            return false;
    }
    return true;
}

// Whether a directory of exactly that name is there. The drive of a drive path is
// asked about first (unless the caller just did), so that a letter that names no
// drive is never looked into; only a plain name on the system's own drives is looked
// up directly, since that look-up fails for such a letter as well.
int DirectoryExistsOn(LPCWSTR path, bool driveChecked)
{
    CString full(path);
    DropTrailingBackslash(full);
    CString folder, name;
    SplitPath(full, &folder, &name);
    if (folder.GetLength() >= 2 && folder[0] == L'\\' && folder[1] == L'\\')
        return PathAccessible(full) ? 1 : 0;
    if (full.GetLength() < 2 || full[1] != L':')
        return 0;
    wchar_t letter = UpperLetter(full[0]);
    if (!IsDriveLetter(letter))
        return 0;
    if (IsVirtualDrive(letter, 0))
        return g_VirtualFolderStores[letter - L'A']->FolderExists(full) ? 1 : 0;
    // A plain name needs no listing of the folder above. The system's find also
    // matches a short name, ignores trailing dots and blanks, and takes wildcards:
    // such a name is found and then held to the long name or the 8.3 alias found.
    const bool plain = full.GetLength() > 2 && IsPlainLongName(name);
    if (!driveChecked && !(plain && UsesSystemDriveList()) && !IsRealDrive(letter))
        return 0;
    if (full.GetLength() == 2)
        return 1;
    if (plain)
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        return GetFileAttributesExLong(full, GetFileExInfoStandard, &data) &&
                       (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                   ? 1
                   : 0;
    }
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileLong(full, &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int result = 1;
    // A file of that name is no directory; a wildcard in the name may report more.
    while (result && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        result = FindNextFileW(find, &found) ? 1 : 0;
    // Settings files and shortcuts may hold the 8.3 alias a folder had when they were
    // written; the alias names the folder as well as its long name does.
    if (result && name.CompareNoCase(found.cFileName) != 0 &&
        name.CompareNoCase(found.cAlternateFileName) != 0)
        result = 0;
    FindCloseLong(find);
    return result;
}

// Sets the attributes and the times of the find data on an existing directory.
void ApplyDirectoryDetails(LPCWSTR path, DWORD attributes, const WIN32_FIND_DATAW* findData, DWORD openFlags)
{
    if (attributes)
        SetFileAttributesLong(path, attributes);
    if (findData == nullptr)
        return;
    // Only a handle opened with backup semantics can stand for a directory. Every
    // system a 64-bit build runs on is of the NT family, which has those handles.
    HANDLE directory = CreateFileLong(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      openFlags | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (directory == INVALID_HANDLE_VALUE)
        return;
    SetFileTime(directory, &findData->ftCreationTime, &findData->ftLastAccessTime,
                &findData->ftLastWriteTime);
    CloseHandle(directory);
}

} // namespace

CString g_DriveLastDirs[2][26];

// ---- Fixed directories ----------------------------------------------------------------

int GetWindowsDir(CString& out)
{
    wchar_t buffer[kPathBufferLength] = {};
    GetWindowsDirectoryW(buffer, kPathBufferLength);
    out = buffer;
    if (!EndsWithBackslash(out))
        return 0;
    DropTrailingBackslash(out);
    return 1;
}

void GetModulePath(CString& out)
{
    wchar_t buffer[kPathBufferLength] = {};
    GetModuleFileNameW(nullptr, buffer, kPathBufferLength);
    out = buffer;
}

void GetProgramDir(CString& out)
{
    GetModulePath(out);
    int slash = out.ReverseFind(L'\\');
    if (slash >= 0)
        out = out.Left(slash);
}

void GetSystemDir(CString& out)
{
    wchar_t buffer[kPathBufferLength] = {};
    GetSystemDirectoryW(buffer, kPathBufferLength);
    out = buffer;
    DropTrailingBackslash(out);
}

CString SystemProgramPath(LPCWSTR relativePath)
{
    CString path;
    GetSystemDir(path);
    return path + L"\\" + relativePath;
}

void GetLogonUserName(CString& out)
{
    wchar_t buffer[257] = {};
    DWORD size = 257;
    out = GetUserNameW(buffer, &size) ? buffer : L"";
}

void GetCurrentDir(CString& out)
{
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0)
    {
        out.Empty();
        return;
    }
    DWORD written = GetCurrentDirectoryW(needed, out.GetBuffer(static_cast<int>(needed)));
    out.ReleaseBuffer(written < needed ? static_cast<int>(written) : 0);
    DropTrailingBackslash(out);
}

void GetTempDirectory(CString& out)
{
    wchar_t buffer[kPathBufferLength] = {};
    GetTempPathW(kPathBufferLength, buffer);
    out = buffer;
    DropTrailingBackslash(out);
}

BOOL SetCurrentDir(LPCWSTR path)
{
    CString withBackslash(path);
    if (!EndsWithBackslash(withBackslash))
        withBackslash += L'\\';
    return SetCurrentDirectoryAsGiven(withBackslash);
}

int RemoveTrailingBackslash(CString& path)
{
    CHandleLock lock(g_DataMutex);
    int removed = EndsWithBackslash(path) ? 1 : 0;
    if (removed)
        DropTrailingBackslash(path);
    return removed;
}

int RemoveTrailingBackslashRaw(wchar_t* path)
{
    if (path == nullptr || *path == 0)
        return 0;
    size_t length = wcslen(path);
    if (path[length - 1] != L'\\')
        return 0;
    path[length - 1] = 0;
    return 1;
}

void MakePath(LPCWSTR directory, LPCWSTR name, CString& out)
{
    CString folder(directory);
    DropTrailingBackslash(folder);
    out.Format(L"%s\\%s", folder.GetString(), name ? name : L"");
}

int GetPathElement(int n, LPCWSTR path, CString& out)
{
    out.Empty();
    if (path == nullptr)
        return 0;
    LPCWSTR start = path;
    for (int i = 0; i < n; ++i)
    {
        start = wcschr(start, L'\\');
        if (start == nullptr)
            return 0;
        ++start;
    }
    LPCWSTR end = wcschr(start, L'\\');
    out = end ? CString(start, static_cast<int>(end - start)) : CString(start);
    return 1;
}

// ---- Resolution and checks --------------------------------------------------------------

void CombinePath(LPCWSTR base, LPCWSTR target, CString& out, int paneIndex)
{
    CString baseText(base);
    CString targetText(target);
    if (targetText.IsEmpty())
    {
        out = baseText;
        DropTrailingBackslash(out);
        return;
    }
    if (targetText.GetLength() == 1)
    {
        wchar_t ch = targetText[0];
        if (ch == L'.')
            out = baseText;
        else if (ch == L'\\')
        {
            out.Empty();
            GetPathRoot(baseText, out);
        }
        else if (baseText.IsEmpty())
            out.Empty();
        else
        {
            CString folder = baseText;
            DropTrailingBackslash(folder);
            out = folder + L'\\' + ch;
        }
        DropTrailingBackslash(out);
        return;
    }

    CString root, rest;
    if (GetPathRoot(targetText, root))
    {
        rest = targetText.Mid(root.GetLength());
        bool driveRelative = root.GetLength() == 2 && root[1] == L':';
        if (driveRelative)
        {
            const CString* lastDir = GetDriveLetterSlot(root[0], paneIndex);
            if (lastDir && !lastDir->IsEmpty())
            {
                CString slotRoot;
                GetPathRoot(*lastDir, slotRoot);
                rest = WithoutRoot(*lastDir) + L'\\' + rest;
                root = slotRoot;
            }
        }
    }
    else
    {
        GetPathRoot(baseText, root);
        if (targetText[0] == L'\\')
            rest = targetText;
        else
            rest = WithoutRoot(baseText) + L'\\' + targetText;
    }
    DropTrailingBackslash(root);

    CStringArray kept;
    int start = 0;
    while (start <= rest.GetLength())
    {
        int slash = rest.Find(L'\\', start);
        int end = slash < 0 ? rest.GetLength() : slash;
        CString element = rest.Mid(start, end - start);
        start = end + 1;
        if (element.IsEmpty() || element.CompareNoCase(L".") == 0)
            continue;
        if (element == L"..")
        {
            if (kept.GetSize() == 0)
            {
                out = baseText;
                return;
            }
            kept.RemoveAt(kept.GetSize() - 1);
            continue;
        }
        kept.Add(element);
    }
    out = root;
    for (INT_PTR i = 0; i < kept.GetSize(); ++i)
        out += L'\\' + kept[i];
}

int RelativePathEscapesRoot(LPCWSTR target, LPCWSTR base)
{
    CString targetText(target);
    if (targetText.CompareNoCase(L".") == 0)
        return 0;
    CString examined;
    CString root;
    if (GetPathRoot(targetText, root))
        examined = targetText.Mid(root.GetLength());
    else
    {
        examined = WithoutRoot(base ? base : L"");
        if (!examined.IsEmpty())
            examined += L'\\';
        examined += targetText;
    }
    int depth = 0;
    int start = 0;
    while (start <= examined.GetLength())
    {
        int slash = examined.Find(L'\\', start);
        int end = slash < 0 ? examined.GetLength() : slash;
        CString element = examined.Mid(start, end - start);
        start = end + 1;
        if (element.IsEmpty() || element == L".")
            continue;
        if (element == L"..")
        {
            if (--depth < 0)
                return 1;
        }
        else
            ++depth;
    }
    return 0;
}

int ResolvePaneTargetDirectory(LPCWSTR base, LPCWSTR target, CString& out, int mode, int paneIndex)
{
    // A refusal empties the result, except that the start-up fallback always lands in
    // the Windows directory; modes no caller uses carry on regardless.
    auto refuse = [&](bool& stop) {
        stop = true;
        if (mode == RESOLVE_MUST_EXIST || mode == RESOLVE_CHECK_DRIVE || mode == RESOLVE_NEAREST_EXISTING)
        {
            out.Empty();
            return 0;
        }
        if (mode == RESOLVE_FALLBACK)
        {
            out = g_WindowsDir;
            return 1;
        }
        stop = false;
        return 0;
    };
    bool stop = false;
    int result = 0;

    out.Empty();
    if (RelativePathEscapesRoot(target, base))
    {
        result = refuse(stop);
        if (stop)
            return result;
    }
    CombinePath(base, target, out, paneIndex);
    if (out.IsEmpty())
    {
        result = refuse(stop);
        if (stop)
            return result;
    }
    if (!(out.GetLength() >= 2 && out[0] == L'\\' && out[1] == L'\\'))
    {
        wchar_t letter = out.IsEmpty() ? 0 : UpperLetter(out[0]);
        if (!IsDriveLetter(letter) || out.GetLength() < 2 || out[1] != L':')
        {
            result = refuse(stop);
            if (stop)
                return result;
        }
        else
        {
            out.SetAt(0, letter);
            // A directory found at the path stands on a drive: the drive is asked
            // about only when there is none.
            const bool checksDirectory = mode == RESOLVE_MUST_EXIST || mode == RESOLVE_NEAREST_EXISTING;
            if (checksDirectory && out.GetLength() > 2 && DirectoryExists(out))
            {
                if (mode == RESOLVE_NEAREST_EXISTING)
                    DropTrailingBackslash(out);
                return 1;
            }
            if (!IsRealDrive(letter) && !IsVirtualDrive(letter, 0))
            {
                result = refuse(stop);
                if (stop)
                    return result;
            }
            if (out.GetLength() == 2)
                return 1;
        }
    }

    if (mode == RESOLVE_MUST_EXIST)
    {
        if (DirectoryExists(out))
            return 1;
        out.Empty();
        return 0;
    }
    if (mode == RESOLVE_FALLBACK)
    {
        out = g_WindowsDir;
        return 1;
    }
    if (mode != RESOLVE_NEAREST_EXISTING)
        return 1;

    if (!out.IsEmpty() && out[0] == L'\\')
    {
        CString share;
        GetPathRoot(out, share);
        DropTrailingBackslash(share);
        if (!share.IsEmpty() && !PathAccessible(share))
        {
            DWORD error = GetLastError();
            if ((error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_PASSWORD) &&
                !ConnectNetworkResource(share, nullptr, RESOURCE_GLOBALNET))
            {
                out.Empty();
                return 0;
            }
        }
    }
    // The drive was checked above: each step up only looks for the directory.
    for (;;)
    {
        DropTrailingBackslash(out);
        if (out.GetLength() == 2 || DirectoryExistsOn(out, true))
            return 1;
        int slash = out.ReverseFind(L'\\');
        if (slash <= 0)
        {
            out.Empty();
            return 0;
        }
        out = out.Left(slash);
    }
}

int DirectoryExists(LPCWSTR path)
{
    return DirectoryExistsOn(path, false);
}

int CreateDirectoryTree(LPCWSTR path, DWORD attributes, const WIN32_FIND_DATAW* findData)
{
    CString full(path);
    int scan = 0;
    bool isVirtual = false;
    CVirtualFolderStore* store = nullptr;
    if (full.GetLength() >= 2 && full[0] == L'\\' && full[1] == L'\\')
    {
        int serverEnd = full.Find(L'\\', 2);
        int shareEnd = serverEnd < 0 ? -1 : full.Find(L'\\', serverEnd + 1);
        if (shareEnd < 0 || shareEnd == full.GetLength() - 1)
            return 1; // nothing beyond \\server\share: the share is taken as there
        scan = shareEnd;
    }
    else if (full.GetLength() >= 2 && full[1] == L':')
    {
        wchar_t letter = UpperLetter(full[0]);
        if (IsDriveLetter(letter) && IsVirtualDrive(letter, 0))
        {
            isVirtual = true;
            store = g_VirtualFolderStores[letter - L'A'];
        }
    }

    for (;;)
    {
        if (DirectoryExists(full))
        {
            if (!isVirtual)
                ApplyDirectoryDetails(full, attributes, findData, attributes);
            return 1;
        }
        int slash = full.Find(L'\\', scan);
        if (slash < 0)
        {
            if (!isVirtual)
                break;
            return store->CreateDirectoryPath(full) ? 1 : 0;
        }
        CString prefix = full.Left(slash);
        if (!DirectoryExists(prefix))
        {
            BOOL made = isVirtual ? store->CreateDirectoryPath(prefix) : CreateDirectoryLong(prefix, nullptr);
            if (!made)
                return 0;
        }
        scan = slash + 1;
    }
    if (!CreateDirectoryLong(full, nullptr))
        return 0;
    ApplyDirectoryDetails(full, attributes, findData, 0);
    return 1;
}

int IsVirtualDrive(wchar_t letter, int mode)
{
    wchar_t upper = UpperLetter(letter);
    if (!IsDriveLetter(upper))
        return 0;
    int index = upper - L'A';
    if (!g_VirtualDriveFlags[index] || g_VirtualFolderStores[index] == nullptr)
        return 0;
    if (mode == 1)
        return 1;
    return IsRealDrive(upper) ? 0 : 1;
}
