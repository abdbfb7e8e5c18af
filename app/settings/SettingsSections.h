// The settings file as one table: every section (or part of a section that the reader
// takes at a step of its own) is a row with its name, its read, its write and its
// reset to defaults. Two arrays give the orders: the reader's steps, where later
// sections depend on earlier ones (the display fonts on the font name), and the
// writer's fixed section order. Adding a section means adding a row and placing it in
// both orders.
//
// Records that belong to objects above this layer reach it through a lender
// (SettingsViewData, for the one read or write it is passed to) or a hook
// (g_SettingsHooks, installed at start-up): nothing here includes a higher library.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CIniFile;

enum SettingsSectionId
{
    SECTION_ALLDATA,         // the integers (read at start-up) and the fourteen strings
    SECTION_ALLDATA_STRINGS, // the reader's second part of "ALLDATA": after "DISPLAYFONT"
    SECTION_ALLDATA2,
    SECTION_SIZE_INFO,
    SECTION_FILERINFODATA,
    SECTION_SPECIALCOPYTO,
    SECTION_WILDCARD,
    SECTION_SCSICOMMAND,
    SECTION_ZOOMDATA,
    SECTION_DEBUGDATA,
    SECTION_UNPACKDATA,
    SECTION_PACKDATA,
    SECTION_COLORDATA,       // the named and byte colours, and the writer's whole section
    SECTION_COLORDATA_KINDS, // the reader's second part: the file-kind colours
    SECTION_DISPLAYFONT,
    SECTION_KINDEXEDATA, // with "KINDEXEDATASHIFT"
    SECTION_VIEWERSETTING,
    SECTION_VIEWER_SEARCH_STRING,
    SECTION_JUMPDATA,
    SECTION_SELECTDIR,
    SECTION_FILERBMP,
    SECTION_SOUNDLIST,
    SECTION_RENAMEHISTORY,
    SECTION_EXEHISTORY,
    SECTION_LANCHER,
    SECTION_KEY_BINDINGS, // the six key sections
    SECTION_SUSIEDATA,
    SECTION_LOAD_PREVIEW,
    SECTION_WAV,
    SECTION_SOUND,
    SECTION_DISPLAYMODE,
    SECTION_FILERUSERMENU,
    SECTION_NOTVIEWMENU,
    SECTION_VIRTUALDRIVE,
    SECTION_PLUGINDATA,
    SECTION_NETWORK,
    SECTION_SAVECURPOS,
    SECTION_MAKENEWFILE,
    SECTION_NONLOADCPL,
    SECTION_RELOAD_SETTING,
    SECTION_ORDER_LIST_DIR_JUMP,
    SECTION_TIME_MACRO,
    SECTION_DIR_HISTORY,
    SECTION_FIND_FILE_DLG_INF,
    SECTION_DISP_FILE_SETTING,
    SECTION_MOUSE_OPE_GRAPHIC,
    SECTION_ALPHA_CHANNEL_PROCESS,
    SECTION_VIEW_HISTORY,
    SECTION_DIALOG_OTHER_WINDOW,
    SECTION_EXECUTE,
    SECTION_SAVE_BMP,
    SETTINGS_SECTION_COUNT
};

// One row. A null load is a row the reader does not take (the integer tables, read at
// start-up), a null save a part the writer writes with another row, a null reset a
// row whose records another row resets or that keeps no records of its own.
struct SettingsSectionRow
{
    const wchar_t* name; // the section as it stands in the file (of a group, the first)
    void (*load)(CIniFile& ini);
    void (*save)(CIniFile& ini);
    void (*reset)();
};

extern const SettingsSectionRow g_SettingsSections[SETTINGS_SECTION_COUNT];
extern const SettingsSectionId g_SettingsReadOrder[];
extern const int g_SettingsReadOrderCount;
extern const SettingsSectionId g_SettingsWriteOrder[];
extern const int g_SettingsWriteOrderCount;

// What the main view lends the layer for one read or write: its temporary folder
// (section "SUSIEDATA") and its four launcher lists (section "LANCHER"). A null member
// reads into and writes from an empty stand-in.
struct SettingsViewData
{
    CString* tempDirectory = nullptr;
    CStringArray* launcherExe = nullptr;
    CStringArray* launcherPar = nullptr;
    CStringArray* launcherKey = nullptr;
    CStringArray* launcherExeDir = nullptr;
};

// Work of libraries above this layer that rows run. A null entry is skipped.
struct SettingsHooks
{
    // The merging image plug-in folder scan after "SUSIEDATA" was read (installed by
    // the program).
    int (*scanImagePlugIns)(BOOL merge) = nullptr;
    // "DIR_HISTORY" into and from the filer's directory history (installed by the
    // program).
    void (*loadDirHistory)(CIniFile& ini) = nullptr;
    void (*saveDirHistory)(CIniFile& ini) = nullptr;
};
extern SettingsHooks g_SettingsHooks;

// Every row of the read order.
void LoadSettingsSections(CIniFile& ini, const SettingsViewData& view);
// Every row of the write order into a file opened with CIniFile::Create.
void SaveSettingsSections(CIniFile& ini, const SettingsViewData& view);
// Every row's records back to their defaults; the integer tables are not rows' records
// (ReadIntSettings with an empty file gives them theirs).
void ResetSettingsSections();
