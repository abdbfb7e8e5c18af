#include "tools/transform/TransformBitmap.h"

#include "graphics/picture/PictureData.h"

#include <cstring>

namespace
{
SIZE_T RowBytes(int width, int bitCount)
{
    return (SIZE_T(width) * SIZE_T(bitCount) + 31) / 32 * 4;
}

// Row y counted from the top of the picture lies at memory row rows-1-y.
const BYTE* SourceRow(const BitmapTransform& t, int y)
{
    return t.sourceBits + SIZE_T(t.height - 1 - y) * t.sourceRowBytes;
}

BYTE* DestRow(const BitmapTransform& t, SIZE_T y)
{
    return t.destBits + (t.destRows - 1 - y) * t.destRowBytes;
}

void CopyPixel(const BitmapTransform& t, int x, int y, SIZE_T dx, SIZE_T dy)
{
    const BYTE* in = SourceRow(t, y);
    BYTE* out = DestRow(t, dy);
    switch (t.bitCount)
    {
    case 1:
        if (in[x / 8] & (0x80 >> (x % 8)))
            out[dx / 8] |= BYTE(0x80 >> (dx % 8));
        break;
    case 4: {
        const BYTE nibble = (x % 2) == 0 ? BYTE(in[x / 2] >> 4) : BYTE(in[x / 2] & 0x0F);
        out[dx / 2] |= (dx % 2) == 0 ? BYTE(nibble << 4) : nibble;
        break;
    }
    default:
        memcpy(out + dx * t.bytesPerPixel, in + SIZE_T(x) * t.bytesPerPixel, t.bytesPerPixel);
        break;
    }
}
} // namespace

int TransformBitmap(CPictureData& picture, int code)
{
    code &= 0xFF;
    BitmapTransform t;
    const BITMAPINFO* header = picture.GetHeader();
    t.sourceBits = picture.GetBits();
    if (header == nullptr || t.sourceBits == nullptr)
        return 1;
    t.width = picture.GetWidth();
    t.height = picture.GetHeight();
    t.bitCount = picture.GetBitCount();
    // Compressed rows have no fixed size, and top-down rows would be read from the
    // wrong end: neither can be walked row by row here.
    const DWORD compression = header->bmiHeader.biCompression;
    if ((compression != BI_RGB && compression != BI_BITFIELDS) || t.width <= 0 || t.height <= 0 || code > 4)
        return 1;
    switch (t.bitCount)
    {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return 1;
    }
    t.bytesPerPixel = t.bitCount / 8;
    t.sourceRowBytes = RowBytes(t.width, t.bitCount);
    const bool turn = code == 0 || code == 1;
    t.destRows = turn ? SIZE_T(t.width) : SIZE_T(t.height);
    t.destRowBytes = turn ? RowBytes(t.height, t.bitCount) : t.sourceRowBytes;

    t.destHandle = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, t.destRows * t.destRowBytes);
    if (t.destHandle == nullptr)
        return 2;
    t.destBits = static_cast<BYTE*>(LocalLock(t.destHandle));
    if (t.destBits == nullptr)
    {
        LocalFree(t.destHandle);
        return 2;
    }

    if (code == 3)
    {
        for (int r = 0; r < t.height; ++r)
            memcpy(t.destBits + SIZE_T(t.height - 1 - r) * t.destRowBytes,
                   t.sourceBits + SIZE_T(r) * t.sourceRowBytes, t.sourceRowBytes);
    }
    else
    {
        for (int y = 0; y < t.height; ++y)
            for (int x = 0; x < t.width; ++x)
            {
                switch (code)
                {
                case 0:
                    CopyPixel(t, x, y, SIZE_T(t.height - 1 - y), SIZE_T(x));
                    break;
                case 1:
                    CopyPixel(t, x, y, SIZE_T(y), SIZE_T(t.width - 1 - x));
                    break;
                case 2:
                    CopyPixel(t, x, y, SIZE_T(t.width - 1 - x), SIZE_T(y));
                    break;
                default:
                    CopyPixel(t, x, y, SIZE_T(t.width - 1 - x), SIZE_T(t.height - 1 - y));
                    break;
                }
            }
    }

    picture.ReplaceBits(t.destHandle, t.destBits);
    if (turn)
        picture.SetSize(t.height, t.width);
    else
        picture.SetSize(t.width, t.height);
    t.destHandle = nullptr;
    t.destBits = nullptr;
    return 0;
}
