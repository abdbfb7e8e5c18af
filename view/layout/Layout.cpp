// The view's character-cell layout and the geometry computed from it.
#include "view/layout/Layout.h"

#include "app/Settings.h"
#include "app/PreviewSize.h"
#include "app/VirtualDrives.h"
#include "filer/FilerPane.h"
#include "app/settings/ViewSettings.h"

namespace
{

// Text, archive text, binary, graphic and archive graphic: a viewer fills its pane and
// may push the other one away.
constexpr UINT kViewerModes = PANE_MODE_TEXT_VIEWER | PANE_MODE_GRAPHIC | PANE_MODE_ARCHIVE_TEXT_VIEWER |
                              PANE_MODE_BINARY | PANE_MODE_ARCHIVE_GRAPHIC;
// Modes whose scroll strip is drawn inside the pane's clip rectangle when stacked.
constexpr UINT kStripInsideModes = PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER | PANE_MODE_BINARY;
// Modes whose stacked title leaves the last quarter of its row to the strip: filer,
// archive listing, network and the reserved list bit.
constexpr UINT kListTitleModes = PANE_MODES_LIST_LAYOUT;
static_assert(kViewerModes == 0xE50 && kStripInsideModes == 0x610 && kListTitleModes == 0x3108,
              "pane mode bits");

bool IsFindListing(const CFilerPane* pane)
{
    return pane && pane->m_mode == PANE_MODE_FILER && pane->m_subMode == PANE_SUB_FIND_RESULTS;
}

int AtLeastOne(int value)
{
    return value < 1 ? 1 : value;
}

// The column layout in force.
const FilerInfoPreset& CurrentFilerInfo()
{
    int number = g_FILERINFONUMBER;
    if (number < 0 || number >= kFilerInfoPresetCount)
        number = 0;
    return g_FilerInfoPresets[number];
}

// Sets N, E and the cell of one pane before the fit to the window width.
void ComputeCell(CFilerPane& pane, const ViewLayout& layout, PaneLayout& out)
{
    int e = g_FILEKINDMAXLONG;
    pane.ComputeNameColumnWidth();
    int n = static_cast<int>(pane.m_nameWidth);
    out.cellHeight = 1;
    if (pane.m_bPreviewLayout)
    {
        int previewWidth = GetPreviewWidthScaled();
        int w = previewWidth + 6;
        int h = GetPreviewHeightScaled() + 6;
        out.cellHeight = h / layout.lineHeight + 1 + (h % layout.lineHeight ? 1 : 0);
        out.cellWidth = w / layout.charWidth + 1 + (w % layout.charWidth ? 1 : 0);
        if (g_PREVIEW_FILE_NAME == 2)
        {
            n = previewWidth / layout.charWidth - e;
            if (n < 0)
                n = 1;
        }
        else if (g_PREVIEW_FILE_NAME == 3)
        {
            e = g_PREVIEW_FILE_KIND_LEN;
            n = g_PREVIEW_FILE_NAME_LEN;
        }
        if (out.cellWidth < n + e + 2)
            out.cellWidth = n + e + 2;
    }
    else
    {
        const FilerInfoPreset& info = CurrentFilerInfo();
        int width = n + e + 2;
        if (info.time)
            width += info.noSeconds ? 9 - 3 : 9;
        if (info.date)
            width += 11;
        if (info.size)
            width += 15;
        if (info.attributes)
            width += 5;
        out.cellWidth = width + 1;
    }
    out.nameWidth = n;
    out.extWidth = e;
}

// Fits a list cell to the available width by giving or taking name columns.
void FitCellToWidth(const CFilerPane& pane, const ViewLayout& layout, int available, PaneLayout& out)
{
    int x = out.cellWidth - available / layout.charWidth;
    int minimum = g_FILENAMELONG;
    if (g_ONE_FILE_USE_FULL_WIDTH)
    {
        if (x >= 0 && out.nameWidth - x <= minimum)
        {
            out.cellWidth += minimum - out.nameWidth;
            out.nameWidth = minimum;
        }
        else
        {
            out.nameWidth -= x;
            out.cellWidth -= x;
        }
    }
    else if (g_AUTO_FILE_NAME_WIDTH && x >= 0)
    {
        if (out.nameWidth - x > minimum)
        {
            out.nameWidth -= x;
            out.cellWidth -= x;
        }
        else
        {
            out.cellWidth += minimum - out.nameWidth;
            out.nameWidth = minimum;
        }
    }
    if (IsFindListing(&pane) && out.cellWidth < layout.clientWidth / layout.charWidth)
        out.cellWidth = layout.clientWidth / layout.charWidth;
}

int NetworkRowWidth(const CFilerPane& pane)
{
    int width = g_NETRESOURCELONG + 1;
    if (g_REMOTEPROVIDERWRITE)
        width += g_NETRESOURCEPROVIDER + 1;
    if (IsNetworkCommentShown(pane))
        width += g_NETRESOURCECOMMENT + 1;
    return width + 11;
}

// Columns of a list running down the columns across the whole client width; a partly
// visible last column is drawn too.
void ListColumnsStacked(const ViewLayout& layout, PaneLayout& out)
{
    int w = layout.clientWidth;
    int cellPixels = AtLeastOne(out.cellWidth * layout.charWidth);
    int drawn = w / cellPixels + (w % cellPixels ? 1 : 0);
    if (w >= (out.cellWidth * drawn - 1) * layout.charWidth)
        ++drawn;
    out.columnsDrawn = AtLeastOne(drawn);
    out.columnsFull = AtLeastOne(w / cellPixels);
}

void ComputeColumns(const CFilerPane& pane, const ViewLayout& layout, PaneLayout& out)
{
    int cellPixels = AtLeastOne(out.cellWidth * layout.charWidth);
    if (IsFindListing(&pane) || pane.m_mode == PANE_MODE_DRIVE_LIST)
        out.columnsDrawn = out.columnsFull = 1;
    else if (pane.m_mode == PANE_MODE_NETWORK)
    {
        out.networkWidth = NetworkRowWidth(pane);
        out.cellWidth = out.networkWidth;
        if (layout.split)
            out.columnsDrawn = out.columnsFull = 1;
        else
            ListColumnsStacked(layout, out);
    }
    else if (pane.m_bPreviewLayout && !layout.split)
        out.columnsDrawn = out.columnsFull = AtLeastOne(layout.clientWidth / cellPixels);
    else if (layout.split)
        out.columnsDrawn = out.columnsFull = 1;
    else
        ListColumnsStacked(layout, out);
}

// Keeps UP_WINDOW_ADD_LINE so that neither stacked pane loses all its lines, and moves
// the lines.
void ShareLinesStacked(int& upper, int& lower)
{
    int u = g_UP_WINDOW_ADD_LINE;
    if (u < 0 && -u >= upper)
        u = 1 - upper;
    if (u > 0 && u >= lower)
        u = lower - 1;
    g_UP_WINDOW_ADD_LINE = u;
    upper += u;
    lower -= u;
}

// The column where pane 1 begins side by side; keeps UP_WINDOW_ADD_LINE so that
// either pane keeps three columns.
int SplitColumn(const ViewLayout& layout)
{
    int columns = layout.clientWidth / layout.charWidth;
    int g = columns / 2;
    int u = g_UP_WINDOW_ADD_LINE;
    if (u >= 0 && g + u > columns - 3)
        u = columns - 3 - g;
    if (u < 0 && g + u < 3)
        u = 3 - g;
    g_UP_WINDOW_ADD_LINE = u;
    return g + u;
}

} // namespace

