// The real program driven by typed keys: Enter on a member of a zip runs the program
// its file kind names on a copy of the member, and shows a member of no kind in the
// text viewer; the sort dialog's OK orders the folder at once; a file viewed with V
// is the first row of the view history.
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "res/FilerDialogs.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

namespace
{

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 20000)
{
    return qvtest::PumpUntil(done, timeoutMs);
}

const char kWindowSettings[] = "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                               "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                               "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nNOTQUITMESSAGE=1\r\n";

// The text of one cell of a list control in another process.
std::wstring ListCell(HANDLE process, HWND list, int row, int column)
{
    constexpr SIZE_T kTextChars = 512;
    char* remote = static_cast<char*>(VirtualAllocEx(
        process, nullptr, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    if (remote == nullptr)
        return L"";
    LVITEMW item = {};
    item.iSubItem = column;
    item.cchTextMax = static_cast<int>(kTextChars);
    item.pszText = reinterpret_cast<LPWSTR>(remote + sizeof(LVITEMW));
    WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
    wchar_t text[kTextChars] = {};
    ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof(text) - sizeof(wchar_t), nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

// The ids of the processes running now.
std::set<DWORD> RunningProcesses()
{
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return ids;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        ids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

} // namespace

TEST(EnterSortHistoryEndToEnd, EnterOnAZipMemberRunsItsKindOnACopyOrShowsIt)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    const std::wstring source = root + L"\\source";
    for (const std::wstring& dir : {left, right, source})
        CreateDirectoryW(dir.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(source + L"\\note.txt", "member bytes"));
    ASSERT_TRUE(qvtest::WriteFileBytes(source + L"\\other.dat", "other bytes"));
    {
        CSevenZipArchive packer;
        packer.SetOption(0, source.c_str());
        packer.SetOption(1, (left + L"\\arc.zip").c_str());
        packer.SetOption(13, L"note.txt");
        packer.SetOption(13, L"other.dat");
        CProgressInfo progress;
        ASSERT_EQ(1, CSevenZipArchive::CreateArchive(&packer, nullptr, &progress))
            << qvtest::W(packer.m_errors.GetMessageText());
    }
    // The kind of a text file copies it beside the program's folder.
    const std::wstring copied = root + L"\\copied.txt";
    std::string narrowCopied(copied.begin(), copied.end());
    ASSERT_TRUE(program.WriteSettings(std::string(kWindowSettings) + "[KEYEXEDATA]\r\nN_F5=@Packview\r\n" +
                                      "[KINDEXEDATA]\r\nKINDEXENAME0=txt\r\nKINDEXE0=cmd.exe\r\n" +
                                      "KINDEXEPARAM0=/c copy %c \"" + narrowCopied + "\"\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // F5 lists the zip with the cursor on note.txt; Enter runs its kind.
    qvtest::Press(qv, main, {VK_F5, VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return qvtest::ReadFileBytes(copied) == "member bytes"; }));
    // other.dat has no kind: Enter shows it, Enter again goes back to the listing.
    qvtest::Press(qv, main, {VK_DOWN, VK_RETURN, VK_RETURN});

    qv.Close();
    EXPECT_NE(STILL_ACTIVE, qv.WaitForExit());
    EXPECT_EQ(L"other.dat", program.Setting(L"VIEW_HISTORY", L"FILE_NAME0"));
    EXPECT_EQ(left + L"\\arc.zip", program.Setting(L"VIEW_HISTORY", L"ARCHIVE_PATH0"));
}

// Another program keeps "notes.txt" in the temporary folder; Enter on the zip's member of
// that name runs its kind on a copy in the program's own folder there, and after the
// program quits the notes are intact. The own folder goes at exit with DELTEMPATEND on
// and stays with it off.
TEST(EnterSortHistoryEndToEnd, EnterOnAZipMemberLeavesAFileOfItsNameInTheTemporaryFolderAlone)
{
    for (int deleteAtEnd : {0, 1})
    {
        SCOPED_TRACE(deleteAtEnd);
        const std::wstring root = qvtest::ScratchDir() + L"\\run" + std::to_wstring(deleteAtEnd);
        CreateDirectoryW(root.c_str(), nullptr);
        const qvtest::QvProgram program(root);
        ASSERT_TRUE(program.Ok());
        ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
        const std::wstring left = root + L"\\left";
        const std::wstring right = root + L"\\right";
        const std::wstring source = root + L"\\source";
        const std::wstring temp = root + L"\\temp";
        for (const std::wstring& dir : {left, right, source, temp})
            CreateDirectoryW(dir.c_str(), nullptr);
        ASSERT_TRUE(qvtest::WriteFileBytes(source + L"\\notes.txt", "member notes"));
        ASSERT_TRUE(qvtest::WriteFileBytes(temp + L"\\notes.txt", "SOMEONE ELSES NOTES"));
        {
            CSevenZipArchive packer;
            packer.SetOption(0, source.c_str());
            packer.SetOption(1, (left + L"\\arc.zip").c_str());
            packer.SetOption(13, L"notes.txt");
            CProgressInfo progress;
            ASSERT_EQ(1, CSevenZipArchive::CreateArchive(&packer, nullptr, &progress))
                << qvtest::W(packer.m_errors.GetMessageText());
        }
        const std::wstring copied = root + L"\\copied.txt";
        const std::string narrowCopied(copied.begin(), copied.end());
        const std::string narrowTemp(temp.begin(), temp.end());
        ASSERT_TRUE(program.WriteSettings(
            std::string(kWindowSettings) + "[ALLDATA2]\r\nDELTEMPATEND=" + std::to_string(deleteAtEnd) +
            "\r\n[SUSIEDATA]\r\nTEMPDIRECTORY=" + narrowTemp + "\r\n[KEYEXEDATA]\r\nN_F5=@Packview\r\n" +
            "[KINDEXEDATA]\r\nKINDEXENAME0=txt\r\nKINDEXE0=cmd.exe\r\n" + "KINDEXEPARAM0=/c copy %c \"" +
            narrowCopied + "\"\r\n"));
        qvtest::QvProcess qv;
        ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
        HWND main = qv.WaitForMainWindow(L" - qv");
        ASSERT_NE(nullptr, main);
        qvtest::Settle(qv);
        const std::wstring own = temp + L"\\qv" + std::to_wstring(qv.ProcessId());

        // F5 lists the zip with the cursor on notes.txt; Enter runs its kind on the copy.
        const std::set<DWORD> before = RunningProcesses();
        qvtest::Press(qv, main, {VK_F5, VK_RETURN});
        EXPECT_TRUE(WaitFor([&] { return qvtest::ReadFileBytes(copied) == "member notes"; }));
        EXPECT_EQ("member notes", qvtest::ReadFileBytes(own + L"\\notes.txt"));
        // The program (and the console host the system gave it) ran with the own folder
        // as current directory, which keeps the folder from being removed while they
        // run: they must have ended before the quit.
        EXPECT_TRUE(WaitFor([&] {
            const std::set<DWORD> now = RunningProcesses();
            return std::includes(before.begin(), before.end(), now.begin(), now.end());
        }));
        EXPECT_EQ("SOMEONE ELSES NOTES", qvtest::ReadFileBytes(temp + L"\\notes.txt"));

        qv.Close();
        EXPECT_NE(STILL_ACTIVE, qv.WaitForExit());
        EXPECT_EQ("SOMEONE ELSES NOTES", qvtest::ReadFileBytes(temp + L"\\notes.txt"));
        if (deleteAtEnd)
            EXPECT_EQ(std::set<std::wstring>{L"notes.txt"}, qvtest::ListFolder(temp));
        else
            EXPECT_EQ("member notes", qvtest::ReadFileBytes(own + L"\\notes.txt"));
    }
}

TEST(EnterSortHistoryEndToEnd, AZipListingGivesTheFrameItsArchivePathWhenItsPaneBecomesActive)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    for (const std::wstring& dir : {left, right})
        CreateDirectoryW(dir.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(right + L"\\note.txt", "member bytes"));
    {
        CSevenZipArchive packer;
        packer.SetOption(0, right.c_str());
        packer.SetOption(1, (left + L"\\arc.zip").c_str());
        packer.SetOption(13, L"note.txt");
        CProgressInfo progress;
        ASSERT_EQ(1, CSevenZipArchive::CreateArchive(&packer, nullptr, &progress))
            << qvtest::W(packer.m_errors.GetMessageText());
    }
    ASSERT_TRUE(program.WriteSettings(std::string(kWindowSettings) + "[KEYEXEDATA]\r\nN_F5=@Packview\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // F5 lists the zip in the left pane; Tab goes to the folder on the right and back.
    qvtest::Press(qv, main, {VK_F5, VK_TAB});
    EXPECT_TRUE(WaitFor([&] { return qvtest::Caption(main) == right + L" - qv"; }));
    qvtest::Press(qv, main, {VK_TAB});
    EXPECT_TRUE(WaitFor([&] { return qvtest::Caption(main) == left + L"\\arc.zip - qv"; }))
        << qvtest::Caption(main).size() << " characters";

    qv.Close();
    EXPECT_NE(STILL_ACTIVE, qv.WaitForExit());
}

TEST(EnterSortHistoryEndToEnd, TheSortDialogsOkOrdersTheFolderAtOnce)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    for (const std::wstring& dir : {left, right})
        CreateDirectoryW(dir.c_str(), nullptr);
    // By name a, b, c; by size, the largest first, c, a, b.
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.txt", std::string(50, 'a')));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\b.txt", "b"));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\c.txt", std::string(100, 'c')));
    ASSERT_TRUE(program.WriteSettings(kWindowSettings));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {'S'});
    HWND sort = qvtest::WaitForDialog(qv.ProcessId(), L"ソート方法");
    ASSERT_NE(nullptr, sort);
    SendMessageW(GetDlgItem(sort, IDC_SORT_BY_SIZE), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(sort, IDC_SORT_FILE_ASCENDING), BM_CLICK, 0, 0);
    SendMessageW(sort, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(sort); }, 10000));
    // The cursor stayed on a.txt; the entry above it is now c.txt, which V shows.
    qvtest::Press(qv, main, {VK_UP, 'V', VK_RETURN});

    qv.Close();
    EXPECT_NE(STILL_ACTIVE, qv.WaitForExit());
    EXPECT_EQ(L"c.txt", program.Setting(L"VIEW_HISTORY", L"FILE_NAME0"));
}

TEST(EnterSortHistoryEndToEnd, AFileViewedWithVIsTheFirstRowOfTheViewHistory)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    for (const std::wstring& dir : {left, right})
        CreateDirectoryW(dir.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\seen.txt", "seen"));
    ASSERT_TRUE(
        program.WriteSettings(std::string(kWindowSettings) + "[KEYEXEDATA]\r\nN_F3=@ViewHistory\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    qvtest::Press(qv, main, {'V', VK_RETURN, VK_F3});
    HWND history = qvtest::WaitForDialog(qv.ProcessId(), L"閲覧履歴");
    ASSERT_NE(nullptr, history);
    HWND list = FindWindowExW(history, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(1, static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    EXPECT_EQ(L"seen.txt", ListCell(qv.Process(), list, 0, 0));
    EXPECT_EQ(left, ListCell(qv.Process(), list, 0, 1));
    SendMessageW(history, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);

    qv.Close();
    EXPECT_NE(STILL_ACTIVE, qv.WaitForExit());
}
