#include "media/MciWnd.h"

CMciWnd* g_MciWnd = nullptr;

CMciWnd* CreateMciWnd(HWND)
{
    return nullptr;
}

void DestroyMciWnd()
{
    if (!g_MciWnd)
        return;
    if (g_MciWnd->m_hWnd)
        g_MciWnd->DestroyWindow();
    delete g_MciWnd;
    g_MciWnd = nullptr;
}
