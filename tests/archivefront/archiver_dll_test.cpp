// The common-archiver back-end against the stand-in libraries in archiver-stub/,
// which record every call they receive: which rows are asked and in what order, the
// command lines handed to the libraries, and what comes back.
#include <gtest/gtest.h>
#include "archivefront/archiver/ArchiverDll.h"
#include "util/Formatting.h"
#include "util/Globals.h"
#include "util/PathHelpers.h"
#include "app/records/LocalMemory.h"
#include "tests/archivefront/unpack_test_support.h"
#include "tests/common/TestHelpers.h"

#include <string>
#include <vector>

namespace
{
struct Call
{
    std::string library;
    std::string exportName;
    std::string argument;
};

using unpacktest::Narrow;

std::wstring TempFolder()
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring folder(temp);
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

class ArchiverDllTest : public unpacktest::StubFolderTest
{
protected:
    void SetUp() override
    {
        StubFolderTest::SetUp();
        m_log = P(L"calls.log");
        SetEnvironmentVariableW(L"QV_ARCSTUB_LOG", m_log.c_str());
        SetDllDirectoryW((qvtest::ProgramDir() + L"\\archiver-stub").c_str());
    }

    static void Set(const wchar_t* name, const wchar_t* value) { SetEnvironmentVariableW(name, value); }

