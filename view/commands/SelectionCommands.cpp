// Marks of the filer panes that act already.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int SelectEntries(CQvView& view, const CommandCall&, INT_PTR value)
{
    int index = view.GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return 1;
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    g_Panes[index]->MarkAll(static_cast<int>(value));
    if (view.m_hWnd)
    {
        view.m_paneRedrawRequest[index] = 1;
        view.DrawPane(index);
        view.DrawMarks(index);
        view.DrawCursorLine(index, 1);
        view.DrawStatusLine(STATUS_PART_UPDATE);
    }
    view.StartBinaryCursorTimer();
    return 1;
}

} // namespace commands
