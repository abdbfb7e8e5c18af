#include "app/settings/ToolSections.h"

#include "app/DisplayModeSlots.h"
#include "app/Directories.h"
#include "app/Formatting.h"
#include "app/Globals.h"
#include "app/IniFile.h"
#include "framework/FwLock.h"
#include "app/Settings.h"
#include "app/records/MediaKinds.h"
#include "app/records/ViewFileHistory.h"
#include "app/settings/ArchiverSettings.h"
#include "app/settings/GraphicSettings.h"
#include "app/settings/MediaSettings.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/DisplayMode.h"
#include "app/settings/SettingsSections.h"
#include "app/settings/ViewerSettings.h"

#include <vector>

namespace
{
CString Key(LPCWSTR format, int number)
{
    CString key;
    key.Format(format, number);
    return key;
}

CString Key2(LPCWSTR format, int first, int second)
{
    CString key;
    key.Format(format, first, second);
    return key;
}

CString ReadString(CIniFile& ini, LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue)
{
    CString value;
    ini.GetString(section, key, defaultValue, &value);
    return value;
}

CString FormatColour(COLORREF colour)
{
    CString text;
    text.Format(L"%06x", static_cast<unsigned>(colour & 0xffffff));
    return text;
}

// The built-in option flags, taken before any settings file changed them.
std::vector<WORD> SnapshotArchiverFlags()
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

const wchar_t* const kDefaultPreviewKinds[] = {L"BMP", L"JPG", L"JPEG", L"GIF", L"TIFF", L"PNG"};

const wchar_t* const kMouseModifierLetters[GRAPHIC_MOUSE_MODIFIER_COUNT] = {L"N", L"S", L"C", L"A"};
// "WHELL_UP" is the key as the program has always spelt it.
const wchar_t* const kMouseActions[GRAPHIC_MOUSE_ACTION_COUNT] = {
    L"LEFT_CLICK", L"RIGHT_CLICK", L"LEFT_DOUBLE_CLICK", L"RIGHT_DOUBLE_CLICK", L"WHELL_UP", L"WHEEL_DOWN"};

CString MouseKey(int action, int modifier)
{
    CString key;
    key.Format(L"%s_%s", kMouseModifierLetters[modifier], kMouseActions[action]);
    return key;
}

bool HasPatternNoCase(const CStringArray& patterns, LPCWSTR pattern)
{
    for (INT_PTR i = 0; i < patterns.GetCount(); ++i)
        if (patterns[i].CompareNoCase(pattern) == 0)
            return true;
    return false;
}

CString VersionText(const CSusieDllFile& plugIn)
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
void StoreVersionText(CSusieDllFile& plugIn, const CString& text)
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
bool ParseLongPlugInLine(const CString& line, CSusieDllFile& plugIn)
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

CString FormatLongPlugInLine(const CSusieDllFile& plugIn)
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

bool UsesLongPlugInLines()
{
    return g_HIGHLOADSPI == 1 || g_HIGHLOADSPI == 2;
}

// Splits "h,w,face,charset,weight," into at most five comma-ended fields.
int SplitFontFields(const CString& value, CString (&fields)[5])
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
} // namespace

// ---- SCSICOMMAND, ZOOMDATA, DEBUGDATA ----------------------------------------------

void LoadSectionScsiCommand(CIniFile& ini)
{
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        g_ScsiCommandSettings[i] = ReadString(ini, L"SCSICOMMAND", Key(L"SCSI%d", i), L"");
}

void SaveSectionScsiCommand(CIniFile& ini)
{
    for (int i = 0; i < SCSI_COMMAND_COUNT; ++i)
        ini.WriteString(L"SCSICOMMAND", Key(L"SCSI%d", i), g_ScsiCommandSettings[i]);
}

void LoadSectionZoomData(CIniFile& ini)
{
    for (ZoomTableRow& row : g_ZoomTable)
        row.enabled = ini.GetInt(L"ZOOMDATA", row.keyText, 1);
}

void SaveSectionZoomData(CIniFile& ini)
{
    for (const ZoomTableRow& row : g_ZoomTable)
        ini.WriteInt(L"ZOOMDATA", row.keyText, row.enabled);
}

void LoadSectionDebugData(CIniFile& ini)
{
    for (int i = 0; i < DEBUG_FLAG_COUNT; ++i)
        g_DebugFlags[i] = ini.GetInt(L"DEBUGDATA", Key(L"DEBUG%d", i), 0);
}

void SaveSectionDebugData(CIniFile& ini)
{
    for (int i = 0; i < DEBUG_FLAG_COUNT; ++i)
        ini.WriteInt(L"DEBUGDATA", Key(L"DEBUG%d", i), g_DebugFlags[i]);
}

