// The commands that open the binary compare and the new-file dialogs on the active
// filer pane.
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "filer/FilerPane.h"
#include "fileops/compare/CmpBinaryDlg.h"
#include "fileops/newfile/MakeNewFileDlg.h"
#include "view/QvView.h"
#include "view/fileops/CompareAndNewFileCommands.h"
#include "view/media/SoundHooks.h"
#include "view/ViewBusyGuard.h"

// A file inside the folder is shown by its bare name; the folder becomes the
// worker's current directory, so the name still reaches it.
CString CompareFieldText(const CString& prefix, const CString& path)
{
    if (!prefix.IsEmpty() && path.GetLength() > prefix.GetLength() &&
        path.Left(prefix.GetLength()).CompareNoCase(prefix) == 0 &&
        path.Mid(prefix.GetLength()).Find(L'\\') < 0)
        return path.Mid(prefix.GetLength());
    return path;
}

void CQvView::CompareBinary()
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    CFilerPane* pane = g_Panes[index];
    CViewBusyGuard busy(*this);
    CString folder = pane->m_currentDir;
    while (!folder.IsEmpty() && folder[folder.GetLength() - 1] == L'\\')
        folder = folder.Left(folder.GetLength() - 1);
    const CString prefix = pane->IsOnVirtualDrive() ? CString() : folder + L"\\";
    CString files[2];
    int found = 0;
    pane->ResetTargetIteration();
    CFileInfo entry;
    for (int n = 0; found < 2 && pane->GetTargetEntry(0, n, entry); ++n)
    {
        if (entry.IsDirectory())
            continue;
        // A found file lies in its own folder.
        files[found++] = CompareFieldText(prefix, entry.GetFullPath());
    }
    {
        CPreviewReaderHold hold;
        CCmpBinaryDlg dialog(this);
        dialog.m_file1 = files[0];
        dialog.m_file2 = files[1];
        dialog.m_workingDirectory = pane->IsOnVirtualDrive() ? CString() : folder;
        g_SoundHooks.playCommandSound(L"CMP_BINARY");
        dialog.DoModal();
    }
    ReloadFilerPanes();
}

void CQvView::OpenNewFileListDialog()
{
    CViewBusyGuard busy(*this);
    int index = 0;
    if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY) &&
        !g_Panes[index]->IsOnVirtualDrive())
    {
        CMakeNewFileListDlg dialog(this);
        if (dialog.DoModal() == IDOK && dialog.m_result >= 0)
            CreateNewFile(dialog.m_result);
        ReloadFilerPanes();
    }
}

void CQvView::OpenNewFileSettingsDialog()
{
    CViewBusyGuard busy(*this);
    CMakeNewFileDlg dialog(this);
    // The kinds are items of the menu bar's 新規作成: a kind made here is offered at once.
    if (dialog.DoModal() == IDOK)
    {
        m_menus.shownMenuId = 0;
        UpdateMenuForMode();
    }
}
