// The companion viewer: while it is on, the other pane shows the file under the
// filer's cursor as a text and follows the cursor from file to file.
#include "app/Settings.h"
#include "app/settings/ViewerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"

namespace
{
// The layouts that give the whole window to one pane while the other shows a viewer
// would hide the companion: there is none there.
bool CanShowCompanion(int index)
{
    if (PaneAt(index) == nullptr)
        return false;
    if ((g_WINDOWDEVIDEWAY && !g_DEVICE_H_DISP_ALL_MODE_DEVICE) || g_DISPLAY_FULL_SCREEN_NOT_FILER)
        return false;
    return (g_Panes[index]->m_position & PANE_POS_HIDDEN) == 0;
}
} // namespace

void CQvView::ShowCompanionViewer()
{
    const int index = m_nCompanionPane;
    const int active = GetActivePaneIndex();
    if (index < 0 || index > 1 || active < 0 || active == index || !CanShowCompanion(index))
        return;
    CFilerPane& filer = *g_Panes[active];
    if (filer.m_mode != PANE_MODE_FILER)
        return;
    StopViewTimers(VIEW_TIMER_DRAG_SCROLL);
    StopViewTimers(VIEW_TIMER_TEXT_SCROLL);
    if (filer.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_CURSOR_NOT_DOT))
        return;
    CFileInfo entry;
    if (!filer.GetTargetEntry(TARGET_ALLOW_VIRTUAL_DRIVE | TARGET_CURSOR_ONLY, 0, entry))
        return;
    if (entry.m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return;
    CFilerPane& pane = *g_Panes[index];
    // The same file stays where the user scrolled it.
    if ((pane.m_mode & PANE_MODE_TEXT_VIEWER) != 0 && pane.m_viewer != nullptr &&
        pane.m_viewerEntry.GetRealFullPath().CompareNoCase(entry.GetRealFullPath()) == 0)
        return;
    pane.SetMode(PANE_POS_OTHER, PANE_MODE_TEXT_VIEWER, PANE_SUB_DIRECTORY);
    pane.m_bHexDisplay = FALSE;
    pane.ReleaseViewerData();
    if (!pane.OpenViewerFile(entry, static_cast<LONGLONG>(g_GETVIEWMEM) * 1000, g_TABCARAMES, g_VIEWCHARWIDE,
                             PANE_MODE_TEXT_VIEWER))
    {
        pane.ReleaseViewerData();
        pane.m_viewerEntry = CFileInfo();
    }
    if (m_hWnd && IsPaneVisible(index))
    {
        CalcLayout();
        m_paneRedrawRequest[index] = 1;
        DrawPane(index);
    }
}

void CQvView::ToggleCompanionViewer()
{
    if (m_nCompanionPane >= 0)
    {
        // The pane keeps the text it shows; it no longer follows the cursor.
        m_nCompanionPane = -1;
        return;
    }
    const int active = GetActivePaneIndex();
    if (active < 0 || g_Panes[active]->m_mode != PANE_MODE_FILER || !CanShowCompanion(1 - active))
        return;
    m_nCompanionPane = 1 - active;
    StopViewTimers(VIEW_TIMER_DRAG_SCROLL);
    StopViewTimers(VIEW_TIMER_TEXT_SCROLL);
    ShowCompanionViewer();
    if (m_hWnd)
        Invalidate();
}