int ComputePaneVisible(CFilerPane* const panes[2], int pane)
{
    const CFilerPane* self = panes[pane];
    if (!self)
        return 0;
    if (self->m_position & PANE_POS_ACTIVE)
        return 1;
    if ((self->m_position & PANE_POS_HIDDEN) || !(self->m_position & PANE_POS_OTHER))
        return 0;
    if ((g_WINDOWDEVIDEWAY && !g_DEVICE_H_DISP_ALL_MODE_DEVICE) || g_DISPLAY_FULL_SCREEN_NOT_FILER)
    {
        const CFilerPane* other = panes[1 - pane];
        if ((self->m_mode & kViewerModes) || (other && (other->m_mode & kViewerModes)))
            return 0;
        if (g_WINDOWDEVIDEWAY == 1 && (IsFindListing(self) || IsFindListing(other)))
            return 0;
    }
    return 1;
}

void ComputeLayout(const TEXTMETRICW& tm, int clientWidth, int clientHeight, CFilerPane* const panes[2],
                   ViewLayout& out)
{
    out.lineHeight = tm.tmHeight + tm.tmExternalLeading + g_ADD_HEIGHT_ONE_LINE;
    // A negative extra height could leave no line at all; every figure divides by it.
    if (out.lineHeight <= 0)
        out.lineHeight = 12;
    out.charWidth = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 6;
    out.clientWidth = clientWidth > 0 ? clientWidth : 300;
    out.clientHeight = clientHeight > 0 ? clientHeight : 300;
    const int lh = out.lineHeight;
    const int cw = out.charWidth;
    const int w = out.clientWidth;

    out.statusRows = g_WRITEHEADERTYPE ? 5 : 0;
    int bodyHeight = out.clientHeight - out.statusRows * lh;
    int shown = 0;
    for (int i = 0; i < 2; ++i)
    {
        out.visible[i] = ComputePaneVisible(panes, i);
        shown += out.visible[i];
    }
    bool both = out.visible[0] && out.visible[1];
    out.split = g_WINDOWDEVIDEWAY ? 1 : 0;
    if (shown == 1 && g_ENABLE_SOME_H_FILE_ONE_SCREEN && g_WINDOWDEVIDEWAY == 1)
        out.split = 0;
    int paneHeight = out.split ? bodyHeight : bodyHeight / AtLeastOne(shown);

    for (int i = 0; i < 2; ++i)
    {
        PaneLayout& p = out.panes[i];
        p = PaneLayout();
        if (!panes[i])
            continue;
        ComputeCell(*panes[i], out, p);
        if (!panes[i]->m_bPreviewLayout)
            FitCellToWidth(*panes[i], out, out.split && both ? w / 2 : w, p);
        ComputeColumns(*panes[i], out, p);
        p.bodyLines = AtLeastOne(paneHeight / lh - 1);
    }

    PaneLayout& p0 = out.panes[0];
    PaneLayout& p1 = out.panes[1];
    p0.originColumn = 0;
    p0.originRow = out.statusRows + 1;
    if (!out.split)
    {
        if (both)
            ShareLinesStacked(p0.bodyLines, p1.bodyLines);
        p1.originColumn = 0;
        p1.originRow = out.visible[0] ? p0.originRow + p0.bodyLines + 1 : out.statusRows + 1;
    }
    else
    {
        p1.originRow = out.statusRows + 1;
        p1.originColumn = both ? SplitColumn(out) : 0;
        for (int i = 0; i < 2; ++i)
        {
            if (!panes[i] || !panes[i]->m_bPreviewLayout)
                continue;
            PaneLayout& p = out.panes[i];
            int cellPixels = AtLeastOne(p.cellWidth * cw);
            int width = w;
            if (both)
                width = i == 0 ? p1.originColumn * cw : w - p1.originColumn * cw;
            p.columnsDrawn = p.columnsFull = AtLeastOne(width / cellPixels);
        }
    }

    for (int i = 0; i < 2; ++i)
    {
        PaneLayout& p = out.panes[i];
        if (!panes[i])
            continue;
        int rows = p.bodyLines / p.cellHeight;
        bool partial = panes[i]->m_bPreviewLayout && p.bodyLines % p.cellHeight;
        p.rowsDrawn = AtLeastOne(rows + (partial ? 1 : 0));
        p.rowsFull = AtLeastOne(rows);
        panes[i]->m_columnCount = p.columnsDrawn;
        panes[i]->m_lineCount = p.rowsDrawn;
        panes[i]->m_columnsInUse = p.columnsFull;
        panes[i]->m_linesInUse = p.rowsFull;
    }
}

