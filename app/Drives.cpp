#include "app/Drives.h"
#include "app/Directories.h"
#include "app/DriveSeam.h"
#include "app/OsVersion.h"
#include "util/PathHelpers.h"

#include <direct.h>
#include <cwchar>

// Asks the volume of the path in the order the system offers: the extended call, the
// cluster counts, then the C runtime by drive number. Both counts come from one answer.
void GetDiskBytes(LPCWSTR path, ULONGLONG& totalOut, ULONGLONG& freeOut)
{
    totalOut = freeOut = 0;
    CString root;
    if (!GetPathRoot(path, root))
        root.Empty();
    if (root.IsEmpty() || root[root.GetLength() - 1] != L'\\')
        root += L'\\';
    if (root.GetLength() >= 2 && root[1] == L':' && IsVirtualDrive(root[0], 1))
        return;

    if (GetOsPlatformId() == VER_PLATFORM_WIN32_NT)
    {
        ULARGE_INTEGER available = {}, totalBytes = {}, freeBytes = {};
        if (g_DriveSeam.GetDiskFreeSpaceExW(root, &available, &totalBytes, &freeBytes))
        {
            totalOut = totalBytes.QuadPart;
            freeOut = freeBytes.QuadPart;
            return;
        }
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (g_DriveSeam.GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                                      &totalClusters))
    {
        const ULONGLONG cluster = static_cast<ULONGLONG>(sectorsPerCluster) * bytesPerSector;
        totalOut = cluster * totalClusters;
        freeOut = cluster * freeClusters;
        return;
    }
    wchar_t first = path ? path[0] : 0;
    if (first >= L'a' && first <= L'z')
        first = static_cast<wchar_t>(first - L'a' + L'A');
    if (first >= L'A' && first <= L'Z')
    {
        _diskfree_t info = {};
        if (_getdiskfree(first - L'A' + 1, &info) == 0)
        {
            const ULONGLONG cluster =
                static_cast<ULONGLONG>(info.sectors_per_cluster) * info.bytes_per_sector;
            totalOut = cluster * info.total_clusters;
            freeOut = cluster * info.avail_clusters;
        }
    }
}

namespace
{

// The names the shell gives a 3.5-inch floppy drive, up to the drive letter.
const wchar_t* const kFloppyNames[] = {
    L"3.5ｲﾝﾁ FD ",
    L"3.5 ｲﾝﾁ FD ",
    L"3.5ｲﾝﾁFD ",
    L"3.5 インチ FD ",
};

// The first name the letter stands for (QueryDosDeviceW).
bool SystemLetterDevice(wchar_t upper, wchar_t (&device)[MAX_PATH])
{
    const wchar_t name[3] = {upper, L':', 0};
    return QueryDosDeviceW(name, device, MAX_PATH) != 0;
}

UINT SeamDriveType(LPCWSTR root)
{
    return g_DriveSeam.GetDriveTypeW(root);
}

} // namespace

CDriveTypeMemo::CDriveTypeMemo()
{
    InitializeCriticalSection(&m_lock);
}

CDriveTypeMemo::~CDriveTypeMemo()
{
    DeleteCriticalSection(&m_lock);
}

UINT CDriveTypeMemo::Get(wchar_t letter, DeviceOf deviceOf, TypeOf typeOf)
{
    const wchar_t upper =
        letter >= L'a' && letter <= L'z' ? static_cast<wchar_t>(letter - L'a' + L'A') : letter;
    const wchar_t root[4] = {upper, L':', L'\\', 0};
    wchar_t device[MAX_PATH];
    if (upper < L'A' || upper > L'Z' || !deviceOf(upper, device))
        return typeOf(root);
    device[MAX_PATH - 1] = 0;
    Known& known = m_known[upper - L'A'];
    EnterCriticalSection(&m_lock);
    const bool same = known.known && wcscmp(known.device, device) == 0;
    const UINT remembered = known.type;
    LeaveCriticalSection(&m_lock);
    if (same)
        return remembered;
    const UINT type = typeOf(root);
    // A root the system could not judge is asked again next time.
    if (type == DRIVE_UNKNOWN || type == DRIVE_NO_ROOT_DIR)
        return type;
    EnterCriticalSection(&m_lock);
    known.known = true;
    known.type = type;
    wcscpy(known.device, device);
    LeaveCriticalSection(&m_lock);
    return type;
}

