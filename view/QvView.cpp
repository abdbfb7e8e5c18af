#include "view/QvView.h"

IMPLEMENT_DYNCREATE(CQvView, CView)

BEGIN_MESSAGE_MAP(CQvView, CView)
END_MESSAGE_MAP()

void CQvView::OnDraw(CDC*)
{
    // The panes are drawn here once the filer exists; the window background is enough until then.
}
