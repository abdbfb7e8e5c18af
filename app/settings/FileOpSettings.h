// Lists and state of the file operations that the settings file keeps: copy
// destinations, the rename history and the file-search dialog's placement and
// histories. Every list is guarded by g_DataMutex.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

// The user's special copy destinations.
inline CStringArray g_SpecialCopyToDirs;
// Destination folders of copy, move, pack and unpack, newest first.
inline CStringArray g_SelectDirHistory;
// Rename patterns, newest first.
inline CStringArray g_RenameHistory;

// Where the file-search dialog was and its result columns.
struct FindFileDlgState
{
    int init = 0; // 1 once a placement was stored
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
    int columns[5] = {};
};
inline FindFileDlgState g_FindFileDlgState;
inline CStringArray g_FindPatternHistory;
inline CStringArray g_FindDirectoryHistory;
inline CStringArray g_FindTextHistory;

// ---- Sections ----------------------------------------------------------------------
// Each Load takes the file's values (defaults for what is missing), each Save writes
// the section into a file opened with CIniFile::Create, each Reset puts the records
// back to the values they are declared with.

class CIniFile;

void LoadSectionSpecialCopyTo(CIniFile& ini); // "SPECIALCOPYTO"
void SaveSectionSpecialCopyTo(CIniFile& ini);
void ResetSectionSpecialCopyTo();
// "SELECTDIR"; cuts the history to SUMCOPYPASTDIRECTORY entries first.
void LoadSectionSelectDir(CIniFile& ini);
void SaveSectionSelectDir(CIniFile& ini);
void ResetSectionSelectDir();
void LoadSectionRenameHistory(CIniFile& ini); // "RENAMEHISTORY"
void SaveSectionRenameHistory(CIniFile& ini);
void ResetSectionRenameHistory();
void LoadSectionFindFileDlgInf(CIniFile& ini); // "FIND_FILE_DLG_INF"
void SaveSectionFindFileDlgInf(CIniFile& ini);
void ResetSectionFindFileDlgInf();
