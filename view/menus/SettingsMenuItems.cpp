// The settings items of the menus that no keyword names: virtual drives, network
// settings, the filer settings sheet, the display, colour, copy destination, sound and
// per-user settings file dialogs, the key text in menu items and the customisation
// dialogs. The menu table (view/menus/MenuTable.cpp) names each for its item.
#include "view/menus/SettingsMenuItems.h"

#include "util/Globals.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/NetworkSettingsDlg.h"
#include "app/Settings.h"
#include "app/SettingStrings.h"
#include "app/VirtualDrives.h"
#include "app/settings/ToolSettings.h"
#include "app/settings/ViewSettings.h"
#include "filer/FilerPane.h"
#include "filer/RememberedLists.h"
#include "filer/SortSetting.h"
#include "filer/VirtualDriveDlg.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "tools/settings/ColorSettingDialogs.h"
#include "tools/settings/DisplaySettingDialogs.h"
#include "tools/settings/FilerSettingSheet.h"
#include "tools/settings/OtherSettingDialogs.h"
#include "view/QvView.h"
#include "view/commands/CommandDispatch.h"
#include "tools/cpl/NonLoadCplDlg.h"
#include "tools/menus/NotViewMenuDlg.h"
#include "tools/plugins/PlugInDlg.h"
#include "view/ViewBusyGuard.h"

void ChooseVirtualDrives(CQvView& view)
{
    CVirtualDriveDlg dialog(DialogOwner(&view));
    if (dialog.DoModal() != IDOK)
        return;
    LoadVirtualDrives();
    if (view.m_hWnd)
        view.DrawDriveBar(nullptr, 255);
}

void EditNetworkSettings(CQvView& view)
{
    CViewBusyGuard busy(view);
    RunNetworkSettingsDialog(DialogOwner(&view));
    if (view.m_hWnd)
        view.Invalidate();
}

void ToggleKeyTextInMenus(CQvView& view)
{
    g_VIEWMENUCOMMAND = g_VIEWMENUCOMMAND ? 0 : 1;
    // The menu bar keeps the texts it was built with: only a fresh load shows the
    // key texts or drops them.
    view.m_menus.shownMenuId = 0;
    view.UpdateMenuForMode();
}

namespace
{

bool IsSortedPane(const CFilerPane* pane)
{
    return pane != nullptr && (pane->m_mode & (PANE_MODE_FILER | PANE_MODE_ARCHIVE)) != 0;
}

// With the shared sort the panes must order alike: the active listing takes the
// other pane's order; when the active pane lists nothing, the listing beside it takes
// the active pane's order; when neither lists, the second takes the first's.
int SortTakingPane(CQvView& view)
{
    const int active = view.GetActivePaneIndex();
    if (active >= 0 && IsSortedPane(g_Panes[active]))
        return active;
    for (int i = 0; i < 2; ++i)
        if ((g_Panes[i]->m_position & PANE_POS_OTHER) != 0 && IsSortedPane(g_Panes[i]))
            return i;
    return 1;
}

void ShareSortBetweenPanes(CQvView& view)
{
    if (g_Panes[0] == nullptr || g_Panes[1] == nullptr)
        return;
    const int target = SortTakingPane(view);
    g_Panes[target]->m_sortSetting = g_Panes[1 - target]->m_sortSetting;
    SetPaneSortSetting(target, g_Panes[target]->m_sortSetting);
    for (CFilerPane* pane : g_Panes)
        if (pane->m_mode == PANE_MODE_ARCHIVE)
            pane->SortEntries();
}

} // namespace

void EditFilerSettings(CQvView& view)
{
    CViewBusyGuard busy(view);
    // The settings that decide which entries a pane lists and in what order.
    int* const listing[] = {&g_NOTVIEWUPDIR,         &g_NOTVIEWCURRENTDIR, &g_HIDDENVIEWFLAG,
                            &g_DISP_READ_ONLY_FILE,  &g_DISP_SYSTEM_FILE,  &g_DISP_FIRST_DOT_FILE,
                            &g_USE_STR_CMP_LOGICAL_W};
    int listingBefore[ARRAYSIZE(listing)];
    for (size_t i = 0; i < ARRAYSIZE(listing); ++i)
        listingBefore[i] = *listing[i];
    const int cursorCount = g_SUMSAVECURPOS;
    const int sharedSort = g_CHYNCROSORT;
    const int timeType = g_VIEWFILETIMETYPE;

    CFilerSettingSheet sheet(DialogOwner(&view));
    sheet.LoadFromSettings();
    if (sheet.DoModal() == IDOK)
    {
        sheet.StoreToSettings();
        if (g_SUMSAVECURPOS != cursorCount)
            ApplyCursorPositionListSize(cursorCount);
        bool reread = false;
        for (size_t i = 0; i < ARRAYSIZE(listing); ++i)
            reread = reread || *listing[i] != listingBefore[i];
        const bool share = g_CHYNCROSORT && (sharedSort != g_CHYNCROSORT || timeType != g_VIEWFILETIMETYPE);
        if (share)
            ShareSortBetweenPanes(view);
        if (reread || share)
            view.ResortFilerPanes();
        view.CalcLayout();
        if (view.m_hWnd)
            view.Invalidate();
    }
}

