// The view's two picture windows (the picture list beside the graphic viewer and the
// small picture window that follows the active filer pane's cursor) and its two
// picture dialogs (the zoom steps and the alpha-channel rows).
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

#include "app/dialogs/DialogHelpers.h"
#include "app/Settings.h"
#include "app/FolderChooser.h"
#include "archivefront/ArchiveFront.h"
#include "filer/FilerPane.h"
#include "graphics/windows/AlphaChannelProcessSettingDlg.h"
#include "graphics/windows/GraphicListDlg.h"
#include "graphics/windows/GraphicZoomDlg.h"
#include "graphics/windows/SmallGraphicDlg.h"

namespace
{
int ActivePaneIndex()
{
    for (int i = 0; i < 2; ++i)
        if (g_Panes[i] != nullptr && (g_Panes[i]->m_position & PANE_POS_ACTIVE) != 0)
            return i;
    return -1;
}
} // namespace

void CQvView::UpdateGraphicListDialog()
{
    const int active = ActivePaneIndex();
    const bool graphic =
        active >= 0 && (g_Panes[active]->m_mode & (PANE_MODE_GRAPHIC | PANE_MODE_ARCHIVE_GRAPHIC));
    if (graphic && m_graphic.listWindowShown)
    {
        bool created = false;
        if (m_pGraphicListDlg == nullptr)
            m_pGraphicListDlg = new CGraphicListDlg(&m_graphic.listWindowShown, m_hWnd);
        if (m_pGraphicListDlg->m_hWnd == nullptr)
        {
            // Owned by the main window unless the user wants it as a window of its own.
            m_pGraphicListDlg->Create(GetDialogParent(DIALOG_PARENT_GRAPHIC_LIST));
            created = true;
        }
        if (!m_graphic.listWindowPlaced && m_pGraphicListDlg->m_hWnd != nullptr)
        {
            RECT window = {};
            ::GetWindowRect(m_pGraphicListDlg->m_hWnd, &window);
            ::SetWindowPos(m_pGraphicListDlg->m_hWnd, nullptr,
                           GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left), 0, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            m_graphic.listWindowPlaced = 1;
        }
        if (m_pGraphicListDlg->m_hWnd != nullptr)
        {
            ::ShowWindow(m_pGraphicListDlg->m_hWnd, SW_SHOWNOACTIVATE);
            RefreshGraphicList(active, created);
        }
        if (created && m_hWnd != nullptr)
            ::SetFocus(m_hWnd);
        return;
    }
    if (m_pGraphicListDlg != nullptr && m_pGraphicListDlg->m_hWnd != nullptr)
        ::ShowWindow(m_pGraphicListDlg->m_hWnd, SW_HIDE);
}

void CQvView::RefreshGraphicList(int pane, bool refill)
{
    CGraphicListDlg* list = m_pGraphicListDlg;
    if (list == nullptr || list->m_hWnd == nullptr || pane < 0)
        return;
    // The view's own changes of the rows ask for no picture.
    list->SetNotifySuppressed(1);
    if (g_Panes[pane]->m_mode & PANE_MODE_ARCHIVE_GRAPHIC)
    {
        if (refill || list->m_kind != GRAPHIC_LIST_ARCHIVE_PANE)
            list->SetArchivePaneItems(pane, FALSE);
        list->SelectPicture(m_graphic.position.GetIndex(-1));
    }
    else
    {
        if (refill || list->m_kind != GRAPHIC_LIST_PICTURES ||
            list->m_shownCount != m_graphic.pictures.GetSize())
        {
            list->SetPictureList(int(m_graphic.pictures.GetSize()), &m_graphic.pictures);
            list->m_shownCount = m_graphic.pictures.GetSize();
            refill = true;
        }
        // The member list shows the archive the walk is inside; it is filled again
        // only when the walk enters another one, so that a step keeps its scroll place.
        IPaneArchive* archive =
            m_graphic.position.IsNested() && m_graphic.archive ? m_graphic.archive.get() : nullptr;
        const CString archivePath = archive != nullptr ? m_graphic.archivePath : CString();
        if (refill || list->GetArchive() != archive || list->m_shownArchivePath != archivePath)
        {
            list->SetArchive(archive);
            list->m_shownArchivePath = archivePath;
        }
        list->SelectPicture(m_graphic.position.GetIndex(0));
        if (archive != nullptr)
            list->SelectMember(m_graphic.position.GetIndex(1));
    }
    list->SetNotifySuppressed(0);
}

