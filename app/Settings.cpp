#include "app/Settings.h"
#include "util/IniFile.h"
#include "app/settings/PrintSettings.h"
#include "app/settings/SettingsSchema.h"

// The variables, each starting with its default.
#define QV_INT_SETTING(section, key, def) int g_##key = def;
#define QV_INT_SETTING_VAR(section, key, variable, def) int g_##variable = def;
#include "app/SettingsTable.inc"

StrCmpLogicalWProc g_pfnStrCmpLogicalW = nullptr;

void ResolveStrCmpLogicalW()
{
    // Missing from old systems' Shlwapi, so looked up rather than imported; the library
    // stays loaded for the whole run, as the pointer does.
    g_pfnStrCmpLogicalW = nullptr;
    if (HMODULE shlwapi = LoadLibraryW(L"Shlwapi.dll"))
        g_pfnStrCmpLogicalW = reinterpret_cast<StrCmpLogicalWProc>(
            reinterpret_cast<void*>(GetProcAddress(shlwapi, "StrCmpLogicalW")));
}

// A row goes into the table of its own section and nowhere else.
#define QV_ROW_ALLDATA(key, variable, def) {L"" #key, def, 0, &variable},
#define QV_ROW_ALLDATA2(key, variable, def)
#define QV_INT_SETTING(section, key, def) QV_ROW_##section(key, g_##key, def)
#define QV_INT_SETTING_VAR(section, key, variable, def) QV_ROW_##section(key, g_##variable, def)
#define QV_INT_SETTING_FIELD(section, key, field, def) QV_ROW_##section(key, g_PrintSettings.field, def)
const IntSettingRow g_AllDataSettings[kAllDataSettingCount + 1] = {
#include "app/SettingsTable.inc"
    {},
};
#undef QV_ROW_ALLDATA
#undef QV_ROW_ALLDATA2

#define QV_ROW_ALLDATA(key, variable, def)
#define QV_ROW_ALLDATA2(key, variable, def) {L"" #key, def, 0, &variable},
#define QV_INT_SETTING(section, key, def) QV_ROW_##section(key, g_##key, def)
#define QV_INT_SETTING_VAR(section, key, variable, def) QV_ROW_##section(key, g_##variable, def)
#define QV_INT_SETTING_FIELD(section, key, field, def) QV_ROW_##section(key, g_PrintSettings.field, def)
const IntSettingRow g_AllData2Settings[kAllData2SettingCount + 1] = {
#include "app/SettingsTable.inc"
    {},
};
#undef QV_ROW_ALLDATA
#undef QV_ROW_ALLDATA2

// The declared counts must match the list: a row too many for a table fails to
// compile above, a row too few would leave a second zero row.
#define QV_IN_ALLDATA_ALLDATA 1
#define QV_IN_ALLDATA_ALLDATA2 0
#define QV_INT_SETTING(section, key, def) +QV_IN_ALLDATA_##section
#define QV_INT_SETTING_VAR(section, key, variable, def) +QV_IN_ALLDATA_##section
#define QV_INT_SETTING_FIELD(section, key, field, def) +QV_IN_ALLDATA_##section
constexpr int kListedAllData = 0
#include "app/SettingsTable.inc"
    ;
#define QV_INT_SETTING(section, key, def) +1
#define QV_INT_SETTING_VAR(section, key, variable, def) +1
#define QV_INT_SETTING_FIELD(section, key, field, def) +1
constexpr int kListedSettings = 0
#include "app/SettingsTable.inc"
    ;
static_assert(kListedAllData == kAllDataSettingCount, "ALLDATA rows and count differ");
static_assert(kListedSettings - kListedAllData == kAllData2SettingCount, "ALLDATA2 rows and count differ");

// The rows of type SIZE.
#define QV_SIZE_ROW_STRING(key)
#define QV_SIZE_ROW_FONT_FACE(key)
#define QV_SIZE_ROW_WINDOWS_FOLDER(key)
#define QV_SIZE_ROW_SIZE(key) {L"" #key, &g_##key},
#define QV_SETTING(section, key, type, def) QV_SIZE_ROW_##type(key)
const SizeSettingRow g_SizeInfoSettings[kSizeInfoSettingCount] = {
#include "app/SettingsTable.inc"
};

void ReadIntSettingTable(CIniFile& ini, LPCWSTR section, const IntSettingRow* rows, int count)
{
    for (int i = 0; i < count; ++i)
        *rows[i].variable = ini.GetInt(section, rows[i].key, rows[i].defaultValue);
}

void WriteIntSettingTable(CIniFile& ini, LPCWSTR section, const IntSettingRow* rows, int count)
{
    for (int i = 0; i < count; ++i)
        ini.WriteInt(section, rows[i].key, *rows[i].variable);
}

void ReadSizeSettings(CIniFile& ini)
{
    ReadSettingRows(ini, L"SIZE_INFO");
}

void WriteSizeSettings(CIniFile& ini)
{
    WriteSettingRows(ini, L"SIZE_INFO");
}

void ReadIntSettings(CIniFile& ini)
{
    ReadIntSettingTable(ini, L"ALLDATA", g_AllDataSettings, kAllDataSettingCount);
    ReadIntSettingTable(ini, L"ALLDATA2", g_AllData2Settings, kAllData2SettingCount);
    ReadSizeSettings(ini);
}

void WriteIntSettings(CIniFile& ini)
{
    WriteIntSettingTable(ini, L"ALLDATA", g_AllDataSettings, kAllDataSettingCount);
    WriteIntSettingTable(ini, L"ALLDATA2", g_AllData2Settings, kAllData2SettingCount);
    WriteSizeSettings(ini);
}
