// Graphic mode's layout arithmetic: fitting, overflow, scroll ranges, placement, the
// fit toggle and zoom steps.
#include "graphics/viewer/PictureLayout.h"

#include <gtest/gtest.h>

TEST(GraphicLayoutTest, FitFlagsAndZoomDecideTheDisplayedSizeAndOverflow)
{
    struct Case
    {
        const char* name;
        SIZE picture;
        int fitWidth;
        int fitHeight;
        bool zoomSet;
        SIZE displayed;
        int hOverflow;
        int vOverflow;
    };
    const SIZE available = {400, 300};
    const int s = 16;
    const Case cases[] = {
        {"fits", {200, 100}, 1, 1, false, {200, 100}, 0, 0},
        {"width fit, wide", {800, 200}, 1, 0, false, {400, 100}, 0, 0},
        {"width fit, tall", {800, 1600}, 1, 0, false, {384, 768}, 0, 468},
        {"height fit, tall", {200, 600}, 0, 1, false, {100, 300}, 0, 0},
        {"height fit, wide", {1600, 800}, 0, 1, false, {568, 284}, 168, 0},
        {"both, wide", {800, 200}, 1, 1, false, {400, 100}, 0, 0},
        {"both, tall", {300, 600}, 1, 1, false, {150, 300}, 0, 0},
        {"none, wide", {800, 200}, 0, 0, false, {800, 200}, 400, 0},
        {"none, both axes", {800, 600}, 0, 0, false, {800, 600}, 416, 316},
        {"none, tall", {300, 600}, 0, 0, false, {300, 600}, 0, 300},
        {"zoom ignores the flags", {800, 600}, 1, 1, true, {800, 600}, 416, 316},
    };
    for (const Case& c : cases)
    {
        PictureFit fit = FitPicture(c.picture, available, c.fitWidth, c.fitHeight, c.zoomSet, s);
        EXPECT_EQ(c.displayed.cx, fit.displayed.cx) << c.name;
        EXPECT_EQ(c.displayed.cy, fit.displayed.cy) << c.name;
        EXPECT_EQ(c.hOverflow, fit.hOverflow) << c.name;
        EXPECT_EQ(c.vOverflow, fit.vOverflow) << c.name;
        EXPECT_EQ(c.hOverflow != 0, fit.hScrolls) << c.name;
        EXPECT_EQ(c.vOverflow != 0, fit.vScrolls) << c.name;
    }
    SIZE zoomed = ZoomedPictureSize({301, 99}, CZoomRatio(3, 2));
    EXPECT_EQ(451, zoomed.cx);
    EXPECT_EQ(148, zoomed.cy);
    EXPECT_EQ(301, ZoomedPictureSize({301, 99}, CZoomRatio()).cx);
}

TEST(GraphicLayoutTest, ScrollRangesAndPlacementFollowThePlacementSetting)
{
    struct Case
    {
        int overflow;
        int placement;
        int minimum;
        int maximum;
    };
    const Case cases[] = {{101, 2, -2, 2}, {100, 2, -1, 1}, {200, 2, -2, 2}, {1, 2, -1, 1}, {101, 0, 0, 3},
                          {100, 0, 0, 2},  {101, 1, -3, 0}, {0, 2, 0, 0},    {0, 0, 0, 0}};
    for (const Case& c : cases)
    {
        int minimum = 99, maximum = 99;
        PictureScrollRange(c.overflow, c.placement, &minimum, &maximum);
        EXPECT_EQ(c.minimum, minimum) << c.overflow << " at " << c.placement;
        EXPECT_EQ(c.maximum, maximum) << c.overflow << " at " << c.placement;
    }
    EXPECT_EQ(0, PlacePicture(500, 16, 200, 0));
    EXPECT_EQ(284, PlacePicture(500, 16, 200, 1));
    EXPECT_EQ(142, PlacePicture(500, 16, 200, 2));
}

TEST(GraphicLayoutTest, FitToggleAndZoomSteps)
{
    struct Flags
    {
        int w, h, w2, h2;
    };
    for (const Flags& f : {Flags{1, 0, 0, 0}, Flags{0, 1, 0, 0}, Flags{1, 1, 0, 0}, Flags{0, 0, 1, 1}})
    {
        int w = f.w, h = f.h;
        ToggleFitFlags(&w, &h);
        EXPECT_EQ(f.w2, w);
        EXPECT_EQ(f.h2, h);
    }

    CZoomRatio next;
    // From a fitted picture shown at 60 %: up to "1.0", down to "1/2".
    ASSERT_TRUE(StepZoomRatio(CZoomRatio(), 600, 1000, 1, &next));
    EXPECT_TRUE(next.IsSameAs(1, 1));
    ASSERT_TRUE(StepZoomRatio(CZoomRatio(), 600, 1000, 2, &next));
    EXPECT_TRUE(next.IsSameAs(1, 2));
    // Already at the top: the step lands on the same row and nothing changes.
    next = CZoomRatio(7, 7);
    EXPECT_FALSE(StepZoomRatio(CZoomRatio(5, 1), 5000, 1000, 1, &next));
    EXPECT_TRUE(next.IsSameAs(7, 7));
    // Nothing smaller than a tenth.
    EXPECT_FALSE(StepZoomRatio(CZoomRatio(1, 10), 100, 1000, 2, &next));
}
