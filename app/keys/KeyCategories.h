// The command categories that the key-binding dialogs offer per mode, in display
// order, and the choices of the input-method control.
#pragma once
#include <windows.h>

struct CommandCategoryRow
{
    int category;
    wchar_t name[40];
};

// Category values with a special meaning in the binding dialogs.
enum
{
    KEY_CATEGORY_CONTROL_PANEL = 8, // followed by the control-panel applets
    KEY_CATEGORY_PLUG_IN = 10,      // the own plug-ins; no command rows
    KEY_CATEGORY_PROGRAM = 14,      // programs run by the binding; no command rows
};

enum
{
    FILER_CATEGORY_COUNT = 12,
    VIEWER_CATEGORY_COUNT = 6,
    GRAPHIC_CATEGORY_COUNT = 6,
    BINARY_CATEGORY_COUNT = 9,
    COMMON_CATEGORY_COUNT = 4,
    IME_CONTROL_CHOICE_COUNT = 3,
};

extern const CommandCategoryRow g_FilerCategories[FILER_CATEGORY_COUNT]; // filer and archive listing
extern const CommandCategoryRow g_ViewerCategories[VIEWER_CATEGORY_COUNT];
extern const CommandCategoryRow g_GraphicCategories[GRAPHIC_CATEGORY_COUNT];
extern const CommandCategoryRow g_BinaryCategories[BINARY_CATEGORY_COUNT];
extern const CommandCategoryRow g_CommonCategories[COMMON_CATEGORY_COUNT];

// Indexed by the stored IME control value: 0 "なし", 1 "オフ", 2 "オン".
extern const LPCWSTR g_ImeControlChoices[IME_CONTROL_CHOICE_COUNT];
