#include "archiveclient/update/UpdatePairs.h"
#include "archiveclient/ops/ArchiveChain.h"
#include "archiveclient/ops/ClientUtils.h"
#include "archiveclient/base/PropValue.h"
#include "fs/PathRules.h"
#include <algorithm>

const CUpdateActionTable kAddActionTable = {{Keep, Keep, Pack, Pack, Pack, Pack, Pack}};
const CUpdateActionTable kDeleteActionTable = {{Keep, Drop, Drop, Drop, Drop, Drop, Drop}};
const CUpdateActionTable kRenameActionTable = {{Keep, Keep, Pack, Keep, Pack, Keep, Pack}};
const char* const kActionSetCollisionText = "Internal collision in update action set";

namespace
{

// The item property that tells in which granularity an item keeps its times.
const PROPID kItemTimeTypeProp = 40;
const uint64_t kTicksPerSecond = 10000000;
// 1601-01-01 to 1970-01-01 in seconds.
const uint64_t kUnixEpochSeconds = 11644473600ULL;

[[noreturn]] void RaiseNamePairError(const char* message, const UString& a, const UString& b)
{
    CUpdateNameError error;
    error.Text.AppendAscii(message);
    error.Text.AppendLineFeed();
    error.Text.Append(a);
    error.Text.AppendLineFeed();
    error.Text.Append(b);
    throw error;
}

bool MatchFilterNodeForItem(const CPathFilterNode& node, const CArchiveItemRecord& item, bool& include)
{
    bool found = false;
    bool foundInclude = false;
    bool inc = false;
    if (node.MatchPathParts(item.pathParts, !item.mainIsDir, inc))
    {
        if (!inc || !item.isAltStream)
        {
            include = inc;
            return true;
        }
        found = true;
        foundInclude = inc;
    }
    if (!item.isAltStream)
        return false;
    CPathParts parts = item.pathParts;
    if (parts.empty())
        parts.push_back(UString());
    parts.back().AppendChar(L':');
    parts.back().Append(item.altStreamName);
    if (node.MatchPathParts(parts, true, inc))
    {
        include = inc;
        return true;
    }
    include = foundInclude;
    return found;
}

} // namespace

uint32_t FileTimeToUnixSeconds(const FILETIME& time)
{
    uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    uint64_t seconds = ticks / kTicksPerSecond;
    if (seconds < kUnixEpochSeconds)
        return 0;
    seconds -= kUnixEpochSeconds;
    return seconds >= 0x100000000ULL ? 0xFFFFFFFFu : static_cast<uint32_t>(seconds);
}

uint32_t FileTimeToDosStamp(const FILETIME& time)
{
    WORD date = 0, dosTime = 0;
    if (!FileTimeToDosDateTime(&time, &date, &dosTime))
        return time.dwHighDateTime < 0x01C00000 ? 0x00210000u : 0xFF9FBF7Du;
    return (static_cast<uint32_t>(date) << 16) | dosTime;
}

int CompareItemTimes(int32_t timeType, const FILETIME& a, const FILETIME& b)
{
    uint32_t x, y;
    switch (timeType)
    {
    case 0:
        return CompareFileTime(&a, &b);
    case 1:
        x = FileTimeToUnixSeconds(a);
        y = FileTimeToUnixSeconds(b);
        break;
    case 2:
        x = FileTimeToDosStamp(a);
        y = FileTimeToDosStamp(b);
        break;
    default:
        throw kUnknownTimeTypeError;
    }
    return x < y ? -1 : (x > y ? 1 : 0);
}

uint32_t CommonPrefixLength(const wchar_t* a, const wchar_t* b)
{
    uint32_t n = 0;
    for (;; n++)
    {
        wchar_t c1 = a[n], c2 = b[n];
        if (c1 == 0 || c2 == 0)
            return n;
        if (c1 == c2)
            continue;
        if (!g_CaseSensitiveNames && ToUpperWideChar(c1) == ToUpperWideChar(c2))
            continue;
        if (IsPathSeparator(c1) && IsPathSeparator(c2))
            continue;
        return n;
    }
}

bool CRenameRule::MapPath(bool isDir, const UString& path, UString& newPath) const
{
    uint32_t n = CommonPrefixLength(OldPath.Chars(), path.Chars());
    if (n == OldPath.Length())
    {
        if (n != path.Length() && !IsPathSeparator(path[n]) && n != 0 && !IsPathSeparator(path[n - 1]))
            return false;
    }
    else
    {
        // "a\" as old path names the directory a itself.
        if (!isDir || n != path.Length() || n + 1 != OldPath.Length() || !IsPathSeparator(OldPath[n]))
            return false;
    }
    newPath = NewPath;
    newPath.Append(path.CharsAt(n));
    return true;
}

