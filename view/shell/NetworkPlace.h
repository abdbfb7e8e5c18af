// The shell's name of a network list's cursor row, for its context menu.
#pragma once
#include "framework/FwString.h"

class CFilerPane;

// "\\server" for a server row, "\\server\share" for a share row (the server from the
// levels walked so far); empty when the list holds no server yet (domains, networks).
CString NetworkContextPlace(const CFilerPane& pane);
