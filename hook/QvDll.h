// The keyboard-hook library: one system-wide low-level keyboard hook whose events go
// to a callback of the program that installed it, so that keys bound as global hot
// keys reach the program while another application has the focus.
#pragma once
#include <windows.h>

// The program's callback: the hook procedure's arguments; non-zero swallows the key.
typedef LRESULT(CALLBACK* QvKeyboardCallback)(int code, WPARAM message, LPARAM event);

extern "C"
{
    // Installs the hook with the given callback unless a living process holds it.
    __declspec(dllexport) void WINAPI SetHookProc(QvKeyboardCallback callback);
    // Removes the hook when the calling process installed it.
    __declspec(dllexport) void WINAPI ReleaseHookProc();
    // The hook procedure: hands the event to the owner's callback, then down the chain.
    __declspec(dllexport) LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
}

// The library's application object; it has no behaviour of its own.
class CQvDllApp
{
};
