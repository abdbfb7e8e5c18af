#include "filer/FindWorkerLink.h"

BOOL CFindThreadBase::StopAndWait()
{
    m_stop = 1;
    DWORD code = 0;
    BOOL result = FALSE;
    for (;;)
    {
        result = m_hThread ? GetExitCodeThread(m_hThread, &code) : FALSE;
        // A thread that ended with another code is over all the same.
        if (!result || code == 0 || WaitForSingleObject(m_hThread, 0) == WAIT_OBJECT_0)
            return result;
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(100);
    }
}

// A worker that searches nothing: what a pane gets while no search is installed.
static CFindThreadBase* CreateIdleFindThread()
{
    return new CFindThreadBase;
}

FindWorkerHooks g_FindWorkerHooks = {CreateIdleFindThread};
