#include "graphics/preview/PreviewFolders.h"

#include "util/PathHelpers.h"

namespace
{
// The entry followed by a backslash begins the folder, case aside.
bool IsBelow(const CString& parent, const CString& folder)
{
    CString prefix = parent;
    if (prefix.IsEmpty() || prefix[prefix.GetLength() - 1] != L'\\')
        prefix += L'\\';
    return folder.GetLength() > prefix.GetLength() &&
           folder.Left(prefix.GetLength()).CompareNoCase(prefix) == 0;
}

void MarkTree(PreviewSettings& lists, const CString& folder)
{
    bool replaced = false;
    for (INT_PTR i = 0; i < lists.enabledDirs.GetCount(); ++i)
        if (lists.enabledDirs[i].folder.CompareNoCase(folder) == 0)
        {
            lists.enabledDirs[i].type = 3;
            replaced = true;
            break;
        }
    if (!replaced)
    {
        CPreviewEnableDirInfo entry;
        entry.folder = folder;
        entry.type = 3;
        lists.enabledDirs.Add(entry);
    }
}

void MarkSubfolders(PreviewSettings& lists, const CString& folder)
{
    CString base = folder;
    if (base.IsEmpty() || base[base.GetLength() - 1] != L'\\')
        base += L'\\';
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileLong(base + L"*.*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    CStringArray children;
    do
    {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || wcscmp(data.cFileName, L".") == 0 ||
            wcscmp(data.cFileName, L"..") == 0)
            continue;
        children.Add(base + data.cFileName);
    } while (FindNextFileW(find, &data));
    FindCloseLong(find);
    for (INT_PTR i = 0; i < children.GetCount(); ++i)
    {
        MarkTree(lists, children[i]);
        MarkSubfolders(lists, children[i]);
    }
}
} // namespace

bool IsPreviewDirectory(const PreviewSettings& lists, const CString& folder, BYTE* type)
{
    for (INT_PTR i = 0; i < lists.disabledDirs.GetCount(); ++i)
        if (lists.disabledDirs[i].CompareNoCase(folder) == 0)
            return false;
    for (INT_PTR i = 0; i < lists.enabledDirs.GetCount(); ++i)
        if (lists.enabledDirs[i].folder.CompareNoCase(folder) == 0)
        {
            if (type)
                *type = lists.enabledDirs[i].type;
            return true;
        }
    for (INT_PTR i = 0; i < lists.enabledDirs.GetCount(); ++i)
        if (lists.enabledDirs[i].type == 2 && IsBelow(lists.enabledDirs[i].folder, folder))
        {
            if (type)
                *type = 1;
            return true;
        }
    return false;
}

void EnablePreviewDirectory(PreviewSettings& lists, const CString& folder, BYTE type)
{
    for (INT_PTR i = lists.disabledDirs.GetCount() - 1; i >= 0; --i)
        if (lists.disabledDirs[i].CompareNoCase(folder) == 0)
            lists.disabledDirs.RemoveAt(i);
    for (INT_PTR i = 0; i < lists.enabledDirs.GetCount(); ++i)
        if (lists.enabledDirs[i].folder.CompareNoCase(folder) == 0)
        {
            if (type == 2)
                lists.enabledDirs[i].type = 2;
            return;
        }
    CPreviewEnableDirInfo entry;
    entry.folder = folder;
    entry.type = type;
    lists.enabledDirs.Add(entry);
}

void DisablePreviewDirectory(PreviewSettings& lists, const CString& folder, bool anyType)
{
    for (INT_PTR i = 0; i < lists.enabledDirs.GetCount(); ++i)
        if (lists.enabledDirs[i].folder.CompareNoCase(folder) == 0 &&
            (anyType || lists.enabledDirs[i].type == 3))
        {
            lists.enabledDirs.RemoveAt(i);
            break;
        }
    if (IsPreviewDirectory(lists, folder))
        lists.disabledDirs.Add(folder);
}

void TogglePreviewTree(PreviewSettings& lists, const CString& folder)
{
    bool marked = false;
    for (INT_PTR i = 0; i < lists.enabledDirs.GetCount(); ++i)
        if (lists.enabledDirs[i].folder.CompareNoCase(folder) == 0 &&
            (lists.enabledDirs[i].type == 2 || lists.enabledDirs[i].type == 3))
            marked = true;
    if (!marked)
    {
        MarkTree(lists, folder);
        MarkSubfolders(lists, folder);
        return;
    }
    for (INT_PTR i = lists.enabledDirs.GetCount() - 1; i >= 0; --i)
        if (lists.enabledDirs[i].folder.CompareNoCase(folder) == 0 ||
            IsBelow(folder, lists.enabledDirs[i].folder))
            lists.enabledDirs.RemoveAt(i);
}
