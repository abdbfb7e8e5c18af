// The pane that follows the active pane by showing the directory under its cursor.
#pragma once

struct PreviewViewState
{
    // The pane that follows the cursor's directory: 0, 1 or -1 for none.
    int followingPane = -1;
};
