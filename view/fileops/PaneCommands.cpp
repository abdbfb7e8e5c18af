// The commands on the active pane as a whole: rename (one dialog per entry or one for
// all, in folders and in archive listings), the volume label of a drive, the exchange
// of two names and the listing of an archive.
#include "app/Directories.h"
#include "app/DriveSeam.h"
#include "util/PathHelpers.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/ProgressInfo.h"
#include "app/Settings.h"
#include "app/dialogs/InputDlgs.h"
#include "archivefront/ArchiveFront.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "fileops/rename/RenameDlg.h"
#include "fileops/rename/RenameExchangeDlg.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"
#include "filer/PaneSelection.h"
#include "fileops/copy/CopyJob.h"
#include "fileops/copy/MyCopyDlg.h"
#include <algorithm>

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
        if (oneByOne)
        {
            const int count = pane.m_markedCount > 0 ? pane.m_markedCount : 1;
            for (int n = 0; n < count && !cancelled; ++n)
            {
                CRenameDlg dialog(parent);
                dialog.m_paneIndex = index;
                dialog.m_entryIndex = n;
                dialog.m_mode = 1;
                dialog.m_pRenameList = inArchive ? &renameList : nullptr;
                if (dialog.DoModal() == IDOK)
                    lastName = dialog.m_lastNewName;
                else
                    cancelled = true;
            }
        }
        else
        {
            CRenameDlg dialog(parent);
            dialog.m_paneIndex = index;
            dialog.m_mode = 0;
            dialog.m_pRenameList = inArchive ? &renameList : nullptr;
            if (dialog.DoModal() == IDOK)
                lastName = dialog.m_lastNewName;
            else
                cancelled = true;
        }
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
        ChangeVolumeLabel(index);
}

void CQvView::ChangeVolumeLabel(int index)
{
    CFilerPane& pane = *g_Panes[index];
    g_SoundHooks.playCommandSound(L"RENAME");
    if (pane.m_cursor < 0 || pane.m_cursor >= pane.m_driveList.GetSize())
        return;
    const CDriveInfo& drive = pane.m_driveList[pane.m_cursor];
    if (drive.m_name.GetLength() != 2 || drive.m_name[1] != L':')
        return;
    CString root = drive.m_name + L"\\";
    // A CD-ROM or a network drive has a label nobody here may change.
    const UINT type = GetDriveTypeW(root);
    if (type != DRIVE_REMOVABLE && type != DRIVE_FIXED && type != DRIVE_RAMDISK)
        return;
    wchar_t label[1040] = {};
    if (!g_DriveSeam.GetVolumeInformationW(root, label, 1040, nullptr, nullptr, nullptr, nullptr, 0))
        return;
    COnlyEditNameDlg dialog(DialogOwner(this));
    dialog.m_name = label;
    dialog.m_caption.Format(L"%cドライブのボリュームラベルの変更", drive.m_name[0]);
    if (dialog.DoModal() == IDOK && !SetVolumeLabelW(root, dialog.m_name))
        Tell(this, L"ボリュームラベルの変更に失敗しました", L"");
    pane.ReadDriveList();
    DrawPaneTitle(index);
    DrawCursorLine(index, 1);
    DrawStatusLine(STATUS_PART_UPDATE);
}

void CQvView::ExchangeNames()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0) || g_Panes[index]->IsOnVirtualDrive())
        return;
    CFilerPane& pane = *g_Panes[index];
    CFilerPane* other = g_Panes[1 - index];
    const bool otherCounts = other != nullptr && (other->m_position & PANE_POS_OTHER) &&
                             other->m_mode == PANE_MODE_FILER && !other->IsOnVirtualDrive();
    const int count =
        (pane.m_markedCount > 0 ? pane.m_markedCount : 1) + (otherCounts ? other->m_markedCount : 0);
    CViewBusyGuard busy(*this);
    CRenameExchangeDlg dialog(DialogOwner(this));
    if (count != 2 || !pane.GetTargetEntry(0, 0, dialog.m_file1) ||
        (!pane.GetTargetEntry(0, 1, dialog.m_file2) &&
         !(otherCounts && other->GetTargetEntry(0, 0, dialog.m_file2))))
    {
        Tell(this, L"選択ファイル数が2ではありません", L"");
        return;
    }
    dialog.DoModal();
    ReloadFilerPanes();
}

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

// ---- "@Filesupdir" and "@Neglectdir": the selected folders' contents, or every file in
// their trees, moved into the folder the active pane shows, through a copy job.
namespace
{
void StartFolderContentsJob(CQvView& view, int kind)
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0xFFFFFFFF))
        return;
    CFilerPane* pane = g_Panes[index];
    if (pane->CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET))
        return;
    CViewBusyGuard busy(view);
    SetCurrentDir(pane->m_currentDir);
    CSelectedEntryList source;
    if (view.ShowSelectionError(GetPaneSelection(TARGET_ALLOW_VIRTUAL_DRIVE, index, source)))
        return;
    auto* dialog = new CMyCopyDlg();
    dialog->m_source = std::move(source);
    CQvView::SetPathWithBackslash(pane->m_currentDir, dialog->m_destinationText);
    dialog->m_kind = kind;
    dialog->m_sourcePane = index;
    view.ShowCopyDialog(dialog);
}
} // namespace

void CQvView::MoveFilesToParent()
{
    StartFolderContentsJob(*this, UP_MOVE);
}

void CQvView::ShowFilesOfSubdirectories()
{
    StartFolderContentsJob(*this, NEGLECT_DIR);
}

// ---- "@Wide": shows or hides the second pane.
void CQvView::OnSplitPanes()
{
    CViewBusyGuard busy(*this);
    if (FindPaneByMode(nullptr, PANE_POS_ACTIVE, PANE_MODES_GRAPHIC_VIEWERS, 0))
        return;
    for (int index = 0; index < 2; ++index)
    {
        CFilerPane* pane = g_Panes[index];
        CFilerPane* other = g_Panes[1 - index];
        if (pane == nullptr || other == nullptr)
            continue;
        if (pane->m_position & PANE_POS_HIDDEN)
        {
            if (g_KEEP_FILER_INFO)
                pane->m_position = PANE_POS_ACTIVE;
            else
            {
                pane->SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
                pane->m_currentDir = other->m_currentDir;
                pane->m_sortSetting = other->m_sortSetting;
            }
            other->m_position = PANE_POS_OTHER;
            if (pane->m_mode == PANE_MODE_FILER && pane->m_subMode == PANE_SUB_DIRECTORY)
            {
                pane->ReadDirectory(TRUE);
                pane->SortEntries();
                pane->MoveCursor(0, TRUE);
            }
            break;
        }
        if (pane->m_position & PANE_POS_OTHER)
        {
            pane->CloseChangeNotification();
            if (!g_KEEP_FILER_INFO)
            {
                if (pane->m_mode == PANE_MODE_ARCHIVE)
                    pane->CloseArchiveListing(TRUE);
                if (pane->m_mode == PANE_MODE_BINARY && pane->m_binaryData != nullptr)
                    CloseBinaryEditor(index, MB_YESNO);
                pane->SetMode(PANE_POS_HIDDEN, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
            }
            else
                pane->m_position = PANE_POS_HIDDEN;
            break;
        }
    }
    UpdateMenuForMode();
    CalcLayout();
    busy.Release();
    if (m_hWnd)
        Invalidate(FALSE);
    UpdateAuxiliaryWindows();
}
