#include "app/program/ProgramHooks.h"

#include "app/settings/SettingsSections.h"
#include "graphics/SusiePlugInScan.h"

void InstallProgramHooks()
{
    // The settings reader lies below the image plug-ins; it scans their folder after
    // reading "SUSIEDATA".
    g_SettingsHooks.scanImagePlugIns = ScanSusiePlugIns;
}
