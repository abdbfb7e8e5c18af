// The copy job engine on temporary trees, run without a window: every kind that runs,
// the walk's layouts, the conflict rules, the copy log, and the cases where a careless
// move would lose a file.
#include <gtest/gtest.h>

#include "util/Globals.h"
#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "fileops/copy/CopyJob.h"
#include "res/CopyDialogs.h"
#include "res/RenameDialogs.h"
#include "tests/fileops/CopyTestData.h"

namespace
{

using copytest::Exists;
using copytest::MakeTree;
using copytest::Select;

// The conflict dialog's answer: the rule, then "以後同設定".
CDialogAnswer Rule(int rule, int same = 1)
{
    CDialogAnswer answer;
    answer.index = rule;
    answer.checks = {same};
    return answer;
}

class CopyJobTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        src = P(L"src");
        dst = P(L"dst");
        CreateDirectoryW(src.c_str(), nullptr);
        CreateDirectoryW(dst.c_str(), nullptr);
        savedProgramDir = g_ProgramDir;
        g_ProgramDir = dir.c_str();
        savedInts = {g_COPYDLGEXTRA,
                     g_COPY_FILE_TIME_USED_RANGE,
                     g_SAVE_SAME_FILE_NAME_COPY_WAY,
                     g_SAME_FILE_NAME_COPY_WAY,
                     g_NO_COPY_ACTION_COPY_ATTRIBUTES,
                     g_NO_COPY_ACTION_COPY_DATE_TIME};
    }
    void TearDown() override
    {
        g_ProgramDir = savedProgramDir;
        g_COPYDLGEXTRA = savedInts[0];
        g_COPY_FILE_TIME_USED_RANGE = savedInts[1];
        g_SAVE_SAME_FILE_NAME_COPY_WAY = savedInts[2];
        g_SAME_FILE_NAME_COPY_WAY = savedInts[3];
        g_NO_COPY_ACTION_COPY_ATTRIBUTES = savedInts[4];
        g_NO_COPY_ACTION_COPY_DATE_TIME = savedInts[5];
    }

    // Runs one job of `kind` over the selection into `destination` on this thread.
    int Run(int kind, const CSelectedEntryList& selection, const std::wstring& destination,
            CCopyDlgThread* job = nullptr)
    {
        CCopyDlgThread own;
        CCopyDlgThread& j = job != nullptr ? *job : own;
        j.m_kind = kind;
        j.m_source = selection;
        j.m_destinationText = destination.c_str();
        return j.RunJob();
    }

    std::string Read(const std::wstring& relative) { return qvtest::ReadFileBytes(P(relative.c_str())); }

    std::wstring src, dst;
    CString savedProgramDir;
    std::vector<int> savedInts;
};

