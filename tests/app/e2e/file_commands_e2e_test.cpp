// The file commands in the real program, driven by typed keys: two marked files
// copied to the other pane's folder with their bytes and times, a folder made with
// the cursor put on it, and that folder deleted; a file renamed; a zip with Japanese
// member names listed, entered, unpacked from and left again; one of two members whose
// names differ only in case deleted from the listing.
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "res/RenameDialogs.h"
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 20000)
{
    return qvtest::PumpUntil(done, timeoutMs);
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

FILETIME WriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

} // namespace

TEST(FileCommandsEndToEnd, CopyDeleteAndMakeFolderFromTheKeys)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    CreateDirectoryW(left.c_str(), nullptr);
    CreateDirectoryW(right.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\a.txt", "alpha"));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\b.txt", "bravo bytes"));
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\c.txt", "charlie"));
    // An old time, so that a copy stamped with the time of copying would show.
    HANDLE file = CreateFileW((left + L"\\a.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    FILETIME old = {0x2A69C000, 0x01D0C000};
    SetFileTime(file, nullptr, nullptr, &old);
    CloseHandle(file);
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                              "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nDELETETODUST=0\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // Space marks the cursor file and moves on: a.txt and b.txt.
    qvtest::Press(qv, main, {VK_SPACE, VK_SPACE, 'C'});
    HWND copy = qvtest::WaitForDialogContaining(qv.ProcessId(), L"");
    ASSERT_NE(nullptr, copy);
    qvtest::Press(qv, copy, {VK_RETURN});
    ASSERT_TRUE(WaitFor([&] { return Exists(right + L"\\a.txt") && Exists(right + L"\\b.txt"); }));
    EXPECT_FALSE(Exists(right + L"\\c.txt"));
    EXPECT_EQ("alpha", qvtest::ReadFileBytes(right + L"\\a.txt"));
    EXPECT_EQ("bravo bytes", qvtest::ReadFileBytes(right + L"\\b.txt"));
    const FILETIME copied = WriteTime(right + L"\\a.txt");
    EXPECT_EQ(0, CompareFileTime(&old, &copied));
    EXPECT_TRUE(qvtest::WaitForDialogsClosed(qv.ProcessId()));

    // K makes a folder of the typed name.
    qvtest::Press(qv, main, {'K'});
    HWND mkdir = qvtest::WaitForDialogContaining(qv.ProcessId(), L"ディレクトリの作成");
    ASSERT_NE(nullptr, mkdir);
    qvtest::Press(qv, mkdir, {'N', 'E', 'W', VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return Exists(left + L"\\new"); }));

    // The copy cleared the marks and the new folder took the cursor: D deletes it.
    qvtest::Press(qv, main, {'D'});
    HWND del = qvtest::WaitForDialogContaining(qv.ProcessId(), L"");
    ASSERT_NE(nullptr, del);
    qvtest::Press(qv, del, {VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return !Exists(left + L"\\new"); }));
    for (const wchar_t* name : {L"\\a.txt", L"\\b.txt", L"\\c.txt"})
        EXPECT_TRUE(Exists(left + name)) << name;
    EXPECT_TRUE(Exists(right + L"\\a.txt"));
    EXPECT_TRUE(Exists(right + L"\\b.txt"));

    qv.Close();
    EXPECT_NE(STILL_ACTIVE, qv.WaitForExit());
}