namespace
{

void RepaintAfterDialog(CQvView& view)
{
    if (view.m_hWnd)
        view.Invalidate();
}

bool IsShownDirectoryListing(const CFilerPane* pane)
{
    return pane != nullptr && pane->m_mode == PANE_MODE_FILER && pane->m_subMode == PANE_SUB_DIRECTORY &&
           (pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) != 0;
}

template <class TDialog> void EditAndRepaint(CQvView& view)
{
    CViewBusyGuard busy(view);
    TDialog dialog(DialogOwner(&view));
    if (dialog.DoModal() == IDOK)
        view.CalcLayout();
    RepaintAfterDialog(view);
}

} // namespace

void EditDisplayColors(CQvView& view)
{
    CViewBusyGuard busy(view);
    {
        // The thumbnail loader draws with these colours: it waits while they change.
        CLoadPreviewThread* loader = g_pLoadPreviewThread;
        if (loader != nullptr)
            loader->AcquireReaderLock();
        CAttColorDlg dialog(g_DisplayColors, g_COLOR_NEGLECT_ATTIRUBTE, DialogOwner(&view));
        dialog.DoModal();
        if (loader != nullptr)
            loader->ReleaseReaderLock();
    }
    RepaintAfterDialog(view);
}

void EditPreviewSettings(CQvView& view)
{
    CViewBusyGuard busy(view);
    CLoadPreviewThread* loader = g_pLoadPreviewThread;
    // The loader reads the folder lists and sizes between items: it waits while the
    // dialog changes them.
    if (loader != nullptr)
        loader->AcquireReaderLock();
    BOOL previewBefore[2] = {FALSE, FALSE};
    for (int i = 0; i < 2; ++i)
        previewBefore[i] = g_Panes[i] != nullptr && g_Panes[i]->m_bPreviewLayout;
    const COLORREF backBefore = g_DisplayColors[COLOR_PREVIEW_BACK];
    CDefPreviewDlg dialog(loader, DialogOwner(&view));
    dialog.m_maxFiles = g_MAX_PREVIEW_FILES;
    dialog.m_width = g_PREVIEW_WIDTH;
    dialog.m_height = g_PREVIEW_HEIGHT;
    dialog.m_nextSleep = g_PREVIEW_NEXT_FILE_SLEEP;
    dialog.m_nameMode = g_PREVIEW_FILE_NAME;
    dialog.m_nameLength = g_PREVIEW_FILE_NAME_LEN;
    dialog.m_kindLength = g_PREVIEW_FILE_KIND_LEN;
    dialog.m_iconOnPicture = g_PREVIEW_DRAW_ICON_ON_PICTURE;
    dialog.m_iconOnArchive = g_PREVIEW_DRAW_ICON_ON_ARCHIVE;
    dialog.m_pictureInDir = g_PREVIEW_DRAW_PICTURE_IN_DIR;
    const bool accepted = dialog.DoModal() == IDOK;
    bool requeue = false;
    if (accepted)
    {
        // The background is drawn into each thumbnail when it is made.
        requeue = dialog.m_width != g_PREVIEW_WIDTH || dialog.m_height != g_PREVIEW_HEIGHT ||
                  (dialog.m_pictureInDir && !g_PREVIEW_DRAW_PICTURE_IN_DIR) ||
                  g_DisplayColors[COLOR_PREVIEW_BACK] != backBefore;
        g_MAX_PREVIEW_FILES = dialog.m_maxFiles;
        g_PREVIEW_WIDTH = dialog.m_width;
        g_PREVIEW_HEIGHT = dialog.m_height;
        g_PREVIEW_NEXT_FILE_SLEEP = dialog.m_nextSleep;
        g_PREVIEW_FILE_NAME = dialog.m_nameMode;
        g_PREVIEW_FILE_NAME_LEN = dialog.m_nameLength;
        g_PREVIEW_FILE_KIND_LEN = dialog.m_kindLength;
        g_PREVIEW_DRAW_ICON_ON_PICTURE = dialog.m_iconOnPicture;
        g_PREVIEW_DRAW_ICON_ON_ARCHIVE = dialog.m_iconOnArchive;
        g_PREVIEW_DRAW_PICTURE_IN_DIR = dialog.m_pictureInDir;
    }
    if (loader != nullptr)
        loader->ReleaseReaderLock();
    if (accepted)
    {
        // Thumbnails made at the old size or on the old background, or folders drawn
        // without their pictures, are stale: every one is made again.
        if (requeue && loader != nullptr)
            loader->Requeue(true);
        const bool wholeListing = dialog.KindsChanged() && g_PREVIEW_DISP_PICTURE_FILE;
        for (int i = 0; i < 2; ++i)
        {
            CFilerPane* pane = g_Panes[i];
            if (!IsShownDirectoryListing(pane))
                continue;
            // The folder lists may have switched the pane's thumbnails on or off.
            if (wholeListing || pane->UpdatePreviewState() != previewBefore[i])
                view.ReloadFilerPane(i);
        }
    }
    RepaintAfterDialog(view);
}

