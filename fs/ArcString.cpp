#include "fs/ArcString.h"

#include <cstring>
#include <cwchar>
#include <algorithm>

bool g_CaseSensitiveNames = false;

wchar_t ToUpperWideChar(wchar_t c)
{
    if (c >= L'a' && c <= L'z')
        return static_cast<wchar_t>(c - 32);
    if (c < 128)
        return c;
    // The single-character form: the character travels in place of the string pointer.
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(
                                    static_cast<ULONG_PTR>(static_cast<unsigned short>(c))))) &
                                0xFFFF);
}

wchar_t ToLowerAsciiChar(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
}

namespace
{

bool IsBlank(wchar_t c)
{
    return c == 9 || c == 10 || c == 32;
}

// Capacity after growing to hold needed characters: one and a half times, rounded up to 15 mod 16.
uint64_t GrownCapacity(uint64_t needed)
{
    return (needed + needed / 2) | 15;
}

bool AsciiCharMatches(wchar_t w, char a)
{
    wchar_t aw = static_cast<unsigned char>(a);
    if (w == aw)
        return true;
    if (w >= 128)
        return false;
    return ToLowerAsciiChar(w) == ToLowerAsciiChar(aw);
}
} // namespace

// ---------------------------------------------------------------------------
// UString

UString::UString() : m_chars(new wchar_t[4]), m_length(0), m_capacity(3)
{
    m_chars[0] = 0;
}

UString::UString(wchar_t c) : m_chars(new wchar_t[2]), m_length(1), m_capacity(1)
{
    m_chars[0] = c;
    m_chars[1] = 0;
}

UString::UString(const wchar_t* text) : m_chars(nullptr), m_length(0), m_capacity(0)
{
    uint32_t len = WideLength(text);
    if (len > kStringCapacityLimit)
        throw kWideStringLimitError;
    m_chars = new wchar_t[len + 1];
    std::memcpy(m_chars, text, (len + 1) * sizeof(wchar_t));
    m_length = m_capacity = len;
}

UString::UString(const UString& other)
    : m_chars(new wchar_t[other.m_length + 1]), m_length(other.m_length), m_capacity(other.m_length)
{
    std::memcpy(m_chars, other.m_chars, (m_length + 1) * sizeof(wchar_t));
}

UString::~UString()
{
    delete[] m_chars;
}

UString UString::FromLeftPart(const UString& s, uint32_t count)
{
    if (count > s.m_length)
        count = s.m_length;
    UString r;
    r.AssignChars(s.m_chars, count);
    return r;
}

UString UString::FromLeftChars(const wchar_t* text, uint32_t count)
{
    uint32_t len = 0;
    while (len < count && text[len] != 0)
        len++;
    UString r;
    r.AssignChars(text, len);
    return r;
}

UString UString::Substring(uint32_t index, uint32_t count) const
{
    UString r;
    if (index >= m_length)
        return r;
    if (count > m_length - index)
        count = m_length - index;
    r.AssignChars(m_chars + index, count);
    return r;
}

void UString::GrowTo(uint64_t newCapacity)
{
    if (newCapacity > kStringCapacityLimit || newCapacity < m_length)
        throw kWideStringLimitError;
    wchar_t* block = new wchar_t[static_cast<size_t>(newCapacity) + 1];
    std::memcpy(block, m_chars, (m_length + 1) * sizeof(wchar_t));
    delete[] m_chars;
    m_chars = block;
    m_capacity = static_cast<uint32_t>(newCapacity);
}

void UString::AssignChars(const wchar_t* chars, uint32_t count)
{
    if (count > m_capacity)
    {
        if (count > kStringCapacityLimit)
            throw kWideStringLimitError;
        wchar_t* block = new wchar_t[count + 1];
        std::memcpy(block, chars, count * sizeof(wchar_t));
        delete[] m_chars;
        m_chars = block;
        m_capacity = count;
    }
    else
    {
        // The source may lie inside this block.
        std::memmove(m_chars, chars, count * sizeof(wchar_t));
    }
    m_length = count;
    m_chars[count] = 0;
}

void UString::Assign(const wchar_t* text)
{
    AssignChars(text, WideLength(text));
}

void UString::Assign(const UString& other)
{
    if (&other != this)
        AssignChars(other.m_chars, other.m_length);
}

void UString::AssignBstr(BSTR bstr)
{
    if (!bstr)
    {
        Empty();
        return;
    }
    AssignChars(bstr, SysStringLen(bstr));
}

void UString::AssignAscii(const char* text)
{
    Empty();
    AppendAscii(text);
}

void UString::AssignChar(wchar_t c)
{
    AssignChars(&c, 1);
}

