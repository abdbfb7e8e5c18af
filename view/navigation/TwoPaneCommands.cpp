// "@Samedirectory", "@Sameotherdir", "@Changefilerdata", "@Changedevide", "@Downdevide",
// "@Updevide" and "@Wide": the commands on the two panes together, which set one pane
// from the other, exchange the panes, turn and move the split, and show or hide the
// second pane.
#include "app/Settings.h"
#include "filer/FilerPane.h"
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

// "@Wide": shows or hides the second pane.
void CQvView::OnSplitPanes()
{
    CViewBusyGuard busy(*this);
    if (FindPaneByMode(nullptr, PANE_POS_ACTIVE, PANE_MODES_GRAPHIC_VIEWERS, 0))
        return;
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        CFilerPane* other = g_Panes[1 - index];
        if (pane == nullptr || other == nullptr)
            continue;
        if (pane->m_position & PANE_POS_HIDDEN)
        {
            if (g_KEEP_FILER_INFO)
                pane->m_position = PANE_POS_ACTIVE;
            else
            {
                pane->SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
                pane->m_currentDir = other->m_currentDir;
                pane->m_sortSetting = other->m_sortSetting;
            }
            other->m_position = PANE_POS_OTHER;
            if (pane->m_mode == PANE_MODE_FILER && pane->m_subMode == PANE_SUB_DIRECTORY)
            {
                pane->ReadDirectory(TRUE);
                pane->SortEntries();
                pane->MoveCursor(0, TRUE);
            }
            break;
        }
        if (pane->m_position & PANE_POS_OTHER)
        {
            pane->CloseChangeNotification();
            if (!g_KEEP_FILER_INFO)
            {
                if (pane->m_mode == PANE_MODE_ARCHIVE)
                    pane->CloseArchiveListing(TRUE);
                if (pane->m_mode == PANE_MODE_BINARY && pane->m_binaryData != nullptr)
                    CloseBinaryEditor(index, MB_YESNO);
                pane->SetMode(PANE_POS_HIDDEN, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
            }
            else
                pane->m_position = PANE_POS_HIDDEN;
            break;
        }
    }
    UpdateMenuForMode();
    CalcLayout();
    busy.Release();
    if (m_hWnd)
        Invalidate(FALSE);
    UpdateAuxiliaryWindows();
}
