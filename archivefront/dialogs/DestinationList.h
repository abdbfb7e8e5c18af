// The drop-down lists of the pack and unpack dialogs' destination fields: the folders
// of the source pane and the destination history.
#pragma once
#include <windows.h>

// The directory entries of pane 0 or 1 of g_Panes that are not marked (without the
// cursor entry when nothing is marked), unless the other pane already shows a folder
// a user would pick: a visible filer pane in directory mode.
void AddPaneFoldersToCombo(HWND combo, int paneIndex);
// Every entry of the destination history, under g_DataMutex.
void AddDestinationHistoryToCombo(HWND combo);
