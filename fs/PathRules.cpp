#include "fs/PathRules.h"
#include "fs/FileSystem.h"

namespace
{
bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// Two separators, then '?' or '.', then a separator.
bool HasPrefixWith(const wchar_t* p, wchar_t third)
{
    return IsPathSeparator(p[0]) && IsPathSeparator(p[1]) && p[2] == third && IsPathSeparator(p[3]);
}

bool IsDevicePrefix(const wchar_t* p)
{
    return HasPrefixWith(p, L'.');
}

bool IsDotComponentAt(const wchar_t* p, uint32_t i, uint32_t* length)
{
    if (p[i] != L'.')
        return false;
    if (p[i + 1] == 0 || IsPathSeparator(p[i + 1]))
    {
        *length = 1;
        return true;
    }
    if (p[i + 1] == L'.' && (p[i + 2] == 0 || IsPathSeparator(p[i + 2])))
    {
        *length = 2;
        return true;
    }
    return false;
}

// Root of a directory that ends in a separator, as the full-path builders accept it:
// its own extended-length root, a drive root or a network root.
bool GetDirectoryRoot(const UString& dir, uint32_t& rootLength)
{
    const wchar_t* d = dir.Chars();
    if (IsSuperPath(d))
        rootLength = GetSuperRootPrefixLength(d);
    else if (IsDriveRootPath(d))
        rootLength = 3;
    else if (IsPathSeparator(d[0]) && IsPathSeparator(d[1]))
    {
        uint32_t n = GetNetworkRootLength(d + 2);
        rootLength = n == 0 ? 0 : 2 + n;
    }
    else
        rootLength = 0;
    return rootLength != 0;
}

const wchar_t kSuperPrefix[] = L"\\\\?\\";
const wchar_t kSuperUncPrefix[] = L"\\\\?\\UNC\\";
} // namespace

bool IsPathSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsDrivePath(const wchar_t* path)
{
    return IsAsciiLetter(path[0]) && path[1] == L':';
}

bool IsDriveRootPath(const wchar_t* path)
{
    return IsDrivePath(path) && IsPathSeparator(path[2]);
}

bool IsDriveRootOnly(const wchar_t* path)
{
    if (IsSuperPath(path))
        path += 4;
    return IsDriveRootPath(path) && path[3] == 0;
}

bool IsAbsolutePath(const wchar_t* path)
{
    return IsPathSeparator(path[0]) || IsDrivePath(path);
}

bool IsSuperPath(const wchar_t* path)
{
    return HasPrefixWith(path, L'?');
}

bool IsSuperUncPath(const wchar_t* path)
{
    return IsSuperPath(path) && (path[4] == L'U' || path[4] == L'u') &&
           (path[5] == L'N' || path[5] == L'n') && (path[6] == L'C' || path[6] == L'c') &&
           IsPathSeparator(path[7]);
}

bool IsSuperOrDevicePath(const wchar_t* path)
{
    return IsSuperPath(path) || IsDevicePrefix(path);
}

bool IsDevicePath(const wchar_t* path)
{
    if (!IsDevicePrefix(path))
        return false;
    const wchar_t* rest = path + 4;
    if (IsDrivePath(rest))
        return rest[2] == 0;
    if (!WideStartsWith(rest, L"PhysicalDrive"))
        return false;
    rest += 13;
    int digits = 0;
    while (rest[digits] >= L'0' && rest[digits] <= L'9')
        digits++;
    return digits >= 1 && digits <= 5 && rest[digits] == 0;
}

int FindPathSeparator(const wchar_t* path)
{
    for (int i = 0; path[i] != 0; i++)
        if (IsPathSeparator(path[i]))
            return i;
    return -1;
}

int FindStreamColon(const wchar_t* path)
{
    int start = IsDrivePath(path) ? 2 : 0;
    for (int i = start; path[i] != 0; i++)
        if (IsPathSeparator(path[i]))
            start = i + 1;
    for (int i = start; path[i] != 0; i++)
        if (path[i] == L':')
            return i;
    return -1;
}

uint32_t GetNetworkRootLength(const wchar_t* text)
{
    int server = FindPathSeparator(text);
    if (server < 0)
        return 0;
    int share = FindPathSeparator(text + server + 1);
    if (share < 0)
        return 0;
    return static_cast<uint32_t>(server + 1 + share + 1);
}

