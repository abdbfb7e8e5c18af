#include "archiveclient/update/UpdateArchive.h"
#include "fs/FileSystem.h"

#include "tests/archiveclient/ArcOpenHelpers.h"
#include "tests/archiveclient/TwoVolumeZip.h"
#include "tests/common/TestHelpers.h"
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace
{

// Answers every question of the job with "go on"; cancels when asked to.
struct CQuietUpdateUi : IUpdateCallbackUI2
{
    int cancelAfterItems = -1; // E_ABORT from the progress once this many items began
    int itemsBegun = 0;
    std::vector<std::wstring> dropped;

    HRESULT WriteSfxModule() override { return S_OK; }
    HRESULT SetTotalSize(uint64_t) override { return S_OK; }
    HRESULT SetCompletedSize(const uint64_t*) override { return PollCancel(); }
    HRESULT SetSizeRatio(const uint64_t*, const uint64_t*) override { return S_OK; }
    HRESULT PollCancel() override
    {
        return cancelAfterItems >= 0 && itemsBegun >= cancelAfterItems ? E_ABORT : S_OK;
    }
    HRESULT SetUpdateItemCount(uint64_t) override { return S_OK; }
    HRESULT BeginUpdateItem(const wchar_t*, bool, int32_t, uint32_t) override
    {
        itemsBegun++;
        return S_OK;
    }
    HRESULT ReportOpenFileFailure(const wchar_t*, DWORD) override { return S_FALSE; }
    HRESULT ReportReadFailure(const wchar_t*, DWORD) override { return S_FALSE; }
    HRESULT SetUpdateItemResult(int32_t) override { return S_OK; }
    HRESULT ReportItemCheckResult(int32_t, bool, const wchar_t*) override { return S_OK; }
    HRESULT ReportUpdateStep(uint32_t, const wchar_t*, bool) override { return S_OK; }
    HRESULT GetPackPassword(INT32* defined, BSTR* password) override
    {
        *defined = 0;
        *password = nullptr;
        return S_OK;
    }
    HRESULT GetPassword(BSTR* password) override
    {
        *password = nullptr;
        return E_ABORT;
    }
    HRESULT ReportDroppedItem(const wchar_t* name, bool) override
    {
        dropped.push_back(name);
        return S_OK;
    }
    HRESULT ReportOpenResult(const CCodecs&, const CArchiveChain&, const wchar_t*, HRESULT) override
    {
        return S_OK;
    }
    HRESULT BeginDiskScan() override { return S_OK; }
    HRESULT EndDiskScan(const CDiskScanStats&) override { return S_OK; }
    HRESULT BeginOpenArchive(const wchar_t*) override { return S_OK; }
    HRESULT BeginArchive(const wchar_t*, bool) override { return S_OK; }
    HRESULT EndArchive(const CUpdateRunStats&) override { return S_OK; }
    HRESULT ReportSourceDeleted(const wchar_t*) override { return S_OK; }
    HRESULT EndSourceDeletion() override { return S_OK; }
    HRESULT ScanError(const UString&, uint32_t) override { return S_OK; }
    HRESULT ScanProgress(const CDiskScanStats&, const UString&, bool) override { return S_OK; }
};

class UpdateArchiveTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        qvtest::ScratchFolderTest::SetUp();
        CreateDirectoryW(P(L"src").c_str(), nullptr);
        CreateDirectoryW(P(L"src\\dir").c_str(), nullptr);
        Write(P(L"src\\a.txt"), "alpha");
        Write(P(L"src\\dir\\b.txt"), std::string(5000, 'b'));
    }
    static void Write(const std::wstring& path, const std::string& data)
    {
        std::ofstream(path.c_str(), std::ios::binary) << data;
    }
    static std::string Read(const std::wstring& path)
    {
        std::ifstream in(path.c_str(), std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return in ? s.str() : std::string("<missing>");
    }
    static bool Exists(const std::wstring& path)
    {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    // Packs the named items of src (all of it when none) into path with the given table.
    HRESULT Run(const std::wstring& path, std::vector<const wchar_t*> names = {L"*"},
                const CUpdateActionTable& table = kAddActionTable, std::vector<CRenameRule> renames = {})
    {
        // The pack worker names the items relative to the folder it stands in.
        CPathFilter filter;
        for (const wchar_t* name : names)
            filter.QueuePattern(true, name, true, true);
        wchar_t cwd[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, cwd);
        SetCurrentDirectoryW(P(L"src").c_str());
        CUpdateJobOptions options;
        CUpdateCommand command;
        command.Actions = table;
        options.Commands.push_back(command);
        options.RenameRules = renames;
        options.VolumeSizes = volumes;
        CValueVector<CArchiveTypeChoice> types;
        error = CUpdateErrorRecord();
        HRESULT hr = UpdateArchiveFile(*codecs, types, UString(path.c_str()), filter, options, error, nullptr,
                                       &ui, true);
        SetCurrentDirectoryW(cwd);
        return hr;
    }
    // The format and sorted item paths of an archive, read back through the open chain.
    std::wstring Contents(const std::wstring& path)
    {
        CArchiveChain chain;
        CArchiveOpenRequest request;
        request.Codecs = &*codecs;
        request.filePath = path.c_str();
        if (OpenArchiveChainAndFinish(chain, request, nullptr) != S_OK)
            return L"<not an archive>";
        std::vector<std::wstring> paths = arctest::ItemPaths(chain);
        std::sort(paths.begin(), paths.end());
        std::wstring s = arctest::FormatName(*codecs, chain.Innermost().formatIndex) + L":";
        for (const std::wstring& p : paths)
            s += L" " + p;
        CloseArchiveChain(chain);
        return s;
    }

    arctest::CRealCodecs codecs;
    CQuietUpdateUi ui;
    CUpdateErrorRecord error;
    std::vector<uint64_t> volumes;
};

TEST_F(UpdateArchiveTest, TheNameSettlesFileAndFormat)
{
    struct Case
    {
        const wchar_t* given;
        const wchar_t* made;
        const wchar_t* format;
    } cases[] = {
        {L"backup", L"backup.7z", L"7z"},
        {L"plain.", L"plain", L"7z"},
        {L"X.ZIP", L"X.ZIP", L"zip"},
        {L"t.tar", L"t.tar", L"tar"},
        {L"new\\deeper\\n.7z", L"new\\deeper\\n.7z", L"7z"},
    };
    for (const Case& c : cases)
    {
        ASSERT_EQ(Run(P(c.given)), S_OK) << c.given;
        EXPECT_EQ(Contents(P(c.made)), std::wstring(c.format) + L": a.txt dir dir\\b.txt") << c.given;
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW(P(c.made).c_str(), &found);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        FindClose(h);
        EXPECT_STREQ(found.cFileName, GetPathFileName(UString(P(c.made).c_str())).Chars());
    }
}

TEST_F(UpdateArchiveTest, AnUnwritableFormatFailsBeforeAnyFileIsTouched)
{
    EXPECT_EQ(Run(P(L"x.rar")), E_NOTIMPL);
    EXPECT_FALSE(Exists(P(L"x.rar")));
    EXPECT_EQ(Run(P(L"new\\x.rar")), E_NOTIMPL);
    EXPECT_FALSE(Exists(P(L"new")));
    CreateDirectoryW(P(L"d.7z").c_str(), nullptr);
    EXPECT_THROW(Run(P(L"d.7z")), const char*);
    EXPECT_THROW(
        Run(P(L"none.7z"), {L"a.txt"}, kRenameActionTable, {CRenameRule{UString(L"a"), UString(L"b")}}),
        const char*);
}

TEST_F(UpdateArchiveTest, NamesToPackTakeTheirSpellingOnDisk)
{
    ASSERT_EQ(Run(P(L"c.7z"), {L"A.TXT", L"DIR\\B.TXT"}), S_OK);
    EXPECT_EQ(Contents(P(L"c.7z")), L"7z: a.txt dir\\b.txt");
}

// Where names are told apart by case, two spellings of one folder make two nodes;
// once both take the spelling on disk they become one.
TEST_F(UpdateArchiveTest, FoldersSpeltTwoWaysBecomeOneNode)
{
    Write(P(L"src\\dir\\c.txt"), "c");
    const bool caseSensitive = g_CaseSensitiveNames;
    g_CaseSensitiveNames = true;
    CPathFilter filter;
    const UString prefix((P(L"src") + L"\\").c_str());
    for (const wchar_t* path : {L"DIR\\b.txt", L"Dir\\C.TXT", L"dir\\sub\\x.txt"})
        filter.AddPattern(kPathModeGivenPrefix, true, UString(path), false, true, prefix);
    const uint32_t before = filter.Roots.At(0).Node.SubNodes.Count();
    CorrectFilterNameCase(filter);
    g_CaseSensitiveNames = caseSensitive;

    EXPECT_EQ(3u, before);
    const CPathFilterNode& root = filter.Roots.At(0).Node;
    ASSERT_EQ(1u, root.SubNodes.Count());
    const CPathFilterNode& dir = root.SubNodes.At(0);
    EXPECT_EQ(std::wstring(L"dir"), dir.Name.Chars());
    std::vector<std::wstring> names;
    for (uint32_t i = 0; i < dir.IncludeItems.Count(); i++)
        names.push_back(dir.IncludeItems.At(i).Parts[0].Chars());
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt", L"c.txt"}), names);
    ASSERT_EQ(1u, dir.SubNodes.Count());
    EXPECT_EQ(std::wstring(L"sub"), dir.SubNodes.At(0).Name.Chars());
    EXPECT_EQ(&dir, dir.SubNodes.At(0).Parent);
}

TEST_F(UpdateArchiveTest, AddingWritesATemporaryFileBesideAndReplacesAReadOnlyArchive)
{
    ASSERT_EQ(Run(P(L"x.7z"), {L"a.txt"}), S_OK);
    Write(P(L"x.7z.tmp"), "someone else's");
    ASSERT_TRUE(SetFileAttributesW(P(L"x.7z").c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(Run(P(L"x.7z"), {L"dir"}), S_OK);
    EXPECT_EQ(Contents(P(L"x.7z")), L"7z: a.txt dir dir\\b.txt");
    EXPECT_EQ(Read(P(L"x.7z.tmp")), "someone else's");
    EXPECT_FALSE(Exists(P(L"x.7z.tmp1")));
    EXPECT_EQ(GetFileAttributesW(P(L"x.7z").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(UpdateArchiveTest, ACancelLeavesTheOldArchiveAndNoFileBehind)
{
    ASSERT_EQ(Run(P(L"x.7z"), {L"a.txt"}), S_OK);
    std::string before = Read(P(L"x.7z"));
    ui.cancelAfterItems = 1;
    EXPECT_EQ(Run(P(L"x.7z"), {L"dir"}), E_ABORT);
    EXPECT_EQ(Read(P(L"x.7z")), before);
    EXPECT_FALSE(Exists(P(L"x.7z.tmp")));
    // A cancelled create leaves no partial archive.
    EXPECT_EQ(Run(P(L"y.zip")), E_ABORT);
    EXPECT_FALSE(Exists(P(L"y.zip")));
}

TEST_F(UpdateArchiveTest, AFailedReplacementKeepsTheOldArchive)
{
    Write(P(L"old"), "old archive");
    Write(P(L"new.tmp"), "new archive");
    ASSERT_TRUE(SetFileAttributesW(P(L"old").c_str(), FILE_ATTRIBUTE_READONLY));
    // The old archive held open without delete sharing: the one-step move must fail.
    HANDLE h =
        CreateFileW(P(L"old").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ReplaceFileInOneStep(UString(P(L"new.tmp").c_str()), UString(P(L"old").c_str())));
    CloseHandle(h);
    EXPECT_EQ(Read(P(L"old")), "old archive");
    EXPECT_NE(GetFileAttributesW(P(L"old").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    EXPECT_TRUE(ReplaceFileInOneStep(UString(P(L"new.tmp").c_str()), UString(P(L"old").c_str())));
    EXPECT_EQ(Read(P(L"old")), "new archive");
    EXPECT_FALSE(Exists(P(L"new.tmp")));
}

TEST_F(UpdateArchiveTest, DeleteAndRenameJobsChangeOnlyTheNamedItems)
{
    ASSERT_EQ(Run(P(L"x.7z")), S_OK);
    ASSERT_EQ(Run(P(L"x.7z"), {L"a.txt"}, kDeleteActionTable), S_OK);
    EXPECT_EQ(Contents(P(L"x.7z")), L"7z: dir dir\\b.txt");
    EXPECT_EQ(ui.dropped, std::vector<std::wstring>{L"a.txt"});
    ASSERT_EQ(
        Run(P(L"x.7z"), {L"dir"}, kRenameActionTable, {CRenameRule{UString(L"dir"), UString(L"moved")}}),
        S_OK);
    EXPECT_EQ(Contents(P(L"x.7z")), L"7z: moved moved\\b.txt");
}

TEST_F(UpdateArchiveTest, AStubInFrontOfTheArchiveIsKeptByteForByte)
{
    ASSERT_EQ(Run(P(L"plain.7z"), {L"a.txt"}), S_OK);
    std::string stub(4096, 'M');
    for (size_t i = 0; i < stub.size(); i++)
        stub[i] = static_cast<char>('A' + (i * 7) % 26);
    Write(P(L"s.exe"), stub + Read(P(L"plain.7z")));
    ASSERT_EQ(Contents(P(L"s.exe")), L"7z: a.txt");
    ASSERT_EQ(Run(P(L"s.exe"), {L"dir"}), S_OK);
    EXPECT_EQ(Read(P(L"s.exe")).substr(0, stub.size()), stub);
    EXPECT_EQ(Contents(P(L"s.exe")), L"7z: a.txt dir dir\\b.txt");
}

TEST_F(UpdateArchiveTest, VolumesAreNumberedFromOneWithThreeDigits)
{
    Write(P(L"src\\big.bin"), std::string(1, 'x'));
    volumes = {1000};
    std::string noise(30000, ' ');
    uint32_t state = 2463534242u;
    for (char& c : noise)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        c = static_cast<char>(state >> 24);
    }
    Write(P(L"src\\big.bin"), noise);
    ASSERT_EQ(Run(P(L"v.7z"), {L"big.bin"}), S_OK);
    EXPECT_TRUE(Exists(P(L"v.7z.001")));
    EXPECT_TRUE(Exists(P(L"v.7z.010")));
    EXPECT_EQ(Read(P(L"v.7z.001")).size(), 1000u);
    EXPECT_EQ(Contents(P(L"v.7z.001")), L"7z: big.bin");
    // Volumes over an existing archive are refused.
    EXPECT_EQ(Run(P(L"v.7z.001")), E_NOTIMPL);
}

// One further volume is enough: the update would rewrite the last file alone and leave
// the first one belonging to no archive. Nothing is written, not even a temporary file.
TEST_F(UpdateArchiveTest, AnArchiveWithOneFurtherVolumeIsRefusedBeforeAnythingIsWritten)
{
    arctest::WriteTwoVolumeZip(P(L"split.z01"), P(L"split.zip"));
    ASSERT_EQ(Contents(P(L"split.zip")), L"zip: one.txt two.txt");
    const std::string first = Read(P(L"split.z01"));
    const std::string last = Read(P(L"split.zip"));
    struct Case
    {
        std::vector<const wchar_t*> names;
        const CUpdateActionTable& table;
        std::vector<CRenameRule> renames;
    } cases[] = {
        {{L"a.txt"}, kAddActionTable, {}},
        {{L"two.txt"}, kDeleteActionTable, {}},
        {{L"*"}, kRenameActionTable, {CRenameRule{UString(L"one.txt"), UString(L"uno.txt")}}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(Run(P(L"split.zip"), c.names, c.table, c.renames), E_NOTIMPL);
        EXPECT_EQ(error.Message, "Updating for multivolume archives is not implemented");
        EXPECT_EQ(ui.itemsBegun, 0);
        EXPECT_EQ(Read(P(L"split.z01")), first);
        EXPECT_EQ(Read(P(L"split.zip")), last);
        EXPECT_FALSE(Exists(P(L"split.zip.tmp")));
    }
}

// The system's own archiver on the build host tests what the driver wrote. A host
// process's handle does not wait for it, so the shell leaves its verdict in a file.
std::string HostArchiverVerdict(const std::wstring& archive)
{
    std::wstring host = archive.substr(2);
    std::replace(host.begin(), host.end(), L'\\', L'/');
    std::wstring verdict = archive + L".verdict";
    std::wstring command = L"/bin/sh -c \"7z t '" + host + L"' >/dev/null 2>&1 && echo ok >'" + host +
                           L".verdict' || echo bad >'" + host + L".verdict'\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(L"Z:\\bin\\sh", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return "<not started>";
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int i = 0; i < 800; i++)
    {
        std::ifstream in(verdict.c_str());
        std::string word;
        if (in >> word)
            return word;
        Sleep(25);
    }
    return "<no verdict>";
}

TEST_F(UpdateArchiveTest, TheHostsArchiverAcceptsCreatedAndUpdatedArchives)
{
    for (const wchar_t* name : {L"h.7z", L"h.zip"})
    {
        ASSERT_EQ(Run(P(name), {L"a.txt"}), S_OK);
        ASSERT_EQ(Run(P(name), {L"dir"}), S_OK);
        EXPECT_EQ(HostArchiverVerdict(P(name)), "ok") << name;
    }
    // The check can fail.
    Write(P(L"junk.7z"), "not an archive");
    EXPECT_EQ(HostArchiverVerdict(P(L"junk.7z")), "bad");
}

} // namespace
