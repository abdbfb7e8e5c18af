// The binary editor's file model: reads through the window with edits laid over,
// nibble edits, cursor limits, searches and comparisons, saving only what was edited,
// and the change list.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/common/TestHelpers.h"
#include "viewers/binary/BinaryData.h"

using qvtest::ReadFileBytes;
using qvtest::WriteFileBytes;

namespace
{

class BinaryDataTest : public qvtest::ScratchFolderTest
{
protected:
    // A file of `size` bytes whose byte i is i mod 251, so every offset is told apart.
    std::wstring MakeFile(const wchar_t* name, size_t size)
    {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = (char)(i % 251);
        std::wstring path = P(name);
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    }

    std::string ReadRange(CBinaryData& data, LONGLONG offset, LONGLONG count)
    {
        std::string out((size_t)count, '\0');
        LONGLONG got = data.Read((BYTE*)&out[0], offset, count);
        out.resize((size_t)(got > 0 ? got : 0));
        return out;
    }

    void PokeOnDisk(const std::wstring& path, LONGLONG offset, BYTE value)
    {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        LARGE_INTEGER at;
        at.QuadPart = offset;
        SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
        DWORD written = 0;
        WriteFile(file, &value, 1, &written, nullptr);
        CloseHandle(file);
    }
};

TEST_F(BinaryDataTest, EmptyFileReadsNothingFindsNothingAndKeepsTheCursorAtZero)
{
    std::wstring path = MakeFile(L"empty.bin", 0);
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    EXPECT_EQ(data.m_size, 0);
    EXPECT_EQ(data.m_lineCount, 0);
    BYTE buffer[16];
    EXPECT_EQ(data.Read(buffer, 0, 16), 0);
    data.SetSearchData((const BYTE*)"A", 1, 0, 0);
    EXPECT_EQ(data.SearchNext(0), -1);
    data.MoveCursor(7);
    EXPECT_EQ(data.m_cursor, 0);
    data.MoveCursor(-40);
    EXPECT_EQ(data.m_cursor, 0);
}

TEST_F(BinaryDataTest, CursorStaysInsideASeventeenByteFile)
{
    std::wstring path = MakeFile(L"17.bin", 17);
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    EXPECT_EQ(data.m_lineCount, 2);
    struct Case
    {
        LONGLONG from, delta, to;
    } cases[] = {
        {5, 32, 5},    // line 1 holds only nibbles 32 and 33
        {1, 32, 33},   // the same column exists on line 1
        {33, 1, 33},   // the last nibble
        {0, 1000, 32}, // whole lines while they fit
        {33, -40, 1},  // same column on the first line
        {3, -1, 2},    {2, -5, 2},
    };
    for (const Case& c : cases)
    {
        data.m_cursor = c.from;
        data.MoveCursor(c.delta);
        EXPECT_EQ(data.m_cursor, c.to) << c.from << " + " << c.delta;
    }
}

TEST_F(BinaryDataTest, NibbleEditsShareOneChunkRecord)
{
    std::wstring path = P(L"nibble.bin");
    ASSERT_TRUE(WriteFileBytes(path, std::string("\x3C\x01\x02", 3)));
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    EXPECT_EQ(data.IsModified(), 0);
    data.SetByte(0, 0xA, BINEDIT_HIGH_NIBBLE);
    EXPECT_EQ(ReadRange(data, 0, 1), std::string("\xAC", 1));
    data.SetByte(0, 0x5, BINEDIT_LOW_NIBBLE);
    EXPECT_EQ(ReadRange(data, 0, 3), std::string("\xA5\x01\x02", 3));
    EXPECT_EQ(data.GetChunkCount(), 1);
    ASSERT_NE(data.FindChunk(0), nullptr);
    EXPECT_EQ(data.FindChunk(0)->changedMask, 1u);
    EXPECT_EQ(data.IsModified(), 1);
    data.SetByte(3, 0x77, BINEDIT_BYTE); // beyond the end: ignored
    EXPECT_EQ(data.GetChunkCount(), 1);
}

TEST_F(BinaryDataTest, ReadsLayOnlyTheEditedBytesOverTheFile)
{
    std::wstring path = MakeFile(L"overlay.bin", 64);
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    data.SetByte(33, 0xEE, BINEDIT_BYTE);
    // Another program changes byte 32 after the chunk record was made: the record's
    // stale copy of it must not hide the change.
    PokeOnDisk(path, 32, 0x99);
    data.InvalidateReadWindow();
    EXPECT_EQ(ReadRange(data, 30, 4), std::string("\x1E\x1F\x99\xEE", 4));
    // A nibble edit of that byte now keeps the low four bits the file holds.
    data.SetByte(32, 0x1, BINEDIT_HIGH_NIBBLE);
    EXPECT_EQ(ReadRange(data, 32, 1), std::string("\x19", 1));
}

TEST_F(BinaryDataTest, ReadsAcrossWindowsMatchTheFile)
{
    const size_t size = 70000;
    std::wstring path = MakeFile(L"large.bin", size);
    std::string file = ReadFileBytes(path);
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    data.SetByte(40000, 0xAB, BINEDIT_BYTE);
    file[40000] = (char)0xAB;
    const LONGLONG reads[][2] = {{0, 16},        {69990, 100}, {15990, 20},
                                 {31990, 40000}, {39999, 3},   {100, 69900}};
    for (const auto& r : reads)
    {
        std::string expected = file.substr((size_t)r[0], (size_t)r[1]);
        EXPECT_EQ(ReadRange(data, r[0], r[1]), expected) << r[0];
    }
    std::string all(size, '\0');
    EXPECT_EQ(data.ReadBlocks((BYTE*)&all[0], 0, size), (LONGLONG)size);
    EXPECT_EQ(all, file);
}

TEST_F(BinaryDataTest, SearchFindsOverlappingHitsAndWrapsOnce)
{
    std::string bytes(200, '.');
    bytes[10] = bytes[11] = bytes[12] = 'x';
    bytes[40] = 'Q';
    std::wstring path = P(L"search.bin");
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);

