// The two panes of the main view: background, title row, entries, marks, the cursor
// line and the line between side-by-side panes.
#include "view/draw/EntryText.h"

#include <memory>

#include "util/Formatting.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/PreviewSize.h"
#include "filer/FilerPane.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "view/layout/Layout.h"
#include "view/QvView.h"
#include "app/settings/ViewSettings.h"

CString GetDriveListItemText(const CDriveInfo& drive)
{
    CString text = drive.m_name;
    if (!drive.m_description.IsEmpty())
    {
        text += L' ';
        text += drive.m_description;
    }
    return text;
}

CPaneDrawer::CPaneDrawer(CDC* pDC, const ViewLayout& layout, CFilerPane* const panes[2])
    : m_pDC(pDC), m_layout(layout), m_panes{panes[0], panes[1]},
      m_cells(pDC, layout.charWidth, layout.lineHeight)
{
}

void CPaneDrawer::PaintBackground(const CRect& rect, COLORREF colour)
{
    m_pDC->FillSolidRect(rect, colour);
}

int CPaneDrawer::ScrollStrip(int pane) const
{
    return m_panes[pane] ? CanScrollPaneMode(m_panes[pane]->m_mode) : 0;
}

void CPaneDrawer::ClipToPane(int pane)
{
    CRgn region;
    region.CreateRectRgnIndirect(ComputePaneRect(m_layout, m_panes, pane));
    m_pDC->SelectClipRgn(&region);
}

void CPaneDrawer::Unclip()
{
    m_pDC->SelectClipRgn(nullptr);
}

void CPaneDrawer::DrawPaneDivider(int pane, int row)
{
    // A scroll strip at pane 0's right edge already separates the panes.
    if (m_layout.split != 1 || pane != 0 || !m_layout.visible[1] || ScrollStrip(0) != 0)
        return;
    const int lh = m_layout.lineHeight;
    int x = m_layout.panes[1].originColumn * m_layout.charWidth - 1;
    int top = row < 0 ? m_layout.panes[1].originRow * lh : row * lh;
    int bottom = row < 0 ? m_layout.clientHeight : (row + 1) * lh;
    if (bottom > top)
        m_pDC->FillSolidRect(x, top, 1, bottom - top, g_DisplayColors[COLOR_LINE]);
}

void CPaneDrawer::DrawEntryCell(int pane, const CFileInfo& entry, int column, int row, COLORREF textColor,
                                COLORREF backColor)
{
    const CFilerPane& record = *m_panes[pane];
    EntryLineGeometry geometry;
    geometry.nameWidth = m_layout.panes[pane].nameWidth;
    geometry.extWidth = m_layout.panes[pane].extWidth;
    geometry.preview = record.m_bPreviewLayout;
    geometry.previewTop = record.m_bPreviewLayout ? GetPreviewHeightScaled() + 6 : 0;
    geometry.findResults = record.m_mode == PANE_MODE_FILER && record.m_subMode == PANE_SUB_FIND_RESULTS;
    DrawEntryLine(m_cells, entry, column, row, textColor, backColor, geometry);
    // The thumbnail box starts at the cell's mark column, above the name.
    if (record.m_bPreviewLayout && g_pLoadPreviewThread != nullptr && pane >= 0 && pane < 2)
        g_pLoadPreviewThread->DrawPreviews(pane, m_pDC->GetSafeHdc(), (column - 1) * m_layout.charWidth,
                                           row * m_layout.lineHeight, entry, false);
    DrawPaneDivider(pane, row);
}

void CPaneDrawer::DrawThumbnailFrame(int pane, const CFileInfo& entry, INT64 index, int x, int y)
{
    const CFilerPane& record = *m_panes[pane];
    if (entry.m_mark != 0)
    {
        CLoadPreviewThread::DrawThumbnailFrame(m_pDC->GetSafeHdc(), x, y, g_DisplayColors[COLOR_PREVIEW_SEL]);
        return;
    }
    if (index == record.m_cursor && (record.m_position & PANE_POS_ACTIVE) != 0)
    {
        CLoadPreviewThread::DrawThumbnailFrame(m_pDC->GetSafeHdc(), x, y, GetEntryColour(entry));
        return;
    }
    RECT rects[4];
    CLoadPreviewThread::GetThumbnailFrameRects(x, y, rects);
    for (const RECT& rect : rects)
        PaintBackground(CRect(rect), g_DisplayColors[COLOR_BACK_GROUND]);
}

