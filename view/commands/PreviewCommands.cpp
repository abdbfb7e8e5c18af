// The preview keywords of the filer: a folder's thumbnails on, off or for its whole
// tree, the picture-only listing, the other pane that follows the cursor's
// directory, and the switches of the two picture windows.
#include "app/Settings.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int EnablePreview(CQvView& view, const CommandCall&, INT_PTR)
{
    view.SetPreviewMode(3, 1);
    return 1;
}

int EnablePreviewWithSubdirectories(CQvView& view, const CommandCall&, INT_PTR)
{
    view.SetPreviewMode(2, 1);
    return 1;
}

int TogglePreviewWithSubdirectories(CQvView& view, const CommandCall&, INT_PTR)
{
    view.SetPreviewMode(4, 1);
    return 1;
}

int DisablePreview(CQvView& view, const CommandCall&, INT_PTR)
{
    view.SetPreviewMode(0, 1);
    return 1;
}

int TogglePreview(CQvView& view, const CommandCall&, INT_PTR)
{
    view.TogglePreviewMode();
    return 1;
}

int TogglePreviewPictureFilesOnly(CQvView& view, const CommandCall&, INT_PTR)
{
    g_PREVIEW_DISP_PICTURE_FILE = g_PREVIEW_DISP_PICTURE_FILE ? 0 : 1;
    view.ReloadPreviewPanes(0);
    return 1;
}

int ToggleOtherAlwaysDirectory(CQvView& view, const CommandCall&, INT_PTR)
{
    view.ToggleFollowingPane();
    return 1;
}

int ToggleSmallPicture(CQvView& view, const CommandCall&, INT_PTR)
{
    view.m_graphic.smallWindowShown = view.m_graphic.smallWindowShown ? 0 : 1;
    view.UpdateAuxiliaryWindows();
    return 1;
}

int TogglePictureList(CQvView& view, const CommandCall&, INT_PTR)
{
    view.m_graphic.listWindowShown = view.m_graphic.listWindowShown ? 0 : 1;
    view.UpdateGraphicListDialog();
    return 1;
}

} // namespace commands
