// The thumbnail loader's queue and its folder lists.
#include "graphics/preview/PreviewFolders.h"
#include "graphics/preview/PreviewQueue.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

namespace
{
WIN32_FIND_DATAW Entry(const wchar_t* name, DWORD size, DWORD time)
{
    WIN32_FIND_DATAW data = {};
    wcscpy_s(data.cFileName, name);
    data.nFileSizeLow = size;
    data.ftLastWriteTime.dwLowDateTime = time;
    return data;
}

void MarkDone(CPreviewQueue& queue)
{
    while (CPreviewInfo* item = queue.FindQueued(nullptr))
        item->state = PREVIEW_READY;
}

BYTE TypeOf(const PreviewSettings& lists, const wchar_t* folder)
{
    BYTE type = 0;
    return IsPreviewDirectory(lists, folder, &type) ? type : 0;
}
} // namespace

TEST(PreviewLoaderQueueTest, ARelistedFolderKeepsUnchangedThumbnailsAndRequeuesChangedOnes)
{
    CPreviewQueue queue;
    queue.QueueEntry(1, L"C:\\pics", Entry(L"a.bmp", 10, 1), L"");
    queue.QueueEntry(1, L"C:\\pics", Entry(L"b.bmp", 10, 1), L"");
    queue.QueueEntry(1, L"C:\\pics", Entry(L"c.bmp", 10, 1), L"");
    queue.EndQueueing(10000);
    MarkDone(queue);
    queue.Find(L"C:\\pics", L"a.bmp")->drawnState[0] = PREVIEW_READY;

    queue.QueueEntry(1, L"c:\\PICS", Entry(L"A.BMP", 10, 1), L""); // unchanged
    queue.QueueEntry(1, L"C:\\pics", Entry(L"b.bmp", 11, 1), L""); // size
    queue.QueueEntry(1, L"C:\\pics", Entry(L"c.bmp", 10, 2), L""); // time
    queue.EndQueueing(10000);
    EXPECT_EQ(1, queue.GetFolderCount());
    EXPECT_EQ(PREVIEW_READY, queue.Find(L"C:\\pics", L"a.bmp")->state);
    EXPECT_EQ(0, queue.Find(L"C:\\pics", L"a.bmp")->drawnState[0]);
    EXPECT_EQ(PREVIEW_QUEUED, queue.Find(L"C:\\pics", L"b.bmp")->state);
    EXPECT_EQ(PREVIEW_QUEUED, queue.Find(L"C:\\pics", L"c.bmp")->state);

    MarkDone(queue);
    queue.Find(L"C:\\pics", L"b.bmp")->state = PREVIEW_NONE;
    queue.Requeue(false);
    EXPECT_EQ(PREVIEW_READY, queue.Find(L"C:\\pics", L"a.bmp")->state);
    EXPECT_EQ(PREVIEW_QUEUED, queue.Find(L"C:\\pics", L"b.bmp")->state);
    queue.Requeue(true);
    EXPECT_EQ(PREVIEW_QUEUED, queue.Find(L"C:\\pics", L"a.bmp")->state);
}

TEST(PreviewLoaderQueueTest, TrimmingDropsOldFoldersButNeverTheCurrentOrAPanesFolder)
{
    CPreviewQueue queue;
    const wchar_t* folders[] = {L"C:\\one", L"C:\\two", L"C:\\three", L"C:\\four"};
    for (const wchar_t* folder : folders)
    {
        for (int i = 0; i < 3; ++i)
        {
            wchar_t name[16];
            swprintf_s(name, L"%d.bmp", i);
            queue.QueueEntry(1, folder, Entry(name, 1, 1), L"");
        }
        queue.EndQueueing(10000);
    }
    queue.SetPaneFolder(1, L"c:\\TWO");
    // Four folders of three and room for five items: the oldest goes, then trimming
    // stops at the folder a pane shows.
    queue.QueueEntry(1, L"C:\\four", Entry(L"0.bmp", 1, 1), L"");
    queue.EndQueueing(5);
    ASSERT_EQ(3, queue.GetFolderCount());
    EXPECT_STREQ(L"C:\\four", queue.GetFolder(0).folder);
    EXPECT_STREQ(L"C:\\three", queue.GetFolder(1).folder);
    EXPECT_STREQ(L"C:\\two", queue.GetFolder(2).folder);

    // The current generation is never trimmed, however small the limit.
    CPreviewQueue current;
    current.QueueEntry(1, L"C:\\big", Entry(L"a.bmp", 1, 1), L"");
    current.QueueEntry(1, L"C:\\big", Entry(L"b.bmp", 1, 1), L"");
    current.EndQueueing(1);
    EXPECT_EQ(1, current.GetFolderCount());
}

