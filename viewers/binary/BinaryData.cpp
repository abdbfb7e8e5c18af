#include "viewers/binary/BinaryData.h"

#include <immintrin.h>
#include <new>
#include <stdio.h>
#include <string.h>

#include "util/PathHelpers.h"

namespace
{

const LONGLONG kChunk = 32;
const LONGLONG kBucketSpan = 320;
const DWORD kBufferSlack = 10;

LONGLONG Min64(LONGLONG a, LONGLONG b)
{
    return a < b ? a : b;
}

LONGLONG Max64(LONGLONG a, LONGLONG b)
{
    return a > b ? a : b;
}

BYTE* CopyBytes(const BYTE* data, LONGLONG length, LONGLONG spare)
{
    BYTE* copy = new (std::nothrow) BYTE[(size_t)(length + spare)];
    if (copy)
    {
        memset(copy, 0, (size_t)(length + spare));
        if (data && length > 0)
            memcpy(copy, data, (size_t)length);
    }
    return copy;
}

BOOL SeekTo(HANDLE file, LONGLONG offset)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN);
}

BOOL ReadAll(HANDLE file, BYTE* into, LONGLONG length)
{
    DWORD got = 0;
    return ReadFile(file, into, (DWORD)length, &got, nullptr) && got == (DWORD)length;
}

// Candidates of a search: offsets whose byte is `first` and, when `pairs`, whose next
// byte is `second`. Sixteen offsets a step; with pairs, data must hold one byte past `to`.
struct Candidates
{
    const BYTE* data;
    BYTE first, second;
    bool pairs;

    int Mask(LONGLONG at) const
    {
        __m128i hits =
            _mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)(data + at)), _mm_set1_epi8((char)first));
        if (pairs)
            hits = _mm_and_si128(hits, _mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)(data + at + 1)),
                                                      _mm_set1_epi8((char)second)));
        return _mm_movemask_epi8(hits);
    }
    bool At(LONGLONG at) const { return data[at] == first && (!pairs || data[at + 1] == second); }

    // The first candidate in [from, to), or -1.
    LONGLONG Next(LONGLONG from, LONGLONG to) const
    {
        static const bool wide = __builtin_cpu_supports("avx2");
        return wide ? NextWide(from, to) : NextNarrow(from, to);
    }

    // Where the processor has 32-byte compares, 64 offsets a step are sifted by both
    // bytes at once: over bytes of every value about one step in five holds the first
    // byte alone, and each such step would take the narrow test and a mispredicted
    // branch.
    __attribute__((target("avx2"))) LONGLONG NextWide(LONGLONG from, LONGLONG to) const
    {
        LONGLONG at = from;
        const __m256i wantedFirst = _mm256_set1_epi8((char)first);
        const __m256i wantedSecond = _mm256_set1_epi8((char)second);
        for (; at + 64 <= to; at += 64)
        {
            __m256i low = _mm256_cmpeq_epi8(_mm256_loadu_si256((const __m256i*)(data + at)), wantedFirst);
            __m256i high =
                _mm256_cmpeq_epi8(_mm256_loadu_si256((const __m256i*)(data + at + 32)), wantedFirst);
            if (pairs)
            {
                low = _mm256_and_si256(
                    low,
                    _mm256_cmpeq_epi8(_mm256_loadu_si256((const __m256i*)(data + at + 1)), wantedSecond));
                high = _mm256_and_si256(
                    high,
                    _mm256_cmpeq_epi8(_mm256_loadu_si256((const __m256i*)(data + at + 33)), wantedSecond));
            }
            const __m256i any = _mm256_or_si256(low, high);
            if (_mm256_testz_si256(any, any))
                continue;
            const unsigned lowMask = (unsigned)_mm256_movemask_epi8(low);
            if (lowMask)
                return at + __builtin_ctz(lowMask);
            return at + 32 + __builtin_ctz((unsigned)_mm256_movemask_epi8(high));
        }
        return NextNarrow(at, to);
    }

    LONGLONG NextNarrow(LONGLONG from, LONGLONG to) const
    {
        LONGLONG at = from;
        // Four steps of sixteen are first sifted by the first byte alone.
        const __m128i wanted = _mm_set1_epi8((char)first);
        for (; at + 64 <= to; at += 64)
        {
            const __m128i any = _mm_or_si128(
                _mm_or_si128(_mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)(data + at)), wanted),
                             _mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)(data + at + 16)), wanted)),
                _mm_or_si128(_mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)(data + at + 32)), wanted),
                             _mm_cmpeq_epi8(_mm_loadu_si128((const __m128i*)(data + at + 48)), wanted)));
            if (!_mm_movemask_epi8(any))
                continue;
            for (LONGLONG part = at; part < at + 64; part += 16)
            {
                const int mask = Mask(part);
                if (mask)
                    return part + __builtin_ctz((unsigned)mask);
            }
        }
        for (; at + 16 <= to; at += 16)
        {
            const int mask = Mask(at);
            if (mask)
                return at + __builtin_ctz((unsigned)mask);
        }
        for (; at < to; ++at)
        {
            if (At(at))
                return at;
        }
        return -1;
    }

    // The last candidate in [0, to), or -1.
    LONGLONG Previous(LONGLONG to) const
    {
        LONGLONG at = to;
        for (; at >= 16; at -= 16)
        {
            const int mask = Mask(at - 16);
            if (mask)
                return at - 16 + (31 - __builtin_clz((unsigned)mask));
        }
        for (; at > 0; --at)
        {
            if (At(at - 1))
                return at - 1;
        }
        return -1;
    }
};

