// The access-control list of a file or folder.
#pragma once
#include <windows.h>
#include <aclapi.h>

// A copy (LocalAlloc; the caller frees it with LocalFree) of the discretionary ACL of
// a file or folder. 0 on success; *dacl stays null when the object has no DACL.
// Otherwise the system error as an HRESULT (E_OUTOFMEMORY when memory runs out).
HRESULT GetFileDacl(LPCWSTR path, PACL* dacl);
