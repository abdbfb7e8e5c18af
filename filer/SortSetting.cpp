#include "filer/SortSetting.h"

#include "app/NameSortKey.h"
#include "app/Settings.h"
#include "filer/FileInfo.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

SortKeys g_SortKeys;

namespace
{
// The keys and order of the group qsort is working on.
const int* s_runningKeys = g_SortKeys.fileKeys;
int s_runningOrder = 0;

void SetKeys(int* keys, int first, int second, int third)
{
    keys[0] = first;
    keys[1] = second;
    keys[2] = third;
}

void BuildFileKeys(const CSortSetting& setting, int* keys)
{
    const int first = setting.m_fileKey;
    const int mapped = MapSortKey(setting.m_secondKey);
    const int second = mapped == first ? SORT_KEY_NONE : mapped;
    SetKeys(keys, first, second, SORT_KEY_NONE);
    switch (first)
    {
    case SORT_KEY_NAME:
        if (mapped == SORT_KEY_EXTENSION || mapped == SORT_KEY_NONE)
            SetKeys(keys, SORT_KEY_NAME, SORT_KEY_EXTENSION, SORT_KEY_NONE);
        else if (mapped == SORT_KEY_NAME)
            SetKeys(keys, SORT_KEY_NAME, SORT_KEY_NONE, SORT_KEY_NONE);
        else
            SetKeys(keys, SORT_KEY_NAME, mapped, SORT_KEY_NONE);
        break;
    case SORT_KEY_TIME:
    case SORT_KEY_SIZE:
        if (mapped == SORT_KEY_NAME || mapped == SORT_KEY_NONE)
            SetKeys(keys, first, SORT_KEY_NAME, SORT_KEY_EXTENSION);
        else if (mapped == SORT_KEY_EXTENSION)
            SetKeys(keys, first, SORT_KEY_EXTENSION, SORT_KEY_NAME);
        else
            SetKeys(keys, first, second, SORT_KEY_NONE);
        break;
    case SORT_KEY_EXTENSION:
        if (mapped == SORT_KEY_NAME || mapped == SORT_KEY_NONE)
            SetKeys(keys, SORT_KEY_EXTENSION, SORT_KEY_NAME, SORT_KEY_NONE);
        else if (mapped == SORT_KEY_EXTENSION)
            SetKeys(keys, SORT_KEY_EXTENSION, SORT_KEY_NONE, SORT_KEY_NONE);
        else
            SetKeys(keys, SORT_KEY_EXTENSION, mapped, SORT_KEY_NONE);
        break;
    case SORT_KEY_ATTRIBUTES:
        if (mapped == SORT_KEY_NAME)
            SetKeys(keys, SORT_KEY_ATTRIBUTES, SORT_KEY_NAME, SORT_KEY_NONE);
        else if (mapped == SORT_KEY_EXTENSION)
            SetKeys(keys, SORT_KEY_ATTRIBUTES, SORT_KEY_EXTENSION, SORT_KEY_NONE);
        else if (mapped == SORT_KEY_NONE)
            SetKeys(keys, SORT_KEY_ATTRIBUTES, SORT_KEY_NAME, SORT_KEY_EXTENSION);
        else
            SetKeys(keys, SORT_KEY_ATTRIBUTES, second, SORT_KEY_NONE);
        break;
    case SORT_KEY_NONE:
        SetKeys(keys, SORT_KEY_NONE, SORT_KEY_NONE, SORT_KEY_NONE);
        break;
    default:
        break; // an unknown first key compares equal; the second still applies
    }
}

void BuildDirectoryKeys(const CSortSetting& setting, int* keys)
{
    const int key = MapSortKey(setting.m_directoryKey);
    switch (key)
    {
    case SORT_KEY_NAME:
        SetKeys(keys, SORT_KEY_NAME, SORT_KEY_EXTENSION, SORT_KEY_NONE);
        break;
    case SORT_KEY_EXTENSION:
        SetKeys(keys, SORT_KEY_EXTENSION, SORT_KEY_NAME, SORT_KEY_NONE);
        break;
    case SORT_KEY_NONE:
        SetKeys(keys, SORT_KEY_NONE, SORT_KEY_NONE, SORT_KEY_NONE);
        break;
    default:
        SetKeys(keys, key, SORT_KEY_NAME, SORT_KEY_EXTENSION);
        break;
    }
}

// One key of the running sort at place 0, 1 or 2: 1, 2 or 3 like CFileInfo::CompareBy.
int CompareOnKey(CFileInfo& left, CFileInfo& right, int key, int place)
{
    switch (key)
    {
    case SORT_KEY_NAME:
        return left.CompareBy(COMPARE_BASE_NAME, right);
    case SORT_KEY_TIME:
        switch (g_VIEWFILETIMETYPE)
        {
        case 0:
            return left.CompareBy(COMPARE_CREATION_TIME, right);
        case 1:
            return left.CompareBy(COMPARE_ACCESS_TIME, right);
        case 2:
            return left.CompareBy(COMPARE_WRITE_TIME, right);
        default:
            return COMPARE_EQUAL;
        }
    case SORT_KEY_SIZE:
        return left.CompareBy(COMPARE_SIZE, right);
    case SORT_KEY_EXTENSION:
        return left.CompareBy(COMPARE_EXTENSION, right);
    case SORT_KEY_ATTRIBUTES:
        return left.CompareBy(COMPARE_ATTRIBUTES, right);
    case SORT_KEY_NONE:
        return place == 0 ? left.CompareBy(COMPARE_READ_ORDER, right) : COMPARE_EQUAL;
    default:
        return COMPARE_EQUAL;
    }
}

bool ReadsNames(const int* keys)
{
    for (int place = 0; place < 3; ++place)
    {
        if (keys[place] == SORT_KEY_NAME || keys[place] == SORT_KEY_EXTENSION)
            return true;
    }
    return false;
}

// One entry as the sort by keys sees it: what the name keys and the reading order
// compare is held here, so that those comparisons do not reach into the records,
// which lie far apart in memory.
struct SortItem
{
    const BYTE* baseKey;
    const BYTE* extensionKey;
    int baseLength;
    int extensionLength;
    LONGLONG readPosition;
    CFileInfo* entry;
};

// No key: the reading order decides in the first place, and nothing after it.
int CompareReadPositions(LONGLONG left, LONGLONG right, int place)
{
    if (place != 0 || left == right)
        return COMPARE_EQUAL;
    return left < right ? COMPARE_LESS : COMPARE_GREATER;
}

// CompareOnKey with the names and extensions taken from the entries' keys.
int CompareItemsOnKey(const SortItem& left, const SortItem& right, int key, int place)
{
    switch (key)
    {
    case SORT_KEY_NAME:
        return CompareNameSortKeys(left.baseKey, left.baseLength, right.baseKey, right.baseLength);
    case SORT_KEY_EXTENSION:
        return CompareNameSortKeys(left.extensionKey, left.extensionLength, right.extensionKey,
                                   right.extensionLength);
    case SORT_KEY_NONE:
        return CompareReadPositions(left.readPosition, right.readPosition, place);
    default:
        return CompareOnKey(*left.entry, *right.entry, key, place);
    }
}

// CompareItemsOnKey with the names compared straight from their characters; 0 when a
// name's order needs its key.
int CompareEntriesByLocaleKeys(CFileInfo& left, CFileInfo& right, int key, int place)
{
    switch (key)
    {
    case SORT_KEY_NAME:
        return CompareNamesByLocaleKeys(left.m_baseName, left.m_baseName.GetLength(), right.m_baseName,
                                        right.m_baseName.GetLength());
    case SORT_KEY_EXTENSION:
        return CompareNamesByLocaleKeys(left.m_extension, left.m_extension.GetLength(), right.m_extension,
                                        right.m_extension.GetLength());
    case SORT_KEY_NONE:
        return CompareReadPositions(left.m_readPosition, right.m_readPosition, place);
    default:
        return CompareOnKey(left, right, key, place);
    }
}

// True when the entries stand in the order of the locale keys already, found without
// making a key; false as well when a name's order needs its key.
bool StandsInLocaleKeyOrder(CFileInfo* data, INT_PTR first, INT_PTR end, const int* keys, int sign)
{
    for (INT_PTR i = first + 1; i < end; ++i)
    {
        for (int place = 0; place < 3; ++place)
        {
            const int result = CompareEntriesByLocaleKeys(data[i - 1], data[i], keys[place], place);
            if (result == 0)
                return false;
            if (result == COMPARE_LESS)
            {
                if (sign < 0)
                    return false;
                break;
            }
            if (result == COMPARE_GREATER)
            {
                if (sign > 0)
                    return false;
                break;
            }
        }
    }
    return true;
}

// True when every neighbour pair stands in the order of the comparison itself.
bool FollowsComparison(CArrayFileInfo& entries, INT_PTR first, INT_PTR end)
{
    CFileInfo* data = entries.GetData();
    for (INT_PTR i = first + 1; i < end; ++i)
    {
        if (CompareEntriesForSort(data + i - 1, data + i) > 0)
            return false;
    }
    return true;
}

void SortGroup(CArrayFileInfo& entries, INT_PTR first, INT_PTR end, const int* keys, int order)
{
    if (end - first < 2)
        return;
    s_runningKeys = keys;
    s_runningOrder = order;
    CFileInfo* data = entries.GetData();

    // Names are compared through keys made once per entry: asking the system about
    // two names in every comparison costs far more than the walk that listed them.
    int kind = NAME_KEY_NONE;
    if (ReadsNames(keys))
    {
        kind = GetNameSortKeyKind();
        // A file system that keeps a folder's names in order lists them in the order
        // of a sort by name already: names whose keys are put together from their
        // characters tell that without any key being made, and then nothing moves.
        if (kind == NAME_KEY_LOCALE && StandsInLocaleKeyOrder(data, first, end, keys, order ? -1 : 1))
            return;
        // The entries of a walk share one string for each extension: the key of an
        // extension is made once and taken over by the others.
        const int kRecent = 4;
        const CFileInfo* recent[kRecent] = {};
        int next = 0;
        CNameKeyBlocks blocks;
        for (INT_PTR i = first; i < end && kind != NAME_KEY_NONE; ++i)
        {
            const CFileInfo* same = nullptr;
            for (const CFileInfo* entry : recent)
            {
                if (entry && entry->m_extension.GetString() == data[i].m_extension.GetString())
                    same = entry;
            }
            if (!data[i].PrepareNameKeys(kind, same, &blocks))
                kind = NAME_KEY_NONE;
            else if (!same)
            {
                recent[next] = data + i;
                next = (next + 1) % kRecent;
            }
        }
        if (kind == NAME_KEY_NONE)
        {
            // Whole records are moved by qsort: CFileInfo is relocatable (see FileInfo.h).
            qsort(static_cast<void*>(data + first), static_cast<size_t>(end - first), sizeof(CFileInfo),
                  CompareEntriesForSort);
            return;
        }
    }

    // Small items are sorted and each record moved once: a record is several hundred
    // bytes, and a sort that moves whole records moves each of them many times.
    std::vector<SortItem> items(static_cast<size_t>(end - first));
    for (INT_PTR i = first; i < end; ++i)
    {
        SortItem& item = items[static_cast<size_t>(i - first)];
        item.entry = data + i;
        item.readPosition = data[i].m_readPosition;
        item.baseKey = item.extensionKey = nullptr;
        item.baseLength = item.extensionLength = 0;
        if (kind != NAME_KEY_NONE)
        {
            item.baseKey = data[i].GetBaseNameKey(item.baseLength);
            item.extensionKey = data[i].GetExtensionKey(item.extensionLength);
        }
    }
    const int sign = order ? -1 : 1;
    const auto before = [keys, sign](const SortItem& a, const SortItem& b) {
        for (int place = 0; place < 3; ++place)
        {
            int result = CompareItemsOnKey(a, b, keys[place], place);
            if (result == COMPARE_LESS)
                return sign > 0;
            if (result == COMPARE_GREATER)
                return sign < 0;
        }
        return false;
    };
    // A file system that keeps a folder's names in order lists them in the order of a
    // sort by name already: one look at each neighbour pair spares that sort.
    if (!std::is_sorted(items.begin(), items.end(), before))
    {
        std::sort(items.begin(), items.end(), before);
        std::vector<INT_PTR> source(items.size());
        for (size_t k = 0; k < items.size(); ++k)
            source[k] = items[k].entry - data;
        entries.Reorder(first, source.data(), end - first);
    }

    // The natural order's keys are made here, not by the system: the comparison has
    // the last word, and a group it would order otherwise is sorted by it.
    if (kind != NAME_KEY_NONE && !IsNameSortKeyExact(kind) && !FollowsComparison(entries, first, end))
        qsort(static_cast<void*>(data + first), static_cast<size_t>(end - first), sizeof(CFileInfo),
              CompareEntriesForSort);
}

// Moves the first entry of the class at or after `from` to `to`; 1 when one was found.
int BringToFront(CArrayFileInfo& entries, INT_PTR from, INT_PTR to, int entryClass)
{
    for (INT_PTR i = from; i < entries.GetSize(); ++i)
    {
        if (entries[i].m_entryClass == entryClass)
        {
            entries.SwapEntries(i, to);
            return 1;
        }
    }
    return 0;
}
} // namespace

