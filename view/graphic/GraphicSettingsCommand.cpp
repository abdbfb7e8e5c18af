// Menu 329 "画像表示設定": the graphic settings sheet over the view's values.
#include "util/Globals.h"
#include "app/dialogs/DialogHelpers.h"
#include "app/Settings.h"
#include "app/settings/GraphicSettings.h"
#include "filer/FilerPane.h"
#include "framework/FwLock.h"
#include "graphics/plugins/GraphicSettingPages.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "view/QvView.h"
#include "view/ViewBusyGuard.h"

void CQvView::OnGraphicSettings()
{
    CViewBusyGuard busy(*this);
    bool accepted = false;
    bool placeChanged = false;
    const int fitWidthBefore = g_HEIGHTSCALING;
    const int fitHeightBefore = g_WIDTHSCALING;
    {
        // The sheet holds the thumbnail loader's reader lock while it lives: the
        // plug-ins it rescans are the loader's too.
        CGraphicSettingSheet sheet(DialogOwner(this));
        sheet.m_general.m_tempDirectory = m_tempDirectory;
        sheet.m_general.m_noDialogLoading = g_ENABLE_NO_DIALOG_LOADING;
        sheet.m_general.m_noDialogLoadingSize = g_NO_DIALOG_LOADING_SIZE;
        sheet.m_general.m_hPos = g_GRAPHIC_VIEW_H_POS;
        sheet.m_general.m_vPos = g_GRAPHIC_VIEW_V_POS;
        {
            CHandleLock lock(g_DataMutex);
            sheet.m_susie.m_plugInDirectory = g_SusiePlugInDir;
        }
        sheet.m_susie.m_highLoad = g_HIGHLOADSPI;
        if (sheet.DoModal() == IDOK)
        {
            accepted = true;
            {
                CHandleLock lock(g_DataMutex);
                g_SusiePlugInDir = sheet.m_susie.m_plugInDirectory;
            }
            g_HIGHLOADSPI = sheet.m_susie.m_highLoad;
            m_tempDirectory = sheet.m_general.m_tempDirectory;
            g_ENABLE_NO_DIALOG_LOADING = sheet.m_general.m_noDialogLoading;
            g_NO_DIALOG_LOADING_SIZE = sheet.m_general.m_noDialogLoadingSize;
            placeChanged = g_GRAPHIC_VIEW_H_POS != sheet.m_general.m_hPos ||
                           g_GRAPHIC_VIEW_V_POS != sheet.m_general.m_vPos;
            g_GRAPHIC_VIEW_H_POS = sheet.m_general.m_hPos;
            g_GRAPHIC_VIEW_V_POS = sheet.m_general.m_vPos;
        }
    }
    if (accepted)
    {
        // The general page's checks wrote the two fit settings straight away.
        const bool fitChanged = g_HEIGHTSCALING != fitWidthBefore || g_WIDTHSCALING != fitHeightBefore;
        int index = -1;
        if ((placeChanged || fitChanged) && FindPaneByMode(&index, 0, PANE_MODES_GRAPHIC_VIEWERS, 0) &&
            IsPictureShown())
        {
            m_graphic.fitWidth = g_HEIGHTSCALING;
            m_graphic.fitHeight = g_WIDTHSCALING;
            UpdatePictureLayout(0xFFFF);
        }
        // The plug-ins may read other kinds now: every thumbnail is made again.
        if (g_pLoadPreviewThread != nullptr)
            g_pLoadPreviewThread->Requeue(true);
        if (m_hWnd)
            Invalidate();
    }
}
