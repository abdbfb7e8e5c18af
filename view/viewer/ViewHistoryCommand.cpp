// "@ViewHistory": a file viewed before, chosen from the history, shown again in the
// text viewer of the active pane: a file on disk from its folder, an archive member
// from its archive (opened unless the pane has it open already).
#include "util/PathHelpers.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/Settings.h"
#include "app/dialogs/TellAndAsk.h"
#include "filer/FilerPane.h"
#include "filer/PaneArchive.h"
#include "filer/dialogs/ViewHistoryDlg.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/commands/CommandDispatch.h"
#include "view/ViewBusyGuard.h"
#include "view/viewer/ViewHistoryCommand.h"

#include <memory>

namespace
{
constexpr UINT kHistoryPaneModes = PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_NETWORK |
                                   PANE_MODE_ARCHIVE | PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER;

void TellMissing(CQvView& view, const CString& path)
{
    CString text;
    text.Format(L"%sが存在しません", static_cast<LPCWSTR>(path));
    Tell(&view, text);
}

// The pane as an archive listing of `folder` inside its open archive, with the
// cursor on `name` when it is there.
void ShowArchiveFolder(CFilerPane& pane, const CString& folder, const CString& name)
{
    pane.m_archive->SetCurrentFolder(folder);
    pane.SetMode(0, PANE_MODE_ARCHIVE, 0);
    pane.m_firstVisible = 0;
    pane.m_cursor = 0;
    pane.ReloadArchiveListing();
    pane.SetCursorToName(name, FALSE, 0);
}

// The row of the one file of the listing that `name` names: the only one of that
// name case aside, or else the only one of exactly that spelling; -1 when none or
// several are.
int NamedMemberRow(const CFilerPane& pane, const CString& name)
{
    int row = -1, exactRow = -1, rows = 0, exactRows = 0;
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
    {
        const CFileInfo& entry = pane.m_entries[i];
        if (entry.IsDirectory() || name.CompareNoCase(entry.GetName()) != 0)
            continue;
        if (rows++ == 0)
            row = static_cast<int>(i);
        if (name.Compare(entry.GetName()) == 0 && exactRows++ == 0)
            exactRow = static_cast<int>(i);
    }
    if (rows == 1)
        return row;
    return exactRows == 1 ? exactRow : -1;
}

void Redraw(CQvView& view, int index)
{
    view.CalcLayout();
    if (view.m_hWnd == nullptr)
        return;
    view.m_paneRedrawRequest[index] = 1;
    view.Invalidate();
    view.UpdateMenuForMode();
    view.UpdateAuxiliaryWindows();
}
} // namespace

int OpenViewHistoryEntry(CQvView& view, const CViewFile& chosen)
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, kHistoryPaneModes, 0xFFFFFFFF))
        return 0;
    CFilerPane& pane = *g_Panes[index];
    const bool inArchive = !chosen.m_archive.IsEmpty();
    CViewBusyGuard busy(view);
    if (!inArchive)
    {
        CString path;
        path.Format(L"%s\\%s", static_cast<LPCWSTR>(chosen.m_folder), static_cast<LPCWSTR>(chosen.m_name));
        if (!FileExists(path))
        {
            TellMissing(view, path);
            return 0;
        }
        if ((pane.m_mode & PANE_MODES_TEXT_VIEWERS) != 0)
            pane.ReleaseViewerData();
        if ((pane.m_mode & (PANE_MODE_ARCHIVE | PANE_MODE_ARCHIVE_TEXT_VIEWER)) != 0)
            pane.CloseArchiveListing(FALSE);
        pane.SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
        pane.ChangeDirectory(chosen.m_folder, 1, FALSE, FALSE);
        pane.SyncProcessDirectory();
        pane.SetCursorToName(chosen.m_name, FALSE, 0);
    }
    else
    {
        if (!FileExists(chosen.m_archive))
        {
            TellMissing(view, chosen.m_archive);
            return 0;
        }
        CString openArchive;
        if ((pane.m_mode & (PANE_MODE_ARCHIVE | PANE_MODE_ARCHIVE_TEXT_VIEWER)) != 0)
            pane.m_archive->GetArchivePath(openArchive);
        const bool alreadyOpen = !openArchive.IsEmpty() && openArchive.CompareNoCase(chosen.m_archive) == 0;
        // Another archive is opened beside what the pane shows: an archive that
        // cannot be read leaves the pane's text and listing as they were.
        std::unique_ptr<IPaneArchive> opened;
        if (!alreadyOpen)
        {
            opened.reset(CreatePaneArchive());
            if (!opened->OpenAndList(chosen.m_archive, 0))
            {
                opened->Close();
                Tell(&view, opened->GetErrors().GetMessageText(), L"圧縮ファイルの閲覧失敗");
                return 0;
            }
        }
        if ((pane.m_mode & PANE_MODES_TEXT_VIEWERS) != 0)
            pane.ReleaseViewerData();
        if (opened)
            pane.ReplaceArchive(opened.release());
        CArrayFileInfo found;
        pane.m_archive->ListDirectory(found, chosen.m_folder, chosen.m_name, FALSE, nullptr);
        bool present = false;
        for (INT_PTR i = 0; i < found.GetSize() && !present; ++i)
            present = !found[i].IsDirectory();
        CString archiveFolder;
        SplitPath(chosen.m_archive, &archiveFolder, nullptr);
        pane.m_currentDir = archiveFolder;
        ShowArchiveFolder(pane, chosen.m_folder, chosen.m_name);
        if (!present)
        {
            Redraw(view, index);
            Tell(&view, L"ファイルが圧縮ファイル内にありません");
            return 0;
        }
        // The history keeps a name only. Members that differ only in case share it:
        // then only its exact spelling names one of them, and otherwise none is shown
        // rather than whichever comes first.
        const int member = NamedMemberRow(pane, chosen.m_name);
        if (member < 0)
        {
            Redraw(view, index);
            CErrorIF refusal;
            refusal.Add(ARCERR_AMBIGUOUS_NAME, 0);
            refusal.SetSubject(chosen.m_name);
            Tell(&view, refusal.GetMessageText());
            return 0;
        }
        pane.m_cursor = member;
        pane.MoveCursor(0, TRUE);
    }

    const UINT viewerMode = inArchive ? PANE_MODE_ARCHIVE_TEXT_VIEWER : PANE_MODE_TEXT_VIEWER;
    const CFileInfo* cursor = pane.GetCursorEntry();
    const bool onTheFile = cursor != nullptr && chosen.m_name.CompareNoCase(cursor->GetName()) == 0;
    int opened = 0;
    if (onTheFile)
    {
        const CFileInfo entry = *cursor;
        opened = pane.OpenViewerFile(entry, static_cast<LONGLONG>(g_GETVIEWMEM) * 1000, g_TABCARAMES,
                                     g_VIEWCHARWIDE, viewerMode);
    }
    if (opened)
    {
        g_SoundHooks.playCommandSound(L"VIEW");
        view.m_viewer.selection = ViewerSelection();
        pane.SetMode(0, viewerMode, 0);
    }
    else if (inArchive)
    {
        ShowArchiveFolder(pane, chosen.m_folder, chosen.m_name);
    }
    else
    {
        pane.MoveCursor(0, FALSE);
    }
    Redraw(view, index);
    return opened;
}

VIEW_COMMAND(ShowViewHistory)
{
    CViewBusyGuard busy(view);
    CViewHistoryDlg dialog(DialogOwner(&view));
    const INT_PTR result = dialog.DoModal();
    busy.Release();
    if (result == IDOK)
        OpenViewHistoryEntry(view, dialog.m_result);
}
