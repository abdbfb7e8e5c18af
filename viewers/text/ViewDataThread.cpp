#include "viewers/text/ViewDataThread.h"

#include <emmintrin.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "framework/FwLock.h"
#include "framework/FwMemory.h"

namespace
{
constexpr INT64 kIndexFirstEntries = 3010;
// A step indexes at most this much text, so that a large text already in memory does
// not hold up the first screen.
constexpr INT64 kIndexBytesPerStep = 0x100000;
// Beyond this, sizes could wrap once multiplied or incremented.
constexpr INT64 kMaxBlockBytes = INT64(1) << 60;
// The text that wakes the second indexing thread once it has caught up with the reads.
constexpr INT64 kIndexerWakeBytes = INT64(4) << 20;
// Text not yet indexed beyond which the second thread counts as lagging behind the
// reads. At the start, while that thread is being started, the reads run up to 20 MiB
// ahead on a machine where it then catches up.
constexpr INT64 kIndexerLagBytes = INT64(32) << 20;

struct LeadByteTable
{
    bool lead[256];
    // Neither a lead byte nor TAB, CR or LF: one column, no decision.
    bool plain[256];
    LeadByteTable()
    {
        for (int i = 0; i < 256; ++i)
        {
            lead[i] = IsDBCSLeadByte(static_cast<BYTE>(i)) != FALSE;
            plain[i] = !lead[i] && i != '\t' && i != '\r' && i != '\n';
        }
    }
};

const LeadByteTable& LeadBytes()
{
    static const LeadByteTable table;
    return table;
}

// The end of the run from `pos`, at most `stop`, over bytes that take one column each
// and double-byte characters that fit whole before `stop` (two bytes, two columns):
// the columns grow by the bytes passed. Nearly all text is printable ASCII: sixteen
// bytes of 0x20-0x7F are passed in one compare; from a byte outside that range, the
// next sixteen bytes are judged one by one by the tables, as double-byte text comes
// in runs. A run ends before TAB, CR, LF, or a lead byte whose character would reach
// `stop`.
inline INT64 SkipPlainBytes(const BYTE* text, INT64 pos, INT64 stop, const bool* plain, const bool* lead)
{
    const __m128i below = _mm_set1_epi8(0x1F);
    while (pos < stop)
    {
        if (stop - pos >= 16)
        {
            // As signed bytes, 0x80-0xFF are negative: only 0x20-0x7F compare greater.
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
            const unsigned simple = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(bytes, below)));
            if (simple == 0xFFFFu)
            {
                pos += 16;
                continue;
            }
            pos += __builtin_ctz(~simple);
        }
        const INT64 judged = stop - pos > 16 ? pos + 16 : stop;
        while (pos < judged)
        {
            const BYTE c = text[pos];
            if (plain[c])
                ++pos;
            else if (lead[c] && stop - pos >= 2)
                pos += 2;
            else
                return pos;
        }
    }
    return pos;
}

BOOL ConvertsStrictly(const BYTE* bytes, int count, WCHAR* wide, int wideCapacity)
{
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, reinterpret_cast<LPCSTR>(bytes), count, wide,
                               wideCapacity) > 0;
}

// ---- What detection weighs -----------------------------------------------------------
//
// Shift_JIS, EUC-JP and UTF-8 bytes are often all three convertible text, so the first
// trial that converts cannot be what decides among them. Detection therefore runs:
//  1. the JIS trial, as ever (JIS is 7-bit and cannot be mistaken for the others);
//  2. UTF-8, when the sample is strictly valid UTF-8 (no overlong forms, surrogates or
//     values beyond U+10FFFF; a sequence cut by the sample's end only when the file goes
//     on past it) and holds at least one multi-byte sequence. Shift_JIS and EUC-JP text
//     of more than a few characters is almost never valid UTF-8, while UTF-8 is the
//     usual form of Japanese text written today;
//  3. ANSI (Shift_JIS) or EUC-JP when only one of them converts; when both do, the
//     reading that looks more like Japanese text: the share of plausible characters
//     (ASCII text, kana, common punctuation, full-width letters and digits, kanji of
//     the first level) less the share of rare ones (unassigned rows, user-defined and
//     vendor areas, malformed EUC-JP sequences, and half-width punctuation and marks
//     where no katakana word would have them). The other rows count for neither.
//     EUC-JP read as Shift_JIS falls apart into half-width "､｡｢･" (the bytes that lead
//     kana and symbols in EUC-JP) and second-level kanji, and Shift_JIS read as EUC-JP
//     into malformed pairs; real text of either code scores high in its own reading.
//     Half-width katakana words themselves stay plausible in Shift_JIS: old data files
//     are made of them, and counted as rare they would let a one-line record of them
//     read as EUC-JP kanji. A Shift_JIS kanji whose bytes are also an EUC-JP half-width
//     katakana (0x8E and A1-DF) counts for neither. On a tie Shift_JIS wins, as it did
//     before UTF-8 and EUC-JP were weighed; so a short EUC-JP text of kanji alone whose
//     bytes all lie in A1-DF, which reads just as well as half-width katakana, stays
//     Shift_JIS;
//  4. the UTF-8 and UTF-16 trials as before, when nothing above decided.

// Whether `bytes` are strictly UTF-8; `cutEnd` allows a sequence cut by their end.
// `multiByte` tells whether a sequence of two or more bytes occurs.
bool IsStrictUtf8(const BYTE* bytes, INT64 count, bool cutEnd, bool& multiByte)
{
    multiByte = false;
    INT64 i = 0;
    while (i < count)
    {
        const BYTE c = bytes[i];
        if (c < 0x80)
        {
            ++i;
            continue;
        }
        int length;
        BYTE low = 0x80; // the range of the second byte
        BYTE high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF)
            length = 2;
        else if (c >= 0xE0 && c <= 0xEF)
        {
            length = 3;
            if (c == 0xE0)
                low = 0xA0; // overlong below
            else if (c == 0xED)
                high = 0x9F; // surrogates above
        }
        else if (c >= 0xF0 && c <= 0xF4)
        {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F; // beyond U+10FFFF above
        }
        else
            return false;
        for (int k = 1; k < length; ++k)
        {
            if (i + k >= count)
                return cutEnd;
            const BYTE next = bytes[i + k];
            if (k == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF))
                return false;
        }
        multiByte = true;
        i += length;
    }
    return true;
}

