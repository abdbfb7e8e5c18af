// The graphic viewer's sections of the settings file: "ZOOMDATA", "SUSIEDATA",
// "LOAD_PREVIEW", "MOUSE_OPE_GRAPHIC" and "ALPHA_CHANNEL_PROCESS".
#include "app/settings/GraphicSettings.h"

#include "app/Directories.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/SettingNames.h"
#include "app/SettingStrings.h"
#include "app/Settings.h"
#include "app/settings/SectionText.h"
#include "app/settings/SettingsSchema.h"
#include "app/settings/SettingsSections.h"
#include "app/settings/ToolSettings.h"
#include "framework/FwLock.h"

#include <vector>

static const wchar_t* const kDefaultPreviewKinds[] = {L"BMP", L"JPG", L"JPEG", L"GIF", L"TIFF", L"PNG"};

// "N_LEFT_CLICK" … "A_WHEEL_DOWN": the modifier's letter, then the action's name.
static CString MouseKey(int action, int modifier)
{
    CString key;
    key.Format(L"%s_%s", GetModifierLetter(modifier).GetString(), GetMouseActionName(action).GetString());
    return key;
}

static bool HasPatternNoCase(const CStringArray& patterns, LPCWSTR pattern)
{
    for (INT_PTR i = 0; i < patterns.GetCount(); ++i)
        if (patterns[i].CompareNoCase(pattern) == 0)
            return true;
    return false;
}

static CString VersionText(const CSusieDllFile& plugIn)
{
    int length = static_cast<int>(strnlen(plugIn.m_apiVersion, sizeof(plugIn.m_apiVersion)));
    CString out;
    if (length == 0)
        return out;
    int characters = MultiByteToWideChar(CP_ACP, 0, plugIn.m_apiVersion, length, nullptr, 0);
    if (characters > 0)
    {
        wchar_t* buffer = out.GetBuffer(characters);
        MultiByteToWideChar(CP_ACP, 0, plugIn.m_apiVersion, length, buffer, characters);
        out.ReleaseBuffer(characters);
    }
    return out;
}

// A version of at most eight characters that fits the ten bytes in the ANSI code
// page; anything else leaves the field empty.
static void StoreVersionText(CSusieDllFile& plugIn, const CString& text)
{
    ZeroMemory(plugIn.m_apiVersion, sizeof(plugIn.m_apiVersion));
    if (text.IsEmpty() || text.GetLength() > 8)
        return;
    char bytes[32] = {};
    int length =
        WideCharToMultiByte(CP_ACP, 0, text, text.GetLength(), bytes, sizeof(bytes), nullptr, nullptr);
    if (length > 0 && length <= static_cast<int>(sizeof(plugIn.m_apiVersion)))
        memcpy(plugIn.m_apiVersion, bytes, length);
}

// "[@]name,version,pat1&pat2&...,rest". False when the line gives no name or no
// pattern.
static bool ParseLongPlugInLine(const CString& line, CSusieDllFile& plugIn)
{
    CString text = line;
    if (!text.IsEmpty() && text[0] == L'@')
    {
        plugIn.m_enabled = 1;
        text = text.Mid(1);
    }
    int nameEnd = text.Find(L',');
    if (nameEnd < 0)
        return false;
    plugIn.m_fileName = text.Left(nameEnd);
    int versionEnd = text.Find(L',', nameEnd + 1);
    if (versionEnd < 0)
        return false;
    StoreVersionText(plugIn, text.Mid(nameEnd + 1, versionEnd - nameEnd - 1));
    int patternsEnd = text.Find(L',', versionEnd + 1);
    CString patterns;
    if (patternsEnd < 0)
    {
        patterns = text.Mid(versionEnd + 1);
    }
    else
    {
        patterns = text.Mid(versionEnd + 1, patternsEnd - versionEnd - 1);
        plugIn.m_rest = text.Mid(patternsEnd + 1);
    }
    int start = 0;
    while (start <= patterns.GetLength())
    {
        int end = patterns.Find(L'&', start);
        if (end < 0)
            end = patterns.GetLength();
        if (end > start)
            plugIn.m_patterns.Add(patterns.Mid(start, end - start));
        start = end + 1;
    }
    if (HasPatternNoCase(plugIn.m_patterns, L"*.jpg") && !HasPatternNoCase(plugIn.m_patterns, L"*.jpeg"))
        plugIn.m_patterns.Add(L"*.jpeg");
    return !plugIn.m_fileName.IsEmpty() && !plugIn.m_patterns.IsEmpty();
}