bool NeedsDiskScan(const CUpdateActionTable& table)
{
    for (int i = 0; i < kPairStateCount; i++)
    {
        if (table.Actions[i] == Pack)
            return true;
        if (i != ArchiveUnselected && table.Actions[i] != Drop)
            return true;
    }
    return false;
}

bool IsItemSelectedByFilter(const CPathFilter& filter, const CArchiveItemRecord& item)
{
    bool found = false;
    for (uint32_t i = 0; i < filter.Roots.Count(); i++)
    {
        bool include = false;
        if (MatchFilterNodeForItem(filter.Roots.At(i).Node, item, include))
        {
            if (!include)
                return false;
            found = true;
        }
    }
    return found;
}

HRESULT ListStoredItems(const CPathFilter& filter, const CArchiveLevel& level,
                        std::vector<CStoredItem>& items)
{
    items.clear();
    UINT32 count = 0;
    HRESULT hr = level.handler->GetNumberOfItems(&count);
    if (hr != S_OK)
        return hr;
    items.reserve(count);
    for (UINT32 i = 0; i < count; i++)
    {
        CArchiveItemRecord record;
        hr = level.ReadItem(i, record);
        if (hr != S_OK)
            return hr;
        CStoredItem item;
        item.Name = record.path;
        item.IsDir = record.isDir;
        item.IsAltStream = record.isAltStream;
        item.Selected = IsItemSelectedByFilter(filter, record);
        hr = level.GetItemModified(i, item.MTime, item.MTimeDefined);
        if (hr != S_OK)
            return hr;
        hr = level.GetItemSize(i, item.Size, item.SizeDefined);
        if (hr != S_OK)
            return hr;
        PROPVARIANT prop;
        PropVariantInit(&prop);
        hr = level.handler->GetProperty(i, kItemTimeTypeProp, &prop);
        if (hr != S_OK)
            return hr;
        if (prop.vt == VT_UI4)
        {
            if (prop.ulVal > 2)
                return E_FAIL;
            item.TimeType = static_cast<int32_t>(prop.ulVal);
        }
        PropVariantClear(&prop);
        item.IndexInArchive = static_cast<int32_t>(i);
        items.push_back(item);
    }
    return S_OK;
}