// The bytes [from, from + count) of a file in `data`, which holds [heldStart, heldEnd)
// from the call before. A search forwards reads overlapping blocks: the overlap is kept
// and the read goes on where the file pointer stands, since under Wine every seek is
// one more round trip to the server.
BOOL FillBlock(HANDLE file, BYTE* data, LONGLONG& heldStart, LONGLONG& heldEnd, LONGLONG from, LONGLONG count,
               LONGLONG& filePos)
{
    LONGLONG keep = 0;
    if (heldStart <= from && from < heldEnd && heldEnd <= from + count)
    {
        keep = heldEnd - from;
        memmove(data, data + (from - heldStart), (size_t)keep);
    }
    heldStart = heldEnd = 0;
    const LONGLONG at = from + keep;
    if (count > keep)
    {
        if ((filePos != at && !SeekTo(file, at)) || !ReadAll(file, data + keep, count - keep))
        {
            filePos = -1;
            return FALSE;
        }
        filePos = from + count;
    }
    heldStart = from;
    heldEnd = from + count;
    return TRUE;
}

BOOL WriteAll(HANDLE file, const void* data, DWORD length)
{
    DWORD written = 0;
    return WriteFile(file, data, length, &written, nullptr) && written == length;
}

} // namespace

CBinaryData::CBinaryData()
    : m_size(0), m_lineCount(0), m_cursor(0), m_firstLine(0), m_selAnchor(-1), m_selEnd(-1), m_extending(0),
      m_selectionShown(0), m_pattern(nullptr), m_patternLength(0), m_direction(0), m_searchStart(0),
      m_searchPos(0), m_compareMode(0), m_compareLength(0), m_matchEdit(0), m_matchCompare(0),
      m_matchDifference(0), m_matchDiffering(0), m_kind(0), m_signed(0), m_compareValue(nullptr),
      m_differenceValue(nullptr), m_buckets(nullptr), m_bucketCount(0), m_file(INVALID_HANDLE_VALUE),
      m_compareFile(INVALID_HANDLE_VALUE), m_filePos(0), m_window(nullptr), m_windowStart(0), m_windowEnd(0),
      m_roundEnded(0), m_chunkCount(0)
{
}

CBinaryData::~CBinaryData()
{
    Close();
}

int CBinaryData::Open(LPCWSTR path)
{
    Close();
    m_path = path;
    HANDLE file = CreateFileLong(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kMaxSize)
    {
        CloseHandle(file);
        return 0;
    }
    m_bucketCount = size.QuadPart / kBucketSpan + 1;
    m_buckets = new (std::nothrow) BinaryEditChunk*[(size_t)m_bucketCount];
    m_window = new (std::nothrow) BYTE[kWindowSize + kBufferSlack];
    if (!m_buckets || !m_window)
    {
        CloseHandle(file);
        Close();
        return 0;
    }
    memset(m_buckets, 0, sizeof(BinaryEditChunk*) * (size_t)m_bucketCount);
    m_file = file;
    m_size = size.QuadPart;
    m_firstLine = m_searchStart = m_cursor = m_filePos = m_searchPos = 0;
    m_windowStart = m_windowEnd = 0;
    m_lineCount = m_size / 16 + (m_size % 16 ? 1 : 0);
    m_selAnchor = m_selEnd = -1;
    m_extending = 0;
    m_compareMode = 0;
    m_roundEnded = 0;
    ReleaseSearchValues();
    return 1;
}

