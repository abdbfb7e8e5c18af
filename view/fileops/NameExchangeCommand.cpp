// "@RenameExchange": two files exchange their names.
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "fileops/rename/RenameExchangeDlg.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::ExchangeNames()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0) || g_Panes[index]->IsOnVirtualDrive())
        return;
    CFilerPane& pane = *g_Panes[index];
    CFilerPane* other = g_Panes[1 - index];
    const bool otherCounts = other != nullptr && (other->m_position & PANE_POS_OTHER) &&
                             other->m_mode == PANE_MODE_FILER && !other->IsOnVirtualDrive();
    const int count =
        (pane.m_markedCount > 0 ? pane.m_markedCount : 1) + (otherCounts ? other->m_markedCount : 0);
    CViewBusyGuard busy(*this);
    CRenameExchangeDlg dialog(DialogOwner(this));
    if (count != 2 || !pane.GetTargetEntry(0, 0, dialog.m_file1) ||
        (!pane.GetTargetEntry(0, 1, dialog.m_file2) &&
         !(otherCounts && other->GetTargetEntry(0, 0, dialog.m_file2))))
    {
        Tell(this, L"選択ファイル数が2ではありません", L"");
        return;
    }
    dialog.DoModal();
    ReloadFilerPanes();
}
