// Graphic mode's layout and drawing: the picture fitted or zoomed into the client
// area, placed and scrolled in units of 50 pixels, the info in the title, the two end
// lines, and the commands that zoom, fit, turn, copy and choose the alpha processing.
#include "util/Log.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/OsVersion.h"
#include "app/Settings.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "filer/FilerPane.h"
#include "graphics/picture/PictureData.h"
#include "graphics/picture/SaveBmpDlg.h"
#include "graphics/viewer/ClipboardDib.h"
#include "graphics/viewer/PictureLayout.h"
#include "view/QvView.h"

#include <algorithm>
#include <cmath>

namespace
{

RECT WorkAreaOf(HWND window)
{
    RECT work = {0, 0, 1024, 768};
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && GetMonitorInfoW(monitor, &info))
        work = info.rcWork;
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

int Place(int space, int size, int placement)
{
    if (placement == 1)
        return space - size;
    if (placement == 2)
        return (space - size) / 2;
    return 0;
}

bool HasStyle(HWND window, DWORD style)
{
    return window != nullptr && (GetWindowLongW(window, GWL_STYLE) & style) != 0;
}

// The view's own scroll bars follow the picture's scroll ranges; they show only while
// a picture is shown that does not fit.
void UpdatePictureScrollBars(CQvView& view)
{
    const HWND window = view.m_hWnd;
    if (window == nullptr)
        return;
    const GraphicViewState& graphic = view.m_graphic;
    const bool shown = view.IsPictureShown() != 0;
    const struct
    {
        int bar;
        int minimum, maximum, position;
    } axes[] = {{SB_HORZ, graphic.hMin, graphic.hMax, graphic.hPos},
                {SB_VERT, graphic.vMin, graphic.vMax, graphic.vPos}};
    for (const auto& axis : axes)
    {
        const bool scrolls = shown && axis.maximum > axis.minimum;
        if (scrolls)
        {
            SCROLLINFO info = {};
            info.cbSize = sizeof(info);
            info.fMask = SIF_RANGE | SIF_POS | SIF_PAGE;
            info.nMin = axis.minimum;
            info.nMax = axis.maximum;
            info.nPage = 1;
            info.nPos = axis.position;
            ::SetScrollInfo(window, axis.bar, &info, TRUE);
        }
        ::ShowScrollBar(window, axis.bar, scrolls ? TRUE : FALSE);
    }
}

} // namespace

