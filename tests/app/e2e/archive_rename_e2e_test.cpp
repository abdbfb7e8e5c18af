// Renaming archive members in the real program, driven by typed keys: N on one of two
// members whose names differ only in case renames that member alone, and a tar member
// stored as "./dir/file.txt" (listed as dir\file.txt) is renamed, as the package's own
// console program lists it afterwards.
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "res/RenameDialogs.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

namespace
{

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 20000)
{
    return qvtest::PumpUntil(done, timeoutMs);
}

// A fixed 800x600 window with side-by-side panes, F5 listing an archive.
bool WriteArchiveSettings(const qvtest::QvProgram& program)
{
    return program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                                 "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                                 "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n"
                                 "[KEYEXEDATA]\r\nN_F5=@Packview\r\n");
}

// The text of a control of another process's dialog.
std::wstring ControlText(HWND dialog, int id)
{
    wchar_t text[1024] = {};
    SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// N on the cursor row: the rename dialog, the new name typed into it and accepted.
// False when no dialog came.
bool RenameCursorRow(const qvtest::QvProcess& qv, HWND main, const std::wstring& newName,
                     std::wstring* oldName = nullptr)
{
    qvtest::Press(qv, main, {'N'});
    HWND rename = qvtest::WaitForDialogContaining(qv.ProcessId(), L"名前の変更");
    if (rename == nullptr)
        return false;
    if (oldName != nullptr)
        *oldName = ControlText(rename, IDC_RENAME_OLD_NAME);
    SetDlgItemTextW(rename, IDC_RENAME_PATTERN, newName.c_str());
    qvtest::Press(qv, rename, {VK_RETURN});
    return true;
}

// Every member's stored path and bytes, read back through the library.
std::map<std::wstring, std::string> Members(const std::wstring& archive, const std::wstring& out)
{
    std::map<std::wstring, std::string> members;
    CSevenZipArchive reader;
    if (!sztest::OpenAndList(reader, archive))
        return members;
    reader.SetOption(1, archive.c_str());
    reader.SetOption(5, out.c_str());
    if (reader.Extract(nullptr, nullptr) != 1)
        return members;
    for (const std::wstring& stored : sztest::StoredPaths(reader))
        members[stored] = qvtest::ReadFileBytes(out + L"\\" + stored);
    return members;
}

// Runs the package's console program with the arguments, its output going to a file
// (the console of a test run under Wine is not ours to write to), and gives that output.
std::string RunSevenZipConsole(const std::wstring& arguments, const std::wstring& outputFile)
{
    const std::wstring exe = qvtest::ProgramDir() + L"\\..\\downloads\\7z.exe";
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES)
        return "<no 7z.exe at " + std::string(exe.begin(), exe.end()) + ">";
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE output = CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE)
        return "<no output file>";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION process = {};
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    const BOOL started = CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &process);
    CloseHandle(output);
    if (!started)
        return "<7z.exe did not start>";
    CloseHandle(process.hThread);
    const DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hProcess);
    if (waited != WAIT_OBJECT_0)
        return "<7z.exe did not end>";
    return qvtest::ReadFileBytes(outputFile);
}

} // namespace

