// Programs started from the panes: command lines, bound program texts, the run
// dialog, the loop execution, and the command prompt and PowerShell openers. Real
// starts run only the stand-in program qv_record_args, which records its command
// line and working folder.
#include "app/CommandMacros.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/SettingStrings.h"
#include "app/settings/GeneralToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "tests/common/TestHelpers.h"
#include "res/FileDialogs.h"
#include "tests/common/DialogHarness.h"
#include "tests/view/CommandTestSupport.h"
#include "tools/execute/LoopExecute.h"
#include "view/shell/ShellSeam.h"

#include <vector>

#include <tlhelp32.h>

using qvtest::W;

namespace
{

struct StartedProgram
{
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    std::wstring directory;
};

std::vector<StartedProgram>* g_started = nullptr;

HINSTANCE WINAPI RecordStart(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, INT)
{
    g_started->push_back(
        {verb ? verb : L"", file ? file : L"", parameters ? parameters : L"", directory ? directory : L""});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

struct LoopCall
{
    std::wstring program;
    std::wstring parameters;
};
std::vector<LoopCall>* g_loops = nullptr;

void RecordLoop(CQvView&, int, LPCWSTR, LPCWSTR parameters, LPCWSTR program)
{
    g_loops->push_back({program, parameters});
}

// The lines qv_record_args wrote: command line and working folder.
std::vector<std::pair<std::wstring, std::wstring>> ReadRecords(const std::wstring& file)
{
    std::string bytes = qvtest::ReadFileBytes(file);
    std::vector<std::pair<std::wstring, std::wstring>> records;
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(length, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], length);
    size_t start = 0;
    for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
    {
        std::wstring line = text.substr(start, end - start);
        size_t tab = line.find(L'\t');
        records.push_back({line.substr(0, tab), tab == std::wstring::npos ? L"" : line.substr(tab + 1)});
    }
    return records;
}

class ShellExecutionTest : public commandtest::CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        g_started = &m_started;
        g_loops = &m_loops;
        Add(L"..", true);
        Add(L"a.txt", false);
        Add(L"sub", true);
        Add(L"b c.txt", false);
        m_panes[0]->m_cursor = 1;
    }
    void TearDown() override
    {
        g_started = nullptr;
        g_loops = nullptr;
        SetEnvironmentVariableW(L"QV_RECORD_FILE", nullptr);
        CommandBench::TearDown();
    }
    void Add(LPCWSTR name, bool folder)
    {
        WIN32_FIND_DATAW fd = {};
        fd.dwFileAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
        wcscpy_s(fd.cFileName, name);
        m_panes[0]->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, m_dir, L"", fd, -1);
    }
    void MarkAll()
    {
        for (int i : {1, 2, 3})
            m_panes[0]->m_entries[i].m_mark = 1;
        m_panes[0]->m_markedCount = 3;
    }
    void Record()
    {
        g_ShellRunSeam.shellExecute = RecordStart;
        g_ShellRunSeam.runLoopExecute = RecordLoop;
    }
    std::wstring D(LPCWSTR name) const { return W(m_dir) + L"\\" + name; }
    std::wstring Stand_in() const { return qvtest::ProgramDir() + L"\\qv_record_args.exe"; }

    CShellRunSeamOverride m_seam;
    std::vector<StartedProgram> m_started;
    std::vector<LoopCall> m_loops;
};

TEST_F(ShellExecutionTest, CommandLinesRunOncePerEntryWhereAMacroAsks)
{
    Record();
    MarkAll();
    struct Case
    {
        LPCWSTR program;
        LPCWSTR parameters;
        std::vector<std::pair<std::wstring, std::wstring>> runs;
    };
    const std::wstring a = D(L"a.txt");
    const std::wstring b = L"\"" + D(L"b c.txt") + L"\"";
    const Case cases[] = {
        {L"prog", L"-x %i", {{L"prog", L"-x " + a}, {L"prog", L"-x " + b}}},
        {L"%i", L"-x", {{a, L"-x"}, {b, L"-x"}}},
        {L"prog", L"%m", {{L"prog", a + L" " + b}}},
        {L"prog", L"", {{L"prog", L""}}},
        // Every pair of program entry and parameter entry.
        {L"%i", L"%if", {{a, L"a.txt"}, {a, L"\"b c.txt\""}, {b, L"a.txt"}, {b, L"\"b c.txt\""}}},
        // A keyword the filer does not know is a program of that name.
        {L"@NoSuchKeyword", L"", {{L"@NoSuchKeyword", L""}}},
    };
    for (const Case& c : cases)
    {
        m_started.clear();
        View().ExecuteCommandLine(0, c.program, c.parameters, nullptr);
        ASSERT_EQ(c.runs.size(), m_started.size()) << c.program << L" " << c.parameters;
        for (size_t i = 0; i < c.runs.size(); ++i)
        {
            EXPECT_EQ(c.runs[i].first, m_started[i].file) << c.program;
            EXPECT_EQ(c.runs[i].second, m_started[i].parameters) << c.program;
            EXPECT_EQ(W(m_dir), m_started[i].directory);
            EXPECT_EQ(L"", m_started[i].verb);
        }
    }
}