// Characters of one reading of the sample: all of them, the plausible and the rare.
struct TextPlausibility
{
    INT64 chars = 0;
    INT64 common = 0;
    INT64 rare = 0;
};

enum CharClass
{
    CHAR_COMMON,
    CHAR_NEUTRAL,
    CHAR_RARE,
};

void Count(TextPlausibility& p, CharClass c)
{
    ++p.chars;
    if (c == CHAR_COMMON)
        ++p.common;
    else if (c == CHAR_RARE)
        ++p.rare;
}

CharClass AsciiClass(BYTE c)
{
    return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\r' || c == '\n' ? CHAR_COMMON : CHAR_NEUTRAL;
}

// Row 1 to 94 of JIS X 0208; rows 95 on are the user-defined and vendor areas of
// Shift_JIS.
CharClass RowClass(int row)
{
    if (row == 1 || row == 3 || row == 4 || row == 5 || (row >= 16 && row <= 47))
        return CHAR_COMMON; // symbols, letters and digits, kana, first-level kanji
    if (row == 2 || (row >= 6 && row <= 8) || row == 13 || (row >= 48 && row <= 84))
        return CHAR_NEUTRAL; // more symbols, Greek, Cyrillic, box drawing, second level
    return CHAR_RARE;
}

// A half-width katakana byte of Shift_JIS (A1-DF) after `previous` (the half-width
// byte before it, 0 when the character before was none).
CharClass HalfWidthClass(BYTE c, BYTE previous)
{
    auto after = [previous](std::initializer_list<BYTE> bases) {
        for (BYTE b : bases)
            if (previous == b)
                return CHAR_COMMON;
        return CHAR_RARE;
    };
    if (c <= 0xA5) // "｡｢｣､･"
        return CHAR_RARE;
    if (c >= 0xA7 && c <= 0xAB) // small "ｧｨｩｪｫ"
        return after({0xB2, 0xB3, 0xB8, 0xBC, 0xC1, 0xC2, 0xC3, 0xC4, 0xCC, 0xDE});
    if (c >= 0xAC && c <= 0xAE) // small "ｬｭｮ"
        return after({0xB7, 0xBC, 0xC1, 0xC3, 0xC6, 0xCB, 0xCC, 0xD0, 0xD8, 0xDE, 0xDF});
    if (c == 0xAF || c == 0xB0) // "ｯ", "ｰ": inside a word only
        return previous >= 0xA6 ? CHAR_COMMON : CHAR_RARE;
    if (c == 0xDE) // voiced mark after "ｳ", "ｶ"-"ﾄ", "ﾊ"-"ﾎ"
        return previous == 0xB3 || (previous >= 0xB6 && previous <= 0xC4) ||
                       (previous >= 0xCA && previous <= 0xCE)
                   ? CHAR_COMMON
                   : CHAR_RARE;
    if (c == 0xDF) // semi-voiced mark after "ﾊ"-"ﾎ"
        return previous >= 0xCA && previous <= 0xCE ? CHAR_COMMON : CHAR_RARE;
    return CHAR_COMMON;
}

TextPlausibility ShiftJisReading(const BYTE* s, INT64 count)
{
    TextPlausibility p;
    BYTE previous = 0;
    INT64 i = 0;
    while (i < count)
    {
        const BYTE c = s[i];
        BYTE halfWidth = 0;
        if (c < 0x80)
        {
            Count(p, AsciiClass(c));
            ++i;
        }
        else if (c >= 0xA1 && c <= 0xDF)
        {
            Count(p, HalfWidthClass(c, previous));
            halfWidth = c;
            ++i;
        }
        else if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC))
        {
            if (i + 1 >= count)
                break;
            const BYTE t = s[i + 1];
            const int row = (c <= 0x9F ? c - 0x81 : c - 0xC1) * 2 + (t >= 0x9F ? 2 : 1);
            if (t < 0x40 || t == 0x7F || t > 0xFC)
                Count(p, CHAR_RARE);
            else if (c == 0x8E && t >= 0xA1 && t <= 0xDF)
                Count(p, CHAR_NEUTRAL);
            else
                Count(p, RowClass(row));
            i += 2;
        }
        else
        {
            Count(p, CHAR_RARE);
            ++i;
        }
        previous = halfWidth;
    }
    return p;
}

// Pairs as CViewDataThread::ConvertEuc takes them.
TextPlausibility EucReading(const BYTE* s, INT64 count)
{
    TextPlausibility p;
    INT64 i = 0;
    while (i < count)
    {
        const BYTE c = s[i];
        if (c < 0x80)
        {
            Count(p, AsciiClass(c));
            ++i;
            continue;
        }
        if (c == 0x8F)
        {
            if (i + 2 >= count)
                break;
            const bool cell = s[i + 1] >= 0xA1 && s[i + 1] <= 0xFE && s[i + 2] >= 0xA1 && s[i + 2] <= 0xFE;
            Count(p, cell ? CHAR_COMMON : CHAR_RARE);
            i += 3;
            continue;
        }
        if (i + 1 >= count)
            break;
        const BYTE t = s[i + 1];
        if (c == 0x8E && t >= 0xA1 && t <= 0xDF)
            Count(p, CHAR_COMMON); // half-width katakana in its own two-byte form
        else if (c >= 0xA1 && c <= 0xFE && t >= 0xA1 && t <= 0xFE)
            Count(p, RowClass(c - 0xA0));
        else
            Count(p, CHAR_RARE);
        i += 2;
    }
    return p;
}

// Whether reading a has the larger share of plausible less rare characters.
bool MorePlausible(const TextPlausibility& a, const TextPlausibility& b)
{
    if (a.chars == 0 || b.chars == 0)
        return false;
    return (a.common - a.rare) * b.chars > (b.common - b.rare) * a.chars;
}
} // namespace

