// The text engine as the panes see it: the factory the program installs with
// SetPaneViewerFactory.
#pragma once
#include "filer/PaneViewer.h"

IPaneViewer* CreateTextPaneViewer();