TEST_F(ShellExecutionTest, NothingRunsWhenAMacroFindsNoEntry)
{
    Record();
    m_panes[0]->m_cursor = 0; // ".."
    View().ExecuteCommandLine(0, L"prog", L"%m", nullptr);
    View().ExecuteCommandLine(0, L"prog", L"%c", nullptr);
    EXPECT_TRUE(m_started.empty());
    // A filer keyword runs its command and starts no program.
    View().ExecuteCommandLine(0, L"@Copy", L"", nullptr);
    EXPECT_TRUE(m_started.empty());
    EXPECT_EQ(std::vector<std::wstring>{L"CopyFiles"}, RanHandlers());
}

TEST_F(ShellExecutionTest, BoundProgramTexts)
{
    Record();
    MarkAll();
    View().ExecuteBoundProgram(L"prog,%i");
    ASSERT_EQ(2u, m_started.size());
    EXPECT_EQ(D(L"a.txt"), m_started[0].parameters);
    m_started.clear();
    // Without a comma the whole text is the program.
    View().ExecuteBoundProgram(L"my prog -x");
    ASSERT_EQ(1u, m_started.size());
    EXPECT_EQ(L"my prog -x", m_started[0].file);
    EXPECT_EQ(L"", m_started[0].parameters);
    m_started.clear();
    // Outside a filer pane nothing runs.
    m_panes[0]->m_mode = PANE_MODE_TEXT_VIEWER;
    View().ExecuteBoundProgram(L"prog,%i");
    EXPECT_TRUE(m_started.empty());
}

TEST_F(ShellExecutionTest, DefaultexeOpensTheRunDialogFilled)
{
    Record();
    CStringArray savedPrograms;
    savedPrograms.Copy(g_ExeHistory);
    CDialogAnswerScript script;
    script.Add(IDCANCEL);
    CDialogAnswer answer;
    answer.result = IDOK;
    answer.text = L"edited";
    answer.content = L"%c";
    script.Add(answer);
    View().ExecuteBoundProgram(L"@Defaultexe my prog,-p 1");
    View().ExecuteBoundProgram(L"@Defaultexe my prog,-p 1");
    auto questions = script.GetQuestions();
    ASSERT_EQ(2u, questions.size());
    EXPECT_EQ(L"ファイルの実行", W(questions[0].caption));
    ASSERT_GE(questions[0].items.size(), 3u);
    EXPECT_EQ(L"my prog", W(questions[0].items[0]));
    EXPECT_EQ(L"-p 1", W(questions[0].items[1]));
    EXPECT_EQ(W(m_dir), W(questions[0].items[2]));
    // Cancelled: nothing; accepted: the edited line runs and heads the history.
    ASSERT_EQ(1u, m_started.size());
    EXPECT_EQ(L"edited", m_started[0].file);
    EXPECT_EQ(D(L"a.txt"), m_started[0].parameters);
    ASSERT_GT(g_ExeHistory.GetSize(), 0);
    EXPECT_EQ(L"edited", W(g_ExeHistory[0]));
    g_ExeHistory.Copy(savedPrograms);
}