BOOL IsViewerLeadByte(BYTE b)
{
    return LeadBytes().lead[b];
}

CViewDataThread::CViewDataThread(ViewerTextData& data, HANDLE fileHandle, INT64 sourceSize, int tabWidth,
                                 int lineWidth)
    : m_data(data), m_file(fileHandle), m_sourceSize(sourceSize < 0 ? 0 : sourceSize),
      // A width below 2 could never hold a double-byte character and a tab width of 0
      // would divide by zero; the dialogs and the per-extension rows allow both.
      m_tabWidth(tabWidth < 1 ? 1 : tabWidth), m_lineWidth(lineWidth < 2 ? 2 : lineWidth)
{
    m_bAutoDelete = FALSE;
}

CViewDataThread::~CViewDataThread()
{
    if (m_file != nullptr && m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    free(m_staging);
    free(m_wide);
}

void CViewDataThread::SetRewrap()
{
    m_rewrap = TRUE;
    m_charCode = VIEWER_CODE_ANSI;
}

// ---- Converters ---------------------------------------------------------------------

int CViewDataThread::ConvertEuc(const BYTE* src, BYTE* dst, INT64 count, BOOL* /*error*/, INT64* consumed)
{
    INT64 i = 0;
    BYTE* out = dst;
    while (i < count)
    {
        BYTE c1 = src[i];
        if (c1 < 0x80)
        {
            *out++ = c1;
            ++i;
            continue;
        }
        if (c1 == 0x8F)
        {
            // A JIS X 0212 character (accented Latin letters among them) takes three
            // bytes; Shift-JIS has no such characters, so it shows as the geta mark.
            if (i + 2 >= count)
                break;
            *out++ = 0x81;
            *out++ = 0xAC;
            i += 3;
            continue;
        }
        if (i + 1 >= count)
            break;
        BYTE c2 = src[i + 1];
        i += 2;
        if (c1 == 0x8E)
        {
            *out++ = c2;
            continue;
        }
        int h = c1 >> 1;
        // Rows up to 0xDE map below the gap of the Shift_JIS lead bytes; judging by h
        // would move the even row 0xDE (h = 0x6F) past it as well.
        if (c1 & 1)
        {
            *out++ = static_cast<BYTE>(c1 < 0xDF ? h + 0x31 : h + 0x71);
            *out++ = static_cast<BYTE>(c2 >= 0xE0 ? c2 + 0xA0 : c2 + 0x9F);
        }
        else
        {
            *out++ = static_cast<BYTE>(c1 < 0xDF ? h + 0x30 : h + 0x70);
            *out++ = static_cast<BYTE>(c2 - 2);
        }
    }
    if (consumed)
        *consumed = i;
    return static_cast<int>(out - dst);
}

int CViewDataThread::ConvertJis(const BYTE* src, BYTE* dst, INT64 count, BOOL* error, INT64* consumed)
{
    INT64 i = 0;
    BYTE* out = dst;
    auto fail = [&] {
        if (error)
            *error = TRUE;
    };
    while (i < count)
    {
        BYTE a = src[i];
        if (a == 0x1B)
        {
            m_jisMode = 0;
            m_jisParen = 1;
            m_jisDollar = 1;
            ++i;
            continue;
        }
        if (m_jisParen != 0 || m_jisDollar != 0)
        {
            // Inside an escape sequence.
            ++i;
            if (a == '$' && m_jisDollar == 1 && m_jisParen == 1)
                m_jisDollar = 2;
            else if (a == '(' && m_jisParen == 1)
                m_jisParen = 2;
            else if ((a == 'B' || a == '@') && m_jisDollar == 2)
            {
                m_jisDollar = m_jisParen = 0;
                m_jisMode = 2;
            }
            else if ((a == 'B' || a == 'J') && m_jisParen == 2)
            {
                m_jisDollar = m_jisParen = 0;
                m_jisMode = 1;
            }
            else if (a == 'I' && m_jisParen == 2)
            {
                m_jisDollar = m_jisParen = 0;
                m_jisMode = 3;
            }
            else
            {
                fail();
                m_jisMode = m_jisParen = m_jisDollar = 0;
            }
            continue;
        }
        // JIS text is 7-bit; a byte with the high bit set is never part of it.
        if (a >= 0x80)
        {
            fail();
            ++i;
            continue;
        }
        if (m_jisMode == 2 && a > 0x20 && a < 0x7F)
        {
            if (i + 1 >= count)
                break;
            BYTE b = src[i + 1];
            if (b == 0x1B)
            {
                ++i;
                continue;
            }
            if (b <= 0x20 || b >= 0x7F)
                fail();
            int s1 = ((a - 0x21) >> 1) + 0x81;
            if (s1 > 0x9F)
                s1 += 0x40;
            int s2 = (a & 1) ? b + 0x1F : b + 0x7D;
            if (s2 >= 0x7F)
                ++s2;
            *out++ = static_cast<BYTE>(s1);
            *out++ = static_cast<BYTE>(s2);
            i += 2;
            continue;
        }
        if (m_jisMode == 3 && a > 0x20 && a < 0x60)
            *out++ = static_cast<BYTE>(a + 0x80);
        else
            // One-byte text, line breaks and controls between double-byte runs, and
            // text before the first escape sequence (mail and news texts start in
            // ASCII without announcing it).
            *out++ = a;
        ++i;
    }
    if (consumed)
        *consumed = i;
    return static_cast<int>(out - dst);
}

namespace
{
// Characters of JIS X 0208 that Unicode text carries under other code points than the
// system's Shift-JIS table uses: the system would turn "〜" into "?". Each is replaced
// by the code point the table maps to the JIS cell.
WCHAR TableFormOfJisCharacter(WCHAR c)
{
    switch (c)
    {
    case 0x301C: // WAVE DASH, cell 0x8160
        return 0xFF5E;
    case 0x2016: // DOUBLE VERTICAL LINE, 0x8161
        return 0x2225;
    case 0x2212: // MINUS SIGN, 0x817C
        return 0xFF0D;
    case 0x2014: // EM DASH, 0x815C
        return 0x2015;
    case 0x00A2: // CENT SIGN, 0x8191
        return 0xFFE0;
    case 0x00A3: // POUND SIGN, 0x8192
        return 0xFFE1;
    case 0x00AC: // NOT SIGN, 0x81CA
        return 0xFFE2;
    default:
        return c;
    }
}

bool HasJisVariant(const WCHAR* text, INT64 length)
{
    for (INT64 i = 0; i < length; ++i)
        if (TableFormOfJisCharacter(text[i]) != text[i])
            return true;
    return false;
}

void MapJisVariants(WCHAR* text, INT64 length)
{
    for (INT64 i = 0; i < length; ++i)
        text[i] = TableFormOfJisCharacter(text[i]);
}
} // namespace

int CViewDataThread::ConvertUtf8(const BYTE* src, BYTE* dst, INT64 count, BOOL* error, INT64* consumed)
{
    // A sequence cut by the end of the input waits for the next call.
    INT64 used = count;
    for (INT64 back = 1; back <= 3 && back <= count; ++back)
    {
        BYTE b = src[count - back];
        if ((b & 0xC0) == 0x80)
            continue;
        int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        if (length > back)
            used = count - back;
        break;
    }
    if (consumed)
        *consumed = used;
    if (used <= 0)
        return 0;
    if (m_wideCapacity < used + 1)
    {
        WCHAR* grown = static_cast<WCHAR*>(realloc(m_wide, static_cast<size_t>(used + 1) * sizeof(WCHAR)));
        if (grown == nullptr)
        {
            if (error)
                *error = TRUE;
            return 0;
        }
        m_wide = grown;
        m_wideCapacity = used + 1;
    }
    int wide = MultiByteToWideChar(CP_UTF8, error ? MB_ERR_INVALID_CHARS : 0, reinterpret_cast<LPCSTR>(src),
                                   static_cast<int>(used), m_wide, static_cast<int>(m_wideCapacity));
    if (wide <= 0)
    {
        if (error)
            *error = TRUE;
        return 0;
    }
    MapJisVariants(m_wide, wide);
    return WideCharToMultiByte(CP_ACP, 0, m_wide, wide, reinterpret_cast<LPSTR>(dst), static_cast<int>(count),
                               nullptr, nullptr);
}

int CViewDataThread::ConvertUtf16(const BYTE* src, BYTE* dst, INT64 count, BOOL* error, INT64* consumed)
{
    INT64 units = count / 2;
    // The first half of a surrogate pair waits for its second half.
    if (units > 0)
    {
        WCHAR last = static_cast<WCHAR>(src[units * 2 - 2] | (src[units * 2 - 1] << 8));
        if (last >= 0xD800 && last < 0xDC00)
            --units;
    }
    if (consumed)
        *consumed = units * 2;
    int written = 0;
    const WCHAR* wide = reinterpret_cast<const WCHAR*>(src);
    // Text without the JIS variants, nearly all of it, is converted where it lies.
    if (units > 0 && HasJisVariant(wide, units))
    {
        if (m_wideCapacity < units)
        {
            WCHAR* grown = static_cast<WCHAR*>(realloc(m_wide, static_cast<size_t>(units) * sizeof(WCHAR)));
            if (grown == nullptr)
            {
                if (error)
                    *error = TRUE;
                return 0;
            }
            m_wide = grown;
            m_wideCapacity = units;
        }
        memcpy(m_wide, src, static_cast<size_t>(units) * sizeof(WCHAR));
        MapJisVariants(m_wide, units);
        wide = m_wide;
    }
    if (units > 0)
        written = WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(units), reinterpret_cast<LPSTR>(dst),
                                      static_cast<int>(count), nullptr, nullptr);
    if (written <= 0 && error)
        *error = TRUE;
    return written < 0 ? 0 : written;
}

