#include "fileops/find/ContentScan.h"

#include <string.h>
#include <algorithm>
#include <vector>

namespace
{

typedef HRESULT(WINAPI* ConvertINetUnicodeToMultiByteFn)(LPDWORD mode, DWORD encoding, LPCWSTR source,
                                                         LPINT sourceCount, LPSTR target, LPINT targetCount);

const BYTE kEscape = 0x1B;

// ESC, then '$', '&' or '(', then '@', 'B', 'I' or 'J': the switches between the
// character sets of ISO-2022-JP text.
BOOL IsJisEscape(const BYTE* p)
{
    return p[0] == kEscape && (p[1] == '$' || p[1] == '&' || p[1] == '(') &&
           (p[2] == '@' || p[2] == 'B' || p[2] == 'I' || p[2] == 'J');
}

int StripJisEscapes(char* bytes, int length)
{
    int out = 0;
    for (int i = 0; i < length; ++i)
    {
        if (static_cast<BYTE>(bytes[i]) == kEscape)
        {
            i += 2;
            continue;
        }
        bytes[out++] = bytes[i];
    }
    return out;
}

int ConvertWithCodePage(UINT codePage, LPCWSTR text, int n, std::vector<char>& buffer, int limit)
{
    if (n <= 0)
        return 0;
    return WideCharToMultiByte(codePage, 0, text, n, buffer.data(), limit, nullptr, nullptr);
}

int ConvertWithMLang(ConvertINetUnicodeToMultiByteFn convert, DWORD codePage, LPCWSTR text, int n,
                     std::vector<char>& buffer, int limit)
{
    if (!convert || n <= 0)
        return 0;
    DWORD mode = 0;
    INT count = n;
    INT out = limit;
    if (convert(&mode, codePage, text, &count, buffer.data(), &out) != S_OK)
        return 0;
    return out;
}

// The text matches at `start` with escape sequences of the file passed over, so that
// JIS text split by a switch of character sets still matches the bare JIS bytes.
BOOL MatchesSkippingEscapes(const BYTE* block, DWORD length, DWORD start, const BYTE* pattern, int m)
{
    DWORD p = start;
    for (int k = 0; k < m;)
    {
        if (p >= length)
            return FALSE;
        if (block[p] == kEscape)
        {
            if (p + 3 > length || !IsJisEscape(block + p))
                return FALSE;
            p += 3;
            continue;
        }
        if (block[p] != pattern[k])
            return FALSE;
        ++p;
        ++k;
    }
    return TRUE;
}

} // namespace

BOOL ShiftJisToBareJis(const char* sjis, int length, std::string& out)
{
    std::vector<char> bytes;
    bytes.reserve(length);
    for (int i = 0; i < length; ++i)
    {
        BYTE s1 = static_cast<BYTE>(sjis[i]);
        if (s1 < 0x80)
        {
            bytes.push_back(static_cast<char>(s1));
            continue;
        }
        if (!((s1 >= 0x81 && s1 <= 0x9F) || (s1 >= 0xE0 && s1 <= 0xEF)) || i + 1 >= length)
            return FALSE;
        BYTE s2 = static_cast<BYTE>(sjis[++i]);
        if (s2 < 0x40 || s2 == 0x7F || s2 > 0xFC)
            return FALSE;
        int lead = s1 >= 0xE0 ? s1 - 0x40 : s1;
        int j1 = (lead - 0x81) * 2 + 0x21;
        int j2;
        if (s2 >= 0x9F)
        {
            ++j1;
            j2 = s2 - 0x9F + 0x21;
        }
        else
            j2 = s2 - (s2 >= 0x80 ? 0x20 : 0x1F);
        bytes.push_back(static_cast<char>(j1));
        bytes.push_back(static_cast<char>(j2));
    }
    out.assign(bytes.data(), bytes.size());
    return TRUE;
}

void CContentPatterns::Clear()
{
    for (int i = 0; i < FIND_SLOT_COUNT; ++i)
    {
        delete[] m_bytes[i];
        m_bytes[i] = nullptr;
        m_lengths[i] = 0;
    }
    m_count = 0;
}

void CContentPatterns::SetSlot(int slot, const BYTE* bytes, int length)
{
    if (length <= 0)
        return;
    m_bytes[slot] = new BYTE[length + 2];
    memcpy(m_bytes[slot], bytes, length);
    m_bytes[slot][length] = 0;
    m_lengths[slot] = length;
    ++m_count;
}