uint32_t GetServerPrefixLength(const wchar_t* path)
{
    uint32_t start;
    if (IsSuperUncPath(path))
        start = 8;
    else if (IsSuperOrDevicePath(path))
        return 0;
    else if (IsPathSeparator(path[0]) && IsPathSeparator(path[1]))
        start = 2;
    else
        return 0;
    int sep = FindPathSeparator(path + start);
    return sep < 0 ? 0 : start + static_cast<uint32_t>(sep) + 1;
}

uint32_t GetSuperRootPrefixLength(const wchar_t* path)
{
    if (IsSuperUncPath(path))
    {
        uint32_t n = GetNetworkRootLength(path + 8);
        return n == 0 ? 0 : 8 + n;
    }
    int sep = FindPathSeparator(path + 4);
    return sep < 0 ? 0 : 4 + static_cast<uint32_t>(sep) + 1;
}

uint32_t GetPlainRootPrefixLength(const wchar_t* path)
{
    if (IsDriveRootPath(path))
        return 3;
    if (!IsPathSeparator(path[0]))
        return 0;
    if (!IsPathSeparator(path[1]))
        return 1;
    uint32_t n = GetNetworkRootLength(path + 2);
    return n == 0 ? 0 : 2 + n;
}

uint32_t GetRootPrefixLength(const wchar_t* path)
{
    if (IsDevicePrefix(path))
        return 4;
    if (IsSuperPath(path))
        return GetSuperRootPrefixLength(path);
    return GetPlainRootPrefixLength(path);
}

bool HasDotComponent(const wchar_t* path)
{
    for (uint32_t i = 0; path[i] != 0; i++)
    {
        uint32_t length;
        if ((i == 0 || IsPathSeparator(path[i - 1])) && IsDotComponentAt(path, i, &length))
            return true;
    }
    return false;
}

bool ResolveDotComponents(UString& path)
{
    uint32_t i = 0;
    while (i < path.Length())
    {
        const wchar_t* p = path.Chars();
        uint32_t dots;
        if (!((i == 0 || IsPathSeparator(p[i - 1])) && IsDotComponentAt(p, i, &dots)))
        {
            i++;
            continue;
        }
        bool separatorBehind = p[i + dots] != 0;
        if (dots == 1)
        {
            if (i == 0)
                path.Erase(0, separatorBehind ? 2 : 1);
            else
            {
                path.Erase(i - 1, 2);
                i--;
            }
            continue;
        }
        if (i == 0)
            return false;
        uint32_t j = i;
        while (j != 0 && IsPathSeparator(p[j - 1]))
            j--;
        if (j == 0)
            return false;
        uint32_t k = j;
        while (k != 0 && !IsPathSeparator(p[k - 1]))
            k--;
        if (k == 0)
        {
            path.Erase(0, i + 2 + (separatorBehind ? 1 : 0));
            i = 0;
        }
        else
        {
            // The separator that followed ".." stays.
            path.Erase(k - 1, i + 2 - (k - 1));
            i = k - 1;
        }
    }
    return true;
}

bool MakeFullPathFrom(const wchar_t* base, const wchar_t* path, UString& out)
{
    out = path;
    uint32_t rootLength = GetRootPrefixLength(path);
    if (rootLength != 0)
    {
        if (!HasDotComponent(path + rootLength))
            return true;
        UString rest(path + rootLength);
        if (ResolveDotComponents(rest))
        {
            out = UString::FromLeftChars(path, rootLength);
            out.Append(rest);
        }
        // A rooted path that climbs above its root stays as given.
        return true;
    }
    UString dir;
    if (base)
        dir = base;
    else if (!GetCurrentDirectoryPath(dir))
        return false;
    dir.AddTrailingSeparator();
    uint32_t baseRoot;
    if (!GetDirectoryRoot(dir, baseRoot))
        return false;
    UString text(dir.CharsAt(baseRoot));
    text.Append(path);
    if (!ResolveDotComponents(text))
        return false;
    out = UString::FromLeftPart(dir, baseRoot);
    out.Append(text);
    return true;
}

bool MakeFullPath(const wchar_t* path, UString& out)
{
    return MakeFullPathFrom(nullptr, path, out);
}

bool GetFullPathParts(const wchar_t* path, UString& dirPrefix, UString& name)
{
    UString full;
    bool built = MakeFullPath(path, full);
    if (!built)
        full = path;
    int sep = full.FindLastPathSeparator();
    uint32_t split = static_cast<uint32_t>(sep + 1);
    dirPrefix = UString::FromLeftPart(full, split);
    name = full.CharsAt(split);
    return built;
}

bool GetFullPathPrefix(const wchar_t* path, UString& dirPrefix)
{
    UString name;
    return GetFullPathParts(path, dirPrefix, name);
}

