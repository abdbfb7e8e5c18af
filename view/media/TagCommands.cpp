// "@MakeMp3Tag", "@AllmakeMp3Tag" and "@Viewtagview": the tag input dialog on the
// marked audio files, and the tag window that follows the cursor.
#include "app/FolderChooser.h"
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "framework/FwApp.h"
#include "media/tags/TagMakeDlg.h"
#include "media/tags/ViewTagDlg.h"
#include "view/media/MediaWindows.h"
#include "view/QvView.h"

namespace
{

CViewTagDlg* g_pTagWindow = nullptr;
int g_tagWindowPlaced = 0;

CFilerPane* ActiveFilerPane()
{
    for (CFilerPane* pane : g_Panes)
    {
        if (pane != nullptr && (pane->m_position & PANE_POS_ACTIVE) != 0 && pane->m_mode == PANE_MODE_FILER)
            return pane;
    }
    return nullptr;
}

BOOL IsTagFileName(const CFileInfo& entry)
{
    if (entry.IsDirectory())
        return FALSE;
    for (LPCWSTR extension : {L"MP2", L"MP3", L"WAV", L"RMP"})
    {
        if (entry.IsExtension(extension))
            return TRUE;
    }
    return FALSE;
}

void EditAudioTags(int batch)
{
    CFilerPane* pane = ActiveFilerPane();
    if (pane == nullptr)
        return;
    CArray<CMpegAudioData> list;
    pane->ResetTargetIteration();
    CFileInfo entry;
    for (int n = 0; pane->GetTargetEntry(0, n, entry); ++n)
    {
        if (!IsTagFileName(entry))
            continue;
        CMpegAudioData record;
        record.m_file = entry;
        list.Add(record);
    }
    pane->ResetTargetIteration();
    if (list.GetSize() == 0)
        return;
    CTagMakeDlg dlg;
    dlg.m_pList = &list;
    dlg.m_batch = batch;
    dlg.DoModal();
}

} // namespace

void UpdateTagViewWindow()
{
    if (g_pTagWindow == nullptr || !g_pTagWindow->m_hWnd || !g_pTagWindow->IsWindowVisible())
        return;
    CFilerPane* pane = ActiveFilerPane();
    CFileInfo* entry = pane ? pane->GetCursorEntry() : nullptr;
    if (entry == nullptr)
        g_pTagWindow->SetFile(nullptr, nullptr);
    else
        g_pTagWindow->SetFile(entry, entry->GetRealDirectory(FALSE));
}

void CloseTagViewWindow()
{
    delete g_pTagWindow;
    g_pTagWindow = nullptr;
    g_tagWindowPlaced = 0;
}

void CQvView::MakeMp3Tag()
{
    EditAudioTags(0);
}

void CQvView::MakeMp3TagsOfAll()
{
    EditAudioTags(1);
}

BOOL IsTagWindowShown()
{
    return g_pTagWindow != nullptr && g_pTagWindow->m_hWnd && g_pTagWindow->IsWindowVisible();
}

void CQvView::ToggleTagWindow()
{
    if (g_pTagWindow == nullptr)
    {
        g_pTagWindow = new CViewTagDlg(&g_tagWindowPlaced);
        if (!g_pTagWindow->Create(AfxGetMainWnd()))
        {
            CloseTagViewWindow();
            return;
        }
    }
    if (g_pTagWindow->IsWindowVisible())
    {
        g_pTagWindow->ShowWindow(SW_HIDE);
        return;
    }
    if (!g_tagWindowPlaced)
    {
        // The kept place, moved onto the frame's monitor when it lies outside.
        CWnd* frame = GetParentFrame();
        const POINT place = KeepOnFrameMonitor(frame != nullptr ? frame->m_hWnd : m_hWnd,
                                               g_pTagWindow->m_hWnd, POINT{g_VIEWTAGVIEWX, g_VIEWTAGVIEWY});
        g_VIEWTAGVIEWX = place.x;
        g_VIEWTAGVIEWY = place.y;
        g_pTagWindow->m_position = place;
        g_tagWindowPlaced = 1;
    }
    g_pTagWindow->SetWindowPos(nullptr, g_pTagWindow->m_position.x, g_pTagWindow->m_position.y, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    g_pTagWindow->ShowWindow(SW_SHOWNA);
    UpdateTagViewWindow();
}