// An own plug-in reference "#key,file" is refused wherever a program would start:
// a bound key, a launcher entry, a file-kind action (with and without "%i") and a user
// menu item.
void RunOwnPlugInReferenceEverywhere(CQvView& view, CFilerPane& pane, LPCWSTR dir)
{
    const LPCWSTR references[] = {L"#plug,plug.qpi", L"#plug,%c", L"#unlisted,none.qpi"};
    for (LPCWSTR reference : references)
    {
        view.DispatchCommandKeyword(reference);
        view.ExecuteBoundProgram(reference);
        view.ExecuteCommandLine(0, reference, L"", nullptr); // the launcher's and the run dialog's way

        CKindExeEntry savedRow = g_KindExeTable[0];
        for (LPCWSTR parameters : {L"", L"%c", L"%i"})
        {
            g_KindExeTable[0] = CKindExeEntry();
            g_KindExeTable[0].m_extension = L"txt";
            g_KindExeTable[0].m_action = reference;
            g_KindExeTable[0].m_parameters = parameters;
            view.RunFileKindCommand(0, pane.m_entries[1], dir, nullptr, 0);
        }
        g_KindExeTable[0] = savedRow;

        CString savedCommand = g_UserMenuEntries[0].m_command;
        g_UserMenuEntries[0].m_command = reference;
        view.OnUserMenuItem(0);
        g_UserMenuEntries[0].m_command = savedCommand;
    }
}

TEST_F(ShellExecutionTest, OwnPlugInReferencesStartNoProgram)
{
    Record();
    RunOwnPlugInReferenceEverywhere(View(), *m_panes[0], m_dir);
    EXPECT_TRUE(m_started.empty());
    EXPECT_TRUE(m_loops.empty());
}

static bool ProcessNamedIsRunning(LPCWSTR exeName)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry))
        found = lstrcmpiW(entry.szExeFile, exeName) == 0;
    CloseHandle(snapshot);
    return found;
}

