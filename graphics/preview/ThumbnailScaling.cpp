#include "graphics/preview/ThumbnailScaling.h"

#include <cmath>
#include <cstring>
#include <vector>

bool FitThumbnailSize(int boxWidth, int boxHeight, int width, int height, int* fittedWidth, int* fittedHeight)
{
    if (width <= 0 || height <= 0)
        return false;
    long long w = width, h = height;
    if (static_cast<long long>(boxWidth) * h < static_cast<long long>(boxHeight) * w)
    {
        if (boxWidth < w)
        {
            h = boxWidth * h / w;
            w = boxWidth;
        }
    }
    else if (boxHeight < h)
    {
        w = boxHeight * w / h;
        h = boxHeight;
    }
    // A thread-thin picture would truncate to nothing and get no thumbnail at all.
    *fittedWidth = w < 1 ? 1 : static_cast<int>(w);
    *fittedHeight = h < 1 ? 1 : static_cast<int>(h);
    return true;
}

double BicubicWeight(double t)
{
    const double u = std::fabs(t);
    if (u <= 1)
        return u * u * u - 2 * u * u + 1;
    if (u <= 2)
        return -u * u * u + 5 * u * u - 8 * u + 4;
    return 0;
}

BYTE ClampToByte(double value)
{
    if (value < 0)
        return 0;
    if (value > 255)
        return 255;
    int n = static_cast<int>(value);
    if (value - n > 0.5)
        ++n;
    return static_cast<BYTE>(n > 255 ? 255 : n);
}

namespace
{
struct Source
{
    const BYTE* bits;
    const RGBQUAD* table;
    DWORD tableEntries;
    int width;
    int height;
    int bitCount;
    SIZE_T stride;

    // B, G, R, A of pixel (x, y), y counted from the top.
    void Pixel(int x, int y, BYTE out[4]) const
    {
        const BYTE* row = bits + stride * SIZE_T(height - 1 - y);
        DWORD index = 0;
        switch (bitCount)
        {
        case 1:
            index = (row[x / 8] >> (7 - x % 8)) & 1;
            break;
        case 4:
            index = (x % 2 == 0) ? row[x / 2] >> 4 : row[x / 2] & 0x0F;
            break;
        case 8:
            index = row[x];
            break;
        case 24:
            out[0] = row[x * 3];
            out[1] = row[x * 3 + 1];
            out[2] = row[x * 3 + 2];
            out[3] = 255;
            return;
        default:
            out[0] = row[x * 4];
            out[1] = row[x * 4 + 1];
            out[2] = row[x * 4 + 2];
            out[3] = row[x * 4 + 3];
            return;
        }
        if (index < tableEntries)
        {
            out[0] = table[index].rgbBlue;
            out[1] = table[index].rgbGreen;
            out[2] = table[index].rgbRed;
        }
        else
            out[0] = out[1] = out[2] = 0;
        out[3] = 255;
    }
};

bool ReadsBitFields(const BITMAPINFOHEADER& header, SIZE_T headerBlockSize)
{
    // Only the usual 8-8-8 order reads as plain 32-bit pixels.
    if (header.biBitCount != 32)
        return false;
    const BYTE* masks = reinterpret_cast<const BYTE*>(&header) + sizeof(BITMAPINFOHEADER);
    // Behind a 40-byte header or inside a larger one, the masks sit at the same place.
    if (headerBlockSize < sizeof(BITMAPINFOHEADER) + 12)
        return false;
    DWORD red, green, blue;
    memcpy(&red, masks, 4);
    memcpy(&green, masks + 4, 4);
    memcpy(&blue, masks + 8, 4);
    return red == 0x00FF0000 && green == 0x0000FF00 && blue == 0x000000FF;
}
} // namespace

void FreeThumbnail(Thumbnail* thumbnail)
{
    if (thumbnail->bits)
        HeapFree(GetProcessHeap(), 0, thumbnail->bits);
    thumbnail->bits = nullptr;
    thumbnail->header = {};
    thumbnail->sourceBitCount = 0;
}