static CString FormatLongPlugInLine(const CSusieDllFile& plugIn)
{
    CString line;
    line.Format(plugIn.m_enabled ? L"@%s,%s," : L"%s,%s,", static_cast<LPCWSTR>(plugIn.m_fileName),
                static_cast<LPCWSTR>(VersionText(plugIn)));
    for (INT_PTR i = 0; i < plugIn.m_patterns.GetCount(); ++i)
    {
        line += plugIn.m_patterns[i];
        line += (i + 1 < plugIn.m_patterns.GetCount()) ? L'&' : L',';
    }
    line += plugIn.m_rest;
    return line;
}

static bool UsesLongPlugInLines()
{
    return g_HIGHLOADSPI == 1 || g_HIGHLOADSPI == 2;
}

void LoadSectionZoomData(CIniFile& ini)
{
    for (ZoomStepRow& row : g_ZoomSteps)
        row.enabled = ini.GetInt(L"ZOOMDATA", row.key, 1);
}

void SaveSectionZoomData(CIniFile& ini)
{
    for (const ZoomStepRow& row : g_ZoomSteps)
        ini.WriteInt(L"ZOOMDATA", row.key, row.enabled);
}

void LoadSectionSusieData(CIniFile& ini, CString& viewTempDirectory)
{
    ReadSettingRows(ini, L"SUSIEDATA", kEverySettingType, &viewTempDirectory);

    CArray<CSusieDllFile> plugIns;
    const bool longForm = UsesLongPlugInLines();
    for (int i = 0;; ++i)
    {
        CString line = ReadString(ini, L"SUSIEDATA", IndexedKey(L"PLUGINFILE%d", i), L"");
        if (line.IsEmpty())
            break;
        CSusieDllFile plugIn;
        if (longForm)
        {
            if (ParseLongPlugInLine(line, plugIn))
                plugIns.Add(plugIn);
        }
        else
        {
            if (line[0] == L'@')
            {
                plugIn.m_enabled = 1;
                line = line.Mid(1);
            }
            plugIn.m_fileName = line;
            plugIns.Add(plugIn);
        }
    }
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugIns = plugIns;
    }

    // The scan lives with the image plug-ins, above this layer; the program installs it.
    if ((g_HIGHLOADSPI == 0 || g_HIGHLOADSPI == 1) && g_SettingsHooks.scanImagePlugIns != nullptr)
        g_SettingsHooks.scanImagePlugIns(TRUE);
}

void SaveSectionSusieData(CIniFile& ini, const CString& viewTempDirectory)
{
    {
        CHandleLock lock(g_DataMutex);
        const bool longForm = UsesLongPlugInLines();
        INT_PTR count = g_SusiePlugIns.GetCount();
        for (INT_PTR i = 0; i < count; ++i)
        {
            const CSusieDllFile& plugIn = g_SusiePlugIns[i];
            CString line;
            if (longForm)
                line = FormatLongPlugInLine(plugIn);
            else
                line = plugIn.m_enabled ? L"@" + plugIn.m_fileName : plugIn.m_fileName;
            ini.WriteString(L"SUSIEDATA", IndexedKey(L"PLUGINFILE%d", static_cast<int>(i)), line);
        }
        ini.WriteString(L"SUSIEDATA", IndexedKey(L"PLUGINFILE%d", static_cast<int>(count)), L"");
    }
    WriteSettingRows(ini, L"SUSIEDATA", kEverySettingType, &viewTempDirectory);
}

void LoadSectionLoadPreview(CIniFile& ini)
{
    PreviewSettings settings;
    for (int i = 0;; ++i)
    {
        CPreviewEnableDirInfo dir;
        dir.folder = ReadString(ini, L"LOAD_PREVIEW", IndexedKey(L"DIR%d", i), L"");
        if (dir.folder.IsEmpty())
            break;
        dir.type = static_cast<BYTE>(_wtoi(ReadString(ini, L"LOAD_PREVIEW", IndexedKey(L"TYPE%d", i), L"")));
        settings.enabledDirs.Add(dir);
    }
    ini.GetStringList(L"LOAD_PREVIEW", L"DISABLE_DIR%d", settings.disabledDirs, INT_MAX);
    if (ini.GetInt(L"LOAD_PREVIEW", L"INIT", 0) == 0)
    {
        for (const wchar_t* kind : kDefaultPreviewKinds)
            settings.displayKinds.Add(kind);
    }
    else
    {
        ini.GetStringList(L"LOAD_PREVIEW", L"DISP_FILE_KIND%d", settings.displayKinds, INT_MAX);
    }
    {
        CHandleLock lock(g_DataMutex);
        g_PreviewSettings = settings;
    }
}

