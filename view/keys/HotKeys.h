// Global hot keys and the task-tray icon: the program's side of the keyboard-hook
// library (loading it, installing and releasing its hook, the callback's filter) and
// the tray icon that stands for the hidden main window.
#pragma once
#include <windows.h>

#include <shellapi.h>

class CKeyCmdEntry;

// The tray icon's callback message.
#define WM_QV_TRAY_NOTIFY (WM_USER + 5)
// Posted by the hook callback: the view runs the queued hot-key commands.
#define WM_QV_RUN_HOT_KEYS (WM_USER + 6)

// The tray icon's id.
const UINT kTrayIconId = 100;

// Installs the hook when the rules allow it: not while the view itself has the focus
// (focusWindow), not while hot keys are suspended, and only with a hot key bound or
// the window in the tray.
void InstallKeyboardHook(HWND focusWindow = GetFocus());
void ReleaseKeyboardHook();
// The plain function handed to the library: forwards to g_MainView.
LRESULT CALLBACK KeyboardHookThunk(int nCode, WPARAM message, LPARAM event);

// Adds (NIM_ADD) or removes (NIM_DELETE) the tray icon of the window; an icon given
// is destroyed afterwards, as the shell keeps its own copy.
void SetTrayIcon(HWND window, DWORD message, UINT id, HICON icon, LPCWSTR tooltip);

// The binding a key resolves to: the common set's, or when that is empty the active
// pane mode's ("@SameAsFiler" of the archive listing gives the filer binding). Null
// for a key outside the key table or a mode without a set.
const CKeyCmdEntry* FindKeyBinding(UINT vk, int modifier);

// Test seams: the library's two exports, the shell's tray call, and the state of a
// modifier key as the hook sees it (the key state of another program's input).
struct KeyboardHookLibrary
{
    BOOL (*install)(HOOKPROC callback); // FALSE when the library or export is missing
    void (*release)();
};
extern KeyboardHookLibrary g_KeyboardHookLibrary;
const KeyboardHookLibrary& DefaultKeyboardHookLibrary();
// The system calls of the tray icon and of the hot keys' modifier test; a test stands
// in for them.
struct HotKeySeam
{
    // Shell_NotifyIconW.
    BOOL(WINAPI* trayNotify)(DWORD message, PNOTIFYICONDATAW data);
    // Whether the modifier key is down now.
    bool (*modifierDown)(int vk);
};

extern HotKeySeam g_HotKeySeam;
