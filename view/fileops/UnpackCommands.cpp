// Unpacking from an archive listing.
#include "app/Log.h"
#include "view/QvView.h"

void CQvView::UnpackFromArchiveListing(int pane)
{
    WriteLog(L"QvView", L"UnpackFromArchiveListing: the unpack dialog is not there yet (pane %d)", pane);
}
