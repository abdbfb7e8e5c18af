// What the view keeps for its binary-editor panes beyond each pane's own data.
#pragma once
#include "view/binary/BinaryEditorChoices.h"

struct BinaryViewState
{
    // The binary pane a left-button drag selects in; -1 while no such drag runs.
    int dragPane = -1;
    // What the editor's dialogs start from, and its own byte clipboard.
    BinaryEditorChoices choices;
    BinaryByteClipboard clipboard;
};
