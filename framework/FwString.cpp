#include "framework/FwString.h"
#include "framework/FwMemory.h"

#include <clocale>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

using fw_detail::CStringData;

namespace
{

// The shared block of every empty string: constant-initialised, so that
// strings constructed during static initialisation of other files find it.
struct NilBlock
{
    CStringData header;
    wchar_t chars[2];
};
NilBlock g_nil = {{-1, 0, 0, 0}, {0, 0}};

template <typename CharT> CharT* NilChars()
{
    return reinterpret_cast<CharT*>(&g_nil.header + 1);
}

template <typename CharT> CharT* AllocBlock(int capacity)
{
    if (capacity < 0)
    {
        AfxThrowMemoryException();
    }
    size_t bytes = sizeof(CStringData) + (static_cast<size_t>(capacity) + 1) * sizeof(CharT);
    auto* data = static_cast<CStringData*>(malloc(bytes));
    if (!data)
    {
        AfxThrowMemoryException();
    }
    data->refs = 1;
    data->length = 0;
    data->capacity = capacity;
    data->head = 0;
    CharT* chars = reinterpret_cast<CharT*>(data + 1);
    chars[0] = 0;
    return chars;
}

// The bytes of one block among others in one allocation (see SetTogether): each
// starts where a header may start.
template <typename CharT> size_t TogetherBlockBytes(int length)
{
    const size_t align = alignof(CStringData);
    return (sizeof(CStringData) + (static_cast<size_t>(length) + 1) * sizeof(CharT) + align - 1) &
           ~(align - 1);
}

// Sum of two lengths, refusing results that no int length can hold.
int AddLengths(int a, int b)
{
    if (b > INT_MAX - 1 - a)
    {
        AfxThrowMemoryException();
    }
    return a + b;
}

// The C runtime converts the arguments of %S (and of %s in the other
// character width) with the code page of its locale. The default "C" locale
// would turn ANSI Japanese text into one character per byte and fail on
// Japanese UTF-16 text, so formatting uses a locale whose character handling
// follows the user's ANSI code page (numbers stay as in "C").
_locale_t FormatLocale()
{
    static _locale_t s_locale = _create_locale(LC_CTYPE, "");
    return s_locale;
}

template <typename CharT> struct Traits;

template <> struct Traits<wchar_t>
{
    static int CharSize(const wchar_t*, const wchar_t*) { return 1; }
    static bool IsSpace(const wchar_t* p, int size) { return size == 1 && iswspace(*p); }
    static int Compare(const wchar_t* a, const wchar_t* b) { return wcscmp(a, b); }
    static int CompareNoCase(const wchar_t* a, const wchar_t* b)
    {
        // Ordinal comparison over upper-case forms: the way Windows matches
        // file names, also for full-width and accented letters.
        switch (CompareStringOrdinal(a, -1, b, -1, TRUE))
        {
        case CSTR_LESS_THAN:
            return -1;
        case CSTR_EQUAL:
            return 0;
        case CSTR_GREATER_THAN:
            return 1;
        default:
            return _wcsicmp(a, b);
        }
    }
    static void MakeUpper(wchar_t* p, int length) { CharUpperBuffW(p, static_cast<DWORD>(length)); }
    static void MakeLower(wchar_t* p, int length) { CharLowerBuffW(p, static_cast<DWORD>(length)); }
    // ANSI code page to UTF-16; with length -1 the count includes the NUL.
    static int Convert(const char* psz, int length, wchar_t* out, int size)
    {
        return MultiByteToWideChar(CP_ACP, 0, psz, length, out, size);
    }
    static int FormattedLength(const wchar_t* format, va_list args)
    {
        return _vscwprintf_l(format, FormatLocale(), args);
    }
    static int Print(wchar_t* buffer, size_t count, const wchar_t* format, va_list args)
    {
        return _vsnwprintf_l(buffer, count, format, FormatLocale(), args);
    }
};

template <> struct Traits<char>
{
    // Length of the character at p: 2 for a lead byte of the ANSI code page
    // followed by a trail byte, else 1.
    static int CharSize(const char* p, const char* end)
    {
        return (p + 1 < end && IsDBCSLeadByte(static_cast<BYTE>(*p))) ? 2 : 1;
    }
    static bool IsSpace(const char* p, int size)
    {
        return size == 1 && (*p == ' ' || (*p >= '\t' && *p <= '\r'));
    }
    static int Compare(const char* a, const char* b) { return strcmp(a, b); }
    static char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
    static int CompareNoCase(const char* a, const char* b)
    {
        const char* endA = a + strlen(a);
        const char* endB = b + strlen(b);
        while (a < endA && b < endB)
        {
            int sizeA = CharSize(a, endA);
            int sizeB = CharSize(b, endB);
            for (int i = 0; i < sizeA && i < sizeB; ++i)
            {
                // Only single-byte characters fold; a trail byte is no letter.
                unsigned char ca = static_cast<unsigned char>(sizeA == 1 ? Fold(a[i]) : a[i]);
                unsigned char cb = static_cast<unsigned char>(sizeB == 1 ? Fold(b[i]) : b[i]);
                if (ca != cb)
                {
                    return ca < cb ? -1 : 1;
                }
            }
            if (sizeA != sizeB)
            {
                return sizeA < sizeB ? -1 : 1;
            }
            a += sizeA;
            b += sizeB;
        }
        return (a < endA) ? 1 : (b < endB) ? -1 : 0;
    }
    static void MakeUpper(char* p, int length)
    {
        for (char* end = p + length; p < end;)
        {
            int size = CharSize(p, end);
            if (size == 1 && *p >= 'a' && *p <= 'z')
            {
                *p = static_cast<char>(*p - 'a' + 'A');
            }
            p += size;
        }
    }
    static void MakeLower(char* p, int length)
    {
        for (char* end = p + length; p < end;)
        {
            int size = CharSize(p, end);
            if (size == 1)
            {
                *p = Fold(*p);
            }
            p += size;
        }
    }
    static int Convert(const wchar_t* psz, int length, char* out, int size)
    {
        return WideCharToMultiByte(CP_ACP, 0, psz, length, out, size, nullptr, nullptr);
    }
    static int FormattedLength(const char* format, va_list args)
    {
        return _vscprintf_l(format, FormatLocale(), args);
    }
    static int Print(char* buffer, size_t count, const char* format, va_list args)
    {
        return _vsnprintf_l(buffer, count, format, FormatLocale(), args);
    }
};

// True when the character [p, p + size) is one of the characters of `set`.
template <typename CharT> bool InSet(const CharT* set, const CharT* p, int size)
{
    const CharT* setEnd = set;
    while (*setEnd)
    {
        ++setEnd;
    }
    for (const CharT* s = set; s < setEnd;)
    {
        int setSize = Traits<CharT>::CharSize(s, setEnd);
        if (setSize == size && memcmp(s, p, size * sizeof(CharT)) == 0)
        {
            return true;
        }
        s += setSize;
    }
    return false;
}

} // namespace