void ResetSortSetting(CSortSetting& setting)
{
    for (int number = 1; number <= 6; ++number)
        setting.SetValue(number, -1);
    for (int number = 7; number <= 9; ++number)
        setting.SetValue(number, 0);
}

void GetPaneSortSetting(int pane, CSortSetting& out)
{
    const bool second = pane == 1;
    out.m_fileKey = second ? g_SORTWAY2 : g_SORTWAY;
    out.m_secondKey = second ? g_SECONDSORTWAYFLAG2 : g_SECONDSORTWAYFLAG;
    out.m_value3 = 0;
    out.m_directoryKey = second ? g_SORT_DIR_WAY2 : g_SORT_DIR_WAY1;
    out.m_value5 = 0;
    out.m_value6 = 0;
    out.m_directoryOrder = second ? g_SORT_DIR_ORDER2 : g_SORT_DIR_ORDER1;
    out.m_fileOrder = second ? g_SORTORDER2 : g_SORTORDER;
    out.m_mixDirectories = second ? g_SORT_NEGLECT_FILE_KIND2 : g_SORT_NEGLECT_FILE_KIND1;
}

namespace
{
void StorePaneSortSetting(int pane, const CSortSetting& setting)
{
    const bool second = pane == 1;
    (second ? g_SORTWAY2 : g_SORTWAY) = setting.m_fileKey;
    (second ? g_SECONDSORTWAYFLAG2 : g_SECONDSORTWAYFLAG) = setting.m_secondKey;
    (second ? g_SORT_DIR_WAY2 : g_SORT_DIR_WAY1) = setting.m_directoryKey;
    (second ? g_SORT_DIR_ORDER2 : g_SORT_DIR_ORDER1) = setting.m_directoryOrder;
    (second ? g_SORTORDER2 : g_SORTORDER) = setting.m_fileOrder;
    (second ? g_SORT_NEGLECT_FILE_KIND2 : g_SORT_NEGLECT_FILE_KIND1) = setting.m_mixDirectories;
}
} // namespace

