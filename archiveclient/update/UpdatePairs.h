// What happens to every file found on disk and every item already in the archive when
// an archive is written: the items of the opened archive, their pairing with the disk
// items by name, the state of each pair, the table of actions per state and the list
// of update steps the library is served from. A rename job builds its steps from
// rename rules instead.
#pragma once
#include "archiveclient/base/PathFilter.h"
#include "archiveclient/scan/DiskItems.h"
#include <vector>

class CArchiveLevel;
struct CArchiveItemRecord;

enum PairState : int32_t
{
    ArchiveUnselected = 0,
    ArchiveOnly = 1,
    DiskOnly = 2,
    ArchiveNewer = 3,
    DiskNewer = 4,
    Same = 5,
    Undecided = 6,
    kPairStateCount = 7
};

enum PairAction : int32_t
{
    Drop = 0,
    Keep = 1,
    Pack = 2,
    PackAsAnti = 3
};

struct CUpdateActionTable
{
    int32_t Actions[kPairStateCount];
};

// The tables of the program's jobs.
extern const CUpdateActionTable kAddActionTable;
extern const CUpdateActionTable kDeleteActionTable;
extern const CUpdateActionTable kRenameActionTable;

struct CStoredItem
{
    uint64_t Size = 0;
    FILETIME MTime = {};
    UString Name;
    bool IsDir = false;
    bool IsAltStream = false;
    bool SizeDefined = false;
    bool MTimeDefined = false;
    bool Selected = false;
    int32_t IndexInArchive = -1;
    int32_t TimeType = -1; // -1 not given by the item, else 0 exact, 1 seconds, 2 DOS
};

struct CItemPair
{
    int32_t State = DiskOnly;
    int32_t ArcIndex = -1;
    int32_t DiskIndex = -1;
    int32_t HostIndex = -1;
};

struct CUpdateStep
{
    bool NewData = false;
    bool NewProps = false;
    bool UseArcProps = false;
    bool IsAnti = false;
    int32_t DiskIndex = -1;
    int32_t ArcIndex = -1;
    int32_t NewNameIndex = -1;
    bool ExtraFlag = false;
};

struct CRenameRule
{
    UString OldPath;
    UString NewPath;
    // Not negative: the rule renames exactly the item of this index, whose path in the
    // archive is OldPath, to NewPath; MapPath is not used then.
    int32_t ItemIndex = -1;

    // Whether the rule applies to path; newPath receives the renamed path.
    bool MapPath(bool isDir, const UString& path, UString& newPath) const;
};

// A pairing text raised with two names: message, line feed, first name, line feed,
// second name.
struct CUpdateNameError
{
    UString Text;
};

// The integer raised for a time type outside 0 to 2.
const int kUnknownTimeTypeError = 4191618;
// The narrow text raised when a table asks for an action its state cannot carry.
extern const char* const kActionSetCollisionText;

// Reports an archive item that a job drops, by its stored-item index.
struct IUpdateProduceCallback
{
    virtual HRESULT ShowDeleteFile(uint32_t storedIndex) = 0;

protected:
    ~IUpdateProduceCallback() = default;
};

uint32_t FileTimeToUnixSeconds(const FILETIME& time);
uint32_t FileTimeToDosStamp(const FILETIME& time);
// -1 when a is before b, 0 equal, +1 after, in the granularity of timeType (0 exact,
// 1 whole seconds, 2 the two-second DOS form); another type raises kUnknownTimeTypeError.
int CompareItemTimes(int32_t timeType, const FILETIME& a, const FILETIME& b);
uint32_t CommonPrefixLength(const wchar_t* a, const wchar_t* b);

bool NeedsDiskScan(const CUpdateActionTable& table);
bool IsItemSelectedByFilter(const CPathFilter& filter, const CArchiveItemRecord& item);
HRESULT ListStoredItems(const CPathFilter& filter, const CArchiveLevel& level,
                        std::vector<CStoredItem>& items);
void PairDiskAndArchiveItems(const CDiskItemList& diskItems, const std::vector<CStoredItem>& storedItems,
                             int32_t handlerTimeType, std::vector<CItemPair>& pairs);
void ProduceUpdateSteps(const std::vector<CItemPair>& pairs, const CUpdateActionTable& table,
                        std::vector<CUpdateStep>& steps, IUpdateProduceCallback* producer);
