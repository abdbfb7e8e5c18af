#include "fileops/find/ContentScan.h"

#include <emmintrin.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace
{

typedef HRESULT(WINAPI* ConvertINetUnicodeToMultiByteFn)(LPDWORD mode, DWORD encoding, LPCWSTR source,
                                                         LPINT sourceCount, LPSTR target, LPINT targetCount);

const BYTE kEscape = 0x1B;

// Anchors whose window is this long or longer are found through their byte pairs:
// one look every window - 1 bytes costs less than sixteen compares per filter for
// every sixteen bytes. Shorter windows are filtered sixteen positions at a time.
const DWORD kPairScanWindow = 8;

inline WORD PairAt(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

// ESC, then '$', '&' or '(', then '@', 'B', 'I' or 'J': the switches between the
// character sets of ISO-2022-JP text.
BOOL IsJisEscape(const BYTE* p)
{
    return p[0] == kEscape && (p[1] == '$' || p[1] == '&' || p[1] == '(') &&
           (p[2] == '@' || p[2] == 'B' || p[2] == 'I' || p[2] == 'J');
}

// Leaves out every escape sequence and notes where each one stood in what is left.
int StripJisEscapes(char* bytes, int length, std::vector<int>& breaks)
{
    int out = 0;
    for (int i = 0; i < length; ++i)
    {
        if (static_cast<BYTE>(bytes[i]) == kEscape)
        {
            i += 2;
            if (out > 0)
                breaks.push_back(out);
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
        m_anchorOffset[i] = 0;
        m_anchorLength[i] = 0;
    }
    m_count = 0;
    m_jisRuns.clear();
    m_anchorRun = 0;
    m_before = m_after = 0;
    m_shortest = 0;
    m_window = 0;
    m_filterCount = 0;
    m_pairBits.clear();
    m_pairs.clear();
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
    std::vector<int> jisBreaks;

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
                length = StripJisEscapes(buffer.data(), length, jisBreaks);
            else
            {
                // Some systems have no ISO-2022-JP table; the JIS codes follow from
                // the Shift_JIS ones by arithmetic.
                const int sjisLength = ConvertWithCodePage(932, text, n, buffer, limit);
                const std::string sjis(buffer.data(), std::max(sjisLength, 0));
                std::string bare;
                if (sjisLength > 0 && ShiftJisToBareJis(sjis.data(), sjisLength, bare))
                {
                    length = static_cast<int>(bare.size());
                    memcpy(buffer.data(), bare.data(), length);
                    // The character set switches where ASCII meets a double byte.
                    BOOL previousAscii = TRUE;
                    for (size_t i = 0; i < sjis.size();)
                    {
                        const BOOL ascii = static_cast<BYTE>(sjis[i]) < 0x80;
                        if (i > 0 && ascii != previousAscii)
                            jisBreaks.push_back(static_cast<int>(i));
                        previousAscii = ascii;
                        i += ascii ? 1 : 2;
                    }
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
    PrepareScan(jisBreaks);
    return m_count;
}

void CContentPatterns::PrepareScan(const std::vector<int>& jisBreaks)
{
    m_shortest = 0;
    m_before = m_after = 0;
    for (int slot = 0; slot < FIND_SLOT_COUNT; ++slot)
    {
        const int m = m_lengths[slot];
        if (m == 0)
            continue;
        m_anchorOffset[slot] = 0;
        m_anchorLength[slot] = m;
        DWORD before = 0;
        DWORD after = m;
        if (slot == FIND_SLOT_JIS)
        {
            int start = 0;
            for (int end : jisBreaks)
            {
                if (end > start && end < m)
                {
                    m_jisRuns.emplace_back(start, end - start);
                    start = end;
                }
            }
            m_jisRuns.emplace_back(start, m - start);
            m_anchorRun = 0;
            for (size_t i = 1; i < m_jisRuns.size(); ++i)
                if (m_jisRuns[i].second > m_jisRuns[m_anchorRun].second)
                    m_anchorRun = static_cast<int>(i);
            m_anchorOffset[slot] = m_jisRuns[m_anchorRun].first;
            m_anchorLength[slot] = m_jisRuns[m_anchorRun].second;
            // One escape sequence of three bytes may stand at each switch.
            const int runsBefore = m_anchorRun;
            const int runsAfter = static_cast<int>(m_jisRuns.size()) - 1 - m_anchorRun;
            before = m_anchorOffset[slot] + 3 * runsBefore;
            after = (m - m_anchorOffset[slot]) + 3 * runsAfter;
        }
        m_before = std::max(m_before, before);
        m_after = std::max(m_after, after);
        if (m_shortest == 0 || m_anchorLength[slot] < m_shortest)
            m_shortest = m_anchorLength[slot];
    }
    m_window = static_cast<DWORD>(std::min(m_shortest, 256));
    m_filterCount = 0;
    m_pairBits.clear();
    m_pairs.clear();
    if (m_window == 0)
        return;
    for (int slot = 0; slot < FIND_SLOT_COUNT; ++slot)
    {
        if (m_lengths[slot] == 0)
            continue;
        const BYTE* anchor = m_bytes[slot] + m_anchorOffset[slot];
        if (m_window < kPairScanWindow)
        {
            int f = 0;
            while (f < m_filterCount &&
                   (m_filterFirst[f] != anchor[0] || m_filterLast[f] != anchor[m_window - 1]))
                ++f;
            if (f == m_filterCount)
            {
                m_filterFirst[f] = anchor[0];
                m_filterLast[f] = anchor[m_window - 1];
                ++m_filterCount;
            }
            continue;
        }
        m_pairBits.resize(65536);
        for (DWORD i = 0; i + 1 < m_window; ++i)
        {
            const WORD pair = PairAt(anchor + i);
            m_pairBits[pair] = 1;
            m_pairs.push_back({pair, static_cast<BYTE>(slot), static_cast<BYTE>(i)});
        }
    }
    // In the order of their pairs: a pair found in the file looks up its places.
    std::sort(m_pairs.begin(), m_pairs.end(),
              [](const AnchorPair& a, const AnchorPair& b) { return a.pair < b.pair; });
}

BOOL CContentPatterns::MatchesAt(int slot, const BYTE* block, DWORD length, DWORD anchor) const
{
    const BYTE* bytes = m_bytes[slot];
    const DWORD anchorLength = m_anchorLength[slot];
    if (anchor + anchorLength > length ||
        memcmp(block + anchor, bytes + m_anchorOffset[slot], anchorLength) != 0)
        return FALSE;
    if (slot != FIND_SLOT_JIS || m_jisRuns.size() < 2)
        return TRUE;
    // The other runs around the anchor, each perhaps behind an escape sequence, as
    // a file written in JIS switches character sets between them.
    DWORD pos = anchor;
    for (int i = m_anchorRun - 1; i >= 0; --i)
    {
        if (pos >= 3 && IsJisEscape(block + pos - 3))
            pos -= 3;
        const DWORD runLength = m_jisRuns[i].second;
        if (pos < runLength || memcmp(block + pos - runLength, bytes + m_jisRuns[i].first, runLength) != 0)
            return FALSE;
        pos -= runLength;
    }
    pos = anchor + anchorLength;
    for (size_t i = m_anchorRun + 1; i < m_jisRuns.size(); ++i)
    {
        if (pos + 3 <= length && IsJisEscape(block + pos))
            pos += 3;
        const DWORD runLength = m_jisRuns[i].second;
        if (pos + runLength > length || memcmp(block + pos, bytes + m_jisRuns[i].first, runLength) != 0)
            return FALSE;
        pos += runLength;
    }
    return TRUE;
}

BOOL CContentPatterns::MatchesAny(const BYTE* block, DWORD length, DWORD anchor) const
{
    for (int slot = 0; slot < FIND_SLOT_COUNT; ++slot)
        if (m_lengths[slot] && block[anchor] == m_bytes[slot][m_anchorOffset[slot]] &&
            MatchesAt(slot, block, length, anchor))
            return TRUE;
    return FALSE;
}

BOOL CContentPatterns::ScanByFilters(const BYTE* block, DWORD length, DWORD from, DWORD to) const
{
    __m128i first[FIND_SLOT_COUNT], last[FIND_SLOT_COUNT];
    for (int f = 0; f < m_filterCount; ++f)
    {
        first[f] = _mm_set1_epi8(static_cast<char>(m_filterFirst[f]));
        last[f] = _mm_set1_epi8(static_cast<char>(m_filterLast[f]));
    }
    const DWORD lastOffset = m_window - 1;
    // The loads reach up to fifteen bytes past the range; the block has room for them,
    // and the positions past the range are masked off.
    for (DWORD at = from; at < to; at += 16)
    {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + at));
        const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + at + lastOffset));
        __m128i hits = _mm_and_si128(_mm_cmpeq_epi8(head, first[0]), _mm_cmpeq_epi8(tail, last[0]));
        for (int f = 1; f < m_filterCount; ++f)
            hits = _mm_or_si128(hits,
                                _mm_and_si128(_mm_cmpeq_epi8(head, first[f]), _mm_cmpeq_epi8(tail, last[f])));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (to - at < 16)
            mask &= (1u << (to - at)) - 1;
        while (mask)
        {
            const DWORD anchor = at + static_cast<DWORD>(__builtin_ctz(mask));
            if (MatchesAny(block, length, anchor))
                return TRUE;
            mask &= mask - 1;
        }
    }
    return FALSE;
}

BOOL CContentPatterns::ScanByPairs(const BYTE* block, DWORD length, DWORD from, DWORD to) const
{
    if (to <= from)
        return FALSE;
    // An anchor at p in [from, to) holds the pair at the first grid point at or after
    // p, at most window - 2 bytes into it; the last grid point that may matter is
    // therefore to - 1 + window - 2, whose pair still lies in the block.
    const DWORD step = m_window - 1;
    const DWORD end = to + m_window - 2;
    const BYTE* bits = m_pairBits.data();
    auto inSet = [bits](WORD pair) { return bits[pair]; };
    auto tryPoint = [&](DWORD point) -> BOOL {
        const WORD pair = PairAt(block + point);
        if (!inSet(pair))
            return FALSE;
        auto candidate = std::lower_bound(m_pairs.begin(), m_pairs.end(), pair,
                                          [](const AnchorPair& a, WORD b) { return a.pair < b; });
        for (; candidate != m_pairs.end() && candidate->pair == pair; ++candidate)
        {
            if (point < from + candidate->offset)
                continue;
            const DWORD anchor = point - candidate->offset;
            if (anchor < to && MatchesAt(candidate->slot, block, length, anchor))
                return TRUE;
        }
        return FALSE;
    };
    DWORD point = from;
    // Four grid points a round: their looks do not wait for each other.
    for (; point + 3 * step < end; point += 4 * step)
    {
        const BYTE* at = block + point;
        if (inSet(PairAt(at)) | inSet(PairAt(at + step)) | inSet(PairAt(at + 2 * step)) |
            inSet(PairAt(at + 3 * step)))
        {
            for (int k = 0; k < 4; ++k)
                if (tryPoint(point + k * step))
                    return TRUE;
        }
    }
    for (; point < end; point += step)
        if (tryPoint(point))
            return TRUE;
    return FALSE;
}

int CContentPatterns::ScanHandle(HANDLE file, volatile int* stop) const
{
    if (m_count == 0)
        return 0;
    const DWORD reach = m_before + m_after;
    const DWORD capacity = std::max(FIND_BLOCK_SIZE, 2 * reach + 1);
    // Room behind the data for the filters' sixteen-byte loads.
    std::vector<BYTE> buffer(capacity + m_window + 32);
    BYTE* block = buffer.data();
    DWORD carry = 0;
    // Anchor positions below `from` were tried in the block before.
    DWORD from = 0;
    const DWORD window = m_window;

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
        // Anchors whose whole match lies in the block; in the last block every one
        // left, the matches checked against the block's end.
        DWORD to = final ? length : (length > m_after ? length - m_after : 0);
        if (to > length - std::min(length, window) + 1)
            to = length >= window ? length - window + 1 : 0;
        if (from < to && (window >= kPairScanWindow ? ScanByPairs(block, length, from, to)
                                                    : ScanByFilters(block, length, from, to)))
            return 1;
        if (final)
            return 0;
        const DWORD next = std::max(from, to);
        // Keep what the next block's anchors may reach back to.
        const DWORD keepFrom = next > m_before ? next - m_before : 0;
        carry = length - keepFrom;
        from = next - keepFrom;
        memmove(block, block + keepFrom, carry);
    }
}
