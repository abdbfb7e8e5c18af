// The packed DIB the viewer hands the clipboard: header, masks, table, then pixels,
// whatever spare bytes the picture's header block carries.
#include "graphics/viewer/ClipboardDib.h"

#include <gtest/gtest.h>
#include <cstring>
#include <vector>

namespace
{
struct Picture
{
    std::vector<BYTE> headerBlock;
    std::vector<BYTE> bits;
    const BITMAPINFOHEADER* Header() const
    {
        return reinterpret_cast<const BITMAPINFOHEADER*>(headerBlock.data());
    }
};

// A 4 x 2 picture; its header block holds the header, masks, table and spare bytes.
Picture MakePicture(int bitCount, DWORD compression, SIZE_T maskBytes, SIZE_T tableBytes, SIZE_T spare)
{
    Picture p;
    p.headerBlock.assign(sizeof(BITMAPINFOHEADER) + maskBytes + tableBytes + spare, 0xEE);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = 4;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = WORD(bitCount);
    header.biCompression = compression;
    memcpy(p.headerBlock.data(), &header, sizeof(header));
    for (SIZE_T i = 0; i < maskBytes + tableBytes; ++i)
        p.headerBlock[sizeof(header) + i] = BYTE(i * 7 + 1);
    const SIZE_T stride = ((4 * bitCount + 31) / 32) * 4;
    for (SIZE_T i = 0; i < stride * 2; ++i)
        p.bits.push_back(BYTE(0x40 + i));
    return p;
}

struct Packed
{
    UINT format = 0;
    std::vector<BYTE> bytes;
};

Packed Build(const Picture& p, bool asVersion5)
{
    Packed out;
    HGLOBAL block = BuildClipboardDib(p.Header(), p.headerBlock.size(), p.bits.data(), p.bits.size(),
                                      asVersion5, &out.format);
    if (block == nullptr)
        return out;
    const BYTE* data = static_cast<const BYTE*>(GlobalLock(block));
    out.bytes.assign(data, data + GlobalSize(block));
    GlobalUnlock(block);
    GlobalFree(block);
    return out;
}

bool Holds(const Packed& packed, SIZE_T offset, const std::vector<BYTE>& expected, SIZE_T from = 0,
           SIZE_T count = SIZE_T(-1))
{
    if (count == SIZE_T(-1))
        count = expected.size() - from;
    return packed.bytes.size() >= offset + count &&
           memcmp(packed.bytes.data() + offset, expected.data() + from, count) == 0;
}
} // namespace

TEST(GraphicClipboardTest, HeaderMasksTableAndPixelsFollowEachOtherWithoutSpareBytes)
{
    struct Case
    {
        const char* name;
        int bitCount;
        DWORD compression;
        SIZE_T masks;
        SIZE_T table;
        SIZE_T spare;
    };
    const Case cases[] = {
        {"8 bits, table and 44 spare bytes", 8, BI_RGB, 0, 1024, 44},
        {"1 bit", 1, BI_RGB, 0, 8, 300},
        {"16 bits with masks", 16, BI_BITFIELDS, 12, 0, 20},
        {"24 bits, no spare", 24, BI_RGB, 0, 0, 0},
        {"32 bits without alpha", 32, BI_RGB, 0, 0, 84},
    };
    for (const Case& c : cases)
    {
        Picture picture = MakePicture(c.bitCount, c.compression, c.masks, c.table, c.spare);
        Packed packed = Build(picture, false);
        ASSERT_EQ(UINT(CF_DIB), packed.format) << c.name;
        const SIZE_T prefix = sizeof(BITMAPINFOHEADER) + c.masks + c.table;
        EXPECT_TRUE(Holds(packed, 0, picture.headerBlock, 0, prefix)) << c.name;
        EXPECT_TRUE(Holds(packed, prefix, picture.bits)) << c.name;
        EXPECT_EQ(0u, packed.bytes.size() % 16) << c.name;
    }
}

TEST(GraphicClipboardTest, ThirtyTwoBitsWithAlphaGoAsAVersion5Header)
{
    Picture picture = MakePicture(32, BI_RGB, 0, 0, 44);
    Packed packed = Build(picture, true);
    ASSERT_EQ(UINT(CF_DIBV5), packed.format);
    ASSERT_GE(packed.bytes.size(), sizeof(BITMAPV5HEADER));
    BITMAPV5HEADER v5;
    memcpy(&v5, packed.bytes.data(), sizeof(v5));
    EXPECT_EQ(sizeof(BITMAPV5HEADER), v5.bV5Size);
    EXPECT_EQ(4, v5.bV5Width);
    EXPECT_EQ(2, v5.bV5Height);
    EXPECT_EQ(DWORD(BI_BITFIELDS), v5.bV5Compression);
    EXPECT_EQ(0x00FF0000u, v5.bV5RedMask);
    EXPECT_EQ(0x0000FF00u, v5.bV5GreenMask);
    EXPECT_EQ(0x000000FFu, v5.bV5BlueMask);
    EXPECT_EQ(0xFF000000u, v5.bV5AlphaMask);
    EXPECT_EQ(0u, v5.bV5CSType);
    EXPECT_TRUE(Holds(packed, sizeof(BITMAPV5HEADER), picture.bits));
}

TEST(GraphicClipboardTest, AHeaderBlockShortOfItsTableIsRefused)
{
    Picture picture = MakePicture(8, BI_RGB, 0, 1024, 0);
    picture.headerBlock.resize(sizeof(BITMAPINFOHEADER) + 512);
    EXPECT_EQ(0u, Build(picture, false).format);
    Picture bigHeader = MakePicture(24, BI_RGB, 0, 0, 0);
    reinterpret_cast<BITMAPINFOHEADER*>(bigHeader.headerBlock.data())->biSize = 124;
    EXPECT_EQ(0u, Build(bigHeader, false).format);
}
