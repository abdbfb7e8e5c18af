// The single-valued settings of the settings file, the tables that bind the integers
// to their ini keys, and the optional system functions the program loads at start-up.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CIniFile;

// A remembered window size of section "SIZE_INFO", kept under the keys <name>_W and
// <name>_H.
struct SettingSize
{
    int width;
    int height;
};

// Every single-valued setting is a row of app/SettingsTable.inc with its section,
// type and default. A row of an integer or of a string or size of its own is a global
// named g_<ini key> (for example g_HIDDENVIEWFLAG, g_DISABLETWIN, g_7Z_PACK_EXT,
// g_DOSSHELL, g_DIR_HISTORY_DIALOG). The integers start with their defaults and take
// the file's values when the settings are read at start-up; the strings start empty
// and are read with the sections. Afterwards code reads and assigns them directly.
#define QV_SETTING_GLOBAL_STRING CString
#define QV_SETTING_GLOBAL_FONT_FACE CString
#define QV_SETTING_GLOBAL_WINDOWS_FOLDER CString
#define QV_SETTING_GLOBAL_SIZE SettingSize
#define QV_INT_SETTING(section, key, def) extern int g_##key;
#define QV_INT_SETTING_VAR(section, key, variable, def) extern int g_##variable;
#define QV_SETTING(section, key, type, def) inline QV_SETTING_GLOBAL_##type g_##key{};
#include "app/SettingsTable.inc"
#undef QV_SETTING_GLOBAL_STRING
#undef QV_SETTING_GLOBAL_FONT_FACE
#undef QV_SETTING_GLOBAL_WINDOWS_FOLDER
#undef QV_SETTING_GLOBAL_SIZE

// One row of an integer settings table. The layout is fixed: a zero-terminated key in
// a field of 36, the default, a reserved 0 and the bound variable.
struct IntSettingRow
{
    wchar_t key[36];
    int defaultValue;
    int reserved;
    int* variable;
};

// Section "ALLDATA" and section "ALLDATA2"; each table is followed by an all-zero row
// that the count leaves out.
constexpr int kAllDataSettingCount = 139;
constexpr int kAllData2SettingCount = 163;
extern const IntSettingRow g_AllDataSettings[kAllDataSettingCount + 1];
extern const IntSettingRow g_AllData2Settings[kAllData2SettingCount + 1];

struct SizeSettingRow
{
    wchar_t name[20];
    SettingSize* size;
};

constexpr int kSizeInfoSettingCount = 1;
extern const SizeSettingRow g_SizeInfoSettings[kSizeInfoSettingCount];

// Every row of the table gets CIniFile::GetInt(section, key, default), in table order.
void ReadIntSettingTable(CIniFile& ini, LPCWSTR section, const IntSettingRow* rows, int count);
// Every row of the table as CIniFile::WriteInt(section, key, current value).
void WriteIntSettingTable(CIniFile& ini, LPCWSTR section, const IntSettingRow* rows, int count);
// The size rows from and to section "SIZE_INFO" (the rows of app/SettingsTable.inc).
void ReadSizeSettings(CIniFile& ini);
void WriteSizeSettings(CIniFile& ini);

// Start-up's read: "ALLDATA", then "ALLDATA2", then "SIZE_INFO".
void ReadIntSettings(CIniFile& ini);
// The same three in the same order into a file opened with CIniFile::Create. The full
// settings writer puts the string keys of "ALLDATA" between the two tables, so it
// calls the parts above instead.
void WriteIntSettings(CIniFile& ini);

// StrCmpLogicalW from "Shlwapi.dll", looked up by the application at start-up
// (CQvApp::InitInstance); null when the system does not offer it. Used only while g_USE_STR_CMP_LOGICAL_W is
// set.
typedef int(WINAPI* StrCmpLogicalWProc)(LPCWSTR, LPCWSTR);
extern StrCmpLogicalWProc g_pfnStrCmpLogicalW;
// Looks the function up and sets g_pfnStrCmpLogicalW (null when it is missing).
void ResolveStrCmpLogicalW();
