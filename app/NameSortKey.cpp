#include "app/NameSortKey.h"

#include "app/Settings.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

namespace
{
// The folding of CompareNamesForSort: case, non-spacing marks, kana type and width.
const DWORD kFoldingFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;

// Segment marks of a natural-order key: a run of digits sorts before any text at the
// same place, and the end of the name before both.
const BYTE kEndMark = 0x00;
const BYTE kNumberMark = 0x01;
const BYTE kTextMark = 0x02;

bool IsAsciiDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// The key of one character as the natural order compares characters (without
// case, in the thread's locale), asked once per character and kept.
class CCharacterKeys
{
public:
    CCharacterKeys() { InitializeSRWLock(&m_lock); }

    // Appends the key of `c` with its terminating zero; false when it does not fit
    // or the system made none.
    bool Append(wchar_t c, BYTE* out, int& used, int capacity)
    {
        AcquireSRWLockExclusive(&m_lock);
        std::vector<BYTE>& key = m_keys[static_cast<unsigned short>(c)];
        if (key.empty())
        {
            BYTE made[64];
            int length = LCMapStringW(GetThreadLocale(), LCMAP_SORTKEY | NORM_IGNORECASE, &c, 1,
                                      reinterpret_cast<LPWSTR>(made), sizeof made);
            if (length > 0)
                key.assign(made, made + length);
        }
        bool fits = !key.empty() && used + static_cast<int>(key.size()) <= capacity;
        if (fits)
        {
            memcpy(out + used, key.data(), key.size());
            used += static_cast<int>(key.size());
        }
        ReleaseSRWLockExclusive(&m_lock);
        return fits;
    }

private:
    SRWLOCK m_lock;
    std::vector<BYTE> m_keys[65536];
};

CCharacterKeys& CharacterKeys()
{
    static CCharacterKeys* keys = new CCharacterKeys; // lives as long as the process
    return *keys;
}

// The natural order compares runs of digits by their value and the text between them
// without case. A number is written as its count of significant digits and the
// digits, so that byte order is value order at any length; text is written as the
// system's key of the whole run or of each character, whose terminating zero byte
// closes it.
int MakeLogicalKey(LPCWSTR name, int length, bool byCharacter, bool wrapped, BYTE* out, int capacity)
{
    int used = 0;
    int i = 0;
    while (i < length)
    {
        if (IsAsciiDigit(name[i]))
        {
            while (i < length && name[i] == L'0' && i + 1 < length && IsAsciiDigit(name[i + 1]))
                ++i;
            int start = i;
            while (i < length && IsAsciiDigit(name[i]))
                ++i;
            int digits = i - start;
            if (wrapped)
            {
                // The value as a 32-bit accumulator leaves it, compared signed: the
                // sign bit flipped makes byte order signed order.
                unsigned int value = 0;
                for (int d = start; d < i; ++d)
                    value = value * 10u + static_cast<unsigned int>(name[d] - L'0');
                value ^= 0x80000000u;
                if (used + 5 > capacity)
                    return 0;
                out[used++] = kNumberMark;
                for (int shift = 24; shift >= 0; shift -= 8)
                    out[used++] = static_cast<BYTE>(value >> shift);
                continue;
            }
            if (digits > 255 || used + 2 + digits > capacity)
                return 0;
            out[used++] = kNumberMark;
            out[used++] = static_cast<BYTE>(digits);
            for (int d = start; d < i; ++d)
                out[used++] = static_cast<BYTE>(name[d]);
        }
        else
        {
            if (byCharacter)
            {
                if (used + 1 >= capacity)
                    return 0;
                out[used++] = kTextMark;
                if (!CharacterKeys().Append(name[i], out, used, capacity))
                    return 0;
                ++i;
                continue;
            }
            int start = i;
            while (i < length && !IsAsciiDigit(name[i]))
                ++i;
            if (used + 1 >= capacity)
                return 0;
            out[used++] = kTextMark;
            int made = LCMapStringW(GetThreadLocale(), LCMAP_SORTKEY | NORM_IGNORECASE, name + start,
                                    i - start, reinterpret_cast<LPWSTR>(out + used), capacity - used);
            if (made <= 0)
                return 0;
            used += made;
        }
    }
    if (used >= capacity)
        return 0;
    out[used++] = kEndMark;
    return used;
}
// Names on which a form of natural-order key must agree with the function: case,
// width, kana, marks, punctuation inside words, numbers of every length.
const wchar_t* const kTrialNames[] = {
    L"",
    L"a",
    L"A",
    L"\uFF41",
    L"ab",
    L"aB",
    L"a b",
    L"a-b",
    L"a'b",
    L"a.b",
    L".a",
    L"a9",
    L"a10",
    L"a09",
    L"a1b",
    L"a01b",
    L"9",
    L"10",
    L"\uFF11\uFF10",
    L"\u2460",
    L"x2y10",
    L"x2y9",
    L"\u3042",
    L"\u30A2",
    L"\uFF71",
    L"\u304C",
    L"\uFF76\uFF9E",
    L"e",
    L"\u00E9",
    L"e\u0301",
    L"\u00DF",
    L"ss",
    L"\u00E6",
    L"ae",
    L"co-op",
    L"coop",
    L"\u30FC",
    L"~a",
    L"n99999999999",
    L"n100000000000",
    L"n4294967296",
    L"n0",
    L"n2147483648",
    L"n2147483647",
    L"n007",
};

int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

bool AgreesWithFunction(int kind, StrCmpLogicalWProc function)
{
    const int count = sizeof(kTrialNames) / sizeof(kTrialNames[0]);
    std::vector<std::vector<BYTE>> keys(count);
    for (int i = 0; i < count; ++i)
    {
        BYTE key[1024];
        int length = MakeNameSortKey(kind, kTrialNames[i], -1, key, sizeof key);
        if (length <= 0)
            return false;
        keys[i].assign(key, key + length);
    }
    for (int i = 0; i < count; ++i)
    {
        for (int j = 0; j < count; ++j)
        {
            int byKeys = CompareNameSortKeys(keys[i].data(), static_cast<int>(keys[i].size()), keys[j].data(),
                                             static_cast<int>(keys[j].size())) -
                         CSTR_EQUAL;
            if (Sign(function(kTrialNames[i], kTrialNames[j])) != byKeys)
                return false;
        }
    }
    return true;
}
// Keys of short texts, kept: a listing repeats a handful of extensions thousands of
// times, and the system's key is the same for the same text every time.
class CShortKeyCache
{
public:
    static const int kLongest = 8;
    static const size_t kMostTexts = 4096;

