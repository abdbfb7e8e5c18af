// The arithmetic of graphic mode's layout: how large the picture is drawn, how far
// it overflows the window, the scroll ranges in units of 50 pixels, where it sits,
// and the fit and zoom steps. Pure, so the view and the tests share it.
#pragma once
#include <windows.h>
#include "filer/ZoomRatio.h"

constexpr int PICTURE_SCROLL_UNIT = 50;

struct PictureFit
{
    SIZE displayed = {0, 0};
    int hOverflow = 0; // pixels; 0 when the axis does not scroll
    int vOverflow = 0;
    bool hScrolls = false;
    bool vScrolls = false;
};

// The picture's size at the zoom: natural when unset.
SIZE ZoomedPictureSize(SIZE picture, const CZoomRatio& zoom);
// Fits the (zoomed) picture p into the available size a. fitWidth is the
// "HEIGHTSCALING" flag, fitHeight the "WIDTHSCALING" flag; scrollBar the bar's
// thickness (0 when scrolling is forbidden).
PictureFit FitPicture(SIZE p, SIZE a, int fitWidth, int fitHeight, bool zoomSet, int scrollBar);
// Placement 0 left/top, 1 right/bottom, 2 centre.
void PictureScrollRange(int overflow, int placement, int* minimum, int* maximum);
// The picture's client position on one axis by its placement.
int PlacePicture(int client, int scrollBar, int displayed, int placement);
// The fit toggle: both flags on when both were off, else both off.
void ToggleFitFlags(int* fitWidth, int* fitHeight);
// One zoom step (1 up, 2 down) from the zoom, or from what is displayed when it is
// unset. False when there is no step that way or the step is the zoom already.
bool StepZoomRatio(const CZoomRatio& current, int displayedWidth, int pictureWidth, int direction,
                   CZoomRatio* next);
