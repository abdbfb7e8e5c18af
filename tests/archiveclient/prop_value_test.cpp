#include "archiveclient/base/PropValue.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <vector>

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

// Watches the task allocator, which strings of the automation kind come from, for the
// blocks of at least `watchedSize` bytes: how many were taken and how many given back.
class CBigBlockSpy : public IMallocSpy
{
public:
    explicit CBigBlockSpy(SIZE_T watchedSize) : m_watchedSize(watchedSize) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IMallocSpy)
        {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override
    {
        m_pendingBig = size >= m_watchedSize;
        return size;
    }
    void* STDMETHODCALLTYPE PostAlloc(void* actual) override
    {
        if (m_pendingBig && actual != nullptr)
            m_live.push_back(actual);
        m_allocated += m_pendingBig && actual != nullptr;
        m_pendingBig = false;
        return actual;
    }
    void* STDMETHODCALLTYPE PreFree(void* request, BOOL) override
    {
        for (size_t i = 0; i < m_live.size(); ++i)
            if (m_live[i] == request)
            {
                m_live.erase(m_live.begin() + static_cast<std::ptrdiff_t>(i));
                ++m_freed;
                break;
            }
        return request;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** newRequest, BOOL) override
    {
        *newRequest = request;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { return actual; }
    void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

    int m_allocated = 0;
    int m_freed = 0;

private:
    SIZE_T m_watchedSize;
    bool m_pendingBig = false;
    std::vector<void*> m_live;
};

TEST(PropValueTest, NumberReplacesAndFreesAString)
{
    UString big;
    wchar_t* buffer = big.GetWriteBuffer(1 << 20);
    for (uint32_t i = 0; i < (1u << 20); i++)
        buffer[i] = L'x';
    big.SetLengthAfterWrite(1 << 20);

    CBigBlockSpy spy(2u << 20);
    ASSERT_EQ(S_OK, CoRegisterMallocSpy(&spy));
    {
        CPropValue value;
        for (int i = 0; i < 4; i++)
        {
            value.SetString(big);
            ASSERT_EQ(value.vt, VT_BSTR);
            ASSERT_EQ(SysStringLen(value.bstrVal), 1u << 20);
            value.SetUInt32(7);
            ASSERT_EQ(value.vt, VT_UI4);
            ASSERT_EQ(value.ulVal, 7u);
        }
    }
    const int allocated = spy.m_allocated;
    const int freed = spy.m_freed;
    ASSERT_EQ(S_OK, CoRevokeMallocSpy());
    EXPECT_EQ(allocated, 4) << "each string is a block of its own";
    EXPECT_EQ(freed, 4) << "the number must give back the string it replaces";
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
