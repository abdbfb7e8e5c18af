#include "app/dialogs/WorkerDialog.h"
#include "util/WorkerMessages.h"

namespace
{
// Written by the main thread at the view's creation and destruction; read by the
// dialogs, which run on the same thread.
HWND s_workerDoneWindow = nullptr;
} // namespace

void SetWorkerDoneWindow(HWND window)
{
    s_workerDoneWindow = window;
}

HWND GetWorkerDoneWindow()
{
    return s_workerDoneWindow;
}

void CWorkerDialog::NotifyWorkerDone()
{
    m_bWorkerDone = 1;
    if (s_workerDoneWindow != nullptr)
        ::PostMessageW(s_workerDoneWindow, WM_COMMAND, IDM_MODELESS_DONE, 0);
}

BOOL CWorkerDialog::ShowListedModeless(UINT templateId, CWnd* parent)
{
    if (parent == nullptr || parent->GetSafeHwnd() == nullptr || !Create(templateId, parent))
    {
        m_bWorkerDone = 1;
        return FALSE;
    }
    ShowWindow(SW_SHOW);
    return TRUE;
}
