// Turning and mirroring a picture's rows through the picture object.
#include "graphics/picture/PictureData.h"
#include "tools/transform/TransformBitmap.h"
#include "tests/common/ProgramWiring.h"
#include "tests/graphics/PictureTestData.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace
{
using qvtest::MakePicture;
using qvtest::Stride;

std::string Rows(CPictureData& picture)
{
    SIZE_T size = 0;
    EXPECT_EQ(1, picture.GetBitsSize(&size));
    return std::string(reinterpret_cast<const char*>(picture.GetBits()), size);
}

class TransformBitmapTest : public ::testing::Test
{
protected:
    qvtest::ScopedProgramWiring m_wiring;
};
} // namespace

TEST_F(TransformBitmapTest, RepeatedTurnsAndMirrorsGiveThePictureBack)
{
    struct Repeat
    {
        int code;
        int times;
    };
    const Repeat repeats[] = {{0, 4}, {1, 4}, {2, 2}, {3, 2}, {4, 2}};
    for (int bitCount : {1, 4, 8, 16, 24, 32})
        for (int width : {1, 3, 9, 33})
            for (int height : {1, 2, 5})
                for (const Repeat& repeat : repeats)
                {
                    CPictureData picture;
                    MakePicture(picture, width, height, bitCount);
                    const std::string before = Rows(picture);
                    for (int i = 0; i < repeat.times; ++i)
                        ASSERT_EQ(0, picture.Transform(repeat.code));
                    EXPECT_EQ(width, picture.GetWidth());
                    EXPECT_EQ(height, picture.GetHeight());
                    EXPECT_TRUE(before == Rows(picture)) << "bits " << bitCount << " size " << width << "x"
                                                         << height << " code " << repeat.code;
                }
}

TEST_F(TransformBitmapTest, TurningRightPutsTheBottomLeftPixelTopLeft)
{
    CPictureData picture;
    MakePicture(picture, 3, 2, 24);
    // Memory row 0 is the bottom row: its first pixel is the bottom-left one.
    const std::string bottomLeft(reinterpret_cast<const char*>(picture.GetBits()), 3);
    ASSERT_EQ(0, picture.Transform(0));
    EXPECT_EQ(2, picture.GetWidth());
    EXPECT_EQ(3, picture.GetHeight());
    const BYTE* topRow = picture.GetBits() + 2 * Stride(2, 24);
    EXPECT_EQ(bottomLeft, std::string(reinterpret_cast<const char*>(topRow), 3));
}

TEST_F(TransformBitmapTest, RowSizesFollowTheNewWidth)
{
    struct Row
    {
        int width;
        int height;
        int bitCount;
        int code;
        SIZE_T bytes;
    };
    const Row rows[] = {
        {33, 2, 1, 2, 2 * 8}, {9, 3, 4, 2, 3 * 8},  {2, 33, 1, 0, 2 * 8},
        {3, 9, 4, 1, 3 * 8},  {5, 1, 24, 0, 5 * 4},
    };
    for (const Row& row : rows)
    {
        CPictureData picture;
        MakePicture(picture, row.width, row.height, row.bitCount);
        ASSERT_EQ(0, picture.Transform(row.code));
        SIZE_T size = 0;
        ASSERT_EQ(1, picture.GetBitsSize(&size));
        EXPECT_EQ(row.bytes, size) << row.width << "x" << row.height << " bits " << row.bitCount;
    }
}

TEST_F(TransformBitmapTest, PicturesItCannotWalkAreLeftAlone)
{
    struct Row
    {
        const char* name;
        int bitCount;
        DWORD compression;
        int height;
    };
    const Row rows[] = {
        {"2 bits", 2, BI_RGB, 2},
        {"run-length", 8, BI_RLE8, 2},
        {"top-down", 24, BI_RGB, -2},
    };
    for (const Row& row : rows)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = 40;
        info.bmiHeader.biWidth = 2;
        info.bmiHeader.biHeight = row.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = WORD(row.bitCount);
        info.bmiHeader.biCompression = row.compression;
        BYTE bits[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
        CPictureData picture;
        picture.AttachBorrowed(&info, bits);
        EXPECT_EQ(1, TransformBitmap(picture, 0)) << row.name;
        EXPECT_EQ(2, picture.GetWidth()) << row.name;
        EXPECT_EQ(row.height, picture.GetHeight()) << row.name;
        EXPECT_EQ(1, bits[0]) << row.name;
    }
}
