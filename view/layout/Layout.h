// The character-cell grid of the main view: cell size, status rows, how the two panes
// share the client area, each pane's entry cells, and the hit tests built on them.
// Everything here works from figures alone (font metrics, client size, the panes and
// the g_<KEY> settings) so it runs without a window; CQvView keeps one ViewLayout and
// wraps these functions in its own members.
#pragma once
#include <windows.h>
#include "framework/FwGdi.h"

class CFilerPane;

// The layout figures of one pane; columns and rows count character cells.
struct PaneLayout
{
    // The cell of the pane's first entry; its title row is the row above.
    int originColumn = 0;
    int originRow = 1;
    // Columns of one network row.
    int networkWidth = 0;
    // Name width N and extension width E of an entry.
    int nameWidth = 0;
    int extWidth = 0;
    // One entry's cell; a network pane's cell is one network row wide.
    int cellWidth = 1;
    int cellHeight = 1;
    // Columns and rows of entries, with (drawn) and without (full) a partly visible one.
    int columnsDrawn = 1;
    int columnsFull = 1;
    // Text lines below the title row.
    int bodyLines = 1;
    int rowsDrawn = 1;
    int rowsFull = 1;
};

struct ViewLayout
{
    int lineHeight = 12;
    int charWidth = 6;
    // Status rows above the panes (0 or 5).
    int statusRows = 0;
    // 1 when the panes stand side by side, 0 when stacked.
    int split = 0;
    // The client area as laid out (300 for a zero side).
    int clientWidth = 300;
    int clientHeight = 300;
    int visible[2] = {1, 1};
    PaneLayout panes[2];
};

// 1 when pane `pane` (0 or 1) is shown.
int ComputePaneVisible(CFilerPane* const panes[2], int pane);

// Recomputes `out` from the font metrics and the client size. Writes each pane's name
// width and its grid counts (m_columnCount = columns drawn, m_lineCount = rows drawn,
// m_columnsInUse and m_linesInUse = the full ones), and keeps g_UP_WINDOW_ADD_LINE in
// range.
void ComputeLayout(const TEXTMETRICW& tm, int clientWidth, int clientHeight, CFilerPane* const panes[2],
                   ViewLayout& out);

// 1 when a network row of the pane carries the resource comment.
int IsNetworkCommentShown(const CFilerPane& pane);

// 1 when a pane in `mode` shows its vertical scroll strip (one line height wide).
int CanScrollPaneMode(UINT mode);

// The pane's body with its title row: the clip rectangle of its drawing.
CRect ComputePaneRect(const ViewLayout& layout, CFilerPane* const panes[2], int pane);

// The rectangles a repaint is tested against: the list, and the title row (empty side
// by side, where the list includes the title).
void ComputePaneAreaRects(const ViewLayout& layout, CFilerPane* const panes[2], int pane, CRect& list,
                          CRect& title);

// The entry index, text column and row of grid position (i, j); the text column skips
// the mark cell unless `noMark` is set.
void ComputeEntryCell(const ViewLayout& layout, const CFilerPane& paneRecord, int pane, int i, int j,
                      BOOL noMark, INT64& index, int& column, int& row);

// 1 and the cell of the cursor entry's first text character when that entry is shown.
int ComputeCursorCell(const ViewLayout& layout, CFilerPane& paneRecord, int pane, int& column, int& row);

// The status rows at the top of the client area.
CRect StatusRowsRect(const ViewLayout& layout);

// ---- The drive bar in header row 1 -------------------------------------------------

// Shown letters at a time; more drives bring the scroll buttons.
constexpr int kDriveBarSlots = 10;
// Columns of row 1 counted from the bar's base column: the left button, the first
// letter (each letter takes three columns) and the right button.
constexpr int kDriveBarLeftButtonColumn = 30;
constexpr int kDriveBarFirstLetterColumn = 33;
constexpr int kDriveBarRightButtonColumn = kDriveBarFirstLetterColumn + 3 * kDriveBarSlots;

struct DriveBarState
{
    // Bit n: drive 'A' + n is in the bar.
    DWORD mask = 0;
    // Index among the set bits of the first letter shown.
    int first = 0;
    int count = 0;
    int pressed[2] = {0, 0};
    CRect buttons[2];
    wchar_t lastActive = 0;
    // How far the status rows' right part has moved right (their size and count
    // columns grew); set by the status drawing before the bar is drawn. Every column
    // of the bar is counted from it.
    int baseColumn = 0;
};

// Takes `logicalMask` (GetLogicalDrives) plus the virtual-drive letters as the mask,
// recounts, and keeps the first shown letter in range.
void DriveBarRecount(DriveBarState& bar, DWORD logicalMask);

// Scroll-button rectangles (0 left, 1 right) in pixels.
CRect DriveBarButtonRect(const DriveBarState& bar, int button, int charWidth, int lineHeight);

enum
{
    DRIVEBAR_HIT_NONE = 0,
    DRIVEBAR_HIT_LEFT = 1,
    DRIVEBAR_HIT_RIGHT = 2,
    DRIVEBAR_HIT_LETTER = 3,
};
// What a click at `pt` hits; for a letter, its shown position 0..9 in *position.
int DriveBarHit(const DriveBarState& bar, int charWidth, int lineHeight, POINT pt, int* position);

// Moves the first shown letter one step (-1 left, +1 right) within 0 .. count - 1.
// 1 when the bar scrolls at all (more than ten drives).
int DriveBarScroll(DriveBarState& bar, int direction);

// The letter at shown position `position`, or 0 when no drive stands there.
wchar_t DriveBarLetterAt(const DriveBarState& bar, int position);
