// Showing a file of the view history again in the text viewer.
#pragma once

class CQvView;
class CViewFile;

// Shows a file of the view history again in the active pane's text viewer; 1 when it
// opened (a missing file or member says so and leaves the pane).
int OpenViewHistoryEntry(CQvView& view, const CViewFile& chosen);
