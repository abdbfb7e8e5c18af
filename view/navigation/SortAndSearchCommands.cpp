// The sort keys of the active pane and the sort dialog ("@Sort" for the stored order,
// "@Tempsort" for the listing's own), the simple search mode, the automatic name
// width, the short names, and the switch to a side pane.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"
#include "filer/SortSetting.h"
#include "filer/dialogs/SortDlg.h"

namespace
{

// Changes the sort that orders the active pane now (a temporary sort while one is
// set) and sorts the panes again; nothing happens without an active pane.
template <typename Change> void ChangeActiveSort(CQvView& view, Change change)
{
    int index = view.GetActivePaneIndex();
    if (index < 0)
        return;
    CFilerPane& pane = *g_Panes[index];
    change(pane.m_workingSort.IsSet() ? pane.m_workingSort : pane.m_sortSetting);
    CViewBusyGuard busy(view);
    view.ResortFilerPanes();
}

// The active pane when the sort dialog applies to it (a directory or an archive
// listing); -1 otherwise.
int SortDialogPane(CQvView& view)
{
    const int index = view.GetActivePaneIndex();
    if (index < 0 || g_Panes[index] == nullptr ||
        (g_Panes[index]->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return -1;
    return index;
}

// An archive listing is not read again after a new order: its entries only take it.
void ShowArchiveListingsInNewOrder(CQvView& view)
{
    for (CFilerPane* listed : g_Panes)
    {
        if (listed != nullptr && listed->m_mode == PANE_MODE_ARCHIVE)
            listed->SortEntries();
    }
    if (view.m_hWnd != nullptr)
        view.Invalidate(FALSE);
}

} // namespace

void CQvView::SetSortKey(int key)
{
    ChangeActiveSort(*this, [key](CSortSetting& sort) { sort.m_fileKey = key; });
}

VIEW_COMMAND(SetDirectorySortKey)
{
    ChangeActiveSort(view, [value](CSortSetting& sort) { sort.m_directoryKey = value; });
}

VIEW_COMMAND(FlipSortOrder)
{
    ChangeActiveSort(view, [](CSortSetting& sort) { sort.m_fileOrder = sort.m_fileOrder ? 0 : 1; });
}

VIEW_COMMAND(FlipDirectorySortOrder)
{
    ChangeActiveSort(view, [](CSortSetting& sort) { sort.m_directoryOrder = sort.m_directoryOrder ? 0 : 1; });
}

void CQvView::SetEasySearchMode(int value)
{
    if (value == 0)
    {
        g_EASYSEARCHMODE = 0;
        if (m_hWnd)
            DrawStatusLine(STATUS_PART_UPDATE);
    }
    else
        ToggleEasySearchMode(value);
}

void CQvView::ToggleAutoFileNameWidth()
{
    g_AUTO_FILE_NAME_WIDTH = g_AUTO_FILE_NAME_WIDTH ? 0 : 1;
    if (m_hWnd)
        Invalidate();
}

void CQvView::ToggleFileNamePack()
{
    g_FILENAMEPACK = g_FILENAMEPACK ? 0 : 1;
    if (m_hWnd)
        Invalidate();
}

// "@Rightwindow" (side 0) moves the keys from the left pane to the right one and
// "@Leftwindow" (side 1) from the right to the left: only with the panes side by
// side, both shown and both listing entries, and only from the pane on that side.
void CQvView::SwitchToSidePane(int side)
{
    CalcLayout();
    if (!m_layout.split || !IsPaneVisible(0) || !IsPaneVisible(1))
        return;
    for (CFilerPane* pane : g_Panes)
        if (pane == nullptr ||
            (pane->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK)) == 0)
            return;
    if (GetActivePaneIndex() == side)
        SwitchActivePane(-1);
}

void CQvView::TemporarySort()
{
    const int index = SortDialogPane(*this);
    if (index < 0)
        return;
    CFilerPane& pane = *g_Panes[index];
    CViewBusyGuard busy(*this);
    CSortDlg dialog(this);
    dialog.m_bTemporary = TRUE;
    dialog.m_sort = pane.m_workingSort.IsSet() ? pane.m_workingSort : pane.m_sortSetting;
    const INT_PTR result = dialog.DoModal();
    g_SoundHooks.playCommandSound(L"SORT");
    if (result == IDOK)
    {
        pane.m_workingSort = dialog.m_sort;
        ResortFilerPanes();
        ShowArchiveListingsInNewOrder(*this);
    }
}

void CQvView::OnSort()
{
    const int index = SortDialogPane(*this);
    if (index < 0)
        return;
    CFilerPane& pane = *g_Panes[index];
    CViewBusyGuard busy(*this);
    CSortDlg dialog(this);
    dialog.m_sort = pane.m_sortSetting;
    g_SoundHooks.playCommandSound(L"SORT");
    if (dialog.DoModal() == IDOK)
    {
        // With the shared-sort option the stored setting is both panes' order.
        SetPaneSortSetting(index, dialog.m_sort);
        for (int side = 0; side < 2; ++side)
        {
            if (g_Panes[side] != nullptr)
                GetPaneSortSetting(side, g_Panes[side]->m_sortSetting);
        }
        // The new order shows at once, also in a folder that did not change.
        ResortFilerPanes();
        ShowArchiveListingsInNewOrder(*this);
    }
}