int CViewDataThread::Convert(const BYTE* src, BYTE* dst, INT64 count, INT64* consumed)
{
    switch (m_charCode)
    {
    case VIEWER_CODE_EUC:
        return ConvertEuc(src, dst, count, nullptr, consumed);
    case VIEWER_CODE_UTF16:
        return ConvertUtf16(src, dst, count, nullptr, consumed);
    case VIEWER_CODE_JIS:
        return ConvertJis(src, dst, count, nullptr, consumed);
    case VIEWER_CODE_UTF8:
        return ConvertUtf8(src, dst, count, nullptr, consumed);
    default:
        memcpy(dst, src, static_cast<size_t>(count));
        *consumed = count;
        return static_cast<int>(count);
    }
}

// ---- Detection ----------------------------------------------------------------------

namespace
{
// JIS text announces its double-byte runs with escape sequences; 7-bit text without
// one is ASCII, whatever control bytes it holds.
bool HasJisEscape(const BYTE* text, INT64 length)
{
    for (INT64 i = 0; i + 2 < length; ++i)
    {
        if (text[i] != 0x1B)
            continue;
        const BYTE kind = text[i + 1];
        const BYTE final = text[i + 2];
        if ((kind == '$' && (final == 'B' || final == '@')) ||
            (kind == '(' && (final == 'B' || final == 'J' || final == 'I')))
            return true;
    }
    return false;
}
} // namespace

