// The display filters: which hidden, system, dot and read-only files the panes list,
// and the five remembered combinations of them.
#include "app/Settings.h"
#include "app/settings/ViewSettings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

namespace
{

int* const kFilterSettings[] = {&g_HIDDENVIEWFLAG,      &g_DISP_SYSTEM_FILE,  &g_DISP_FIRST_DOT_FILE,
                                &g_DISP_READ_ONLY_FILE, &g_NOTVIEWCURRENTDIR, &g_NOTVIEWUPDIR};
constexpr int kToggleableFilters = 4;

// A shown archive listing is listed again from its archive under the new filters,
// the cursor kept on its member.
void RelistArchivePanes()
{
    for (CFilerPane* pane : g_Panes)
    {
        if (pane == nullptr || pane->m_mode != PANE_MODE_ARCHIVE ||
            (pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) == 0)
            continue;
        const CFileInfo* cursor = pane->GetCursorEntry();
        const CString name = cursor != nullptr ? CString(cursor->GetName()) : CString();
        pane->ReloadArchiveListing();
        if (!name.IsEmpty())
            pane->SetCursorToName(name, FALSE, pane->m_cursor);
        pane->MoveCursor(0, TRUE);
    }
}

} // namespace

void CQvView::ToggleDisplayFilter(int flag)
{
    int active = GetActivePaneIndex();
    if (active < 0 || flag < 0 || flag >= kToggleableFilters)
        return;
    if ((g_Panes[active]->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) == 0)
        return;
    int& setting = *kFilterSettings[flag];
    setting = setting ? 0 : 1;
    CViewBusyGuard busy(*this);
    ResortFilerPanes();
    RelistArchivePanes();
    CalcLayout();
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CQvView::ApplyDisplayFilterPreset(int preset)
{
    if (preset < 0 || preset >= kDisplayFilterSlotCount)
        return;
    int word = g_DisplayFilterSlots[preset];
    for (int bit = 0; bit < 6; ++bit)
        *kFilterSettings[bit] = (word >> bit) & 1;
    CViewBusyGuard busy(*this);
    ResortFilerPanes();
    RelistArchivePanes();
    CalcLayout();
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}
