#include "graphics/viewer/PictureLayout.h"

#include <algorithm>

namespace
{
int Scale(int value, int numerator, int denominator)
{
    if (denominator == 0)
        return value;
    return static_cast<int>(static_cast<long long>(value) * numerator / denominator);
}

int CeilUnits(int overflow)
{
    return (overflow + PICTURE_SCROLL_UNIT - 1) / PICTURE_SCROLL_UNIT;
}
} // namespace

SIZE ZoomedPictureSize(SIZE picture, const CZoomRatio& zoom)
{
    if (zoom.IsUnset())
        return picture;
    return {Scale(picture.cx, zoom.Numerator(), zoom.Denominator()),
            Scale(picture.cy, zoom.Numerator(), zoom.Denominator())};
}

PictureFit FitPicture(SIZE p, SIZE a, int fitWidth, int fitHeight, bool zoomSet, int scrollBar)
{
    PictureFit fit;
    fit.displayed = p;
    if ((p.cx <= a.cx && p.cy <= a.cy) || p.cx <= 0 || p.cy <= 0)
        return fit;
    const int s = scrollBar;
    const bool widthOnly = !zoomSet && fitWidth && !fitHeight;
    const bool heightOnly = !zoomSet && fitHeight && !fitWidth;
    const bool both = !zoomSet && fitWidth && fitHeight;
    SIZE& d = fit.displayed;
    if (widthOnly)
    {
        d.cx = std::min(a.cx, p.cx);
        d.cy = Scale(d.cx, p.cy, p.cx);
        if (d.cy > a.cy)
        {
            d.cx = std::min(p.cx, a.cx - s);
            d.cy = Scale(d.cx, p.cy, p.cx);
            fit.vScrolls = true;
            fit.vOverflow = d.cy - a.cy;
        }
    }
    else if (heightOnly)
    {
        d.cy = std::min(a.cy, p.cy);
        d.cx = Scale(d.cy, p.cx, p.cy);
        if (d.cx > a.cx)
        {
            d.cy = std::min(p.cy, a.cy - s);
            d.cx = Scale(d.cy, p.cx, p.cy);
            fit.hScrolls = true;
            fit.hOverflow = d.cx - a.cx;
        }
    }
    else if (both)
    {
        if (static_cast<long long>(a.cy) * p.cx < static_cast<long long>(p.cy) * a.cx)
            d = {Scale(a.cy, p.cx, p.cy), a.cy};
        else
            d = {a.cx, Scale(a.cx, p.cy, p.cx)};
    }
    else if (p.cx > a.cx - s && p.cy <= a.cy - s)
    {
        fit.hScrolls = true;
        fit.hOverflow = p.cx - a.cx;
    }
    else if (p.cx > a.cx - s && p.cy > a.cy - s)
    {
        fit.hScrolls = fit.vScrolls = true;
        fit.hOverflow = p.cx + s - a.cx;
        fit.vOverflow = p.cy - (a.cy - s);
    }
    else
    {
        fit.vScrolls = true;
        fit.vOverflow = p.cy - a.cy;
    }
    return fit;
}

void PictureScrollRange(int overflow, int placement, int* minimum, int* maximum)
{
    *minimum = *maximum = 0;
    if (overflow <= 0)
        return;
    if (placement == 1)
        *minimum = -CeilUnits(overflow);
    else if (placement == 2)
    {
        int o = overflow + (overflow & 1);
        int half = o / (2 * PICTURE_SCROLL_UNIT);
        int widen = (o / 2) % PICTURE_SCROLL_UNIT != 0 ? 1 : 0;
        *minimum = -(half + widen);
        *maximum = half + widen;
    }
    else
        *maximum = CeilUnits(overflow);
}

int PlacePicture(int client, int scrollBar, int displayed, int placement)
{
    int room = client - scrollBar - displayed;
    if (placement == 1)
        return room;
    if (placement == 2)
        return room / 2;
    return 0;
}

void ToggleFitFlags(int* fitWidth, int* fitHeight)
{
    int on = (*fitWidth == 0 && *fitHeight == 0) ? 1 : 0;
    *fitWidth = *fitHeight = on;
}

bool StepZoomRatio(const CZoomRatio& current, int displayedWidth, int pictureWidth, int direction,
                   CZoomRatio* next)
{
    CZoomRatio from = current;
    if (from.IsUnset())
        from = CZoomRatio(displayedWidth, pictureWidth > 0 ? pictureWidth : 1);
    int row = from.FindStep(direction);
    if (row < 1)
        return false;
    const ZoomStepRow& step = g_ZoomSteps[row - 1];
    if (from.IsSameAs(step.numerator, step.denominator))
        return false;
    *next = CZoomRatio(step);
    return true;
}
