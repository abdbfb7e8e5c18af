// Tables of the customisation tools that the settings file fills: programs per file
// kind, the history and last input of the execute command, the hidden top-level
// menus per mode and the dialogs that open as windows of their own.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"

// One file kind and what Return (or Shift+Return) does with it.
class CKindExeEntry
{
public:
    CString m_extension;  // without the dot
    CString m_action;     // a program, a keyword beginning with "@" or a plug-in text
    CString m_parameters; // may hold the %-macros
    CString m_displayName;
};
constexpr int kKindExeEntryCount = 80;
inline CKindExeEntry g_KindExeTable[kKindExeEntryCount];      // Return
inline CKindExeEntry g_KindExeShiftTable[kKindExeEntryCount]; // Shift+Return

// Programs and parameter lines of the execute command, newest first.
inline CStringArray g_ExeHistory;
inline CStringArray g_ExeParamHistory;
inline CString g_ExecuteLastFile;
inline CString g_ExecuteLastParameter;

// The top-level menus of one mode's menu bar with a hidden flag each.
struct HiddenMenuRow
{
    const wchar_t* modeName;
    int menuId;
    int itemCount;
    const wchar_t* itemNames[10];
    int hidden[10];
};
constexpr int kHiddenMenuRowCount = 7;
inline HiddenMenuRow g_HiddenMenuTable[kHiddenMenuRowCount] = {
    {L"ファイラーモード",
     100,
     8,
     {L"ファイル操作(&F)", L"ドライブ変更(&C)", L"特殊操作(&S)", L"プラグイン(&I)", L"表示設定(&V)",
      L"各種設定(&D)", L"マルチメディア(&P)", L"ヘルプ(&H)"},
     {}},
    {L"ネットワークモード",
     1442,
     8,
     {L"操作(&O)", L"ドライブ変更(&C)", L"特殊操作(&S)", L"プラグイン(&I)", L"表示設定(&V)", L"各種設定(&D)",
      L"マルチメディア(&P)", L"ヘルプ(&H)"},
     {}},
    {L"ドライブリストモード",
     1435,
     8,
     {L"操作(&O)", L"ドライブ変更(&C)", L"特殊操作(&S)", L"プラグイン(&I)", L"表示設定(&V)", L"各種設定(&D)",
      L"マルチメディア(&P)", L"ヘルプ(&H)"},
     {}},
    {L"圧縮ファイルの閲覧モード",
     1430,
     7,
     {L"ファイル操作(&F)", L"ドライブ変更(&C)", L"特殊操作(&S)", L"表示設定(&V)", L"各種設定(&D)",
      L"マルチメディア(&P)", L"ヘルプ(&H)"},
     {}},
    {L"ファイル閲覧モード",
     1447,
     7,
     {L"操作(&O)", L"文字列の検索(&C)", L"特殊操作(&S)", L"表示設定(&V)", L"各種設定(&D)",
      L"マルチメディア(&P)", L"ヘルプ(&H)"},
     {}},
    {L"バイナリエディットモード",
     1432,
     9,
     {L"操作(&O)", L"行数移動(&L)", L"検索(&C)", L"データ操作(&M)", L"特殊操作(&S)", L"表示設定(&V)",
      L"各種設定(&D)", L"マルチメディア(&P)", L"ヘルプ(&H)"},
     {}},
    {L"画像の閲覧モード",
     1439,
     8,
     {L"操作(&O)", L"次の画像へ(&N)", L"画像の保存(&B)", L"特殊操作(&S)", L"表示設定(&V)", L"各種設定(&D)",
      L"マルチメディア(&P)", L"ヘルプ(&H)"},
     {}},
};

// A dialog that may open as a window of its own rather than as the view's child.
struct OtherWindowDialogRow
{
    const wchar_t* className; // also its key in the settings file
    const wchar_t* label;     // null: kept in the file but not offered on the settings page
    int flag;
};
inline OtherWindowDialogRow g_OtherWindowDialogs[3] = {
    {L"CGraphicListDlg", L"画像ファイル一覧", 0},
    {L"CFindFileDlg", L"ファイル検索", 0},
    {L"DIR_HISTORY_DIALOG", nullptr, 0},
};

// ---- Sections ----------------------------------------------------------------------
// Each Load takes the file's values (defaults for what is missing), each Save writes
// the section into a file opened with CIniFile::Create, each Reset puts the records
// back to the values they are declared with.

class CIniFile;

void LoadSectionKindExe(CIniFile& ini); // "KINDEXEDATA", then "KINDEXEDATASHIFT"
void SaveSectionKindExe(CIniFile& ini);
void ResetSectionKindExe();
void LoadSectionExeHistory(CIniFile& ini); // "EXEHISTORY"
void SaveSectionExeHistory(CIniFile& ini);
void ResetSectionExeHistory();
// "LANCHER" into the view's four parallel lists.
void LoadSectionLancher(CIniFile& ini, CStringArray& exe, CStringArray& par, CStringArray& key,
                        CStringArray& exeDir);
void SaveSectionLancher(CIniFile& ini, const CStringArray& exe, const CStringArray& par,
                        const CStringArray& key, const CStringArray& exeDir);
void LoadSectionNotViewMenu(CIniFile& ini); // "NOTVIEWMENU"
void SaveSectionNotViewMenu(CIniFile& ini);
void ResetSectionNotViewMenu();
void LoadSectionDialogOtherWindow(CIniFile& ini); // "DIALOG_OTHER_WINDOW"
void SaveSectionDialogOtherWindow(CIniFile& ini);
void ResetSectionDialogOtherWindow();
void LoadSectionExecute(CIniFile& ini); // "EXECUTE"
void SaveSectionExecute(CIniFile& ini);
void ResetSectionExecute();
