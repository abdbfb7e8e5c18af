// The text viewer's menu items that have no keyword of their own in the viewer's
// table: the form toggle, the companion viewer and the point actions of the viewer's
// right-click menu.
#pragma once
#include <windows.h>

class CQvView;

// TRUE when the id was one of them and ran.
BOOL RunViewerMenuCommand(CQvView& view, UINT id);
