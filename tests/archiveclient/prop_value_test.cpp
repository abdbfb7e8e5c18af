#include "archiveclient/base/PropValue.h"

#include <gtest/gtest.h>
#include <psapi.h>

namespace
{

FILETIME MakeTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME st = {year, month, 0, day, hour, minute, second, 0};
    FILETIME ft = {};
    EXPECT_TRUE(SystemTimeToFileTime(&st, &ft)) << year;
    return ft;
}

FILETIME AddSeconds(FILETIME ft, int64_t seconds)
{
    uint64_t v = ((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) + seconds * 10000000;
    return FILETIME{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage; // the committed private bytes
}

TEST(PropValueTest, NumberReplacesAndFreesAString)
{
    UString big;
    wchar_t* buffer = big.GetWriteBuffer(8 << 20);
    for (uint32_t i = 0; i < (8u << 20); i++)
        buffer[i] = L'x';
    big.SetLengthAfterWrite(8 << 20);

    CPropValue value;
    SIZE_T before = PrivateBytes();
    for (int i = 0; i < 16; i++)
    {
        value.SetString(big);
        ASSERT_EQ(value.vt, VT_BSTR);
        ASSERT_EQ(SysStringLen(value.bstrVal), 8u << 20);
        value.SetUInt32(7);
        ASSERT_EQ(value.vt, VT_UI4);
        ASSERT_EQ(value.ulVal, 7u);
    }
    // Sixteen strings of 16 MB each would stay behind if the number did not free them.
    EXPECT_LT(PrivateBytes(), before + (64u << 20));
}

TEST(PropValueTest, DetachMovesTheValueAndEmptiesTheSource)
{
    CPropValue source;
    source.SetString(UString(L"name"));
    PROPVARIANT dest;
    PropVariantInit(&dest);
    dest.vt = VT_UI8;
    dest.uhVal.QuadPart = 5;
    EXPECT_EQ(source.DetachTo(&dest), S_OK);
    EXPECT_EQ(source.vt, VT_EMPTY);
    ASSERT_EQ(dest.vt, VT_BSTR);
    EXPECT_STREQ(dest.bstrVal, L"name");
    VariantClear(reinterpret_cast<VARIANT*>(&dest));
}

TEST(PropValueTest, AssignCopiesDeeplyAndClearReportsFailure)
{
    CPropValue text;
    text.SetString(UString(L"a\0b"));
    CPropValue copy;
    copy.SetUInt64(1);
    copy.Assign(text);
    text.Clear();
    ASSERT_EQ(copy.vt, VT_BSTR);
    EXPECT_STREQ(copy.bstrVal, L"a");

    CPropValue time;
    time.SetFileTime(FILETIME{1, 2});
    copy.Assign(time);
    ASSERT_EQ(copy.vt, VT_FILETIME);
    EXPECT_EQ(copy.filetime.dwHighDateTime, 2u);

    CPropValue odd;
    odd.vt = 0x0FFF;
    HRESULT hr = odd.Clear();
    EXPECT_TRUE(FAILED(hr));
    EXPECT_EQ(odd.vt, VT_ERROR);
    EXPECT_EQ(odd.scode, hr);
}

TEST(TimeConversionTest, DosTimeKeepsToItsRange)
{
    const struct
    {
        FILETIME time;
        uint32_t dos;
        bool ok;
    } cases[] = {
        {MakeTime(1979, 12, 31, 23, 59, 59), 0x00210000, false},
        {MakeTime(1980, 1, 1, 0, 0, 0), 0x00210000, true},
        {MakeTime(2024, 3, 5, 7, 8, 10), (44u << 25 | 3u << 21 | 5u << 16 | 7u << 11 | 8u << 5 | 5u), true},
        {MakeTime(2107, 12, 31, 23, 59, 58), 0xFF9FBF7D, true},
        {MakeTime(2108, 1, 1, 0, 0, 0), 0xFF9FBF7D, false},
        {MakeTime(3000, 6, 1, 0, 0, 0), 0xFF9FBF7D, false},
    };
    for (const auto& c : cases)
    {
        uint32_t dos = 1;
        EXPECT_EQ(FileTimeToDosTime(c.time, dos), c.ok) << std::hex << c.dos;
        EXPECT_EQ(dos, c.dos);
    }
}

TEST(TimeConversionTest, UnixTimeAtTheEpochEdges)
{
    const FILETIME epoch = MakeTime(1970, 1, 1, 0, 0, 0);
    const struct
    {
        FILETIME time;
        uint32_t unix;
        bool ok;
    } cases[] = {
        {epoch, 0, true},
        {AddSeconds(epoch, -1), 0, false},
        {AddSeconds(epoch, 0xFFFFFFFFll), 0xFFFFFFFF, true},
        {AddSeconds(epoch, 0x100000000ll), 0xFFFFFFFF, false},
    };
    for (const auto& c : cases)
    {
        uint32_t unix = 1;
        EXPECT_EQ(FileTimeToUnixTime(c.time, unix), c.ok) << c.unix;
        EXPECT_EQ(unix, c.unix);
    }
}

TEST(TimeConversionTest, TextWithAndWithoutTime)
{
    const FILETIME t = MakeTime(2024, 3, 5, 7, 8, 9);
    CNarrowString text;
    EXPECT_TRUE(FileTimeToText(t, text, true, true));
    EXPECT_STREQ(text.Chars(), "2024-03-05 07:08:09");
    EXPECT_TRUE(FileTimeToText(t, text, true, false));
    EXPECT_STREQ(text.Chars(), "2024-03-05 07:08");
    EXPECT_TRUE(FileTimeToText(t, text, false, true));
    EXPECT_STREQ(text.Chars(), "2024-03-05");
    EXPECT_TRUE(FileTimeToText(MakeTime(12345, 1, 2, 0, 0, 0), text, false, false));
    EXPECT_STREQ(text.Chars(), "12345-01-02");
    EXPECT_FALSE(FileTimeToText(FILETIME{0xFFFFFFFF, 0xFFFFFFFF}, text, true, true));
    EXPECT_TRUE(text.IsEmpty());
}

} // namespace
