// The history of the directories both filer panes have shown: stepping back and
// forward per pane, the directory history dialog's list and the recent directories of
// the move-to-directory dialog. Index 0 is the newest visit.
#pragma once
#include <windows.h>
#include "framework/FwCollections.h"
#include "framework/FwString.h"

class CIniFile;

class CPathHistoryInfo
{
public:
    CString m_path;
    int m_paneNumber = -1;      // the pane that visited it last; -1 when loaded from the file
    LONGLONG m_visitNumber = 0; // larger is newer
};

// Records in memory and records saved.
constexpr int kPathHistoryCapacity = 900;
constexpr int kPathHistorySaved = 300;

// Sort modes of the records.
enum
{
    PATH_HISTORY_BY_VISIT = 1, // newest first
    PATH_HISTORY_BY_NAME = 2,  // drive paths by name, then network paths by name
};

// The records behind a mutex of their own; every operation holds it throughout.
class CArrayPathHistoryInfo
{
public:
    CArrayPathHistoryInfo();
    ~CArrayPathHistoryInfo();
    CArrayPathHistoryInfo(const CArrayPathHistoryInfo&) = delete;
    CArrayPathHistoryInfo& operator=(const CArrayPathHistoryInfo&) = delete;

    // Records that pane `paneNumber` shows `path`. moveToFront 1 for ordinary
    // navigation; 0 when stepping back or forward, which updates a record of the same
    // pane in place so that stepping does not reorder the history.
    void Visit(int paneNumber, LPCWSTR path, int moveToFront);
    // The next existing directory of the pane from `currentPath`: direction 0 older,
    // 1 newer. 1 with the path in `out`, or 0.
    int Step(int paneNumber, int direction, LPCWSTR currentPath, CString& out);
    // Fills `out` with at most 300 records, no path twice (case aside), skipping
    // `excludedPath` when given; sorted by `sortMode` unless it is 0.
    void GetSortedCopy(CArrayPathHistoryInfo& out, LPCWSTR excludedPath, int sortMode) const;
    // Replaces the records by the list, the first string the newest (pane -1).
    void LoadFromList(const CStringArray& list);
    // Replaces the records by a copy of another history's.
    void CopyFrom(const CArrayPathHistoryInfo& source);
    void RemoveAll();

    INT_PTR GetSize() const;
    // A copy of the record; an index outside the array raises CInvalidArgException.
    CPathHistoryInfo GetAt(INT_PTR index) const;
    // The paths, index 0 first.
    void GetPaths(CStringArray& out) const;

private:
    CArray<CPathHistoryInfo, const CPathHistoryInfo&> m_records;
    HANDLE m_mutex;
};

// Orders two records by g_PathHistorySortMode: qsort-style (<0, 0, >0).
int ComparePathHistory(const CPathHistoryInfo& a, const CPathHistoryInfo& b);

extern CArrayPathHistoryInfo g_PathHistory;
// The copy the directory history dialog shows while it is open.
extern CArrayPathHistoryInfo g_PathHistorySnapshot;
// The number the next visit gets.
extern LONGLONG g_VisitCounter;
// The order ComparePathHistory uses (PATH_HISTORY_BY_*).
extern int g_PathHistorySortMode;

// Matches the pane hook that reports visits: records the visit in g_PathHistory.
void RecordPathVisit(UINT paneNumber, LPCWSTR directory, int moveToFront);

// Section "DIR_HISTORY" of the settings file, keys "DIR0", "DIR1", …: at most 300
// read up to the first missing or empty one; written from the de-duplicated copy,
// newest first, one key per path (none for an empty history).
void LoadSectionDirHistory(CIniFile& ini);
void SaveSectionDirHistory(CIniFile& ini);
