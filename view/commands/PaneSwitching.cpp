// Which pane is active, the switch between the panes, the directory jump of a
// binding, and the program text a filer binding may carry.
#include "app/Log.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"

int CQvView::GetActivePaneIndex() const
{
    for (int i = 0; i < 2; ++i)
        if (g_Panes[i] != nullptr && (g_Panes[i]->m_position & PANE_POS_ACTIVE) != 0)
            return i;
    return -1;
}

void CQvView::SwitchActivePane(int pane)
{
    int active = GetActivePaneIndex();
    int target = pane < 0 ? 1 - active : pane;
    if (active < 0 || target < 0 || target > 1 || target == active || g_Panes[target] == nullptr)
        return;
    // A picture holds the whole view's keys and drawing while it is shown.
    for (CFilerPane* each : g_Panes)
        if (each != nullptr && (each->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
            return;
    // A hidden pane cannot take the keys: the one shown stays active.
    if ((g_Panes[target]->m_position & PANE_POS_HIDDEN) != 0)
        return;
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    ClearSelectionAnchors();
    g_Panes[active]->m_position = PANE_POS_OTHER;
    g_Panes[target]->m_position = PANE_POS_ACTIVE;
    if (m_hWnd)
    {
        for (int i = 0; i < 2; ++i)
        {
            if (!IsPaneVisible(i))
                continue;
            DrawPaneTitle(i);
            DrawCursorLine(i, i == target);
        }
        DrawStatusLine(STATUS_PART_FULL);
    }
    UpdateMenuForMode();
    StartBinaryCursorTimer();
}

int CQvView::ChangeToEnvironmentPath(LPCWSTR path)
{
    int index = GetActivePaneIndex();
    if (index < 0 || path == nullptr || path[0] == 0)
        return 0;
    CFilerPane& pane = *g_Panes[index];
    if ((pane.m_mode & (PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK)) == 0)
        return 0;
    wchar_t expanded[MAX_PATH * 4];
    DWORD length =
        ExpandEnvironmentStringsW(path, expanded, static_cast<DWORD>(sizeof(expanded) / sizeof(expanded[0])));
    CString target =
        length > 0 && length <= sizeof(expanded) / sizeof(expanded[0]) ? CString(expanded) : CString(path);
    StopViewTimers(STOP_TIMERS_FOR_ACTION);
    ClearSelectionAnchors();
    pane.SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.ChangeDirectory(target, 1, FALSE, FALSE);
    if (m_hWnd && IsPaneVisible(index))
    {
        m_paneRedrawRequest[index] = 1;
        DrawPane(index);
        DrawMarks(index);
        DrawCursorLine(index, 1);
        DrawStatusLine(STATUS_PART_FULL);
    }
    UpdateMenuForMode();
    StartBinaryCursorTimer();
    return 1;
}

int CQvView::ExecuteBoundProgram(LPCWSTR text)
{
    // A bare keyword that no dispatcher knows names no program: nothing to run.
    if (text == nullptr || text[0] == 0 || text[0] == L'@')
        return 0;
    // PLACEHOLDER: the program runner (parameters, the Execute dialog of
    // "@Defaultexe", own plug-ins) comes with the command-line execution.
    WriteLog(nullptr, L"ExecuteBoundProgram: この操作はまだ実装されていないため何もしません (%s)", text);
    return 0;
}
