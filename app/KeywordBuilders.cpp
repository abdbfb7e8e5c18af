#include "app/KeywordBuilders.h"

CString g_LineWidthCommandNames[LINE_WIDTH_COMMAND_COUNT];

void SetLineWidthCommandNames(const int (&lineWidths)[LINE_WIDTH_COMMAND_COUNT])
{
    for (int i = 0; i < LINE_WIDTH_COMMAND_COUNT; ++i)
        g_LineWidthCommandNames[i].Format(L"１行の文字数を%d文字に設定", lineWidths[i]);
}

LPCWSTR GetLineWidthCommandName(UINT menuId)
{
    if (menuId < LINE_WIDTH_FIRST_MENU_ID || menuId >= LINE_WIDTH_FIRST_MENU_ID + LINE_WIDTH_COMMAND_COUNT)
        return nullptr;
    return g_LineWidthCommandNames[menuId - LINE_WIDTH_FIRST_MENU_ID];
}

int GetScsiCommandText(LPCWSTR /*keyword*/, CString& out)
{
    out.Empty();
    return 0;
}
