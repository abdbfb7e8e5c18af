// CString (UTF-16) and CStringA (ANSI code page, 932 on the desktops this
// program is for).
//
// A string object is exactly one pointer, to the characters of one heap block
// whose header (reference count, length, capacity) lies just before them.
// Records holding strings may therefore be moved as raw bytes (memcpy into
// fresh storage, swapping records byte-wise, qsort): the block does not know
// where its owner lives. Copies share the block until one of them is written
// (copy on write, interlocked counts, so strings may cross threads). Empty
// strings share one static block and allocate nothing. SetTogether puts the
// blocks of several strings into one allocation: each later block holds a
// count on the first, which frees the allocation when the last of them goes.
//
// Indexes and lengths are in code units (wchar_t resp. bytes), as in the
// Windows API. CStringA searches, trims and case changes step over the
// double-byte characters of the ANSI code page, so that the trail byte of a
// character like "表" (0x95 0x5C) is never taken for a backslash.
#pragma once

#include "framework/FwCore.h"
#include <cstdarg>

typedef CStringT<wchar_t> CString;
typedef CStringT<wchar_t> CStringW;
typedef CStringT<char> CStringA;
template <typename CharT> class CStringPoolT;
typedef CStringPoolT<wchar_t> CStringPool;

namespace fw_detail
{
// Header of a string block; the characters and their NUL follow it.
struct CStringData
{
    LONG refs;    // owners; -1 marks the shared empty block, which is never freed
    int length;   // characters, without the NUL
    int capacity; // characters that fit, without the NUL
    int head;     // 0, or the bytes back to the first block of the same allocation
};

template <typename CharT> struct OtherChar;
template <> struct OtherChar<wchar_t>
{
    using type = char;
};
template <> struct OtherChar<char>
{
    using type = wchar_t;
};
} // namespace fw_detail

