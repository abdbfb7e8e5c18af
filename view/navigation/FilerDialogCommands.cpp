// The commands that open the filer's own dialogs on the active pane: the jump
// directories, the directory and drive trees, the file list and the move to a typed
// directory.
#include "util/PathHelpers.h"
#include "util/StringHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/settings/FilerSettings.h"
#include "filer/DirTreeStore.h"
#include "filer/FilerPane.h"
#include "filer/dialogs/DirtreeDlg.h"
#include "filer/dialogs/FileListDlg.h"
#include "filer/dialogs/JumpDirectoryDlg.h"
#include "filer/dialogs/LogDiskDlg.h"
#include "res/FilerDialogs.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"
#include "view/status/StatusLine.h"

namespace
{
// The active pane when it lists a directory or an archive; else null.
CFilerPane* ActiveListing(CQvView& view, int& index)
{
    index = view.GetActivePaneIndex();
    if (PaneAt(index) == nullptr)
        return nullptr;
    CFilerPane* pane = g_Panes[index];
    return (pane->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) != 0 ? pane : nullptr;
}

// A bare drive root is shown with its one backslash.
CString WithRootBackslash(const CString& path)
{
    if (path.GetLength() == 2 && path[1] == L':')
        return path + L"\\";
    return path;
}

void RunTreeDialog(CQvView& view, BOOL driveRoot)
{
    int index = -1;
    CFilerPane* pane = ActiveListing(view, index);
    // Search results gather entries from many folders: the folder the pane names is
    // only where the search began, not what the list shows. A drive that went away
    // has no tree to read.
    if (pane == nullptr || pane->m_subMode != PANE_SUB_DIRECTORY ||
        pane->CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_DRIVE_PRESENT))
        return;
    CViewBusyGuard busy(view);
    CString root = pane->m_currentDir;
    IPaneArchive* owner = pane->m_mode == PANE_MODE_ARCHIVE ? pane->m_archive : nullptr;
    if (owner != nullptr)
        root = owner->GetCurrentFolder();
    // The tree's root carries no trailing backslash; a drive root is "X:". The drive
    // tree of an archive listing is the tree of the whole archive.
    CString shareRoot;
    if (driveRoot && owner != nullptr)
        root.Empty();
    else if (driveRoot && root.Left(2) == L"\\\\")
    {
        // A network folder's tree starts at its share.
        if (!GetPathRoot(root, shareRoot))
            return;
        root = shareRoot;
        while (root.GetLength() > 2 && root[root.GetLength() - 1] == L'\\')
            root = root.Left(root.GetLength() - 1);
    }
    else if (root.GetLength() >= 2 && root[1] == L':' && (driveRoot || root.GetLength() == 3))
        root = root.Left(2);
    else if (root.GetLength() > 3 && root[root.GetLength() - 1] == L'\\')
        root = root.Left(root.GetLength() - 1);
    g_DirTreeStore.m_root.SetFromPath(owner, root);
    CDirtreeDlg dialog(&view);
    if (dialog.DoModal() != IDC_DIR_TREE_JUMP)
        return;
    if (owner != nullptr)
        view.OpenArchiveFolder(index, g_DirTreeStore.m_resultPath, nullptr);
    else if (!g_DirTreeStore.m_resultPath.IsEmpty())
        view.ChangePaneDirectory(index, WithRootBackslash(g_DirTreeStore.m_resultPath), 1, STATUS_PART_FULL,
                                 FALSE);
}
} // namespace

VIEW_COMMAND(JumpToDirectory)
{
    int index = view.GetActivePaneIndex();
    if (PaneAt(index) == nullptr)
        return;
    CViewBusyGuard busy(view);
    g_SoundHooks.playCommandSound(L"JUMPDIR");
    CJumpDirectoryDlg dialog(&view);
    dialog.m_pPane = g_Panes[index];
    const INT_PTR result = dialog.DoModal();
    if ((result == IDOK || result == IDC_JUMP_TO_LOCATION) && dialog.m_resultGroup >= 0 &&
        dialog.m_resultGroup < g_JumpGroups.GetSize() &&
        dialog.m_resultEntry < g_JumpGroups[dialog.m_resultGroup].m_entries.GetSize())
    {
        CString target;
        ExpandEnvironmentString(
            target, g_JumpGroups[dialog.m_resultGroup].m_entries[dialog.m_resultEntry].m_directory);
        if (result == IDC_JUMP_TO_LOCATION)
            view.OpenPathInPane(index, target);
        else
            // A file opens its directory with the cursor on it.
            view.ChangePaneDirectory(index, WithRootBackslash(target), 1, STATUS_PART_FULL, TRUE);
    }
}

VIEW_COMMAND(ShowDirectoryTree)
{
    RunTreeDialog(view, FALSE);
}

VIEW_COMMAND(ShowDriveTree)
{
    RunTreeDialog(view, TRUE);
}

VIEW_COMMAND(WriteFileList)
{
    int index = -1;
    CFilerPane* pane = ActiveListing(view, index);
    if (pane == nullptr || pane->CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_DRIVE_PRESENT))
        return;
    CViewBusyGuard busy(view);
    CFileListDlg dialog(&view);
    dialog.m_paneNumber = index;
    dialog.DoModal();
}

VIEW_COMMAND(ChangeDirectoryByName)
{
    int index = view.GetActivePaneIndex();
    if (index < 0 || g_Panes[index] == nullptr ||
        (g_Panes[index]->m_mode &
         (PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK)) == 0)
        return;
    CViewBusyGuard busy(view);
    CLogDiskDlg dialog(&view);
    dialog.m_baseDirectory = g_Panes[index]->m_currentDir;
    dialog.m_paneNumber = index;
    g_SoundHooks.playCommandSound(L"DIRCHANGE");
    if (dialog.DoModal() == IDOK)
    {
        // A "file:" address dropped or pasted from a browser names a local path.
        CString typed;
        FileUrlToPath(typed, dialog.m_result);
        CString target, message;
        if (!ResolveLogDiskTarget(dialog.m_baseDirectory, typed, target, message))
            Tell(&view, message);
        else if (!target.IsEmpty())
            view.ChangePaneDirectory(index, WithRootBackslash(target), 1, STATUS_PART_FULL, FALSE);
    }
}
