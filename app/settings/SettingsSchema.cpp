#include "app/settings/SettingsSchema.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/Settings.h"
#include "app/settings/ArchiverSettings.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/GeneralSections.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/MediaSettings.h"
#include "app/settings/PrintSettings.h"
#include "app/settings/SectionText.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "app/settings/ViewerSettings.h"
#include "framework/FwLock.h"

// The defaults' column: a number or a text, by type.
#define QV_DEFAULT_INT(def) def, nullptr
#define QV_DEFAULT_SWITCH(def) def, nullptr
#define QV_DEFAULT_SERIES_NUMBER(def) def, nullptr
#define QV_DEFAULT_STRING(def) 0, def
#define QV_DEFAULT_FONT_FACE(def) 0, def
#define QV_DEFAULT_WINDOWS_FOLDER(def) 0, def
#define QV_DEFAULT_TEMP_FOLDER(def) 0, def
#define QV_DEFAULT_SIZE(def) def, nullptr

#define QV_INT_SETTING(section, key, def) {L"" #section, L"" #key, SETTING_INT, &g_##key, def, nullptr},
#define QV_INT_SETTING_VAR(section, key, variable, def)                                                      \
    {L"" #section, L"" #key, SETTING_INT, &g_##variable, def, nullptr},
#define QV_INT_SETTING_FIELD(section, key, field, def)                                                       \
    {L"" #section, L"" #key, SETTING_INT, &g_PrintSettings.field, def, nullptr},
#define QV_SETTING(section, key, type, def)                                                                  \
    {L"" #section, L"" #key, SETTING_##type, &g_##key, QV_DEFAULT_##type(def)},
#define QV_SETTING_AT(section, key, type, storage, def)                                                      \
    {L"" #section, L"" #key, SETTING_##type, &(storage), QV_DEFAULT_##type(def)},
#define QV_SETTING_LENT(section, key, type, def)                                                             \
    {L"" #section, L"" #key, SETTING_##type, nullptr, QV_DEFAULT_##type(def)},
#define QV_COLOR_SETTING(section, key, name, def)                                                            \
    {L"" #section, L"" #key, SETTING_COLOR, &g_DisplayColors[COLOR_##name], def, nullptr},
const SettingRow g_SettingRows[] = {
#include "app/SettingsTable.inc"
};
const int g_SettingRowCount = static_cast<int>(sizeof(g_SettingRows) / sizeof(g_SettingRows[0]));

namespace
{

CString SizeKey(const SettingRow& row, LPCWSTR suffix)
{
    CString key;
    key.Format(L"%s%s", row.key, suffix);
    return key;
}

void ReadRow(CIniFile& ini, const SettingRow& row, void* storage)
{
    switch (row.type)
    {
    case SETTING_INT:
        *static_cast<int*>(storage) = ini.GetInt(row.section, row.key, row.defaultNumber);
        break;
    case SETTING_SWITCH:
        *static_cast<int*>(storage) = ini.GetInt(row.section, row.key, row.defaultNumber) != 0 ? 1 : 0;
        break;
    case SETTING_SERIES_NUMBER: {
        const int number = ini.GetInt(row.section, row.key, row.defaultNumber);
        *static_cast<int*>(storage) = number >= 0 && number <= 10000 ? number : 0;
        break;
    }
    case SETTING_STRING:
    case SETTING_FONT_FACE:
        ini.GetString(row.section, row.key, row.defaultText, static_cast<CString*>(storage));
        break;
    case SETTING_WINDOWS_FOLDER: {
        CString& folder = *static_cast<CString*>(storage);
        ini.GetString(row.section, row.key, g_WindowsDir, &folder);
        if (folder.IsEmpty())
            folder = g_WindowsDir;
        break;
    }
    case SETTING_TEMP_FOLDER: {
        CString& folder = *static_cast<CString*>(storage);
        folder = ReadString(ini, row.section, row.key, row.defaultText);
        if (folder.IsEmpty())
            GetTempDirectory(folder);
        RemoveTrailingBackslash(folder);
        break;
    }
    case SETTING_COLOR:
        *static_cast<DWORD*>(storage) =
            ReadColorValue(ini, row.section, row.key, static_cast<DWORD>(row.defaultNumber));
        break;
    case SETTING_SIZE: {
        SettingSize& size = *static_cast<SettingSize*>(storage);
        size.width = ini.GetInt(row.section, SizeKey(row, L"_W"), row.defaultNumber);
        size.height = ini.GetInt(row.section, SizeKey(row, L"_H"), row.defaultNumber);
        break;
    }
    }
}

void WriteRow(CIniFile& ini, const SettingRow& row, const void* storage)
{
    switch (row.type)
    {
    case SETTING_INT:
    case SETTING_SWITCH:
    case SETTING_SERIES_NUMBER:
        ini.WriteInt(row.section, row.key, *static_cast<const int*>(storage));
        break;
    case SETTING_STRING:
    case SETTING_FONT_FACE:
    case SETTING_WINDOWS_FOLDER:
    case SETTING_TEMP_FOLDER:
        ini.WriteString(row.section, row.key, *static_cast<const CString*>(storage));
        break;
    case SETTING_COLOR:
        WriteColorValue(ini, row.section, row.key, *static_cast<const DWORD*>(storage));
        break;
    case SETTING_SIZE: {
        const SettingSize& size = *static_cast<const SettingSize*>(storage);
        ini.WriteInt(row.section, SizeKey(row, L"_W"), size.width);
        ini.WriteInt(row.section, SizeKey(row, L"_H"), size.height);
        break;
    }
    }
}

bool IsSelected(const SettingRow& row, LPCWSTR section, unsigned types)
{
    return (types & SettingTypeBit(row.type)) != 0 && wcscmp(row.section, section) == 0;
}

} // namespace

void ReadSettingRows(CIniFile& ini, LPCWSTR section, unsigned types, CString* lent)
{
    CHandleLock lock(g_DataMutex);
    for (const SettingRow& row : g_SettingRows)
    {
        void* storage = row.storage != nullptr ? row.storage : lent;
        if (storage != nullptr && IsSelected(row, section, types))
            ReadRow(ini, row, storage);
    }
}

void WriteSettingRows(CIniFile& ini, LPCWSTR section, unsigned types, const CString* lent)
{
    CHandleLock lock(g_DataMutex);
    for (const SettingRow& row : g_SettingRows)
    {
        const void* storage = row.storage != nullptr ? row.storage : lent;
        if (storage != nullptr && IsSelected(row, section, types))
            WriteRow(ini, row, storage);
    }
}
