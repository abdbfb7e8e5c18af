// The menu ids the binary editor's commands serve (CQvView::RunBinaryMenuCommand).
#pragma once
#include <windows.h>

// 1 for an id of the editor's menu commands (start 206 included): the item is
// enabled, since the view serves it without a message-map entry.
BOOL IsBinaryMenuCommand(UINT id);
