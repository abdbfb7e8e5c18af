// What a filer pane asks of the text it shows as a text viewer: opening a file or
// bytes in memory, the lock around every read of the text and its line index, the
// loader's state, scrolling limits and the find. The text engine sits above the panes,
// so the pane reaches it only through this interface; the program installs the
// factory that makes the real object. Without it a pane opens nothing.
#pragma once
#include <windows.h>

class IPaneViewer
{
public:
    virtual ~IPaneViewer() = default;

    // TRUE when a line index exists afterwards (its first screen is indexed already).
    virtual BOOL OpenFile(LPCWSTR path, int tabWidth, int lineWidth, int requestedCode) = 0;
    virtual BOOL OpenMemory(const void* bytes, INT64 length, LPCWSTR extension, int tabWidth, int lineWidth,
                            int requestedCode) = 0;
    // Indexes the text held again with other widths.
    virtual BOOL Rewrap(int tabWidth, int lineWidth) = 0;
    virtual void StopLoader() = 0;
    virtual void Release() = 0;
    virtual BOOL IsLoadDone() const = 0;
    // Every read of Text()/LineIndex() is bracketed by these; refused without a text.
    virtual BOOL Lock() = 0;
    virtual void Unlock() = 0;
    virtual const char* Text() const = 0;
    virtual INT64 TextLength() const = 0;
    virtual const INT64* LineIndex() const = 0;
    virtual INT64 LineCount() const = 0;
    // Only the beginning of the source fitted in memory.
    virtual BOOL IsTruncated() const = 0;
    virtual int GetEncoding() const = 0;
    virtual int GetEncodingDetail() const = 0;
    virtual int GetTabWidth() const = 0;
    virtual int GetLineWidth() const = 0;
    virtual INT64 GetTopLine() const = 0;
    virtual void SetTopLine(INT64 line) = 0;
    virtual INT64 ScrollLines(INT64 delta, int linesPerPage, BOOL hexForm) = 0;
    // The find over the text: bytes of the system code page.
    virtual void SetSearch(const char* text, int length, BOOL ignoreCase, int direction) = 0;
    virtual void SetSearchStart(INT64 offset) = 0;
    virtual BOOL Search(BOOL forward) = 0;
    virtual INT64 GetSearchPosition() const = 0;
    // Bytes of the search text (0: nothing to search for).
    virtual INT64 GetSearchLength() const = 0;
};

// What makes a pane's viewer text, which lies above the panes; the program installs
// it.
struct PaneViewerHooks
{
    // Makes the viewer text of a pane; null: no viewer (every open fails).
    IPaneViewer* (*create)();
};

extern PaneViewerHooks g_PaneViewerHooks;

// The viewer text of a pane, or null; the pane owns and deletes it.
IPaneViewer* CreatePaneViewer();