// ---- UNPACKDATA, PACKDATA ------------------------------------------------------------

void LoadSectionUnpackData(CIniFile& ini)
{
    CString bridge = ReadString(ini, L"UNPACKDATA", L"UNBYPASS_DLL_PATH", L"");
    {
        CHandleLock lock(g_DataMutex);
        g_UnbypassDllPath = bridge;
    }
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        for (int i = 0; i < entry.unpackOptionCount; ++i)
            entry.unpackOptions[i].flag = static_cast<WORD>(
                ini.GetInt(L"UNPACKDATA", Key2(L"UNPACK%02d%02d", row, i), entry.unpackOptions[i].flag));
    }
}

void SaveSectionUnpackData(CIniFile& ini)
{
    {
        CHandleLock lock(g_DataMutex);
        ini.WriteString(L"UNPACKDATA", L"UNBYPASS_DLL_PATH", g_UnbypassDllPath);
    }
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        const CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        for (int i = 0; i < entry.unpackOptionCount; ++i)
            ini.WriteInt(L"UNPACKDATA", Key2(L"UNPACK%02d%02d", row, i), entry.unpackOptions[i].flag);
    }
}

void LoadSectionPackData(CIniFile& ini)
{
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        for (int i = 0; i < entry.packOptionCount; ++i)
            entry.packOptions[i].flag = static_cast<WORD>(
                ini.GetInt(L"PACKDATA", Key2(L"PACK%02d%02d", row, i), entry.packOptions[i].flag));
    }
}

void SaveSectionPackData(CIniFile& ini)
{
    for (int row = 0; row < ARCHIVER_ROW_COUNT; ++row)
    {
        const CArchiverDllEntry& entry = g_ArchiverDllTable[row];
        for (int i = 0; i < entry.packOptionCount; ++i)
            ini.WriteInt(L"PACKDATA", Key2(L"PACK%02d%02d", row, i), entry.packOptions[i].flag);
    }
}

// ---- DISPLAYFONT ------------------------------------------------------------------------

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

// ---- VIEWERSETTING, VIEWER_SEARCH_STRING ------------------------------------------------

void LoadSectionViewerSetting(CIniFile& ini)
{
    for (int i = 0; i < VIEWER_LINE_WIDTH_COUNT; ++i)
        g_ViewerLineWidths[i] = ini.GetInt(L"VIEWERSETTING", Key(L"SETTING%d", i), kDefaultViewerLineWidth);
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
    {
        ViewerKindRow& row = g_ViewerKindRows[i];
        row.extension = ReadString(ini, L"VIEWERSETTING", Key(L"KIND%d", i), L"");
        row.lineWidth = ini.GetInt(L"VIEWERSETTING", Key(L"KINDWORDS%d", i), kDefaultViewerLineWidth);
        row.tabWidth = ini.GetInt(L"VIEWERSETTING", Key(L"KINDTAB%d", i), kDefaultViewerTabWidth);
    }
    g_ViewerLeftDblClickAct =
        ReadString(ini, L"VIEWERSETTING", L"LEFTDBLCLICKACT", kDefaultViewerLeftDblClickAct);
    g_ViewerRightDblClickAct = ReadString(ini, L"VIEWERSETTING", L"RIGHTDBLCLICKACT", L"");
    g_LineReturnCode = ReadString(ini, L"VIEWERSETTING", L"LINE_RETURN_CODE", kDefaultLineReturnCode);
    g_LineReturnCodeLength = g_LineReturnCode.GetLength();
}

void SaveSectionViewerSetting(CIniFile& ini)
{
    for (int i = 0; i < VIEWER_LINE_WIDTH_COUNT; ++i)
        ini.WriteInt(L"VIEWERSETTING", Key(L"SETTING%d", i), g_ViewerLineWidths[i]);
    for (int i = 0; i < VIEWER_KIND_ROW_COUNT; ++i)
    {
        const ViewerKindRow& row = g_ViewerKindRows[i];
        ini.WriteString(L"VIEWERSETTING", Key(L"KIND%d", i), row.extension);
        ini.WriteInt(L"VIEWERSETTING", Key(L"KINDWORDS%d", i), row.lineWidth);
        ini.WriteInt(L"VIEWERSETTING", Key(L"KINDTAB%d", i), row.tabWidth);
    }
    ini.WriteString(L"VIEWERSETTING", L"LEFTDBLCLICKACT", g_ViewerLeftDblClickAct);
    ini.WriteString(L"VIEWERSETTING", L"RIGHTDBLCLICKACT", g_ViewerRightDblClickAct);
    ini.WriteString(L"VIEWERSETTING", L"LINE_RETURN_CODE", g_LineReturnCode);
}

