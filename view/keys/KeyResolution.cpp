// From a key to a command keyword: the common bindings first, then those of the active
// pane's mode; and back from a menu command to its keyword and key.
#include "util/Formatting.h"
#include "app/keys/CommandTables.h"
#include "app/PlugInCommands.h"
#include "app/keys/KeyBindings.h"
#include "app/settings/ToolSettings.h"
#include "filer/FilerPane.h"
#include "res/MenuIds.h"
#include "view/QvView.h"
#include "view/keys/HotKeys.h"

#include <imm.h>
#include <string.h>

namespace
{

constexpr UINT kFilerSetModes = PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_NETWORK;
constexpr UINT kFilerLikeModes = kFilerSetModes | PANE_MODE_ARCHIVE;
constexpr UINT kListingModes = kFilerLikeModes | PANE_MODE_RESERVED_LIST;

int FindKeyRow(UINT vk)
{
    for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
        if (g_KeyTable[row].virtualKey == vk)
            return row;
    return -1;
}

// The binding of the active mode's set; for an archive listing "@SameAsFiler" gives
// the filer binding. Null for a mode without a set.
const CKeyCmdEntry* ModeBinding(UINT mode, int modifier, int row)
{
    if ((mode & kFilerSetModes) != 0)
        return &g_FilerKeyCmds.GetBinding(modifier, row);
    if ((mode & PANE_MODE_ARCHIVE) != 0)
    {
        const CKeyCmdEntry& own = g_ArcInfoKeyCmds.GetBinding(modifier, row);
        return IsSameAsFilerBinding(own.command) ? &g_FilerKeyCmds.GetBinding(modifier, row) : &own;
    }
    if ((mode & PANE_MODES_TEXT_VIEWERS) != 0)
        return &g_ViewerKeyCmds.GetBinding(modifier, row);
    if ((mode & PANE_MODE_BINARY) != 0)
        return &g_BinaryKeyCmds.GetBinding(modifier, row);
    if ((mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
        return &g_GraphicKeyCmds.GetBinding(modifier, row);
    return nullptr;
}

UINT ActiveMode()
{
    for (CFilerPane* pane : g_Panes)
        if (pane != nullptr && (pane->m_position & PANE_POS_ACTIVE) != 0)
            return pane->m_mode;
    return 0;
}

} // namespace

const CKeyCmdEntry* FindKeyBinding(UINT vk, int modifier)
{
    if (modifier < 0 || modifier >= KEY_MODIFIER_COUNT)
        return nullptr;
    int row = FindKeyRow(vk);
    if (row < 0)
        return nullptr;
    const CKeyCmdEntry& common = g_CommonKeyCmds.GetBinding(modifier, row);
    if (!common.command.IsEmpty())
        return &common;
    return ModeBinding(ActiveMode(), modifier, row);
}

int CQvView::ExecuteKeyCommand(UINT vk, int modifier)
{
    if (modifier >= KEY_MODIFIER_COUNT)
        return 1;
    if (modifier < 0)
        return 0;
    int row = FindKeyRow(vk);
    if (row < 0)
        return 0;
    const CKeyCmdEntry& common = g_CommonKeyCmds.GetBinding(modifier, row);
    if (!common.command.IsEmpty())
    {
        ApplyImeControl(common.imeControl);
        DispatchCommandKeyword(common.command, modifier, vk);
        return 1;
    }
    UINT mode = ActiveMode();
    const CKeyCmdEntry* binding = ModeBinding(mode, modifier, row);
    if (binding == nullptr)
        return 1;
    if (binding->command.IsEmpty())
        return 0;
    // Only the filer and archive sets carry an input-method choice; the viewers' cells
    // are never applied.
    if ((mode & kFilerLikeModes) != 0)
        ApplyImeControl(binding->imeControl);
    // Copied: the command may change the bindings (the key configuration).
    CString keyword = binding->command;
    return DispatchCommandKeyword(keyword, modifier, vk);
}

int CQvView::DispatchCommandKeyword(LPCWSTR keyword, int /*modifier*/, UINT /*vk*/)
{
    if (keyword == nullptr || keyword[0] == 0)
        return 0;
    CString text(keyword);
    UINT mode = ActiveMode();
    if ((mode & kFilerLikeModes) != 0)
    {
        if (!ExecuteFilerCommand(text))
            ExecuteBoundProgram(text);
    }
    else if ((mode & PANE_MODES_TEXT_VIEWERS) != 0)
        ExecuteViewerCommand(text);
    else if ((mode & PANE_MODE_BINARY) != 0)
        ExecuteBinaryCommand(text);
    else if ((mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
        ExecuteGraphicCommand(text);
    return 1;
}

void CQvView::ApplyImeControl(int value)
{
    m_keys.lastImeControl = value;
    if ((value != 1 && value != 2) || m_hWnd == nullptr)
        return;
    HIMC context = ImmGetContext(m_hWnd);
    if (context == nullptr)
        return;
    BOOL open = value == 2;
    if (ImmGetOpenStatus(context) != open)
        ImmSetOpenStatus(context, open);
    ImmReleaseContext(m_hWnd, context);
}

int CQvView::GetKeywordOfMenuId(UINT menuId, CString& keyword)
{
    keyword.Empty();
    if (menuId >= ID_MENU_PLUGIN_FIRST && menuId <= ID_MENU_PLUGIN_LAST)
    {
        return GetPlugInReference(menuId - ID_MENU_PLUGIN_FIRST, keyword);
    }
    if (menuId >= ID_MENU_CPL_FIRST && menuId <= ID_MENU_CPL_LAST)
    {
        GetCplCommandText(menuId - ID_MENU_CPL_FIRST, keyword);
        return keyword.IsEmpty() ? 0 : 1;
    }
    if (GetDeviceMenuKeyword(menuId, keyword))
        return 1;
    UINT mode = ActiveMode();
    int family = -1;
    if ((mode & kListingModes) != 0)
        family = COMMAND_FAMILY_FILER;
    else if ((mode & PANE_MODES_TEXT_VIEWERS) != 0)
        family = COMMAND_FAMILY_VIEWER;
    else if ((mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
        family = COMMAND_FAMILY_GRAPHIC;
    else if ((mode & PANE_MODE_BINARY) != 0)
        family = COMMAND_FAMILY_BINARY;
    const CommandTableRow* row = FindCommandRowByMenuId(family, menuId);
    if (row == nullptr)
        return 0;
    keyword = row->keyword;
    return 1;
}

int CQvView::GetKeyNameOfKeyword(LPCWSTR keyword, CString& keyText)
{
    keyText.Empty();
    if (keyword == nullptr || keyword[0] == 0)
        return 0;
    static const LPCWSTR kFormats[KEY_MODIFIER_COUNT] = {L"%s", L"Shift+%s", L"Ctrl+%s", L"Alt+%s"};
    UINT mode = ActiveMode();
    for (int modifier = 0; modifier < KEY_MODIFIER_COUNT; ++modifier)
    {
        for (int row = 0; row < KEY_TABLE_ROW_COUNT; ++row)
        {
            bool match = _wcsicmp(g_CommonKeyCmds.GetBinding(modifier, row).command, keyword) == 0;
            if (!match)
            {
                const CKeyCmdEntry* binding = ModeBinding(mode, modifier, row);
                match = binding != nullptr && _wcsicmp(binding->command, keyword) == 0;
            }
            if (match)
            {
                keyText.Format(kFormats[modifier], g_KeyTable[row].keyName);
                return 1;
            }
        }
    }
    return 0;
}
