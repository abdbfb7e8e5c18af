#include "app/VirtualDrives.h"

int g_VirtualDriveFlags[26];
CVirtualFolderStore* g_VirtualFolderStores[26];

namespace
{
CString WithoutTrailingBackslash(LPCWSTR path)
{
    CString text(path);
    if (!text.IsEmpty() && text[text.GetLength() - 1] == L'\\')
        text = text.Left(text.GetLength() - 1);
    return text;
}
} // namespace

BOOL CVirtualFolderStore::FolderExists(LPCWSTR path) const
{
    CString folder = WithoutTrailingBackslash(path);
    if (folder.GetLength() == 2)
        return TRUE; // the drive itself
    for (INT_PTR i = 0; i < m_folders.GetSize(); ++i)
        if (m_folders[i].CompareNoCase(folder) == 0)
            return TRUE;
    return FALSE;
}

BOOL CVirtualFolderStore::CreateDirectoryPath(LPCWSTR path)
{
    CString folder = WithoutTrailingBackslash(path);
    for (int at = 3; at <= folder.GetLength(); ++at)
    {
        if (at < folder.GetLength() && folder[at] != L'\\')
            continue;
        CString prefix = folder.Left(at);
        if (!FolderExists(prefix))
            m_folders.Add(prefix);
    }
    return TRUE;
}

int CVirtualFolderStore::ListDirectory(LPCWSTR /*directory*/, LPCWSTR /*pattern*/,
                                       CArrayFileInfo& /*out*/) const
{
    return 0;
}
