// The frame's title keeps the program's suffix " - qv" whatever the active pane shows,
// since a second start finds the running program by it: after Tab to the other pane
// and after the drive list, typed into the real program.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(NavigationKeys, PaneSwitchAndDriveListKeepTheProgramSuffixInTheFrameTitle)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    ASSERT_TRUE(CreateDirectoryW(left.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(right.c_str(), nullptr));
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                              "NOTQUITMESSAGE=1\r\n"
                              "[KEYEXEDATA]\r\nN_F2=@Drivelist\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    struct Step
    {
        WORD key;
        std::wstring title;
    };
    const Step steps[] = {
        {VK_TAB, right + L" - qv"},
        {VK_F2, L"論理ドライブリスト - qv"},
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
