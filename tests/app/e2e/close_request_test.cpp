// Close requests that reach the program while one of its modal windows is open, as
// another program or Windows' shut-down sends them: a message box holds the request
// back until it is answered, and the quit question takes no second request.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::wstring PrepareProgramFolder(const std::wstring& root, const char* settings)
{
    const qvtest::QvProgram program(root);
    program.WriteSettings(settings);
    return program.Folder();
}

// The dialogs of the process with exactly this caption (any when empty) whose message
// contains the text (any when empty).
qvtest::WindowMatch Dialog(const std::wstring& caption, const std::wstring& textPart = L"")
{
    qvtest::WindowMatch match;
    match.caption = caption;
    match.dialogOnly = true;
    match.messagePart = textPart;
    return match;
}

std::vector<HWND> FindDialogs(DWORD pid, const std::wstring& caption)
{
    return qvtest::FindProcessWindows(pid, Dialog(caption));
}

HWND WaitForDialog(DWORD pid, const std::wstring& caption, const std::wstring& textPart, DWORD timeoutMs)
{
    return qvtest::WaitForProcessWindow(pid, Dialog(caption, textPart), timeoutMs);
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Every save first keeps the previous file as qv.bck, and a qv.bck that is there
// already moves to a dated name: one save leaves qv.bck alone.
int CountDatedBackups(const std::wstring& dir)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"\\qv_*.bck").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

// The folder a pane shows disappears; the one-second check asks the user about it.
// A close request that comes while that box is open waits for its answer, and then
// the program ends cleanly, its settings saved once.
TEST(CloseRequest, WhileAProgramMessageBoxIsOpenTheProgramEndsCleanlyAfterIt)
{
    const std::wstring root = qvtest::ScratchDir();
    const std::wstring dir =
        PrepareProgramFolder(root, "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=10\r\nFIRSTY=10\r\n");
    const std::wstring victim = root + L"\\victim";
    const std::wstring other = root + L"\\other";
    ASSERT_TRUE(CreateDirectoryW(victim.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(other.c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(victim + L"\\a.txt", "a"));

    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(dir + L"\\Qv.exe", L"-D\"" + victim + L"\" -D\"" + other + L"\"", root));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    // Let the panes settle on their folders (and their change watches) first.
    qvtest::PumpMessages(1500);
    ASSERT_TRUE(DeleteFileW((victim + L"\\a.txt").c_str()));
    ASSERT_TRUE(RemoveDirectoryW(victim.c_str()));

    HWND box = WaitForDialog(qv.ProcessId(), L"", L"は存在しません", 30000);
    ASSERT_NE(nullptr, box) << "the missing folder was not reported";

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    qvtest::PumpMessages(1000);
    ASSERT_EQ(static_cast<DWORD>(STILL_ACTIVE), qv.WaitForExit(0))
        << "the program ended under its message box";
    EXPECT_TRUE(IsWindow(box)) << "the message box went before it was answered";

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, qv.WaitForExit(30000));
    EXPECT_TRUE(Exists(dir + L"\\qv.bck")) << "the settings were not saved";
    EXPECT_EQ(0, CountDatedBackups(dir)) << "the settings were saved more than once";
}

// With ASK_ALWAYS_AT_EXIT a close request asks; a second request while the question
// is open neither opens another question nor comes back after the answer.
TEST(CloseRequest, ASecondRequestWhileTheQuitQuestionIsOpenIsIgnored)
{
    const std::wstring root = qvtest::ScratchDir();
    const std::wstring dir = PrepareProgramFolder(root, "[ALLDATA2]\r\nASK_ALWAYS_AT_EXIT=1\r\n");
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(dir + L"\\Qv.exe", L"", root));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    const std::wstring caption = L"終了しますか";

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    HWND question = WaitForDialog(qv.ProcessId(), caption, L"", 30000);
    ASSERT_NE(nullptr, question);
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    qvtest::PumpMessages(1000);
    EXPECT_EQ(1u, FindDialogs(qv.ProcessId(), caption).size());

    // Cancelled: the program stays, and the second request does not ask again.
    PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
    qvtest::PumpMessages(1500);
    EXPECT_EQ(0u, FindDialogs(qv.ProcessId(), caption).size());
    ASSERT_EQ(static_cast<DWORD>(STILL_ACTIVE), qv.WaitForExit(0));

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    question = WaitForDialog(qv.ProcessId(), caption, L"", 30000);
    ASSERT_NE(nullptr, question);
    PostMessageW(question, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, qv.WaitForExit(30000));
}

} // namespace
