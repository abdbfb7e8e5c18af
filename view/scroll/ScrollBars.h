// Where each pane's scroll bar stands and what it is set to.
#pragma once
#include "view/layout/Layout.h"
#include "view/scroll/ScrollRange.h"

class CFilerPane;

struct PaneScrollBarPlace
{
    // 0 when the pane gets no bar (hidden, its mode's bar switched off, or a mode
    // without one).
    int shown = 0;
    int vertical = 1;
    CRect rect;
};

// A vertical bar one line height wide along the pane's right edge; a stacked list pane
// without previews carries a horizontal one instead, in the last quarter of its title
// row.
PaneScrollBarPlace ComputePaneScrollBar(const ViewLayout& layout, CFilerPane* const panes[2], int pane);

// The range and position of the pane's bar: lists move by grid lines (vertical) or
// grid columns (horizontal), the drive list by rows, the text viewer and the binary
// editor by their lines up to the last one that can stand at the top. rowsFull is the
// pane's count of whole rows.
PaneScrollRange ComputePaneScrollRange(const CFilerPane& pane, int vertical, int rowsFull = 1);

// The highest first line of a text-viewer or binary-editor pane with rowsFull whole
// rows (the viewer's own clamp), 0 for other panes and for one shorter than a page.
INT64 LastFirstDocumentLine(const CFilerPane& pane, int rowsFull);
