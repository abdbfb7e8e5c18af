// The panes that follow the active pane: one shows the directory under its cursor,
// one always shows the other pane's cursor directory.
#pragma once

struct PreviewViewState
{
    // The pane that follows the cursor's directory: 0, 1 or -1 for none.
    int followingPane = -1;
    // The pane that always shows the other pane's cursor directory; -1 for none.
    int otherAlwaysDirectoryPane = -1;
};
