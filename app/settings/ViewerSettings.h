// Settings of the text viewer and the binary editor's byte colours that live in the
// settings file (sections "VIEWERSETTING", "VIEWER_SEARCH_STRING", "VIEW_HISTORY" for
// the viewed-file history of app/records/ViewFileHistory.h, and "COLORDATA"). In the settings layer so that
// every library can reach them, the viewer itself included.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"
#include "app/settings/ViewSettings.h"

#include <array>
#include <iterator>

// The five characters-per-line presets of "@Lineword1" to "@Lineword5".
constexpr int VIEWER_LINE_WIDTH_COUNT = 5;
constexpr int kDefaultViewerLineWidth = 80;
constexpr int kDefaultViewerTabWidth = 8;
inline int g_ViewerLineWidths[VIEWER_LINE_WIDTH_COUNT] = {kDefaultViewerLineWidth, kDefaultViewerLineWidth,
                                                          kDefaultViewerLineWidth, kDefaultViewerLineWidth,
                                                          kDefaultViewerLineWidth};

// One per-extension row: the last row whose extension matches a file supplies both
// widths.
struct ViewerKindRow
{
    CString extension;
    int lineWidth = kDefaultViewerLineWidth;
    int tabWidth = kDefaultViewerTabWidth;
};
constexpr int VIEWER_KIND_ROW_COUNT = 30;
inline ViewerKindRow g_ViewerKindRows[VIEWER_KIND_ROW_COUNT];

// Keywords run by a left and a right double-click in a viewer pane.
constexpr wchar_t kDefaultViewerLeftDblClickAct[] = L"@Closeviewer";
inline CString g_ViewerLeftDblClickAct = kDefaultViewerLeftDblClickAct;
inline CString g_ViewerRightDblClickAct;

// The mark drawn at line ends and its length in characters.
constexpr wchar_t kDefaultLineReturnCode[] = L"\u00b6";
inline CString g_LineReturnCode = kDefaultLineReturnCode;
inline int g_LineReturnCodeLength = static_cast<int>(std::size(kDefaultLineReturnCode)) - 1;

// The viewer's search history, newest first, at most 30; guarded by g_DataMutex.
constexpr int VIEWER_SEARCH_HISTORY_MAX = 30;
inline CStringArray g_ViewerSearchHistory;

// The binary editor's text colour per byte value (used while BINARYUSERCOLOR is on).
constexpr DWORD kBinaryByteColorDefault = kDisplayColorRows[COLOR_VIEWER].defaultValue;
inline std::array<DWORD, 256> g_BinaryByteColors = [] {
    std::array<DWORD, 256> colors{};
    colors.fill(kBinaryByteColorDefault);
    return colors;
}();

// ---- Sections ----------------------------------------------------------------------
// Each Load takes the file's values (defaults for what is missing), each Save writes
// the section into a file opened with CIniFile::Create, each Reset puts the records
// back to the values they are declared with.

class CIniFile;

void LoadSectionViewerSetting(CIniFile& ini);
void SaveSectionViewerSetting(CIniFile& ini);
void ResetSectionViewerSetting();
void LoadSectionViewerSearchString(CIniFile& ini);
void SaveSectionViewerSearchString(CIniFile& ini);
void ResetSectionViewerSearchString();
void LoadSectionViewHistory(CIniFile& ini);
void SaveSectionViewHistory(CIniFile& ini);
void ResetSectionViewHistory();