// ---- construction and assignment --------------------------------------------

template <typename CharT> CStringT<CharT>::CStringT() noexcept : m_psz(NilChars<CharT>()) {}

template <typename CharT> CStringT<CharT>::CStringT(const CStringT& src) noexcept : m_psz(src.m_psz)
{
    CStringData* data = Data();
    if (data->refs >= 0)
    {
        InterlockedIncrement(&data->refs);
    }
}

template <typename CharT> CStringT<CharT>::CStringT(CStringT&& src) noexcept : m_psz(src.m_psz)
{
    src.m_psz = NilChars<CharT>();
}

template <typename CharT> CStringT<CharT>::CStringT(PCXSTR psz) : m_psz(NilChars<CharT>())
{
    SetString(psz, StrLen(psz));
}

template <typename CharT> CStringT<CharT>::CStringT(PCXSTR pch, int length) : m_psz(NilChars<CharT>())
{
    SetString(pch, pch ? length : 0);
}

template <typename CharT> CStringT<CharT>::CStringT(XCHAR ch, int repeat) : m_psz(NilChars<CharT>())
{
    if (repeat > 0)
    {
        PXSTR buffer = PrepareWrite(repeat);
        for (int i = 0; i < repeat; ++i)
        {
            buffer[i] = ch;
        }
        SetLength(repeat);
    }
}

