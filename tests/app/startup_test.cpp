// Start-up pieces that run before any window: the "-D" command line, the start
// directory slots of the shared memory, finding the settings file with its per-user
// redirection, and the library search path.
#include "util/Globals.h"
#include "util/IniFile.h"
#include "app/Settings.h"
#include "app/StartDirs.h"
#include "app/StartupSettings.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

struct CommandLineCase
{
    const wchar_t* commandLine;
    const wchar_t* dir0;
    const wchar_t* dir1;
};

TEST(StartDirs, CommandLineTable)
{
    const CommandLineCase cases[] = {
        {L"-D\"C:\\My Folder\" -dD:\\work", L"C:\\My Folder", L"D:\\work"},
        {L"-DC:\\a -DC:\\b -DC:\\c", L"C:\\a", L"C:\\b"},
        {L"\"-DC:\\a\" -DC:\\b", L"C:\\b", L""},
        {L"-D -DC:\\b", L"", L"C:\\b"},
        {L"-D", L"", L""},
        {L"", L"", L""},
        {L"C:\\file.txt /x -x -Da", L"a", L""},
        {L"   -Da    -db   ", L"a", L"b"},
        {L"-D\"x\"", L"x", L""},
        {L"-D\"C:\\open", L"", L""},
        {L"-dC:\\a\"b c\"d", L"C:\\a\"b c\"d", L""},
    };
    for (const CommandLineCase& c : cases)
    {
        CString dirs[2] = {CString(L"old0"), CString(L"old1")};
        ParseStartDirs(c.commandLine, dirs);
        EXPECT_STREQ(c.dir0, dirs[0].GetString()) << "command line: " << c.commandLine;
        EXPECT_STREQ(c.dir1, dirs[1].GetString()) << "command line: " << c.commandLine;
    }
}

TEST(StartDirs, SlotsHoldUpTo1039CharactersAndNeverSpillIntoTheNext)
{
    std::vector<wchar_t> shared(2 * kStartDirSlotChars + 1, L'#');
    const std::wstring fits(kStartDirSlotChars - 1, L'a');
    const std::wstring tooLong(kStartDirSlotChars, L'b');

    WriteStartDirSlot(shared.data(), 0, fits.c_str());
    WriteStartDirSlot(shared.data(), 1, L"D:\\second");
    CString read;
    ReadStartDirSlot(shared.data(), 0, read);
    EXPECT_EQ(fits, std::wstring(read.GetString()));
    ReadStartDirSlot(shared.data(), 1, read);
    EXPECT_STREQ(L"D:\\second", read.GetString());

    // Too long for its slot: written as none, and the neighbour keeps its contents.
    WriteStartDirSlot(shared.data(), 0, tooLong.c_str());
    ReadStartDirSlot(shared.data(), 0, read);
    EXPECT_TRUE(read.IsEmpty());
    ReadStartDirSlot(shared.data(), 1, read);
    EXPECT_STREQ(L"D:\\second", read.GetString());
    WriteStartDirSlot(shared.data(), 1, std::wstring(5000, L'c').c_str());
    EXPECT_EQ(L'#', shared[2 * kStartDirSlotChars]);

    WriteStartDirSlot(shared.data(), 1, nullptr);
    ReadStartDirSlot(shared.data(), 1, read);
    EXPECT_TRUE(read.IsEmpty());
}

TEST(StartDirs, ReaderStopsAtTheSlotEndWhenTheWriterLeftNoTerminator)
{
    std::vector<wchar_t> shared(2 * kStartDirSlotChars, L'x');
    for (int i = kStartDirSlotChars; i < 2 * kStartDirSlotChars; ++i)
        shared[i] = L'y';
    CString read;
    ReadStartDirSlot(shared.data(), 0, read);
    EXPECT_EQ(std::wstring(kStartDirSlotChars, L'x'), std::wstring(read.GetString()));
    // The last slot has nothing behind it in the mapping: reading it must stay inside.
    std::vector<wchar_t> lastOnly(kStartDirSlotChars, L'z');
    ReadStartDirSlot(lastOnly.data() - kStartDirSlotChars, 1, read);
    EXPECT_EQ(kStartDirSlotChars, read.GetLength());
}