void CQvView::UpdatePictureLayout(int mask)
{
    if (m_graphic.state != GRAPHIC_STATE_SHOWN || !g_CurrentPicture.IsValid())
        return;
    const int bar = g_NOTSCROLLGRAPHIC ? 0 : GetSystemMetrics(SM_CXVSCROLL);
    // The client size without the view's own scroll bars: they come and go with the
    // layout, and a layout that counted them would change with every pass.
    SIZE client = {300, 300};
    if (m_hWnd != nullptr)
    {
        CRect rect;
        GetClientRect(&rect);
        client = {rect.Width() + (HasStyle(m_hWnd, WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0),
                  rect.Height() + (HasStyle(m_hWnd, WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0)};
    }
    CWnd* frame = m_hWnd != nullptr ? GetParentFrame() : nullptr;
    const RECT work = WorkAreaOf(frame != nullptr ? frame->m_hWnd : nullptr);
    const SIZE workSize = {work.right - work.left, work.bottom - work.top};
    SIZE border = {0, 0};
    SIZE available = client;
    if (m_system.fullScreenOn)
        available = workSize;
    else
    {
        if (frame != nullptr)
        {
            CRect frameRect;
            frame->GetWindowRect(&frameRect);
            border = {frameRect.Width() - client.cx, frameRect.Height() - client.cy};
        }
        if (!g_GRAPHIC_VIEW_NOT_CHANGE_WND_SIZE && !m_graphic.zoom.IsUnset())
        {
            if (g_HEIGHTSCALING == 1)
                available.cx = workSize.cx - border.cx;
            if (g_WIDTHSCALING == 1)
                available.cy = workSize.cy - border.cy;
        }
    }
    m_graphic.available = available;
    m_graphic.border = border;

    const SIZE natural = {g_CurrentPicture.GetWidth(), std::abs(g_CurrentPicture.GetHeight())};
    const SIZE zoomed = ZoomedPictureSize(natural, m_graphic.zoom);
    const PictureFit fit = FitPicture(zoomed, available, m_graphic.fitWidth, m_graphic.fitHeight,
                                      !m_graphic.zoom.IsUnset(), bar);
    m_graphic.displayed = fit.displayed;
    m_graphic.hMin = m_graphic.hMax = m_graphic.vMin = m_graphic.vMax = 0;
    if (fit.hScrolls)
        PictureScrollRange(fit.hOverflow, g_GRAPHIC_VIEW_H_POS, &m_graphic.hMin, &m_graphic.hMax);
    if (fit.vScrolls)
        PictureScrollRange(fit.vOverflow, g_GRAPHIC_VIEW_V_POS, &m_graphic.vMin, &m_graphic.vMax);
    m_graphic.hPos = std::clamp(m_graphic.hPos, m_graphic.hMin, m_graphic.hMax);
    m_graphic.vPos = std::clamp(m_graphic.vPos, m_graphic.vMin, m_graphic.vMax);

    if ((mask & PICTURE_LAYOUT_WINDOW) && frame != nullptr && !m_system.fullScreenOn &&
        !g_GRAPHIC_VIEW_NOT_CHANGE_WND_SIZE)
    {
        CRect frameRect;
        frame->GetWindowRect(&frameRect);
        int width = frameRect.Width();
        int height = frameRect.Height();
        if (!fit.hScrolls)
            width =
                std::max(width, static_cast<int>(fit.displayed.cx + border.cx + (fit.vScrolls ? bar : 0)));
        if (!fit.vScrolls)
            height =
                std::max(height, static_cast<int>(fit.displayed.cy + border.cy + (fit.hScrolls ? bar : 0)));
        width = std::min(width, static_cast<int>(workSize.cx));
        height = std::min(height, static_cast<int>(workSize.cy));
        if (width != frameRect.Width() || height != frameRect.Height())
        {
            const int x = work.left + Place(workSize.cx, width, g_GRAPHIC_VIEW_H_POS);
            const int y = work.top + Place(workSize.cy, height, g_GRAPHIC_VIEW_V_POS);
            frame->MoveWindow(x, y, width, height, TRUE);
            CRect rect;
            GetClientRect(&rect);
            client = {rect.Width() + (HasStyle(m_hWnd, WS_VSCROLL) ? GetSystemMetrics(SM_CXVSCROLL) : 0),
                      rect.Height() + (HasStyle(m_hWnd, WS_HSCROLL) ? GetSystemMetrics(SM_CYHSCROLL) : 0)};
        }
    }
    if (mask & PICTURE_LAYOUT_ORIGIN)
    {
        m_graphic.baseOrigin.x =
            PlacePicture(client.cx, fit.vScrolls ? bar : 0, fit.displayed.cx, g_GRAPHIC_VIEW_H_POS);
        m_graphic.baseOrigin.y =
            PlacePicture(client.cy, fit.hScrolls ? bar : 0, fit.displayed.cy, g_GRAPHIC_VIEW_V_POS);
    }
    m_graphic.origin.x = m_graphic.baseOrigin.x - m_graphic.hPos * PICTURE_SCROLL_UNIT;
    m_graphic.origin.y = m_graphic.baseOrigin.y - m_graphic.vPos * PICTURE_SCROLL_UNIT;
    if (m_hWnd != nullptr)
    {
        // The panes' bars are child windows: the picture's drawing does not cover them.
        UpdateScrollBars();
        UpdatePictureScrollBars(*this);
        Invalidate(FALSE);
    }
}

void CQvView::UpdatePictureInfo()
{
    if (m_graphic.state != GRAPHIC_STATE_SHOWN || !g_CurrentPicture.IsValid())
        return;
    const int width = g_CurrentPicture.GetWidth();
    const long percent = width == 0 ? 100 : static_cast<long>(m_graphic.displayed.cx * 100LL / width);
    CString name;
    if (m_graphic.current >= 0 && m_graphic.current < m_graphic.pictures.GetSize())
        name = m_graphic.pictures[m_graphic.current].GetName();
    const int pane = FindGraphicPane();
    const bool archiveMode = pane >= 0 && g_Panes[pane]->m_mode == PANE_MODE_ARCHIVE_GRAPHIC;
    CString title;
    if (archiveMode || (pane >= 0 && m_graphic.position.IsNested()))
    {
        CString archiveName = m_graphic.archivePath;
        const int slash = archiveName.ReverseFind(L'\\');
        if (slash >= 0)
            archiveName = archiveName.Mid(slash + 1);
        title.Format(L"%s(%s) 幅:%d 高さ%d %dBit Color(%ld%%)",
                     archiveMode ? static_cast<LPCWSTR>(m_graphic.memberName) : static_cast<LPCWSTR>(name),
                     static_cast<LPCWSTR>(archiveName), width, std::abs(g_CurrentPicture.GetHeight()),
                     g_CurrentPicture.GetBitCount(), percent);
    }
    else
        title.Format(L"%s 幅:%d 高さ%d %dBit Color(%ld%%)", static_cast<LPCWSTR>(name), width,
                     std::abs(g_CurrentPicture.GetHeight()), g_CurrentPicture.GetBitCount(), percent);
    if (CDocument* document = GetDocument())
        document->SetTitle(title);
}

void CQvView::DrawGraphicMode(CDC* pDC, const CRect& rect)
{
    m_graphic.drawingPicture = 1;
    UpdatePictureInfo();
    const COLORREF background = g_DisplayColors[COLOR_BACK_GROUND];
    HDC dc = pDC->GetSafeHdc();
    const int bits = g_CurrentPicture.GetBitCount();
    if (m_graphic.state != GRAPHIC_STATE_SHOWN || m_graphic.paused || !g_CurrentPicture.IsValid())
    {
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        if (m_graphic.position.IsAtEnd())
        {
            CalcLayout();
            HGDIOBJ oldFont =
                m_viewFont.GetSafeHandle() ? SelectObject(dc, m_viewFont.GetSafeHandle()) : nullptr;
            const int oldMode = SetBkMode(dc, TRANSPARENT);
            const COLORREF oldColour = SetTextColor(dc, RGB(255, 255, 255));
            CRect client;
            GetClientRect(&client);
            const wchar_t* lines[] = {L"すべての画像を表示しました。",
                                      L"ファイラーモードに戻るには、画像の閲覧終了を実行してください。"};
            const int lineHeight = std::max(1, m_layout.lineHeight);
            for (int i = 0; i < 2; ++i)
            {
                CRect line(client.left, client.top + lineHeight * (1 + 2 * i), client.right,
                           client.top + lineHeight * (2 + 2 * i));
                DrawTextW(dc, lines[i], -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
            }
            SetTextColor(dc, oldColour);
            SetBkMode(dc, oldMode);
            if (oldFont)
                SelectObject(dc, oldFont);
        }
        UpdatePictureScrollBars(*this);
        m_graphic.drawingPicture = 0;
        return;
    }
    if (bits > 32)
    {
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        m_graphic.drawingPicture = 0;
        return;
    }
    if (g_DEBUGMODE && g_DebugFlags[DEBUG_FLAG_PICTURE_SIZES])
    {
        const int width = g_CurrentPicture.GetWidth();
        const int height = std::abs(g_CurrentPicture.GetHeight());
        const double diagonal =
            std::sqrt(static_cast<double>(width) * width + static_cast<double>(height) * height);
        CString name = m_graphic.archivePath;
        const int pane = FindGraphicPane();
        if (!(pane >= 0 &&
              (g_Panes[pane]->m_mode == PANE_MODE_ARCHIVE_GRAPHIC || m_graphic.position.IsNested())))
            name = m_graphic.current >= 0 && m_graphic.current < m_graphic.pictures.GetSize()
                       ? CString(m_graphic.pictures[m_graphic.current].GetName())
                       : CString();
        WriteLog(nullptr, L"%s,%d,%d,LARGE=%d,SMALL=%d", name, width, height,
                 diagonal > 0 ? static_cast<int>(width * 1280 / diagonal) : 0,
                 diagonal > 0 ? static_cast<int>(width * 1000 / diagonal) : 0);
    }
    CRect clip = rect;
    if (m_hWnd != nullptr)
    {
        CRect client;
        GetClientRect(&client);
        clip.IntersectRect(&clip, &client);
    }
    CAlphaChannelRow alpha = g_AlphaChannelTypes[std::clamp(g_SELECT_ALPHA_CHANNEL_PROCESS, 0, 9)];
    DrawPictureClipped(dc, clip, m_graphic.origin, m_graphic.displayed, g_CurrentPicture, &alpha, background,
                       0);
    m_graphic.drawingPicture = 0;
}

void CQvView::DrawPictureClipped(HDC dc, const RECT& rect, POINT origin, SIZE size, CPictureData& picture,
                                 const CAlphaChannelRow* alpha, COLORREF background, int noFill)
{
    const RECT shown = {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    RECT meet;
    HBRUSH brush = noFill ? nullptr : CreateSolidBrush(background);
    if (!IntersectRect(&meet, &rect, &shown))
    {
        if (brush != nullptr)
            FillRect(dc, &rect, brush);
    }
    else
    {
        picture.Draw(dc, meet, origin, size, alpha, background);
        if (brush != nullptr)
        {
            const RECT bands[] = {{rect.left, rect.top, rect.right, meet.top},
                                  {rect.left, meet.bottom, rect.right, rect.bottom},
                                  {rect.left, meet.top, meet.left, meet.bottom},
                                  {meet.right, meet.top, rect.right, meet.bottom}};
            for (const RECT& band : bands)
                if (band.right > band.left && band.bottom > band.top)
                    FillRect(dc, &band, brush);
        }
    }
    if (brush != nullptr)
        DeleteObject(brush);
}

void CQvView::ToggleFitToWindow(int makeDefault)
{
    if (!IsPictureShown())
        return;
    if (makeDefault)
    {
        ToggleFitFlags(&g_HEIGHTSCALING, &g_WIDTHSCALING);
        m_graphic.fitWidth = g_HEIGHTSCALING;
        m_graphic.fitHeight = g_WIDTHSCALING;
    }
    else
        ToggleFitFlags(&m_graphic.fitWidth, &m_graphic.fitHeight);
    m_graphic.zoom.SetUnset();
    UpdatePictureLayout(PICTURE_LAYOUT_ALL);
}

void CQvView::StepZoom(int direction)
{
    if (!IsPictureShown())
        return;
    CZoomRatio next;
    if (!StepZoomRatio(m_graphic.zoom, m_graphic.displayed.cx, g_CurrentPicture.GetWidth(), direction, &next))
        return;
    m_graphic.zoom = next;
    if (g_CHANGEZOOMENABLE)
        m_graphic.keptZoom = next;
    UpdatePictureLayout(PICTURE_LAYOUT_ALL);
}

void CQvView::TransformPicture(int kind)
{
    if (!IsPictureShown())
        return;
    if (g_CurrentPicture.Transform(kind) != 0)
    {
        Tell(this, L"画像の変換に失敗しました");
        return;
    }
    UpdatePictureLayout(PICTURE_LAYOUT_ALL);
}

void CQvView::CopyPictureToClipboard(int keepAlpha)
{
    if (FindGraphicPane() < 0 || !IsPictureShown() || !g_CurrentPicture.IsValid())
        return;
    SIZE_T headerSize = 0;
    SIZE_T bitsSize = 0;
    if (!g_CurrentPicture.GetHeaderSize(&headerSize) || !g_CurrentPicture.GetBitsSize(&bitsSize))
        return;
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&version);
#pragma GCC diagnostic pop
    const bool asVersion5 = keepAlpha && g_CurrentPicture.GetBitCount() == 32 && version.dwMajorVersion >= 6;
    UINT format = 0;
    HGLOBAL block = BuildClipboardDib(&g_CurrentPicture.GetHeader()->bmiHeader, headerSize,
                                      g_CurrentPicture.GetBits(), bitsSize, asVersion5, &format);
    if (block == nullptr)
    {
        Tell(this, L"クリップボードへのコピーに失敗しました");
        return;
    }
    if (!SetClipboard(format, block))
        GlobalFree(block);
}

void CQvView::SetAlphaChannelType(int index)
{
    if (index < 0 || index >= ALPHA_CHANNEL_ROW_COUNT)
        return;
    g_SELECT_ALPHA_CHANNEL_PROCESS = index;
    if (m_hWnd != nullptr)
        Invalidate(FALSE);
}

void CQvView::UpdateAlphaMenuItem(CCmdUI& item, int index)
{
    CString text;
    item.Enable(TRUE);
    item.SetCheck(index == g_SELECT_ALPHA_CHANNEL_PROCESS ? 1 : 0);
    item.SetText(FormatAlphaChannelType(text, index, nullptr));
}

void CQvView::ScrollPicture(int hStep, int vStep)
{
    if (FindGraphicPane() < 0)
        return;
    const int steps[2] = {hStep, vStep};
    for (int axis = 0; axis < 2; ++axis)
    {
        UINT code;
        switch (steps[axis])
        {
        case -10:
            code = SB_PAGEUP;
            break;
        case -1:
            code = SB_LINEUP;
            break;
        case 1:
            code = SB_LINEDOWN;
            break;
        case 10:
            code = SB_PAGEDOWN;
            break;
        default:
            continue;
        }
        ScrollPictureBar(axis == 0 ? SB_HORZ : SB_VERT, code, 0);
    }
}

void CQvView::ScrollPictureBar(int bar, UINT code, int thumb)
{
    int& position = bar == SB_HORZ ? m_graphic.hPos : m_graphic.vPos;
    const int minimum = bar == SB_HORZ ? m_graphic.hMin : m_graphic.vMin;
    const int maximum = bar == SB_HORZ ? m_graphic.hMax : m_graphic.vMax;
    if (maximum <= minimum)
        return;
    int next = position;
    const int page =
        std::max(1, static_cast<int>((bar == SB_HORZ ? m_graphic.available.cx : m_graphic.available.cy) /
                                     PICTURE_SCROLL_UNIT));
    switch (code)
    {
    case SB_LINEUP:
        --next;
        break;
    case SB_LINEDOWN:
        ++next;
        break;
    case SB_PAGEUP:
        next -= page;
        break;
    case SB_PAGEDOWN:
        next += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        next = thumb;
        break;
    case SB_TOP:
        next = minimum;
        break;
    case SB_BOTTOM:
        next = maximum;
        break;
    default:
        return;
    }
    next = std::clamp(next, minimum, maximum);
    if (next == position)
        return;
    position = next;
    m_graphic.origin.x = m_graphic.baseOrigin.x - m_graphic.hPos * PICTURE_SCROLL_UNIT;
    m_graphic.origin.y = m_graphic.baseOrigin.y - m_graphic.vPos * PICTURE_SCROLL_UNIT;
    if (m_hWnd != nullptr)
    {
        ::SetScrollPos(m_hWnd, bar, position, TRUE);
        Invalidate(FALSE);
    }
}

void CQvView::SaveShownPicture(int series)
{
    const int index = FindGraphicPane();
    if (index < 0 || m_graphic.state != GRAPHIC_STATE_SHOWN || !g_CurrentPicture.IsValid())
        return;
    CFilerPane& pane = *g_Panes[index];
    // An archive's member is saved under the member's name, a file under its own.
    CString name;
    if (pane.m_mode == PANE_MODE_ARCHIVE_GRAPHIC || m_graphic.position.IsNested())
        name = m_graphic.memberName;
    else if (m_graphic.current >= 0 && m_graphic.current < m_graphic.pictures.GetSize())
        name = m_graphic.pictures[m_graphic.current].GetName();
    CSaveBmpDlg dialog(&g_CurrentPicture, pane.m_currentDir, name,
                       series ? SAVEBMP_SERIES : SAVEBMP_INTERACTIVE, nullptr, DialogOwner(this));
    dialog.DoModal();
}
