// Settings of the text viewer that live in the settings file (sections
// "VIEWERSETTING" and "VIEWER_SEARCH_STRING"). Header-only so that every layer can
// reach them before the viewer itself exists.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

// The five characters-per-line presets of "@Lineword1" to "@Lineword5".
constexpr int VIEWER_LINE_WIDTH_COUNT = 5;
inline int g_ViewerLineWidths[VIEWER_LINE_WIDTH_COUNT] = {80, 80, 80, 80, 80};

// One per-extension row: the last row whose extension matches a file supplies both
// widths.
struct ViewerKindRow
{
    CString extension;
    int lineWidth = 80;
    int tabWidth = 8;
};
constexpr int VIEWER_KIND_ROW_COUNT = 30;
inline ViewerKindRow g_ViewerKindRows[VIEWER_KIND_ROW_COUNT];

// Keywords run by a left and a right double-click in a viewer pane.
inline CString g_ViewerLeftDblClickAct = L"@Closeviewer";
inline CString g_ViewerRightDblClickAct;

// The mark drawn at line ends and its length in characters.
inline CString g_LineReturnCode = L"\u00b6";
inline int g_LineReturnCodeLength = 1;

// The viewer's search history, newest first, at most 30; guarded by g_DataMutex.
constexpr int VIEWER_SEARCH_HISTORY_MAX = 30;
inline CStringArray g_ViewerSearchHistory;
