// The settings writer: when it writes nothing, the per-user redirection of section
// "USERINI", the directory-tree caches, empty lists, and a main file that is in use.
#include "tests/view/SettingsTestSupport.h"
#include "app/SettingStrings.h"
#include "view/settings/ViewSettingsLink.h"

#include <set>

using namespace settingstest;

namespace
{

class SettingsWriter : public SettingsBench
{
protected:
    std::wstring UserPath() const { return m_dir + L"\\alice.ini"; }
    // The main file holds bob's and alice's entries and a section of its own; alice's
    // own file holds her old settings.
    void WriteSharedFiles(bool redirected)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(
            MainPath(),
            Utf16File(L"[USERINI]\r\nbob=@D:\\bob.ini\r\nalice=" + std::wstring(redirected ? L"@" : L"") +
                      UserPath() + L"\r\n[SHARED]\r\nKEY=main value\r\n[ALLDATA2]\r\nDISABLETWIN=1\r\n")));
        ASSERT_TRUE(qvtest::WriteFileBytes(
            UserPath(),
            Utf16File(L"[USERINI]\r\ncarol=c.ini\r\n[ALLDATA2]\r\nDISABLETWIN=0\r\n[MINE]\r\nOLD=1\r\n")));
        g_UserIniPath = UserPath().c_str();
        g_UserIniActive = redirected ? 1 : 0;
    }
};

TEST_F(SettingsWriter, NoSaveWithoutRedirectionTouchesNothing)
{
    WriteSharedFiles(false);
    const std::string before = qvtest::ReadFileBytes(MainPath());
    const std::set<std::wstring> namesBefore = qvtest::ListFolder(m_dir);
    CQvView& view = LoadFile(MainPath());
    view.m_settings.noSaveAtExit = 1;
    view.SaveAllSettings();
    EXPECT_EQ(before, qvtest::ReadFileBytes(MainPath()));
    EXPECT_EQ(namesBefore, qvtest::ListFolder(m_dir)); // no backup either
}

TEST_F(SettingsWriter, NoSaveWithRedirectionRewritesTheMainFileOnly)
{
    WriteSharedFiles(true);
    const std::string userBefore = qvtest::ReadFileBytes(UserPath());
    CQvView& view = LoadFile(UserPath());
    view.m_settings.noSaveAtExit = 1;
    view.SaveAllSettings();

    EXPECT_EQ(userBefore, qvtest::ReadFileBytes(UserPath()));
    IniMap main = ReadIni(MainPath());
    EXPECT_EQ((std::vector<std::wstring>{L"USERINI", L"SHARED", L"ALLDATA2"}), SectionOrder(MainPath()));
    EXPECT_EQ(L"@D:\\bob.ini", main[L"USERINI"][L"bob"]);
    EXPECT_EQ(L"@" + UserPath(), main[L"USERINI"][L"alice"]);
    EXPECT_EQ(L"main value", main[L"SHARED"][L"KEY"]);
    EXPECT_EQ(L"1", main[L"ALLDATA2"][L"DISABLETWIN"]);
}

TEST_F(SettingsWriter, WithRedirectionTheMainFileKeepsOtherUsersAndTheSettingsGoToTheUsersFile)
{
    WriteSharedFiles(true);
    LoadFile(UserPath()).SaveAllSettings();

    IniMap main = ReadIni(MainPath());
    EXPECT_EQ(L"@D:\\bob.ini", main[L"USERINI"][L"bob"]);
    EXPECT_EQ(L"main value", main[L"SHARED"][L"KEY"]);
    EXPECT_EQ(L"1", main[L"ALLDATA2"][L"DISABLETWIN"]);
    EXPECT_EQ(0u, main.count(L"FILERINFODATA"));

    IniMap mine = ReadIni(UserPath());
    EXPECT_EQ(L"0", mine[L"ALLDATA2"][L"DISABLETWIN"]);
    EXPECT_EQ(1u, mine.count(L"FILERINFODATA"));
    EXPECT_EQ(0u, mine.count(L"MINE")); // the user's file is written anew
    // The user's file keeps its own "USERINI" entries, first in the file.
    EXPECT_EQ(L"USERINI", SectionOrder(UserPath()).front());
    EXPECT_EQ((std::map<std::wstring, std::wstring>{{L"carol", L"c.ini"}}), mine[L"USERINI"]);
    // Both files were backed up first.
    std::set<std::wstring> names = qvtest::ListFolder(m_dir);
    EXPECT_EQ(1u, names.count(L"qv.bck"));
    EXPECT_EQ(1u, names.count(L"alice.bck"));
}

