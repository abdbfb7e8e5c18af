// Moving through an archive listing: into a folder of the archive, one level up, and
// out of the archive back to its folder with the cursor on the archive file.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/navigation/ArchiveNavigation.h"
#include "view/media/SoundHooks.h"
#include "view/commands/CommandDispatch.h"
#include "view/status/StatusLine.h"
#include "app/dialogs/TellAndAsk.h"
#include "view/ViewBusyGuard.h"

void CQvView::OpenArchiveFolder(int index, LPCWSTR folder, LPCWSTR cursorName)
{
    CFilerPane& pane = *g_Panes[index];
    pane.m_archive->SetCurrentFolder(folder);
    pane.m_firstVisible = 0;
    pane.m_cursor = 0;
    pane.ReloadArchiveListing();
    if (cursorName != nullptr && cursorName[0] != 0)
        pane.SetCursorToName(cursorName, TRUE, pane.m_cursor);
    CalcLayout();
    pane.MoveCursor(0, TRUE);
    DrawPaneTitle(index);
    RedrawMovedPane(index, STATUS_PART_UPDATE);
}

void EnterArchiveFolder(CQvView& view, int index, LPCWSTR name)
{
    const CString& current = g_Panes[index]->m_archive->GetCurrentFolder();
    // At the archive's top the member folder is named without a leading backslash.
    const CString folder = current.IsEmpty() ? CString(name) : current + L"\\" + name;
    view.OpenArchiveFolder(index, folder, L"..");
}

void LeaveArchiveFolder(CQvView& view, int index)
{
    CFilerPane& pane = *g_Panes[index];
    g_SoundHooks.playCommandSound(L"UPDIR");
    const CString current = pane.m_archive->GetCurrentFolder();
    if (!current.IsEmpty())
    {
        const int slash = current.ReverseFind(L'\\');
        const CString parent = slash < 0 ? CString() : current.Left(slash);
        const CString name = slash < 0 ? current : current.Mid(slash + 1);
        view.OpenArchiveFolder(index, parent, name);
        return;
    }
    pane.SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.CloseArchiveListing(TRUE);
    view.CalcLayout();
    pane.MoveCursor(0, TRUE);
    view.DrawPaneTitle(index);
    view.RedrawMovedPane(index, STATUS_PART_UPDATE);
}

// ---- "@PackViewExit": the archive listing of the active pane ends, after a question, and
// the pane lists the archive's folder again with the cursor on the archive.
VIEW_COMMAND(LeaveArchive)
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_ARCHIVE, 0))
        return;
    if (!Ask(&view, L"圧縮ファイルの閲覧を終了しますか", L"確認", MessageBoxKind::OkCancel))
        return;
    CViewBusyGuard busy(view);
    CFilerPane& pane = *g_Panes[index];
    pane.SetMode(0, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.CloseArchiveListing(TRUE);
    view.CalcLayout();
    pane.MoveCursor(0, TRUE);
    view.DrawPaneTitle(index);
    view.RedrawMovedPane(index, STATUS_PART_UPDATE);
    view.UpdateMenuForMode();
}