bool GetSuperPath(const wchar_t* path, UString& out)
{
    out.Empty();
    if (path[0] == 0 || WideEqualsAscii(path, ".") || WideEqualsAscii(path, ".."))
        return true;
    if (IsSuperOrDevicePath(path))
    {
        if (IsDevicePrefix(path) || !HasDotComponent(path + 4))
            return true;
        uint32_t root = GetSuperRootPrefixLength(path);
        if (root == 0)
            return true;
        UString rest(path + root);
        if (ResolveDotComponents(rest))
        {
            out = UString::FromLeftChars(path, root);
            out.Append(rest);
        }
        return true;
    }
    if (IsPathSeparator(path[0]) && IsPathSeparator(path[1]))
    {
        uint32_t n = GetNetworkRootLength(path + 2);
        if (n == 0)
            return false;
        UString rest(path + 2 + n);
        if (!ResolveDotComponents(rest))
            return false;
        out = kSuperUncPrefix;
        out.Append(UString::FromLeftChars(path + 2, n));
        out.Append(rest);
        return true;
    }
    if (IsDrivePath(path))
    {
        uint32_t root = IsPathSeparator(path[2]) ? 3 : 2;
        UString rest(path + root);
        if (!ResolveDotComponents(rest))
            return true;
        out = kSuperPrefix;
        out.Append(UString::FromLeftChars(path, root));
        out.Append(rest);
        return true;
    }
    UString dir;
    if (!GetCurrentDirectoryPath(dir))
        return false;
    dir.AddTrailingSeparator();
    UString prefix;
    uint32_t rootStart = 0;
    uint32_t rootLength;
    if (!GetDirectoryRoot(dir, rootLength))
        return false;
    if (IsSuperPath(dir))
        ;
    else if (IsDriveRootPath(dir))
        prefix = kSuperPrefix;
    else
    {
        // A network directory: "\\?\UNC\" takes the place of its two leading separators.
        prefix = kSuperUncPrefix;
        rootStart = 2;
    }
    UString tail;
    if (IsPathSeparator(path[0]))
        tail = path + 1;
    else
    {
        tail = dir.CharsAt(rootLength);
        tail.Append(path);
    }
    if (!ResolveDotComponents(tail))
        return false;
    out = prefix;
    out.Append(dir.Substring(rootStart, rootLength - rootStart));
    out.Append(tail);
    return true;
}

ELongPathUse GetLongPathUse(const wchar_t* path)
{
    if (IsSuperOrDevicePath(path))
        return IsSuperPath(path) && HasDotComponent(path + 4) ? LongPathOnly : LongPathNever;
    // A component that ends in a space or a dot: the plain call drops those characters.
    uint32_t start = 0;
    for (uint32_t i = 0;; i++)
    {
        wchar_t c = path[i];
        if (c == 0 || IsPathSeparator(c))
        {
            uint32_t length = i - start;
            if (length != 0)
            {
                wchar_t last = path[i - 1];
                uint32_t dots;
                bool isDotComponent = IsDotComponentAt(path, start, &dots) && dots == length;
                if (last == L' ' || (last == L'.' && !isDotComponent))
                    return LongPathOnly;
            }
            if (c == 0)
                break;
            start = i + 1;
        }
    }
    return LongPathOnRetry;
}

bool GetLongPathFor(const wchar_t* path, UString& out)
{
    if (!GetSuperPath(path, out))
        return false;
    if (out.IsEmpty())
    {
        // Without a form, only a path that was never tried plainly gets its attempt.
        if (GetLongPathUse(path) != LongPathOnly)
            return false;
        out = path;
    }
    return true;
}

bool GetLongPathsFor(const wchar_t* path1, const wchar_t* path2, UString& out1, UString& out2)
{
    if (!GetSuperPath(path1, out1) || !GetSuperPath(path2, out2))
        return false;
    bool firstAttemptMade = GetLongPathUse(path1) != LongPathOnly && GetLongPathUse(path2) != LongPathOnly;
    if (out1.IsEmpty() && out2.IsEmpty() && firstAttemptMade)
        return false;
    if (out1.IsEmpty())
        out1 = path1;
    if (out2.IsEmpty())
        out2 = path2;
    return true;
}

UString StripDataStreamSuffix(const UString& name)
{
    UString result(name);
    if (name.Length() > 7 && WideEqualsAsciiNoCase(name.TailChars(6), ":$DATA"))
        result.TruncateAt(name.Length() - 6);
    return result;
}

bool IsDataStreamName(const wchar_t* name)
{
    return WideEqualsAsciiNoCase(name, "::$DATA");
}
