#include "archiveclient/codecs/Codecs.h"
#include "archiveclient/codecs/OpenHandler.h"
#include "archiveclient/codecs/SevenZipLibrary.h"

#include "archiveclient/base/PropValue.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <string>

namespace
{

std::wstring ProgramFile(const wchar_t* name)
{
    return qvtest::ProgramDir() + L"\\" + name;
}

// A registry loaded from one library file, released at the end of the test.
class CLoadedCodecs
{
public:
    explicit CLoadedCodecs(const wchar_t* fileName)
    {
        m_codecs = new CCodecs();
        m_codecs->AddRef();
        m_codecs->LibraryPath = ProgramFile(fileName).c_str();
        LoadResult = m_codecs->LoadMainLibrary();
    }
    ~CLoadedCodecs() { m_codecs->Release(); }
    CCodecs* operator->() const { return m_codecs; }
    CCodecs& operator*() const { return *m_codecs; }

    HRESULT LoadResult;

private:
    CCodecs* m_codecs;
};

std::string BlockText(const CByteBlock& block)
{
    return std::string(static_cast<const char*>(static_cast<const void*>(block.Data())), block.Size());
}

std::wstring ExtensionsText(const CArchiveFormatInfo& format)
{
    std::wstring text;
    for (uint32_t i = 0; i < format.Exts.Count(); i++)
    {
        const CArchiveExtensionInfo& ext = format.Exts.At(i);
        text += (i == 0 ? L"" : L" ") + std::wstring(ext.Ext.Chars());
        if (!ext.AddExt.IsEmpty())
            text += L"(" + std::wstring(ext.AddExt.Chars()) + L")";
    }
    return text;
}

TEST(CodecsTest, ExtensionTextsSplitAtSpacesAndPairWithAddExtensions)
{
    struct Case
    {
        const wchar_t* Extensions;
        const wchar_t* AddExtensions;
        const wchar_t* Expected;
    };
    const Case cases[] = {
        {L"tar  tgz ", L"* .tar", L"tar tgz(.tar)"},
        {L" gz gzip tgz", L"* * .tar .tar", L"gz gzip tgz(.tar)"},
        {L"a b", L"", L"a b"},
        {L"", L".x", L""},
    };
    for (const Case& c : cases)
    {
        CArchiveFormatInfo format;
        format.AddExtensions(c.Extensions, c.AddExtensions);
        EXPECT_EQ(ExtensionsText(format), c.Expected) << c.Extensions;
    }
}

TEST(CodecsTest, MultiSignatureStopsAtAnEntryLongerThanTheRest)
{
    struct Case
    {
        std::string Bytes;
        std::vector<std::string> Expected;
    };
    const Case cases[] = {
        {std::string("\x02PK\x05x", 5), {"PK"}},
        {std::string("\x00\x01"
                     "A",
                     3),
         {"", "A"}},
        {std::string("\x01", 1), {}},
        {std::string(), {}},
    };
    for (const Case& c : cases)
    {
        CArchiveFormatInfo format;
        format.Signatures.AddNew();
        format.SetMultiSignature(reinterpret_cast<const uint8_t*>(c.Bytes.data()), c.Bytes.size());
        std::vector<std::string> got;
        for (uint32_t i = 0; i < format.Signatures.Count(); i++)
            got.push_back(BlockText(format.Signatures.At(i)));
        EXPECT_EQ(got, c.Expected);
    }
}

TEST(CodecsTest, AltStreamColonFollowsTheLastBackslash)
{
    const struct
    {
        const wchar_t* Name;
        int32_t Expected;
    } cases[] = {{L"file:s", 4}, {L"a:b:c", 1}, {L"d:x\\file", -1}, {L"d:x\\f:s", 5}, {L"plain", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(FindAltStreamColon(c.Name), c.Expected) << c.Name;
}

// Records what ApplyHandlerProperties hands over.
class CPropertySink : public CRefCounted<ISetProperties>
{
public:
    HRESULT STDMETHODCALLTYPE SetProperties(const wchar_t* const* names, const PROPVARIANT* values,
                                            UINT32 count) override
    {
        for (UINT32 i = 0; i < count; i++)
        {
            std::wstring text = names[i];
            text += L"=" + std::to_wstring(values[i].vt) + L":";
            if (values[i].vt == VT_BSTR)
                text += values[i].bstrVal;
            else if (values[i].vt == VT_BOOL)
                text += values[i].boolVal ? L"true" : L"false";
            else if (values[i].vt == VT_UI4)
                text += std::to_wstring(values[i].ulVal);
            else if (values[i].vt == VT_UI8)
                text += std::to_wstring(values[i].uhVal.QuadPart);
            Seen.push_back(text);
        }
        return S_OK;
    }
    std::vector<std::wstring> Seen;
};

TEST(CodecsTest, HandlerPropertiesBecomeTypedValues)
{
    COwnedPtrVector<CHandlerProperty> properties;
    const wchar_t* const pairs[][2] = {{L"x", L"5"}, {L"s-", L""},          {L"he+", L""},
                                       {L"e", L""},  {L"d", L"4294967296"}, {L"0", L"LZMA2"}};
    for (const auto& pair : pairs)
        properties.AddCopy(CHandlerProperty{pair[0], pair[1]});
    CInterfaceRef<CPropertySink> sink(new CPropertySink());
    ASSERT_EQ(ApplyHandlerProperties(static_cast<ISetProperties*>(sink.Get()), properties), S_OK);
    std::vector<std::wstring> expected = {L"x=19:5", L"s=11:false",      L"he=11:true",
                                          L"e=0:",   L"d=21:4294967296", L"0=8:LZMA2"};
    EXPECT_EQ(sink->Seen, expected);
}

TEST(CodecsTest, RealLibraryListsItsFormatsMethodsAndHashers)
{
    CLoadedCodecs codecs(L"7z.dll");
    ASSERT_EQ(codecs.LoadResult, S_OK);
    EXPECT_FALSE(codecs->ShareCodecs);
    EXPECT_EQ(codecs->Libraries.Count(), 1u);
    EXPECT_GE(codecs->Formats.Count(), 50u);
    EXPECT_GE(codecs->Methods.Count(), 20u);
    EXPECT_GE(codecs->Hashers.Count(), 5u);

    const struct
    {
        const wchar_t* Name;
        const wchar_t* Extensions;
        bool Update;
        uint8_t ClassByte;
    } cases[] = {
        {L"7z", L"7z", true, 0x07},
        {L"zip", L"zip z01 zipx jar xpi odt ods docx xlsx epub ipa apk appx", true, 0x01},
        {L"tar", L"tar ova", true, 0xEE},
        {L"gzip", L"gz gzip tgz(.tar) tpz(.tar) apk(.tar)", true, 0xEF},
        {L"Rar", L"rar r00", false, 0x03},
    };
    for (const auto& c : cases)
    {
        int32_t index = codecs->FormatIndexFromTypeName(c.Name);
        ASSERT_GE(index, 0) << c.Name;
        const CArchiveFormatInfo& format = codecs->Formats.At(static_cast<uint32_t>(index));
        EXPECT_EQ(ExtensionsText(format), c.Extensions) << c.Name;
        EXPECT_EQ(format.UpdateEnabled, c.Update) << c.Name;
        EXPECT_EQ(format.ClassId.Data4[5], c.ClassByte) << c.Name;
        EXPECT_TRUE(format.FlagsDefined) << c.Name;
        EXPECT_EQ(format.LibIndex, 0);
        EXPECT_EQ(format.FormatIndex, static_cast<uint32_t>(index));
    }
    const CArchiveFormatInfo& zip = codecs->Formats.At(codecs->FormatIndexFromTypeName(L"ZIP"));
    ASSERT_GE(zip.Signatures.Count(), 1u);
    EXPECT_EQ(BlockText(zip.Signatures.At(0)), std::string("PK\x03\x04", 4));
    ASSERT_NE(zip.IsArcFunc, nullptr);
    EXPECT_EQ(zip.IsArcFunc(reinterpret_cast<const BYTE*>("PK\x03\x04"), 2), kIsArc_NeedMore);
    EXPECT_EQ(codecs->FormatIndexFromTypeName(L"no-such-type"), -1);
}

TEST(CodecsTest, FormatFromFileNameUsesTheLastExtensionOnly)
{
    CLoadedCodecs codecs(L"7z.dll");
    int32_t sevenZip = codecs->FormatIndexFromTypeName(L"7z");
    int32_t gzip = codecs->FormatIndexFromTypeName(L"gzip");
    ASSERT_GE(sevenZip, 0);
    const struct
    {
        const wchar_t* Name;
        int32_t Expected;
    } cases[] = {
        {L"a.7Z", sevenZip},
        {L"a.7z", sevenZip},
        {L"archive", -1},
        {L"dir.d\\archive", -1},
        {L"dir.d/archive", -1},
        {L"a.", -1},
        {L"setup.EXE", -1},
        {L"x.tar.gz", gzip},
        // Listed by gzip and by zip: the format read first wins.
        {L"x.apk", gzip},
    };
    for (const auto& c : cases)
        EXPECT_EQ(codecs->FormatIndexFromFileName(c.Name), c.Expected) << c.Name;
}

TEST(CodecsTest, HandlerForSevenZipAnswersTheArchiveInterfaces)
{
    CLoadedCodecs codecs(L"7z.dll");
    int32_t index = codecs->FormatIndexFromTypeName(L"7z");
    ASSERT_GE(index, 0);
    CArchiveOpenRequest request;
    request.Codecs = &*codecs;
    CInterfaceRef<IInArchive> handler;
    ASSERT_EQ(CreateArchiveHandler(request, static_cast<uint32_t>(index), handler), S_OK);
    ASSERT_FALSE(handler.IsNull());
    CInterfaceRef<IInArchive> archive;
    EXPECT_EQ(archive.QueryFrom(handler.Get()), S_OK);
    CInterfaceRef<IOutArchive> writer;
    EXPECT_EQ(writer.QueryFrom(handler.Get()), S_OK);

    // A handler property the format does not know is refused by the library.
    COwnedPtrVector<CHandlerProperty> properties;
    properties.AddCopy(CHandlerProperty{L"no-such-option", L"1"});
    request.HandlerProperties = &properties;
    CInterfaceRef<IInArchive> refused;
    EXPECT_EQ(CreateArchiveHandler(request, static_cast<uint32_t>(index), refused), E_INVALIDARG);
    EXPECT_TRUE(refused.IsNull());
}

TEST(CodecsTest, RegistryServesTheLibrarysCodersAndHashers)
{
    CLoadedCodecs codecs(L"7z.dll");
    ULONG before = codecs->RefCount();
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(codecs->QueryInterface(IID_IInArchive, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(codecs->RefCount(), before);

    CInterfaceRef<IHashers> hashers;
    ASSERT_EQ(hashers.QueryFrom(static_cast<ICompressCodecsInfo*>(&*codecs)), S_OK);
    EXPECT_EQ(codecs->RefCount(), before + 1);
    UINT32 crc = hashers->GetNumHashers();
    for (UINT32 i = 0; i < hashers->GetNumHashers(); i++)
    {
        CPropValue name;
        ASSERT_EQ(hashers->GetHasherProp(i, kMethodName, &name), S_OK);
        if (name.vt == VT_BSTR && std::wstring(name.bstrVal) == L"CRC32")
            crc = i;
    }
    ASSERT_LT(crc, hashers->GetNumHashers());
    CInterfaceRef<IHasher> hasher;
    ASSERT_EQ(hashers->CreateHasher(crc, hasher.OutPtr()), S_OK);
    hasher->Init();
    hasher->Update("123456789", 9);
    BYTE digest[4] = {};
    hasher->Final(digest);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(digest), 4), std::string("\x26\x39\xF4\xCB", 4));

    UINT32 deflate = codecs->Methods.Count();
    for (UINT32 i = 0; i < codecs->Methods.Count(); i++)
    {
        CPropValue name;
        ASSERT_EQ(codecs->GetProperty(i, kMethodName, &name), S_OK);
        if (name.vt == VT_BSTR && std::wstring(name.bstrVal) == L"Deflate")
            deflate = i;
    }
    ASSERT_LT(deflate, codecs->Methods.Count());
    CPropValue hasEncoder;
    ASSERT_EQ(codecs->GetProperty(deflate, kMethodEncoderIsAssigned, &hasEncoder), S_OK);
    EXPECT_EQ(hasEncoder.vt, VT_BOOL);
    EXPECT_NE(hasEncoder.boolVal, VARIANT_FALSE);
    CInterfaceRef<ICompressCoder> decoder;
    EXPECT_EQ(codecs->CreateDecoder(deflate, &IID_ICompressCoder, decoder.OutVoidPtr()), S_OK);
    EXPECT_FALSE(decoder.IsNull());
}

TEST(CodecsTest, StubWithoutFormatCountGivesOneFormatWithOldFlags)
{
    CLoadedCodecs codecs(L"qv_codec_stub_1.dll");
    ASSERT_EQ(codecs.LoadResult, S_OK);
    ASSERT_EQ(codecs->Formats.Count(), 1u);
    const CArchiveFormatInfo& format = codecs->Formats.At(0);
    EXPECT_STREQ(format.Name.Chars(), L"Stub");
    EXPECT_EQ(format.FormatIndex, 0u);
    EXPECT_EQ(format.Flags, 2u);
    EXPECT_FALSE(format.FlagsDefined);
    EXPECT_FALSE(format.UpdateEnabled);
    EXPECT_EQ(format.SignatureOffset, 3u);
    EXPECT_EQ(format.IsArcFunc, nullptr);
    EXPECT_EQ(ExtensionsText(format), L"tar tgz(.tar)");
    ASSERT_EQ(format.Signatures.Count(), 1u);
    EXPECT_EQ(BlockText(format.Signatures.At(0)), "PK");

    // One method without a count export: a decoder without an encoder.
    ASSERT_EQ(codecs->Methods.Count(), 1u);
    EXPECT_TRUE(codecs->Methods.At(0).DecoderIsAssigned);
    EXPECT_FALSE(codecs->Methods.At(0).EncoderIsAssigned);
    void* coder = reinterpret_cast<void*>(1);
    EXPECT_EQ(codecs->CreateEncoder(0, &IID_ICompressCoder, &coder), S_OK);
    EXPECT_EQ(coder, nullptr);
    CPropValue name;
    ASSERT_EQ(codecs->GetProperty(0, kMethodName, &name), S_OK);
    ASSERT_EQ(name.vt, VT_BSTR);
    EXPECT_STREQ(name.bstrVal, L"StubCopy");
    EXPECT_EQ(codecs->Hashers.Count(), 0u);
}

typedef void(WINAPI* Func_StubGetHandlerLog)(LONG*, LONG*, LONG*, LONG*, LONG*);

TEST(CodecsTest, ShortClassIdStopsTheReadingAndKeepsEarlierFormats)
{
    CLoadedCodecs codecs(L"qv_codec_stub_2.dll");
    EXPECT_EQ(codecs.LoadResult, E_FAIL);
    // A partly read library stays loaded and its handlers get the registry.
    EXPECT_TRUE(codecs->ShareCodecs);
    ASSERT_EQ(codecs->Libraries.Count(), 1u);
    ASSERT_EQ(codecs->Formats.Count(), 2u);
    EXPECT_STREQ(codecs->Formats.At(0).Name.Chars(), L"Alpha");
    EXPECT_STREQ(codecs->Formats.At(1).Name.Chars(), L"Beta");
    EXPECT_EQ(codecs->Formats.At(1).FormatIndex, 2u);
    EXPECT_EQ(codecs->Formats.At(0).Flags, 0x200u);
    EXPECT_TRUE(codecs->Formats.At(0).FlagsDefined);
    EXPECT_NE(codecs->Formats.At(0).IsArcFunc, nullptr);
    EXPECT_EQ(codecs->Formats.At(1).IsArcFunc, nullptr);
    EXPECT_EQ(codecs->FormatIndexFromFileName(L"x.zip"), 0);

    auto getLog = reinterpret_cast<Func_StubGetHandlerLog>(reinterpret_cast<void*>(
        GetProcAddress(codecs->Libraries.At(0).Module.Handle(), "StubGetHandlerLog")));
    ASSERT_NE(getLog, nullptr);
    LONG live, setCodecs, methodCount, allowTailCalls, allowTailValue;
    CArchiveOpenRequest request;
    request.Codecs = &*codecs;
    {
        CInterfaceRef<IInArchive> alpha;
        CInterfaceRef<IInArchive> beta;
        ASSERT_EQ(CreateArchiveHandler(request, 0, alpha), S_OK);
        ASSERT_EQ(CreateArchiveHandler(request, 1, beta), S_OK);
        getLog(&live, &setCodecs, &methodCount, &allowTailCalls, &allowTailValue);
        EXPECT_EQ(live, 2);
        EXPECT_EQ(setCodecs, 2);
        EXPECT_EQ(methodCount, 0);
        // Only the format flagged as coming before other archives accepts a tail.
        EXPECT_EQ(allowTailCalls, 1);
        EXPECT_EQ(allowTailValue, 1);
    }
    getLog(&live, &setCodecs, &methodCount, &allowTailCalls, &allowTailValue);
    EXPECT_EQ(live, 0);
}

TEST(CodecsTest, LibrariesThatAddNothingAreDropped)
{
    for (const wchar_t* file : {L"qv_codec_stub_3.dll", L"qv-no-such-codecs.dll"})
    {
        CLoadedCodecs codecs(file);
        EXPECT_EQ(codecs.LoadResult, S_OK) << file;
        EXPECT_EQ(codecs->Libraries.Count(), 0u) << file;
        EXPECT_EQ(codecs->Formats.Count(), 0u) << file;
        EXPECT_EQ(codecs->FormatIndexFromFileName(L"a.zip"), -1) << file;
    }
    EXPECT_EQ(GetModuleHandleW(L"qv_codec_stub_3.dll"), nullptr);
}

TEST(CodecsTest, SharedRegistryFollowsTheUseCount)
{
    CreateSevenZipLoadMutex();
    ASSERT_EQ(GetModuleHandleW(L"7z.dll"), nullptr);
    {
        CSevenZipLibrary first;
        CSevenZipLibrary second;
        ASSERT_EQ(first.LoadLibrary(), 1);
        EXPECT_EQ(g_SevenZipCodecsUseCount, 1);
        CCodecs* codecs = g_SevenZipCodecs;
        ASSERT_NE(codecs, nullptr);
        EXPECT_EQ(codecs->RefCount(), 1u);
        EXPECT_STREQ(codecs->LibraryPath.Chars(), L"7z.dll");
        ASSERT_EQ(codecs->Libraries.Count(), 1u);
        // The registry holds the library through its own handle.
        EXPECT_EQ(codecs->Libraries.At(0).Module.Handle(), first.Module());
        EXPECT_GE(codecs->FormatIndexFromTypeName(L"7z"), 0);

        ASSERT_EQ(second.LoadLibrary(), 1);
        EXPECT_EQ(g_SevenZipCodecsUseCount, 2);
        EXPECT_EQ(g_SevenZipCodecs, codecs);
        first.UnloadLibrary();
        EXPECT_EQ(g_SevenZipCodecsUseCount, 1);
        EXPECT_EQ(g_SevenZipCodecs, codecs);
        EXPECT_NE(GetModuleHandleW(L"7z.dll"), nullptr);
    }
    EXPECT_EQ(g_SevenZipCodecsUseCount, 0);
    EXPECT_EQ(g_SevenZipCodecs, nullptr);
    EXPECT_EQ(GetModuleHandleW(L"7z.dll"), nullptr);
    CloseSevenZipLoadMutex();
}

} // namespace