int CContentPatterns::Build(LPCWSTR text, const int flags[FIND_SLOT_COUNT])
{
    Clear();
    const int n = text ? static_cast<int>(wcslen(text)) : 0;
    if (n == 0)
        return 0;
    const int limit = 10 * n + 20;
    std::vector<char> buffer(10 * n + 22);

    HMODULE mlang = LoadLibraryW(L"MLang.dll");
    auto convert = mlang ? reinterpret_cast<ConvertINetUnicodeToMultiByteFn>(reinterpret_cast<void*>(
                               GetProcAddress(mlang, "ConvertINetUnicodeToMultiByte")))
                         : nullptr;

    for (int slot = 0; slot < FIND_SLOT_COUNT; ++slot)
    {
        if (!flags[slot])
            continue;
        int length = 0;
        switch (slot)
        {
        case FIND_SLOT_ANSI:
            length = ConvertWithCodePage(CP_ACP, text, n, buffer, limit);
            break;
        case FIND_SLOT_EUC:
            length = ConvertWithMLang(convert, 51932, text, n, buffer, limit);
            // Without a working conversion service the system's EUC table gives the
            // same bytes for the JIS X 0208 characters a user types.
            if (length <= 0)
                length = ConvertWithCodePage(20932, text, n, buffer, limit);
            break;
        case FIND_SLOT_UTF16:
            memcpy(buffer.data(), text, n * sizeof(wchar_t));
            length = 2 * n;
            break;
        case FIND_SLOT_JIS:
            length = ConvertWithCodePage(50220, text, n, buffer, limit);
            if (length <= 0)
                length = ConvertWithMLang(convert, 50220, text, n, buffer, limit);
            if (length > 0)
                length = StripJisEscapes(buffer.data(), length);
            else
            {
                // Some systems have no ISO-2022-JP table; the JIS codes follow from
                // the Shift_JIS ones by arithmetic.
                int sjis = ConvertWithCodePage(932, text, n, buffer, limit);
                std::string bare;
                if (sjis > 0 && ShiftJisToBareJis(buffer.data(), sjis, bare))
                {
                    length = static_cast<int>(bare.size());
                    memcpy(buffer.data(), bare.data(), length);
                }
            }
            break;
        case FIND_SLOT_UTF8:
            length = ConvertWithCodePage(CP_UTF8, text, n, buffer, limit);
            break;
        }
        SetSlot(slot, reinterpret_cast<const BYTE*>(buffer.data()), length);
    }
    if (mlang)
        FreeLibrary(mlang);
    return m_count;
}

int CContentPatterns::ScanHandle(HANDLE file, volatile int* stop) const
{
    if (m_count == 0)
        return 0;
    // How many bytes a match of each slot may span: the JIS slot may have an escape
    // sequence of three bytes before each of its bytes in the file.
    int span[FIND_SLOT_COUNT] = {};
    DWORD widest = 0;
    for (int slot = 0; slot < FIND_SLOT_COUNT; ++slot)
    {
        span[slot] = slot == FIND_SLOT_JIS ? 4 * m_lengths[slot] : m_lengths[slot];
        widest = std::max(widest, static_cast<DWORD>(span[slot]));
    }
    const DWORD capacity = std::max(FIND_BLOCK_SIZE, 2 * widest + 1);
    std::vector<BYTE> buffer(capacity + 1);
    BYTE* block = buffer.data();
    DWORD carry = 0;

    for (;;)
    {
        if (stop && *stop)
            return 0;
        DWORD got = 0;
        if (!ReadFile(file, block + carry, capacity - carry, &got, nullptr))
            return 0;
        // The end comes with the first read that gives nothing: the listed size may
        // be stale, and a file that shrank would otherwise never end.
        const BOOL final = got == 0;
        const DWORD length = carry + got;
        block[length] = 0;
        DWORD carryStart = length;
        for (int slot = 0; slot < FIND_SLOT_COUNT; ++slot)
        {
            const int m = m_lengths[slot];
            if (m == 0)
                continue;
            const BYTE* pattern = m_bytes[slot];
            const BOOL jis = slot == FIND_SLOT_JIS;
            // Positions whose whole span lies in the block; in the last block every
            // position that can still hold the pattern.
            DWORD end;
            if (final)
                end = jis ? length : (length >= static_cast<DWORD>(m) ? length - m + 1 : 0);
            else
                end = length > static_cast<DWORD>(span[slot]) ? length - span[slot] : 0;
            DWORD j = 0;
            while (j < end)
            {
                if (stop && *stop)
                    return 0;
                const BYTE* hit = static_cast<const BYTE*>(memchr(block + j, pattern[0], end - j));
                if (!hit)
                    break;
                j = static_cast<DWORD>(hit - block);
                if (jis ? MatchesSkippingEscapes(block, length, j, pattern, m)
                        : (j + m <= length && memcmp(block + j, pattern, m) == 0))
                    return 1;
                ++j;
            }
            carryStart = std::min(carryStart, end);
        }
        if (final)
            return 0;
        carry = length - carryStart;
        memmove(block, block + carryStart, carry);
    }
}
