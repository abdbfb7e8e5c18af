#include "archiveclient/update/UpdatePairs.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

FILETIME Ticks(uint64_t t)
{
    FILETIME f;
    f.dwLowDateTime = static_cast<DWORD>(t);
    f.dwHighDateTime = static_cast<DWORD>(t >> 32);
    return f;
}

// 2020-01-01 00:00:00 in FILETIME ticks: an even DOS second.
const uint64_t kBase = 132223104000000000ULL;
const uint64_t kSecond = 10000000ULL;

struct DiskSpec
{
    const wchar_t* name;
    bool dir;
    uint64_t time;
    uint64_t size;
};

struct ArcSpec
{
    const wchar_t* name;
    bool dir;
    uint64_t time;
    uint64_t size;
    bool selected;
};

void FillDisk(CDiskItemList& list, const std::vector<DiskSpec>& specs)
{
    for (const DiskSpec& s : specs)
    {
        CFsEntryInfo e;
        e.Name = s.name;
        e.Attrib = s.dir ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
        e.MTime = Ticks(s.time);
        e.Size = s.size;
        list.AddItem(-1, -1, -1, e);
    }
}

std::vector<CStoredItem> Stored(const std::vector<ArcSpec>& specs)
{
    std::vector<CStoredItem> items;
    for (const ArcSpec& s : specs)
    {
        CStoredItem item;
        item.Name = s.name;
        item.IsDir = s.dir;
        item.MTime = Ticks(s.time);
        item.MTimeDefined = true;
        item.Size = s.size;
        item.SizeDefined = true;
        item.Selected = s.selected;
        item.IndexInArchive = static_cast<int32_t>(items.size());
        items.push_back(item);
    }
    return items;
}

// "state:disk/arc" per pair, in pair order.
std::string Describe(const std::vector<CItemPair>& pairs)
{
    std::string s;
    for (const CItemPair& p : pairs)
        s += std::to_string(p.State) + ":" + std::to_string(p.DiskIndex) + "/" + std::to_string(p.ArcIndex) +
             " ";
    return s;
}

std::wstring PairError(const std::vector<DiskSpec>& disk, const std::vector<ArcSpec>& arc)
{
    CDiskItemList list;
    FillDisk(list, disk);
    std::vector<CItemPair> pairs;
    try
    {
        PairDiskAndArchiveItems(list, Stored(arc), 0, pairs);
    }
    catch (const CUpdateNameError& e)
    {
        return e.Text.Chars();
    }
    return L"";
}

TEST(UpdatePairsTest, StatesFollowNamesTimesAndSizes)
{
    CDiskItemList list;
    FillDisk(list, {{L"newer", false, kBase + 100 * kSecond, 5},
                    {L"same", false, kBase, 5},
                    {L"undecided", false, kBase, 6},
                    {L"older", false, kBase, 5},
                    {L"diskonly", false, kBase, 1},
                    {L"both", true, kBase, 0}});
    std::vector<CStoredItem> stored = Stored({{L"Same", false, kBase, 5, true},
                                              {L"newer", false, kBase, 5, true},
                                              {L"older", false, kBase + kSecond, 5, true},
                                              {L"undecided", false, kBase, 5, true},
                                              {L"arconly", false, kBase, 1, true},
                                              {L"unselected", false, kBase, 1, false},
                                              {L"both", false, kBase, 3, true},
                                              {L"both", true, kBase, 0, true}});
    std::vector<CItemPair> pairs;
    PairDiskAndArchiveItems(list, stored, 0, pairs);
    // Sorted by name; of one name the directory comes first and pairs only with its own kind.
    EXPECT_EQ(Describe(pairs), "1:-1/4 5:5/7 1:-1/6 2:4/-1 4:0/1 3:3/2 5:1/0 6:2/3 0:-1/5 ");

    std::vector<CUpdateStep> steps;
    ProduceUpdateSteps(pairs, kAddActionTable, steps, nullptr);
    ASSERT_EQ(steps.size(), pairs.size());
    for (size_t i = 0; i < pairs.size(); i++)
    {
        bool kept = pairs[i].State == ArchiveOnly || pairs[i].State == ArchiveUnselected;
        EXPECT_EQ(steps[i].NewData, !kept) << i;
        EXPECT_EQ(steps[i].UseArcProps, kept) << i;
        EXPECT_EQ(steps[i].DiskIndex, pairs[i].DiskIndex);
        EXPECT_EQ(steps[i].ArcIndex, pairs[i].ArcIndex);
    }
}