TEST_F(CopyJobTest, EveryKindThatRunsPutsTheFilesWhereItSays)
{
    struct Case
    {
        int kind;
        std::set<std::wstring> destination;
        bool sourceKept;
    } cases[] = {
        {COPY, {L"A", L"f.txt"}, true},
        {MOVE, {L"A", L"f.txt"}, false},
        {DROP_COPY, {L"A", L"f.txt"}, true},
        {DROP_LINK, {L"A", L"f.txt"}, true},
        {DROP_MOVE, {L"A", L"f.txt"}, false},
        {UP_MOVE, {L"x.txt", L"B"}, false},
        {NEGLECT_DIR, {L"x.txt", L"y.txt"}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(GetCopyOperationTag(c.kind));
        std::wstring root = P((std::wstring(L"k") + std::to_wstring(c.kind)).c_str());
        CreateDirectoryW(root.c_str(), nullptr);
        std::wstring from = root + L"\\src", to = root + L"\\dst";
        CreateDirectoryW(from.c_str(), nullptr);
        CreateDirectoryW(to.c_str(), nullptr);
        MakeTree(from, {L"A\\", L"A\\x.txt", L"A\\B\\", L"A\\B\\y.txt", L"f.txt"});
        EXPECT_EQ(1, Run(c.kind, Select(from, {L"A", L"f.txt"}), to));
        EXPECT_EQ(c.destination, qvtest::ListFolder(to));
        EXPECT_EQ(c.sourceKept, Exists(from + L"\\A"));
        if (c.kind == UP_MOVE)
            EXPECT_EQ("A\\B\\y.txt", qvtest::ReadFileBytes(to + L"\\B\\y.txt"));
        if (c.kind == COPY || c.kind == MOVE)
            EXPECT_EQ("A\\B\\y.txt", qvtest::ReadFileBytes(to + L"\\A\\B\\y.txt"));
        // UP_MOVE and NEGLECT_DIR take only directories: the selected file stays.
        if (c.kind == UP_MOVE || c.kind == NEGLECT_DIR)
            EXPECT_TRUE(Exists(from + L"\\f.txt"));
    }
}

TEST_F(CopyJobTest, CopyToAllCopiesIntoEveryTargetDirectory)
{
    MakeTree(src, {L"f.txt"});
    MakeTree(dst, {L"T1\\", L"T2\\"});
    CCopyDlgThread job;
    job.m_targets = Select(dst, {L"T1", L"T2"});
    EXPECT_EQ(1, Run(COPY_TO_ALL, Select(src, {L"f.txt"}), L"", &job));
    EXPECT_EQ("f.txt", Read(L"dst\\T1\\f.txt"));
    EXPECT_EQ("f.txt", Read(L"dst\\T2\\f.txt"));
}

TEST_F(CopyJobTest, SameDriveMoveRenamesTheWholeDirectoryUnlessPatternsAreSet)
{
    MakeTree(src, {L"A\\", L"A\\keep.tmp", L"A\\x.txt", L"C\\", L"C\\keep.tmp", L"C\\x.txt"});
    // Without patterns: one rename, the excluded-looking file goes along.
    EXPECT_EQ(1, Run(MOVE, Select(src, {L"A"}), dst));
    EXPECT_FALSE(Exists(src + L"\\A"));
    EXPECT_TRUE(Exists(dst + L"\\A\\keep.tmp"));
    // With an excluded pattern the tree is walked: the excluded file and its
    // directory stay behind.
    CCopyDlgThread job;
    job.m_excludedPatterns.Add(L"*.TMP");
    EXPECT_EQ(1, Run(MOVE, Select(src, {L"C"}), dst, &job));
    EXPECT_EQ((std::set<std::wstring>{L"keep.tmp"}), qvtest::ListFolder(src + L"\\C"));
    EXPECT_EQ((std::set<std::wstring>{L"x.txt"}), qvtest::ListFolder(dst + L"\\C"));
}

TEST_F(CopyJobTest, AMovedDirectoryThatCannotGoIsNamedAndCancelEndsTheMoveAsFailed)
{
    MakeTree(src, {L"A\\", L"A\\x.txt"});
    // Held open without delete sharing: the walked directory is emptied but cannot go.
    HANDLE busy = CreateFileW((src + L"\\A").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    CDialogAnswerScript script;
    script.Add(IDCANCEL);
    CCopyDlgThread job;
    job.m_excludedPatterns.Add(L"*.TMP"); // the tree is walked
    EXPECT_EQ(0, Run(MOVE, Select(src, {L"A"}), dst, &job));
    CloseHandle(busy);
    EXPECT_EQ("A\\x.txt", Read(L"dst\\A\\x.txt"));
    EXPECT_EQ((std::set<std::wstring>{}), qvtest::ListFolder(src + L"\\A"));
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(L"ファイルの移動に失敗しました。続けますか\n" + src + L"\\A\n(RemoveDirectory:Error Code=32)",
              qvtest::W(script.GetQuestions()[0].text));
}

TEST_F(CopyJobTest, CopyIntoOwnSubdirectoryIsRefusedAlsoForADrop)
{
    MakeTree(src, {L"A\\", L"A\\sub\\", L"A\\x.txt"});
    for (int kind : {COPY, DROP_COPY, DROP_MOVE})
    {
        CDialogAnswerScript script;
        script.Add(IDOK);
        EXPECT_EQ(0, Run(kind, Select(src, {L"A"}), src + L"\\A\\sub"));
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(L"無限ループに入るファイルのコピーできません", qvtest::W(script.GetQuestions()[0].text));
        EXPECT_EQ((std::set<std::wstring>{}), qvtest::ListFolder(src + L"\\A\\sub"));
    }
}

TEST_F(CopyJobTest, NumberedNamesTakeTheFirstFreeNumber)
{
    MakeTree(src, {L"a.txt", L"a"});
    MakeTree(dst, {L"a.txt", L"a"});
    for (int round = 0; round < 2; ++round)
    {
        CDialogAnswerScript script;
        script.Add(Rule(COPY_RULE_NUMBERED));
        EXPECT_EQ(1, Run(COPY, Select(src, {L"a.txt", L"a"}), dst));
    }
    EXPECT_EQ("a.txt", Read(L"dst\\a000.txt"));
    EXPECT_EQ("a.txt", Read(L"dst\\a001.txt"));
    // "a000." names the file "a000": the system drops the closing dot.
    EXPECT_EQ("a", Read(L"dst\\a000"));
    EXPECT_EQ("a", Read(L"dst\\a001"));
}

TEST_F(CopyJobTest, TheRenameRuleCopiesUnderTheTypedNameAndSkipsATakenOrRefusedOne)
{
    MakeTree(src, {L"b.txt"});
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\b.txt", "old"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\taken.txt", "taken"));
    struct Case
    {
        INT_PTR result;
        const wchar_t* typed;
        const wchar_t* written; // null: nothing new in the destination
    } const cases[] = {
        {IDCANCEL, L"", nullptr},
        {IDOK, L"taken.txt", nullptr},
        {IDOK, L"b_new.txt", L"dst\\b_new.txt"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.typed);
        CDialogAnswerScript script;
        script.Add(Rule(COPY_RULE_RENAME));
        script.Add(c.result, c.typed);
        Run(COPY, Select(src, {L"b.txt"}), dst);
        ASSERT_EQ(2u, script.GetQuestions().size());
        EXPECT_EQ(static_cast<UINT>(IDD_RENAME), script.GetQuestions()[1].dialogId);
        EXPECT_EQ(L"b.txt", qvtest::W(script.GetQuestions()[1].text));
        EXPECT_EQ("old", Read(L"dst\\b.txt"));
        EXPECT_EQ("taken", Read(L"dst\\taken.txt"));
        if (c.written != nullptr)
            EXPECT_EQ("b.txt", Read(c.written));
        else
            EXPECT_EQ((std::set<std::wstring>{L"b.txt", L"taken.txt"}), qvtest::ListFolder(dst));
    }
}