void CBinaryData::FreeChunks()
{
    if (!m_buckets)
        return;
    for (LONGLONG i = 0; i < m_bucketCount; ++i)
    {
        BinaryEditChunk* chunk = m_buckets[i];
        while (chunk)
        {
            BinaryEditChunk* next = chunk->next;
            delete chunk;
            chunk = next;
        }
        m_buckets[i] = nullptr;
    }
    m_chunkCount = 0;
}

void CBinaryData::ReleaseSearchValues()
{
    delete[] m_pattern;
    delete[] m_compareValue;
    delete[] m_differenceValue;
    m_pattern = m_compareValue = m_differenceValue = nullptr;
    m_patternLength = 0;
}

void CBinaryData::Close()
{
    FreeChunks();
    delete[] m_buckets;
    m_buckets = nullptr;
    m_bucketCount = 0;
    delete[] m_window;
    m_window = nullptr;
    m_windowStart = m_windowEnd = 0;
    if (m_file != INVALID_HANDLE_VALUE)
        CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
    m_selAnchor = m_selEnd = -1;
    m_extending = 0;
    if (m_compareFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_compareFile);
    m_compareFile = INVALID_HANDLE_VALUE;
    m_compareMode = 0;
    ReleaseSearchValues();
}

int CBinaryData::ReadWindowAt(HANDLE file, LONGLONG start, LONGLONG length, BYTE* into, LONGLONG& filePos)
{
    if (filePos != start && !SeekTo(file, start))
    {
        filePos = -1;
        return 0;
    }
    if (!ReadAll(file, into, length))
    {
        filePos = -1;
        return 0;
    }
    filePos = start + length;
    return 1;
}

LONGLONG CBinaryData::Read(BYTE* buffer, LONGLONG offset, LONGLONG count)
{
    if (count <= 0 || offset < 0 || offset >= m_size || !m_window)
        return 0;
    if (offset + count >= m_size)
        count = m_size - offset;
    // One whole line of an unedited file inside the window: what paging asks for
    // every line, answered without the general loop.
    if (count == 16 && m_chunkCount == 0 && offset >= m_windowStart && offset + 16 <= m_windowEnd)
    {
        memcpy(buffer, m_window + (offset - m_windowStart), 16);
        return 16;
    }
    LONGLONG pos = offset;
    LONGLONG remaining = count;
    while (remaining > 0)
    {
        if (pos < m_windowStart || pos >= m_windowEnd)
        {
            LONGLONG start = Max64(0, pos - kWindowLead);
            LONGLONG length = Min64(kWindowSize, m_size - start);
            m_windowStart = m_windowEnd = 0;
            if (!ReadWindowAt(m_file, start, length, m_window, m_filePos))
                return 0;
            m_windowStart = start;
            m_windowEnd = start + length;
        }
        LONGLONG piece = Min64(remaining, m_windowEnd - pos);
        memcpy(buffer + (count - remaining), m_window + (pos - m_windowStart), (size_t)piece);
        remaining -= piece;
        pos += piece;
    }
    LayEdits(buffer, offset, count);
    return count;
}

void CBinaryData::LayEdits(BYTE* buffer, LONGLONG offset, LONGLONG count) const
{
    // Paging through an unedited file reads line by line: no bucket to look up then.
    if (m_chunkCount == 0)
        return;
    LONGLONG end = offset + count;
    for (LONGLONG b = offset / kBucketSpan; b <= (end - 1) / kBucketSpan && b < m_bucketCount; ++b)
    {
        for (BinaryEditChunk* chunk = m_buckets[b]; chunk; chunk = chunk->next)
        {
            LONGLONG from = Max64(chunk->offset, offset);
            LONGLONG to = Min64(end, chunk->offset + kChunk);
            for (LONGLONG at = from; at < to; ++at)
            {
                int bit = (int)(at - chunk->offset);
                if (chunk->changedMask & (1u << bit))
                    buffer[at - offset] = chunk->data[bit];
            }
        }
    }
}

