// The system tools' sections of the settings file: "DEBUGDATA", "DISPLAYFONT",
// "DISPLAYMODE", "PLUGINDATA" and "NONLOADCPL".
#include "app/settings/ToolSettings.h"

#include "app/Directories.h"
#include "app/DisplayModeSlots.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/DisplayMode.h"
#include "app/settings/SectionText.h"
#include "app/settings/SettingsSchema.h"
#include "framework/FwLock.h"

#include <vector>

// Splits "h,w,face,charset,weight," into at most five comma-ended fields.
static int SplitFontFields(const CString& value, CString (&fields)[5])
{
    int count = 0;
    int start = 0;
    while (count < 5)
    {
        int end = value.Find(L',', start);
        if (end < 0)
            break;
        fields[count++] = value.Mid(start, end - start);
        start = end + 1;
    }
    return count;
}

void LoadSectionDebugData(CIniFile& ini)
{
    for (int i = 0; i < DEBUG_FLAG_COUNT; ++i)
        g_DebugFlags[i] = ini.GetInt(L"DEBUGDATA", IndexedKey(L"DEBUG%d", i), 0);
}

void SaveSectionDebugData(CIniFile& ini)
{
    for (int i = 0; i < DEBUG_FLAG_COUNT; ++i)
        ini.WriteInt(L"DEBUGDATA", IndexedKey(L"DEBUG%d", i), g_DebugFlags[i]);
}

namespace
{
// Fonts stored for resolutions this display does not offer now (another monitor, a
// docking station): kept as they were read and written back, so that one run on
// other hardware does not lose them.
CStringArray s_otherResolutionKeys;
CStringArray s_otherResolutionValues;

bool IsListedResolution(const CString& key)
{
    for (INT_PTR i = 0; i < g_DisplayFontSizes.GetCount(); ++i)
        if (g_DisplayFontSizes[i].m_resolution == key)
            return true;
    return false;
}

void KeepOtherResolutions(CIniFile& ini)
{
    s_otherResolutionKeys.RemoveAll();
    s_otherResolutionValues.RemoveAll();
    CStringArray keys, values;
    ini.GetSectionKeys(L"DISPLAYFONT", keys, values);
    // In key order, so that the file does not change from one save to the next.
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
    {
        if (IsListedResolution(keys[i]))
            continue;
        INT_PTR at = 0;
        while (at < s_otherResolutionKeys.GetSize() && s_otherResolutionKeys[at].Compare(keys[i]) < 0)
            ++at;
        s_otherResolutionKeys.InsertAt(at, keys[i]);
        s_otherResolutionValues.InsertAt(at, values[i]);
    }
}
} // namespace

void LoadSectionDisplayFont(CIniFile& ini, LPCWSTR mainFontName)
{
    g_DisplayFontSizes.RemoveAll();
    for (DWORD number = 0;; ++number)
    {
        DEVMODEW mode;
        ZeroMemory(&mode, sizeof(mode));
        mode.dmSize = sizeof(mode);
        if (!g_DisplayApi.enumSettings(nullptr, number, &mode))
            break;
        CDisplayFontSize entry;
        entry.m_resolution.Format(L"%04dX%04d", static_cast<int>(mode.dmPelsWidth),
                                  static_cast<int>(mode.dmPelsHeight));
        bool known = false;
        for (INT_PTR i = 0; i < g_DisplayFontSizes.GetCount() && !known; ++i)
            known = g_DisplayFontSizes[i].m_resolution == entry.m_resolution;
        if (known)
            continue;

        CString fields[5];
        int count = SplitFontFields(ReadString(ini, L"DISPLAYFONT", entry.m_resolution, L""), fields);
        if (count < 4)
        {
            entry.m_height = g_FONTHEIGHT;
            entry.m_width = g_FONTWIDE;
            entry.m_faceName = mainFontName ? mainFontName : L"";
            entry.m_charSet = g_FONTCHARSET;
        }
        else
        {
            entry.m_height = _wtoi(fields[0]);
            entry.m_width = _wtoi(fields[1]);
            entry.m_faceName = fields[2];
            entry.m_charSet = _wtoi(fields[3]);
        }
        entry.m_weight = (count == 5) ? _wtoi(fields[4]) : g_FONTWEIGHT;
        g_DisplayFontSizes.Add(entry);
    }
    KeepOtherResolutions(ini);
}

void SaveSectionDisplayFont(CIniFile& ini)
{
    for (INT_PTR i = 0; i < g_DisplayFontSizes.GetCount(); ++i)
    {
        const CDisplayFontSize& entry = g_DisplayFontSizes[i];
        CString value;
        value.Format(L"%d,%d,%s,%d,%d,", entry.m_height, entry.m_width,
                     static_cast<LPCWSTR>(entry.m_faceName), entry.m_charSet, entry.m_weight);
        ini.WriteString(L"DISPLAYFONT", entry.m_resolution, value);
    }
    for (INT_PTR i = 0; i < s_otherResolutionKeys.GetSize(); ++i)
        if (!IsListedResolution(s_otherResolutionKeys[i]))
            ini.WriteString(L"DISPLAYFONT", s_otherResolutionKeys[i], s_otherResolutionValues[i]);
}

