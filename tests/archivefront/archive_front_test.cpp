// The archive front over its back-ends: the real 7-Zip library on archives made by the
// host's archivers, the stand-in common-archiver libraries that record their calls,
// and the plug-in host that takes nothing yet. One error list whatever back-end
// failed, folders listed from the paths of deeper members, and a pane that lists an
// archive through the front.
#include <gtest/gtest.h>
#include "archivefront/ArchiveFront.h"
#include "util/Globals.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "app/records/LocalMemory.h"
#include "filer/FilerPane.h"
#include "filer/FileInfo.h"
#include "filer/PaneHooks.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include "tests/archivefront/unpack_test_support.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace
{
std::wstring Fixture(const wchar_t* name)
{
    return qvtest::ProgramDir() + L"\\archivefrontfixtures\\" + name;
}

FILETIME WriteTimeOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    EXPECT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    return data.ftLastWriteTime;
}

// "name/attributes" of every listed entry, in listing order.
std::vector<std::wstring> Listed(CArchiveFront& front, LPCWSTR folder, LPCWSTR pattern = L"*.*")
{
    CArrayFileInfo entries;
    front.ListDirectory(entries, folder, pattern, FALSE, nullptr);
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
    {
        wchar_t attributes[16];
        swprintf(attributes, 16, L"/%x",
                 static_cast<unsigned>(entries[i].m_findData.dwFileAttributes & 0x90));
        names.push_back(std::wstring(entries[i].GetName()) + attributes);
    }
    return names;
}

const CFileInfo* FindListed(const CArrayFileInfo& entries, LPCWSTR name)
{
    for (INT_PTR i = 0; i < entries.GetSize(); ++i)
        if (lstrcmpiW(entries[i].GetName(), name) == 0)
            return &entries[i];
    return nullptr;
}

class ArchiveFrontTest : public unpacktest::StubFolderTest
{
protected:
    std::wstring Junk(const wchar_t* name)
    {
        std::wstring path = P(name);
        EXPECT_TRUE(qvtest::WriteFileBytes(path, "no archive at all, only some text"));
        return path;
    }
};

} // namespace

TEST_F(ArchiveFrontTest, AFileNoBackEndTakesLeavesTheSingleErrorNoLibraryOrPlugIn)
{
    // Without archiver libraries the archiver back-end reports "no library" and the
    // plug-in host "no plug-in": the front shows one error naming both. Neither name
    // is one the 7-Zip library reads.
    for (const wchar_t* name : {L"notes.txt", L"old.gca"})
    {
        SCOPED_TRACE(qvtest::W(name));
        std::wstring path = Junk(name);
        for (int listing = 0; listing < 2; ++listing)
        {
            SCOPED_TRACE(listing ? "OpenAndList" : "Open");
            CArchiveFront front;
            EXPECT_EQ(
                0, listing ? front.OpenAndList(path.c_str(), 0)
                           : front.Open(path.c_str(), ARCFRONT_OPEN_UNPACK | ARCFRONT_OPEN_MEMBER_VIA_TEMP));
            ASSERT_EQ(1, front.m_errors.GetSize());
            EXPECT_EQ(static_cast<DWORD>(ARCERR_NO_DLL_OR_PLUGIN), front.m_errors[0]);
            EXPECT_EQ(0, front.GetEntryCount());
            CString archivePath;
            front.GetArchivePath(archivePath);
            EXPECT_TRUE(archivePath.IsEmpty());
        }
    }
}

TEST_F(ArchiveFrontTest, ThePreferenceWithoutArchiversNeverLoadsAnArchiverLibrary)
{
    UseStubs(L"", L"");
    std::wstring path = Junk(L"x.gca");
    {
        CArchiveFront front;
        EXPECT_EQ(0, front.OpenAndList(path.c_str(), ARCFRONT_NO_ARCHIVER));
        EXPECT_TRUE(front.m_errors.HasCode(ARCERR_NO_DLL_OR_PLUGIN));
    }
    EXPECT_EQ("", Log());
    // The pane's preference asks the archiver libraries, so the log above would
    // have shown them.
    {
        CArchiveFront front;
        EXPECT_EQ(0, front.OpenAndList(path.c_str(), 0));
    }
    EXPECT_NE(std::string::npos, Log().find("CheckArchive"));
}