    std::vector<Call> Calls() const
    {
        std::vector<Call> calls;
        std::string text = qvtest::ReadFileBytes(m_log);
        size_t start = 0;
        for (size_t end = text.find('\n'); end != std::string::npos;
             start = end + 1, end = text.find('\n', start))
        {
            std::string line = text.substr(start, end - start);
            size_t tab1 = line.find('\t');
            size_t tab2 = line.find('\t', tab1 + 1);
            calls.push_back(
                {line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
        }
        return calls;
    }
    // "library export" of every call whose export ends with the suffix.
    std::vector<std::string> CallsTo(const std::string& suffix) const
    {
        std::vector<std::string> found;
        for (const Call& call : Calls())
            if (call.exportName.size() >= suffix.size() &&
                call.exportName.compare(call.exportName.size() - suffix.size(), suffix.size(), suffix) == 0)
                found.push_back(call.library + " " + call.exportName);
        return found;
    }
    // The command line the export received last; empty when it was not called.
    std::string CommandLine(const std::string& exportName) const
    {
        std::string line;
        for (const Call& call : Calls())
            if (call.exportName == exportName)
                line = call.argument;
        return line;
    }
    int Loads() const { return static_cast<int>(CallsTo("load").size()); }
};

TEST_F(ArchiverDllTest, RowsAreAskedInTableOrderUntilOneTakesTheArchive)
{
    struct Case
    {
        const wchar_t* name;
        int flags;
        const wchar_t* accept;
        int row;
        std::vector<std::string> asked;
    };
    const std::vector<std::string> allRows = {
        "Unbypass.dll UnlhaCheckArchive", "Unbypass.dll UnZipCheckArchive",  "Unbypass.dll CabCheckArchive",
        "Unrar64j.dll UnrarCheckArchive", "Unbypass.dll UnarjCheckArchive",  "Tar64.dll TarCheckArchive",
        "Unbypass.dll UnGCACheckArchive", "7-zip64.dll SevenZipCheckArchive"};
    const Case cases[] = {
        // The ZIP library refuses: the 7Z row lists ZIP too.
        {L"x.zip",
         ARCOPEN_UNPACK,
         L"SevenZip",
         ARCHIVER_ROW_7Z,
         {"Unbypass.dll UnZipCheckArchive", "7-zip64.dll SevenZipCheckArchive"}},
        {L"x.zip", ARCOPEN_UNPACK, L"UnZip", ARCHIVER_ROW_ZIP, {"Unbypass.dll UnZipCheckArchive"}},
        // Every row lists EXE: a self-extracting file is offered to each in turn.
        {L"x.exe", ARCOPEN_UNPACK, L"", -1, allRows},
        {L"x.exe", ARCOPEN_UNPACK, L"Unarj", ARCHIVER_ROW_ARJ,
         std::vector<std::string>(allRows.begin(), allRows.begin() + 5)},
        // Only the ZIP row reads a member straight into memory.
        {L"x.exe", ARCOPEN_MEMBER_TO_MEMORY, L"", -1, {"Unbypass.dll UnZipCheckArchive"}},
        {L"x.rar", ARCOPEN_MEMBER_VIA_TEMP, L"Unrar", ARCHIVER_ROW_RAR, {"Unrar64j.dll UnrarCheckArchive"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Narrow(c.name) + " " + Narrow(c.accept));
        DeleteFileW(m_log.c_str());
        Set(L"QV_ARCSTUB_ACCEPT", c.accept);
        CArchiverDll archiver;
        EXPECT_EQ(c.row, archiver.Open(FakeArchive(c.name).c_str(), c.flags, 0));
        EXPECT_EQ(c.asked, CallsTo("CheckArchive"));
        if (c.row < 0)
        {
            EXPECT_TRUE(archiver.m_errors.HasCode(ARCERR_NO_DLL));
            // Every library that refused was let go again.
            EXPECT_EQ(CallsTo("load").size(), CallsTo("free").size());
        }
        else
            EXPECT_EQ(c.row, archiver.m_row);
    }
}

TEST_F(ArchiverDllTest, CheckArchiveReceivesThePathAndTheRowsCheckMode)
{
    Set(L"QV_ARCSTUB_ACCEPT", L"UnGCA");
    std::wstring path = FakeArchive(L"x.gca");
    CArchiverDll archiver;
    ASSERT_EQ(ARCHIVER_ROW_GCA, archiver.Open(path.c_str(), ARCOPEN_UNPACK, 0));
    EXPECT_EQ(Narrow(path) + "|24", CommandLine("UnGCACheckArchive"));
    EXPECT_EQ(L"Unbypass.dll", qvtest::W(archiver.GetLibraryName()));
    archiver.UnloadLibrary();
    EXPECT_EQ(L"", qvtest::W(archiver.GetLibraryName()));
}

TEST_F(ArchiverDllTest, AnAnsiPathOf260BytesFailsBeforeAnyLibraryLoads)
{
    // Double-byte characters: the limit counts the bytes of the ANSI form.
    std::wstring base = dir + L"\\";
    while (Narrow(base).size() < 240)
        base += L'\x3042';
    while (Narrow(base).size() < 256)
        base += L'a';
    struct Case
    {
        std::wstring path;
        DWORD code;
    };
    const Case cases[] = {{base + L".zip", 2}, {base.substr(0, base.size() - 1) + L".zip", 3}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Narrow(c.path).size());
        DeleteFileW(m_log.c_str());
        Set(L"QV_ARCSTUB_ACCEPT", L"*");
        CArchiverDll archiver;
        EXPECT_EQ(-1, archiver.Open(c.path.c_str(), ARCOPEN_UNPACK, 0));
        ASSERT_GT(archiver.m_errors.GetSize(), 0);
        EXPECT_EQ(c.code, archiver.m_errors[0]);
        EXPECT_EQ(0, Loads());
    }
}

TEST_F(ArchiverDllTest, MissingLibrariesReportNoLibrary)
{
    SetDllDirectoryW(nullptr);
    g_UnbypassDllPath = (dir + L"\\nowhere").c_str();
    CArchiverDll archiver;
    EXPECT_EQ(-1, archiver.Open(FakeArchive(L"x.zip").c_str(), ARCOPEN_UNPACK, 0));
    EXPECT_TRUE(archiver.m_errors.HasCode(ARCERR_NO_DLL));
    EXPECT_EQ(0, archiver.ListEntries(P(L"x.zip").c_str()));
    EXPECT_EQ(0, archiver.LoadForPacking(ARCHIVER_ROW_ZIP));
    EXPECT_TRUE(archiver.m_errors.HasCode(ARCERR_NO_DLL));
}

TEST_F(ArchiverDllTest, ListingTakesEveryMemberTheLibraryEnumerates)
{
    Set(L"QV_ARCSTUB_ACCEPT", L"Tar");
    Set(L"QV_ARCSTUB_MEMBERS", L"top.txt|dir/sub/|dir/sub/deep.txt");
    CArchiverDll archiver;
    std::wstring path = FakeArchive(L"x.tgz");
    ASSERT_EQ(1, archiver.ListEntries(path.c_str()));
    ASSERT_EQ(3, archiver.m_listing.GetSize());
    EXPECT_EQ(L"deep.txt", std::wstring(archiver.m_listing[2].m_findData.cFileName));
    EXPECT_EQ(L"dir\\sub", qvtest::W(archiver.m_listing[2].m_folder));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY,
              archiver.m_listing[1].m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ("*.*", CommandLine("TarFindFirst"));
    EXPECT_EQ(Narrow(path) + "|4098", CommandLine("TarOpenArchive"));
    EXPECT_EQ(1u, CallsTo("CloseArchive").size());
}

TEST_F(ArchiverDllTest, ZipMemberIsReadIntoMemoryWithItsNameEscaped)
{
    struct Case
    {
        const wchar_t* folder;
        const wchar_t* name;
        const char* argument;
    };
    const Case cases[] = {{L"", L"a@b", "a[@]b"}, {L"d!r", L"c-d.txt", "d\\!r/c\\-d.txt"}};
    Set(L"QV_ARCSTUB_ACCEPT", L"UnZip");
    Set(L"QV_ARCSTUB_MEMBERS", L"a@b|d!r/c-d.txt");
    Set(L"QV_ARCSTUB_CONTENT", L"hello");
    std::wstring path = FakeArchive(L"x.zip");
    CString quoted(path.c_str());
    QuoteIfContainsBlank(quoted);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.argument);
        CArchiverDll archiver;
        void* buffer = nullptr;
        DWORD size = 0;
        ASSERT_EQ(1, archiver.ExtractToMemory(path.c_str(), c.folder, c.name, &buffer, &size));
        EXPECT_EQ(5u, size);
        EXPECT_EQ("hello", std::string(static_cast<char*>(buffer), size));
        LocalFreeLocked(buffer);
        EXPECT_EQ("-p " + Narrow(quoted.GetString()) + " " + c.argument, CommandLine("UnZip"));
    }
}

TEST_F(ArchiverDllTest, MemberThroughTheTemporaryFolderLeavesOtherFilesAlone)
{
    // A file of someone else's where the member would land in the temporary folder
    // itself: it must survive the extraction.
    std::wstring temp = TempFolder();
    CreateDirectoryW((temp + L"\\sub").c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(temp + L"\\sub\\m.txt", "keep me"));
    Set(L"QV_ARCSTUB_ACCEPT", L"Unlha");
    Set(L"QV_ARCSTUB_MEMBERS", L"sub/m.txt");
    Set(L"QV_ARCSTUB_CONTENT", L"lzh data");
    std::wstring path = FakeArchive(L"x.lzh");
    auto jobFolders = [&]() {
        int count = 0;
        for (const std::wstring& name : qvtest::ListFolder(temp))
            count += name.compare(0, 5, L"qvarc") == 0;
        return count;
    };
    int before = jobFolders();

    CArchiverDll archiver;
    void* buffer = nullptr;
    DWORD size = 0;
    ASSERT_EQ(1, archiver.ExtractToMemory(path.c_str(), L"sub", L"m.txt", &buffer, &size));
    EXPECT_EQ("lzh data", std::string(static_cast<char*>(buffer), size));
    LocalFreeLocked(buffer);
    std::string line = CommandLine("Unlha");
    EXPECT_EQ(0u, line.find("e -d1 -m1 -p1 -n1 ")) << line;
    EXPECT_EQ("keep me", qvtest::ReadFileBytes(temp + L"\\sub\\m.txt"));
    EXPECT_EQ(before, jobFolders());
    DeleteFileW((temp + L"\\sub\\m.txt").c_str());
    RemoveDirectoryW((temp + L"\\sub").c_str());
}

TEST_F(ArchiverDllTest, MembersThatClimbOutOfTheTemporaryFolderAreNotExtracted)
{
    struct Case
    {
        const wchar_t* member;
        const wchar_t* folder;
    };
    const Case cases[] = {{L"../evil.txt", L".."}, {L"a/../../evil.txt", L"a\\..\\.."}};
    std::wstring victim = TempFolder() + L"\\evil.txt";
    ASSERT_TRUE(qvtest::WriteFileBytes(victim, "victim"));
    Set(L"QV_ARCSTUB_ACCEPT", L"Unlha");
    std::wstring path = FakeArchive(L"x.lzh");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Narrow(c.member));
        DeleteFileW(m_log.c_str());
        Set(L"QV_ARCSTUB_MEMBERS", c.member);
        CArchiverDll archiver;
        void* buffer = nullptr;
        DWORD size = 0;
        EXPECT_EQ(0, archiver.ExtractToMemory(path.c_str(), c.folder, L"evil.txt", &buffer, &size));
        EXPECT_EQ(nullptr, buffer);
        // Both ways failed: reading straight into memory is the ZIP row's alone, and
        // the member was refused before the library saw it.
        ASSERT_EQ(2, archiver.m_errors.GetSize());
        EXPECT_EQ(ARCERR_NO_DLL, archiver.m_errors[0]);
        EXPECT_EQ(7u, archiver.m_errors[1]);
        EXPECT_EQ("", CommandLine("Unlha"));
        EXPECT_EQ("victim", qvtest::ReadFileBytes(victim));
    }
    DeleteFileW(victim.c_str());
}

