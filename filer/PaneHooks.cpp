#include "filer/PaneHooks.h"
#include "filer/FilerPane.h"
#include "framework/FwApp.h"
#include "framework/FwWnd.h"

namespace
{
void NoVisit(UINT, LPCWSTR, int) {}
int NoPreviewDirectory(LPCWSTR)
{
    return 0;
}
int AnyPicture(LPCWSTR)
{
    return 1;
}
void NoPreviews(CFilerPane&) {}

int ViewMessage(CFilerPane& pane, LPCWSTR text, UINT type)
{
    if (pane.m_pView && pane.m_pView->m_hWnd)
        return pane.m_pView->MessageBox(text, nullptr, type);
    return AfxMessageBox(text, type);
}

int NoRetry(CFilerPane&, DWORD, LPCWSTR)
{
    return 0;
}

const PaneHooks kDefaultHooks = {NoVisit, NoPreviewDirectory, AnyPicture, NoPreviews, ViewMessage, NoRetry};
} // namespace

PaneHooks g_PaneHooks = kDefaultHooks;
