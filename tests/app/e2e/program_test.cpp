// The program as a whole under Wine: its main window, its end, the single instance
// with the hand-over of start directories, where its settings file is found, and the
// About dialog.
#include "tests/common/EndToEnd.h"
#include "tests/common/QvProcess.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const wchar_t kSharedName[] = L"FILEMAP_QV_CMN_PROCESS_DATA";
const int kSlotChars = 1040;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end()); // scratch paths and user names are ASCII
}

std::wstring UserName()
{
    wchar_t name[257] = L"";
    DWORD size = 257;
    GetUserNameW(name, &size);
    return name;
}

// The test's own view of the shared memory; holding it keeps the slots readable after
// every Qv process has ended.
class SharedSlots
{
public:
    SharedSlots()
    {
        m_mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0,
                                       2 * kSlotChars * sizeof(wchar_t), kSharedName);
        if (m_mapping)
            m_data = static_cast<wchar_t*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    }
    ~SharedSlots()
    {
        if (m_data)
            UnmapViewOfFile(m_data);
        if (m_mapping)
            CloseHandle(m_mapping);
    }
    bool Ok() const { return m_data != nullptr; }
    void FillWithGarbage()
    {
        for (int i = 0; i < 2 * kSlotChars; ++i)
            m_data[i] = L'?';
    }
    std::wstring Read(int slot) const
    {
        const wchar_t* p = m_data + slot * kSlotChars;
        return std::wstring(p, wcsnlen(p, kSlotChars));
    }

private:
    HANDLE m_mapping = nullptr;
    wchar_t* m_data = nullptr;
};

// A window of the test whose title ends like the program's, so that a hand-over
// addresses it too; it counts the requests it receives.
class RequestProbe
{
public:
    RequestProbe()
    {
        s_message = RegisterWindowMessageW(L"WMSG_QV_REQ_DIR_CHANGE");
        s_count = 0;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QvRequestProbe";
        RegisterClassW(&wc);
        m_window = CreateWindowExW(0, L"QvRequestProbe", L"probe - qv", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                   nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~RequestProbe() { DestroyWindow(m_window); }
    int Count() const { return s_count; }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == s_message)
        {
            ++s_count;
            return 1;
        }
        return DefWindowProcW(hWnd, message, wParam, lParam);
    }
    static UINT s_message;
    static int s_count;
    HWND m_window = nullptr;
};
UINT RequestProbe::s_message = 0;
int RequestProbe::s_count = 0;

struct RunResult
{
    bool ended = false;
    DWORD exitCode = STILL_ACTIVE;
    bool showedWindow = false;
};

// Waits for a process to end while this thread keeps taking sent messages, and
// notes whether it ever showed a window.
RunResult WaitPumping(qvtest::QvProcess& process, DWORD timeoutMs = 20000)
{
    RunResult result;
    const DWORD start = GetTickCount();
    HANDLE handle = process.Process();
    while (GetTickCount() - start < timeoutMs)
    {
        result.showedWindow = result.showedWindow || qvtest::HasVisibleWindow(process.ProcessId());
        DWORD wait = MsgWaitForMultipleObjects(1, &handle, FALSE, 50, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0)
        {
            result.ended = true;
            GetExitCodeProcess(handle, &result.exitCode);
            return result;
        }
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return result;
}

bool EndsWith(const std::wstring& text, const std::wstring& suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void CloseAndExpectCleanEnd(qvtest::QvProcess& qv)
{
    ASSERT_TRUE(qv.Close());
    EXPECT_EQ(0u, qv.WaitForExit());
}

TEST(Program, OpensMainWindowAndClosesWithExitCodeZero)
{
    const std::wstring root = qvtest::ScratchDir();
    SharedSlots slots;
    ASSERT_TRUE(slots.Ok());
    slots.FillWithGarbage();
    qvtest::QvProgram program(root);
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe()));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main) << "no main window with a caption containing \" - qv\"";
    EXPECT_TRUE(EndsWith(qvtest::Caption(main), L" - qv")) << qvtest::Caption(main).c_str();

    // Even without -D the start writes both slots, as empty ones.
    EXPECT_EQ(L"", slots.Read(0));
    EXPECT_EQ(L"", slots.Read(1));

    // The frame takes a further start's request at once and answers 1.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main, RegisterWindowMessageW(L"WMSG_QV_REQ_DIR_CHANGE"), 0, 0,
                                    SMTO_NORMAL, 30000, &answer)); // busy, not hung, on a loaded machine
    EXPECT_EQ(1u, answer);

    CloseAndExpectCleanEnd(qv);
}

