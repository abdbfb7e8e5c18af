// The status rows above the panes: volume and listing figures of the active pane,
// its path, the cursor entry's details, the clock and the battery field. They draw
// through a cell canvas so that the rows can be laid out and checked without a
// window; the view hands them a canvas over its client device context.
#pragma once
#include <windows.h>
#include "framework/FwGdi.h"
#include "framework/FwString.h"

class CQvView;

class CFilerPane;

// Character-cell output: column c starts at x = c * CharWidth(), row r at
// y = r * LineHeight().
class CCellCanvas
{
public:
    virtual ~CCellCanvas() = default;
    virtual int CharWidth() const = 0;
    virtual int LineHeight() const = 0;
    virtual int ClientWidth() const = 0;
    // One line of text at a cell, on an opaque background.
    virtual void TextOutCell(int column, int row, LPCWSTR text, COLORREF fore, COLORREF back) = 0;
    // One character of the system code page (one or two bytes) at a cell.
    virtual void TextOutCellA(int column, int row, const char* bytes, int count, COLORREF fore,
                              COLORREF back) = 0;
    // Clears a pixel rectangle to the view's background.
    virtual void ClearRect(const RECT& rect) = 0;
    virtual void FillRect(const RECT& rect, COLORREF colour) = 0;
    // A one-pixel rule: vertical from (x1, y1) down to y2 when x1 == x2, else
    // horizontal from x1 to x2 at y1.
    virtual void DrawLine(int x1, int y1, int x2, int y2, COLORREF colour) = 0;
    // Text clipped to a pixel rectangle with DrawText's format flags.
    virtual void DrawTextInRect(const RECT& rect, LPCWSTR text, COLORREF fore, UINT format) = 0;
};

// The canvas over a device context that has the view font selected.
class CDcCellCanvas : public CCellCanvas
{
public:
    // With a view, cleared cells show its pane background picture.
    CDcCellCanvas(CDC* dc, int charWidth, int lineHeight, int clientWidth, CQvView* view = nullptr)
        : m_dc(dc), m_charWidth(charWidth), m_lineHeight(lineHeight), m_clientWidth(clientWidth), m_view(view)
    {
    }
    int CharWidth() const override { return m_charWidth; }
    int LineHeight() const override { return m_lineHeight; }
    int ClientWidth() const override { return m_clientWidth; }
    void TextOutCell(int column, int row, LPCWSTR text, COLORREF fore, COLORREF back) override;
    void TextOutCellA(int column, int row, const char* bytes, int count, COLORREF fore,
                      COLORREF back) override;
    void ClearRect(const RECT& rect) override;
    void FillRect(const RECT& rect, COLORREF colour) override;
    void DrawLine(int x1, int y1, int x2, int y2, COLORREF colour) override;
    void DrawTextInRect(const RECT& rect, LPCWSTR text, COLORREF fore, UINT format) override;

private:
    CDC* m_dc;
    int m_charWidth;
    int m_lineHeight;
    int m_clientWidth;
    CQvView* m_view;
};

// The parts of a status draw.
enum
{
    STATUS_PART_UPDATE = 0,
    STATUS_PART_FULL = 1,
    STATUS_PART_FREE_SPACE = 2,
    STATUS_PART_SEARCH_TEXT = 3,
};

// The five status rows, one per view. The size and count columns only ever widen,
// and everything right of them moves with them.
class CStatusLine
{
public:
    // Back to the start widths; called whenever the view reads its settings.
    void Reset();
    // part: STATUS_PART_...; active is the active pane (null draws the frame only).
    void Draw(CCellCanvas& canvas, int part, CFilerPane* active);
    void DrawClock(CCellCanvas& canvas, CFilerPane* active);
    // always = 0 (the one-second timer) draws only when the text changed.
    void DrawBatteryStatus(CCellCanvas& canvas, int always, CFilerPane* active);

    // How far every right-hand column has moved right.
    int RightShift() const { return m_sizeGrowth + m_countGrowth; }

    int m_sizeWidth = 15;
    int m_countWidth = 4;
    int m_sizeGrowth = 0;
    int m_countGrowth = 0;
    // The incremental-search switch as the last full or update draw saw it.
    BOOL m_bLastIncrementalSearch = FALSE;
    // The battery text of the last periodic draw.
    CString m_lastBatteryText;

private:
    void DrawTopRow(CCellCanvas& canvas, int part, CFilerPane* active);
    void DrawFrame(CCellCanvas& canvas);
    void ClearValueCells(CCellCanvas& canvas, int volumeRow);
    // Returns 1 when a width grew.
    int DrawValues(CCellCanvas& canvas, int part, CFilerPane& pane, int freeRow);
    void DrawVolumeAtHeader(CCellCanvas& canvas, CFilerPane& pane, BOOL drivePresent);
    void DrawCursorEntry(CCellCanvas& canvas, CFilerPane& pane);
    int PathColumn() const;
    // Widens the size or count column for a text that did not fit; 1 when it did.
    int GrowSize(int width);
    int GrowCount(int width);
};

// The shown fields of the status rows (at most four, rows 1 to 4): field ids of the
// table order whose HVOLUME switch is on. Returns how many.
int GetShownStatusFields(int fields[4]);

// The one place the status rows read the power status, so that tests can fix it.
struct PowerStatusSeam
{
    BOOL(WINAPI* getSystemPowerStatus)(LPSYSTEM_POWER_STATUS status);
};

extern PowerStatusSeam g_PowerStatusSeam;
