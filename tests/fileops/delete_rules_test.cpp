// The delete worker's decisions as tables: how an entry goes, which protection of a
// file is asked about, which answers keep it, and when its read-only mark is lifted.
#include <gtest/gtest.h>

#include "fileops/delete/DeleteRules.h"

namespace
{

TEST(DeleteRules, AnEntryGoesByWhatItIs)
{
    struct Case
    {
        BOOL virtualEntry, directory, link;
        DeleteWay way;
    } const cases[] = {
        {FALSE, FALSE, FALSE, DELETE_ONE_FILE},
        // A file link is a file.
        {FALSE, FALSE, TRUE, DELETE_ONE_FILE},
        {FALSE, TRUE, FALSE, DELETE_WHOLE_TREE},
        {FALSE, TRUE, TRUE, DELETE_LINK_ONLY},
        // A virtual drive's entry is forgotten, whatever it points at.
        {TRUE, FALSE, FALSE, DELETE_FORGET_VIRTUAL},
        {TRUE, TRUE, FALSE, DELETE_FORGET_VIRTUAL},
        {TRUE, TRUE, TRUE, DELETE_FORGET_VIRTUAL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.way, ChooseDeleteWay(c.virtualEntry, c.directory, c.link))
            << "virtual " << c.virtualEntry << " directory " << c.directory << " link " << c.link;
}

TEST(DeleteRules, AFileIsAskedAboutItsFirstProtectionOnlyAndReadOnlyIsLifted)
{
    const DWORD S = FILE_ATTRIBUTE_SYSTEM, R = FILE_ATTRIBUTE_READONLY, H = FILE_ATTRIBUTE_HIDDEN,
                A = FILE_ATTRIBUTE_ARCHIVE;
    struct Case
    {
        DWORD attributes;
        DWORD asked;
        int slot;
        BOOL liftsReadOnly;
    } const cases[] = {
        {A, 0, -1, FALSE},       {FILE_ATTRIBUTE_NORMAL, 0, -1, FALSE},
        {S, S, 0, FALSE},        {R, R, 1, TRUE},
        {H, H, 2, FALSE},        {S | R, S, 0, TRUE},
        {S | H, S, 0, FALSE},    {R | H | A, R, 1, TRUE},
        {S | R | H, S, 0, TRUE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.attributes);
        EXPECT_EQ(c.asked, DeleteAttributeAsked(c.attributes));
        if (c.slot >= 0)
            EXPECT_EQ(c.slot, DeleteAnswerSlot(c.asked));
        EXPECT_EQ(c.liftsReadOnly, DeleteLiftsReadOnly(c.attributes));
    }
}

TEST(DeleteRules, OnlyASkipKeepsAProtectedFile)
{
    struct Case
    {
        bool goOn, same;
        BOOL keeps;
    } const cases[] = {
        {true, false, FALSE},
        {true, true, FALSE},
        {false, false, TRUE},
        {false, true, TRUE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.keeps, DeleteAnswerKeepsFile(AnswerWithScope(c.goOn, c.same)))
            << "go on " << c.goOn << " same " << c.same;
}

} // namespace