int CViewDataThread::DetectEncoding(int requested, int& detected)
{
    BYTE* sample = static_cast<BYTE*>(malloc(kViewerSampleSize));
    INT64 sampleLength = 0;
    // The sample is the beginning of a longer text: its last character may be cut.
    BOOL sampleCut = FALSE;
    if (sample != nullptr)
    {
        if (m_file != nullptr)
        {
            DWORD got = 0;
            DWORD wanted =
                static_cast<DWORD>(m_sourceSize < kViewerSampleSize ? m_sourceSize : kViewerSampleSize);
            LARGE_INTEGER zero{};
            SetFilePointerEx(m_file, zero, nullptr, FILE_BEGIN);
            if (wanted > 0 && ReadFile(m_file, sample, wanted, &got, nullptr))
                sampleLength = got;
            SetFilePointerEx(m_file, zero, nullptr, FILE_BEGIN);
            sampleCut = m_sourceSize > sampleLength;
        }
        else
        {
            INT64 length = m_data.textLength.load();
            sampleLength = length < kViewerSampleSize ? length : kViewerSampleSize;
            if (sampleLength > 0)
                memcpy(sample, m_data.text, static_cast<size_t>(sampleLength));
            sampleCut = length > sampleLength;
        }
    }

    int found = -1;
    int skip = 0;
    if (sampleLength >= 2 && sample[0] == 0xFF && sample[1] == 0xFE)
    {
        found = VIEWER_CODE_UTF16;
        skip = 2;
    }
    else if (sampleLength >= 3 && sample[0] == 0xEF && sample[1] == 0xBB && sample[2] == 0xBF)
    {
        found = VIEWER_CODE_UTF8;
        skip = 3;
    }

    if (requested == VIEWER_CODE_DETECT && found < 0 && sample != nullptr)
    {
        BOOL plain = TRUE;
        BOOL hasNul = FALSE;
        for (INT64 i = 0; i < sampleLength; ++i)
        {
            BYTE b = sample[i];
            if ((b < 0x20 || b > 0x7E) && b != 0x09 && b != 0x0A && b != 0x0D)
            {
                plain = FALSE;
                if (b == 0)
                    hasNul = TRUE;
            }
        }
        if (plain)
            found = VIEWER_CODE_ANSI;
        else
        {
            BYTE* scratch = static_cast<BYTE*>(malloc(kViewerSampleSize));
            WCHAR* wide = static_cast<WCHAR*>(malloc(kViewerSampleSize * sizeof(WCHAR)));
            auto attempt = [&](int code, int n) -> BOOL {
                BOOL error = FALSE;
                int written;
                switch (code)
                {
                case VIEWER_CODE_JIS:
                    if (!HasJisEscape(sample, n))
                        return FALSE;
                    written = ConvertJis(sample, scratch, n, &error);
                    return !error && written > 0 &&
                           ConvertsStrictly(scratch, written, wide, static_cast<int>(kViewerSampleSize));
                case VIEWER_CODE_ANSI:
                    return ConvertsStrictly(sample, n, wide, static_cast<int>(kViewerSampleSize));
                case VIEWER_CODE_EUC:
                    written = ConvertEuc(sample, scratch, n, nullptr);
                    return written > 0 &&
                           ConvertsStrictly(scratch, written, wide, static_cast<int>(kViewerSampleSize));
                case VIEWER_CODE_UTF8:
                    ConvertUtf8(sample, scratch, n, &error);
                    return !error;
                default:
                    return ConvertUtf16(sample, scratch, n, &error) > 0 && !error;
                }
            };
            // The bytes of the sample that the trial of `code` converts, 0 when it fails.
            auto trial = [&](int code) -> INT64 {
                for (int cut = 0; cut < 4 && sampleLength - cut >= 2; ++cut)
                    if (attempt(code, static_cast<int>(sampleLength - cut)))
                        return sampleLength - cut;
                return 0;
            };
            if (scratch != nullptr && wide != nullptr)
            {
                if (!hasNul)
                {
                    bool multiByte = false;
                    if (trial(VIEWER_CODE_JIS) > 0)
                        found = VIEWER_CODE_JIS;
                    else if (IsStrictUtf8(sample, sampleLength, sampleCut != FALSE, multiByte) && multiByte)
                        found = VIEWER_CODE_UTF8;
                    else
                    {
                        const INT64 ansiBytes = trial(VIEWER_CODE_ANSI);
                        const INT64 eucBytes = trial(VIEWER_CODE_EUC);
                        if (ansiBytes > 0 && eucBytes > 0)
                            found = MorePlausible(EucReading(sample, eucBytes),
                                                  ShiftJisReading(sample, ansiBytes))
                                        ? VIEWER_CODE_EUC
                                        : VIEWER_CODE_ANSI;
                        else if (ansiBytes > 0)
                            found = VIEWER_CODE_ANSI;
                        else if (eucBytes > 0)
                            found = VIEWER_CODE_EUC;
                        else if (trial(VIEWER_CODE_UTF8) > 0)
                            found = VIEWER_CODE_UTF8;
                    }
                }
                if (found < 0 && trial(VIEWER_CODE_UTF16) > 0)
                    found = VIEWER_CODE_UTF16;
            }
            free(scratch);
            free(wide);
            // Loading starts again at the first byte: the JIS state the trials left
            // belongs to the end of the sample.
            m_jisMode = m_jisParen = m_jisDollar = 0;
        }
        if (found < 0)
            found = VIEWER_CODE_ANSI;
    }
    free(sample);

    int effective;
    if (requested == VIEWER_CODE_DETECT)
    {
        effective = found;
        detected = found;
    }
    else
    {
        effective =
            requested < VIEWER_CODE_ANSI || requested > VIEWER_CODE_UTF8 ? VIEWER_CODE_ANSI : requested;
        detected = found;
    }
    // The mark is skipped only for the code it announces; any other code shows it.
    m_bomSkip = effective == found && (found == VIEWER_CODE_UTF16 || found == VIEWER_CODE_UTF8) ? skip : 0;
    m_charCode = effective;
    return effective;
}

// ---- Loading ------------------------------------------------------------------------

