// What the benchmark programs share: a clock, their own folder, and timing a console
// program of reference.
#pragma once
#include <windows.h>
#include <string>

namespace qvbench
{

// Seconds on the performance counter; only differences mean anything.
inline double Seconds()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The folder of the running program, where 7z.dll lies.
inline std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// Runs a console command line (its program first, quoted when it has spaces) in
// `workDir` (the current folder when null) with its output thrown away, so that
// writing to a console does not count; the seconds it took, -1 when it did not start.
inline double TimeProgram(std::wstring command, const wchar_t* workDir = nullptr)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    startup.hStdInput = nul;
    PROCESS_INFORMATION process = {};
    const double start = Seconds();
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, workDir,
                        &startup, &process))
    {
        CloseHandle(nul);
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = Seconds() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(nul);
    return seconds;
}

} // namespace qvbench
