// Settings of the customisation and system tools kept in the settings file
// (sections "DEBUGDATA", "DISPLAYFONT", "PLUGINDATA", "NONLOADCPL"; the display-mode
// slots are in app/DisplayModeSlots.h). In the settings layer so that every library can
// reach them.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

// The nine debug switches; switch 0 shows each image plug-in's path before it is
// loaded (together with DEBUGMODE).
constexpr int DEBUG_FLAG_COUNT = 9;
// Switch 6 writes each drawn picture's size to the log (together with DEBUGMODE).
constexpr int DEBUG_FLAG_PICTURE_SIZES = 6;
inline int g_DebugFlags[DEBUG_FLAG_COUNT] = {};

// The screen font of one display resolution.
class CDisplayFontSize
{
public:
    CString m_resolution; // "%04dX%04d" of width and height
    int m_height = -16;
    int m_width = 1;
    CString m_faceName;
    int m_charSet = 128;
    int m_weight = 400;
};
// One entry per distinct resolution the display reports, in its order.
inline CArray<CDisplayFontSize> g_DisplayFontSizes;

// One of the program's own plug-in entries (configuration only: nothing loads them).
class CQvPlugIn
{
public:
    CString m_fileName;
    WORD m_version = 0; // version times 100
    CString m_type;
    CString m_functionName;
    CString m_keyString; // begins with "#"; bindings refer to the entry by it
    int m_showInMenu = 0;
};
inline CArray<CQvPlugIn> g_PlugInList;
inline CString g_PlugInDir;

// Control-panel applet files not to load: ten names, empty ones allowed.
constexpr int NON_LOAD_CPL_COUNT = 10;
inline CStringArray g_NonLoadCplList;

// ---- Sections ----------------------------------------------------------------------
// Each Load takes the file's values (defaults for what is missing), each Save writes
// the section into a file opened with CIniFile::Create, each Reset puts the records
// back to the values they are declared with.

class CIniFile;

void LoadSectionDebugData(CIniFile& ini);
void SaveSectionDebugData(CIniFile& ini);
void ResetSectionDebugData();
// One font per resolution the display reports (through g_DisplayApi). An entry with
// fewer than four fields takes the main font: `mainFontName` ("FONTNAME") with
// FONTHEIGHT, FONTWIDE and FONTCHARSET; one without a weight takes FONTWEIGHT.
void LoadSectionDisplayFont(CIniFile& ini, LPCWSTR mainFontName);
void SaveSectionDisplayFont(CIniFile& ini);
void ResetSectionDisplayFont();
void LoadSectionDisplayMode(CIniFile& ini);
void SaveSectionDisplayMode(CIniFile& ini);
void ResetSectionDisplayMode();
void LoadSectionPlugInData(CIniFile& ini);
void SaveSectionPlugInData(CIniFile& ini);
void ResetSectionPlugInData();
void LoadSectionNonLoadCpl(CIniFile& ini);
void SaveSectionNonLoadCpl(CIniFile& ini);
void ResetSectionNonLoadCpl();
