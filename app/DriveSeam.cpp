#include "app/DriveSeam.h"
#include "app/NetworkAccounts.h"

namespace
{

typedef BOOL(WINAPI* GetDiskFreeSpaceExWProc)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

// Systems before the extended call lack the export, so it is found by name.
BOOL WINAPI DiskFreeSpaceExByName(LPCWSTR root, PULARGE_INTEGER available, PULARGE_INTEGER total,
                                  PULARGE_INTEGER totalFree)
{
    HMODULE kernel = LoadLibraryW(L"KERNEL32.DLL");
    if (kernel == nullptr)
        return FALSE;
    BOOL result = FALSE;
    auto proc = reinterpret_cast<GetDiskFreeSpaceExWProc>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExW")));
    if (proc)
        result = proc(root, available, total, totalFree);
    else
        SetLastError(ERROR_PROC_NOT_FOUND);
    DWORD error = GetLastError();
    FreeLibrary(kernel);
    SetLastError(error);
    return result;
}

DriveSeam MakeRealSeam()
{
    DriveSeam seam;
    seam.GetLogicalDrives = ::GetLogicalDrives;
    seam.GetDriveTypeW = ::GetDriveTypeW;
    seam.GetDiskFreeSpaceExW = DiskFreeSpaceExByName;
    seam.GetDiskFreeSpaceW = ::GetDiskFreeSpaceW;
    seam.GetVolumeInformationW = ::GetVolumeInformationW;
    seam.SHGetFileInfoW = ::SHGetFileInfoW;
    seam.GetUserNameW = ::GetUserNameW;
    seam.WNetAddConnection2W = ::WNetAddConnection2W;
    seam.WNetGetConnectionW = ::WNetGetConnectionW;
    seam.WNetOpenEnumW = ::WNetOpenEnumW;
    seam.WNetEnumResourceW = ::WNetEnumResourceW;
    seam.WNetCloseEnum = ::WNetCloseEnum;
    seam.RunAccountDialog = RunGetAccountDialog;
    return seam;
}

} // namespace

const DriveSeam& RealDriveSeam()
{
    static const DriveSeam real = MakeRealSeam();
    return real;
}

DriveSeam g_DriveSeam = RealDriveSeam();
