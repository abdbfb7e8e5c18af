// "@Filetime" and "@TimeAttribute": the times (and attributes) of the active pane's
// targets.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "fileops/dialogs/FileTimeDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"

// The two time commands: the dialog on the active filer pane's targets; OK reloads
// the panes by force, since a folder's times change nothing a re-check would see.
static void RunFileTimeDialog(CQvView& view, BOOL withAttributes)
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    if (g_Panes[index]->CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY |
                                   PANE_CHECK_NO_DOT_TARGET))
        return;
    CViewBusyGuard busy(view);
    INT_PTR result;
    int inside = g_CHANRGEATTINDIR;
    if (withAttributes)
    {
        CTimeAttributeDlg dialog(index, &view);
        dialog.m_bInside = inside;
        result = dialog.DoModal();
        inside = dialog.m_bInside;
    }
    else
    {
        CFileTimeDlg dialog(index, &view);
        dialog.m_bInside = inside;
        result = dialog.DoModal();
        inside = dialog.m_bInside;
    }
    if (result == IDOK)
    {
        g_CHANRGEATTINDIR = inside;
        view.ReloadPanes();
    }
    else
        view.ReloadFilerPanes();
}

VIEW_COMMAND(ChangeFileTime)
{
    RunFileTimeDialog(view, FALSE);
}

VIEW_COMMAND(ChangeTimeAndAttributes)
{
    RunFileTimeDialog(view, TRUE);
}