void LoadSectionViewerSearchString(CIniFile& ini)
{
    CStringArray list;
    ini.GetStringList(L"VIEWER_SEARCH_STRING", L"%d", list, VIEWER_SEARCH_HISTORY_MAX);
    {
        CHandleLock lock(g_DataMutex);
        g_ViewerSearchHistory.Copy(list);
    }
}

void SaveSectionViewerSearchString(CIniFile& ini)
{
    ini.WriteStringList(L"VIEWER_SEARCH_STRING", L"%d", g_ViewerSearchHistory);
}

// ---- SUSIEDATA, LOAD_PREVIEW ------------------------------------------------------------

void LoadSectionSusieData(CIniFile& ini, CString& viewTempDirectory)
{
    CString folder = ReadString(ini, L"SUSIEDATA", L"SUSIEDIRECTORY", L"");
    {
        CHandleLock lock(g_DataMutex);
        g_SusiePlugInDir = folder;
    }

    viewTempDirectory = ReadString(ini, L"SUSIEDATA", L"TEMPDIRECTORY", L"");
    if (viewTempDirectory.IsEmpty())
        GetTempDirectory(viewTempDirectory);
    RemoveTrailingBackslash(viewTempDirectory);

    CArray<CSusieDllFile> plugIns;
    const bool longForm = UsesLongPlugInLines();
    for (int i = 0;; ++i)
    {
        CString line = ReadString(ini, L"SUSIEDATA", Key(L"PLUGINFILE%d", i), L"");
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
            ini.WriteString(L"SUSIEDATA", Key(L"PLUGINFILE%d", static_cast<int>(i)), line);
        }
        ini.WriteString(L"SUSIEDATA", Key(L"PLUGINFILE%d", static_cast<int>(count)), L"");
        ini.WriteString(L"SUSIEDATA", L"SUSIEDIRECTORY", g_SusiePlugInDir);
    }
    ini.WriteString(L"SUSIEDATA", L"TEMPDIRECTORY", viewTempDirectory);
}

void LoadSectionLoadPreview(CIniFile& ini)
{
    PreviewSettings settings;
    for (int i = 0;; ++i)
    {
        CPreviewEnableDirInfo dir;
        dir.folder = ReadString(ini, L"LOAD_PREVIEW", Key(L"DIR%d", i), L"");
        if (dir.folder.IsEmpty())
            break;
        dir.type = static_cast<BYTE>(_wtoi(ReadString(ini, L"LOAD_PREVIEW", Key(L"TYPE%d", i), L"")));
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
            ini.WriteString(L"LOAD_PREVIEW", Key(L"DIR%d", static_cast<int>(i)), dir.folder);
            ini.WriteString(L"LOAD_PREVIEW", Key(L"TYPE%d", static_cast<int>(i)), type);
        }
        ini.WriteStringList(L"LOAD_PREVIEW", L"DISABLE_DIR%d", g_PreviewSettings.disabledDirs);
        ini.WriteStringList(L"LOAD_PREVIEW", L"DISP_FILE_KIND%d", g_PreviewSettings.displayKinds);
    }
}

// ---- WAV, SOUND ---------------------------------------------------------------------------

void LoadSectionWav(CIniFile& ini)
{
    for (int i = 0; i < COMMAND_SOUND_COUNT; ++i)
        g_CommandSoundFiles[i] = ReadString(ini, L"WAV", g_CommandSoundNames[i], L"");
}

void SaveSectionWav(CIniFile& ini)
{
    for (int i = 0; i < COMMAND_SOUND_COUNT; ++i)
        ini.WriteString(L"WAV", g_CommandSoundNames[i], g_CommandSoundFiles[i]);
}

void LoadSectionSound(CIniFile& ini)
{
    g_LastPlayList = ReadString(ini, L"SOUND", L"LASTLOAD", L"");
    SetDefaultMediaKinds(g_MediaKindList);
    const int half = MEDIA_KIND_COUNT / 2;
    for (int i = 0; i < half; ++i)
    {
        g_MediaKindList[i] = ReadString(ini, L"SOUND", Key(L"MOVIEKIND%02d", i), g_MediaKindList[i]);
        g_MediaKindList[half + i] =
            ReadString(ini, L"SOUND", Key(L"AUDIOKIND%02d", i), g_MediaKindList[half + i]);
    }
}

