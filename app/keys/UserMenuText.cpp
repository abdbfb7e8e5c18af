#include "app/keys/UserMenuText.h"

#include "util/Formatting.h"
#include "app/PlugInCommands.h"
#include "app/keys/CommandTables.h"

#include <string.h>

const CommandCategoryRow g_CommandCategoryTable[COMMAND_CATEGORY_COUNT] = {
    {0, L"ファイル操作"},
    {1, L"疑似Windowsファイル操作"},
    {2, L"ファイル選択"},
    {3, L"ドライブ変更"},
    {4, L"特殊操作"},
    {5, L"表示設定"},
    {6, L"設定"},
    {7, L"カーソル"},
    {8, L"コントロールパネル"},
    {9, L"マルチメディア"},
    {10, L"プラグイン"},
    {14, L"その他(ファイル実行など)"},
};

namespace
{

const CommandTableRow* FindFilerRow(LPCWSTR keyword)
{
    for (int i = 0; i < FILER_COMMAND_COUNT; ++i)
        if (wcscmp(g_FilerCommandTable[i].keyword, keyword) == 0)
            return &g_FilerCommandTable[i];
    return nullptr;
}

CString UpToFirstComma(const CString& text)
{
    const int comma = text.Find(L',');
    return comma < 0 ? text : text.Left(comma);
}

} // namespace

int GetUserMenuItemText(LPCWSTR command, LPCWSTR display, int number, CString& label)
{
    const CString text(command != nullptr ? command : L"");
    if (text.IsEmpty())
    {
        label.Format(L"メニュー%d", number);
        return 0;
    }
    INT_PTR plugIn = -1;
    if (FindPlugInByReference(text, &plugIn))
    {
        GetPlugInCommandText(plugIn, label);
        return 1;
    }
    if (display != nullptr && display[0] != 0)
    {
        label = display;
        return 1;
    }
    label = UpToFirstComma(text);
    CString keyword, parameter;
    SplitAtFirstBlank(text, keyword, parameter);
    // The three keywords with a parameter name what they act on, whichever table
    // carries them.
    if (keyword == L"@Keyjumpdir")
        label.Format(L"%sへ移動", static_cast<LPCWSTR>(parameter));
    else if (keyword == L"@SetAudioPlayback")
        label.Format(L"出力デバイス:%s", static_cast<LPCWSTR>(parameter));
    else if (keyword == L"@SetAudioCapture")
        label.Format(L"入力デバイス:%s", static_cast<LPCWSTR>(parameter));
    else if (const CommandTableRow* row = FindFilerRow(keyword))
        label = GetCommandDisplayName(*row);
    else if (keyword == L"@Defaultcpl")
    {
        for (INT_PTR i = 0; i < g_CplList.GetSize(); ++i)
        {
            CString applet;
            GetCplCommandText(i, applet);
            if (applet.Mid(12).CompareNoCase(parameter) == 0)
            {
                label = g_CplList[i].m_name;
                break;
            }
        }
    }
    else if (keyword == L"@Defaultexe")
    {
        label.Format(L"%s(デフォルト実行)", static_cast<LPCWSTR>(UpToFirstComma(text.Mid(12))));
    }
    return 1;
}
