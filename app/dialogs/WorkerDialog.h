// The modeless dialogs that run a worker (copy, delete, unpack) or a file search, as
// the main view keeps them in its lists until it reaps them. The dialogs live with
// their subsystems, below the view: they tell it they ended through the window the
// view registers here, never through the view itself.
#pragma once
#include "framework/FwDialog.h"
#include "framework/FwString.h"

class CWorkerDialog : public CDialog
{
public:
    using CDialog::CDialog;
    // Set by the dialog itself once its worker has ended and been deleted, just before
    // it posts IDM_MODELESS_DONE to the view; the view deletes it when it reaps.
    int m_bWorkerDone = 0;

    // Marks the dialog done and posts IDM_MODELESS_DONE to the registered view window
    // (nothing is posted while none is registered), so that the view reaps it.
    void NotifyWorkerDone();

    // Makes and shows the window of a dialog the view has already listed. A window that
    // cannot be made (the parent has none, or the template fails) leaves nothing running
    // and nothing that would post an end: the dialog is marked done here, so that the
    // view's next reaping deletes it, and FALSE is returned.
    BOOL ShowListedModeless(UINT templateId, CWnd* parent);
};

// The window that receives IDM_MODELESS_DONE from finishing worker dialogs: the main
// view registers itself when it is created and null when it is destroyed.
void SetWorkerDoneWindow(HWND window);
HWND GetWorkerDoneWindow();

// A file-search dialog as the view sees it: the chosen result it hands over with
// WM_QV_OPEN_FOUND, and the wait for its search thread before it may be destroyed.
class CFindDialogBase : public CWorkerDialog
{
public:
    using CWorkerDialog::CWorkerDialog;
    CString m_foundDirectory;
    CString m_foundName;
    // The check box "ダイアログを閉じる".
    BOOL m_bCloseAfterOpen = FALSE;
    // Lets the search finish its posted messages before the window goes.
    virtual void PumpSearchMessages() {}
};

// Posted by a find dialog (lParam: the dialog) when a result was chosen, and when it
// was cancelled.
#define WM_QV_OPEN_FOUND (WM_USER + 1)
#define WM_QV_RELEASE_FOUND (WM_USER + 2)
