// What the view hands the settings layer: its own lists for one read or write.
#pragma once
#include "app/settings/SettingsSections.h"
#include "filer/PathHistory.h"
#include "view/QvView.h"

inline SettingsViewData LendViewData(CQvView& view)
{
    SettingsViewData data;
    data.tempDirectory = &view.m_tempDirectory;
    data.launcherExe = &view.m_LancherExe;
    data.launcherPar = &view.m_LancherPar;
    data.launcherKey = &view.m_LancherKey;
    data.launcherExeDir = &view.m_LancherExeDir;
    return data;
}

// "ENDDIRECTORY" and "ENDDIRECTORY2" from the two panes' current state (g_Panes), for
// the writer.
void ComputeEndDirectories();
