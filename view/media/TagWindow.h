// The tag display window the view keeps and feeds with the cursor entry.
#pragma once

// Shows the active filer pane's cursor file in the tag window when it is shown.
void UpdateTagViewForCursor();
// Destroys the window at the end of the view.
void CloseTagViewWindow();
