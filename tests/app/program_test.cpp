// The program as a whole: it opens its main window and ends cleanly on WM_CLOSE.
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

// Each run gets a program folder of its own, so that its settings and log files
// never meet another test's.
std::wstring PrepareProgramFolder()
{
    std::wstring dir = qvtest::ScratchDir() + L"\\prog";
    CreateDirectoryW(dir.c_str(), nullptr);
    std::wstring exe = dir + L"\\Qv.exe";
    CopyFileW((qvtest::ProgramDir() + L"\\Qv.exe").c_str(), exe.c_str(), FALSE);
    return exe;
}

} // namespace

TEST(Program, OpensMainWindowAndClosesWithExitCodeZero)
{
    std::wstring exe = PrepareProgramFolder();
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(exe));
    HWND main = qv.WaitForMainWindow(L"qv");
    ASSERT_NE(nullptr, main) << "no main window with a caption containing \"qv\"";
    ASSERT_TRUE(qv.Close());
    EXPECT_EQ(0u, qv.WaitForExit());
}
