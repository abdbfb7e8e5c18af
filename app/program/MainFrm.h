// The main frame window that holds the view. It keeps no state of its own: it passes
// a few messages on to the view and lets the view decide whether the program may
// close.
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

    DECLARE_MESSAGE_MAP()
};
