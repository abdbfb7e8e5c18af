// When and which picture goes behind the filer panes: the decision per occasion,
// the next change time and the walk through the picture list. Pure; the view loads
// the chosen picture.
#pragma once
#include <windows.h>
#include "app/records/SharedRecords.h"

enum
{
    BACKGROUND_LOAD = 1,   // read the current picture
    BACKGROUND_NEXT = 2,   // choose the next picture of the list
    BACKGROUND_RETIME = 4, // set a new next change time
};

// reason 0 start-up, 1 settings changed, 2 timer, 3 the next-picture command; type
// the change type 0-3; due: now is later than the next change time.
int DecideBackgroundActions(int reason, int type, bool due);
// Type 2: now plus the interval; type 3: today's midnight plus whole intervals until
// after now. An interval of all zeroes counts as one day.
SYSTEMTIME NextBackgroundChangeTime(int type, const SYSTEMTIME& now, int days, int hours, int minutes);
// True when a is later than b (to the minute and below).
bool IsLaterThan(const SYSTEMTIME& a, const SYSTEMTIME& b);

// Walks the list from the entry after current (or from randomValue % count when
// random), marking entries used, and makes the first acceptable entry current.
// With random, used entries are skipped, and all marks are cleared when every entry
// is used. An empty list empties current. The caller holds g_DataMutex.
void ChooseNextBackgroundPicture(CArrayCommonFileEx& list, CString& current, bool random, int randomValue,
                                 bool (*acceptable)(const CString& path, void* context), void* context);
// The name ends in ".BMP", case aside.
bool IsBmpFileName(const CString& path);
