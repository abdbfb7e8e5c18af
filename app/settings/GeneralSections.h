// The general sections of the settings file: how each one is read into its records,
// written back from them and put back to its defaults. The rows of
// app/settings/SettingsSections.cpp call these in the reader's and the writer's fixed
// orders; every function names its own section, so keys such as "DIR%d" that several
// sections share never mix.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CIniFile;

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
void ResetAllDataStrings();

// ---- One pair per section (or per group always handled together) ------------------
// ("VIRTUALDRIVE" is in app/VirtualDrives.h, "DIR_HISTORY" in filer/PathHistory.h.)
// Each Reset puts the section's records back to the values they are declared with.

void LoadSectionFilerInfo(CIniFile& ini); // "FILERINFODATA"
void SaveSectionFilerInfo(CIniFile& ini);
void ResetSectionFilerInfo();
void LoadSectionSpecialCopyTo(CIniFile& ini); // "SPECIALCOPYTO"
void SaveSectionSpecialCopyTo(CIniFile& ini);
void ResetSectionSpecialCopyTo();
void LoadSectionWildcard(CIniFile& ini); // "WILDCARD"
void SaveSectionWildcard(CIniFile& ini);
void ResetSectionWildcard();

// "COLORDATA": the reader takes the 21 named and 256 byte colours early and the 100
// kind colours later; the writer writes kinds, named colours, byte colours.
void LoadSectionColorNamed(CIniFile& ini);
void LoadSectionColorKinds(CIniFile& ini);
void SaveSectionColorData(CIniFile& ini);
void ResetSectionColorData();

void LoadSectionKindExe(CIniFile& ini); // "KINDEXEDATA", then "KINDEXEDATASHIFT"
void SaveSectionKindExe(CIniFile& ini);
void ResetSectionKindExe();
// "JUMPDATA"; raises SUMDIRJUMPGROUP to 1 and sizes the groups to it first.
void LoadSectionJumpData(CIniFile& ini);
void SaveSectionJumpData(CIniFile& ini);
void ResetSectionJumpData();
// "SELECTDIR"; cuts the history to SUMCOPYPASTDIRECTORY entries first.
void LoadSectionSelectDir(CIniFile& ini);
void SaveSectionSelectDir(CIniFile& ini);
void ResetSectionSelectDir();
void LoadSectionFilerBmp(CIniFile& ini); // "FILERBMP"
void SaveSectionFilerBmp(CIniFile& ini);
void ResetSectionFilerBmp();
// Appends "BACKBITMAPNAME" to the picture list unless empty or already there (case
// aside).
void AppendBackBitmapName();
void LoadSectionSoundList(CIniFile& ini); // "SOUNDLIST"
void SaveSectionSoundList(CIniFile& ini);
void ResetSectionSoundList();
void LoadSectionRenameHistory(CIniFile& ini); // "RENAMEHISTORY"
void SaveSectionRenameHistory(CIniFile& ini);
void ResetSectionRenameHistory();
void LoadSectionExeHistory(CIniFile& ini); // "EXEHISTORY"
void SaveSectionExeHistory(CIniFile& ini);
void ResetSectionExeHistory();
// "LANCHER" into the view's four parallel lists.
void LoadSectionLancher(CIniFile& ini, CStringArray& exe, CStringArray& par, CStringArray& key,
                        CStringArray& exeDir);
void SaveSectionLancher(CIniFile& ini, const CStringArray& exe, const CStringArray& par,
                        const CStringArray& key, const CStringArray& exeDir);
void LoadSectionFilerUserMenu(CIniFile& ini); // "FILERUSERMENU"
void SaveSectionFilerUserMenu(CIniFile& ini);
void ResetSectionFilerUserMenu();
void LoadSectionNotViewMenu(CIniFile& ini); // "NOTVIEWMENU"
void SaveSectionNotViewMenu(CIniFile& ini);
void ResetSectionNotViewMenu();
void LoadSectionNetwork(CIniFile& ini); // "NETWORK"
void SaveSectionNetwork(CIniFile& ini);
void ResetSectionNetwork();
// "SAVECURPOS", only while SAVECURSORPOSITION is on. The reader always sizes the
// list to SUMSAVECURPOS first; the writer expects both panes to have stored their
// cursor names.
void LoadSectionSaveCurPos(CIniFile& ini);
void SaveSectionSaveCurPos(CIniFile& ini);
void ResetSectionSaveCurPos();
void LoadSectionMakeNewFile(CIniFile& ini); // "MAKENEWFILE"
void SaveSectionMakeNewFile(CIniFile& ini);
void ResetSectionMakeNewFile();
void LoadSectionReloadSetting(CIniFile& ini); // "RELOAD_SETTING"
void SaveSectionReloadSetting(CIniFile& ini);
void ResetSectionReloadSetting();
void LoadSectionOrderListDirJump(CIniFile& ini); // "ORDER_LIST_DIR_JUMP"
void SaveSectionOrderListDirJump(CIniFile& ini);
void ResetSectionOrderListDirJump();
void LoadSectionTimeMacro(CIniFile& ini); // "TIME_MACRO"
void SaveSectionTimeMacro(CIniFile& ini);
void ResetSectionTimeMacro();
void LoadSectionFindFileDlgInf(CIniFile& ini); // "FIND_FILE_DLG_INF"
void SaveSectionFindFileDlgInf(CIniFile& ini);
void ResetSectionFindFileDlgInf();
void LoadSectionDispFileSetting(CIniFile& ini); // "DISP_FILE_SETTING"
void SaveSectionDispFileSetting(CIniFile& ini);
void ResetSectionDispFileSetting();
void LoadSectionDialogOtherWindow(CIniFile& ini); // "DIALOG_OTHER_WINDOW"
void SaveSectionDialogOtherWindow(CIniFile& ini);
void ResetSectionDialogOtherWindow();
void LoadSectionExecute(CIniFile& ini); // "EXECUTE"
void SaveSectionExecute(CIniFile& ini);
void ResetSectionExecute();
