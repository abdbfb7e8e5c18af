// The text engine as the panes see it: the factory the program installs in
// g_PaneViewerHooks.
#pragma once
#include "filer/PaneViewer.h"

IPaneViewer* CreateTextPaneViewer();
