// The one-file copier on real files: chunk sizes, the sector mode of removable drives,
// and what is left at the destination when a copy stops or fails.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "fileops/copy/FileCopier.h"
#include "tests/fileops/CopyTestData.h"

namespace
{

using copytest::Exists;

class FileCopierTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        saved[0] = g_COPY_BUFFER_SIZE_FIXED;
        saved[1] = g_COPY_BUFFER_SIZE_REMOTE;
        saved[2] = g_COPY_BUFFER_SIZE_REMOVABLE;
        saved[3] = g_COPY_BUFFER_SIZE_OTHER;
        saved[4] = g_REMOVABLE_COPY_FAST;
    }
    void TearDown() override
    {
        g_COPY_BUFFER_SIZE_FIXED = saved[0];
        g_COPY_BUFFER_SIZE_REMOTE = saved[1];
        g_COPY_BUFFER_SIZE_REMOVABLE = saved[2];
        g_COPY_BUFFER_SIZE_OTHER = saved[3];
        g_REMOVABLE_COPY_FAST = saved[4];
    }

    WIN32_FIND_DATAW Find(const std::wstring& path)
    {
        WIN32_FIND_DATAW findData{};
        HANDLE find = FindFirstFileW(path.c_str(), &findData);
        EXPECT_NE(INVALID_HANDLE_VALUE, find) << path;
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
        return findData;
    }

    // Copies src\name to the destination chunk by chunk; 1 finished, 0 failed.
    int CopyAll(CFileCopier& copier, const std::wstring& name, const std::wstring& destination)
    {
        if (!copier.Open(Find(P(L"src\\") + name), destination.c_str(), P(L"src").c_str()))
            return 0;
        int goOn = 1;
        while (copier.CopyChunk(&goOn))
        {
        }
        copier.Close(FALSE);
        return goOn;
    }

    void MakeSource(const wchar_t* name, const std::string& bytes)
    {
        CreateDirectoryW(P(L"src").c_str(), nullptr);
        CreateDirectoryW(P(L"dst").c_str(), nullptr);
        ASSERT_TRUE(qvtest::WriteFileBytes(P(L"src\\") + name, bytes));
    }

    int saved[5] = {};
};

UINT RemovableDrive(LPCWSTR)
{
    return DRIVE_REMOVABLE;
}
BOOL Sector512(LPCWSTR, DWORD* bytes)
{
    *bytes = 512;
    return TRUE;
}
BOOL NoFloppy(wchar_t)
{
    return FALSE;
}

