// The input method's windows follow the cursor: the composition window opens just
// below the cursor cell, and the candidate list keeps clear of it.
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/system/ImeWindowPos.h"

#include <imm.h>

CPoint GetImeAnchor(CQvView& view)
{
    CPoint point(0, 0);
    for (CFilerPane* pane : g_Panes)
        if (pane != nullptr && (pane->m_mode & PANE_MODES_GRAPHIC_VIEWERS) != 0)
            return point;
    const int active = view.GetActivePaneIndex();
    int column = 0;
    int row = 0;
    if (active >= 0 && view.GetCursorCell(active, &column, &row))
        point = CPoint(column * view.m_layout.charWidth, row * view.m_layout.lineHeight);
    return point;
}

void CQvView::UpdateImeWindowPos()
{
    if (m_hWnd == nullptr)
        return;
    CPoint point = GetImeAnchor(*this);
    // A system scaled above 96 dots per inch places the input method's windows in
    // unscaled screen units: the point is scaled on the screen and brought back.
    int dpi = 96;
    if (HDC dc = ::GetDC(m_hWnd))
    {
        dpi = GetDeviceCaps(dc, LOGPIXELSY);
        ::ReleaseDC(m_hWnd, dc);
    }
    if (dpi == 0)
        dpi = 96;
    const int scale = dpi * 100 / 96;
    ClientToScreen(&point);
    point.x = point.x * scale / 100;
    point.y = point.y * scale / 100;
    ScreenToClient(&point);
    HIMC context = ImmGetContext(m_hWnd);
    if (context == nullptr)
        return;
    COMPOSITIONFORM composition = {};
    composition.dwStyle = CFS_POINT;
    composition.ptCurrentPos = {point.x, point.y + 10};
    composition.rcArea = {0, 0, 60, 60};
    ImmSetCompositionWindow(context, &composition);
    CANDIDATEFORM candidate = {};
    candidate.dwIndex = 0;
    candidate.dwStyle = CFS_EXCLUDE;
    candidate.ptCurrentPos = {point.x, point.y + 10};
    candidate.rcArea = {0, 0, 60, 60};
    ImmSetCandidateWindow(context, &candidate);
    ImmReleaseContext(m_hWnd, context);
}
