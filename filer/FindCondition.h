// The search-condition record: the date, size and attribute ranges that a file
// search and a pane's listing filter ask of an entry.
#pragma once
#include <windows.h>

struct CEntryFindData;

struct FindCondition
{
    FILETIME lastAccessTo;
    FILETIME lastAccessFrom;
    FILETIME creationTo;
    FILETIME creationFrom;
    FILETIME updateTo;
    FILETIME updateFrom;
    // Any of read-only 0x1, hidden 0x2, system 0x4, directory 0x10, archive 0x20.
    DWORD attributeMask;
    // 1: entries with none of the attributes 0x37 are accepted.
    int noAttributeFlag;
    LONGLONG sizeMinimum;
    LONGLONG sizeMaximum;
    int lastAccessEnabled;
    int creationEnabled;
    int updateEnabled;
};

// The defaults, which let every entry pass: each date range from 2000-01-01 00:00:00
// to today 23:59:59 local time (stored as UTC), ranges disabled, attribute mask 0x37,
// no-attribute flag 1, sizes 0 to 10^15.
void InitFindCondition(FindCondition& condition);

// The condition test of one entry's find data; a null condition passes everything.
BOOL MatchesFindConditionData(const CEntryFindData& findData, const FindCondition* condition);
