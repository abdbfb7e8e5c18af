// The delete worker on real trees in the scratch folder, its questions answered by
// scripts: attribute questions with the same-answer check, non-empty folders, keep
// directories, the recycle bin, links, virtual drives and files held open.
#include <gtest/gtest.h>

#include "app/VirtualDrives.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "res/CopyDialogs.h"
#include "fileops/delete/DeleteThread.h"
#include "tests/common/TestHelpers.h"
#include "tests/fileops/FileOpsTestData.h"

#include <memory>

using fileopstest::DiskEntry;
using fileopstest::Exists;
using fileopstest::MakeTree;
using qvtest::W;

namespace
{

class DeleteThreadTest : public qvtest::ScratchFolderTest
{
protected:
    // Runs a job over the named entries of the scratch folder.
    int Run(const std::vector<std::wstring>& names, int recycle = 0, int wholeFolder = 0, int warn = 0,
            int keep = 0)
    {
        m_selection.m_directory = dir.c_str();
        m_selection.m_entries.RemoveAll();
        for (const auto& name : names)
            m_selection.m_entries.AddEntry(DiskEntry(dir, name));
        m_worker = std::make_unique<CDeleteThread>();
        m_worker->m_pSelection = &m_selection;
        m_worker->m_toRecycleBin = recycle;
        m_worker->m_wholeFolder = wholeFolder;
        m_worker->m_warnNotEmpty = warn;
        m_worker->m_keepDirectories = keep;
        return m_worker->RunJob();
    }
    bool Has(const wchar_t* name) const { return Exists(P(name)); }

    CSelectedEntryList m_selection;
    std::unique_ptr<CDeleteThread> m_worker;
};

} // namespace

TEST_F(DeleteThreadTest, TreesGoForGoodWithoutQuestions)
{
    MakeTree(dir, {L"t\\", L"t\\a.txt", L"t\\s\\", L"t\\s\\b.txt", L"t\\s\\e\\", L"f.txt", L"keep.txt"});
    CDialogAnswerScript script;
    EXPECT_EQ(0, Run({L"t", L"f.txt"}));
    EXPECT_FALSE(Has(L"t"));
    EXPECT_FALSE(Has(L"f.txt"));
    EXPECT_TRUE(Has(L"keep.txt"));
    EXPECT_TRUE(script.GetQuestions().empty());
}

TEST_F(DeleteThreadTest, KeepDirectoriesDeletesOnlyFiles)
{
    MakeTree(dir, {L"t\\", L"t\\a.txt", L"t\\s\\", L"t\\s\\b.txt"});
    EXPECT_EQ(0, Run({L"t"}, 0, 0, 0, 1));
    EXPECT_TRUE(Has(L"t\\s"));
    EXPECT_FALSE(Has(L"t\\a.txt"));
    EXPECT_FALSE(Has(L"t\\s\\b.txt"));
}

TEST_F(DeleteThreadTest, NonEmptyWarningAsksOnlyForFilesAndNoKeepsTheFolder)
{
    MakeTree(dir,
             {L"empty\\", L"empty\\e1\\", L"empty\\e1\\e2\\", L"full\\", L"full\\s\\", L"full\\s\\x.txt"});
    CDialogAnswerScript script;
    script.Add(IDNO);
    EXPECT_EQ(0, Run({L"empty", L"full"}, 0, 0, 1));
    EXPECT_FALSE(Has(L"empty"));
    EXPECT_TRUE(Has(L"full\\s\\x.txt"));
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(P(L"full") + L"にはファイルが存在します。消去しますか", W(script.GetQuestions()[0].text));
    EXPECT_EQ(L"ファイルの削除", W(script.GetQuestions()[0].caption));
}

