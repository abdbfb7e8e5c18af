// The filer key dialog in the real program: a key bound there to a folder jump is in
// the settings file after the program closes and moves the pane after a restart; the
// same steps ended with Cancel change nothing.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include "app/keys/CommandTables.h"
#include "res/KeyConfigDialogs.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const UINT kFilerKeySettingsCommand = 576;

void Select(HWND dialog, int id, bool listBox, int position)
{
    HWND box = GetDlgItem(dialog, id);
    SendMessageW(box, listBox ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, listBox ? LBN_SELCHANGE : CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

// Ctrl+Q, "ドライブ変更", "@Keyjumpdir", the folder; then OK or Cancel.
void BindCtrlQ(const qvtest::QvProcess& qv, HWND main, const std::wstring& folder, int endCode)
{
    PostMessageW(main, WM_COMMAND, kFilerKeySettingsCommand, 0);
    HWND dialog = qvtest::WaitForDialog(qv.ProcessId(), L"キーボード設定");
    ASSERT_NE(nullptr, dialog);
    Select(dialog, IDC_KEYCFG_KEYS, true, 'Q' - 'A');
    SendDlgItemMessageW(dialog, IDC_KEYCFG_MOD_NONE, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageW(dialog, IDC_KEYCFG_MOD_CTRL, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_KEYCFG_MOD_CTRL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_KEYCFG_MOD_CTRL)));
    Select(dialog, IDC_KEYCFG_CATEGORY, false, 3); // "ドライブ変更"
    int first = -1, jump = -1;
    for (int i = 0; i < FILER_COMMAND_COUNT; ++i)
    {
        if (first < 0 && g_FilerCommandTable[i].category == 3)
            first = i;
        if (lstrcmpW(g_FilerCommandTable[i].keyword, L"@Keyjumpdir") == 0)
            jump = i;
    }
    ASSERT_GE(first, 0);
    Select(dialog, IDC_KEYCFG_FUNCTIONS, true, jump - first);
    SetDlgItemTextW(dialog, IDC_KEYCFG_ARGUMENT, folder.c_str());
    PostMessageW(dialog, WM_COMMAND, endCode, 0);
    EXPECT_TRUE(qvtest::PumpUntil([&] { return !IsWindow(dialog); }, 10000));
}

TEST(KeyConfigEndToEnd, BoundFolderJumpIsSavedAndActsAfterRestart)
{
    const std::wstring root = qvtest::ScratchDir();
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    const std::wstring target = root + L"\\jump target";
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    for (const std::wstring& folder : {left, right, target})
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nNOTQUITMESSAGE=1\r\n"));
    const std::wstring args = qvtest::PaneArguments(left, right);
    const std::wstring binding = L"@Keyjumpdir " + target;
    {
        qvtest::QvProcess qv;
        ASSERT_TRUE(qv.Start(program.Exe(), args));
        HWND main = qv.WaitForMainWindow(L" - qv");
        ASSERT_NE(nullptr, main);
        qvtest::Settle(qv);
        BindCtrlQ(qv, main, target, IDOK);
        ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
        ASSERT_EQ(0u, qv.WaitForExit(30000));
    }
    EXPECT_EQ(binding, program.Setting(L"KEYEXEDATA", L"C_Q"));
    {
        qvtest::QvProcess qv;
        ASSERT_TRUE(qv.Start(program.Exe(), args));
        HWND main = qv.WaitForMainWindow(L" - qv");
        ASSERT_NE(nullptr, main);
        qvtest::Settle(qv);
        BindCtrlQ(qv, main, right, IDCANCEL);
        qvtest::Press(qv, main, {{'Q', true}});
        ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
        ASSERT_EQ(0u, qv.WaitForExit(30000));
    }
    EXPECT_EQ(binding, program.Setting(L"KEYEXEDATA", L"C_Q"));
    EXPECT_EQ(target, program.Setting(L"ALLDATA", L"ENDDIRECTORY"));
}

} // namespace
