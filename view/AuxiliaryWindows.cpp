// The windows that follow the active pane, and the filer's column layouts.
#include "app/Settings.h"
#include "app/settings/ViewSettings.h"
#include "view/QvView.h"
#include "view/media/MediaWindows.h"
#include "view/menus/FilerInfoItems.h"

void CQvView::UpdateAuxiliaryWindows()
{
    UpdateGraphicListDialog();
    UpdateSmallGraphicWindow();
    SyncViewerPane();
    SyncOtherPane();
    UpdateTagViewWindow();
}

// The companion viewer (view/viewer/CompanionViewer.cpp) shows the cursor file.
void CQvView::SyncViewerPane()
{
    ShowCompanionViewer();
}

// The other pane that follows the cursor's directory.
void CQvView::SyncOtherPane()
{
    OpenCursorDirectoryInOtherPane();
}

void CQvView::CycleFilerInfoLayout()
{
    g_FILERINFONUMBER =
        g_FILERINFONUMBER >= kFilerInfoPresetCount - 1 || g_FILERINFONUMBER < 0 ? 0 : g_FILERINFONUMBER + 1;
    CalcLayout();
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

CString FormatFilerInfoItemText(int layout)
{
    CString text = L"名前";
    if (layout < 0 || layout >= kFilerInfoPresetCount)
        return text;
    const FilerInfoPreset& preset = g_FilerInfoPresets[layout];
    if (preset.date)
        text += L"+日付";
    if (preset.time)
        text += preset.noSeconds ? L"+時間(秒非表示)" : L"+時間";
    if (preset.size)
        text += L"+サイズ";
    if (preset.attributes)
        text += L"+属性";
    return text;
}
