// Which pane is active, the switch between the panes, the directory jump of a
// binding, and the program text a filer binding may carry.
#include "util/Log.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

int CQvView::GetActivePaneIndex() const
{
    for (int i = 0; i < 2; ++i)
        if (g_Panes[i] != nullptr && (g_Panes[i]->m_position & PANE_POS_ACTIVE) != 0)
            return i;
    return -1;
}

namespace
{

// The frame's caption names what the active pane shows.
CString ActivePaneCaption(CFilerPane& pane)
{
    if ((pane.m_mode & PANE_MODE_FILER) != 0)
    {
        pane.SyncProcessDirectory();
        return pane.m_currentDir;
    }
    if ((pane.m_mode & (PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER | PANE_MODE_BINARY)) != 0)
        return pane.m_viewerEntry.GetName();
    if ((pane.m_mode & PANE_MODE_DRIVE_LIST) != 0)
        return L"論理ドライブリスト";
    if ((pane.m_mode & PANE_MODE_NETWORK) != 0)
        return pane.m_networkPath;
    if ((pane.m_mode & PANE_MODE_ARCHIVE) != 0)
    {
        CString archive;
        pane.m_archive->GetArchivePath(archive);
        if (!archive.IsEmpty())
            return archive;
    }
    return pane.m_currentDir;
}

} // namespace

void CQvView::SwitchActivePane(int cursorIndex)
{
    CViewBusyGuard busy(*this);
    // A picture holds the whole view's keys and drawing while it is shown.
    for (CFilerPane* each : g_Panes)
        if (each != nullptr && (each->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
            return;
    int oldIndex = GetActivePaneIndex();
    int newIndex = -1;
    BOOL fromHidden = FALSE;
    for (int i = 0; i < 2; ++i)
        if (g_Panes[i] != nullptr && (g_Panes[i]->m_position & PANE_POS_HIDDEN) != 0)
        {
            newIndex = i;
            fromHidden = TRUE;
        }
    if (!fromHidden)
        for (int i = 0; i < 2; ++i)
            if (g_Panes[i] != nullptr && (g_Panes[i]->m_position & PANE_POS_OTHER) != 0)
                newIndex = i;
    if (oldIndex < 0 || newIndex < 0 || newIndex == oldIndex)
        return;
    ClearSelectionAnchors();
    CFilerPane& oldPane = *g_Panes[oldIndex];
    CFilerPane& newPane = *g_Panes[newIndex];
    const int shownBefore[2] = {IsPaneVisible(0), IsPaneVisible(1)};
    if (fromHidden && !g_KEEP_FILER_INFO)
    {
        // The pane that was not shown has nothing of its own worth keeping: it opens
        // where the user is and sorts the same way.
        newPane.SetDirectory(oldPane.m_currentDir, FALSE);
        newPane.m_sortSetting = oldPane.m_sortSetting;
        newPane.SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    }
    newPane.m_position = PANE_POS_ACTIVE;
    oldPane.m_position = PANE_POS_OTHER;

    CString caption = ActivePaneCaption(newPane);
    // The frame shows the caption with the program's suffix.
    if (CDocument* document = GetDocument())
        document->SetTitle(caption);
    constexpr UINT kListModes =
        PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK;
    if (cursorIndex != -1 && (newPane.m_mode & kListModes) != 0)
    {
        // A caller's index may be from a longer list than the pane holds now.
        INT_PTR count = newPane.GetEntryCount();
        newPane.m_cursor =
            cursorIndex < 0 ? 0 : (cursorIndex < count ? cursorIndex : (count > 0 ? count - 1 : 0));
    }

    // The pane left behind shows no focus: its text selection and its editing caret
    // are drawn only in the active pane.
    if (m_hWnd && IsPaneVisible(oldIndex))
    {
        const ViewerSelection& selection = m_viewer.selection;
        if ((oldPane.m_mode & PANE_MODES_TEXT_VIEWERS) != 0 && (selection.active || selection.dragging))
            RedrawViewerSpan(oldIndex, selection.anchor, selection.end);
        else if (oldPane.m_mode == PANE_MODE_BINARY)
            DrawBinaryPane(oldIndex, 2);
    }

    if (fromHidden)
    {
        // A kept archive listing is listed again from its archive, not from the
        // folder the archive lies in.
        if (newPane.m_mode == PANE_MODE_ARCHIVE)
            newPane.ReloadArchiveListing();
        else if ((newPane.m_mode & PANE_MODE_FILER) != 0)
        {
            newPane.ReadDirectory(TRUE);
            newPane.SortEntries();
        }
        else if (newPane.m_mode == PANE_MODE_NETWORK)
        {
            // The network is asked again at the level the pane shows; the cursor
            // stays on its row.
            const INT64 cursor = newPane.m_cursor;
            const INT64 first = newPane.m_firstVisible;
            newPane.ReadNetworkResources();
            newPane.m_cursor = cursor;
            newPane.m_firstVisible = first;
        }
        else if (newPane.m_mode == PANE_MODE_DRIVE_LIST)
            newPane.ReadDriveList();
        CalcLayout();
        newPane.MoveCursor(0, TRUE);
        oldPane.MoveCursor(0, TRUE);
    }
    // Where a viewer or a search result takes the whole view, the pane that is shown
    // follows the active one: the screen changes as a whole, and the keys must act on
    // the pane the user sees.
    const bool repaint =
        !fromHidden && (shownBefore[0] != IsPaneVisible(0) || shownBefore[1] != IsPaneVisible(1));
    if (repaint)
        CalcLayout();
    if (m_hWnd)
    {
        for (int i = 0; i < 2; ++i)
        {
            if (!IsPaneVisible(i))
                continue;
            if (fromHidden)
            {
                m_paneRedrawRequest[i] = 1;
                DrawPaneTitle(i);
                DrawPane(i);
            }
            {
                CClientDC dc(this);
                HGDIOBJ oldFont =
                    m_viewFont.GetSafeHandle() ? dc.SelectObject(m_viewFont.GetSafeHandle()) : nullptr;
                DrawPaneCursorMark(&dc, i);
                if (oldFont)
                    dc.SelectObject(oldFont);
            }
            // A viewer pane keeps the list it was opened from; its rows must not be
            // drawn over the text.
            if ((g_Panes[i]->m_mode & kListModes) == 0)
                continue;
            DrawMarks(i);
            DrawCursorLine(i, i == newIndex);
        }
        DrawStatusLine(STATUS_PART_FULL);
        UpdateImeWindowPos();
        if (repaint)
            Invalidate();
    }
    UpdateMenuForMode();
    UpdateAuxiliaryWindows();
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
    CViewBusyGuard busy(*this);
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
    UpdateAuxiliaryWindows();
    return 1;
}
