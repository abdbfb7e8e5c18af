// Settings of the graphic viewer, its image plug-ins and the preview loader kept in
// the settings file (sections "ZOOMDATA", "SUSIEDATA", "LOAD_PREVIEW",
// "MOUSE_OPE_GRAPHIC", "ALPHA_CHANNEL_PROCESS"). They live in the settings layer
// so that every library can reach them, the graphic viewer included.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

#include <array>

// One zoom step: the ratio, its texts and whether the step is offered (a setting).
struct ZoomStepRow
{
    int numerator;
    int denominator;
    const wchar_t* label;
    const wchar_t* key; // the "ZOOMDATA" key
    int enabled;
};
constexpr int ZOOM_STEP_COUNT = 10;
inline constexpr std::array<ZoomStepRow, ZOOM_STEP_COUNT> kDefaultZoomSteps = {{{1, 5, L"1/5", L"1_5", 1},
                                                                                {1, 4, L"1/4", L"1_4", 1},
                                                                                {1, 3, L"1/3", L"1_3", 1},
                                                                                {1, 2, L"1/2", L"1_2", 1},
                                                                                {1, 1, L"1.0", L"1_1", 1},
                                                                                {3, 2, L"1.5", L"3_2", 1},
                                                                                {2, 1, L"2.0", L"2_1", 1},
                                                                                {3, 1, L"3.0", L"3_1", 1},
                                                                                {4, 1, L"4.0", L"4_1", 1},
                                                                                {5, 1, L"5.0", L"5_1", 1}}};
inline std::array<ZoomStepRow, ZOOM_STEP_COUNT> g_ZoomSteps = kDefaultZoomSteps;

// One configured image or archive plug-in.
class CSusieDllFile
{
public:
    // What GetPluginInfo wrote for information 0 (ANSI, not always terminated);
    // characters 3 and 4 give the kind.
    char m_apiVersion[10] = {};
    CString m_fileName; // inside the plug-in folder, without folder
    CStringArray m_patterns;
    int m_enabled = 0;
    CString m_description;
    CString m_rest; // text after the patterns on a long-form settings line

    void Clear()
    {
        ZeroMemory(m_apiVersion, sizeof(m_apiVersion));
        m_fileName.Empty();
        m_patterns.RemoveAll();
        m_enabled = 0;
        m_description.Empty();
        m_rest.Empty();
    }
    // 2 image plug-in ("..IN"), 1 archive plug-in ("..AM"), else 0.
    int GetKind() const
    {
        if (m_apiVersion[2] == 'I' && m_apiVersion[3] == 'N')
            return 2;
        if (m_apiVersion[2] == 'A' && m_apiVersion[3] == 'M')
            return 1;
        return 0;
    }
};

// The ordered plug-in list (the order is the priority) and the plug-in folder; both
// guarded by g_DataMutex for their readers.
inline CArray<CSusieDllFile> g_SusiePlugIns;
inline CString g_SusiePlugInDir;

// Where and under which names pictures are saved as BMP files: the series' prefix,
// folder and next number (0-9999), the folder of the last interactive save, and
// whether a save takes the source's own name with the extension changed.
struct BmpSaveSettings
{
    CString prefix;
    CString folder;
    CString lastFolder;
    int sameName = 0;
    int startNumber = 0;
};
inline BmpSaveSettings g_BmpSaveSettings;

// One alpha-channel processing row: mode 0 off, 1 background colour, 2 chosen
// colour, 3 checker with the chosen colour.
struct CAlphaChannelRow
{
    int mode;
    COLORREF colour;
};
constexpr int ALPHA_CHANNEL_ROW_COUNT = 10;
inline constexpr std::array<CAlphaChannelRow, ALPHA_CHANNEL_ROW_COUNT> kDefaultAlphaChannelTypes = {
    {{3, 0xd3d1ce}, {0, 0}, {1, 0}, {2, 0}, {2, 0xd3d1ce}, {2, 0xffffff}, {0, 0}, {0, 0}, {0, 0}, {0, 0}}};
inline std::array<CAlphaChannelRow, ALPHA_CHANNEL_ROW_COUNT> g_AlphaChannelTypes = kDefaultAlphaChannelTypes;

// The graphic viewer's mouse table: operation per action and modifier, -1 none.
// Actions: left click, right click, left double click, right double click, wheel
// up, wheel down. Modifiers: none, Shift, Ctrl, Alt.
constexpr int GRAPHIC_MOUSE_ACTION_COUNT = 6;
constexpr int GRAPHIC_MOUSE_MODIFIER_COUNT = 4;
using GraphicMouseTable =
    std::array<std::array<int, GRAPHIC_MOUSE_MODIFIER_COUNT>, GRAPHIC_MOUSE_ACTION_COUNT>;
inline constexpr GraphicMouseTable kDefaultGraphicMouseOperations = {
    {{-1, -1, -1, -1}, {-1, -1, -1, -1}, {1, -1, -1, -1}, {-1, -1, -1, -1}, {2, 0, 4, -1}, {3, 0, 5, -1}}};
inline GraphicMouseTable g_GraphicMouseOperations = kDefaultGraphicMouseOperations;

// A folder shown as thumbnails: type 1 this folder, 2 and the folders below it,
// 3 member of a marked tree.
struct CPreviewEnableDirInfo
{
    CString folder;
    BYTE type = 0;
};

// What the preview loader keeps in section "LOAD_PREVIEW".
struct PreviewSettings
{
    CArray<CPreviewEnableDirInfo> enabledDirs;
    CStringArray disabledDirs;
    CStringArray displayKinds; // extensions whose thumbnails are shown
};
inline PreviewSettings g_PreviewSettings;

// ---- Sections ----------------------------------------------------------------------
// Each Load takes the file's values (defaults for what is missing), each Save writes
// the section into a file opened with CIniFile::Create, each Reset puts the records
// back to the values they are declared with.

class CIniFile;

void LoadSectionZoomData(CIniFile& ini);
void SaveSectionZoomData(CIniFile& ini);
void ResetSectionZoomData();
// The plug-in folder, the view's temporary folder and the plug-in lines (long form
// while HIGHLOADSPI is 1 or 2); then, while HIGHLOADSPI is 0 or 1, the merging folder
// scan through g_SettingsHooks (nothing when no scan is installed).
void LoadSectionSusieData(CIniFile& ini, CString& viewTempDirectory);
void SaveSectionSusieData(CIniFile& ini, const CString& viewTempDirectory);
void ResetSectionSusieData();
// The preview loader's folders and displayed kinds.
void LoadSectionLoadPreview(CIniFile& ini);
void SaveSectionLoadPreview(CIniFile& ini);
void ResetSectionLoadPreview();
void LoadSectionMouseOpeGraphic(CIniFile& ini);
void SaveSectionMouseOpeGraphic(CIniFile& ini);
void ResetSectionMouseOpeGraphic();
// The BMP save settings (section "SAVE_BMP"); a start number outside 0-10000 (10000:
// the series is full) reads as 0.
void LoadSectionSaveBmp(CIniFile& ini);
void SaveSectionSaveBmp(CIniFile& ini);
void ResetSectionSaveBmp();
void LoadSectionAlphaChannelProcess(CIniFile& ini);
void SaveSectionAlphaChannelProcess(CIniFile& ini);
void ResetSectionAlphaChannelProcess();
