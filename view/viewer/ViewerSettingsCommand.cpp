// The text viewer's two settings dialogs opened from the menu, and what changes
// after them: the text is wrapped again for new widths, opened again for a new
// memory limit, and the view repainted for a new line-end mark.
#include "app/KeywordBuilders.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/Settings.h"
#include "app/dialogs/TellAndAsk.h"
#include "app/settings/ViewerSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"
#include "view/viewer/ViewerSettingsCommand.h"
#include "viewers/text/VeiwKindSettingDlg.h"
#include "viewers/text/ViewConfigDlg.h"

ViewerConfigValues GetViewerSettings()
{
    ViewerConfigValues values;
    values.tabColumns = g_TABCARAMES;
    values.memoryKb = g_GETVIEWMEM;
    values.lineWidth = g_VIEWCHARWIDE;
    values.scrollSpeed = g_VIEWSCROLLSPEED;
    values.scrollLines = g_VIEWSCROLLLINE;
    values.lineNumbers = g_VIEWNUMBER;
    values.findFromTop = g_VIEWFINDSCROLLPOSITION;
    values.fastScrollCount = g_FASTSCROLLCOUNT;
    values.fastScrollLines = g_FASTSCROLLINE;
    values.lineReturnCode = g_LineReturnCode;
    for (int i = 0; i < VIEWER_LINE_WIDTH_COUNT; ++i)
        values.presets[i] = g_ViewerLineWidths[i];
    values.leftAction = g_ViewerLeftDblClickAct;
    values.rightAction = g_ViewerRightDblClickAct;
    return values;
}

void ApplyViewerSettings(CQvView& view, const ViewerConfigValues& values)
{
    int change = 0;
    if (values.tabColumns != g_TABCARAMES || values.lineWidth != g_VIEWCHARWIDE)
        change = 1;
    if (values.memoryKb != g_GETVIEWMEM)
        change = 2;
    g_TABCARAMES = values.tabColumns;
    g_GETVIEWMEM = values.memoryKb;
    g_VIEWCHARWIDE = values.lineWidth;
    g_VIEWSCROLLSPEED = values.scrollSpeed;
    g_VIEWSCROLLLINE = values.scrollLines;
    g_VIEWNUMBER = values.lineNumbers;
    g_VIEWFINDSCROLLPOSITION = values.findFromTop;
    g_FASTSCROLLCOUNT = values.fastScrollCount;
    g_FASTSCROLLINE = values.fastScrollLines;
    for (int i = 0; i < VIEWER_LINE_WIDTH_COUNT; ++i)
        g_ViewerLineWidths[i] = values.presets[i];
    SetLineWidthCommandNames(g_ViewerLineWidths);
    g_ViewerLeftDblClickAct = values.leftAction;
    g_ViewerRightDblClickAct = values.rightAction;
    const CString mark = values.lineReturnCode.Left(2);
    const bool markChanged = mark != g_LineReturnCode;
    if (markChanged)
    {
        g_LineReturnCode = mark;
        g_LineReturnCodeLength = mark.GetLength();
    }

    const int active = view.GetActivePaneIndex();
    CFilerPane* pane = TextViewerPaneAt(active);
    if (pane == nullptr)
    {
        if (markChanged && view.m_hWnd)
            view.Invalidate();
        return;
    }
    if (change == 1)
    {
        pane->LoadViewerData(g_TABCARAMES, g_VIEWCHARWIDE);
        if (view.m_hWnd)
        {
            view.m_paneRedrawRequest[active] = 1;
            view.DrawPaneTitle(active);
            view.DrawPane(active);
        }
    }
    else if (change == 2)
    {
        // The memory limit bounds what is read of an archive member: the text is read
        // again, from the start, with the new limit.
        const UINT mode = pane->m_mode & PANE_MODES_TEXT_VIEWERS;
        const CFileInfo entry = pane->m_viewerEntry;
        pane->ReleaseViewerData();
        view.m_viewer.selection = ViewerSelection();
        if (pane->OpenViewerFile(entry, static_cast<LONGLONG>(g_GETVIEWMEM) * 1000, g_TABCARAMES,
                                 g_VIEWCHARWIDE, mode))
        {
            view.CalcLayout();
        }
        else
        {
            CString text;
            text.Format(L"%sを開くのに失敗しました", entry.GetName());
            Tell(&view, text);
            pane->ReleaseViewerData();
            if (mode == PANE_MODE_ARCHIVE_TEXT_VIEWER)
            {
                pane->SetMode(0, PANE_MODE_ARCHIVE, 0);
                pane->ReloadArchiveListing();
            }
            else
            {
                pane->SetMode(0, PANE_MODE_FILER, 0);
                pane->ReadDirectory(TRUE);
                pane->SortEntries();
            }
            view.CalcLayout();
        }
        if (view.m_hWnd)
        {
            view.Invalidate();
            view.UpdateMenuForMode();
        }
    }
    else if (markChanged && view.m_hWnd)
    {
        view.Invalidate();
    }
}

void CQvView::OnViewerSettings()
{
    CViewBusyGuard busy(*this);
    CViewConfigDlg dialog(DialogOwner(this));
    dialog.m_values = GetViewerSettings();
    if (dialog.DoModal() == IDOK)
        ApplyViewerSettings(*this, dialog.m_values);
}

void CQvView::OnViewerKindSettings()
{
    CViewBusyGuard busy(*this);
    CVeiwKindSettingDlg dialog(DialogOwner(this));
    dialog.DoModal();
}
