// The system calls about drives, volumes and network shares, gathered in one table so
// that tests can stand in for drive kinds, disk sizes and a network that the test
// machine does not have. Production code always goes through g_DriveSeam, which
// holds the real functions.
#pragma once
#include <windows.h>
#include <shellapi.h>
#include <winnetwk.h>
#include "framework/FwString.h"

// What the account dialog shows and what the user confirmed: resource, user and
// password fields, the save check box, and the connection to make in connect mode.
struct CAccountRequest
{
    CString m_resource;
    CString m_provider;
    CString m_user;
    CString m_password;
    int m_savePassword = 0;
    BOOL m_connectMode = TRUE;
    DWORD m_scope = RESOURCE_GLOBALNET;
};

struct DriveSeam
{
    DWORD(WINAPI* GetLogicalDrives)();
    UINT(WINAPI* GetDriveTypeW)(LPCWSTR root);
    // Looked up in KERNEL32 by name at each call, as the function is optional there.
    BOOL(WINAPI* GetDiskFreeSpaceExW)
    (LPCWSTR root, PULARGE_INTEGER available, PULARGE_INTEGER total, PULARGE_INTEGER totalFree);
    BOOL(WINAPI* GetDiskFreeSpaceW)
    (LPCWSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
     LPDWORD totalClusters);
    BOOL(WINAPI* GetVolumeInformationW)
    (LPCWSTR root, LPWSTR label, DWORD labelSize, LPDWORD serial, LPDWORD maxComponent, LPDWORD flags,
     LPWSTR fileSystem, DWORD fileSystemSize);
    DWORD_PTR(WINAPI* SHGetFileInfoW)
    (LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT infoSize, UINT flags);
    BOOL(WINAPI* GetUserNameW)(LPWSTR buffer, LPDWORD size);
    DWORD(WINAPI* WNetAddConnection2W)(LPNETRESOURCEW resource, LPCWSTR password, LPCWSTR user, DWORD flags);
    DWORD(WINAPI* WNetGetConnectionW)(LPCWSTR localName, LPWSTR remoteName, LPDWORD length);
    DWORD(WINAPI* WNetOpenEnumW)
    (DWORD scope, DWORD type, DWORD usage, LPNETRESOURCEW resource, LPHANDLE enumHandle);
    DWORD(WINAPI* WNetEnumResourceW)(HANDLE enumHandle, LPDWORD count, LPVOID buffer, LPDWORD bufferSize);
    DWORD(WINAPI* WNetCloseEnum)(HANDLE enumHandle);
    // Shows the account dialog modally; IDOK with the request updated from the fields.
    INT_PTR (*RunAccountDialog)(CAccountRequest& request);
};

extern DriveSeam g_DriveSeam;

// The real functions, as g_DriveSeam holds them at start.
const DriveSeam& RealDriveSeam();

// Test helper: restores g_DriveSeam when it goes out of scope.
class CDriveSeamOverride
{
public:
    CDriveSeamOverride() : m_saved(g_DriveSeam) {}
    ~CDriveSeamOverride() { g_DriveSeam = m_saved; }
    CDriveSeamOverride(const CDriveSeamOverride&) = delete;
    CDriveSeamOverride& operator=(const CDriveSeamOverride&) = delete;

private:
    DriveSeam m_saved;
};
