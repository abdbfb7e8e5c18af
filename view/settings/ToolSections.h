// Reading and writing the settings-file sections of the viewers, pictures, media,
// archivers, display and own plug-ins. Each Load function takes the file's values
// (defaults for what is missing) into the records of those subsystems; each Save
// function writes the section into a file opened with CIniFile::Create.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CIniFile;

void LoadSectionScsiCommand(CIniFile& ini);
void SaveSectionScsiCommand(CIniFile& ini);

void LoadSectionZoomData(CIniFile& ini);
void SaveSectionZoomData(CIniFile& ini);

void LoadSectionDebugData(CIniFile& ini);
void SaveSectionDebugData(CIniFile& ini);

// "UNPACKDATA": the bridge folder and the unpack options; "PACKDATA": the pack options.
void LoadSectionUnpackData(CIniFile& ini);
void SaveSectionUnpackData(CIniFile& ini);
void LoadSectionPackData(CIniFile& ini);
void SaveSectionPackData(CIniFile& ini);

// One font per resolution the display reports (through g_DisplayApi). An entry with
// fewer than four fields takes the main font: `mainFontName` ("FONTNAME") with
// FONTHEIGHT, FONTWIDE and FONTCHARSET; one without a weight takes FONTWEIGHT.
void LoadSectionDisplayFont(CIniFile& ini, LPCWSTR mainFontName);
void SaveSectionDisplayFont(CIniFile& ini);

void LoadSectionViewerSetting(CIniFile& ini);
void SaveSectionViewerSetting(CIniFile& ini);
void LoadSectionViewerSearchString(CIniFile& ini);
void SaveSectionViewerSearchString(CIniFile& ini);

// The plug-in folder, the view's temporary folder and the plug-in lines (long form
// while HIGHLOADSPI is 1 or 2); then, while HIGHLOADSPI is 0 or 1, the merging folder
// scan.
void LoadSectionSusieData(CIniFile& ini, CString& viewTempDirectory);
void SaveSectionSusieData(CIniFile& ini, const CString& viewTempDirectory);

// The preview loader's folders and displayed kinds.
void LoadSectionLoadPreview(CIniFile& ini);
void SaveSectionLoadPreview(CIniFile& ini);

void LoadSectionWav(CIniFile& ini);
void SaveSectionWav(CIniFile& ini);

// "SOUND": the last play list and the sixty media kinds (built-in ones first).
void LoadSectionSound(CIniFile& ini);
void SaveSectionSound(CIniFile& ini);

void LoadSectionDisplayMode(CIniFile& ini);
void SaveSectionDisplayMode(CIniFile& ini);

void LoadSectionPlugInData(CIniFile& ini);
void SaveSectionPlugInData(CIniFile& ini);

void LoadSectionNonLoadCpl(CIniFile& ini);
void SaveSectionNonLoadCpl(CIniFile& ini);

void LoadSectionMouseOpeGraphic(CIniFile& ini);
void SaveSectionMouseOpeGraphic(CIniFile& ini);

void LoadSectionAlphaChannelProcess(CIniFile& ini);
void SaveSectionAlphaChannelProcess(CIniFile& ini);

void LoadSectionViewHistory(CIniFile& ini);
void SaveSectionViewHistory(CIniFile& ini);

// Every record of these sections back to its built-in value.
void ResetToolSettings();