void EditLineHeight(CQvView& view)
{
    CViewBusyGuard busy(view);
    const int before = g_ADD_HEIGHT_ONE_LINE;
    CDefDisplayDlg dialog(DialogOwner(&view));
    if (dialog.DoModal() == IDOK && g_ADD_HEIGHT_ONE_LINE != before)
    {
        view.CalcLayout();
        RepaintAfterDialog(view);
        return;
    }
}

void EditFilerInfoLayouts(CQvView& view)
{
    EditAndRepaint<CDefFilerInfoDlg>(view);
}

void EditHeaderLayout(CQvView& view)
{
    EditAndRepaint<CHeaderDefDlg>(view);
}

void EditFileKindColors(CQvView& view)
{
    EditAndRepaint<CFileKindColorDlg>(view);
}

void EditCopyDestinations(CQvView& view)
{
    CViewBusyGuard busy(view);
    CDefCopyToDlg dialog(DialogOwner(&view));
    dialog.m_historyCount = g_SUMCOPYPASTDIRECTORY;
    if (dialog.DoModal() == IDOK)
    {
        g_SUMCOPYPASTDIRECTORY = dialog.m_historyCount;
        TrimSelectDirHistory(g_SUMCOPYPASTDIRECTORY);
    }
}

void EditCommandSounds(CQvView& view)
{
    CViewBusyGuard busy(view);
    CDefWavDlg dialog(DialogOwner(&view));
    dialog.DoModal();
}

void EditUserSettingsFile(CQvView& view)
{
    CViewBusyGuard busy(view);
    CUseriniDlg dialog(DialogOwner(&view));
    dialog.m_userName = g_UserName;
    dialog.m_fileName = g_UserIniPath;
    dialog.m_useUserIni = g_UserIniActive;
    dialog.m_noSaveAtExit = view.m_settings.noSaveAtExit;
    if (dialog.DoModal() == IDOK)
    {
        g_UserIniPath = dialog.m_fileName;
        g_UserIniActive = dialog.m_useUserIni;
        view.m_settings.noSaveAtExit = dialog.m_noSaveAtExit;
    }
}

namespace
{

// When a customisation dialog loads the mode's menu bar again.
enum class MenuReload
{
    Never,
    OnOk,
    // The plug-in dialog's show, hide and reload buttons change the plug-in list at
    // once, so a cancelled dialog may still have changed the bar's plug-in items.
    Always,
};

// The timers stay still while a customisation dialog is open; a changed menu table
// shows at once.
void RunCustomiseDialog(CQvView& view, CDialog& dialog, MenuReload reload)
{
    CViewBusyGuard busy(view);
    const INT_PTR result = dialog.DoModal();
    if (reload == MenuReload::Always || (reload == MenuReload::OnOk && result == IDOK))
    {
        view.m_menus.shownMenuId = 0;
        view.UpdateMenuForMode();
    }
    if (view.m_hWnd)
        view.Invalidate();
}

} // namespace

void EditPlugIns(CQvView& view)
{
    CPlugInDlg dialog(DialogOwner(&view));
    RunCustomiseDialog(view, dialog, MenuReload::Always);
}

void EditSkippedApplets(CQvView& view)
{
    CNonLoadCplDlg dialog(DialogOwner(&view));
    RunCustomiseDialog(view, dialog, MenuReload::Never);
}

void EditHiddenMenus(CQvView& view)
{
    CNotViewMenuDlg dialog(DialogOwner(&view));
    RunCustomiseDialog(view, dialog, MenuReload::OnOk);
}

BOOL CanOpenDisplayFilter(CQvView& view)
{
    // The displayed-file filter sorts and filters listings only: a viewer, the drive
    // list and the network have nothing it would change.
    const int active = view.GetActivePaneIndex();
    return active >= 0 && IsSortedPane(g_Panes[active]);
}

void OpenDisplayFilterDialog(CQvView& view)
{
    const int active = view.GetActivePaneIndex();
    if (active < 0 || !IsSortedPane(g_Panes[active]))
        return;
    CViewBusyGuard busy(view);
    CDispFileSettingDlg dialog(DialogOwner(&view));
    if (dialog.DoModal() == IDOK)
    {
        view.ResortFilerPanes();
        for (CFilerPane* pane : g_Panes)
            if (pane != nullptr && pane->m_mode == PANE_MODE_ARCHIVE &&
                (pane->m_position & (PANE_POS_ACTIVE | PANE_POS_OTHER)) != 0)
                pane->SortEntries();
        view.CalcLayout();
    }
    RepaintAfterDialog(view);
}

void CQvView::ChooseDisplayFilter()
{
    OpenDisplayFilterDialog(*this);
}

void CQvView::OpenDebugDialog()
{
    CViewBusyGuard busy(*this);
    CDebugDlg dialog(g_DebugFlags, g_DEBUGMODE, DialogOwner(this));
    dialog.DoModal();
    StartBinaryCursorTimer();
}
