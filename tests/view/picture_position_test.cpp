// The graphic viewer's place across the picture list and an archive's members.
#include "view/graphic/PicturePosition.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
struct Level
{
    int valid;
    int count;
    int index;
};

CPicturePosition Make(const std::vector<Level>& levels, int carry)
{
    CPicturePosition position;
    for (const Level& level : levels)
    {
        int at = position.PushLevel(level.count, level.valid);
        position.GetLevel(at).index = level.index;
    }
    position.SetCarry(carry);
    return position;
}

std::vector<int> Indices(const CPicturePosition& position)
{
    std::vector<int> out;
    for (int i = 0; i < position.GetLevelCount(); ++i)
        out.push_back(position.GetLevel(i).index);
    return out;
}
} // namespace

TEST(PicturePositionTest, StepsCarryAcrossLevelsAndStopAtTheEnds)
{
    struct Case
    {
        std::vector<Level> levels;
        int carry;
        int result;
        std::vector<int> indices;
    };
    const Case cases[] = {
        {{{1, 3, 2}, {1, 4, 3}}, 1, 3, {3}},    // past the inner end and the outer end
        {{{1, 3, 1}, {1, 4, 3}}, 1, 1, {2}},    // past the inner end: the outer steps
        {{{1, 5, 2}, {1, 4, 0}}, -1, 1, {1}},   // before the inner start: the outer steps back
        {{{1, 3, 1}}, -1, 1, {0}},              // one level back
        {{{1, 3, 0}}, -1, 0, {0}},              // already at the start: nothing happened
        {{{0, 0, 0}, {1, 2, 1}}, 1, 3, {0, 2}}, // a placeholder outer level stays
        {{{0, 0, 0}, {1, 2, 0}}, -1, 0, {0, 0}},
    };
    for (const Case& c : cases)
    {
        CPicturePosition position = Make(c.levels, c.carry);
        EXPECT_EQ(c.result, position.Step()) << c.levels.size() << " levels, carry " << c.carry;
        EXPECT_EQ(c.indices, Indices(position));
        EXPECT_EQ(0, position.GetCarry());
    }
    // A single level moves one entry per call and hands back what is left.
    CPicturePosition several = Make({{1, 5, 1}}, 3);
    EXPECT_EQ(2, several.Step());
    EXPECT_EQ(2, several.GetIndex(0));
    EXPECT_EQ(2, several.GetCarry());
}

TEST(PicturePositionTest, PushLevelStartsAtTheEndOnlyWhenGoingBack)
{
    struct Case
    {
        int direction;
        int count;
        int index;
        int carry;
    };
    const Case cases[] = {{-1, 5, 4, 0}, {0, 5, 0, 0}, {1, 5, 0, 0}, {-1, 0, 0, -1}, {1, 0, 0, 1}};
    for (const Case& c : cases)
    {
        CPicturePosition position;
        position.SetDirection(c.direction);
        EXPECT_EQ(0, position.PushLevel(c.count, 1));
        EXPECT_EQ(c.index, position.GetIndex(0)) << c.direction << " " << c.count;
        EXPECT_EQ(c.carry, position.GetCarry());
    }
}

TEST(PicturePositionTest, AJumpDropsDeeperLevelsAndCountsAsAMove)
{
    CPicturePosition position = Make({{1, 9, 2}, {1, 4, 1}}, 0);
    position.RememberEarliest();
    position.JumpTo(0, 5);
    EXPECT_EQ(1, position.GetLevelCount());
    EXPECT_EQ(1, position.GetLevel(0).flag);
    position.RememberEarliest(); // 5 is later than 2: the earlier place stays
    EXPECT_EQ(2, position.GetRemembered()[0].index);

    // Standing on the remembered place after a jump is a move, not the start.
    CPicturePosition again = Make({{1, 9, 2}}, 0);
    again.RememberEarliest();
    again.JumpTo(0, 3);
    again.JumpTo(0, 2);
    EXPECT_EQ(1, again.Step());
    EXPECT_EQ(0, again.Step());
}

TEST(PicturePositionTest, LevelSelectorsAndEnds)
{
    CPicturePosition single = Make({{1, 3, 1}}, 0);
    EXPECT_EQ(-1, single.GetIndex(1));
    EXPECT_EQ(-1, single.GetCount(1));
    EXPECT_EQ(1, single.GetIndex(7));
    EXPECT_EQ(0, single.IsNested());

    CPicturePosition nested = Make({{0, 0, 0}, {1, 6, 6}}, 0);
    EXPECT_EQ(6, nested.GetIndex(-2));
    EXPECT_EQ(6, nested.GetCount(-1));
    EXPECT_EQ(1, nested.IsAtEnd());
    EXPECT_EQ(1, nested.IsNested());

    CPicturePosition empty;
    EXPECT_EQ(0, empty.IsAtEnd());
    EXPECT_EQ(1, empty.IsAtStart());
    empty.ResetDirection();
    EXPECT_EQ(1, empty.GetDirection());

    CPicturePosition back = Make({{1, 4, 2}}, 0);
    back.SetDirection(-1);
    back.ResetDirection();
    EXPECT_EQ(-1, back.GetCarry());

    back.RememberEarliest();
    back.Reset();
    EXPECT_EQ(1, back.GetRemembered().GetCount());
    back.Clear();
    EXPECT_EQ(0, back.GetRemembered().GetCount());
}
