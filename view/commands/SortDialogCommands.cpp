// The temporary sort: the active listing's own order, chosen in the sort dialog.
#include "filer/FilerPane.h"
#include "filer/dialogs/SortDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

void CQvView::TemporarySort()
{
    const int index = GetActivePaneIndex();
    if (index < 0 || g_Panes[index] == nullptr)
        return;
    CFilerPane& pane = *g_Panes[index];
    if ((pane.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return;
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CSortDlg dialog(this);
    dialog.m_bTemporary = TRUE;
    dialog.m_sort = pane.m_workingSort.IsSet() ? pane.m_workingSort : pane.m_sortSetting;
    const INT_PTR result = dialog.DoModal();
    g_QuitHooks.playCommandSound(L"SORT");
    if (result == IDOK)
    {
        pane.m_workingSort = dialog.m_sort;
        ResortFilerPanes();
        // An archive listing is not read again: its entries only take the new order.
        for (CFilerPane* listed : g_Panes)
        {
            if (listed != nullptr && listed->m_mode == PANE_MODE_ARCHIVE)
                listed->SortEntries();
        }
        if (m_hWnd != nullptr)
            Invalidate(FALSE);
    }
    StartBinaryCursorTimer();
}

namespace commands
{

int TemporarySort(CQvView& view, const CommandCall&, INT_PTR)
{
    view.TemporarySort();
    return 1;
}

} // namespace commands
