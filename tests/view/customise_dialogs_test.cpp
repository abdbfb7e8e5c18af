// The customisation dialogs driven as a user would: the applet list runs the chosen
// applet and stays open, the don't-load list keeps ten rows, the plug-in list shows
// its entries newest first, and the hidden-menu table changes only on OK.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app/Settings.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/settings/ToolSettings.h"
#include "res/CustomiseDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/common/TestSupport.h"
#include "tools/cpl/AppletCommands.h"
#include "tools/cpl/ControlPanelDlg.h"
#include "tools/cpl/NonLoadCplDlg.h"
#include "tools/menus/NotViewMenuDlg.h"
#include "tools/plugins/PlugInDlg.h"

#include <string>
#include <vector>

namespace
{

std::wstring ItemText(HWND dialog, int id)
{
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

std::vector<std::string> g_started;

UINT WINAPI KeepCommandLine(LPCSTR commandLine, UINT)
{
    g_started.push_back(commandLine);
    return 33;
}

class CDrivenControlPanelDlg : public qvtest::CDrivenDialog<CDrivenControlPanelDlg, CControlPanelDlg>
{
public:
    void Select(int row)
    {
        SendDlgItemMessageW(m_hWnd, IDC_CPL_LIST, LB_SETCURSEL, row, 0);
        Command(IDC_CPL_LIST, LBN_SELCHANGE);
    }
};

class CDrivenNonLoadCplDlg : public qvtest::CDrivenDialog<CDrivenNonLoadCplDlg, CNonLoadCplDlg>
{
public:
    CString m_chosen;
    CString m_offered;

protected:
    BOOL ChooseFile(CString& path) override
    {
        m_offered = path;
        path = m_chosen;
        return !m_chosen.IsEmpty();
    }
};

class CDrivenPlugInDlg : public qvtest::CDrivenDialog<CDrivenPlugInDlg, CPlugInDlg>
{
public:
    HWND List() const { return ::GetDlgItem(m_hWnd, IDC_PLUGIN_LIST); }
    std::wstring Cell(int row, int column) const
    {
        wchar_t text[128] = {};
        ListView_GetItemText(List(), row, column, text, 128);
        return text;
    }
    void SelectOnly(int row)
    {
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
        ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
    }
};

class CDrivenNotViewMenuDlg : public qvtest::CDrivenDialog<CDrivenNotViewMenuDlg, CNotViewMenuDlg>
{
public:
    void Mode(int row)
    {
        SendDlgItemMessageW(m_hWnd, IDC_NOT_VIEW_MENU_MODE, CB_SETCURSEL, row, 0);
        Command(IDC_NOT_VIEW_MENU_MODE, CBN_SELCHANGE);
    }
    CCheckListBox& Items() { return m_items; }
};

class CustomiseDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedApplets.Copy(g_CplList);
        m_savedNonLoad.Copy(g_NonLoadCplList);
        m_savedPlugIns.Copy(g_PlugInList);
        m_savedDir = g_PlugInDir;
        m_savedLoadType = g_QVPLUGINLOADTYPE;
        for (int i = 0; i < kHiddenMenuRowCount; ++i)
            m_savedHidden[i] = g_HiddenMenuTable[i];
        CplApi api = g_CplApi;
        api.folder = L"C:\\applets";
        api.execute = KeepCommandLine;
        m_api = new ScopedCplApi(api);
        g_started.clear();
    }
    void TearDown() override
    {
        delete m_api;
        g_CplList.Copy(m_savedApplets);
        g_NonLoadCplList.Copy(m_savedNonLoad);
        g_PlugInList.Copy(m_savedPlugIns);
        g_PlugInDir = m_savedDir;
        g_QVPLUGINLOADTYPE = m_savedLoadType;
        for (int i = 0; i < kHiddenMenuRowCount; ++i)
            g_HiddenMenuTable[i] = m_savedHidden[i];
    }

    CArray<CCplEntry> m_savedApplets;
    CStringArray m_savedNonLoad;
    CArray<CQvPlugIn> m_savedPlugIns;
    CString m_savedDir;
    int m_savedLoadType = 0;
    HiddenMenuRow m_savedHidden[kHiddenMenuRowCount];
    ScopedCplApi* m_api = nullptr;
};