TEST(StartupSettings, UserIniPathOfARelativePathLiesInTheProgramFolder)
{
    struct
    {
        const wchar_t* value;
        const wchar_t* expected;
    } cases[] = {
        {L"mine.ini", L"C:\\Prog\\mine.ini"},
        {L"D:\\cfg\\mine.ini", L"D:\\cfg\\mine.ini"},
        {L"\\\\server\\share\\mine.ini", L"\\\\server\\share\\mine.ini"},
        {L"sub\\mine.ini", L"C:\\Prog\\sub\\mine.ini"},
        {L"\\cfg\\mine.ini", L"C:\\cfg\\mine.ini"},
        {L"D:mine.ini", L"D:mine.ini"},
        {L"", L""},
    };
    for (const auto& c : cases)
    {
        CString out(L"stale");
        ResolveUserIniPath(c.value, L"C:\\Prog", out);
        EXPECT_STREQ(c.expected, out.GetString()) << c.value;
    }
}

// Runs LoadStartupSettings against folders of the test and puts every global it
// touches back afterwards, the integer settings to their defaults.
class StartupSettingsLoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_root = qvtest::ScratchDir();
        m_home = m_root + L"\\prog";
        m_windows = m_root + L"\\win";
        m_other = m_root + L"\\elsewhere";
        for (const std::wstring* dir : {&m_home, &m_windows, &m_other})
            CreateDirectoryW(dir->c_str(), nullptr);
        m_saved[0] = g_HomeDir;
        m_saved[1] = g_WindowsDir;
        m_saved[2] = g_UserName;
        g_HomeDir = m_home.c_str();
        g_WindowsDir = m_windows.c_str();
        g_UserName = L"tester";
        wchar_t cwd[MAX_PATH] = L"";
        GetCurrentDirectoryW(MAX_PATH, cwd);
        m_savedCwd = cwd;
        SetCurrentDirectoryW(m_other.c_str());
    }

    void TearDown() override
    {
        SetCurrentDirectoryW(m_savedCwd.c_str());
        delete g_SettingsIni;
        g_SettingsIni = nullptr;
        g_HomeDir = m_saved[0];
        g_WindowsDir = m_saved[1];
        g_UserName = m_saved[2];
        g_UserIniPath.Empty();
        g_UserIniActive = 0;
        CIniFile empty;
        ReadIntSettings(empty);
    }

    static void WriteIni(const std::wstring& path, const std::string& text)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(path, text));
    }

    static std::string Narrow(const std::wstring& text)
    {
        return std::string(text.begin(), text.end()); // the scratch paths are ASCII
    }

    std::wstring m_root, m_home, m_windows, m_other, m_savedCwd;
    CString m_saved[3];
};