TEST_F(ArchiveFrontTest, FoldersKnownOnlyFromMemberPathsAreListedWithTheArchiveTimes)
{
    std::wstring path = Fixture(L"paths.zip");
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(path.c_str(), 0)) << qvtest::W(front.m_errors.GetMessageText());
    EXPECT_EQ(ARCFRONT_SEVENZIP, front.m_activeBackEnd);
    front.UnloadLibraries();

    struct Case
    {
        const wchar_t* folder;
        std::vector<std::wstring> listed;
    };
    const Case cases[] = {
        {L"", {L"./90", L"../90", L"a/90", L"top.txt/0"}},
        {L"a", {L"./90", L"../90", L"b/90", L"e.txt/0"}},
        {L"A", {L"./90", L"../90", L"b/90", L"e.txt/0"}},
        {L"a\\b", {L"./90", L"../90", L"c.txt/0", L"d.txt/0"}},
        {L"missing", {L"./90", L"../90"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(qvtest::W(c.folder));
        EXPECT_EQ(c.listed, Listed(front, c.folder));
    }
    // The pattern picks files; the folders stay.
    EXPECT_EQ((std::vector<std::wstring>{L"./90", L"../90", L"a/90"}), Listed(front, L"", L"*.zzz"));

    CArrayFileInfo entries;
    front.ListDirectory(entries, L"", L"*.*", FALSE, nullptr);
    const CFileInfo* a = FindListed(entries, L"a");
    ASSERT_NE(nullptr, a);
    FILETIME own = WriteTimeOf(path);
    EXPECT_EQ(0, CompareFileTime(&own, &a->m_findData.ftLastWriteTime));
    EXPECT_EQ(0, CompareFileTime(&own, &a->m_findData.ftCreationTime));
    EXPECT_EQ(ENTRY_SOURCE_ARCHIVE, a->m_source);
    EXPECT_EQ(&front, a->m_owner);
}

TEST_F(ArchiveFrontTest, AStoredFolderAfterItsMembersIsListedOnceWithItsOwnData)
{
    std::wstring path = Fixture(L"late.zip");
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(path.c_str(), 0)) << qvtest::W(front.m_errors.GetMessageText());
    EXPECT_EQ((std::vector<std::wstring>{L"./90", L"../90", L"top.txt/0", L"a/10"}), Listed(front, L""));
    CArrayFileInfo entries;
    front.ListDirectory(entries, L"", L"*.*", FALSE, nullptr);
    const CFileInfo* a = FindListed(entries, L"a");
    ASSERT_NE(nullptr, a);
    FILETIME own = WriteTimeOf(path);
    EXPECT_NE(0, CompareFileTime(&own, &a->m_findData.ftLastWriteTime));
    EXPECT_GE(a->m_itemIndex, 0);
}