TEST_F(DeleteThreadTest, ReadOnlySystemFileGetsOnlyTheSystemQuestion)
{
    MakeTree(dir, {L"rs.txt"});
    SetFileAttributesW(P(L"rs.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    CDialogAnswerScript script;
    script.Add(IDOK);
    EXPECT_EQ(0, Run({L"rs.txt"}));
    EXPECT_FALSE(Has(L"rs.txt"));
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(UINT(IDD_ASK_SAME), script.GetQuestions()[0].dialogId);
    EXPECT_EQ(P(L"rs.txt") + L"は\nシステムファイルです。消去しますか?", W(script.GetQuestions()[0].text));
    EXPECT_EQ(L"削除の確認", W(script.GetQuestions()[0].caption));
}

TEST_F(DeleteThreadTest, SameAnswerCheckDecidesWhetherTheQuestionComesAgain)
{
    struct Case
    {
        int same;
        size_t questions;
        bool secondRemains;
    } cases[] = {{1, 1, false}, {0, 2, true}};
    for (const auto& c : cases)
    {
        MakeTree(dir, {L"r1.txt", L"r2.txt"});
        SetFileAttributesW(P(L"r1.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        SetFileAttributesW(P(L"r2.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        CDialogAnswerScript script;
        CDialogAnswer yes;
        yes.checks = {c.same};
        script.Add(yes);
        script.Add(IDCANCEL);
        EXPECT_EQ(0, Run({L"r1.txt", L"r2.txt"}));
        EXPECT_EQ(c.questions, script.GetQuestions().size()) << c.same;
        EXPECT_FALSE(Has(L"r1.txt"));
        EXPECT_EQ(c.secondRemains, Has(L"r2.txt")) << c.same;
        SetFileAttributesW(P(L"r2.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(P(L"r2.txt").c_str());
    }
}

TEST_F(DeleteThreadTest, LinkInsideTreeGoesAsLinkAndTargetStays)
{
    MakeTree(dir, {L"outside\\", L"outside\\precious.txt", L"t\\", L"t\\a.txt"});
    if (!fileopstest::MakeFolderLink(P(L"t\\link"), P(L"outside")))
        GTEST_SKIP() << "no host link";
    CDialogAnswerScript script;
    script.Add(IDOK);
    Run({L"t"});
    EXPECT_TRUE(Has(L"outside\\precious.txt"));
    EXPECT_TRUE(Has(L"outside"));
    EXPECT_FALSE(Has(L"t\\a.txt"));
    // Wine removes no host link from the Windows side: the link that stays is
    // reported, and its folder with it.
    if (Has(L"t\\link"))
    {
        ASSERT_EQ(1, m_worker->m_failedPaths.GetSize());
        EXPECT_EQ(P(L"t\\link"), W(m_worker->m_failedPaths[0]));
    }
    else
    {
        EXPECT_FALSE(Has(L"t"));
    }
}

TEST_F(DeleteThreadTest, FileHeldOpenIsReportedTheRestDeletedAndAttributesKept)
{
    MakeTree(dir, {L"a.txt", L"held.txt", L"z.txt"});
    SetFileAttributesW(P(L"held.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE held = CreateFileW(P(L"held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CDialogAnswerScript script;
    script.Add(IDOK); // the read-only question
    script.Add(IDOK); // go on after the failure
    EXPECT_EQ(0, Run({L"a.txt", L"held.txt", L"z.txt"}));
    CloseHandle(held);
    EXPECT_FALSE(Has(L"a.txt"));
    EXPECT_FALSE(Has(L"z.txt"));
    ASSERT_TRUE(Has(L"held.txt"));
    EXPECT_TRUE(GetFileAttributesW(P(L"held.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(2u, script.GetQuestions().size());
    EXPECT_EQ(L"削除に失敗しました続けますか", W(script.GetQuestions()[1].text));
    ASSERT_EQ(1, m_worker->m_failedPaths.GetSize());
    SetFileAttributesW(P(L"held.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DeleteThreadTest, CancelAfterFailureStopsTheJob)
{
    MakeTree(dir, {L"held.txt", L"z.txt"});
    HANDLE held = CreateFileW(P(L"held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    CDialogAnswerScript script;
    script.Add(IDCANCEL);
    EXPECT_EQ(-1, Run({L"held.txt", L"z.txt"}));
    CloseHandle(held);
    EXPECT_TRUE(Has(L"z.txt"));
}

TEST_F(DeleteThreadTest, RecycleBinTakesFilesOneByOneThenTheEmptiedFolders)
{
    const std::wstring trash = fileopstest::TrashFilesFolder();
    ASSERT_FALSE(trash.empty());
    const std::wstring unique =
        L"qvdel" + std::to_wstring(GetTickCount()) + std::to_wstring(GetCurrentProcessId());
    MakeTree(dir, {unique + L"\\", unique + L"\\" + unique + L"_in.txt", unique + L"_file.txt"});
    CDialogAnswerScript script;
    EXPECT_EQ(0, Run({unique, unique + L"_file.txt"}, 1));
    EXPECT_FALSE(Has(unique.c_str()));
    EXPECT_TRUE(Exists(trash + L"\\" + unique + L"_in.txt"));
    EXPECT_TRUE(Exists(trash + L"\\" + unique + L"_file.txt"));
    EXPECT_TRUE(Exists(trash + L"\\" + unique));
    EXPECT_TRUE(script.GetQuestions().empty());
}

TEST_F(DeleteThreadTest, WholeFolderRecyclingAsksNothingInside)
{
    const std::wstring trash = fileopstest::TrashFilesFolder();
    const std::wstring unique =
        L"qvwhole" + std::to_wstring(GetTickCount()) + std::to_wstring(GetCurrentProcessId());
    MakeTree(dir, {unique + L"\\", unique + L"\\ro.txt"});
    SetFileAttributesW(P((unique + L"\\ro.txt").c_str()).c_str(), FILE_ATTRIBUTE_READONLY);
    CDialogAnswerScript script;
    EXPECT_EQ(0, Run({unique}, 1, 1));
    EXPECT_FALSE(Has(unique.c_str()));
    EXPECT_TRUE(Exists(trash + L"\\" + unique + L"\\ro.txt"));
    EXPECT_TRUE(script.GetQuestions().empty());
}

TEST_F(DeleteThreadTest, VirtualDriveForgetsEntriesAndKeepsRealFiles)
{
    MakeTree(dir, {L"real.txt", L"real2.txt"});
    const int q = L'Q' - L'A';
    CVirtualFolderStore* saved = g_VirtualFolderStores[q];
    const int savedFlag = g_VirtualDriveFlags[q];
    CVirtualFolderStore store;
    g_VirtualFolderStores[q] = &store;
    g_VirtualDriveFlags[q] = 1;
    WIN32_FIND_DATAW file = {}, folder = {};
    wcscpy_s(file.cFileName, L"real.txt");
    file.dwFileAttributes = FILE_ATTRIBUTE_READONLY;
    wcscpy_s(folder.cFileName, L"sub");
    folder.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    ASSERT_TRUE(store.AddEntry(L"Q:\\v", file, dir.c_str()));
    ASSERT_TRUE(store.AddEntry(L"Q:\\v", folder, L""));
    wcscpy_s(file.cFileName, L"real2.txt");
    ASSERT_TRUE(store.AddEntry(L"Q:\\v\\sub", file, dir.c_str()));

    CSelectedEntryList selection;
    selection.m_directory = L"Q:\\v";
    WIN32_FIND_DATAW data = {};
    wcscpy_s(data.cFileName, L"real.txt");
    data.dwFileAttributes = FILE_ATTRIBUTE_READONLY;
    selection.m_entries.AddVirtualDriveEntry(L"Q:\\v", dir.c_str(), data);
    selection.m_entries.AddVirtualDriveEntry(L"Q:\\v", L"", folder);
    CDeleteThread worker;
    worker.m_pSelection = &selection;
    CDialogAnswerScript script;
    EXPECT_EQ(0, worker.RunJob());

    CVirtualFolderListing listing;
    store.EnumerateFolder(L"Q:\\v", L"*", FALSE, listing);
    int left = 0;
    for (INT_PTR i = 0; i < listing.GetSize(); ++i)
        left += CFileInfo::GetEntryClass(listing[i].findData) <= ENTRY_CLASS_DIRECTORY;
    EXPECT_EQ(0, left);
    EXPECT_TRUE(Has(L"real.txt"));
    EXPECT_TRUE(Has(L"real2.txt"));
    EXPECT_TRUE(script.GetQuestions().empty());
    g_VirtualFolderStores[q] = saved;
    g_VirtualDriveFlags[q] = savedFlag;
}

// A directory something holds: the process's current directory steps out of it and it
// goes; a change watch or an open handle keeps it, and the directory that stays is
// named in the failure question.
TEST_F(DeleteThreadTest, HeldDirectoryIsLeftByTheProcessOrNamedWhenItStays)
{
    enum Holder
    {
        CURRENT_DIRECTORY,
        WATCH,
        OPEN_HANDLE
    };
    struct Case
    {
        Holder holder;
        const wchar_t* stays; // the directory named; null: everything goes
    } cases[] = {{CURRENT_DIRECTORY, nullptr}, {WATCH, L"t"}, {OPEN_HANDLE, L"t\\s"}};
    wchar_t saved[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, saved);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.holder);
        MakeTree(dir, {L"t\\", L"t\\a.txt", L"t\\s\\", L"t\\s\\b.txt"});
        const std::wstring inner = P(L"t\\s");
        HANDLE held = INVALID_HANDLE_VALUE;
        if (c.holder == CURRENT_DIRECTORY)
            ASSERT_TRUE(SetCurrentDirectoryW(inner.c_str()));
        else if (c.holder == WATCH)
            held = FindFirstChangeNotificationW(inner.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
        else
            held = CreateFileW(inner.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_TRUE(c.holder == CURRENT_DIRECTORY || held != INVALID_HANDLE_VALUE);
        CDialogAnswerScript script;
        script.Add(IDOK);
        EXPECT_EQ(0, Run({L"t"}));
        wchar_t current[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, current);
        if (c.holder == WATCH)
            FindCloseChangeNotification(held);
        else if (c.holder == OPEN_HANDLE)
            CloseHandle(held);
        EXPECT_FALSE(Has(L"t\\s\\b.txt"));
        if (c.stays == nullptr)
        {
            EXPECT_FALSE(Has(L"t"));
            EXPECT_TRUE(script.GetQuestions().empty());
            EXPECT_EQ(0, _wcsicmp(dir.c_str(), current)) << current;
        }
        else
        {
            EXPECT_TRUE(Has(c.stays));
            ASSERT_EQ(1u, script.GetQuestions().size());
            EXPECT_EQ(L"ディレクトリ" + P(c.stays) + L"の削除に失敗しました続けますか",
                      W(script.GetQuestions()[0].text));
            ASSERT_EQ(1, m_worker->m_failedPaths.GetSize());
            EXPECT_EQ(P(c.stays), W(m_worker->m_failedPaths[0]));
        }
        SetCurrentDirectoryW(saved);
        RemoveDirectoryW(inner.c_str());
        RemoveDirectoryW(P(L"t").c_str());
    }
}
