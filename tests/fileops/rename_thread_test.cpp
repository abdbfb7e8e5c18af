// The rename worker over a pane's marked entries, and the name exchange.
#include <gtest/gtest.h>

#include "app/dialogs/DialogAnswerScript.h"
#include "fileops/rename/RenameExchangeDlg.h"
#include "fileops/rename/RenameThread.h"
#include "filer/FilerPane.h"
#include "tests/common/TestHelpers.h"
#include "tests/fileops/FileOpsTestData.h"

#include <memory>
#include <set>

using fileopstest::DiskEntry;
using fileopstest::MakeTree;
using qvtest::W;

namespace
{

class RenameThreadTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        m_saved = g_Panes[0];
        m_pane = std::make_unique<CFilerPane>(0);
        m_pane->m_currentDir = dir.c_str();
        g_Panes[0] = m_pane.get();
    }
    void TearDown() override { g_Panes[0] = m_saved; }

    // Lists the names in the pane, all marked, and runs the pattern over them.
    int Run(const std::vector<std::wstring>& names, LPCWSTR pattern, int caseMode = 0)
    {
        for (const auto& name : names)
        {
            const INT_PTR index = m_pane->m_entries.AddEntry(DiskEntry(dir, name));
            m_pane->SetEntryMark(index, 1);
        }
        CRenameThread worker;
        worker.m_pane = m_pane.get();
        worker.m_pattern = pattern;
        worker.m_nameStart = worker.m_extensionStart = 1;
        worker.m_caseMode = caseMode;
        const int result = worker.RunJob();
        m_lastNewName = W(worker.m_lastNewName);
        return result;
    }

    std::unique_ptr<CFilerPane> m_pane;
    CFilerPane* m_saved = nullptr;
    std::wstring m_lastNewName;
};

} // namespace

TEST_F(RenameThreadTest, CaseOnlyRenameAndUpperCaseModeAreAccepted)
{
    MakeTree(dir, {L"a.txt", L"readme.md"});
    CDialogAnswerScript script;
    EXPECT_EQ(0, Run({L"a.txt"}, L"A.TXT"));
    EXPECT_EQ(std::set<std::wstring>({L"A.TXT", L"readme.md"}), qvtest::ListFolder(dir));
    m_pane->m_entries.RemoveAll();
    EXPECT_EQ(0, Run({L"readme.md"}, L"*.*", 1));
    EXPECT_EQ(std::set<std::wstring>({L"A.TXT", L"README.MD"}), qvtest::ListFolder(dir));
    EXPECT_EQ(L"README.MD", m_lastNewName);
    EXPECT_TRUE(script.GetQuestions().empty());
}

TEST_F(RenameThreadTest, ClashInTheMiddleIsReportedOnceAndNothingIsRenamedTwice)
{
    MakeTree(dir, {L"a", L"b", L"c", L"B.new"});
    qvtest::WriteFileBytes(P(L"B.new"), "keep");
    CDialogAnswerScript script;
    script.Add(IDOK);
    EXPECT_EQ(0, Run({L"a", L"b", L"c"}, L"*.new"));
    EXPECT_EQ(std::set<std::wstring>({L"a.new", L"b", L"B.new", L"c.new"}), qvtest::ListFolder(dir));
    EXPECT_EQ("keep", qvtest::ReadFileBytes(P(L"B.new")));
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(L"ファイル名の変更に失敗しました続けますか", W(script.GetQuestions()[0].text));
    EXPECT_EQ(L"QV", W(script.GetQuestions()[0].caption));
}

TEST_F(RenameThreadTest, CancelAtAFailureStopsTheJob)
{
    MakeTree(dir, {L"a", L"b", L"x"});
    CDialogAnswerScript script;
    script.Add(IDCANCEL);
    EXPECT_EQ(-1, Run({L"a", L"b"}, L"x"));
    EXPECT_EQ(std::set<std::wstring>({L"a", L"b", L"x"}), qvtest::ListFolder(dir));
}

TEST_F(RenameThreadTest, CountersNumberTheMarkedEntries)
{
    MakeTree(dir, {L"p.jpg", L"q.jpg", L"img02.jpg"});
    EXPECT_EQ(0, Run({L"p.jpg", L"q.jpg"}, L"img$2n.*"));
    EXPECT_EQ(std::set<std::wstring>({L"img01.jpg", L"img02.jpg", L"img03.jpg"}), qvtest::ListFolder(dir));
}

