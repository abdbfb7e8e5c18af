// The keywords that move a pane, mark its entries and switch the searches.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int OpenCursorEntry(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OpenCursorEntry(1, 0);
    return 1;
}

int SelectCursorEntryOnly(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OpenCursorEntry(1, 1);
    return 1;
}

int GoParentDirectory(CQvView& view, const CommandCall&, INT_PTR)
{
    view.GoParentDirectory();
    return 1;
}

int ChangeDrive(CQvView& view, const CommandCall&, INT_PTR letter)
{
    view.ChangeDrive(static_cast<wchar_t>(letter));
    return 1;
}

int ShowDriveList(CQvView& view, const CommandCall&, INT_PTR)
{
    int index = view.GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & PANE_MODES_LISTS) == 0)
        return 1;
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CString current = g_Panes[index]->m_mode == PANE_MODE_FILER ? g_Panes[index]->m_currentDir : CString();
    view.ShowDriveListAt(index, current);
    view.StartBinaryCursorTimer();
    return 1;
}

int ShowNetwork(CQvView& view, const CommandCall&, INT_PTR)
{
    int index = view.GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & PANE_MODES_LISTS) == 0)
        return 1;
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    view.ShowNetworkList(index);
    view.StartBinaryCursorTimer();
    return 1;
}

int GoPreviousDirectory(CQvView& view, const CommandCall&, INT_PTR)
{
    view.GoPathHistory(1);
    return 1;
}

int GoNextDirectory(CQvView& view, const CommandCall&, INT_PTR)
{
    view.GoPathHistory(0);
    return 1;
}

int MarkCursorEntry(CQvView& view, const CommandCall&, INT_PTR)
{
    view.MarkCursorEntry(1, 1);
    return 1;
}

int SelectByOtherPane(CQvView& view, const CommandCall&, INT_PTR kind)
{
    view.SelectByOtherPane(static_cast<int>(kind));
    return 1;
}

int SetIncrementalSearchMode(CQvView& view, const CommandCall&, INT_PTR mode)
{
    view.ToggleIncrementalSearchMode(static_cast<int>(mode));
    return 1;
}

int BackIncrementalSearch(CQvView& view, const CommandCall&, INT_PTR)
{
    view.BackIncrementalSearch();
    return 1;
}

} // namespace commands
