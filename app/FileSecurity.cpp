#include "app/FileSecurity.h"
#include "util/PathHelpers.h"
#include "fs/LongPathSecurity.h"

HRESULT GetFileDacl(LPCWSTR path, PACL* dacl)
{
    *dacl = nullptr;
    DWORD needed = 0;
    GetFileSecurityLong(path, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0)
    {
        return HRESULT_FROM_WIN32(GetLastError());
    }
    PSECURITY_DESCRIPTOR descriptor = LocalAlloc(LMEM_FIXED, needed);
    if (descriptor == nullptr)
    {
        return E_OUTOFMEMORY;
    }
    HRESULT result = S_OK;
    BOOL present = FALSE, defaulted = FALSE;
    PACL found = nullptr;
    ACL_SIZE_INFORMATION size = {};
    if (!GetFileSecurityLong(path, DACL_SECURITY_INFORMATION, descriptor, needed, &needed) ||
        !GetSecurityDescriptorDacl(descriptor, &present, &found, &defaulted))
    {
        result = HRESULT_FROM_WIN32(GetLastError());
    }
    else if (present && found != nullptr)
    {
        if (!GetAclInformation(found, &size, sizeof(size), AclSizeInformation))
        {
            result = HRESULT_FROM_WIN32(GetLastError());
        }
        else
        {
            const DWORD bytes = size.AclBytesInUse + size.AclBytesFree;
            PACL copy = (PACL)LocalAlloc(LMEM_FIXED, bytes);
            if (copy == nullptr)
            {
                result = E_OUTOFMEMORY;
            }
            else
            {
                // The ACL may be shorter than its declared size within the
                // descriptor; copy what is in use and clear the free tail.
                memset(copy, 0, bytes);
                memcpy(copy, found, size.AclBytesInUse);
                copy->AclSize = (WORD)bytes;
                *dacl = copy;
            }
        }
    }
    LocalFree(descriptor);
    return result;
}
