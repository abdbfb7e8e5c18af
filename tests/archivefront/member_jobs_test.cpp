// Deleting and renaming members act on exactly the members the user chose, by their
// item index: members whose names differ only in case, members listed under a path
// other than the stored one and members with names longer than a file name may be,
// in archives made by the test. A job whose member is gone fails with code 4 and
// leaves the archive alone, and an archive of more than one volume is never updated.
#include "archivefront/ArchiveFront.h"

#include "app/dialogs/DialogAnswerScript.h"
#include "app/records/LocalMemory.h"
#include "filer/FilerPane.h"
#include "filer/PaneHooks.h"
#include "tests/archiveclient/TwoVolumeZip.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/common/TestSupport.h"
#include <algorithm>
#include <memory>
#include <set>
#include <gtest/gtest.h>

namespace
{

using sztest::Exists;
using sztest::ReadFile;
using sztest::WriteFile;
using sztest::WriteStoredZip;
using sztest::WriteTar;

std::vector<std::wstring> Sorted(std::vector<std::wstring> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

class MemberJobsTest : public qvtest::ScratchFolderTest
{
protected:
    // The pane's listing of the archive, in the folder given.
    void Browse(const std::wstring& archive, LPCWSTR folder = L"")
    {
        pane.reset(new CFilerPane(0));
        delete pane->m_archive;
        front = new CArchiveFront;
        pane->m_archive = front;
        pane->SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
        pane->m_currentDir = dir.c_str();
        pane->ReadDirectory(TRUE);
        pane->SortEntries();
        pane->SetCursorToName(archive.substr(dir.size() + 1).c_str(), FALSE, 0);
        ASSERT_EQ(1, pane->OpenArchiveListing(FALSE)) << qvtest::W(front->GetErrors().GetMessageText());
        front->SetCurrentFolder(folder);
        pane->ReloadArchiveListing();
    }
    // The row at a position among the rows of that name, as the user's cursor finds it.
    CFileInfo* Row(LPCWSTR name, int nth = 0)
    {
        for (INT_PTR i = 0; i < pane->m_entries.GetSize(); ++i)
            if (wcscmp(pane->m_entries[i].GetName(), name) == 0 && nth-- == 0)
            {
                pane->m_cursor = static_cast<int>(i);
                return &pane->m_entries[i];
            }
        return nullptr;
    }
    // What the delete dialog hands the front for the cursor row.
    int DeleteCursorRow()
    {
        CArrayArchiveFileInfo members;
        CArchiveFileInfo member;
        for (int n = 0; pane->CollectArchiveItems(member, n, TRUE); ++n)
            members.Add(member);
        return front->DeleteEntries(members, FALSE, nullptr);
    }
    // The rename list the rename command builds, with the cursor row given a new path
    // as the rename dialog does.
    int RenameCursorRow(LPCWSTR newPath)
    {
        CArrayRenameFileName list;
        for (int i = 0; i < front->GetEntryCount(); ++i)
        {
            CArchiveFileInfo* member = nullptr;
            front->GetEntry(&member, i);
            CString listed = member->m_folder.IsEmpty()
                                 ? CString(member->m_findData.cFileName)
                                 : member->m_folder + L"\\" + member->m_findData.cFileName;
            list.Add(CRenameFileName(listed, i));
        }
        const CFileInfo& row = *pane->GetCursorEntry();
        if (!list.CanRename(row.GetFullPath(), newPath, row.m_itemIndex, row.IsDirectory()))
            return -1;
        list.SetNewNameOf(row.GetFullPath(), newPath, row.m_itemIndex, row.IsDirectory());
        front->ResetOptions();
        front->SetOption(1, L"");
        front->SetRenameList(list);
        return front->RenameEntries(nullptr, nullptr);
    }
    // Stored path and content of every member, read back through the library, each
    // member by its own index into a folder of its own.
    std::vector<std::wstring> Contents(const std::wstring& archive)
    {
        CSevenZipArchive reader;
        if (!sztest::OpenAndList(reader, archive))
            return {L"<not listed>"};
        std::vector<std::wstring> out;
        for (INT_PTR i = 0; i < reader.m_listing.GetSize(); ++i)
        {
            CArchiveFileInfo& member = reader.m_listing[i];
            std::wstring text = qvtest::W(member.m_storedPath);
            if ((member.m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            {
                const std::wstring folder = P((L"read" + std::to_wstring(++reads)).c_str());
                reader.ResetOptions();
                reader.SetOption(1, archive.c_str());
                reader.SetOption(5, folder.c_str());
                reader.SetOption(6, nullptr);
                reader.SetOption(2, reinterpret_cast<LPCWSTR>(&member));
                if (reader.Extract(nullptr, nullptr) == 1 && qvtest::ListFolder(folder).size() == 1)
                {
                    const std::string data = ReadFile(folder + L"\\" + *qvtest::ListFolder(folder).begin());
                    text += L"=" + std::wstring(data.begin(), data.end());
                }
                else
                    text += L"=<not extracted>";
            }
            out.push_back(text);
        }
        return Sorted(out);
    }

    CPaneHooksOverride hooks;
    std::unique_ptr<CFilerPane> pane;
    CArchiveFront* front = nullptr;
    int reads = 0;
};

// Members whose names differ only in case are members of their own; so are two members
// stored under paths that clean to the same one, and folders of either case.
TEST_F(MemberJobsTest, DeletingOneRowLeavesEveryOtherMemberByteForByte)
{
    struct Case
    {
        const wchar_t* archive;
        std::vector<std::pair<std::string, std::string>> members;
        const wchar_t* folder;
        const wchar_t* row;
        int nth;
        std::vector<std::wstring> left;
    } cases[] = {
        {L"twins1.zip",
         {{"Makefile", "upper"}, {"makefile", "lower"}},
         L"",
         L"Makefile",
         0,
         {L"makefile=lower"}},
        {L"twins2.zip",
         {{"Makefile", "upper"}, {"makefile", "lower"}},
         L"",
         L"makefile",
         0,
         {L"Makefile=upper"}},
        {L"same.zip", {{"./x.txt", "dot"}, {"x.txt", "plain"}}, L"", L"x.txt", 1, {L".\\x.txt=dot"}},
        {L"folders.zip",
         {{"DIR/a.txt", "A"}, {"dir/b.txt", "B"}, {"dir/sub/c.txt", "C"}},
         L"",
         L"DIR",
         0,
         {L"dir\\b.txt=B", L"dir\\sub\\c.txt=C"}},
        {L"inner.zip",
         {{"dir/Makefile", "upper"}, {"dir/makefile", "lower"}, {"DIR/makefile", "other"}},
         L"dir",
         L"makefile",
         0,
         {L"DIR\\makefile=other", L"dir\\Makefile=upper"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(qvtest::W(c.archive));
        const std::wstring path = P(c.archive);
        WriteStoredZip(path, c.members);
        Browse(path, c.folder);
        ASSERT_NE(nullptr, Row(c.row, c.nth));
        ASSERT_EQ(1, DeleteCursorRow()) << qvtest::W(front->GetErrors().GetMessageText());
        EXPECT_EQ(c.left, Contents(path));
    }
}

TEST_F(MemberJobsTest, RenamingOneRowRenamesExactlyItsMembers)
{
    const std::string longName(300, 'n');
    struct Case
    {
        const wchar_t* archive;
        std::vector<std::pair<std::string, std::string>> members;
        const wchar_t* folder;
        const wchar_t* row;
        const wchar_t* newPath;
        std::vector<std::wstring> after;
    } cases[] = {
        {L"rtwins1.zip",
         {{"Makefile", "upper"}, {"makefile", "lower"}},
         L"",
         L"makefile",
         L"GNUmakefile",
         {L"GNUmakefile=lower", L"Makefile=upper"}},
        {L"rtwins2.zip",
         {{"Makefile", "upper"}, {"makefile", "lower"}},
         L"",
         L"Makefile",
         L"Makefile.old",
         {L"Makefile.old=upper", L"makefile=lower"}},
        {L"rfolders.zip",
         {{"DIR/a.txt", "A"}, {"dir/b.txt", "B"}},
         L"",
         L"dir",
         L"lower",
         {L"DIR\\a.txt=A", L"lower\\b.txt=B"}},
        {L"rlong.zip",
         {{longName + ".txt", "long"}, {"keep.txt", "k"}},
         L"",
         nullptr,
         L"short.txt",
         {L"keep.txt=k", L"short.txt=long"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(qvtest::W(c.archive));
        const std::wstring path = P(c.archive);
        WriteStoredZip(path, c.members);
        Browse(path, c.folder);
        if (c.row != nullptr)
            ASSERT_NE(nullptr, Row(c.row));
        else
        {
            // The long name's row, whose shown name is only its start.
            for (INT_PTR i = 0; i < pane->m_entries.GetSize(); ++i)
                if (pane->m_entries[i].GetName()[0] == L'n')
                    pane->m_cursor = static_cast<int>(i);
            ASSERT_EQ(L'n', pane->GetCursorEntry()->GetName()[0]);
        }
        ASSERT_EQ(1, RenameCursorRow(c.newPath)) << qvtest::W(front->GetErrors().GetMessageText());
        EXPECT_EQ(c.after, Contents(path));
    }
}

// Tar archives often store "./dir/file.txt"; the member is listed as "dir\file.txt".
TEST_F(MemberJobsTest, AMemberStoredUnderAnotherPathThanItsListedOneIsRenamed)
{
    const std::wstring path = P(L"dots.tar");
    WriteTar(path, {{"./dir/file.txt", "inside"}, {"./other.txt", "other"}});
    Browse(path, L"dir");
    ASSERT_NE(nullptr, Row(L"file.txt"));
    ASSERT_EQ(1, RenameCursorRow(L"dir\\renamed.txt")) << qvtest::W(front->GetErrors().GetMessageText());

    CArchiveFront reread;
    ASSERT_EQ(1, reread.OpenAndList(path.c_str(), 0));
    std::vector<std::wstring> listed;
    for (int i = 0; i < reread.GetEntryCount(); ++i)
    {
        CArchiveFileInfo* member = nullptr;
        ASSERT_EQ(1, reread.GetEntry(&member, i));
        listed.push_back(qvtest::W(member->m_folder) + L"|" + member->m_findData.cFileName);
    }
    EXPECT_EQ(Sorted({L"dir|renamed.txt", L"|other.txt"}), Sorted(listed));
}

// The archive changed since it was listed: the member the row names is gone, and an
// index alone would now name another member.
TEST_F(MemberJobsTest, AJobWhoseMemberIsGoneFailsWithCode4AndLeavesTheArchiveAlone)
{
    const std::wstring path = P(L"gone.zip");
    WriteStoredZip(path, {{"a.txt", "A"}, {"b.txt", "B"}});
    Browse(path);
    ASSERT_NE(nullptr, Row(L"a.txt"));
    // Another program rewrote the archive: "b.txt" now stands where "a.txt" stood.
    WriteStoredZip(path, {{"b.txt", "B"}, {"c.txt", "C"}});
    const std::string before = ReadFile(path);

    EXPECT_EQ(0, RenameCursorRow(L"z.txt"));
    EXPECT_TRUE(front->GetErrors().HasCode(4));
    EXPECT_EQ(L"圧縮ファイル内に指定のファイルがありません", qvtest::W(front->GetErrors().GetMessageText()));
    EXPECT_EQ(before, ReadFile(path));
    EXPECT_EQ(0, DeleteCursorRow());
    EXPECT_TRUE(front->GetErrors().HasCode(4));
    EXPECT_EQ(before, ReadFile(path));

    // A rename list whose path names no member renames nothing.
    CArrayRenameFileName list;
    CRenameFileName pair(L"nothere.txt");
    pair.SetNewName(L"z.txt");
    list.Add(pair);
    front->ResetOptions();
    front->SetOption(1, L"");
    front->SetRenameList(list);
    EXPECT_EQ(0, front->RenameEntries(nullptr, nullptr));
    EXPECT_TRUE(front->GetErrors().HasCode(4));
    EXPECT_EQ(before, ReadFile(path));
    EXPECT_EQ(std::set<std::wstring>{L"gone.zip"}, [&] {
        std::set<std::wstring> names;
        for (const std::wstring& name : qvtest::ListFolder(dir))
            if (name.rfind(L"gone", 0) == 0)
                names.insert(name);
        return names;
    }());
}

TEST_F(MemberJobsTest, ARenameThatChangesNoNameSucceedsWithoutTouchingTheArchive)
{
    const std::wstring path = P(L"same.zip");
    WriteStoredZip(path, {{"a.txt", "A"}});
    const FILETIME old = {0x12345678, 0x01D00000};
    {
        HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &old);
        CloseHandle(file);
    }
    const std::string before = ReadFile(path);
    Browse(path);
    ASSERT_NE(nullptr, Row(L"a.txt"));
    EXPECT_EQ(1, RenameCursorRow(L"a.txt"));
    EXPECT_EQ(before, ReadFile(path));
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(0, CompareFileTime(&old, &data.ftLastWriteTime));
}

// One further volume is as much a multi-volume archive as many: rewriting the last
// file alone would leave the first one pointing nowhere.
TEST_F(MemberJobsTest, AnArchiveWithAFurtherVolumeIsRefusedForUpdateWithCode37)
{
    const std::wstring first = P(L"split.z01");
    const std::wstring last = P(L"split.zip");
    arctest::WriteTwoVolumeZip(first, last);
    ASSERT_EQ(Sorted({L"one.txt=first volume\n", L"two.txt=last volume\n"}), Contents(last));
    const std::string firstBefore = ReadFile(first);
    const std::string lastBefore = ReadFile(last);

    Browse(last);
    ASSERT_NE(nullptr, Row(L"two.txt"));
    EXPECT_EQ(0, DeleteCursorRow());
    EXPECT_TRUE(front->GetErrors().HasCode(37));
    EXPECT_EQ(L"未実装の機能です", qvtest::W(front->GetErrors().GetMessageText()));
    ASSERT_NE(nullptr, Row(L"one.txt"));
    EXPECT_EQ(0, RenameCursorRow(L"uno.txt"));
    EXPECT_TRUE(front->GetErrors().HasCode(37));

    EXPECT_EQ(firstBefore, ReadFile(first));
    EXPECT_EQ(lastBefore, ReadFile(last));
    std::set<std::wstring> names;
    for (const std::wstring& name : qvtest::ListFolder(dir))
        if (name.rfind(L"split", 0) == 0)
            names.insert(name);
    EXPECT_EQ((std::set<std::wstring>{L"split.z01", L"split.zip"}), names);
}

// The listing read again after the pane's own change keeps the password; leaving the
// archive forgets it.
TEST_F(MemberJobsTest, ThePasswordOutlivesTheReopenAfterAChangeButNotTheArchive)
{
    const std::wstring path = P(L"names.7z");
    ASSERT_TRUE(CopyFileW(sztest::Fixture(L"secretnames.7z").c_str(), path.c_str(), FALSE));
    CDialogAnswerScript script;
    CDialogAnswer answer;
    answer.result = IDOK;
    answer.text = L"secret";
    script.Add(answer);
    CArchiveFront archive;
    ASSERT_EQ(1, archive.OpenAndList(path.c_str(), 0));
    ASSERT_EQ(1u, script.GetQuestions().size());

    archive.KeepPasswordForReopen();
    ASSERT_EQ(1, archive.OpenAndList(path.c_str(), 0));
    EXPECT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(2, archive.GetEntryCount());

    archive.Close();
    script.Add(answer);
    ASSERT_EQ(1, archive.OpenAndList(path.c_str(), 0));
    EXPECT_EQ(2u, script.GetQuestions().size());
}

// The rename list finds a row by its member, and a folder row by the exact path of the
// members below it.
TEST(RenameListTest, RowsAreFoundByMemberAndFoldersByExactPath)
{
    CArrayRenameFileName list;
    for (const wchar_t* path : {L"Makefile", L"makefile", L"DIR\\a.txt", L"dir\\b.txt"})
        list.Add(CRenameFileName(path, static_cast<int>(list.GetSize())));
    // "MAKEFILE" would be a third spelling of one name on Windows.
    EXPECT_EQ(0, list.CanRename(L"makefile", L"MAKEFILE", 1));
    EXPECT_EQ(1, list.CanRename(L"makefile", L"GNUmakefile", 1));
    list.SetNewNameOf(L"makefile", L"GNUmakefile", 1);
    EXPECT_EQ(L"Makefile", qvtest::W(list[0].GetEffectiveName()));
    EXPECT_EQ(L"GNUmakefile", qvtest::W(list[1].GetEffectiveName()));

    EXPECT_EQ(1, list.CanRename(L"dir", L"new", -1, TRUE));
    EXPECT_EQ(0, list.CanRename(L"dir", L"Makefile", -1, TRUE));
    EXPECT_EQ(0, list.CanRename(L"Dir", L"new", -1, TRUE));
    list.SetNewNameOf(L"dir", L"new", -1, TRUE);
    EXPECT_EQ(0, list[2].hasNewName);
    EXPECT_EQ(L"new\\b.txt", qvtest::W(list[3].GetEffectiveName()));
}

} // namespace
