// The most-recently-used lists behind the history combo boxes (destinations,
// wildcards, search strings, command lines, play-list files ...): newest first.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

// Puts `entry` at the front of `list` while holding g_DataMutex. An entry that is
// already there (case aside) moves to the front in the new spelling; a new one is
// inserted and, when the list then holds `maximum` entries or more, the last entry
// goes, so a list kept only by this function holds at most maximum - 1 entries.
// A maximum of 0 changes nothing and gives 0; an empty entry changes nothing.
// Returns the list's count.
int AddToHistoryList(CStringArray& list, int maximum, LPCWSTR entry);