int IsNetworkCommentShown(const CFilerPane& pane)
{
    if (!g_REMOTECOMMENTWRITE)
        return 0;
    // Domains at the first level and the network containers at the second carry no
    // comment worth a column.
    if (pane.m_networkDepth == 1 && pane.m_networkLevels[0] == 0)
        return 0;
    if (pane.m_networkDepth == 2 && pane.m_networkLevels[1] == 6)
        return 0;
    return 1;
}

int CanScrollPaneMode(UINT mode)
{
    struct Row
    {
        UINT modes;
        const int* hide;
    };
    const Row rows[] = {
        {PANE_MODE_GRAPHIC | PANE_MODE_ARCHIVE_GRAPHIC, &g_NOTSCROLLGRAPHIC},
        {PANE_MODE_FILER | PANE_MODE_DRIVE_LIST | PANE_MODE_ARCHIVE, &g_NOTSCROLLFILER},
        {PANE_MODE_BINARY, &g_NOTSCROLLBINARY},
        {PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER, &g_NOTSCROLLVIEWER},
        {PANE_MODE_NETWORK, &g_NOTSCROLLNETWORK},
    };
    for (const Row& row : rows)
        if ((mode & row.modes) && *row.hide)
            return 0;
    return 1;
}

CRect ComputePaneRect(const ViewLayout& layout, CFilerPane* const panes[2], int pane)
{
    const int lh = layout.lineHeight;
    const int w = layout.clientWidth;
    const PaneLayout& p = layout.panes[pane];
    const CFilerPane* record = panes[pane];
    UINT mode = record ? record->m_mode : 0;
    int strip = CanScrollPaneMode(mode) ? lh : 0;
    CRect rect;
    rect.top = (p.originRow - 1) * lh;
    rect.bottom = layout.clientHeight;
    if (layout.split)
    {
        int splitX = layout.panes[1].originColumn * layout.charWidth;
        if (pane == 0)
            rect.right = (layout.visible[1] ? splitX : w) - strip;
        else
        {
            rect.left = layout.visible[0] ? splitX : 0;
            rect.right = w - strip;
        }
        return rect;
    }
    bool stripInside = (mode & kStripInsideModes) || (record && record->m_bPreviewLayout);
    rect.right = stripInside ? w - strip : w;
    // Pane 0 ends where pane 1's title row begins.
    if (pane == 0 && layout.visible[1])
        rect.bottom = (p.originRow + p.bodyLines) * lh;
    return rect;
}

