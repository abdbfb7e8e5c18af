#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

namespace qvtest
{

namespace
{

std::wstring ScratchRoot()
{
    wchar_t buf[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"QV_TEST_SCRATCH", buf, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        return buf;
    n = GetTempPathW(MAX_PATH, buf);
    std::wstring root(buf, n);
    if (!root.empty() && root.back() == L'\\')
        root.pop_back();
    return root + L"\\qvtest." + std::to_wstring(GetCurrentProcessId());
}

void RemoveTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE)
    {
        do
        {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = dir + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

std::wstring ScratchDir()
{
    std::wstring root = ScratchRoot();
    CreateDirectoryW(root.c_str(), nullptr);
    std::wstring leaf = L"test";
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info())
    {
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        leaf.clear();
        for (char c : name)
            leaf += (isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_') ? wchar_t(c) : L'_';
    }
    std::wstring dir = root + L"\\" + leaf;
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

std::wstring ProgramDir()
{
    wchar_t buf[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::wstring path(buf, n);
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring SystemFolder()
{
    wchar_t buf[MAX_PATH] = {};
    UINT n = GetSystemDirectoryW(buf, MAX_PATH);
    return std::wstring(buf, n);
}

std::wstring AppletCommandPrefix()
{
    return L"\"" + SystemFolder() + L"\\rundll32.exe\" shell32.dll,Control_RunDLL ";
}

std::set<std::wstring> ListFolder(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
    {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.insert(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    std::string out;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0)
        out.append(buf, got);
    CloseHandle(h);
    return out;
}

std::string Utf16Bytes(const std::wstring& text, bool bom)
{
    std::string bytes = bom ? std::string("\xFF\xFE", 2) : std::string();
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return bytes;
}

std::string Utf16File(const std::wstring& text)
{
    return Utf16Bytes(text, true);
}

void DispatchPendingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpMessages(DWORD milliseconds)
{
    DWORD end = GetTickCount() + milliseconds;
    do
    {
        DispatchPendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!condition())
    {
        if (GetTickCount() - start > milliseconds)
            return false;
        Sleep(10);
    }
    return true;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!condition())
    {
        if (GetTickCount() - start > milliseconds)
            return false;
        DispatchPendingMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

std::wstring HostPath(const std::wstring& path)
{
    // Wine's own translation, for any drive; a scratch path on Z: (the host's root)
    // otherwise maps by its letters alone.
    typedef char*(__cdecl * UnixNameFn)(LPCWSTR);
    FARPROC address = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
    auto unixName = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(address));
    if (char* name = unixName ? unixName(path.c_str()) : nullptr)
    {
        int length = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
        std::wstring host(length > 0 ? length - 1 : 0, L'\0');
        if (length > 0)
            MultiByteToWideChar(CP_UTF8, 0, name, -1, &host[0], length);
        HeapFree(GetProcessHeap(), 0, name);
        return host;
    }
    std::wstring host = path;
    if (host.size() > 2 && host[1] == L':')
        host.erase(0, 2);
    for (wchar_t& c : host)
        if (c == L'\\')
            c = L'/';
    return host;
}

bool RunHostProgram(const std::wstring& program, const std::wstring& arguments,
                    const std::function<bool()>& done, DWORD milliseconds)
{
    std::wstring command = program + L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return WaitFor(done, milliseconds);
}

bool MakeFolderLink(const std::wstring& link, const std::wstring& target)
{
    return RunHostProgram(L"/bin/ln", L"-s \"" + HostPath(target) + L"\" \"" + HostPath(link) + L"\"", [&] {
        DWORD attributes = GetFileAttributesW(link.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
               (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    });
}

} // namespace qvtest
