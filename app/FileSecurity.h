// The access-control lists of files and folders, with long paths.
#pragma once
#include <windows.h>
#include <aclapi.h>

// A copy (LocalAlloc; the caller frees it with LocalFree) of the discretionary ACL of
// a file or folder. 0 on success; *dacl stays null when the object has no DACL.
// Otherwise the system error as an HRESULT (E_OUTOFMEMORY when memory runs out).
HRESULT GetFileDacl(LPCWSTR path, PACL* dacl);

// GetNamedSecurityInfoW and SetNamedSecurityInfoW with long paths.
DWORD GetNamedSecurityInfoLong(LPCWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                               PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                               PSECURITY_DESCRIPTOR* securityDescriptor);
DWORD SetNamedSecurityInfoLong(LPCWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                               PSID owner, PSID group, PACL dacl, PACL sacl);
