// "@Samedirectory", "@Sameotherdir", "@Changefilerdata", "@Changedevide",
// "@Downdevide", "@Updevide", "@Filetime" and "@TimeAttribute": the commands that set one pane
// from the other, exchange the panes, turn and move the split, and change the times of the
// active pane's targets.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "fileops/dialogs/FileTimeDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

// Both filer panes remember their cursor, then pane `to` shows the folder of pane
// `from`.
static void ShowFolderOfPane(CQvView& view, int from, int to)
{
    CFilerPane* source = g_Panes[from];
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

int SetOtherToSameDirectory(CQvView& view, const CommandCall&, INT_PTR)
{
    int active = 0;
    int other = 0;
    if (!FindPaneByMode(&active, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF) ||
        !FindPaneByMode(&other, PANE_POS_OTHER, PANE_MODE_FILER, 0xFFFFFFFF))
        return 1;
    ShowFolderOfPane(view, active, other);
    return 1;
}

int SetActiveToOtherDirectory(CQvView& view, const CommandCall&, INT_PTR)
{
    int active = 0;
    int other = 0;
    if (!FindPaneByMode(&active, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF) ||
        !FindPaneByMode(&other, PANE_POS_OTHER, PANE_MODE_FILER, 0xFFFFFFFF))
        return 1;
    ShowFolderOfPane(view, other, active);
    return 1;
}

// "@Sameotherdir" runs what its menu item runs.
int SetToOtherDirectory(CQvView& view, const CommandCall& call, INT_PTR value)
{
    return SetActiveToOtherDirectory(view, call, value);
}

// The pane index a follower names after the panes changed sides.
static int OtherSide(int index)
{
    return index == 0 ? 1 : index == 1 ? 0 : index;
}

int ToggleOtherPaneContent(CQvView& view, const CommandCall&, INT_PTR)
{
    for (CFilerPane* pane : g_Panes)
        if (pane == nullptr || (pane->m_mode & PANE_MODES_GRAPHIC_VIEWERS) ||
            !(pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)))
            return 1;
    CFilerPane* first = g_Panes[0];
    g_Panes[0] = g_Panes[1];
    g_Panes[1] = first;
    g_UP_WINDOW_ADD_LINE = -g_UP_WINDOW_ADD_LINE;
    view.m_nCompanionPane = OtherSide(view.m_nCompanionPane);
    view.m_previews.otherAlwaysDirectoryPane = OtherSide(view.m_previews.otherAlwaysDirectoryPane);
    if (view.m_hWnd)
        view.Invalidate();
    return 1;
}

// "@Downdevide" (+1) and "@Updevide" (-1): a picture pane keeps its size, and with
// one pane hidden there is no split to move; the layout keeps the line inside the
// view.
int MoveSplitter(CQvView& view, const CommandCall&, INT_PTR delta)
{
    for (CFilerPane* pane : g_Panes)
        if (pane == nullptr || (pane->m_mode & PANE_MODES_GRAPHIC_VIEWERS) ||
            !(pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)))
            return 1;
    g_UP_WINDOW_ADD_LINE += static_cast<int>(delta);
    view.CalcLayout();
    if (view.m_hWnd)
        view.Invalidate();
    return 1;
}

int ToggleSplitDirection(CQvView& view, const CommandCall&, INT_PTR)
{
    g_WINDOWDEVIDEWAY = g_WINDOWDEVIDEWAY ? 0 : 1;
    view.CalcLayout();
    if (view.m_hWnd)
        view.Invalidate();
    return 1;
}

// The two time commands: the dialog on the active filer pane's targets; OK reloads
// the panes by force, since a folder's times change nothing a re-check would see.
static int RunFileTimeDialog(CQvView& view, BOOL withAttributes)
{
    int index = 0;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return 1;
    if (g_Panes[index]->CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY |
                                   PANE_CHECK_NO_DOT_TARGET))
        return 1;
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
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
        CommandCall reload = {L"@Manualreload", L""};
        ReloadPanes(view, reload, 0);
    }
    else
        view.ReloadFilerPanes();
    view.StartBinaryCursorTimer();
    return 1;
}

int ChangeFileTime(CQvView& view, const CommandCall&, INT_PTR)
{
    return RunFileTimeDialog(view, FALSE);
}

int ChangeTimeAndAttributes(CQvView& view, const CommandCall&, INT_PTR)
{
    return RunFileTimeDialog(view, TRUE);
}

} // namespace commands
