#include "app/keys/KeyCategories.h"

const CommandCategoryRow g_FilerCategories[FILER_CATEGORY_COUNT] = {
    {0, L"ファイル操作"},
    {1, L"疑似Windowsファイル操作"},
    {2, L"ファイル選択"},
    {3, L"ドライブ変更"},
    {4, L"特殊操作"},
    {5, L"表示設定"},
    {6, L"設定"},
    {7, L"カーソル"},
    {KEY_CATEGORY_CONTROL_PANEL, L"コントロールパネル"},
    {9, L"マルチメディア"},
    {KEY_CATEGORY_PLUG_IN, L"プラグイン"},
    {KEY_CATEGORY_PROGRAM, L"その他(ファイル実行など)"},
};

const CommandCategoryRow g_ViewerCategories[VIEWER_CATEGORY_COUNT] = {
    {11, L"標準操作"},
    {4, L"特殊操作"},
    {5, L"表示設定"},
    {6, L"設定"},
    {KEY_CATEGORY_CONTROL_PANEL, L"コントロールパネル"},
    {9, L"マルチメディア"},
};

const CommandCategoryRow g_GraphicCategories[GRAPHIC_CATEGORY_COUNT] = {
    {11, L"標準操作"},
    {4, L"特殊操作"},
    {5, L"表示設定"},
    {6, L"設定"},
    {KEY_CATEGORY_CONTROL_PANEL, L"コントロールパネル"},
    {9, L"マルチメディア"},
};

const CommandCategoryRow g_BinaryCategories[BINARY_CATEGORY_COUNT] = {
    {11, L"標準操作"},      {7, L"カーソル操作"},
    {12, L"検索"},          {13, L"データ操作"},
    {4, L"特殊操作"},       {5, L"表示設定"},
    {6, L"設定"},           {KEY_CATEGORY_CONTROL_PANEL, L"コントロールパネル"},
    {9, L"マルチメディア"},
};

const CommandCategoryRow g_CommonCategories[COMMON_CATEGORY_COUNT] = {
    {4, L"特殊操作"},
    {5, L"表示設定"},
    {KEY_CATEGORY_CONTROL_PANEL, L"コントロールパネル"},
    {9, L"マルチメディア"},
};

const LPCWSTR g_ImeControlChoices[IME_CONTROL_CHOICE_COUNT] = {L"なし", L"オフ", L"オン"};
