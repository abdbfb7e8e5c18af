#include "tests/common/QvProcess.h"

#include <vector>

namespace qvtest
{

QvProcess::~QvProcess()
{
    if (m_process)
    {
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_process, 1);
        CloseHandle(m_process);
    }
}

bool QvProcess::Start(const std::wstring& exePath, const std::wstring& arguments, const std::wstring& workDir)
{
    std::wstring cmd = L"\"" + exePath + L"\"";
    if (!arguments.empty())
        cmd += L" " + arguments;
    std::vector<wchar_t> line(cmd.begin(), cmd.end());
    line.push_back(L'\0');
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    // Wine refuses a start now and then while the server is busy with other test
    // programs; a program that truly cannot start fails every try.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt)
    {
        if (attempt > 0)
            Sleep(200);
        started = CreateProcessW(exePath.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 workDir.empty() ? nullptr : workDir.c_str(), &si, &pi) != FALSE;
    }
    if (!started)
        return false;
    CloseHandle(pi.hThread);
    m_process = pi.hProcess;
    m_pid = pi.dwProcessId;
    return true;
}

namespace
{
struct FindState
{
    DWORD pid;
    const std::wstring* titlePart;
    HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND hwnd, LPARAM param)
{
    auto* state = reinterpret_cast<FindState*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != state->pid || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER))
        return TRUE;
    wchar_t title[512] = L"";
    GetWindowTextW(hwnd, title, 512);
    if (!state->titlePart->empty() && !wcsstr(title, state->titlePart->c_str()))
        return TRUE;
    state->found = hwnd;
    return FALSE;
}
} // namespace

HWND QvProcess::WaitForMainWindow(const std::wstring& titlePart, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;)
    {
        FindState state = {m_pid, &titlePart, nullptr};
        EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&state));
        if (state.found)
            return m_window = state.found;
        if (!m_process || WaitForSingleObject(m_process, 50) != WAIT_TIMEOUT)
            return nullptr; // ended before it showed a window
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
    }
}

bool QvProcess::Close()
{
    return m_window && PostMessageW(m_window, WM_CLOSE, 0, 0);
}

DWORD QvProcess::WaitForExit(DWORD timeoutMs) const
{
    if (!m_process || WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_process, &code);
    return code;
}

} // namespace qvtest