TEST_F(CopyJobTest, TheRenameRuleRefusesANameThatReachesAnotherFile)
{
    MakeTree(src, {L"b.txt"});
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\b.txt", "old"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\precious_document.txt", "precious"));
    std::vector<std::wstring> typed = {L"PRECIOUS_DOCUMENT.TXT.", L"Folder"};
    CreateDirectoryW((dst + L"\\folder").c_str(), nullptr);
    std::wstring alias = qvtest::ShortAlias(dst + L"\\precious_document.txt");
    if (!alias.empty())
        typed.push_back(alias);
    for (const std::wstring& name : typed)
    {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        CDialogAnswerScript script;
        script.Add(Rule(COPY_RULE_RENAME));
        script.Add(IDOK, name.c_str());
        Run(COPY, Select(src, {L"b.txt"}), dst);
        EXPECT_EQ(2u, script.GetQuestions().size());
        EXPECT_EQ("precious", Read(L"dst\\precious_document.txt"));
        EXPECT_EQ("old", Read(L"dst\\b.txt"));
        EXPECT_EQ((std::set<std::wstring>{L"b.txt", L"folder", L"precious_document.txt"}),
                  qvtest::ListFolder(dst));
        EXPECT_EQ((std::set<std::wstring>{}), qvtest::ListFolder(dst + L"\\folder"));
    }
}

