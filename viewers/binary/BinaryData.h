// The data of one binary-editor pane: a file shown as bytes and edited in place without
// changing its length. The file is never read whole: reads go through one window of
// 32,000 bytes placed before the requested offset, and every edited byte lives in a
// small record of its 32-byte chunk, found through the bucket of its 320-byte range, so
// memory grows with the edited area and not with the file.
#pragma once
#include <windows.h>
#include "framework/FwString.h"

// The third argument of CBinaryData::SetByte.
enum BinaryEditKind
{
    BINEDIT_LOW_NIBBLE = 1,
    BINEDIT_HIGH_NIBBLE = 16,
    BINEDIT_BYTE = 17,
};

// The value kinds of searches and comparisons.
enum BinaryValueKind
{
    BINVALUE_TEXT = 0,
    BINVALUE_HEX = 1,
    BINVALUE_BYTE = 2,
    BINVALUE_WORD = 3,
    BINVALUE_DWORD = 4,
};

// One record per edited 32-byte chunk. Only the bytes whose bit is set in the mask are
// edits; the others are never laid over the file, since the file may have changed
// under them since the record was made (the other pane saved, or another program).
struct BinaryEditChunk
{
    BYTE data[32];
    DWORD changedMask;
    LONGLONG offset;
    BinaryEditChunk* next;
};

class CBinaryData
{
public:
    // Files this large or larger are refused at open: offsets of the pane's lines and
    // caret are kept in 32 bits.
    static constexpr LONGLONG kMaxSize = 0x7FFFFFFF;
    static constexpr int kWindowSize = 32000;
    static constexpr int kWindowLead = 16000;
    // Positions a search reads and tests at once.
    static constexpr LONGLONG kSearchBlock = 1 << 18;

    CBinaryData();
    virtual ~CBinaryData();

    int Open(LPCWSTR path);
    void Close();

    LONGLONG Read(BYTE* buffer, LONGLONG offset, LONGLONG count);
    LONGLONG ReadBlocks(BYTE* buffer, LONGLONG offset, LONGLONG count);

    void SetByte(LONGLONG offset, BYTE value, int kind);
    void WriteBytes(const BYTE* data, LONGLONG count, LONGLONG from, LONGLONG limit);
    void FillPattern(const BYTE* data, LONGLONG count, LONGLONG from, LONGLONG to);

    void SetSearchData(const BYTE* pattern, LONGLONG length, LONGLONG start, DWORD direction);
    int SetCompareData(LPCWSTR comparePath, const BYTE* compareValue, const BYTE* differenceValue,
                       DWORD matchEdit, DWORD matchCompare, DWORD matchDifference, DWORD matchDiffering,
                       DWORD kind, DWORD isSigned, int length);
    LONGLONG SearchNext(int reverse);
    static int MatchDifference(const BYTE* other, const BYTE* edited, const BYTE* difference, DWORD kind,
                               DWORD isSigned);

    void MoveCursor(LONGLONG delta);
    int ScrollToCursor(int shownLines, int follow);

    int IsModified() const;
    int Save();
    int WriteChangeList(LPCWSTR path) const;
    void InvalidateReadWindow();

    // The number of chunk records (tests and the change count of the pane).
    int GetChunkCount() const;
    // The record of the chunk holding the offset, or null.
    const BinaryEditChunk* FindChunk(LONGLONG offset) const;

    // The file and the editor's navigation state; the view's drawing, caret and
    // command code work on these directly.
    CString m_path;
    LONGLONG m_size;
    LONGLONG m_lineCount;
    LONGLONG m_cursor; // in nibbles
    LONGLONG m_firstLine;
    LONGLONG m_selAnchor; // nibble positions, -1 when none
    LONGLONG m_selEnd;
    int m_extending;
    int m_selectionShown;

    // The running search or comparison.
    BYTE* m_pattern;
    LONGLONG m_patternLength;
    DWORD m_direction; // 0 towards the end, 1 towards the start
    LONGLONG m_searchStart;
    LONGLONG m_searchPos;
    int m_compareMode;
    int m_compareLength;
    DWORD m_matchEdit;
    DWORD m_matchCompare;
    DWORD m_matchDifference;
    DWORD m_matchDiffering;
    DWORD m_kind;
    DWORD m_signed;
    BYTE* m_compareValue;
    BYTE* m_differenceValue;

private:
    CBinaryData(const CBinaryData&);
    CBinaryData& operator=(const CBinaryData&);

    BinaryEditChunk* FindChunkRecord(LONGLONG chunkOffset) const;
    void FreeChunks();
    void ReleaseSearchValues();
    void LayEdits(BYTE* buffer, LONGLONG offset, LONGLONG count) const;
    int HitAt(const BYTE* edited, const BYTE* other) const;
    int ReadWindowAt(HANDLE file, LONGLONG start, LONGLONG length, BYTE* into, LONGLONG& filePos);

    BinaryEditChunk** m_buckets;
    LONGLONG m_bucketCount;
    HANDLE m_file;
    HANDLE m_compareFile;
    LONGLONG m_filePos;
    BYTE* m_window;
    LONGLONG m_windowStart;
    LONGLONG m_windowEnd;
    // Set when a hit left the search position on the search start: the round is over
    // and the next call reports it, instead of starting a new round at once (a replace
    // that keeps hitting just before the start would never end).
    int m_roundEnded;
    // Chunk records held; reads skip the lookup of edits while there are none.
    LONGLONG m_chunkCount;
};
