#include "view/navigation/ReturnToListing.h"
#include "filer/FilerPane.h"

void ReturnPaneToListing(CFilerPane& pane, bool fromArchive)
{
    const CString name = pane.m_viewerEntry.GetName();
    if (fromArchive)
    {
        pane.SetMode(0, PANE_MODE_ARCHIVE, 0);
        pane.ReloadArchiveListing();
    }
    else
    {
        pane.SetMode(0, PANE_MODE_FILER, 0);
        pane.ReadDirectory(TRUE);
        pane.SortEntries();
    }
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        if (name.CompareNoCase(pane.m_entries[i].GetName()) == 0)
        {
            pane.m_cursor = i;
            break;
        }
    pane.MoveCursor(0, TRUE);
}