LONGLONG CBinaryData::ReadBlocks(BYTE* buffer, LONGLONG offset, LONGLONG count)
{
    const LONGLONG kPiece = 16000;
    LONGLONG total = 0;
    while (total < count)
    {
        LONGLONG want = Min64(kPiece, count - total);
        LONGLONG got = Read(buffer + total, offset + total, want);
        if (got <= 0)
            break;
        total += got;
        if (got < kPiece)
            break;
    }
    return total;
}

BinaryEditChunk* CBinaryData::FindChunkRecord(LONGLONG chunkOffset) const
{
    if (!m_buckets || chunkOffset < 0)
        return nullptr;
    LONGLONG b = chunkOffset / kBucketSpan;
    if (b >= m_bucketCount)
        return nullptr;
    for (BinaryEditChunk* chunk = m_buckets[b]; chunk; chunk = chunk->next)
    {
        if (chunk->offset == chunkOffset)
            return chunk;
    }
    return nullptr;
}

const BinaryEditChunk* CBinaryData::FindChunk(LONGLONG offset) const
{
    return FindChunkRecord(offset / kChunk * kChunk);
}

int CBinaryData::GetChunkCount() const
{
    int count = 0;
    for (LONGLONG b = 0; m_buckets && b < m_bucketCount; ++b)
    {
        for (BinaryEditChunk* chunk = m_buckets[b]; chunk; chunk = chunk->next)
            ++count;
    }
    return count;
}

void CBinaryData::SetByte(LONGLONG offset, BYTE value, int kind)
{
    if (offset < 0 || offset >= m_size || !m_buckets)
        return;
    LONGLONG chunkOffset = offset / kChunk * kChunk;
    int bit = (int)(offset - chunkOffset);
    BinaryEditChunk* chunk = FindChunkRecord(chunkOffset);
    if (!chunk)
    {
        chunk = new (std::nothrow) BinaryEditChunk;
        if (!chunk)
            return;
        memset(chunk, 0, sizeof(*chunk));
        chunk->offset = chunkOffset;
        if (Read(chunk->data, chunkOffset, kChunk) <= 0)
        {
            delete chunk;
            return;
        }
        BinaryEditChunk** tail = &m_buckets[chunkOffset / kBucketSpan];
        while (*tail)
            tail = &(*tail)->next;
        *tail = chunk;
        ++m_chunkCount;
    }
    else if (!(chunk->changedMask & (1u << bit)))
    {
        // The byte kept beside a nibble edit must be the file's current one, not the
        // one read when the record was made.
        BYTE current;
        if (Read(&current, offset, 1) == 1)
            chunk->data[bit] = current;
    }
    BYTE& byte = chunk->data[bit];
    if (kind == BINEDIT_BYTE)
        byte = value;
    else if (kind == BINEDIT_HIGH_NIBBLE)
        byte = (BYTE)((value << 4) | (byte & 0x0F));
    else if (kind == BINEDIT_LOW_NIBBLE)
        byte = (BYTE)((byte & 0xF0) | (value & 0x0F));
    chunk->changedMask |= 1u << bit;
}

void CBinaryData::WriteBytes(const BYTE* data, LONGLONG count, LONGLONG from, LONGLONG limit)
{
    for (LONGLONG i = 0; i < count; ++i)
    {
        if (from + i >= limit)
            break;
        SetByte(from + i, data[i], BINEDIT_BYTE);
    }
}

void CBinaryData::FillPattern(const BYTE* data, LONGLONG count, LONGLONG from, LONGLONG to)
{
    if (count <= 0 || from < 0)
        return;
    // Copies starting at or beyond the end of the file change nothing: stop there
    // rather than step through a huge count of ignored offsets.
    for (LONGLONG at = from; at < to && at < m_size; at += count)
    {
        for (LONGLONG i = 0; i < count && at + i < m_size; ++i)
            SetByte(at + i, data[i], BINEDIT_BYTE);
    }
}