TEST_F(CustomiseDialogs, AppletListRunsTheChosenAppletAndStaysOpen)
{
    g_CplList.RemoveAll();
    g_CplList.Add(CCplEntry{L"MAIN.CPL", L"Keyboard", L"keys", 1});
    g_CplList.Add(CCplEntry{L"sound.cpl", L"Sound", L"sounds", 0});
    std::vector<std::wstring> lines, descriptions;
    bool openAfterRun = false;
    CDrivenControlPanelDlg dialog;
    dialog.drive = [&](CDrivenControlPanelDlg& d) {
        lines = d.ListBoxLines(IDC_CPL_LIST);
        descriptions.push_back(ItemText(d.m_hWnd, IDC_CPL_DESCRIPTION));
        d.Select(1);
        descriptions.push_back(ItemText(d.m_hWnd, IDC_CPL_DESCRIPTION));
        d.Command(IDOK);
        d.Select(0);
        d.Command(IDOK);
        openAfterRun = IsWindow(d.m_hWnd) != FALSE;
        d.Select(-1);
        descriptions.push_back(ItemText(d.m_hWnd, IDC_CPL_DESCRIPTION));
        d.Command(IDOK);
        d.Command(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"Keyboard", L"Sound"}));
    EXPECT_EQ(descriptions, (std::vector<std::wstring>{L"keys", L"sounds", L""}));
    EXPECT_TRUE(openAfterRun);
    // The system folder's path is plain ASCII.
    const std::wstring wide = qvtest::AppletCommandPrefix();
    const std::string run(wide.begin(), wide.end());
    EXPECT_EQ(g_started, (std::vector<std::string>{run + "C:\\applets\\sound.cpl",
                                                   run + "C:\\applets\\MAIN.CPL Keyboard"}));
}

TEST_F(CustomiseDialogs, DontLoadListKeepsTenRowsAndOnlyOkStoresThem)
{
    for (INT_PTR answer : {IDCANCEL, IDOK})
    {
        g_NonLoadCplList.RemoveAll();
        for (int i = 0; i < NON_LOAD_CPL_COUNT; ++i)
            g_NonLoadCplList.Add(i == 1 ? CString(L"b.cpl") : CString());
        std::wstring shown;
        CDrivenNonLoadCplDlg dialog;
        dialog.m_chosen = L"C:\\Windows\\System32\\Joy.cpl";
        dialog.drive = [&](CDrivenNonLoadCplDlg& d) {
            shown = ItemText(d.m_hWnd, IDC_NON_LOAD_CPL_EDIT0 + 1);
            SetDlgItemTextW(d.m_hWnd, IDC_NON_LOAD_CPL_EDIT0 + 1, L"");
            SetDlgItemTextW(d.m_hWnd, IDC_NON_LOAD_CPL_EDIT0 + 9, L"old.cpl");
            d.Command(IDC_NON_LOAD_CPL_BROWSE0 + 9);
            d.Command(static_cast<int>(answer));
        };
        EXPECT_EQ(dialog.DoModal(), answer);
        EXPECT_EQ(shown, L"b.cpl");
        EXPECT_EQ(dialog.m_offered, CString(L"old.cpl")) << "the row's text is offered";
        ASSERT_EQ(g_NonLoadCplList.GetSize(), NON_LOAD_CPL_COUNT);
        EXPECT_EQ(g_NonLoadCplList[1], CString(answer == IDOK ? L"" : L"b.cpl"));
        EXPECT_EQ(g_NonLoadCplList[9], CString(answer == IDOK ? L"Joy.cpl" : L""))
            << "the name without its folder";
    }
}

