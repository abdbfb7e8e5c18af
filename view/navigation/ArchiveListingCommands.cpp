// "@Packview": the archive under the cursor listed in its pane, and the listings read
// again after the program rewrote their archive.
#include "archivefront/ArchiveFront.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/status/StatusLine.h"

void CQvView::OnBrowseArchive()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0))
        return;
    CFilerPane& pane = *g_Panes[index];
    if (pane.OpenArchiveListing(FALSE))
    {
        pane.SetMode(0, PANE_MODE_ARCHIVE, 0);
        pane.SortEntries();
    }
    CalcLayout();
    DrawPaneTitle(index);
    DrawPane(index);
    DrawStatusLine(STATUS_PART_UPDATE);
    UpdateMenuForMode();
    UpdateAuxiliaryWindows();
}

void CQvView::ReopenArchiveListings(int pane, LPCWSTR cursorName)
{
    CString archivePath;
    if (g_Panes[pane] != nullptr)
        g_Panes[pane]->m_archive->GetArchivePath(archivePath);
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* listing = g_Panes[index];
        if (listing == nullptr || listing->m_mode != PANE_MODE_ARCHIVE)
            continue;
        CString path;
        listing->m_archive->GetArchivePath(path);
        if (path.CompareNoCase(archivePath) != 0)
            continue;
        // The archive changed on disk: its listing is read from the file again. The
        // program itself rewrote it with the password it was read with, so the user
        // is not asked for that password again; leaving the archive forgets it.
        const CString folder = listing->m_archive->GetCurrentFolder();
        if (auto* front = dynamic_cast<CArchiveFront*>(listing->m_archive))
            front->KeepPasswordForReopen();
        if (!listing->OpenArchiveListing(TRUE))
            continue;
        listing->m_archive->SetCurrentFolder(folder);
        listing->ReloadArchiveListing();
        if (cursorName != nullptr && cursorName[0] != 0)
            listing->SetCursorToName(cursorName, FALSE, listing->m_cursor);
        DrawPane(index);
    }
    DrawStatusLine(STATUS_PART_UPDATE);
}
