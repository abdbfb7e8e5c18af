// Two paths name one file or folder when its volume and file index agree, however
// each path spells it (short names, a closing dot, a link on the way).
#pragma once
#include <windows.h>

// The volume and file index of an existing file or directory; FALSE when it cannot be opened.
BOOL GetFileIdentity(LPCWSTR path, BY_HANDLE_FILE_INFORMATION& info);

// TRUE when both records name one object: the same volume and file index.
BOOL SameFileIdentity(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b);
