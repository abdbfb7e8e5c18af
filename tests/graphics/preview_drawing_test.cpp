// A thumbnail cell drawn into a bitmap: the loaded picture at the box's corner, the
// refresh that draws only what changed, nothing for an entry the loader does not
// know, and the four border rectangles.
#include "app/Settings.h"
#include "app/PreviewSize.h"
#include "app/settings/ViewSettings.h"
#include "filer/FileInfo.h"
#include "graphics/preview/LoadPreviewThread.h"
#include "tests/common/TestHelpers.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
// A white 32-bit canvas selected into a memory context.
class Canvas
{
public:
    Canvas(int width, int height) : m_width(width)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap =
            CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(RGB(1, 2, 3));
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    void Fill(COLORREF colour)
    {
        GdiFlush();
        for (int i = 0; i < m_width * m_width; ++i)
            m_bits[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        const DWORD p = m_bits[y * m_width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    HDC Dc() const { return m_dc; }

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
};
} // namespace

TEST(PreviewDrawing, TheLoadedPictureIsDrawnOnceAndUnknownEntriesNotAtAll)
{
    const std::wstring dir = qvtest::ScratchDir() + L"\\preview_drawing";
    CreateDirectoryW(dir.c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\red.bmp", qvtest::SolidBmp(20, 10, 0, 0, 255)));
    WIN32_FIND_DATAW found = {};
    FindClose(FindFirstFileW((dir + L"\\red.bmp").c_str(), &found));
    CArrayFileInfo entries;
    entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, dir.c_str(), nullptr, found, -1);
    WIN32_FIND_DATAW other = found;
    wcscpy(other.cFileName, L"other.bmp");
    entries.AddFromFindData(ENTRY_SOURCE_DISK, nullptr, dir.c_str(), nullptr, other, -1);

    CLoadPreviewThread loader;
    loader.AcquireReaderLock();
    loader.QueueEntry(1, dir.c_str(), found, L"");
    loader.EndQueueing();
    loader.ReleaseReaderLock();
    ASSERT_EQ(2, loader.LoadNextPreview());

    const int side = GetPreviewWidthScaled() + 20;
    Canvas canvas(side, side);
    const COLORREF untouched = canvas.At(0, 0);
    // The picture sits at the box's top-left corner, 3 pixels in from the cell.
    loader.DrawPreviews(0, canvas.Dc(), 5, 5, entries[0], true);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(8, 8));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(8 + 19, 8 + 9));
    EXPECT_EQ(g_DisplayColors[COLOR_PREVIEW_BACK], canvas.At(8 + 21, 8 + 12));
    EXPECT_EQ(untouched, canvas.At(7, 7));

    // The refresh leaves a cell the pane drew in this state; the other pane draws it.
    canvas.Fill(untouched);
    loader.DrawPreviews(0, canvas.Dc(), 5, 5, entries[0], true);
    EXPECT_EQ(untouched, canvas.At(8, 8));
    loader.DrawPreviews(1, canvas.Dc(), 5, 5, entries[0], true);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(8, 8));

    // An entry the loader never queued is not drawn.
    canvas.Fill(untouched);
    loader.DrawPreviews(0, canvas.Dc(), 5, 5, entries[1], false);
    EXPECT_EQ(untouched, canvas.At(8, 8));
}

TEST(PreviewDrawing, TheFrameIsFourBandsThreePixelsWideAroundTheBox)
{
    const int bw = GetPreviewWidthScaled();
    const int bh = GetPreviewHeightScaled();
    RECT rects[4];
    CLoadPreviewThread::GetThumbnailFrameRects(10, 20, rects);
    const RECT expected[4] = {{10, 20, 10 + bw + 6, 23},
                              {10, 23 + bh, 10 + bw + 6, 26 + bh},
                              {10, 23, 13, 23 + bh},
                              {13 + bw, 23, 16 + bw, 23 + bh}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(EqualRect(&expected[i], &rects[i])) << i;
}
