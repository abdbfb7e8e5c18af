#include "archiveclient/base/PropValue.h"

#include <cstring>

namespace
{
const char* const kOutOfMemory = "out of memory";

// Types whose value is held in place and owns nothing.
bool IsPlainType(VARTYPE vt)
{
    return (vt >= VT_I2 && vt <= VT_DATE) || vt == VT_ERROR || vt == VT_BOOL ||
           (vt >= VT_I1 && vt <= VT_UI4) || (vt >= VT_UI8 && vt <= VT_UINT) || vt == VT_FILETIME;
}

HRESULT ClearValue(PROPVARIANT* value)
{
    VARTYPE vt = value->vt;
    if (vt == VT_EMPTY)
        return S_OK;
    if (IsPlainType(vt))
    {
        std::memset(value, 0, sizeof(PROPVARIANT));
        return S_OK;
    }
    HRESULT hr = VariantClear(reinterpret_cast<VARIANT*>(value));
    if (FAILED(hr))
    {
        value->vt = VT_ERROR;
        value->scode = hr;
    }
    return hr;
}
} // namespace

CPropValue::CPropValue()
{
    std::memset(static_cast<PROPVARIANT*>(this), 0, sizeof(PROPVARIANT));
}

CPropValue::CPropValue(const CPropValue& other) : CPropValue()
{
    Assign(other);
}

CPropValue& CPropValue::operator=(const CPropValue& other)
{
    Assign(other);
    return *this;
}

HRESULT CPropValue::Clear()
{
    return ClearValue(this);
}

void CPropValue::SetString(const UString& text)
{
    Clear();
    BSTR s = SysAllocStringLen(text.Chars(), text.Length());
    if (!s)
        throw kOutOfMemory;
    vt = VT_BSTR;
    bstrVal = s;
}

void CPropValue::SetBool(bool value)
{
    if (vt != VT_BOOL)
    {
        Clear();
        vt = VT_BOOL;
    }
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void CPropValue::SetUInt32(uint32_t value)
{
    if (vt != VT_UI4)
    {
        Clear();
        vt = VT_UI4;
    }
    ulVal = value;
}

void CPropValue::SetUInt64(uint64_t value)
{
    if (vt != VT_UI8)
    {
        Clear();
        vt = VT_UI8;
    }
    uhVal.QuadPart = value;
}

void CPropValue::SetFileTime(const FILETIME& value)
{
    if (vt != VT_FILETIME)
    {
        Clear();
        vt = VT_FILETIME;
    }
    filetime = value;
}

void CPropValue::Assign(const PROPVARIANT& other)
{
    if (&other == this)
        return;
    Clear();
    if (IsPlainType(other.vt))
    {
        std::memcpy(static_cast<PROPVARIANT*>(this), &other, sizeof(PROPVARIANT));
        return;
    }
    HRESULT hr = VariantCopy(reinterpret_cast<VARIANT*>(static_cast<PROPVARIANT*>(this)),
                             reinterpret_cast<VARIANT*>(const_cast<PROPVARIANT*>(&other)));
    if (hr == E_OUTOFMEMORY)
        throw kOutOfMemory;
    if (FAILED(hr))
    {
        vt = VT_ERROR;
        scode = hr;
    }
}

HRESULT CPropValue::DetachTo(PROPVARIANT* dest)
{
    if (dest->vt != VT_EMPTY)
    {
        HRESULT hr = ClearValue(dest);
        if (FAILED(hr))
            return hr;
    }
    std::memcpy(dest, static_cast<PROPVARIANT*>(this), sizeof(PROPVARIANT));
    vt = VT_EMPTY;
    return S_OK;
}

namespace
{
char* PutTwoDigits(char* p, unsigned value)
{
    *p++ = static_cast<char>('0' + value / 10 % 10);
    *p++ = static_cast<char>('0' + value % 10);
    return p;
}
} // namespace

bool FileTimeToText(const FILETIME& time, CNarrowString& out, bool withTime, bool withSeconds)
{
    out.Empty();
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(&time, &st))
        return false;
    char text[32];
    char* p = text;
    unsigned year = st.wYear;
    if (year > 9999)
        *p++ = static_cast<char>('0' + year / 10000);
    p = PutTwoDigits(p, year / 100 % 100);
    p = PutTwoDigits(p, year % 100);
    *p++ = '-';
    p = PutTwoDigits(p, st.wMonth);
    *p++ = '-';
    p = PutTwoDigits(p, st.wDay);
    if (withTime)
    {
        *p++ = ' ';
        p = PutTwoDigits(p, st.wHour);
        *p++ = ':';
        p = PutTwoDigits(p, st.wMinute);
        if (withSeconds)
        {
            *p++ = ':';
            p = PutTwoDigits(p, st.wSecond);
        }
    }
    *p = 0;
    out.Assign(text);
    return true;
}

bool FileTimeToDosTime(const FILETIME& time, uint32_t& dosTime)
{
    // Some systems wrap a year after 2107 into the 7-bit year field instead of failing.
    const uint64_t kYear2108 = 0x023868B86803C000ull;
    uint64_t value = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    WORD date = 0;
    WORD dayTime = 0;
    if (value < kYear2108 && FileTimeToDosDateTime(&time, &date, &dayTime))
    {
        dosTime = (static_cast<uint32_t>(date) << 16) | dayTime;
        return true;
    }
    // Outside the DOS range: the nearest end of it.
    dosTime = time.dwHighDateTime < 0x01C00000 ? 0x00210000 : 0xFF9FBF7D;
    return false;
}

bool FileTimeToUnixTime(const FILETIME& time, uint32_t& unixTime)
{
    const uint64_t kEpochSeconds = 11644473600ull;
    uint64_t seconds = ((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000000;
    if (seconds < kEpochSeconds)
    {
        unixTime = 0;
        return false;
    }
    seconds -= kEpochSeconds;
    if (seconds > 0xFFFFFFFFu)
    {
        unixTime = 0xFFFFFFFF;
        return false;
    }
    unixTime = static_cast<uint32_t>(seconds);
    return true;
}

void GetCurrentUtcFileTime(FILETIME& time)
{
    GetSystemTimeAsFileTime(&time);
}