TEST_F(ArchiveFrontTest, EntriesAreReachedOnlyInsideTheListingAndThePathSplits)
{
    std::wstring path = Fixture(L"paths.zip");
    CArchiveFront front;
    CArchiveFileInfo* entry = reinterpret_cast<CArchiveFileInfo*>(1);
    EXPECT_EQ(0, front.GetEntry(&entry, 0));
    EXPECT_EQ(nullptr, entry);
    ASSERT_EQ(1, front.OpenAndList(path.c_str(), 0));
    int count = front.GetEntryCount();
    ASSERT_EQ(4, count);
    for (int index : {-1, count})
    {
        entry = reinterpret_cast<CArchiveFileInfo*>(1);
        EXPECT_EQ(0, front.GetEntry(&entry, index)) << index;
        EXPECT_EQ(nullptr, entry);
    }
    ASSERT_EQ(1, front.GetEntry(&entry, count - 1));
    EXPECT_STREQ(L"top.txt", entry->m_findData.cFileName);

    CString folder, name;
    front.SplitArchivePath(&folder, &name);
    EXPECT_EQ(L"paths.zip", qvtest::W(name));
    EXPECT_EQ(path.substr(0, path.rfind(L'\\')), qvtest::W(folder));
    front.SplitArchivePath(nullptr, &name);
    EXPECT_EQ(L"paths.zip", qvtest::W(name));
    CString library = front.GetLibraryName();
    EXPECT_EQ(-1, library.Find(L'\\'));
}

TEST_F(ArchiveFrontTest, AMemberIsReadIntoMemoryWholeOrByItsHead)
{
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(Fixture(L"paths.zip").c_str(), 0));
    front.UnloadLibraries();
    struct Case
    {
        const wchar_t* folder;
        const wchar_t* name;
        LONGLONG limit;
        std::string bytes;
    };
    const Case cases[] = {
        {L"", L"top.txt", 0, "top\n"}, {L"", L"top.txt", 2, "to"}, {L"a\\b", L"d.txt", 0, "d\n"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(qvtest::W(c.name));
        void* buffer = nullptr;
        LONGLONG size = c.limit;
        ASSERT_EQ(1, front.ExtractToMemory(c.name, c.folder, &buffer, &size, nullptr))
            << qvtest::W(front.m_errors.GetMessageText());
        ASSERT_NE(nullptr, buffer);
        EXPECT_EQ(c.bytes, std::string(static_cast<const char*>(buffer), static_cast<size_t>(size)));
        LocalFreeLocked(buffer);
    }
    // Only the plug-in host has the viewer's form; the others say nothing.
    void* buffer = nullptr;
    LONGLONG size = 0;
    EXPECT_EQ(0, front.ExtractToMemoryViaPlugIn(L"top.txt", L"", &buffer, &size, nullptr));
    EXPECT_EQ(0, front.m_errors.GetSize());
}

TEST_F(ArchiveFrontTest, DeletingInAnArchiveTheArchiverLibraryListedFailsWithNoLibrary)
{
    UseStubs(L"Unlha", L"dir/b.txt|c.txt");
    std::wstring path = Junk(L"x.lzh");
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(path.c_str(), 0)) << qvtest::W(front.m_errors.GetMessageText());
    EXPECT_EQ(ARCFRONT_ARCHIVER, front.m_activeBackEnd);
    EXPECT_EQ((std::vector<std::wstring>{L"./90", L"../90", L"dir/90", L"c.txt/0"}), Listed(front, L""));
    // As a pane does: the library goes after listing and comes back for a member.
    front.UnloadLibraries();
    void* buffer = nullptr;
    LONGLONG size = 0;
    ASSERT_EQ(1, front.ExtractToMemory(L"b.txt", L"dir", &buffer, &size, nullptr))
        << qvtest::W(front.m_errors.GetMessageText());
    EXPECT_EQ("stub data", std::string(static_cast<const char*>(buffer), static_cast<size_t>(size)));
    LocalFreeLocked(buffer);

    CArrayArchiveFileInfo members;
    CArchiveFileInfo* member = nullptr;
    ASSERT_EQ(1, front.GetEntry(&member, 1));
    members.Add(*member);
    EXPECT_EQ(0, front.DeleteEntries(members, FALSE, nullptr));
    ASSERT_EQ(1, front.m_errors.GetSize());
    EXPECT_EQ(static_cast<DWORD>(ARCERR_NO_DLL), front.m_errors[0]);
    EXPECT_EQ(0, front.DeleteEntries(static_cast<CWnd*>(nullptr), nullptr));
    EXPECT_TRUE(front.m_errors.HasCode(ARCERR_NO_DLL));
    EXPECT_EQ(0, front.RenameEntries(nullptr, nullptr));
    EXPECT_TRUE(front.m_errors.HasCode(ARCERR_NO_DLL));
}

