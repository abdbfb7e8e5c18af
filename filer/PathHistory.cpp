#include "app/NameSortKey.h"
#include "filer/PathHistory.h"

#include <algorithm>
#include <vector>

#include "app/Directories.h"
#include "util/IniFile.h"
#include "util/PathHelpers.h"
#include "framework/FwLock.h"

CArrayPathHistoryInfo g_PathHistory;
CArrayPathHistoryInfo g_PathHistorySnapshot;
LONGLONG g_VisitCounter = 0;
int g_PathHistorySortMode = PATH_HISTORY_BY_VISIT;

namespace
{
typedef CArray<CPathHistoryInfo, const CPathHistoryInfo&> CRecordArray;

BOOL IsNetworkPath(const CString& path)
{
    return !path.IsEmpty() && path[0] == L'\\';
}

int CompareBy(const CPathHistoryInfo& a, const CPathHistoryInfo& b, int sortMode)
{
    if (sortMode == PATH_HISTORY_BY_VISIT)
    {
        if (a.m_visitNumber == b.m_visitNumber)
            return 0;
        return a.m_visitNumber > b.m_visitNumber ? -1 : 1;
    }
    BOOL networkA = IsNetworkPath(a.m_path);
    BOOL networkB = IsNetworkPath(b.m_path);
    if (networkA != networkB)
        return networkA ? 1 : -1;
    return CompareNamesForSort(a.m_path, b.m_path) - 2;
}

// A stable sort keeps records of equal keys in their order, so a sort by visit
// number never swaps two records loaded with the same number.
void SortRecords(CRecordArray& records, int sortMode)
{
    std::vector<CPathHistoryInfo> items;
    items.reserve(static_cast<size_t>(records.GetSize()));
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        items.push_back(std::move(records[i]));
    std::stable_sort(items.begin(), items.end(),
                     [sortMode](const CPathHistoryInfo& a, const CPathHistoryInfo& b) {
                         return CompareBy(a, b, sortMode) < 0;
                     });
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        records[i] = std::move(items[static_cast<size_t>(i)]);
}

INT_PTR FindPath(const CRecordArray& records, LPCWSTR path, int paneNumber)
{
    for (INT_PTR i = 0; i < records.GetSize(); ++i)
        if ((paneNumber < -1 || records[i].m_paneNumber == paneNumber) &&
            records[i].m_path.CompareNoCase(path) == 0)
            return i;
    return -1;
}

const int kAnyPane = -2;
} // namespace

int ComparePathHistory(const CPathHistoryInfo& a, const CPathHistoryInfo& b)
{
    return CompareBy(a, b, g_PathHistorySortMode);
}

CArrayPathHistoryInfo::CArrayPathHistoryInfo() : m_mutex(CreateMutexW(nullptr, FALSE, nullptr)) {}

CArrayPathHistoryInfo::~CArrayPathHistoryInfo()
{
    if (m_mutex)
        CloseHandle(m_mutex);
}

void CArrayPathHistoryInfo::Visit(int paneNumber, LPCWSTR path, int moveToFront)
{
    CHandleLock historyLock(m_mutex);
    INT_PTR found = FindPath(m_records, path, kAnyPane);
    if (found >= 0)
    {
        CPathHistoryInfo& record = m_records[found];
        BOOL samePane = record.m_paneNumber == paneNumber || record.m_paneNumber == -1;
        if (samePane && !moveToFront)
        {
            // Stepping back or forward: the record stays where it stands.
            record.m_paneNumber = paneNumber;
            record.m_visitNumber = g_VisitCounter++;
            return;
        }
        m_records.RemoveAt(found);
    }
    CPathHistoryInfo record;
    record.m_path = path;
    record.m_paneNumber = paneNumber;
    record.m_visitNumber = g_VisitCounter++;
    m_records.InsertAt(0, record);
    if (m_records.GetSize() > kPathHistoryCapacity)
        m_records.RemoveAt(m_records.GetSize() - 1);
    SortRecords(m_records, PATH_HISTORY_BY_VISIT);
}

