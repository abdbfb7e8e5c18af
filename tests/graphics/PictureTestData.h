// Pictures made in memory for the picture tests.
#pragma once
#include "graphics/picture/PictureData.h"

#include <gtest/gtest.h>

namespace qvtest
{
inline int Stride(int width, int bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// A picture whose pixels all differ (as far as the bit count lets them), with row
// padding and unused low bits zero, as the transformation leaves them.
inline void MakePicture(CPictureData& picture, int width, int height, int bitCount)
{
    const int entries = bitCount <= 8 ? 1 << bitCount : 0;
    HLOCAL header = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, 40 + entries * 4);
    auto* info = static_cast<BITMAPINFOHEADER*>(LocalLock(header));
    info->biSize = 40;
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = WORD(bitCount);
    DWORD* table = reinterpret_cast<DWORD*>(info + 1);
    for (int i = 0; i < entries; ++i)
        table[i] = 0x00030201u * DWORD(i + 1);
    LocalUnlock(header);
    const int stride = Stride(width, bitCount);
    HLOCAL bits = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, stride * height);
    BYTE* rows = static_cast<BYTE*>(LocalLock(bits));
    unsigned seed = 7u * width + 13u * height + bitCount;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            seed = seed * 1103515245u + 12345u;
            const unsigned value = seed >> 8;
            BYTE* row = rows + y * stride;
            if (bitCount == 1)
                row[x / 8] |= BYTE((value & 1) << (7 - x % 8));
            else if (bitCount == 4)
                row[x / 2] |= BYTE((value & 15) << (x % 2 ? 0 : 4));
            else
                for (int b = 0; b < bitCount / 8; ++b)
                    row[x * (bitCount / 8) + b] = BYTE(value >> (b * 8));
        }
    LocalUnlock(bits);
    ASSERT_EQ(1, picture.Attach(header, bits));
}

} // namespace qvtest
