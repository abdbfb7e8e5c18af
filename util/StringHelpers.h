// Small string and path utilities: environment variables, splitting, system error
// texts, array growth, "file://" addresses and typed search patterns.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

// The text with its environment variables expanded.
void ExpandEnvironmentString(CString& out, LPCWSTR text);
// The parts between the delimiters: n delimiters give n + 1 parts, an empty text none.
void SplitString(LPCWSTR text, wchar_t delimiter, CStringArray& parts);
// The system's message text of an error code.
void FormatSystemError(DWORD error, CString& text);
// The step by which entry arrays grow: 1000 below 10,000 entries, then the power of
// ten of the count's magnitude.
INT_PTR GetArrayGrowStep(INT_PTR count);
// A "file://" address as a path ("%XX" escapes decoded as UTF-8, "\\" in front of a
// server name); any other text unchanged.
void FileUrlToPath(CString& path, LPCWSTR text);
// Makes a search pattern of a typed name: "word" becomes "*word*.*", an empty name
// or extension part becomes "*".
void BuildWildcardPattern(CString& text);