TEST_F(ArchiveFrontTest, APaneListsAnArchiveThroughTheFrontAndComesBackToIt)
{
    ASSERT_TRUE(CopyFileW(Fixture(L"paths.zip").c_str(), P(L"paths.zip").c_str(), FALSE));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"broken.zip"), "no archive"));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"z.txt"), "z"));
    CPaneHooksOverride hooks;
    CFilerPane pane(0);
    delete pane.m_archive;
    pane.m_archive = new CArchiveFront;
    pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.m_currentDir = dir.c_str();
    pane.ReadDirectory(TRUE);
    pane.SortEntries();

    // A file no back-end takes: the error is shown and the pane keeps its listing.
    pane.SetCursorToName(L"broken.zip", FALSE, 0);
    INT_PTR before = pane.m_entries.GetSize();
    {
        CDialogAnswerScript script;
        EXPECT_EQ(0, pane.OpenArchiveListing(FALSE));
        ASSERT_EQ(1u, script.GetQuestions().size());
        EXPECT_EQ(L"圧縮ファイルの閲覧失敗", qvtest::W(script.GetQuestions()[0].caption));
        CString shown = pane.m_archive->GetErrors().GetMessageText();
        EXPECT_FALSE(shown.IsEmpty());
        EXPECT_EQ(qvtest::W(shown), qvtest::W(script.GetQuestions()[0].text));
    }
    EXPECT_EQ(before, pane.m_entries.GetSize());
    EXPECT_STREQ(L"broken.zip", pane.GetCursorEntry()->GetName());

    pane.SetCursorToName(L"paths.zip", FALSE, 0);
    ASSERT_EQ(1, pane.OpenArchiveListing(FALSE));
    EXPECT_EQ(1, pane.m_cursor);
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
        names.push_back(pane.m_entries[i].GetName());
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), L"a"));
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), L"top.txt"));
    // The folder "a" stands for its three members.
    pane.SetCursorToName(L"a", FALSE, 0);
    EXPECT_EQ(3, pane.CountArchiveItems(TRUE));

    pane.CloseArchiveListing(TRUE);
    EXPECT_STREQ(L"paths.zip", pane.GetCursorEntry()->GetName());
}

// Deleting runs the 7-Zip job in its modal progress dialog.
TEST_F(ArchiveFrontTest, PackDeletingAFolderTakesEveryMemberBelowItAndKeepsTheArchiveTime)
{
    std::wstring path = P(L"paths.zip");
    ASSERT_TRUE(CopyFileW(Fixture(L"paths.zip").c_str(), path.c_str(), FALSE));
    FILETIME before = WriteTimeOf(path);
    CPaneHooksOverride hooks;
    CFilerPane pane(0);
    delete pane.m_archive;
    CArchiveFront& front = *new CArchiveFront;
    pane.m_archive = &front;
    pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
    pane.m_currentDir = dir.c_str();
    pane.ReadDirectory(TRUE);
    pane.SortEntries();
    pane.SetCursorToName(L"paths.zip", FALSE, 0);
    ASSERT_EQ(1, pane.OpenArchiveListing(FALSE));
    front.SetCurrentFolder(L"a");
    pane.ReloadArchiveListing();

    // A member that the listing no longer holds (the archive was listed again since).
    CArrayArchiveFileInfo missing;
    CArchiveFileInfo gone;
    gone.m_itemIndex = 1;
    gone.m_storedPath = L"a/gone.txt";
    missing.Add(gone);
    EXPECT_EQ(0, front.DeleteEntries(missing, TRUE, nullptr));
    EXPECT_TRUE(front.m_errors.HasCode(4));

    // "a\b" is no member of its own: the folder row goes with its two members.
    pane.SetCursorToName(L"b", FALSE, 0);
    CArrayArchiveFileInfo members;
    CArchiveFileInfo member;
    for (int n = 0; pane.CollectArchiveItems(member, n, TRUE); ++n)
        members.Add(member);
    EXPECT_EQ(2, members.GetSize());
    ASSERT_EQ(1, front.DeleteEntries(members, TRUE, nullptr)) << qvtest::W(front.m_errors.GetMessageText());
    FILETIME after = WriteTimeOf(path);
    EXPECT_EQ(0, CompareFileTime(&before, &after));

    CArchiveFront reread;
    ASSERT_EQ(1, reread.OpenAndList(path.c_str(), 0));
    std::vector<std::wstring> left;
    for (int i = 0; i < reread.GetEntryCount(); ++i)
    {
        CArchiveFileInfo* kept = nullptr;
        ASSERT_EQ(1, reread.GetEntry(&kept, i));
        left.push_back(qvtest::W(kept->m_storedPath));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"a\\e.txt", L"top.txt"}), left);
}

