// "@Tolinkpos": the target of the cursor shortcut shown in the pane.
#include "app/FileProbes.h"
#include "util/PathHelpers.h"
#include "filer/EntryFind.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/status/StatusLine.h"
#include "view/ViewBusyGuard.h"

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
