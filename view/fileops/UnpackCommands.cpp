// Unpacking and packing from the panes: the unpack dialog on the archives of a filer
// pane (modeless) or on the members of an archive listing (modal), the pack dialog
// on the targets of a folder listing, and the cursor member extracted to the
// temporary folder for the programs that need a real file.
#include "app/Directories.h"
#include "util/Log.h"
#include "util/PathHelpers.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/Settings.h"
#include "app/records/HistoryList.h"
#include "app/settings/FileOpSettings.h"
#include "archivefront/dialogs/PackDlg.h"
#include "archivefront/dialogs/UnpackDlg.h"
#include "filer/FilerPane.h"
#include "filer/PaneSelection.h"
#include "res/ArchiveDialogs.h"
#include "view/QvView.h"
#include "view/fileops/FileJobs.h"
#include "view/media/SoundHooks.h"
#include "view/ViewBusyGuard.h"

#include <memory>

namespace
{
// The other pane's folder when it lists a folder not on a virtual drive; else empty.
CString UnpackDestination(int pane)
{
    CFilerPane* other = g_Panes[1 - pane];
    if (other == nullptr || (other->m_position & PANE_POS_OTHER) == 0 || other->m_mode != PANE_MODE_FILER ||
        other->m_subMode != PANE_SUB_DIRECTORY || other->IsOnVirtualDrive())
        return CString();
    CString directory;
    CQvView::SetPathWithBackslash(other->m_currentDir, directory);
    return directory;
}
} // namespace

void UnpackFromArchiveListing(CQvView& view, int pane)
{
    std::unique_ptr<CUnpackDlg> dialog(new CUnpackDlg(DialogOwner(&view)));
    dialog->m_sourceMode = UNPACK_FROM_ARCHIVE;
    dialog->m_sourcePane = pane;
    dialog->m_baseFolder = g_Panes[pane]->m_currentDir;
    dialog->m_destination = UnpackDestination(pane);
    g_SoundHooks.playCommandSound(L"UNPACK");
    if (dialog->DoModal() == UNPACK_DONE && !dialog->m_destination.IsEmpty())
        AddToHistoryList(g_SelectDirHistory, g_SUMCOPYPASTDIRECTORY, dialog->m_destination);
}

void CQvView::OnUnpack()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER | PANE_MODE_ARCHIVE, 0))
        return;
    CFilerPane& pane = *g_Panes[index];
    CViewBusyGuard busy(*this);
    if (pane.m_mode == PANE_MODE_ARCHIVE)
    {
        UnpackFromArchiveListing(*this, index);
        ReloadFilerPanes();
        return;
    }
    // Checked before the dialog exists: a failed check leaves nothing to free.
    if (pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET))
        return;
    g_SoundHooks.playCommandSound(L"UNPACK");
    CSelectedEntryList selection;
    if (ShowSelectionError(GetPaneSelection(TARGET_ALLOW_VIRTUAL_DRIVE, index, selection)))
        return;
    auto* dialog = new CUnpackDlg(DialogOwner(this));
    dialog->m_sourceMode = UNPACK_FROM_FILER;
    dialog->m_sourcePane = index;
    dialog->m_baseFolder = pane.m_currentDir;
    dialog->m_destination = UnpackDestination(index);
    dialog->m_selection = std::move(selection);
    AddUnpackDialog(dialog);
    dialog->ShowListedModeless(IDD_UNPACK, this);
}

void CQvView::PackSelection(int kind, int eachFile)
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY))
        return;
    CFilerPane& pane = *g_Panes[index];
    CPackDlg dialog(DialogOwner(this));
    dialog.m_kind = kind;
    dialog.m_perFile = eachFile;
    SetCurrentDir(pane.m_currentDir);
    if (pane.CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET | PANE_CHECK_DRIVE_PRESENT |
                        PANE_CHECK_REAL_DRIVE))
        return;
    CViewBusyGuard busy(*this);
    dialog.m_sourceDir = pane.m_currentDir;
    dialog.m_paneIndex = index;
    CFilerPane* other = g_Panes[1 - index];
    if (other != nullptr && (other->m_position & PANE_POS_OTHER) && other->m_mode == PANE_MODE_FILER)
        SetPathWithBackslash(other->m_currentDir, dialog.m_destination);
    g_SoundHooks.playCommandSound(L"PACK");
    if (dialog.DoModal() == IDOK && !dialog.m_destination.IsEmpty())
        AddToHistoryList(g_SelectDirHistory, g_SUMCOPYPASTDIRECTORY, dialog.m_destination);
    ReloadFilerPanes();
}
