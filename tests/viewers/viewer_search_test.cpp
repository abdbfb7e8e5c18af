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

// Shift-JIS trail bytes lie in the range of ASCII letters: a match starts only where a
// character starts, and case folding never touches a trail byte.
TEST_F(ViewerSearch, MatchesStartAtCharactersAndTrailBytesAreNeverFolded)
{
    // "アイウ" is 83 41 83 43 83 45, "ャ" is 83 61; then "Ae".
    Load("\x83\x41\x83\x43\x83\x45"
         "Ae");
    const struct
    {
        const char* name;
        std::string what;
        BOOL ignoreCase;
        BOOL forward;
        std::vector<INT64> finds;
    } cases[] = {
        {"a letter is not found in a trail byte", "A", FALSE, TRUE, {6}},
        {"nor with case ignored", "e", TRUE, TRUE, {7}},
        {"backward as well", "E", TRUE, FALSE, {7}},
        {"a double byte whose trail is a small letter keeps its case", "\x83\x61", TRUE, TRUE, {}},
        {"a double byte is found where it starts", "\x83\x43", FALSE, TRUE, {2}},
    };
    for (const auto& c : cases)
    {
        text.SetSearch(c.what, c.ignoreCase, 0);
        text.SetSearchStart(0);
        EXPECT_EQ(Finds(c.forward, static_cast<int>(c.finds.size()) + 1), c.finds) << c.name;
    }
}

} // namespace
