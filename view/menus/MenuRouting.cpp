// Every menu id the view serves, through its row of the menu table
// (view/menus/MenuTable.cpp): the row's state when the frame updates the item, its
// command when it is chosen, and for an id that a command-table row carries, the
// keyword of that row; and the key text a menu item carries when the option to show
// it is on.
#include "app/keys/CommandTables.h"
#include "app/KeywordBuilders.h"
#include "app/Settings.h"
#include "app/settings/ViewSettings.h"
#include "filer/FilerPane.h"
#include "res/MenuIds.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "view/menus/FilerInfoItems.h"
#include "view/menus/MenuTable.h"

namespace
{

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

bool IsNewFileId(UINT id)
{
    return id >= ID_MENU_NEW_FILE_FIRST && id <= ID_MENU_NEW_FILE_LAST;
}

// The text to which the key text is appended: the one set just now, else the item's
// text in the menu that is being shown, else in the view's menu resource.
CString ItemText(CCmdUI& ui, const CString& setText, UINT menuResourceId)
{
    if (!setText.IsEmpty())
        return setText;
    wchar_t buffer[256] = {};
    if (ui.m_hMenu != nullptr && GetMenuStringW(ui.m_hMenu, ui.m_nID, buffer, 256, MF_BYCOMMAND) > 0)
    {
        // The live item still carries the key text the last opening of the menu added.
        CString live(buffer);
        const int suffix = live.ReverseFind(L'[');
        if (suffix >= 2 && live[live.GetLength() - 1] == L']' && live.Mid(suffix - 2, 3) == L"  [")
            live = live.Left(suffix - 2);
        return live;
    }
    HMENU resource = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuResourceId));
    CString text;
    if (resource != nullptr)
    {
        if (GetMenuStringW(resource, ui.m_nID, buffer, 256, MF_BYCOMMAND) > 0)
            text = buffer;
        DestroyMenu(resource);
    }
    return text;
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

BOOL RunMenuIdKeyword(CQvView& view, UINT id)
{
    MenuCommandRoute route = {};
    if (!FindMenuCommandRoute(ActiveCommandFamily(), id, &route))
        return FALSE;
    RunDispatcherEntry(view, *route.entry, route.keyword, L"");
    return TRUE;
}

void CQvView::OnUpdateFilerInfoItem(CCmdUI& item, int layout)
{
    item.Enable(TRUE);
    item.SetCheck(g_FILERINFONUMBER == layout ? 1 : 0);
    item.SetText(FormatFilerInfoItemText(layout));
}

BOOL CQvView::RouteMenuCommand(UINT id, int code, void* extra)
{
    const MenuRow* row = FindMenuRow(id);
    if (code == CN_UPDATE_COMMAND_UI)
    {
        auto* ui = static_cast<CCmdUI*>(extra);
        if (ui == nullptr)
            return FALSE;
        BOOL handled = FALSE;
        CString text;
        if (row != nullptr && row->state != nullptr)
            handled = row->state(*this, *ui, id, text);
        else if (row != nullptr)
        {
            ui->Enable(TRUE);
            handled = TRUE;
        }
        if (g_VIEWMENUCOMMAND && !(IsNewFileId(id) && text.IsEmpty()))
        {
            // Only while a menu bar is shown; without a window the caller's menu counts.
            CWnd* frame = m_hWnd ? GetTopLevelParent() : nullptr;
            bool menuShown = frame == nullptr || ::GetMenu(frame->m_hWnd) != nullptr;
            CString keyword, keyText;
            if (menuShown && GetKeywordOfMenuId(id, keyword) && GetKeyNameOfKeyword(keyword, keyText))
            {
                CString shown = ItemText(*ui, text, m_menuResourceId);
                shown += L"  [";
                shown += keyText;
                shown += L"]";
                ui->SetText(shown);
            }
        }
        return handled;
    }
    if (code != CN_COMMAND || row == nullptr)
        return FALSE;
    if (row->run != nullptr && row->run(*this, id))
        return TRUE;
    return RunMenuIdKeyword(*this, id);
}
