// The command vocabulary: one fixed table per pane family and one of the keywords
// that work in every mode, each row tying a keyword to its display name, the menu
// command that runs the same operation, and the category the binding dialogs list it
// under. The dispatchers of the view keep their own lists; the two name the same
// keywords.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

struct CommandTableRow
{
    wchar_t keyword[50];
    // Numbered rows whose text follows a setting are renamed at run time: read the
    // name through GetCommandDisplayName.
    wchar_t displayName[60];
    // WM_COMMAND id of the menu item of the same operation; 0 when there is none.
    int menuId;
    int category;
    // Filer rows only: the file-kind action chooser offers the keyword.
    int fileAction;
    // Common rows only: the common key configuration lists the row.
    int common;
};

enum CommandFamily
{
    COMMAND_FAMILY_FILER = 0,
    COMMAND_FAMILY_VIEWER,
    COMMAND_FAMILY_GRAPHIC,
    COMMAND_FAMILY_BINARY,
    COMMAND_FAMILY_COMMON,
    COMMAND_FAMILY_COUNT,
};

// The tables and their row counts. Each count is taken from its table where the table
// is defined, so a row added to a table needs no count raised by hand.
extern const CommandTableRow g_FilerCommandTable[];
extern const CommandTableRow g_ViewerCommandTable[];
extern const CommandTableRow g_GraphicCommandTable[];
extern const CommandTableRow g_BinaryCommandTable[];
extern const CommandTableRow g_CommonCommandTable[];
extern const int FILER_COMMAND_COUNT;
extern const int VIEWER_COMMAND_COUNT;
extern const int GRAPHIC_COMMAND_COUNT;
extern const int BINARY_COMMAND_COUNT;
extern const int COMMON_COMMAND_COUNT;

// The table of a family and its row count; null and 0 for an unknown family.
const CommandTableRow* GetCommandTable(int family, int* count);

// The first row of the family's table whose menu id equals menuId (0 never matches).
const CommandTableRow* FindCommandRowByMenuId(int family, UINT menuId);
// The same over any rows.
const CommandTableRow* FindCommandRowByMenuId(const CommandTableRow* rows, int count, UINT menuId);

// The first row whose keyword equals the text in any letter case, as the binding
// dialogs search.
const CommandTableRow* FindCommandRowByKeyword(int family, LPCWSTR keyword);

// The name the user sees: the characters-per-line rows are named after the widths
// read, the new-file, display-set and SCSI rows after their run-time entries; every
// other row (and a numbered row whose entry gives no text) by its fixed name.
CString GetCommandDisplayName(const CommandTableRow& row);
