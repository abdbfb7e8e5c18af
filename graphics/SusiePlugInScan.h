// Fills the image and archive plug-in list from the plug-in folder.
#pragma once
#include <windows.h>

// Most file-type pattern lists asked of one plug-in. A plug-in that keeps answering
// would otherwise be asked forever.
constexpr int SUSIE_MAX_PATTERN_CALLS = 64;

// Loads every "*.SPH" file of g_SusiePlugInDir and asks it for its version,
// description and file patterns. Without merge the list is rebuilt; with merge listed
// plug-ins keep their place and enabled flag (with HIGHLOADSPI 1 they are not even
// loaded) and new ones are appended enabled. Plug-ins without patterns, and plug-ins
// that fault while being asked, are removed. 1 when the folder held a match, 0 when
// not (the list then stays as it was, or empty without merge).
int ScanSusiePlugIns(BOOL merge);
