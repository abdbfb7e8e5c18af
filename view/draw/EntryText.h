// Text in the character cells of the main view: the primitives every drawing routine
// of the view writes through, the colour of a file entry, and the lines of one file
// entry and of one network row.
#pragma once
#include <windows.h>
#include "framework/FwGdi.h"
#include "framework/FwString.h"
#include "filer/FileInfo.h"
#include "filer/PaneHooks.h"
#include "app/records/PaneRecords.h"

// Both formats leave "&" alone: file names may contain it.
constexpr UINT kPlainDrawFormat = DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX;
// The name format: the plain one, with an end ellipsis when FILENAMELASTELLIPSIS is on.
UINT GetNameDrawFormat();

// One text output as it reached the device context. The recorder below sees every
// one of them; tests read the drawn texts and places from it.
struct CellTextRecord
{
    int x = 0;
    int y = 0;
    BOOL clipped = FALSE; // a system formatted-text call, cut at `clip`
    CRect clip;
    CString text;
    COLORREF textColor = 0;
    COLORREF backColor = 0;
    UINT format = 0;
};

class ICellTextRecorder
{
public:
    virtual ~ICellTextRecorder() = default;
    virtual void OnText(const CellTextRecord& record) = 0;
};

// Null in the program.
extern ICellTextRecorder* g_pCellTextRecorder;

// The cell text primitives over one device context. Every cell of every row passes
// through them, so colours and the background mode are only set when they change.
class CCellText
{
public:
    CCellText(CDC* pDC, int charWidth, int lineHeight);

    CDC* GetDC() const { return m_pDC; }
    int CharWidth() const { return m_charWidth; }
    int LineHeight() const { return m_lineHeight; }
    // Pixels added to the top of every row (the text line under a thumbnail).
    void SetRowOffset(int pixels) { m_rowOffset = pixels; }
    int RowTop(int row) const { return row * m_lineHeight + m_rowOffset; }

    void SetCellColors(COLORREF text, COLORREF back);
    // Plain output at the cell's top-left corner; no clipping, no width limit.
    void TextOutCell(int column, int row, LPCWSTR text, int length, COLORREF textColor, COLORREF backColor);
    // The same with a text of the ANSI code page.
    void TextOutCellA(int column, int row, LPCSTR text, int length, COLORREF textColor, COLORREF backColor);
    // One formatted-text call clipped to the rectangle; returns the text's display
    // width in columns.
    int DrawTextInRect(LPCWSTR text, int length, const CRect& rect, UINT format, COLORREF textColor,
                       COLORREF backColor);
    // Character by character into whole cells, with "..." in the last three cells when
    // the format asks for an end ellipsis and the text is too wide; returns the text's
    // display width in columns.
    int TextOutFitted(LPCWSTR text, int length, const CRect& rect, UINT format, COLORREF textColor,
                      COLORREF backColor);
    int TextOutCellFitted(LPCWSTR text, int length, int column, int row, int width, UINT format,
                          COLORREF textColor, COLORREF backColor);

private:
    void Record(int x, int y, const CRect* clip, LPCWSTR text, int length, UINT format);

    CDC* m_pDC;
    int m_charWidth;
    int m_lineHeight;
    int m_rowOffset = 0;
    COLORREF m_textColor;
    COLORREF m_backColor;
    int m_bkMode;
};

// A file size right-aligned in `width` columns with "," groups; a figure too wide for
// the field comes in the short form instead of running into the next field.
CString FormatSizeCell(ULONGLONG size, int width);

// The g_DisplayColors row of an entry by its attributes.
int GetAttributeColorIndex(const CFileInfo& entry);
// The colour of an entry's text: its attribute colour, the colour of its extension's
// row when per-extension colours are on, or the audio-title colour.
COLORREF GetEntryColour(const CFileInfo& entry);

// What the layout gives one entry line of a pane.
struct EntryLineGeometry
{
    int nameWidth = 20;       // N
    int extWidth = 5;         // E
    BOOL preview = FALSE;     // the pane shows thumbnails
    int previewTop = 0;       // pixels from the cell top to the text line under a thumbnail
    BOOL findResults = FALSE; // a find-result listing: the real directory follows
};

// One entry of a filer-like pane at the cell's first text column. The caller has
// selected the view font and draws the pane divider afterwards.
void DrawEntryLine(CCellText& cells, const CFileInfo& entry, int column, int row, COLORREF textColor,
                   COLORREF backColor, const EntryLineGeometry& geometry);

// One row of the network listing; rowWidth is the pane's network row width. depth and
// levels are those of the listing: the comment is left out where the network gives
// every row the same one (the top level of the whole network, the networks' level).
void DrawNetworkEntryLine(CCellText& cells, const CNetResourceData& resource, int column, int row,
                          COLORREF textColor, COLORREF backColor, int rowWidth, int depth = 0,
                          const UINT* levels = nullptr);

// ---- Pane drawing (DrawPane.cpp) ------------------------------------------------------

struct ViewLayout;
class CFilerPane;

// Draws the panes of the main view on one device context from the layout figures.
// The view derives from it to fill in the hooks that belong to other parts of the
// view (background picture, scroll bars, caption, drive errors, viewer bodies); the
// defaults draw plain colour and nothing else, which is what tests see.
class CPaneDrawer
{
public:
    // The device context must have the view font selected.
    CPaneDrawer(CDC* pDC, const ViewLayout& layout, CFilerPane* const panes[2]);
    virtual ~CPaneDrawer() = default;

    // The whole pane: background, title row, entries. `request` 2 redraws only the
    // entries whose changed flag is set.
    void DrawPane(int pane, int request = 0);
    // The title row alone (after a re-read that kept the entries in place).
    void DrawPaneTitle(int pane);
    // The mark column of every visible entry.
    void DrawMarks(int pane);
    // The cursor entry as cursor (1) or as a normal entry (0).
    void DrawCursorLine(int pane, int highlighted);
    // The line between side-by-side panes: all of it (row -1) or one row.
    void DrawPaneDivider(int pane, int row);
    void DrawEntryCell(int pane, const CFileInfo& entry, int column, int row, COLORREF textColor,
                       COLORREF backColor);
    void DrawNetworkEntry(int pane, const CNetResourceData& resource, int column, int row, COLORREF textColor,
                          COLORREF backColor);

protected:
    // Hooks must leave the context's text and background colours as they found them:
    // the cell primitives remember what they set last.
    virtual void PaintBackground(const CRect& rect, COLORREF colour);
    virtual void DrawPaneCursorMark(int /*pane*/) {}
    virtual void UpdateScrollBars() {}
    virtual void SetDocumentTitle(int /*pane*/, const CString& /*title*/) {}
    // "NOT READY" or "ACCESS DENIED" right of the cursor cell of a directory listing
    // whose drive cannot be read.
    virtual void DrawDriveError(int pane);
    virtual void DrawViewerBody(int /*pane*/) {}

    int ScrollStrip(int pane) const;
    // Right edge of the pane body and of its title row, in pixels.
    int PaneRight(int pane) const;
    int TitleRight(int pane) const;
    void ClipToPane(int pane);
    void Unclip();
    void DrawTitleRow(int pane, int right);
    // The border of an entry's thumbnail cell at (x, y): marked, the cursor's in the
    // active pane, or the background.
    void DrawThumbnailFrame(int pane, const CFileInfo& entry, INT64 index, int x, int y);

    CDC* m_pDC;
    const ViewLayout& m_layout;
    CFilerPane* m_panes[2];
    CCellText m_cells;
};

// The text of one row of the drive list.
CString GetDriveListItemText(const CDriveInfo& drive);