void CPaneDrawer::DrawDriveError(int pane)
{
    const CFilerPane& record = *m_panes[pane];
    if (record.m_mode != PANE_MODE_FILER || record.m_subMode != PANE_SUB_DIRECTORY ||
        (record.m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) == 0)
        return;
    LPCWSTR text = record.m_bDriveNotReady                            ? L"NOT READY"
                   : record.m_lastListingError == ERROR_ACCESS_DENIED ? L"ACCESS DENIED"
                                                                      : nullptr;
    if (text == nullptr)
        return;
    // An unreadable drive lists nothing, so the cursor stands on the pane's first cell.
    const PaneLayout& geo = m_layout.panes[pane];
    int column = geo.originColumn + 1;
    int row = geo.originRow;
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    const COLORREF alarm = g_DisplayColors[COLOR_ALARM];
    if ((record.m_position & PANE_POS_ACTIVE) != 0)
    {
        const int cw = m_layout.charWidth;
        const int lh = m_layout.lineHeight;
        PaintBackground(CRect(column * cw, row * lh, (column + lstrlenW(text)) * cw, (row + 1) * lh), alarm);
        m_cells.TextOutCell(column, row, text, -1, back, alarm);
    }
    else
        m_cells.TextOutCell(column, row, text, -1, alarm, back);
}

void CPaneDrawer::DrawNetworkEntry(int pane, const CNetResourceData& resource, int column, int row,
                                   COLORREF textColor, COLORREF backColor)
{
    DrawNetworkEntryLine(m_cells, resource, column, row, textColor, backColor,
                         m_layout.panes[pane].networkWidth, m_panes[pane]->m_networkDepth,
                         m_panes[pane]->m_networkLevels);
    if (!resource.m_name.IsEmpty())
        DrawPaneDivider(pane, row);
}

