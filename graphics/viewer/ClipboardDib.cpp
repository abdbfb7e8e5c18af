#include "graphics/viewer/ClipboardDib.h"

#include <cstring>

namespace
{
SIZE_T TableBytes(const BITMAPINFOHEADER& header)
{
    if (header.biClrUsed != 0)
        return SIZE_T(header.biClrUsed) * sizeof(RGBQUAD);
    if (header.biBitCount >= 1 && header.biBitCount <= 8)
        return (SIZE_T(1) << header.biBitCount) * sizeof(RGBQUAD);
    return 0;
}
} // namespace

HGLOBAL BuildClipboardDib(const BITMAPINFOHEADER* header, SIZE_T headerBlockSize, const BYTE* bits,
                          SIZE_T bitsSize, bool asVersion5, UINT* format)
{
    if (header == nullptr || bits == nullptr || headerBlockSize < sizeof(BITMAPINFOHEADER) ||
        header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > headerBlockSize)
        return nullptr;
    const SIZE_T heldHeader = header->biSize;
    const SIZE_T masks = (heldHeader == sizeof(BITMAPINFOHEADER) && header->biCompression == BI_BITFIELDS)
                             ? 3 * sizeof(DWORD)
                             : 0;
    const SIZE_T table = TableBytes(*header);
    if (heldHeader + masks + table > headerBlockSize)
        return nullptr;
    const SIZE_T outHeader = asVersion5 ? sizeof(BITMAPV5HEADER) : heldHeader;
    const SIZE_T outMasks = asVersion5 ? 0 : masks;
    const SIZE_T total = outHeader + outMasks + table + bitsSize;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (total + 15) & ~SIZE_T(15));
    if (block == nullptr)
        return nullptr;
    BYTE* out = static_cast<BYTE*>(GlobalLock(block));
    if (out == nullptr)
    {
        GlobalFree(block);
        return nullptr;
    }
    const BYTE* in = reinterpret_cast<const BYTE*>(header);
    if (asVersion5)
    {
        memcpy(out, in, sizeof(BITMAPINFOHEADER));
        BITMAPV5HEADER* v5 = reinterpret_cast<BITMAPV5HEADER*>(out);
        v5->bV5Size = sizeof(BITMAPV5HEADER);
        v5->bV5Compression = BI_BITFIELDS;
        v5->bV5RedMask = 0x00FF0000;
        v5->bV5GreenMask = 0x0000FF00;
        v5->bV5BlueMask = 0x000000FF;
        v5->bV5AlphaMask = 0xFF000000;
    }
    else
        memcpy(out, in, heldHeader + masks);
    memcpy(out + outHeader + outMasks, in + heldHeader + masks, table);
    memcpy(out + outHeader + outMasks + table, bits, bitsSize);
    GlobalUnlock(block);
    *format = asVersion5 ? CF_DIBV5 : CF_DIB;
    return block;
}
