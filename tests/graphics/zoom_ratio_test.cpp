// The zoom ratio against the zoom steps: percent steps, step finding and comparison.
#include "filer/ZoomRatio.h"

#include <gtest/gtest.h>

namespace
{
class ZoomRatioTest : public ::testing::Test
{
protected:
    void TearDown() override { g_ZoomSteps = kDefaultZoomSteps; }
};
} // namespace

TEST_F(ZoomRatioTest, PercentStepsRoundToTensAndStopAtOnePercent)
{
    struct Case
    {
        int percent;
        bool in;
        int expected;
        int changed;
    };
    const Case cases[] = {{100, true, 110, 1}, {105, true, 110, 1},  {9, true, 10, 1},  {5, true, 6, 1},
                          {100, false, 90, 1}, {105, false, 100, 1}, {10, false, 9, 1}, {1, false, 1, 0}};
    for (const Case& c : cases)
    {
        CZoomRatio ratio(c.percent, 100);
        int changed = c.in ? ratio.ZoomInPercent() : ratio.ZoomOutPercent();
        EXPECT_EQ(c.expected, ratio.Numerator()) << c.percent << (c.in ? " in" : " out");
        EXPECT_EQ(100, ratio.Denominator());
        EXPECT_EQ(c.changed, changed) << c.percent;
    }
}

TEST_F(ZoomRatioTest, StepsSkipDisabledRowsOnlyWhenBetweenRowsAndClampAtTheEnds)
{
    g_ZoomSteps[5].enabled = 0; // "1.5"
    struct Case
    {
        int numerator;
        int denominator;
        int direction;
        int expected;
    };
    const Case cases[] = {
        {1, 1, 1, 6},   // equal row: the adjacent row, enabled or not
        {6, 5, 1, 7},   // between rows: the next enabled one, "2.0"
        {6, 5, 2, 5},   // down from between: "1.0"
        {5, 1, 1, 10},  // top clamps
        {1, 5, 2, 1},   // bottom clamps
        {6, 5, 0, 1},   // own row of a ratio between rows
        {2, 1, 0, 7},   // own row
        {6, 1, 1, -1},  // nothing larger
        {1, 10, 2, -1}, // nothing smaller
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CZoomRatio(c.numerator, c.denominator).FindStep(c.direction))
            << c.numerator << "/" << c.denominator << " d" << c.direction;
    EXPECT_EQ(0, CZoomRatio().FindStep(0));
}

TEST_F(ZoomRatioTest, ComparisonAndSamenessTakeTheNumbersAsTheyStand)
{
    CZoomRatio ratio(110, 100);
    EXPECT_EQ(3, ratio.Compare(g_ZoomSteps[4]));
    EXPECT_EQ(1, ratio.Compare(g_ZoomSteps[5]));
    EXPECT_EQ(2, CZoomRatio(g_ZoomSteps[6]).Compare(g_ZoomSteps[6]));
    EXPECT_FALSE(CZoomRatio(2, 4).IsSameAs(1, 2));
    EXPECT_TRUE(CZoomRatio(1, 2).IsSameAs(1, 2));
    EXPECT_FALSE(CZoomRatio().IsSameAs(-1, -1));
    EXPECT_TRUE(CZoomRatio().Differs(CZoomRatio(1, 1)));
    EXPECT_FALSE(CZoomRatio(3, 2).Differs(CZoomRatio(3, 2)));
    CZoomRatio unset;
    EXPECT_TRUE(unset.IsUnset());
    EXPECT_EQ(-1, unset.Numerator());
    EXPECT_EQ(-1, unset.Denominator());
}
