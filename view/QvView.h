// The main view: the one window that shows the two panes.
#pragma once
#include "framework/FwApp.h"

#include <shlobj.h>

class CQvView : public CView
{
    DECLARE_DYNCREATE(CQvView)

public:
    CQvView() = default;
    ~CQvView() override;
    void OnDraw(CDC* pDC) override;

    // Whether the program may end; fromClose is 1 when the frame's close asks. Non-zero
    // allows it. Nothing runs yet that could hold the program back.
    int Quit(int fromClose);

    // 1 once quitting was confirmed; the frame then closes without asking again.
    int m_bQuitting = 0;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDropFiles(HDROP hDropInfo);

    DECLARE_MESSAGE_MAP()
};

// The one view, for the dialogs and workers that need it; null while there is none.
extern CQvView* g_MainView;

// The shell context menu that is showing, or null; the frame hands it the menu
// messages it draws its own items with.
extern IContextMenu2* g_pContMenu2;
