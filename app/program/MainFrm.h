// The main frame window that holds the view.
#pragma once
#include "framework/FwApp.h"

class CMainFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)

protected:
    DECLARE_MESSAGE_MAP()
};
