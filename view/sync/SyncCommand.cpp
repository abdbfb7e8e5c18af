// "@Syncrocopyex": finds the two sides, asks for the settings, runs the
// synchronisation dialog and then shows both panes as they now are.
#include "view/sync/SyncCommand.h"

#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "archivefront/ArchiveFront.h"
#include "filer/FilerPane.h"
#include "fileops/sync/SynccopyDlg.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"

BOOL FindSyncPaneSides(SyncPaneSides& out)
{
    out = SyncPaneSides();
    int found = 0;
    int archives = 0;
    for (int i = 0; i < 2; ++i)
    {
        CFilerPane* pane = g_Panes[i];
        if (pane == nullptr)
            continue;
        const BOOL directory = pane->m_mode == PANE_MODE_FILER && pane->m_subMode == PANE_SUB_DIRECTORY;
        const BOOL archive = pane->m_mode == PANE_MODE_ARCHIVE;
        if (pane->m_position & PANE_POS_ACTIVE)
        {
            if (directory)
            {
                if (pane->CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_REAL_DRIVE | PANE_CHECK_NOT_EMPTY |
                                     PANE_CHECK_NO_DOT_TARGET))
                    return FALSE;
                out.source = i;
                ++found;
            }
            else if (archive)
            {
                out.source = i;
                out.sourceIsArchive = TRUE;
                ++found;
                ++archives;
            }
        }
        else if (pane->m_position & PANE_POS_OTHER)
        {
            if (directory)
            {
                if (pane->CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_REAL_DRIVE))
                    return FALSE;
                out.destination = i;
                out.destinationText = pane->m_currentDir;
                if (IsPathRoot(out.destinationText) &&
                    (out.destinationText.IsEmpty() ||
                     out.destinationText[out.destinationText.GetLength() - 1] != L'\\'))
                    out.destinationText += L"\\";
                ++found;
            }
            else if (archive)
            {
                CString folder, name;
                pane->m_archive->SplitArchivePath(&folder, &name);
                out.destination = i;
                out.destinationText.Format(L"%s\\%s", folder.GetString(), name.GetString());
                out.destinationIsArchive = TRUE;
                ++found;
                ++archives;
            }
        }
    }
    return found == 2 && archives <= 1 && out.source >= 0 && out.destination >= 0;
}

// After the synchronisation an archive listing shows what its archive now holds; one
// that no longer opens goes back to its folder.
static void ReopenSyncedArchives(CQvView& view)
{
    for (int i = 0; i < 2; ++i)
    {
        CFilerPane* pane = g_Panes[i];
        if (pane == nullptr || pane->m_mode != PANE_MODE_ARCHIVE)
            continue;
        if (!pane->OpenArchiveListing(TRUE))
        {
            pane->m_mode = PANE_MODE_FILER;
            pane->CloseArchiveListing(TRUE);
        }
        pane->SortEntries();
        pane->MoveCursor(0, FALSE);
        view.DrawPaneTitle(i);
        view.DrawPane(i);
        if (pane->m_position & PANE_POS_ACTIVE)
        {
            view.DrawCursorLine(i, 1);
            view.DrawStatusLine(STATUS_PART_FULL);
            view.UpdateMenuForMode();
        }
    }
}

VIEW_COMMAND(SynchroniseDirectories)
{
    SyncPaneSides sides;
    if (!FindSyncPaneSides(sides))
    {
        view.StartBinaryCursorTimer();
        return;
    }
    CViewBusyGuard busy(view);
    CSyncCopySetting setting(&view);
    setting.m_settings.copyMissing = g_SYNC_COPY_NOT_EXIST_IN_TO_DIR;
    setting.m_settings.olderWins = g_SYNC_COPY_SELECT_FILE_TYPE;
    setting.m_settings.deleteMissing = g_SYNC_COPY_DELETE_NOT_EXIST_ON_SRC;
    if (setting.DoModal() != IDOK)
        return;
    g_SYNC_COPY_NOT_EXIST_IN_TO_DIR = setting.m_settings.copyMissing;
    g_SYNC_COPY_SELECT_FILE_TYPE = setting.m_settings.olderWins;
    g_SYNC_COPY_DELETE_NOT_EXIST_ON_SRC = setting.m_settings.deleteMissing;

    CFilerPane* source = g_Panes[sides.source];
    CFilerPane* destination = g_Panes[sides.destination];
    {
        CSynccopyDlg dialog(&view);
        dialog.m_sourcePane = sides.source;
        dialog.m_destinationPane = sides.destination;
        dialog.m_destination = sides.destinationText;
        dialog.m_settings = setting.m_settings;
        if (sides.sourceIsArchive)
        {
            dialog.m_sourceArchive = dynamic_cast<CArchiveFront*>(source->m_archive);
            source->m_archive->SplitArchivePath(&dialog.m_sourceDirectory, nullptr);
        }
        else
            dialog.m_sourceDirectory = source->m_currentDir;
        if (sides.destinationIsArchive)
            dialog.m_destinationArchive = dynamic_cast<CArchiveFront*>(destination->m_archive);
        source->ResetTargetIteration();
        CFileInfo entry;
        for (int n = 0; source->GetTargetEntry(0, n, entry); ++n)
            dialog.m_targets.AddEntry(entry);
        // An archive side without the archive object the steps need is left alone.
        if ((!sides.sourceIsArchive || dialog.m_sourceArchive != nullptr) &&
            (!sides.destinationIsArchive || dialog.m_destinationArchive != nullptr))
            dialog.DoModal();
    }
    ReopenSyncedArchives(view);
    view.ReloadFilerPanes();
    view.StartBinaryCursorTimer();
}
