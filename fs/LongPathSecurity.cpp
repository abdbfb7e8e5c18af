#include "fs/LongPathSecurity.h"
#include "fs/LongPath.h"

BOOL GetFileSecurityLong(LPCWSTR path, SECURITY_INFORMATION requested, PSECURITY_DESCRIPTOR descriptor,
                         DWORD length, DWORD* lengthNeeded)
{
    CString holder;
    return GetFileSecurityW(LongPathArg(path, holder), requested, descriptor, length, lengthNeeded);
}

DWORD GetNamedSecurityInfoLong(LPCWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                               PSID* owner, PSID* group, PACL* dacl, PACL* sacl,
                               PSECURITY_DESCRIPTOR* securityDescriptor)
{
    CString holder;
    return GetNamedSecurityInfoW(LongPathArg(objectName, holder), objectType, info, owner, group, dacl, sacl,
                                 securityDescriptor);
}

DWORD SetNamedSecurityInfoLong(LPCWSTR objectName, SE_OBJECT_TYPE objectType, SECURITY_INFORMATION info,
                               PSID owner, PSID group, PACL dacl, PACL sacl)
{
    CString holder;
    // The system takes the name as writable text; hand it a copy of its own.
    CString name = LongPathArg(objectName, holder);
    return SetNamedSecurityInfoW(name.GetBuffer(), objectType, info, owner, group, dacl, sacl);
}
