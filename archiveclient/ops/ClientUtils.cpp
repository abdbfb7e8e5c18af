#include "archiveclient/ops/ClientUtils.h"

#include "archiveclient/codecs/OpenHandler.h"
#include "fs/PathRules.h"

bool PropertyToUInt64(const PROPVARIANT& value, uint64_t& out)
{
    switch (value.vt)
    {
    case VT_EMPTY:
        return false;
    case VT_UI1:
        out = value.bVal;
        return true;
    case VT_UI2:
        out = value.uiVal;
        return true;
    case VT_UI4:
        out = value.ulVal;
        return true;
    case VT_UI8:
        out = value.uhVal.QuadPart;
        return true;
    default:
        throw kUnexpectedPropTypeError;
    }
}

bool IsSafeRelativePath(const wchar_t* path)
{
    if (path == nullptr || path[0] == 0)
        return false;
    if (IsPathSeparator(path[0]))
        return false;
    wchar_t first = path[0];
    if (((first >= L'A' && first <= L'Z') || (first >= L'a' && first <= L'z')) && path[1] == L':')
        return false;
    int depth = 0;
    const wchar_t* part = path;
    for (;;)
    {
        const wchar_t* end = part;
        while (*end != 0 && !IsPathSeparator(*end))
            end++;
        size_t length = static_cast<size_t>(end - part);
        if (length == 0 || (length == 1 && part[0] == L'.'))
        {
            // Only the first part may not be empty; that case was refused above.
        }
        else if (length == 2 && part[0] == L'.' && part[1] == L'.')
        {
            if (depth == 0)
                return false;
            depth--;
        }
        else
            depth++;
        if (*end == 0)
            break;
        part = end + 1;
    }
    return depth != 0;
}

bool CombineFullPath(const UString& prefix, const UString& name, UString& out)
{
    if (!IsSafeRelativePath(name.Chars()))
        return false;
    UString normalized(name);
    normalized.ReplaceChar(L'/', L'\\');
    if (!MakeFullPathFrom(prefix.Chars(), normalized.Chars(), out))
        return false;
    // A name that passed the check can still leave the folder when the prefix itself
    // ends in dots the full-path rules fold; compare the result with the folder.
    UString folder;
    if (!MakeFullPathFrom(nullptr, prefix.Chars(), folder))
        return false;
    folder.AddTrailingSeparator();
    if (out.Length() <= folder.Length())
        return false;
    UString head = UString::FromLeftPart(out, folder.Length());
    return head.EqualsNoCase(folder.Chars());
}

int CompareUInt32(uint32_t a, uint32_t b)
{
    return a < b ? -1 : (a == b ? 0 : 1);
}

int CompareUInt64(uint64_t a, uint64_t b)
{
    return a < b ? -1 : (a == b ? 0 : 1);
}
