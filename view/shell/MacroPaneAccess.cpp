// The panes as the macro expander sees them.
#include "app/CommandMacros.h"
#include "filer/FilerPane.h"
#include "view/shell/ShellSeam.h"

namespace
{

BOOL GetPaneTarget(int pane, int n, BOOL cursorOnly, MacroEntry& out)
{
    if (pane < 0 || pane > 1 || g_Panes[pane] == nullptr)
        return FALSE;
    CFileInfo entry;
    DWORD flags = TARGET_ALLOW_VIRTUAL_DRIVE | (cursorOnly ? TARGET_CURSOR_ONLY : 0);
    if (!g_Panes[pane]->GetTargetEntry(flags, n, entry))
        return FALSE;
    // A virtual drive lists files of other folders: programs need the real one.
    out.folder = entry.m_realDirectory.IsEmpty() ? entry.GetDirectory() : entry.m_realDirectory;
    out.name = entry.GetName();
    out.isFolder = entry.IsDirectory();
    return TRUE;
}

BOOL GetPaneState(int pane, UINT& position, UINT& mode, int& subMode, CString& currentDir)
{
    if (pane < 0 || pane > 1 || g_Panes[pane] == nullptr)
        return FALSE;
    const CFilerPane& target = *g_Panes[pane];
    position = target.m_position;
    mode = target.m_mode;
    subMode = target.m_subMode;
    currentDir = target.m_currentDir;
    return TRUE;
}

} // namespace

void InstallMacroPaneAccess()
{
    g_MacroPaneAccess.getTarget = GetPaneTarget;
    g_MacroPaneAccess.getState = GetPaneState;
}