    CShortKeyCache() { InitializeSRWLock(&m_lock); }

    // The cached key's length copied to `out`, or 0 when the text was not cached
    // (or the key does not fit).
    int Find(int kind, LPCWSTR text, int length, BYTE* out, int capacity)
    {
        int found = 0;
        AcquireSRWLockShared(&m_lock);
        auto it = m_keys.find(MakeTag(kind, text, length));
        if (it != m_keys.end() && static_cast<int>(it->second.size()) <= capacity)
        {
            memcpy(out, it->second.data(), it->second.size());
            found = static_cast<int>(it->second.size());
        }
        ReleaseSRWLockShared(&m_lock);
        return found;
    }

    void Add(int kind, LPCWSTR text, int length, const BYTE* key, int keyLength)
    {
        AcquireSRWLockExclusive(&m_lock);
        if (m_keys.size() < kMostTexts)
            m_keys.emplace(MakeTag(kind, text, length), std::vector<BYTE>(key, key + keyLength));
        ReleaseSRWLockExclusive(&m_lock);
    }

private:
    static std::wstring MakeTag(int kind, LPCWSTR text, int length)
    {
        std::wstring tag(1, static_cast<wchar_t>(L'0' + kind));
        tag.append(text, static_cast<size_t>(length));
        return tag;
    }

