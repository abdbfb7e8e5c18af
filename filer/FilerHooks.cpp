#include "filer/FilerHooks.h"
#include "app/records/PaneRecords.h"
#include "app/records/PlayListFile.h"
#include "filer/EntryFind.h"
#include "filer/FilerPane.h"

BOOL GetPaneTargetForPlayList(int paneIndex, int n, CString& folder, WIN32_FIND_DATAW& findData)
{
    CFilerPane* pane = PaneAt(paneIndex);
    CFileInfo entry;
    if (pane == nullptr || !pane->GetTargetEntry(0, n, entry))
        return FALSE;
    // A virtual-drive entry stands for a file in another folder: the play list takes
    // the real file.
    folder = entry.GetRealDirectory(FALSE);
    findData = entry.m_findData;
    return TRUE;
}