TEST_F(CopyJobTest, RulesThatDoNotCopyLeaveTheFileAndStillCountIt)
{
    g_COPYDLGEXTRA = 1;
    g_COPY_FILE_TIME_USED_RANGE = 1;
    MakeTree(src, {L"newer.txt", L"equal.txt"});
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\newer.txt", "old"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\equal.txt", "123456789")); // the same size
    // The source is written one second after the destination: within the slack.
    HANDLE from =
        CreateFileW((src + L"\\newer.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE to =
        CreateFileW((dst + L"\\newer.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME t = {0x10000000, 0x01D00000}, later = t;
    later.dwLowDateTime += 10000000;
    SetFileTime(to, nullptr, nullptr, &t);
    SetFileTime(from, nullptr, nullptr, &later);
    CloseHandle(from);
    CloseHandle(to);

    struct Case
    {
        const wchar_t* name;
        int rule;
        const char* kept;
    } cases[] = {{L"newer.txt", COPY_RULE_NEWER, "old"}, {L"equal.txt", COPY_RULE_LARGER, "123456789"}};
    for (const Case& c : cases)
    {
        CDialogAnswerScript script;
        script.Add(Rule(c.rule));
        CCopyDlgThread job;
        EXPECT_EQ(1, Run(COPY, Select(src, {c.name}), dst, &job));
        EXPECT_EQ(c.kept, qvtest::ReadFileBytes(dst + L"\\" + c.name));
        EXPECT_EQ(job.m_totalBytes, job.m_finishedBytes) << c.name;
        EXPECT_GT(job.m_totalBytes, 0);
    }
}

TEST_F(CopyJobTest, LogModeWritesOneLinePerFailureAndNoLogWhenNothingFailed)
{
    MakeTree(src, {L"busy.txt", L"free.txt"});
    // The question a logged job asks before it starts is answered by the script.
    {
        CDialogAnswerScript script;
        script.Add(Rule(COPY_RULE_OVERWRITE));
        CCopyDlgThread job;
        job.m_writeLog = TRUE;
        EXPECT_EQ(1, Run(COPY, Select(src, {L"free.txt"}), dst, &job));
        EXPECT_EQ(1u, script.GetQuestions().size());
        EXPECT_TRUE(Exists(P(L"Log")));
        EXPECT_EQ((std::set<std::wstring>{}), qvtest::ListFolder(P(L"Log")));
    }
    // A file held open by another handle is logged and skipped; the rest is copied.
    HANDLE busy = CreateFileW((src + L"\\busy.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    CDialogAnswerScript script;
    script.Add(Rule(COPY_RULE_OVERWRITE));
    CCopyDlgThread job;
    job.m_writeLog = TRUE;
    DeleteFileW((dst + L"\\free.txt").c_str());
    EXPECT_EQ(1, Run(MOVE, Select(src, {L"busy.txt", L"free.txt"}), dst + L"\\..\\dst2", &job));
    CloseHandle(busy);
    EXPECT_EQ(1u, script.GetQuestions().size()); // nothing asked about the failure
    EXPECT_EQ("free.txt", Read(L"dst2\\free.txt"));
    EXPECT_EQ("busy.txt", Read(L"src\\busy.txt"));
    std::set<std::wstring> logs = qvtest::ListFolder(P(L"Log"));
    ASSERT_EQ(1u, logs.size());
    EXPECT_EQ(0u, logs.begin()->find(L"MOVE_ERROR_"));
    std::string log = qvtest::ReadFileBytes(P(L"Log\\") + *logs.begin());
    std::wstring text((const wchar_t*)log.data(), log.size() / 2);
    EXPECT_NE(std::wstring::npos, text.find(L"MoveFile,32,")) << text;
    EXPECT_EQ(1, (int)std::count(text.begin(), text.end(), L'\n')) << text;
}

TEST_F(CopyJobTest, FileInUseIsReportedAndTheRestCopied)
{
    MakeTree(src, {L"busy.txt", L"free.txt"});
    HANDLE busy = CreateFileW((src + L"\\busy.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    CDialogAnswerScript script;
    script.Add(IDOK); // go on
    EXPECT_EQ(1, Run(COPY, Select(src, {L"busy.txt", L"free.txt"}), dst));
    CloseHandle(busy);
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(L"ファイルのコピーに失敗しました。続けますか\n" + src +
                  L"\\busy.txt\n(CreateFile:Error Code=32)",
              qvtest::W(script.GetQuestions()[0].text));
    EXPECT_EQ((std::set<std::wstring>{L"free.txt"}), qvtest::ListFolder(dst));
}

TEST_F(CopyJobTest, CopyIntoItselfIsRefusedHoweverTheDestinationIsSpelt)
{
    std::wstring folder = src + L"\\source folder";
    MakeTree(src, {L"source folder\\", L"source folder\\sub\\", L"source folder\\x.txt", L"sibling\\"});
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameW(folder.c_str(), shortName, MAX_PATH));
    ASSERT_NE(folder, std::wstring(shortName));
    struct Case
    {
        std::wstring destination;
        bool refused;
    } cases[] = {
        {folder + L"\\sub", true},
        {std::wstring(shortName) + L"\\sub", true},
        {folder + L".\\sub", true},
        {src + L"\\sibling", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.destination.begin(), c.destination.end()));
        CDialogAnswerScript script;
        script.Add(IDOK);
        EXPECT_EQ(c.refused ? 0 : 1, Run(COPY, Select(src, {L"source folder"}), c.destination));
        if (c.refused)
        {
            ASSERT_EQ(1u, script.GetQuestions().size());
            EXPECT_EQ(L"無限ループに入るファイルのコピーできません",
                      qvtest::W(script.GetQuestions()[0].text));
            EXPECT_EQ((std::set<std::wstring>{}), qvtest::ListFolder(folder + L"\\sub"));
        }
        else
        {
            EXPECT_TRUE(script.GetQuestions().empty());
            EXPECT_EQ("source folder\\x.txt", Read(L"src\\sibling\\source folder\\x.txt"));
        }
    }
}

TEST_F(CopyJobTest, OverwriteMoveOntoAnAliasOfTheSourceKeepsTheFile)
{
    std::wstring folder = P(L"a long folder name");
    CreateDirectoryW(folder.c_str(), nullptr);
    MakeTree(folder, {L"x.txt"});
    ASSERT_TRUE(copytest::MakeFolderLink(P(L"alias"), folder));
    std::vector<std::wstring> aliases = {P(L"alias")};
    wchar_t shortName[MAX_PATH] = {};
    if (GetShortPathNameW(folder.c_str(), shortName, MAX_PATH) && folder != shortName)
        aliases.push_back(shortName);
    for (const std::wstring& alias : aliases)
    {
        for (int kind : {MOVE, COPY})
        {
            CDialogAnswerScript script;
            script.Add(Rule(COPY_RULE_OVERWRITE));
            EXPECT_EQ(1, Run(kind, Select(folder, {L"x.txt"}), alias));
            EXPECT_EQ("x.txt", qvtest::ReadFileBytes(folder + L"\\x.txt"))
                << std::string(alias.begin(), alias.end()) << " " << kind;
        }
    }
}

// A source named exactly like the short alias of another file at the destination
// reaches that other file: whatever the answer to the conflict question, it is never
// replaced, the source's copy fails naming both, and the job goes on with the next file.
TEST_F(CopyJobTest, ASourceNamedLikeAnotherFilesShortAliasNeverReplacesIt)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\Precious notes.txt", "precious"));
    const std::wstring alias = qvtest::ShortAlias(dst + L"\\Precious notes.txt");
    if (alias.empty())
        GTEST_SKIP() << "the file system keeps no 8.3 alias beside the long name";
    ASSERT_TRUE(qvtest::WriteFileBytes(src + L"\\" + alias, "intruder"));
    const std::wstring named = dst + L"\\" + alias;
    struct Case
    {
        int kind;
        BOOL log;
    } const cases[] = {{COPY, FALSE}, {MOVE, FALSE}, {COPY, TRUE}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(GetCopyOperationTag(c.kind), GetCopyOperationTag(c.kind) + 4) +
                     (c.log ? " logged" : ""));
        DeleteFileW((dst + L"\\next.txt").c_str());
        MakeTree(src, {L"next.txt"});
        CDialogAnswerScript script;
        // Overwrite for the rest of the job (a logged job asks before it starts), then
        // go on after the failure.
        script.Add(Rule(COPY_RULE_OVERWRITE, 1));
        script.Add(IDOK);
        CCopyDlgThread job;
        job.m_writeLog = c.log;
        EXPECT_EQ(1, Run(c.kind, Select(src, {alias.c_str(), L"next.txt"}), dst, &job));
        EXPECT_EQ("precious", Read(L"dst\\Precious notes.txt"));
        EXPECT_EQ("intruder", Read(L"src\\" + alias));
        EXPECT_EQ("next.txt", Read(L"dst\\next.txt"));
        EXPECT_EQ((std::set<std::wstring>{L"Precious notes.txt", L"next.txt"}), qvtest::ListFolder(dst));
        const auto questions = script.GetQuestions();
        // No conflict is asked about: the file found is not the file of that name.
        ASSERT_EQ(1u, questions.size());
        if (c.log)
        {
            const std::string log = qvtest::ReadFileBytes(P(L"Log\\") + qvtest::W(job.m_logName));
            const std::wstring text((const wchar_t*)log.data(), log.size() / 2);
            EXPECT_NE(std::wstring::npos, text.find(L"ShortName,183," + named + L",Precious notes.txt"))
                << text;
            continue;
        }
        EXPECT_EQ(
            L"ファイルのコピーに失敗しました。続けますか\n" + named +
                L"\nこの名前は別のファイル「Precious notes.txt」の短い名前です\n(ShortName:Error Code=183)",
            qvtest::W(questions[0].text));
    }
}

// A job that writes a target beside which a copy cut short left its temporary file
// removes that file, in the destination itself and in a folder of a tree that was
// there before.
TEST_F(CopyJobTest, ACopyRemovesWhatCopiesCutShortLeftBesideItsTarget)
{
    MakeTree(src, {L"f.txt", L"A\\", L"A\\x.txt"});
    MakeTree(dst, {L"A\\", L"f.txt.~qv000", L"A\\x.txt.~qv003", L"A\\y.txt.~qv000"});
    EXPECT_EQ(1, Run(COPY, Select(src, {L"f.txt", L"A"}), dst));
    EXPECT_EQ((std::set<std::wstring>{L"A", L"f.txt"}), qvtest::ListFolder(dst));
    EXPECT_EQ((std::set<std::wstring>{L"x.txt", L"y.txt.~qv000"}), qvtest::ListFolder(dst + L"\\A"));
    EXPECT_EQ("A\\x.txt", Read(L"dst\\A\\x.txt"));
}

TEST_F(CopyJobTest, DirectoriesKeepTheirAttributesWhenTheyStayOrAlreadyExist)
{
    MakeTree(src, {L"C\\", L"C\\keep.tmp", L"C\\x.txt"});
    MakeTree(dst, {L"C\\"});
    ASSERT_TRUE(SetFileAttributesW((src + L"\\C").c_str(), FILE_ATTRIBUTE_HIDDEN));
    DWORD before = GetFileAttributesW((src + L"\\C").c_str());
    DWORD existing = GetFileAttributesW((dst + L"\\C").c_str());
    if (!(before & FILE_ATTRIBUTE_HIDDEN))
        GTEST_SKIP() << "this file system keeps no hidden flag on folders";
    CCopyDlgThread job;
    job.m_excludedPatterns.Add(L"*.TMP");
    EXPECT_EQ(1, Run(MOVE, Select(src, {L"C"}), dst, &job));
    // The source stays (it holds the excluded file) with the attributes it had; the
    // existing destination directory does not take the source's.
    EXPECT_EQ(before, GetFileAttributesW((src + L"\\C").c_str()));
    EXPECT_EQ(existing, GetFileAttributesW((dst + L"\\C").c_str()));
    EXPECT_EQ("C\\x.txt", Read(L"dst\\C\\x.txt"));
}

// A directory the job makes takes the source directory's attributes and times, at the
// top of the copy and below a directory the job made itself.
TEST_F(CopyJobTest, DirectoriesMadeByTheJobTakeTheSourcesAttributesAndTimesAtEveryDepth)
{
    MakeTree(src, {L"A\\", L"A\\B\\", L"A\\B\\C\\", L"A\\B\\C\\z.txt"});
    const FILETIME old = {0x12345600, 0x01D00000};
    for (const wchar_t* folder : {L"A\\B\\C", L"A\\B", L"A"})
    {
        const std::wstring path = src + L"\\" + folder;
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, handle);
        SetFileTime(handle, nullptr, nullptr, &old);
        CloseHandle(handle);
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
    }
    if (!(GetFileAttributesW((src + L"\\A").c_str()) & FILE_ATTRIBUTE_HIDDEN))
        GTEST_SKIP() << "this file system keeps no hidden flag on folders";
    EXPECT_EQ(1, Run(COPY, Select(src, {L"A"}), dst));
    for (const wchar_t* folder : {L"A", L"A\\B", L"A\\B\\C"})
    {
        SCOPED_TRACE(folder);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExW((dst + L"\\" + folder).c_str(), GetFileExInfoStandard, &data));
        EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN);
        EXPECT_EQ(0, CompareFileTime(&old, &data.ftLastWriteTime));
    }
    EXPECT_EQ("A\\B\\C\\z.txt", Read(L"dst\\A\\B\\C\\z.txt"));
}

