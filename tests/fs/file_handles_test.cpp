#include "fs/FileHandles.h"

#include "tests/common/TestHelpers.h"
#include <gtest/gtest.h>
#include <vector>

namespace
{

class FileHandlesTest : public qvtest::ScratchFolderTest
{
};

TEST_F(FileHandlesTest, ReadPartStopsAtThePieceLimit)
{
    const uint32_t kTen = 10 << 20;
    {
        COutputFile out;
        ASSERT_TRUE(out.Create(P(L"big").c_str(), true));
        ASSERT_TRUE(out.SetLength(kTen));
    }
    CInputFile in;
    ASSERT_TRUE(in.Open(P(L"big").c_str()));
    std::vector<char> buffer(kTen);
    uint32_t read = 0;
    ASSERT_TRUE(in.ReadPart(buffer.data(), kTen, read));
    EXPECT_EQ(read, 4u << 20);
}

TEST_F(FileHandlesTest, SizeAndPositionOfAllOnesAreNoFailure)
{
    COutputFile out;
    ASSERT_TRUE(out.Create(P(L"ff").c_str(), true));
    ASSERT_TRUE(out.SetLength(0xFFFFFFFFull));
    // A stale error from earlier work must not turn these valid answers into failures.
    SetLastError(ERROR_ACCESS_DENIED);
    uint64_t size = 0;
    EXPECT_TRUE(out.GetSize(size));
    EXPECT_EQ(size, 0xFFFFFFFFull);
    SetLastError(ERROR_ACCESS_DENIED);
    uint64_t position = 0;
    EXPECT_TRUE(out.SeekFromBegin(0xFFFFFFFFull, position));
    EXPECT_EQ(position, 0xFFFFFFFFull);
    EXPECT_TRUE(out.Seek(-1, FILE_CURRENT, position));
    EXPECT_EQ(position, 0xFFFFFFFEull);
}

TEST_F(FileHandlesTest, SetLengthExtendsAndWriteFullWritesEverything)
{
    COutputFile out;
    ASSERT_TRUE(out.Create(P(L"f").c_str(), true));
    std::vector<char> data((5 << 20) + 3, 'x');
    uint32_t written = 0;
    ASSERT_TRUE(out.WriteFull(data.data(), static_cast<uint32_t>(data.size()), written));
    EXPECT_EQ(written, data.size());
    ASSERT_TRUE(out.SetLength(data.size() + 100));
    uint64_t size = 0;
    ASSERT_TRUE(out.GetSize(size));
    EXPECT_EQ(size, data.size() + 100);
}

TEST_F(FileHandlesTest, CreateNewRefusesAnExistingFile)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"old"), "keep"));
    COutputFile out;
    EXPECT_FALSE(out.Create(P(L"old").c_str(), false));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_EQ(qvtest::ReadFileBytes(P(L"old")), "keep");
}

TEST_F(FileHandlesTest, OpenWithClosesTheHandleItHeld)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"a"), "a"));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"b"), "b"));
    CFileHandle file;
    ASSERT_TRUE(file.OpenWith(P(L"a").c_str(), GENERIC_READ, 0, OPEN_EXISTING, 0));
    ASSERT_TRUE(file.OpenWith(P(L"b").c_str(), GENERIC_READ, 0, OPEN_EXISTING, 0));
    // "a" was opened without sharing: it opens again only when the first handle is gone.
    HANDLE again = CreateFileW(P(L"a").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    if (again != INVALID_HANDLE_VALUE)
        CloseHandle(again);
    char c = 0;
    uint32_t read = 0;
    EXPECT_TRUE(file.Read(&c, 1, read));
    EXPECT_EQ(c, 'b');
}

} // namespace