BOOL CViewDataThread::EnsureTextCapacity(INT64 needed)
{
    if (needed <= m_data.textCapacity && m_data.text != nullptr)
        return TRUE;
    if (needed < 0 || needed > kMaxBlockBytes || static_cast<unsigned long long>(needed) + 1 > SIZE_MAX)
        return FALSE;
    // The size of a file is known: one block of that size avoids copying the text
    // again and again; otherwise grow by half again, at least by the usual step.
    INT64 candidates[3];
    int n = 0;
    if (m_sourceSize >= needed)
        candidates[n++] = m_sourceSize;
    INT64 grown = m_data.textCapacity + m_data.textCapacity / 2;
    if (grown < m_data.textCapacity + kViewerTextGrowth)
        grown = m_data.textCapacity + kViewerTextGrowth;
    if (m_sourceSize >= needed && grown > m_sourceSize)
        grown = m_sourceSize;
    if (grown < needed)
        grown = needed;
    candidates[n++] = grown;
    candidates[n++] = needed;
    for (int i = 0; i < n; ++i)
    {
        INT64 capacity = candidates[i];
        if (capacity > kMaxBlockBytes || static_cast<unsigned long long>(capacity) + 1 > SIZE_MAX)
            continue;
        CHandleLock lock(m_data.semaphore, CHandleLock::SEMAPHORE);
        char* moved = static_cast<char*>(realloc(m_data.text, static_cast<size_t>(capacity) + 1));
        if (moved == nullptr)
            continue;
        m_data.text = moved;
        m_data.textCapacity = capacity;
        return TRUE;
    }
    return FALSE;
}

BOOL CViewDataThread::AppendIndexEntry(INT64 offset)
{
    // Only this thread writes the count; readers see it after the entry it covers.
    INT64 count = m_data.lineCount.load(std::memory_order_relaxed);
    // Room for the new entry and ten more, as readers may look one entry ahead.
    if (m_data.lineIndex == nullptr || count + 12 > m_data.indexCapacity)
    {
        const INT64 doubled =
            m_data.indexCapacity < kIndexFirstEntries ? kIndexFirstEntries : m_data.indexCapacity * 2;
        // Past the first screen, the lines indexed so far tell how many the whole text
        // will hold: an index of that size (and some more) is not copied again and
        // again as it grows. It is never made larger than the text itself, so a text
        // whose first lines are short reserves no more than that; the plain doubling
        // is the fallback.
        INT64 expected = 0;
        if (m_data.indexCapacity >= kIndexFirstEntries && offset > 0 && m_sourceSize > offset)
        {
            const double estimate = static_cast<double>(count) *
                                    (static_cast<double>(m_sourceSize) / static_cast<double>(offset));
            const INT64 ceiling = m_sourceSize / static_cast<INT64>(sizeof(INT64)) + 4096;
            expected = estimate * 1.125 + 4096 < static_cast<double>(ceiling)
                           ? static_cast<INT64>(estimate * 1.125) + 4096
                           : ceiling;
        }
        const INT64 candidates[2] = {expected, doubled};
        BOOL grown = FALSE;
        for (INT64 entries : candidates)
        {
            if (entries < count + 12 || static_cast<unsigned long long>(entries) > SIZE_MAX / sizeof(INT64))
                continue;
            CHandleLock lock(m_data.semaphore, CHandleLock::SEMAPHORE);
            INT64* moved =
                static_cast<INT64*>(realloc(m_data.lineIndex, static_cast<size_t>(entries) * sizeof(INT64)));
            if (moved == nullptr)
                continue;
            if (m_data.lineIndex == nullptr)
                moved[0] = 0;
            // The entries still to come go into fresh memory: mapped in one call (see
            // MapTextAhead), unless a second thread indexes that keeps up with the reads.
            if (m_mapIndexAhead)
                FwPrefaultPages(moved + count + 1, static_cast<size_t>(entries - count - 1) * sizeof(INT64));
            m_data.lineIndex = moved;
            m_data.indexCapacity = entries;
            grown = TRUE;
            break;
        }
        if (!grown)
            return FALSE;
    }
    m_data.lineIndex[count + 1] = offset;
    m_data.lineCount.store(count + 1, std::memory_order_release);
    return TRUE;
}

void CViewDataThread::IndexLines(BOOL final)
{
    const bool* lead = LeadBytes().lead;
    const bool* plain = LeadBytes().plain;
    const BYTE* text = reinterpret_cast<const BYTE*>(m_data.text);
    const INT64 length = m_data.textLength.load();
    const int width = m_lineWidth;
    const int tab = m_tabWidth;
    INT64 pos = m_scanPos;
    const INT64 budgetEnd = pos + kIndexBytesPerStep;
    for (;;)
    {
        if (pos >= length)
        {
            if (final && m_data.lineCount.load() == 0 && !AppendIndexEntry(length))
                m_failed = TRUE;
            break;
        }
        // Leave the last lines of a block until the text after them has arrived: a
        // line break or a double-byte character may continue in the next block.
        if (!final && pos + 2 * static_cast<INT64>(width) + 2 > length)
            break;
        if (pos >= budgetEnd)
            break;
        const INT64 lineStart = pos;
        int column = 0;
        for (;;)
        {
            // Most bytes are single-column characters: run over them up to the column
            // where a double-byte character could no longer fit.
            const INT64 room = width - 1 - column;
            if (room > 0)
            {
                const INT64 stop = pos + room < length ? pos + room : length;
                const INT64 p = SkipPlainBytes(text, pos, stop, plain, lead);
                column += static_cast<int>(p - pos);
                pos = p;
                if (pos >= length)
                {
                    if (!final)
                    {
                        m_scanPos = lineStart;
                        return;
                    }
                    break;
                }
                if (column == width - 1 && lead[text[pos]])
                    break;
            }
            BYTE c = text[pos];
            if (lead[c])
            {
                pos += 2;
                column += 2;
            }
            else
            {
                ++pos;
                if (c == '\t')
                    column = (column / tab + 1) * tab;
                else if (c == '\r')
                {
                    if (pos < length && text[pos] == '\n')
                        ++pos;
                    column = width + 1;
                }
                else if (c == '\n')
                    column = width + 1;
                else
                    ++column;
            }
            if (pos >= length)
            {
                if (!final)
                {
                    pos = lineStart;
                    m_scanPos = pos;
                    return;
                }
                // A lead byte as the very last byte would put the end one past the text.
                pos = length;
                break;
            }
            if (column >= width)
                break;
            if (column == width - 1 && lead[text[pos]])
                break;
        }
        // Nearly always the index has room: the entry goes in at once; growing it is
        // AppendIndexEntry's.
        const INT64 count = m_data.lineCount.load(std::memory_order_relaxed);
        if (m_data.lineIndex != nullptr && count + 12 <= m_data.indexCapacity)
        {
            m_data.lineIndex[count + 1] = pos;
            m_data.lineCount.store(count + 1, std::memory_order_release);
        }
        else if (!AppendIndexEntry(pos))
        {
            m_failed = TRUE;
            break;
        }
    }
    m_scanPos = pos;
}

