#include "app/program/ProgramHooks.h"

#include "app/settings/SettingsSections.h"
#include "archive/front/ArchiveFront.h"
#include "filer/FilerHooks.h"
#include "fileops/find/FindThread.h"
#include "graphics/SusiePlugInScan.h"
#include "view/shell/ShellSeam.h"

void InstallProgramHooks()
{
    // The settings reader lies below the image plug-ins; it scans their folder after
    // reading "SUSIEDATA".
    g_SettingsHooks.scanImagePlugIns = ScanSusiePlugIns;
    // The panes' archive objects, the walk frames' find-handle closing and the play
    // list's source of pane entries.
    InstallFilerHooks(&CArchiveFront::CreateForPane);
    // The panes' searches run the file operations' search worker.
    InstallFindThread();
    // The command-line macros read the panes.
    InstallMacroPaneAccess();
}
