// "@Rename" and "@RenameOneFile": renaming the active pane's targets, one dialog for all
// or one per entry, in folders and in archive listings; on the drive list they change
// the volume label (view/fileops/VolumeLabelCommand.cpp).
#include "app/Directories.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/ProgressInfo.h"
#include "app/Settings.h"
#include "archivefront/ArchiveFront.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "fileops/rename/RenameDlg.h"
#include "view/QvView.h"
#include "view/fileops/VolumeLabelCommand.h"
#include "view/media/SoundHooks.h"
#include "view/ViewBusyGuard.h"

namespace
{
// The path a member is listed under: the pane's rows show these, not the stored paths
// ("./dir/file.txt" is listed as "dir\file.txt"). The name field holds the start of a
// longer name only; the stored path's last part then gives the whole.
CString ListedMemberPath(const CArchiveFileInfo& member)
{
    const CString name = member.GetWholeName();
    if (member.m_folder.IsEmpty())
        return name;
    if (name.IsEmpty())
        return member.m_folder;
    return member.m_folder + L"\\" + name;
}

// Every member under the path it is listed as, with its index in the listing, which
// is what the pane's rows carry: the names a rename may take, and the members it
// renames.
void BuildArchiveRenameList(IPaneArchive& archive, CArrayRenameFileName& list)
{
    const int count = archive.GetEntryCount();
    for (int i = 0; i < count; ++i)
    {
        CArchiveFileInfo* member = nullptr;
        if (archive.GetEntry(&member, i) && member != nullptr)
            list.Add(CRenameFileName(ListedMemberPath(*member), i));
    }
}

// One rename dialog on the pane's targets: mode 0 all of them at once, mode 1 the
// `entry`-th alone. Says whether the user accepted it; `lastName` then holds the last
// name it gave.
bool RunRenameDialog(CWnd* parent, int paneIndex, int mode, int entry, CArrayRenameFileName* listed,
                     CString& lastName)
{
    CRenameDlg dialog(parent);
    dialog.m_paneIndex = paneIndex;
    dialog.m_entryIndex = entry;
    dialog.m_mode = mode;
    dialog.m_pRenameList = listed;
    if (dialog.DoModal() != IDOK)
        return false;
    lastName = dialog.m_lastNewName;
    return true;
}
} // namespace

void CQvView::RenameEntries(int oneByOne)
{
    CViewBusyGuard busy(*this);
    int index = -1;
    if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER | PANE_MODE_ARCHIVE, 0))
    {
        CFilerPane& pane = *g_Panes[index];
        // The rename checks fail silently and leave the view busy.
        if (pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET |
                            PANE_CHECK_REAL_DRIVE))
        {
            busy.KeepBusy();
            return;
        }
        SetCurrentDir(pane.m_currentDir);
        g_SoundHooks.playCommandSound(L"RENAME");
        const bool inArchive = pane.m_mode == PANE_MODE_ARCHIVE;
        CArrayRenameFileName renameList;
        if (inArchive)
            BuildArchiveRenameList(*pane.m_archive, renameList);
        CString lastName;
        bool cancelled = false;
        CWnd* parent = DialogOwner(this);
        CArrayRenameFileName* const listed = inArchive ? &renameList : nullptr;
        if (oneByOne)
        {
            const int count = pane.m_markedCount > 0 ? pane.m_markedCount : 1;
            for (int n = 0; n < count && !cancelled; ++n)
                cancelled = !RunRenameDialog(parent, index, 1, n, listed, lastName);
        }
        else
            cancelled = !RunRenameDialog(parent, index, 0, 0, listed, lastName);
        LPCWSTR cursorName = g_MOVECURSORAFTERRENAME && !lastName.IsEmpty() ? (LPCWSTR)lastName : nullptr;
        if (inArchive)
        {
            auto* front = dynamic_cast<CArchiveFront*>(pane.m_archive);
            if (!cancelled && front != nullptr)
            {
                front->ResetOptions();
                front->SetOption(1, L"");
                front->SetRenameList(renameList);
                if (g_KEEP_FILE_TIME_AT_ARCHIVE_UPDATE)
                    front->SetOption(16, L"");
                CProgressInfo progress;
                if (front->RenameEntries(parent, &progress))
                    ReopenArchiveListings(index, cursorName);
                else if (!progress.IsCancelled() && !front->GetErrors().HasCode(21))
                    Tell(parent, front->GetErrors().GetMessageText(), L"名前変更失敗");
            }
        }
        else
            // Each accepted dialog renamed its entries already, also before a cancel.
            ReloadFilerPanes(cursorName);
    }
    else if (FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_DRIVE_LIST, 0))
        ChangeVolumeLabel(*this, index);
}
