// Filer panes shown as thumbnails: the view's side of the preview loader (its
// creation, start and stop, the panes' hooks into it), the commands that switch a
// folder's previews, the redraw of arrived thumbnails, and the other pane that
// follows the directory under the cursor.
#include "view/graphic/PreviewPanes.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"

int IsLoaderPreviewDirectory(LPCWSTR directory)
{
    return g_pLoadPreviewThread != nullptr && directory != nullptr &&
                   g_pLoadPreviewThread->IsPreviewDirectory(directory)
               ? 1
               : 0;
}

int IsLoaderDisplayedKind(LPCWSTR name)
{
    return g_pLoadPreviewThread != nullptr && name != nullptr && g_pLoadPreviewThread->IsDisplayedKind(name)
               ? 1
               : 0;
}

void QueuePanePreviews(CFilerPane& pane)
{
    CLoadPreviewThread* loader = g_pLoadPreviewThread;
    if (loader == nullptr || pane.m_paneNumber > 1)
        return;
    const int queueKind = pane.IsOnVirtualDrive() ? 2 : 1;
    loader->AcquireReaderLock();
    loader->SetPaneFolder(int(pane.m_paneNumber), pane.m_currentDir);
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = pane.m_entries[i];
        // Entries that carry a listing directory of their own (a virtual drive's) are
        // read from there.
        const CString ownDirectory =
            entry.m_source == ENTRY_SOURCE_VIRTUAL ? entry.GetDirectory() : CString();
        loader->QueueEntry(queueKind, entry.GetRealDirectory(FALSE), entry.m_findData.ToFindData(),
                           ownDirectory);
    }
    loader->EndQueueing();
    loader->ReleaseReaderLock();
}

namespace
{
bool IsDirectoryListing(const CFilerPane* pane)
{
    return pane != nullptr && pane->m_mode == PANE_MODE_FILER && pane->m_subMode == PANE_SUB_DIRECTORY;
}
} // namespace

void CQvView::CreatePreviewLoader()
{
    if (g_pLoadPreviewThread == nullptr)
        g_pLoadPreviewThread = new CLoadPreviewThread;
    m_previews.followingPane = -1;
    m_viewingPane = -1;
}

void CQvView::StartPreviewLoader()
{
    if (g_pLoadPreviewThread == nullptr)
        return;
    g_pLoadPreviewThread->SetNotifyWindow(m_hWnd);
    g_pLoadPreviewThread->Start();
}

void CQvView::StopPreviewLoader()
{
    CLoadPreviewThread* loader = g_pLoadPreviewThread;
    if (loader == nullptr)
        return;
    loader->AcquireReaderLock();
    loader->RequestStop();
    loader->SetNotifyWindow(nullptr);
    loader->ReleaseReaderLock();
    // The loader ends after the item in hand; a plug-in that never returns must not
    // keep the program from ending.
    loader->WaitForStop(10000);
}

void CQvView::SetPreviewMode(int kind, int option)
{
    BOOL before[2] = {FALSE, FALSE};
    for (int i = 0; i < 2; ++i)
        before[i] = g_Panes[i] != nullptr && g_Panes[i]->m_bPreviewLayout;
    const int active = GetActivePaneIndex();
    CLoadPreviewThread* loader = g_pLoadPreviewThread;
    if (loader != nullptr && active >= 0 && IsDirectoryListing(g_Panes[active]))
    {
        const CString folder = g_Panes[active]->m_currentDir;
        if (kind == 0)
            loader->DisablePreviewDirectory(folder, option != 0);
        else if (kind == 4)
            loader->TogglePreviewTree(folder);
        else
            loader->EnablePreviewDirectory(folder, BYTE(kind));
    }
    for (int i = 0; i < 2; ++i)
    {
        CFilerPane* pane = g_Panes[i];
        if (!IsDirectoryListing(pane) || (pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) == 0)
            continue;
        if (pane->UpdatePreviewState() == before[i])
            continue;
        if (g_PREVIEW_DISP_PICTURE_FILE)
        {
            ReloadFilerPane(i);
            continue;
        }
        if (pane->m_bPreviewLayout)
            QueuePanePreviews(*pane);
        if (m_hWnd && IsPaneVisible(i))
        {
            m_paneRedrawRequest[i] = 1;
            DrawPane(i);
            DrawMarks(i);
            DrawCursorLine(i, 1);
        }
    }
}

void CQvView::TogglePreviewMode()
{
    const int active = GetActivePaneIndex();
    if (active < 0 || !IsDirectoryListing(g_Panes[active]))
        return;
    SetPreviewMode(g_Panes[active]->m_bPreviewLayout ? 0 : 3, 0);
}

