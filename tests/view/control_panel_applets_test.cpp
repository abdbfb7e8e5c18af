// The applet scan over a folder of stand-in applets, and the runner's command lines.
#include <gtest/gtest.h>

#include "app/OsVersion.h"
#include "app/PlugInCommands.h"
#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/settings/ToolSettings.h"
#include "tests/common/TestSupport.h"
#include "tools/cpl/AppletCommands.h"

#include <string>
#include <tuple>
#include <vector>

namespace
{

// (file, applet name, description, append-name flag)
using Applet = std::tuple<std::wstring, std::wstring, std::wstring, int>;

std::vector<std::wstring> g_started;

UINT WINAPI KeepCommandLine(LPCSTR commandLine, UINT show)
{
    wchar_t wide[1024] = {};
    MultiByteToWideChar(CP_ACP, 0, commandLine, -1, wide, 1024);
    g_started.push_back(std::wstring(wide) + (show == SW_SHOW ? L"" : L" (hidden)"));
    return 33;
}

// Starts the command line as WinExec does (the program looked for by its name on the
// command line, the current folder searched) and waits for the process to end.
UINT WINAPI RunAndWait(LPCSTR commandLine, UINT show)
{
    std::string line = commandLine;
    STARTUPINFOA startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 2;
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 33;
}

class ControlPanelApplets : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ReadOsVersion();
        m_savedList.Copy(g_CplList);
        m_savedNonLoad.Copy(g_NonLoadCplList);
        m_savedDebug = {g_DEBUGMODE, g_DebugFlags[3]};
        GetCurrentDirectoryW(MAX_PATH, m_savedCurrent);
        m_folder = qvtest::ScratchDir() + L"\\applets";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        for (const wchar_t* name :
             {L"cpl_newinquire.cpl", L"cpl_inquire.cpl", L"cpl_noinit.cpl", L"cpl_noexport.cpl"})
            ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\cpl-stub\\" + name).c_str(),
                                  (m_folder + L"\\" + name).c_str(), FALSE))
                << "stand-in " << name;
        // Not a library at all: it is listed from the built-in table, never loaded.
        ASSERT_TRUE(qvtest::WriteFileBytes(m_folder + L"\\MAIN.CPL", "not an applet"));
        ASSERT_TRUE(qvtest::WriteFileBytes(m_folder + L"\\notes.txt", "x"));
        CplApi api = g_CplApi;
        api.folder = m_folder.c_str();
        api.execute = KeepCommandLine;
        m_api = new ScopedCplApi(api);
        g_NonLoadCplList.RemoveAll();
        for (int i = 0; i < 10; ++i)
            g_NonLoadCplList.Add(CString());
        g_DEBUGMODE = 0;
        g_DebugFlags[3] = 0;
        g_started.clear();
    }
    void TearDown() override
    {
        delete m_api;
        SetCurrentDirectoryW(m_savedCurrent);
        g_CplList.Copy(m_savedList);
        g_NonLoadCplList.Copy(m_savedNonLoad);
        std::tie(g_DEBUGMODE, g_DebugFlags[3]) = m_savedDebug;
    }
    static std::vector<Applet> Sorted()
    {
        std::vector<Applet> applets;
        for (INT_PTR i = 0; i < g_CplList.GetSize(); ++i)
            applets.emplace_back(static_cast<LPCWSTR>(g_CplList[i].m_file),
                                 static_cast<LPCWSTR>(g_CplList[i].m_name),
                                 static_cast<LPCWSTR>(g_CplList[i].m_description), g_CplList[i].m_appendName);
        // The folder's listing order is the file system's: only the two rows of one
        // file keep a fixed order, which the sort keeps (stable on the file).
        std::stable_sort(applets.begin(), applets.end(),
                         [](const Applet& a, const Applet& b) { return std::get<0>(a) < std::get<0>(b); });
        return applets;
    }

    std::wstring m_folder;
    CArray<CCplEntry> m_savedList;
    CStringArray m_savedNonLoad;
    std::pair<int, int> m_savedDebug;
    wchar_t m_savedCurrent[MAX_PATH] = {};
    ScopedCplApi* m_api = nullptr;
};

const Applet kKeyboard{L"MAIN.CPL", L"キーボード", L"キーボードの設定をカスタマイズします。", 1};
const Applet kMouse{L"MAIN.CPL", L"マウス", L"マウスの設定をカスタマイズします。", 1};
const Applet kNewInquire{L"cpl_newinquire.cpl", L"新しい照会", L"名前を自分で返すアプレット", 0};
const Applet kInquire{L"cpl_inquire.cpl", L"文字列の名前", L"文字列表の説明", 0};