UINT GetLetterDriveType(wchar_t letter)
{
    static CDriveTypeMemo* memo = new CDriveTypeMemo; // lives as long as the process
    // A stand-in for the system (in tests) is asked every time.
    if (g_DriveSeam.GetDriveTypeW != RealDriveSeam().GetDriveTypeW)
    {
        const wchar_t root[4] = {letter, L':', L'\\', 0};
        return g_DriveSeam.GetDriveTypeW(root);
    }
    return memo->Get(letter, SystemLetterDevice, SeamDriveType);
}

ULONGLONG GetDiskFreeBytes(LPCWSTR path)
{
    ULONGLONG total, free;
    GetDiskBytes(path, total, free);
    return free;
}

ULONGLONG GetDiskTotalBytes(LPCWSTR path)
{
    ULONGLONG total, free;
    GetDiskBytes(path, total, free);
    return total;
}

void GetDriveDisplayName(LPCWSTR rootPath, CString& out)
{
    SHFILEINFOW info = {};
    out.Empty();
    if (rootPath == nullptr || *rootPath == 0)
        return;
    if (!g_DriveSeam.SHGetFileInfoW(rootPath, 0, &info, sizeof(info), SHGFI_DISPLAYNAME))
        return;
    out = info.szDisplayName;
    CString letterPart;
    letterPart.Format(L"(%c:)", rootPath[0]);
    int at = out.Find(letterPart);
    if (at >= 0)
        out = out.Left(at);
}

BOOL IsFloppyDrive(wchar_t letter)
{
    if (letter == L'\\')
        return FALSE;
    CString root;
    root.Format(L"%c:\\", letter);
    UINT type = g_DriveSeam.GetDriveTypeW(root);
    if (type >= DRIVE_FIXED && type <= DRIVE_RAMDISK)
        return FALSE;
    CString name;
    GetDriveDisplayName(root, name);
    for (const wchar_t* floppy : kFloppyNames)
        if (name == floppy)
            return TRUE;
    return FALSE;
}

LONG ReadRegistryString(HKEY key, LPCWSTR valueName, DWORD* type, CString& out)
{
    out.Empty();
    const DWORD offered = 2080;
    DWORD size = offered;
    // One more character than offered, so that a value stored without its NUL still
    // ends in one.
    wchar_t* first = out.GetBuffer(1041);
    LONG result = RegQueryValueExW(key, valueName, nullptr, type, reinterpret_cast<BYTE*>(first), &size);
    if (result == ERROR_MORE_DATA)
    {
        out.ReleaseBuffer(0);
        DWORD grown = size + 2;
        int characters = static_cast<int>(grown / sizeof(wchar_t)) + 1;
        wchar_t* buffer = out.GetBuffer(characters);
        ZeroMemory(buffer, (characters + 1) * sizeof(wchar_t));
        size = grown;
        result = RegQueryValueExW(key, valueName, nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
        out.ReleaseBuffer(result == ERROR_SUCCESS ? -1 : 0);
        return result;
    }
    if (result == ERROR_SUCCESS)
    {
        first[size / sizeof(wchar_t)] = 0;
        out.ReleaseBuffer(-1);
    }
    else
        out.ReleaseBuffer(0);
    return result;
}

LONG EnumRegistryKey(HKEY key, DWORD index, DWORD nameLength, CString& name, FILETIME* lastWrite)
{
    DWORD length = nameLength;
    LONG result = RegEnumKeyExW(key, index, name.GetBuffer(static_cast<int>(nameLength)), &length, nullptr,
                                nullptr, nullptr, lastWrite);
    name.ReleaseBuffer(result == ERROR_SUCCESS ? static_cast<int>(length) : 0);
    return result;
}

LONG EnumRegistryValue(HKEY key, DWORD index, DWORD nameLength, CString& name)
{
    DWORD length = nameLength;
    LONG result = RegEnumValueW(key, index, name.GetBuffer(static_cast<int>(nameLength)), &length, nullptr,
                                nullptr, nullptr, nullptr);
    name.ReleaseBuffer(result == ERROR_SUCCESS ? static_cast<int>(length) : 0);
    return result;
}
