// The ranges and positions the panes' scroll bars are set to.
#pragma once
#include <windows.h>

struct PaneScrollRange
{
    int minimum = 0;
    int maximum = 0;
    int position = 0;
};

// A list that moves by grid lines (vertical bar: step is the column count) or grid
// columns (horizontal bar: step is the line count). A step below 1, as before the
// first layout, counts as 1.
PaneScrollRange ListScrollRange(INT64 entries, INT64 firstVisible, int step);
// Text lines (or binary rows) from the first shown one: up to 1,999 lines one step a
// line; longer texts are scaled to 2,000 steps.
PaneScrollRange LineScrollRange(INT64 lines, INT64 firstLine);
// The first line a thumb dropped at a position of LineScrollRange's bar stands for.
INT64 LineFromScrollThumb(INT64 lines, int thumb);
