#include "archivefront/sevenzip/SevenZipArchive.h"

#include "app/records/LocalMemory.h"
#include "util/Globals.h"
#include "tests/archivefront/SevenZipTestSupport.h"
#include <algorithm>
#include <set>
#include <gtest/gtest.h>

namespace
{

using sztest::Entry;
using sztest::Exists;
using sztest::ReadFile;
using sztest::StoredPaths;
using sztest::WriteFile;

class SevenZipArchiveTest : public qvtest::ScratchFolderTest
{
protected:
    std::wstring Copy(const std::wstring& fixture, const wchar_t* name)
    {
        std::wstring target = P(name);
        CopyFileW(fixture.c_str(), target.c_str(), FALSE);
        return target;
    }
    static std::vector<std::wstring> Sorted(std::vector<std::wstring> v)
    {
        std::sort(v.begin(), v.end());
        return v;
    }
};

TEST_F(SevenZipArchiveTest, OpenRefusesWhatItCannotReadAndListsWhatItCan)
{
    CSevenZipArchive backEnd;
    EXPECT_EQ(-1, backEnd.Open(sztest::Fixture(L"tree.7z").c_str(), 2));
    EXPECT_EQ(0, backEnd.m_errors.GetSize());
    EXPECT_EQ(-1, backEnd.Open(P(L"missing.7z").c_str(), SEVENZIP_OPEN_READ));
    EXPECT_TRUE(backEnd.m_errors.HasCode(3));
    WriteFile(P(L"notes.txt"), "text");
    EXPECT_EQ(-1, backEnd.Open(P(L"notes.txt").c_str(), SEVENZIP_OPEN_READ));
    EXPECT_TRUE(backEnd.m_errors.HasCode(1));

    ASSERT_TRUE(sztest::OpenAndList(backEnd, sztest::Fixture(L"tree.7z")));
    EXPECT_EQ(
        Sorted({L"big.txt", L"dir", L"dir\\sub", L"dir\\sub\\a.txt", L"dir2", L"dir2\\a.txt", L"top.txt"}),
        Sorted(StoredPaths(backEnd)));
    CArchiveFileInfo* a = Entry(backEnd, L"dir\\sub\\a.txt");
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(L"dir\\sub", qvtest::W(a->m_folder));
    EXPECT_EQ(L"a.txt", std::wstring(a->m_findData.cFileName));
    EXPECT_EQ(4u, a->m_findData.nFileSizeLow);
    EXPECT_EQ(0, backEnd.m_unknownSizeFlags);
    CArchiveFileInfo* dir = Entry(backEnd, L"dir");
    ASSERT_NE(nullptr, dir);
    EXPECT_NE(0u, dir->m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CString library;
    backEnd.GetLibraryName(library);
    EXPECT_EQ(L"7z.dll", qvtest::W(library));
    backEnd.Close();
    EXPECT_EQ(0, backEnd.HasListing());
    backEnd.GetLibraryName(library);
    EXPECT_TRUE(library.IsEmpty());
    EXPECT_EQ(0, g_SevenZipCodecsUseCount);
}

TEST_F(SevenZipArchiveTest, ItemsWithoutPathOrSizeAreNamedAfterTheArchiveAndMarked)
{
    CSevenZipArchive backEnd;
    ASSERT_TRUE(sztest::OpenAndList(backEnd, sztest::ClientFixture(L"backup.tgz")));
    EXPECT_EQ(std::vector<std::wstring>{L"backup.tar"}, StoredPaths(backEnd));
    ASSERT_TRUE(sztest::OpenAndList(backEnd, sztest::Fixture(L"plain.txt.bz2")));
    EXPECT_EQ(std::vector<std::wstring>{L"plain.txt"}, StoredPaths(backEnd));
    EXPECT_EQ(1, backEnd.m_unknownSizeFlags & 1);
    void* buffer = nullptr;
    LONGLONG size = 0;
    ASSERT_EQ(1, backEnd.ExtractToMemory(nullptr, L"", L"plain.txt", &buffer, &size, nullptr));
    EXPECT_EQ("stream\n", std::string(static_cast<const char*>(buffer), static_cast<size_t>(size)));
    LocalFreeLocked(buffer);
}

TEST_F(SevenZipArchiveTest, JapaneseMemberNamesComeBackIntact)
{
    const std::wstring name = L"日本語.txt";
    for (const std::wstring& path : {sztest::ClientFixture(L"jp-utf8.zip"),
                                     sztest::ClientFixture(L"jp-sjis.zip"), sztest::Fixture(L"jp.7z")})
    {
        CSevenZipArchive backEnd;
        ASSERT_TRUE(sztest::OpenAndList(backEnd, path)) << path;
        EXPECT_EQ(std::vector<std::wstring>{name}, StoredPaths(backEnd)) << path;
        backEnd.SetOption(5, P(L"out").c_str());
        backEnd.SetOption(1, path.c_str());
        EXPECT_EQ(1, backEnd.Extract(nullptr, nullptr)) << path;
        EXPECT_EQ("nihongo\n", ReadFile(P(L"out\\") + name)) << path;
        DeleteFileW((P(L"out\\") + name).c_str());
    }
}

TEST_F(SevenZipArchiveTest, ChosenMembersInPaneOrderAreExtractedEachOnce)
{
    CSevenZipArchive backEnd;
    const std::wstring arc = sztest::Fixture(L"tree.7z");
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    backEnd.SetOption(5, P(L"out").c_str());
    // Pane order, not item order, with one entry twice.
    for (const wchar_t* path : {L"top.txt", L"dir2\\a.txt", L"top.txt", L"dir\\sub\\a.txt"})
        backEnd.SetOption(2, reinterpret_cast<LPCWSTR>(Entry(backEnd, path)));
    CProgressInfo progress;
    ASSERT_EQ(1, backEnd.Extract(nullptr, &progress));
    EXPECT_EQ(3, backEnd.m_chosenIndexes.GetSize());
    EXPECT_TRUE(std::is_sorted(backEnd.m_chosenIndexes.GetData(),
                               backEnd.m_chosenIndexes.GetData() + backEnd.m_chosenIndexes.GetSize()));
    EXPECT_EQ("top\n", ReadFile(P(L"out\\top.txt")));
    EXPECT_EQ("two\n", ReadFile(P(L"out\\dir2\\a.txt")));
    EXPECT_EQ("one\n", ReadFile(P(L"out\\dir\\sub\\a.txt")));
    EXPECT_FALSE(Exists(P(L"out\\big.txt")));
    // A second job on the same choice neither grows the list nor fails.
    backEnd.SetOption(17, nullptr);
    ASSERT_EQ(1, backEnd.Extract(nullptr, nullptr));
    EXPECT_EQ(3, backEnd.m_chosenIndexes.GetSize());
    backEnd.ResetOptions();
    EXPECT_EQ(0, backEnd.m_chosenIndexes.GetSize());
    // A new listing drops the choice that pointed into the old one.
    backEnd.SetOption(2, reinterpret_cast<LPCWSTR>(Entry(backEnd, L"top.txt")));
    ASSERT_EQ(1, backEnd.ListEntries(arc.c_str()));
    EXPECT_EQ(0, backEnd.m_chosenEntries.GetSize());
}

TEST_F(SevenZipArchiveTest, AllMembersWithABasePathOrFlat)
{
    const std::wstring arc = sztest::Fixture(L"tree.7z");
    {
        CSevenZipArchive backEnd;
        ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
        backEnd.m_frontPath = L"dir";
        backEnd.SetOption(5, P(L"based").c_str());
        CProgressInfo progress;
        ASSERT_EQ(1, backEnd.Extract(nullptr, &progress));
        EXPECT_EQ("one\n", ReadFile(P(L"based\\sub\\a.txt")));
        EXPECT_EQ("two\n", ReadFile(P(L"based\\dir2\\a.txt")));
        EXPECT_EQ("top\n", ReadFile(P(L"based\\top.txt")));
        EXPECT_FALSE(Exists(P(L"based\\dir\\sub")));
    }
    {
        CSevenZipArchive backEnd;
        ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
        backEnd.SetOption(5, P(L"flat").c_str());
        backEnd.SetOption(6, nullptr);
        for (const wchar_t* path : {L"dir\\sub\\a.txt", L"top.txt", L"dir"})
            backEnd.SetOption(2, reinterpret_cast<LPCWSTR>(Entry(backEnd, path)));
        ASSERT_EQ(1, backEnd.Extract(nullptr, nullptr));
        EXPECT_EQ((std::set<std::wstring>{L"a.txt", L"top.txt"}), qvtest::ListFolder(P(L"flat")));
        EXPECT_EQ("one\n", ReadFile(P(L"flat\\a.txt")));
    }
}

TEST_F(SevenZipArchiveTest, MemoryExtractionHonoursTheCallersLimit)
{
    CSevenZipArchive backEnd;
    const std::wstring arc = sztest::Fixture(L"tree.7z");
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    struct Case
    {
        LONGLONG limit;
        LONGLONG expected;
    } cases[] = {{100, 100}, {0, 9000}, {20000, 9000}, {9000, 9000}};
    for (const Case& c : cases)
    {
        void* buffer = nullptr;
        LONGLONG size = c.limit;
        ASSERT_EQ(1, backEnd.ExtractToMemory(nullptr, L"", L"big.txt", &buffer, &size, nullptr)) << c.limit;
        ASSERT_NE(nullptr, buffer);
        EXPECT_EQ(c.expected, size);
        EXPECT_EQ(std::string(static_cast<size_t>(c.expected), 'x'),
                  std::string(static_cast<const char*>(buffer), static_cast<size_t>(size)));
        LocalFreeLocked(buffer);
    }
    void* buffer = nullptr;
    LONGLONG size = 0;
    EXPECT_EQ(0, backEnd.ExtractToMemory(nullptr, L"dir", L"nothing.txt", &buffer, &size, nullptr));
    EXPECT_TRUE(backEnd.m_errors.HasCode(4));
    ASSERT_EQ(1, backEnd.ExtractToMemory(arc.c_str(), L"dir\\sub", L"a.txt", &buffer, &size, nullptr));
    EXPECT_EQ("one\n", std::string(static_cast<const char*>(buffer), static_cast<size_t>(size)));
    LocalFreeLocked(buffer);
}

TEST_F(SevenZipArchiveTest, CreateAddDeleteAndRenameThroughTheJobs)
{
    CreateDirectoryW(P(L"src").c_str(), nullptr);
    CreateDirectoryW(P(L"src\\d").c_str(), nullptr);
    WriteFile(P(L"src\\one.txt"), "1");
    WriteFile(P(L"src\\d\\two.txt"), "22");
    WriteFile(P(L"src\\three.txt"), "333");
    const std::wstring arc = P(L"made.7z");

    // The current directory is elsewhere: the names are taken below the base folder.
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    SetCurrentDirectoryW(qvtest::ProgramDir().c_str());
    CSevenZipArchive maker;
    maker.SetOption(0, P(L"src").c_str());
    maker.SetOption(1, arc.c_str());
    maker.SetOption(13, L"one.txt");
    maker.SetOption(13, L"d");
    CProgressInfo progress;
    EXPECT_EQ(1, maker.RunCreate(nullptr, &progress));
    SetCurrentDirectoryW(cwd);

    CSevenZipArchive backEnd;
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    EXPECT_EQ(Sorted({L"d", L"d\\two.txt", L"one.txt"}), Sorted(StoredPaths(backEnd)));

    // Add.
    maker.ResetOptions();
    maker.SetOption(0, P(L"src").c_str());
    maker.SetOption(1, arc.c_str());
    maker.SetOption(13, L"three.txt");
    EXPECT_EQ(1, maker.RunCreate(nullptr, nullptr));
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    EXPECT_EQ(Sorted({L"d", L"d\\two.txt", L"one.txt", L"three.txt"}), Sorted(StoredPaths(backEnd)));

    // Rename, keeping the archive's times.
    FILETIME old = {};
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExW(arc.c_str(), GetFileExInfoStandard, &data);
        old = data.ftLastWriteTime;
    }
    CArrayRenameFileName renames;
    CRenameFileName pair(L"one.txt");
    pair.newName = L"uno.txt";
    pair.hasNewName = 1;
    renames.Add(pair);
    CRenameFileName unchanged(L"three.txt");
    renames.Add(unchanged);
    backEnd.SetRenameList(renames);
    backEnd.SetOption(1, arc.c_str());
    backEnd.SetOption(16, nullptr);
    EXPECT_EQ(1, backEnd.RunRename(nullptr, nullptr));
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    EXPECT_EQ(Sorted({L"d", L"d\\two.txt", L"three.txt", L"uno.txt"}), Sorted(StoredPaths(backEnd)));
    {
        WIN32_FILE_ATTRIBUTE_DATA data;
        GetFileAttributesExW(arc.c_str(), GetFileExInfoStandard, &data);
        EXPECT_EQ(0, CompareFileTime(&old, &data.ftLastWriteTime));
    }

    // Delete.
    backEnd.ResetOptions();
    backEnd.SetOption(1, arc.c_str());
    backEnd.SetOption(2, reinterpret_cast<LPCWSTR>(Entry(backEnd, L"three.txt")));
    EXPECT_EQ(1, backEnd.RunDelete(nullptr, nullptr));
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    EXPECT_EQ(Sorted({L"d", L"d\\two.txt", L"uno.txt"}), Sorted(StoredPaths(backEnd)));

    // A rename without any new name leaves the archive alone.
    backEnd.SetRenameList(CArrayRenameFileName());
    EXPECT_EQ(1, backEnd.RunRename(nullptr, nullptr));
}

TEST_F(SevenZipArchiveTest, DeletingAMemberNamedWithAWildcardDeletesOnlyItself)
{
    const std::wstring arc = Copy(sztest::Fixture(L"star.tar"), L"star.tar");
    CSevenZipArchive backEnd;
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    ASSERT_EQ(Sorted({L"a*", L"a?", L"ab"}), Sorted(StoredPaths(backEnd)));
    backEnd.SetOption(1, arc.c_str());
    backEnd.SetOption(2, reinterpret_cast<LPCWSTR>(Entry(backEnd, L"a*")));
    ASSERT_EQ(1, backEnd.RunDelete(nullptr, nullptr));
    ASSERT_TRUE(sztest::OpenAndList(backEnd, arc));
    EXPECT_EQ(Sorted({L"a?", L"ab"}), Sorted(StoredPaths(backEnd)));
}

// The user presses Cancel once the scan of a large tree shows; the job ends as cancelled,
// no item is ever begun and no archive is left.
TEST_F(SevenZipArchiveTest, CancelWhileAPackScansEndsTheJob)
{
    struct CWatch
    {
        HANDLE scanning = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        volatile LONG otherTexts = 0;
        static void OnProgress(UINT events, CProgressInfo* info)
        {
            CWatch* watch = static_cast<CWatch*>(info->userData);
            if ((events & PROGRESS_MAIN_TEXT) == 0)
                return;
            if (info->GetMainText() == L"*****スキャン中*****")
                SetEvent(watch->scanning);
            else
                InterlockedIncrement(&watch->otherTexts);
        }
    } watch;
    struct CJob
    {
        CSevenZipArchive maker;
        CProgressInfo progress;
        int result = -1;
        static DWORD WINAPI Run(LPVOID parameter)
        {
            CJob* job = static_cast<CJob*>(parameter);
            job->result = job->maker.RunCreate(nullptr, &job->progress);
            return 0;
        }
    } job;
    job.maker.SetOption(0, (qvtest::ProgramDir() + L"\\frontfixtures").c_str());
    job.maker.SetOption(1, P(L"many.7z").c_str());
    job.maker.SetOption(13, L"many");
    job.progress.userData = &watch;
    job.progress.progressCallback = &CWatch::OnProgress;

    HANDLE thread = CreateThread(nullptr, 0, &CJob::Run, &job, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watch.scanning, 30000));
    InterlockedExchange(&job.progress.cancelFlag, 1);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 30000));
    CloseHandle(thread);
    CloseHandle(watch.scanning);

    EXPECT_EQ(0, job.result);
    EXPECT_TRUE(job.maker.m_errors.HasCode(21));
    EXPECT_EQ(0, watch.otherTexts);
    EXPECT_FALSE(Exists(P(L"many.7z")));
}

