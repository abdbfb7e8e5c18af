// The panes' side of the thumbnail loader (g_pLoadPreviewThread), which the program
// installs into g_PaneHooks; without a loader there are no previews.
#pragma once
#include <windows.h>

class CFilerPane;

// Nonzero when the loader shows the directory's entries as thumbnails.
int IsLoaderPreviewDirectory(LPCWSTR directory);
// Nonzero when the loader shows files of that name's kind.
int IsLoaderDisplayedKind(LPCWSTR name);
// Hands a listing to the loader: the pane's folder is kept from trimming, every entry
// is queued (unchanged ones keep their thumbnails), and the loader wakes.
void QueuePanePreviews(CFilerPane& pane);
