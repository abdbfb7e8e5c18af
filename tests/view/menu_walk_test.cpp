// Every item of every menu the view shows (the menu bars of the pane modes, the
// right-click menus and the tray menu), in every pane mode: the frame's update step
// runs through the view's command routing, and an item that nothing enables and for
// which no handler answers ends greyed. None may, but for the few listed below. And in
// each mode a pane is brought into as a user brings it there, an item of the menus
// shown there that is left enabled acts when chosen: it opens a window or a dialog,
// asks, starts a command, or changes a setting, a pane, the clipboard or a file.
#include "tests/view/CommandTestSupport.h"

#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/ViewerSettings.h"
#include "archivefront/ArchiveFront.h"
#include "res/ContextMenus.h"
#include "res/GraphicViewerDialogs.h"
#include "res/Menus.h"
#include "res/TrayMenu.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "viewers/binary/BinaryData.h"
#include "util/IniFile.h"
#include "view/menus/MenuTable.h"
#include "view/settings/ViewSettingsLink.h"

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using commandtest::CommandBench;

// Menus of other windows, which route their items themselves.
const UINT kOtherWindowsMenus[] = {IDR_SMALL_GRAPHIC_MENU};

// Items the frame hands past the view to the application, whose handler this test
// program does not hold.
const UINT kHandledByTheApplication[] = {
    0xE140, // the About box
};

// Items that stay grey on purpose.
struct Exception
{
    UINT id;
    const char* reason;
};
const Exception kExceptions[] = {
    {3028, "the anchor of the playback devices: it stands for no device"},
    {3029, "the anchor of the recording devices: it stands for no device"},
};

BOOL CALLBACK CollectMenu(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<UINT>*>(param)->push_back(
            static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
    return TRUE;
}

std::vector<UINT> MenusToWalk()
{
    std::vector<UINT> ids;
    EnumResourceNamesW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(4) /* RT_MENU */, CollectMenu,
                       reinterpret_cast<LONG_PTR>(&ids));
    std::vector<UINT> out;
    for (UINT id : ids)
    {
        bool other = false;
        for (UINT skip : kOtherWindowsMenus)
            other = other || skip == id;
        if (!other)
            out.push_back(id);
    }
    return out;
}

bool HandledByTheApplication(UINT id)
{
    for (UINT handled : kHandledByTheApplication)
        if (handled == id)
            return true;
    return false;
}

const char* ExceptionReason(UINT id)
{
    for (const Exception& e : kExceptions)
        if (e.id == id)
            return e.reason;
    return nullptr;
}

std::string Utf8(const CString& text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), &out[0], length, nullptr, nullptr);
    return out;
}

// Thrown from the command observer: the item reached a command of the tables, which is
// acting; the command itself is not run, as a walk over every item must not copy,
// delete or end anything.
struct CommandStarted
{
};

// While it lives, every window this thread would create is counted and refused (a
// dialog's DoModal then returns -1 at once), every question of the program's own
// message and input dialogs is counted, and every command of the tables that starts
// is counted and stopped before it runs.
class ActionWatch
{
public:
    ActionWatch()
    {
        s_windows = 0;
        m_dialogObserver = g_DialogOpenObserver;
        g_DialogOpenObserver = [](const CDialog&) { ++s_windows; };
        m_hook = SetWindowsHookExW(WH_CBT, RefuseWindow, nullptr, GetCurrentThreadId());
        m_observer = g_CommandObserver;
        g_CommandObserver = [](const CommandEntry&, LPCWSTR, LPCWSTR) { throw CommandStarted(); };
    }
    ~ActionWatch()
    {
        g_CommandObserver = m_observer;
        g_DialogOpenObserver = m_dialogObserver;
        if (m_hook != nullptr)
            UnhookWindowsHookEx(m_hook);
    }
    ActionWatch(const ActionWatch&) = delete;
    ActionWatch& operator=(const ActionWatch&) = delete;