void CBinaryData::SetSearchData(const BYTE* pattern, LONGLONG length, LONGLONG start, DWORD direction)
{
    delete[] m_pattern;
    m_pattern = CopyBytes(pattern, length, 2);
    m_patternLength = m_pattern ? length : 0;
    m_direction = direction;
    m_searchStart = m_searchPos = start;
    m_compareMode = 0;
    m_roundEnded = 0;
}

int CBinaryData::SetCompareData(LPCWSTR comparePath, const BYTE* compareValue, const BYTE* differenceValue,
                                DWORD matchEdit, DWORD matchCompare, DWORD matchDifference,
                                DWORD matchDiffering, DWORD kind, DWORD isSigned, int length)
{
    m_patternLength = length;
    m_matchEdit = matchEdit;
    m_matchCompare = matchCompare;
    m_matchDifference = matchDifference;
    m_matchDiffering = matchDiffering;
    if (m_compareFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_compareFile);
    m_compareFile = CreateFileLong(comparePath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_compareFile == INVALID_HANDLE_VALUE)
    {
        ReleaseSearchValues();
        return 0;
    }
    m_kind = kind;
    m_signed = isSigned;
    delete[] m_compareValue;
    delete[] m_differenceValue;
    m_compareValue = m_differenceValue = nullptr;
    if (matchCompare)
        m_compareValue = CopyBytes(compareValue, length, 5);
    if (matchDifference)
        m_differenceValue = CopyBytes(differenceValue, length, 5);
    if ((matchCompare && !m_compareValue) || (matchDifference && !m_differenceValue))
    {
        ReleaseSearchValues();
        return 0;
    }
    m_compareMode = 1;
    m_compareLength = length;
    return 1;
}

int CBinaryData::MatchDifference(const BYTE* other, const BYTE* edited, const BYTE* difference, DWORD kind,
                                 DWORD isSigned)
{
    if (kind == BINVALUE_BYTE)
    {
        LONGLONG o = isSigned ? (LONGLONG)(signed char)other[0] : other[0];
        LONGLONG e = isSigned ? (LONGLONG)(signed char)edited[0] : edited[0];
        LONGLONG d = isSigned ? (LONGLONG)(signed char)difference[0] : difference[0];
        return o == e + d;
    }
    if (kind == BINVALUE_WORD)
    {
        WORD ow = (WORD)(other[0] | (other[1] << 8));
        WORD ew = (WORD)(edited[0] | (edited[1] << 8));
        WORD dw = (WORD)(difference[0] | (difference[1] << 8));
        LONGLONG o = isSigned ? (LONGLONG)(short)ow : ow;
        LONGLONG e = isSigned ? (LONGLONG)(short)ew : ew;
        LONGLONG d = isSigned ? (LONGLONG)(short)dw : dw;
        return o == e + d;
    }
    if (kind == BINVALUE_DWORD)
    {
        DWORD o, e, d;
        memcpy(&o, other, 4);
        memcpy(&e, edited, 4);
        memcpy(&d, difference, 4);
        return o == (DWORD)(e + d);
    }
    return 1;
}

int CBinaryData::HitAt(const BYTE* edited, const BYTE* other) const
{
    const size_t length = (size_t)m_patternLength;
    if (!m_compareMode)
        return memcmp(edited, m_pattern, length) == 0;
    if (m_matchEdit && memcmp(edited, m_pattern, length) != 0)
        return 0;
    if (m_matchCompare && memcmp(other, m_compareValue, length) != 0)
        return 0;
    if (m_matchDifference && !MatchDifference(other, edited, m_differenceValue, m_kind, m_signed))
        return 0;
    if (m_matchDiffering && memcmp(other, edited, length) == 0)
        return 0;
    return 1;
}

