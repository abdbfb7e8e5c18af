// Marking the cursor entry and marking by the other pane's list.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/ViewBusyGuard.h"

namespace
{

constexpr UINT kMarkableModes = PANE_MODE_FILER | PANE_MODE_ARCHIVE;

} // namespace

void CQvView::MarkCursorEntry(int moveCursor, int redraw)
{
    int index = GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & kMarkableModes) == 0)
        return;
    CFilerPane& pane = *g_Panes[index];
    if (pane.CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_DRIVE_PRESENT))
        return;
    CFileInfo* entry = pane.GetCursorEntry();
    if (entry == nullptr)
        return;
    pane.SetEntryMark(static_cast<INT_PTR>(pane.m_cursor), entry->m_mark ? 0 : 1);
    if (moveCursor)
    {
        if (m_hWnd && redraw)
            DrawCursorLine(index, 0);
        int scrolled = pane.MoveCursor(pane.m_bPreviewLayout ? pane.m_lineCount : 1, FALSE);
        if (m_hWnd && redraw)
        {
            if (scrolled)
                m_paneRedrawRequest[index] = 1;
            DrawCursorLine(index, 1);
        }
    }
    if (m_hWnd && redraw)
    {
        DrawStatusLine(STATUS_PART_UPDATE);
        DrawPane(index);
    }
}

void CQvView::SelectByOtherPane(int kind)
{
    int index = GetActivePaneIndex();
    if (index < 0 || g_Panes[1 - index] == nullptr)
        return;
    CFilerPane& pane = *g_Panes[index];
    CFilerPane& other = *g_Panes[1 - index];
    if ((pane.m_mode & kMarkableModes) == 0 || (other.m_mode & kMarkableModes) == 0)
        return;
    CViewBusyGuard busy(*this);
    pane.MarkAll(2);
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = pane.m_entries[i];
        if (entry.IsDirectory())
            continue;
        bool twin = false;
        for (INT_PTR j = 0; j < other.m_entries.GetSize() && !twin; ++j)
            twin = !other.m_entries[j].IsDirectory() &&
                   CString(other.m_entries[j].GetName()).CompareNoCase(entry.GetName()) == 0;
        if (twin == (kind == 0))
            pane.SetEntryMark(i, 1);
    }
    if (m_hWnd)
    {
        m_paneRedrawRequest[index] = 1;
        DrawPane(index);
        DrawStatusLine(STATUS_PART_UPDATE);
    }
}

void CQvView::SelectEntries(int value)
{
    int index = GetActivePaneIndex();
    if (index < 0 || (g_Panes[index]->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return;
    if (g_Panes[index]->m_mode == PANE_MODE_FILER &&
        g_Panes[index]->CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_DRIVE_PRESENT))
        return;
    CViewBusyGuard busy(*this);
    if (value == 0)
        g_SoundHooks.playCommandSound(L"ALLSELECT");
    else if (value == 1)
        g_SoundHooks.playCommandSound(L"FILE_ALLSELECT");
    g_Panes[index]->MarkAll(value);
    if (m_hWnd)
    {
        m_paneRedrawRequest[index] = 1;
        DrawPane(index);
        DrawMarks(index);
        DrawCursorLine(index, 1);
        DrawStatusLine(STATUS_PART_UPDATE);
    }
}