int CArrayPathHistoryInfo::Step(int paneNumber, int direction, LPCWSTR currentPath, CString& out)
{
    CHandleLock historyLock(m_mutex);
    INT_PTR current = FindPath(m_records, currentPath, paneNumber);
    if (current < 0)
    {
        if (direction == 1)
            return 0;
        current = 0;
    }
    INT_PTR step = direction == 1 ? -1 : 1;
    for (INT_PTR i = current + step; i >= 0 && i < m_records.GetSize(); i += step)
    {
        const CPathHistoryInfo& record = m_records[i];
        // Records of the other pane and vanished directories stay for later.
        if (record.m_paneNumber == paneNumber && DirectoryExists(record.m_path))
        {
            out = record.m_path;
            return 1;
        }
    }
    return 0;
}

void CArrayPathHistoryInfo::GetSortedCopy(CArrayPathHistoryInfo& out, LPCWSTR excludedPath,
                                          int sortMode) const
{
    CRecordArray copy;
    {
        CHandleLock historyLock(m_mutex);
        for (INT_PTR i = 0; i < m_records.GetSize() && copy.GetSize() < kPathHistorySaved; ++i)
        {
            const CPathHistoryInfo& record = m_records[i];
            if (excludedPath && *excludedPath && record.m_path.CompareNoCase(excludedPath) == 0)
                continue;
            if (FindPath(copy, record.m_path, kAnyPane) >= 0)
                continue;
            copy.Add(record);
        }
    }
    if (sortMode != 0)
    {
        g_PathHistorySortMode = sortMode;
        SortRecords(copy, sortMode);
    }
    CHandleLock historyLock(out.m_mutex);
    out.m_records = std::move(copy);
}

void CArrayPathHistoryInfo::LoadFromList(const CStringArray& list)
{
    CHandleLock historyLock(m_mutex);
    INT_PTR count = list.GetSize();
    g_VisitCounter += count;
    m_records.RemoveAll();
    for (INT_PTR i = 0; i < count; ++i)
    {
        CPathHistoryInfo record;
        record.m_path = list[i];
        record.m_paneNumber = -1;
        record.m_visitNumber = g_VisitCounter - i;
        m_records.Add(record);
    }
}

void CArrayPathHistoryInfo::CopyFrom(const CArrayPathHistoryInfo& source)
{
    if (&source == this)
        return;
    CRecordArray copy;
    {
        CHandleLock historyLock(source.m_mutex);
        copy.Copy(source.m_records);
    }
    CHandleLock historyLock(m_mutex);
    m_records = std::move(copy);
}

void CArrayPathHistoryInfo::RemoveAll()
{
    CHandleLock historyLock(m_mutex);
    m_records.RemoveAll();
}

INT_PTR CArrayPathHistoryInfo::GetSize() const
{
    CHandleLock historyLock(m_mutex);
    return m_records.GetSize();
}

CPathHistoryInfo CArrayPathHistoryInfo::GetAt(INT_PTR index) const
{
    CHandleLock historyLock(m_mutex);
    return m_records.GetAt(index);
}

void CArrayPathHistoryInfo::GetPaths(CStringArray& out) const
{
    CHandleLock historyLock(m_mutex);
    out.RemoveAll();
    for (INT_PTR i = 0; i < m_records.GetSize(); ++i)
        out.Add(m_records[i].m_path);
}

void RecordPathVisit(UINT paneNumber, LPCWSTR directory, int moveToFront)
{
    g_PathHistory.Visit(static_cast<int>(paneNumber), directory, moveToFront);
}

void LoadSectionDirHistory(CIniFile& ini)
{
    CStringArray paths;
    ini.GetStringList(L"DIR_HISTORY", L"DIR%d", paths, kPathHistorySaved);
    g_PathHistory.LoadFromList(paths);
}

void SaveSectionDirHistory(CIniFile& ini)
{
    CArrayPathHistoryInfo copy;
    g_PathHistory.GetSortedCopy(copy, nullptr, PATH_HISTORY_BY_VISIT);
    CStringArray paths;
    copy.GetPaths(paths);
    if (!paths.IsEmpty())
        ini.WriteStringList(L"DIR_HISTORY", L"DIR%d", paths);
}
