// The viewer's find: forward with wrap-around that stops before where it began, the
// step past a find, backward, case rules and the direction setting.
#include "viewers/text/ViewerText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
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

namespace
{
// Over a long Shift-JIS text, with double bytes whose trail bytes are the letters sought
// and long runs of bytes in the lead range, a round of finds from any start gives every
// match once: forward the matches from the start on and then those before it; backward
// those at or before the start, downwards, and then those after it. The matches are the
// character starts (found walking from the beginning) where the text matches; "B"
// stands only in trail bytes and is never found.
TEST_F(ViewerSearch, RoundsOverALongTextFindEveryCharacterStartThatMatches)
{
    std::string s;
    unsigned seed = 7;
    auto next = [&seed]() {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    while (s.size() < 3000)
    {
        switch (next() % 6)
        {
        case 0:
            s += "ab";
            break;
        case 1:
            s += "\x83";
            s += (next() % 2) ? 'a' : 'B';
            break; // a trail byte that is a letter
        case 2:
            s += "\x93\xFA\x96\xE0\x8C\xEA";
            break; // only lead-range bytes
        case 3:
            s += "Ab";
            break;
        case 4:
            s += "\r\n";
            break;
        default:
            s += (char)('c' + next() % 5);
            break;
        }
    }
    std::vector<bool> starts(s.size(), false);
    for (size_t i = 0; i < s.size();)
    {
        starts[i] = true;
        const unsigned char c = (unsigned char)s[i];
        i += ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < s.size() ? 2 : 1;
    }
    Load(s);
    const INT64 end = text.LineIndex()[text.LineCount()];
    ASSERT_EQ(end, (INT64)s.size());
    const struct
    {
        std::string what;
        BOOL ignoreCase;
    } searches[] = {{"ab", FALSE}, {"ab", TRUE}, {"B", FALSE}, {"\x96\xE0", FALSE}, {"a", TRUE}};
    for (const auto& w : searches)
    {
        // Case is folded only where the sought text has a single-byte character.
        std::vector<bool> single(w.what.size(), true);
        for (size_t i = 0; i < w.what.size(); ++i)
        {
            const unsigned char c = (unsigned char)w.what[i];
            if (((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && i + 1 < w.what.size())
            {
                single[i] = single[i + 1] = false;
                ++i;
            }
        }
        std::vector<INT64> matches;
        for (size_t p = 0; p + w.what.size() <= s.size(); ++p)
        {
            bool same = starts[p];
            for (size_t i = 0; same && i < w.what.size(); ++i)
            {
                char a = s[p + i], b = w.what[i];
                if (w.ignoreCase && single[i])
                {
                    a = (char)toupper((unsigned char)a);
                    b = (char)toupper((unsigned char)b);
                }
                same = a == b;
            }
            if (same)
                matches.push_back((INT64)p);
        }
        auto isMatch = [&](INT64 p) { return std::find(matches.begin(), matches.end(), p) != matches.end(); };
        for (INT64 start = 0; start < end; start += 301)
        {
            // Stepping on from a find right beside the start begins a new round (the
            // step lands on the start, or passes it backwards): such starts are left out.
            if (!isMatch(start - 1))
            {
                std::vector<INT64> forward;
                for (INT64 m : matches)
                    if (m >= start)
                        forward.push_back(m);
                for (INT64 m : matches)
                    if (m < start)
                        forward.push_back(m);
                text.SetSearch(w.what, w.ignoreCase, 0);
                text.SetSearchStart(start);
                EXPECT_EQ(Finds(TRUE, (int)forward.size() + 1), forward)
                    << w.what << " forward from " << start;
            }
            if (!isMatch(start + 1) && !isMatch(start + 2))
            {
                std::vector<INT64> backward;
                for (auto m = matches.rbegin(); m != matches.rend(); ++m)
                    if (*m <= start)
                        backward.push_back(*m);
                for (auto m = matches.rbegin(); m != matches.rend(); ++m)
                    if (*m > start)
                        backward.push_back(*m);
                text.SetSearch(w.what, w.ignoreCase, 0);
                text.SetSearchStart(start);
                EXPECT_EQ(Finds(FALSE, (int)backward.size() + 1), backward)
                    << w.what << " backward from " << start;
            }
        }
    }
}
} // namespace
