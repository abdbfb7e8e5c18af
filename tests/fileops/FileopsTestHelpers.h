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

// A directory link made on the host side: Wine's CreateSymbolicLinkW creates nothing,
// but it starts host programs. False when no link came about.
inline bool MakeFolderLink(const std::wstring& link, const std::wstring& target)
{
    auto hostPath = [](std::wstring path) {
        if (path.size() > 2 && path[1] == L':')
            path.erase(0, 2);
        std::replace(path.begin(), path.end(), L'\\', L'/');
        return path;
    };
    std::wstring command = L"ln -s \"" + hostPath(target) + L"\" \"" + hostPath(link) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"Z:\\bin\\ln", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The handle of a host program does not wait for it to end: look for the link
    // until it shows.
    DWORD attributes = GetFileAttributesW(link.c_str());
    for (int i = 0; i < 100 && attributes == INVALID_FILE_ATTRIBUTES; ++i)
    {
        Sleep(50);
        attributes = GetFileAttributesW(link.c_str());
    }
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// An entry that a listing shows but that cannot be opened nor given attributes: a
// Unix socket, made by a host program (the tests run with every right, so no
// permission can make a change fail). False when none came about.
inline bool MakeUnopenableEntry(const std::wstring& path)
{
    std::wstring host = path.size() > 2 && path[1] == L':' ? path.substr(2) : path;
    std::replace(host.begin(), host.end(), L'\\', L'/');
    // A socket's path is limited to about a hundred bytes: bind the bare name.
    const size_t slash = host.rfind(L'/');
    std::wstring command = L"python3 -c \"import os, socket; os.chdir('" + host.substr(0, slash) +
                           L"'); socket.socket(socket.AF_UNIX).bind('" + host.substr(slash + 1) + L"')\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"Z:\\usr\\bin\\python3", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 100; ++i)
    {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW(path.c_str(), &data);
        if (find != INVALID_HANDLE_VALUE)
        {
            FindClose(find);
            return true;
        }
        Sleep(50);
    }
    return false;
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
