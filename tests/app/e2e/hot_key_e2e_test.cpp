// The tray key in the real program with the real keyboard-hook library beside it: the
// key bound to "@Windowtotasktray" hides the window into the task tray, and the same
// key typed while the window is hidden (so no window of the program has the focus)
// reaches the program through QvDll.dll's hook and brings the window back.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

void TypeSystemWide(WORD vk)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = vk;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

TEST(HotKeyEndToEnd, TheTrayKeyHidesTheWindowAndBringsItBackThroughTheHookLibrary)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((program.Folder() + L"\\QvDll.dll").c_str()))
        << "the hook library does not lie beside the program";
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nNOTQUITMESSAGE=1\r\n"
                              "[COMMON_KEY_DATA]\r\nN_F11=@Windowtotasktray\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(root, root)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {VK_F11});
    ASSERT_TRUE(qvtest::PumpUntil([&] { return !IsWindowVisible(main); }, 10000))
        << "the tray key did not hide the window";

    // The window is hidden: the key now comes to the program only through the hook.
    TypeSystemWide(VK_F11);
    EXPECT_TRUE(qvtest::PumpUntil([&] { return IsWindowVisible(main) != FALSE; }, 10000))
        << "the tray key typed elsewhere did not reach the program through its hook library";

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(0u, qv.WaitForExit(30000));
}

} // namespace
