#include "app/records/WalkPathGuard.h"

#include "util/PathHelpers.h"

BOOL CWalkPathGuard::Enter(LPCWSTR realPath)
{
    Identity identity = {0, 0, 0, FALSE};
    // Opening with backup semantics reaches a directory without read rights on its
    // contents; no access right is needed to read its identity.
    HANDLE handle = CreateFileLong(realPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE)
    {
        BY_HANDLE_FILE_INFORMATION info;
        if (GetFileInformationByHandle(handle, &info) && (info.nFileIndexHigh || info.nFileIndexLow))
        {
            identity.volume = info.dwVolumeSerialNumber;
            identity.indexHigh = info.nFileIndexHigh;
            identity.indexLow = info.nFileIndexLow;
            identity.known = TRUE;
        }
        CloseHandle(handle);
    }
    if (identity.known)
    {
        for (const Identity& held : m_path)
        {
            if (held.known && held.volume == identity.volume && held.indexHigh == identity.indexHigh &&
                held.indexLow == identity.indexLow)
                return FALSE;
        }
    }
    m_path.push_back(identity);
    return TRUE;
}

void CWalkPathGuard::Leave()
{
    if (!m_path.empty())
        m_path.pop_back();
}