void UString::InsertRaw(uint32_t index, const wchar_t* chars, uint32_t count)
{
    if (count == 0)
        return;
    // Past the end means at the end, like the other edits.
    if (index > m_length)
        index = m_length;
    if (chars >= m_chars && chars <= m_chars + m_capacity)
    {
        // Growing frees the block the characters come from: copy them out first.
        UString copy = FromLeftChars(chars, count);
        InsertRaw(index, copy.m_chars, count);
        return;
    }
    if (m_capacity - m_length < count)
        GrowTo(GrownCapacity(static_cast<uint64_t>(m_length) + count));
    std::memmove(m_chars + index + count, m_chars + index, (m_length - index + 1) * sizeof(wchar_t));
    std::memcpy(m_chars + index, chars, count * sizeof(wchar_t));
    m_length += count;
}

void UString::Append(const wchar_t* text)
{
    InsertRaw(m_length, text, WideLength(text));
}

void UString::Append(const UString& other)
{
    InsertRaw(m_length, other.m_chars, other.m_length);
}

void UString::AppendAscii(const char* text)
{
    uint32_t count = static_cast<uint32_t>(std::strlen(text));
    if (m_capacity - m_length < count)
        GrowTo(GrownCapacity(static_cast<uint64_t>(m_length) + count));
    for (uint32_t i = 0; i < count; i++)
        m_chars[m_length + i] = static_cast<unsigned char>(text[i]);
    m_length += count;
    m_chars[m_length] = 0;
}

void UString::AppendChar(wchar_t c)
{
    if (m_length == m_capacity)
        GrowTo(GrownCapacity(m_length));
    m_chars[m_length++] = c;
    m_chars[m_length] = 0;
}

uint32_t UString::PrependChar(wchar_t c)
{
    if (m_length == m_capacity)
        GrowTo(GrownCapacity(m_length));
    std::memmove(m_chars + 1, m_chars, (m_length + 1) * sizeof(wchar_t));
    m_chars[0] = c;
    return ++m_length;
}

void UString::InsertChars(uint32_t index, const wchar_t* text)
{
    InsertRaw(index, text, WideLength(text));
}

void UString::InsertString(uint32_t index, const UString& other)
{
    InsertRaw(index, other.m_chars, other.m_length);
}

void UString::AddTrailingSeparator()
{
    if (m_length != 0 && m_chars[m_length - 1] != L'\\' && m_chars[m_length - 1] != L'/')
        AppendBackslash();
}

uint32_t UString::Erase(uint32_t index, uint32_t count)
{
    if (index < m_length)
    {
        if (count > m_length - index)
            count = m_length - index;
        std::memmove(m_chars + index, m_chars + index + count,
                     (m_length - index - count + 1) * sizeof(wchar_t));
        m_length -= count;
    }
    return m_length;
}

void UString::EraseFront(uint32_t count)
{
    if (count != 0)
        Erase(0, count);
}

void UString::TruncateAt(uint32_t index)
{
    if (index < m_length)
    {
        m_length = index;
        m_chars[index] = 0;
    }
}

void UString::ReplaceChar(wchar_t oldChar, wchar_t newChar)
{
    if (oldChar == newChar)
        return;
    for (uint32_t i = 0; i < m_length; i++)
        if (m_chars[i] == oldChar)
            m_chars[i] = newChar;
}

void UString::TrimTrailingBlanks()
{
    uint32_t len = m_length;
    while (len != 0 && IsBlank(m_chars[len - 1]))
        len--;
    TruncateAt(len);
}

int UString::FindCharFrom(wchar_t c, uint32_t start) const
{
    for (uint32_t i = start; i < m_length; i++)
        if (m_chars[i] == c)
            return static_cast<int>(i);
    return -1;
}

int UString::FindLastChar(wchar_t c) const
{
    for (uint32_t i = m_length; i != 0; i--)
        if (m_chars[i - 1] == c)
            return static_cast<int>(i - 1);
    return -1;
}

int UString::FindLastPathSeparator() const
{
    for (uint32_t i = m_length; i != 0; i--)
        if (m_chars[i - 1] == L'\\' || m_chars[i - 1] == L'/')
            return static_cast<int>(i - 1);
    return -1;
}

bool UString::Equals(const wchar_t* text) const
{
    return std::wcscmp(m_chars, text) == 0;
}

bool UString::EqualsNoCase(const wchar_t* text) const
{
    return WideEqualsNoCase(m_chars, text);
}

bool UString::EqualsAsciiNoCase(const char* ascii) const
{
    return WideEqualsAsciiNoCase(m_chars, ascii);
}

bool UString::StartsWithAsciiNoCase(const char* ascii) const
{
    for (uint32_t i = 0; ascii[i] != 0; i++)
        if (!AsciiCharMatches(m_chars[i], ascii[i]))
            return false;
    return true;
}

