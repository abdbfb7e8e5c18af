// Turning and mirroring of a picture's pixel rows for the graphic viewer's commands.
#pragma once
#include <windows.h>

class CPictureData;

// The working record of one transformation.
struct BitmapTransform
{
    const BYTE* sourceBits = nullptr;
    int width = 0;
    int height = 0;
    int bitCount = 0;
    SIZE_T sourceRowBytes = 0;
    SIZE_T destRows = 0;
    SIZE_T destRowBytes = 0;
    int bytesPerPixel = 0;
    HLOCAL destHandle = nullptr;
    BYTE* destBits = nullptr;
};

// Code 0 turns right, 1 left, 2 mirrors left to right, 3 top to bottom, 4 turns half
// round. 0 done (the picture holds the new rows, width and height), 1 a picture this
// cannot turn (bit count, compressed or top-down rows), 2 out of memory; on failure
// the picture is unchanged.
int TransformBitmap(CPictureData& picture, int code);
