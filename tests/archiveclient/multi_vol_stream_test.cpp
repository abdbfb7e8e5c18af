#include "archiveclient/update/MultiVolStream.h"

#include "tests/common/TestHelpers.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

class MultiVolStreamTest : public qvtest::ScratchFolderTest
{
protected:
    std::wstring Volume(int n) const
    {
        wchar_t suffix[16];
        swprintf(suffix, 16, L"x.7z.%03d", n);
        return P(suffix);
    }
    // A stream of 100-byte volumes writing x.7z.001, x.7z.002, ...
    COutMultiVolStream* Make(CTempFileList& temp)
    {
        CValueVector<uint64_t> sizes;
        sizes.Add(100);
        return new COutMultiVolStream(sizes, UString((dir + L"\\x.7z.").c_str()), &temp);
    }
    static std::string Bytes(const std::wstring& path)
    {
        std::string s;
        FILE* f = _wfopen(path.c_str(), L"rb");
        if (f == nullptr)
            return "<missing>";
        char buffer[512];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
            s.append(buffer, n);
        fclose(f);
        return s;
    }
    // Writes all of data the way the library does: calls until everything went out.
    static HRESULT WriteAll(IOutStream* stream, const std::string& data)
    {
        size_t done = 0;
        while (done < data.size())
        {
            UINT32 processed = 0;
            HRESULT hr =
                stream->Write(data.data() + done, static_cast<UINT32>(data.size() - done), &processed);
            if (hr != S_OK)
                return hr;
            if (processed > 100)
                return E_UNEXPECTED; // one call may fill at most one volume
            done += processed;
        }
        return S_OK;
    }
};

std::string Pattern(size_t n, char first)
{
    std::string s(n, ' ');
    for (size_t i = 0; i < n; i++)
        s[i] = static_cast<char>(first + i % 26);
    return s;
}

TEST_F(MultiVolStreamTest, SpreadsBytesOverVolumesAndSeeksBackIntoTheFirst)
{
    CTempFileList temp;
    COutMultiVolStream* stream = Make(temp);
    CInterfaceRef<IOutStream> ref(stream);
    std::string data = Pattern(250, 'a');
    ASSERT_EQ(WriteAll(ref, data), S_OK);
    EXPECT_EQ(stream->TotalLength(), 250u);
    UINT64 pos = 0;
    ASSERT_EQ(ref->Seek(10, kSeekSet, &pos), S_OK);
    EXPECT_EQ(pos, 10u);
    ASSERT_EQ(WriteAll(ref, "XYZ"), S_OK);
    ASSERT_EQ(stream->CloseAll(), S_OK);
    std::string expected = data;
    expected.replace(10, 3, "XYZ");
    EXPECT_EQ(Bytes(Volume(1)), expected.substr(0, 100));
    EXPECT_EQ(Bytes(Volume(2)), data.substr(100, 100));
    EXPECT_EQ(Bytes(Volume(3)), data.substr(200, 50));
    EXPECT_EQ(temp.Count(), 3u);
}

TEST_F(MultiVolStreamTest, SetSizeCutsOneVolumeAndDeletesTheLaterOnes)
{
    CTempFileList temp;
    COutMultiVolStream* stream = Make(temp);
    CInterfaceRef<IOutStream> ref(stream);
    std::string data = Pattern(250, 'a');
    ASSERT_EQ(WriteAll(ref, data), S_OK);
    ASSERT_EQ(ref->SetSize(150), S_OK);
    EXPECT_EQ(stream->TotalLength(), 150u);
    UINT64 end = 0;
    ASSERT_EQ(ref->Seek(0, kSeekEnd, &end), S_OK);
    EXPECT_EQ(end, 150u);
    ASSERT_EQ(stream->CloseAll(), S_OK);
    EXPECT_EQ(Bytes(Volume(1)), data.substr(0, 100));
    EXPECT_EQ(Bytes(Volume(2)), data.substr(100, 50));
    EXPECT_EQ(GetFileAttributesW(Volume(3).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(temp.Count(), 2u);
    temp.Release();
}

TEST_F(MultiVolStreamTest, VolumeNamesHaveAtLeastThreeDigits)
{
    struct Case
    {
        uint32_t index;
        const wchar_t* name;
    } cases[] = {
        {0, L"x.7z.001"}, {98, L"x.7z.099"}, {998, L"x.7z.999"}, {999, L"x.7z.1000"}, {12344, L"x.7z.12345"}};
    for (const Case& c : cases)
        EXPECT_STREQ(MakeVolumeName(UString(L"x.7z."), c.index).Chars(), c.name) << c.index;
}

TEST_F(MultiVolStreamTest, TheThousandthVolumeIsWrittenUnderFourDigits)
{
    CTempFileList temp;
    CValueVector<uint64_t> sizes;
    sizes.Add(1);
    COutMultiVolStream* stream = new COutMultiVolStream(sizes, UString((dir + L"\\x.7z.").c_str()), &temp);
    CInterfaceRef<IOutStream> ref(stream);
    for (int i = 0; i < 1000; i++)
    {
        UINT32 processed = 0;
        ASSERT_EQ(ref->Write("v", 1, &processed), S_OK);
        ASSERT_EQ(processed, 1u);
    }
    ASSERT_EQ(stream->CloseAll(), S_OK);
    EXPECT_EQ(Bytes(P(L"x.7z.1000")), "v");
    EXPECT_EQ(Bytes(P(L"x.7z.999")), "v");
    // The list deletes every volume when it ends unreleased.
}

TEST_F(MultiVolStreamTest, ALeftoverVolumeFailsTheWriteAndTheFailedJobRemovesItsOwnVolumes)
{
    HANDLE old = CreateFileW(Volume(2).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(old, INVALID_HANDLE_VALUE);
    CloseHandle(old);
    {
        CTempFileList temp;
        COutMultiVolStream* stream = Make(temp);
        CInterfaceRef<IOutStream> ref(stream);
        EXPECT_EQ(WriteAll(ref, Pattern(250, 'a')), static_cast<HRESULT>(ERROR_FILE_EXISTS));
        stream->CloseAll();
        ref.Release();
        EXPECT_EQ(Bytes(Volume(1)).size(), 100u);
    }
    EXPECT_EQ(GetFileAttributesW(Volume(1).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Bytes(Volume(2)), "");
}

} // namespace