void UString::ReserveDiscarding(uint32_t n)
{
    if (n > kStringCapacityLimit)
        throw kWideStringLimitError;
    wchar_t* block = new wchar_t[n + 1];
    delete[] m_chars;
    m_chars = block;
    m_chars[0] = 0;
    m_length = 0;
    m_capacity = n;
}

wchar_t* UString::GetWriteBuffer(uint32_t n)
{
    if (m_capacity < n)
        ReserveDiscarding(n);
    return m_chars;
}

UString ConcatStrings(const UString& a, const UString& b)
{
    UString r;
    r.ReserveDiscarding(static_cast<uint32_t>(
        std::min<uint64_t>(static_cast<uint64_t>(a.Length()) + b.Length(), kStringCapacityLimit + 1ull)));
    r.Append(a);
    r.Append(b);
    return r;
}

UString ConcatStringWithChars(const UString& a, const wchar_t* b)
{
    uint32_t lenB = WideLength(b);
    UString r;
    r.ReserveDiscarding(static_cast<uint32_t>(
        std::min<uint64_t>(static_cast<uint64_t>(a.Length()) + lenB, kStringCapacityLimit + 1ull)));
    r.Append(a);
    r.Append(b);
    return r;
}

UString ConcatStringChar(const UString& a, wchar_t c)
{
    UString r;
    r.ReserveDiscarding(a.Length() + 1);
    r.Append(a);
    r.AppendChar(c);
    return r;
}

// ---------------------------------------------------------------------------
// CNarrowString

CNarrowString::CNarrowString() : m_chars(new char[4]), m_length(0), m_capacity(3)
{
    m_chars[0] = 0;
}

CNarrowString::CNarrowString(const char* text) : m_chars(nullptr), m_length(0), m_capacity(0)
{
    size_t len = std::strlen(text);
    if (len > kStringCapacityLimit)
        throw kNarrowStringLimitError;
    m_chars = new char[len + 1];
    std::memcpy(m_chars, text, len + 1);
    m_length = m_capacity = static_cast<uint32_t>(len);
}

CNarrowString::CNarrowString(const CNarrowString& other)
    : m_chars(new char[other.m_length + 1]), m_length(other.m_length), m_capacity(other.m_length)
{
    std::memcpy(m_chars, other.m_chars, m_length + 1);
}

CNarrowString::~CNarrowString()
{
    delete[] m_chars;
}

void CNarrowString::Assign(const char* text)
{
    size_t len = std::strlen(text);
    if (len > m_capacity)
    {
        if (len > kStringCapacityLimit)
            throw kNarrowStringLimitError;
        char* block = new char[len + 1];
        std::memcpy(block, text, len + 1);
        delete[] m_chars;
        m_chars = block;
        m_capacity = static_cast<uint32_t>(len);
    }
    else
    {
        std::memmove(m_chars, text, len + 1);
    }
    m_length = static_cast<uint32_t>(len);
}

void CNarrowString::ReserveDiscarding(uint32_t n)
{
    if (n > kStringCapacityLimit)
        throw kNarrowStringLimitError;
    char* block = new char[n + 1];
    delete[] m_chars;
    m_chars = block;
    m_chars[0] = 0;
    m_length = 0;
    m_capacity = n;
}

char* CNarrowString::GetWriteBuffer(uint32_t n)
{
    if (m_capacity < n)
        ReserveDiscarding(n);
    return m_chars;
}

// ---------------------------------------------------------------------------
// Free functions over NUL-terminated texts

uint32_t WideLength(const wchar_t* text)
{
    const wchar_t* p = text;
    while (*p != 0)
        p++;
    return static_cast<uint32_t>(std::min<size_t>(p - text, 0xFFFFFFFFu));
}

int FindWideChar(const wchar_t* text, wchar_t c)
{
    for (int i = 0; text[i] != 0; i++)
        if (text[i] == c)
            return i;
    return -1;
}

bool WideStartsWith(const wchar_t* text, const wchar_t* prefix)
{
    for (; *prefix != 0; text++, prefix++)
        if (*text != *prefix)
            return false;
    return true;
}

bool WideEqualsAscii(const wchar_t* text, const char* ascii)
{
    for (;; text++, ascii++)
    {
        if (*text != static_cast<unsigned char>(*ascii))
            return false;
        if (*text == 0)
            return true;
    }
}

bool WideEqualsAsciiNoCase(const wchar_t* text, const char* ascii)
{
    for (;; text++, ascii++)
    {
        if (!AsciiCharMatches(*text, *ascii))
            return false;
        if (*text == 0)
            return true;
    }
}

