// Lists of the filer that the settings file fills: the directory-jump groups with
// the columns of their list, the new-file kinds, the wildcard history, the remembered
// cursor entries and the re-check intervals per drive class.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

#include <array>
#include "app/records/PaneRecords.h"

// As many groups as SUMDIRJUMPGROUP.
inline CArray<CJumpDirectory> g_JumpGroups;

// One column of the jump-directory list: shown (1), item kind (0 target, 1 key,
// 2 contents) and width (0 fits the contents).
struct JumpListColumn
{
    int shown;
    int item;
    int width;
};
inline constexpr std::array<JumpListColumn, 3> kDefaultJumpListColumns = {{{1, 0, 0}, {1, 1, 0}, {1, 2, 0}}};
inline std::array<JumpListColumn, 3> g_JumpListColumns = kDefaultJumpListColumns;

// One new-file kind: extension, display name and template type ("NullFile",
// "FileName" or "Data", the values under the extension's ShellNew key).
class CMakeNewFile
{
public:
    CString m_extension;
    CString m_displayName;
    CString m_templateType;
};
inline CArray<CMakeNewFile> g_MakeNewFileKinds;

// The patterns typed into the wildcard dialog, newest first.
inline CStringArray g_WildcardHistory;

// The remembered cursor entry of a directory.
class CSaveCursorPosition
{
public:
    CString m_directory;
    CString m_name;
};
// Newest first; shared by both panes and kept at SUMSAVECURPOS records by the reader.
inline CArray<CSaveCursorPosition> g_SaveCursorPositions;

// Re-check interval per drive class (0 fixed and others, 1 floppy, 2 CD-ROM, 3 other
// removable, 4 network): enable 0 means no change notification and no re-check;
// ticks counts one-second timer ticks between re-checks (section "RELOAD_SETTING").
struct ReloadSetting
{
    int enable;
    int ticks;
};
constexpr int kReloadSettingCount = 5;
inline constexpr std::array<ReloadSetting, kReloadSettingCount> kDefaultReloadSettings = {
    {{1, 1}, {0, 1}, {1, 1}, {1, 1}, {1, 1}}};
inline std::array<ReloadSetting, kReloadSettingCount> g_ReloadSettings = kDefaultReloadSettings;

// ---- Sections ----------------------------------------------------------------------
// Each Load takes the file's values (defaults for what is missing), each Save writes
// the section into a file opened with CIniFile::Create, each Reset puts the records
// back to the values they are declared with.

class CIniFile;

void LoadSectionWildcard(CIniFile& ini); // "WILDCARD"
void SaveSectionWildcard(CIniFile& ini);
void ResetSectionWildcard();
// "JUMPDATA"; raises SUMDIRJUMPGROUP to 1 and sizes the groups to it first.
void LoadSectionJumpData(CIniFile& ini);
void SaveSectionJumpData(CIniFile& ini);
void ResetSectionJumpData();
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
