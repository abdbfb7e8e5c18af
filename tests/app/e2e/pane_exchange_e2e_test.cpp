// The other pane that follows the directory under the cursor keeps following after the
// two panes changed sides, typed into the real program: the frame's title names the
// folder each pane shows once Tab makes it active.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(NavigationKeys, TheFollowingPaneKeepsFollowingTheCursorAfterThePanesChangeSides)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    ASSERT_TRUE(CreateDirectoryW(left.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(right.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((left + L"\\one").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((left + L"\\two").c_str(), nullptr));
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                              "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
                              "[KEYEXEDATA]\r\nN_F3=@OtherAlwaysDispDir\r\nN_F4=@Changefilerdata\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // F3: the right pane follows the folder under the left pane's cursor ("one");
    // F4: the panes change sides; Down: the cursor moves to "two".
    struct Step
    {
        WORD key;
        std::wstring title;
    };
    const Step steps[] = {
        {VK_F3, left + L" - qv"}, {VK_TAB, left + L"\\one - qv"}, {VK_TAB, left + L" - qv"},
        {VK_F4, left + L" - qv"}, {VK_DOWN, left + L" - qv"},     {VK_TAB, left + L"\\two - qv"},
    };
    for (const Step& step : steps)
    {
        qvtest::Press(qv, main, {step.key});
        EXPECT_TRUE(qvtest::WaitFor([&] { return qvtest::Caption(main) == step.title; }))
            << "key " << step.key << ": " << qvtest::Caption(main).size() << " characters";
    }

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    ASSERT_EQ(0u, qv.WaitForExit(30000));
}

} // namespace