void CPaneDrawer::DrawTitleRow(int pane, int right)
{
    const PaneLayout& geo = m_layout.panes[pane];
    CFilerPane& record = *m_panes[pane];
    const int cw = m_layout.charWidth;
    const int lh = m_layout.lineHeight;
    const int titleRow = geo.originRow - 1;
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    const COLORREF title = g_DisplayColors[COLOR_INTRO_VOLUME];
    m_pDC->FillSolidRect(CRect(geo.originColumn * cw, titleRow * lh, right, (titleRow + 1) * lh), title);
    // The pane's scroll bars are not there yet: the room the title leaves them shows
    // the background instead of whatever the window held before.
    const int rowRight = m_layout.split != 0 ? PaneRight(pane) : m_layout.clientWidth;
    if (right < rowRight)
        m_pDC->FillSolidRect(CRect(right, titleRow * lh, rowRight, (titleRow + 1) * lh), back);
    DrawPaneCursorMark(pane);
    const int column = geo.originColumn + 1;
    const BOOL active = (record.m_position & PANE_POS_ACTIVE) != 0;

    if (record.m_mode & PANE_MODE_NETWORK)
    {
        UpdateScrollBars();
        SetDocumentTitle(pane, record.m_networkPath);
        DrawPaneDivider(pane, -1);
        m_cells.TextOutCell(column, titleRow, record.m_networkPath, record.m_networkPath.GetLength(), back,
                            title);
    }
    else if (record.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE))
    {
        UpdateScrollBars();
        CString text;
        if (record.m_mode == PANE_MODE_FILER && record.m_subMode == PANE_SUB_FIND_RESULTS)
        {
            text = L"検索結果";
            if (active)
                SetDocumentTitle(pane, text);
        }
        else if (record.m_mode == PANE_MODE_FILER)
        {
            if (active)
                SetDocumentTitle(pane, record.m_currentDir);
            if (record.IsOnVirtualDrive())
                text.Format(L"%s(仮想ドライブ)", record.m_currentDir.GetString());
            else
                text = record.m_currentDir;
        }
        else
        {
            // The archive's folder and file name; the frame shows the file name.
            CString folder, name;
            record.m_archive->SplitArchivePath(&folder, &name);
            text.Format(L"%s\\%s", folder.GetString(), name.GetString());
            if (active)
                SetDocumentTitle(pane, name);
        }
        DrawPaneDivider(pane, -1);
        m_cells.TextOutCell(column, titleRow, text, text.GetLength(), back, title);
        if (record.m_mode == PANE_MODE_FILER && record.m_subMode == PANE_SUB_DIRECTORY &&
            !record.IsOnVirtualDrive() && g_WRITEFILERFREESIZE)
        {
            CString size, free;
            FormatSizeShort(static_cast<LONGLONG>(record.m_driveFreeBytes), size, TRUE);
            free.Format(L"(%s FREE)", size.GetString());
            // Placed from the title's right edge so that it never covers the path's start.
            int length = GetDisplayColumns(free);
            int end = right / cw;
            int start = end - length;
            if (start < column)
                start = column;
            m_pDC->FillSolidRect(CRect(start * cw, titleRow * lh, end * cw, (titleRow + 1) * lh), title);
            m_cells.TextOutCell(start, titleRow, free, free.GetLength(), back, title);
        }
    }
    else if (record.m_mode & (PANE_MODE_BINARY | PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER))
    {
        UpdateScrollBars();
        if (active)
            SetDocumentTitle(pane, record.m_viewerEntry.GetFullPath());
        DrawPaneDivider(pane, -1);
    }
    else if (record.m_mode & PANE_MODE_DRIVE_LIST)
    {
        UpdateScrollBars();
        DrawPaneDivider(pane, -1);
    }
}

int CPaneDrawer::PaneRight(int pane) const
{
    int right = m_layout.clientWidth - m_layout.lineHeight * ScrollStrip(pane);
    if (m_layout.split != 0 && pane == 0 && m_layout.visible[1])
        right = m_layout.panes[1].originColumn * m_layout.charWidth - m_layout.lineHeight * ScrollStrip(0);
    return right;
}

int CPaneDrawer::TitleRight(int pane) const
{
    if (m_layout.split != 0)
        return PaneRight(pane);
    // Stacked list panes keep their strip below the title; the title leaves the last
    // quarter of the row to it.
    const int w = m_layout.clientWidth;
    const CFilerPane& record = *m_panes[pane];
    if ((record.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE | PANE_MODE_NETWORK)) &&
        !record.m_bPreviewLayout)
        return w - (w / 4) * ScrollStrip(pane);
    return w;
}

void CPaneDrawer::DrawPaneTitle(int pane)
{
    if (pane < 0 || pane > 1 || m_panes[pane] == nullptr)
        return;
    ClipToPane(pane);
    DrawTitleRow(pane, TitleRight(pane));
    Unclip();
}

