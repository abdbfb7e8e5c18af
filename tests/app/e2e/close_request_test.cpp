// Close requests that reach the program while one of its modal windows is open, as
// another program or Windows' shut-down sends them: a message box holds the request
// back until it is answered, the quit question takes no second request, and a copy
// started while the question is open keeps the program until it is done.
#include "res/CopyDialogs.h"
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

// The dialogs of the process with exactly this caption (any when empty).
qvtest::WindowMatch Dialog(const std::wstring& caption)
{
    qvtest::WindowMatch match;
    match.caption = caption;
    match.dialogOnly = true;
    return match;
}

std::vector<HWND> FindDialogs(DWORD pid, const std::wstring& caption)
{
    return qvtest::FindProcessWindows(pid, Dialog(caption));
}

// The captions of the process's visible dialogs, for a failure's message.
std::string OpenDialogCaptions(DWORD pid)
{
    std::string out;
    for (HWND dialog : FindDialogs(pid, L""))
    {
        wchar_t caption[256] = L"";
        GetWindowTextW(dialog, caption, 256);
        char narrow[768] = "";
        WideCharToMultiByte(CP_UTF8, 0, caption, -1, narrow, sizeof(narrow), nullptr, nullptr);
        out += std::string("[") + narrow + "]";
    }
    return out;
}

