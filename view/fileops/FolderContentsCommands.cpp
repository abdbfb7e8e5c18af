// "@Filesupdir" and "@Neglectdir": the selected folders' contents, or every file in
// their trees, moved into the folder the active pane shows, through a copy job.
#include "app/Directories.h"
#include "filer/FilerPane.h"
#include "filer/PaneSelection.h"
#include "fileops/copy/CopyJob.h"
#include "fileops/copy/MyCopyDlg.h"
#include "view/QvView.h"
#include "view/fileops/FileJobs.h"
#include "view/ViewBusyGuard.h"

namespace
{
void StartFolderContentsJob(CQvView& view, int kind)
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    CFilerPane* pane = g_Panes[index];
    if (pane->CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET))
        return;
    CViewBusyGuard busy(view);
    SetCurrentDir(pane->m_currentDir);
    CSelectedEntryList source;
    if (view.ShowSelectionError(GetPaneSelection(TARGET_ALLOW_VIRTUAL_DRIVE, index, source)))
        return;
    auto* dialog = new CMyCopyDlg();
    dialog->m_source = std::move(source);
    CQvView::SetPathWithBackslash(pane->m_currentDir, dialog->m_destinationText);
    dialog->m_kind = kind;
    dialog->m_sourcePane = index;
    ShowCopyDialog(view, dialog);
}
} // namespace

void CQvView::MoveFilesToParent()
{
    StartFolderContentsJob(*this, UP_MOVE);
}

void CQvView::ShowFilesOfSubdirectories()
{
    StartFolderContentsJob(*this, NEGLECT_DIR);
}
