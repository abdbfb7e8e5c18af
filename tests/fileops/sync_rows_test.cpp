// The synchronisation rows: the decided actions with their two-second slack, the
// action buttons, the list order and the folder-deletion rule.
#include "fileops/sync/SyncRows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

const LONGLONG kSecond = 10000000;

FILETIME Time(LONGLONG seconds)
{
    const ULONGLONG value = 130000000000000000ULL + static_cast<ULONGLONG>(seconds * kSecond);
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(value);
    time.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return time;
}

WIN32_FIND_DATAW FindData(LPCWSTR name, BOOL folder, LONGLONG seconds)
{
    WIN32_FIND_DATAW data = {};
    data.dwFileAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    data.ftLastWriteTime = Time(seconds);
    wcscpy(data.cFileName, name);
    return data;
}

CSyncData Row(LPCWSTR folder, LPCWSTR name, BOOL isFolder, BYTE flags, int action = SYNC_NOTHING)
{
    CSyncData row;
    row.m_relativeFolder = folder;
    row.m_entry.m_findData = FindData(name, isFolder, 0);
    row.m_flags = flags;
    row.m_action = action;
    return row;
}

TEST(SyncRows, ActionsFollowTimesModeAndSettings)
{
    enum
    {
        NONE,
        FILE,
        FOLDER
    };
    struct Case
    {
        BYTE flags;
        int destination; // NONE, FILE or FOLDER of the same name
        LONGLONG sourceSeconds, destinationSeconds;
        SyncSettings settings;
        int action;
        LPCWSTR shown;
    } cases[] = {
        {SYNC_IN_SOURCE, FILE, 12, 10, {1, 0, 0}, SYNC_NOTHING, L"×"},
        {SYNC_IN_SOURCE, FILE, 10, 12, {1, 1, 0}, SYNC_NOTHING, L"×"},
        {SYNC_IN_SOURCE, FILE, 13, 10, {1, 0, 0}, SYNC_TO_DEST, L"▼"},
        {SYNC_IN_SOURCE, FILE, 13, 10, {1, 1, 0}, SYNC_TO_SRC, L"▲"},
        {SYNC_IN_SOURCE, FILE, 10, 13, {1, 0, 0}, SYNC_TO_SRC, L"▲"},
        {SYNC_IN_SOURCE, FILE, 10, 13, {1, 1, 0}, SYNC_TO_DEST, L"▼"},
        // Defaults: a file missing at the destination is copied there, one missing at
        // the source is left alone.
        {SYNC_IN_SOURCE, NONE, 0, 0, SyncSettings(), SYNC_TO_DEST, L"▽"},
        {SYNC_IN_SOURCE, FOLDER, 0, 0, SyncSettings(), SYNC_TO_DEST, L"▽"},
        {SYNC_IN_SOURCE, NONE, 0, 0, {0, 0, 0}, SYNC_NOTHING, L"×"},
        {SYNC_IN_DEST, NONE, 0, 0, SyncSettings(), SYNC_NOTHING, L"×"},
        {SYNC_IN_DEST, NONE, 0, 0, {1, 0, 1}, SYNC_DELETE, L"削除"},
        // A presence from an earlier destination goes when the new one lacks the file.
        {SYNC_IN_SOURCE | SYNC_IN_DEST, NONE, 0, 0, SyncSettings(), SYNC_TO_DEST, L"▽"},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        const Case& c = cases[i];
        CSyncData row = Row(L"", L"a.txt", FALSE, c.flags);
        row.m_entry.m_findData.ftLastWriteTime = Time(c.sourceSeconds);
        const WIN32_FIND_DATAW destination =
            FindData(L"a.txt", c.destination == FOLDER, c.destinationSeconds);
        DecideSyncAction(row, c.destination == NONE ? nullptr : &destination, c.settings);
        EXPECT_EQ(c.action, row.m_action) << i;
        EXPECT_EQ(std::wstring(c.shown), std::wstring(SyncActionText(row))) << i;
        if (c.destination == FILE)
            EXPECT_EQ(0, CompareFileTime(&destination.ftLastWriteTime, &row.m_destinationTime)) << i;
    }
}

