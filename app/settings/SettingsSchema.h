// Every single-valued key of the settings file as one table, made from the rows of
// app/SettingsTable.inc: section, key, type, default and where the value is kept. The
// section code reads and writes a section's keys of this table at the place its row
// in app/settings/SettingsSections.cpp gives them among the section's listed keys.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CIniFile;

// What a row's value is and how it stands in the file (app/SettingsTable.inc says
// each one's rules).
enum SettingType
{
    SETTING_INT,
    SETTING_SWITCH,
    SETTING_SERIES_NUMBER,
    SETTING_STRING,
    SETTING_FONT_FACE,
    SETTING_WINDOWS_FOLDER,
    SETTING_TEMP_FOLDER,
    SETTING_COLOR,
    SETTING_SIZE,
};

constexpr unsigned SettingTypeBit(SettingType type)
{
    return 1u << type;
}
constexpr unsigned kEverySettingType = ~0u;

struct SettingRow
{
    const wchar_t* section;
    const wchar_t* key;
    SettingType type;
    // int (INT, SWITCH, SERIES_NUMBER), CString (the texts and folders), DWORD (COLOR)
    // or SettingSize (SIZE); null for a value the main view lends (TEMP_FOLDER).
    void* storage;
    int defaultNumber;          // of the integers, colours and sizes
    const wchar_t* defaultText; // of the texts
};

extern const SettingRow g_SettingRows[];
extern const int g_SettingRowCount;

// The rows of `section` whose type is among `types`, in table order. A row without
// storage of its own reads into and writes from `lent` (nothing when it is null).
// Both hold g_DataMutex, which guards some of the values (the plug-in folders, the
// picture save settings).
void ReadSettingRows(CIniFile& ini, LPCWSTR section, unsigned types = kEverySettingType,
                     CString* lent = nullptr);
void WriteSettingRows(CIniFile& ini, LPCWSTR section, unsigned types = kEverySettingType,
                      const CString* lent = nullptr);
