#include "program/MainFrm.h"

#include "app/StartDirs.h"
#include "media/MciWnd.h"
#include "view/QvView.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_DROPFILES()
ON_WM_MOVE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_DESTROY:
        // The view switches menus per pane mode; the one attached now must go with the
        // window instead of the default menu being put back.
        m_hMenuDefault = nullptr;
        break;
    case WM_ENABLE:
        // The modal window that held a close request back has ended. Posted, so that
        // the code that opened it finishes before the window goes.
        if (wParam && m_bCloseDeferred)
        {
            m_bCloseDeferred = FALSE;
            PostMessage(WM_CLOSE);
        }
        break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
        // A shell context menu draws and fills its own items.
        if (g_pContMenu2)
            g_pContMenu2->HandleMenuMsg(message, wParam, lParam);
        break;
    default:
        break;
    }
    if (g_MsgReqDirChange != 0 && message == g_MsgReqDirChange)
    {
        // Posted, not sent: the further start that asks must not wait for the view.
        if (g_MainView && g_MainView->m_hWnd)
            ::PostMessageW(g_MainView->m_hWnd, g_MsgReqDirChange, 0, 0);
        return 1;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

void CMainFrame::OnDropFiles(HDROP hDropInfo)
{
    if (g_MainView && g_MainView->m_hWnd)
        ::SendMessageW(g_MainView->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(hDropInfo), 0);
    else
        DragFinish(hDropInfo);
}

void CMainFrame::OnMove(int x, int y)
{
    CFrameWnd::OnMove(x, y);
    if (g_MainView && g_MainView->m_hWnd)
        ::SendMessageW(g_MainView->m_hWnd, WM_MOVE, 0, MAKELPARAM(x, y));
}

void CMainFrame::OnClose()
{
    // The quit question is open: this request is the one it answers.
    if (g_MainView && g_MainView->m_bQuitQuestionOpen)
        return;
    // A modal window of the program disables the frame, and its message loop hands
    // out a request posted by another program or by Windows. Closing now would
    // delete the panes under the code that opened the window and resumes after it.
    if (!IsWindowEnabled())
    {
        m_bCloseDeferred = TRUE;
        return;
    }
    if (g_MainView && !g_MainView->m_bQuitting && !g_MainView->Quit(1))
        return;
    DestroyMciWnd();
    CFrameWnd::OnClose();
}
