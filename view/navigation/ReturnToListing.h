// The way back from a file's own display (text viewer, binary editor) to the listing
// it was opened from.
#pragma once

class CFilerPane;

// Gives `pane` its folder listing again (read anew and sorted), or its archive listing
// when the file lay in an archive, and puts the cursor back on the file that was shown,
// whatever the cursor-memory setting says.
void ReturnPaneToListing(CFilerPane& pane, bool fromArchive);
