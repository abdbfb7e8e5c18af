// The general sections of the settings file: the value formats, "USERINI", the
// reader's steps of the strings of "ALLDATA", "NETWORK" and "TIME_MACRO". The sections of each subsystem's
// records are declared with the records (ViewSettings.h, FilerSettings.h ...); the
// rows of app/settings/SettingsSections.cpp call them in the reader's and the writer's
// fixed orders. Every function names its own section, so keys such as "DIR%d" that
// several sections share never mix.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CIniFile;

// A colour as six lower-case hexadecimal digits, most significant byte first.
void FormatColorValue(DWORD color, CString& out);
// The colour of `key`, or `defaultValue` when the value is missing, shorter than six
// characters or has a non-hexadecimal character among its first six.
DWORD ReadColorValue(CIniFile& ini, LPCWSTR section, LPCWSTR key, DWORD defaultValue);
void WriteColorValue(CIniFile& ini, LPCWSTR section, LPCWSTR key, DWORD color);
// Every entry of the section (user names and values, the map's order).
void LoadUserIniEntries(CIniFile& ini, CStringArray& names, CStringArray& values);
void SaveUserIniEntries(CIniFile& ini, const CStringArray& names, const CStringArray& values);
// The user's path as it is saved: a path with a folder or drive part as it is, a bare
// name as "<programDir>\<name>", an empty path empty.
void MakeSavedUserIniPath(LPCWSTR userIniPath, LPCWSTR programDir, CString& out);
// Sets the value of `userName` (found by exact comparison, else appended) to the
// saved path, with "@" in front when `active` is set.
void SetUserIniEntry(CStringArray& names, CStringArray& values, LPCWSTR userName, LPCWSTR savedPath,
                     int active);
// The font faces of "ALLDATA" (read before "DISPLAYFONT", which falls back on them).
void LoadAllDataFontNames(CIniFile& ini);
// The other strings and folders of "ALLDATA".
void LoadAllDataStrings(CIniFile& ini);
// Every string of "ALLDATA" without the integers.
void SaveAllDataStrings(CIniFile& ini);
// Every string of "ALLDATA" empty.
void ResetAllDataStrings();
void LoadSectionNetwork(CIniFile& ini); // "NETWORK"
void SaveSectionNetwork(CIniFile& ini);
void ResetSectionNetwork();
void LoadSectionTimeMacro(CIniFile& ini); // "TIME_MACRO"
void SaveSectionTimeMacro(CIniFile& ini);
void ResetSectionTimeMacro();