TEST_F(SettingsWriter, TheUsersEntryIsSetOrAppendedByExactName)
{
    struct Case
    {
        const wchar_t* name;
        std::wstring userIni; // the USERINI section of the main file
        const wchar_t* path;  // g_UserIniPath
        int active;
        std::map<std::wstring, std::wstring> expected;
    };
    const std::wstring bare = m_dir + L"\\mine.ini";
    const Case cases[] = {
        {L"bare name, redirection on", L"alice=@mine.ini\r\n", L"mine.ini", 1, {{L"alice", L"@" + bare}}},
        {L"bare name, redirection off", L"alice=mine.ini\r\n", L"mine.ini", 0, {{L"alice", bare}}},
        {L"new user", L"bob=x.ini\r\n", L"", 0, {{L"bob", L"x.ini"}, {L"alice", L""}}},
        {L"other case is another user",
         L"ALICE=@C:\\A.ini\r\n",
         L"",
         0,
         {{L"ALICE", L"@C:\\A.ini"}, {L"alice", L""}}},
    };
    for (const Case& t : cases)
    {
        SCOPED_TRACE(t.name);
        ASSERT_TRUE(qvtest::WriteFileBytes(MainPath(), Utf16File(L"[USERINI]\r\n" + t.userIni)));
        g_UserIniPath = t.path;
        g_UserIniActive = t.active;
        LoadFile(MainPath()).SaveAllSettings();
        IniMap main = ReadIni(MainPath());
        EXPECT_EQ(t.expected, main[L"USERINI"]);
    }
}

TEST_F(SettingsWriter, TreeCachesAreWrittenOnlyForLoadedTrees)
{
    const std::wstring oldCache = m_dir + L"\\D_TREE.DAT";
    ASSERT_TRUE(qvtest::WriteFileBytes(oldCache, "old cache"));
    LoadText(L"[ALLDATA]\r\nSAVEDRIVETREETOFILE=1\r\n");
    m_view->SaveAllSettings();
    EXPECT_EQ("old cache", qvtest::ReadFileBytes(oldCache));
    EXPECT_EQ(0u, qvtest::ListFolder(m_dir).count(L"C_TREE.DAT"));

    CDirTreeChain tree;
    tree.Append(L"C:\\Tools");
    tree.Append(L"C:\\Tools\\ツール");
    g_DirTreeStore.SetTree(L'c', tree.Detach());
    g_DirTreeStore.SetTree(L'E', nullptr); // none: skipped
    m_view->SaveAllSettings();
    EXPECT_EQ(Utf16File(L"C:\\Tools\r\nC:\\Tools\\ツール\r\n"),
              qvtest::ReadFileBytes(m_dir + L"\\C_TREE.DAT"));
    EXPECT_EQ("old cache", qvtest::ReadFileBytes(oldCache));
    EXPECT_EQ(0u, qvtest::ListFolder(m_dir).count(L"E_TREE.DAT"));

    // The switch off writes none.
    DeleteFileW((m_dir + L"\\C_TREE.DAT").c_str());
    g_SAVEDRIVETREETOFILE = 0;
    m_view->SaveAllSettings();
    EXPECT_EQ(0u, qvtest::ListFolder(m_dir).count(L"C_TREE.DAT"));
}

TEST_F(SettingsWriter, EmptyListsEndWithAnEmptyFirstKey)
{
    LoadText(L"[ALLDATA]\r\nQVPLUGINLOADTYPE=1\r\nHIGHLOADSPI=2\r\n");
    m_view->SaveAllSettings();
    IniMap out = ReadIni(MainPath());
    for (auto [section, key] : {std::pair<const wchar_t*, const wchar_t*>{L"LANCHER", L"EXE0"},
                                {L"SUSIEDATA", L"PLUGINFILE0"},
                                {L"PLUGINDATA", L"P_NAME0"}})
    {
        SCOPED_TRACE(key);
        ASSERT_EQ(1u, out[section].count(key));
        EXPECT_EQ(L"", out[section][key]);
    }
}

TEST_F(SettingsWriter, TheSavedFlagStopsEveryLaterSave)
{
    CQvView& view = LoadText(L"");
    view.m_bSettingsSaved = 1;
    view.SaveAllSettings();
    EXPECT_EQ(0u, qvtest::ListFolder(m_dir).count(L"qv.ini"));
}

