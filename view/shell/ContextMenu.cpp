// The right-click menu of the filer, drive-list and network panes: the user's menu
// items, the new-file kinds and the shell's own context menu for the selection or
// the folder, whose commands the shell carries out.
#include "app/Directories.h"
#include "util/Log.h"
#include "util/PathHelpers.h"
#include "app/PlugInCommands.h"
#include "app/Settings.h"
#include "app/VirtualDrives.h"
#include "app/keys/UserMenuText.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/ViewSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/shell/NetworkPlace.h"
#include "res/ContextMenus.h"
#include "res/MenuIds.h"
#include "view/shell/ShellSeam.h"

#include <shlobj.h>

#include <vector>

namespace
{

UINT TrackMenu(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    return static_cast<UINT>(TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr));
}

// The item id lists of one menu build, freed through the shell's allocator.
class CItemIdLists
{
public:
    ~CItemIdLists()
    {
        for (LPITEMIDLIST list : m_lists)
            CoTaskMemFree(list);
    }
    void Add(LPITEMIDLIST list) { m_lists.push_back(list); }
    std::vector<LPITEMIDLIST> m_lists;
};

template <class T> void ReleaseAndClear(T*& object)
{
    if (object != nullptr)
        object->Release();
    object = nullptr;
}

// The new-file submenu, when at least one kind has a name: the popup of its menu
// resource without the resource's own item, the kinds appended.
HMENU BuildNewFileMenu()
{
    HMENU loaded = LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_CONTEXT_NEW_FILE));
    if (loaded == nullptr)
        return nullptr;
    HMENU menu = GetSubMenu(loaded, 0);
    if (menu != nullptr)
        RemoveMenu(loaded, 0, MF_BYPOSITION);
    DestroyMenu(loaded);
    if (menu == nullptr)
        return nullptr;
    DeleteMenu(menu, ID_MENU_NEW_FILE_FIRST, MF_BYCOMMAND);
    int added = 0;
    for (int j = 0; j < g_MakeNewFileKinds.GetSize() && j < 99; ++j)
    {
        if (g_MakeNewFileKinds[j].m_extension.IsEmpty())
            continue;
        AppendMenuW(menu, MF_STRING, ID_MENU_NEW_FILE_FIRST + j, g_MakeNewFileKinds[j].m_displayName);
        ++added;
    }
    if (added == 0)
    {
        DestroyMenu(menu);
        return nullptr;
    }
    return menu;
}

} // namespace

ContextMenuSeam g_ContextMenuSeam = {TrackMenu};