TEST_F(CopyJobTest, LinkInsideAMovedTreeLeavesItsTargetsFilesIntact)
{
    MakeTree(dir, {L"outside\\", L"outside\\t.txt"});
    MakeTree(src, {L"A\\", L"A\\f.txt"});
    ASSERT_TRUE(copytest::MakeFolderLink(src + L"\\A\\L", P(L"outside")));
    for (int kind : {MOVE, COPY})
    {
        SCOPED_TRACE(GetCopyOperationTag(kind));
        std::wstring to = dst + L"\\" + GetCopyOperationTag(kind);
        MakeTree(src, {L"A\\f.txt"});
        CDialogAnswerScript script;
        script.Add(IDOK); // a link that cannot be recreated is reported; go on
        CCopyDlgThread job;
        job.m_targetPatterns.Add(L"*"); // walked file by file
        Run(kind, Select(src, {L"A"}), to, &job);
        EXPECT_EQ("outside\\t.txt", Read(L"outside\\t.txt"));
        EXPECT_EQ("A\\f.txt", qvtest::ReadFileBytes(to + L"\\A\\f.txt"));
        // The link that cannot be made again stays where it was, still a link.
        EXPECT_EQ(1u, script.GetQuestions().size());
        EXPECT_TRUE(GetFileAttributesW((src + L"\\A\\L").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    }
}

// Two links inside a walked tree that cannot be made again: each question names the
// link that failed and the operation, and the current-entry display shows the link
// asked about, not the entry taken before it.
TEST_F(CopyJobTest, EveryFailureNamesTheEntryThatFailed)
{
    MakeTree(dir, {L"outside\\", L"outside\\t.txt"});
    MakeTree(src, {L"A\\"});
    ASSERT_TRUE(copytest::MakeFolderLink(src + L"\\A\\L1", P(L"outside")));
    ASSERT_TRUE(copytest::MakeFolderLink(src + L"\\A\\L2", P(L"outside")));
    CDialogAnswerScript script;
    script.Add(IDOK);
    script.Add(IDOK);
    CCopyDlgThread job;
    Run(COPY, Select(src, {L"A"}), dst, &job);
    const auto questions = script.GetQuestions();
    ASSERT_EQ(2u, questions.size());
    const std::wstring lead = L"ファイルのコピーに失敗しました。続けますか\n";
    std::vector<std::wstring> named;
    for (const auto& question : questions)
    {
        const std::wstring text = qvtest::W(question.text);
        ASSERT_EQ(0u, text.find(lead)) << text;
        const size_t end = text.find(L"\n(CreateDirectory:Error Code=", lead.size());
        ASSERT_NE(std::wstring::npos, end) << text;
        named.push_back(text.substr(lead.size(), end - lead.size()));
    }
    EXPECT_EQ((std::set<std::wstring>{src + L"\\A\\L1", src + L"\\A\\L2"}),
              std::set<std::wstring>(named.begin(), named.end()));
    CProgressDisplays shown;
    job.m_progress.TakeDisplays(shown);
    EXPECT_EQ(named[1].substr(src.size() + 1), qvtest::W(shown.texts[COPY_SHOW_CURRENT]));
}

TEST_F(CopyJobTest, FailedMoveKeepsTheOldDestination)
{
    MakeTree(src, {L"x.txt"});
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\x.txt", "old"));
    // Held open without delete sharing: the move cannot take the source.
    HANDLE busy = CreateFileW((src + L"\\x.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, busy);
    CDialogAnswerScript script;
    script.Add(Rule(COPY_RULE_OVERWRITE));
    script.Add(IDOK);
    Run(MOVE, Select(src, {L"x.txt"}), dst);
    CloseHandle(busy);
    EXPECT_EQ("old", Read(L"dst\\x.txt"));
    EXPECT_EQ("x.txt", Read(L"src\\x.txt"));
}

int g_writes = 0;
BOOL WINAPI FailSecondWrite(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD written,
                            LPOVERLAPPED overlapped)
{
    if (++g_writes >= 2)
    {
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(file, buffer, bytes, written, overlapped);
}

TEST_F(CopyJobTest, FailedOverwriteKeepsTheOldDestinationByteForByte)
{
    int savedFixed = g_COPY_BUFFER_SIZE_FIXED, savedOther = g_COPY_BUFFER_SIZE_OTHER;
    g_COPY_BUFFER_SIZE_FIXED = g_COPY_BUFFER_SIZE_OTHER = 1;
    ASSERT_TRUE(qvtest::WriteFileBytes(src + L"\\x.bin", std::string(5000, 'n')));
    std::string old(3000, 'o');
    old[17] = '\0';
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\x.bin", old));
    CDialogAnswerScript script;
    script.Add(Rule(COPY_RULE_OVERWRITE));
    script.Add(IDOK);
    CCopyDlgThread job;
    job.m_copier.m_probe.writeFile = FailSecondWrite;
    g_writes = 0;
    Run(COPY, Select(src, {L"x.bin"}), dst, &job);
    g_COPY_BUFFER_SIZE_FIXED = savedFixed;
    g_COPY_BUFFER_SIZE_OTHER = savedOther;
    EXPECT_EQ(old, Read(L"dst\\x.bin"));
    EXPECT_EQ((std::set<std::wstring>{L"x.bin"}), qvtest::ListFolder(dst));
    ASSERT_EQ(2u, script.GetQuestions().size());
    EXPECT_EQ(L"ファイルのコピーに失敗しました。続けますか\n" + dst + L"\\x.bin\n(WriteFile:Error Code=112)",
              qvtest::W(script.GetQuestions()[1].text));
}

// Someone else takes the name the job chose when the copier first looks at the drive.
std::wstring g_takenMeanwhile;
UINT TakeTheNameMeanwhile(LPCWSTR root)
{
    if (!g_takenMeanwhile.empty())
        qvtest::WriteFileBytes(g_takenMeanwhile, "meanwhile");
    g_takenMeanwhile.clear();
    return GetDriveTypeW(root);
}

TEST_F(CopyJobTest, ANewNameTakenMeanwhileIsNeverOverwritten)
{
    MakeTree(src, {L"b.txt"});
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\b.txt", "old"));
    struct Case
    {
        int rule;
        const wchar_t* chosen;
    } const cases[] = {{COPY_RULE_NUMBERED, L"b000.txt"}, {COPY_RULE_RENAME, L"b_new.txt"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.chosen);
        CDialogAnswerScript script;
        script.Add(Rule(c.rule));
        if (c.rule == COPY_RULE_RENAME)
            script.Add(IDOK, c.chosen);
        script.Add(IDOK);
        CCopyDlgThread job;
        job.m_copier.m_probe.getDriveType = TakeTheNameMeanwhile;
        g_takenMeanwhile = dst + L"\\" + c.chosen;
        Run(COPY, Select(src, {L"b.txt"}), dst, &job);
        EXPECT_TRUE(g_takenMeanwhile.empty());
        EXPECT_EQ("meanwhile", Read(std::wstring(L"dst\\") + c.chosen));
        EXPECT_EQ("old", Read(L"dst\\b.txt"));
        const std::wstring last = qvtest::W(script.GetQuestions().back().text);
        EXPECT_EQ(0u, last.find(L"ファイルのコピーに失敗しました。続けますか\n" + dst + L"\\" + c.chosen))
            << last;
    }
    EXPECT_EQ((std::set<std::wstring>{L"b.txt", L"b000.txt", L"b_new.txt"}), qvtest::ListFolder(dst));
}

TEST_F(CopyJobTest, SameAnswerIsRememberedForTheJob)
{
    MakeTree(src, {L"a.txt", L"b.txt", L"c.txt"});
    MakeTree(dst, {L"a.txt", L"b.txt", L"c.txt"});
    // Ticked (as it is shown first): one question for the whole job.
    {
        CDialogAnswerScript script;
        script.Add(Rule(COPY_RULE_SKIP, 1));
        EXPECT_EQ(1, Run(COPY, Select(src, {L"a.txt", L"b.txt", L"c.txt"}), dst));
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ((std::vector<CString>{L"以後同設定"}), script.GetQuestions()[0].items);
    }
    // Cleared: every conflict asks again, with the check shown clear.
    CDialogAnswerScript script;
    script.Add(Rule(COPY_RULE_SKIP, 0));
    script.Add(Rule(COPY_RULE_SKIP, 0));
    script.Add(Rule(COPY_RULE_SKIP, 0));
    EXPECT_EQ(1, Run(COPY, Select(src, {L"a.txt", L"b.txt", L"c.txt"}), dst));
    ASSERT_EQ(3u, script.GetQuestions().size());
    EXPECT_TRUE(script.GetQuestions()[1].items.empty());
}

TEST_F(CopyJobTest, CancelEndsTheJobAndDropsTheNoCopyChoices)
{
    g_NO_COPY_ACTION_COPY_ATTRIBUTES = 0;
    g_NO_COPY_ACTION_COPY_DATE_TIME = 0;
    MakeTree(src, {L"a.txt", L"b.txt"});
    MakeTree(dst, {L"a.txt"});
    CDialogAnswer cancel = Rule(COPY_RULE_OVERWRITE);
    cancel.result = IDCANCEL;
    cancel.checks = {1, 0, 1, 1};
    CDialogAnswerScript script;
    script.Add(cancel);
    CCopyDlgThread job;
    EXPECT_EQ(0, Run(COPY, Select(src, {L"a.txt", L"b.txt"}), dst, &job));
    EXPECT_EQ(0, job.m_noCopyAttributes);
    EXPECT_EQ(0, g_NO_COPY_ACTION_COPY_ATTRIBUTES);
    EXPECT_EQ(0, g_NO_COPY_ACTION_COPY_DATE_TIME);
    EXPECT_FALSE(Exists(dst + L"\\b.txt"));
}

TEST_F(CopyJobTest, SavedRuleIsPreselectedAtTheNextJobsFirstQuestion)
{
    MakeTree(src, {L"a.txt"});
    MakeTree(dst, {L"a.txt"});
    g_SAME_FILE_NAME_COPY_WAY = 0;
    struct Case
    {
        int save;
        int expected;
    } cases[] = {{1, COPY_RULE_SKIP}, {0, COPY_RULE_NEWER}};
    for (const Case& c : cases)
    {
        g_SAVE_SAME_FILE_NAME_COPY_WAY = c.save;
        {
            CDialogAnswerScript script;
            script.Add(Rule(COPY_RULE_SKIP));
            Run(COPY, Select(src, {L"a.txt"}), dst);
        }
        EXPECT_EQ(COPY_RULE_SKIP, g_SAME_FILE_NAME_COPY_WAY);
        CDialogAnswerScript script;
        script.Add(Rule(COPY_RULE_SKIP));
        Run(COPY, Select(src, {L"a.txt"}), dst);
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(IDD_COPY_WAY, script.GetQuestions()[0].dialogId);
        EXPECT_EQ(c.expected, script.GetQuestions()[0].type) << c.save;
    }
}

} // namespace

namespace
{

TEST_F(CopyJobTest, SkippedFileTakesTheSourcesTimeWhenAskedTo)
{
    MakeTree(src, {L"a.txt"});
    ASSERT_TRUE(qvtest::WriteFileBytes(dst + L"\\a.txt", "kept"));
    FILETIME old = {0x10000000, 0x01C00000};
    HANDLE from =
        CreateFileW((src + L"\\a.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(from, nullptr, nullptr, &old);
    CloseHandle(from);
    CDialogAnswer skip = Rule(COPY_RULE_SKIP);
    skip.checks = {1, 0, 0, 1}; // same for the rest, no range, no attributes, the times
    CDialogAnswerScript script;
    script.Add(skip);
    EXPECT_EQ(1, Run(COPY, Select(src, {L"a.txt"}), dst));
    EXPECT_EQ("kept", Read(L"dst\\a.txt"));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW((dst + L"\\a.txt").c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(0, CompareFileTime(&old, &data.ftLastWriteTime));
}

TEST_F(CopyJobTest, ProgressRecordFollowsTheJob)
{
    g_COPYDLGEXTRA = 1;
    MakeTree(src, {L"A\\", L"A\\one.txt", L"two.txt"});
    CCopyDlgThread job;
    EXPECT_EQ(1, Run(COPY, Select(src, {L"A", L"two.txt"}), dst, &job));
    EXPECT_EQ(2, job.m_totalFiles);
    EXPECT_EQ((LONGLONG)(sizeof("A\\one.txt") - 1 + sizeof("two.txt") - 1), job.m_totalBytes);
    EXPECT_EQ(job.m_totalBytes, job.m_progress.doneAmount);
    EXPECT_EQ(job.m_totalBytes, job.m_progress.totalAmount);
    EXPECT_EQ(L"two.txt", qvtest::W(job.m_progress.GetMainText()));
}

// The dialog shows only what the job publishes: at the end of a job the displays hold
// what its controls showed when the job wrote them itself, and a second look finds
// nothing new.
TEST_F(CopyJobTest, DisplaysHoldTheDialogsTextsAtTheEnd)
{
    g_COPYDLGEXTRA = 1;
    MakeTree(src, {L"A\\", L"A\\one.txt", L"two.txt"});
    CCopyDlgThread job;
    EXPECT_EQ(1, Run(COPY, Select(src, {L"A", L"two.txt"}), dst, &job));
    CProgressDisplays shown;
    job.m_progress.TakeDisplays(shown);
    struct Case
    {
        int display;
        LPCWSTR text;
        LONGLONG value;
    } cases[] = {
        {COPY_SHOW_CURRENT, L"two.txt", 0}, {COPIER_SHOW_FILE_PERCENT, L"100%", 100},
        {COPY_SHOW_JOB_FILES, L"2/2", 0},   {COPIER_SHOW_JOB_PERCENT, L"100.0%", 0},
        {COPY_SHOW_RUNNING, L"", 1},
    };
    for (const Case& c : cases)
    {
        EXPECT_TRUE(shown.Has(c.display)) << c.display;
        EXPECT_EQ(c.text, qvtest::W(shown.texts[c.display])) << c.display;
        EXPECT_EQ(c.value, shown.values[c.display]) << c.display;
    }
    const int filled[] = {COPY_SHOW_FREE, COPY_SHOW_START_TIME, COPIER_SHOW_JOB_BYTES};
    for (int display : filled)
        EXPECT_FALSE(shown.texts[display].IsEmpty()) << display;
    job.m_progress.TakeDisplays(shown);
    EXPECT_EQ(0u, shown.changed);
}

} // namespace
