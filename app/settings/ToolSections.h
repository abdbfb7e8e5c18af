// Reading and writing the settings-file sections of the viewers, pictures, media,
// archivers, display and own plug-ins. Each Load function takes the file's values
// (defaults for what is missing) into the records of those subsystems; each Save
// function writes the section into a file opened with CIniFile::Create; each Reset
// puts the section's records back to the values they are declared with.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

class CIniFile;

void LoadSectionScsiCommand(CIniFile& ini);
void SaveSectionScsiCommand(CIniFile& ini);
void ResetSectionScsiCommand();

void LoadSectionZoomData(CIniFile& ini);
void SaveSectionZoomData(CIniFile& ini);
void ResetSectionZoomData();

void LoadSectionDebugData(CIniFile& ini);
void SaveSectionDebugData(CIniFile& ini);
void ResetSectionDebugData();

// "UNPACKDATA": the bridge folder and the unpack options; "PACKDATA": the pack options.
void LoadSectionUnpackData(CIniFile& ini);
void SaveSectionUnpackData(CIniFile& ini);
void ResetSectionUnpackData();
void LoadSectionPackData(CIniFile& ini);
void SaveSectionPackData(CIniFile& ini);
void ResetSectionPackData();

// One font per resolution the display reports (through g_DisplayApi). An entry with
// fewer than four fields takes the main font: `mainFontName` ("FONTNAME") with
// FONTHEIGHT, FONTWIDE and FONTCHARSET; one without a weight takes FONTWEIGHT.
void LoadSectionDisplayFont(CIniFile& ini, LPCWSTR mainFontName);
void SaveSectionDisplayFont(CIniFile& ini);
void ResetSectionDisplayFont();

void LoadSectionViewerSetting(CIniFile& ini);
void SaveSectionViewerSetting(CIniFile& ini);
void ResetSectionViewerSetting();
void LoadSectionViewerSearchString(CIniFile& ini);
void SaveSectionViewerSearchString(CIniFile& ini);
void ResetSectionViewerSearchString();

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

void LoadSectionWav(CIniFile& ini);
void SaveSectionWav(CIniFile& ini);
void ResetSectionWav();

// "SOUND": the last play list and the sixty media kinds (built-in ones first).
void LoadSectionSound(CIniFile& ini);
void SaveSectionSound(CIniFile& ini);
void ResetSectionSound();

void LoadSectionDisplayMode(CIniFile& ini);
void SaveSectionDisplayMode(CIniFile& ini);
void ResetSectionDisplayMode();

void LoadSectionPlugInData(CIniFile& ini);
void SaveSectionPlugInData(CIniFile& ini);
void ResetSectionPlugInData();

void LoadSectionNonLoadCpl(CIniFile& ini);
void SaveSectionNonLoadCpl(CIniFile& ini);
void ResetSectionNonLoadCpl();

void LoadSectionMouseOpeGraphic(CIniFile& ini);
void SaveSectionMouseOpeGraphic(CIniFile& ini);
void ResetSectionMouseOpeGraphic();

void LoadSectionAlphaChannelProcess(CIniFile& ini);
void SaveSectionAlphaChannelProcess(CIniFile& ini);
void ResetSectionAlphaChannelProcess();

void LoadSectionViewHistory(CIniFile& ini);
void SaveSectionViewHistory(CIniFile& ini);
void ResetSectionViewHistory();