TEST_F(RenameThreadTest, RenameListRecordsNamesAndTouchesNothing)
{
    MakeTree(dir, {L"a", L"b"});
    CArrayRenameFileName list;
    list.Add(CRenameFileName(P(L"a").c_str()));
    list.Add(CRenameFileName(P(L"b").c_str()));
    for (const wchar_t* name : {L"a", L"b"})
        m_pane->SetEntryMark(m_pane->m_entries.AddEntry(DiskEntry(dir, name)), 1);
    CRenameThread worker;
    worker.m_pane = m_pane.get();
    worker.m_pattern = L"n$n";
    worker.m_nameStart = 1;
    worker.m_pRenameList = &list;
    EXPECT_EQ(0, worker.RunJob());
    EXPECT_EQ(P(L"n01"), W(list[0].GetEffectiveName()));
    EXPECT_EQ(P(L"n02"), W(list[1].GetEffectiveName()));
    EXPECT_EQ(std::set<std::wstring>({L"a", L"b"}), qvtest::ListFolder(dir));
}

TEST_F(RenameThreadTest, ExchangeInOneFolderKeepsBothAttributeWords)
{
    MakeTree(dir, {L"one", L"two", L"Temp_0"});
    qvtest::WriteFileBytes(P(L"one"), "1");
    qvtest::WriteFileBytes(P(L"two"), "2");
    SetFileAttributesW(P(L"one").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(P(L"two").c_str(), FILE_ATTRIBUTE_HIDDEN);
    const CFileInfo one = DiskEntry(dir, L"one"), two = DiskEntry(dir, L"two");
    EXPECT_EQ(EXCHANGE_DONE, CRenameExchangeDlg::ExchangeNames(one, two));
    EXPECT_EQ("1", qvtest::ReadFileBytes(P(L"two")));
    EXPECT_EQ("2", qvtest::ReadFileBytes(P(L"one")));
    EXPECT_EQ(std::set<std::wstring>({L"one", L"two", L"Temp_0"}), qvtest::ListFolder(dir));
    EXPECT_TRUE(GetFileAttributesW(P(L"two").c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(GetFileAttributesW(P(L"one").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(GetFileAttributesW(P(L"one").c_str()) & FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(P(L"two").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RenameThreadTest, ExchangeAcrossFoldersRefusesClashesAndSameFile)
{
    MakeTree(dir, {L"d1\\", L"d2\\", L"d1\\x", L"d2\\y", L"d2\\x"});
    const std::wstring d1 = P(L"d1"), d2 = P(L"d2");
    EXPECT_EQ(EXCHANGE_CLASH, CRenameExchangeDlg::ExchangeNames(DiskEntry(d1, L"x"), DiskEntry(d2, L"y")));
    EXPECT_EQ(std::set<std::wstring>({L"y", L"x"}), qvtest::ListFolder(d2));
    // The same file, also under another spelling of its folder.
    EXPECT_EQ(EXCHANGE_SAME_FILE,
              CRenameExchangeDlg::ExchangeNames(DiskEntry(d1, L"x"), DiskEntry(d1, L"X")));
    EXPECT_EQ(EXCHANGE_SAME_FILE,
              CRenameExchangeDlg::ExchangeNames(DiskEntry(d1, L"x"), DiskEntry(dir + L"\\d2\\..\\d1", L"x")));
    EXPECT_EQ(std::set<std::wstring>({L"x"}), qvtest::ListFolder(d1));
    DeleteFileW(P(L"d2\\x").c_str());
    EXPECT_EQ(EXCHANGE_DONE, CRenameExchangeDlg::ExchangeNames(DiskEntry(d1, L"x"), DiskEntry(d2, L"y")));
    EXPECT_EQ(std::set<std::wstring>({L"y"}), qvtest::ListFolder(d1));
    EXPECT_EQ(std::set<std::wstring>({L"x"}), qvtest::ListFolder(d2));
}

// Across folders, a new name that is the 8.3 alias of another file there is taken:
// the exchange is refused before either file moves, never left half done.
TEST_F(RenameThreadTest, ExchangeAcrossFoldersRefusesANameThatIsAnotherFilesShortAlias)
{
    MakeTree(dir, {L"d1\\", L"d2\\", L"d2\\y", L"d2\\Precious notes.txt"});
    const std::wstring d1 = P(L"d1"), d2 = P(L"d2");
    const std::wstring alias = qvtest::ShortAlias(d2 + L"\\Precious notes.txt");
    if (alias.empty())
        GTEST_SKIP() << "the file system keeps no 8.3 alias beside the long name";
    // A file in the first folder whose long name is that alias.
    MakeTree(d1, {alias});
    EXPECT_EQ(EXCHANGE_CLASH, CRenameExchangeDlg::ExchangeNames(DiskEntry(d1, alias), DiskEntry(d2, L"y")));
    EXPECT_EQ(std::set<std::wstring>({alias}), qvtest::ListFolder(d1));
    EXPECT_EQ(std::set<std::wstring>({L"y", L"Precious notes.txt"}), qvtest::ListFolder(d2));
    EXPECT_EQ("data", qvtest::ReadFileBytes(d2 + L"\\Precious notes.txt"));
}