void SaveSectionSound(CIniFile& ini)
{
    ini.WriteString(L"SOUND", L"LASTLOAD", g_LastPlayList);
    const int half = MEDIA_KIND_COUNT / 2;
    for (int i = 0; i < half; ++i)
        ini.WriteString(L"SOUND", Key(L"MOVIEKIND%02d", i),
                        i < g_MediaKindList.GetCount() ? g_MediaKindList[i] : CString());
    for (int i = 0; i < half; ++i)
        ini.WriteString(L"SOUND", Key(L"AUDIOKIND%02d", i),
                        half + i < g_MediaKindList.GetCount() ? g_MediaKindList[half + i] : CString());
}

// ---- DISPLAYMODE ----------------------------------------------------------------------------

void LoadSectionDisplayMode(CIniFile& ini)
{
    for (int i = 0; i < 10; ++i)
    {
        DisplayModeSlot& slot = g_DisplayModeSlots[i];
        slot = DisplayModeSlot{0, 0, 0};
        CString value = ReadString(ini, L"DISPLAYMODE", Key(L"DISPLAYMODE%d", i), L"");
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
        ini.WriteString(L"DISPLAYMODE", Key(L"DISPLAYMODE%d", i), value);
    }
}

// ---- PLUGINDATA, NONLOADCPL ------------------------------------------------------------------

void LoadSectionPlugInData(CIniFile& ini)
{
    g_PlugInDir = ReadString(ini, L"PLUGINDATA", L"PLUGINDIR", L"");
    g_PlugInList.RemoveAll();
    if (g_QVPLUGINLOADTYPE == 0)
        return;
    for (int i = 0;; ++i)
    {
        CQvPlugIn plugIn;
        plugIn.m_fileName = ReadString(ini, L"PLUGINDATA", Key(L"P_NAME%d", i), L"");
        if (plugIn.m_fileName.IsEmpty())
            break;
        plugIn.m_version = static_cast<WORD>(ini.GetInt(L"PLUGINDATA", Key(L"P_VER%d", i), 0));
        plugIn.m_type = ReadString(ini, L"PLUGINDATA", Key(L"P_TYPE%d", i), L"");
        plugIn.m_functionName = ReadString(ini, L"PLUGINDATA", Key(L"P_VIEWKEY%d", i), L"");
        plugIn.m_keyString = ReadString(ini, L"PLUGINDATA", Key(L"P_KEYSTR%d", i), L"");
        plugIn.m_showInMenu = ini.GetInt(L"PLUGINDATA", Key(L"P_VIEWMENU%d", i), 0);
        g_PlugInList.Add(plugIn);
    }
}

void SaveSectionPlugInData(CIniFile& ini)
{
    ini.WriteString(L"PLUGINDATA", L"PLUGINDIR", g_PlugInDir);
    if (g_QVPLUGINLOADTYPE == 0)
        return;
    int count = static_cast<int>(g_PlugInList.GetCount());
    for (int i = 0; i < count; ++i)
    {
        const CQvPlugIn& plugIn = g_PlugInList[i];
        ini.WriteString(L"PLUGINDATA", Key(L"P_NAME%d", i), plugIn.m_fileName);
        ini.WriteInt(L"PLUGINDATA", Key(L"P_VER%d", i), plugIn.m_version);
        ini.WriteString(L"PLUGINDATA", Key(L"P_TYPE%d", i), plugIn.m_type);
        ini.WriteString(L"PLUGINDATA", Key(L"P_VIEWKEY%d", i), plugIn.m_functionName);
        ini.WriteString(L"PLUGINDATA", Key(L"P_KEYSTR%d", i), plugIn.m_keyString);
        ini.WriteInt(L"PLUGINDATA", Key(L"P_VIEWMENU%d", i), plugIn.m_showInMenu);
    }
    ini.WriteString(L"PLUGINDATA", Key(L"P_NAME%d", count), L"");
}

void LoadSectionNonLoadCpl(CIniFile& ini)
{
    g_NonLoadCplList.RemoveAll();
    for (int i = 0; i < NON_LOAD_CPL_COUNT; ++i)
        g_NonLoadCplList.Add(ReadString(ini, L"NONLOADCPL", Key(L"CPL%d", i), L""));
}

void SaveSectionNonLoadCpl(CIniFile& ini)
{
    for (int i = 0; i < NON_LOAD_CPL_COUNT; ++i)
        ini.WriteString(L"NONLOADCPL", Key(L"CPL%d", i),
                        i < g_NonLoadCplList.GetCount() ? g_NonLoadCplList[i] : CString());
}

