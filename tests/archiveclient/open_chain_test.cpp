#include "archiveclient/ops/ArchiveChain.h"
#include "archiveclient/ops/FormatDetection.h"

#include "archiveclient/base/FileStreams.h"
#include "archiveclient/base/PropValue.h"
#include "tests/archiveclient/ArcOpenHelpers.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace
{

using arctest::CRealCodecs;
using arctest::Fixture;
using arctest::FormatName;

HRESULT OpenPath(CArchiveChain& chain, CCodecs& codecs, const std::wstring& path)
{
    CArchiveOpenRequest request;
    request.Codecs = &codecs;
    request.filePath = path.c_str();
    return OpenArchiveChain(chain, request, nullptr);
}

std::vector<std::wstring> SortedPaths(const CArchiveChain& chain)
{
    std::vector<std::wstring> paths = arctest::ItemPaths(chain);
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(OpenChainTest, ArchivesOpenAsTheirFormatWithBackslashPaths)
{
    CRealCodecs codecs;
    struct Case
    {
        const wchar_t* File;
        const wchar_t* Format;
    };
    const Case cases[] = {{L"plain.zip", L"zip"}, {L"plain.7z", L"7z"}, {L"plain.tar", L"tar"}};
    const std::vector<std::wstring> expected = {L"dir", L"dir\\sub.txt", L"hello.txt"};
    for (const Case& c : cases)
    {
        CArchiveChain chain;
        ASSERT_EQ(OpenPath(chain, *codecs, Fixture(c.File)), S_OK) << c.File;
        ASSERT_EQ(chain.levels.Count(), 1u) << c.File;
        EXPECT_EQ(FormatName(*codecs, chain.Innermost().formatIndex), c.Format);
        EXPECT_EQ(SortedPaths(chain), expected) << c.File;
        EXPECT_TRUE(chain.isOpen);
        EXPECT_EQ(chain.volumePaths.Count(), 0u);
        EXPECT_EQ(chain.CloseHandlers(), S_OK);
    }
}

// The library's gzip handler names no main inner item and offers no inner stream, so a
// compressed tar stays one level whose one item is named after the archive.
TEST(OpenChainTest, CompressedTarOpensAsOneLevelWithTheTarAsItsItem)
{
    CRealCodecs codecs;
    struct Case
    {
        const wchar_t* File;
        const wchar_t* ItemPath;
    };
    const Case cases[] = {{L"plain.tar.gz", L"plain.tar"}, {L"backup.tgz", L"backup.tar"}};
    for (const Case& c : cases)
    {
        CArchiveChain chain;
        ASSERT_EQ(OpenPath(chain, *codecs, Fixture(c.File)), S_OK) << c.File;
        ASSERT_EQ(chain.levels.Count(), 1u) << c.File;
        EXPECT_EQ(FormatName(*codecs, chain.Innermost().formatIndex), L"gzip");
        EXPECT_EQ(arctest::ItemPaths(chain), std::vector<std::wstring>{c.ItemPath}) << c.File;
    }
}

TEST(OpenChainTest, AnArchiveBehindJunkIsFoundOnlyWhereTheRulesAllow)
{
    CRealCodecs codecs;
    {
        CArchiveChain chain;
        ASSERT_EQ(OpenPath(chain, *codecs, Fixture(L"junk1m.dat")), S_OK);
        const CArchiveLevel& level = chain.Innermost();
        EXPECT_EQ(FormatName(*codecs, level.formatIndex), L"7z");
        EXPECT_EQ(level.streamOffset, 1048576u);
        EXPECT_EQ(SortedPaths(chain).size(), 3u);
    }
    // A matching extension lets only the start count; past 8 MiB nothing is searched.
    const wchar_t* const notFound[] = {L"junk1m.7z", L"junk9m.dat", L"empty.bin"};
    for (const wchar_t* file : notFound)
    {
        CArchiveChain chain;
        EXPECT_EQ(OpenPath(chain, *codecs, Fixture(file)), S_FALSE) << file;
        EXPECT_FALSE(chain.isOpen) << file;
        EXPECT_EQ(chain.levels.Count(), 0u) << file;
    }
}

TEST(OpenChainTest, TheEmbeddedListTypeListsTheFindsAndGapsOfAStream)
{
    CRealCodecs codecs;
    CValueVector<CArchiveTypeChoice> types;
    ASSERT_TRUE(ParseArchiveTypeList(*codecs, L"#", types));
    CArchiveOpenRequest request;
    request.Codecs = &*codecs;
    request.typeList = &types;
    request.filePath = Fixture(L"junk1m.dat").c_str();
    CArchiveChain chain;
    ASSERT_EQ(OpenArchiveChain(chain, request, nullptr), S_OK);
    ASSERT_EQ(chain.levels.Count(), 1u);
    EXPECT_TRUE(chain.Innermost().isEmbeddedList);
    EXPECT_EQ(chain.Innermost().formatIndex, -1);
    EXPECT_EQ(arctest::ItemPaths(chain), (std::vector<std::wstring>{L"1", L"2.7z"}));
    uint64_t size = 0;
    bool sizeSet = false;
    ASSERT_EQ(chain.Innermost().GetItemSize(0, size, sizeSet), S_OK);
    EXPECT_EQ(size, 1048576u);
}

TEST(OpenChainTest, AMultiVolumeArchiveOpensThroughTheVolumeCallback)
{
    CRealCodecs codecs;
    CArchiveChain chain;
    ASSERT_EQ(OpenPath(chain, *codecs, Fixture(L"vol.7z.001")), S_OK);
    ASSERT_EQ(chain.levels.Count(), 2u);
    EXPECT_EQ(FormatName(*codecs, chain.levels.At(0).formatIndex), L"Split");
    EXPECT_EQ(FormatName(*codecs, chain.Innermost().formatIndex), L"7z");
    EXPECT_EQ(arctest::ItemPaths(chain), std::vector<std::wstring>{L"random.bin"});
    ASSERT_EQ(chain.volumePaths.Count(), 2u);
    EXPECT_EQ(std::wstring(chain.volumePaths.At(0).Chars()), Fixture(L"vol.7z.002"));
    EXPECT_EQ(std::wstring(chain.volumePaths.At(1).Chars()), Fixture(L"vol.7z.003"));
    EXPECT_EQ(chain.volumesSize, 16384u + 7362u);
}

TEST(OpenChainTest, JapaneseNamesComeBackInBothZipEncodings)
{
    CRealCodecs codecs;
    for (const wchar_t* file : {L"jp-utf8.zip", L"jp-sjis.zip"})
    {
        CArchiveChain chain;
        ASSERT_EQ(OpenPath(chain, *codecs, Fixture(file)), S_OK) << file;
        EXPECT_EQ(arctest::ItemPaths(chain), std::vector<std::wstring>{L"日本語.txt"}) << file;
    }
}

TEST(OpenChainTest, AMissingArchiveThrowsTheMissingVolumeCode)
{
    CRealCodecs codecs;
    CArchiveChain chain;
    EXPECT_THROW(OpenPath(chain, *codecs, qvtest::ScratchDir() + L"\\none.zip"), int);
}

// ---- Candidate order ----

std::vector<std::wstring> CandidateNames(CCodecs& codecs, const std::wstring& path, const std::string& head,
                                         uint32_t& extensionMatches)
{
    qvtest::WriteFileBytes(path, head);
    CInterfaceRef<CInFileStream> file(new CInFileStream());
    EXPECT_TRUE(file->File.Open(path.c_str()));
    CArchiveOpenRequest request;
    request.Codecs = &codecs;
    request.stream = file.Get();
    CArchiveLevel level;
    level.path = path.c_str();
    CCandidateOrder order;
    EXPECT_EQ(BuildCandidateOrder(level, request, order), S_OK);
    extensionMatches = order.extensionMatches;
    std::vector<std::wstring> names;
    for (int32_t index : order.order)
        names.push_back(FormatName(codecs, index));
    return names;
}

TEST(FormatDetectionTest, CandidateOrderFollowsExtensionsAndHeads)
{
    CRealCodecs codecs;
    std::string rarVolume("Rar!\x1A\x07\x00\xCF\x90\x73\x01\x00\x00\x0D\x00\x00\x00\x00\x00\x00", 20);
    std::string plain(64, 'x');
    struct Case
    {
        const wchar_t* Name;
        const std::string* Head;
        const wchar_t* First;
        uint32_t Matches;
    };
    const Case cases[] = {
        {L"set.001", &rarVolume, L"Rar", 2}, {L"set.001", &plain, L"Split", 1}, {L"a.z05", &plain, L"zip", 1},
        {L"a.z", &plain, L"Z", 1},           {L"a.r05", &plain, L"Rar", 1},     {L"a.r00", &plain, L"Rar", 2},
        {L"a.txt", &plain, L"APFS", 0},
    };
    std::wstring dir = qvtest::ScratchDir();
    for (const Case& c : cases)
    {
        uint32_t matches = 0;
        std::vector<std::wstring> names = CandidateNames(*codecs, dir + L"\\" + c.Name, *c.Head, matches);
        ASSERT_FALSE(names.empty()) << c.Name;
        EXPECT_EQ(names[0], c.First) << c.Name;
        EXPECT_EQ(matches, c.Matches) << c.Name;
        EXPECT_EQ(names.size(), codecs->Formats.Count()) << c.Name;
    }

    uint32_t matches = 0;
    std::vector<std::wstring> names = CandidateNames(*codecs, dir + L"\\disc.iso", plain, matches);
    auto iso = std::find(names.begin(), names.end(), L"Iso");
    auto udf = std::find(names.begin(), names.end(), L"Udf");
    ASSERT_TRUE(iso != names.end() && udf != names.end());
    EXPECT_LT(udf - names.begin(), iso - names.begin());
    EXPECT_LT(static_cast<uint32_t>(iso - names.begin()), matches);
}

// ---- Nesting limit, with a format of the test's own whose every level names an inner one ----

class CNestingHandler : public CRefCounted<IInArchive, IInArchiveGetStream, IArchiveGetRawProps>
{
public:
    HRESULT STDMETHODCALLTYPE GetParent(UINT32, UINT32* parent, UINT32* parentType) override
    {
        *parent = 0xFFFFFFFF;
        *parentType = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRawProp(UINT32, PROPID propId, const void** data, UINT32* size,
                                         UINT32* propType) override
    {
        static const wchar_t kRawPath[] = L"inner/next.nest";
        *data = nullptr;
        *size = 0;
        *propType = 0;
        if (propId == kpidPath)
        {
            *data = kRawPath;
            *size = sizeof(kRawPath);
            *propType = 0x51;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetNumRawProps(UINT32* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRawPropInfo(UINT32, BSTR*, PROPID*) override { return E_INVALIDARG; }
    HRESULT STDMETHODCALLTYPE Open(IInStream*, const UINT64*, IArchiveOpenCallback*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetNumberOfItems(UINT32* count) override
    {
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetProperty(UINT32, PROPID propId, PROPVARIANT* value) override
    {
        CPropValue prop;
        if (propId == kpidPath)
            prop.SetString(L"not-the-raw-path");
        return prop.DetachTo(value);
    }
    HRESULT STDMETHODCALLTYPE Extract(const UINT32*, UINT32, INT32, IArchiveExtractCallback*) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetArchiveProperty(PROPID propId, PROPVARIANT* value) override
    {
        CPropValue prop;
        if (propId == 1)
            prop.SetUInt32(0);
        return prop.DetachTo(value);
    }
    HRESULT STDMETHODCALLTYPE GetNumberOfProperties(UINT32* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyInfo(UINT32, BSTR*, PROPID*, VARTYPE*) override
    {
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE GetNumberOfArchiveProperties(UINT32* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetArchivePropertyInfo(UINT32, BSTR*, PROPID*, VARTYPE*) override
    {
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE GetStream(UINT32, ISequentialInStream** stream) override
    {
        static const BYTE kBytes[] = "nested";
        CBufInStream* inner = new CBufInStream();
        inner->Attach(kBytes, sizeof(kBytes), nullptr);
        inner->AddRef();
        *stream = inner;
        return S_OK;
    }
};

IInArchive* CreateNestingHandler()
{
    return new CNestingHandler();
}

TEST(OpenChainTest, NestingStopsAtThirtyTwoLevelsAndInnerPathsUseBackslashes)
{
    CCodecs* codecs = new CCodecs();
    codecs->AddRef();
    CArchiveFormatInfo& format = codecs->Formats.At(codecs->Formats.AddNew());
    format.Name = L"Nest";
    format.CreateInHandler = CreateNestingHandler;
    format.AddExtensions(L"nest", L"");
    std::wstring path = qvtest::ScratchDir() + L"\\outer.nest";
    qvtest::WriteFileBytes(path, "outer");
    {
        CArchiveChain chain;
        ASSERT_EQ(OpenPath(chain, *codecs, path), S_OK);
        EXPECT_EQ(chain.levels.Count(), kMaxArchiveLevels);
        EXPECT_STREQ(chain.Innermost().path.Chars(), L"inner\\next.nest");
        EXPECT_EQ(chain.Innermost().subfileIndex, 0);
    }
    codecs->Release();
}

} // namespace
