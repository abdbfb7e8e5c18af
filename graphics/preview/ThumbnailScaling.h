// Shrinking a decoded picture into the thumbnail box: the fitted size and a bicubic
// filter into a 32-bit bottom-up box filled with the background first.
#pragma once
#include <windows.h>

// The size the picture takes in the box: never enlarged, the aspect kept, truncating
// (but at least one pixel each way).
// False for a width or height that is not positive (top-down pictures included).
bool FitThumbnailSize(int boxWidth, int boxHeight, int width, int height, int* fittedWidth,
                      int* fittedHeight);
// Cubic convolution kernel with a = -1.
double BicubicWeight(double t);
// Rounds to the nearest byte; exactly one half rounds down.
BYTE ClampToByte(double value);

struct Thumbnail
{
    BITMAPINFOHEADER header = {};
    BYTE* bits = nullptr; // box width x box height x 4, B G R A, bottom-up; HeapAlloc'd
    int sourceBitCount = 0;
};

// Scales the picture (header with its table behind it, bits) to the fitted size into
// a box of boxWidth x boxHeight filled with background (a COLORREF) and alpha 255;
// the picture sits top-left. Only uncompressed 1, 4, 8, 24 and 32 bits (and bit
// fields of 32 bits in the usual order) are read: other pictures, run-length encoded
// ones among them, give false and no thumbnail, since their rows are not what the
// filter walks.
bool ScaleThumbnail(const BITMAPINFOHEADER* header, SIZE_T headerBlockSize, const BYTE* bits, SIZE_T bitsSize,
                    int boxWidth, int boxHeight, COLORREF background, Thumbnail* out);
void FreeThumbnail(Thumbnail* thumbnail);