BOOL CViewDataThread::ConvertInMemory()
{
    BYTE* text = reinterpret_cast<BYTE*>(m_data.text);
    INT64 length = m_data.textLength.load();
    INT64 read = 0;
    INT64 written = 0;
    if (m_charCode == VIEWER_CODE_UTF16 || m_charCode == VIEWER_CODE_UTF8)
        read = m_bomSkip < length ? m_bomSkip : length;
    while (read < length)
    {
        INT64 piece = length - read < kViewerBlockSize ? length - read : kViewerBlockSize;
        memcpy(m_staging, text + read, static_cast<size_t>(piece));
        INT64 consumed = 0;
        // The output of a piece is never longer than the input it consumed, so it
        // never overtakes the bytes still to be read.
        int out = Convert(m_staging, text + written, piece, &consumed);
        written += out;
        if (consumed <= 0)
            break;
        read += consumed;
    }
    m_data.textLength.store(written);
    return TRUE;
}

// The text is held whole in memory of the file's size, every page of it fresh, and
// under Wine in a virtual machine a fresh page costs far more than the bytes it holds.
// On our build machine a read of 256 MiB into one reused block takes 0.03 to 0.05 s,
// the same read straight into a fresh block 1.7 s quiet and 3.6 s loaded. That cost is
// the faults of first touches, paid twice: the first write to a page faults (25 to 40
// us a page when pages fault in one by one), and the system's first write into a page
// (a read into it) faults once more on its own, even after our code has written to the
// page: a read into 256 MiB our code had just written to took 1.9 s, the next read into
// the same pages 0.09 s. So the text is mapped in a few MiB ahead of the reads in one
// call (FwPrefaultPages: 1 to 2 us a page, after which the first write costs about
// half), and the file is read into the small staging block, whose pages the system has
// met before, and copied from there: 1.3 s for the 256 MiB in the run where the
// straight read took 3.6 s. A mapped view of the file would spare the copy, but while
// it is open another program cannot truncate the file, which the shared handle allows.
void CViewDataThread::MapTextAhead(INT64 end)
{
    if (m_mappedText != m_data.text)
    {
        // A block moved by its growth holds the text so far, written by the copy.
        m_mappedText = m_data.text;
        m_textMapped = m_data.textLength.load();
    }
    const INT64 room = m_data.textCapacity + 1;
    if (end <= m_textMapped || m_mappedText == nullptr)
        return;
    INT64 ahead = m_textMapped + kViewerMapStep;
    if (ahead < end)
        ahead = end;
    if (ahead > room)
        ahead = room;
    FwPrefaultPages(m_mappedText + m_textMapped, static_cast<size_t>(ahead - m_textMapped));
    m_textMapped = ahead;
}

BOOL CViewDataThread::LoadFileBlock(BOOL& final)
{
    INT64 left = m_sourceSize - m_readPos;
    INT64 block = left < kViewerBlockSize ? left : kViewerBlockSize;
    final = FALSE;
    if (block <= 0)
    {
        final = TRUE;
        return TRUE;
    }
    INT64 length = m_data.textLength.load();
    // While the text is indexed beside the reads its block may not move, and need not:
    // it has the file's size, and no conversion writes more bytes than it reads.
    if (m_textPinned ? length + block > m_data.textCapacity : !EnsureTextCapacity(length + block))
    {
        // Show what fits; the pane tells the user that the rest is missing.
        m_data.truncated.store(TRUE);
        final = TRUE;
        return TRUE;
    }
    MapTextAhead(length + block);
    // The file is read into the one small block that every read reuses, never straight
    // into the text: see MapTextAhead.
    DWORD got = 0;
    if (!ReadFile(m_file, m_staging, static_cast<DWORD>(block), &got, nullptr))
        return FALSE;
    if (got == 0)
    {
        // The file shrank since it was opened.
        final = TRUE;
        return TRUE;
    }
    BOOL last = m_readPos + got >= m_sourceSize;
    if (m_charCode == VIEWER_CODE_ANSI)
    {
        memcpy(m_data.text + length, m_staging, got);
        m_readPos += got;
        m_data.textLength.store(length + got);
    }
    else
    {
        INT64 skip = m_readPos == 0 ? m_bomSkip : 0;
        if (skip > got)
            skip = got;
        INT64 consumed = 0;
        int out =
            Convert(m_staging + skip, reinterpret_cast<BYTE*>(m_data.text) + length, got - skip, &consumed);
        consumed += skip;
        if (last || consumed <= 0)
            consumed = got;
        else if (consumed < got)
        {
            // Read the cut character again with the next block.
            LARGE_INTEGER back;
            back.QuadPart = m_readPos + consumed;
            SetFilePointerEx(m_file, back, nullptr, FILE_BEGIN);
        }
        m_readPos += consumed;
        m_data.textLength.store(length + out);
    }
    final = m_readPos >= m_sourceSize;
    return TRUE;
}

int CViewDataThread::LoadNextBlock()
{
    if (m_done.load())
        return m_failed ? 0 : 1;
    if (m_staging == nullptr)
    {
        m_staging = static_cast<BYTE*>(calloc(static_cast<size_t>(kViewerBlockSize) + 1, 1));
        if (m_staging == nullptr)
        {
            m_failed = TRUE;
            m_done.store(1);
            return 0;
        }
    }
    BOOL final = TRUE;
    if (m_file == nullptr)
    {
        if (!m_memoryConverted)
        {
            if (!m_rewrap && m_charCode != VIEWER_CODE_ANSI)
                ConvertInMemory();
            m_memoryConverted = TRUE;
        }
    }
    else if (!m_data.truncated.load() && !LoadFileBlock(final))
    {
        m_failed = TRUE;
        m_done.store(1);
        return 0;
    }
    if (m_data.text == nullptr && !EnsureTextCapacity(0))
    {
        m_failed = TRUE;
        m_done.store(1);
        return 0;
    }
    IndexLines(final);
    if (m_failed)
    {
        // Nothing is shown after a failed index growth rather than a part of a line.
        m_data.lineCount.store(0);
        m_done.store(1);
        return 0;
    }
    if (final && m_scanPos >= m_data.textLength.load())
        m_done.store(1);
    return 1;
}

