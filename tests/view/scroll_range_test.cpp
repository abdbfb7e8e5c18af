// The numbers the scroll bars are set to.
#include "view/scroll/ScrollRange.h"

#include <gtest/gtest.h>

namespace
{

TEST(ScrollRange, ListsMoveByGridLinesAndAZeroStepCountsAsOne)
{
    struct Case
    {
        INT64 entries, first;
        int step;
        int maximum, position;
    } cases[] = {
        {100, 30, 3, 33, 10},
        {100, 30, 0, 100, 30}, // before the first layout
        {100, 30, -2, 100, 30},
        {0, 0, 4, 0, 0},
        {5000000000LL, 2500000000LL, 1, 2147483647, 1073741823},
    };
    for (const Case& c : cases)
    {
        PaneScrollRange range = ListScrollRange(c.entries, c.first, c.step);
        EXPECT_EQ(range.minimum, 0);
        EXPECT_EQ(range.maximum, c.maximum) << c.entries << " " << c.step;
        EXPECT_EQ(range.position, c.position) << c.entries << " " << c.step;
    }
}

TEST(ScrollRange, LongTextsAreScaledToTwoThousandSteps)
{
    struct Case
    {
        INT64 lines, first;
        int maximum, position;
    } cases[] = {
        {1999, 1500, 1999, 1500},     {2000, 1000, 2000, 1000}, {100000, 50000, 2000, 1000},
        {250000, 125000, 2000, 1000}, {250000, 0, 2000, 0},     {250000, 250000, 2000, 2000},
    };
    for (const Case& c : cases)
    {
        PaneScrollRange range = LineScrollRange(c.lines, c.first);
        EXPECT_EQ(range.maximum, c.maximum) << c.lines;
        EXPECT_EQ(range.position, c.position) << c.lines << " " << c.first;
    }
}

TEST(ScrollRange, ADroppedThumbShowsTheLineItStandsFor)
{
    struct Case
    {
        INT64 lines;
        int thumb;
        INT64 first;
    } cases[] = {
        {500000, 1000, 250000}, {100000, 1000, 50000}, {1999, 1500, 1500},
        {2000, 2000, 2000},     {100000, -3, 0},
    };
    for (const Case& c : cases)
    {
        const INT64 first = LineFromScrollThumb(c.lines, c.thumb);
        EXPECT_EQ(first, c.first) << c.lines << " " << c.thumb;
        // The bar set for that line puts the thumb back where it was dropped.
        if (c.thumb >= 0)
            EXPECT_EQ(LineScrollRange(c.lines, first).position, c.thumb) << c.lines;
    }
}

} // namespace
