// The archivers' sections of the settings file: "UNPACKDATA" and "PACKDATA".
#include "app/settings/ArchiverSettings.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/SectionText.h"
#include "app/settings/SettingsSchema.h"
#include "framework/FwLock.h"

#include <vector>

// The built-in option flags, taken before any settings file changed them.
static std::vector<WORD> SnapshotArchiverFlags()
{
    std::vector<WORD> flags;
    for (const CArchiverDllEntry& row : g_ArchiverDllTable)
    {
        for (int i = 0; i < row.unpackOptionCount; ++i)
            flags.push_back(row.unpackOptions[i].flag);
        for (int i = 0; i < row.packOptionCount; ++i)
            flags.push_back(row.packOptions[i].flag);
    }
    return flags;
}
const std::vector<WORD> kDefaultArchiverFlags = SnapshotArchiverFlags();

void LoadSectionUnpackData(CIniFile& ini)
{
    ReadSettingRows(ini, L"UNPACKDATA");
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        for (int i = 0; i < entry.unpackOptionCount; ++i)
            entry.unpackOptions[i].flag = static_cast<WORD>(ini.GetInt(
                L"UNPACKDATA", IndexedKey2(L"UNPACK%02d%02d", row, i), entry.unpackOptions[i].flag));
    }
}

void SaveSectionUnpackData(CIniFile& ini)
{
    WriteSettingRows(ini, L"UNPACKDATA");
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        const CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        for (int i = 0; i < entry.unpackOptionCount; ++i)
            ini.WriteInt(L"UNPACKDATA", IndexedKey2(L"UNPACK%02d%02d", row, i), entry.unpackOptions[i].flag);
    }
}

void LoadSectionPackData(CIniFile& ini)
{
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        for (int i = 0; i < entry.packOptionCount; ++i)
            entry.packOptions[i].flag = static_cast<WORD>(
                ini.GetInt(L"PACKDATA", IndexedKey2(L"PACK%02d%02d", row, i), entry.packOptions[i].flag));
    }
}

void SaveSectionPackData(CIniFile& ini)
{
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        const CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        for (int i = 0; i < entry.packOptionCount; ++i)
            ini.WriteInt(L"PACKDATA", IndexedKey2(L"PACK%02d%02d", row, i), entry.packOptions[i].flag);
    }
}

// The unpack (pack false) or pack options back to the flags they were declared with.
static void ResetArchiverFlags(bool pack)
{
    size_t next = 0;
    for (CArchiverDllEntry& row : g_ArchiverDllTable)
    {
        for (int i = 0; i < row.unpackOptionCount; ++i, ++next)
            if (!pack)
                row.unpackOptions[i].flag = kDefaultArchiverFlags[next];
        for (int i = 0; i < row.packOptionCount; ++i, ++next)
            if (pack)
                row.packOptions[i].flag = kDefaultArchiverFlags[next];
    }
}

void ResetSectionUnpackData()
{
    {
        CHandleLock lock(g_DataMutex);
        g_UnbypassDllPath.Empty();
    }
    ResetArchiverFlags(false);
}

void ResetSectionPackData()
{
    ResetArchiverFlags(true);
}
