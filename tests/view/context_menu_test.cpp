// The right-click menu of a filer pane: the shell's own menu for the selection is
// built, shown and released without leaving objects behind; empty space offers the
// new files; the user's items run their keywords.
#include "app/PlugInCommands.h"
#include "app/Settings.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/FilerSettings.h"
#include "app/settings/ViewSettings.h"
#include "tests/common/TestHelpers.h"
#include "tests/view/CommandTestSupport.h"
#include "view/shell/ShellSeam.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

using qvtest::W;

namespace
{

struct ShownMenu
{
    int items = 0;
    std::vector<std::wstring> texts;
    bool shellMenu = false;
    POINT at = {};
};

std::vector<ShownMenu>* g_menus = nullptr;
UINT g_choice = 0;

UINT RecordMenu(HMENU menu, UINT, int x, int y, HWND)
{
    ShownMenu shown;
    shown.at = {x, y};
    shown.items = GetMenuItemCount(menu);
    for (int i = 0; i < shown.items; ++i)
    {
        wchar_t text[256] = {};
        GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
        shown.texts.push_back(text);
    }
    shown.shellMenu = g_pContMenu2 != nullptr;
    g_menus->push_back(shown);
    return g_choice;
}

class ContextMenuTest : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        CoInitialize(nullptr);
        g_menus = &m_menus;
        g_choice = 0;
        m_savedSeam = g_ContextMenuSeam;
        g_ContextMenuSeam.track = RecordMenu;
        m_savedKinds.Copy(g_MakeNewFileKinds);
        for (int i = 0; i < kUserMenuEntryCount; ++i)
            m_savedUser[i] = g_UserMenuEntries[i];
        Set(g_FILERDEFAULTMENU, 1);
        Set(g_FILERCONTEXTMENU, 1);
        Set(g_FILERUSERMENU, 0);
        for (LPCWSTR name : {L"one.txt", L"two words.txt"})
        {
            std::wstring path = W(m_dir) + L"\\" + name;
            qvtest::WriteFileBytes(path, "x");
            WIN32_FIND_DATAW fd = {};
            fd.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
            wcscpy_s(fd.cFileName, name);
            m_panes[0]->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, m_dir, L"", fd, -1);
        }
        m_panes[0]->m_cursor = 0;
    }
    void TearDown() override
    {
        if (g_pContMenu2 != nullptr)
        {
            g_pContMenu2->Release();
            g_pContMenu2 = nullptr;
        }
        g_ContextMenuSeam = m_savedSeam;
        g_MakeNewFileKinds.Copy(m_savedKinds);
        for (int i = 0; i < kUserMenuEntryCount; ++i)
            g_UserMenuEntries[i] = m_savedUser[i];
        g_menus = nullptr;
        CommandBench::TearDown();
        CoUninitialize();
    }

    std::vector<ShownMenu> m_menus;
    ContextMenuSeam m_savedSeam = {};
    CArray<CMakeNewFile> m_savedKinds;
    UserMenuEntry m_savedUser[kUserMenuEntryCount];
};

TEST_F(ContextMenuTest, TheShellMenuOfTheSelectionIsBuiltAndReleased)
{
    m_panes[0]->m_entries[0].m_mark = 1;
    m_panes[0]->m_entries[1].m_mark = 1;
    m_panes[0]->m_markedCount = 2;
    // A first build loads what the shell keeps for the process.
    View().ShowContextMenu(0, CPoint(0, 0), 1);
    DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 10; ++i)
        View().ShowContextMenu(0, CPoint(0, 0), 1);
    ASSERT_EQ(11u, m_menus.size());
    for (const ShownMenu& menu : m_menus)
    {
        EXPECT_TRUE(menu.shellMenu);
        EXPECT_GT(menu.items, 0);
    }
    // Each build released the menu and the shell objects of the one before.
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore + 2);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore + 2);
    ASSERT_NE(nullptr, g_pContMenu2);
    // The view's tear-down lets the last one go.
    CQvView* view = new CQvView();
    delete view;
    EXPECT_EQ(nullptr, g_pContMenu2);
}

TEST_F(ContextMenuTest, EmptySpaceOffersNewFilesAndNoShellItems)
{
    g_MakeNewFileKinds.RemoveAll();
    CMakeNewFile kind;
    kind.m_extension = L"txt";
    kind.m_displayName = L"テキスト";
    g_MakeNewFileKinds.Add(kind);
    View().ShowContextMenu(0, CPoint(-500, -500), 0);
    ASSERT_EQ(1u, m_menus.size());
    ASSERT_GE(m_menus[0].texts.size(), 1u);
    EXPECT_EQ(L"新規作成", m_menus[0].texts[0]);
    EXPECT_FALSE(m_menus[0].shellMenu);
}

