// The folder chooser and the monitors a window lies on.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwGdi.h"
#include "framework/FwString.h"

class CWnd;

// Lets the user choose a folder (or a file too) starting at `path`. On OK the path
// becomes the choice without a trailing backslash (a drive root keeps it) and the
// result is TRUE; on Cancel, an empty choice or a failure it is FALSE and the path
// unchanged.
BOOL BrowseForFolder(CString& path, CWnd* owner, BOOL includeFiles);

// The rectangle of the monitor that shows most of the window; the primary screen
// when there is only one.
void GetWindowMonitorRect(HWND window, RECT* rect);
// Where `window` may stand at its own size with its top-left corner as near to `wanted`
// as the monitor of `frame` allows; a kept place from another screen layout may lie
// off every monitor.
POINT KeepOnFrameMonitor(HWND frame, HWND window, POINT wanted);
// Appends the rectangle of every display monitor.
void EnumMonitors(CArray<CRect>& rects);
