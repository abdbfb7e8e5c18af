// A pane as text viewer in the view: opening the cursor file ("@View"), leaving the
// viewer ("@Closeviewer"), and drawing its title row and its lines.
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "app/Directories.h"
#include "app/records/ViewFileHistory.h"
#include "app/settings/ViewerSettings.h"
#include "app/settings/ViewSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/media/SoundHooks.h"
#include "view/commands/CommandDispatch.h"
#include "view/status/StatusLine.h"
#include "view/navigation/ReturnToListing.h"
#include "view/viewer/HexDump.h"
#include "view/viewer/ViewerLines.h"
#include "viewers/text/JumpTextDlg.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/settings/PrintSettings.h"
#include "view/ViewBusyGuard.h"
#include "viewers/text/PrintTextDlg.h"

#include <vector>
#include <cwchar>
#include <climits>

namespace
{
const wchar_t* const kEncodingTags[] = {L"<S-JIS>", L"<EUC>", L"<UNICODE>", L"<JIS>", L"<UTF8>"};

void RedrawWholePane(CQvView& view, int index)
{
    view.CalcLayout();
    if (view.m_hWnd == nullptr)
        return;
    view.m_paneRedrawRequest[index] = 1;
    view.DrawPaneTitle(index);
    view.DrawPane(index);
    view.UpdateMenuForMode();
}

LPCWSTR GetViewerEncodingTag(int code)
{
    return code >= 0 && code < 5 ? kEncodingTags[code] : L"";
}
} // namespace

VIEW_COMMAND(ViewText)
{
    const int index = view.GetActivePaneIndex();
    if (index >= 0 && view.OpenCursorInTextViewer(index))
        g_SoundHooks.playCommandSound(L"VIEW");
}

