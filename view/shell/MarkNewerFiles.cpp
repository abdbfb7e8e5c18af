// "@Newselelect": marks the files that are newer than their namesakes in the other
// pane.
#include "app/dialogs/TellAndAsk.h"
#include "app/dialogs/DialogHelpers.h"
#include "filer/FilerPane.h"
#include "tools/execute/NewSelectConfDlg.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

namespace
{

// The first file of the list of that name (case ignored), or null.
const CFileInfo* FindNamesake(const CArrayFileInfo& entries, LPCWSTR name)
{
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        if (!entries[i].IsDirectory() && _wcsicmp(entries[i].GetName(), name) == 0)
            return &entries[i];
    return nullptr;
}

bool IsEarlier(const FILETIME& a, const FILETIME& b)
{
    if (a.dwHighDateTime != b.dwHighDateTime)
        return a.dwHighDateTime < b.dwHighDateTime;
    return a.dwLowDateTime < b.dwLowDateTime;
}

} // namespace

void CQvView::MarkNewerFiles()
{
    CViewBusyGuard busy(*this);
    const UINT listModes = PANE_MODE_FILER | PANE_MODE_ARCHIVE;
    for (CFilerPane* pane : g_Panes)
    {
        if (pane == nullptr || (pane->m_mode & listModes) == 0)
        {
            Tell(this, L"両方共Filerモードでないので実行できません");
            return;
        }
    }
    CNewSelectConfDlg dialog(DialogOwner(this));
    dialog.m_bothPanes = m_shell.newerBothPanes;
    dialog.m_oneSide = m_shell.newerOneSide;
    if (dialog.DoModal() != IDOK)
        return;
    m_shell.newerBothPanes = dialog.m_bothPanes;
    m_shell.newerOneSide = dialog.m_oneSide;
    for (int p = 0; p < 2; ++p)
    {
        CFilerPane& pane = *g_Panes[p];
        if (!(pane.m_position & PANE_POS_ACTIVE) &&
            !(m_shell.newerBothPanes && (pane.m_position & PANE_POS_OTHER)))
            continue;
        const CArrayFileInfo& others = g_Panes[1 - p]->m_entries;
        for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        {
            CFileInfo& entry = pane.m_entries[i];
            int mark = 0;
            if (!entry.IsDirectory() && !entry.IsDots())
            {
                const CFileInfo* namesake = FindNamesake(others, entry.GetName());
                if (namesake != nullptr)
                    mark = IsEarlier(namesake->m_findData.ftLastWriteTime, entry.m_findData.ftLastWriteTime);
                else
                    mark = m_shell.newerOneSide ? 1 : 0;
            }
            if ((entry.m_mark != 0) != (mark != 0))
                pane.SetEntryMark(i, mark ? 1 : 0);
        }
        if (m_hWnd)
            DrawMarks(p);
    }
    if (m_hWnd)
        DrawStatusLine(STATUS_PART_UPDATE);
}
