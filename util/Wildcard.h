// Matching of file names against the wildcard patterns of the filter and search
// fields, and of extensions against lists.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "framework/FwCollections.h"

// Appends the upper-cased pattern to `out`, every run of wildcards that holds a '*'
// reduced to one '*' ("?*?" and "**" become "*"); runs of '?' alone stay.
void CompactWildcardPattern(LPCWSTR pattern, CString& out);

// Case-sensitive match: '?' one character, '*' any run; the character after a '*' is
// taken literally, even a '?'.
BOOL MatchWildcard(LPCWSTR text, LPCWSTR pattern);

// "*" and "*.*" match every name; otherwise base name and extension (split at the
// last dot) each match their part of the pattern, the name upper-cased. Callers pass
// patterns made by CompactWildcardPattern.
BOOL MatchFileNameWildcard(LPCWSTR fileName, LPCWSTR pattern);

// 1 when the name's extension equals (case aside) one entry of a list of NUL-ended
// strings closed by an empty string.
BOOL MatchesAnyExtension(LPCWSTR fileName, LPCWSTR list);

// The same for the entries of an array.
BOOL MatchesExtensionList(LPCWSTR fileName, const CStringArray& extensions);
