// A pane listing an archive through its archive object: opening puts the cursor past
// "..", a failed open leaves the pane as it was, closing comes back to the archive
// file, and a selection covers the archive members it stands for.
#include <gtest/gtest.h>
#include "filer/FilerPane.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/Settings.h"
#include "tests/common/TestSupport.h"
#include "FilerTestData.h"

#include <algorithm>
#include <string>
#include <vector>

using filertest::Names;

namespace
{
// An archive object over a fixed member list: the root lists ".." (when asked), the
// members of the folder, and one directory for each deeper first component.
class CListedArchive : public IPaneArchive
{
public:
    struct Member
    {
        const wchar_t* folder;
        const wchar_t* name;
        bool directory;
    };
    explicit CListedArchive(const std::vector<Member>& members, bool parentEntry = true)
        : m_parentEntry(parentEntry)
    {
        for (const Member& m : members)
        {
            CArchiveFileInfo info;
            info.m_folder = m.folder;
            info.SetName(m.name);
            info.m_findData.dwFileAttributes =
                m.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
            m_members.Add(info);
        }
    }

    int ListDirectory(CArrayFileInfo& out, LPCWSTR folder, LPCWSTR, BOOL, const FindCondition*) override
    {
        out.RemoveAll();
        if (m_parentEntry)
            out.AddArchiveEntry(this, folder, filertest::MakeFindData(L"..", true), -1);
        CString prefix = folder[0] ? CString(folder) + L"\\" : CString();
        std::vector<CString> added;
        for (int i = 0; i < m_members.GetSize(); ++i)
        {
            const CArchiveFileInfo& m = m_members[i];
            CString name;
            int index = -1;
            if (m.m_folder.CompareNoCase(folder) == 0)
            {
                name = m.m_findData.cFileName;
                index = i;
            }
            else if (m.m_folder.Left(prefix.GetLength()).CompareNoCase(prefix) == 0)
            {
                name = m.m_folder.Mid(prefix.GetLength());
                if (name.Find(L'\\') >= 0)
                    name = name.Left(name.Find(L'\\'));
            }
            else
                continue;
            bool known = false;
            for (const CString& a : added)
                known = known || a.CompareNoCase(name) == 0;
            if (known)
                continue;
            added.push_back(name);
            bool directory = index < 0 || (m.m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
            out.AddArchiveEntry(this, folder, filertest::MakeFindData(name, directory), index);
        }
        return static_cast<int>(out.GetSize());
    }
    const CString& GetCurrentFolder() const override { return m_currentFolder; }
    void SetCurrentFolder(LPCWSTR folder) override { m_currentFolder = folder; }
    CErrorIF& GetErrors() override { return m_errors; }

    int OpenAndList(LPCWSTR path, int preference) override
    {
        m_opened.push_back(path);
        m_preference = preference;
        m_errors.Clear();
        if (m_refuse)
        {
            m_errors.Add(12, 0);
            return 0;
        }
        m_path = path;
        return 1;
    }
    void UnloadLibraries() override { ++m_unloads; }
    void Close() override { ++m_closes; }
    void GetArchivePath(CString& out) override { out = m_path; }
    int GetEntryCount() override { return static_cast<int>(m_members.GetSize()); }
    int GetEntry(CArchiveFileInfo** out, int index) override
    {
        if (index < 0 || index >= m_members.GetSize())
            return 0;
        *out = &m_members[index];
        return 1;
    }

    CArrayArchiveFileInfo m_members;
    bool m_parentEntry;
    bool m_refuse = false;
    CString m_path;
    CString m_currentFolder;
    CErrorIF m_errors;
    std::vector<CString> m_opened;
    int m_preference = -1;
    int m_unloads = 0;
    int m_closes = 0;
};

// The archive of the selection tests: a directory "d" with its own member and two
// more, two files at the root, and "other", known only from a deeper member.
const std::vector<CListedArchive::Member> kMembers = {
    {L"", L"f1.txt", false},       {L"", L"d", true},       {L"d", L"x1.txt", false},
    {L"d\\sub", L"x2.txt", false}, {L"", L"f2.txt", false}, {L"other", L"y.txt", false},
};

class ArchiveListingTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        for (const wchar_t* name : {L"a.txt", L"x.zip", L"z.txt"})
            ASSERT_TRUE(qvtest::WriteFileBytes(P(name), "x"));
        ASSERT_TRUE(CreateDirectoryW(P(L"folder").c_str(), nullptr));
        m_pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
        m_pane.m_currentDir = dir.c_str();
        m_pane.ReadDirectory(TRUE);
        m_pane.SortEntries();
        m_pane.SetCursorToName(L"x.zip", FALSE, 0);
        ASSERT_STREQ(L"x.zip", m_pane.GetCursorEntry()->GetName());
    }