void PairDiskAndArchiveItems(const CDiskItemList& diskItems, const std::vector<CStoredItem>& storedItems,
                             int32_t handlerTimeType, std::vector<CItemPair>& pairs)
{
    pairs.clear();
    const uint32_t numArc = static_cast<uint32_t>(storedItems.size());
    std::vector<uint32_t> arcOrder(numArc);
    for (uint32_t i = 0; i < numArc; i++)
        arcOrder[i] = i;
    std::sort(arcOrder.begin(), arcOrder.end(), [&](uint32_t x, uint32_t y) {
        const CStoredItem& a = storedItems[x];
        const CStoredItem& b = storedItems[y];
        int c = ComparePathNames(a.Name, b.Name);
        if (c != 0)
            return c < 0;
        if (a.IsDir != b.IsDir)
            return a.IsDir;
        return x < y;
    });
    std::vector<int32_t> duplicates(numArc, 0);
    for (uint32_t i = 1; i < numArc; i++)
    {
        const CStoredItem& a = storedItems[arcOrder[i - 1]];
        const CStoredItem& b = storedItems[arcOrder[i]];
        if (a.IsDir == b.IsDir && ComparePathNames(a.Name, b.Name) == 0)
        {
            duplicates[i - 1] = 1;
            duplicates[i] = -1;
        }
    }

    const uint32_t numDisk = diskItems.Items.Count();
    std::vector<UString> diskPaths(numDisk);
    std::vector<uint32_t> diskOrder(numDisk);
    for (uint32_t i = 0; i < numDisk; i++)
    {
        diskPaths[i] = diskItems.GetStoredPath(i);
        diskOrder[i] = i;
    }
    std::sort(diskOrder.begin(), diskOrder.end(), [&](uint32_t x, uint32_t y) {
        int c = ComparePathNames(diskPaths[x], diskPaths[y]);
        return c != 0 ? c < 0 : x < y;
    });
    for (uint32_t i = 1; i < numDisk; i++)
        if (ComparePathNames(diskPaths[diskOrder[i - 1]], diskPaths[diskOrder[i]]) == 0)
            RaiseNamePairError("Duplicate filename on disk:", diskPaths[diskOrder[i - 1]],
                               diskPaths[diskOrder[i]]);

    pairs.reserve(numDisk + numArc);
    int32_t mainPair = -1;
    UString mainName;
    uint32_t d = 0, a = 0;
    while (d < numDisk || a < numArc)
    {
        CItemPair pair;
        int cmp;
        if (a == numArc)
            cmp = -1;
        else if (d == numDisk)
            cmp = 1;
        else
        {
            const CDiskItem& disk = diskItems.Items.At(diskOrder[d]);
            const CStoredItem& arc = storedItems[arcOrder[a]];
            cmp = ComparePathNames(diskPaths[diskOrder[d]], arc.Name);
            if (cmp == 0 && disk.IsDir() != arc.IsDir)
                cmp = arc.IsDir ? 1 : -1;
        }
        const UString* name;
        bool isAlt;
        if (cmp < 0)
        {
            pair.State = DiskOnly;
            pair.DiskIndex = static_cast<int32_t>(diskOrder[d]);
            name = &diskPaths[diskOrder[d]];
            isAlt = diskItems.Items.At(diskOrder[d]).IsAltStream;
            d++;
        }
        else if (cmp > 0)
        {
            const CStoredItem& arc = storedItems[arcOrder[a]];
            pair.State = arc.Selected ? ArchiveOnly : ArchiveUnselected;
            pair.ArcIndex = static_cast<int32_t>(arcOrder[a]);
            name = &arc.Name;
            isAlt = arc.IsAltStream;
            a++;
        }
        else
        {
            const uint32_t di = diskOrder[d];
            const CDiskItem& disk = diskItems.Items.At(di);
            const CStoredItem& arc = storedItems[arcOrder[a]];
            if (duplicates[a] != 0)
                RaiseNamePairError("Duplicate filename in archive:", arc.Name,
                                   storedItems[arcOrder[a + duplicates[a]]].Name);
            if (!arc.Selected)
                RaiseNamePairError(
                    "Internal file name collision (file on disk, file in archive):", diskPaths[di], arc.Name);
            pair.DiskIndex = static_cast<int32_t>(di);
            pair.ArcIndex = static_cast<int32_t>(arcOrder[a]);
            int timeCmp = 0;
            if (arc.MTimeDefined)
                timeCmp = CompareItemTimes(arc.TimeType >= 0 ? arc.TimeType : handlerTimeType, disk.MTime,
                                           arc.MTime);
            if (timeCmp < 0)
                pair.State = ArchiveNewer;
            else if (timeCmp > 0)
                pair.State = DiskNewer;
            else
                pair.State = (arc.SizeDefined && arc.Size == disk.Size) ? Same : Undecided;
            name = &arc.Name;
            isAlt = disk.IsAltStream || arc.IsAltStream;
            d++;
            a++;
        }
        if (isAlt)
        {
            if (mainPair >= 0 && name->Length() > mainName.Length() && (*name)[mainName.Length()] == L':')
            {
                UString front = UString::FromLeftPart(*name, mainName.Length());
                if (ComparePathNames(front, mainName) == 0)
                    pair.HostIndex = mainPair;
            }
        }
        else
        {
            mainPair = static_cast<int32_t>(pairs.size());
            mainName = *name;
        }
        pairs.push_back(pair);
    }
    pairs.shrink_to_fit();
}

void ProduceUpdateSteps(const std::vector<CItemPair>& pairs, const CUpdateActionTable& table,
                        std::vector<CUpdateStep>& steps, IUpdateProduceCallback* producer)
{
    steps.clear();
    for (const CItemPair& pair : pairs)
    {
        CUpdateStep step;
        step.DiskIndex = pair.DiskIndex;
        step.ArcIndex = pair.ArcIndex;
        step.NewData = true;
        step.NewProps = true;
        switch (table.Actions[pair.State])
        {
        case Drop:
            if (pair.ArcIndex >= 0 && producer != nullptr)
                producer->ShowDeleteFile(static_cast<uint32_t>(pair.ArcIndex));
            continue;
        case Keep:
            if (pair.State == DiskOnly)
                throw kActionSetCollisionText;
            // An alternate stream whose main file is packed anew belongs to the old file.
            if (pair.State == ArchiveOnly && pair.HostIndex >= 0 && pairs[pair.HostIndex].DiskIndex >= 0)
                continue;
            step.NewData = false;
            step.NewProps = false;
            step.UseArcProps = true;
            break;
        case Pack:
            if (pair.State == ArchiveOnly || pair.State == ArchiveUnselected)
                throw kActionSetCollisionText;
            break;
        case PackAsAnti:
            step.IsAnti = true;
            step.UseArcProps = pair.ArcIndex >= 0;
            break;
        }
        steps.push_back(step);
    }
    steps.shrink_to_fit();
}
