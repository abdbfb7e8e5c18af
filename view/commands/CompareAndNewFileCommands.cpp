// The commands that open the binary compare and the new-file dialogs on the active
// filer pane.
#include "archivefront/dialogs/PreviewReaderLock.h"
#include "filer/FilerPane.h"
#include "fileops/compare/CmpBinaryDlg.h"
#include "fileops/newfile/MakeNewFileDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

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

int CompareBinary(CQvView& view, const CommandCall&, INT_PTR)
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return 1;
    CFilerPane* pane = g_Panes[index];
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
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
        files[found++] = CompareFieldText(prefix, folder + L"\\" + entry.GetName());
    }
    {
        CPreviewReaderHold hold;
        CCmpBinaryDlg dialog(&view);
        dialog.m_file1 = files[0];
        dialog.m_file2 = files[1];
        dialog.m_workingDirectory = pane->IsOnVirtualDrive() ? CString() : folder;
        dialog.DoModal();
    }
    view.ReloadFilerPanes();
    view.StartBinaryCursorTimer();
    return 1;
}

int OpenNewFileListDialog(CQvView& view, const CommandCall&, INT_PTR)
{
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    int index = 0;
    if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY) &&
        !g_Panes[index]->IsOnVirtualDrive())
    {
        CMakeNewFileListDlg dialog(&view);
        if (dialog.DoModal() == IDOK && dialog.m_result >= 0)
            view.CreateNewFile(dialog.m_result);
        view.ReloadFilerPanes();
    }
    view.StartBinaryCursorTimer();
    return 1;
}

void OpenNewFileSettingsDialog(CQvView& view)
{
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    CMakeNewFileDlg dialog(&view);
    dialog.DoModal();
    view.StartBinaryCursorTimer();
}

} // namespace commands