    // Gives the pane the archive object; the pane owns it.
    CListedArchive* Use(CListedArchive* archive)
    {
        delete m_pane.m_archive;
        m_pane.m_archive = archive;
        return archive;
    }

    void Mark(LPCWSTR name)
    {
        for (INT_PTR i = 0; i < m_pane.m_entries.GetSize(); ++i)
            if (CString(m_pane.m_entries[i].GetName()) == name)
                m_pane.SetEntryMark(i, 1);
    }

    std::vector<std::wstring> Collected(BOOL cursorOnly)
    {
        std::vector<std::wstring> paths;
        CArchiveFileInfo item;
        for (int n = 0; m_pane.CollectArchiveItems(item, n, cursorOnly); ++n)
            paths.push_back(item.m_folder.IsEmpty()
                                ? std::wstring(item.m_findData.cFileName)
                                : qvtest::W(item.m_folder) + L"\\" + item.m_findData.cFileName);
        return paths;
    }

    CPaneHooksOverride m_hooks;
    CFilerPane m_pane{0};
};

TEST_F(ArchiveListingTest, OpeningListsTheRootWithTheCursorPastTheParentEntry)
{
    struct Case
    {
        bool parentEntry;
        INT64 cursor;
    };
    for (const Case& c : {Case{true, 1}, Case{false, 0}})
    {
        SCOPED_TRACE(c.parentEntry);
        SetUp();
        CListedArchive* archive = Use(new CListedArchive(kMembers, c.parentEntry));
        archive->SetCurrentFolder(L"left\\over");
        ASSERT_EQ(1, m_pane.OpenArchiveListing(FALSE));
        ASSERT_EQ(1u, archive->m_opened.size());
        EXPECT_EQ(CString(P(L"x.zip").c_str()), archive->m_opened[0]);
        EXPECT_EQ(0, archive->m_preference);
        EXPECT_EQ(1, archive->m_unloads);
        EXPECT_EQ(L"", qvtest::W(archive->GetCurrentFolder()));
        EXPECT_EQ(c.cursor, m_pane.m_cursor);
        EXPECT_EQ(0, m_pane.m_firstVisible);
        EXPECT_EQ(c.parentEntry ? 5 : 4, m_pane.m_entries.GetSize());
        EXPECT_EQ(0, m_pane.m_markedCount);

        // Re-opening takes the archive object's own archive, whatever the cursor.
        m_pane.m_cursor = 0;
        ASSERT_EQ(1, m_pane.OpenArchiveListing(TRUE));
        EXPECT_EQ(CString(P(L"x.zip").c_str()), archive->m_opened.back());
    }
}

