// The file commands that start a job on the active pane's targets: copy, move, copy
// into every marked directory, delete, make a directory and change attributes.
#include "app/Directories.h"
#include "util/Log.h"
#include "util/PathHelpers.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/Settings.h"
#include "app/records/HistoryList.h"
#include "app/settings/FileOpSettings.h"
#include "filer/FilerPane.h"
#include "filer/PaneSelection.h"
#include "fileops/copy/CopyJob.h"
#include "fileops/copy/MyCopyDlg.h"
#include "fileops/delete/DeleteDlg.h"
#include "fileops/dialogs/AttributeDlg.h"
#include "fileops/dialogs/NameInputDlgs.h"
#include "app/VirtualDrives.h"
#include "res/CopyDialogs.h"
#include "res/DeleteDialogs.h"
#include "view/QvView.h"
#include "view/fileops/FileJobs.h"
#include "view/media/SoundHooks.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"
#include "fileops/dirsize/DirectorySize.h"
#include "app/FileProbes.h"
#include "filer/EntryFind.h"

namespace
{
// The drive is there, the list has entries, and something other than "." or ".."
// is to be acted on.
const DWORD kUsualGuard = PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET;

CFilerPane* ActivePane(int& index)
{
    index = -1;
    return FindPaneByMode(&index, PANE_POS_ACTIVE, 0, 0) ? g_Panes[index] : nullptr;
}

// The other pane's folder when it is a filer pane of one of the sub-modes; else empty.
CString OtherPaneDirectory(int active, UINT subModes)
{
    CFilerPane* other = g_Panes[1 - active];
    if (other == nullptr || (other->m_position & PANE_POS_OTHER) == 0 || other->m_mode != PANE_MODE_FILER ||
        (other->m_subMode & subModes) == 0)
        return CString();
    CString directory;
    CQvView::SetPathWithBackslash(other->m_currentDir, directory);
    return directory;
}
} // namespace

void CQvView::SetPathWithBackslash(LPCWSTR path, CString& out)
{
    out = path;
    CString root;
    // Only a root needs its backslash: "C:" alone would name the drive's current folder.
    if (GetPathRoot(out, root) && out.CompareNoCase(root) == 0 && !out.IsEmpty() &&
        out[out.GetLength() - 1] != L'\\')
        out += L'\\';
    else if (out.GetLength() == 2 && out[1] == L':')
        out += L'\\';
}

int CQvView::ShowSelectionError(int code)
{
    if (code == 1)
    {
        Tell(this, L"メモリの確保に失敗しました", L"エラー");
        return 1;
    }
    if (code == SELECTION_NONE)
    {
        // The explanation is the message, the caption only says that it is an error.
        Tell(this, L"ファイルが選択されていません", L"エラー");
        return 1;
    }
    return 0;
}

int ShowCopyDialog(CQvView& view, CMyCopyDlg* dialog)
{
    view.AddCopyDialog(dialog);
    // Without a window there is nothing to own the dialog: the job cannot be shown.
    return dialog->ShowListedModeless(IDD_MY_COPY, &view) ? 1 : 0;
}

