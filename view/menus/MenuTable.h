// The one table of the view's menu ids: each row tells what choosing an item does and
// how its enabled state, check mark and text are found. An id whose command is a
// keyword has no row of its own unless its state needs one: the menu-id column of the
// command tables (app/keys/CommandTables.cpp) ties it to that keyword.
#pragma once
#include <windows.h>

#include <cstddef>

#include "framework/FwString.h"

class CCmdUI;
class CQvView;
struct CommandEntry;

// Runs the chosen item. FALSE leaves the item to the keyword the command tables tie
// to its id.
typedef BOOL (*MenuRun)(CQvView& view, UINT id);
// Sets the item's enabled state, check mark and text; `text` receives a text it sets,
// which the key text then follows. FALSE: the row does not answer for the item now.
typedef BOOL (*MenuState)(CQvView& view, CCmdUI& ui, UINT id, CString& text);

struct MenuRow
{
    UINT first;
    // The last id of a range; first for a single item.
    UINT last;
    // Null: the keyword of the command-table row that carries the id.
    MenuRun run;
    // Null: always enabled.
    MenuState state;
    // The range's items are made at run time, not written in a menu resource.
    bool filledAtRunTime;
};

// The rows of the table, in their order.
const MenuRow* GetMenuRows(size_t* count);
// The row that serves the id: its own row, else for an id that the command tables
// carry the plain row of a keyword (runs the keyword, always enabled); null for an id
// nothing serves.
const MenuRow* FindMenuRow(UINT id);

// What a menu id runs through the command tables: the entry and the keyword of the
// row that carries the id.
struct MenuCommandRoute
{
    const CommandEntry* entry;
    LPCWSTR keyword;
};

// The route of an id through the command tables: the table of activeFamily first,
// then the filer, viewer, graphic, binary and common tables; within a table the
// first row with the id wins. FALSE when no row carries the id or its keyword runs
// nothing. route may be null.
BOOL FindMenuCommandRoute(int activeFamily, UINT id, MenuCommandRoute* route);
// Runs the keyword that the command tables tie to the id, for the active pane's mode;
// FALSE when there is none.
BOOL RunMenuIdKeyword(CQvView& view, UINT id);
