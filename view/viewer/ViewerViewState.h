// What the view keeps for its text viewer panes beyond each pane's own document.
#pragma once
#include "view/viewer/ViewerLines.h"

struct ViewerViewState
{
    // Line count and loading state each text viewer pane was last drawn with.
    INT64 shownLines[2] = {-1, -1};
    BOOL shownDone[2] = {TRUE, TRUE};
    // The selection of the active text viewer (byte offsets into its text).
    ViewerSelection selection;
    // The text area's right edge each viewer pane was last drawn with.
    int textRight[2] = {0, 0};
};