int CQvView::OpenCursorInTextViewer(int index)
{
    CFilerPane* found = PaneAt(index);
    if (found == nullptr)
        return 0;
    CFilerPane& pane = *found;
    if ((pane.m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return 0;
    if (pane.CheckState(PANE_CHECK_NOT_EMPTY | PANE_CHECK_CURSOR_NOT_DOT | PANE_CHECK_DRIVE_PRESENT))
        return 0;
    CFileInfo entry;
    if (!pane.GetTargetEntry(TARGET_ALLOW_VIRTUAL_DRIVE | TARGET_CURSOR_ONLY, 0, entry))
        return 0;
    if (entry.m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return 0;
    const bool member = (pane.m_mode & PANE_MODE_ARCHIVE) != 0;
    const UINT viewerMode = member ? PANE_MODE_ARCHIVE_TEXT_VIEWER : PANE_MODE_TEXT_VIEWER;
    if (!pane.OpenViewerFile(entry, static_cast<LONGLONG>(g_GETVIEWMEM) * 1000, g_TABCARAMES, g_VIEWCHARWIDE,
                             viewerMode))
        return 0;
    if (member)
    {
        // A member is remembered by its path inside the archive and the archive.
        CString archive;
        pane.m_archive->GetArchivePath(archive);
        const CString& folder = pane.m_archive->GetCurrentFolder();
        g_ViewHistory.Add(entry.GetName(), folder, archive);
    }
    else
    {
        CString full = entry.GetRealFullPath();
        if (entry.GetDirectory().IsEmpty() && entry.m_realDirectory.IsEmpty())
            MakePath(pane.m_currentDir, entry.GetName(), full);
        g_ViewHistory.AddPath(full);
    }
    m_viewer.selection = ViewerSelection();
    pane.m_bHexDisplay = FALSE;
    pane.SetMode(0, viewerMode, 0);
    RedrawWholePane(*this, index);
    UpdateAuxiliaryWindows();
    return 1;
}

void CQvView::CloseViewer()
{
    const int index = GetActivePaneIndex();
    if (index < 0)
        return;
    CFilerPane& pane = *g_Panes[index];
    if ((pane.m_mode & PANE_MODES_TEXT_VIEWERS) == 0)
        return;
    pane.ReleaseViewerData();
    m_viewer.selection = ViewerSelection();
    // Leaving the companion viewer ends its following of the other pane's cursor.
    if (m_nCompanionPane == index)
        m_nCompanionPane = -1;
    ReturnPaneToListing(pane, (pane.m_mode & PANE_MODE_ARCHIVE_TEXT_VIEWER) != 0);
    RedrawWholePane(*this, index);
}

void CQvView::DrawViewerPane(CDC* dc, int paneIndex, int right)
{
    m_viewer.textRight[paneIndex] = right;
    DrawViewerTitle(dc, paneIndex, right);
    DrawViewerRows(*this, dc, paneIndex, -1, -1);
}

void CQvView::DrawViewerTitle(CDC* dc, int paneIndex, int right)
{
    CFilerPane* pane = g_Panes[paneIndex];
    if (pane == nullptr || dc == nullptr)
        return;
    const PaneLayout& geo = m_layout.panes[paneIndex];
    const int cw = m_layout.charWidth;
    const int lh = m_layout.lineHeight;
    CDcCellCanvas canvas(dc, cw, lh, right);
    const IPaneViewer* viewer = pane->m_viewer;
    const INT64 top = viewer ? viewer->GetTopLine() : 0;
    const INT64 count = viewer ? viewer->LineCount() : 0;

    // Title: path, position and count, the loading tag, then the character code.
    const int titleRow = geo.originRow - 1;
    const COLORREF titleBack = g_DisplayColors[COLOR_INTRO_VOLUME];
    const COLORREF titleFore = g_DisplayColors[COLOR_BACK_GROUND];
    RECT titleRect = {geo.originColumn * cw, titleRow * lh, right, (titleRow + 1) * lh};
    canvas.FillRect(titleRect, titleBack);
    const BOOL hex = pane->m_bHexDisplay;
    CString position;
    // The hexadecimal form counts rows of sixteen bytes, not lines.
    const INT64 shownCount = hex && viewer ? viewer->TextLength() / 16 : count;
    position.Format(L"(%I64d/%I64d)", static_cast<long long>(top), static_cast<long long>(shownCount));
    CString title = pane->m_viewerEntry.GetRealFullPath() + L"," + position;
    const BOOL done = pane->IsViewerLoadDone();
    if (!done)
        title += L"(読込中)";
    else if (viewer != nullptr && viewer->IsTruncated())
        title += L"(メモリ不足のため先頭のみ表示)";
    m_viewer.shownLines[paneIndex] = count;
    m_viewer.shownDone[paneIndex] = done;
    canvas.TextOutCell(geo.originColumn + 1, titleRow, title, titleFore, titleBack);
    if (!hex)
    {
        int tagColumn = geo.originColumn + 1 + GetDisplayColumns(title) + 1;
        if (position.GetLength() <= 11)
            tagColumn += 11 - position.GetLength();
        LPCWSTR tag = GetViewerEncodingTag(pane->GetViewerEncoding());
        canvas.TextOutCell(tagColumn, titleRow, tag, titleBack, titleFore);
    }
}

void DrawViewerRows(CQvView& view, CDC* dc, int paneIndex, INT64 spanFrom, INT64 spanTo, int firstRow,
                    int lastRow)
{
    CFilerPane* pane = PaneAt(paneIndex);
    if (pane == nullptr || dc == nullptr || pane->m_viewer == nullptr)
        return;
    IPaneViewer* viewer = pane->m_viewer;
    const PaneLayout& geo = view.m_layout.panes[paneIndex];
    const int cw = view.m_layout.charWidth;
    const int lh = view.m_layout.lineHeight;
    const int right = view.m_viewer.textRight[paneIndex];
    // A cleared row shows the background picture where one is set.
    CDcCellCanvas canvas(dc, cw, lh, right, &view);
    const INT64 top = viewer->GetTopLine();
    const BOOL all = spanFrom < 0;
    const INT64 spanLow = spanFrom < spanTo ? spanFrom : spanTo;
    const INT64 spanHigh = spanFrom < spanTo ? spanTo : spanFrom;
    const ViewerSelection* selection =
        paneIndex == view.GetActivePaneIndex() ? &view.m_viewer.selection : nullptr;
    if (pane->m_bHexDisplay)
    {
        if (all && geo.originRow >= firstRow && geo.originRow <= lastRow)
            DrawHexDumpHeader(canvas, geo.originColumn, geo.originRow, right);
        for (int j = 1; j < geo.rowsDrawn; ++j)
        {
            const int row = geo.originRow + j;
            if (row < firstRow || row > lastRow)
                continue;
            const INT64 formRow = top + j - 1;
            if (!all && (formRow * 16 + 16 < spanLow || formRow * 16 > spanHigh))
                continue;
            BOOL drawn = FALSE;
            if (pane->LockViewerData())
            {
                // Rows past the text still show their offset: where the text ends
                // stays visible.
                DrawHexDumpRow(canvas, viewer->Text(), viewer->TextLength(), geo.originColumn, row, formRow,
                               right, selection);
                drawn = TRUE;
                pane->UnlockViewerData();
            }
            if (!drawn)
            {
                RECT band = {geo.originColumn * cw, row * lh, right, (row + 1) * lh};
                canvas.ClearRect(band);
            }
        }
        return;
    }
    const int lineWidth = viewer->GetLineWidth();
    std::vector<char> work(static_cast<size_t>(lineWidth) * 8 + 64);
    ViewerLineFrame frame;
    frame.originColumn = geo.originColumn;
    frame.rightEdge = right;
    frame.tabWidth = viewer->GetTabWidth();
    frame.showNumbers = g_VIEWNUMBER != 0;
    frame.workBuffer = work.data();
    frame.workCapacity = static_cast<int>(work.size());
    frame.breakMark = g_LineReturnCode;
    frame.selection = selection;
    for (int j = 0; j < geo.rowsDrawn; ++j)
    {
        const int row = geo.originRow + j;
        if (row < firstRow || row > lastRow)
            continue;
        BOOL drawn = FALSE;
        BOOL skipped = FALSE;
        if (pane->LockViewerData())
        {
            if (top + j < viewer->LineCount())
            {
                const INT64* lines = viewer->LineIndex();
                // A line runs from its start to the next line's start, both ends
                // counted: a caret on a line break changes both lines it touches.
                if (!all && (lines[top + j + 1] < spanLow || lines[top + j] > spanHigh))
                    skipped = TRUE;
                else
                {
                    DrawViewerLineCells(canvas, frame, viewer->Text(), lines, row, top + j);
                    drawn = TRUE;
                }
            }
            else if (!all)
                skipped = TRUE;
            pane->UnlockViewerData();
        }
        else if (!all)
            return;
        if (!drawn && !skipped)
        {
            RECT band = {geo.originColumn * cw, row * lh, right, (row + 1) * lh};
            canvas.ClearRect(band);
        }
    }
}

void CQvView::RedrawViewerSpan(int paneIndex, INT64 from, INT64 to, BOOL withTitle)
{
    if (m_hWnd == nullptr || paneIndex < 0 || paneIndex > 1 || !IsPaneVisible(paneIndex))
        return;
    CClientDC dc(this);
    HGDIOBJ oldFont = m_viewFont.GetSafeHandle() ? dc.SelectObject(m_viewFont.GetSafeHandle()) : nullptr;
    GetPaneRect(&dc, paneIndex);
    if (withTitle)
        DrawViewerTitle(&dc, paneIndex, m_viewer.textRight[paneIndex]);
    if (from >= 0 || to >= 0)
        DrawViewerRows(*this, &dc, paneIndex, from < 0 ? 0 : from, to < 0 ? 0 : to);
    ::SelectClipRgn(dc.GetSafeHdc(), nullptr);
    if (oldFont)
        dc.SelectObject(oldFont);
}

void CQvView::RefreshLoadingViewers()
{
    for (int i = 0; i < 2; ++i)
    {
        CFilerPane* pane = TextViewerPaneAt(i);
        if (pane == nullptr || !IsPaneVisible(i))
            continue;
        if (pane->m_viewer->LineCount() != m_viewer.shownLines[i] ||
            pane->IsViewerLoadDone() != m_viewer.shownDone[i])
        {
            m_paneRedrawRequest[i] = 1;
            DrawPane(i);
        }
    }
}

// ---- "@Jumptext": the text viewer shows a line asked for by number, or moves by a signed
// number of lines.
VIEW_COMMAND(JumpToLine)
{
    const int index = view.GetActivePaneIndex();
    if (index < 0 || index > 1)
        return;
    CFilerPane* pane = g_Panes[index];
    if (pane == nullptr || (pane->m_mode & PANE_MODES_TEXT_VIEWERS) == 0 || pane->m_viewer == nullptr)
        return;
    CJumpTextDlg dlg(&view);
    if (dlg.DoModal() != IDOK)
        return;
    CString text = dlg.m_text;
    text.TrimLeft();
    text.TrimRight();
    if (text.IsEmpty())
        return;
    const INT64 n = _wtoi64(text);
    const int rows = view.m_layout.panes[index].rowsDrawn > 0 ? view.m_layout.panes[index].rowsDrawn : 1;
    if (text[0] == L'+' || text[0] == L'-')
        pane->ScrollViewerLines(n, rows, FALSE);
    else
    {
        pane->m_viewer->SetTopLine(n < 0 ? 0 : n);
        pane->ScrollViewerLines(0, rows, FALSE);
    }
    if (view.m_hWnd != nullptr)
    {
        view.m_paneRedrawRequest[index] = 1;
        view.DrawPane(index);
    }
}

// ---- "@Textprint": the active text viewer's text printed through the print dialog,
// held locked for the whole dialog so that its loader cannot move it meanwhile.
void CQvView::PrintText()
{
    const int index = GetActivePaneIndex();
    if (TextViewerPaneAt(index) == nullptr)
        return;
    CFilerPane& pane = *g_Panes[index];
    if ((pane.m_mode & PANE_MODES_TEXT_VIEWERS) == 0 || pane.m_viewer == nullptr)
        return;
    CViewBusyGuard busy(*this);
    g_PrintSettings.charsPerLine = g_VIEWCHARWIDE;
    g_PrintSettings.lineNumbers = g_VIEWNUMBER;
    g_PrintSettings.documentName = (pane.m_mode & PANE_MODE_TEXT_VIEWER) != 0
                                       ? pane.m_viewerEntry.GetRealFullPath()
                                       : CString(pane.m_viewerEntry.GetName());
    // Waits while the loader holds the text; a pane without text prints nothing.
    if (!pane.HoldViewerData())
        return;
    g_PrintSettings.tabColumns = pane.m_viewer->GetTabWidth();
    // The print job counts in int: a text beyond that prints its first 2 GiB.
    const INT64 length = pane.m_viewer->TextLength();
    const int printed = length > INT_MAX ? INT_MAX : static_cast<int>(length);
    {
        CPrintTextDlg dialog(g_PrintSettings, pane.m_viewer->Text(), printed, DialogOwner(this));
        dialog.DoModal();
    }
    pane.ReleaseHeldViewerData();
    if (m_hWnd)
        Invalidate();
}
