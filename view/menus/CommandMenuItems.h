// The menu items of the commands: the ids the command tables carry and the few
// items without a table row.
#pragma once
#include <windows.h>

class CQvView;
struct CommandEntry;

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

// TRUE for a menu item that runs a command (a table route or an item of its own).
BOOL IsCommandMenuItem(UINT id);
// Runs the item's command for the active pane's mode; FALSE when it has none.
BOOL RunCommandMenuItem(CQvView& view, UINT id);
