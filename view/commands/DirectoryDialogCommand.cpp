// "@Dirchangedlg": the active pane changes to a folder chosen in the shell's folder
// chooser.
#include "app/FolderChooser.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"
#include "view/status/StatusLine.h"

namespace commands
{

BOOL (*g_ChooseFolder)(CString& path, CWnd* owner, BOOL includeFiles) = BrowseForFolder;

int ChangeDirectoryByDialog(CQvView& view, const CommandCall&, INT_PTR)
{
    const int index = view.GetActivePaneIndex();
    if (index < 0 || g_Panes[index] == nullptr ||
        !(g_Panes[index]->m_mode &
          (PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK)))
        return 1;
    // A drive or network list has no folder of its own to start from.
    CString path;
    if (g_Panes[index]->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE))
        path = g_Panes[index]->m_currentDir;
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    if (g_ChooseFolder(path, &view, FALSE) && !path.IsEmpty())
        view.ChangePaneDirectory(index, path, PATH_VISIT_NAVIGATE, STATUS_PART_FULL, FALSE);
    view.StartBinaryCursorTimer();
    return 1;
}

} // namespace commands
