// The menu items of the commands: an id that a command-table row carries runs the
// dispatcher entry of that row's keyword, so that a menu choice and a key do the same;
// the few items without such a row name their handler here.
#include "view/menus/CommandMenuItems.h"

#include "app/Directories.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/keys/CommandTables.h"
#include "filer/FilerPane.h"
#include "res/MenuIds.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"

#include <shellapi.h>

namespace
{
// The menu items of commands whose command-table row carries no menu id: each runs
// the dispatcher entry of its keyword, or a handler of its own when no keyword names
// its command.
struct MenuCommandRow
{
    UINT id;
    int list;
    LPCWSTR keyword;
    CommandHandler handler;
};

const MenuCommandRow kRows[] = {
    {555, 0, nullptr, &CQvView::OpenHelpFile},
    {1064, 0, nullptr, &CQvView::OnViewerSettings},
    {605, 0, nullptr, &CQvView::OnViewerKindSettings},
    {3020, 0, nullptr, &CQvView::OnCommonKeySettings},
    {638, 0, nullptr, &CQvView::ImportKeyData},
    {329, 0, nullptr, &CQvView::OnGraphicSettings},
    {522, 0, nullptr, &CQvView::OnDisplayFont},
    {ID_MENU_NETWORK_COMPUTERS, DISPATCH_FILER, L"@Tonetwork", nullptr},
    {ID_MENU_WHOLE_NETWORK, DISPATCH_FILER, L"@Toallnetwork", nullptr},
};

const MenuCommandRow* FindRow(UINT id)
{
    for (const MenuCommandRow& row : kRows)
        if (row.id == id)
            return &row;
    return nullptr;
}

// The dispatcher list that runs the keywords of a command table.
int ListOfFamily(int family)
{
    switch (family)
    {
    case COMMAND_FAMILY_FILER:
        return DISPATCH_FILER;
    case COMMAND_FAMILY_VIEWER:
        return DISPATCH_VIEWER;
    case COMMAND_FAMILY_GRAPHIC:
        return DISPATCH_GRAPHIC;
    case COMMAND_FAMILY_BINARY:
        return DISPATCH_BINARY;
    default:
        return DISPATCH_COMMON;
    }
}

// The command table of the active pane's mode; the filer's while no pane is active.
int ActiveCommandFamily()
{
    UINT mode = 0;
    for (CFilerPane* pane : g_Panes)
        if (pane != nullptr && (pane->m_position & PANE_POS_ACTIVE) != 0)
        {
            mode = pane->m_mode;
            break;
        }
    if ((mode & PANE_MODES_TEXT_VIEWERS) != 0)
        return COMMAND_FAMILY_VIEWER;
    if ((mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
        return COMMAND_FAMILY_GRAPHIC;
    if ((mode & PANE_MODE_BINARY) != 0)
        return COMMAND_FAMILY_BINARY;
    return COMMAND_FAMILY_FILER;
}
} // namespace

BOOL FindMenuCommandRoute(int activeFamily, UINT id, MenuCommandRoute* route)
{
    const int order[] = {activeFamily,           COMMAND_FAMILY_FILER,  COMMAND_FAMILY_VIEWER,
                         COMMAND_FAMILY_GRAPHIC, COMMAND_FAMILY_BINARY, COMMAND_FAMILY_COMMON};
    for (int family : order)
    {
        const CommandTableRow* row = FindCommandRowByMenuId(family, id);
        if (row == nullptr)
            continue;
        int reached = 0;
        const CommandEntry* entry = ResolveDispatcherEntry(ListOfFamily(family), row->keyword, &reached);
        if (entry == nullptr)
            continue;
        if (route != nullptr)
        {
            route->entry = entry;
            route->keyword = row->keyword;
        }
        return TRUE;
    }
    return FALSE;
}

void CQvView::OpenHelpFile()
{
    CString folder;
    GetProgramDir(folder);
    SetCurrentDir(folder);
    const HINSTANCE result = ShellExecuteW(m_hWnd, nullptr, L"QV.CHM", nullptr, folder, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) < 32)
        Tell(this, L"QV.CHMが開けませんでした");
}

BOOL IsCommandMenuItem(UINT id)
{
    return FindRow(id) != nullptr || FindMenuCommandRoute(COMMAND_FAMILY_FILER, id, nullptr);
}

BOOL RunCommandMenuItem(CQvView& view, UINT id)
{
    if (const MenuCommandRow* row = FindRow(id))
    {
        if (row->keyword == nullptr)
        {
            CommandCall call = {L"", L""};
            row->handler.Run(view, call, 0);
            return TRUE;
        }
        const CommandEntry* entry = FindDispatcherEntry(row->list, row->keyword);
        if (entry == nullptr)
            return FALSE;
        RunDispatcherEntry(view, *entry, row->keyword, L"");
        return TRUE;
    }
    MenuCommandRoute route = {};
    if (!FindMenuCommandRoute(ActiveCommandFamily(), id, &route))
        return FALSE;
    RunDispatcherEntry(view, *route.entry, route.keyword, L"");
    return TRUE;
}
