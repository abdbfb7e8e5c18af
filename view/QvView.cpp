#include "view/QvView.h"

CQvView* g_MainView = nullptr;
IContextMenu2* g_pContMenu2 = nullptr;

IMPLEMENT_DYNCREATE(CQvView, CView)

BEGIN_MESSAGE_MAP(CQvView, CView)
ON_WM_CREATE()
ON_WM_DROPFILES()
END_MESSAGE_MAP()

CQvView::~CQvView()
{
    if (g_MainView == this)
        g_MainView = nullptr;
}

int CQvView::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    g_MainView = this;
    return 0;
}

void CQvView::OnDraw(CDC*)
{
    // The panes are drawn here once the filer exists; the window background is enough until then.
}

int CQvView::Quit(int)
{
    return 1;
}

void CQvView::OnDropFiles(HDROP hDropInfo)
{
    // Nothing takes dropped files yet; the drop handle is still released.
    if (hDropInfo)
        DragFinish(hDropInfo);
}