TEST_F(ArchiverDllTest, PackCommandLinesQuoteEveryNameAndKeepDashNamesFromBeingSwitches)
{
    CArchiverDll archiver;
    ASSERT_EQ(1, archiver.LoadForPacking(ARCHIVER_ROW_ZIP));
    archiver.SetOption(1, L"C:\\out\\x.zip");
    archiver.SetOption(0, L"C:\\src");
    archiver.SetOption(12, nullptr);
    archiver.SetOption(13, L"-m");
    archiver.SetOption(13, L"a b.txt");
    archiver.SetOption(13, L"x@y");
    ASSERT_EQ(1, archiver.CreateArchive(nullptr, 0));
    EXPECT_EQ("-r -r -S C:\\out\\x.zip C:\\src\\ \".\\-m\" \"a b.txt\" \"x[@]y\"", CommandLine("Zip"));

    CArchiverDll lzh;
    ASSERT_EQ(1, lzh.LoadForPacking(ARCHIVER_ROW_LZH));
    lzh.SetOption(1, L"C:\\out\\x.lzh");
    lzh.SetOption(13, L"-rf.txt");
    ASSERT_EQ(1, lzh.CreateArchive(nullptr, 0));
    EXPECT_EQ("a  C:\\out\\x.lzh  \".\\-rf.txt\"", CommandLine("Unlha"));
}