void CPaneDrawer::DrawPane(int pane, int request)
{
    if (pane < 0 || pane > 1 || m_panes[pane] == nullptr)
        return;
    CFilerPane& record = *m_panes[pane];
    const PaneLayout& geo = m_layout.panes[pane];
    const int cw = m_layout.charWidth;
    const int lh = m_layout.lineHeight;
    const int w = m_layout.clientWidth;
    const int h = m_layout.clientHeight;
    const bool sideBySide = m_layout.split != 0;
    if (((m_layout.split == 1 && !g_DEVICE_H_DISP_ALL_MODE_DEVICE) || g_DISPLAY_FULL_SCREEN_NOT_FILER) &&
        !m_layout.visible[pane])
        return;
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];

    const int right = PaneRight(pane);
    const int bodyRight =
        sideBySide ||
                (record.m_mode & (PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER | PANE_MODE_BINARY))
            ? right
            : w;
    const int titleRight = TitleRight(pane);
    const int left = sideBySide ? geo.originColumn * cw : 0;
    CRect body(left, geo.originRow * lh, bodyRight, (geo.originRow + geo.bodyLines) * lh);

    if (request != 2)
    {
        PaintBackground(body, back);
        if (!sideBySide)
        {
            if (pane == 1 || !m_layout.visible[1])
                PaintBackground(CRect(0, body.bottom, w, h), back);
        }
        else
        {
            PaintBackground(CRect(body.left, body.bottom, body.right, h), back);
        }
        if (h < m_layout.statusRows * lh)
            return;
    }

    ClipToPane(pane);
    DrawTitleRow(pane, titleRight);

    if (record.m_mode & PANE_MODE_NETWORK)
    {
        INT_PTR count = record.m_networkList.GetSize();
        INT64 i = record.m_firstVisible;
        int column = geo.originColumn + 1;
        for (int j = 0; j < geo.columnsDrawn && i < count; ++j)
        {
            for (int k = 0; k < geo.rowsDrawn && i < count; ++k, ++i)
                DrawNetworkEntry(pane, record.m_networkList[static_cast<INT_PTR>(i)], column,
                                 geo.originRow + k, g_DisplayColors[COLOR_DIRECTORY], back);
            column += geo.networkWidth;
        }
    }
    else if (record.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE))
    {
        DrawDriveError(pane);
        const DWORD refused = PANE_CHECK_NOT_EMPTY | PANE_CHECK_DRIVE_PRESENT | PANE_CHECK_ACCESS;
        if (!record.CheckState(refused))
        {
            const INT_PTR count = record.m_entries.GetSize();
            for (int j = 0; j < geo.columnsDrawn; ++j)
            {
                for (int k = 0; k < geo.rowsDrawn; ++k)
                {
                    INT64 index = 0;
                    int column = 0, row = 0;
                    ComputeEntryCell(m_layout, record, pane, j, k, FALSE, index, column, row);
                    if (index < 0 || index >= count)
                        continue;
                    const CFileInfo& entry = record.m_entries[static_cast<INT_PTR>(index)];
                    if (request == 2)
                    {
                        if (!entry.m_changed)
                            continue;
                        // Only this entry's own cell is cleared: its neighbours in the
                        // same row are not drawn again. The mark cell is left to DrawMarks.
                        int bandLines = record.m_bPreviewLayout ? geo.cellHeight : 1;
                        int bandRight = (column - 1 + geo.cellWidth) * cw;
                        if (j == geo.columnsDrawn - 1 || bandRight > body.right)
                            bandRight = body.right;
                        PaintBackground(CRect(column * cw, row * lh, bandRight, (row + bandLines) * lh),
                                        back);
                    }
                    DrawEntryCell(pane, entry, column, row, GetEntryColour(entry), back);
                }
            }
        }
    }
    else if (record.m_mode & (PANE_MODE_BINARY | PANE_MODE_TEXT_VIEWER | PANE_MODE_ARCHIVE_TEXT_VIEWER))
    {
        DrawViewerBody(pane);
    }
    else if (record.m_mode & PANE_MODE_DRIVE_LIST)
    {
        INT_PTR count = record.m_driveList.GetSize();
        INT64 i = record.m_firstVisible;
        for (int k = 0; k < geo.rowsDrawn && i < count; ++k, ++i)
        {
            CString text = GetDriveListItemText(record.m_driveList[static_cast<INT_PTR>(i)]);
            m_cells.TextOutCell(geo.originColumn + 1, geo.originRow + k, text, text.GetLength(),
                                g_DisplayColors[COLOR_DIRECTORY], back);
            DrawPaneDivider(pane, geo.originRow + k);
        }
    }
    Unclip();
}

