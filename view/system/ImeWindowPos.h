// Where the input method's windows open.
#pragma once
#include <windows.h>
#include "framework/FwGdi.h"

class CQvView;

// Below the active pane's cursor cell, in client coordinates before scaling (the
// top-left corner while a picture is shown).
CPoint GetImeAnchor(CQvView& view);