    data.SetSearchData((const BYTE*)"xx", 2, 0, 0);
    EXPECT_EQ(data.SearchNext(0), 10);
    EXPECT_EQ(data.SearchNext(0), 11);

    data.SetSearchData((const BYTE*)"Q", 1, 100, 0);
    EXPECT_EQ(data.SearchNext(0), 40);
    EXPECT_EQ(data.SearchNext(0), -1);
    EXPECT_EQ(data.SearchNext(0), 40);

    data.SetSearchData((const BYTE*)"Q", 1, 100, 1); // upwards
    EXPECT_EQ(data.SearchNext(0), 40);
    EXPECT_EQ(data.SearchNext(1), 40); // against the direction: from 39 down to 40
}

// Searches over a file larger than the blocks a search reads at once: hits that start
// in one block and end in the next, overlapping hits, rounds that run across the end
// (or the start) of the file, edits not yet saved that make or break a hit, and the
// comparison with another file, whose differences sit on a block's edge or past its end.
TEST_F(BinaryDataTest, SearchFindsTheSameHitsAcrossBlockEdgesEditsAndRounds)
{
    const LONGLONG B = CBinaryData::kSearchBlock; // a search reads this many positions at once
    const LONGLONG N = 2 * B + 777;
    struct Placed
    {
        LONGLONG offset;
        const char* bytes;
    };
    struct Call
    {
        int reverse;
        LONGLONG expected;
    };
    struct Case
    {
        const char* name;
        std::vector<Placed> onDisk;
        std::vector<Placed> edits;
        const char* pattern;
        LONGLONG start;
        DWORD direction;
        std::vector<Call> calls;
    } cases[] = {
        {"straddling hits from the start",
         {{B - 1, "xyz"}, {2 * B - 2, "xyz"}},
         {},
         "xyz",
         0,
         0,
         {{0, B - 1}, {0, 2 * B - 2}, {0, -1}, {0, B - 1}}},
        {"overlapping hits over an edge",
         {{B - 2, "xxxx"}},
         {},
         "xx",
         0,
         0,
         {{0, B - 2}, {0, B - 1}, {0, B}, {0, -1}, {0, B - 2}}},
        {"a hit that ends at the end of the file", {{N - 3, "xyz"}}, {}, "xyz", 5, 0, {{0, N - 3}, {0, -1}}},
        {"a round across the end",
         {{100, "xy"}, {B + 5, "xy"}, {2 * B, "xy"}},
         {},
         "xy",
         B + 10,
         0,
         {{0, 2 * B}, {0, 100}, {0, B + 5}, {0, -1}, {0, 2 * B}}},
        {"a round upwards across the start",
         {{100, "xy"}, {B + 5, "xy"}, {2 * B, "xy"}, {B + 10, "xy"}},
         {},
         "xy",
         B + 10,
         1,
         {{0, B + 10}, {0, B + 5}, {0, 100}, {0, 2 * B}, {0, -1}, {0, B + 10}}},
        {"against the direction",
         {{100, "xy"}, {B + 5, "xy"}, {2 * B, "xy"}},
         {},
         "xy",
         B,
         0,
         {{0, B + 5}, {1, B + 5}, {1, -1}, {1, 100}, {1, 2 * B}, {0, 2 * B}, {0, 100}, {0, -1}, {0, B + 5}}},
        {"edits make and break hits",
         {{B - 1, "xyq"}, {300, "xyz"}, {N - 1, "x"}},
         {{B + 1, "z"}, {301, "."}, {N - 3, "xy"}, {N - 1, "z"}},
         "xyz",
         0,
         0,
         {{0, B - 1}, {0, N - 3}, {0, -1}}},
        {"a hit on the start, upwards", {{B, "xy"}}, {}, "xy", B, 1, {{0, B}, {0, -1}, {0, B}}},
    };
    std::string base((size_t)N, '\0');
    for (LONGLONG i = 0; i < N; ++i)
        base[(size_t)i] = (char)('a' + (i * 7) % 13);
    for (const Case& c : cases)
    {
        std::string bytes = base;
        for (const Placed& p : c.onDisk)
            bytes.replace((size_t)p.offset, strlen(p.bytes), p.bytes);
        std::wstring path = P(L"blocks.bin");
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        CBinaryData data;
        ASSERT_EQ(data.Open(path.c_str()), 1);
        for (const Placed& e : c.edits)
            data.WriteBytes((const BYTE*)e.bytes, (LONGLONG)strlen(e.bytes), e.offset, data.m_size);
        data.SetSearchData((const BYTE*)c.pattern, (LONGLONG)strlen(c.pattern), c.start, c.direction);
        for (size_t i = 0; i < c.calls.size(); ++i)
            EXPECT_EQ(data.SearchNext(c.calls[i].reverse), c.calls[i].expected) << c.name << ", call " << i;
    }

    // Comparison with another file: the two differ in the byte on the edge and in the
    // last byte of the other file, which is shorter; positions where the other file
    // cannot hold the compared length are never hits.
    std::string edited = base;
    std::string other = base.substr(0, (size_t)(N - 100));
    other[(size_t)B] = 'X';
    other[(size_t)(N - 101)] = 'X';
    std::wstring editedPath = P(L"compare-edited.bin");
    std::wstring otherPath = P(L"compare-other.bin");
    ASSERT_TRUE(WriteFileBytes(editedPath, edited));
    ASSERT_TRUE(WriteFileBytes(otherPath, other));
    CBinaryData data;
    ASSERT_EQ(data.Open(editedPath.c_str()), 1);
    const BYTE unused[2] = {0, 0};
    data.SetSearchData(unused, 2, 0, 0);
    ASSERT_EQ(data.SetCompareData(otherPath.c_str(), nullptr, nullptr, 0, 0, 0, 1, BINVALUE_HEX, 0, 2), 1);
    const LONGLONG differing[] = {B - 1, B, N - 102, -1, B - 1};
    for (LONGLONG expected : differing)
        EXPECT_EQ(data.SearchNext(0), expected) << "differing";

    // The compare value sought in the other file, with an edit in our file that the
    // condition on our bytes must see.
    data.SetSearchData((const BYTE*)"Xb", 2, B + 3, 0);
    ASSERT_EQ(
        data.SetCompareData(otherPath.c_str(), (const BYTE*)"X", nullptr, 0, 1, 0, 0, BINVALUE_TEXT, 0, 1),
        1);
    const LONGLONG compared[] = {N - 101, B, -1};
    for (LONGLONG expected : compared)
        EXPECT_EQ(data.SearchNext(0), expected) << "compare value";
    data.SetByte(B, 'X', BINEDIT_BYTE);
    data.SetSearchData((const BYTE*)"X", 1, 0, 1);
    ASSERT_EQ(
        data.SetCompareData(otherPath.c_str(), (const BYTE*)"X", nullptr, 1, 1, 0, 0, BINVALUE_TEXT, 0, 1),
        1);
    const LONGLONG both[] = {B, -1};
    for (LONGLONG expected : both)
        EXPECT_EQ(data.SearchNext(0), expected) << "edited and compare value";
}