void ComputePaneAreaRects(const ViewLayout& layout, CFilerPane* const panes[2], int pane, CRect& list,
                          CRect& title)
{
    list.SetRectEmpty();
    title.SetRectEmpty();
    const int lh = layout.lineHeight;
    const int w = layout.clientWidth;
    if (layout.split)
    {
        // The same band as the clip rectangle: the title row belongs to the list.
        list = ComputePaneRect(layout, panes, pane);
        return;
    }
    const PaneLayout& p = layout.panes[pane];
    list.SetRect(0, p.originRow * lh, w, layout.clientHeight);
    if (pane == 0 && layout.visible[1])
        list.bottom = (p.originRow + p.bodyLines) * lh;
    title.SetRect(0, list.top - lh, w, list.top);
    UINT mode = panes[pane] ? panes[pane]->m_mode : 0;
    if (!CanScrollPaneMode(mode))
        return;
    if (mode & kListTitleModes)
        title.right = w - w / 4;
    else
    {
        list.right -= lh;
        title.right -= lh;
    }
}

void ComputeEntryCell(const ViewLayout& layout, const CFilerPane& paneRecord, int pane, int i, int j,
                      BOOL noMark, INT64& index, int& column, int& row)
{
    const PaneLayout& p = layout.panes[pane];
    if (paneRecord.m_bPreviewLayout)
        index = paneRecord.m_firstVisible + i + static_cast<INT64>(j) * p.columnsDrawn;
    else
        index = paneRecord.m_firstVisible + static_cast<INT64>(i) * p.rowsDrawn + j;
    column = p.originColumn + i * p.cellWidth + (noMark ? 0 : 1);
    row = p.originRow + j * p.cellHeight;
}