TEST(UpdatePairsTest, TimesCompareInTheHandlersGranularity)
{
    struct Case
    {
        int32_t type;
        uint64_t a, b;
        int expected;
    } cases[] = {
        {0, kBase, kBase + 1, -1},
        {1, kBase, kBase + kSecond - 1, 0},
        {1, kBase + kSecond - 1, kBase + kSecond, -1},
        {2, kBase, kBase + 2 * kSecond - 1, 0},
        {2, kBase + kSecond, kBase, 0},
        {2, kBase + 2 * kSecond, kBase + kSecond, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareItemTimes(c.type, Ticks(c.a), Ticks(c.b)), c.expected) << c.type << " " << c.a;
    EXPECT_THROW(CompareItemTimes(3, Ticks(kBase), Ticks(kBase)), int);

    // The handler's DOS granularity makes a file one second newer the same file.
    CDiskItemList list;
    FillDisk(list, {{L"f", false, kBase + kSecond, 5}});
    std::vector<CItemPair> pairs;
    PairDiskAndArchiveItems(list, Stored({{L"f", false, kBase, 5, true}}), 2, pairs);
    EXPECT_EQ(Describe(pairs), "5:0/0 ");
    PairDiskAndArchiveItems(list, Stored({{L"f", false, kBase, 5, true}}), 1, pairs);
    EXPECT_EQ(Describe(pairs), "4:0/0 ");
}

TEST(UpdatePairsTest, DuplicatesAndCollisionsRaiseTheirTexts)
{
    EXPECT_EQ(
        PairError({{L"f", false, kBase, 1}}, {{L"f", false, kBase, 1, true}, {L"F", false, kBase, 1, true}}),
        L"Duplicate filename in archive:\nf\nF");
    EXPECT_EQ(PairError({{L"a\\f", false, kBase, 1}, {L"A\\F", false, kBase, 1}}, {}),
              L"Duplicate filename on disk:\na\\f\nA\\F");
    EXPECT_EQ(PairError({{L"f", false, kBase, 1}}, {{L"f", false, kBase, 1, false}}),
              L"Internal file name collision (file on disk, file in archive):\nf\nf");
    // A directory and a file of one name are no duplicates.
    EXPECT_EQ(
        PairError({{L"f", false, kBase, 1}}, {{L"f", false, kBase, 1, true}, {L"f", true, kBase, 0, true}}),
        L"");
}

struct CDropRecorder : IUpdateProduceCallback
{
    std::vector<uint32_t> dropped;
    HRESULT ShowDeleteFile(uint32_t index) override
    {
        dropped.push_back(index);
        return S_OK;
    }
};

TEST(UpdatePairsTest, DeleteDropsExactlyTheSelectedItems)
{
    CDiskItemList none;
    std::vector<CStoredItem> stored = Stored({{L"keep1", false, kBase, 1, false},
                                              {L"gone1", false, kBase, 1, true},
                                              {L"dir", true, kBase, 0, false},
                                              {L"dir\\gone2", false, kBase, 1, true}});
    EXPECT_FALSE(NeedsDiskScan(kDeleteActionTable));
    EXPECT_TRUE(NeedsDiskScan(kAddActionTable));
    std::vector<CItemPair> pairs;
    PairDiskAndArchiveItems(none, stored, 0, pairs);
    std::vector<CUpdateStep> steps;
    CDropRecorder recorder;
    ProduceUpdateSteps(pairs, kDeleteActionTable, steps, &recorder);
    std::vector<int32_t> kept;
    for (const CUpdateStep& s : steps)
    {
        EXPECT_FALSE(s.NewData);
        kept.push_back(s.ArcIndex);
    }
    EXPECT_EQ(kept, (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(recorder.dropped, (std::vector<uint32_t>{3, 1}));
}

TEST(UpdatePairsTest, AnAlternateStreamOfAFilePackedAnewIsLeftOut)
{
    CDiskItemList list;
    FillDisk(list, {{L"f", false, kBase, 1}});
    std::vector<CStoredItem> stored = Stored(
        {{L"f", false, kBase, 1, true}, {L"f:s", false, kBase, 1, true}, {L"g:s", false, kBase, 1, true}});
    stored[1].IsAltStream = stored[2].IsAltStream = true;
    std::vector<CItemPair> pairs;
    PairDiskAndArchiveItems(list, stored, 0, pairs);
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[1].HostIndex, 0);
    EXPECT_EQ(pairs[2].HostIndex, -1);
    std::vector<CUpdateStep> steps;
    ProduceUpdateSteps(pairs, kAddActionTable, steps, nullptr);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[1].ArcIndex, 2);
}

TEST(UpdatePairsTest, RenameRulesMoveTheFolderAndWhatIsBelowIt)
{
    CRenameRule rule{UString(L"a"), UString(L"b")};
    struct Case
    {
        const wchar_t* path;
        bool dir;
        const wchar_t* renamed; // null: untouched
    } cases[] = {
        {L"a", true, L"b"},      {L"a\\x", false, L"b\\x"},  {L"A\\y\\z", false, L"b\\y\\z"},
        {L"ab", false, nullptr}, {L"ab\\x", false, nullptr}, {L"b", false, nullptr},
    };
    for (const Case& c : cases)
    {
        UString out;
        bool fits = rule.MapPath(c.dir, UString(c.path), out);
        EXPECT_EQ(fits, c.renamed != nullptr) << c.path;
        if (fits && c.renamed != nullptr)
            EXPECT_STREQ(out.Chars(), c.renamed) << c.path;
    }
    CRenameRule dirRule{UString(L"a\\"), UString(L"c\\")};
    UString out;
    EXPECT_TRUE(dirRule.MapPath(true, UString(L"a"), out));
    EXPECT_STREQ(out.Chars(), L"c\\");
    EXPECT_FALSE(dirRule.MapPath(false, UString(L"a"), out));
    EXPECT_EQ(CommonPrefixLength(L"Dir/x", L"dir\\y"), 4u);
}

} // namespace
