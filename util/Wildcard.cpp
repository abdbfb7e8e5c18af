#include "util/Wildcard.h"
#include "util/PathHelpers.h"

void CompactWildcardPattern(LPCWSTR pattern, CString& out)
{
    if (pattern == nullptr)
        return;
    CString upper(pattern);
    upper.MakeUpper();
    LPCWSTR p = upper;
    while (*p)
    {
        if (*p != L'*' && *p != L'?')
        {
            out += *p++;
            continue;
        }
        LPCWSTR runStart = p;
        bool hasStar = false;
        for (; *p == L'*' || *p == L'?'; ++p)
            hasStar = hasStar || *p == L'*';
        if (hasStar)
            out += L'*';
        else
            out += CString(runStart, static_cast<int>(p - runStart));
    }
}

namespace
{

bool MatchFrom(LPCWSTR text, LPCWSTR pattern)
{
    for (;;)
    {
        wchar_t p = *pattern;
        if (p == 0)
            return *text == 0;
        if (p == L'*')
        {
            wchar_t next = pattern[1];
            if (next == 0)
                return true;
            // The star may swallow nothing, so the search for `next` starts here.
            for (LPCWSTR t = text; *t; ++t)
                if (*t == next && MatchFrom(t + 1, pattern + 2))
                    return true;
            return false;
        }
        if (*text == 0)
            return false;
        if (p != L'?' && p != *text)
            return false;
        ++text;
        ++pattern;
    }
}

} // namespace

BOOL MatchWildcard(LPCWSTR text, LPCWSTR pattern)
{
    if (text == nullptr)
        text = L"";
    if (pattern == nullptr)
        pattern = L"";
    if (wcscmp(pattern, L"*") == 0)
        return TRUE;
    return MatchFrom(text, pattern) ? TRUE : FALSE;
}

BOOL MatchFileNameWildcard(LPCWSTR fileName, LPCWSTR pattern)
{
    if (pattern && (wcscmp(pattern, L"*") == 0 || wcscmp(pattern, L"*.*") == 0))
        return TRUE;
    CString nameBase, nameExtension, patternBase, patternExtension;
    SplitExtension(fileName, &nameBase, &nameExtension);
    SplitExtension(pattern, &patternBase, &patternExtension);
    nameBase.MakeUpper();
    nameExtension.MakeUpper();
    return MatchWildcard(nameBase, patternBase) && MatchWildcard(nameExtension, patternExtension);
}

BOOL MatchesAnyExtension(LPCWSTR fileName, LPCWSTR list)
{
    if (list == nullptr)
        return FALSE;
    CString extension;
    SplitExtension(fileName, nullptr, &extension);
    for (LPCWSTR entry = list; *entry; entry += wcslen(entry) + 1)
        if (extension.CompareNoCase(entry) == 0)
            return TRUE;
    return FALSE;
}

BOOL MatchesExtensionList(LPCWSTR fileName, const CStringArray& extensions)
{
    CString extension;
    SplitExtension(fileName, nullptr, &extension);
    for (INT_PTR i = 0; i < extensions.GetSize(); ++i)
        if (extension.CompareNoCase(extensions[i]) == 0)
            return TRUE;
    return FALSE;
}
