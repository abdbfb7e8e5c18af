// The user's right-click menu items: how each command form is labelled, what the
// dialog assigns, that only OK publishes the edits, that the device list never names
// a device twice, and that menu 821 opens the dialog.
#include "app/PlugInCommands.h"
#include "app/keys/CommandTables.h"
#include "app/keys/UserMenuText.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "res/ViewSetupDialogs.h"
#include "tests/common/DialogHarness.h"
#include "view/QvView.h"
#include "view/dialogs/RightClickMenuDlg.h"

#include <gtest/gtest.h>

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

// The control's own visible flag: the dialog itself may not be on the screen yet.
bool Shown(HWND dialog, int id)
{
    return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

std::vector<std::wstring> ComboLines(HWND dialog, int id)
{
    std::vector<std::wstring> lines;
    const LRESULT count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
    {
        std::wstring text(SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        lines.push_back(text.c_str());
    }
    return lines;
}

class CDrivenRightClickMenuDlg : public qvtest::CDrivenDialog<CDrivenRightClickMenuDlg, CRightClickMenuDlg>
{
public:
    CArray<CEndPointData> m_devices;
    CString m_chosenFolder;

    void Select(int list, int row, bool combo = false)
    {
        SendDlgItemMessageW(m_hWnd, list, combo ? CB_SETCURSEL : LB_SETCURSEL, row, 0);
        Command(list, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
    }
    int Selected(int list) const
    {
        return static_cast<int>(SendDlgItemMessageW(m_hWnd, list, LB_GETCURSEL, 0, 0));
    }

protected:
    int EnumDevices(int, CArray<CEndPointData>& out) override
    {
        out.Copy(m_devices);
        return 1;
    }
    BOOL ChooseFolder(CString& path) override
    {
        path = m_chosenFolder;
        return TRUE;
    }
};

// Keeps the user's entries, the plug-ins and the applets of the process.
class RightClickMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < kUserMenuEntryCount; ++i)
        {
            m_saved[i] = g_UserMenuEntries[i];
            g_UserMenuEntries[i] = UserMenuEntry();
        }
        m_savedPlugIns.Copy(g_PlugInList);
        m_savedApplets.Copy(g_CplList);
        g_PlugInList.RemoveAll();
        g_CplList.RemoveAll();
        CQvPlugIn plugIn;
        plugIn.m_fileName = L"tool.dll";
        plugIn.m_functionName = L"Func";
        plugIn.m_keyString = L"#K1";
        g_PlugInList.Add(plugIn);
        CCplEntry applet;
        applet.m_file = L"main.cpl";
        applet.m_name = L"Mouse";
        applet.m_appendName = 1;
        g_CplList.Add(applet);
    }
    void TearDown() override
    {
        for (int i = 0; i < kUserMenuEntryCount; ++i)
            g_UserMenuEntries[i] = m_saved[i];
        g_PlugInList.Copy(m_savedPlugIns);
        g_CplList.Copy(m_savedApplets);
    }

    UserMenuEntry m_saved[kUserMenuEntryCount];
    CArray<CQvPlugIn> m_savedPlugIns;
    CArray<CCplEntry> m_savedApplets;
};

TEST_F(RightClickMenuTest, EachCommandFormHasItsLabel)
{
    const CString copyName = GetCommandDisplayName(*FindCommandRowByKeyword(COMMAND_FAMILY_FILER, L"@Copy"));
    struct Case
    {
        LPCWSTR command;
        LPCWSTR display;
        int number;
        std::wstring label;
        int result;
    };
    const Case cases[] = {
        {L"", L"", 3, L"メニュー3", 0},
        {L"", L"名前だけ", 9, L"メニュー9", 0},
        {L"notepad.exe,%c", L"Edit", 0, L"Edit", 1},
        {L"notepad.exe,%c", L"", 0, L"notepad.exe", 1},
        {L"@Keyjumpdir C:\\Work", L"", 1, L"C:\\Workへ移動", 1},
        {L"@Defaultexe C:\\Tools\\view.exe,%c", L"", 2, L"C:\\Tools\\view.exe(デフォルト実行)", 1},
        {L"@Defaultcpl gone.cpl Gone,x", L"", 3, L"@Defaultcpl gone.cpl Gone", 1},
        {L"@Defaultcpl MAIN.CPL mouse", L"", 3, L"Mouse", 1},
        {L"@Copy", L"", 4, std::wstring(copyName), 1},
        {L"@SetAudioPlayback Speakers", L"", 5, L"出力デバイス:Speakers", 1},
        {L"@SetAudioCapture Mic", L"", 5, L"入力デバイス:Mic", 1},
        // A plug-in is named by the plug-in, whatever text the entry carries.
        {L"#K1,TOOL.DLL", L"表示", 6, L"Func,tool.dll", 1},
        {L"#K9,tool.dll", L"", 6, L"#K9", 1},
        {L"C:\\bin\\run.exe -a,b", L"", 7, L"C:\\bin\\run.exe -a", 1},
    };
    for (const Case& c : cases)
    {
        CString label = L"before";
        EXPECT_EQ(c.result, GetUserMenuItemText(c.command, c.display, c.number, label)) << c.command;
        EXPECT_EQ(c.label, std::wstring(label)) << c.command;
    }
}

