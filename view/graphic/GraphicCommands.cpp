// The keywords of graphic mode and the filer keywords that enter it.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int ShowPictures(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OnViewGraphic();
    return 1;
}

int ShowOnePicture(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OnViewOnePicture();
    return 1;
}

int ShowNextPicture(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.ShowNextPicture(static_cast<int>(value));
    return 1;
}

int ExitPictureView(CQvView& view, const CommandCall&, INT_PTR)
{
    view.OnExitGraphic();
    return 1;
}

int ZoomPicture(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.StepZoom(value > 0 ? 1 : 2);
    return 1;
}

int ToggleScaling(CQvView& view, const CommandCall&, INT_PTR)
{
    view.ToggleFitToWindow(1);
    return 1;
}

int ToggleTemporaryScaling(CQvView& view, const CommandCall&, INT_PTR)
{
    view.ToggleFitToWindow(0);
    return 1;
}

int RotatePicture(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.TransformPicture(value == 90 ? 0 : value == 270 ? 1 : 4);
    return 1;
}

int FlipPicture(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.TransformPicture(value == 0 ? 2 : 3);
    return 1;
}

int CopyPictureToClipboard(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyPictureToClipboard(1);
    return 1;
}

int CopyPictureWithoutAlpha(CQvView& view, const CommandCall&, INT_PTR)
{
    view.CopyPictureToClipboard(0);
    return 1;
}

int SetAlphaChannelType(CQvView& view, const CommandCall&, INT_PTR value)
{
    view.SetAlphaChannelType(static_cast<int>(value));
    return 1;
}

int PausePictureDisplay(CQvView& view, const CommandCall&, INT_PTR)
{
    if (view.FindGraphicPane() >= 0)
    {
        view.m_graphic.paused = view.m_graphic.paused ? 0 : 1;
        if (view.m_hWnd != nullptr)
            view.Invalidate(FALSE);
    }
    return 1;
}

int MoveGraphicPosition(CQvView& view, const CommandCall&, INT_PTR value)
{
    // 1-4 a line right, left, down, up; 5-8 a page.
    const int amount = value >= 5 ? 10 : 1;
    switch ((value - 1) % 4)
    {
    case 0:
        view.ScrollPicture(amount, 0);
        break;
    case 1:
        view.ScrollPicture(-amount, 0);
        break;
    case 2:
        view.ScrollPicture(0, amount);
        break;
    default:
        view.ScrollPicture(0, -amount);
        break;
    }
    return 1;
}

int NextWallpaper(CQvView& view, const CommandCall&, INT_PTR)
{
    if (view.FindGraphicPane() < 0)
        view.LoadPaneBackgroundPicture(3);
    return 1;
}

} // namespace commands