TEST(FileCommandsEndToEnd, RenameAndBrowseAZipWithJapaneseNamesFromTheKeys)
{
    const std::wstring root = qvtest::ScratchDir();
    const qvtest::QvProgram program(root);
    ASSERT_TRUE(program.Ok());
    ASSERT_TRUE(program.CopyBeside(L"7z.dll"));
    const std::wstring left = root + L"\\left";
    const std::wstring right = root + L"\\right";
    const std::wstring source = root + L"\\source";
    for (const std::wstring& dir : {left, right, source, source + L"\\資料"})
        CreateDirectoryW(dir.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(source + L"\\資料\\報告書.txt", "report bytes"));
    // The zip is written by the real library, as a user's archiver would write it.
    {
        CSevenZipArchive packer;
        packer.SetOption(0, source.c_str());
        packer.SetOption(1, (left + L"\\arc.zip").c_str());
        packer.SetOption(13, L"資料\\報告書.txt");
        CProgressInfo progress;
        ASSERT_EQ(1, CSevenZipArchive::CreateArchive(&packer, nullptr, &progress))
            << qvtest::W(packer.m_errors.GetMessageText());
    }
    const std::string zipBytes = qvtest::ReadFileBytes(left + L"\\arc.zip");
    ASSERT_TRUE(qvtest::WriteFileBytes(left + L"\\memo.txt", "memo"));
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                              "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\n"
                              "[KEYEXEDATA]\r\nN_F5=@Packview\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // The cursor starts on arc.zip; N renames memo.txt below it.
    qvtest::Press(qv, main, {VK_DOWN, 'N'});
    HWND rename = qvtest::WaitForDialogContaining(qv.ProcessId(), L"名前の変更");
    ASSERT_NE(nullptr, rename);
    SetDlgItemTextW(rename, IDC_RENAME_PATTERN, L"renamed.txt");
    qvtest::Press(qv, rename, {VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return Exists(left + L"\\renamed.txt") && !Exists(left + L"\\memo.txt"); }));
    EXPECT_EQ("memo", qvtest::ReadFileBytes(left + L"\\renamed.txt"));
    EXPECT_TRUE(qvtest::WaitForDialogsClosed(qv.ProcessId()));

    // F5 lists the zip, Enter enters its folder (the cursor on ".."), C unpacks the
    // member below to the other pane.
    qvtest::Press(qv, main, {VK_UP, VK_F5, VK_RETURN, VK_DOWN, 'C'});
    HWND unpack = qvtest::WaitForDialogContaining(qv.ProcessId(), L"ファイルの解凍");
    ASSERT_NE(nullptr, unpack);
    qvtest::Press(qv, unpack, {VK_RETURN});
    // Whether the member's folder comes along is the unpack dialog's option.
    EXPECT_TRUE(
        WaitFor([&] { return Exists(right + L"\\報告書.txt") || Exists(right + L"\\資料\\報告書.txt"); }));
    const std::wstring unpacked =
        Exists(right + L"\\報告書.txt") ? right + L"\\報告書.txt" : right + L"\\資料\\報告書.txt";
    EXPECT_EQ("report bytes", qvtest::ReadFileBytes(unpacked));
    EXPECT_TRUE(qvtest::WaitForDialogsClosed(qv.ProcessId()));

    // Backspace climbs to the zip's root and then leaves it, the cursor on the zip:
    // C copies that very file.
    qvtest::Press(qv, main, {VK_BACK, VK_BACK, 'C'});
    HWND copy = qvtest::WaitForDialogContaining(qv.ProcessId(), L"");
    ASSERT_NE(nullptr, copy);
    qvtest::Press(qv, copy, {VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return Exists(right + L"\\arc.zip"); }));
    EXPECT_EQ(zipBytes, qvtest::ReadFileBytes(right + L"\\arc.zip"));
    EXPECT_FALSE(Exists(right + L"\\renamed.txt"));
    EXPECT_TRUE(qvtest::WaitForDialogsClosed(qv.ProcessId()));

    qv.Close();
    EXPECT_NE(STILL_ACTIVE, qv.WaitForExit());
    // What the program saved: the pane ended in the folder of the zip, not inside it,
    // and the binding the user gave is kept.
    EXPECT_EQ(left, program.Setting(L"ALLDATA", L"ENDDIRECTORY"));
    EXPECT_EQ(std::wstring(L"@Packview"), program.Setting(L"KEYEXEDATA", L"N_F5"));
}

// An archive made on a system that tells names apart by case holds "Makefile" and
// "makefile": they are two rows, and D on one of them deletes that member only.
TEST(FileCommandsEndToEnd, DeletingOneOfTwoCaseTwinsFromTheListingLeavesTheOther)
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
    sztest::WriteStoredZip(archive, {{"Makefile", "upper case rules\n"}, {"makefile", "lower case rules\n"}});
    const std::string before = qvtest::ReadFileBytes(archive);
    ASSERT_TRUE(
        program.WriteSettings("[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                              "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                              "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\n"
                              "[KEYEXEDATA]\r\nN_F5=@Packview\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe(), qvtest::PaneArguments(left, right)));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    qvtest::Settle(qv);

    // F5 lists the zip with the cursor on its first row; D deletes that row.
    qvtest::Press(qv, main, {VK_F5, 'D'});
    HWND del = qvtest::WaitForDialogContaining(qv.ProcessId(), L"");
    ASSERT_NE(nullptr, del);
    qvtest::Press(qv, del, {VK_RETURN});
    // The program writes the new archive under another name and gives it the archive's
    // name in one step, which fails while any handle without delete sharing, a read of
    // the test's own too, has the old archive open: the archive is read once the job's
    // dialogs have gone.
    ASSERT_TRUE(qvtest::WaitForDialogsClosed(qv.ProcessId()));
    qvtest::Settle(qv);
    ASSERT_TRUE(qvtest::ReadFileBytes(archive) != before);
    qv.Close();
    EXPECT_NE(STILL_ACTIVE, qv.WaitForExit());

    // Read back through the library: one member is left, with its own bytes.
    CSevenZipArchive reader;
    ASSERT_TRUE(sztest::OpenAndList(reader, archive));
    ASSERT_EQ(1, reader.m_listing.GetSize());
    const std::wstring name = qvtest::W(reader.m_listing[0].m_storedPath);
    ASSERT_TRUE(name == L"Makefile" || name == L"makefile") << name;
    reader.SetOption(1, archive.c_str());
    reader.SetOption(5, (right + L"\\out").c_str());
    ASSERT_EQ(1, reader.Extract(nullptr, nullptr));
    EXPECT_EQ(name == L"Makefile" ? "upper case rules\n" : "lower case rules\n",
              qvtest::ReadFileBytes(right + L"\\out\\" + name));
}