TEST_F(StartupSettingsLoad, FindsTheFileAndFollowsThisUsersRedirection)
{
    struct Case
    {
        const char* name;
        std::string programIni;    // empty: no file
        std::string windowsIni;    // empty: no file
        std::string userFile;      // written as prog\<userFileName> when not empty
        std::string elsewhereFile; // written as elsewhere\<userFileName> (the current directory)
        int disableTwin;
        int userIniActive;
        const wchar_t* userFileName = L"mine.ini";
    };
    const std::string userIniAbsolute = "[USERINI]\r\ntester=@" + Narrow(m_home) + "\\mine.ini\r\n";
    const Case cases[] = {
        {"no file anywhere", "", "", "", "", 0, 0},
        {"only the Windows folder", "", "[ALLDATA2]\r\nDISABLETWIN=1\r\n", "", "", 1, 0},
        {"program folder first", "[ALLDATA2]\r\nDISABLETWIN=2\r\n", "[ALLDATA2]\r\nDISABLETWIN=1\r\n", "", "",
         2, 0},
        {"redirected by full path", userIniAbsolute + "[ALLDATA2]\r\nDISABLETWIN=2\r\n", "",
         "[ALLDATA2]\r\nDISABLETWIN=3\r\n", "", 3, 1},
        {"redirected by bare name", "[USERINI]\r\ntester=@mine.ini\r\n[ALLDATA2]\r\nDISABLETWIN=2\r\n", "",
         "[ALLDATA2]\r\nDISABLETWIN=4\r\n", "[ALLDATA2]\r\nDISABLETWIN=5\r\n", 4, 1},
        {"value without @ does not redirect",
         "[USERINI]\r\ntester=mine.ini\r\n[ALLDATA2]\r\nDISABLETWIN=2\r\n", "",
         "[ALLDATA2]\r\nDISABLETWIN=4\r\n", "", 2, 0},
        {"another user's entry", "[USERINI]\r\nsomeone=@mine.ini\r\n[ALLDATA2]\r\nDISABLETWIN=2\r\n", "",
         "[ALLDATA2]\r\nDISABLETWIN=4\r\n", "", 2, 0},
        {"missing per-user file gives defaults",
         "[USERINI]\r\ntester=@gone.ini\r\n[ALLDATA2]\r\nDISABLETWIN=2\r\n", "", "", "", 0, 1},
        {"redirected by a relative path with a folder",
         "[USERINI]\r\ntester=@sub\\mine.ini\r\n[ALLDATA2]\r\nDISABLETWIN=2\r\n", "",
         "[ALLDATA2]\r\nDISABLETWIN=6\r\n", "[ALLDATA2]\r\nDISABLETWIN=7\r\n", 6, 1, L"sub\\mine.ini"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CreateDirectoryW((m_home + L"\\sub").c_str(), nullptr);
        CreateDirectoryW((m_other + L"\\sub").c_str(), nullptr);
        const std::wstring files[] = {m_home + L"\\qv.ini", m_windows + L"\\qv.ini",
                                      m_home + L"\\" + c.userFileName, m_other + L"\\" + c.userFileName};
        const std::string* texts[] = {&c.programIni, &c.windowsIni, &c.userFile, &c.elsewhereFile};
        for (int i = 0; i < 4; ++i)
        {
            DeleteFileW(files[i].c_str());
            if (!texts[i]->empty())
                WriteIni(files[i], *texts[i]);
        }
        g_DISABLETWIN = 99;
        ASSERT_TRUE(LoadStartupSettings());
        ASSERT_NE(nullptr, g_SettingsIni);
        EXPECT_EQ(c.disableTwin, g_DISABLETWIN);
        EXPECT_EQ(c.userIniActive, g_UserIniActive);
        delete g_SettingsIni;
        g_SettingsIni = nullptr;
        g_UserIniActive = 0;
    }
}

TEST_F(StartupSettingsLoad, KeepsThePerUserValueAsGiven)
{
    WriteIni(m_home + L"\\qv.ini", "[USERINI]\r\ntester=@mine.ini\r\nother=@x.ini\r\n");
    ASSERT_TRUE(LoadStartupSettings());
    EXPECT_STREQ(L"mine.ini", g_UserIniPath.GetString());
    EXPECT_EQ(1, g_UserIniActive);
}

// A library folder set before start-up stops supplying libraries loaded by name, which
// shows the call was made and took; the current directory goes with it on Windows.
TEST(StartupHardening, LibrariesAreNoLongerLoadedFromTheCurrentDirectory)
{
    const std::wstring fixture = qvtest::ProgramDir() + L"\\qv_fault_fixture.dll";
    ASSERT_NE(GetFileAttributesW(fixture.c_str()), INVALID_FILE_ATTRIBUTES) << "fixture DLL not built";
    const std::wstring libraryDir = qvtest::ScratchDir() + L"\\library-folder";
    const std::wstring browsedDir = qvtest::ScratchDir() + L"\\browsed-folder";
    ASSERT_TRUE(CreateDirectoryW(libraryDir.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(browsedDir.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(fixture.c_str(), (libraryDir + L"\\qv_folder_probe.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(fixture.c_str(), (browsedDir + L"\\qv_planted_probe.dll").c_str(), FALSE));
    wchar_t cwd[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, cwd);

    auto loads = [](LPCWSTR name) {
        HMODULE module = LoadLibraryW(name);
        if (module != nullptr)
            FreeLibrary(module);
        return module != nullptr;
    };
    ASSERT_TRUE(SetDllDirectoryW(libraryDir.c_str()));
    ASSERT_TRUE(loads(L"qv_folder_probe.dll")) << "the library folder set before supplies the probe";
    ASSERT_TRUE(SetCurrentDirectoryW(browsedDir.c_str()));
    const bool plantedBefore = loads(L"qv_planted_probe.dll");

    EXPECT_TRUE(HardenDllSearchPath());
    const bool folderAfter = loads(L"qv_folder_probe.dll");
    const bool plantedAfter = loads(L"qv_planted_probe.dll");
    wchar_t setDir[MAX_PATH] = L"?";
    const DWORD setLength = GetDllDirectoryW(MAX_PATH, setDir);
    SetCurrentDirectoryW(cwd);
    SetDllDirectoryW(nullptr);

    EXPECT_FALSE(folderAfter) << "the library folder set before must no longer supply libraries";
    EXPECT_EQ(setLength, 0u);
    EXPECT_STREQ(setDir, L"");
    // Wine 8 keeps searching the current directory whatever the library folder is; on
    // Windows the empty folder drops it, which is what keeps a browsed folder harmless.
    const bool underWine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (!underWine)
    {
        EXPECT_FALSE(plantedBefore) << "with a library folder set, the current directory is not searched";
        EXPECT_FALSE(plantedAfter);
    }
}

} // namespace