int ComputeCursorCell(const ViewLayout& layout, CFilerPane& paneRecord, int pane, int& column, int& row)
{
    const PaneLayout& p = layout.panes[pane];
    const INT64 cursor = paneRecord.m_cursor;
    const INT64 first = paneRecord.m_firstVisible;
    const INT64 rows = p.rowsDrawn;
    const INT64 columns = p.columnsDrawn;
    INT64 index = 0;
    if (paneRecord.m_mode == PANE_MODE_NETWORK)
    {
        if (cursor < first || cursor >= first + rows * columns || paneRecord.m_networkList.IsEmpty())
            return 0;
        INT64 d = cursor - first;
        ComputeEntryCell(layout, paneRecord, pane, static_cast<int>(d / rows), static_cast<int>(d % rows),
                         FALSE, index, column, row);
        return 1;
    }
    if (paneRecord.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE))
    {
        if (paneRecord.m_mode == PANE_MODE_FILER &&
            paneRecord.CheckState(PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_NOT_EMPTY))
            return 0;
        if (cursor < first || cursor >= first + rows * columns)
            return 0;
        INT64 d = cursor - first;
        if (paneRecord.m_bPreviewLayout)
            ComputeEntryCell(layout, paneRecord, pane, static_cast<int>(d % columns),
                             static_cast<int>(d / columns), FALSE, index, column, row);
        else
            ComputeEntryCell(layout, paneRecord, pane, static_cast<int>(d / rows), static_cast<int>(d % rows),
                             FALSE, index, column, row);
        return 1;
    }
    if (paneRecord.m_mode == PANE_MODE_DRIVE_LIST)
    {
        ComputeEntryCell(layout, paneRecord, pane, 0, static_cast<int>(cursor - first), FALSE, index, column,
                         row);
        return 1;
    }
    return 0;
}

CRect StatusRowsRect(const ViewLayout& layout)
{
    return CRect(0, 0, layout.clientWidth, layout.statusRows * layout.lineHeight);
}

// ---- Drive bar -------------------------------------------------------------------------

void DriveBarRecount(DriveBarState& bar, DWORD logicalMask)
{
    DWORD mask = logicalMask;
    for (int n = 0; n < 26; ++n)
        if (g_VirtualDriveFlags[n])
            mask |= 1u << n;
    bar.mask = mask;
    int count = 0;
    for (int n = 0; n < 26; ++n)
        count += (mask >> n) & 1;
    bar.count = count;
    if (count <= kDriveBarSlots || bar.first < 0)
        bar.first = 0;
    // Drives can disappear between two drawings; the first shown letter must stay one
    // of them.
    else if (bar.first > count - 1)
        bar.first = count - 1;
}

CRect DriveBarButtonRect(const DriveBarState& bar, int button, int charWidth, int lineHeight)
{
    int column = bar.baseColumn + (button == 0 ? kDriveBarLeftButtonColumn : kDriveBarRightButtonColumn);
    return CRect(column * charWidth, lineHeight, (column + 2) * charWidth, 2 * lineHeight);
}

int DriveBarHit(const DriveBarState& bar, int charWidth, int lineHeight, POINT pt, int* position)
{
    if (bar.count > kDriveBarSlots)
    {
        if (DriveBarButtonRect(bar, 0, charWidth, lineHeight).PtInRect(pt))
            return DRIVEBAR_HIT_LEFT;
        if (DriveBarButtonRect(bar, 1, charWidth, lineHeight).PtInRect(pt))
            return DRIVEBAR_HIT_RIGHT;
    }
    for (int i = 0; i < kDriveBarSlots && bar.first + i < bar.count; ++i)
    {
        int column = bar.baseColumn + kDriveBarFirstLetterColumn + 3 * i;
        CRect cell(column * charWidth, lineHeight, (column + 2) * charWidth, 2 * lineHeight);
        if (cell.PtInRect(pt))
        {
            if (position)
                *position = i;
            return DRIVEBAR_HIT_LETTER;
        }
    }
    return DRIVEBAR_HIT_NONE;
}

int DriveBarScroll(DriveBarState& bar, int direction)
{
    if (bar.count <= kDriveBarSlots)
        return 0;
    int first = bar.first + direction;
    if (first > bar.count - 1)
        first = bar.count - 1;
    if (first < 0)
        first = 0;
    bar.first = first;
    return 1;
}

wchar_t DriveBarLetterAt(const DriveBarState& bar, int position)
{
    if (position < 0 || position >= kDriveBarSlots)
        return 0;
    int wanted = bar.first + position;
    if (wanted >= bar.count)
        return 0;
    int j = 0;
    for (int n = 0; n < 26; ++n)
    {
        if (!((bar.mask >> n) & 1))
            continue;
        if (j == wanted)
            return static_cast<wchar_t>(L'A' + n);
        ++j;
    }
    return 0;
}