    SRWLOCK m_lock;
    std::unordered_map<std::wstring, std::vector<BYTE>> m_keys;
};

CShortKeyCache& ShortKeys()
{
    static CShortKeyCache* keys = new CShortKeyCache; // lives as long as the process
    return *keys;
}

int MakeKeyUncached(int kind, LPCWSTR name, int nameLength, BYTE* out, int capacity);

// Locale keys of names made of plain ASCII characters, put together here. Under the
// folding flags such a character's key is one two-byte weight followed by the key
// of the empty text, and a name's key is the weights of its characters in turn
// followed by that same tail. That holds unless the locale joins letters (as some
// languages sort two letters as one): so every pair of characters is tried against
// the system once, and any pair that does not follow turns this off for good.
class CAsciiLocaleKeys
{
public:
    CAsciiLocaleKeys()
    {
        m_usable = false;
        memset(m_plain, 0, sizeof m_plain);
        m_tailLength = LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_SORTKEY | kFoldingFlags, L"", -1,
                                    reinterpret_cast<LPWSTR>(m_tail), sizeof m_tail);
        if (m_tailLength <= 0)
            return;
        for (wchar_t c = 0x20; c < 0x7F; ++c)
        {
            BYTE key[64];
            int length = LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_SORTKEY | kFoldingFlags, &c, 1,
                                      reinterpret_cast<LPWSTR>(key), sizeof key);
            if (length == m_tailLength + 2 && key[0] > 1 && key[1] > 1 &&
                memcmp(key + 2, m_tail, static_cast<size_t>(m_tailLength)) == 0)
            {
                m_plain[c] = true;
                m_weight[c][0] = key[0];
                m_weight[c][1] = key[1];
            }
        }
        for (wchar_t a = 0x20; a < 0x7F; ++a)
        {
            for (wchar_t b = 0x20; b < 0x7F; ++b)
            {
                if (!m_plain[a] || !m_plain[b])
                    continue;
                const wchar_t pair[2] = {a, b};
                BYTE key[64], made[64];
                int length = LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_SORTKEY | kFoldingFlags, pair, 2,
                                          reinterpret_cast<LPWSTR>(key), sizeof key);
                if (length != Make(pair, 2, made, sizeof made) ||
                    memcmp(key, made, static_cast<size_t>(length)) != 0)
                    return;
            }
        }
        m_usable = true;
        m_tailBelowWeights = true;
        for (wchar_t c = 0x20; c < 0x7F; ++c)
        {
            if (m_plain[c] && m_tail[0] >= m_weight[c][0])
                m_tailBelowWeights = false;
        }
    }

    bool IsUsable() const { return m_usable; }

    // The key's length, 0 when a character is not plain or the key does not fit.
    int Make(LPCWSTR name, int length, BYTE* out, int capacity) const
    {
        if (2 * length + m_tailLength > capacity)
            return 0;
        int used = 0;
        for (int i = 0; i < length; ++i)
        {
            wchar_t c = name[i];
            if (c >= 0x80 || !m_plain[c])
                return 0;
            out[used++] = m_weight[c][0];
            out[used++] = m_weight[c][1];
        }
        memcpy(out + used, m_tail, static_cast<size_t>(m_tailLength));
        return used + m_tailLength;
    }

    // The order of the keys Make would make, found from the weights alone: a key is
    // the characters' weights in turn and then the tail, whose first byte lies below
    // every weight's, so the shorter of two names that agree as far as it goes comes
    // first. 0 when a character of either name is not plain (its name's key is the
    // system's own) or the tail does not lie below the weights.
    int Compare(LPCWSTR a, int aLength, LPCWSTR b, int bLength) const
    {
        if (!m_tailBelowWeights || !IsPlain(a, aLength) || !IsPlain(b, bLength))
            return 0;
        const int common = aLength < bLength ? aLength : bLength;
        for (int i = 0; i < common; ++i)
        {
            const BYTE* x = m_weight[a[i]];
            const BYTE* y = m_weight[b[i]];
            if (x[0] != y[0])
                return x[0] < y[0] ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
            if (x[1] != y[1])
                return x[1] < y[1] ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
        }
        return aLength < bLength ? CSTR_LESS_THAN : (aLength > bLength ? CSTR_GREATER_THAN : CSTR_EQUAL);
    }

private:
    bool IsPlain(LPCWSTR name, int length) const
    {
        for (int i = 0; i < length; ++i)
        {
            if (name[i] >= 0x80 || !m_plain[name[i]])
                return false;
        }
        return true;
    }

    bool m_usable;
    bool m_tailBelowWeights = false;
    bool m_plain[0x80];
    BYTE m_weight[0x80][2];
    BYTE m_tail[32];
    int m_tailLength;
};

const CAsciiLocaleKeys& AsciiLocaleKeys()
{
    static const CAsciiLocaleKeys keys; // tried once, on the first sort by name
    return keys;
}
} // namespace

