// The main frame window that holds the view. It passes a few messages on to the view
// and lets the view decide whether the program may close; the one state it keeps is
// a close request that had to wait for a modal window of the program.
#pragma once
#include "framework/FwApp.h"

class CMainFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnDropFiles(HDROP hDropInfo);
    void OnMove(int x, int y);
    void OnClose();

private:
    // A close request came while a modal window (a message box, a dialog) of the
    // program was open; it is taken up when the frame is enabled again.
    BOOL m_bCloseDeferred = FALSE;

    DECLARE_MESSAGE_MAP()
};
