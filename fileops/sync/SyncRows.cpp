// The synchronisation rows: decisions, order and the folder-deletion rule.
#include "fileops/sync/SyncRows.h"

#include "app/NameSortKey.h"
#include "util/PathHelpers.h"

#include <algorithm>
#include <vector>

static LONGLONG TimeValue(const FILETIME& time)
{
    return static_cast<LONGLONG>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

void DecideSyncAction(CSyncData& row, const WIN32_FIND_DATAW* destination, const SyncSettings& settings)
{
    if (row.m_flags & SYNC_BLOCKED)
    {
        row.m_action = SYNC_NOTHING;
        return;
    }
    if (!(row.m_flags & SYNC_IN_SOURCE))
    {
        row.m_action = settings.deleteMissing ? SYNC_DELETE : SYNC_NOTHING;
        return;
    }
    if (destination == nullptr || (destination->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    {
        // A stale presence from an earlier destination must not survive a new one.
        row.m_flags &= ~SYNC_IN_DEST;
        row.m_action = settings.copyMissing ? SYNC_TO_DEST : SYNC_NOTHING;
        return;
    }
    row.m_flags |= SYNC_IN_DEST;
    row.m_destinationTime = destination->ftLastWriteTime;
    const LONGLONG source = TimeValue(row.m_entry.m_findData.ftLastWriteTime);
    const LONGLONG target = TimeValue(row.m_destinationTime);
    if (target + kSyncTimeSlack < source)
        row.m_action = settings.olderWins ? SYNC_TO_SRC : SYNC_TO_DEST;
    else if (source + kSyncTimeSlack < target)
        row.m_action = settings.olderWins ? SYNC_TO_DEST : SYNC_TO_SRC;
    else
        row.m_action = SYNC_NOTHING;
}

static std::vector<CString> PathComponents(const CSyncData& row)
{
    CString path = row.m_relativeFolder;
    if (row.m_entry.IsDirectory())
    {
        if (!path.IsEmpty())
            path += L"\\";
        path += row.m_entry.GetName();
    }
    std::vector<CString> parts;
    int start = 0;
    while (start < path.GetLength())
    {
        int slash = path.Find(L'\\', start);
        if (slash < 0)
            slash = path.GetLength();
        parts.push_back(path.Mid(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

static int Sign(int order)
{
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

static int CompareNames(LPCWSTR a, LPCWSTR b)
{
    // CompareNamesForSort: 1 less, 2 equal, 3 greater.
    const int order = CompareNamesForSort(a, b);
    return order == 0 ? 0 : order - 2;
}

static int ComparePaths(const CSyncData& a, const CSyncData& b)
{
    const std::vector<CString> left = PathComponents(a);
    const std::vector<CString> right = PathComponents(b);
    for (size_t i = 0; i < left.size() && i < right.size(); ++i)
    {
        const int order = CompareNames(left[i], right[i]);
        if (order != 0)
            return order;
    }
    if (left.size() != right.size())
        return left.size() < right.size() ? -1 : 1;
    const BOOL folderA = a.m_entry.IsDirectory();
    const BOOL folderB = b.m_entry.IsDirectory();
    if (folderA != folderB)
        return folderA ? -1 : 1;
    return 0;
}

int CompareSyncRows(const CSyncData& a, const CSyncData& b, int column, BOOL descending)
{
    int order = 0;
    const int byName = Sign(CompareNames(a.m_entry.GetName(), b.m_entry.GetName()));
    switch (column)
    {
    case SYNC_SORT_NAME:
        order = byName != 0 ? byName : ComparePaths(a, b);
        break;
    case SYNC_SORT_PATH:
        order = ComparePaths(a, b);
        if (order == 0)
            order = byName;
        break;
    case SYNC_SORT_ACTION:
        order = a.m_action < b.m_action ? -1 : a.m_action > b.m_action ? 1 : 0;
        if (order == 0)
            order = ComparePaths(a, b);
        if (order == 0)
            order = byName;
        break;
    default:
        return 0;
    }
    return descending ? -order : order;
}

void SortSyncRows(CSyncDataArray& rows, int column, BOOL descending)
{
    std::vector<CSyncData> sorted;
    sorted.reserve(static_cast<size_t>(rows.GetSize()));
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        sorted.push_back(rows[i]);
    std::stable_sort(sorted.begin(), sorted.end(), [&](const CSyncData& a, const CSyncData& b) {
        return CompareSyncRows(a, b, column, descending) < 0;
    });
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        rows[i] = sorted[static_cast<size_t>(i)];
}

void KeepFoldersWithKeptContents(CSyncDataArray& rows)
{
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
    {
        CSyncData& folder = rows[i];
        if (!folder.m_entry.IsDirectory() || folder.m_action != SYNC_DELETE)
            continue;
        CString path = folder.m_relativeFolder;
        if (!path.IsEmpty())
            path += L"\\";
        path += folder.m_entry.GetName();
        const CString below = path + L"\\";
        for (INT_PTR j = 0; j < i; ++j)
        {
            const CString& inner = rows[j].m_relativeFolder;
            const BOOL inside =
                inner.CompareNoCase(path) == 0 || (inner.GetLength() > below.GetLength() &&
                                                   inner.Left(below.GetLength()).CompareNoCase(below) == 0);
            if (inside && rows[j].m_action != SYNC_DELETE)
            {
                folder.m_action = SYNC_NOTHING;
                break;
            }
        }
    }
}

CString SyncActionText(const CSyncData& row)
{
    switch (row.m_action)
    {
    case SYNC_TO_DEST:
        return (row.m_flags & SYNC_IN_DEST) ? L"▼" : L"▽";
    case SYNC_TO_SRC:
        return L"▲";
    case SYNC_DELETE:
        return L"削除";
    default:
        return L"×";
    }
}

void ApplySyncButton(CSyncData& row, int action)
{
    if (row.m_flags & SYNC_BLOCKED)
    {
        row.m_action = SYNC_NOTHING;
        return;
    }
    switch (action)
    {
    case SYNC_TO_DEST:
        row.m_action = (row.m_flags & SYNC_IN_SOURCE) ? SYNC_TO_DEST : SYNC_NOTHING;
        break;
    case SYNC_TO_SRC:
        if (row.m_flags & SYNC_IN_DEST)
            row.m_action = SYNC_TO_SRC;
        break;
    case SYNC_DELETE:
        if (row.m_flags == SYNC_IN_DEST)
            row.m_action = SYNC_DELETE;
        break;
    default:
        row.m_action = SYNC_NOTHING;
        break;
    }
}
