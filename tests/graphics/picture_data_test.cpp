// The picture object: which BMP files and plug-in blocks it takes, what it makes of
// them, brightness and drawing.
#include "graphics/picture/PictureData.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace
{
// One crafted BMP file. Everything the tests change has a field.
struct BmpSpec
{
    int headerSize = 40; // 12 for the core header
    int width = 2;
    int height = 2;
    int planes = 1;
    int bitCount = 24;
    DWORD compression = BI_RGB;
    DWORD clrUsed = 0;
    DWORD sizeImage = 0;
    int tableEntries = -1; // -1: the full table of the bit count
    std::vector<DWORD> masks;
    long long pixelBytes = -1; // -1: exactly the rows
    long long offBits = -1;    // -1: right behind header, masks and table
    std::string pixels;        // the first pixel bytes; the rest stays 0
};

int Stride(int width, int bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

template <typename T> void Put(std::string& out, T value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof(value));
}

std::string MakeBmp(const BmpSpec& s)
{
    const int full = s.bitCount <= 8 ? 1 << s.bitCount : 0;
    const int entries = s.tableEntries >= 0 ? s.tableEntries : full;
    const int entryBytes = s.headerSize == 12 ? 3 : 4;
    std::string info;
    if (s.headerSize == 12)
    {
        Put<DWORD>(info, 12);
        Put<WORD>(info, WORD(s.width));
        Put<WORD>(info, WORD(s.height));
        Put<WORD>(info, WORD(s.planes));
        Put<WORD>(info, WORD(s.bitCount));
    }
    else
    {
        BITMAPINFOHEADER h = {};
        h.biSize = 40;
        h.biWidth = s.width;
        h.biHeight = s.height;
        h.biPlanes = WORD(s.planes);
        h.biBitCount = WORD(s.bitCount);
        h.biCompression = s.compression;
        h.biSizeImage = s.sizeImage;
        h.biClrUsed = s.clrUsed;
        Put(info, h);
    }
    for (DWORD mask : s.masks)
        Put(info, mask);
    for (int i = 0; i < entries; ++i)
        for (int b = 0; b < entryBytes; ++b)
            info.push_back(char(i + b));
    const long long rows = (long long)Stride(s.width, s.bitCount) * (s.height < 0 ? -s.height : s.height);
    std::string pixels = s.pixels;
    pixels.resize(size_t(s.pixelBytes >= 0 ? s.pixelBytes : rows), '\0');
    const DWORD offBits = DWORD(s.offBits >= 0 ? s.offBits : 14 + (long long)info.size());
    std::string file;
    Put<WORD>(file, 19778);
    Put<DWORD>(file, DWORD(offBits + pixels.size()));
    Put<DWORD>(file, 0);
    Put<DWORD>(file, offBits);
    file += info;
    file.resize(offBits, '\0');
    return file + pixels;
}

std::wstring WriteBmp(const BmpSpec& spec, const wchar_t* name = L"p.bmp")
{
    const std::wstring path = qvtest::ScratchDir() + L"\\" + name;
    EXPECT_TRUE(qvtest::WriteFileBytes(path, MakeBmp(spec)));
    return path;
}

HLOCAL Block(const std::string& bytes)
{
    HLOCAL handle = LocalAlloc(LMEM_MOVEABLE | LMEM_ZEROINIT, bytes.size());
    memcpy(LocalLock(handle), bytes.data(), bytes.size());
    LocalUnlock(handle);
    return handle;
}

// The header block a plug-in hands over: the 40-byte header, masks, `entries` table
// entries.
std::string InfoBlock(int width, int height, int bitCount, DWORD compression, DWORD clrUsed, int entries,
                      std::vector<DWORD> masks = {})
{
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = WORD(bitCount);
    h.biCompression = compression;
    h.biClrUsed = clrUsed;
    std::string out;
    Put(out, h);
    for (DWORD mask : masks)
        Put(out, mask);
    for (int i = 0; i < entries; ++i)
        Put<DWORD>(out, 0x00010203u * DWORD(i + 1));
    return out;
}

// A 32-bit DIB section to draw into and read back.
class CCanvas
{
public:
    CCanvas(int width, int height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap =
            CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pixels), nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        m_width = width;
    }
    ~CCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    // 0x00RRGGBB of the pixel, counted from the top left.
    DWORD At(int x, int y) const
    {
        GdiFlush();
        return m_pixels[y * m_width + x] & 0xFFFFFF;
    }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_pixels = nullptr;
    int m_width;
};

