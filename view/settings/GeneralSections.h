// The general sections of the settings file: how each one is read into its records
// and written back from them. The settings reader and writer of the view call these
// in their fixed orders; every function names its own section, so keys such as
// "DIR%d" that several sections share never mix.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CIniFile;

// Every record these sections fill back to its built-in start value (for a second
// load in the same process, as tests do).
void ResetGeneralSettings();

// ---- Value formats ----------------------------------------------------------------

// A colour as six lower-case hexadecimal digits, most significant byte first.
void FormatColorValue(DWORD color, CString& out);
// The colour of `key`, or `defaultValue` when the value is missing, shorter than six
// characters or has a non-hexadecimal character among its first six.
DWORD ReadColorValue(CIniFile& ini, LPCWSTR section, LPCWSTR key, DWORD defaultValue);
void WriteColorValue(CIniFile& ini, LPCWSTR section, LPCWSTR key, DWORD color);

// ---- "USERINI" ----------------------------------------------------------------------

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

// ---- "ALLDATA" strings ------------------------------------------------------------

// "FONTNAME" and "PRINTFONTNAME" (read before "DISPLAYFONT").
void LoadAllDataFontNames(CIniFile& ini);
// The other twelve strings; an empty "FIRSTDIRECTORY" or "ENDDIRECTORY" becomes the
// Windows directory.
void LoadAllDataStrings(CIniFile& ini);
// All fourteen, after the integers of "ALLDATA" and before "ALLDATA2".
void SaveAllDataStrings(CIniFile& ini);
// "ENDDIRECTORY" and "ENDDIRECTORY2" from the two panes' current state (g_Panes).
void ComputeEndDirectories();

// ---- One pair per section (or per group always handled together) ------------------
// ("VIRTUALDRIVE" is in app/VirtualDrives.h, "DIR_HISTORY" in filer/PathHistory.h.)

void LoadSectionFilerInfo(CIniFile& ini); // "FILERINFODATA"
void SaveSectionFilerInfo(CIniFile& ini);
void LoadSectionSpecialCopyTo(CIniFile& ini); // "SPECIALCOPYTO"
void SaveSectionSpecialCopyTo(CIniFile& ini);
void LoadSectionWildcard(CIniFile& ini); // "WILDCARD"
void SaveSectionWildcard(CIniFile& ini);

// "COLORDATA": the reader takes the 21 named and 256 byte colours early and the 100
// kind colours later; the writer writes kinds, named colours, byte colours.
void LoadSectionColorNamed(CIniFile& ini);
void LoadSectionColorKinds(CIniFile& ini);
void SaveSectionColorData(CIniFile& ini);

void LoadSectionKindExe(CIniFile& ini); // "KINDEXEDATA", then "KINDEXEDATASHIFT"
void SaveSectionKindExe(CIniFile& ini);
// "JUMPDATA"; raises SUMDIRJUMPGROUP to 1 and sizes the groups to it first.
void LoadSectionJumpData(CIniFile& ini);
void SaveSectionJumpData(CIniFile& ini);
// "SELECTDIR"; cuts the history to SUMCOPYPASTDIRECTORY entries first.
void LoadSectionSelectDir(CIniFile& ini);
void SaveSectionSelectDir(CIniFile& ini);
void LoadSectionFilerBmp(CIniFile& ini); // "FILERBMP"
void SaveSectionFilerBmp(CIniFile& ini);
// Appends "BACKBITMAPNAME" to the picture list unless empty or already there (case
// aside).
void AppendBackBitmapName();
void LoadSectionSoundList(CIniFile& ini); // "SOUNDLIST"
void SaveSectionSoundList(CIniFile& ini);
void LoadSectionRenameHistory(CIniFile& ini); // "RENAMEHISTORY"
void SaveSectionRenameHistory(CIniFile& ini);
void LoadSectionExeHistory(CIniFile& ini); // "EXEHISTORY"
void SaveSectionExeHistory(CIniFile& ini);
// "LANCHER" into the view's four parallel lists.
void LoadSectionLancher(CIniFile& ini, CStringArray& exe, CStringArray& par, CStringArray& key,
                        CStringArray& exeDir);
void SaveSectionLancher(CIniFile& ini, const CStringArray& exe, const CStringArray& par,
                        const CStringArray& key, const CStringArray& exeDir);
void LoadSectionFilerUserMenu(CIniFile& ini); // "FILERUSERMENU"
void SaveSectionFilerUserMenu(CIniFile& ini);
void LoadSectionNotViewMenu(CIniFile& ini); // "NOTVIEWMENU"
void SaveSectionNotViewMenu(CIniFile& ini);
void LoadSectionNetwork(CIniFile& ini); // "NETWORK"
void SaveSectionNetwork(CIniFile& ini);
// "SAVECURPOS", only while SAVECURSORPOSITION is on. The reader always sizes the
// list to SUMSAVECURPOS first; the writer expects both panes to have stored their
// cursor names.
void LoadSectionSaveCurPos(CIniFile& ini);
void SaveSectionSaveCurPos(CIniFile& ini);
void LoadSectionMakeNewFile(CIniFile& ini); // "MAKENEWFILE"
void SaveSectionMakeNewFile(CIniFile& ini);
void LoadSectionReloadSetting(CIniFile& ini); // "RELOAD_SETTING"
void SaveSectionReloadSetting(CIniFile& ini);
void LoadSectionOrderListDirJump(CIniFile& ini); // "ORDER_LIST_DIR_JUMP"
void SaveSectionOrderListDirJump(CIniFile& ini);
void LoadSectionTimeMacro(CIniFile& ini); // "TIME_MACRO"
void SaveSectionTimeMacro(CIniFile& ini);
void LoadSectionFindFileDlgInf(CIniFile& ini); // "FIND_FILE_DLG_INF"
void SaveSectionFindFileDlgInf(CIniFile& ini);
void LoadSectionDispFileSetting(CIniFile& ini); // "DISP_FILE_SETTING"
void SaveSectionDispFileSetting(CIniFile& ini);
void LoadSectionDialogOtherWindow(CIniFile& ini); // "DIALOG_OTHER_WINDOW"
void SaveSectionDialogOtherWindow(CIniFile& ini);
void LoadSectionExecute(CIniFile& ini); // "EXECUTE"
void SaveSectionExecute(CIniFile& ini);