// ---- MOUSE_OPE_GRAPHIC, ALPHA_CHANNEL_PROCESS, VIEW_HISTORY ------------------------------------

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
        g_AlphaChannelTypes[i].mode = ini.GetInt(L"ALPHA_CHANNEL_PROCESS", Key(L"TYPE%d", i), def.mode);
        CString colour =
            ReadString(ini, L"ALPHA_CHANNEL_PROCESS", Key(L"COLOR%d", i), FormatColour(def.colour));
        g_AlphaChannelTypes[i].colour = ParseColorHex(colour, def.colour);
    }
}

void SaveSectionAlphaChannelProcess(CIniFile& ini)
{
    for (int i = 0; i < ALPHA_CHANNEL_ROW_COUNT; ++i)
    {
        ini.WriteInt(L"ALPHA_CHANNEL_PROCESS", Key(L"TYPE%d", i), g_AlphaChannelTypes[i].mode);
        ini.WriteString(L"ALPHA_CHANNEL_PROCESS", Key(L"COLOR%d", i),
                        FormatColour(g_AlphaChannelTypes[i].colour));
    }
}

void LoadSectionViewHistory(CIniFile& ini)
{
    g_ViewHistory.RemoveAll();
    for (int i = static_cast<int>(CArrayViewFile::MAX_ENTRIES) - 1; i >= 0; --i)
    {
        CString name = ReadString(ini, L"VIEW_HISTORY", Key(L"FILE_NAME%d", i), L"");
        if (name.IsEmpty())
            continue;
        CString path = ReadString(ini, L"VIEW_HISTORY", Key(L"PATH%d", i), L"");
        CString archive = ReadString(ini, L"VIEW_HISTORY", Key(L"ARCHIVE_PATH%d", i), L"");
        if (!path.IsEmpty() || !archive.IsEmpty())
            g_ViewHistory.Add(name, path, archive);
    }
}

void SaveSectionViewHistory(CIniFile& ini)
{
    for (INT_PTR i = 0; i < g_ViewHistory.GetCount(); ++i)
    {
        const CViewFile& entry = g_ViewHistory[i];
        ini.WriteString(L"VIEW_HISTORY", Key(L"FILE_NAME%d", static_cast<int>(i)), entry.m_name);
        ini.WriteString(L"VIEW_HISTORY", Key(L"PATH%d", static_cast<int>(i)), entry.m_folder);
        ini.WriteString(L"VIEW_HISTORY", Key(L"ARCHIVE_PATH%d", static_cast<int>(i)), entry.m_archive);
    }
}

// ---- Reset ------------------------------------------------------------------------------------

// ---- Resets ---------------------------------------------------------------------------
// Each puts its section's records back to the values they are declared with (for a
// second load in the same process, as tests do).

void ResetSectionScsiCommand()
{
    for (CString& slot : g_ScsiCommandSettings)
        slot.Empty();
}

void ResetSectionZoomData()
{
    for (ZoomTableRow& row : g_ZoomTable)
        row.enabled = 1; // every step is offered until the user turns one off
}

void ResetSectionDebugData()
{
    for (int& flag : g_DebugFlags)
        flag = 0;
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

void ResetSectionDisplayFont()
{
    g_DisplayFontSizes.RemoveAll();
    s_otherResolutionKeys.RemoveAll();
    s_otherResolutionValues.RemoveAll();
}

void ResetSectionViewerSetting()
{
    for (int& width : g_ViewerLineWidths)
        width = kDefaultViewerLineWidth;
    for (ViewerKindRow& row : g_ViewerKindRows)
        row = ViewerKindRow();
    g_ViewerLeftDblClickAct = kDefaultViewerLeftDblClickAct;
    g_ViewerRightDblClickAct.Empty();
    g_LineReturnCode = kDefaultLineReturnCode;
    g_LineReturnCodeLength = g_LineReturnCode.GetLength();
}

void ResetSectionViewerSearchString()
{
    CHandleLock lock(g_DataMutex);
    g_ViewerSearchHistory.RemoveAll();
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

void ResetSectionWav()
{
    for (CString& file : g_CommandSoundFiles)
        file.Empty();
}

void ResetSectionSound()
{
    g_LastPlayList.Empty();
    SetDefaultMediaKinds(g_MediaKindList);
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

void ResetSectionMouseOpeGraphic()
{
    g_GraphicMouseOperations = kDefaultGraphicMouseOperations;
}

void ResetSectionAlphaChannelProcess()
{
    g_AlphaChannelTypes = kDefaultAlphaChannelTypes;
}

void ResetSectionViewHistory()
{
    g_ViewHistory.RemoveAll();
}