void DrawWhole(CPictureData& picture, CCanvas& canvas, const CAlphaChannelRow* alpha = nullptr)
{
    const int w = picture.GetWidth();
    const int h = picture.GetHeight();
    RECT rect = {0, 0, w, h};
    picture.Draw(canvas.Dc(), rect, POINT{0, 0}, SIZE{w, h}, alpha, 0x00FF00);
}
} // namespace

TEST(PictureDataTest, LoadBmpTakesOnlyFilesWhoseRowsAndTablesFit)
{
    auto core8 = [](long long offBits) {
        BmpSpec s;
        s.headerSize = 12;
        s.bitCount = 8;
        s.offBits = offBits;
        return s;
    };
    auto info8 = [](long long offBits) {
        BmpSpec s;
        s.bitCount = 8;
        s.offBits = offBits;
        return s;
    };
    auto with = [](auto change) {
        BmpSpec s;
        change(s);
        return s;
    };
    struct Row
    {
        const char* name;
        BmpSpec spec;
        bool loads;
    };
    const Row rows[] = {
        {"24 bits", BmpSpec(), true},
        {"core 8 bits at 794", core8(794), true},
        {"core 8 bits below 794", core8(793), false},
        {"info 8 bits at 1078", info8(1078), true},
        {"info 8 bits below 1078", info8(1077), false},
        {"one pixel byte short", with([](BmpSpec& s) { s.pixelBytes = 2 * Stride(2, 24) - 1; }), false},
        {"short rows, tall picture", with([](BmpSpec& s) {
             s.height = 400;
             s.pixelBytes = 64;
         }),
         false},
        {"width 0", with([](BmpSpec& s) {
             s.width = 0;
             s.pixelBytes = 16;
         }),
         false},
        {"height 0", with([](BmpSpec& s) {
             s.height = 0;
             s.pixelBytes = 16;
         }),
         false},
        {"2 planes", with([](BmpSpec& s) { s.planes = 2; }), false},
        {"2 bits", with([](BmpSpec& s) {
             s.bitCount = 2;
             s.tableEntries = 4;
         }),
         false},
        {"24 bits run-length", with([](BmpSpec& s) {
             s.compression = BI_RLE8;
             s.sizeImage = 4;
         }),
         false},
        {"compression 4", with([](BmpSpec& s) { s.compression = 4; }), false},
        {"16 bits plain", with([](BmpSpec& s) { s.bitCount = 16; }), true},
        {"24 bits suggesting a palette", with([](BmpSpec& s) { s.clrUsed = 16; }), true},
        {"16 bits with masks", with([](BmpSpec& s) {
             s.bitCount = 16;
             s.compression = BI_BITFIELDS;
             s.masks = {0xF800, 0x07E0, 0x001F};
         }),
         true},
        {"16 bits masks missing", with([](BmpSpec& s) {
             s.bitCount = 16;
             s.compression = BI_BITFIELDS;
         }),
         false},
        {"8 bits run-length within the file", with([](BmpSpec& s) {
             s.bitCount = 8;
             s.compression = BI_RLE8;
             s.sizeImage = 4;
             s.pixelBytes = 4;
             s.pixels = std::string("\x00\x00\x00\x01", 4);
         }),
         true},
        {"8 bits run-length beyond the file", with([](BmpSpec& s) {
             s.bitCount = 8;
             s.compression = BI_RLE8;
             s.sizeImage = 40;
             s.pixelBytes = 30;
         }),
         false},
        {"top-down run-length", with([](BmpSpec& s) {
             s.bitCount = 8;
             s.height = -2;
             s.compression = BI_RLE8;
             s.sizeImage = 4;
             s.pixelBytes = 4;
         }),
         false},
    };
    for (const Row& row : rows)
    {
        CPictureData picture;
        EXPECT_EQ(row.loads ? 1 : 0, picture.LoadBmp(WriteBmp(row.spec).c_str())) << row.name;
        EXPECT_EQ(row.loads ? 1 : 0, picture.IsValid()) << row.name;
    }
}

