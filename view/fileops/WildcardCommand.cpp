// "@Wildcard": the filter of the active listing, with the history of typed patterns.
#include "app/Settings.h"
#include "util/StringHelpers.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/records/HistoryList.h"
#include "app/settings/FilerSettings.h"
#include "filer/FilerPane.h"
#include "filer/dialogs/WildCardDlg.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"

void CQvView::OnWildcard()
{
    int index = -1;
    if (!FindPaneByMode(&index, PANE_POS_ACTIVE, PANE_MODE_FILER | PANE_MODE_ARCHIVE, 0))
        return;
    CFilerPane& pane = *g_Panes[index];
    const bool archive = pane.m_mode == PANE_MODE_ARCHIVE;
    CViewBusyGuard busy(*this);
    CWildCardDlg dialog(DialogOwner(this));
    dialog.m_text = L"*.*";
    dialog.m_bApplyToDirectories = m_settings.wildcardOnDirectories;
    dialog.m_bNotDosNames = g_FIND_FILE_NEGLECT_DOS_NAME;
    dialog.m_bAddAsterisk = g_AUTO_ADD_ASTERRISK;
    CString cursorName;
    if (!pane.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY))
        if (CFileInfo* cursor = pane.GetCursorEntry())
            cursorName = cursor->GetName();
    if (!archive)
        g_SoundHooks.playCommandSound(L"WILDCARD");
    if (dialog.DoModal() != IDOK)
        return;
    CString pattern = dialog.m_text;
    // The history keeps what was typed; the widening applies to this listing only.
    if (!archive)
        AddToHistoryList(g_WildcardHistory, 10, pattern);
    g_AUTO_ADD_ASTERRISK = dialog.m_bAddAsterisk;
    if (g_AUTO_ADD_ASTERRISK)
        BuildWildcardPattern(pattern);
    pane.m_wildcard = pattern;
    pane.m_bFilterDirectories = dialog.m_bApplyToDirectories;
    if (archive)
    {
        pane.ReloadArchiveListing();
        pane.m_cursor = 0;
        pane.m_firstVisible = 0;
    }
    else
    {
        pane.m_condition = dialog.m_condition;
        m_settings.wildcardOnDirectories = dialog.m_bApplyToDirectories;
        g_FIND_FILE_NEGLECT_DOS_NAME = dialog.m_bNotDosNames;
        pane.ReadDirectory(TRUE);
    }
    pane.SortEntries();
    pane.SetCursorToNameOrParent(cursorName);
    pane.MoveCursor(0, TRUE);
    if (m_hWnd)
    {
        m_paneRedrawRequest[index] = 1;
        DrawPane(index);
        DrawStatusLine(STATUS_PART_UPDATE);
    }
}