TEST_F(ArchiverDllTest, APackCommandTheUserCancelledIsReportedAsCancelled)
{
    struct Case
    {
        const wchar_t* result;
        DWORD code;
        int param;
    };
    const Case cases[] = {{L"0x8020", ARCERR_USER_CANCEL, 0}, {L"5", 22, 5}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Narrow(c.result));
        Set(L"QV_ARCSTUB_RESULT", c.result);
        CArchiverDll archiver;
        ASSERT_EQ(1, archiver.LoadForPacking(ARCHIVER_ROW_LZH));
        archiver.SetOption(1, L"C:\\out\\x.lzh");
        EXPECT_EQ(0, archiver.CreateArchive(nullptr, 0));
        ASSERT_EQ(1, archiver.m_errors.GetSize());
        EXPECT_EQ(c.code, archiver.m_errors[0]);
        EXPECT_EQ(c.param, archiver.m_errors.GetParam(0));
    }
}

TEST_F(ArchiverDllTest, BridgePathIsTheConfiguredFolderAndTheLibraryName)
{
    struct Case
    {
        const wchar_t* folder;
        const wchar_t* path;
    };
    const Case cases[] = {{L"C:\\tools", L"C:\\tools\\Unbypass.dll"},
                          {L"C:\\tools\\", L"C:\\tools\\Unbypass.dll"},
                          {L"", L"Unbypass.dll"}};
    for (const Case& c : cases)
    {
        g_UnbypassDllPath = c.folder;
        EXPECT_EQ(std::wstring(c.path), qvtest::W(CArchiverDll::GetBridgeLibraryPath()));
    }
}