int g_writesLeft = 0;
BOOL WINAPI WriteUntilFull(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (g_writesLeft-- <= 0)
    {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return WriteFile(file, buffer, bytes, written, overlapped);
}

TEST_F(FileCopierTest, ChunkSizeFollowsTheDriveKindsAndTheFileSize)
{
    g_COPY_BUFFER_SIZE_FIXED = 5000;
    g_COPY_BUFFER_SIZE_REMOTE = 2000;
    g_COPY_BUFFER_SIZE_REMOVABLE = 1000;
    g_COPY_BUFFER_SIZE_OTHER = 300;
    struct Case
    {
        UINT source;
        BOOL sourceFloppy;
        UINT destination;
        LONGLONG size;
        DWORD expected;
    } cases[] = {
        {DRIVE_FIXED, FALSE, DRIVE_FIXED, 1LL << 40, 5000 * 1024},
        {DRIVE_REMOTE, FALSE, DRIVE_FIXED, 1LL << 40, 2000 * 1024}, // the smaller of the two
        {DRIVE_FIXED, FALSE, DRIVE_REMOVABLE, 1LL << 40, 1000 * 1024},
        {DRIVE_REMOVABLE, TRUE, DRIVE_FIXED, 1LL << 40, 300 * 1024}, // a floppy takes "other"
        {DRIVE_CDROM, FALSE, DRIVE_FIXED, 1LL << 40, 300 * 1024},
        {DRIVE_FIXED, FALSE, DRIVE_FIXED, 4000, 4000}, // never more than the file
        {DRIVE_FIXED, FALSE, DRIVE_FIXED, 0, 1024},    // an empty file
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ComputeCopyChunkSize(c.source, c.sourceFloppy, c.destination, FALSE, c.size))
            << c.source << " " << c.destination << " " << c.size;
    g_COPY_BUFFER_SIZE_FIXED = 0;
    EXPECT_EQ(524288u, ComputeCopyChunkSize(DRIVE_FIXED, FALSE, DRIVE_FIXED, FALSE, 1LL << 40));
}

TEST_F(FileCopierTest, EmptyFileEndsAtOneHundredPercentWithTheSourcesTimes)
{
    MakeSource(L"empty.txt", "");
    FILETIME old = {0x12345600, 0x01D00000};
    HANDLE file =
        CreateFileW(P(L"src\\empty.txt").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &old);
    CloseHandle(file);
    CFileCopier copier;
    ASSERT_TRUE(copier.Open(Find(P(L"src\\empty.txt")), P(L"dst\\empty.txt").c_str(), P(L"src").c_str()));
    EXPECT_EQ(1024u, copier.m_chunkSize);
    int goOn = 1;
    EXPECT_EQ(0, copier.CopyChunk(&goOn));
    EXPECT_EQ(1, goOn);
    EXPECT_EQ(100, copier.m_lastPercent);
    WIN32_FIND_DATAW copy = Find(P(L"dst\\empty.txt"));
    EXPECT_EQ(0u, copy.nFileSizeLow);
    EXPECT_EQ(0, CompareFileTime(&old, &copy.ftLastWriteTime));
}

TEST_F(FileCopierTest, RemovableDestinationIsWrittenInWholeSectorsAndTrimmed)
{
    g_COPY_BUFFER_SIZE_REMOVABLE = 1; // 1024 bytes: two sectors a chunk
    g_REMOVABLE_COPY_FAST = 1;
    std::string bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += (char)('a' + i % 26);
    MakeSource(L"big.bin", bytes);
    CFileCopier copier;
    copier.m_probe = {RemovableDrive, Sector512, NoFloppy, WriteFile};
    ASSERT_TRUE(copier.Open(Find(P(L"src\\big.bin")), P(L"dst\\big.bin").c_str(), P(L"src").c_str()));
    EXPECT_TRUE(copier.m_sectorAligned);
    EXPECT_EQ(1024u, copier.m_chunkSize);
    // The file being written (beside the destination until it is complete) is
    // pre-sized to whole sectors.
    const std::set<std::wstring> writing = qvtest::ListFolder(P(L"dst"));
    ASSERT_EQ(1u, writing.size());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW((P(L"dst\\") + *writing.begin()).c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(5120u, data.nFileSizeLow);
    int goOn = 1;
    while (copier.CopyChunk(&goOn))
    {
    }
    EXPECT_EQ(1, goOn);
    EXPECT_EQ(bytes, qvtest::ReadFileBytes(P(L"dst\\big.bin")));

    // A file that fits one chunk is never sector-aligned.
    MakeSource(L"small.bin", "tiny");
    ASSERT_TRUE(copier.Open(Find(P(L"src\\small.bin")), P(L"dst\\small.bin").c_str(), P(L"src").c_str()));
    EXPECT_FALSE(copier.m_sectorAligned);
    copier.Close(TRUE);
}

TEST_F(FileCopierTest, StopBetweenChunksDeletesThePartialDestination)
{
    g_COPY_BUFFER_SIZE_FIXED = 1;
    g_COPY_BUFFER_SIZE_OTHER = 1;
    MakeSource(L"a.bin", std::string(10000, 'x'));
    CFileCopier copier;
    ASSERT_TRUE(copier.Open(Find(P(L"src\\a.bin")), P(L"dst\\a.bin").c_str(), P(L"src").c_str()));
    int goOn = 1;
    ASSERT_EQ(1, copier.CopyChunk(&goOn));
    copier.Close(TRUE);
    EXPECT_FALSE(Exists(P(L"dst\\a.bin")));
}

TEST_F(FileCopierTest, ShrinkingSourceFailsAndLeavesNoShortFile)
{
    g_COPY_BUFFER_SIZE_FIXED = 1;
    g_COPY_BUFFER_SIZE_OTHER = 1;
    MakeSource(L"a.bin", std::string(10000, 'x'));
    CFileCopier copier;
    ASSERT_TRUE(copier.Open(Find(P(L"src\\a.bin")), P(L"dst\\a.bin").c_str(), P(L"src").c_str()));
    int goOn = 1;
    ASSERT_EQ(1, copier.CopyChunk(&goOn));
    // The host truncates the file under Wine's open handle.
    const std::wstring source = P(L"src\\a.bin");
    ASSERT_TRUE(
        qvtest::RunHostProgram(L"/usr/bin/truncate", L"-s 1500 \"" + qvtest::HostPath(source) + L"\"", [&] {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            return GetFileAttributesExW(source.c_str(), GetFileExInfoStandard, &data) &&
                   data.nFileSizeLow == 1500;
        }));
    while (copier.CopyChunk(&goOn))
    {
    }
    EXPECT_EQ(0, goOn);
    EXPECT_EQ(L"ReadFile", qvtest::W(copier.m_failedOperation));
    EXPECT_FALSE(Exists(P(L"dst\\a.bin")));
}

TEST_F(FileCopierTest, WriteFailureLeavesNoPartialFileAndTheOldDestinationIntact)
{
    g_COPY_BUFFER_SIZE_FIXED = 1;
    g_COPY_BUFFER_SIZE_OTHER = 1;
    MakeSource(L"a.bin", std::string(10000, 'n'));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"dst\\old.bin"), "the old contents"));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"src\\old.bin"), std::string(10000, 'n')));
    for (const wchar_t* name : {L"a.bin", L"old.bin"})
    {
        CFileCopier copier;
        copier.m_probe.writeFile = WriteUntilFull;
        g_writesLeft = 3;
        EXPECT_EQ(0, CopyAll(copier, name, P(L"dst\\") + name)) << name;
        EXPECT_EQ(L"WriteFile", qvtest::W(copier.m_failedOperation));
        EXPECT_EQ((DWORD)ERROR_DISK_FULL, copier.m_failedError);
    }
    EXPECT_FALSE(Exists(P(L"dst\\a.bin")));
    EXPECT_EQ("the old contents", qvtest::ReadFileBytes(P(L"dst\\old.bin")));
    EXPECT_EQ((std::set<std::wstring>{L"old.bin"}), qvtest::ListFolder(P(L"dst")));
}