namespace
{
// 1 when an entry of the pane is drawn under the client point.
int IsPointOverEntry(CQvView& view, int pane, CPoint point)
{
    CFilerPane* target = g_Panes[pane];
    if (target == nullptr)
        return 0;
    const ViewLayout& viewLayout = view.m_layout;
    const PaneLayout& layout = viewLayout.panes[pane];
    for (int i = 0; i < layout.columnsDrawn; ++i)
        for (int j = 0; j < layout.rowsDrawn; ++j)
        {
            INT64 index = 0;
            int column = 0;
            int row = 0;
            view.GetEntryCell(pane, i, j, &index, &column, &row, FALSE);
            if (index >= target->GetEntryCount())
                continue;
            CRect cell(column * viewLayout.charWidth, row * viewLayout.lineHeight,
                       (column + layout.cellWidth) * viewLayout.charWidth,
                       (row + layout.cellHeight) * viewLayout.lineHeight);
            if (cell.PtInRect(point))
                return 1;
        }
    return 0;
}

// The shell's context menu of the selection or the folder, put into `menu`.
void AddShellItems(CQvView& view, int pane, UINT kind, bool shellItems, bool overEntry, HMENU menu)
{
    CFilerPane& target = *g_Panes[pane];
    CFileInfo* cursor = target.GetCursorEntry();
    IShellFolder* desktop = nullptr;
    IShellFolder* folder = nullptr;
    IContextMenu* contextMenu = nullptr;
    CItemIdLists lists;
    int step = 1;
    if (FAILED(SHGetDesktopFolder(&desktop)))
        return;
    CString directory = target.m_currentDir;
    std::vector<CString> names;
    LPITEMIDLIST parent = nullptr;
    step = 2;
    bool root = IsPathRoot(directory) != FALSE;
    if (kind == PANE_MODE_FILER && (shellItems || !root))
    {
        CString folderPath;
        if (shellItems)
        {
            folderPath =
                (target.IsOnVirtualDrive() && cursor != nullptr)
                    ? (cursor->m_realDirectory.IsEmpty() ? cursor->GetDirectory() : cursor->m_realDirectory)
                    : directory;
            if (target.IsOnVirtualDrive() && cursor != nullptr)
                names.push_back(cursor->GetName());
            else if (target.m_markedCount > 0)
            {
                for (INT_PTR i = 0; i < target.m_entries.GetSize(); ++i)
                    if (target.m_entries[i].m_mark)
                        names.push_back(target.m_entries[i].GetName());
            }
            else if (overEntry && cursor != nullptr)
                names.push_back(cursor->GetName());
            else
            {
                CString self;
                self.Format(L"%s\\", (LPCWSTR)directory);
                names.push_back(self);
            }
        }
        else
        {
            CString trimmed = directory;
            while (trimmed.GetLength() > 0 && trimmed[trimmed.GetLength() - 1] == L'\\')
                trimmed = trimmed.Left(trimmed.GetLength() - 1);
            int slash = trimmed.ReverseFind(L'\\');
            folderPath = trimmed.Left(slash < 0 ? 0 : slash);
            names.push_back(trimmed.Mid(slash + 1));
        }
        if (folderPath.IsEmpty() || folderPath[folderPath.GetLength() - 1] != L'\\')
            folderPath += L'\\';
        if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>((LPCWSTR)folderPath),
                                             nullptr, &parent, nullptr)))
        {
            desktop->Release();
            return;
        }
    }
    else
    {
        CString place = directory;
        if (kind == PANE_MODE_DRIVE_LIST && cursor != nullptr)
            place = cursor->GetName();
        // Above the servers (domains, networks) the list's folder stands for the row.
        if (kind == PANE_MODE_NETWORK && !NetworkContextPlace(target).IsEmpty())
            place = NetworkContextPlace(target);
        int csidl = (!place.IsEmpty() && place[0] == L'\\') ? CSIDL_NETWORK : CSIDL_DRIVES;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &parent)))
        {
            desktop->Release();
            return;
        }
        CString self;
        self.Format(L"%s\\", (LPCWSTR)place);
        while (self.GetLength() > 1 && self.Right(2) == L"\\\\")
            self = self.Left(self.GetLength() - 1);
        names.push_back(self);
    }
    lists.Add(parent);
    step = 3;
    HRESULT hr = desktop->BindToObject(parent, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
    if (FAILED(hr))
        folder = nullptr;
    step = 4;
    std::vector<LPCITEMIDLIST> items;
    for (const CString& name : names)
    {
        if (folder == nullptr)
            break;
        LPITEMIDLIST item = nullptr;
        if (FAILED(folder->ParseDisplayName(nullptr, nullptr, const_cast<LPWSTR>((LPCWSTR)name), nullptr,
                                            &item, nullptr)))
        {
            items.clear();
            break;
        }
        lists.Add(item);
        items.push_back(item);
    }
    step = 5;
    if (folder != nullptr && !items.empty() &&
        SUCCEEDED(folder->GetUIObjectOf(view.m_hWnd, static_cast<UINT>(items.size()), items.data(),
                                        IID_IContextMenu, nullptr, reinterpret_cast<void**>(&contextMenu))))
    {
        IContextMenu2* menu2 = nullptr;
        if (SUCCEEDED(contextMenu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(&menu2))))
            g_pContMenu2 = menu2;
        contextMenu->QueryContextMenu(menu, 0, ID_MENU_SHELL_FIRST, ID_MENU_SHELL_LAST, CMF_EXPLORE);
    }
    else
        WriteLog(nullptr, L"WriteContextMenu %d", step);
    // The kept IContextMenu2 holds its own reference and carries the commands.
    ReleaseAndClear(contextMenu);
    ReleaseAndClear(folder);
    ReleaseAndClear(desktop);
}
} // namespace

