#include "app/PlugInCommands.h"

#include "app/settings/ToolSettings.h"
#include "util/Log.h"

#include <wchar.h>

int FindPlugInByReference(LPCWSTR command, INT_PTR* index)
{
    if (command == nullptr || command[0] != L'#')
        return 0;
    CString text(command);
    const int comma = text.Find(L',');
    if (comma < 0)
        return 0;
    const CString key = text.Left(comma);
    const CString file = text.Mid(comma + 1);
    for (INT_PTR i = 0; i < g_PlugInList.GetSize(); ++i)
    {
        const CQvPlugIn& plugIn = g_PlugInList[i];
        if (plugIn.m_fileName.CompareNoCase(file) == 0 && plugIn.m_keyString == key)
        {
            if (index != nullptr)
                *index = i;
            return 1;
        }
    }
    return 0;
}

int IsOwnPlugInReference(LPCWSTR text)
{
    return text != nullptr && text[0] == L'#' && wcschr(text, L',') != nullptr ? 1 : 0;
}

int RefuseOwnPlugInReference(LPCWSTR text)
{
    if (!IsOwnPlugInReference(text))
        return 0;
    WriteLog(nullptr, L"プラグイン参照 %s は実行しません", text);
    return 1;
}

int GetPlugInReference(INT_PTR index, CString& reference)
{
    reference.Empty();
    if (index < 0 || index >= g_PlugInList.GetSize())
        return 0;
    const CQvPlugIn& plugIn = g_PlugInList[index];
    reference.Format(L"%s,%s", static_cast<LPCWSTR>(plugIn.m_keyString),
                     static_cast<LPCWSTR>(plugIn.m_fileName));
    return 1;
}

int GetPlugInCommandText(INT_PTR index, CString& text, int* showInMenu)
{
    text.Empty();
    if (index < 0 || index >= g_PlugInList.GetSize())
        return 0;
    const CQvPlugIn& plugIn = g_PlugInList[index];
    text.Format(L"%s,%s", static_cast<LPCWSTR>(plugIn.m_functionName),
                static_cast<LPCWSTR>(plugIn.m_fileName));
    if (showInMenu != nullptr)
        *showInMenu = plugIn.m_showInMenu;
    return 1;
}

void GetCplCommandText(INT_PTR index, CString& command)
{
    command.Empty();
    if (index < 0 || index >= g_CplList.GetSize())
        return;
    const CCplEntry& applet = g_CplList[index];
    if (applet.m_appendName)
        command.Format(L"@Defaultcpl %s %s", static_cast<LPCWSTR>(applet.m_file),
                       static_cast<LPCWSTR>(applet.m_name));
    else
        command.Format(L"@Defaultcpl %s", static_cast<LPCWSTR>(applet.m_file));
}