    bool Hooked() const { return m_hook != nullptr; }
    bool Acted(bool commandStarted) const
    {
        return commandStarted || s_windows > 0 || !m_script.GetQuestions().empty();
    }

private:
    static LRESULT CALLBACK RefuseWindow(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND)
        {
            ++s_windows;
            return 1;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline int s_windows = 0;
    HHOOK m_hook = nullptr;
    CommandObserver m_observer = nullptr;
    void (*m_dialogObserver)(const CDialog&) = nullptr;
    CDialogAnswerScript m_script;
};

// Items that may do nothing when chosen here: the choice already in use, and those whose
// work happens where this test cannot see it.
const Exception kActsUnseen[] = {
    {486,
     "the first filer layout, the one in use: choosing the layout in use keeps it, and each other layout "
     "item changes it"},
    {809,
     "brings the main window back from the task tray, whose menu is shown only while the window is hidden "
     "there; the view of this test has no window"},
    {908, "selects the line at the point the right-click menu opened at, which needs the view's window"},
    {911, "selects the address at the point the right-click menu opened at, which needs the view's window"},
    {988,
     "opens the address at the point the right-click menu opened at in the browser, a program of its own"},
};

class MenuWalkTest : public CommandBench
{
protected:
    // The frame's update of one item (CCmdUI::DoUpdate taken apart): true when it ends
    // greyed because neither the update step set its state nor a handler answers.
    bool GreyForLackOfRoute(HMENU popup, int index)
    {
        CCmdUI ui;
        ui.m_nID = GetMenuItemID(popup, index);
        ui.m_hMenu = popup;
        ui.m_nIndex = static_cast<UINT>(index);
        ui.m_nIndexMax = static_cast<UINT>(GetMenuItemCount(popup));
        View().OnCmdMsg(ui.m_nID, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        if (ui.m_bEnableChanged || ui.m_nID >= 0xF000)
            return false;
        if (HandledByTheApplication(ui.m_nID))
            return false;
        FwCmdHandlerInfo info{};
        const BOOL handler = View().OnCmdMsg(ui.m_nID, CN_COMMAND, &ui, &info);
        ui.Enable(handler);
        return !handler;
    }

    // The ids of every item of the menu, with the state the update step leaves: true
    // when it is enabled.
    void CollectEnabled(HMENU popup, std::map<UINT, bool>& items)
    {
        for (int i = 0; i < GetMenuItemCount(popup); ++i)
        {
            if (HMENU sub = GetSubMenu(popup, i))
            {
                CollectEnabled(sub, items);
                continue;
            }
            const UINT id = GetMenuItemID(popup, i);
            if (id == 0 || id == static_cast<UINT>(-1) || id >= 0xF000 || HandledByTheApplication(id))
                continue;
            GreyForLackOfRoute(popup, i);
            const bool enabled = (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED) == 0;
            items[id] = items[id] || enabled;
        }
    }

    // What a user could see changed: every setting the program would save, and the
    // panes' modes, places, cursors and marks.
    std::string StateSnapshot()
    {
        const std::wstring path = std::wstring(m_dir) + L"\\snapshot.ini";
        {
            CIniFile ini;
            if (ini.Create(path.c_str()))
            {
                SaveSettingsSections(ini, LendViewData(View()));
                ini.Close();
            }
        }
        std::ostringstream state;
        state << qvtest::ReadFileBytes(path);
        for (CFilerPane* pane : g_Panes)
        {
            if (pane == nullptr)
                continue;
            state << '|' << pane->m_mode << ',' << pane->m_subMode << ',' << pane->m_position << ','
                  << pane->m_cursor << ',' << pane->m_firstVisible << ',' << pane->m_markedCount << ','
                  << pane->m_entries.GetSize() << ',' << Utf8(pane->m_currentDir);
            if (pane->m_viewer != nullptr)
                state << ",viewer " << pane->m_viewer->LineCount() << ',' << pane->m_viewer->GetLineWidth()
                      << ',' << pane->m_viewer->GetTabWidth() << ',' << pane->m_viewer->GetEncoding() << ','
                      << pane->m_viewer->GetTopLine();
            if (const CBinaryData* data = pane->m_binaryData)
                state << ",binary " << data->m_size << ',' << data->m_cursor << ',' << data->m_firstLine
                      << ',' << data->m_selAnchor << ',' << data->m_selEnd << ',' << data->IsModified();
        }
        // The view's own switches, the bytes it keeps for pasting, the clipboard and the
        // files of the folder the panes show.
        CQvView& view = View();
        state << "|companion " << view.m_nCompanionPane << ",following " << view.m_previews.followingPane
              << ",bytes " << view.m_binary.clipboard.length << ",clipboard " << GetClipboardSequenceNumber();
        for (const std::wstring& name : qvtest::ListFolder(std::wstring(m_dir)))
            state << '|' << Utf8(name.c_str()) << '='
                  << qvtest::ReadFileBytes(std::wstring(m_dir) + L"\\" + name);
        return state.str();
    }

    // Chooses the item as the frame does and tells whether it acted; `changed` tells
    // whether it left the state changed.
    bool Acts(UINT id, bool& changed)
    {
        if (m_snapshot.empty())
            m_snapshot = StateSnapshot();
        const std::string before = m_snapshot;
        bool started = false;
        bool acted = false;
        {
            ActionWatch watch;
            EXPECT_TRUE(watch.Hooked());
            try
            {
                View().OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
            }
            catch (const CommandStarted&)
            {
                started = true;
            }
            acted = watch.Acted(started);
        }
        m_snapshot = StateSnapshot();
        changed = m_snapshot != before;
        return acted || changed;
    }

    void Walk(HMENU popup, const std::string& path, std::vector<std::string>& faults)
    {
        for (int i = 0; i < GetMenuItemCount(popup); ++i)
        {
            if (HMENU sub = GetSubMenu(popup, i))
            {
                Walk(sub, path + "/" + std::to_string(i), faults);
                continue;
            }
            const UINT id = GetMenuItemID(popup, i);
            if (id == 0 || id == static_cast<UINT>(-1))
                continue;
            if (GreyForLackOfRoute(popup, i) && ExceptionReason(id) == nullptr)
                faults.push_back(path + "/" + std::to_string(i) + " id " + std::to_string(id));
        }
    }

    // The state after the last item chosen, empty after a fresh start.
    std::string m_snapshot;
};

TEST_F(MenuWalkTest, NoItemOfAnyMenuIsGreyForLackOfARoute)
{
    const UINT kModes[] = {PANE_MODE_FILER,   PANE_MODE_DRIVE_LIST,  PANE_MODE_ARCHIVE,
                           PANE_MODE_NETWORK, PANE_MODE_TEXT_VIEWER, PANE_MODE_ARCHIVE_TEXT_VIEWER,
                           PANE_MODE_BINARY,  PANE_MODE_GRAPHIC,     PANE_MODE_ARCHIVE_GRAPHIC};
    const std::vector<UINT> menus = MenusToWalk();
    ASSERT_GE(menus.size(), 15u) << "the seven bars, the right-click menus and the tray menu";
    std::vector<std::string> faults;
    for (UINT mode : kModes)
    {
        m_panes[0]->m_mode = mode;
        for (UINT menuId : menus)
        {
            HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
            ASSERT_NE(nullptr, menu) << menuId;
            Walk(menu, "mode " + std::to_string(mode) + " menu " + std::to_string(menuId), faults);
            DestroyMenu(menu);
        }
    }
    std::string all;
    for (const std::string& fault : faults)
        all += fault + "\n";
    EXPECT_TRUE(faults.empty()) << faults.size() << " items without a route:\n" << all;
}

// The ids of every item of the menu and its popups.
void CollectIds(HMENU popup, std::set<UINT>& ids)
{
    for (int i = 0; i < GetMenuItemCount(popup); ++i)
    {
        if (HMENU sub = GetSubMenu(popup, i))
        {
            CollectIds(sub, ids);
            continue;
        }
        const UINT id = GetMenuItemID(popup, i);
        if (id != 0 && id != static_cast<UINT>(-1))
            ids.insert(id);
    }
}

// The menu table and the menus the view shows, both ways: every item of a menu
// resource is served by a row (its own, or a keyword's row of the command tables),
// every id of a fixed row stands in a menu, and no id has two rows.
TEST_F(MenuWalkTest, EveryItemOfAMenuHasARowAndEveryRowIsInAMenu)
{
    std::set<UINT> inMenus;
    for (UINT menuId : MenusToWalk())
    {
        HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
        ASSERT_NE(nullptr, menu) << menuId;
        CollectIds(menu, inMenus);
        DestroyMenu(menu);
    }
    ASSERT_GE(inMenus.size(), 290u) << "the items of the seven bars, the right-click menus and the tray menu";
    std::string faults;
    for (UINT id : inMenus)
        if (id < 0xF000 && !HandledByTheApplication(id) && FindMenuRow(id) == nullptr)
            faults += "menu item " + std::to_string(id) + " has no row\n";
    size_t count = 0;
    const MenuRow* rows = GetMenuRows(&count);
    ASSERT_GT(count, 0u);
    std::map<UINT, size_t> rowOfId;
    for (size_t i = 0; i < count; ++i)
    {
        const MenuRow& row = rows[i];
        if (row.last < row.first)
            faults += "row " + std::to_string(i) + " ends before it starts\n";
        // The ranges filled at run time are checked by their first and last ids only:
        // the shell's range is forty thousand ids wide.
        std::vector<UINT> ids;
        if (row.filledAtRunTime)
            ids = {row.first, row.last};
        else
            for (UINT id = row.first; id <= row.last; ++id)
                ids.push_back(id);
        for (UINT id : ids)
        {
            if (!rowOfId.emplace(id, i).second)
                faults += "id " + std::to_string(id) + " has two rows, " + std::to_string(rowOfId[id]) +
                          " and " + std::to_string(i) + "\n";
            if (FindMenuRow(id) != &row)
                faults += "id " + std::to_string(id) + " does not find its row " + std::to_string(i) + "\n";
            if (!row.filledAtRunTime && inMenus.count(id) == 0)
                faults += "row " + std::to_string(i) + ": id " + std::to_string(id) + " is in no menu\n";
        }
    }
    EXPECT_TRUE(faults.empty()) << faults;
}

// The modes a pane is brought into as a user brings it there: over a folder of a
// text file, a binary file and a zip, by the command that opens each.
struct ReachedMode
{
    UINT mode;
    const wchar_t* cursorFile;
    const wchar_t* keyword;
    const wchar_t* thenKeyword; // run next, on the first row of what the first one opened
};
const ReachedMode kReachedModes[] = {
    {PANE_MODE_FILER, L"a.txt", nullptr},
    {PANE_MODE_DRIVE_LIST, nullptr, L"@Drivelist"},
    {PANE_MODE_ARCHIVE, L"arc.zip", L"@Packview"},
    {PANE_MODE_TEXT_VIEWER, L"a.txt", L"@View"},
    {PANE_MODE_BINARY, L"b.bin", L"@Binaryedit"},
    {PANE_MODE_ARCHIVE_TEXT_VIEWER, L"arc.zip", L"@Packview", L"@View"},
};

// The menus a user sees in a mode: its menu bar, its right-click menus and the tray
// menu.
std::vector<UINT> MenusShownIn(UINT mode)
{
    std::vector<UINT> menus = {GetModeMenuId(mode), IDR_MENU_TRAY};
    switch (mode)
    {
    case PANE_MODE_FILER:
        menus.insert(menus.end(), {IDR_CONTEXT_FILER, IDR_CONTEXT_NEW_FILE, IDR_CONTEXT_FALLBACK});
        break;
    case PANE_MODE_DRIVE_LIST:
        menus.insert(menus.end(), {IDR_CONTEXT_DRIVE_LIST, IDR_CONTEXT_FALLBACK});
        break;
    case PANE_MODE_ARCHIVE:
        menus.push_back(IDR_CONTEXT_ARCHIVE);
        break;
    case PANE_MODE_TEXT_VIEWER:
    case PANE_MODE_ARCHIVE_TEXT_VIEWER:
        menus.push_back(IDR_CONTEXT_TEXT_VIEWER);
        break;
    case PANE_MODE_BINARY:
        menus.push_back(IDR_CONTEXT_BINARY);
        break;
    default:
        break;
    }
    return menus;
}

class MenuActionWalkTest : public MenuWalkTest
{
protected:
    void SetUp() override
    {
        MenuWalkTest::SetUp();
        Set(g_NOTVIEWUPDIR, 1);
        Set(g_NOTVIEWCURRENTDIR, 1);
        // Line widths of their own, none the one in use, so that each preset rewraps.
        Set(g_VIEWCHARWIDE, 80);
        for (int i = 0; i < 5; ++i)
            Set(g_ViewerLineWidths[i], 40 + 20 * i + (i >= 2 ? 20 : 0));
        ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\a.txt",
                                           std::string(300, 'w') + "\r\nhttp://example.com/\r\n"));
        ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(m_dir) + L"\\b.bin",
                                           std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8)));
        sztest::WriteStoredZip(std::wstring(m_dir) + L"\\arc.zip", {{"in.txt", "inner"}});
    }
    void TearDown() override
    {
        ReleasePanes();
        MenuWalkTest::TearDown();
    }
    void ReleasePanes()
    {
        for (auto& pane : m_panes)
            if (pane != nullptr)
            {
                delete pane->m_binaryData;
                pane->m_binaryData = nullptr;
                pane->ReleaseViewerData();
                if (pane->m_archive != nullptr)
                    pane->m_archive->Close();
            }
    }
    // Every item of the menus shown in the mode that is left enabled there is chosen,
    // each from the same start; the test fails on those that did nothing.
    void WalkMode(const ReachedMode& reached)
    {
        ASSERT_TRUE(Reach(reached));
        std::map<UINT, bool> items;
        for (UINT menuId : MenusShownIn(reached.mode))
        {
            HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
            ASSERT_NE(nullptr, menu) << menuId;
            CollectEnabled(menu, items);
            DestroyMenu(menu);
        }
        std::vector<UINT> faults;
        bool changed = false;
        for (const auto& item : items)
        {
            if (!item.second || ExceptionReason(item.first) != nullptr)
                continue;
            bool unseen = false;
            for (const Exception& e : kActsUnseen)
                unseen = unseen || e.id == item.first;
            if (unseen)
                continue;
            // One that changed something, which may be the mode, is followed by a
            // fresh start.
            if (changed)
                ASSERT_TRUE(Reach(reached)) << item.first;
            if (!Acts(item.first, changed))
                faults.push_back(item.first);
        }
        std::string all;
        for (UINT id : faults)
            all += " " + std::to_string(id);
        EXPECT_TRUE(faults.empty()) << "enabled items that do nothing in mode " << reached.mode << ":" << all;
    }

    // Both panes new over the folder, pane 0 active, then brought into the mode.
    bool Reach(const ReachedMode& reached)
    {
        m_snapshot.clear();
        ReleasePanes();
        for (int i = 0; i < 2; ++i)
        {
            m_panes[i] = std::make_unique<CFilerPane>(i);
            m_panes[i]->m_position = i == 0 ? PANE_POS_ACTIVE : PANE_POS_OTHER;
            m_panes[i]->m_mode = PANE_MODE_FILER;
            m_panes[i]->m_subMode = PANE_SUB_DIRECTORY;
            delete m_panes[i]->m_archive;
            m_panes[i]->m_archive = CArchiveFront::CreateForPane();
            g_Panes[i] = m_panes[i].get();
            View().ChangePaneDirectory(i, m_dir, 1, 0, FALSE);
        }
        if (reached.cursorFile != nullptr)
            m_panes[0]->SetCursorToName(reached.cursorFile, FALSE, 0);
        if (reached.keyword != nullptr)
            View().ExecuteFilerCommand(reached.keyword);
        if (reached.thenKeyword != nullptr)
        {
            m_panes[0]->m_cursor = 0;
            View().ExecuteFilerCommand(reached.thenKeyword);
        }
        // The editor holds a change, bytes copied and a selection of another length, as
        // while a user edits; a plain cursor move ends the first selection.
        if (reached.mode == PANE_MODE_BINARY && m_panes[0]->m_binaryData != nullptr)
            for (LPCWSTR keyword : {L"@InputA", L"@Selectright", L"@Selectright", L"@Copydata", L"@Right",
                                    L"@Selectright", L"@Selectright", L"@Selectright", L"@Selectright"})
                View().ExecuteBinaryCommand(keyword);
        return m_panes[0]->m_mode == reached.mode;
    }
};

TEST_F(MenuActionWalkTest, AnItemLeftEnabledInTheFilerActsWhenChosen)
{
    WalkMode(kReachedModes[0]);
}

TEST_F(MenuActionWalkTest, AnItemLeftEnabledInTheDriveListActsWhenChosen)
{
    WalkMode(kReachedModes[1]);
}

TEST_F(MenuActionWalkTest, AnItemLeftEnabledInAnArchiveListingActsWhenChosen)
{
    WalkMode(kReachedModes[2]);
}

TEST_F(MenuActionWalkTest, AnItemLeftEnabledInTheTextViewerActsWhenChosen)
{
    WalkMode(kReachedModes[3]);
}

TEST_F(MenuActionWalkTest, AnItemLeftEnabledInTheBinaryEditorActsWhenChosen)
{
    WalkMode(kReachedModes[4]);
}

TEST_F(MenuActionWalkTest, AnItemLeftEnabledInTheTextViewerOfAMemberActsWhenChosen)
{
    WalkMode(kReachedModes[5]);
}

} // namespace
