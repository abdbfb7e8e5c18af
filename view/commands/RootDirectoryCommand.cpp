// "@Rootdirectory": the active filer pane moves to the root of its drive or share.
#include "util/PathHelpers.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/status/StatusLine.h"

namespace commands
{

int GoRootDirectory(CQvView& view, const CommandCall&, INT_PTR)
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return 1;
    CString root;
    if (!GetPathRoot(g_Panes[index]->m_currentDir, root))
        return 1;
    if (!root.IsEmpty() && root[root.GetLength() - 1] == L'\\')
        root = root.Left(root.GetLength() - 1);
    root += L"\\";
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    view.ChangePaneDirectory(index, root, 1, STATUS_PART_FULL, FALSE);
    view.StartBinaryCursorTimer();
    return 1;
}

} // namespace commands