TEST(PreviewLoaderQueueTest, FolderListsEnableDisableAndSwitch)
{
    PreviewSettings lists;
    EnablePreviewDirectory(lists, L"C:\\tree", 2);
    EnablePreviewDirectory(lists, L"C:\\one", 1);
    EXPECT_EQ(2, TypeOf(lists, L"c:\\TREE"));
    EXPECT_EQ(1, TypeOf(lists, L"C:\\tree\\sub\\deeper"));
    EXPECT_EQ(0, TypeOf(lists, L"C:\\treetop"));
    EXPECT_EQ(1, TypeOf(lists, L"C:\\one"));
    EXPECT_EQ(0, TypeOf(lists, L"C:\\one\\sub"));

    // The switch takes a folder of its own off by the disabled list...
    DisablePreviewDirectory(lists, L"C:\\one", false);
    EXPECT_EQ(0, TypeOf(lists, L"C:\\one"));
    EXPECT_EQ(2, lists.enabledDirs.GetCount());
    ASSERT_EQ(1, lists.disabledDirs.GetCount());
    // ...removes a tree member's entry without listing it...
    EnablePreviewDirectory(lists, L"C:\\member", 3);
    DisablePreviewDirectory(lists, L"C:\\member", false);
    EXPECT_EQ(0, TypeOf(lists, L"C:\\member"));
    EXPECT_EQ(2, lists.enabledDirs.GetCount());
    EXPECT_EQ(1, lists.disabledDirs.GetCount());
    // ...and lists a folder under a type-2 parent; enabling takes it off again.
    DisablePreviewDirectory(lists, L"C:\\tree\\sub", false);
    ASSERT_EQ(2, lists.disabledDirs.GetCount());
    EXPECT_EQ(0, TypeOf(lists, L"C:\\tree\\sub"));
    EXPECT_EQ(1, TypeOf(lists, L"C:\\tree\\sub\\below"));
    EnablePreviewDirectory(lists, L"C:\\tree\\sub", 1);
    EXPECT_EQ(1, lists.disabledDirs.GetCount());
    EXPECT_EQ(1, TypeOf(lists, L"C:\\tree\\sub"));
    // Enabling an enabled folder changes its type only to 2.
    EnablePreviewDirectory(lists, L"C:\\tree\\sub", 3);
    EXPECT_EQ(1, TypeOf(lists, L"C:\\tree\\sub"));
}

TEST(PreviewLoaderQueueTest, ATreeSwitchMarksEveryFolderBelowAndRemovesThemAgain)
{
    CString root = CString(qvtest::ScratchDir().c_str()) + L"\\preview_tree";
    CreateDirectoryW(root, nullptr);
    CreateDirectoryW(root + L"\\a", nullptr);
    CreateDirectoryW(root + L"\\a\\b", nullptr);
    CloseHandle(CreateFileW(root + L"\\file.bmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    PreviewSettings lists;
    EnablePreviewDirectory(lists, L"C:\\elsewhere", 1);
    TogglePreviewTree(lists, root);
    EXPECT_EQ(4, lists.enabledDirs.GetCount());
    EXPECT_EQ(3, TypeOf(lists, root));
    EXPECT_EQ(3, TypeOf(lists, root + L"\\a\\b"));
    EXPECT_EQ(0, TypeOf(lists, root + L"\\file.bmp"));
    TogglePreviewTree(lists, root);
    ASSERT_EQ(1, lists.enabledDirs.GetCount());
    EXPECT_STREQ(L"C:\\elsewhere", lists.enabledDirs[0].folder);
}