void CQvView::OnCopy()
{
    int index = -1;
    CFilerPane* pane = ActivePane(index);
    if (pane == nullptr || (pane->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return;
    CViewBusyGuard busy(*this);
    if (pane->m_mode == PANE_MODE_ARCHIVE)
    {
        // An empty listing, or ".." with nothing marked, has nothing to unpack.
        if (!pane->CheckState(kUsualGuard))
            UnpackFromArchiveListing(*this, index);
        return;
    }
    if (pane->CheckState(kUsualGuard))
        return;
    CSelectedEntryList source;
    if (ShowSelectionError(GetPaneSelection(TARGET_ALLOW_VIRTUAL_DRIVE, index, source)))
        return;
    auto* dialog = new CMyCopyDlg();
    dialog->m_sourcePane = index;
    dialog->m_kind = COPY;
    dialog->m_source = std::move(source);
    dialog->m_destinationText = OtherPaneDirectory(index, PANE_SUB_DIRECTORY);
    g_SoundHooks.playCommandSound(L"COPY");
    ShowCopyDialog(*this, dialog);
}

void CQvView::OnMoveFiles()
{
    int index = -1;
    CFilerPane* pane = ActivePane(index);
    if (pane == nullptr || pane->m_mode != PANE_MODE_FILER)
        return;
    CViewBusyGuard busy(*this);
    if (pane->CheckState(kUsualGuard))
        return;
    CSelectedEntryList source;
    if (ShowSelectionError(GetPaneSelection(TARGET_ALLOW_VIRTUAL_DRIVE, index, source)))
        return;
    auto* dialog = new CMyCopyDlg();
    dialog->m_sourcePane = index;
    dialog->m_kind = MOVE;
    dialog->m_source = std::move(source);
    SetCurrentDir(dialog->m_source.m_directory);
    // Find results are a filer pane too: a move may well go to where a search found.
    dialog->m_destinationText = OtherPaneDirectory(index, PANE_SUB_DIRECTORY | PANE_SUB_FIND_RESULTS);
    g_SoundHooks.playCommandSound(L"MOVE");
    ShowCopyDialog(*this, dialog);
}

void CQvView::OnCopyToAllDirs()
{
    int index = -1;
    CFilerPane* pane = ActivePane(index);
    if (pane == nullptr || pane->m_mode != PANE_MODE_FILER)
        return;
    CViewBusyGuard busy(*this);
    CFilerPane* other = g_Panes[1 - index];
    CSelectedEntryList source, targets;
    bool goAhead = !pane->CheckState(kUsualGuard) && other != nullptr &&
                   (other->m_position & PANE_POS_OTHER) && other->m_mode == PANE_MODE_FILER &&
                   other->m_subMode == PANE_SUB_DIRECTORY;
    if (goAhead)
    {
        bool markedDirectory = false;
        for (INT_PTR i = 0; i < other->m_entries.GetSize() && !markedDirectory; ++i)
            markedDirectory = other->m_entries[i].m_mark && other->m_entries[i].IsDirectory() &&
                              !other->m_entries[i].IsDots();
        goAhead = markedDirectory &&
                  !ShowSelectionError(GetPaneSelection(TARGET_ALLOW_VIRTUAL_DRIVE, index, source)) &&
                  !ShowSelectionError(GetPaneSelection(SELECT_DIRECTORIES_ONLY, 1 - index, targets));
    }
    if (!goAhead)
        return;
    auto* dialog = new CMyCopyDlg();
    dialog->m_source = std::move(source);
    dialog->m_targets = std::move(targets);
    dialog->m_sourcePane = index;
    dialog->m_kind = COPY_TO_ALL;
    dialog->m_otherDirectory = other->m_currentDir;
    ShowCopyDialog(*this, dialog);
}

void CQvView::OnDelete()
{
    int index = -1;
    CFilerPane* pane = ActivePane(index);
    if (pane == nullptr || (pane->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return;
    // Windows 95 and NT 4 know no recycle bin that takes a folder as one item.
    if (m_settings.osVersionKind == 0 || m_settings.osVersionKind == 2)
        g_TODUSTUNITFOLDER = 0;
    if (pane->CheckState(kUsualGuard))
        return;
    CViewBusyGuard busy(*this);
    SetCurrentDir(pane->m_currentDir);
    g_SoundHooks.playCommandSound(L"DELETE");
    CSelectedEntryList selection;
    if (ShowSelectionError(GetPaneSelection(TARGET_ALLOW_VIRTUAL_DRIVE, index, selection)))
        return;
    auto* dialog = new CDeleteDlg(DialogOwner(this));
    dialog->m_warnNotEmpty = g_DELETEASKNOTENMPTY;
    dialog->m_toRecycleBin = g_DELETETODUST;
    dialog->m_wholeFolder = g_TODUSTUNITFOLDER;
    dialog->m_paneIndex = index;
    dialog->m_paneMode = pane->m_mode;
    dialog->m_selection = std::move(selection);
    if (pane->m_mode == PANE_MODE_ARCHIVE)
    {
        CFileInfo* cursor = pane->GetCursorEntry();
        CString cursorName = cursor ? CString(cursor->GetName()) : CString();
        if (dialog->DoModal() == IDOK)
            ReopenArchiveListings(index, cursorName);
        delete dialog;
        return;
    }
    AddDeleteDialog(dialog);
    dialog->ShowListedModeless(IDD_DELETE, this);
}

int MakeDirectoryCursorName(LPCWSTR typed, CString& out)
{
    CString name = typed;
    CString root;
    if (GetPathRoot(name, root) && !root.IsEmpty())
        name = name.Mid(root.GetLength());
    while (!name.IsEmpty() && name[0] == L'\\')
        name = name.Mid(1);
    const int slash = name.Find(L'\\');
    out = slash < 0 ? name : name.Left(slash);
    return out.IsEmpty() ? 0 : 1;
}

void CQvView::OnMakeDirectory()
{
    int index = -1;
    CFilerPane* pane = ActivePane(index);
    if (pane == nullptr || pane->m_mode != PANE_MODE_FILER || pane->m_subMode != PANE_SUB_DIRECTORY)
        return;
    CViewBusyGuard busy(*this);
    CMkDirDlg dialog(DialogOwner(this));
    // A virtual drive's folders exist only in its store.
    if (pane->CheckState(PANE_CHECK_DRIVE_PRESENT) ||
        (!pane->IsOnVirtualDrive() && !DirectoryExists(pane->m_currentDir)))
        return;
    dialog.m_bMoveCursor = g_MOVEMAKEDIR;
    g_SoundHooks.playCommandSound(L"MKDIR");
    CString cursorName;
    if (dialog.DoModal() == IDOK)
    {
        CString path;
        CombinePath(pane->m_currentDir, dialog.m_name, path, index);
        g_MOVEMAKEDIR = dialog.m_bMoveCursor;
        MakeDirectoryCursorName(dialog.m_name, cursorName);
        int made = 0;
        if (path.GetLength() >= 2 && path[1] == L':' && IsVirtualDrive(path[0], 1))
        {
            CVirtualFolderStore* store = g_VirtualFolderStores[towupper(path[0]) - L'A'];
            made = store != nullptr && store->CreateDirectoryPath(path);
        }
        else
            made = CreateDirectoryTree(path, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (!made)
        {
            CString message;
            message.Format(L"%sの作成に失敗しました", (LPCWSTR)path);
            Tell(this, message, L"");
            return;
        }
    }
    if (g_MOVEMAKEDIR)
    {
        pane->ReadDirectory(TRUE);
        pane->SortEntries();
        if (!cursorName.IsEmpty())
            pane->SetCursorToName(cursorName, TRUE, pane->m_cursor);
        DrawPaneTitle(index);
        DrawCursorLine(index, 1);
        DrawStatusLine(STATUS_PART_UPDATE);
    }
    else
        ReloadFilerPanes();
}

void CQvView::OnAttribute()
{
    int index = -1;
    CFilerPane* pane = ActivePane(index);
    if (pane == nullptr || pane->m_mode != PANE_MODE_FILER || pane->CheckState(kUsualGuard))
        return;
    CViewBusyGuard busy(*this);
    CAttributeDlg dialog(index, DialogOwner(this));
    dialog.m_bInside = g_CHANRGEATTINDIR;
    dialog.m_bSpareFolders = g_CHANGE_ATTRIBUTE_NEGLECT_DIR;
    g_SoundHooks.playCommandSound(L"ATTRIBUTE");
    if (dialog.DoModal() == IDOK)
    {
        g_CHANRGEATTINDIR = dialog.m_bInside;
        g_CHANGE_ATTRIBUTE_NEGLECT_DIR = dialog.m_bSpareFolders;
    }
    ReloadFilerPanes();
}

void CQvView::DeleteFilesWithDefault(int value)
{
    // The choice is kept: it is the dialog's default from now on, not for this run only.
    g_DELETETODUST = value;
    OnDelete();
}

// ---- "@Dirsize": the size survey of the active listing's target entries; with the
// continuous survey a cursor key moves the cursor and the survey opens again.
void CQvView::OnDirectorySize()
{
    const int index = GetActivePaneIndex();
    if (PaneAt(index) == nullptr)
        return;
    if ((g_Panes[index]->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return;
    CViewBusyGuard busy(*this);
    for (;;)
    {
        if (g_Panes[index] == nullptr ||
            g_Panes[index]->CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY |
                                       PANE_CHECK_NO_DOT_TARGET))
            break;
        CDirectorySizeDlg dialog(this);
        dialog.m_paneIndex = index;
        if (dialog.DoModal() != IDOK || dialog.m_cursorKeyword.IsEmpty())
            break;
        ExecuteFilerCommand(dialog.m_cursorKeyword);
    }
}

// ---- "@Tolinkpos": the target of the cursor shortcut shown in the pane.
void CQvView::OnJumpToLinkTarget()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER, 0))
        return;
    CFilerPane& pane = *g_Panes[index];
    if (pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY | PANE_CHECK_NO_DOT_TARGET))
        return;
    CViewBusyGuard busy(*this);
    CFileInfo* cursor = pane.GetCursorEntry();
    CString target;
    if (cursor != nullptr && !cursor->IsDirectory())
    {
        const CString path = cursor->GetFullPath();
        const int dot = path.ReverseFind(L'.');
        const bool link = dot > path.ReverseFind(L'\\') && path.Mid(dot + 1).CompareNoCase(L"LNK") == 0;
        if (!link)
            target = path;
        else if (!ReadShortcut(path, &target, nullptr, nullptr))
            target.Empty();
    }
    CString directory, name;
    CFileInfo found;
    if (!target.IsEmpty())
    {
        SplitPath(target, &directory, &name);
        if (FindEntryInDirectory(nullptr, directory, name, found))
        {
            if (found.m_entryClass == ENTRY_CLASS_FILE)
                OpenPathInPane(index, target);
            else if (found.m_entryClass == ENTRY_CLASS_DIRECTORY)
                ChangePaneDirectory(index, target, 1, STATUS_PART_FULL, FALSE);
        }
    }
}
