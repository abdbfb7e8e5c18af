// The remembered lists follow their size settings: the destination history is cut,
// the cursor names are sized while they are kept and emptied while they are not.
#include "filer/RememberedLists.h"

#include "app/Settings.h"
#include "app/settings/FileOpSettings.h"
#include "app/settings/FilerSettings.h"

#include <gtest/gtest.h>

namespace
{

TEST(RememberedLists, TrimSelectDirHistoryCutsOnlyALongerList)
{
    CStringArray saved;
    saved.Copy(g_SelectDirHistory);
    struct Case
    {
        int entries, count, expected;
    };
    for (Case c : {Case{5, 3, 3}, Case{2, 3, 2}, Case{4, 0, 0}, Case{4, -1, 0}})
    {
        g_SelectDirHistory.RemoveAll();
        for (int i = 0; i < c.entries; ++i)
            g_SelectDirHistory.Add(L"C:\\dir");
        TrimSelectDirHistory(c.count);
        EXPECT_EQ(g_SelectDirHistory.GetSize(), c.expected) << c.entries << " " << c.count;
    }
    g_SelectDirHistory.Copy(saved);
}

TEST(RememberedLists, ApplyCursorPositionListSizeFollowsTheSettings)
{
    int savedOn = g_SAVECURSORPOSITION, savedSum = g_SUMSAVECURPOS;
    struct Case
    {
        int on, sum, previous, startSize, expected;
    };
    const Case cases[] = {
        {1, 30, 10, 10, 30}, // grown to the new size
        {1, 5, 30, 30, 5},   // cut to it
        {1, 30, 30, 7, 7},   // unchanged size: left alone
        {0, 30, 30, 30, 0},  // switched off: emptied
        {1, 0, 30, 30, 0},   // no entries wanted: emptied
    };
    for (const Case& c : cases)
    {
        g_SAVECURSORPOSITION = c.on;
        g_SUMSAVECURPOS = c.sum;
        g_SaveCursorPositions.SetSize(c.startSize);
        ApplyCursorPositionListSize(c.previous);
        EXPECT_EQ(g_SaveCursorPositions.GetSize(), c.expected) << c.on << " " << c.sum << " " << c.previous;
    }
    g_SAVECURSORPOSITION = savedOn;
    g_SUMSAVECURPOS = savedSum;
    g_SaveCursorPositions.SetSize(savedSum > 0 ? savedSum : 0);
}

} // namespace