// Scanning the text for its line ends costs about a third of what reading it into
// fresh memory costs; done by a second thread on the text already read, it takes
// nothing from the reads. The file is read by this thread as before, and the index
// is written by the other alone, so the rules for readers stay those of one loader.
BOOL CViewDataThread::IndexesBesideReads() const
{
    return m_file != nullptr && m_file != INVALID_HANDLE_VALUE && !m_rewrap && m_data.text != nullptr &&
           !m_data.truncated.load() && m_data.textCapacity >= m_sourceSize &&
           m_sourceSize - m_readPos > 2 * kViewerBlockSize;
}

void CViewDataThread::WakeIndexer()
{
    // Each wake is a call into the system that costs about as much as indexing a block,
    // so the sleeper is woken once a few blocks have come.
    const INT64 wanted = m_indexerWaiting.load();
    if (wanted != 0 && m_data.textLength.load() >= wanted && m_indexerWaiting.exchange(0) != 0)
        SetEvent(m_textArrived);
}

DWORD WINAPI CViewDataThread::IndexerMain(void* self)
{
    static_cast<CViewDataThread*>(self)->IndexArrivingText();
    return 0;
}

// The index's fresh memory is not mapped in ahead while this thread keeps up with the
// reads. Mapping a range in (VirtualLock and VirtualUnlock, see MapTextAhead) takes
// the process's address-space lock for writing, and the reader maps its text ahead the
// same way: the reader's calls wait for this thread's. On one machine that slowed the
// reads by a fifth, where letting the index's pages fault in one by one slowed nothing,
// since this thread waits for text most of the time. Where faults are dear enough
// that this thread falls behind, it maps its index in one call from then on.
void CViewDataThread::IndexArrivingText()
{
    while (!m_done.load())
    {
        const int ended = m_readsEnded.load();
        const INT64 length = m_data.textLength.load();
        const INT64 before = m_scanPos;
        if (!m_mapIndexAhead && length - m_scanPos > kIndexerLagBytes)
        {
            m_mapIndexAhead = TRUE;
            const INT64 count = m_data.lineCount.load(std::memory_order_relaxed);
            if (m_data.lineIndex != nullptr && count + 1 < m_data.indexCapacity)
                FwPrefaultPages(m_data.lineIndex + count + 1,
                                static_cast<size_t>(m_data.indexCapacity - count - 1) * sizeof(INT64));
        }
        IndexLines(ended == 1);
        if (m_failed)
        {
            // Nothing is shown after a failed index growth rather than a part of a line;
            // the reads stop at the done flag.
            m_data.lineCount.store(0);
            m_done.store(1);
            return;
        }
        if (ended == 1 && m_scanPos >= m_data.textLength.load())
            return;
        if (m_scanPos != before)
            continue;
        // Once the reads have ended no more text comes to wait for.
        if (ended != 0)
            return;
        // Caught up with the reads: sleep until the next block, unless it came or the
        // reads ended since the lengths above were taken.
        m_indexerWaiting.store(length + kIndexerWakeBytes);
        if (m_data.textLength.load() >= length + kIndexerWakeBytes || m_readsEnded.load() != ended ||
            m_done.load())
        {
            m_indexerWaiting.store(0);
            continue;
        }
        WaitForSingleObject(m_textArrived, INFINITE);
    }
}

// Reads the file while the second thread indexes; returns FALSE, having done nothing,
// when that thread cannot be started.
BOOL CViewDataThread::LoadWithIndexer()
{
    m_textArrived = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (m_textArrived == nullptr)
        return FALSE;
    m_textPinned = TRUE;
    m_mapIndexAhead = FALSE;
    HANDLE indexer = ::CreateThread(nullptr, 0, IndexerMain, this, 0, nullptr);
    if (indexer == nullptr)
    {
        m_mapIndexAhead = TRUE;
        m_textPinned = FALSE;
        CloseHandle(m_textArrived);
        m_textArrived = nullptr;
        return FALSE;
    }
    BOOL readFailed = FALSE;
    BOOL final = FALSE;
    while (!final && !m_done.load())
    {
        if (!LoadFileBlock(final))
        {
            readFailed = TRUE;
            break;
        }
        WakeIndexer();
    }
    m_readsEnded.store(final ? 1 : 2);
    m_indexerWaiting.store(0);
    SetEvent(m_textArrived);
    WaitForSingleObject(indexer, INFINITE);
    CloseHandle(indexer);
    CloseHandle(m_textArrived);
    m_textArrived = nullptr;
    m_textPinned = FALSE;
    m_mapIndexAhead = TRUE;
    if (readFailed)
        m_failed = TRUE;
    m_done.store(1);
    m_lastResult = !m_failed;
    return TRUE;
}

BOOL CViewDataThread::InitInstance()
{
    BOOL ran = FALSE;
    m_lastResult = FALSE;
    if (!m_done.load() && IndexesBesideReads() && LoadWithIndexer())
        ran = TRUE;
    while (!m_done.load())
    {
        ran = TRUE;
        m_lastResult = LoadNextBlock();
        if (!m_lastResult)
            break;
    }
    if (!ran)
        m_lastResult = !m_failed;
    if (m_file != nullptr && m_file != INVALID_HANDLE_VALUE)
    {
        CloseHandle(m_file);
        m_file = nullptr;
    }
    return FALSE;
}

int CViewDataThread::ExitInstance()
{
    CWinThread::ExitInstance();
    return m_lastResult ? 0 : -1;
}
