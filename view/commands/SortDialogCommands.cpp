// The sort dialog: the active listing's stored order ("@Sort") or its own
// temporary order ("@Tempsort").
#include "filer/FilerPane.h"
#include "filer/SortSetting.h"
#include "filer/dialogs/SortDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/ViewBusyGuard.h"

void CQvView::TemporarySort()
{
    const int index = GetActivePaneIndex();
    if (PaneAt(index) == nullptr)
        return;
    CFilerPane& pane = *g_Panes[index];
    if ((pane.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return;
    CViewBusyGuard busy(*this);
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
}

void CQvView::OnSort()
{
    const int index = GetActivePaneIndex();
    if (PaneAt(index) == nullptr)
        return;
    CFilerPane& pane = *g_Panes[index];
    if ((pane.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return;
    CViewBusyGuard busy(*this);
    CSortDlg dialog(this);
    dialog.m_sort = pane.m_sortSetting;
    g_QuitHooks.playCommandSound(L"SORT");
    if (dialog.DoModal() == IDOK)
    {
        // With the shared-sort option the stored setting is both panes' order.
        SetPaneSortSetting(index, dialog.m_sort);
        for (int side = 0; side < 2; ++side)
        {
            if (g_Panes[side] != nullptr)
                GetPaneSortSetting(side, g_Panes[side]->m_sortSetting);
        }
        ReloadFilerPanes(nullptr, TRUE);
        for (CFilerPane* listed : g_Panes)
        {
            if (listed != nullptr && listed->m_mode == PANE_MODE_ARCHIVE)
                listed->SortEntries();
        }
        if (m_hWnd != nullptr)
            Invalidate(FALSE);
    }
}

namespace commands
{

int ChooseSort(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OnSort();
    return 1;
}

int TemporarySort(CQvView& view, const CommandCall&, INT_PTR)
{
    view.TemporarySort();
    return 1;
}

} // namespace commands
