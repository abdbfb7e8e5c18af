// "@PackViewExit": the archive listing of the active pane ends, after a question, and
// the pane lists the archive's folder again with the cursor on the archive.
#include "app/dialogs/MessageBoxDlg.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"

void CQvView::OnPackViewExit()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_ARCHIVE, 0))
        return;
    if (ShowMessageBoxDlg(m_hWnd ? this : nullptr, L"圧縮ファイルの閲覧を終了しますか", L"確認", 1) != IDOK)
        return;
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CFilerPane& pane = *g_Panes[index];
    pane.SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.CloseArchiveListing(TRUE);
    CalcLayout();
    pane.MoveCursor(0, TRUE);
    DrawPaneTitle(index);
    RedrawMovedPane(index, STATUS_PART_UPDATE);
    UpdateMenuForMode();
    StartBinaryCursorTimer();
}
