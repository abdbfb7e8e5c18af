// The control-panel applets offered as commands: the scan of the system folder that
// fills g_CplList at start-up, and the runner that starts one applet in a process of
// its own.
#pragma once
#include <windows.h>
#include "app/records/ControlPanelApplets.h"
#include "framework/FwString.h"

// What reaches the machine: the folder scanned and the process start. A test points
// the folder at its stand-in applets and keeps the command line instead of running it.
struct CplApi
{
    // The folder the applets are looked for and run from; empty: the system folder.
    CString folder;
    // Starts the command line (in the system code page, as WinExec does); the result
    // is not looked at.
    UINT(WINAPI* execute)(LPCSTR commandLine, UINT show);
};

extern CplApi g_CplApi;

class ScopedCplApi
{
public:
    explicit ScopedCplApi(const CplApi& api) : m_saved(g_CplApi) { g_CplApi = api; }
    ~ScopedCplApi() { g_CplApi = m_saved; }
    ScopedCplApi(const ScopedCplApi&) = delete;
    ScopedCplApi& operator=(const ScopedCplApi&) = delete;

private:
    CplApi m_saved;
};

// The folder applets come from: g_CplApi.folder, else the system folder.
CString GetCplFolder();

// Empties g_CplList and fills it from the applet files of the folder: files on the
// don't-load list are skipped, files of the built-in table take its rows and are
// never loaded, any other file is asked for its first applet's name.
void LoadControlPanelApplets();

// Loads the file from the current folder and asks its CPlApplet export for the first
// applet that names itself: 1 with name and description filled, else 0.
int ReadCplAppletInfo(LPCWSTR file, CCplEntry& applet);

// Starts rundll32.exe of the system folder, by its full path and quoted, with
// "shell32.dll,Control_RunDLL <arguments>", without waiting.
int RunControlPanelApplet(LPCWSTR arguments);

// Runs entry index of g_CplList: "<folder>\<file>", with " <applet name>" when the
// entry asks for it. Nothing for an index out of range.
void RunCplApplet(INT_PTR index);
