// What the view keeps between keys: the hot keys the hook queued, the input method's
// last state and where each pane's Shift selection began.
#pragma once
#include "framework/FwCollections.h"
#include "framework/FwString.h"

struct KeyViewState
{
    // Commands of hot keys the low-level hook took, run by the view oldest first.
    CStringArray hotKeyQueue;
    // Whether any common key binding carries the hot-key flag.
    BOOL hasHotKey = FALSE;
    // The last value ApplyImeControl was asked for (-1 before the first).
    int lastImeControl = -1;
    // Where each pane's Shift selection began; -1 when none.
    INT64 selectionAnchor[2] = {-1, -1};
};
