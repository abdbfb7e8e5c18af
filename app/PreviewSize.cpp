#include "app/PreviewSize.h"
#include "app/Settings.h"

namespace
{
int ScalePreview(int size)
{
    const int scaled = (int)((LONGLONG)size * g_PREVIEW_MAGNIFICATION / 100);
    return scaled < 1 ? 1 : scaled;
}
} // namespace

int GetPreviewWidthScaled()
{
    return ScalePreview(g_PREVIEW_WIDTH);
}

int GetPreviewHeightScaled()
{
    return ScalePreview(g_PREVIEW_HEIGHT);
}