TEST_F(ContextMenuTest, UserItemsRunTheirKeyword)
{
    // Neither the program's menu nor the shell's: the user's items alone.
    Set(g_FILERDEFAULTMENU, 0);
    Set(g_FILERUSERMENU, 1);
    Set(g_FILERCONTEXTMENU, 0);
    for (UserMenuEntry& entry : g_UserMenuEntries)
        entry.m_command.Empty();
    g_UserMenuEntries[3].m_command = L"@Copy";
    g_UserMenuEntries[3].m_display = L"コピー";
    // Without a text of its own an item is named after what it does.
    g_UserMenuEntries[5].m_command = L"@Keyjumpdir C:\\Work";
    g_UserMenuEntries[5].m_display.Empty();
    g_choice = 6303;
    View().ShowContextMenu(0, CPoint(0, 0), 1);
    ASSERT_EQ(1u, m_menus.size());
    EXPECT_EQ((std::vector<std::wstring>{L"コピー", L"C:\\Workへ移動"}), m_menus[0].texts);
    EXPECT_EQ(std::vector<std::wstring>{L"CopyFiles"}, RanHandlers());
}

TEST_F(ContextMenuTest, EachModeShowsItsOwnMenu)
{
    struct Row
    {
        UINT mode;
        int filerDefault;
        int menuBar;
        LPCWSTR first;
        bool shell;
    };
    const Row rows[] = {
        {PANE_MODE_FILER, 1, 1, L"ファイル操作(&F)", true},
        {PANE_MODE_DRIVE_LIST, 0, 1, L"ディレクトリの変更", false}, // the shell's part is off
        {PANE_MODE_ARCHIVE, 1, 1, L"ファイルのコピー", false},
        {PANE_MODE_TEXT_VIEWER, 1, 1, L"文字コード", false},
        {PANE_MODE_ARCHIVE_TEXT_VIEWER, 1, 1, L"文字コード", false},
        {PANE_MODE_GRAPHIC, 1, 1, L"画像倍率の設定", false},
        {PANE_MODE_BINARY, 1, 1, L"操作(&O)", false},
        // No menu bar: the way back to it, even when nothing else is offered.
        {PANE_MODE_FILER, 0, 0, L"メニューの非表示(&M)", false},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.mode);
        m_menus.clear();
        Set(g_FILERDEFAULTMENU, row.filerDefault);
        Set(g_FILERCONTEXTMENU, row.filerDefault);
        Set(g_MENUDISPLAY, row.menuBar);
        m_panes[0]->m_mode = row.mode;
        View().ShowContextMenu(0, CPoint(0, 0), 1);
        ASSERT_EQ(1u, m_menus.size());
        ASSERT_FALSE(m_menus[0].texts.empty());
        // The shell's items go in front of the program's own.
        const std::vector<std::wstring>& texts = m_menus[0].texts;
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), std::wstring(row.first)));
        if (!row.shell)
            EXPECT_EQ(row.first, texts[0]);
        EXPECT_EQ(row.shell, m_menus[0].shellMenu);
    }
}

// The Apps key opens the menu where the mouse is, unless the cursor entry is in sight,
// where the menu goes to that entry.
TEST_F(ContextMenuTest, TheAppsKeyOpensTheMenuAtTheMouseWhenNoCursorEntryIsInSight)
{
    Set(g_ENABLEMENUBUTON, 1);
    POINT saved = {};
    GetCursorPos(&saved);
    const POINT mouse = {437, 311};
    ASSERT_TRUE(SetCursorPos(mouse.x, mouse.y));
    POINT placed = {};
    ASSERT_TRUE(GetCursorPos(&placed));
    ASSERT_EQ(mouse.x, placed.x);
    ASSERT_EQ(mouse.y, placed.y);
    // The bench's view has no window, so its client coordinates are the screen's.
    const struct
    {
        UINT mode;
        bool withEntries;
    } rows[] = {
        {PANE_MODE_TEXT_VIEWER, true},
        {PANE_MODE_BINARY, true},
        {PANE_MODE_GRAPHIC, true},
        {PANE_MODE_FILER, false},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.mode);
        m_menus.clear();
        m_panes[0]->m_mode = row.mode;
        if (!row.withEntries)
        {
            m_panes[0]->m_entries.RemoveAll();
            m_panes[0]->m_cursor = 0;
        }
        EXPECT_EQ(1, View().OnKeyDownFront(VK_APPS, 1, 0));
        ASSERT_EQ(1u, m_menus.size());
        EXPECT_EQ(mouse.x + 2, m_menus[0].at.x);
        EXPECT_EQ(mouse.y + 2, m_menus[0].at.y);
    }
    // A filer pane with its cursor entry in sight: the menu stands below that entry.
    Set(g_FILERDEFAULTMENU, 0);
    Set(g_FILERCONTEXTMENU, 0);
    Set(g_FILERUSERMENU, 1);
    g_UserMenuEntries[0].m_command = L"@Copy";
    FillPane(3, 1, 3);
    m_panes[0]->m_mode = PANE_MODE_FILER;
    int column = 0;
    int row = 0;
    ASSERT_TRUE(View().GetCursorCell(0, &column, &row));
    m_menus.clear();
    EXPECT_EQ(1, View().OnKeyDownFront(VK_APPS, 1, 0));
    ASSERT_EQ(1u, m_menus.size());
    EXPECT_EQ(column * View().m_layout.charWidth + 2, m_menus[0].at.x);
    EXPECT_EQ((row + 1) * View().m_layout.lineHeight + 2, m_menus[0].at.y);
    SetCursorPos(saved.x, saved.y);
}