TEST_F(RightClickMenuTest, OnlyOkPublishesTheEdits)
{
    g_UserMenuEntries[2].m_command = L"@Copy";
    for (INT_PTR answer : {IDCANCEL, IDOK})
    {
        std::vector<std::wstring> labels;
        CDrivenRightClickMenuDlg dialog;
        dialog.drive = [&](CDrivenRightClickMenuDlg& d) {
            labels = d.ListBoxLines(IDC_USERMENU_ENTRIES);
            // Entry 1: a program run by the default association, with arguments and a
            // name of its own.
            d.Select(IDC_USERMENU_ENTRIES, 1);
            d.Select(IDC_USERMENU_CATEGORY, COMMAND_CATEGORY_COUNT - 1, true);
            d.Select(IDC_USERMENU_FUNCTIONS, 1);
            SetDlgItemTextW(d.m_hWnd, IDC_USERMENU_PROGRAM, L"C:\\v.exe");
            SetDlgItemTextW(d.m_hWnd, IDC_USERMENU_ARGUMENTS, L"%c");
            d.Command(IDC_USERMENU_ASSIGN);
            SetDlgItemTextW(d.m_hWnd, IDC_USERMENU_DISPLAY, L"見る");
            d.Command(IDC_USERMENU_ASSIGN_TEXT);
            // Entry 2 loses its command: nothing chosen in the file-execution list.
            d.Select(IDC_USERMENU_ENTRIES, 2);
            d.Select(IDC_USERMENU_CATEGORY, COMMAND_CATEGORY_COUNT - 1, true);
            EXPECT_EQ(-1, d.Selected(IDC_USERMENU_FUNCTIONS));
            d.Select(IDC_USERMENU_FUNCTIONS, 0);
            d.Command(IDC_USERMENU_ASSIGN);
            EXPECT_EQ(L"見る", d.ListBoxLines(IDC_USERMENU_ENTRIES)[1]);
            EXPECT_EQ(L"メニュー2", d.ListBoxLines(IDC_USERMENU_ENTRIES)[2]);
            EXPECT_EQ(2, d.Selected(IDC_USERMENU_ENTRIES));
            d.Command(static_cast<int>(answer));
        };
        EXPECT_EQ(answer, dialog.DoModal());
        ASSERT_EQ(10u, labels.size());
        EXPECT_EQ(L"メニュー0", labels[0]);
        EXPECT_EQ(L"メニュー9", labels[9]);
        EXPECT_EQ(L"@Defaultexe C:\\v.exe,%c", std::wstring(dialog.m_entries[1].m_command));
        if (answer == IDCANCEL)
        {
            EXPECT_TRUE(g_UserMenuEntries[1].m_command.IsEmpty());
            EXPECT_TRUE(g_UserMenuEntries[1].m_display.IsEmpty());
            EXPECT_EQ(L"@Copy", std::wstring(g_UserMenuEntries[2].m_command));
            continue;
        }
        EXPECT_EQ(L"@Defaultexe C:\\v.exe,%c", std::wstring(g_UserMenuEntries[1].m_command));
        EXPECT_EQ(L"見る", std::wstring(g_UserMenuEntries[1].m_display));
        EXPECT_TRUE(g_UserMenuEntries[2].m_command.IsEmpty());
    }
}

