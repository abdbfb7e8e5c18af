// The calls of the system commands that reach the machine itself: the shell's format
// dialog, the network-drive dialogs and the audio endpoints (applets start through
// g_CplApi). They go through g_SystemShellApi so that a test can stand in for them: a
// test must never format a disk, map a share or change the default audio device.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include "media/devices/AudioEndpoints.h"
#include "tools/cpl/AppletCommands.h"

struct SystemShellApi
{
    UINT(WINAPI* getDriveType)(LPCWSTR root);
    // Loads the shell library and calls its format dialog; 0 when the library or the
    // export is missing.
    int (*formatDrive)(HWND owner, UINT drive);
    DWORD(APIENTRY* connectDialog)(HWND owner, DWORD type);
    DWORD(APIENTRY* disconnectDialog)(HWND owner, DWORD type);
    // Starts a program with its parameters; 1 when it started.
    int (*runProgram)(LPCWSTR program, LPCWSTR parameters);
    int (*enumAudioEndpoints)(int flow, CArray<CEndPointData>& out);
    int (*setDefaultAudioEndpoint)(int flow, LPCWSTR name);
    BOOL(WINAPI* chooseFont)(CHOOSEFONTW* choice);
};

// The system's own functions unless a test replaced them.
extern SystemShellApi g_SystemShellApi;

// Replaces g_SystemShellApi for one scope.
class ScopedSystemShellApi
{
public:
    explicit ScopedSystemShellApi(const SystemShellApi& api) : m_saved(g_SystemShellApi)
    {
        g_SystemShellApi = api;
    }
    ~ScopedSystemShellApi() { g_SystemShellApi = m_saved; }
    ScopedSystemShellApi(const ScopedSystemShellApi&) = delete;
    ScopedSystemShellApi& operator=(const ScopedSystemShellApi&) = delete;

private:
    SystemShellApi m_saved;
};