std::vector<std::wstring>* g_started = nullptr;

HINSTANCE WINAPI RecordStart(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT)
{
    g_started->push_back(file != nullptr ? file : L"");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

TEST_F(ContextMenuTest, AnOwnPlugInItemIsNotStartedAsAProgram)
{
    Set(g_FILERDEFAULTMENU, 0);
    Set(g_FILERUSERMENU, 1);
    Set(g_FILERCONTEXTMENU, 0);
    CArray<CQvPlugIn> savedPlugIns;
    savedPlugIns.Copy(g_PlugInList);
    CQvPlugIn plugIn;
    plugIn.m_fileName = L"tool.dll";
    plugIn.m_functionName = L"Func";
    plugIn.m_keyString = L"#K1";
    g_PlugInList.RemoveAll();
    g_PlugInList.Add(plugIn);
    for (UserMenuEntry& entry : g_UserMenuEntries)
        entry = UserMenuEntry();
    g_UserMenuEntries[0].m_command = L"#K1,tool.dll";
    g_UserMenuEntries[1].m_command = L"C:\\bin\\tool.exe";
    std::vector<std::wstring> started;
    g_started = &started;
    CShellRunSeamOverride seam;
    g_ShellRunSeam.shellExecute = RecordStart;
    for (UINT choice : {6300u, 6301u})
    {
        g_choice = choice;
        View().ShowContextMenu(0, CPoint(0, 0), 1);
    }
    ASSERT_EQ(2u, m_menus.size());
    EXPECT_EQ((std::vector<std::wstring>{L"Func,tool.dll", L"C:\\bin\\tool.exe"}), m_menus[0].texts);
    EXPECT_EQ(std::vector<std::wstring>{L"C:\\bin\\tool.exe"}, started);
    g_started = nullptr;
    g_PlugInList.Copy(savedPlugIns);
}

TEST_F(ContextMenuTest, NothingIsShownWhenEveryPartIsOff)
{
    Set(g_FILERDEFAULTMENU, 0);
    Set(g_FILERCONTEXTMENU, 0);
    Set(g_MENUDISPLAY, 1);
    View().ShowContextMenu(0, CPoint(0, 0), 1);
    EXPECT_TRUE(m_menus.empty());
}

TEST_F(ContextMenuTest, TheIdListArrayNamesTheFolderAndEachTarget)
{
    m_panes[0]->m_entries[0].m_mark = 1;
    m_panes[0]->m_entries[1].m_mark = 1;
    m_panes[0]->m_markedCount = 2;
    HGLOBAL block = View().BuildShellIdListArray(0, 0);
    ASSERT_NE(nullptr, block);
    auto* data = static_cast<const BYTE*>(GlobalLock(block));
    auto* words = reinterpret_cast<const UINT*>(data);
    ASSERT_EQ(2u, words[0]);
    EXPECT_EQ(4u * 2 + 8, words[1]);
    auto parent = reinterpret_cast<LPCITEMIDLIST>(data + words[1]);
    std::vector<std::wstring> paths;
    for (int i = 0; i < 2; ++i)
    {
        LPITEMIDLIST full = ILCombine(parent, reinterpret_cast<LPCITEMIDLIST>(data + words[2 + i]));
        wchar_t path[MAX_PATH] = {};
        SHGetPathFromIDListW(full, path);
        ILFree(full);
        paths.push_back(path);
    }
    GlobalUnlock(block);
    GlobalFree(block);
    EXPECT_EQ((std::vector<std::wstring>{W(m_dir) + L"\\one.txt", W(m_dir) + L"\\two words.txt"}), paths);
    // The cursor on ".." with nothing marked: no drag.
    m_panes[0]->m_entries[0].m_mark = 0;
    m_panes[0]->m_entries[1].m_mark = 0;
    m_panes[0]->m_markedCount = 0;
    WIN32_FIND_DATAW fd = {};
    fd.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    wcscpy_s(fd.cFileName, L"..");
    m_panes[0]->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, m_dir, L"", fd, -1);
    m_panes[0]->m_cursor = 2;
    EXPECT_EQ(nullptr, View().BuildShellIdListArray(0, 0));
}

} // namespace