// Candidates are sifted many positions at a time: over bytes where the pattern's first
// byte (and its first two) come often, at every offset within a sifted step, the hits
// and their order are those of a test at each position.
TEST_F(BinaryDataTest, SearchHitsEqualATestAtEachPosition)
{
    std::string bytes(100000, '\0');
    unsigned seed = 12345;
    for (char& b : bytes)
    {
        seed = seed * 1103515245u + 12345u;
        b = (char)('a' + (seed >> 16) % 4);
    }
    std::wstring path = P(L"dense.bin");
    ASSERT_TRUE(WriteFileBytes(path, bytes));
    for (const char* pattern : {"abcd", "ab", "d"})
    {
        std::vector<LONGLONG> expected;
        for (size_t at = bytes.find(pattern); at != std::string::npos; at = bytes.find(pattern, at + 1))
            expected.push_back((LONGLONG)at);
        ASSERT_FALSE(expected.empty()) << pattern;
        if (expected.size() > 400)
            expected.resize(400);
        CBinaryData data;
        ASSERT_EQ(data.Open(path.c_str()), 1);
        data.SetSearchData((const BYTE*)pattern, (LONGLONG)strlen(pattern), 0, 0);
        std::vector<LONGLONG> found;
        while (found.size() < expected.size())
        {
            const LONGLONG hit = data.SearchNext(0);
            if (hit < 0)
                break;
            found.push_back(hit);
        }
        EXPECT_EQ(found, expected) << pattern;
    }
}

