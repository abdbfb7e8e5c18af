// The text a viewer pane shows and everything the pane does with it: opening a file
// or bytes in memory, (re)building the line index on its loader thread, the lock that
// readers take around each access, scrolling limits and the text search. One object
// per pane; it owns the text, the index, the loader and the semaphore.
#pragma once
#include <windows.h>

#include <string>

#include "viewers/text/ViewDataThread.h"

class CViewerText
{
public:
    CViewerText();
    ~CViewerText();
    CViewerText(const CViewerText&) = delete;
    CViewerText& operator=(const CViewerText&) = delete;

    // Opens a disk file: the widths are the defaults, which a per-extension row may
    // replace. requestedCode is VIEWER_CHAR_CODE (0-4, or 5 to detect). TRUE when a
    // line index exists afterwards (the first block is indexed, the rest loads).
    BOOL OpenViewerFile(LPCWSTR path, int tabWidth, int lineWidth, int requestedCode);
    // Takes bytes read into memory (an archive member) as the source; `extension` is
    // the member's, for the per-extension rows ("" for a name without one), or
    // kViewerNoName for bytes without a name, which keep the widths given.
    BOOL OpenViewerMemory(const void* bytes, INT64 length, LPCWSTR extension, int tabWidth, int lineWidth,
                          int requestedCode);
    // Indexes the text held again with other widths; the text and its code stay.
    BOOL RewrapViewerData(int tabWidth, int lineWidth);

    // Stops the loader and waits for its thread; no buffer moves or is freed after.
    void StopViewerLoader();
    // Stops the loader, frees the text and the index, resets position and search.
    void ReleaseViewerData();
    BOOL IsViewerLoadDone() const;

    // Readers bracket every access to Text()/LineIndex() with these. Refused (and
    // nothing held) when there is no text or no index.
    BOOL LockViewerData();
    void UnlockViewerData();

    const char* Text() const { return m_data.text; }
    INT64 TextLength() const { return m_data.textLength.load(); }
    const INT64* LineIndex() const { return m_data.lineIndex; }
    INT64 LineCount() const { return m_data.lineCount.load(); }
    BOOL IsTruncated() const { return m_data.truncated.load(); }

    // Effective code 0-4, and the code a mark or the detection found (-1 none).
    int GetViewerEncoding() const { return m_charCode; }
    int GetViewerEncodingDetail() const { return m_detectedCode; }
    int GetTabWidth() const { return m_tabWidth; }
    int GetLineWidth() const { return m_lineWidth; }

    INT64 GetTopLine() const { return m_topLine; }
    void SetTopLine(INT64 line) { m_topLine = line; }
    // Moves the first shown line by delta, kept between 0 and the last full page;
    // returns the change actually made.
    INT64 ScrollViewerLines(INT64 delta, int linesPerPage, BOOL hexForm = FALSE);

    // The search: text in bytes of the system code page, the case rule and which way
    // the forward argument goes (0: forward, 1: backward).
    enum SearchState
    {
        SEARCH_NEW = 0,
        SEARCH_FROM_START = 1,
        SEARCH_NOT_FOUND = 2,
        SEARCH_FOUND = 3,
    };
    void SetSearch(const std::string& text, BOOL ignoreCase, int direction);
    // Starts the next search at `offset` (state "from the search start").
    void SetSearchStart(INT64 offset);
    // TRUE when found; the match is at GetSearchPosition().
    BOOL SearchViewerText(BOOL forward);
    INT64 GetSearchPosition() const { return m_searchPos; }
    INT64 GetSearchLength() const { return static_cast<INT64>(m_searchText.size()); }

private:
    BOOL LoadViewerData(INT64 sourceSize, int tabWidth, int lineWidth, HANDLE file, BOOL rewrap);
    BOOL CharsMatch(INT64 pos, INT64 end) const;
    // TRUE when a character of the text starts at `pos`, not a double byte's trail.
    BOOL IsCharStart(INT64 pos) const;
    // The bytes a match may begin with (the two cases of a letter when case is ignored).
    void SearchFirstBytes(char& a, char& b) const;
    // The first match in [from, stop), or the last in [low, high]; -1 when none.
    INT64 FindForward(INT64 from, INT64 stop, INT64 end) const;
    INT64 FindBackward(INT64 low, INT64 high, INT64 end) const;

    ViewerTextData m_data;
    CViewDataThread* m_loader = nullptr;
    int m_charCode = VIEWER_CODE_ANSI;
    int m_detectedCode = -1;
    int m_tabWidth = 8;
    int m_lineWidth = 80;
    INT64 m_topLine = 0;
    std::string m_searchText;
    // 1 for each byte of the search text that is a character of its own, the only
    // bytes case folding may touch.
    std::string m_searchSingle;
    BOOL m_ignoreCase = FALSE;
    int m_searchDirection = 0;
    INT64 m_searchStart = 0;
    INT64 m_searchPos = 0;
    int m_searchState = SEARCH_NEW;
};

// The extension passed for a text that has no name: no per-extension row applies.
constexpr LPCWSTR kViewerNoName = nullptr;

// The widths for a file of this extension: the last of the per-extension rows that
// names it (case-insensitively) wins, an empty extension matching the empty rows; no
// row leaves the defaults.
void ViewerWidthsForExtension(LPCWSTR extension, int& tabWidth, int& lineWidth);