void CQvView::ReloadFilerPane(int index)
{
    CFilerPane* pane = PaneAt(index);
    if (!IsDirectoryListing(pane) || (pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) == 0)
        return;
    // The whole directory: the listing filter may have changed with the preview state.
    pane->ReadDirectory(TRUE);
    pane->SortEntries();
    pane->MoveCursor(0, FALSE);
    if (!m_hWnd)
        return;
    DrawStatusLine(STATUS_PART_UPDATE);
    if (!IsPaneVisible(index))
        return;
    m_paneRedrawRequest[index] = 1;
    DrawPane(index);
    DrawCursorLine(index, 1);
    DrawMarks(index);
}

void CQvView::ReloadPreviewPanes(int all)
{
    CViewBusyGuard busy(*this);
    for (int i = 0; i < 2; ++i)
        if (g_Panes[i] != nullptr && (all || g_Panes[i]->m_bPreviewLayout))
            ReloadFilerPane(i);
}

void CQvView::RedrawPanePreviews(int index)
{
    CFilerPane* pane = PaneAt(index);
    if (pane == nullptr || g_pLoadPreviewThread == nullptr || !m_hWnd)
        return;
    if (!IsPaneVisible(index))
        return;
    CClientDC dc(this);
    HFONT oldFont = m_viewFont.GetSafeHandle() != nullptr ? dc.SelectObject(&m_viewFont) : nullptr;
    GetPaneRect(&dc, index);
    const PaneLayout& geo = m_layout.panes[index];
    const INT_PTR count = pane->m_entries.GetSize();
    for (int i = 0; i < geo.columnsDrawn; ++i)
        for (int j = 0; j < geo.rowsDrawn; ++j)
        {
            INT64 entryIndex = 0;
            int column = 0, row = 0;
            GetEntryCell(index, i, j, &entryIndex, &column, &row, TRUE);
            if (entryIndex < 0 || entryIndex >= count)
                continue;
            g_pLoadPreviewThread->DrawPreviews(index, dc.GetSafeHdc(), column * m_layout.charWidth,
                                               row * m_layout.lineHeight,
                                               pane->m_entries[INT_PTR(entryIndex)], true);
        }
    dc.SelectClipRgn(nullptr);
    if (oldFont != nullptr)
        dc.SelectObject(HGDIOBJ(oldFont));
}

void CQvView::OnPreviewLoaded()
{
    // A thumbnail that arrives while an action runs is drawn with the action's redraw.
    if (m_idleState == 0)
        return;
    for (int i = 0; i < 2; ++i)
        if (IsDirectoryListing(g_Panes[i]) && g_Panes[i]->m_bPreviewLayout)
            RedrawPanePreviews(i);
}

void CQvView::OpenCursorDirectoryInOtherPane()
{
    const int active = GetActivePaneIndex();
    const int following = m_previews.followingPane;
    if (following < 0 || following > 1 || active < 0 || following == active)
        return;
    CFilerPane* source = g_Panes[active];
    CFilerPane* target = g_Panes[following];
    if (source == nullptr || target == nullptr || source->m_mode != PANE_MODE_FILER)
        return;
    if (following != m_viewingPane && target->m_mode != PANE_MODE_FILER)
        return;
    CViewBusyGuard busy(*this);
    const CFileInfo* cursor = source->GetCursorEntry();
    if (cursor != nullptr && !cursor->IsDots() &&
        !source->CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_CURSOR_NOT_DOT | PANE_CHECK_DRIVE_PRESENT) &&
        cursor->IsDirectory())
    {
        if (following == m_viewingPane)
            target->ReleaseViewerData();
        const CString path = cursor->GetRealFullPath();
        if (path.CompareNoCase(target->m_currentDir) != 0 || target->m_mode != PANE_MODE_FILER)
        {
            target->SetMode(PANE_POS_OTHER, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
            ChangePaneDirectory(following, path, PATH_VISIT_NAVIGATE, STATUS_PART_UPDATE, FALSE);
        }
    }
}

// Makes the other pane follow the cursor's directory, or stops it following.
VIEW_COMMAND(ToggleOtherAlwaysDirectory)
{
    const int active = view.GetActivePaneIndex();
    if (view.m_previews.followingPane >= 0 || active < 0)
        view.m_previews.followingPane = -1;
    else
    {
        view.m_previews.followingPane = 1 - active;
        view.OpenCursorDirectoryInOtherPane();
    }
}

// ---- The preview keywords of the filer: a folder's thumbnails on, off or for its whole
// tree, the picture-only listing, the other pane that follows the cursor's
// directory, and the switches of the two picture windows.
VIEW_COMMAND(TogglePreviewPictureFilesOnly)
{
    g_PREVIEW_DISP_PICTURE_FILE = g_PREVIEW_DISP_PICTURE_FILE ? 0 : 1;
    view.ReloadPreviewPanes(0);
}

void CQvView::ToggleSmallPicture()
{
    m_graphic.smallWindowShown = m_graphic.smallWindowShown ? 0 : 1;
    UpdateAuxiliaryWindows();
}

void CQvView::TogglePictureList()
{
    m_graphic.listWindowShown = m_graphic.listWindowShown ? 0 : 1;
    UpdateGraphicListDialog();
}