template <typename CharT> class CStringT
{
public:
    using XCHAR = CharT;
    using PXSTR = CharT*;
    using PCXSTR = const CharT*;
    using YCHAR = typename fw_detail::OtherChar<CharT>::type;
    using PCYSTR = const YCHAR*;

    CStringT() noexcept;
    CStringT(const CStringT& src) noexcept;
    CStringT(CStringT&& src) noexcept;
    CStringT(PCXSTR psz);                 // null gives an empty string
    CStringT(PCXSTR pch, int length);     // `length` characters, NULs included
    CStringT(XCHAR ch, int repeat = 1);   // `repeat` copies of `ch`
    CStringT(PCYSTR psz);                 // converted through the ANSI code page
    CStringT(const CStringT<YCHAR>& src); // converted through the ANSI code page
    ~CStringT();

    CStringT& operator=(const CStringT& src) noexcept;
    CStringT& operator=(CStringT&& src) noexcept;
    CStringT& operator=(PCXSTR psz);
    CStringT& operator=(XCHAR ch);
    CStringT& operator=(PCYSTR psz);
    CStringT& operator=(const CStringT<YCHAR>& src);

    CStringT& operator+=(const CStringT& src);
    CStringT& operator+=(PCXSTR psz);
    CStringT& operator+=(XCHAR ch);

    void SetString(PCXSTR psz);
    void SetString(PCXSTR pch, int length);
    // Sets strings[i] to the lengths[i] characters at texts[i], for i below count, in
    // one heap allocation: a record that keeps a few short strings made at the same
    // time pays for one allocation instead of one each. Each string stays a string of
    // its own (copies share it, a write gives the writer a block of its own); the
    // allocation is freed when the last of them lets go. Empty texts take no room.
    // The texts must not lie in the strings being set.
    static void SetTogether(CStringT* const* strings, const PCXSTR* texts, const int* lengths, int count);

    int GetLength() const noexcept { return Data()->length; }
    BOOL IsEmpty() const noexcept { return Data()->length == 0; }
    void Empty() noexcept;

    // Index 0..length (GetAt(length) is the NUL) resp. 0..length-1 for SetAt;
    // others throw CInvalidArgException*.
    XCHAR GetAt(int index) const;
    void SetAt(int index, XCHAR ch);
    XCHAR operator[](int index) const { return GetAt(index); }

    operator PCXSTR() const noexcept { return m_psz; }
    PCXSTR GetString() const noexcept { return m_psz; }

    // <0, 0, >0. Compare is by code unit; CompareNoCase ignores the case of
    // letters (CString: as Windows file names do; CStringA: ASCII letters).
    int Compare(PCXSTR psz) const;
    int CompareNoCase(PCXSTR psz) const;

    // Out-of-range arguments are clamped: Mid(-1, 2) == Mid(0, 2),
    // Mid(length + 5) is empty, Left(100) of a shorter string is all of it.
    CStringT Left(int count) const;
    CStringT Mid(int first) const;
    CStringT Mid(int first, int count) const;
    CStringT Right(int count) const;

    // Index of the first match at or after `start`, or -1 (also for a start
    // outside the string). An empty `sub` is found at `start`.
    int Find(XCHAR ch, int start = 0) const;
    int Find(PCXSTR sub, int start = 0) const;
    int ReverseFind(XCHAR ch) const;

    CStringT& MakeUpper();
    CStringT& MakeLower();

    // Without argument white space is removed.
    CStringT& TrimLeft();
    CStringT& TrimLeft(XCHAR target);
    CStringT& TrimLeft(PCXSTR targets);
    CStringT& TrimRight();
    CStringT& TrimRight(XCHAR target);
    CStringT& TrimRight(PCXSTR targets);
    CStringT& Trim();
    CStringT& Trim(XCHAR target);
    CStringT& Trim(PCXSTR targets);

    // Return the number of replacements (an empty `oldText` replaces nothing).
    int Replace(XCHAR oldChar, XCHAR newChar);
    int Replace(PCXSTR oldText, PCXSTR newText);

    // Return the new length; the index is clamped to 0..length.
    int Insert(int index, XCHAR ch);
    int Insert(int index, PCXSTR psz);
    int Delete(int index, int count = 1);

    // A writable buffer with room for at least `minLength` characters and a
    // NUL, holding the current text. Finish with ReleaseBuffer(newLength):
    // -1 takes the length up to the first NUL.
    PXSTR GetBuffer();
    PXSTR GetBuffer(int minLength);
    PXSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    // Characters the current block holds without growing (for tests).
    int GetAllocLength() const noexcept { return Data()->capacity; }

    // A new BSTR (UTF-16) the caller frees with SysFreeString.
    BSTR AllocSysString() const;

    // printf with Microsoft's rules for this character type: in a CString
    // format %s is wide and %S narrow, in a CStringA format the other way
    // round; %I64d, %Id, %IX, %lld are understood. The output is not limited.
    // A malformed format or an unconvertible %S argument throws
    // CInvalidArgException*.
    template <typename... Args> void Format(PCXSTR format, const Args&... args)
    {
        FormatCall(format, fw_detail::FormatArg(args)...);
    }
    void FormatV(PCXSTR format, va_list args);

    // Loads string `id` from AfxGetResourceHandle()'s string table; FALSE
    // (string unchanged) when there is none.
    BOOL LoadString(UINT id);

    friend CStringT operator+(const CStringT& a, const CStringT& b)
    {
        return Concat(a, a.GetLength(), b, b.GetLength());
    }
    friend CStringT operator+(const CStringT& a, PCXSTR b) { return Concat(a, a.GetLength(), b, StrLen(b)); }
    friend CStringT operator+(PCXSTR a, const CStringT& b) { return Concat(a, StrLen(a), b, b.GetLength()); }
    friend CStringT operator+(const CStringT& a, XCHAR b) { return Concat(a, a.GetLength(), &b, 1); }
    friend CStringT operator+(XCHAR a, const CStringT& b) { return Concat(&a, 1, b, b.GetLength()); }

    friend bool operator==(const CStringT& a, const CStringT& b) { return a.Equals(b); }
    friend bool operator==(const CStringT& a, PCXSTR b) { return a.Compare(b) == 0; }
    friend bool operator==(PCXSTR a, const CStringT& b) { return b.Compare(a) == 0; }
    friend bool operator!=(const CStringT& a, const CStringT& b) { return !a.Equals(b); }
    friend bool operator!=(const CStringT& a, PCXSTR b) { return a.Compare(b) != 0; }
    friend bool operator!=(PCXSTR a, const CStringT& b) { return b.Compare(a) != 0; }
    friend bool operator<(const CStringT& a, const CStringT& b) { return a.Compare(b) < 0; }
    friend bool operator<(const CStringT& a, PCXSTR b) { return a.Compare(b) < 0; }
    friend bool operator<(PCXSTR a, const CStringT& b) { return b.Compare(a) > 0; }
    friend bool operator>(const CStringT& a, const CStringT& b) { return a.Compare(b) > 0; }
    friend bool operator>(const CStringT& a, PCXSTR b) { return a.Compare(b) > 0; }
    friend bool operator>(PCXSTR a, const CStringT& b) { return b.Compare(a) < 0; }
    friend bool operator<=(const CStringT& a, const CStringT& b) { return a.Compare(b) <= 0; }
    friend bool operator<=(const CStringT& a, PCXSTR b) { return a.Compare(b) <= 0; }
    friend bool operator<=(PCXSTR a, const CStringT& b) { return b.Compare(a) >= 0; }
    friend bool operator>=(const CStringT& a, const CStringT& b) { return a.Compare(b) >= 0; }
    friend bool operator>=(const CStringT& a, PCXSTR b) { return a.Compare(b) >= 0; }
    friend bool operator>=(PCXSTR a, const CStringT& b) { return b.Compare(a) <= 0; }

private:
    friend class CStringPoolT<CharT>;

    fw_detail::CStringData* Data() const noexcept
    {
        return reinterpret_cast<fw_detail::CStringData*>(m_psz) - 1;
    }
    static int StrLen(PCXSTR psz) noexcept;
    static CStringT Concat(PCXSTR a, int lengthA, PCXSTR b, int lengthB);
    bool Equals(const CStringT& other) const noexcept;
    void FormatCall(PCXSTR format, ...);
    // Makes the block this object's own with room for `capacity` characters,
    // keeping the first min(length, capacity) characters; returns the buffer.
    PXSTR PrepareWrite(int capacity);
    void SetLength(int length) noexcept;
    void Release() noexcept;
    void AssignConverted(PCYSTR psz, int length);
    // Writes the text as a string block at `at` bytes into the allocation `base`,
    // counting `refs` holders, and makes it this object's text; returns the block's
    // size (see SetTogether).
    size_t PlaceInBlock(char* base, size_t at, LONG refs, PCXSTR text, int length);

    PXSTR m_psz;
};

