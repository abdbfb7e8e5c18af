#include "archiveclient/update/UpdateCallback.h"

#include "tests/common/TestHelpers.h"
#include <gtest/gtest.h>

namespace
{

// Records what the callback passes on; every answer is "go on" unless set otherwise.
struct CRecordingUi : IUpdateCallbackUI2
{
    HRESULT readFailureAnswer = S_FALSE;
    std::wstring readFailurePath;

    HRESULT WriteSfxModule() override { return S_OK; }
    HRESULT SetTotalSize(uint64_t) override { return S_OK; }
    HRESULT SetCompletedSize(const uint64_t*) override { return S_OK; }
    HRESULT SetSizeRatio(const uint64_t*, const uint64_t*) override { return S_OK; }
    HRESULT PollCancel() override { return S_OK; }
    HRESULT SetUpdateItemCount(uint64_t) override { return S_OK; }
    HRESULT BeginUpdateItem(const wchar_t*, bool, int32_t, uint32_t) override { return S_OK; }
    HRESULT ReportOpenFileFailure(const wchar_t*, DWORD) override { return S_FALSE; }
    HRESULT ReportReadFailure(const wchar_t* path, DWORD) override
    {
        readFailurePath = path;
        return readFailureAnswer;
    }
    HRESULT SetUpdateItemResult(int32_t) override { return S_OK; }
    HRESULT ReportItemCheckResult(int32_t result, bool, const wchar_t* name) override
    {
        checked = name + std::wstring(L"=") + std::to_wstring(result);
        return S_OK;
    }
    std::wstring checked;
    HRESULT ReportUpdateStep(uint32_t, const wchar_t*, bool) override { return S_OK; }
    HRESULT GetPackPassword(INT32*, BSTR*) override { return S_OK; }
    HRESULT GetPassword(BSTR*) override { return S_OK; }
    HRESULT ReportDroppedItem(const wchar_t*, bool) override { return S_OK; }
    HRESULT ReportOpenResult(const CCodecs&, const CArchiveChain&, const wchar_t*, HRESULT) override
    {
        return S_OK;
    }
    HRESULT BeginDiskScan() override { return S_OK; }
    HRESULT EndDiskScan(const CDiskScanStats&) override { return S_OK; }
    HRESULT BeginOpenArchive(const wchar_t*) override { return S_OK; }
    HRESULT BeginArchive(const wchar_t*, bool) override { return S_OK; }
    HRESULT EndArchive(const CUpdateRunStats&) override { return S_OK; }
    HRESULT ReportSourceDeleted(const wchar_t*) override { return S_OK; }
    HRESULT EndSourceDeletion() override { return S_OK; }
    HRESULT ScanError(const UString&, uint32_t) override { return S_OK; }
    HRESULT ScanProgress(const CDiskScanStats&, const UString&, bool) override { return S_OK; }
};

class UpdateCallbackTest : public qvtest::ScratchFolderTest
{
};

TEST_F(UpdateCallbackTest, VolumeStreamsUseTheProgramsVolumeNamesAndNeverOverwrite)
{
    CRecordingUi ui;
    CArchiveUpdateCallback* callback = new CArchiveUpdateCallback;
    CInterfaceRef<IArchiveUpdateCallback2> ref(callback);
    callback->Ui = &ui;
    callback->VolumeBaseName = (dir + L"\\v.7z").c_str();
    UINT64 size = 0;
    EXPECT_EQ(callback->GetVolumeSize(0, &size), S_FALSE);
    callback->VolumeSizes = {10, 20};
    ASSERT_EQ(callback->GetVolumeSize(5, &size), S_OK);
    EXPECT_EQ(size, 20u);
    ISequentialOutStream* out = nullptr;
    ASSERT_EQ(callback->GetVolumeStream(1, &out), S_OK);
    out->Release();
    EXPECT_NE(GetFileAttributesW(P(L"v.7z.002").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(callback->GetVolumeStream(1, &out), static_cast<HRESULT>(ERROR_FILE_EXISTS));
    EXPECT_EQ(out, nullptr);
}

TEST_F(UpdateCallbackTest, ALockedFileIsLeftToTheUserAndARenamedItemTakesItsNewName)
{
    CRecordingUi ui;
    CArchiveUpdateCallback* callback = new CArchiveUpdateCallback;
    CInterfaceRef<IArchiveUpdateCallback2> ref(callback);
    callback->Ui = &ui;
    std::vector<CUpdateStep> steps(1);
    steps[0].NewNameIndex = 0;
    std::vector<UString> names{UString(L"new\\name.txt")};
    callback->Steps = &steps;
    callback->NewNames = &names;
    PROPVARIANT value;
    PropVariantInit(&value);
    ASSERT_EQ(callback->GetProperty(0, kpidPath, &value), S_OK);
    ASSERT_EQ(value.vt, VT_BSTR);
    EXPECT_STREQ(value.bstrVal, L"new\\name.txt");
    PropVariantClear(&value);

    callback->OpenStreamIds = {7};
    callback->OpenStreamPaths = {UString(L"C:\\locked.bin")};
    EXPECT_EQ(callback->OnReadError(7, ERROR_LOCK_VIOLATION), S_FALSE);
    EXPECT_EQ(ui.readFailurePath, L"C:\\locked.bin");
    ui.readFailurePath.clear();
    EXPECT_EQ(callback->OnReadError(7, ERROR_ACCESS_DENIED), HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(ui.readFailurePath.empty());
    callback->OnStreamDestroyed(7);
    EXPECT_TRUE(callback->AllInputsClosed());
}

TEST(UpdateCallbackCheckTest, CheckResultsNameTheItemTheLibraryMeans)
{
    CRecordingUi ui;
    CArchiveUpdateCallback* callback = new CArchiveUpdateCallback;
    CInterfaceRef<IArchiveUpdateCallback2> ref(callback);
    callback->Ui = &ui;
    std::vector<CStoredItem> stored(2);
    stored[1].Name = L"old\\item.txt";
    callback->StoredItems = &stored;
    CInterfaceRef<IArchiveExtractCallbackMessage2> message;
    ASSERT_EQ(message.QueryFrom(static_cast<IArchiveUpdateCallback2*>(callback)), S_OK);
    ASSERT_EQ(message->ReportExtractResult(1, 1, 3), S_OK);
    EXPECT_EQ(ui.checked, L"old\\item.txt=3");
    ASSERT_EQ(message->ReportExtractResult(2, 42, 2), S_OK);
    EXPECT_EQ(ui.checked, L"#42=2");
    EXPECT_EQ(message->ReportExtractResult(3, 0, 1), E_FAIL);
}

TEST(UpdateCallbackLinkTest, AbsoluteTargetsBecomeRelativeToTheLink)
{
    struct Case
    {
        const wchar_t* target;
        const wchar_t* link;
        const wchar_t* stored;
    } cases[] = {
        {L"C:\\tree\\a\\file.txt", L"C:\\tree\\b\\link", L"..\\a\\file.txt"},
        {L"C:\\tree\\file.txt", L"C:\\tree\\link", L"file.txt"},
        {L"C:\\tree\\x\\y", L"C:\\tree\\a\\b\\link", L"..\\..\\x\\y"},
        {L"c:\\TREE\\f", L"C:\\tree\\d\\link", L"..\\f"},
        {L"D:\\other\\f", L"C:\\tree\\link", L"D:\\other\\f"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(MakeRelativeLinkTarget(UString(c.target), UString(c.link)).Chars(), c.stored)
            << c.target;
}

} // namespace
