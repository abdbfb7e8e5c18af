// The byte patterns of a search text in the five character codes a file search
// looks for, and the scan of a file's contents for any of them.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// The slots in their order, which is also the order of the encoding flags.
enum
{
    FIND_SLOT_ANSI = 0,  // the system ANSI code page
    FIND_SLOT_EUC = 1,   // EUC-JP
    FIND_SLOT_UTF16 = 2, // UTF-16 little-endian, no byte-order mark
    FIND_SLOT_JIS = 3,   // ISO-2022-JP without its escape sequences
    FIND_SLOT_UTF8 = 4,
    FIND_SLOT_COUNT = 5,
};

// Bytes a block of file data holds (the carry included).
constexpr DWORD FIND_BLOCK_SIZE = 32000;

class CContentPatterns
{
public:
    CContentPatterns() = default;
    ~CContentPatterns() { Clear(); }
    CContentPatterns(const CContentPatterns&) = delete;
    CContentPatterns& operator=(const CContentPatterns&) = delete;

    // Converts the text once for each slot whose flag is set (flags in slot order); a
    // conversion that gives nothing leaves its slot empty. Returns the filled slots.
    int Build(LPCWSTR text, const int flags[FIND_SLOT_COUNT]);
    void Clear();

    int GetCount() const { return m_count; }
    int GetLength(int slot) const { return m_lengths[slot]; }

    // 1 as soon as any filled slot occurs in the file read from the handle's current
    // position to its end; 0 when none does, on a read failure and when `stop` turns
    // non-zero. The file is read to its real end in blocks of FIND_BLOCK_SIZE bytes, so
    // a file that shrank or grew since it was listed is read as it is now.
    int ScanHandle(HANDLE file, volatile int* stop) const;

private:
    void SetSlot(int slot, const BYTE* bytes, int length);
    // Splits the JIS slot into its runs of one character set, and chooses for every
    // slot the run that the scan looks for first (the longest; the whole text
    // elsewhere), then the scan's filters over those runs.
    void PrepareScan(const std::vector<int>& jisBreaks);
    BOOL MatchesAt(int slot, const BYTE* block, DWORD length, DWORD anchor) const;

    BYTE* m_bytes[FIND_SLOT_COUNT] = {};
    int m_lengths[FIND_SLOT_COUNT] = {};
    int m_count = 0;

    // Runs of the JIS slot (offset, length): a file may switch character sets
    // between them with an escape sequence.
    std::vector<std::pair<int, int>> m_jisRuns;
    int m_anchorRun = 0; // the JIS run looked for first
    int m_anchorOffset[FIND_SLOT_COUNT] = {};
    int m_anchorLength[FIND_SLOT_COUNT] = {};
    // Bytes a match may reach before and after its anchor's start.
    DWORD m_before = 0;
    DWORD m_after = 0;
    // Shortest anchor, and the window of every anchor's first bytes (as many, at
    // most 256) that the scan's filters look at.
    int m_shortest = 0;
    DWORD m_window = 0;

    // Short anchors: positions whose first byte and byte m_window - 1 further on
    // are those of some anchor, sixteen positions at a time. One filter per distinct
    // pair of bytes.
    int m_filterCount = 0;
    BYTE m_filterFirst[FIND_SLOT_COUNT] = {};
    BYTE m_filterLast[FIND_SLOT_COUNT] = {};

    // Long anchors: any occurrence holds, at one of every m_window - 1 positions, a
    // byte pair of an anchor's window; the set of those pairs (a byte for each of
    // the 65,536, one look without shifts) and where each stands in which anchor.
    struct AnchorPair
    {
        WORD pair;
        BYTE slot;
        BYTE offset;
    };
    std::vector<BYTE> m_pairBits;
    std::vector<AnchorPair> m_pairs;

    BOOL ScanByFilters(const BYTE* block, DWORD length, DWORD from, DWORD to) const;
    BOOL ScanByPairs(const BYTE* block, DWORD length, DWORD from, DWORD to) const;
    BOOL MatchesAny(const BYTE* block, DWORD length, DWORD anchor) const;
};

// The ISO-2022-JP bytes of a Shift_JIS text with every escape sequence left out: the
// ASCII bytes unchanged, each double-byte character as its two 7-bit JIS bytes.
// Half-width katakana and bytes outside Shift_JIS give FALSE.
BOOL ShiftJisToBareJis(const char* sjis, int length, std::string& out);