// Files another program holds open without read sharing cannot be packed. The job packs
// the rest, then fails with code 33: the message gives the count and the first names
// (relative to the folder packed from), the log every name.
TEST_F(SevenZipArchiveTest, APackThatCannotReadSomeFilesPacksTheRestAndFailsNamingThem)
{
    struct Case
    {
        const wchar_t* archive;
        const wchar_t* lockedFolder; // where the held files lie below the source, "" for its top
        int locked;
    } const cases[] = {{L"one.7z", L"", 1}, {L"many.zip", L"d\\", 12}};
    const CString savedProgramDir = g_ProgramDir;
    g_ProgramDir = dir.c_str();
    const std::wstring logPath = dir + L"\\qv.log";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.archive);
        DeleteFileW(logPath.c_str());
        const std::wstring src = P(L"src_") + c.archive;
        CreateDirectoryW(src.c_str(), nullptr);
        CreateDirectoryW((src + L"\\d").c_str(), nullptr);
        WriteFile(src + L"\\keep.txt", "kept");
        WriteFile(src + L"\\d\\two.txt", "22");
        std::vector<std::wstring> lockedNames;
        std::vector<HANDLE> held;
        for (int i = 0; i < c.locked; ++i)
        {
            wchar_t name[32];
            swprintf(name, 32, L"locked%02d.txt", i);
            lockedNames.push_back(std::wstring(c.lockedFolder) + name);
            const std::wstring path = src + L"\\" + lockedNames.back();
            WriteFile(path, "secret");
            held.push_back(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_NE(INVALID_HANDLE_VALUE, held.back());
        }
        const std::wstring arc = P(c.archive);
        CSevenZipArchive maker;
        maker.SetOption(0, src.c_str());
        maker.SetOption(1, arc.c_str());
        maker.SetOption(13, L"keep.txt");
        maker.SetOption(13, L"d");
        if (c.lockedFolder[0] == 0)
            for (const std::wstring& name : lockedNames)
                maker.SetOption(13, name.c_str());
        CProgressInfo progress;
        EXPECT_EQ(0, maker.RunCreate(nullptr, &progress));
        for (HANDLE handle : held)
            CloseHandle(handle);

        ASSERT_TRUE(maker.m_errors.HasCode(33));
        const std::wstring text = qvtest::W(maker.m_errors.GetMessageText());
        EXPECT_EQ(0u, text.find(L"圧縮失敗(失敗ファイルあり)(Error=0x20)\n圧縮できなかったファイル: " +
                                std::to_wstring(c.locked) + L"件\n"))
            << text;
        int shown = 0;
        for (const std::wstring& name : lockedNames)
            shown += text.find(L"\n" + name) != std::wstring::npos ? 1 : 0;
        EXPECT_EQ(std::min(c.locked, 10), shown) << text;
        EXPECT_EQ(c.locked > 10, text.find(L"ほか2件") != std::wstring::npos) << text;
        const std::string bytes = ReadFile(logPath);
        const std::wstring log(reinterpret_cast<const wchar_t*>(bytes.data()),
                               bytes.size() / sizeof(wchar_t));
        for (const std::wstring& name : lockedNames)
            EXPECT_NE(std::wstring::npos, log.find(L"\\" + name)) << name;

        CSevenZipArchive reader;
        ASSERT_TRUE(sztest::OpenAndList(reader, arc));
        EXPECT_EQ(Sorted({L"d", L"d\\two.txt", L"keep.txt"}), Sorted(StoredPaths(reader)));
    }

    // A chosen file that is gone by the time the scan looks for it is left out the same way.
    const std::wstring src = P(L"src_one.7z");
    CSevenZipArchive maker;
    maker.SetOption(0, src.c_str());
    maker.SetOption(1, P(L"gone.7z").c_str());
    maker.SetOption(13, L"keep.txt");
    maker.SetOption(13, L"gone.txt");
    EXPECT_EQ(0, maker.RunCreate(nullptr, nullptr));
    EXPECT_EQ(L"圧縮失敗(失敗ファイルあり)(Error=0x2)\n圧縮できなかったファイル: 1件\ngone.txt",
              qvtest::W(maker.m_errors.GetMessageText()));
    CSevenZipArchive reader;
    ASSERT_TRUE(sztest::OpenAndList(reader, P(L"gone.7z")));
    EXPECT_EQ(std::vector<std::wstring>{L"keep.txt"}, StoredPaths(reader));
    g_ProgramDir = savedProgramDir;
}

TEST_F(SevenZipArchiveTest, PackingFailuresAreCodes)
{
    CSevenZipArchive maker;
    maker.SetOption(0, P(L"no-such-folder").c_str());
    maker.SetOption(1, P(L"x.7z").c_str());
    maker.SetOption(13, L"a.txt");
    EXPECT_EQ(0, maker.RunCreate(nullptr, nullptr));
    EXPECT_TRUE(maker.m_errors.HasCode(39));
    EXPECT_FALSE(Exists(P(L"x.7z")));
    // A cancelled job leaves no archive behind.
    WriteFile(P(L"a.txt"), std::string(100000, 'a'));
    maker.ResetOptions();
    maker.SetOption(0, dir.c_str());
    maker.SetOption(1, P(L"y.7z").c_str());
    maker.SetOption(13, L"a.txt");
    CProgressInfo progress;
    progress.cancelFlag = 1;
    EXPECT_EQ(0, maker.RunCreate(nullptr, &progress));
    EXPECT_TRUE(maker.m_errors.HasCode(21));
    EXPECT_FALSE(Exists(P(L"y.7z")));
}

} // namespace