TEST_F(FileCopierTest, OverwriteReplacesAReadOnlyFileWithTheCompleteCopy)
{
    MakeSource(L"a.txt", "new contents");
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"dst\\a.txt"), "old"));
    SetFileAttributesW(P(L"dst\\a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    CFileCopier copier;
    EXPECT_EQ(1, CopyAll(copier, L"a.txt", P(L"dst\\a.txt")));
    EXPECT_EQ("new contents", qvtest::ReadFileBytes(P(L"dst\\a.txt")));
    EXPECT_EQ((std::set<std::wstring>{L"a.txt"}), qvtest::ListFolder(P(L"dst")));
}

// A chunk of about a megabyte goes through in smaller pieces: every byte arrives in
// its place, and a write that fails inside a chunk still leaves no partial file.
TEST_F(FileCopierTest, ChunkLargerThanAPieceCopiesEveryByteAndFailsCleanly)
{
    for (int* size : {&g_COPY_BUFFER_SIZE_FIXED, &g_COPY_BUFFER_SIZE_REMOTE, &g_COPY_BUFFER_SIZE_REMOVABLE,
                      &g_COPY_BUFFER_SIZE_OTHER})
        *size = 1000;
    g_REMOVABLE_COPY_FAST = 0;
    std::string bytes(2600000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 ^ i >> 11);
    MakeSource(L"big.bin", bytes);
    {
        CFileCopier copier;
        EXPECT_EQ(1, CopyAll(copier, L"big.bin", P(L"dst\\big.bin")));
        EXPECT_EQ(1024000u, copier.m_chunkSize);
    }
    EXPECT_TRUE(qvtest::ReadFileBytes(P(L"dst\\big.bin")) == bytes);
    CFileCopier copier;
    copier.m_probe.writeFile = WriteUntilFull;
    g_writesLeft = 2;
    EXPECT_EQ(0, CopyAll(copier, L"big.bin", P(L"dst\\failed.bin")));
    EXPECT_EQ(L"WriteFile", qvtest::W(copier.m_failedOperation));
    EXPECT_FALSE(Exists(P(L"dst\\failed.bin")));
}

// A new file takes its name only when it is complete: while it is written the name
// stays free (a program killed then leaves no truncated file that passes for the
// copy), and at the end it carries the source's bytes, attributes and times. A name
// too long to take the temporary's ending still copies.
TEST_F(FileCopierTest, NewFileTakesItsNameOnlyWhenComplete)
{
    g_COPY_BUFFER_SIZE_FIXED = 1;
    g_COPY_BUFFER_SIZE_OTHER = 1;
    const std::wstring longName = std::wstring(246, L'n') + L".bin";
    for (const std::wstring& name : {std::wstring(L"a.bin"), longName})
    {
        SCOPED_TRACE(name.size());
        MakeSource(name.c_str(), std::string(10000, 'x'));
        const std::wstring source = P(L"src\\") + name;
        FILETIME old = {0x12345600, 0x01D00000};
        HANDLE file = CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &old);
        CloseHandle(file);
        SetFileAttributesW(source.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
        const std::wstring destination = P(L"dst\\") + name;
        CFileCopier copier;
        ASSERT_TRUE(copier.Open(Find(source), destination.c_str(), P(L"src").c_str()));
        int goOn = 1;
        ASSERT_EQ(1, copier.CopyChunk(&goOn));
        EXPECT_FALSE(Exists(destination));
        EXPECT_EQ(1u, qvtest::ListFolder(P(L"dst")).size());
        while (copier.CopyChunk(&goOn))
        {
        }
        EXPECT_EQ(1, goOn);
        EXPECT_EQ((std::set<std::wstring>{name}), qvtest::ListFolder(P(L"dst")));
        EXPECT_EQ(std::string(10000, 'x'), qvtest::ReadFileBytes(destination));
        const WIN32_FIND_DATAW copy = Find(destination);
        EXPECT_EQ(DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
                  copy.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
        EXPECT_EQ(0, CompareFileTime(&old, &copy.ftLastWriteTime));
        SetFileAttributesW(destination.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(destination.c_str());
    }
}

// A file put under the destination's name while the copy runs is left alone: the copy
// fails at the end and leaves nothing of its own behind, also when the caller had found
// the name free and the copier did not look at it.
TEST_F(FileCopierTest, FileThatTakesTheNameMeanwhileIsLeftAlone)
{
    MakeSource(L"a.txt", "the copy");
    for (BOOL replaceExisting : {TRUE, FALSE})
    {
        SCOPED_TRACE(replaceExisting);
        CFileCopier copier;
        copier.m_replaceExisting = replaceExisting;
        ASSERT_TRUE(copier.Open(Find(P(L"src\\a.txt")), P(L"dst\\a.txt").c_str(), P(L"src").c_str()));
        ASSERT_TRUE(qvtest::WriteFileBytes(P(L"dst\\a.txt"), "someone else's"));
        int goOn = 1;
        while (copier.CopyChunk(&goOn))
        {
        }
        EXPECT_EQ(0, goOn);
        EXPECT_EQ(L"MoveFile", qvtest::W(copier.m_failedOperation));
        EXPECT_EQ(P(L"dst\\a.txt"), qvtest::W(copier.m_failedPath));
        EXPECT_EQ("someone else's", qvtest::ReadFileBytes(P(L"dst\\a.txt")));
        EXPECT_EQ((std::set<std::wstring>{L"a.txt"}), qvtest::ListFolder(P(L"dst")));
        DeleteFileW(P(L"dst\\a.txt").c_str());
    }
}

// The temporary file is written with plain attributes, so that one a kill leaves
// behind is neither hidden nor a system file; the copy takes the source's attributes
// with its name, for a new file and for one that replaces another.
TEST_F(FileCopierTest, TheTemporaryIsPlainAndTheCopyTakesTheSourcesAttributesWithItsName)
{
    g_COPY_BUFFER_SIZE_FIXED = 1;
    g_COPY_BUFFER_SIZE_OTHER = 1;
    const DWORD kHiding = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (DWORD attributes : {DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), kHiding})
    {
        for (BOOL replacing : {FALSE, TRUE})
        {
            SCOPED_TRACE(std::to_string(attributes) + (replacing ? " replacing" : " new"));
            MakeSource(L"a.bin", std::string(10000, 'x'));
            SetFileAttributesW(P(L"src\\a.bin").c_str(), attributes);
            if (replacing)
                ASSERT_TRUE(qvtest::WriteFileBytes(P(L"dst\\a.bin"), "old"));
            CFileCopier copier;
            ASSERT_TRUE(copier.Open(Find(P(L"src\\a.bin")), P(L"dst\\a.bin").c_str(), P(L"src").c_str()));
            int goOn = 1;
            ASSERT_EQ(1, copier.CopyChunk(&goOn));
            std::set<std::wstring> written = qvtest::ListFolder(P(L"dst"));
            written.erase(L"a.bin");
            ASSERT_EQ(1u, written.size());
            EXPECT_EQ(0u, GetFileAttributesW(P((L"dst\\" + *written.begin()).c_str()).c_str()) & kHiding)
                << std::string(written.begin()->begin(), written.begin()->end());
            while (copier.CopyChunk(&goOn))
            {
            }
            EXPECT_EQ(1, goOn);
            EXPECT_EQ((std::set<std::wstring>{L"a.bin"}), qvtest::ListFolder(P(L"dst")));
            EXPECT_EQ(attributes, GetFileAttributesW(P(L"dst\\a.bin").c_str()) & kHiding);
            SetFileAttributesW(P(L"dst\\a.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(P(L"dst\\a.bin").c_str());
            SetFileAttributesW(P(L"src\\a.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
        }
    }
}

// What a copy cut short by a kill leaves, "<target>.~qvNNN", goes when a later copy
// writes the same target, hidden or not and whatever the letter case; a temporary that
// a running copy holds open refuses the delete and stays until it is free. Names of
// other forms, the short form that names no target, and other targets' are left alone.
TEST_F(FileCopierTest, LeftoversOfCopiesCutShortGoWhenTheirTargetIsWrittenAgain)
{
    MakeSource(L"a.txt", "the copy");
    const std::set<std::wstring> kept = {L"a.txt.~qv01", L"a.txt.~qv0001",   L"a.txt.~qvx12",
                                         L"~qv000.tmp",  L"b.txt.~qv000",    L"a.txt.qv000",
                                         L"a.txt~qv000", L"a.txt.~qv000.txt"};
    for (const std::wstring& name : kept)
        ASSERT_TRUE(qvtest::WriteFileBytes(P(L"dst\\") + name, "kept"));
    for (const wchar_t* name :
         {L"a.txt.~qv000", L"a.txt.~qv007", L"A.TXT.~QV123", L"a.txt.~qv999", L"a.txt.~qv001"})
        ASSERT_TRUE(qvtest::WriteFileBytes(P(L"dst\\") + name, "left over"));
    SetFileAttributesW(P(L"dst\\a.txt.~qv000").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    // As a copy that still runs holds its temporary.
    HANDLE running = CreateFileW(P(L"dst\\a.txt.~qv001").c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, running);
    CFileCopier copier;
    EXPECT_EQ(1, CopyAll(copier, L"a.txt", P(L"dst\\a.txt")));
    std::set<std::wstring> expected = kept;
    expected.insert({L"a.txt", L"a.txt.~qv001"});
    EXPECT_EQ(expected, qvtest::ListFolder(P(L"dst")));
    EXPECT_EQ("the copy", qvtest::ReadFileBytes(P(L"dst\\a.txt")));
    CloseHandle(running);
    // Free now: the next copy of the same target takes it away.
    EXPECT_EQ(1, CopyAll(copier, L"a.txt", P(L"dst\\a.txt")));
    expected.erase(L"a.txt.~qv001");
    EXPECT_EQ(expected, qvtest::ListFolder(P(L"dst")));
    for (const std::wstring& name : kept)
        EXPECT_EQ("kept", qvtest::ReadFileBytes(P(L"dst\\") + name));
}

} // namespace