void CQvView::ShowContextMenu(int pane, CPoint point, int fromKeyboard)
{
    if (PaneAt(pane) == nullptr)
        return;
    if (fromKeyboard)
    {
        int column = 0;
        int row = 0;
        if (GetCursorCell(pane, &column, &row))
        {
            CPoint corner(column * m_layout.charWidth, (row + 1) * m_layout.lineHeight);
            CRect client(0, 0, m_layout.clientWidth, m_layout.clientHeight);
            if (m_hWnd)
                GetClientRect(&client);
            if (client.PtInRect(corner))
                point = corner;
        }
    }
    if (TestPaneState(pane, PANE_POS_ACTIVE, PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_NETWORK,
                      0xFFFFFFFF))
    {
        ShowFilerContextMenu(pane, point, fromKeyboard);
        StartBinaryCursorTimer();
        return;
    }
    // Every other mode has a fixed menu of its own.
    UINT menuId = 0;
    if (TestPaneState(pane, PANE_POS_ACTIVE, PANE_MODE_ARCHIVE, 0xFFFFFFFF))
        menuId = IDR_CONTEXT_ARCHIVE;
    if (TestPaneState(pane, PANE_POS_ACTIVE, PANE_MODES_GRAPHIC_VIEWERS, 0xFFFFFFFF))
        menuId = IDR_CONTEXT_GRAPHIC;
    if (TestPaneState(pane, PANE_POS_ACTIVE, PANE_MODES_TEXT_VIEWERS, 0xFFFFFFFF))
        menuId = IDR_CONTEXT_TEXT_VIEWER;
    if (TestPaneState(pane, PANE_POS_ACTIVE, PANE_MODE_BINARY, 0xFFFFFFFF))
        menuId = IDR_CONTEXT_BINARY;
    if (menuId == 0)
        return;
    HMENU loaded = LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(menuId));
    if (loaded == nullptr)
        return;
    CPoint screen = point;
    if (m_hWnd)
        ClientToScreen(&screen);
    HWND owner = m_hWnd;
    if (CWnd* main = AfxGetMainWnd())
        owner = main->m_hWnd ? main->m_hWnd : owner;
    // A command chosen here goes through the main window's command routing.
    g_ContextMenuSeam.track(GetSubMenu(loaded, 0), TPM_RIGHTBUTTON, screen.x + 2, screen.y + 2, owner);
    DestroyMenu(loaded);
}

