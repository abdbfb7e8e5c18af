#include "framework/FwGdi.h"
#include <gtest/gtest.h>

namespace
{

TEST(CRectTest, NormalizeSwapsInvertedEdges)
{
    CRect rect(30, 40, 10, 20);
    EXPECT_TRUE(rect.IsRectEmpty());
    rect.NormalizeRect();
    EXPECT_EQ(rect, CRect(10, 20, 30, 40));
    EXPECT_EQ(rect.Width(), 20);
    EXPECT_EQ(rect.CenterPoint(), CPoint(20, 30));
}

TEST(CRectTest, IntersectionWithoutOverlapIsAllZero)
{
    CRect result(1, 2, 3, 4);
    // Rectangles that only share an edge do not overlap (right and bottom edges
    // are outside).
    EXPECT_FALSE(result.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
    EXPECT_TRUE(result.IsRectNull());
    EXPECT_TRUE(result.IntersectRect(CRect(0, 0, 10, 10), CRect(5, -5, 20, 5)));
    EXPECT_EQ(result, CRect(5, 0, 10, 5));
    EXPECT_FALSE(result.PtInRect(CPoint(10, 2)));
    EXPECT_TRUE(result.PtInRect(CPoint(5, 0)));
}

TEST(CRectTest, InflateAndDeflateMoveEachEdge)
{
    CRect rect(10, 10, 20, 20);
    rect.InflateRect(-6, -1); // more than half the width: the rectangle turns inside out
    EXPECT_EQ(rect, CRect(16, 11, 14, 19));
    EXPECT_TRUE(rect.IsRectEmpty());

    rect.SetRect(10, 10, 20, 20);
    rect.InflateRect(1, 2, 3, 4);
    EXPECT_EQ(rect, CRect(9, 8, 23, 24));
    rect.DeflateRect(1, 2, 3, 4);
    EXPECT_EQ(rect, CRect(10, 10, 20, 20));
    rect += CSize(5, -5);
    EXPECT_EQ(rect, CRect(15, 5, 25, 15));
}

TEST(CRectTest, UnionIgnoresAnEmptyRectangle)
{
    CRect result;
    EXPECT_TRUE(result.UnionRect(CRect(5, 5, 5, 50), CRect(10, 10, 20, 20)));
    EXPECT_EQ(result, CRect(10, 10, 20, 20));
}

// A memory context with a 24-bit bitmap of the screen's format selected.
class MemoryDCTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CClientDC screen(nullptr);
        ASSERT_TRUE(m_dc.CreateCompatibleDC(&screen));
        // Compatible with the screen, not with the new memory context, whose own
        // bitmap is 1 x 1 monochrome.
        ASSERT_TRUE(m_bitmap.CreateCompatibleBitmap(&screen, 40, 30));
        m_oldBitmap = m_dc.SelectObject(&m_bitmap);
        ASSERT_NE(m_oldBitmap, nullptr);
    }
    void TearDown() override { m_dc.SelectObject(m_oldBitmap); }

    CDC m_dc;
    CBitmap m_bitmap;
    HBITMAP m_oldBitmap = nullptr;
};

TEST_F(MemoryDCTest, DrawsAndReadsBackPixels)
{
    const COLORREF white = RGB(255, 255, 255), red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    m_dc.SetBkColor(RGB(1, 2, 3));
    m_dc.FillSolidRect(0, 0, 40, 30, white);
    EXPECT_EQ(m_dc.GetBkColor(), RGB(1, 2, 3));

    CPen pen(PS_SOLID, 1, red);
    CBrush brush(blue);
    HPEN oldPen = m_dc.SelectObject(&pen);
    HBRUSH oldBrush = m_dc.SelectObject(&brush);
    m_dc.Rectangle(CRect(10, 10, 20, 20));
    EXPECT_EQ(m_dc.SelectObject(oldBrush), brush.m_hObject);
    EXPECT_EQ(m_dc.SelectObject(oldPen), pen.m_hObject);

    EXPECT_EQ(m_dc.GetPixel(10, 10), red);   // outline, with the pen
    EXPECT_EQ(m_dc.GetPixel(19, 15), red);   // right edge is inside for Rectangle's outline
    EXPECT_EQ(m_dc.GetPixel(15, 15), blue);  // inside, with the brush
    EXPECT_EQ(m_dc.GetPixel(20, 15), white); // past the right edge
    EXPECT_EQ(m_dc.GetPixel(5, 5), white);
}

TEST_F(MemoryDCTest, ClipRegionLimitsDrawingUntilRemoved)
{
    const COLORREF black = RGB(0, 0, 0), green = RGB(0, 255, 0);
    m_dc.FillSolidRect(0, 0, 40, 30, black);
    CRgn left, right, both;
    ASSERT_TRUE(left.CreateRectRgn(0, 0, 5, 30));
    ASSERT_TRUE(right.CreateRectRgnIndirect(CRect(35, 0, 40, 30)));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(both.CombineRgn(&left, &right, RGN_OR), COMPLEXREGION);

    m_dc.SelectClipRgn(&both);
    CRect box;
    EXPECT_EQ(m_dc.GetClipBox(box), COMPLEXREGION);
    EXPECT_EQ(box, CRect(0, 0, 40, 30));
    m_dc.FillSolidRect(0, 0, 40, 30, green);
    EXPECT_EQ(m_dc.GetPixel(2, 2), green);
    EXPECT_EQ(m_dc.GetPixel(20, 2), black);
    EXPECT_EQ(m_dc.GetPixel(37, 2), green);

    m_dc.SelectClipRgn(nullptr);
    m_dc.FillSolidRect(0, 0, 40, 30, green);
    EXPECT_EQ(m_dc.GetPixel(20, 2), green);
}

TEST(CGdiObjectTest, OwnsItsHandleUntilDetached)
{
    HGDIOBJ first, second, detached;
    {
        CBrush brush(RGB(1, 1, 1));
        first = brush.m_hObject;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(2, 2, 2))); // replaces, deleting the first
        second = brush.m_hObject;
        EXPECT_EQ(GetObjectType(first), 0u);

        CPen pen(PS_SOLID, 1, 0);
        detached = pen.Detach();
    }
    EXPECT_EQ(GetObjectType(second), 0u); // deleted by the destructor
    EXPECT_EQ(GetObjectType(detached), static_cast<DWORD>(OBJ_PEN));
    DeleteObject(detached);
}

TEST(CDCTest, FromHandleNeverDeletesAndKeepsOneWrapperPerContext)
{
    CDC owner;
    ASSERT_TRUE(owner.CreateCompatibleDC(nullptr));
    CDC* wrapper = CDC::FromHandle(owner.m_hDC);
    EXPECT_EQ(wrapper->GetSafeHdc(), owner.m_hDC);
    // Many short-lived contexts make the table drop the wrappers of dead ones.
    for (int i = 0; i < 200; ++i)
    {
        HDC temp = CreateCompatibleDC(nullptr);
        ASSERT_NE(CDC::FromHandle(temp), nullptr);
        DeleteDC(temp);
    }
    EXPECT_EQ(CDC::FromHandle(owner.m_hDC), wrapper);
    EXPECT_EQ(GetObjectType(owner.m_hDC), static_cast<DWORD>(OBJ_MEMDC));
}

} // namespace
