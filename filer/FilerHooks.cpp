#include "filer/FilerHooks.h"
#include "app/records/PaneRecords.h"
#include "app/records/PlayListFile.h"
#include "filer/EntryFind.h"
#include "filer/FilerPane.h"

BOOL GetPaneTargetForPlayList(int paneIndex, int n, CString& folder, WIN32_FIND_DATAW& findData)
{
    if (paneIndex < 0 || paneIndex > 1 || g_Panes[paneIndex] == nullptr)
        return FALSE;
    CFileInfo entry;
    if (!g_Panes[paneIndex]->GetTargetEntry(0, n, entry))
        return FALSE;
    // A virtual-drive entry stands for a file in another folder: the play list takes
    // the real file.
    folder = entry.GetRealDirectory(FALSE);
    findData = entry.m_findData;
    return TRUE;
}

void InstallFilerHooks(PaneArchiveFactory archiveFactory)
{
    CDirWalkFrame::SetCloseEntryFind(&CloseEntryFind);
    SetPaneTargetEntrySource(&GetPaneTargetForPlayList);
    SetPaneArchiveFactory(archiveFactory);
}
