#include "hook/QvDll.h"

namespace
{

// Every process that maps the library sees the same hook state: the section is
// marked shared, so one process's install is visible to the next one that loads
// the library. The variables must be initialised, or the compiler moves them to
// the unshared zero-filled section.
struct SharedHookState
{
    QvKeyboardCallback callback;
    HHOOK hook;
    // The process that installed the hook and stored the callback. A process id alone
    // is reused by the system after the process ends, so its start time is kept too.
    DWORD ownerId;
    DWORD reserved;
    ULONGLONG ownerStart;
};

__attribute__((section("QvDllHid"), shared)) SharedHookState g_state = {nullptr, nullptr, 0, 0, 0};

HINSTANCE g_instance = nullptr;

ULONGLONG ProcessStartTime(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

bool IsCurrentProcessOwner()
{
    return g_state.ownerId == GetCurrentProcessId() &&
           g_state.ownerStart == ProcessStartTime(GetCurrentProcess());
}

// A hook whose owner ended without releasing it was removed by the system with that
// process; its handle in the shared section would otherwise block every later install.
bool IsOwnerAlive()
{
    if (g_state.ownerId == 0)
        return false;
    if (g_state.ownerId == GetCurrentProcessId())
        return IsCurrentProcessOwner();
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, g_state.ownerId);
    // A process this one may not look at still exists; taking its hook would leave
    // it with a hook it can no longer release.
    if (process == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD exitCode = 0;
    bool alive = GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE &&
                 ProcessStartTime(process) == g_state.ownerStart;
    CloseHandle(process);
    return alive;
}

} // namespace

CQvDllApp theApp;

extern "C" void WINAPI SetHookProc(QvKeyboardCallback callback)
{
    if (g_state.hook != nullptr && IsOwnerAlive())
        return;
    g_state.hook = nullptr;
    g_state.callback = callback;
    g_state.ownerId = GetCurrentProcessId();
    g_state.ownerStart = ProcessStartTime(GetCurrentProcess());
    g_state.hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, g_instance, 0);
}

extern "C" void WINAPI ReleaseHookProc()
{
    if (g_state.hook == nullptr || !IsCurrentProcessOwner())
        return;
    UnhookWindowsHookEx(g_state.hook);
    g_state.hook = nullptr;
}

extern "C" LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    // The callback is an address in the owner's memory: any other process that
    // reached this procedure must not jump there.
    QvKeyboardCallback callback = g_state.callback;
    if (code >= 0 && callback != nullptr && IsCurrentProcessOwner())
    {
        LRESULT result = callback(code, wParam, lParam);
        if (result != 0)
            return result;
    }
    return CallNextHookEx(g_state.hook, code, wParam, lParam);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        g_instance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
