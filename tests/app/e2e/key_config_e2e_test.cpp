// The filer key dialog in the real program: a key bound there to a folder jump is in
// the settings file after the program closes and moves the pane after a restart; the
// same steps ended with Cancel change nothing.
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include "app/keys/CommandTables.h"
#include "res/KeyConfigDialogs.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const UINT kFilerKeySettingsCommand = 576;

struct FindDialog
{
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindDialogProc(HWND hwnd, LPARAM lParam)
{
    FindDialog* find = reinterpret_cast<FindDialog*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t caption[64] = L"";
    GetWindowTextW(hwnd, caption, 64);
    if (pid == find->pid && IsWindowVisible(hwnd) && lstrcmpW(caption, L"キーボード設定") == 0)
    {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForKeyDialog(DWORD pid)
{
    for (int i = 0; i < 200; ++i)
    {
        FindDialog find = {pid, nullptr};
        EnumWindows(FindDialogProc, reinterpret_cast<LPARAM>(&find));
        if (find.found != nullptr)
            return find.found;
        qvtest::PumpMessages(100);
    }
    return nullptr;
}

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
    HWND dialog = WaitForKeyDialog(qv.ProcessId());
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
    for (int i = 0; i < 100 && IsWindow(dialog); ++i)
        qvtest::PumpMessages(100);
    EXPECT_FALSE(IsWindow(dialog));
}

std::wstring Read(const std::wstring& ini, LPCWSTR section, LPCWSTR key)
{
    wchar_t value[1024] = L"";
    GetPrivateProfileStringW(section, key, L"", value, 1024, ini.c_str());
    return value;
}

void PressCtrlQ(const qvtest::QvProcess& qv, HWND main)
{
    for (int i = 0; i < 20 && GetForegroundWindow() != main; ++i)
    {
        SetForegroundWindow(main);
        qvtest::PumpMessages(50);
    }
    INPUT inputs[4] = {};
    for (INPUT& input : inputs)
        input.type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[3].ki.wVk = VK_CONTROL;
    inputs[1].ki.wVk = inputs[2].ki.wVk = 'Q';
    inputs[2].ki.dwFlags = inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, inputs, sizeof(INPUT));
    qvtest::PumpMessages(300);
    WaitForInputIdle(qv.Process(), 5000);
    qvtest::PumpMessages(300);
}

TEST(KeyConfigEndToEnd, BoundFolderJumpIsSavedAndActsAfterRestart)
{
    const std::wstring root = qvtest::ScratchDir();
    const std::wstring prog = root + L"\\prog";
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    const std::wstring target = root + L"\\jump target";
    for (const std::wstring& folder : {prog, left, right, target})
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\Qv.exe").c_str(), (prog + L"\\Qv.exe").c_str(), FALSE));
    const std::wstring ini = prog + L"\\qv.ini";
    ASSERT_TRUE(qvtest::WriteFileBytes(
        ini, "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
             "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nNOTQUITMESSAGE=1\r\n"));
    const std::wstring args = L"-D\"" + left + L"\" -D\"" + right + L"\"";
    const std::wstring binding = L"@Keyjumpdir " + target;
    {
        qvtest::QvProcess qv;
        ASSERT_TRUE(qv.Start(prog + L"\\Qv.exe", args));
        HWND main = qv.WaitForMainWindow(L" - qv");
        ASSERT_NE(nullptr, main);
        qvtest::PumpMessages(500);
        BindCtrlQ(qv, main, target, IDOK);
        ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
        ASSERT_EQ(0u, qv.WaitForExit(30000));
    }
    EXPECT_EQ(binding, Read(ini, L"KEYEXEDATA", L"C_Q"));
    {
        qvtest::QvProcess qv;
        ASSERT_TRUE(qv.Start(prog + L"\\Qv.exe", args));
        HWND main = qv.WaitForMainWindow(L" - qv");
        ASSERT_NE(nullptr, main);
        qvtest::PumpMessages(500);
        BindCtrlQ(qv, main, right, IDCANCEL);
        PressCtrlQ(qv, main);
        ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
        ASSERT_EQ(0u, qv.WaitForExit(30000));
    }
    EXPECT_EQ(binding, Read(ini, L"KEYEXEDATA", L"C_Q"));
    EXPECT_EQ(target, Read(ini, L"ALLDATA", L"ENDDIRECTORY"));
}

} // namespace