TEST_F(SettingsWriter, AMainFileInUseIsLeftAloneAndTheLogSaysSo)
{
    WriteSharedFiles(false);
    const std::string before = qvtest::ReadFileBytes(MainPath());
    CQvView& view = LoadFile(MainPath());
    const std::wstring windowsFile = std::wstring(g_WindowsDir.GetString()) + L"\\qv.ini";
    const bool windowsFileBefore = GetFileAttributesW(windowsFile.c_str()) != INVALID_FILE_ATTRIBUTES;
    HANDLE held = CreateFileW(MainPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    view.SaveAllSettings();
    CloseHandle(held);

    EXPECT_EQ(before, qvtest::ReadFileBytes(MainPath()));
    std::wstring log = ReadUtf16File(m_dir + L"\\qv.log");
    EXPECT_NE(std::wstring::npos, log.find(MainPath())) << log;
    // Nothing went to the Windows directory's file instead.
    if (!windowsFileBefore)
    {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(windowsFile.c_str()));
    }
}

// A program folder that cannot be written sends the settings to the Windows folder,
// where every other copy of the program would read them: the log names both files.
TEST_F(SettingsWriter, AnUnwritableProgramFolderIsLoggedWithWhereTheSettingsWent)
{
    const struct
    {
        bool windowsFolderExists;
        const wchar_t* logText;
    } cases[] = {{true, L"に保存しました"}, {false, L"保存しませんでした"}};
    for (const auto& c : cases)
    {
        const std::wstring home = m_dir + L"\\gone";
        const std::wstring windows = m_dir + (c.windowsFolderExists ? L"\\windows" : L"\\no-windows");
        if (c.windowsFolderExists)
        {
            ASSERT_TRUE(CreateDirectoryW(windows.c_str(), nullptr));
        }
        DeleteFileW((m_dir + L"\\qv.log").c_str());
        CQvView& view = LoadText(L"");
        g_HomeDir = home.c_str();
        g_WindowsDir = windows.c_str();
        view.SaveAllSettings();

        EXPECT_EQ(c.windowsFolderExists ? 1u : 0u, ReadIni(windows + L"\\qv.ini").count(L"ALLDATA"));
        const std::wstring log = ReadUtf16File(m_dir + L"\\qv.log");
        EXPECT_NE(std::wstring::npos, log.find(home + L"\\qv.ini")) << log;
        EXPECT_NE(std::wstring::npos, log.find(windows + L"\\qv.ini")) << log;
        EXPECT_NE(std::wstring::npos, log.find(c.logText)) << log;
    }
}

TEST_F(SettingsWriter, AFileOfNothingButAByteOrderMarkIsReplaced)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(MainPath(), "\xFF\xFE"));
    LoadFile(MainPath()).SaveAllSettings();
    EXPECT_EQ(1u, ReadIni(MainPath()).count(L"ALLDATA"));
}

// The directories the panes end in, as the writer stores them for the next start.
TEST_F(SettingsWriter, EndDirectoriesFollowTheVisibleAndActivePanes)
{
    struct Case
    {
        UINT position0, mode0, position1, mode1;
        const wchar_t* end;
        const wchar_t* end2;
    } cases[] = {
        {PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_POS_OTHER, PANE_MODE_FILER, L"C:\\one", L"D:\\two"},
        {PANE_POS_OTHER, PANE_MODE_BINARY, PANE_POS_ACTIVE, PANE_MODE_GRAPHIC, L"C:\\one", L"D:\\two"},
        {PANE_POS_ACTIVE, PANE_MODE_ARCHIVE, PANE_POS_HIDDEN, PANE_MODE_FILER, L"C:\\one", L""},
        {PANE_POS_HIDDEN, PANE_MODE_FILER, PANE_POS_ACTIVE, PANE_MODE_TEXT_VIEWER, L"D:\\two", L""},
        {PANE_POS_ACTIVE, PANE_MODE_BINARY, PANE_POS_HIDDEN, PANE_MODE_FILER, L"", L""},
        {PANE_POS_HIDDEN, PANE_MODE_FILER, PANE_POS_ACTIVE, PANE_MODE_NETWORK, L"", L""},
    };
    CFilerPane first(0), second(1);
    first.m_currentDir = L"C:\\one";
    second.m_currentDir = L"D:\\two";
    CFilerPane* saved[2] = {g_Panes[0], g_Panes[1]};
    g_Panes[0] = &first;
    g_Panes[1] = &second;
    for (const Case& c : cases)
    {
        first.m_position = c.position0, first.m_mode = c.mode0;
        second.m_position = c.position1, second.m_mode = c.mode1;
        g_ENDDIRECTORY = L"old", g_ENDDIRECTORY2 = L"old";
        ComputeEndDirectories();
        EXPECT_EQ(c.end, std::wstring(g_ENDDIRECTORY.GetString()))
            << c.position0 << "/" << c.mode0 << " " << c.position1 << "/" << c.mode1;
        EXPECT_EQ(c.end2, std::wstring(g_ENDDIRECTORY2.GetString()));
    }
    g_Panes[0] = saved[0];
    g_Panes[1] = saved[1];
}

} // namespace
