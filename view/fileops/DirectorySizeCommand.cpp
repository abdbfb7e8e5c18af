// "@Dirsize": the size survey of the active listing's target entries; with the
// continuous survey a cursor key moves the cursor and the survey opens again.
#include "fileops/dirsize/DirectorySize.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::OnDirectorySize()
{
    const int index = GetActivePaneIndex();
    if (PaneAt(index) == nullptr)
        return;
    if ((g_Panes[index]->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return;
    CViewBusyGuard busy(*this);
    for (;;)
    {
        if (g_Panes[index] == nullptr ||
            g_Panes[index]->CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY |
                                       PANE_CHECK_NO_DOT_TARGET))
            break;
        CDirectorySizeDlg dialog(this);
        dialog.m_paneIndex = index;
        if (dialog.DoModal() != IDOK || dialog.m_cursorKeyword.IsEmpty())
            break;
        ExecuteFilerCommand(dialog.m_cursorKeyword);
    }
}
