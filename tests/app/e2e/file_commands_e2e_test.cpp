// The file commands in the real program, driven by typed keys: two marked files
// copied to the other pane's folder with their bytes and times, a folder made with
// the cursor put on it, and that folder deleted; a file renamed; a zip with Japanese
// member names listed, entered, unpacked from and left again.
#include "archivefront/sevenzip/SevenZipArchive.h"
#include "res/RenameDialogs.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

void Press(HWND target, const std::vector<WORD>& keys)
{
    // Typed keys go to the foreground window: make sure it is the one meant.
    for (int i = 0; i < 40 && GetForegroundWindow() != target; ++i)
    {
        SetForegroundWindow(target);
        qvtest::PumpMessages(50);
    }
    for (WORD vk : keys)
    {
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wVk = inputs[1].ki.wVk = vk;
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, inputs, sizeof(INPUT));
        qvtest::PumpMessages(150);
    }
}

// A visible dialog of the process whose caption contains the text.
HWND WaitForDialog(DWORD pid, const std::wstring& captionPart, DWORD timeoutMs = 20000)
{
    struct Search
    {
        DWORD pid;
        const std::wstring* part;
        HWND found;
    } search = {pid, &captionPart, nullptr};
    for (DWORD waited = 0; waited < timeoutMs; waited += 100)
    {
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                Search& s = *reinterpret_cast<Search*>(param);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                wchar_t cls[32] = {};
                wchar_t caption[256] = {};
                GetClassNameW(window, cls, 32);
                GetWindowTextW(window, caption, 256);
                if (owner == s.pid && IsWindowVisible(window) && wcscmp(cls, L"#32770") == 0 &&
                    std::wstring(caption).find(*s.part) != std::wstring::npos)
                {
                    s.found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        qvtest::PumpMessages(100);
    }
    return nullptr;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 20000)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100)
    {
        if (done())
            return true;
        qvtest::PumpMessages(100);
    }
    return done();
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
    const std::wstring prog = root + L"\\prog";
    CreateDirectoryW(prog.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\Qv.exe").c_str(), (prog + L"\\Qv.exe").c_str(), FALSE));
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
    ASSERT_TRUE(qvtest::WriteFileBytes(
        prog + L"\\qv.ini", "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                            "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                            "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\nDELETETODUST=0\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(prog + L"\\Qv.exe", L"-D\"" + left + L"\" -D\"" + right + L"\""));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    WaitForInputIdle(qv.Process(), 5000);
    qvtest::PumpMessages(500);

    // Space marks the cursor file and moves on: a.txt and b.txt.
    Press(main, {VK_SPACE, VK_SPACE, 'C'});
    HWND copy = WaitForDialog(qv.ProcessId(), L"");
    ASSERT_NE(nullptr, copy);
    Press(copy, {VK_RETURN});
    ASSERT_TRUE(WaitFor([&] { return Exists(right + L"\\a.txt") && Exists(right + L"\\b.txt"); }));
    EXPECT_FALSE(Exists(right + L"\\c.txt"));
    EXPECT_EQ("alpha", qvtest::ReadFileBytes(right + L"\\a.txt"));
    EXPECT_EQ("bravo bytes", qvtest::ReadFileBytes(right + L"\\b.txt"));
    const FILETIME copied = WriteTime(right + L"\\a.txt");
    EXPECT_EQ(0, CompareFileTime(&old, &copied));
    WaitFor([&] { return WaitForDialog(qv.ProcessId(), L"", 100) == nullptr; }, 10000);

    // K makes a folder of the typed name.
    Press(main, {'K'});
    HWND mkdir = WaitForDialog(qv.ProcessId(), L"ディレクトリの作成");
    ASSERT_NE(nullptr, mkdir);
    Press(mkdir, {'N', 'E', 'W', VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return Exists(left + L"\\new"); }));

    // The copy cleared the marks and the new folder took the cursor: D deletes it.
    Press(main, {'D'});
    HWND del = WaitForDialog(qv.ProcessId(), L"");
    ASSERT_NE(nullptr, del);
    Press(del, {VK_RETURN});
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
    const std::wstring prog = root + L"\\prog";
    CreateDirectoryW(prog.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\Qv.exe").c_str(), (prog + L"\\Qv.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\7z.dll").c_str(), (prog + L"\\7z.dll").c_str(), FALSE));
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
    ASSERT_TRUE(qvtest::WriteFileBytes(
        prog + L"\\qv.ini", "[ALLDATA]\r\nSTARTPOS=1\r\nFIRSTX=0\r\nFIRSTY=0\r\n"
                            "STARTSIZE=2\r\nFIRSTWIDE=800\r\nFIRSTHEIGHT=600\r\nWINDOWDEVIDEWAY=1\r\n"
                            "NOTVIEWUPDIR=1\r\nNOTVIEWCURRENTDIR=1\r\n"
                            "[KEYEXEDATA]\r\nN_F5=@Packview\r\n"));
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(prog + L"\\Qv.exe", L"-D\"" + left + L"\" -D\"" + right + L"\""));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    WaitForInputIdle(qv.Process(), 5000);
    qvtest::PumpMessages(500);

    // The cursor starts on arc.zip; N renames memo.txt below it.
    Press(main, {VK_DOWN, 'N'});
    HWND rename = WaitForDialog(qv.ProcessId(), L"名前の変更");
    ASSERT_NE(nullptr, rename);
    SetDlgItemTextW(rename, IDC_RENAME_PATTERN, L"renamed.txt");
    Press(rename, {VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return Exists(left + L"\\renamed.txt") && !Exists(left + L"\\memo.txt"); }));
    EXPECT_EQ("memo", qvtest::ReadFileBytes(left + L"\\renamed.txt"));
    WaitFor([&] { return WaitForDialog(qv.ProcessId(), L"", 100) == nullptr; }, 10000);

    // F5 lists the zip, Enter enters its folder (the cursor on ".."), C unpacks the
    // member below to the other pane.
    Press(main, {VK_UP, VK_F5, VK_RETURN, VK_DOWN, 'C'});
    HWND unpack = WaitForDialog(qv.ProcessId(), L"ファイルの解凍");
    ASSERT_NE(nullptr, unpack);
    Press(unpack, {VK_RETURN});
    // Whether the member's folder comes along is the unpack dialog's option.
    EXPECT_TRUE(
        WaitFor([&] { return Exists(right + L"\\報告書.txt") || Exists(right + L"\\資料\\報告書.txt"); }));
    const std::wstring unpacked =
        Exists(right + L"\\報告書.txt") ? right + L"\\報告書.txt" : right + L"\\資料\\報告書.txt";
    EXPECT_EQ("report bytes", qvtest::ReadFileBytes(unpacked));
    WaitFor([&] { return WaitForDialog(qv.ProcessId(), L"", 100) == nullptr; }, 10000);

    // Backspace climbs to the zip's root and then leaves it, the cursor on the zip:
    // C copies that very file.
    Press(main, {VK_BACK, VK_BACK, 'C'});
    HWND copy = WaitForDialog(qv.ProcessId(), L"");
    ASSERT_NE(nullptr, copy);
    Press(copy, {VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return Exists(right + L"\\arc.zip"); }));
    EXPECT_EQ(zipBytes, qvtest::ReadFileBytes(right + L"\\arc.zip"));
    EXPECT_FALSE(Exists(right + L"\\renamed.txt"));
    WaitFor([&] { return WaitForDialog(qv.ProcessId(), L"", 100) == nullptr; }, 10000);

    qv.Close();
    EXPECT_NE(STILL_ACTIVE, qv.WaitForExit());
    // What the program saved: the pane ended in the folder of the zip, not inside it,
    // and the binding the user gave is kept.
    const std::wstring ini = prog + L"\\qv.ini";
    wchar_t saved[1024] = L"";
    GetPrivateProfileStringW(L"ALLDATA", L"ENDDIRECTORY", L"", saved, 1024, ini.c_str());
    EXPECT_EQ(left, std::wstring(saved));
    GetPrivateProfileStringW(L"KEYEXEDATA", L"N_F5", L"", saved, 1024, ini.c_str());
    EXPECT_EQ(std::wstring(L"@Packview"), std::wstring(saved));
}
