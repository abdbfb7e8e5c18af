#include "filer/PaneSelection.h"
#include "filer/FilerPane.h"

int GetPaneSelection(DWORD flags, int pane, CSelectedEntryList& out)
{
    out.m_entries.RemoveAll();
    out.m_markedCount = 0;
    CFilerPane* source = PaneAt(pane);
    if (source == nullptr)
        return SELECTION_NONE;

    out.m_directory = source->m_currentDir;
    out.m_sourceKind =
        (source->m_mode & PANE_MODE_ARCHIVE) ? SELECTION_SOURCE_ARCHIVE : SELECTION_SOURCE_DISK;
    // The walk over the marks continues from the place the last caller left; marks
    // may have changed since, so this walk starts from the top.
    source->ResetTargetIteration();
    CFileInfo entry;
    for (int n = 0; source->GetTargetEntry(flags, n, entry); ++n)
    {
        if ((flags & SELECT_DIRECTORIES_ONLY) && !entry.IsDirectory())
            continue;
        if ((flags & SELECT_FILES_ONLY) && entry.IsDirectory())
            continue;
        out.m_entries.Add(entry);
    }
    out.m_markedCount = source->m_markedCount;
    return out.m_entries.IsEmpty() ? SELECTION_NONE : SELECTION_TAKEN;
}
