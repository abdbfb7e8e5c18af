// The %-macros of external command lines: the marked files or the cursor entry of a
// pane, the pane folders, the program folder and formatted times. The panes live in a
// library above this one; they are reached through g_MacroPaneAccess, which the view
// installs.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// One entry a macro can insert.
struct MacroEntry
{
    // The folder the entry is listed in (no trailing backslash); may be empty.
    CString folder;
    CString name;
    BOOL isFolder = FALSE;
};

// What the expander needs of a pane.
struct MacroPaneAccess
{
    // The n-th target entry of the pane (the marked entries, else the cursor entry;
    // with cursorOnly the cursor entry alone), never "." or ".."; FALSE when none.
    BOOL (*getTarget)(int pane, int n, BOOL cursorOnly, MacroEntry& out);
    // Position word, mode word, sub-mode and current folder of the pane; FALSE when
    // the pane does not exist.
    BOOL (*getState)(int pane, UINT& position, UINT& mode, int& subMode, CString& currentDir);
};

// Without an installed access every pane is missing.
extern MacroPaneAccess g_MacroPaneAccess;

// Results of ExpandCommandMacros.
enum
{
    MACRO_EMPTY_TEMPLATE = 0,
    MACRO_DONE = 1,
    MACRO_SKIP_ENTRY = 2,
    MACRO_ENTRY_EXPANDED = 3,
    MACRO_FAILED = -1,
};

// Expands the template into `out` for pane `pane`. fileIndex -1 is the whole-list
// pass (MACRO_DONE or MACRO_FAILED); 0, 1, 2 … a per-file pass for that entry
// (MACRO_ENTRY_EXPANDED, MACRO_SKIP_ENTRY for a folder the macro does not take, or
// MACRO_FAILED when there is no such entry or no per-file macro). An empty
// `baseFolder` is set to the pane's current folder. With cursorAsFile "%c" is a
// per-file macro. An empty template gives MACRO_EMPTY_TEMPLATE, `out` untouched.
int ExpandCommandMacros(LPCWSTR templ, CString& out, int fileIndex, int pane, CString& baseFolder,
                        int cursorAsFile);

// The name without its extension; folders and names whose only dot leads keep it whole.
void GetMacroBaseName(LPCWSTR name, BOOL isFolder, CString& out);

// ShellExecuteW with one pair of enclosing double quotes taken off the file.
HINSTANCE ShellExecuteUnquoted(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                               INT show);
