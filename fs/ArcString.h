// The archive client's own strings: UString (UTF-16 code units) and CNarrowString
// (bytes of some code page), the free functions over NUL-terminated texts, number
// formats, code-page conversions and the one ordering of names.
//
// Failures of these classes are thrown as plain integers: 20130221 (wide string)
// or 20130220 (narrow string) when a block would grow above 0x3FFFFFFF characters,
// 282228 when a code-page conversion fails.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <cstdint>

const int kWideStringLimitError = 20130221;
const int kNarrowStringLimitError = 20130220;
const int kCodePageConversionError = 282228;
const uint32_t kStringCapacityLimit = 0x3FFFFFFF;

// Process-wide: when set, names compare by code unit; it starts clear and stays clear.
extern bool g_CaseSensitiveNames;

wchar_t ToUpperWideChar(wchar_t c);
wchar_t ToLowerAsciiChar(wchar_t c);

class UString
{
public:
    UString();
    explicit UString(wchar_t c);
    UString(const wchar_t* text);
    UString(const UString& other);
    ~UString();
    UString& operator=(const UString& other)
    {
        Assign(other);
        return *this;
    }
    UString& operator=(const wchar_t* text)
    {
        Assign(text);
        return *this;
    }

    static UString FromLeftPart(const UString& s, uint32_t count);
    static UString FromLeftChars(const wchar_t* text, uint32_t count);
    UString Substring(uint32_t index, uint32_t count) const;

    void Assign(const wchar_t* text);
    void Assign(const UString& other);
    void AssignBstr(BSTR bstr);
    void AssignAscii(const char* text);
    void AssignChars(const wchar_t* chars, uint32_t count);
    void AssignChar(wchar_t c);

    void Append(const wchar_t* text);
    void Append(const UString& other);
    void AppendAscii(const char* text);
    void AppendChar(wchar_t c);
    void AppendLineFeed() { AppendChar(L'\n'); }
    void AppendBackslash() { AppendChar(L'\\'); }
    uint32_t PrependChar(wchar_t c);
    void InsertChars(uint32_t index, const wchar_t* text);
    void InsertString(uint32_t index, const UString& other);
    // Appends '\\' to a non-empty string that does not already end in a separator.
    void AddTrailingSeparator();

    uint32_t Erase(uint32_t index, uint32_t count);
    void EraseFront(uint32_t count);
    void TruncateAt(uint32_t index);
    // The caller guarantees a non-empty string.
    void RemoveLastChar() { m_chars[--m_length] = 0; }
    void SetCharAt(uint32_t index, wchar_t c) { m_chars[index] = c; }
    void Empty()
    {
        m_length = 0;
        m_chars[0] = 0;
    }
    void ReplaceChar(wchar_t oldChar, wchar_t newChar);
    void TrimTrailingBlanks();

    bool IsEmpty() const { return m_length == 0; }
    uint32_t Length() const { return m_length; }
    uint32_t Capacity() const { return m_capacity; }
    const wchar_t* Chars() const { return m_chars; }
    const wchar_t* CharsAt(uint32_t index) const { return m_chars + index; }
    const wchar_t* TailChars(uint32_t n) const { return m_chars + m_length - n; }
    wchar_t operator[](uint32_t index) const { return m_chars[index]; }
    operator const wchar_t*() const { return m_chars; }

    int FindCharFrom(wchar_t c, uint32_t start) const;
    int FindLastChar(wchar_t c) const;
    int FindLastDot() const { return FindLastChar(L'.'); }
    int FindLastPathSeparator() const;

    bool Equals(const wchar_t* text) const;
    bool EqualsNoCase(const wchar_t* text) const;
    bool EqualsAsciiNoCase(const char* ascii) const;
    bool StartsWithAsciiNoCase(const char* ascii) const;

    void ReserveDiscarding(uint32_t n);
    wchar_t* GetWriteBuffer(uint32_t n);
    void SetLengthAfterWrite(uint32_t n)
    {
        m_length = n;
        m_chars[n] = 0;
    }

private:
    void InsertRaw(uint32_t index, const wchar_t* chars, uint32_t count);
    void GrowTo(uint64_t newCapacity);

    wchar_t* m_chars;
    uint32_t m_length;
    uint32_t m_capacity;
};

UString ConcatStrings(const UString& a, const UString& b);
UString ConcatStringWithChars(const UString& a, const wchar_t* b);
UString ConcatStringChar(const UString& a, wchar_t c);

class CNarrowString
{
public:
    CNarrowString();
    CNarrowString(const char* text);
    CNarrowString(const CNarrowString& other);
    ~CNarrowString();
    CNarrowString& operator=(const CNarrowString& other)
    {
        if (this != &other)
            Assign(other.m_chars);
        return *this;
    }

    void Assign(const char* text);
    uint32_t Length() const { return m_length; }
    uint32_t Capacity() const { return m_capacity; }
    const char* Chars() const { return m_chars; }
    bool IsEmpty() const { return m_length == 0; }
    void Empty()
    {
        m_length = 0;
        m_chars[0] = 0;
    }
    void ReserveDiscarding(uint32_t n);
    char* GetWriteBuffer(uint32_t n);
    void SetLengthAfterWrite(uint32_t n)
    {
        m_length = n;
        m_chars[n] = 0;
    }

private:
    char* m_chars;
    uint32_t m_length;
    uint32_t m_capacity;
};

uint32_t WideLength(const wchar_t* text);
int FindWideChar(const wchar_t* text, wchar_t c);
bool WideStartsWith(const wchar_t* text, const wchar_t* prefix);
bool WideEqualsAscii(const wchar_t* text, const char* ascii);
bool WideEqualsAsciiNoCase(const wchar_t* text, const char* ascii);
bool WideEqualsNoCase(const wchar_t* a, const wchar_t* b);
int WideCompareNoCase(const wchar_t* a, const wchar_t* b);
int ComparePathNames(const wchar_t* a, const wchar_t* b);

// Write decimal digits and a terminator into buffer (at least 11, 21 or 22 characters);
// each returns the position of the terminator.
wchar_t* FormatUInt32Decimal(uint32_t value, wchar_t* buffer);
wchar_t* FormatUInt64Decimal(uint64_t value, wchar_t* buffer);
wchar_t* FormatInt64Decimal(int64_t value, wchar_t* buffer);
uint64_t ParseUInt64Decimal(const wchar_t* text, const wchar_t** end);

UString NarrowToWide(const CNarrowString& text, UINT codePage);
CNarrowString WideToNarrow(const UString& text, UINT codePage);
CNarrowString WideToNarrowWithFlag(const UString& text, UINT codePage, bool& defaultUsed);
