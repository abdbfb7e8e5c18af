#include "app/QvDllLoader.h"
#include "util/Globals.h"
#include "framework/FwString.h"

namespace
{
HMODULE g_hQvDll = nullptr;
}

FARPROC GetQvDllProc(LPCSTR exportName)
{
    if (g_hQvDll == nullptr)
    {
        CString path;
        path.Format(L"%s\\QvDll.DLL", g_ProgramDir.GetString());
        // A full path, so that no other folder of the search order can supply it.
        g_hQvDll = LoadLibraryW(path);
        if (g_hQvDll == nullptr)
            return nullptr;
    }
    return GetProcAddress(g_hQvDll, exportName);
}

void FreeQvDll()
{
    if (g_hQvDll)
    {
        FreeLibrary(g_hQvDll);
        g_hQvDll = nullptr;
    }
}
