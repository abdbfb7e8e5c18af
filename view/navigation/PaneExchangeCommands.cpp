// "@Samedirectory", "@Sameotherdir", "@Changefilerdata", "@Changedevide",
// "@Downdevide", "@Updevide", "@Filetime" and "@TimeAttribute": the commands that set one pane
// from the other, exchange the panes, turn and move the split, and change the times of the
// active pane's targets.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "fileops/dialogs/FileTimeDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"

// With both the active and the other pane in filer mode, both remember their cursor,
// then the other pane shows the active one's folder (toOther) or the active pane the
// other one's.
static void ShowFolderOfPane(CQvView& view, bool toOther)
{
    int active = 0;
    int other = 0;
    if (!FindPaneByMode(&active, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF) ||
        !FindPaneByMode(&other, PANE_POS_OTHER, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    const int to = toOther ? other : active;
    CFilerPane* source = g_Panes[toOther ? active : other];
    CFilerPane* target = g_Panes[to];
    source->SaveCursorPosition();
    target->SaveCursorPosition();
    CString path = source->m_currentDir;
    if (path.IsEmpty() || path[path.GetLength() - 1] != L'\\')
        path += L"\\";
    target->ChangeDirectory(path, 1, FALSE, FALSE);
    target->MoveCursor(0, FALSE);
    view.DrawPaneTitle(to);
    view.DrawPane(to);
}

VIEW_COMMAND(SetOtherToSameDirectory)
{
    ShowFolderOfPane(view, true);
}

VIEW_COMMAND(SetToOtherDirectory)
{
    ShowFolderOfPane(view, false);
}

// The pane index a follower names after the panes changed sides.
static int OtherSide(int index)
{
    return index == 0 ? 1 : index == 1 ? 0 : index;
}

VIEW_COMMAND(ToggleOtherPaneContent)
{
    for (CFilerPane* pane : g_Panes)
        if (pane == nullptr || (pane->m_mode & PANE_MODES_GRAPHIC_VIEWERS) ||
            !(pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)))
            return;
    CFilerPane* first = g_Panes[0];
    g_Panes[0] = g_Panes[1];
    g_Panes[1] = first;
    g_UP_WINDOW_ADD_LINE = -g_UP_WINDOW_ADD_LINE;
    view.m_nCompanionPane = OtherSide(view.m_nCompanionPane);
    view.m_previews.followingPane = OtherSide(view.m_previews.followingPane);
    if (view.m_hWnd)
        view.Invalidate();
}

// "@Downdevide" (+1) and "@Updevide" (-1): a picture pane keeps its size, and with
// one pane hidden there is no split to move; the layout keeps the line inside the
// view.
void CQvView::MoveSplitter(int delta)
{
    for (CFilerPane* pane : g_Panes)
        if (pane == nullptr || (pane->m_mode & PANE_MODES_GRAPHIC_VIEWERS) ||
            !(pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)))
            return;
    g_UP_WINDOW_ADD_LINE += delta;
    CalcLayout();
    if (m_hWnd)
        Invalidate();
}

VIEW_COMMAND(ToggleSplitDirection)
{
    g_WINDOWDEVIDEWAY = g_WINDOWDEVIDEWAY ? 0 : 1;
    view.CalcLayout();
    if (view.m_hWnd)
        view.Invalidate();
}

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