TEST(PictureDataTest, LoadBmpRefusesOtherNamesAndTinyFiles)
{
    CPictureData picture;
    EXPECT_EQ(0, picture.LoadBmp(WriteBmp(BmpSpec(), L"p.txt").c_str()));
    EXPECT_EQ(1, picture.LoadBmp(WriteBmp(BmpSpec(), L"upper.BMP").c_str()));
    const std::wstring tiny = qvtest::ScratchDir() + L"\\tiny.bmp";
    ASSERT_TRUE(qvtest::WriteFileBytes(tiny, MakeBmp(BmpSpec()).substr(0, 54)));
    EXPECT_EQ(0, picture.LoadBmp(tiny.c_str()));
    EXPECT_EQ(0, picture.IsValid());
}

TEST(PictureDataTest, AttachChecksPlugInBlocksAndGrowsShortTables)
{
    const std::string pixels8(size_t(Stride(3, 8) * 2), '\x05');
    struct Row
    {
        const char* name;
        std::string header;
        size_t pixelBytes;
        bool takes;
    };
    const Row rows[] = {
        {"16 used entries", InfoBlock(3, 2, 8, BI_RGB, 16, 16), 8, true},
        {"table short of the used entries", InfoBlock(3, 2, 8, BI_RGB, 16, 15), 8, false},
        {"table short of the full table", InfoBlock(3, 2, 8, BI_RGB, 0, 16), 8, false},
        {"more used entries than 8 bits hold", InfoBlock(3, 2, 8, BI_RGB, 300, 300), 8, false},
        {"32 bits with masks", InfoBlock(3, 2, 32, BI_BITFIELDS, 0, 0, {0xFF0000, 0xFF00, 0xFF}), 24, true},
        {"32 bits masks missing", InfoBlock(3, 2, 32, BI_BITFIELDS, 0, 0), 24, false},
        {"rows short", InfoBlock(3, 2, 32, BI_RGB, 0, 0), 23, false},
        {"header cut", InfoBlock(3, 2, 24, BI_RGB, 0, 0).substr(0, 30), 16, false},
    };
    for (const Row& row : rows)
    {
        CPictureData picture;
        std::string pixels(row.pixelBytes, '\x05');
        EXPECT_EQ(row.takes ? 1 : 0, picture.Attach(Block(row.header), Block(pixels))) << row.name;
        EXPECT_EQ(row.takes ? 1 : 0, picture.IsValid()) << row.name;
    }

    // The grown table keeps the plug-in's entries and is zero behind them, so the
    // 1024 bytes brightness and saving take are all there.
    CPictureData picture;
    ASSERT_EQ(1, picture.Attach(Block(InfoBlock(3, 2, 8, BI_RGB, 16, 16)), Block(pixels8)));
    SIZE_T headerSize = 0;
    ASSERT_EQ(1, picture.GetHeaderSize(&headerSize));
    EXPECT_GE(headerSize, 40u + 1024u);
    const RGBQUAD* table = picture.GetHeader()->bmiColors;
    EXPECT_EQ(0x00010203u * 16, *reinterpret_cast<const DWORD*>(&table[15]));
    EXPECT_EQ(0u, *reinterpret_cast<const DWORD*>(&table[16]));
    EXPECT_EQ(0u, *reinterpret_cast<const DWORD*>(&table[255]));
    picture.AdjustBrightness(10);
    EXPECT_EQ(0x0A0A0A0Au, *reinterpret_cast<const DWORD*>(&table[255]));
    EXPECT_EQ(0x0A0B0C0Du, *reinterpret_cast<const DWORD*>(&table[0]));
}

TEST(PictureDataTest, TopDownRowsComeOutBottomUp)
{
    BmpSpec s;
    s.width = 1;
    s.height = -3;
    // Top to bottom: red, green, blue (bytes blue, green, red, row padding).
    s.pixels = std::string("\x00\x00\xFF\x00\x00\xFF\x00\x00\xFF\x00\x00\x00", 12);
    CPictureData picture;
    ASSERT_EQ(1, picture.LoadBmp(WriteBmp(s).c_str()));
    EXPECT_EQ(3, picture.GetHeight());
    const BYTE* bits = picture.GetBits();
    EXPECT_EQ(0xFF, bits[0]); // bottom row first: blue
    EXPECT_EQ(0xFF, bits[4 + 1]);
    EXPECT_EQ(0xFF, bits[8 + 2]); // top row last: red
    CCanvas canvas(1, 3);
    DrawWhole(picture, canvas);
    EXPECT_EQ(0xFF0000u, canvas.At(0, 0));
    EXPECT_EQ(0x0000FFu, canvas.At(0, 2));
}

