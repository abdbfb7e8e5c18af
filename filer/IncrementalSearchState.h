// The incremental search of the filer panes: whether it is on, what was typed and
// which keys it takes. The view's key routing switches it and its status rows show
// it; a pane whose listing is rebuilt ends or empties it.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

inline BOOL g_IncrementalSearchOn = FALSE;
inline CString g_IncrementalSearchText;
// Which keys the incremental search takes while it is on: 1 letters alone, 2 with
// Shift, 3 with Ctrl, 4 typed characters without Ctrl; 0 off.
inline int g_IncrementalSearchMode = 0;
