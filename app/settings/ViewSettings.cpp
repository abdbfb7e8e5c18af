// The main view's sections of the settings file: "FILERINFODATA", "COLORDATA",
// "FILERBMP", "FILERUSERMENU" and "DISP_FILE_SETTING".
#include "app/settings/ViewSettings.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/GeneralSections.h"
#include "app/settings/SectionText.h"
#include "app/settings/SettingsSchema.h"
#include "app/settings/ViewerSettings.h"
#include "framework/FwLock.h"

static const wchar_t kFilerInfoData[] = L"FILERINFODATA";

void LoadSectionFilerInfo(CIniFile& ini)
{
    for (int i = 0; i < kFilerInfoPresetCount; ++i)
    {
        FilerInfoPreset& preset = g_FilerInfoPresets[i];
        CString text = ReadString(ini, kFilerInfoData, IndexedKey(L"FILERINFO%d", i));
        if (text.IsEmpty())
        {
            // Files of older versions kept the one layout in five integer settings.
            if (i == 0)
                preset = {g_DATEWRITEFLAG, g_TIMEWRITEFLAG, g_NOTSECWRITE, g_SIZEWRITEFLAG,
                          g_ATTRIBUTES_WRITE};
            else
                preset = FilerInfoPreset();
            continue;
        }
        auto on = [&text](int index) { return index < text.GetLength() && text[index] == L'1' ? 1 : 0; };
        preset.date = on(0);
        preset.time = on(1);
        preset.size = on(2);
        preset.noSeconds = on(3);
        preset.attributes = on(4);
    }
}

void SaveSectionFilerInfo(CIniFile& ini)
{
    for (int i = 0; i < kFilerInfoPresetCount; ++i)
    {
        const FilerInfoPreset& preset = g_FilerInfoPresets[i];
        CString text;
        text.Format(L"%01d%01d%01d%01d%01d", preset.date, preset.time, preset.size, preset.noSeconds,
                    preset.attributes);
        ini.WriteString(kFilerInfoData, IndexedKey(L"FILERINFO%d", i), text);
    }
}

void LoadSectionFilerBmp(CIniFile& ini)
{
    CStringArray names;
    ini.GetStringList(L"FILERBMP", L"BMP%d", names, kUnlimitedList);
    CHandleLock lock(g_DataMutex);
    g_WallpaperFiles.RemoveAll();
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
    {
        CCommonFile file;
        file.m_name = names[i];
        g_WallpaperFiles.Add(file);
    }
}

void SaveSectionFilerBmp(CIniFile& ini)
{
    CHandleLock lock(g_DataMutex);
    for (INT_PTR i = 0; i < g_WallpaperFiles.GetSize(); ++i)
        ini.WriteString(L"FILERBMP", IndexedKey(L"BMP%d", static_cast<int>(i)), g_WallpaperFiles[i].m_name);
}

void AppendBackBitmapName()
{
    if (g_BACKBITMAPNAME.IsEmpty())
        return;
    CHandleLock lock(g_DataMutex);
    g_WallpaperFiles.AddUnique(g_BACKBITMAPNAME);
}

static const wchar_t kColorData[] = L"COLORDATA";

void LoadSectionColorNamed(CIniFile& ini)
{
    ReadSettingRows(ini, kColorData);
    for (int b = 0; b < 256; ++b)
        g_BinaryByteColors[b] =
            ReadColorValue(ini, kColorData, IndexedKey(L"BINARY%02x", b), kBinaryByteColorDefault);
}

void LoadSectionColorKinds(CIniFile& ini)
{
    for (int i = 0; i < kKindColorCount; ++i)
    {
        ini.GetString(kColorData, IndexedKey(L"KINDCOLORNAME%d", i), L"", &g_KindColors[i].m_extensions);
        g_KindColors[i].m_color = ReadColorValue(ini, kColorData, IndexedKey(L"KINDCOLOR%d", i), 0);
    }
}