void SaveSectionLoadPreview(CIniFile& ini)
{
    {
        CHandleLock lock(g_DataMutex);
        ini.WriteInt(L"LOAD_PREVIEW", L"INIT", 1);
        for (INT_PTR i = 0; i < g_PreviewSettings.enabledDirs.GetCount(); ++i)
        {
            const CPreviewEnableDirInfo& dir = g_PreviewSettings.enabledDirs[i];
            CString type;
            type.Format(L"%u", static_cast<unsigned>(dir.type));
            ini.WriteString(L"LOAD_PREVIEW", IndexedKey(L"DIR%d", static_cast<int>(i)), dir.folder);
            ini.WriteString(L"LOAD_PREVIEW", IndexedKey(L"TYPE%d", static_cast<int>(i)), type);
        }
        ini.WriteStringList(L"LOAD_PREVIEW", L"DISABLE_DIR%d", g_PreviewSettings.disabledDirs);
        ini.WriteStringList(L"LOAD_PREVIEW", L"DISP_FILE_KIND%d", g_PreviewSettings.displayKinds);
    }
}

void LoadSectionMouseOpeGraphic(CIniFile& ini)
{
    for (int action = 0; action < GRAPHIC_MOUSE_ACTION_COUNT; ++action)
        for (int modifier = 0; modifier < GRAPHIC_MOUSE_MODIFIER_COUNT; ++modifier)
            g_GraphicMouseOperations[action][modifier] =
                ini.GetInt(L"MOUSE_OPE_GRAPHIC", MouseKey(action, modifier),
                           kDefaultGraphicMouseOperations[action][modifier]);
}

void SaveSectionMouseOpeGraphic(CIniFile& ini)
{
    for (int action = 0; action < GRAPHIC_MOUSE_ACTION_COUNT; ++action)
        for (int modifier = 0; modifier < GRAPHIC_MOUSE_MODIFIER_COUNT; ++modifier)
        {
            // "None" is left out only where it is also the default: a -1 that was
            // not written would come back as the built-in operation.
            int value = g_GraphicMouseOperations[action][modifier];
            if (value != -1 || kDefaultGraphicMouseOperations[action][modifier] != -1)
                ini.WriteInt(L"MOUSE_OPE_GRAPHIC", MouseKey(action, modifier), value);
        }
}

void LoadSectionAlphaChannelProcess(CIniFile& ini)
{
    for (int i = 0; i < ALPHA_CHANNEL_ROW_COUNT; ++i)
    {
        const CAlphaChannelRow& def = kDefaultAlphaChannelTypes[i];
        g_AlphaChannelTypes[i].mode =
            ini.GetInt(L"ALPHA_CHANNEL_PROCESS", IndexedKey(L"TYPE%d", i), def.mode);
        CString colour =
            ReadString(ini, L"ALPHA_CHANNEL_PROCESS", IndexedKey(L"COLOR%d", i), FormatColour(def.colour));
        g_AlphaChannelTypes[i].colour = ParseColorHex(colour, def.colour);
    }
}

void SaveSectionAlphaChannelProcess(CIniFile& ini)
{
    for (int i = 0; i < ALPHA_CHANNEL_ROW_COUNT; ++i)
    {
        ini.WriteInt(L"ALPHA_CHANNEL_PROCESS", IndexedKey(L"TYPE%d", i), g_AlphaChannelTypes[i].mode);
        ini.WriteString(L"ALPHA_CHANNEL_PROCESS", IndexedKey(L"COLOR%d", i),
                        FormatColour(g_AlphaChannelTypes[i].colour));
    }
}

void LoadSectionSaveBmp(CIniFile& ini)
{
    ReadSettingRows(ini, L"SAVE_BMP");
}

void SaveSectionSaveBmp(CIniFile& ini)
{
    WriteSettingRows(ini, L"SAVE_BMP");
}

void ResetSectionSaveBmp()
{
    CHandleLock lock(g_DataMutex);
    g_BmpSaveSettings = BmpSaveSettings();
}

void ResetSectionZoomData()
{
    g_ZoomSteps = kDefaultZoomSteps;
}

void ResetSectionSusieData()
{
    CHandleLock lock(g_DataMutex);
    g_SusiePlugIns.RemoveAll();
    g_SusiePlugInDir.Empty();
}

void ResetSectionLoadPreview()
{
    g_PreviewSettings = PreviewSettings();
}

void ResetSectionMouseOpeGraphic()
{
    g_GraphicMouseOperations = kDefaultGraphicMouseOperations;
}

void ResetSectionAlphaChannelProcess()
{
    g_AlphaChannelTypes = kDefaultAlphaChannelTypes;
}