TEST_F(ShellExecutionTest, AProgramNamedLikeAPlugInKeyDoesNotRun)
{
    std::wstring record = W(m_dir) + L"\\plugin-record.txt";
    SetEnvironmentVariableW(L"QV_RECORD_FILE", record.c_str());
    for (LPCWSTR name : {L"#plug.exe", L"#unlisted.exe"})
        ASSERT_TRUE(CopyFileW(Stand_in().c_str(), (W(m_dir) + L"\\" + name).c_str(), FALSE));
    RunOwnPlugInReferenceEverywhere(View(), *m_panes[0], m_dir);
    // A program is created before the call that starts it returns: had one started, it
    // would still be running now or, having ended, have written its record.
    EXPECT_FALSE(ProcessNamedIsRunning(L"#plug.exe"));
    EXPECT_FALSE(ProcessNamedIsRunning(L"#unlisted.exe"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(record.c_str()));
}

TEST_F(ShellExecutionTest, TheStandInProgramRunsOncePerFileInThePaneFolder)
{
    std::wstring record = W(m_dir) + L"\\record.txt";
    SetEnvironmentVariableW(L"QV_RECORD_FILE", record.c_str());
    MarkAll();
    // The program as a quoted path, as the run dialog's browse button may give it.
    std::wstring quoted = L"\"" + Stand_in() + L"\"";
    View().ExecuteCommandLine(0, quoted.c_str(), L"%i", nullptr);
    ASSERT_TRUE(qvtest::WaitFor([&] { return ReadRecords(record).size() >= 2; }, 20000));
    auto records = ReadRecords(record);
    ASSERT_EQ(2u, records.size());
    std::wstring lines = records[0].first + L"|" + records[1].first;
    EXPECT_NE(std::wstring::npos, lines.find(D(L"a.txt")));
    EXPECT_NE(std::wstring::npos, lines.find(L"\"" + D(L"b c.txt") + L"\""));
    for (const auto& r : records)
    {
        std::wstring folder = r.second;
        if (!folder.empty() && folder.back() == L'\\')
            folder.pop_back();
        EXPECT_EQ(0, _wcsicmp(W(m_dir).c_str(), folder.c_str())) << folder;
    }
}

TEST_F(ShellExecutionTest, LoopExecutionRunsTheFilesOneAfterAnother)
{
    std::wstring record = W(m_dir) + L"\\loop.txt";
    SetEnvironmentVariableW(L"QV_RECORD_FILE", record.c_str());
    MarkAll();
    LoopExecuteJob job;
    job.pane = 0;
    job.workDirectory = m_dir;
    job.parameters = L"%cf";
    job.program = Stand_in().c_str();
    // The folder between the two files is skipped; each run ended before the next.
    EXPECT_EQ(2, RunLoopExecution(job));
    auto records = ReadRecords(record);
    ASSERT_EQ(2u, records.size());
    EXPECT_NE(std::wstring::npos, records[0].first.find(L"a.txt"));
    EXPECT_NE(std::wstring::npos, records[1].first.find(L"\"b c.txt\""));

    // A start that fails asks whether to go on; No ends the loop.
    CDialogAnswerScript script;
    script.Add(IDNO);
    job.program = L"Z:\\no such folder\\none.exe";
    job.stop = 0;
    EXPECT_EQ(0, RunLoopExecution(job));
    auto questions = script.GetQuestions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(L"a.txtの起動に失敗しました続けますか", W(questions[0].text));
    EXPECT_EQ(L"確認", W(questions[0].caption));
}

TEST_F(ShellExecutionTest, FileKindLoopTakesOnlyRowsThatNameTheFile)
{
    Record();
    MarkAll();
    CKindExeEntry saved = g_KindExeTable[0];
    g_KindExeTable[0].m_extension = L"txt";
    g_KindExeTable[0].m_action = L"viewer.exe";
    g_KindExeTable[0].m_parameters = L"/open %c";
    View().RunFileKindLoop();
    // One loop per file, folders left out.
    ASSERT_EQ(2u, m_loops.size());
    EXPECT_EQ(L"viewer.exe", m_loops[0].program);
    EXPECT_EQ(L"/open %c", m_loops[0].parameters);
    m_loops.clear();
    g_KindExeTable[0].m_parameters = L"/open";
    View().RunFileKindLoop();
    EXPECT_TRUE(m_loops.empty());
    g_KindExeTable[0] = saved;
}

TEST_F(ShellExecutionTest, ShellOpenersQuoteTheFolder)
{
    Record();
    struct Case
    {
        LPCWSTR folder;
        bool powerShell;
        LPCWSTR verb;
        LPCWSTR parameters;
    };
    const Case cases[] = {
        {L"D:\\work", false, L"RunAs", L"/K D: && CD \"D:\\work\\\""},
        {L"D:\\work", false, nullptr, L""},
        {L"C:\\my dir", true, nullptr, L""},
        {L"C:\\my  dir", true, L"runas", L"-NoExit -command \"Set-Location -LiteralPath 'C:\\my  dir\\'\""},
        {L"C:\\it's $(calc)", true, L"RunAs",
         L"-NoExit -command \"Set-Location -LiteralPath 'C:\\it''s $(calc)\\'\""},
    };
    for (const Case& c : cases)
    {
        m_started.clear();
        m_panes[0]->m_currentDir = c.folder;
        if (c.powerShell)
            View().OpenPowerShell(c.verb);
        else
            View().OpenCommandPrompt(c.verb);
        ASSERT_EQ(1u, m_started.size()) << c.folder;
        EXPECT_EQ(qvtest::SystemFolder() +
                      (c.powerShell ? L"\\WindowsPowerShell\\v1.0\\powershell.exe" : L"\\CMD.EXE"),
                  m_started[0].file);
        EXPECT_EQ(c.verb ? c.verb : L"", m_started[0].verb);
        EXPECT_EQ(c.parameters, m_started[0].parameters) << c.folder;
        EXPECT_EQ(std::wstring(c.folder) + L"\\", m_started[0].directory);
    }
    // A PowerShell the user chose starts as stored.
    const CString savedPowerShell = g_POWER_SHELL;
    g_POWER_SHELL = L"pwsh.exe";
    m_started.clear();
    View().OpenPowerShell(nullptr);
    g_POWER_SHELL = savedPowerShell;
    ASSERT_EQ(1u, m_started.size());
    EXPECT_EQ(L"pwsh.exe", m_started[0].file);
    // Only from a filer pane.
    m_started.clear();
    m_panes[0]->m_mode = PANE_MODE_ARCHIVE;
    View().OpenCommandPrompt(nullptr);
    EXPECT_TRUE(m_started.empty());
}

TEST_F(ShellExecutionTest, TheEditorGetsTheFullPathQuoted)
{
    Record();
    CString savedEditor = g_EDITORNAME;
    CString savedOption = g_EDITOR_OPEN_UNICODE_OPTION;
    g_EDITORNAME = L"ed.exe";
    g_EDITOR_OPEN_UNICODE_OPTION = L"-u";
    ASSERT_TRUE(qvtest::WriteFileBytes(D(L"u.txt"), qvtest::Utf16File(L"text")));
    ASSERT_TRUE(qvtest::WriteFileBytes(D(L"b c.txt"), "plain"));
    View().OpenInEditor(L"b c.txt", m_dir, 0, 1);
    View().OpenInEditor(L"u.txt", m_dir, 0, 1);
    View().OpenInEditor(L"u.txt", m_dir, 0, 0);
    View().OpenInEditor(L"C:\\abs.txt", m_dir, 0, 0);
    g_EDITORNAME.Empty();
    View().OpenInEditor(L"u.txt", m_dir, 0, 0);
    ASSERT_EQ(4u, m_started.size());
    EXPECT_EQ(L"ed.exe", m_started[0].file);
    EXPECT_EQ(L"\"" + D(L"b c.txt") + L"\"", m_started[0].parameters);
    EXPECT_EQ(W(m_dir), m_started[0].directory);
    EXPECT_EQ(L"-u " + D(L"u.txt"), m_started[1].parameters);
    EXPECT_EQ(D(L"u.txt"), m_started[2].parameters);
    EXPECT_EQ(L"C:\\abs.txt", m_started[3].parameters);
    g_EDITORNAME = savedEditor;
    g_EDITOR_OPEN_UNICODE_OPTION = savedOption;
}

// Reads the name the file-to-edit dialog offers, types another when one is given,
// and accepts.
std::wstring g_offeredName;
const wchar_t* g_typedName = nullptr;
bool g_editAsked = false;

void CALLBACK AnswerEditName(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = qvtest::FindProcessWindow(L"エディットするファイル", false);
    if (dialog == nullptr)
        return;
    KillTimer(nullptr, timer);
    wchar_t text[MAX_PATH] = {};
    GetDlgItemTextW(dialog, IDC_EDIT_NAME, text, MAX_PATH);
    g_offeredName = text;
    if (g_typedName != nullptr)
        SetDlgItemTextW(dialog, IDC_EDIT_NAME, g_typedName);
    g_editAsked = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

TEST_F(ShellExecutionTest, EditOffersTheSetNameOrTheCursorFileAndOpensWhatIsAccepted)
{
    Record();
    CString savedEditor = g_EDITORNAME;
    CString savedOne = g_ONEDEFEDIT;
    CString savedSome = g_SOMEDEFEDIT;
    g_EDITORNAME = L"ed.exe";
    struct Case
    {
        const wchar_t* one;
        const wchar_t* some;
        bool marked;
        int cursor;
        const wchar_t* typed;
        std::wstring offered;
        std::wstring opened;
    };
    const Case cases[] = {
        {L"new.txt", L"many.txt", false, 1, nullptr, L"new.txt", D(L"new.txt")},
        {L"new.txt", L"many.txt", true, 1, nullptr, L"many.txt", D(L"many.txt")},
        {L"", L"", false, 1, nullptr, L"a.txt", D(L"a.txt")},
        {L"", L"", true, 1, nullptr, L"a.txt", D(L"a.txt")},
        {L"", L"", false, 2, nullptr, L"", L""},                 // a folder: nothing offered
        {L"", L"", false, 0, nullptr, L"", L""},                 // "..": nothing offered
        {L"", L"", false, 1, L"\\x.txt", L"a.txt", D(L"x.txt")}, // one backslash dropped
    };
    for (const Case& c : cases)
    {
        g_ONEDEFEDIT = c.one;
        g_SOMEDEFEDIT = c.some;
        for (INT_PTR i = 0; i < m_panes[0]->m_entries.GetSize(); ++i)
            m_panes[0]->m_entries[i].m_mark = 0;
        m_panes[0]->m_markedCount = 0;
        if (c.marked)
            MarkAll();
        m_panes[0]->m_cursor = c.cursor;
        m_started.clear();
        g_editAsked = false;
        g_offeredName.clear();
        g_typedName = c.typed;
        UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerEditName);
        View().ExecuteFilerCommand(L"@Edit");
        KillTimer(nullptr, timer);
        ASSERT_TRUE(g_editAsked) << c.offered;
        EXPECT_EQ(g_offeredName, c.offered);
        if (!c.opened.empty())
        {
            ASSERT_EQ(1u, m_started.size()) << c.offered;
            EXPECT_EQ(c.opened, m_started[0].parameters);
        }
        // The pane read its folder again: the synthetic entries are put back.
        m_panes[0]->m_entries.RemoveAll();
        Add(L"..", true);
        Add(L"a.txt", false);
        Add(L"sub", true);
        Add(L"b c.txt", false);
    }
    g_EDITORNAME = savedEditor;
    g_ONEDEFEDIT = savedOne;
    g_SOMEDEFEDIT = savedSome;
}

// Find results: the found file's whole path is offered; a folder or nothing offers
// nothing, and the dialog then does not open.
TEST_F(ShellExecutionTest, EditInFindResultsOffersTheFoundFilesWholePath)
{
    Record();
    CString savedEditor = g_EDITORNAME;
    g_EDITORNAME = L"ed.exe";
    const std::wstring other = W(m_dir) + L"\\deep";
    WIN32_FIND_DATAW fd = {};
    fd.dwFileAttributes = FILE_ATTRIBUTE_ARCHIVE;
    wcscpy_s(fd.cFileName, L"found.txt");
    m_panes[0]->m_entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, other.c_str(), L"", fd, -1);
    m_panes[0]->m_subMode = PANE_SUB_FIND_RESULTS;
    m_panes[0]->m_cursor = 4;
    g_typedName = nullptr;
    g_editAsked = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerEditName);
    View().ExecuteFilerCommand(L"@Edit");
    ASSERT_TRUE(g_editAsked);
    EXPECT_EQ(g_offeredName, other + L"\\found.txt");
    ASSERT_EQ(1u, m_started.size());
    EXPECT_EQ(other + L"\\found.txt", m_started[0].parameters);

    m_panes[0]->m_cursor = 2;
    g_editAsked = false;
    View().ExecuteFilerCommand(L"@Edit");
    KillTimer(nullptr, timer);
    EXPECT_FALSE(g_editAsked) << "a folder in the results opens no dialog";
    g_EDITORNAME = savedEditor;
}