// A replace run that writes every hit and searches on must end, also when a hit lies
// just before the place the run began. Nothing is shifted, so each "AA" written puts
// a new "A" under the next search position: from 30 to the end of the file, then 9.
TEST_F(BinaryDataTest, ReplaceAllEndsWhenAHitLiesJustBeforeTheStart)
{
    struct Case
    {
        const char* replacement;
        int expectedCount;
    } cases[] = {{"AA", 21}, {"A", 2}};
    for (const Case& c : cases)
    {
        std::string bytes(50, '.');
        bytes[9] = 'A';
        bytes[30] = 'A';
        std::wstring path = P(L"replace.bin");
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        CBinaryData data;
        ASSERT_EQ(data.Open(path.c_str()), 1);
        data.SetSearchData((const BYTE*)"A", 1, 10, 0);
        int count = 0;
        for (int guard = 0; guard < 100; ++guard)
        {
            LONGLONG hit = data.SearchNext(0);
            if (hit < 0)
                break;
            data.WriteBytes((const BYTE*)c.replacement, (LONGLONG)strlen(c.replacement), hit, data.m_size);
            ++count;
        }
        EXPECT_EQ(count, c.expectedCount) << c.replacement;
    }
}

TEST_F(BinaryDataTest, CompareByDifferenceDoesNotWrapOneByteValues)
{
    std::wstring path = P(L"edited.bin");
    std::wstring other = P(L"other.bin");
    ASSERT_TRUE(WriteFileBytes(path, std::string("\x10\xFF\x05", 3)));
    ASSERT_TRUE(WriteFileBytes(other, std::string("\x11\x00\x09", 3)));
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    const BYTE one = 1;
    data.SetSearchData(&one, 1, 0, 0);
    ASSERT_EQ(data.SetCompareData(other.c_str(), nullptr, &one, 0, 0, 1, 0, BINVALUE_BYTE, 0, 1), 1);
    EXPECT_EQ(data.SearchNext(0), 0);
    EXPECT_EQ(data.SearchNext(0), -1);

    // Differing bytes, without other conditions.
    data.SetSearchData(&one, 1, 0, 0);
    ASSERT_EQ(data.SetCompareData(other.c_str(), nullptr, nullptr, 0, 0, 0, 1, BINVALUE_BYTE, 0, 1), 1);
    EXPECT_EQ(data.SearchNext(0), 0);
    EXPECT_EQ(data.SearchNext(0), 1);
    EXPECT_EQ(data.SearchNext(0), 2);

    data.SetSearchData(&one, 1, 0, 0);
    EXPECT_EQ(data.SetCompareData(P(L"missing.bin").c_str(), nullptr, nullptr, 0, 0, 0, 1, 2, 0, 1), 0);
}