void CQvView::ShowFilerContextMenu(int pane, CPoint point, int fromKeyboard)
{
    CPoint screen = point;
    if (m_hWnd)
        ClientToScreen(&screen);
    if (g_pContMenu2 != nullptr)
    {
        g_pContMenu2->Release();
        g_pContMenu2 = nullptr;
    }
    CFilerPane& target = *g_Panes[pane];
    UINT kind = (target.m_mode == PANE_MODE_DRIVE_LIST) ? PANE_MODE_DRIVE_LIST
                : (target.m_mode == PANE_MODE_NETWORK)  ? PANE_MODE_NETWORK
                                                        : PANE_MODE_FILER;
    CFileInfo* cursor = target.GetCursorEntry();
    BOOL isVirtual = FALSE;
    if (kind == PANE_MODE_DRIVE_LIST)
        isVirtual = cursor != nullptr && IsVirtualDrive(cursor->GetName()[0], 1);
    else if (kind == PANE_MODE_FILER)
        isVirtual = target.IsOnVirtualDrive();
    bool shellPart = true;
    bool shellItems = true;
    const UINT ownMenu = kind == PANE_MODE_DRIVE_LIST ? IDR_CONTEXT_DRIVE_LIST
                         : kind == PANE_MODE_NETWORK  ? IDR_CONTEXT_NETWORK
                                                      : IDR_CONTEXT_FILER;
    UINT loadId = 0;
    if (g_FILERDEFAULTMENU)
    {
        loadId = ownMenu;
        if (kind == PANE_MODE_DRIVE_LIST && isVirtual)
            shellPart = false;
        if (kind == PANE_MODE_FILER && isVirtual && cursor == nullptr)
            shellItems = false;
    }
    else
    {
        bool nothingAtAll = false;
        bool fromNothing = true;
        if (kind == PANE_MODE_DRIVE_LIST && (!g_FILERCONTEXTMENU || isVirtual))
        {
            loadId = ownMenu;
            fromNothing = false;
            shellPart = false;
        }
        else if (kind == PANE_MODE_NETWORK && !g_FILERCONTEXTMENU)
        {
            loadId = ownMenu;
            fromNothing = false;
            shellPart = false;
        }
        else if (kind == PANE_MODE_FILER)
        {
            bool noShell = !g_FILERCONTEXTMENU || target.CheckState(PANE_CHECK_DRIVE_PRESENT) != 0 ||
                           (isVirtual && cursor == nullptr);
            if (isVirtual && cursor == nullptr)
                shellItems = false;
            if (noShell)
            {
                shellPart = false;
                bool anyUserEntry = false;
                for (const UserMenuEntry& entry : g_UserMenuEntries)
                    anyUserEntry = anyUserEntry || !entry.m_command.IsEmpty();
                nothingAtAll = !g_FILERUSERMENU || !anyUserEntry;
            }
        }
        if (fromNothing)
        {
            if (nothingAtAll && !m_system.fullScreenOn && g_MENUDISPLAY)
                return;
            // Without a menu bar the right button is the way back to it and out of
            // full screen.
            if (m_system.fullScreenOn || !g_MENUDISPLAY)
                loadId = IDR_CONTEXT_FALLBACK;
        }
    }
    HMENU loaded = nullptr;
    if (loadId != 0)
    {
        loaded = LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(loadId));
        if (loaded == nullptr)
            return;
    }
    HMENU menu = loaded != nullptr ? GetSubMenu(loaded, 0) : CreatePopupMenu();
    if (kind == PANE_MODE_FILER)
    {
        for (int n = 0; n < kUserMenuEntryCount && g_FILERUSERMENU; ++n)
            if (!g_UserMenuEntries[n].m_command.IsEmpty())
            {
                // The item's label is the entry's name, as the update pass of a menu
                // bar would set it; a popup tracked here gets no such pass.
                const UserMenuEntry& entry = g_UserMenuEntries[n];
                CString label;
                GetUserMenuItemText(entry.m_command, entry.m_display, n, label);
                AppendMenuW(menu, MF_STRING, ID_MENU_USER_PAIR_FIRST + n, label);
            }
        if (target.GetEntryCount() == 0 ||
            target.CheckState(PANE_CHECK_NO_DOT_TARGET | PANE_CHECK_CURSOR_NOT_DOT))
            shellItems = false;
        bool overEntry = fromKeyboard || IsPointOverEntry(*this, pane, point);
        bool cursorIsParent = cursor == nullptr || cursor->IsDots();
        if (!isVirtual && target.m_markedCount == 0 && (!overEntry || cursorIsParent))
        {
            if (!overEntry)
                shellPart = false;
            if (HMENU newFiles = BuildNewFileMenu())
            {
                InsertMenuW(menu, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(newFiles),
                            L"新規作成");
                InsertMenuW(menu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
            }
        }
    }
    if (!g_FILERCONTEXTMENU)
        shellPart = false;
    if (shellPart)
        AddShellItems(*this, pane, kind, shellItems, fromKeyboard || IsPointOverEntry(*this, pane, point),
                      menu);
    HWND owner = m_hWnd;
    if (CWnd* main = AfxGetMainWnd())
        owner = main->m_hWnd ? main->m_hWnd : owner;
    UINT chosen =
        g_ContextMenuSeam.track(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x + 2, screen.y + 2, owner);
    DestroyMenu(loaded != nullptr ? loaded : menu);
    if (chosen != 0)
        RunContextMenuCommand(chosen);
}

void CQvView::RunContextMenuCommand(UINT id)
{
    if (id >= ID_MENU_SHELL_FIRST && id <= ID_MENU_SHELL_LAST)
    {
        IContextMenu* menu = g_pContMenu2;
        if (menu == nullptr)
            return;
        CMINVOKECOMMANDINFO info = {};
        info.cbSize = sizeof(info);
        info.hwnd = m_hWnd;
        info.lpVerb = MAKEINTRESOURCEA(id - ID_MENU_SHELL_FIRST);
        info.nShow = SW_SHOWNORMAL;
        menu->InvokeCommand(&info);
        return;
    }
    if (id >= ID_MENU_USER_PAIR_FIRST && id <= ID_MENU_USER_PAIR_LAST)
    {
        OnUserMenuItem(static_cast<int>(id - ID_MENU_USER_PAIR_FIRST));
        return;
    }
    if (m_hWnd)
        SendMessage(WM_COMMAND, id, 0);
    else
        OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
}

void CQvView::OnUserMenuItem(int n)
{
    if (n < 0 || n >= kUserMenuEntryCount)
        return;
    CString command = g_UserMenuEntries[n].m_command;
    if (command.IsEmpty())
        return;
    if (RefuseOwnPlugInReference(command))
        return;
    if (!ExecuteFilerCommand(command))
        ExecuteBoundProgram(command);
}