void CPaneDrawer::DrawMarks(int pane)
{
    if (pane < 0 || pane > 1 || m_panes[pane] == nullptr)
        return;
    CFilerPane& record = *m_panes[pane];
    const PaneLayout& geo = m_layout.panes[pane];
    const int cw = m_layout.charWidth;
    const int lh = m_layout.lineHeight;
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    const int offset = record.m_bPreviewLayout ? GetPreviewHeightScaled() + 6 : 0;
    const INT_PTR count = record.m_entries.GetSize();
    ClipToPane(pane);
    m_cells.SetRowOffset(offset);
    for (int j = 0; j < geo.columnsDrawn; ++j)
    {
        for (int k = 0; k < geo.rowsDrawn; ++k)
        {
            INT64 index = 0;
            int column = 0, row = 0;
            ComputeEntryCell(m_layout, record, pane, j, k, TRUE, index, column, row);
            if (index < 0 || index >= count)
                continue;
            const int top = row * lh + offset;
            PaintBackground(CRect(column * cw, top, (column + 1) * cw, top + lh), back);
            const CFileInfo& entry = record.m_entries[static_cast<INT_PTR>(index)];
            bool marked = entry.m_mark != 0;
            if (record.m_bPreviewLayout)
                DrawThumbnailFrame(pane, entry, index, column * cw, row * lh);
            m_cells.TextOutCell(column, row, marked ? L"*" : L" ", 1,
                                marked ? g_DisplayColors[COLOR_TAG] : back, back);
        }
    }
    m_cells.SetRowOffset(0);
    Unclip();
}

void CPaneDrawer::DrawCursorLine(int pane, int highlighted)
{
    if (pane < 0 || pane > 1 || m_panes[pane] == nullptr)
        return;
    CFilerPane& record = *m_panes[pane];
    const PaneLayout& geo = m_layout.panes[pane];
    const int cw = m_layout.charWidth;
    const int lh = m_layout.lineHeight;
    const COLORREF back = g_DisplayColors[COLOR_BACK_GROUND];
    ClipToPane(pane);
    int column = 0, row = 0;
    if (!ComputeCursorCell(m_layout, record, pane, column, row))
    {
        DrawDriveError(pane);
        Unclip();
        return;
    }
    const INT64 cursor = record.m_cursor;
    auto paint = [&](const CRect& rect, COLORREF fill) {
        if (highlighted)
            m_pDC->FillSolidRect(rect, fill);
        else
            PaintBackground(rect, back);
    };
    if (record.m_mode & PANE_MODE_NETWORK)
    {
        if (cursor >= 0 && cursor < record.m_networkList.GetSize())
        {
            const COLORREF dir = g_DisplayColors[COLOR_DIRECTORY];
            paint(CRect(column * cw, row * lh, (column + geo.networkWidth - 2) * cw, (row + 1) * lh), dir);
            DrawNetworkEntry(pane, record.m_networkList[static_cast<INT_PTR>(cursor)], column, row,
                             highlighted ? back : dir, highlighted ? dir : back);
        }
    }
    else if (record.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE))
    {
        if (cursor >= 0 && cursor < record.m_entries.GetSize())
        {
            const CFileInfo& entry = record.m_entries[static_cast<INT_PTR>(cursor)];
            const COLORREF colour = GetEntryColour(entry);
            // The last cell (two with a list) stays free so neighbouring cells keep apart.
            int end = column + geo.cellWidth - (record.m_bPreviewLayout ? 1 : 2);
            paint(CRect(column * cw, row * lh, end * cw, (row + geo.cellHeight) * lh), colour);
            DrawEntryCell(pane, entry, column, row, highlighted ? back : colour, highlighted ? colour : back);
        }
    }
    else if (record.m_mode & PANE_MODE_DRIVE_LIST)
    {
        if (cursor >= 0 && cursor < record.m_driveList.GetSize())
        {
            CString text = GetDriveListItemText(record.m_driveList[static_cast<INT_PTR>(cursor)]);
            const COLORREF dir = g_DisplayColors[COLOR_DIRECTORY];
            int width = GetDisplayColumns(text);
            paint(CRect(column * cw, row * lh, (column + width) * cw, (row + 1) * lh), dir);
            m_cells.TextOutCell(column, row, text, text.GetLength(), highlighted ? back : dir,
                                highlighted ? dir : back);
        }
    }
    DrawPaneDivider(pane, row);
    Unclip();
}