TEST_F(BinaryDataTest, MatchDifferenceByKind)
{
    struct Case
    {
        const char* other;
        const char* edited;
        const char* difference;
        DWORD kind, isSigned;
        int expected;
    } cases[] = {
        {"\x11", "\x10", "\x01", 2, 0, 1},
        {"\x00", "\xFF", "\x01", 2, 0, 0},
        {"\x00", "\xFF", "\x01", 2, 1, 1}, // -1 + 1
        {"\x00\x00", "\xFF\xFF", "\x01\x00", 3, 0, 0},
        {"\x00\x00", "\xFF\xFF", "\x01\x00", 3, 1, 1},
        {"\x00\x00\x00\x00", "\xFF\xFF\xFF\xFF", "\x01\x00\x00\x00", 4, 0, 1}, // 32-bit wrap
        {"\x01", "\x02", "\x03", 1, 0, 1},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(CBinaryData::MatchDifference((const BYTE*)c.other, (const BYTE*)c.edited,
                                               (const BYTE*)c.difference, c.kind, c.isSigned),
                  c.expected)
            << c.kind << " " << c.isSigned;
    }
}

TEST_F(BinaryDataTest, ChangeListGoesByAddress)
{
    std::wstring path = MakeFile(L"list.bin", 100);
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    data.SetByte(70, 0xAB, BINEDIT_BYTE);
    data.SetByte(66, 0x0C, BINEDIT_BYTE);
    data.SetByte(1, 0x5F, BINEDIT_BYTE);
    std::wstring list = P(L"changes.txt");
    ASSERT_EQ(data.WriteChangeList(list.c_str()), 1);
    EXPECT_EQ(ReadFileBytes(list), qvtest::Utf16File(L"ADDRESS    DATA\r\n"
                                                     L"00000001H  5F\r\n"
                                                     L"00000042H  0C\r\n"
                                                     L"00000046H  AB\r\n"));
    EXPECT_EQ(data.WriteChangeList(P(L"no\\such\\folder.txt").c_str()), 0);
}

TEST_F(BinaryDataTest, SaveWritesOnlyTheEditedBytes)
{
    std::wstring path = MakeFile(L"save.bin", 40);
    std::string expected = ReadFileBytes(path);
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    data.SetByte(39, 0xCC, BINEDIT_BYTE);
    data.SetByte(3, 0xDD, BINEDIT_BYTE);
    ASSERT_EQ(data.Save(), 1);
    EXPECT_EQ(data.IsModified(), 0);
    expected[39] = (char)0xCC;
    expected[3] = (char)0xDD;
    EXPECT_EQ(ReadFileBytes(path), expected);
    EXPECT_EQ(ReadRange(data, 0, 40), expected);
}

