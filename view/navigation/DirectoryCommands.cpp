// The directory keywords of the filer panes: the jump key, the reload, the drive and
// network lists, "@Rootdirectory" (the root of the drive or share), "@Dirhistory" (a
// visited directory) and "@Dirchangedlg" (a folder from the shell's folder chooser).
#include "view/QvView.h"
#include "view/navigation/NetworkNavigation.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"
#include "filer/FilerPane.h"
#include "util/PathHelpers.h"
#include "view/status/StatusLine.h"
#include "filer/DirHistoryDlg.h"
#include "app/FolderChooser.h"
#include "view/shell/ShellSeam.h"

VIEW_COMMAND(ArmJumpKey)
{
    view.m_bJumpKeyArmed = 1;
}

void CQvView::ReloadPanes()
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    CViewBusyGuard busy(*this);
    // Read whole, whatever the change check believes: a network folder or a
    // changed file time may escape it.
    CFilerPane& pane = *g_Panes[index];
    pane.ReadDirectory(TRUE);
    pane.SortEntries();
    pane.MoveCursor(0, TRUE);
    RedrawMovedPane(index, STATUS_PART_FULL);
}

VIEW_COMMAND(ShowDriveList)
{
    int index = view.GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & PANE_MODES_LISTS) == 0)
        return;
    CViewBusyGuard busy(view);
    CString current = g_Panes[index]->m_mode == PANE_MODE_FILER ? g_Panes[index]->m_currentDir : CString();
    view.ShowDriveListAt(index, current);
}

VIEW_COMMAND(ShowNetwork)
{
    int index = view.GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & PANE_MODES_LISTS) == 0)
        return;
    CViewBusyGuard busy(view);
    ShowNetworkList(view, index);
}

VIEW_COMMAND(GoRootDirectory)
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    CString root;
    if (!GetPathRoot(g_Panes[index]->m_currentDir, root))
        return;
    if (!root.IsEmpty() && root[root.GetLength() - 1] == L'\\')
        root = root.Left(root.GetLength() - 1);
    root += L"\\";
    CViewBusyGuard busy(view);
    view.ChangePaneDirectory(index, root, 1, STATUS_PART_FULL, FALSE);
}

VIEW_COMMAND(ShowDirectoryHistory)
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    CViewBusyGuard busy(view);
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
}

ShellDialogSeam g_ShellDialogSeam = {ShellExecuteExW, BrowseForFolder};

VIEW_COMMAND(ChangeDirectoryByDialog)
{
    const int index = view.GetActivePaneIndex();
    if (index < 0 || g_Panes[index] == nullptr ||
        !(g_Panes[index]->m_mode &
          (PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK)))
        return;
    // A drive or network list has no folder of its own to start from.
    CString path;
    if (g_Panes[index]->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE))
        path = g_Panes[index]->m_currentDir;
    CViewBusyGuard busy(view);
    if (g_ShellDialogSeam.chooseFolder(path, &view, FALSE) && !path.IsEmpty())
        view.ChangePaneDirectory(index, path, PATH_VISIT_NAVIGATE, STATUS_PART_FULL, FALSE);
}
