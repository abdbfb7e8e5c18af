// Small trees of real files for the copy tests, the selections a pane would hand
// over, and the host-side tricks Wine needs (links, truncation).
#pragma once
#include <windows.h>

#include <algorithm>
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

// The Unix path of a Z: path.
inline std::wstring HostPath(std::wstring path)
{
    if (path.size() > 2 && path[1] == L':')
        path.erase(0, 2);
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

// Runs a host program and waits until `done` holds (a host process's handle does not
// wait for it to end).
inline bool RunHost(const std::wstring& program, const std::wstring& arguments,
                    bool (*done)(const std::wstring&), const std::wstring& subject)
{
    std::wstring command = program + L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::wstring image = L"Z:" + program;
    std::replace(image.begin(), image.end(), L'/', L'\\');
    if (!CreateProcessW(image.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 200; ++i)
    {
        if (done(subject))
            return true;
        Sleep(25);
    }
    return false;
}

// A directory link made on the host side: Wine's CreateSymbolicLinkW creates nothing.
inline bool MakeFolderLink(const std::wstring& link, const std::wstring& target)
{
    return RunHost(
        L"/bin/ln", L"-s \"" + HostPath(target) + L"\" \"" + HostPath(link) + L"\"",
        [](const std::wstring& path) {
            DWORD attributes = GetFileAttributesW(path.c_str());
            return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
        },
        link);
}

} // namespace copytest