TEST_F(CustomiseDialogs, PlugInListShowsEntriesNewestFirstAndEditsTheMenuFlag)
{
    EXPECT_EQ(FormatPlugInVersion(5), CString(L"0.05"));
    EXPECT_EQ(FormatPlugInVersion(123), CString(L"1.23"));
    g_PlugInList.RemoveAll();
    for (int i = 0; i < 3; ++i)
    {
        CQvPlugIn plugIn;
        plugIn.m_fileName.Format(L"p%d.dll", i);
        plugIn.m_functionName.Format(L"F%d", i);
        plugIn.m_version = static_cast<WORD>(5 + i * 100);
        plugIn.m_type = L"T";
        plugIn.m_keyString.Format(L"#K%d", i);
        g_PlugInList.Add(plugIn);
    }
    g_PlugInDir = L"C:\\old";
    g_QVPLUGINLOADTYPE = 0;
    for (INT_PTR end : {IDCANCEL, IDOK})
    {
        std::vector<std::wstring> firstRow, flags;
        CDrivenPlugInDlg dialog;
        dialog.drive = [&](CDrivenPlugInDlg& d) {
            for (int column = 0; column < 5; ++column)
                firstRow.push_back(d.Cell(0, column));
            d.SelectOnly(0);
            d.Command(IDC_PLUGIN_SHOW);
            for (int row = 0; row < 3; ++row)
                flags.push_back(d.Cell(row, 2));
            SetDlgItemTextW(d.m_hWnd, IDC_PLUGIN_DIR, L"C:\\new");
            CheckDlgButton(d.m_hWnd, IDC_PLUGIN_FROM_INI, BST_CHECKED);
            d.Command(static_cast<int>(end));
        };
        dialog.DoModal();
        EXPECT_EQ(firstRow, (std::vector<std::wstring>{L"F2", L"p2.dll", L"非表示", L"2.05", L"T"}));
        EXPECT_EQ(flags, (std::vector<std::wstring>{L"表示", L"非表示", L"非表示"}));
        EXPECT_EQ(g_PlugInList[2].m_showInMenu, 1) << "the list changes at once";
        EXPECT_EQ(g_PlugInList[0].m_showInMenu, 0);
        EXPECT_EQ(g_PlugInDir, CString(end == IDOK ? L"C:\\new" : L"C:\\old"));
        EXPECT_EQ(g_QVPLUGINLOADTYPE, end == IDOK ? 1 : 0);
        g_PlugInList[2].m_showInMenu = 0;
    }
    int rowsAfterReload = -1;
    CDrivenPlugInDlg dialog;
    dialog.drive = [&](CDrivenPlugInDlg& d) {
        d.Command(IDC_PLUGIN_RELOAD);
        rowsAfterReload = ListView_GetItemCount(d.List());
        d.Command(IDCANCEL);
    };
    dialog.DoModal();
    EXPECT_EQ(rowsAfterReload, 0);
    EXPECT_EQ(g_PlugInList.GetSize(), 0);
}

TEST_F(CustomiseDialogs, HiddenMenusChangePerModeAndOnlyOnOk)
{
    for (HiddenMenuRow& row : g_HiddenMenuTable)
        for (int& flag : row.hidden)
            flag = 0;
    for (INT_PTR end : {IDCANCEL, IDOK})
    {
        std::vector<std::wstring> filerItems;
        int keptAcrossModes = -1;
        CDrivenNotViewMenuDlg dialog;
        dialog.drive = [&](CDrivenNotViewMenuDlg& d) {
            filerItems = d.ListBoxLines(IDC_NOT_VIEW_MENU_ITEMS);
            d.Items().SetCheck(7, 1); // "ヘルプ(&H)" of the filer
            d.Mode(4);
            d.Items().SetCheck(1, 1); // "文字列の検索(&C)" of the file viewer
            d.Mode(0);
            keptAcrossModes = d.Items().GetCheck(7);
            d.Command(static_cast<int>(end));
        };
        EXPECT_EQ(dialog.DoModal(), end);
        ASSERT_EQ(filerItems.size(), 8u);
        EXPECT_EQ(filerItems[7], L"ヘルプ(&H)");
        EXPECT_EQ(keptAcrossModes, 1);
        const int on = end == IDOK ? 1 : 0;
        EXPECT_EQ(g_HiddenMenuTable[0].hidden[7], on);
        EXPECT_EQ(g_HiddenMenuTable[4].hidden[1], on);
        for (int row = 1; row < kHiddenMenuRowCount; ++row)
            EXPECT_EQ(g_HiddenMenuTable[row].hidden[row == 4 ? 0 : 7], 0) << "row " << row;
    }
}

} // namespace
