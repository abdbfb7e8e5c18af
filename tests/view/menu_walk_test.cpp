// Every item of every menu the view shows (the menu bars of the pane modes, the
// right-click menus and the tray menu), in every pane mode: the frame's update step
// runs through the view's command routing, and an item that nothing enables and for
// which no handler answers ends greyed. None may, but for the few listed below.
#include "tests/view/CommandTestSupport.h"

#include "res/GraphicViewerDialogs.h"

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

const char* ExceptionReason(UINT id)
{
    for (const Exception& e : kExceptions)
        if (e.id == id)
            return e.reason;
    return nullptr;
}

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
        for (UINT id : kHandledByTheApplication)
            if (id == ui.m_nID)
                return false;
        FwCmdHandlerInfo info{};
        const BOOL handler = View().OnCmdMsg(ui.m_nID, CN_COMMAND, &ui, &info);
        ui.Enable(handler);
        return !handler;
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

} // namespace