void SaveSectionColorData(CIniFile& ini)
{
    for (int i = 0; i < kKindColorCount; ++i)
    {
        ini.WriteString(kColorData, IndexedKey(L"KINDCOLORNAME%d", i), g_KindColors[i].m_extensions);
        WriteColorValue(ini, kColorData, IndexedKey(L"KINDCOLOR%d", i), g_KindColors[i].m_color);
    }
    WriteSettingRows(ini, kColorData);
    for (int b = 0; b < 256; ++b)
        WriteColorValue(ini, kColorData, IndexedKey(L"BINARY%02x", b), g_BinaryByteColors[b]);
}

void LoadSectionFilerUserMenu(CIniFile& ini)
{
    for (int i = 0; i < kUserMenuEntryCount; ++i)
    {
        ini.GetString(L"FILERUSERMENU", IndexedKey(L"MENU%d", i), L"", &g_UserMenuEntries[i].m_command);
        ini.GetString(L"FILERUSERMENU", IndexedKey(L"VIEW%d", i), L"", &g_UserMenuEntries[i].m_display);
    }
}

void SaveSectionFilerUserMenu(CIniFile& ini)
{
    for (int i = 0; i < kUserMenuEntryCount; ++i)
    {
        ini.WriteString(L"FILERUSERMENU", IndexedKey(L"MENU%d", i), g_UserMenuEntries[i].m_command);
        ini.WriteString(L"FILERUSERMENU", IndexedKey(L"VIEW%d", i), g_UserMenuEntries[i].m_display);
    }
}

static const wchar_t kDispFileSetting[] = L"DISP_FILE_SETTING";
constexpr int kDisplayFilterBits = 6;

static CString FormatFilterBits(int mask)
{
    CString text;
    for (int bit = kDisplayFilterBits - 1; bit >= 0; --bit)
        text += (mask >> bit & 1) ? L'1' : L'0';
    return text;
}

// The last character is bit 0; characters beyond the six known bits count for nothing.
static int ParseFilterBits(const CString& text)
{
    int mask = 0;
    int length = text.GetLength();
    for (int bit = 0; bit < kDisplayFilterBits && bit < length; ++bit)
        if (text[length - 1 - bit] == L'1')
            mask |= 1 << bit;
    return mask;
}

void LoadSectionDispFileSetting(CIniFile& ini)
{
    int current =
        (g_HIDDENVIEWFLAG ? DISP_FILTER_HIDDEN : 0) | (g_DISP_SYSTEM_FILE ? DISP_FILTER_SYSTEM : 0) |
        (g_DISP_FIRST_DOT_FILE ? DISP_FILTER_FIRST_DOT : 0) |
        (g_DISP_READ_ONLY_FILE ? DISP_FILTER_READ_ONLY : 0) |
        (g_NOTVIEWCURRENTDIR ? DISP_FILTER_NO_CURRENT : 0) | (g_NOTVIEWUPDIR ? DISP_FILTER_NO_PARENT : 0);
    CString defaultText = FormatFilterBits(current);
    for (int slot = 0; slot < kDisplayFilterSlotCount; ++slot)
        g_DisplayFilterSlots[slot] =
            ParseFilterBits(ReadString(ini, kDispFileSetting, IndexedKey(L"%d", slot), defaultText));
}

void SaveSectionDispFileSetting(CIniFile& ini)
{
    for (int slot = 0; slot < kDisplayFilterSlotCount; ++slot)
        ini.WriteString(kDispFileSetting, IndexedKey(L"%d", slot),
                        FormatFilterBits(g_DisplayFilterSlots[slot]));
}

void ResetSectionFilerInfo()
{
    for (FilerInfoPreset& preset : g_FilerInfoPresets)
        preset = FilerInfoPreset();
}

void ResetSectionColorData()
{
    for (int i = 0; i < DISPLAY_COLOR_COUNT; ++i)
        g_DisplayColors[i] = kDisplayColorRows[i].defaultValue;
    g_BinaryByteColors.fill(kBinaryByteColorDefault);
    for (KindColorEntry& entry : g_KindColors)
        entry = KindColorEntry();
}

void ResetSectionFilerBmp()
{
    CHandleLock lock(g_DataMutex);
    g_WallpaperFiles.RemoveAll();
}

void ResetSectionFilerUserMenu()
{
    for (UserMenuEntry& entry : g_UserMenuEntries)
        entry = UserMenuEntry();
}

void ResetSectionDispFileSetting()
{
    for (int& slot : g_DisplayFilterSlots)
        slot = 0;
}