TEST_F(ArchiveListingTest, AnArchiveThatCannotBeOpenedIsReportedAndThePaneStaysAsItWas)
{
    CListedArchive* archive = Use(new CListedArchive(kMembers));
    archive->m_refuse = true;
    std::vector<std::wstring> before = Names(m_pane.m_entries);
    INT64 cursor = m_pane.m_cursor;

    CDialogAnswerScript script;
    script.Add(IDOK);
    EXPECT_EQ(0, m_pane.OpenArchiveListing(FALSE));
    std::vector<CDialogQuestion> questions = script.GetQuestions();
    ASSERT_EQ(1u, questions.size());
    EXPECT_EQ(L"圧縮ファイルの閲覧失敗", qvtest::W(questions[0].caption));
    EXPECT_EQ(L"圧縮ファイルのオープンに失敗しました(OpenArchive)", qvtest::W(questions[0].text));
    EXPECT_EQ(0, questions[0].type);
    EXPECT_EQ(1, archive->m_closes);
    EXPECT_EQ(before, Names(m_pane.m_entries));
    EXPECT_EQ(cursor, m_pane.m_cursor);
}

TEST_F(ArchiveListingTest, ClosingWithReReadPutsTheCursorOnTheArchiveFile)
{
    CListedArchive* archive = Use(new CListedArchive(kMembers));
    ASSERT_EQ(1, m_pane.OpenArchiveListing(FALSE));
    m_pane.CloseArchiveListing(TRUE);
    EXPECT_EQ(1, archive->m_closes);
    ASSERT_NE(nullptr, m_pane.GetCursorEntry());
    EXPECT_STREQ(L"x.zip", m_pane.GetCursorEntry()->GetName());
    EXPECT_EQ(0, m_pane.m_firstVisible);
    EXPECT_FALSE(m_pane.GetCursorEntry()->m_owner);
}

TEST_F(ArchiveListingTest, ASelectionCoversTheMembersOfItsFilesAndDirectories)
{
    Use(new CListedArchive(kMembers));
    ASSERT_EQ(1, m_pane.OpenArchiveListing(FALSE));
    Mark(L"f2.txt");
    Mark(L"d");
    Mark(L"f1.txt");
    ASSERT_EQ(3, m_pane.m_markedCount);
    std::vector<std::wstring> listed = Names(m_pane.m_entries);

    // Each marked entry in list order; a directory's members in archive order, its
    // own member included.
    std::vector<std::wstring> expected;
    for (const std::wstring& name : listed)
    {
        if (name == L"d")
            expected.insert(expected.end(), {L"d", L"d\\x1.txt", L"d\\sub\\x2.txt"});
        else if (name == L"f1.txt" || name == L"f2.txt")
            expected.push_back(name);
    }
    EXPECT_EQ(expected, Collected(FALSE));
    EXPECT_EQ(5u, Collected(FALSE).size());
    // The directory's own member is not counted.
    EXPECT_EQ(4, m_pane.CountArchiveItems(FALSE));

    // The cursor alone: "d" only.
    m_pane.SetCursorToName(L"d", FALSE, 0);
    EXPECT_EQ((std::vector<std::wstring>{L"d", L"d\\x1.txt", L"d\\sub\\x2.txt"}), Collected(TRUE));
    EXPECT_EQ(2, m_pane.CountArchiveItems(TRUE));
    // A folder known only from deeper members has no own member.
    m_pane.SetCursorToName(L"other", FALSE, 0);
    EXPECT_EQ(1, m_pane.CountArchiveItems(TRUE));
    // ".." covers nothing.
    m_pane.SetCursorToName(L"..", FALSE, 0);
    EXPECT_EQ(0, m_pane.CountArchiveItems(TRUE));
    CArchiveFileInfo item;
    EXPECT_EQ(0, m_pane.CollectArchiveItems(item, 0, TRUE));
}

TEST_F(ArchiveListingTest, ReloadListsTheCurrentFolderAgainWithoutMarks)
{
    Use(new CListedArchive(kMembers));
    ASSERT_EQ(1, m_pane.OpenArchiveListing(FALSE));
    Mark(L"f1.txt");
    m_pane.m_archive->SetCurrentFolder(L"d");
    EXPECT_EQ(1, m_pane.ReloadArchiveListing());
    EXPECT_EQ(0, m_pane.m_markedCount);
    EXPECT_EQ(-1, m_pane.m_drawingMark);
    std::vector<std::wstring> names = Names(m_pane.m_entries);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"..", L"sub", L"x1.txt"}), names);
}
} // namespace
