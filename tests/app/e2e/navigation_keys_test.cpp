// Keys typed into the real program move through a prepared tree: Down and Enter enter
// a folder, Backspace comes back with the cursor on it, Tab switches panes, and with
// the incremental search switched on by a bound key, typing a name's first letters
// moves the cursor, and leaving a folder ends it. The end state is read from the
// directories the program saves in its settings file when it closes.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// Starts the program on the two folders with no "." or ".." rows, so that each list
// starts on its first folder, F2 bound to switch the incremental search on, and
// closing asking nothing; `main` is its window, null when it did not come up.
void Start(const qvtest::QvProgram& program, qvtest::QvProcess& qv, const std::wstring& left,
           const std::wstring& right, HWND& main)
{
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                              "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
                              "[KEYEXEDATA]\r\nN_F2=@NorIncSearch\r\n"));
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);
}

TEST(NavigationKeys, EnterBackspaceTabAndIncrementalSearchMoveThroughATree)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    for (const std::wstring& folder : {left, left + L"\\alpha", left + L"\\beta", left + L"\\beta\\inner",
                                       right, right + L"\\r1dir", right + L"\\r2dir", right + L"\\r3dir"})
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\zfile.txt", "x"));
    qvtest::QvProcess qv;
    HWND main = nullptr;
    Start(program, qv, left, right, main);
    ASSERT_NE(nullptr, main);

    // Left pane: alpha, beta, zfile.txt. Down, Enter: into beta. Backspace: back with
    // the cursor on beta, which the next Enter proves by entering beta again.
    qvtest::Press(qv, main, {VK_DOWN, VK_RETURN, VK_BACK, VK_RETURN});
    // Right pane: r1dir, r2dir, r3dir. The search moves to r2dir; Enter ends the
    // search, the next Enter opens the folder.
    qvtest::Press(qv, main, {VK_TAB, VK_F2, 'R', '2', VK_RETURN, VK_RETURN});

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    ASSERT_EQ(0u, qv.WaitForExit(30000));
    EXPECT_EQ(program.Setting(L"ALLDATA", L"ENDDIRECTORY"), left + L"\\beta");
    EXPECT_EQ(program.Setting(L"ALLDATA", L"ENDDIRECTORY2"), right + L"\\r2dir");
}

TEST(NavigationKeys, LeavingAFolderEndsTheIncrementalSearch)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    for (const std::wstring& folder :
         {left, left + L"\\alpha", left + L"\\beta", left + L"\\beta\\inner", right})
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    qvtest::QvProcess qv;
    HWND main = nullptr;
    Start(program, qv, left + L"\\beta", right, main);
    ASSERT_NE(nullptr, main);

    // The search is switched on in beta and Backspace goes up with the cursor on beta.
    // Going up ended the search, so Enter opens beta instead of only ending it.
    qvtest::Press(qv, main, {VK_F2, 'I', VK_BACK, VK_RETURN});

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    ASSERT_EQ(0u, qv.WaitForExit(30000));
    EXPECT_EQ(program.Setting(L"ALLDATA", L"ENDDIRECTORY"), left + L"\\beta");
}

} // namespace