TEST_F(ArchiveFrontTest, JobsWithoutAnArchiveFailWithTheErrorOfTheirKind)
{
    CArchiveFront front;
    struct Case
    {
        const char* what;
        int result;
        DWORD code;
    };
    const Case cases[] = {
        {"Extract", front.Extract(nullptr, nullptr), ARCERR_NO_DLL_OR_PLUGIN},
        {"CreateArchive", front.CreateArchive(nullptr, 0), ARCERR_NO_DLL_OR_PLUGIN},
        {"MakeSelfExtracting", front.MakeSelfExtracting(nullptr, 0), ARCERR_NO_DLL_OR_PLUGIN},
        {"RenameEntries", front.RenameEntries(nullptr, nullptr), ARCERR_NO_DLL},
        {"SelectPackBackEnd", front.SelectPackBackEnd(ARCFRONT_PLUGIN, 0), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(0, c.result) << c.what;
    EXPECT_EQ(ARCFRONT_NONE, front.m_activeBackEnd);
    EXPECT_EQ(0, front.Extract(nullptr, nullptr));
    ASSERT_EQ(1, front.m_errors.GetSize());
    EXPECT_EQ(static_cast<DWORD>(ARCERR_NO_DLL_OR_PLUGIN), front.m_errors[0]);

    struct Name
    {
        const wchar_t* name;
        int supported;
    };
    for (const Name& n : {Name{L"x.7z", 1}, Name{L"x.gca", 1}, Name{L"x.txt", 0}})
        EXPECT_EQ(n.supported, CArchiveFront::IsSupportedName(n.name, ARCFRONT_OPEN_UNPACK))
            << qvtest::W(n.name);
}

TEST_F(ArchiveFrontTest, ChosenMembersAreExtractedBelowTheFolderThePaneShows)
{
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(Fixture(L"paths.zip").c_str(), 0));
    front.UnloadLibraries();
    front.SetCurrentFolder(L"a");
    front.ResetOptions();
    std::wstring destination = P(L"out");
    front.SetOption(5, destination.c_str());
    for (int i = 0; i < front.GetEntryCount(); ++i)
    {
        CArchiveFileInfo* member = nullptr;
        ASSERT_EQ(1, front.GetEntry(&member, i));
        if (member->m_folder.Left(1) == L"a")
            front.SetOption(2, member);
    }
    ASSERT_EQ(1, front.Extract(nullptr, nullptr)) << qvtest::W(front.m_errors.GetMessageText());
    EXPECT_EQ("c\n", qvtest::ReadFileBytes(P(L"out\\b\\c.txt")));
    EXPECT_EQ("e\n", qvtest::ReadFileBytes(P(L"out\\e.txt")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(P(L"out\\top.txt").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(P(L"out\\a").c_str()));
}

TEST_F(ArchiveFrontTest, TheListingShowsEveryMemberUnderTheNameUnpackWritesAndFoldersOnlyWhereMembersLie)
{
    const std::wstring path = P(L"hostile.zip");
    sztest::WriteStoredZip(path, {{"/abs/evil4.txt", "e"},
                                  {"/top.txt", "t"},
                                  {"dir/../x.txt", "x"},
                                  {"./dot/y.txt", "y"},
                                  {"normal.txt", "n"},
                                  {"at 10:30.txt", "c"},
                                  {"../out.txt", "o"}});
    CArchiveFront front;
    ASSERT_EQ(1, front.OpenAndList(path.c_str(), 0)) << qvtest::W(front.m_errors.GetMessageText());
    front.UnloadLibraries();
    // The member that would climb out is shown too, under its stored path.
    EXPECT_EQ((std::vector<std::wstring>{L"./90", L"../90", L"abs/90", L"top.txt/0", L"x.txt/0", L"dot/90",
                                         L"normal.txt/0", L"at 10_30.txt/0", L"..\\out.txt/0"}),
              Listed(front, L""));
    EXPECT_EQ((std::vector<std::wstring>{L"./90", L"../90", L"evil4.txt/0"}), Listed(front, L"abs"));
    EXPECT_EQ((std::vector<std::wstring>{L"./90", L"../90", L"y.txt/0"}), Listed(front, L"dot"));

    // Unpacking writes exactly the members listed, under the listed names, and
    // refuses the one that climbs out.
    CreateDirectoryW(P(L"out").c_str(), nullptr);
    front.ResetOptions();
    front.SetOption(5, P(L"out").c_str());
    EXPECT_EQ(0, front.Extract(nullptr, nullptr));
    const std::pair<const wchar_t*, const char*> written[] = {
        {L"abs\\evil4.txt", "e"}, {L"top.txt", "t"},    {L"x.txt", "x"},
        {L"dot\\y.txt", "y"},     {L"normal.txt", "n"}, {L"at 10_30.txt", "c"},
    };
    for (const auto& file : written)
        EXPECT_EQ(file.second, qvtest::ReadFileBytes(P(L"out\\") + file.first)) << qvtest::W(file.first);
    EXPECT_EQ((std::set<std::wstring>{L"abs", L"dot", L"normal.txt", L"top.txt", L"x.txt", L"at 10_30.txt"}),
              qvtest::ListFolder(P(L"out")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(P(L"out.txt").c_str()));
}

// Creating runs the 7-Zip job in its modal progress dialog.
TEST_F(ArchiveFrontTest, PackCreatingGoesToThePackingBackEndChosenBefore)
{
    ASSERT_TRUE(CreateDirectoryW(P(L"src").c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"src\\f.txt"), "packed"));
    std::wstring archive = P(L"new.7z");
    CArchiveFront front;
    ASSERT_EQ(1, front.SelectPackBackEnd(ARCFRONT_SEVENZIP, 0));
    EXPECT_EQ(ARCFRONT_SEVENZIP, front.m_activeBackEnd);
    front.ResetOptions();
    front.SetOption(0, P(L"src").c_str());
    front.SetOption(1, archive.c_str());
    front.SetOption(13, L"f.txt");
    ASSERT_EQ(1, front.CreateArchive(nullptr, 0)) << qvtest::W(front.m_errors.GetMessageText());

    CArchiveFront reader;
    ASSERT_EQ(1, reader.OpenAndList(archive.c_str(), 0));
    void* buffer = nullptr;
    LONGLONG size = 0;
    ASSERT_EQ(1, reader.ExtractToMemory(L"f.txt", L"", &buffer, &size, nullptr));
    EXPECT_EQ("packed", std::string(static_cast<const char*>(buffer), static_cast<size_t>(size)));
    LocalFreeLocked(buffer);
}