TEST_F(ControlPanelApplets, ScanNamesKnownFilesFromTheTableAndAsksTheOthers)
{
    struct Case
    {
        const wchar_t* skipped; // a don't-load entry
        int debug;              // DEBUGMODE and debug flag 3
        std::vector<INT_PTR> answers;
        std::vector<Applet> expected;
        size_t questions;
    };
    const Case cases[] = {
        {L"", 0, {}, {kKeyboard, kMouse, kInquire, kNewInquire}, 0},
        {L"CPL_NEWINQUIRE.CPL", 0, {}, {kKeyboard, kMouse, kInquire}, 0},
        {L"main.cpl", 0, {}, {kInquire, kNewInquire}, 0},
        // Every unknown file is asked about; the refused one stays out, the known one
        // is never asked about.
        {L"", 1, {IDYES, IDYES, IDYES, IDYES}, {kKeyboard, kMouse, kInquire, kNewInquire}, 4},
        {L"", 1, {IDNO, IDNO, IDNO, IDNO}, {kKeyboard, kMouse}, 4},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "skipped " << c.skipped << " debug " << c.debug);
        g_NonLoadCplList[7] = c.skipped;
        g_DEBUGMODE = c.debug;
        g_DebugFlags[3] = c.debug;
        CDialogAnswerScript script;
        for (INT_PTR answer : c.answers)
            script.Add(answer);
        LoadControlPanelApplets();
        EXPECT_EQ(Sorted(), c.expected);
        std::vector<CDialogQuestion> questions = script.GetQuestions();
        ASSERT_EQ(questions.size(), c.questions);
        for (const CDialogQuestion& question : questions)
        {
            EXPECT_EQ(question.caption, CString(L"読み込み確認"));
            EXPECT_EQ(question.text.Right(12), CString(L".cplを読み込みますか"));
        }
    }
    // Only the debug mode with its applet switch asks.
    g_DEBUGMODE = 1;
    g_DebugFlags[3] = 0;
    CDialogAnswerScript script;
    LoadControlPanelApplets();
    EXPECT_EQ(Sorted().size(), 4u);
    EXPECT_TRUE(script.GetQuestions().empty());
}

TEST_F(ControlPanelApplets, ScanOfAFolderWithoutAppletsEmptiesTheList)
{
    g_CplList.Add(CCplEntry{L"old.cpl", L"古い", L"", 0});
    CplApi api = g_CplApi;
    api.folder = (m_folder + L"\\missing").c_str();
    ScopedCplApi empty(api);
    LoadControlPanelApplets();
    EXPECT_EQ(g_CplList.GetSize(), 0);
}

TEST_F(ControlPanelApplets, RunnerAndCommandTextOfEachEntry)
{
    g_CplList.RemoveAll();
    g_CplList.Add(CCplEntry{L"MAIN.CPL", L"キーボード", L"", 1});
    g_CplList.Add(CCplEntry{L"cpl_inquire.cpl", L"文字列の名前", L"", 0});
    const std::wstring run = qvtest::AppletCommandPrefix() + m_folder;
    struct Case
    {
        INT_PTR index;
        std::vector<std::wstring> started;
        const wchar_t* command;
    };
    const Case cases[] = {
        {0, {run + L"\\MAIN.CPL キーボード"}, L"@Defaultcpl MAIN.CPL キーボード"},
        {1, {run + L"\\cpl_inquire.cpl"}, L"@Defaultcpl cpl_inquire.cpl"},
        {2, {}, L""},
        {-1, {}, L""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.index);
        g_started.clear();
        RunCplApplet(c.index);
        EXPECT_EQ(g_started, c.started);
        CString command = L"stale";
        GetCplCommandText(c.index, command);
        EXPECT_EQ(command, CString(c.command));
    }
    g_started.clear();
    EXPECT_EQ(RunControlPanelApplet(L""), 0);
    EXPECT_TRUE(g_started.empty());
}

TEST_F(ControlPanelApplets, ARundll32InTheBrowsedFolderIsNeverStarted)
{
    // The stand-in records every start in the marker file; planted under the name of
    // the system tool in the folder the program has made current.
    const std::wstring& browsed = m_folder;
    ASSERT_TRUE(CopyFileW((qvtest::ProgramDir() + L"\\qv_record_args.exe").c_str(),
                          (browsed + L"\\rundll32.exe").c_str(), FALSE));
    const std::wstring marker = browsed + L"\\started.txt";
    ASSERT_TRUE(SetCurrentDirectoryW(browsed.c_str()));
    SetEnvironmentVariableW(L"QV_RECORD_FILE", marker.c_str());
    CplApi api = g_CplApi;
    api.execute = RunAndWait;
    ScopedCplApi runner(api);

    // The plant is live: a bare name would start it.
    g_CplApi.execute("rundll32.exe shell32.dll,Control_RunDLL none.cpl", SW_SHOW);
    EXPECT_FALSE(qvtest::ReadFileBytes(marker).empty());
    DeleteFileW(marker.c_str());

    EXPECT_EQ(RunControlPanelApplet((browsed + L"\\none.cpl").c_str()), 1);
    SetEnvironmentVariableW(L"QV_RECORD_FILE", nullptr);
    EXPECT_EQ(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES);
}

} // namespace
