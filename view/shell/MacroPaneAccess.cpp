// The panes as the macro expander sees them.
#include "app/CommandMacros.h"
#include "filer/FilerPane.h"
#include "view/shell/ShellSeam.h"

BOOL GetMacroPaneTarget(int pane, int n, BOOL cursorOnly, MacroEntry& out)
{
    CFilerPane* source = PaneAt(pane);
    CFileInfo entry;
    DWORD flags = TARGET_ALLOW_VIRTUAL_DRIVE | (cursorOnly ? TARGET_CURSOR_ONLY : 0);
    if (source == nullptr || !source->GetTargetEntry(flags, n, entry))
        return FALSE;
    // A virtual drive lists files of other folders: programs need the real one.
    out.folder = entry.m_realDirectory.IsEmpty() ? entry.GetDirectory() : entry.m_realDirectory;
    out.name = entry.GetName();
    out.isFolder = entry.IsDirectory();
    return TRUE;
}

BOOL GetMacroPaneState(int pane, UINT& position, UINT& mode, int& subMode, CString& currentDir)
{
    const CFilerPane* found = PaneAt(pane);
    if (found == nullptr)
        return FALSE;
    const CFilerPane& target = *found;
    position = target.m_position;
    mode = target.m_mode;
    subMode = target.m_subMode;
    currentDir = target.m_currentDir;
    return TRUE;
}