void CQvView::OnGraphicListChoice()
{
    const int pane = FindGraphicPane();
    if (m_pGraphicListDlg == nullptr || pane < 0)
        return;
    const GraphicListChoice choice = m_pGraphicListDlg->m_choice;
    if (choice.picture < 0)
        return;
    if (g_Panes[pane]->m_mode & PANE_MODE_ARCHIVE_GRAPHIC)
        m_graphic.position.JumpTo(1, choice.picture);
    else if (m_graphic.position.IsNested() && choice.picture == m_graphic.position.GetIndex(0))
    {
        // A row of the member list: the walk stays inside the archive.
        if (choice.member < 0 || choice.member >= m_graphic.position.GetCount(1))
            return;
        m_graphic.position.JumpTo(1, choice.member);
    }
    else
    {
        // Another file of the list leaves the archive the walk is inside.
        if (m_graphic.position.IsNested())
            CloseGraphicArchive();
        m_graphic.position.JumpTo(0, choice.picture);
    }
    ShowNextPicture(0);
}

void CQvView::UpdateSmallGraphicWindow()
{
    const int active = ActivePaneIndex();
    const bool filer = active >= 0 && g_Panes[active]->m_mode == PANE_MODE_FILER;
    if (!filer || !m_graphic.smallWindowShown)
    {
        if (m_pSmallGraphicDlg != nullptr && m_pSmallGraphicDlg->m_hWnd != nullptr)
            ::ShowWindow(m_pSmallGraphicDlg->m_hWnd, SW_HIDE);
        return;
    }
    if (m_pSmallGraphicDlg == nullptr)
        m_pSmallGraphicDlg = new CSmallGraphicDlg(&m_graphic.smallWindowShown, nullptr);
    if (m_pSmallGraphicDlg->m_hWnd == nullptr && !m_pSmallGraphicDlg->Create(GetParentFrame()))
        return;
    ::ShowWindow(m_pSmallGraphicDlg->m_hWnd, SW_SHOWNOACTIVATE);
    CFilerPane& pane = *g_Panes[active];
    const CFileInfo* cursor = pane.GetCursorEntry();
    if (cursor == nullptr || cursor->IsDirectory())
        m_pSmallGraphicDlg->SetFile(nullptr, pane.m_currentDir);
    else
        m_pSmallGraphicDlg->SetFile(cursor->GetName(), cursor->GetDirectory());
    if (m_graphic.smallWindowPlaced)
        return;
    // The kept place, moved onto the frame's monitor when it lies outside.
    const POINT place =
        KeepOnFrameMonitor(GetParentFrame() != nullptr ? GetParentFrame()->m_hWnd : m_hWnd,
                           m_pSmallGraphicDlg->m_hWnd, POINT{g_SMALLGRAPHICX, g_SMALLGRAPHICY});
    g_SMALLGRAPHICX = place.x;
    g_SMALLGRAPHICY = place.y;
    ::SetWindowPos(m_pSmallGraphicDlg->m_hWnd, nullptr, place.x, place.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_graphic.smallWindowPlaced = 1;
}

void CQvView::ClosePictureWindows()
{
    if (m_pGraphicListDlg != nullptr)
    {
        m_pGraphicListDlg->DestroyWindow();
        delete m_pGraphicListDlg;
        m_pGraphicListDlg = nullptr;
    }
    if (m_pSmallGraphicDlg != nullptr)
    {
        m_pSmallGraphicDlg->DestroyWindow();
        delete m_pSmallGraphicDlg;
        m_pSmallGraphicDlg = nullptr;
    }
    m_graphic.listWindowPlaced = 0;
    m_graphic.smallWindowPlaced = 0;
}

void CQvView::OnGraphicZoomSettings()
{
    CViewBusyGuard busy(*this);
    const int step = m_graphic.keptZoom.FindStep(0);
    CGraphicZoomDlg dialog(step > 0 ? step : 0, g_CHANGEZOOMENABLE, DialogOwner(this));
    if (dialog.DoModal() == IDOK)
    {
        if (dialog.m_selection <= 0 || dialog.m_selection > ZOOM_STEP_COUNT)
            m_graphic.keptZoom.SetUnset();
        else
            m_graphic.keptZoom = CZoomRatio(g_ZoomSteps[size_t(dialog.m_selection - 1)]);
        g_CHANGEZOOMENABLE = dialog.m_changeZoomEnable;
        if (FindGraphicPane() >= 0)
        {
            m_graphic.zoom = m_graphic.keptZoom;
            UpdatePictureLayout(PICTURE_LAYOUT_ALL);
            if (m_hWnd)
                Invalidate();
        }
    }
}

void CQvView::OnAlphaChannelSettings()
{
    CViewBusyGuard busy(*this);
    CAlphaChannelProcessSettingDlg dialog(DialogOwner(this));
    if (dialog.DoModal() == IDOK && m_hWnd)
        Invalidate();
}
