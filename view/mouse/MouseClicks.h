// The left button's click on the panes and the drive bar.
#pragma once
#include <windows.h>
#include "framework/FwGdi.h"

class CQvView;

// The click's work: the cursor moves and marks, a click in the drive bar changes drive.
// 1 when it acted on a pane or the drive bar, 2 when it also dragged files into another
// program that copied or moved them.
int ClickPane(CQvView& view, UINT flags, CPoint point);
