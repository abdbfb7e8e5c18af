// Settings of the main view that the settings file fills: display colours, the
// colours per file extension, the column layouts of the filer list, the display
// filter slots, the pane background pictures and the filer's user menu.
#pragma once
#include <windows.h>
#include "framework/FwString.h"
#include "app/records/SharedRecords.h"

#include <array>

// The display colours (0xBBGGRR): the colour rows of app/SettingsTable.inc, indexed
// in their order as COLOR_<name>.
enum
{
#define QV_COLOR_SETTING(section, key, name, def) COLOR_##name,
#include "app/SettingsTable.inc"
    DISPLAY_COLOR_COUNT
};

struct DisplayColorRow
{
    const wchar_t* key;
    DWORD defaultValue;
};

inline constexpr DisplayColorRow kDisplayColorRows[DISPLAY_COLOR_COUNT] = {
#define QV_COLOR_SETTING(section, key, name, def) {L"" #key, def},
#include "app/SettingsTable.inc"
};

inline std::array<DWORD, DISPLAY_COLOR_COUNT> g_DisplayColors = [] {
    std::array<DWORD, DISPLAY_COLOR_COUNT> colors{};
    for (int i = 0; i < DISPLAY_COLOR_COUNT; ++i)
        colors[i] = kDisplayColorRows[i].defaultValue;
    return colors;
}();
// One row of the colours per file extension: the extension text and its colour.
struct KindColorEntry
{
    CString m_extensions;
    DWORD m_color = 0;
};
constexpr int kKindColorCount = 100;
inline KindColorEntry g_KindColors[kKindColorCount];

// One column layout of the filer list (FILERINFONUMBER picks the one in force).
struct FilerInfoPreset
{
    int date = 0;
    int time = 0;
    int noSeconds = 0;
    int size = 0;
    int attributes = 0;
};
constexpr int kFilerInfoPresetCount = 5;
inline FilerInfoPreset g_FilerInfoPresets[kFilerInfoPresetCount];

// The display filter slots as bit masks.
enum
{
    DISP_FILTER_HIDDEN = 0x01,     // hidden files shown
    DISP_FILTER_SYSTEM = 0x02,     // system files shown
    DISP_FILTER_FIRST_DOT = 0x04,  // names beginning with a dot shown
    DISP_FILTER_READ_ONLY = 0x08,  // read-only files shown
    DISP_FILTER_NO_CURRENT = 0x10, // the "." entry hidden
    DISP_FILTER_NO_PARENT = 0x20,  // the ".." entry hidden
};
constexpr int kDisplayFilterSlotCount = 5;
inline int g_DisplayFilterSlots[kDisplayFilterSlotCount];

// The pane background pictures, in the user's order; guarded by g_DataMutex.
inline CArrayCommonFileEx g_WallpaperFiles;

// One item of the filer's user menu; unused while the command is empty.
struct UserMenuEntry
{
    CString m_display;
    CString m_command;
};
constexpr int kUserMenuEntryCount = 10;
inline UserMenuEntry g_UserMenuEntries[kUserMenuEntryCount];

// ---- Sections ----------------------------------------------------------------------
// Each Load takes the file's values (defaults for what is missing), each Save writes
// the section into a file opened with CIniFile::Create, each Reset puts the records
// back to the values they are declared with.

class CIniFile;

void LoadSectionFilerInfo(CIniFile& ini); // "FILERINFODATA"
void SaveSectionFilerInfo(CIniFile& ini);
void ResetSectionFilerInfo();
// "COLORDATA": the reader takes the 21 named and 256 byte colours early and the 100
// kind colours later; the writer writes kinds, named colours, byte colours.
void LoadSectionColorNamed(CIniFile& ini);
void LoadSectionColorKinds(CIniFile& ini);
void SaveSectionColorData(CIniFile& ini);
void ResetSectionColorData();
void LoadSectionFilerBmp(CIniFile& ini); // "FILERBMP"
void SaveSectionFilerBmp(CIniFile& ini);
void ResetSectionFilerBmp();
// Appends "BACKBITMAPNAME" to the picture list unless empty or already there (case
// aside).
void AppendBackBitmapName();
void LoadSectionFilerUserMenu(CIniFile& ini); // "FILERUSERMENU"
void SaveSectionFilerUserMenu(CIniFile& ini);
void ResetSectionFilerUserMenu();
void LoadSectionDispFileSetting(CIniFile& ini); // "DISP_FILE_SETTING"
void SaveSectionDispFileSetting(CIniFile& ini);
void ResetSectionDispFileSetting();