TEST_F(ArchiverDllTest, WholeArchiveExtractionRunsTheRowsCommandIntoTheDestination)
{
    Set(L"QV_ARCSTUB_ACCEPT", L"SevenZip");
    Set(L"QV_ARCSTUB_MEMBERS", L"a/b.txt");
    std::wstring path = FakeArchive(L"x.7z");
    std::wstring destination = dir + L"\\out\\deeper";
    CArchiverDll archiver;
    ASSERT_EQ(1, archiver.ListEntries(path.c_str()));
    archiver.UnloadLibrary();
    archiver.SetOption(5, destination.c_str());
    archiver.SetOption(9, nullptr);
    ASSERT_EQ(1, archiver.Extract(nullptr, nullptr));
    EXPECT_EQ("x -aoa " + Narrow(path) + " -o" + Narrow(destination) + "\\", CommandLine("SevenZip"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(destination.c_str()));
    EXPECT_EQ(1u, CallsTo("ClearOwnerWindow").size());

    // Named members of a row without a member command: no library can do it.
    Set(L"QV_ARCSTUB_ACCEPT", L"Unarj");
    CArchiverDll arj;
    ASSERT_EQ(ARCHIVER_ROW_ARJ, arj.Open(FakeArchive(L"x.arj").c_str(), ARCOPEN_UNPACK, 0));
    CArchiveFileInfo member;
    member.m_storedPath = L"a.txt";
    arj.SetOption(2, member);
    arj.SetOption(5, destination.c_str());
    EXPECT_EQ(0, arj.Extract(nullptr, nullptr));
    EXPECT_TRUE(arj.m_errors.HasCode(ARCERR_NO_DLL));
}
TEST_F(ArchiverDllTest, MembersWhoseTargetPathIsTooLongStopTheWholeExtraction)
{
    std::wstring destination = dir + L"\\out";
    auto padded = [&](size_t length) { return std::wstring(length - destination.size() - 1, L'f'); };
    struct Case
    {
        std::wstring member;
        DWORD code;
    };
    const Case cases[] = {
        {padded(255) + L"/a.txt", 24},
        {padded(250) + L"/a.txt", 25},
        {L"f/" + std::wstring(260 - destination.size() - 3, L'n'), 26},
        {L"f/" + std::wstring(259 - destination.size() - 3, L'n'), 0},
    };
    Set(L"QV_ARCSTUB_ACCEPT", L"Unrar");
    std::wstring path = FakeArchive(L"x.rar");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.code);
        DeleteFileW(m_log.c_str());
        Set(L"QV_ARCSTUB_MEMBERS", c.member.c_str());
        CArchiverDll archiver;
        ASSERT_EQ(1, archiver.ListEntries(path.c_str()));
        archiver.SetOption(5, destination.c_str());
        EXPECT_EQ(c.code == 0 ? 1 : 0, archiver.Extract(nullptr, nullptr));
        if (c.code != 0)
        {
            EXPECT_TRUE(archiver.m_errors.HasCode(c.code));
            EXPECT_EQ("", CommandLine("Unrar"));
        }
    }
}

TEST_F(ArchiverDllTest, NewerLzhLibrariesNeverReceiveTheRefusedSwitches)
{
    struct Case
    {
        const wchar_t* version;
        const char* switches;
    };
    const Case cases[] = {{L"150", "-gf1 -a2"}, {L"151", "-a2"}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(Narrow(c.version));
        Set(L"QV_ARCSTUB_VERSION", c.version);
        CArchiverDll archiver;
        ASSERT_EQ(1, archiver.LoadForPacking(ARCHIVER_ROW_LZH));
        archiver.SetOption(3, L"-gf1");
        archiver.SetOption(3, L"-a2");
        EXPECT_EQ(c.switches, Narrow(qvtest::W(archiver.m_switches)));
    }
}

TEST_F(ArchiverDllTest, SupportedNamesFollowTheRowsExtensionsAndOpenMasks)
{
    struct Case
    {
        const wchar_t* name;
        int flags;
        int supported;
    };
    const Case cases[] = {{L"a.lzh", ARCOPEN_PACK, 1},
                          {L"a.rar", ARCOPEN_PACK, 0},
                          {L"a.tgz", ARCOPEN_UNPACK, 1},
                          {L"a.ZIP", ARCOPEN_MEMBER_TO_MEMORY, 1},
                          {L"a.cab", ARCOPEN_MEMBER_TO_MEMORY, 0},
                          {L"dir.zip\\noext", ARCOPEN_UNPACK, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.supported, CArchiverDll::IsSupportedName(c.name, c.flags)) << Narrow(c.name);
}
} // namespace
