// The security functions of Windows on a file or folder by path, each path handed
// through LongPathArg (LongPath.h); the results are the system's own.
#pragma once
#include <windows.h>
#include <aclapi.h>

BOOL GetFileSecurityLong(LPCWSTR path, SECURITY_INFORMATION requested, PSECURITY_DESCRIPTOR descriptor,
                         DWORD length, DWORD* lengthNeeded);
DWORD GetNamedSecurityInfoLong(LPCWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                               PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                               PSECURITY_DESCRIPTOR* securityDescriptor);
DWORD SetNamedSecurityInfoLong(LPCWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                               PSID owner, PSID group, PACL dacl, PACL sacl);