LONGLONG CBinaryData::SearchNext(int reverse)
{
    if (m_roundEnded)
    {
        m_roundEnded = 0;
        return -1;
    }
    LONGLONG step = ((m_direction == 0) == (reverse == 0)) ? 1 : -1;
    if (m_size <= 0 || m_searchPos < 0 || m_searchPos >= m_size || m_patternLength <= 0)
        return -1;
    BYTE* probe = new (std::nothrow) BYTE[kWindowSize + kBufferSlack];
    if (!probe)
        return -1;
    LONGLONG probed = ReadBlocks(probe, m_searchPos, kWindowSize);
    delete[] probe;
    if (probed <= 0)
        return -1;

    LONGLONG otherSize = 0;
    if (m_compareMode)
    {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(m_compareFile, &size))
            return -1;
        otherSize = size.QuadPart;
    }
    // The positions left in this round: up to the one before the search start, or a
    // whole round when the search begins on it.
    LONGLONG left =
        ((step > 0 ? m_searchStart - m_searchPos : m_searchPos - m_searchStart) % m_size + m_size) % m_size;
    if (left == 0)
        left = m_size;

    // Testing each position through Read would cost a call and a window check per byte;
    // a block of positions is read once, edits laid over it, and tested from memory.
    const LONGLONG length = m_patternLength;
    const LONGLONG blockBytes = Min64(kSearchBlock, m_size) + length;
    BYTE* edited = new (std::nothrow) BYTE[(size_t)blockBytes + kBufferSlack];
    BYTE* other = m_compareMode ? new (std::nothrow) BYTE[(size_t)blockBytes + kBufferSlack] : nullptr;
    if (!edited || (m_compareMode && !other))
    {
        delete[] edited;
        delete[] other;
        return -1;
    }
    // Only a candidate whose first bytes are right needs the whole test; which buffer
    // and bytes decide that depends on the conditions set.
    Candidates filter = {nullptr, 0, 0, length >= 2};
    if (!m_compareMode || m_matchEdit)
    {
        filter.data = edited;
        filter.first = m_pattern[0];
        filter.second = m_pattern[length >= 2 ? 1 : 0];
    }
    else if (m_matchCompare)
    {
        filter.data = other;
        filter.first = m_compareValue[0];
        filter.second = m_compareValue[length >= 2 ? 1 : 0];
    }

    LONGLONG result = -1;
    LONGLONG pos = m_searchPos;
    LONGLONG editedStart = 0, editedEnd = 0, otherStart = 0, otherEnd = 0, otherPos = -1;
    while (left > 0)
    {
        LONGLONG count = Min64(left, kSearchBlock);
        LONGLONG low, high;
        if (step > 0)
        {
            count = Min64(count, m_size - pos);
            low = pos;
            high = pos + count - 1;
        }
        else
        {
            count = Min64(count, pos + 1);
            high = pos;
            low = pos - count + 1;
        }
        // Positions from which the pattern would run past the end of our file, or in
        // compare mode of the other one, are never hits.
        LONGLONG last = Min64(high, m_size - length);
        if (m_compareMode)
            last = Min64(last, otherSize - length);
        if (last >= low)
        {
            const LONGLONG bytes = last - low + length;
            if (!FillBlock(m_file, edited, editedStart, editedEnd, low, bytes, m_filePos) ||
                (m_compareMode &&
                 !FillBlock(m_compareFile, other, otherStart, otherEnd, low, bytes, otherPos)))
                break;
            LayEdits(edited, low, bytes);
            const LONGLONG span = last - low + 1;
            if (step > 0)
            {
                for (LONGLONG at = 0; at < span; ++at)
                {
                    if (filter.data)
                    {
                        at = filter.Next(at, span);
                        if (at < 0)
                            break;
                    }
                    if (HitAt(edited + at, other ? other + at : nullptr))
                    {
                        result = low + at;
                        break;
                    }
                }
            }
            else
            {
                for (LONGLONG at = span - 1; at >= 0; --at)
                {
                    if (filter.data)
                    {
                        at = filter.Previous(at + 1);
                        if (at < 0)
                            break;
                    }
                    if (HitAt(edited + at, other ? other + at : nullptr))
                    {
                        result = low + at;
                        break;
                    }
                }
            }
        }
        if (result >= 0)
        {
            pos = result;
            break;
        }
        left -= count;
        pos = step > 0 ? high + 1 : low - 1;
        if (pos >= m_size)
            pos = 0;
        else if (pos < 0)
            pos = m_size - 1;
    }
    delete[] edited;
    delete[] other;
    // A failed read leaves the search on the first position it could not test; a round
    // that found nothing ends on the search start.
    if (result < 0)
    {
        m_searchPos = pos;
        return -1;
    }
    LONGLONG next = result + step;
    if (next >= m_size)
        next = 0;
    else if (next < 0)
        next = m_size - 1;
    m_searchPos = next;
    m_roundEnded = m_searchPos == m_searchStart;
    return result;
}

