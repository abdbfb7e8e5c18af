// The viewer's find: forward with wrap-around that stops before where it began, the
// step past a find, backward, case rules and the direction setting.
#include "viewers/text/ViewerText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class ViewerSearch : public ::testing::Test
{
protected:
    void Load(const std::string& s)
    {
        ASSERT_TRUE(text.OpenViewerMemory(s.data(), static_cast<INT64>(s.size()), kViewerNoName, 8, 20,
                                          VIEWER_CODE_ANSI));
        for (int i = 0; i < 500 && !text.IsViewerLoadDone(); ++i)
            Sleep(10);
    }
    // The positions of the finds, in order, until a search fails (at most `limit`).
    std::vector<INT64> Finds(BOOL forward, int limit = 8)
    {
        std::vector<INT64> found;
        while (static_cast<int>(found.size()) < limit && text.SearchViewerText(forward))
            found.push_back(text.GetSearchPosition());
        return found;
    }
    CViewerText text;
};

// "abc" at 0 and 22, "ABC" at 11; one line each (width 20).
const std::string kText = "abc-------\nABC-------\nabc";

TEST_F(ViewerSearch, ForwardAndBackward)
{
    struct
    {
        const char* name;
        std::string what;
        BOOL ignoreCase;
        int direction;
        INT64 start; // -1: from the first shown line (line 1)
        BOOL forward;
        std::vector<INT64> finds;
    } cases[] = {
        {"forward from the top line wraps and stops before its start", "abc", FALSE, 0, -1, TRUE, {22, 0}},
        {"ignore case finds both spellings", "abc", TRUE, 0, -1, TRUE, {11, 22, 0}},
        {"backward from a start", "abc", FALSE, 0, 15, FALSE, {0, 22}},
        {"the direction setting turns the argument round", "abc", FALSE, 1, 15, TRUE, {0, 22}},
        {"no match", "xyz", TRUE, 0, -1, TRUE, {}},
        {"a match may end at the last byte", "c", FALSE, 0, 23, TRUE, {24, 2}},
    };
    Load(kText);
    for (const auto& c : cases)
    {
        text.SetTopLine(1);
        text.SetSearch(c.what, c.ignoreCase, c.direction);
        if (c.start >= 0)
            text.SetSearchStart(c.start);
        EXPECT_EQ(Finds(c.forward, static_cast<int>(c.finds.size()) + 1), c.finds) << c.name;
    }
}

TEST_F(ViewerSearch, ASecondForwardSearchStartsOneByteOn)
{
    Load("aaaa");
    text.SetSearch("aa", FALSE, 0);
    text.SetSearchStart(0);
    ASSERT_TRUE(text.SearchViewerText(TRUE));
    EXPECT_EQ(text.GetSearchPosition(), 0);
    ASSERT_TRUE(text.SearchViewerText(TRUE));
    EXPECT_EQ(text.GetSearchPosition(), 1);
    ASSERT_TRUE(text.SearchViewerText(TRUE));
    EXPECT_EQ(text.GetSearchPosition(), 2);
}

TEST_F(ViewerSearch, NothingLoadedFindsNothing)
{
    text.SetSearch("a", FALSE, 0);
    EXPECT_FALSE(text.SearchViewerText(TRUE));
}

} // namespace
