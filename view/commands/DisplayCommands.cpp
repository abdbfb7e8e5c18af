// Display keywords that act already: the sort keys of the active pane, the simple
// search mode, the automatic name width, the short names, and the switch between
// the panes.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

namespace
{

// The sort that orders the active pane now: a temporary sort while one is set.
CSortSetting* ActiveSort(CQvView& view)
{
    int index = view.GetActivePaneIndex();
    if (index < 0)
        return nullptr;
    CFilerPane& pane = *g_Panes[index];
    return pane.m_workingSort.IsSet() ? &pane.m_workingSort : &pane.m_sortSetting;
}

int ApplySort(CQvView& view)
{
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    view.ResortFilerPanes();
    view.StartBinaryCursorTimer();
    return 1;
}

} // namespace

int SetSortKey(CQvView& view, const CommandCall&, INT_PTR value)
{
    CSortSetting* sort = ActiveSort(view);
    if (sort == nullptr)
        return 1;
    sort->m_fileKey = static_cast<int>(value);
    return ApplySort(view);
}

int SetDirectorySortKey(CQvView& view, const CommandCall&, INT_PTR value)
{
    CSortSetting* sort = ActiveSort(view);
    if (sort == nullptr)
        return 1;
    sort->m_directoryKey = static_cast<int>(value);
    return ApplySort(view);
}

int FlipSortOrder(CQvView& view, const CommandCall&, INT_PTR)
{
    CSortSetting* sort = ActiveSort(view);
    if (sort == nullptr)
        return 1;
    sort->m_fileOrder = sort->m_fileOrder ? 0 : 1;
    return ApplySort(view);
}

int FlipDirectorySortOrder(CQvView& view, const CommandCall&, INT_PTR)
{
    CSortSetting* sort = ActiveSort(view);
    if (sort == nullptr)
        return 1;
    sort->m_directoryOrder = sort->m_directoryOrder ? 0 : 1;
    return ApplySort(view);
}

int SetEasySearchMode(CQvView& view, const CommandCall&, INT_PTR value)
{
    if (value == 0)
    {
        g_EASYSEARCHMODE = 0;
        if (view.m_hWnd)
            view.DrawStatusLine(STATUS_PART_UPDATE);
    }
    else
        view.ToggleEasySearchMode(static_cast<int>(value));
    return 1;
}

int ToggleAutoFileNameWidth(CQvView& view, const CommandCall&, INT_PTR)
{
    g_AUTO_FILE_NAME_WIDTH = g_AUTO_FILE_NAME_WIDTH ? 0 : 1;
    if (view.m_hWnd)
        view.Invalidate();
    return 1;
}

int ToggleFileNamePack(CQvView& view, const CommandCall&, INT_PTR)
{
    g_FILENAMEPACK = g_FILENAMEPACK ? 0 : 1;
    if (view.m_hWnd)
        view.Invalidate();
    return 1;
}

int SwitchPane(CQvView& view, const CommandCall&, INT_PTR)
{
    view.SwitchActivePane(-1);
    return 1;
}

// "@Rightwindow" (side 0) moves the keys from the left pane to the right one and
// "@Leftwindow" (side 1) from the right to the left: only with the panes side by
// side, both shown and both listing entries, and only from the pane on that side.
int SwitchToSidePane(CQvView& view, const CommandCall&, INT_PTR side)
{
    view.CalcLayout();
    if (!view.m_layout.split || !view.IsPaneVisible(0) || !view.IsPaneVisible(1))
        return 1;
    for (CFilerPane* pane : g_Panes)
        if (pane == nullptr ||
            (pane->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK)) == 0)
            return 1;
    if (view.GetActivePaneIndex() == static_cast<int>(side))
        view.SwitchActivePane(-1);
    return 1;
}

} // namespace commands

namespace commands
{

int ToggleDisplayFilter(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.ToggleDisplayFilter(static_cast<int>(value));
    return 1;
}

int ApplyDisplayFilterPreset(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.ApplyDisplayFilterPreset(static_cast<int>(value));
    return 1;
}

} // namespace commands

namespace commands
{

int ToggleFilerInformation(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CycleFilerInfoLayout();
    return 1;
}

} // namespace commands
