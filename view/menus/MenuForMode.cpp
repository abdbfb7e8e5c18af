// The menu bar follows the active pane's mode: one menu resource per mode, the
// popups the user hid and the ones this build has nothing for taken out.
#include "app/Settings.h"
#include "app/settings/GeneralToolSettings.h"
#include "filer/FilerPane.h"
#include "res/Menus.h"
#include "view/QvView.h"

namespace
{

constexpr wchar_t kPlugInPopup[] = L"プラグイン(&I)";

// The position of the top-level item whose text is `text`, or -1.
int FindItemByText(HMENU menu, LPCWSTR text, bool ignoreCase = false)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
    {
        wchar_t buffer[64] = {};
        if (GetMenuStringW(menu, static_cast<UINT>(i), buffer, 64, MF_BYPOSITION) > 0 &&
            (ignoreCase ? _wcsicmp(buffer, text) : wcscmp(buffer, text)) == 0)
            return i;
    }
    return -1;
}

} // namespace

UINT GetModeMenuId(UINT mode)
{
    if (mode & PANE_MODE_FILER)
        return IDR_MENU_FILER;
    if (mode & PANE_MODE_ARCHIVE)
        return IDR_MENU_ARCHIVE;
    if (mode & PANE_MODES_GRAPHIC_VIEWERS)
        return IDR_MENU_GRAPHIC;
    if (mode & PANE_MODES_TEXT_VIEWERS)
        return IDR_MENU_TEXT_VIEWER;
    if (mode & PANE_MODE_DRIVE_LIST)
        return IDR_MENU_DRIVE_LIST;
    if (mode & PANE_MODE_BINARY)
        return IDR_MENU_BINARY;
    if (mode & PANE_MODE_NETWORK)
        return IDR_MENU_NETWORK;
    return 0;
}

void FixUpModeMenu(HMENU menu, UINT menuId)
{
    // The device popups of "マルチメディア(&P)" stay: the audio devices were filled in
    // before their "(なし)" anchors, and the menu bar is the only place that lists them.
    for (const HiddenMenuRow& row : g_HiddenMenuTable)
    {
        if (row.menuId != static_cast<int>(menuId))
            continue;
        for (int i = 0; i < row.itemCount; ++i)
        {
            if (!row.hidden[i])
                continue;
            int at = FindItemByText(menu, row.itemNames[i]);
            if (at >= 0)
                DeleteMenu(menu, static_cast<UINT>(at), MF_BYPOSITION);
        }
    }
    // Nothing loads the own plug-ins, so their menu would stay empty: it leaves every
    // menu bar whatever its hidden flag says, however its access key is written.
    int plugIns = FindItemByText(menu, kPlugInPopup, true);
    if (plugIns >= 0)
        DeleteMenu(menu, static_cast<UINT>(plugIns), MF_BYPOSITION);
}

void CQvView::UpdateMenuForMode()
{
    CWnd* frame = m_hWnd != nullptr ? GetParentFrame() : nullptr;
    if (!g_MENUDISPLAY)
    {
        if (frame != nullptr)
            frame->SetMenu(nullptr);
        if (m_menus.modeMenu != nullptr)
            DestroyMenu(m_menus.modeMenu);
        m_menus.modeMenu = nullptr;
        m_menus.shownMenuId = 0;
        return;
    }
    int index = GetActivePaneIndex();
    UINT id = index >= 0 ? GetModeMenuId(g_Panes[index]->m_mode) : 0;
    if (id == 0 || id == m_menus.shownMenuId)
        return;
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    if (menu == nullptr)
        return;
    if (id == IDR_MENU_FILER)
        AppendNewFileMenu(menu);
    InsertDynamicMenuItems(menu);
    FixUpModeMenu(menu, id);
    if (frame != nullptr)
    {
        frame->SetMenu(menu);
        frame->DrawMenuBar();
    }
    if (m_menus.modeMenu != nullptr)
        DestroyMenu(m_menus.modeMenu);
    m_menus.modeMenu = menu;
    m_menus.shownMenuId = id;
    m_menuResourceId = id;
}