TEST(SyncRows, ButtonsChangeOnlyTheRowsTheyApplyTo)
{
    struct Case
    {
        BYTE flags;
        int before, button, after;
    } cases[] = {
        {SYNC_IN_SOURCE, SYNC_NOTHING, SYNC_TO_DEST, SYNC_TO_DEST},
        {SYNC_IN_DEST, SYNC_DELETE, SYNC_TO_DEST, SYNC_NOTHING},
        {SYNC_IN_SOURCE, SYNC_TO_DEST, SYNC_TO_SRC, SYNC_TO_DEST},
        {SYNC_IN_SOURCE | SYNC_IN_DEST, SYNC_TO_DEST, SYNC_TO_SRC, SYNC_TO_SRC},
        {SYNC_IN_SOURCE | SYNC_IN_DEST, SYNC_TO_SRC, SYNC_NOTHING, SYNC_NOTHING},
        {SYNC_IN_DEST, SYNC_NOTHING, SYNC_DELETE, SYNC_DELETE},
        {SYNC_IN_SOURCE | SYNC_IN_DEST, SYNC_NOTHING, SYNC_DELETE, SYNC_NOTHING},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        CSyncData row = Row(L"", L"a", FALSE, cases[i].flags, cases[i].before);
        ApplySyncButton(row, cases[i].button);
        EXPECT_EQ(cases[i].after, row.m_action) << i;
    }
}

std::vector<std::wstring> Order(const CSyncDataArray& rows)
{
    std::vector<std::wstring> order;
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
    {
        std::wstring path(rows[i].m_relativeFolder);
        order.push_back((path.empty() ? L"" : path + L"\\") + std::wstring(rows[i].m_entry.GetName()));
    }
    return order;
}

TEST(SyncRows, PathOrderPutsFoldersBeforeTheirContentsAndColumnsThreeAndFourKeepTheOrder)
{
    CSyncDataArray rows;
    rows.Add(Row(L"d\\e", L"z.txt", FALSE, SYNC_IN_SOURCE, SYNC_TO_DEST));
    rows.Add(Row(L"", L"b.txt", FALSE, SYNC_IN_SOURCE, SYNC_NOTHING));
    rows.Add(Row(L"", L"d", TRUE, SYNC_IN_DEST, SYNC_DELETE));
    rows.Add(Row(L"d", L"a.txt", FALSE, SYNC_IN_DEST, SYNC_DELETE));
    rows.Add(Row(L"d", L"e", TRUE, SYNC_IN_DEST, SYNC_DELETE));

    SortSyncRows(rows, SYNC_SORT_PATH, FALSE);
    EXPECT_EQ((std::vector<std::wstring>{L"b.txt", L"d", L"d\\a.txt", L"d\\e", L"d\\e\\z.txt"}), Order(rows));
    SortSyncRows(rows, SYNC_SORT_NAME, FALSE);
    EXPECT_EQ((std::vector<std::wstring>{L"d\\a.txt", L"b.txt", L"d", L"d\\e", L"d\\e\\z.txt"}), Order(rows));
    SortSyncRows(rows, SYNC_SORT_ACTION, TRUE);
    EXPECT_EQ((std::vector<std::wstring>{L"d\\e", L"d\\a.txt", L"d", L"d\\e\\z.txt", L"b.txt"}), Order(rows));
    const std::vector<std::wstring> before = Order(rows);
    for (int column : {3, 4})
    {
        SortSyncRows(rows, column, FALSE);
        EXPECT_EQ(before, Order(rows));
    }
    // Descending by path: the contents of a folder come before the folder.
    SortSyncRows(rows, SYNC_SORT_PATH, TRUE);
    EXPECT_EQ((std::vector<std::wstring>{L"d\\e\\z.txt", L"d\\e", L"d\\a.txt", L"d", L"b.txt"}), Order(rows));
}

TEST(SyncRows, FolderMarkedForDeletionStaysWhenSomethingInsideIsKept)
{
    struct Case
    {
        int innerAction;
        int folderD, folderE;
    } cases[] = {
        {SYNC_DELETE, SYNC_DELETE, SYNC_DELETE},
        {SYNC_NOTHING, SYNC_NOTHING, SYNC_NOTHING},
    };
    for (const Case& c : cases)
    {
        CSyncDataArray rows;
        // A sibling whose name only begins like the folder's is not inside it.
        rows.Add(Row(L"dd", L"y.txt", FALSE, SYNC_IN_DEST, SYNC_NOTHING));
        rows.Add(Row(L"d\\E", L"z.txt", FALSE, SYNC_IN_DEST, c.innerAction));
        rows.Add(Row(L"d", L"e", TRUE, SYNC_IN_DEST, SYNC_DELETE));
        rows.Add(Row(L"d", L"a.txt", FALSE, SYNC_IN_DEST, SYNC_DELETE));
        rows.Add(Row(L"", L"d", TRUE, SYNC_IN_DEST, SYNC_DELETE));
        KeepFoldersWithKeptContents(rows);
        EXPECT_EQ(c.folderE, rows[2].m_action);
        EXPECT_EQ(c.folderD, rows[4].m_action);
        EXPECT_EQ(SYNC_DELETE, rows[3].m_action);
    }
}

} // namespace
