// The synchronisation worker's decisions for one row as tables: the side it writes,
// when its folder is made first, and how an entry to be deleted goes.
#include <gtest/gtest.h>

#include "fileops/sync/SyncRows.h"
#include "fileops/sync/SyncSteps.h"

namespace
{

TEST(SyncSteps, ARowWritesItsSideAndMakesItsFolderThereWhenItCopies)
{
    struct Case
    {
        int action;
        const wchar_t* folder;
        BOOL writesSource;
        BOOL makesFolder;
    } const cases[] = {
        {SYNC_TO_DEST, L"", FALSE, FALSE},  {SYNC_TO_DEST, L"a\\b", FALSE, TRUE},
        {SYNC_TO_SRC, L"", TRUE, FALSE},    {SYNC_TO_SRC, L"a", TRUE, TRUE},
        {SYNC_DELETE, L"", FALSE, FALSE},   {SYNC_DELETE, L"a", FALSE, FALSE},
        {SYNC_NOTHING, L"a", FALSE, FALSE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "action " << c.action << " folder " << (c.folder[0] ? "set" : "empty"));
        EXPECT_EQ(c.writesSource, SyncRowWritesSource(c.action));
        EXPECT_EQ(c.makesFolder, SyncRowMakesFolder(c.action, c.folder));
    }
}

TEST(SyncSteps, ADeletionLiftsTheProtectionOfAllButLinksAndPutsItBackWhenTheEntryStays)
{
    const DWORD D = FILE_ATTRIBUTE_DIRECTORY, L = FILE_ATTRIBUTE_REPARSE_POINT, R = FILE_ATTRIBUTE_READONLY,
                H = FILE_ATTRIBUTE_HIDDEN, A = FILE_ATTRIBUTE_ARCHIVE, N = FILE_ATTRIBUTE_NORMAL;
    const DWORD kNone = INVALID_FILE_ATTRIBUTES;
    struct Case
    {
        DWORD attributes;
        SyncDeleteWay way;
        DWORD lifted;
        DWORD restored;
    } const cases[] = {
        {A, SYNC_DELETE_FILE, N, A},
        {R | H, SYNC_DELETE_FILE, N, R | H},
        // A file link is deleted as a file; it gets back all but the link mark.
        {L | A, SYNC_DELETE_FILE, N, A},
        {D, SYNC_DELETE_FOLDER, A, D},
        {D | R, SYNC_DELETE_FOLDER, A, D | R},
        {D | L, SYNC_DELETE_LINK, 0, kNone},
        {D | L | R, SYNC_DELETE_LINK, 0, kNone},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::hex << c.attributes);
        const SyncDeleteStep step = PlanSyncDelete(c.attributes);
        EXPECT_EQ(c.way, step.way);
        EXPECT_EQ(c.lifted, step.lifted);
        EXPECT_EQ(c.restored, step.restored);
    }
}

} // namespace