static_assert(sizeof(CString) == sizeof(void*), "a CString must be one pointer");
static_assert(sizeof(CStringA) == sizeof(void*), "a CStringA must be one pointer");

// Allocations that the strings of many records made one after another are carved
// from, as SetTogether carves the strings of one record from one: a walk that makes
// thousands of entries pays for one allocation every few hundred of them. Each
// allocation is freed when the pool has moved on from it and the last string carved
// from it has let go; one string kept for long keeps the whole allocation.
template <typename CharT> class CStringPoolT
{
public:
    explicit CStringPoolT(size_t bytesPerAllocation = 16 << 10) : m_room(bytesPerAllocation) {}
    ~CStringPoolT() { LetGo(); }
    CStringPoolT(const CStringPoolT&) = delete;
    CStringPoolT& operator=(const CStringPoolT&) = delete;

    // As CStringT::SetTogether, the blocks carved from the pool.
    void SetTogether(CStringT<CharT>* const* strings, const CharT* const* texts, const int* lengths,
                     int count);

private:
    // Gives up the current allocation to the strings carved from it.
    void LetGo() noexcept;

    char* m_block = nullptr; // starts with the header every carved string counts on
    size_t m_used = 0;
    size_t m_room;
    LONG m_carved = 0;
};

extern template class CStringT<wchar_t>;
extern template class CStringT<char>;
extern template class CStringPoolT<wchar_t>;
