#include "archiveclient/base/FileStreams.h"

#include "tests/common/TestHelpers.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

class FileStreamsTest : public qvtest::ScratchFolderTest
{
};

// Swaps one standard handle for the length of a test.
class CStdHandleSwap
{
public:
    CStdHandleSwap(DWORD which, HANDLE handle) : m_which(which), m_old(GetStdHandle(which))
    {
        SetStdHandle(which, handle);
    }
    ~CStdHandleSwap() { SetStdHandle(m_which, m_old); }

private:
    DWORD m_which;
    HANDLE m_old;
};

TEST_F(FileStreamsTest, StdInAfterTheWriterClosedIsTheEnd)
{
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writeEnd, "abc", 3, &written, nullptr));
    CloseHandle(writeEnd);
    CStdHandleSwap swap(STD_INPUT_HANDLE, readEnd);
    CInterfaceRef<ISequentialInStream> in(new CStdInFileStream);
    char buffer[16];
    UINT32 read = 0;
    ASSERT_EQ(in->Read(buffer, sizeof buffer, &read), S_OK);
    EXPECT_EQ(std::string(buffer, read), "abc");
    read = 99;
    EXPECT_EQ(in->Read(buffer, sizeof buffer, &read), S_OK);
    EXPECT_EQ(read, 0u);
    CloseHandle(readEnd);
}

TEST_F(FileStreamsTest, StdOutWritesAtMost32KiBPerCall)
{
    HANDLE file = CreateFileW(P(L"out").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<char> data(100000, 'q');
    {
        CStdHandleSwap swap(STD_OUTPUT_HANDLE, file);
        CStdOutFileStream* out = new CStdOutFileStream;
        CInterfaceRef<ISequentialOutStream> ref(out);
        UINT32 processed = 0;
        ASSERT_EQ(ref->Write(data.data(), 100000, &processed), S_OK);
        EXPECT_EQ(processed, 32768u);
        EXPECT_EQ(ref->Write(data.data(), 0, &processed), S_OK);
        EXPECT_EQ(processed, 0u);
        EXPECT_EQ(out->TotalWritten(), 32768u);
    }
    CloseHandle(file);
    EXPECT_EQ(qvtest::ReadFileBytes(P(L"out")).size(), 32768u);
}

TEST_F(FileStreamsTest, IdentityReportsLinksOnlyWhenAsked)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"a"), "12345"));
    ASSERT_TRUE(CreateHardLinkW(P(L"b").c_str(), P(L"a").c_str(), nullptr));
    ASSERT_TRUE(CreateHardLinkW(P(L"c").c_str(), P(L"a").c_str(), nullptr));
    CInFileStream* stream = new CInFileStream;
    CInterfaceRef<IInStream> ref(stream);
    ASSERT_TRUE(stream->File.Open(P(L"a").c_str()));
    CInterfaceRef<IStreamGetProps2> props;
    ASSERT_EQ(props.QueryFrom(ref.Get()), S_OK);
    CFileIdentityRecord record = {};
    ASSERT_EQ(props->QueryFileIdentity(&record), S_OK);
    EXPECT_EQ(record.NumLinks, 1u);
    EXPECT_EQ(record.Size, 5u);
    EXPECT_EQ(record.FileIdHigh, 0u);
    stream->ReportHardLinks = true;
    ASSERT_EQ(props->QueryFileIdentity(&record), S_OK);
    EXPECT_EQ(record.NumLinks, 3u);
}

TEST_F(FileStreamsTest, FailuresAreFailureCodesNeverSuccess)
{
    CInFileStream* stream = new CInFileStream; // no file open: every system call fails
    CInterfaceRef<IInStream> ref(stream);
    UINT64 size = 0;
    FILETIME time;
    UINT32 attributes = 0;
    CFileIdentityRecord record;
    char buffer[4];
    UINT32 read = 0;
    EXPECT_TRUE(FAILED(stream->QueryFileProps(&size, &time, nullptr, nullptr, &attributes)));
    EXPECT_TRUE(FAILED(stream->QueryFileIdentity(&record)));
    EXPECT_TRUE(FAILED(stream->QueryStreamSize(&size)));
    EXPECT_EQ(stream->Read(buffer, 4, &read), ResultFromSystemError(ERROR_INVALID_HANDLE));
}

class CReadErrorProbe : public IInFileStream_Callback
{
public:
    HRESULT OnReadError(UINT_PTR value, DWORD error) override
    {
        seenValue = value;
        seenError = error;
        return E_ABORT;
    }
    void OnStreamDestroyed(UINT_PTR value) override { destroyedValue = value; }
    UINT_PTR seenValue = 0, destroyedValue = 0;
    DWORD seenError = 0;
};

TEST_F(FileStreamsTest, CallbackDecidesReadErrorsAndHearsOfDestruction)
{
    CReadErrorProbe probe;
    {
        CInFileStream* stream = new CInFileStream;
        CInterfaceRef<IInStream> ref(stream);
        stream->Callback = &probe;
        stream->CallbackValue = 42;
        char buffer[4];
        UINT32 read = 0;
        EXPECT_EQ(ref->Read(buffer, 4, &read), E_ABORT);
        EXPECT_EQ(probe.seenValue, 42u);
        EXPECT_EQ(probe.seenError, static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(probe.destroyedValue, 0u);
    }
    EXPECT_EQ(probe.destroyedValue, 42u);
}

TEST_F(FileStreamsTest, OutStreamSetSizeKeepsThePosition)
{
    COutFileStream* stream = new COutFileStream;
    CInterfaceRef<IOutStream> ref(stream);
    ASSERT_TRUE(stream->File.Create(P(L"o").c_str(), true));
    ASSERT_EQ(ref->Write("abcdef", 6, nullptr), S_OK);
    ASSERT_EQ(ref->SetSize(100), S_OK);
    UINT64 position = 0;
    ASSERT_EQ(ref->Seek(0, kSeekCur, &position), S_OK);
    EXPECT_EQ(position, 6u);
    ASSERT_EQ(ref->SetSize(2), S_OK);
    ASSERT_EQ(ref->Write("Z", 1, nullptr), S_OK);
    EXPECT_EQ(stream->ProcessedSize, 7u);
    UINT64 size = 0;
    ASSERT_EQ(stream->QuerySize(size), S_OK);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(stream->Close(), S_OK);
    EXPECT_EQ(qvtest::ReadFileBytes(P(L"o")), std::string("ab\0\0\0\0Z", 7));
}

} // namespace
