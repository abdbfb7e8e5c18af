// "@PackViewExit": the archive listing of the active pane ends, after a question, and
// the pane lists the archive's folder again with the cursor on the archive.
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::OnPackViewExit()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_ARCHIVE, 0))
        return;
    if (!Ask(this, L"圧縮ファイルの閲覧を終了しますか", L"確認", MessageBoxKind::OkCancel))
        return;
    CViewBusyGuard busy(*this);
    CFilerPane& pane = *g_Panes[index];
    pane.SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.CloseArchiveListing(TRUE);
    CalcLayout();
    pane.MoveCursor(0, TRUE);
    DrawPaneTitle(index);
    RedrawMovedPane(index, STATUS_PART_UPDATE);
    UpdateMenuForMode();
}
