// "@Dirhistory": a directory chosen from the visited ones becomes the active
// filer pane's directory.
#include "util/PathHelpers.h"
#include "filer/DirHistoryDlg.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/status/StatusLine.h"

namespace commands
{

int ShowDirectoryHistory(CQvView& view, const CommandCall&, INT_PTR)
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return 1;
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CDirHistoryDlg dialog(&view);
    if (dialog.DoModal() == IDOK && !dialog.m_resultPath.IsEmpty())
    {
        CString path = dialog.m_resultPath;
        // The history may hold a root as "C:" or "C:\\"; without its one backslash
        // a bare drive names that drive's current directory, not its root.
        if (IsPathRoot(path))
        {
            while (!path.IsEmpty() && path[path.GetLength() - 1] == L'\\')
                path.Delete(path.GetLength() - 1);
            path += L'\\';
        }
        view.ChangePaneDirectory(index, path, PATH_VISIT_NAVIGATE, STATUS_PART_FULL, FALSE);
    }
    view.StartBinaryCursorTimer();
    return 1;
}

} // namespace commands
