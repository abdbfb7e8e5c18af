// Helpers of the file-operation tests: entries as a pane lists them, trees in the
// scratch folder, host-side links and the recycle bin's folder.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "filer/FileInfo.h"
#include "tests/common/TestSupport.h"

namespace fileopstest
{

// The entry as a disk listing of `directory` holds it, with the file's own find data.
inline CFileInfo DiskEntry(const std::wstring& directory, const std::wstring& name)
{
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileW((directory + L"\\" + name).c_str(), &data);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    else
        wcscpy_s(data.cFileName, name.c_str());
    CFileInfo entry;
    entry.SetFromDisk(directory.c_str(), data);
    return entry;
}

// Makes files and folders (names ending in "\") below `root`.
inline void MakeTree(const std::wstring& root, const std::vector<std::wstring>& items)
{
    for (const auto& item : items)
    {
        std::wstring path = root + L"\\" + item;
        if (!item.empty() && item.back() == L'\\')
        {
            path.pop_back();
            CreateDirectoryW(path.c_str(), nullptr);
        }
        else
        {
            qvtest::WriteFileBytes(path, "data");
        }
    }
}

inline bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

using qvtest::HostPath;
using qvtest::MakeFolderLink;

// The recycle bin's files folder as Wine keeps it ($XDG_DATA_HOME/Trash/files), made
// when missing: without it Wine deletes for good what it was asked to recycle.
inline std::wstring TrashFilesFolder()
{
    wchar_t value[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"XDG_DATA_HOME", value, MAX_PATH))
        return L"";
    std::wstring folder = std::wstring(L"Z:") + value;
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    CreateDirectoryW((folder + L"\\Trash").c_str(), nullptr);
    CreateDirectoryW((folder + L"\\Trash\\info").c_str(), nullptr);
    CreateDirectoryW((folder + L"\\Trash\\files").c_str(), nullptr);
    return folder + L"\\Trash\\files";
}

} // namespace fileopstest