TEST(Program, CarriesItsOwnIconForTheFrameAndTheTray)
{
    HMODULE module =
        LoadLibraryExW((qvtest::ProgramDir() + L"\\Qv.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(100), RT_GROUP_ICON);
    ASSERT_NE(nullptr, group);
    BYTE* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(nullptr, directory);
    // The tray asks for the small size, the frame's caption and task bar for both.
    for (int size : {16, 32})
    {
        int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON);
        ASSERT_NE(nullptr, image) << size;
        HICON icon = CreateIconFromResourceEx(static_cast<BYTE*>(LockResource(LoadResource(module, image))),
                                              SizeofResource(module, image), TRUE, 0x00030000, size, size,
                                              LR_DEFAULTCOLOR);
        ASSERT_NE(nullptr, icon) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap = {};
        GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        EXPECT_EQ(size, bitmap.bmWidth);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    FreeLibrary(module);
}

TEST(Program, SecondStartHandsItsDirectoriesToTheRunningInstance)
{
    const std::wstring root = qvtest::ScratchDir();
    SharedSlots slots;
    ASSERT_TRUE(slots.Ok());
    qvtest::QvProgram program(root);
    ASSERT_TRUE(program.WriteSettings("[ALLDATA2]\r\nDISABLETWIN=1\r\n"));

    qvtest::QvProcess first;
    ASSERT_TRUE(first.Start(program.Exe()));
    HWND main = first.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);
    ShowWindow(main, SW_MINIMIZE);
    const bool wasMinimised = qvtest::PumpUntil([&] { return IsIconic(main) != FALSE; }, 5000);

    RequestProbe probe;
    qvtest::QvProcess second;
    ASSERT_TRUE(second.Start(program.Exe(), L"-D\"C:\\My Folder\" -dD:\\second"));
    RunResult run = WaitPumping(second);
    ASSERT_TRUE(run.ended) << "the second start did not end";
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_FALSE(run.showedWindow);
    EXPECT_EQ(1, probe.Count()) << "every window titled \"... - qv\" gets the request";
    EXPECT_EQ(L"C:\\My Folder", slots.Read(0));
    EXPECT_EQ(L"D:\\second", slots.Read(1));
    if (wasMinimised)
    {
        EXPECT_FALSE(IsIconic(main)) << "the running window is restored";
    }

    CloseAndExpectCleanEnd(first);
}

TEST(Program, WithTwinsAllowedASecondStartOpensItsOwnWindow)
{
    const std::wstring root = qvtest::ScratchDir();
    qvtest::QvProgram program(root);
    qvtest::QvProcess first, second;
    ASSERT_TRUE(first.Start(program.Exe()));
    ASSERT_NE(nullptr, first.WaitForMainWindow(L" - qv"));
    ASSERT_TRUE(second.Start(program.Exe(), L"-DC:\\"));
    ASSERT_NE(nullptr, second.WaitForMainWindow(L" - qv"));
    CloseAndExpectCleanEnd(second);
    CloseAndExpectCleanEnd(first);
}

// Removes a file the test put into a folder that other runs share.
struct FileRemover
{
    std::wstring path;
    ~FileRemover()
    {
        if (!path.empty())
            DeleteFileW(path.c_str());
    }
};

// The hand-over only happens when the second start read DISABLETWIN=1: whether it
// ends without a window shows which settings file it used.
void ExpectSecondStartHandsOver(const std::wstring& root, const std::wstring& secondExe,
                                const std::wstring& workDir = L"")
{
    qvtest::QvProgram firstProgram(root, L"first");
    qvtest::QvProcess first;
    ASSERT_TRUE(first.Start(firstProgram.Exe()));
    ASSERT_NE(nullptr, first.WaitForMainWindow(L" - qv"));

    qvtest::QvProcess second;
    ASSERT_TRUE(second.Start(secondExe, L"", workDir));
    RunResult run = WaitPumping(second);
    if (!run.ended)
        second.Close();
    EXPECT_TRUE(run.ended && !run.showedWindow) << "the second start did not take DISABLETWIN=1";
    EXPECT_EQ(0u, run.exitCode);
    if (run.showedWindow && second.WaitForMainWindow(L" - qv", 1000))
        second.Close();
    CloseAndExpectCleanEnd(first);
}

TEST(ProgramSettingsFile, TheWindowsFolderServesWhenTheProgramFolderHasNone)
{
    const std::wstring root = qvtest::ScratchDir();
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    FileRemover remover;
    const std::wstring shared = std::wstring(windows) + L"\\qv.ini";
    if (GetFileAttributesW(shared.c_str()) != INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "a qv.ini lies in the Windows folder already; not touching it";
    remover.path = shared;
    ASSERT_TRUE(qvtest::WriteFileBytes(shared, "[ALLDATA2]\r\nDISABLETWIN=1\r\n"));
    ExpectSecondStartHandsOver(root, qvtest::QvProgram(root).Exe());
}

TEST(ProgramSettingsFile, UserIniRedirectsThisUsersSettings)
{
    const std::wstring root = qvtest::ScratchDir();
    const std::wstring user = UserName();
    ASSERT_FALSE(user.empty());
    qvtest::QvProgram program(root);
    const std::wstring elsewhere = root + L"\\elsewhere";
    CreateDirectoryW(elsewhere.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(elsewhere + L"\\mine.ini", "[ALLDATA2]\r\nDISABLETWIN=1\r\n"));
    ASSERT_TRUE(program.WriteSettings("[USERINI]\r\n" + Narrow(user) + "=@" + Narrow(elsewhere) +
                                      "\\mine.ini\r\n[ALLDATA2]\r\nDISABLETWIN=0\r\n"));
    ExpectSecondStartHandsOver(root, program.Exe());
}

TEST(ProgramSettingsFile, ABarePerUserFileNameLiesInTheProgramFolderNotTheCurrentOne)
{
    const std::wstring root = qvtest::ScratchDir();
    const std::wstring user = UserName();
    ASSERT_FALSE(user.empty());
    qvtest::QvProgram program(root);
    const std::wstring current = root + L"\\current";
    CreateDirectoryW(current.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(current + L"\\mine.ini", "[ALLDATA2]\r\nDISABLETWIN=0\r\n"));
    ASSERT_TRUE(qvtest::WriteFileBytes(program.Folder() + L"\\mine.ini", "[ALLDATA2]\r\nDISABLETWIN=1\r\n"));
    ASSERT_TRUE(program.WriteSettings("[USERINI]\r\n" + Narrow(user) +
                                      "=@mine.ini\r\n[ALLDATA2]\r\nDISABLETWIN=0\r\n"));
    ExpectSecondStartHandsOver(root, program.Exe(), current);
}

TEST(Program, AboutDialogOpensAndCloses)
{
    const std::wstring root = qvtest::ScratchDir();
    qvtest::QvProgram program(root);
    qvtest::QvProcess qv;
    ASSERT_TRUE(qv.Start(program.Exe()));
    HWND main = qv.WaitForMainWindow(L" - qv");
    ASSERT_NE(nullptr, main);

    PostMessageW(main, WM_COMMAND, 57664, 0);
    qvtest::WindowMatch aboutMatch;
    aboutMatch.caption = L"バージョン情報(Quarvel)";
    HWND about = qvtest::WaitForProcessWindow(qv.ProcessId(), aboutMatch, 10000);
    ASSERT_NE(nullptr, about) << "no About dialog";
    wchar_t edition[64] = L"";
    GetDlgItemTextW(about, 1358, edition, 64);
    EXPECT_STREQ(L"UNICODE版(64ビット版)", edition);
    EXPECT_NE(nullptr, GetDlgItem(about, 556));

    PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(qvtest::PumpUntil([&] { return !IsWindow(about); }, 10000))
        << "the About dialog did not close";
    CloseAndExpectCleanEnd(qv);
}

} // namespace