TEST(PictureDataTest, BitfieldPicturesDrawWithTheirMasks)
{
    struct Row
    {
        const char* name;
        int bitCount;
        std::vector<DWORD> masks;
        std::string pixel; // one pixel of pure red under the masks
    };
    const Row rows[] = {
        {"16 bits 5-6-5", 16, {0xF800, 0x07E0, 0x001F}, std::string("\x00\xF8", 2)},
        {"32 bits", 32, {0xFF0000, 0x00FF00, 0x0000FF}, std::string("\x00\x00\xFF\x00", 4)},
    };
    for (const Row& row : rows)
    {
        BmpSpec s;
        s.width = 1;
        s.height = 1;
        s.bitCount = row.bitCount;
        s.compression = BI_BITFIELDS;
        s.masks = row.masks;
        s.pixels = row.pixel;
        CPictureData picture;
        ASSERT_EQ(1, picture.LoadBmp(WriteBmp(s).c_str())) << row.name;
        CCanvas canvas(1, 1);
        DrawWhole(picture, canvas);
        EXPECT_EQ(0xFF0000u, canvas.At(0, 0)) << row.name;
    }
}

TEST(PictureDataTest, BrightnessSaturatesAndSparesAlphaAndTwoColourPictures)
{
    BmpSpec s;
    s.width = 1;
    s.height = 1;
    s.bitCount = 32;
    s.pixels = std::string("\xFF\x05\x80\x05", 4);
    CPictureData picture;
    ASSERT_EQ(1, picture.LoadBmp(WriteBmp(s).c_str()));
    picture.AdjustBrightness(10);
    EXPECT_EQ(std::string("\xFF\x0F\x8A\x05", 4), std::string(reinterpret_cast<char*>(picture.GetBits()), 4));
    picture.AdjustBrightness(-20);
    EXPECT_EQ(std::string("\xEB\x00\x76\x05", 4), std::string(reinterpret_cast<char*>(picture.GetBits()), 4));

    BmpSpec mono;
    mono.bitCount = 1;
    mono.pixels = "\x80";
    CPictureData twoColours;
    ASSERT_EQ(1, twoColours.LoadBmp(WriteBmp(mono).c_str()));
    const DWORD before = *reinterpret_cast<DWORD*>(&twoColours.GetHeader()->bmiColors[1]);
    twoColours.AdjustBrightness(50);
    EXPECT_EQ(before, *reinterpret_cast<DWORD*>(&twoColours.GetHeader()->bmiColors[1]));
    EXPECT_EQ(0x80, twoColours.GetBits()[0]);
}

TEST(PictureDataTest, AlphaDrawingPremultipliesAndIgnoresTrailingBytes)
{
    BmpSpec s;
    s.width = 1;
    s.height = 1;
    s.bitCount = 32;
    s.pixels = std::string("\x00\x00\xFF\x80", 4); // red 255, alpha 128
    // Bytes behind the last row, as files written by some programs carry.
    s.pixelBytes = 256 * 1024;
    CPictureData picture;
    ASSERT_EQ(1, picture.LoadBmp(WriteBmp(s).c_str()));
    const CAlphaChannelRow black = {2, 0x000000};
    CCanvas canvas(1, 1);
    DrawWhole(picture, canvas, &black);
    EXPECT_EQ(0x800000u, canvas.At(0, 0));
    // Without an alpha row the pixel is copied as it stands.
    const CAlphaChannelRow off = {0, 0};
    DrawWhole(picture, canvas, &off);
    EXPECT_EQ(0xFF0000u, canvas.At(0, 0));
}

TEST(PictureDataTest, AlphaChannelNames)
{
    CString text;
    EXPECT_EQ(L"無効", std::wstring(FormatAlphaChannelType(text, 1, nullptr)));
    EXPECT_EQ(L"有効：塗りつぶし(背景色)", std::wstring(FormatAlphaChannelType(text, 2, nullptr)));
    CString out = L"keep";
    EXPECT_EQ(1, FormatAlphaChannelCommandName(L"@AlphaChannelType2", out));
    EXPECT_EQ(L"透過度処理(無効)", std::wstring(out));
    out = L"keep";
    EXPECT_EQ(0, FormatAlphaChannelCommandName(L"@AlphaChannelType11", out));
    EXPECT_EQ(0, FormatAlphaChannelCommandName(L"@alphachanneltype1", out));
    EXPECT_EQ(L"keep", std::wstring(out));
}