// A zip made on a system that tells names apart by case holds "Makefile" and
// "makefile" with different bytes: N on one row renames that member alone, and the
// other keeps its name and its bytes.
TEST(ArchiveRenameEndToEnd, RenamingOneOfTwoCaseTwinsRenamesThatMemberAlone)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    const std::wstring archive = left + L"\\twins.zip";
    const std::string upper = "upper case rules\n";
    const std::string lower = "lower case rules\n";
    sztest::WriteStoredZip(archive, {{"Makefile", upper}, {"makefile", lower}});
    const std::string before = qvtest::ReadFileBytes(archive);
    ASSERT_TRUE(WriteArchiveSettings(program));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // F5 lists the zip with the cursor on its first row; N renames that row.
    qvtest::Press(qv, main, {VK_F5});
    std::wstring oldName;
    ASSERT_TRUE(RenameCursorRow(qv, main, L"rules.mk", &oldName)) << "N opened no rename dialog";
    ASSERT_TRUE(oldName.find(L"Makefile") != std::wstring::npos ||
                oldName.find(L"makefile") != std::wstring::npos)
        << "the dialog does not name a twin: " << oldName;
    // The program writes the new archive under another name and gives it the archive's
    // name in one step, which fails while any handle without delete sharing, a read of
    // the test's own too, has the old archive open: the archive is read once the job's
    // dialogs have gone.
    ASSERT_TRUE(qvtest::WaitForDialogsClosed(qv.ProcessId()));
    qvtest::Settle(qv);
    ASSERT_TRUE(qvtest::ReadFileBytes(archive) != before) << "the zip was not changed";
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);

    // The renamed member holds the bytes of the row's twin; the other twin is as it was.
    const std::map<std::wstring, std::string> after = Members(archive, right + L"\\out");
    const bool upperRenamed = oldName.find(L"Makefile") != std::wstring::npos;
    const std::map<std::wstring, std::string> expected =
        upperRenamed ? std::map<std::wstring, std::string>{{L"rules.mk", upper}, {L"makefile", lower}}
                     : std::map<std::wstring, std::string>{{L"rules.mk", lower}, {L"Makefile", upper}};
    EXPECT_EQ(expected, after);
}

// Tar archives often store their members as "./dir/file.txt"; the listing shows
// dir\file.txt, and N on that row renames the member the archive holds.
TEST(ArchiveRenameEndToEnd, RenamingATarMemberStoredWithALeadingDotFolderRenamesIt)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    const std::wstring archive = left + L"\\dots.tar";
    sztest::WriteTar(archive, {{"./dir/file.txt", "inside\n"}, {"./other.txt", "other\n"}});
    const std::string before = qvtest::ReadFileBytes(archive);
    const std::string listedBefore = RunSevenZipConsole(L"l \"" + archive + L"\"", right + L"\\before.txt");
    ASSERT_NE(std::string::npos, listedBefore.find("file.txt")) << listedBefore;
    ASSERT_TRUE(WriteArchiveSettings(program));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // F5 lists the tar, its folder first; Enter enters it, the cursor on "..", and
    // the row below is the member.
    qvtest::Press(qv, main, {VK_F5, VK_RETURN, VK_DOWN});
    std::wstring oldName;
    ASSERT_TRUE(RenameCursorRow(qv, main, L"renamed.txt", &oldName)) << "N opened no rename dialog";
    EXPECT_NE(std::wstring::npos, oldName.find(L"file.txt")) << "the dialog does not name the member";
    // The program writes the new archive under another name and gives it the archive's
    // name in one step, which fails while any handle without delete sharing, a read of
    // the test's own too, has the old archive open: the archive is read once the job's
    // dialogs have gone.
    ASSERT_TRUE(qvtest::WaitForDialogsClosed(qv.ProcessId()));
    qvtest::Settle(qv);
    ASSERT_TRUE(qvtest::ReadFileBytes(archive) != before) << "the tar was not changed";
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(qv.WaitForExit(), 0u);

    const std::string listed = RunSevenZipConsole(L"l \"" + archive + L"\"", right + L"\\after.txt");
    EXPECT_NE(std::string::npos, listed.find("dir\\renamed.txt")) << listed;
    EXPECT_EQ(std::string::npos, listed.find("file.txt")) << listed;
    EXPECT_NE(std::string::npos, listed.find("other.txt")) << listed;
    EXPECT_NE(std::string::npos, listed.find("2 files")) << listed;
    const std::map<std::wstring, std::string> members = Members(archive, right + L"\\out");
    std::string renamedBytes;
    for (const auto& member : members)
        if (member.first.find(L"renamed.txt") != std::wstring::npos)
            renamedBytes = member.second;
    EXPECT_EQ("inside\n", renamedBytes);
}
