// The bindable keys: one fixed row per key, in the order that every binding array
// and the key lists of the dialogs use, with the default binding texts per pane mode.
#pragma once
#include <windows.h>

enum
{
    KEY_TABLE_ROW_COUNT = 89,
    KEY_MODIFIER_COUNT = 4, // modifier index: 0 none, 1 Shift, 2 Ctrl, 3 Alt
};

struct KeyTableRow
{
    UINT32 virtualKey;
    // Shown to the user and used as the suffix of the ini keys ("N_" + name …).
    wchar_t keyName[10];
    // Default texts by modifier index; an empty text means unbound.
    wchar_t filerDefaults[KEY_MODIFIER_COUNT][20];
    wchar_t viewerDefaults[KEY_MODIFIER_COUNT][20];
    wchar_t graphicDefaults[KEY_MODIFIER_COUNT][15];
    wchar_t binaryDefaults[KEY_MODIFIER_COUNT][20];
};

extern const KeyTableRow g_KeyTable[KEY_TABLE_ROW_COUNT];

// The row of the key `virtualKey`, null for a key the table does not hold.
const KeyTableRow* FindKeyTableRow(UINT virtualKey);
