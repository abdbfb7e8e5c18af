// The volume label of the drive list's cursor drive, changed through the rename keywords.
#pragma once

class CQvView;

// The label of the drive-list pane's cursor drive, in the one-line name dialog.
void ChangeVolumeLabel(CQvView& view, int index);
