// Find records and entry lists made up for the filer tests.
#pragma once
#include <windows.h>
#include "filer/FileInfo.h"
#include "tests/common/TestHelpers.h"

#include <cwchar>
#include <string>
#include <vector>

namespace filertest
{

inline WIN32_FIND_DATAW MakeFindData(LPCWSTR name, bool directory, ULONGLONG size = 0, DWORD writeTime = 0,
                                     DWORD attributes = 0)
{
    WIN32_FIND_DATAW fd = {};
    fd.dwFileAttributes = attributes | (directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE);
    fd.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    fd.nFileSizeLow = static_cast<DWORD>(size);
    fd.ftLastWriteTime.dwLowDateTime = writeTime;
    wcsncpy(fd.cFileName, name, MAX_PATH - 1);
    return fd;
}

using qvtest::W;

// The names of the entries in array order.
inline std::vector<std::wstring> Names(const CArrayFileInfo& entries)
{
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        names.push_back(entries[i].GetName());
    return names;
}

} // namespace filertest
