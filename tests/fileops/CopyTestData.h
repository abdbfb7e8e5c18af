// Small trees of real files for the copy tests, the selections a pane would hand
// over, and the host-side tricks Wine needs (links, truncation).
#pragma once
#include <windows.h>

#include <algorithm>
#include "tests/common/TestSupport.h"
#include <initializer_list>
#include <string>

#include "filer/PaneSelection.h"
#include "tests/common/TestHelpers.h"

namespace copytest
{

// Creates every path (relative to `root`): a trailing backslash makes a folder, any
// other a file holding its own relative path as text.
inline void MakeTree(const std::wstring& root, std::initializer_list<const wchar_t*> paths)
{
    for (const wchar_t* relative : paths)
    {
        std::wstring path = root + L"\\" + relative;
        if (path.back() == L'\\')
        {
            path.pop_back();
            CreateDirectoryW(path.c_str(), nullptr);
            continue;
        }
        std::string bytes;
        for (const wchar_t* c = relative; *c; ++c)
            bytes += (char)*c;
        qvtest::WriteFileBytes(path, bytes);
    }
}

inline bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The named entries of `directory` as a pane's selection.
inline CSelectedEntryList Select(const std::wstring& directory, std::initializer_list<const wchar_t*> names)
{
    CSelectedEntryList selection;
    selection.m_directory = directory.c_str();
    for (const wchar_t* name : names)
    {
        WIN32_FIND_DATAW findData;
        HANDLE find = FindFirstFileW((directory + L"\\" + name).c_str(), &findData);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        FindClose(find);
        CFileInfo entry;
        entry.SetFromDisk(directory.c_str(), findData);
        selection.m_entries.Add(entry);
    }
    return selection;
}

using qvtest::HostPath;
using qvtest::MakeFolderLink;

} // namespace copytest