void LoadSectionDisplayMode(CIniFile& ini)
{
    for (int i = 0; i < 10; ++i)
    {
        DisplayModeSlot& slot = g_DisplayModeSlots[i];
        slot = DisplayModeSlot{0, 0, 0};
        CString value = ReadString(ini, L"DISPLAYMODE", IndexedKey(L"DISPLAYMODE%d", i), L"");
        if (value.GetLength() != 15 || value[5] != L',' || value[11] != L',')
            continue;
        slot.width = _wtoi(value.Mid(0, 5));
        slot.height = _wtoi(value.Mid(6, 5));
        slot.bitsPerPixel = _wtoi(value.Mid(12, 3));
    }
}

void SaveSectionDisplayMode(CIniFile& ini)
{
    for (int i = 0; i < 10; ++i)
    {
        const DisplayModeSlot& slot = g_DisplayModeSlots[i];
        CString value;
        if (slot.width != 0 && slot.height != 0 && slot.bitsPerPixel != 0)
            value.Format(L"%05ld,%05ld,%03ld", static_cast<long>(slot.width), static_cast<long>(slot.height),
                         static_cast<long>(slot.bitsPerPixel));
        ini.WriteString(L"DISPLAYMODE", IndexedKey(L"DISPLAYMODE%d", i), value);
    }
}

void LoadSectionPlugInData(CIniFile& ini)
{
    ReadSettingRows(ini, L"PLUGINDATA");
    g_PlugInList.RemoveAll();
    if (g_QVPLUGINLOADTYPE == 0)
        return;
    for (int i = 0;; ++i)
    {
        CQvPlugIn plugIn;
        plugIn.m_fileName = ReadString(ini, L"PLUGINDATA", IndexedKey(L"P_NAME%d", i), L"");
        if (plugIn.m_fileName.IsEmpty())
            break;
        plugIn.m_version = static_cast<WORD>(ini.GetInt(L"PLUGINDATA", IndexedKey(L"P_VER%d", i), 0));
        plugIn.m_type = ReadString(ini, L"PLUGINDATA", IndexedKey(L"P_TYPE%d", i), L"");
        plugIn.m_functionName = ReadString(ini, L"PLUGINDATA", IndexedKey(L"P_VIEWKEY%d", i), L"");
        plugIn.m_keyString = ReadString(ini, L"PLUGINDATA", IndexedKey(L"P_KEYSTR%d", i), L"");
        plugIn.m_showInMenu = ini.GetInt(L"PLUGINDATA", IndexedKey(L"P_VIEWMENU%d", i), 0);
        g_PlugInList.Add(plugIn);
    }
}

void SaveSectionPlugInData(CIniFile& ini)
{
    WriteSettingRows(ini, L"PLUGINDATA");
    if (g_QVPLUGINLOADTYPE == 0)
        return;
    int count = static_cast<int>(g_PlugInList.GetCount());
    for (int i = 0; i < count; ++i)
    {
        const CQvPlugIn& plugIn = g_PlugInList[i];
        ini.WriteString(L"PLUGINDATA", IndexedKey(L"P_NAME%d", i), plugIn.m_fileName);
        ini.WriteInt(L"PLUGINDATA", IndexedKey(L"P_VER%d", i), plugIn.m_version);
        ini.WriteString(L"PLUGINDATA", IndexedKey(L"P_TYPE%d", i), plugIn.m_type);
        ini.WriteString(L"PLUGINDATA", IndexedKey(L"P_VIEWKEY%d", i), plugIn.m_functionName);
        ini.WriteString(L"PLUGINDATA", IndexedKey(L"P_KEYSTR%d", i), plugIn.m_keyString);
        ini.WriteInt(L"PLUGINDATA", IndexedKey(L"P_VIEWMENU%d", i), plugIn.m_showInMenu);
    }
    ini.WriteString(L"PLUGINDATA", IndexedKey(L"P_NAME%d", count), L"");
}

void LoadSectionNonLoadCpl(CIniFile& ini)
{
    g_NonLoadCplList.RemoveAll();
    for (int i = 0; i < NON_LOAD_CPL_COUNT; ++i)
        g_NonLoadCplList.Add(ReadString(ini, L"NONLOADCPL", IndexedKey(L"CPL%d", i), L""));
}

void SaveSectionNonLoadCpl(CIniFile& ini)
{
    for (int i = 0; i < NON_LOAD_CPL_COUNT; ++i)
        ini.WriteString(L"NONLOADCPL", IndexedKey(L"CPL%d", i),
                        i < g_NonLoadCplList.GetCount() ? g_NonLoadCplList[i] : CString());
}

void ResetSectionDebugData()
{
    for (int& flag : g_DebugFlags)
        flag = 0;
}

void ResetSectionDisplayFont()
{
    g_DisplayFontSizes.RemoveAll();
    s_otherResolutionKeys.RemoveAll();
    s_otherResolutionValues.RemoveAll();
}

void ResetSectionDisplayMode()
{
    for (DisplayModeSlot& slot : g_DisplayModeSlots)
        slot = DisplayModeSlot{0, 0, 0};
}

void ResetSectionPlugInData()
{
    g_PlugInList.RemoveAll();
    g_PlugInDir.Empty();
}

void ResetSectionNonLoadCpl()
{
    g_NonLoadCplList.RemoveAll();
}
