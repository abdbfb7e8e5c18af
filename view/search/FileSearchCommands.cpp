// The file search from the keys: the search window ("@Findfile", "@FindFileNewDlg"),
// the search whose finds the active pane lists ("@FindFileInWindow"), and the return
// to the finds of the last pane search ("@DispResultFindFile").
#include "app/Settings.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/settings/GeneralToolSettings.h"
#include "filer/FilerPane.h"
#include "framework/FwLock.h"
#include "fileops/find/FindFileDlg.h"
#include "res/FindDialogs.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"

namespace
{

// The folder a search starts in: the folder of a directory listing (a root with its
// backslash), or the cursor drive of the drive list. Empty for any other pane.
CString SearchStartFolder(const CFilerPane& pane)
{
    CString folder;
    if (pane.m_mode == PANE_MODE_FILER && pane.m_subMode == PANE_SUB_DIRECTORY)
        CQvView::SetPathWithBackslash(pane.m_currentDir, folder);
    else if (pane.m_mode == PANE_MODE_DRIVE_LIST && pane.m_cursor >= 0 &&
             pane.m_cursor < pane.m_driveList.GetSize())
    {
        const CDriveInfo& drive = pane.m_driveList[static_cast<INT_PTR>(pane.m_cursor)];
        // The network row and a virtual drive have no folder the system can walk.
        if (drive.m_kind != DRIVE_KIND_NETWORK_ROOT && drive.m_kind != DRIVE_KIND_VIRTUAL)
            folder.Format(L"%s\\", (LPCWSTR)drive.m_name);
    }
    return folder;
}

} // namespace

void CQvView::OpenFindFileDialog(int alwaysNew)
{
    CViewBusyGuard busy(*this);
    if (!alwaysNew)
    {
        CFindDialogBase* running = nullptr;
        {
            CHandleLock lock(m_hDialogListMutex);
            if (m_findDialogs.GetSize() > 0)
                running = m_findDialogs[0];
        }
        if (running != nullptr)
        {
            if (running->m_hWnd)
                running->SetFocus();
            return;
        }
    }
    const int index = GetActivePaneIndex();
    const CString folder = index >= 0 ? SearchStartFolder(*g_Panes[index]) : CString();
    // A search window nobody sees would still answer the next "@Findfile": it is made
    // only where it is shown.
    if (!folder.IsEmpty())
    {
        auto* dialog = new CFindFileDlg(0);
        dialog->m_paneIndex = index;
        dialog->m_baseDirectory = folder;
        AddFindDialog(dialog);
        g_SoundHooks.playCommandSound(L"FINDFILE");
        if (dialog->Create(IDD_FIND_FILE, GetDialogParent(DIALOG_PARENT_FIND_FILE)))
            dialog->ShowWindow(SW_SHOW);
        else
        {
            RemoveFindDialog(dialog);
            delete dialog;
        }
    }
}

// The pane switched to its finds under the filter "*.*", read and drawn.
static void ShowPaneFindResults(CQvView& view, int index)
{
    CFilerPane& pane = *g_Panes[index];
    pane.m_wildcard = L"*.*";
    pane.SetMode(0, PANE_MODE_FILER, PANE_SUB_FIND_RESULTS);
    pane.ReadDirectory(TRUE);
    pane.SortEntries();
    pane.MoveCursor(0, TRUE);
    view.CalcLayout();
    view.DrawPaneTitle(index);
    view.RedrawMovedPane(index, STATUS_PART_UPDATE);
}

void CQvView::FindFilesInPane()
{
    CViewBusyGuard busy(*this);
    int index = -1;
    if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY) ||
        FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_DRIVE_LIST, 0))
    {
        CFilerPane& pane = *g_Panes[index];
        CFindFileDlg dialog(1, DialogOwner(this));
        dialog.m_paneIndex = index;
        dialog.m_baseDirectory = SearchStartFolder(pane);
        if (!dialog.m_baseDirectory.IsEmpty() && dialog.DoModal() == IDOK)
        {
            if (pane.m_mode == PANE_MODE_DRIVE_LIST)
                pane.SetDirectory(dialog.m_baseDirectory, TRUE);
            ShowPaneFindResults(*this, index);
        }
    }
}

void CQvView::ShowFindResults()
{
    int index = -1;
    if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY))
        ShowPaneFindResults(*this, index);
}
