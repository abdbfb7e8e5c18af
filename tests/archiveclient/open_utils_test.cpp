#include "archiveclient/ops/ArchiveChain.h"
#include "archiveclient/ops/ClientUtils.h"
#include "archiveclient/ops/EmbeddedList.h"

#include "archiveclient/base/FileStreams.h"
#include "archiveclient/base/PropValue.h"
#include "tests/archiveclient/ArcOpenHelpers.h"
#include <gtest/gtest.h>

namespace
{

TEST(ClientUtilsTest, SafeRelativePathsStayBelowTheirStart)
{
    struct Case
    {
        const wchar_t* Path;
        bool Safe;
    };
    const Case cases[] = {
        {L"a\\b", true},      {L"a\\..\\b", true},   {L"a/b", true},           {L"./a", true},
        {L"a//b", true},      {L"vol.7z.002", true}, {L"..", false},           {L"a\\..", false},
        {L"\\a", false},      {L"/a", false},        {L"C:a", false},          {L"C:x", false},
        {L"z:\\x", false},    {L"", false},          {L"a/../../x", false},    {L"..\\x", false},
        {L"a\\.\\..", false}, {L".", false},         {L"\\\\?\\C:\\x", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSafeRelativePath(c.Path), c.Safe) << c.Path;
}

TEST(ClientUtilsTest, UnsignedPropertiesWidenAndOtherTypesThrow)
{
    CPropValue value;
    uint64_t out = 77;
    EXPECT_FALSE(PropertyToUInt64(value, out));
    EXPECT_EQ(out, 77u);
    value.SetUInt32(0xFFFFFFFF);
    EXPECT_TRUE(PropertyToUInt64(value, out));
    EXPECT_EQ(out, 0xFFFFFFFFu);
    value.SetUInt64(1ull << 40);
    EXPECT_TRUE(PropertyToUInt64(value, out));
    EXPECT_EQ(out, 1ull << 40);
    value.SetString(L"12");
    EXPECT_THROW(PropertyToUInt64(value, out), int);
}

TEST(ArchiveChainTest, DefaultItemNamesFollowTheFormatsExtension)
{
    struct Case
    {
        const wchar_t* FileName;
        const wchar_t* Extension;
        const wchar_t* Added;
        const wchar_t* Expected;
    };
    const Case cases[] = {
        {L"archive.tar.gz", L"gz", L"", L"archive.tar"},
        {L"backup.tgz", L"tgz", L".tar", L"backup.tar"},
        {L"BACKUP.TGZ", L"tgz", L".tar", L"BACKUP.tar"},
        {L"README", L"", L"", L"README~"},
        {L".hidden", L"", L"", L".hidden~"},
        {L"data.bin", L"gz", L"", L"data"},
        {L"gz", L"gz", L"", L"gz~"},
        {L"name.gz \t", L"x", L"", L"name"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(MakeDefaultItemNameTrimmed(c.FileName, c.Extension, c.Added).Chars(), c.Expected)
            << c.FileName;
}

TEST(ArchiveChainTest, TypeListsParseOrFailAsAWhole)
{
    arctest::CRealCodecs codecs;
    struct Case
    {
        const wchar_t* Text;
        bool Ok;
        uint32_t Count;
    };
    const Case cases[] = {
        {L"", true, 0},      {L"7z", true, 1},      {L"gzip.tar", true, 2},
        {L"a..b", false, 0}, {L"7z.", false, 0},    {L"nosuchformat", false, 0},
        {L"*:q", false, 0},  {L"*:e:r", true, 1},   {L"#", true, 1},
        {L"7z:", false, 0},  {L"7z:s4x", false, 0}, {L"7z:s", false, 0},
    };
    for (const Case& c : cases)
    {
        CValueVector<CArchiveTypeChoice> list;
        EXPECT_EQ(ParseArchiveTypeList(*codecs, c.Text, list), c.Ok) << c.Text;
        if (c.Ok)
        {
            EXPECT_EQ(list.Count(), c.Count) << c.Text;
        }
    }

    CValueVector<CArchiveTypeChoice> list;
    ASSERT_TRUE(ParseArchiveTypeList(*codecs, L"7z:s4m", list));
    EXPECT_EQ(list.At(0).formatIndex, codecs.Index(L"7z"));
    EXPECT_TRUE(list.At(0).maxStartOffsetSet);
    EXPECT_EQ(list.At(0).maxStartOffset, 4ull << 20);
    EXPECT_FALSE(list.At(0).recursive);
    ASSERT_TRUE(ParseArchiveTypeList(*codecs, L"#", list));
    EXPECT_FALSE(list.At(0).allowArchive);
    EXPECT_TRUE(list.At(0).allowEmbeddedList);
}

TEST(ArchiveChainTest, SizeSuffixesScaleAndOverflowFails)
{
    struct Case
    {
        const wchar_t* Text;
        bool Ok;
        uint64_t Value;
    };
    const Case cases[] = {
        {L"12", true, 12},
        {L"3b", true, 3},
        {L"2K", true, 2048},
        {L"1t", true, 1ull << 40},
        {L"16777215t", true, 16777215ull << 40},
        {L"16777216t", false, 0},
        {L"k", false, 0},
        {L"1kb", false, 0},
        {L"1x", false, 0},
    };
    for (const Case& c : cases)
    {
        uint64_t value = 0;
        EXPECT_EQ(ParseSizeWithSuffix(c.Text, value), c.Ok) << c.Text;
        if (c.Ok)
        {
            EXPECT_EQ(value, c.Value) << c.Text;
        }
    }
}

CEmbeddedArchiveItem Find(int64_t offset, uint64_t size, const wchar_t* type, const wchar_t* ext)
{
    CEmbeddedArchiveItem item;
    item.offset = offset;
    item.size = size;
    item.typeName = type;
    item.extension = ext;
    return item;
}

std::wstring ItemPath(NArchive::NParser::CHandler& list, UINT32 index)
{
    CPropValue value;
    list.GetProperty(index, kpidPath, &value);
    return value.vt == VT_BSTR ? value.bstrVal : L"";
}

TEST(EmbeddedListTest, FindsAndGapsBecomeNumberedItems)
{
    CInterfaceRef<NArchive::NParser::CHandler> list(new NArchive::NParser::CHandler());
    CEmbeddedArchiveItem named = Find(300, 10, L"zip", L"zip");
    named.name = L"inner";
    named.extension.Empty();
    list->AddItem(Find(100, 50, L"7z", L"7z"));
    list->AddItem(named);
    list->AddGap(400);

    struct Row
    {
        int64_t Offset;
        uint64_t Size;
        const wchar_t* Path;
        const wchar_t* Type;
    };
    const Row rows[] = {
        {0, 100, L"1", L""},           {100, 50, L"2.7z", L"7z"}, {150, 150, L"3", L""},
        {300, 10, L"4.inner", L"zip"}, {310, 90, L"5", L""},
    };
    UINT32 count = 0;
    list->GetNumberOfItems(&count);
    ASSERT_EQ(count, 5u);
    for (UINT32 i = 0; i < count; i++)
    {
        EXPECT_EQ(list->items[i].offset, rows[i].Offset) << i;
        EXPECT_EQ(list->items[i].size, rows[i].Size) << i;
        EXPECT_EQ(ItemPath(*list, i), rows[i].Path) << i;
        EXPECT_STREQ(list->items[i].typeName.Chars(), rows[i].Type) << i;
    }
    PROPID id = 0;
    VARTYPE type = 0;
    BSTR name = nullptr;
    EXPECT_EQ(list->GetPropertyInfo(7, &name, &id, &type), E_INVALIDARG);
}

TEST(EmbeddedListTest, AFindOfUnknownSizeEndsWhereTheListIsClosed)
{
    CInterfaceRef<NArchive::NParser::CHandler> list(new NArchive::NParser::CHandler());
    list->AddItem(Find(0, 40, L"pe", L"exe"));
    CEmbeddedArchiveItem open = Find(64, 1000, L"zip", L"zip");
    open.sizeUnknown = true;
    list->AddItem(open);
    list->AddGap(500);
    ASSERT_EQ(list->items.size(), 3u);
    EXPECT_EQ(list->items[2].offset, 64);
    EXPECT_EQ(list->items[2].size, 436u);
    EXPECT_EQ(list->maxEnd, 500u);
}

} // namespace

namespace
{

TEST(ClientUtilsTest, OutputStreamCreationHonoursTheDispositionAndSetsTheTime)
{
    std::wstring path = qvtest::ScratchDir() + L"\\out.bin";
    {
        CInterfaceRef<COutFileStream> stream(new COutFileStream());
        ASSERT_TRUE(stream->Create(path.c_str(), false));
        UINT32 written = 0;
        ASSERT_EQ(stream->Write("abc", 3, &written), S_OK);
        FILETIME time = {0x12345600, 0x01D00000};
        EXPECT_TRUE(stream->SetModifiedTime(time));
        EXPECT_EQ(stream->Close(), S_OK);
    }
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, 0x01D00000u);
    EXPECT_EQ(data.nFileSizeLow, 3u);

    CInterfaceRef<COutFileStream> again(new COutFileStream());
    EXPECT_FALSE(again->Create(path.c_str(), false));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
    EXPECT_TRUE(again->OpenForWrite(path.c_str(), OPEN_EXISTING));
    EXPECT_EQ(again->ProcessedSize, 0u);
}

} // namespace
