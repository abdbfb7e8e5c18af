// The helpers that take paths and names apart, compare names and convert text. The
// long-path wrappers that every call on a user path goes through live in the
// file-system layer; they come with these helpers, which their users need alike.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "fs/LongPath.h"

// ---- Paths and names ----------------------------------------------------------------

// Zero-based index of the n-th backslash (counted from 1; -1 for the last one), or -1.
int FindBackslash(int n, LPCWSTR path);

// Splits at the last backslash: the folder without it and the name behind it.
void SplitPath(LPCWSTR path, CString* folder, CString* name);

// Splits at the last "." of the whole text; 1 when there is one, else 0 (the whole
// text is then the base).
int SplitExtension(LPCWSTR name, CString* base, CString* extension);

// 1 when the name's extension equals `extension` (given without its dot) ignoring
// case; 0 for an empty `extension`.
int HasExtension(LPCWSTR name, LPCWSTR extension);

// The drive ("X:" or "X:\") or share ("\\server\share" or "\\server\share\") root of
// the path and 1; 0 with `root` untouched when the path has none.
int GetPathRoot(LPCWSTR path, CString& root);

// TRUE when the path is nothing but its own drive or share root.
BOOL IsPathRoot(LPCWSTR path);

// TRUE when the path names an existing entry that is not a directory, under exactly
// that long name (case aside). The find data of the entry go to `findData` if given.
BOOL FileExists(LPCWSTR path, WIN32_FIND_DATAW* findData = nullptr);

// TRUE when creating the path would reach an entry that is already there: a file or a
// directory answering to the last element by its long name, its short 8.3 alias, or
// any other spelling the system maps to it (case, closing dots). Unlike FileExists,
// this is the test for a name about to be written. Only a lookup that reports the
// entry missing or the name impossible counts as free; any other failure counts as
// taken, since nothing then shows the name to be free.
BOOL NameIsTaken(LPCWSTR path);

// ---- Text ---------------------------------------------------------------------------

// Writes the UTF-16LE byte-order mark FF FE.
BOOL WriteUnicodeBom(HANDLE file);

// Width of the text in display columns: 1 per half-width character, 2 per other;
// a length of -1 measures up to the terminating NUL.
int GetDisplayColumns(LPCWSTR text, int length = -1);

// UTF-16 to the ANSI code page, NUL included, into a buffer of `capacity` bytes.
// Returns the bytes written with the NUL; a text that does not fit gives 0 and an
// empty buffer.
int WideToAnsiBuffer(LPCWSTR text, char* buffer, int capacity);

// The same into a narrow string; the result counts the NUL, 0 on failure (then the
// string is empty).
int WideToAnsiString(LPCWSTR text, CStringA& out);

// ANSI code page to UTF-16, NUL included, into a buffer of `capacity` characters.
// Returns the characters written with the NUL; a text that does not fit gives 0 and
// an empty buffer.
int AnsiToWideBuffer(LPCSTR text, wchar_t* buffer, int capacity);

// The same into a string; the result counts the NUL, 0 on failure.
int AnsiToWideString(LPCSTR text, CString& out);

// TRUE when the name can be handed unchanged to interfaces that take ANSI file names.
BOOL IsAnsiSafeName(LPCWSTR name);
