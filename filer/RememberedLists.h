// The sizes of two remembered lists that follow the user's settings: the destination
// folders offered for copies and the remembered cursor names per folder.
#pragma once

// Cuts the destination-folder history to count entries when it is longer.
void TrimSelectDirHistory(int count);
// Sizes the remembered cursor names to SUMSAVECURPOS while SAVECURSORPOSITION is on
// (left alone when that equals previousSize); empties them otherwise.
void ApplyCursorPositionListSize(int previousSize);