TEST_F(RightClickMenuTest, TheDeviceListNeverNamesADeviceTwice)
{
    g_UserMenuEntries[0].m_command = L"@SetAudioPlayback speakers";
    std::vector<std::wstring> devices;
    std::wstring shown;
    CDrivenRightClickMenuDlg dialog;
    for (LPCWSTR name : {L"Speakers", L"Headphones", L"", L"HEADPHONES"})
    {
        CEndPointData device;
        device.m_name = name;
        dialog.m_devices.Add(device);
    }
    dialog.drive = [&](CDrivenRightClickMenuDlg& d) {
        devices = ComboLines(d.m_hWnd, IDC_USERMENU_DEVICE);
        shown = ItemText(d.m_hWnd, IDC_USERMENU_DEVICE);
        EXPECT_TRUE(Shown(d.m_hWnd, IDC_USERMENU_DEVICE));
        EXPECT_FALSE(Shown(d.m_hWnd, IDC_USERMENU_PROGRAM));
        EXPECT_EQ(L"デバイス", ItemText(d.m_hWnd, IDC_USERMENU_ARG_LABEL));
        // Choosing another device and assigning it.
        SendDlgItemMessageW(d.m_hWnd, IDC_USERMENU_DEVICE, CB_SETCURSEL, 1, 0);
        d.Command(IDC_USERMENU_ASSIGN);
        d.Command(IDOK);
    };
    dialog.DoModal();
    EXPECT_EQ((std::vector<std::wstring>{L"speakers", L"Headphones"}), devices);
    EXPECT_EQ(L"speakers", shown);
    EXPECT_EQ(L"@SetAudioPlayback Headphones", std::wstring(g_UserMenuEntries[0].m_command));
}

TEST_F(RightClickMenuTest, FunctionsOfEachKindAreAssigned)
{
    g_UserMenuEntries[0].m_command = L"@Keyjumpdir C:\\Old";
    g_UserMenuEntries[1].m_command = L"@Defaultcpl main.cpl Mouse";
    g_UserMenuEntries[2].m_command = L"#K1,tool.dll";
    CDrivenRightClickMenuDlg dialog;
    dialog.m_chosenFolder = L"D:\\New";
    std::wstring jumpLabel, jumpShown;
    int appletRow = -1, plugInRow = -1;
    dialog.drive = [&](CDrivenRightClickMenuDlg& d) {
        jumpLabel = ItemText(d.m_hWnd, IDC_USERMENU_ARG_LABEL);
        jumpShown = ItemText(d.m_hWnd, IDC_USERMENU_PROGRAM);
        d.Command(IDC_USERMENU_BROWSE);
        d.Command(IDC_USERMENU_ASSIGN);
        d.Select(IDC_USERMENU_ENTRIES, 1);
        appletRow = d.Selected(IDC_USERMENU_FUNCTIONS);
        d.Select(IDC_USERMENU_ENTRIES, 2);
        plugInRow = d.Selected(IDC_USERMENU_FUNCTIONS);
        // Entry 3: the applet from the control-panel category.
        d.Select(IDC_USERMENU_ENTRIES, 3);
        d.Select(IDC_USERMENU_CATEGORY, COMMAND_CATEGORY_CONTROL_PANEL, true);
        const LRESULT rows = SendDlgItemMessageW(d.m_hWnd, IDC_USERMENU_FUNCTIONS, LB_GETCOUNT, 0, 0);
        d.Select(IDC_USERMENU_FUNCTIONS, static_cast<int>(rows - 1));
        d.Command(IDC_USERMENU_ASSIGN);
        d.Command(IDOK);
    };
    dialog.DoModal();
    EXPECT_EQ(L"DIR名", jumpLabel);
    EXPECT_EQ(L"C:\\Old", jumpShown);
    EXPECT_EQ(L"@Keyjumpdir D:\\New", std::wstring(g_UserMenuEntries[0].m_command));
    int category8Rows = 0;
    for (int i = 0; i < FILER_COMMAND_COUNT; ++i)
        category8Rows += g_FilerCommandTable[i].category == COMMAND_CATEGORY_CONTROL_PANEL ? 1 : 0;
    EXPECT_EQ(category8Rows, appletRow);
    EXPECT_EQ(0, plugInRow);
    EXPECT_EQ(L"@Defaultcpl main.cpl Mouse", std::wstring(g_UserMenuEntries[3].m_command));
}

bool g_answered = false;

void CALLBACK CancelRightClickMenuDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindThreadDialog(L"右クリックのメニュー設定");
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    g_answered = true;
    SendDlgItemMessageW(dialog, IDC_USERMENU_ENTRIES, LB_SETCURSEL, 4, 0);
    SetDlgItemTextW(dialog, IDC_USERMENU_DISPLAY, L"x");
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_USERMENU_ASSIGN_TEXT, BN_CLICKED), 0);
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(RightClickMenuTest, Menu821OpensTheDialog)
{
    CQvView view;
    g_answered = false;
    SetTimer(nullptr, 0, 50, CancelRightClickMenuDialog);
    EXPECT_TRUE(view.OnCmdMsg(821, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(g_answered);
    EXPECT_TRUE(g_UserMenuEntries[4].m_display.IsEmpty());
}

} // namespace
