// Access to the keyboard-hook library QvDll beside the program, loaded on first use.
#pragma once
#include <windows.h>

// The export of that name, loading "<program folder>\QvDll.DLL" when it is not loaded
// yet. Null when the library or the export is missing; a failed load is tried again
// on the next call. Interface thread only.
FARPROC GetQvDllProc(LPCSTR exportName);

// Frees the library when it is loaded.
void FreeQvDll();
