// The preview keywords of the filer: a folder's thumbnails on, off or for its whole
// tree, the picture-only listing, the other pane that follows the cursor's
// directory, and the switches of the two picture windows.
#include "app/Settings.h"
#include "view/QvView.h"

void CQvView::TogglePreviewPictureFilesOnly()
{
    g_PREVIEW_DISP_PICTURE_FILE = g_PREVIEW_DISP_PICTURE_FILE ? 0 : 1;
    ReloadPreviewPanes(0);
}

void CQvView::ToggleSmallPicture()
{
    m_graphic.smallWindowShown = m_graphic.smallWindowShown ? 0 : 1;
    UpdateAuxiliaryWindows();
}

void CQvView::TogglePictureList()
{
    m_graphic.listWindowShown = m_graphic.listWindowShown ? 0 : 1;
    UpdateGraphicListDialog();
}
