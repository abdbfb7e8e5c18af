// A pane's sort order and the sort that puts a listing into display order.
#pragma once
#include <windows.h>

class CArrayFileInfo;
class CFileInfo;

// Sort keys as the setting stores them. The first file key is 0-based
// (SORT_KEY_NAME .. SORT_KEY_NONE); the second file key and the directory key are
// 1-based (SORT_KEY_NAME + 1 ..), any other value meaning none.
enum
{
    SORT_KEY_NAME = 0,
    SORT_KEY_TIME = 1,
    SORT_KEY_SIZE = 2,
    SORT_KEY_EXTENSION = 3,
    SORT_KEY_ATTRIBUTES = 4,
    SORT_KEY_NONE = 5,
};

// Nine 32-bit values, in this order. A setting whose first two values are -1 is
// unset.
struct CSortSetting
{
    int m_fileKey;        // 1: first file key, 0-based
    int m_secondKey;      // 2: second file key, 1-based
    int m_value3;         // 3: not read by the sort
    int m_directoryKey;   // 4: directory key, 1-based; otherwise the file keys apply
    int m_value5;         // 5: not read by the sort
    int m_value6;         // 6: not read by the sort
    int m_directoryOrder; // 7: 0 ascending, 1 descending
    int m_fileOrder;      // 8: 0 ascending, 1 descending
    int m_mixDirectories; // 9: nonzero: no directory group

    // Value 1 to 9 as the settings table numbers them; a number outside reads as 0
    // and is not stored.
    int GetValue(int number) const { return IsValueNumber(number) ? this->*kValueMembers[number - 1] : 0; }
    void SetValue(int number, int value)
    {
        if (IsValueNumber(number))
            this->*kValueMembers[number - 1] = value;
    }
    // The first two values are both not -1.
    BOOL IsSet() const { return m_fileKey != -1 && m_secondKey != -1; }

    static constexpr int kValueCount = 9;
    static bool IsValueNumber(int number) { return number >= 1 && number <= kValueCount; }
    // The members by value number: the nine ints are separate members, and walking
    // from the address of the first one to the others is not defined behaviour.
    static constexpr int CSortSetting::*kValueMembers[kValueCount] = {
        &CSortSetting::m_fileKey,        &CSortSetting::m_secondKey, &CSortSetting::m_value3,
        &CSortSetting::m_directoryKey,   &CSortSetting::m_value5,    &CSortSetting::m_value6,
        &CSortSetting::m_directoryOrder, &CSortSetting::m_fileOrder, &CSortSetting::m_mixDirectories,
    };
};

// The first six values to -1, the last three to 0.
void ResetSortSetting(CSortSetting& setting);

// The slot of pane 0 or 1 in the settings (SORTWAY, SECONDSORTWAYFLAG, -, SORT_DIR_WAY1,
// -, -, SORT_DIR_ORDER1, SORTORDER, SORT_NEGLECT_FILE_KIND1, resp. the pane-2 keys);
// the values without a setting read as 0 and are not stored.
void GetPaneSortSetting(int pane, CSortSetting& out);
// Stores into the pane's slot, into both slots while CHYNCROSORT is on.
void SetPaneSortSetting(int pane, const CSortSetting& setting);

// 1 to 5 give 0 to 4 (SORT_KEY_*); every other value gives SORT_KEY_NONE.
int MapSortKey(int value);

// The keys of the running sort: three file keys, three directory keys (SORT_KEY_*),
// the directory order and the file order (0 ascending, 1 descending). A directory
// key list that starts with SORT_KEY_NONE makes the file keys and order apply to
// directories too.
struct SortKeys
{
    int fileKeys[3];
    int directoryKeys[3];
    int directoryOrder;
    int fileOrder;
};
extern SortKeys g_SortKeys;

// Fills `out` with the keys and orders a sort by the setting uses. `network`: the
// fixed order of the network list (no directory keys).
void BuildSortKeysInto(const CSortSetting& setting, BOOL network, SortKeys& out);
// The same into g_SortKeys, for the sort that is about to run.
void BuildSortKeys(const CSortSetting& setting, BOOL network);

// The comparison handed to qsort: two CFileInfo records compared on the three keys
// of the group being sorted, in its order; -1, 0 or +1.
int __cdecl CompareEntriesForSort(const void* left, const void* right);

// Puts a listing into display order: "." first, ".." next, then (unless the setting
// mixes them) the directories, then the files, each group sorted on its keys.
// Returns the number of dot entries at the front (0 to 2).
int SortFileEntries(CArrayFileInfo& entries, const CSortSetting& setting);