template <typename CharT> CStringT<CharT>::CStringT(PCYSTR psz) : m_psz(NilChars<CharT>())
{
    AssignConverted(psz, -1);
}

template <typename CharT> CStringT<CharT>::CStringT(const CStringT<YCHAR>& src) : m_psz(NilChars<CharT>())
{
    AssignConverted(src.GetString(), src.GetLength());
}

template <typename CharT> CStringT<CharT>::~CStringT()
{
    Release();
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::operator=(const CStringT& src) noexcept
{
    if (src.m_psz != m_psz)
    {
        CStringData* data = src.Data();
        if (data->refs >= 0)
        {
            InterlockedIncrement(&data->refs);
        }
        Release();
        m_psz = src.m_psz;
    }
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::operator=(CStringT&& src) noexcept
{
    if (&src != this)
    {
        Release();
        m_psz = src.m_psz;
        src.m_psz = NilChars<CharT>();
    }
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::operator=(PCXSTR psz)
{
    SetString(psz, StrLen(psz));
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::operator=(XCHAR ch)
{
    SetString(&ch, ch ? 1 : 0);
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::operator=(PCYSTR psz)
{
    AssignConverted(psz, -1);
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::operator=(const CStringT<YCHAR>& src)
{
    AssignConverted(src.GetString(), src.GetLength());
    return *this;
}

template <typename CharT> void CStringT<CharT>::SetString(PCXSTR psz)
{
    SetString(psz, StrLen(psz));
}

template <typename CharT> void CStringT<CharT>::SetString(PCXSTR pch, int length)
{
    if (!pch || length <= 0)
    {
        Empty();
        return;
    }
    CStringData* data = Data();
    if (data->refs == 1 && data->capacity >= length)
    {
        // `pch` may lie inside this very buffer.
        memmove(m_psz, pch, length * sizeof(CharT));
        SetLength(length);
        return;
    }
    // Copy before releasing the old block, in which `pch` may lie.
    PXSTR fresh = AllocBlock<CharT>(length);
    memcpy(fresh, pch, length * sizeof(CharT));
    Release();
    m_psz = fresh;
    SetLength(length);
}

template <typename CharT>
void CStringT<CharT>::SetTogether(CStringT* const* strings, const PCXSTR* texts, const int* lengths,
                                  int count)
{
    size_t bytes = 0;
    int blocks = 0;
    for (int i = 0; i < count; ++i)
    {
        if (lengths[i] > 0)
        {
            bytes += TogetherBlockBytes<CharT>(lengths[i]);
            ++blocks;
        }
    }
    char* first = nullptr;
    if (blocks > 0)
    {
        first = static_cast<char*>(malloc(bytes));
        if (!first)
        {
            AfxThrowMemoryException();
        }
    }
    size_t at = 0;
    for (int i = 0; i < count; ++i)
    {
        CStringT& target = *strings[i];
        if (lengths[i] <= 0)
        {
            target.Empty();
            continue;
        }
        // The first block counts one owner for each later block besides its own.
        at += target.PlaceInBlock(first, at, at == 0 ? blocks : 1, texts[i], lengths[i]);
    }
}

template <typename CharT>
size_t CStringT<CharT>::PlaceInBlock(char* base, size_t at, LONG refs, PCXSTR text, int length)
{
    auto* data = reinterpret_cast<CStringData*>(base + at);
    data->refs = refs;
    data->length = length;
    data->capacity = length;
    data->head = static_cast<int>(at);
    auto* chars = reinterpret_cast<CharT*>(data + 1);
    memcpy(chars, text, length * sizeof(CharT));
    chars[length] = 0;
    Release();
    m_psz = chars;
    return TogetherBlockBytes<CharT>(length);
}

template <typename CharT> void CStringT<CharT>::AssignConverted(PCYSTR psz, int length)
{
    if (!psz || length == 0 || (length < 0 && !*psz))
    {
        Empty();
        return;
    }
    int size = Traits<CharT>::Convert(psz, length, nullptr, 0);
    if (size <= 0)
    {
        Empty();
        return;
    }
    CStringT converted;
    PXSTR buffer = converted.PrepareWrite(size);
    size = Traits<CharT>::Convert(psz, length, buffer, size);
    // With length -1 the count includes the terminating NUL.
    converted.SetLength(length < 0 ? size - 1 : size);
    *this = static_cast<CStringT&&>(converted);
}

// ---- block management ---------------------------------------------------------

template <typename CharT> int CStringT<CharT>::StrLen(PCXSTR psz) noexcept
{
    if (!psz)
    {
        return 0;
    }
    size_t length = 0;
    while (psz[length])
    {
        ++length;
    }
    return length > INT_MAX - 1 ? INT_MAX - 1 : static_cast<int>(length);
}

template <typename CharT> void CStringT<CharT>::Release() noexcept
{
    CStringData* data = Data();
    if (data->refs >= 0 && InterlockedDecrement(&data->refs) == 0)
    {
        // A later block of a shared allocation lets go of the first one.
        if (data->head != 0)
        {
            data = reinterpret_cast<CStringData*>(reinterpret_cast<char*>(data) - data->head);
            if (InterlockedDecrement(&data->refs) != 0)
            {
                return;
            }
        }
        free(data);
    }
}

template <typename CharT> void CStringT<CharT>::Empty() noexcept
{
    Release();
    m_psz = NilChars<CharT>();
}

template <typename CharT> typename CStringT<CharT>::PXSTR CStringT<CharT>::PrepareWrite(int capacity)
{
    CStringData* data = Data();
    if (data->refs == 1 && data->capacity >= capacity)
    {
        return m_psz;
    }
    // Only an allocation of its own grows in place (see SetTogether).
    if (data->refs == 1 && data->head == 0)
    {
        if (capacity < 0)
        {
            AfxThrowMemoryException();
        }
        size_t bytes = sizeof(CStringData) + (static_cast<size_t>(capacity) + 1) * sizeof(CharT);
        auto* grown = static_cast<CStringData*>(realloc(data, bytes));
        if (!grown)
        {
            AfxThrowMemoryException();
        }
        grown->capacity = capacity;
        m_psz = reinterpret_cast<PXSTR>(grown + 1);
        return m_psz;
    }
    // Shared (or the empty block): write into a copy of our own.
    int keep = data->length < capacity ? data->length : capacity;
    PXSTR fresh = AllocBlock<CharT>(capacity);
    memcpy(fresh, m_psz, keep * sizeof(CharT));
    Release();
    m_psz = fresh;
    SetLength(keep);
    return m_psz;
}

template <typename CharT> void CStringT<CharT>::SetLength(int length) noexcept
{
    Data()->length = length;
    m_psz[length] = 0;
}

template <typename CharT>
CStringT<CharT> CStringT<CharT>::Concat(PCXSTR a, int lengthA, PCXSTR b, int lengthB)
{
    CStringT result;
    int length = AddLengths(lengthA, lengthB);
    if (length > 0)
    {
        PXSTR buffer = result.PrepareWrite(length);
        memcpy(buffer, a, lengthA * sizeof(CharT));
        memcpy(buffer + lengthA, b, lengthB * sizeof(CharT));
        result.SetLength(length);
    }
    return result;
}

// Grows geometrically so that appending in a loop stays linear.
static int GrownCapacity(int current, int needed)
{
    if (needed <= current)
    {
        return current;
    }
    int grown = current < INT_MAX / 2 ? current + current / 2 : INT_MAX - 1;
    return grown > needed ? grown : needed;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::operator+=(const CStringT& src)
{
    // Holding a reference keeps the source alive when it is this very string.
    CStringT keep(src);
    return *this += keep.m_psz;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::operator+=(PCXSTR psz)
{
    int count = StrLen(psz);
    if (count == 0)
    {
        return *this;
    }
    int length = GetLength();
    int needed = AddLengths(length, count);
    // `psz` may point into this string; find it again after a reallocation.
    uintptr_t offset = reinterpret_cast<uintptr_t>(psz) - reinterpret_cast<uintptr_t>(m_psz);
    bool inside = offset <= length * sizeof(CharT);
    CStringData* data = Data();
    PXSTR buffer = PrepareWrite(data->refs == 1 ? GrownCapacity(data->capacity, needed) : needed);
    if (inside)
    {
        psz = reinterpret_cast<PCXSTR>(reinterpret_cast<const char*>(buffer) + offset);
    }
    memcpy(buffer + length, psz, count * sizeof(CharT));
    SetLength(needed);
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::operator+=(XCHAR ch)
{
    int length = GetLength();
    int needed = AddLengths(length, 1);
    CStringData* data = Data();
    PXSTR buffer = PrepareWrite(data->refs == 1 ? GrownCapacity(data->capacity, needed) : needed);
    buffer[length] = ch;
    SetLength(needed);
    return *this;
}

// ---- access and comparison ------------------------------------------------------

template <typename CharT> typename CStringT<CharT>::XCHAR CStringT<CharT>::GetAt(int index) const
{
    if (index < 0 || index > GetLength())
    {
        AfxThrowInvalidArgException();
    }
    return m_psz[index];
}

template <typename CharT> void CStringT<CharT>::SetAt(int index, XCHAR ch)
{
    if (index < 0 || index >= GetLength())
    {
        AfxThrowInvalidArgException();
    }
    PrepareWrite(GetLength())[index] = ch;
}

template <typename CharT> int CStringT<CharT>::Compare(PCXSTR psz) const
{
    return Traits<CharT>::Compare(m_psz, psz ? psz : NilChars<CharT>());
}

template <typename CharT> int CStringT<CharT>::CompareNoCase(PCXSTR psz) const
{
    return Traits<CharT>::CompareNoCase(m_psz, psz ? psz : NilChars<CharT>());
}

template <typename CharT> bool CStringT<CharT>::Equals(const CStringT& other) const noexcept
{
    return m_psz == other.m_psz ||
           (GetLength() == other.GetLength() && memcmp(m_psz, other.m_psz, GetLength() * sizeof(CharT)) == 0);
}

// ---- extraction and search --------------------------------------------------------

template <typename CharT> CStringT<CharT> CStringT<CharT>::Mid(int first, int count) const
{
    int length = GetLength();
    if (first < 0)
    {
        first = 0;
    }
    if (first > length)
    {
        first = length;
    }
    if (count < 0)
    {
        count = 0;
    }
    if (count > length - first)
    {
        count = length - first;
    }
    if (first == 0 && count == length)
    {
        return *this;
    }
    return CStringT(m_psz + first, count);
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::Mid(int first) const
{
    return Mid(first, INT_MAX);
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::Left(int count) const
{
    return Mid(0, count);
}

template <typename CharT> CStringT<CharT> CStringT<CharT>::Right(int count) const
{
    if (count < 0)
    {
        count = 0;
    }
    int length = GetLength();
    return count >= length ? *this : Mid(length - count, count);
}

template <typename CharT> int CStringT<CharT>::Find(XCHAR ch, int start) const
{
    int length = GetLength();
    if (start < 0 || start >= length)
    {
        return -1;
    }
    PCXSTR end = m_psz + length;
    for (PCXSTR p = m_psz + start; p < end;)
    {
        int size = Traits<CharT>::CharSize(p, end);
        if (size == 1 && *p == ch)
        {
            return static_cast<int>(p - m_psz);
        }
        p += size;
    }
    return -1;
}

template <typename CharT> int CStringT<CharT>::Find(PCXSTR sub, int start) const
{
    int length = GetLength();
    if (!sub || start < 0 || start > length)
    {
        return -1;
    }
    int count = StrLen(sub);
    PCXSTR end = m_psz + length;
    for (PCXSTR p = m_psz + start; p + count <= end;)
    {
        if (memcmp(p, sub, count * sizeof(CharT)) == 0)
        {
            return static_cast<int>(p - m_psz);
        }
        p += Traits<CharT>::CharSize(p, end);
    }
    return -1;
}

template <typename CharT> int CStringT<CharT>::ReverseFind(XCHAR ch) const
{
    // Forwards, so that ANSI character boundaries are known.
    int found = -1;
    PCXSTR end = m_psz + GetLength();
    for (PCXSTR p = m_psz; p < end;)
    {
        int size = Traits<CharT>::CharSize(p, end);
        if (size == 1 && *p == ch)
        {
            found = static_cast<int>(p - m_psz);
        }
        p += size;
    }
    return found;
}

// ---- modification -------------------------------------------------------------------

template <typename CharT> CStringT<CharT>& CStringT<CharT>::MakeUpper()
{
    if (!IsEmpty())
    {
        Traits<CharT>::MakeUpper(PrepareWrite(GetLength()), GetLength());
    }
    return *this;
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::MakeLower()
{
    if (!IsEmpty())
    {
        Traits<CharT>::MakeLower(PrepareWrite(GetLength()), GetLength());
    }
    return *this;
}

namespace
{
// Trims characters for which `remove(p, size)` holds from the chosen ends of
// [begin, begin + length); returns the kept range through first/count.
template <typename CharT, typename Pred>
void TrimRange(const CharT* begin, int length, bool left, bool right, Pred remove, int& first, int& count)
{
    const CharT* end = begin + length;
    const CharT* p = begin;
    if (left)
    {
        while (p < end)
        {
            int size = Traits<CharT>::CharSize(p, end);
            if (!remove(p, size))
            {
                break;
            }
            p += size;
        }
    }
    const CharT* keptEnd = end;
    if (right)
    {
        keptEnd = p;
        for (const CharT* q = p; q < end;)
        {
            int size = Traits<CharT>::CharSize(q, end);
            q += size;
            if (!remove(q - size, size))
            {
                keptEnd = q;
            }
        }
    }
    first = static_cast<int>(p - begin);
    count = static_cast<int>(keptEnd - p);
}
} // namespace

namespace
{
template <typename CharT, typename Pred>
CStringT<CharT>& TrimString(CStringT<CharT>& s, bool left, bool right, Pred remove)
{
    int first, count;
    TrimRange(s.GetString(), s.GetLength(), left, right, remove, first, count);
    if (count != s.GetLength())
    {
        s.SetString(s.GetString() + first, count); // copes with the overlap
    }
    return s;
}

template <typename CharT> struct IsSpace
{
    bool operator()(const CharT* p, int size) const { return Traits<CharT>::IsSpace(p, size); }
};

template <typename CharT> struct IsChar
{
    CharT target;
    bool operator()(const CharT* p, int size) const { return size == 1 && *p == target; }
};

template <typename CharT> struct IsOneOf
{
    const CharT* targets;
    bool operator()(const CharT* p, int size) const { return targets && InSet(targets, p, size); }
};
} // namespace

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimLeft()
{
    return TrimString(*this, true, false, IsSpace<CharT>());
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimLeft(XCHAR target)
{
    return TrimString(*this, true, false, IsChar<CharT>{target});
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimLeft(PCXSTR targets)
{
    return TrimString(*this, true, false, IsOneOf<CharT>{targets});
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimRight()
{
    return TrimString(*this, false, true, IsSpace<CharT>());
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimRight(XCHAR target)
{
    return TrimString(*this, false, true, IsChar<CharT>{target});
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::TrimRight(PCXSTR targets)
{
    return TrimString(*this, false, true, IsOneOf<CharT>{targets});
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::Trim()
{
    return TrimString(*this, true, true, IsSpace<CharT>());
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::Trim(XCHAR target)
{
    return TrimString(*this, true, true, IsChar<CharT>{target});
}

template <typename CharT> CStringT<CharT>& CStringT<CharT>::Trim(PCXSTR targets)
{
    return TrimString(*this, true, true, IsOneOf<CharT>{targets});
}

template <typename CharT> int CStringT<CharT>::Replace(XCHAR oldChar, XCHAR newChar)
{
    int length = GetLength();
    int first = Find(oldChar);
    if (first < 0 || oldChar == newChar)
    {
        return 0;
    }
    PXSTR buffer = PrepareWrite(length);
    int replaced = 0;
    PCXSTR end = buffer + length;
    for (PXSTR p = buffer + first; p < end;)
    {
        int size = Traits<CharT>::CharSize(p, end);
        if (size == 1 && *p == oldChar)
        {
            *p = newChar;
            ++replaced;
        }
        p += size;
    }
    return replaced;
}

template <typename CharT> int CStringT<CharT>::Replace(PCXSTR oldText, PCXSTR newText)
{
    int oldCount = StrLen(oldText);
    if (oldCount == 0)
    {
        return 0;
    }
    int newCount = StrLen(newText);
    int length = GetLength();
    PCXSTR end = m_psz + length;
    int matches = 0;
    for (PCXSTR p = m_psz; p + oldCount <= end;)
    {
        if (memcmp(p, oldText, oldCount * sizeof(CharT)) == 0)
        {
            ++matches;
            p += oldCount;
        }
        else
        {
            p += Traits<CharT>::CharSize(p, end);
        }
    }
    if (matches == 0)
    {
        return 0;
    }
    // Built in a new string: the arguments may point into this one.
    long long resultLength = length + static_cast<long long>(matches) * (newCount - oldCount);
    if (resultLength > INT_MAX - 1)
    {
        AfxThrowMemoryException();
    }
    CStringT result;
    if (resultLength > 0)
    {
        PXSTR out = result.PrepareWrite(static_cast<int>(resultLength));
        for (PCXSTR p = m_psz; p < end;)
        {
            if (p + oldCount <= end && memcmp(p, oldText, oldCount * sizeof(CharT)) == 0)
            {
                memcpy(out, newText, newCount * sizeof(CharT));
                out += newCount;
                p += oldCount;
            }
            else
            {
                int size = Traits<CharT>::CharSize(p, end);
                memcpy(out, p, size * sizeof(CharT));
                out += size;
                p += size;
            }
        }
        result.SetLength(static_cast<int>(resultLength));
    }
    *this = static_cast<CStringT&&>(result);
    return matches;
}

template <typename CharT> int CStringT<CharT>::Insert(int index, XCHAR ch)
{
    XCHAR text[2] = {ch, 0};
    if (ch == 0)
    {
        return GetLength();
    }
    return Insert(index, text);
}

template <typename CharT> int CStringT<CharT>::Insert(int index, PCXSTR psz)
{
    int length = GetLength();
    int count = StrLen(psz);
    if (count == 0)
    {
        return length;
    }
    if (index < 0)
    {
        index = 0;
    }
    if (index > length)
    {
        index = length;
    }
    CStringT keep(psz, count); // `psz` may point into this string
    int needed = AddLengths(length, count);
    PXSTR buffer = PrepareWrite(GrownCapacity(Data()->refs == 1 ? Data()->capacity : 0, needed));
    memmove(buffer + index + count, buffer + index, (length - index) * sizeof(CharT));
    memcpy(buffer + index, keep.m_psz, count * sizeof(CharT));
    SetLength(needed);
    return needed;
}

template <typename CharT> int CStringT<CharT>::Delete(int index, int count)
{
    int length = GetLength();
    if (index < 0)
    {
        index = 0;
    }
    if (count <= 0 || index >= length)
    {
        return length;
    }
    if (count > length - index)
    {
        count = length - index;
    }
    PXSTR buffer = PrepareWrite(length);
    memmove(buffer + index, buffer + index + count, (length - index - count) * sizeof(CharT));
    SetLength(length - count);
    return length - count;
}

// ---- buffers ------------------------------------------------------------------------

template <typename CharT> typename CStringT<CharT>::PXSTR CStringT<CharT>::GetBuffer()
{
    return PrepareWrite(GetLength());
}

template <typename CharT> typename CStringT<CharT>::PXSTR CStringT<CharT>::GetBuffer(int minLength)
{
    if (minLength < 0)
    {
        AfxThrowInvalidArgException();
    }
    return PrepareWrite(minLength > GetLength() ? minLength : GetLength());
}

template <typename CharT> typename CStringT<CharT>::PXSTR CStringT<CharT>::GetBufferSetLength(int length)
{
    if (length < 0)
    {
        AfxThrowInvalidArgException();
    }
    int old = GetLength();
    PXSTR buffer = PrepareWrite(length);
    for (int i = old; i < length; ++i)
    {
        buffer[i] = 0;
    }
    SetLength(length);
    return buffer;
}

template <typename CharT> void CStringT<CharT>::ReleaseBuffer(int newLength)
{
    if (Data()->refs != 1)
    {
        // No GetBuffer before: nothing was written, only the length may change.
        PrepareWrite(GetLength());
    }
    int capacity = Data()->capacity;
    if (newLength < 0)
    {
        newLength = 0;
        while (newLength < capacity && m_psz[newLength])
        {
            ++newLength;
        }
    }
    else if (newLength > capacity)
    {
        newLength = capacity;
    }
    if (newLength == 0)
    {
        Empty();
        return;
    }
    SetLength(newLength);
}

template <typename CharT> BSTR CStringT<CharT>::AllocSysString() const
{
    CStringW wide(*this);
    BSTR result = SysAllocStringLen(wide.GetString(), static_cast<UINT>(wide.GetLength()));
    if (!result)
    {
        AfxThrowMemoryException();
    }
    return result;
}

// ---- formatting and resources ---------------------------------------------------------

template <typename CharT> void CStringT<CharT>::FormatCall(PCXSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

template <typename CharT> void CStringT<CharT>::FormatV(PCXSTR format, va_list args)
{
    if (!format)
    {
        AfxThrowInvalidArgException();
    }
    // The C runtime of the program (msvcrt) formats with Microsoft's rules;
    // MinGW's own printf, which C++ code gets by default for the plain names,
    // would read %s in a wide format as a narrow string.
    va_list counting;
    va_copy(counting, args);
    int length = Traits<CharT>::FormattedLength(format, counting);
    va_end(counting);
    if (length < 0)
    {
        AfxThrowInvalidArgException();
    }
    // Formatted into a new string: the format or an argument may be this one.
    CStringT result;
    if (length > 0)
    {
        PXSTR buffer = result.PrepareWrite(length);
        int written = Traits<CharT>::Print(buffer, static_cast<size_t>(length) + 1, format, args);
        if (written < 0 || written > length)
        {
            AfxThrowInvalidArgException();
        }
        result.SetLength(written);
    }
    *this = static_cast<CStringT&&>(result);
}

template <typename CharT> BOOL CStringT<CharT>::LoadString(UINT id)
{
    // With a zero buffer size LoadStringW hands out the resource text itself,
    // which is not NUL-terminated, and returns its length.
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
    {
        return FALSE;
    }
    *this = CStringW(text, length);
    return TRUE;
}

// ---- pool ---------------------------------------------------------------------------

namespace
{
// The count the header of a pool's allocation starts with: more than any allocation
// holds strings, so that strings let go of before the pool moves on never free it.
const LONG kPoolCount = 1 << 30;
} // namespace

template <typename CharT>
void CStringPoolT<CharT>::SetTogether(CStringT<CharT>* const* strings, const CharT* const* texts,
                                      const int* lengths, int count)
{
    size_t bytes = 0;
    for (int i = 0; i < count; ++i)
    {
        if (lengths[i] > 0)
        {
            bytes += TogetherBlockBytes<CharT>(lengths[i]);
        }
    }
    if (m_block && m_used + bytes > m_room)
    {
        LetGo();
    }
    if (!m_block && bytes > 0)
    {
        const size_t room = m_room > bytes + sizeof(CStringData) ? m_room : bytes + sizeof(CStringData);
        m_block = static_cast<char*>(malloc(room));
        if (!m_block)
        {
            AfxThrowMemoryException();
        }
        // The strings of a walk fill the allocation from end to end: its pages are
        // mapped in one call rather than a fault per page.
        FwPrefaultPages(m_block, room);
        auto* header = reinterpret_cast<CStringData*>(m_block);
        header->refs = kPoolCount;
        header->length = 0;
        header->capacity = 0;
        header->head = 0;
        m_used = sizeof(CStringData);
        m_room = room;
        m_carved = 0;
    }
    for (int i = 0; i < count; ++i)
    {
        CStringT<CharT>& target = *strings[i];
        if (lengths[i] <= 0)
        {
            target.Empty();
            continue;
        }
        m_used += target.PlaceInBlock(m_block, m_used, 1, texts[i], lengths[i]);
        ++m_carved;
    }
}

template <typename CharT> void CStringPoolT<CharT>::LetGo() noexcept
{
    if (!m_block)
    {
        return;
    }
    // The header now counts the strings carved from it that are still there.
    auto* header = reinterpret_cast<CStringData*>(m_block);
    if (InterlockedExchangeAdd(&header->refs, m_carved - kPoolCount) == kPoolCount - m_carved)
    {
        free(m_block);
    }
    m_block = nullptr;
}

template class CStringT<wchar_t>;
template class CStringT<char>;
template class CStringPoolT<wchar_t>;