// ---- The view's own drawing entry points ----------------------------------------------

namespace
{

// The pane drawer with the parts that other routines of the view own.
class CViewPaneDrawer : public CPaneDrawer
{
public:
    CViewPaneDrawer(CQvView* view, CDC* pDC) : CPaneDrawer(pDC, view->m_layout, g_Panes), m_pView(view) {}

protected:
    void DrawPaneCursorMark(int pane) override { m_pView->DrawPaneCursorMark(m_pDC, pane); }
    void UpdateScrollBars() override { m_pView->UpdateScrollBars(); }
    void DrawViewerBody(int pane) override
    {
        if (m_panes[pane]->m_mode & PANE_MODES_TEXT_VIEWERS)
            m_pView->DrawViewerPane(m_pDC, pane, PaneRight(pane));
        else if (m_panes[pane]->m_mode & PANE_MODE_BINARY)
            m_pView->DrawBinaryBody(m_pDC, pane, PaneRight(pane));
    }
    void PaintBackground(const CRect& rect, COLORREF colour) override
    {
        // Only the pane's own background shows the picture; marked or alarm cells
        // keep their colour.
        if (colour == g_DisplayColors[COLOR_BACK_GROUND])
            m_pView->DrawPaneBackgroundPicture(m_pDC, rect, colour);
        else
            CPaneDrawer::PaintBackground(rect, colour);
    }
    void SetDocumentTitle(int, const CString& title) override
    {
        if (CDocument* document = m_pView->GetDocument())
            document->SetTitle(title);
    }

private:
    CQvView* m_pView;
};

// The caller's context, or the view's client context with the view font selected.
class CViewDrawContext
{
public:
    CViewDrawContext(CQvView* view, CDC* pDC) : m_pDC(pDC)
    {
        if (m_pDC == nullptr && view->m_hWnd != nullptr)
        {
            m_client = std::make_unique<CClientDC>(view);
            m_pDC = m_client.get();
            if (view->m_viewFont.GetSafeHandle())
                m_oldFont = m_pDC->SelectObject(&view->m_viewFont);
        }
    }
    ~CViewDrawContext()
    {
        if (m_client && m_oldFont)
            m_client->SelectObject(m_oldFont);
    }
    CDC* get() const { return m_pDC; }

private:
    CDC* m_pDC;
    std::unique_ptr<CClientDC> m_client;
    HGDIOBJ m_oldFont = nullptr;
};

} // namespace

void CQvView::DrawPane(int pane, CDC* pDC)
{
    CalcLayout();
    CViewDrawContext dc(this, pDC);
    if (dc.get() == nullptr || pane < 0 || pane > 1)
        return;
    // The request is read and cleared before drawing, so a request made while the
    // pane draws asks for one more drawing.
    int request = m_paneRedrawRequest[pane];
    m_paneRedrawRequest[pane] = 0;
    CViewPaneDrawer(this, dc.get()).DrawPane(pane, request);
}

void CQvView::DrawPaneTitle(int pane, CDC* pDC)
{
    CViewDrawContext dc(this, pDC);
    if (dc.get())
        CViewPaneDrawer(this, dc.get()).DrawPaneTitle(pane);
}

void CQvView::DrawMarks(int pane, CDC* pDC)
{
    CViewDrawContext dc(this, pDC);
    if (dc.get())
        CViewPaneDrawer(this, dc.get()).DrawMarks(pane);
}

void CQvView::DrawCursorLine(int pane, int highlighted, CDC* pDC)
{
    CViewDrawContext dc(this, pDC);
    if (dc.get())
        CViewPaneDrawer(this, dc.get()).DrawCursorLine(pane, highlighted);
}

void CQvView::DrawPaneDivider(int pane, CDC* pDC, int row)
{
    CViewDrawContext dc(this, pDC);
    if (dc.get())
        CViewPaneDrawer(this, dc.get()).DrawPaneDivider(pane, row);
}

COLORREF CQvView::GetEntryColour(int, const CFileInfo& entry)
{
    return ::GetEntryColour(entry);
}