bool ScaleThumbnail(const BITMAPINFOHEADER* header, SIZE_T headerBlockSize, const BYTE* bits, SIZE_T bitsSize,
                    int boxWidth, int boxHeight, COLORREF background, Thumbnail* out)
{
    FreeThumbnail(out);
    if (header == nullptr || bits == nullptr || boxWidth <= 0 || boxHeight <= 0 ||
        headerBlockSize < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof(BITMAPINFOHEADER))
        return false;
    const int bitCount = header->biBitCount;
    const bool known = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
    const bool plain = header->biCompression == BI_RGB ||
                       (header->biCompression == BI_BITFIELDS && ReadsBitFields(*header, headerBlockSize));
    if (!known || !plain)
        return false;
    int fittedWidth = 0, fittedHeight = 0;
    if (!FitThumbnailSize(boxWidth, boxHeight, header->biWidth, header->biHeight, &fittedWidth,
                          &fittedHeight) ||
        fittedWidth <= 0 || fittedHeight <= 0)
        return false;

    Source source = {};
    source.bits = bits;
    source.width = header->biWidth;
    source.height = header->biHeight;
    source.bitCount = bitCount;
    source.stride = ((SIZE_T(source.width) * bitCount + 31) / 32) * 4;
    if (source.stride * SIZE_T(source.height) > bitsSize)
        return false;
    if (bitCount <= 8)
    {
        const SIZE_T masks = header->biCompression == BI_BITFIELDS ? 12 : 0;
        const SIZE_T tableStart = header->biSize + masks;
        DWORD entries = header->biClrUsed != 0 ? header->biClrUsed : (DWORD(1) << bitCount);
        if (tableStart > headerBlockSize)
            entries = 0;
        else if (SIZE_T(entries) * 4 > headerBlockSize - tableStart)
            entries = DWORD((headerBlockSize - tableStart) / 4);
        source.table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(header) + tableStart);
        source.tableEntries = entries;
    }

    const SIZE_T boxBytes = SIZE_T(boxWidth) * SIZE_T(boxHeight) * 4;
    BYTE* box = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, boxBytes));
    if (box == nullptr)
        return false;
    const BYTE fill[4] = {GetBValue(background), GetGValue(background), GetRValue(background), 255};
    for (SIZE_T i = 0; i < boxBytes; i += 4)
        memcpy(box + i, fill, 4);

    const bool unscaled = fittedWidth == source.width && fittedHeight == source.height;
    const double ratio = double(source.height) / fittedHeight;
    // The filter's columns and their weights are the same on every row: worked out
    // once, they keep the per-pixel work to the sums.
    std::vector<int> columns(unscaled ? 0 : SIZE_T(fittedWidth) * 4);
    std::vector<double> columnWeights(columns.size());
    for (int x = 0; !unscaled && x < fittedWidth; ++x)
    {
        const double sx = x * ratio;
        const int x0 = static_cast<int>(sx);
        for (int k = 0; k < 4; ++k)
        {
            int px = x0 + k - 1;
            columns[SIZE_T(x) * 4 + k] = px < 0 ? 0 : (px >= source.width ? source.width - 1 : px);
            columnWeights[SIZE_T(x) * 4 + k] = BicubicWeight(x0 + k - 1 - sx);
        }
    }
    for (int y = 0; y < fittedHeight; ++y)
    {
        BYTE* row = box + SIZE_T(boxHeight - 1 - y) * SIZE_T(boxWidth) * 4;
        if (unscaled)
        {
            for (int x = 0; x < fittedWidth; ++x)
                source.Pixel(x, y, row + SIZE_T(x) * 4);
            continue;
        }
        const double sy = y * ratio;
        const int y0 = static_cast<int>(sy);
        double wy[4];
        int rows[4];
        for (int k = 0; k < 4; ++k)
        {
            wy[k] = BicubicWeight(y0 + k - 1 - sy);
            const int py = y0 + k - 1;
            rows[k] = py < 0 ? 0 : (py >= source.height ? source.height - 1 : py);
        }
        for (int x = 0; x < fittedWidth; ++x)
        {
            const int* px = &columns[SIZE_T(x) * 4];
            const double* wx = &columnWeights[SIZE_T(x) * 4];
            double sum[4] = {0, 0, 0, 0};
            for (int j = 0; j < 4; ++j)
            {
                double rowSum[4] = {0, 0, 0, 0};
                for (int i = 0; i < 4; ++i)
                {
                    BYTE value[4];
                    source.Pixel(px[i], rows[j], value);
                    for (int c = 0; c < 4; ++c)
                        rowSum[c] += wx[i] * value[c];
                }
                for (int c = 0; c < 4; ++c)
                    sum[c] += wy[j] * rowSum[c];
            }
            BYTE* pixel = row + SIZE_T(x) * 4;
            for (int c = 0; c < 4; ++c)
                pixel[c] = ClampToByte(sum[c]);
        }
    }

    out->header.biSize = sizeof(BITMAPINFOHEADER);
    out->header.biWidth = boxWidth;
    out->header.biHeight = boxHeight;
    out->header.biPlanes = 1;
    out->header.biBitCount = 32;
    out->header.biCompression = BI_RGB;
    out->header.biSizeImage = DWORD(boxBytes);
    out->bits = box;
    out->sourceBitCount = bitCount;
    return true;
}