void SetPaneSortSetting(int pane, const CSortSetting& setting)
{
    if (g_CHYNCROSORT)
    {
        StorePaneSortSetting(0, setting);
        StorePaneSortSetting(1, setting);
    }
    else
        StorePaneSortSetting(pane, setting);
}

int MapSortKey(int value)
{
    return value >= 1 && value <= 5 ? value - 1 : SORT_KEY_NONE;
}

void BuildSortKeysInto(const CSortSetting& setting, BOOL network, SortKeys& out)
{
    if (network || setting.m_mixDirectories)
        SetKeys(out.directoryKeys, SORT_KEY_NONE, SORT_KEY_NONE, SORT_KEY_NONE);
    else
        BuildDirectoryKeys(setting, out.directoryKeys);
    BuildFileKeys(setting, out.fileKeys);
    out.directoryOrder = setting.m_directoryOrder;
    out.fileOrder = setting.m_fileOrder;
}

void BuildSortKeys(const CSortSetting& setting, BOOL network)
{
    BuildSortKeysInto(setting, network, g_SortKeys);
}

int __cdecl CompareEntriesForSort(const void* left, const void* right)
{
    CFileInfo& a = *static_cast<CFileInfo*>(const_cast<void*>(left));
    CFileInfo& b = *static_cast<CFileInfo*>(const_cast<void*>(right));
    const int sign = s_runningOrder ? -1 : 1;
    for (int place = 0; place < 3; ++place)
    {
        int result = CompareOnKey(a, b, s_runningKeys[place], place);
        if (result == COMPARE_LESS)
            return -sign;
        if (result == COMPARE_GREATER)
            return sign;
    }
    return 0;
}

int SortFileEntries(CArrayFileInfo& entries, const CSortSetting& setting)
{
    int dotCount = 0;
    if (BringToFront(entries, 0, dotCount, ENTRY_CLASS_CURRENT))
        ++dotCount;
    if (BringToFront(entries, dotCount, dotCount, ENTRY_CLASS_PARENT))
        ++dotCount;

    INT_PTR directoryEnd = dotCount;
    if (!setting.m_mixDirectories)
    {
        for (INT_PTR i = dotCount; i < entries.GetSize(); ++i)
        {
            if (entries[i].IsDirectory())
                entries.SwapEntries(i, directoryEnd++);
        }
    }

    BuildSortKeys(setting, FALSE);
    if (g_SortKeys.directoryKeys[0] == SORT_KEY_NONE)
        SortGroup(entries, dotCount, directoryEnd, g_SortKeys.fileKeys, g_SortKeys.fileOrder);
    else
        SortGroup(entries, dotCount, directoryEnd, g_SortKeys.directoryKeys, g_SortKeys.directoryOrder);
    SortGroup(entries, directoryEnd, entries.GetSize(), g_SortKeys.fileKeys, g_SortKeys.fileOrder);
    return dotCount;
}