TEST_F(ShellExecutionTest, EditorArgumentsKeepTheGivenPath)
{
    CString savedOption = g_EDITOR_OPEN_UNICODE_OPTION;
    ASSERT_TRUE(qvtest::WriteFileBytes(D(L"u v.txt"), qvtest::Utf16File(L"text")));
    ASSERT_TRUE(qvtest::WriteFileBytes(D(L"p.txt"), "plain"));
    struct Case
    {
        LPCWSTR option;
        int withOption;
        bool underBase;
        std::wstring path;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"-u", 1, true, L"\"u v.txt\"", L"-u \"u v.txt\""},
        {L"-u", 1, true, L"u v.txt", L"-u \"u v.txt\""},
        {L"-u", 0, true, L"u v.txt", L"\"u v.txt\""},
        {L"", 1, true, L"u v.txt", L"\"u v.txt\""},
        {L"-u", 1, true, L"p.txt", L"p.txt"},
        {L"-u", 1, false, D(L"u v.txt"), L"-u \"" + D(L"u v.txt") + L"\""},
        // A relative name is looked for under the base folder only.
        {L"-u", 1, false, L"u v.txt", L"\"u v.txt\""},
        {L"-u", 1, true, L"\"", L"\""},
    };
    for (const Case& c : cases)
    {
        g_EDITOR_OPEN_UNICODE_OPTION = c.option;
        CString out = L"stale";
        BuildEditorArgument(c.withOption, (c.underBase ? W(m_dir) : std::wstring(L"C:\\qv-nowhere")).c_str(),
                            c.path.c_str(), out);
        EXPECT_EQ(c.expected, std::wstring(out)) << c.path;
    }
    g_EDITOR_OPEN_UNICODE_OPTION = savedOption;
}

TEST_F(ShellExecutionTest, TheFirstRegisteredVerbOpensTheFile)
{
    Record();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, L".qvverb", 0, nullptr, 0, KEY_ALL_ACCESS,
                                             nullptr, &key, nullptr));
    const wchar_t fileClass[] = L"QvVerbTestFile";
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(fileClass), sizeof(fileClass));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CLASSES_ROOT, L"QvVerbTestFile\\shell\\edit", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    EXPECT_EQ(1, View().OpenWithShellVerb(L"x.qvverb", m_dir));
    EXPECT_EQ(0, View().OpenWithShellVerb(L"x.qvnoclass", m_dir));
    EXPECT_EQ(0, View().OpenWithShellVerb(L"noextension", m_dir));
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".qvverb");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"QvVerbTestFile");
    ASSERT_EQ(1u, m_started.size());
    EXPECT_EQ(L"edit", m_started[0].verb);
    EXPECT_EQ(D(L"x.qvverb"), m_started[0].file);
    EXPECT_EQ(W(m_dir) + L"\\", m_started[0].directory);
}

} // namespace
