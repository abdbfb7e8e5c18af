// Starts a program (normally Qv.exe) for an end-to-end test, finds its main window
// and ends it the way a user would, with bounded waits throughout.
#pragma once
#include <windows.h>
#include <string>

namespace qvtest
{

class QvProcess
{
public:
    QvProcess() = default;
    ~QvProcess(); // kills a process that is still running
    QvProcess(const QvProcess&) = delete;
    QvProcess& operator=(const QvProcess&) = delete;

    // Starts exePath with the given command-line arguments; the current directory
    // is workDir when given.
    bool Start(const std::wstring& exePath, const std::wstring& arguments = L"",
               const std::wstring& workDir = L"");

    // Waits for a visible top-level window of the process whose caption contains
    // titlePart (any caption when empty); nullptr after the time-out.
    HWND WaitForMainWindow(const std::wstring& titlePart, DWORD timeoutMs = 60000);

    // Posts WM_CLOSE to the window found last.
    bool Close();

    // Waits for the process to end; returns its exit code or STILL_ACTIVE after the time-out.
    DWORD WaitForExit(DWORD timeoutMs = 20000) const;

    HANDLE Process() const { return m_process; }
    DWORD ProcessId() const { return m_pid; }
    HWND MainWindow() const { return m_window; }

private:
    HANDLE m_process = nullptr;
    DWORD m_pid = 0;
    HWND m_window = nullptr;
};

} // namespace qvtest