void CBinaryData::MoveCursor(LONGLONG delta)
{
    if (m_size <= 0)
    {
        m_cursor = 0;
        return;
    }
    LONGLONG limit = 2 * m_size;
    LONGLONG moved = m_cursor + delta;
    if (moved >= limit)
    {
        LONGLONG at = m_cursor;
        while (at + 32 < limit)
            at += 32;
        m_cursor = at >= limit ? limit - 1 : at;
    }
    else if (moved < 0)
    {
        LONGLONG at = m_cursor;
        while (at - 32 >= 0)
            at -= 32;
        m_cursor = at < 0 ? 0 : at;
    }
    else
        m_cursor = moved;
}

int CBinaryData::ScrollToCursor(int shownLines, int follow)
{
    LONGLONG oldTop = m_firstLine;
    LONGLONG top = m_firstLine;
    if (follow)
    {
        if (shownLines < 1)
            shownLines = 1;
        LONGLONG line = m_cursor / 32;
        if (!(top + 1 <= line && line <= top + shownLines - 2))
            top = Max64(Min64(top + 1, line - 1), line + 2 - shownLines);
    }
    top = Min64(top, m_lineCount - shownLines);
    top = Max64(top, 0);
    m_firstLine = top;
    return follow ? (int)(top - oldTop) : 0;
}

int CBinaryData::IsModified() const
{
    for (LONGLONG b = 0; m_buckets && b < m_bucketCount; ++b)
    {
        if (m_buckets[b])
            return 1;
    }
    return 0;
}

int CBinaryData::Save()
{
    HANDLE file = CreateFileLong(m_path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    m_windowStart = m_windowEnd = 0;
    for (LONGLONG b = 0; m_buckets && b < m_bucketCount; ++b)
    {
        while (BinaryEditChunk* chunk = m_buckets[b])
        {
            // Only the edited bytes are written: the others may have been changed on
            // disk since the record was made, by the other pane or another program.
            LONGLONG limit = Min64(kChunk, m_size - chunk->offset);
            int i = 0;
            while (i < limit)
            {
                if (!(chunk->changedMask & (1u << i)))
                {
                    ++i;
                    continue;
                }
                int runEnd = i;
                while (runEnd < limit && (chunk->changedMask & (1u << runEnd)))
                    ++runEnd;
                if (!SeekTo(file, chunk->offset + i) || !WriteAll(file, chunk->data + i, (DWORD)(runEnd - i)))
                {
                    CloseHandle(file);
                    return 0;
                }
                i = runEnd;
            }
            m_buckets[b] = chunk->next;
            delete chunk;
            --m_chunkCount;
        }
    }
    CloseHandle(file);
    return 1;
}

int CBinaryData::WriteChangeList(LPCWSTR path) const
{
    HANDLE file =
        CreateFileLong(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    CString text;
    text += L"\xFEFF";
    text += L"ADDRESS    DATA\r\n";
    for (LONGLONG b = 0; m_buckets && b < m_bucketCount; ++b)
    {
        // A bucket keeps its chunks in the order they were first edited; the list goes
        // by address.
        LONGLONG last = -1;
        for (;;)
        {
            const BinaryEditChunk* lowest = nullptr;
            for (const BinaryEditChunk* chunk = m_buckets[b]; chunk; chunk = chunk->next)
            {
                if (chunk->offset > last && (!lowest || chunk->offset < lowest->offset))
                    lowest = chunk;
            }
            if (!lowest)
                break;
            last = lowest->offset;
            for (int bit = 0; bit < 32; ++bit)
            {
                if (!(lowest->changedMask & (1u << bit)))
                    continue;
                wchar_t line[40];
                swprintf(line, 40, L"%08llXH  %02X\r\n", (unsigned long long)(lowest->offset + bit),
                         (unsigned)lowest->data[bit]);
                text += line;
            }
        }
    }
    BOOL ok = WriteAll(file, text.GetString(), (DWORD)text.GetLength() * sizeof(wchar_t));
    CloseHandle(file);
    return ok ? 1 : 0;
}

void CBinaryData::InvalidateReadWindow()
{
    m_windowStart = m_windowEnd = 0;
}