bool WideEqualsNoCase(const wchar_t* a, const wchar_t* b)
{
    for (;; a++, b++)
    {
        wchar_t c1 = *a;
        wchar_t c2 = *b;
        if (c1 != c2 && ToUpperWideChar(c1) != ToUpperWideChar(c2))
            return false;
        if (c1 == 0)
            return true;
    }
}

int WideCompareNoCase(const wchar_t* a, const wchar_t* b)
{
    for (;; a++, b++)
    {
        wchar_t c1 = *a;
        wchar_t c2 = *b;
        if (c1 != c2)
        {
            unsigned short u1 = ToUpperWideChar(c1);
            unsigned short u2 = ToUpperWideChar(c2);
            if (u1 < u2)
                return -1;
            if (u1 > u2)
                return 1;
        }
        if (c1 == 0)
            return 0;
    }
}

int ComparePathNames(const wchar_t* a, const wchar_t* b)
{
    if (!g_CaseSensitiveNames)
        return WideCompareNoCase(a, b);
    int r = std::wcscmp(a, b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

wchar_t* FormatUInt32Decimal(uint32_t value, wchar_t* buffer)
{
    wchar_t digits[10];
    int n = 0;
    do
    {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n != 0)
        *buffer++ = digits[--n];
    *buffer = 0;
    return buffer;
}

wchar_t* FormatUInt64Decimal(uint64_t value, wchar_t* buffer)
{
    if (value <= 0xFFFFFFFFu)
        return FormatUInt32Decimal(static_cast<uint32_t>(value), buffer);
    wchar_t digits[20];
    int n = 0;
    do
    {
        digits[n++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n != 0)
        *buffer++ = digits[--n];
    *buffer = 0;
    return buffer;
}

wchar_t* FormatInt64Decimal(int64_t value, wchar_t* buffer)
{
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0)
    {
        *buffer++ = L'-';
        magnitude = 0 - magnitude; // also right for the most negative value
    }
    return FormatUInt64Decimal(magnitude, buffer);
}

uint64_t ParseUInt64Decimal(const wchar_t* text, const wchar_t** end)
{
    uint64_t value = 0;
    const wchar_t* p = text;
    for (; *p >= L'0' && *p <= L'9'; p++)
    {
        unsigned digit = static_cast<unsigned>(*p - L'0');
        if (value > (UINT64_MAX - digit) / 10)
        {
            if (end)
                *end = text;
            return 0;
        }
        value = value * 10 + digit;
    }
    if (end)
        *end = p;
    return value;
}

UString NarrowToWide(const CNarrowString& text, UINT codePage)
{
    UString result;
    if (text.IsEmpty())
        return result;
    int inLen = static_cast<int>(text.Length());
    // A stale error must not turn an empty answer into a failure.
    SetLastError(0);
    int size = MultiByteToWideChar(codePage, 0, text.Chars(), inLen, nullptr, 0);
    if (size == 0)
    {
        if (GetLastError() == 0)
            return result;
        throw kCodePageConversionError;
    }
    wchar_t* buffer = result.GetWriteBuffer(static_cast<uint32_t>(size));
    int written = MultiByteToWideChar(codePage, 0, text.Chars(), inLen, buffer, size);
    if (written == 0)
        throw kCodePageConversionError;
    result.SetLengthAfterWrite(static_cast<uint32_t>(written));
    return result;
}

CNarrowString WideToNarrowWithFlag(const UString& text, UINT codePage, bool& defaultUsed)
{
    defaultUsed = false;
    CNarrowString result;
    if (text.IsEmpty())
        return result;
    // UTF-8 and UTF-7 refuse a default character and the used-default flag.
    bool noDefault = codePage == CP_UTF8 || codePage == CP_UTF7;
    const char* defaultChar = noDefault ? nullptr : "_";
    BOOL used = FALSE;
    BOOL* usedArg = noDefault ? nullptr : &used;
    int inLen = static_cast<int>(text.Length());
    int size = WideCharToMultiByte(codePage, 0, text.Chars(), inLen, nullptr, 0, defaultChar, usedArg);
    if (size == 0)
        throw kCodePageConversionError;
    char* buffer = result.GetWriteBuffer(static_cast<uint32_t>(size));
    used = FALSE;
    int written = WideCharToMultiByte(codePage, 0, text.Chars(), inLen, buffer, size, defaultChar, usedArg);
    if (written == 0)
        throw kCodePageConversionError;
    result.SetLengthAfterWrite(static_cast<uint32_t>(written));
    defaultUsed = used != FALSE;
    return result;
}

CNarrowString WideToNarrow(const UString& text, UINT codePage)
{
    bool defaultUsed;
    return WideToNarrowWithFlag(text, codePage, defaultUsed);
}
