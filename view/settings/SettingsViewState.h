// Run-time state the settings reader and writer keep in the view.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

struct SettingsViewState
{
    // The per-user settings dialog's "do not save at exit" switch; never stored.
    int noSaveAtExit = 0;
    // Set when the reader could not create the panes; the window then does not open.
    int startFailed = 0;
    // The panes' wildcard-on-directories switch (WILD_CARD_APPLY_DIR_AT_START).
    BOOL wildcardOnDirectories = FALSE;
    // GetOsVersionKind at start.
    int osVersionKind = 0;
    // The start directories the reader settled on for pane 0 and pane 1.
    CString startDirectories[2];
};