TEST_F(BinaryDataTest, TwoPanesSavingOneChunkKeepBothBytes)
{
    std::wstring path = MakeFile(L"two.bin", 64);
    std::string expected = ReadFileBytes(path);
    CBinaryData left, right;
    ASSERT_EQ(left.Open(path.c_str()), 1);
    ASSERT_EQ(right.Open(path.c_str()), 1);
    left.SetByte(5, 0x55, BINEDIT_BYTE);
    right.SetByte(6, 0x66, BINEDIT_BYTE);
    ASSERT_EQ(left.Save(), 1);
    right.InvalidateReadWindow();
    ASSERT_EQ(right.Save(), 1);
    expected[5] = 0x55;
    expected[6] = 0x66;
    EXPECT_EQ(ReadFileBytes(path), expected);
}

// The tests run as root, for whom Wine writes read-only files anyway: a program that
// holds the file without write sharing makes the save fail the same way.
TEST_F(BinaryDataTest, SaveThatCannotWriteTheFileFailsAndKeepsTheEdits)
{
    std::wstring path = MakeFile(L"ro.bin", 40);
    std::string original = ReadFileBytes(path);
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    data.SetByte(2, 0x42, BINEDIT_BYTE);
    HANDLE holder =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.Save(), 0);
    CloseHandle(holder);
    EXPECT_EQ(data.IsModified(), 1);
    EXPECT_EQ(ReadRange(data, 2, 1), "\x42");
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(data.Save(), 1);
    original[2] = 0x42;
    EXPECT_EQ(ReadFileBytes(path), original);
}

TEST_F(BinaryDataTest, FilesOfTwoGigabytesOrMoreAreRefused)
{
    const LONGLONG sizes[] = {0x80000000LL, 0x10000000ALL};
    for (LONGLONG size : sizes)
    {
        std::wstring path = P(L"sparse.bin");
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD returned = 0;
        DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER at;
        at.QuadPart = size;
        ASSERT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN));
        ASSERT_TRUE(SetEndOfFile(file));
        CloseHandle(file);
        CBinaryData data;
        EXPECT_EQ(data.Open(path.c_str()), 0) << size;
        EXPECT_EQ(qvtest::W(data.m_path), path);
        DeleteFileW(path.c_str());
    }
}

TEST_F(BinaryDataTest, FillStopsAtTheEndOfTheFile)
{
    std::wstring path = MakeFile(L"fill.bin", 10);
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    // Asked for six billion bytes: a fill that walked the range past the end would not
    // come back within the test's time limit.
    data.FillPattern((const BYTE*)"xyz", 3, 2, 2000000000LL * 3);
    EXPECT_EQ(ReadRange(data, 0, 10), std::string("\x00\x01xyzxyzxy", 10));
    // The last copy is written whole where it passes the end address.
    data.FillPattern((const BYTE*)"ab", 2, 0, 1);
    EXPECT_EQ(ReadRange(data, 0, 3), "abx");
    data.FillPattern((const BYTE*)"q", 0, 0, 10);
    EXPECT_EQ(ReadRange(data, 0, 1), "a");
}

TEST_F(BinaryDataTest, ScrollKeepsOneLineOfMargin)
{
    std::wstring path = MakeFile(L"scroll.bin", 16 * 100);
    CBinaryData data;
    ASSERT_EQ(data.Open(path.c_str()), 1);
    struct Case
    {
        LONGLONG top, cursorLine;
        int shown, follow;
        LONGLONG newTop;
    } cases[] = {
        {0, 5, 10, 1, 0},                         // inside
        {0, 9, 10, 1, 1},                         // below the margin: second from the bottom
        {20, 20, 10, 1, 19},                      // above the margin: second from the top
        {0, 0, 10, 1, 0},    {95, 99, 10, 0, 90}, // only clamped
        {0, 99, 10, 1, 90},
    };
    for (const Case& c : cases)
    {
        data.m_firstLine = c.top;
        data.m_cursor = c.cursorLine * 32;
        int change = data.ScrollToCursor(c.shown, c.follow);
        EXPECT_EQ(data.m_firstLine, c.newTop) << c.top << " " << c.cursorLine;
        EXPECT_EQ(change, c.follow ? (int)(c.newTop - c.top) : 0);
    }
}

} // namespace
