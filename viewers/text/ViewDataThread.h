// The text of a viewer pane and the thread that fills it: a file (or bytes already in
// memory) is converted block by block into one buffer of the system code page
// (Shift_JIS), and a line-start index splits it into display lines of a fixed width.
// The first block is converted and indexed by the caller's thread so that the first
// screen can be drawn at once; the rest is done by CViewDataThread in the background.
#pragma once
#include <windows.h>

#include <atomic>

#include "framework/FwThread.h"

// Character codes of a viewer's text (VIEWER_CHAR_CODE holds the requested one).
enum ViewerCharCode
{
    VIEWER_CODE_ANSI = 0,
    VIEWER_CODE_EUC = 1,
    VIEWER_CODE_UTF16 = 2,
    VIEWER_CODE_JIS = 3,
    VIEWER_CODE_UTF8 = 4,
    VIEWER_CODE_DETECT = 5,
};

// The text and its line index as the loader fills them. Display line i covers the
// bytes from lineIndex[i] to lineIndex[i + 1], its line break included. The loader
// appends past the published length and count and publishes them afterwards; it
// moves `text` and `lineIndex` only while holding `semaphore`, so a reader that holds
// the semaphore may use both pointers for as long as it holds it.
struct ViewerTextData
{
    char* text = nullptr;
    std::atomic<INT64> textLength{0};
    // Bytes reserved for text (the block itself is one byte larger).
    INT64 textCapacity = 0;
    INT64* lineIndex = nullptr;
    // Entries the index block holds.
    INT64 indexCapacity = 0;
    std::atomic<INT64> lineCount{0};
    // Count 1, maximum 1; unnamed, so that two running programs never wait for each
    // other's panes.
    HANDLE semaphore = nullptr;
    // The source did not fit in memory: the text holds only its beginning.
    std::atomic<BOOL> truncated{FALSE};
};

class CViewDataThread : public CWinThread
{
public:
    // fileHandle null: the source is data.text (data.textLength bytes, not yet
    // converted unless rewrap). The loader takes the handle and closes it.
    CViewDataThread(ViewerTextData& data, HANDLE fileHandle, INT64 sourceSize, int tabWidth, int lineWidth);
    ~CViewDataThread() override;

    // Chooses the character code: a byte-order mark (FF FE: UTF-16, EF BB BF: UTF-8)
    // is always skipped for those two codes; with `requested` = VIEWER_CODE_DETECT the
    // mark or a trial decides. Returns the effective code; `detected` gets the code
    // found (the mark's, or the trial's when detecting; -1 when nothing was found
    // and a code was requested).
    int DetectEncoding(int requested, int& detected);
    // The text is already converted (a new line or tab width): index it only.
    void SetRewrap();

    // One step: reads and converts one block and indexes what it can. 1 to go on
    // (IsDone tells when everything is indexed), 0 after a failure.
    int LoadNextBlock();

    BOOL IsDone() const { return m_done.load() != 0; }
    // Asks the thread to stop after its current step.
    void RequestStop() { m_done.store(1); }

    int GetTabWidth() const { return m_tabWidth; }
    int GetLineWidth() const { return m_lineWidth; }

    // The converters: `count` bytes of `src` to Shift_JIS at `dst` (never more than
    // `count` bytes). With `error` given they check their input and set *error when it
    // is not of their kind. `consumed` (optional) gets the input bytes used: a
    // character cut by the end of the input is left for the next call.
    int ConvertEuc(const BYTE* src, BYTE* dst, INT64 count, BOOL* error, INT64* consumed = nullptr);
    int ConvertJis(const BYTE* src, BYTE* dst, INT64 count, BOOL* error, INT64* consumed = nullptr);
    int ConvertUtf8(const BYTE* src, BYTE* dst, INT64 count, BOOL* error, INT64* consumed = nullptr);
    int ConvertUtf16(const BYTE* src, BYTE* dst, INT64 count, BOOL* error, INT64* consumed = nullptr);

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    int Convert(const BYTE* src, BYTE* dst, INT64 count, INT64* consumed);
    BOOL EnsureTextCapacity(INT64 needed);
    BOOL AppendIndexEntry(INT64 offset);
    void IndexLines(BOOL final);
    BOOL LoadFileBlock(BOOL& final);
    // Maps the text block's fresh pages in up to `end` bytes, a step ahead.
    void MapTextAhead(INT64 end);
    BOOL ConvertInMemory();
    // A large file whose text block already has the file's size is indexed by a
    // second thread while this one reads: see LoadWithIndexer.
    BOOL IndexesBesideReads() const;
    BOOL LoadWithIndexer();
    static DWORD WINAPI IndexerMain(void* self);
    void IndexArrivingText();
    void WakeIndexer();

    ViewerTextData& m_data;
    HANDLE m_file;
    INT64 m_sourceSize;
    int m_tabWidth;
    int m_lineWidth;
    int m_charCode = VIEWER_CODE_ANSI;
    int m_bomSkip = 0;
    BOOL m_rewrap = FALSE;
    std::atomic<int> m_done{0};
    BOOL m_failed = FALSE;
    BOOL m_lastResult = FALSE;
    BYTE* m_staging = nullptr;
    WCHAR* m_wide = nullptr;
    INT64 m_wideCapacity = 0; // in WCHARs
    // JIS: mode (0 escape expected, 1 one-byte, 2 two-byte, 3 half-width katakana),
    // and how far the "(" and "$" designations have come.
    BYTE m_jisMode = 0;
    BYTE m_jisParen = 0;
    BYTE m_jisDollar = 0;
    BOOL m_memoryConverted = FALSE;
    INT64 m_scanPos = 0;
    INT64 m_readPos = 0;
    // The text block whose first m_textMapped bytes are mapped in.
    char* m_mappedText = nullptr;
    INT64 m_textMapped = 0;
    // While a second thread indexes: the text block must not move under it.
    BOOL m_textPinned = FALSE;
    // Whether the index's fresh memory is mapped in one call as it grows (see
    // IndexArrivingText): always when one thread reads and indexes, and for a second
    // thread only once it lags behind the reads.
    BOOL m_mapIndexAhead = TRUE;
    // Told to that thread: 0 while reading, 1 when the whole text is in, 2 when the
    // reads stopped short of it (a failure or a stop request).
    std::atomic<int> m_readsEnded{0};
    // Set by that thread before it sleeps on m_textArrived to the text length that is
    // to wake it, so that the reader sets the event only when someone waits for it.
    std::atomic<INT64> m_indexerWaiting{0};
    HANDLE m_textArrived = nullptr;
};

// The text block and the index block are allocated in these steps when the source
// size is not known ahead.
constexpr INT64 kViewerTextGrowth = 300000;
constexpr INT64 kViewerBlockSize = 0x10000;
constexpr INT64 kViewerSampleSize = 0x6000;
// How far ahead of the reads the text block is mapped in.
constexpr INT64 kViewerMapStep = INT64(4) << 20;

// Lead-byte test of the system code page through a table built once.
BOOL IsViewerLeadByte(BYTE b);