std::string Utf8(const std::wstring& text)
{
    char narrow[1024] = "";
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
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
    qvtest::Settle(qv);
    ASSERT_TRUE(DeleteFileW((victim + L"\\a.txt").c_str()));
    ASSERT_TRUE(RemoveDirectoryW(victim.c_str()));

    HWND box = qvtest::WaitForDialog(qv.ProcessId(), L"", 30000, L"は存在しません");
    ASSERT_NE(nullptr, box) << "the missing folder was not reported; the folder is "
                            << (Exists(victim) ? "still seen" : "gone") << ", the program "
                            << (qv.WaitForExit(0) == static_cast<DWORD>(STILL_ACTIVE) ? "runs" : "ended")
                            << ", its dialogs: " << OpenDialogCaptions(qv.ProcessId())
                            << ", its caption: " << Utf8(qvtest::Caption(main));

    // Sent, the request comes back once the program has handled it.
    DWORD_PTR result = 0;
    ASSERT_NE(0, SendMessageTimeoutW(main, WM_CLOSE, 0, 0, SMTO_NORMAL, 20000, &result))
        << "the request waits inside the program";
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
    HWND question = qvtest::WaitForDialog(qv.ProcessId(), caption, 30000);
    ASSERT_NE(nullptr, question);
    // Sent, the second request comes back once the program has handled it.
    DWORD_PTR result = 0;
    EXPECT_NE(0, SendMessageTimeoutW(main, WM_CLOSE, 0, 0, SMTO_NORMAL, 20000, &result))
        << "the second request waits inside the program";
    EXPECT_EQ(1u, FindDialogs(qv.ProcessId(), caption).size());

    // Cancelled: the program stays, and the second request does not ask again. Posted
    // messages are taken in turn, so a request put back after the answer would ask
    // before the About box that is posted after it could open.
    PostMessageW(question, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(qvtest::PumpUntil([&] { return !IsWindow(question); }, 20000));
    ASSERT_TRUE(PostMessageW(main, WM_COMMAND, 57664, 0));
    qvtest::WindowMatch aboutMatch;
    aboutMatch.caption = L"バージョン情報(Quarvel)";
    HWND about = qvtest::WaitForProcessWindow(qv.ProcessId(), aboutMatch, 20000);
    EXPECT_EQ(0u, FindDialogs(qv.ProcessId(), caption).size()) << "the second request asked again";
    ASSERT_NE(nullptr, about);
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(qvtest::PumpUntil([&] { return !IsWindow(about); }, 20000));
    ASSERT_EQ(static_cast<DWORD>(STILL_ACTIVE), qv.WaitForExit(0));

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    question = qvtest::WaitForDialog(qv.ProcessId(), caption, 30000);
    ASSERT_NE(nullptr, question);
    PostMessageW(question, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, qv.WaitForExit(30000));
}

// The quit question is modal, yet its message loop still dispatches what another
// program posts to the main view: here the copy key. The copy it starts meets a file
// of that name and waits for the user's choice; the quit question is then answered
// OK. The program refuses to end as it does before the question, the copy goes on
// when its question is answered and writes the whole file, and only then does
// quitting end the program.
TEST(CloseRequest, ACopyStartedWhileTheQuitQuestionIsOpenRefusesTheAnswerAndFinishes)
{
    const std::wstring root = qvtest::ScratchDir();
    const std::wstring dir =
        PrepareProgramFolder(root, "[ALLDATA]\r\nNOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\n"
                                   "[ALLDATA2]\r\nASK_ALWAYS_AT_EXIT=1\r\n");
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    ASSERT_TRUE(CreateDirectoryW(left.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(right.c_str(), nullptr));
    std::string bytes(4 << 20, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 4096);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\data.bin", bytes));
    ASSERT_TRUE(qvtest::WriteFileBytes(right + L"\\data.bin", "older"));

    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(dir + L"\\Qv.exe", qvtest::PaneArguments(left, right), root));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    HWND view = GetDlgItem(main, 0xE900);
    ASSERT_NE(nullptr, view);
    qvtest::Settle(qv);
    const DWORD pid = qv.ProcessId();

    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    HWND question = qvtest::WaitForDialog(pid, L"終了しますか", 30000);
    ASSERT_NE(nullptr, question);

    // The copy key, sent to the view behind the question.
    PostMessageW(view, WM_KEYDOWN, 'C', 0x002E0001);
    PostMessageW(view, WM_KEYUP, 'C', 0xC02E0001);
    HWND copy = qvtest::WaitForDialog(pid, L"ファイルのコピー", 30000);
    ASSERT_NE(nullptr, copy) << "the copy key did not reach the view";
    PostMessageW(copy, WM_COMMAND, IDOK, 0);
    HWND way = qvtest::WaitForDialog(pid, L"コピー条件", 30000);
    ASSERT_NE(nullptr, way) << "the copy did not ask about the existing file";

    // The copy runs, waiting for its answer: OK on the quit question is refused.
    PostMessageW(question, WM_COMMAND, IDOK, 0);
    HWND refusal = qvtest::WaitForDialog(pid, L"", 30000, L"コピー処理中のため終了できません");
    ASSERT_EQ(static_cast<DWORD>(STILL_ACTIVE), qv.WaitForExit(0)) << "the program ended under its copy";
    ASSERT_NE(nullptr, refusal) << "the answer was not refused";
    EXPECT_TRUE(IsWindow(way)) << "the copy's question went with the refusal";
    PostMessageW(refusal, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(qvtest::PumpUntil([&] { return !IsWindow(refusal); }, 20000));

    // The choice is set on the radio buttons themselves: a click made of mouse messages
    // depends on where the pointer and the capture are on the shared display.
    for (int id : {IDC_COPY_WAY_NEWER, IDC_COPY_WAY_OLDER, IDC_COPY_WAY_LARGER, IDC_COPY_WAY_RENAME,
                   IDC_COPY_WAY_NUMBERED, IDC_COPY_WAY_SKIP, IDC_COPY_WAY_OVERWRITE})
        SendMessageW(GetDlgItem(way, id), BM_SETCHECK,
                     id == IDC_COPY_WAY_OVERWRITE ? BST_CHECKED : BST_UNCHECKED, 0);
    ASSERT_EQ(BST_CHECKED, SendMessageW(GetDlgItem(way, IDC_COPY_WAY_OVERWRITE), BM_GETCHECK, 0, 0));
    PostMessageW(way, WM_COMMAND, IDOK, 0);
    // The copy gives the whole new file the old one's name in one step at its end, a
    // step refused while any handle without delete sharing has the old file open: the
    // test's own read too. So the file is read once the copy's dialog has gone, never
    // polled while the copy may still be replacing it.
    ASSERT_TRUE(qvtest::PumpUntil([&] { return FindDialogs(pid, L"ファイルのコピー").empty(); }, 30000))
        << "the copy did not finish; dialogs left: " << OpenDialogCaptions(pid);
    EXPECT_TRUE(qvtest::ReadFileBytes(right + L"\\data.bin") == bytes)
        << "the copy did not write the whole file";
    ASSERT_EQ(static_cast<DWORD>(STILL_ACTIVE), qv.WaitForExit(0));

    // Done: now the same answer ends the program, its settings saved.
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    question = qvtest::WaitForDialog(pid, L"終了しますか", 30000);
    ASSERT_NE(nullptr, question);
    PostMessageW(question, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0u, qv.WaitForExit(30000));
    EXPECT_TRUE(Exists(dir + L"\\qv.bck")) << "the settings were not saved";
}

} // namespace