int GetNameSortKeyKind()
{
    if (!g_USE_STR_CMP_LOGICAL_W || !g_pfnStrCmpLogicalW)
        return NAME_KEY_LOCALE;
    // Tried once per function: the answer holds as long as the process runs.
    static StrCmpLogicalWProc s_tried = nullptr;
    static int s_kind = NAME_KEY_NONE;
    if (s_tried != g_pfnStrCmpLogicalW)
    {
        s_kind = NAME_KEY_NONE;
        for (int kind : {NAME_KEY_LOGICAL_CHARACTERS, NAME_KEY_LOGICAL_RUNS,
                         NAME_KEY_LOGICAL_CHARACTERS_WRAPPED, NAME_KEY_LOGICAL_RUNS_WRAPPED})
        {
            if (AgreesWithFunction(kind, g_pfnStrCmpLogicalW))
            {
                s_kind = kind;
                break;
            }
        }
        s_tried = g_pfnStrCmpLogicalW;
    }
    return s_kind;
}

int MakeNameSortKey(int kind, LPCWSTR name, int nameLength, BYTE* out, int capacity)
{
    if (!name || !out || capacity <= 0)
        return 0;
    if (nameLength < 0)
        nameLength = static_cast<int>(wcslen(name));
    if (nameLength > CShortKeyCache::kLongest)
        return MakeKeyUncached(kind, name, nameLength, out, capacity);
    int length = ShortKeys().Find(kind, name, nameLength, out, capacity);
    if (length > 0)
        return length;
    length = MakeKeyUncached(kind, name, nameLength, out, capacity);
    if (length > 0)
        ShortKeys().Add(kind, name, nameLength, out, length);
    return length;
}

namespace
{
int MakeKeyUncached(int kind, LPCWSTR name, int nameLength, BYTE* out, int capacity)
{
    if (kind >= NAME_KEY_LOGICAL_RUNS && kind <= NAME_KEY_LOGICAL_CHARACTERS_WRAPPED)
        return MakeLogicalKey(name, nameLength,
                              kind == NAME_KEY_LOGICAL_CHARACTERS ||
                                  kind == NAME_KEY_LOGICAL_CHARACTERS_WRAPPED,
                              kind >= NAME_KEY_LOGICAL_RUNS_WRAPPED, out, capacity);
    if (kind != NAME_KEY_LOCALE)
        return 0;
    if (nameLength > 0 && AsciiLocaleKeys().IsUsable())
    {
        int length = AsciiLocaleKeys().Make(name, nameLength, out, capacity);
        if (length > 0)
            return length;
    }
    // An empty run is a valid name here (a directory has no extension), but the
    // system refuses a length of 0: the whole string with its NUL gives the same key.
    if (nameLength == 0)
        return LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_SORTKEY | kFoldingFlags, L"", -1,
                            reinterpret_cast<LPWSTR>(out), capacity);
    return LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_SORTKEY | kFoldingFlags, name, nameLength,
                        reinterpret_cast<LPWSTR>(out), capacity);
}
} // namespace

int CompareNameSortKeys(const BYTE* a, int aLength, const BYTE* b, int bLength)
{
    // Compared here eight bytes at a time rather than by the runtime's memcmp: a sort
    // makes tens of thousands of these comparisons, and the library call with its
    // byte-wise loop costs more than the rest of each of them.
    const int common = aLength < bLength ? aLength : bLength;
    int at = 0;
    for (; at + 8 <= common; at += 8)
    {
        unsigned long long left, right;
        memcpy(&left, a + at, sizeof left);
        memcpy(&right, b + at, sizeof right);
        if (left != right)
            return __builtin_bswap64(left) < __builtin_bswap64(right) ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
    for (; at < common; ++at)
    {
        if (a[at] != b[at])
            return a[at] < b[at] ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
    return aLength < bLength ? CSTR_LESS_THAN : (aLength > bLength ? CSTR_GREATER_THAN : CSTR_EQUAL);
}

int CompareNamesByLocaleKeys(LPCWSTR a, int aLength, LPCWSTR b, int bLength)
{
    const CAsciiLocaleKeys& keys = AsciiLocaleKeys();
    return keys.IsUsable() ? keys.Compare(a, aLength, b, bLength) : 0;
}

int CompareNamesForSort(LPCWSTR a, LPCWSTR b)
{
    if (g_USE_STR_CMP_LOGICAL_W && g_pfnStrCmpLogicalW)
    {
        int order = g_pfnStrCmpLogicalW(a, b);
        return order < 0 ? CSTR_LESS_THAN : order == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN;
    }
    return CompareStringW(LOCALE_SYSTEM_DEFAULT,
                          NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH, a,
                          -1, b, -1);
}
