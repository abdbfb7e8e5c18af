// The settings the viewer settings dialog shows, and storing them after its OK.
#pragma once
#include "viewers/text/ViewConfigDlg.h"

class CQvView;

// The viewer settings as they are in use.
ViewerConfigValues GetViewerSettings();
// Stores them: new widths wrap the active text viewer again, a new memory limit opens
// it again, a new line-end mark repaints.
void ApplyViewerSettings(CQvView& view, const ViewerConfigValues& values);
