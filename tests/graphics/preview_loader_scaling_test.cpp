// Thumbnails: the fitted size, the filter's rounding and what lands in the box.
#include "graphics/preview/ThumbnailScaling.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
const COLORREF kBack = RGB(0x12, 0x34, 0x56);

struct Source
{
    std::vector<BYTE> headerBlock;
    std::vector<BYTE> bits;
    const BITMAPINFOHEADER* Header() const
    {
        return reinterpret_cast<const BITMAPINFOHEADER*>(headerBlock.data());
    }
};

// A solid picture of one colour (B, G, R) at 24 bits, or through an 8-bit table.
Source Solid(int width, int height, int bitCount, BYTE b, BYTE g, BYTE r, DWORD compression = BI_RGB)
{
    Source s;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = WORD(bitCount);
    header.biCompression = compression;
    s.headerBlock.assign(sizeof(header) + (bitCount == 8 ? 1024 : 0), 0);
    memcpy(s.headerBlock.data(), &header, sizeof(header));
    const SIZE_T stride = ((SIZE_T(width) * bitCount + 31) / 32) * 4;
    s.bits.assign(stride * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            BYTE* p = s.bits.data() + stride * y;
            if (bitCount == 8)
                p[x] = 3;
            else
            {
                p[x * 3] = b;
                p[x * 3 + 1] = g;
                p[x * 3 + 2] = r;
            }
        }
    if (bitCount == 8)
    {
        RGBQUAD entry = {b, g, r, 0};
        memcpy(s.headerBlock.data() + sizeof(header) + 3 * 4, &entry, 4);
    }
    return s;
}

// B, G, R, A of box pixel (x, y) counted from the top.
std::vector<int> At(const Thumbnail& t, int x, int y)
{
    const BYTE* p = t.bits + (SIZE_T(t.header.biHeight - 1 - y) * t.header.biWidth + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}
} // namespace

TEST(PreviewLoaderScalingTest, FittedSizesKeepTheAspectAndNeverGrow)
{
    struct Case
    {
        int w, h, fw, fh;
    };
    const Case cases[] = {
        {400, 100, 100, 25}, {100, 400, 25, 100}, {50, 20, 50, 20}, {300, 300, 100, 100}, {101, 1, 100, 1}};
    for (const Case& c : cases)
    {
        int fw = -1, fh = -1;
        ASSERT_TRUE(FitThumbnailSize(100, 100, c.w, c.h, &fw, &fh));
        EXPECT_EQ(c.fw, fw) << c.w << "x" << c.h;
        EXPECT_EQ(c.fh, fh) << c.w << "x" << c.h;
    }
    int fw, fh;
    EXPECT_FALSE(FitThumbnailSize(100, 100, 10, -10, &fw, &fh));
    EXPECT_FALSE(FitThumbnailSize(100, 100, 0, 10, &fw, &fh));
}

TEST(PreviewLoaderScalingTest, ClampRoundsHalfDownAndClampsTheEnds)
{
    struct Case
    {
        double value;
        int expected;
    };
    for (const Case& c : {Case{127.5, 127}, Case{127.51, 128}, Case{-3.0, 0}, Case{255.4, 255},
                          Case{300.0, 255}, Case{0.49, 0}, Case{254.6, 255}})
        EXPECT_EQ(c.expected, ClampToByte(c.value)) << c.value;
    EXPECT_DOUBLE_EQ(1.0, BicubicWeight(0));
    EXPECT_DOUBLE_EQ(0.0, BicubicWeight(1));
    EXPECT_DOUBLE_EQ(0.0, BicubicWeight(2.5));
    EXPECT_DOUBLE_EQ(-0.125, BicubicWeight(-1.5));
}

TEST(PreviewLoaderScalingTest, PicturesLandTopLeftOnTheBackground)
{
    struct Case
    {
        const char* name;
        int w, h, bitCount;
        int fw, fh;
    };
    const Case cases[] = {{"small, unscaled", 30, 20, 24, 30, 20},
                          {"wide, filtered", 400, 100, 24, 100, 25},
                          {"through a table", 40, 160, 8, 25, 100}};
    for (const Case& c : cases)
    {
        Source s = Solid(c.w, c.h, c.bitCount, 10, 200, 90);
        Thumbnail t;
        ASSERT_TRUE(ScaleThumbnail(s.Header(), s.headerBlock.size(), s.bits.data(), s.bits.size(), 100, 100,
                                   kBack, &t))
            << c.name;
        EXPECT_EQ(100, t.header.biWidth);
        EXPECT_EQ(100, t.header.biHeight);
        EXPECT_EQ(32, t.header.biBitCount);
        EXPECT_EQ(c.bitCount, t.sourceBitCount);
        const std::vector<int> colour = {10, 200, 90, 255};
        const std::vector<int> back = {0x56, 0x34, 0x12, 255};
        EXPECT_EQ(colour, At(t, 0, 0)) << c.name;
        EXPECT_EQ(colour, At(t, c.fw - 1, c.fh - 1)) << c.name;
        if (c.fw < 100)
        {
            EXPECT_EQ(back, At(t, c.fw, 0)) << c.name;
        }
        if (c.fh < 100)
        {
            EXPECT_EQ(back, At(t, 0, c.fh)) << c.name;
        }
        EXPECT_EQ(back, At(t, 99, 99)) << c.name;
        FreeThumbnail(&t);
    }
}

TEST(PreviewLoaderScalingTest, RunLengthAndSixteenBitPicturesGetNoThumbnail)
{
    Source rle = Solid(8, 8, 8, 1, 2, 3, BI_RLE8);
    Source sixteen = Solid(8, 8, 24, 1, 2, 3);
    reinterpret_cast<BITMAPINFOHEADER*>(sixteen.headerBlock.data())->biBitCount = 16;
    Source shortBits = Solid(8, 8, 24, 1, 2, 3);
    shortBits.bits.resize(10);
    for (const Source* s : {&rle, &sixteen, &shortBits})
    {
        Thumbnail t;
        EXPECT_FALSE(ScaleThumbnail(s->Header(), s->headerBlock.size(), s->bits.data(), s->bits.size(), 100,
                                    100, kBack, &t));
        EXPECT_EQ(nullptr, t.bits);
    }
}
