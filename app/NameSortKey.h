// Keys that stand for names in the name order of every sort (CompareNamesForSort):
// made once per name, compared as bytes. A sort of many entries then asks the
// system once per name instead of once per comparison.
#pragma once
#include <windows.h>

// The name order of every sort: 1 less, 2 equal, 3 greater, 0 on failure.
int CompareNamesForSort(LPCWSTR a, LPCWSTR b);

// What a key was made for: the order in force decides (see GetNameSortKeyKind).
enum
{
    NAME_KEY_NONE = 0,
    NAME_KEY_LOCALE = 1, // the locale comparison with its folding flags
    // The natural order of StrCmpLogicalW: numbers by value, and the text between
    // them compared either as whole runs or character by character; numbers either
    // at any length or as the signed 32-bit value they wrap to. Systems differ here;
    // the form is chosen by trying each against the function itself.
    NAME_KEY_LOGICAL_RUNS = 2,
    NAME_KEY_LOGICAL_CHARACTERS = 3,
    NAME_KEY_LOGICAL_RUNS_WRAPPED = 4,
    NAME_KEY_LOGICAL_CHARACTERS_WRAPPED = 5,
};

// The kind of key that the name order now in force needs; NAME_KEY_NONE when the
// natural order is in force and neither form of key gives its order on the names
// it is tried with (then names are compared by the function itself).
int GetNameSortKeyKind();

// Writes the key of `name` into `out`; returns its length in bytes, 0 when the
// buffer is too small or the system made no key.
int MakeNameSortKey(int kind, LPCWSTR name, int nameLength, BYTE* out, int capacity);

// 1 less, 2 equal, 3 greater, as CompareNamesForSort answers for the two names.
int CompareNameSortKeys(const BYTE* a, int aLength, const BYTE* b, int bLength);

// The order the locale keys (NAME_KEY_LOCALE) of two names give, found without
// making them: 1 less, 2 equal, 3 greater; 0 when a name holds a character whose key
// is not put together here (then only the keys can tell).
int CompareNamesByLocaleKeys(LPCWSTR a, int aLength, LPCWSTR b, int bLength);

// TRUE when the system documents its keys of this kind as giving exactly the order
// of its comparison. The natural order has no such key from the system: a sort by
// those keys checks its result against the comparison itself.
inline BOOL IsNameSortKeyExact(int kind)
{
    return kind == NAME_KEY_LOCALE;
}
