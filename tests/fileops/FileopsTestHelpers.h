// Fixtures shared by the file-operation tests: files with given bytes, times and
// sizes, and directory links made on the host side.
#pragma once
#include <windows.h>

#include <algorithm>
#include <string>

#include "tests/common/TestSupport.h"

namespace fileopstest
{

// Writes the file (creating its folders) and returns its path.
inline std::wstring MakeFile(const std::wstring& root, const std::wstring& relative, const std::string& bytes)
{
    std::wstring path = root + L"\\" + relative;
    for (size_t slash = relative.find(L'\\'); slash != std::wstring::npos;
         slash = relative.find(L'\\', slash + 1))
        CreateDirectoryW((root + L"\\" + relative.substr(0, slash)).c_str(), nullptr);
    qvtest::WriteFileBytes(path, bytes);
    return path;
}

inline std::wstring MakeDir(const std::wstring& root, const std::wstring& relative)
{
    std::wstring path = root + L"\\" + relative;
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

using qvtest::MakeFolderLink;

// An entry that a listing shows but that cannot be opened nor given attributes: a
// Unix socket, made by a host program (the tests run with every right, so no
// permission can make a change fail). False when none came about.
inline bool MakeUnopenableEntry(const std::wstring& path)
{
    const std::wstring host = qvtest::HostPath(path);
    // A socket's path is limited to about a hundred bytes: bind the bare name.
    const size_t slash = host.rfind(L'/');
    return qvtest::RunHostProgram(L"/usr/bin/python3",
                                  L"-c \"import os, socket; os.chdir('" + host.substr(0, slash) +
                                      L"'); socket.socket(socket.AF_UNIX).bind('" + host.substr(slash + 1) +
                                      L"')\"",
                                  [&] {
                                      WIN32_FIND_DATAW data;
                                      HANDLE find = FindFirstFileW(path.c_str(), &data);
                                      if (find == INVALID_HANDLE_VALUE)
                                          return false;
                                      FindClose(find);
                                      return true;
                                  });
}

// A local time as a UTC file time.
inline FILETIME LocalFileTime(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0,
                              WORD second = 0)
{
    SYSTEMTIME local = {};
    local.wYear = year;
    local.wMonth = month;
    local.wDay = day;
    local.wHour = hour;
    local.wMinute = minute;
    local.wSecond = second;
    FILETIME localTime, utc;
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

inline bool SetWriteTime(const std::wstring& path, const FILETIME& time)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = SetFileTime(file, nullptr, nullptr, &time) != FALSE;
    CloseHandle(file);
    return ok;
}

} // namespace fileopstest
