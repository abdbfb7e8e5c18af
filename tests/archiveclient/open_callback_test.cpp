#include "archiveclient/ops/OpenCallback.h"

#include "archiveclient/base/PropValue.h"
#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>

namespace
{

// A first volume in scratch\set, a second beside it and one in a sub-folder, and a file
// outside the set's folder that no volume request may reach.
struct CVolumeSet
{
    std::wstring root = qvtest::ScratchDir();
    std::wstring folder = root + L"\\set";

    CVolumeSet()
    {
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\dir2").c_str(), nullptr);
        qvtest::WriteFileBytes(folder + L"\\first.bin", "first");
        qvtest::WriteFileBytes(folder + L"\\second.bin", "second!");
        qvtest::WriteFileBytes(folder + L"\\dir2\\third.bin", "3");
        qvtest::WriteFileBytes(root + L"\\outside.bin", "outside");
    }
};

CInterfaceRef<COpenCallbackImp> MakeCallback(const CVolumeSet& set)
{
    CInterfaceRef<COpenCallbackImp> callback(new COpenCallbackImp());
    callback->Init((set.folder + L"\\").c_str(), L"first.bin");
    return callback;
}

TEST(OpenCallbackTest, VolumeNamesThatLeaveTheFolderGetNoStream)
{
    CVolumeSet set;
    CInterfaceRef<COpenCallbackImp> callback = MakeCallback(set);
    const wchar_t* const refused[] = {
        L"..\\outside.bin",
        L"a/../../outside.bin",
        L"../outside.bin",
        L"C:x",
        L"C:outside.bin",
        L"\\outside.bin",
        L"/outside.bin",
        L"dir2\\..",
        L"dir2",
        L"missing.bin",
        L"",
    };
    for (const wchar_t* name : refused)
    {
        IInStream* stream = reinterpret_cast<IInStream*>(1);
        EXPECT_EQ(callback->GetStream(name, &stream), S_FALSE) << name;
        EXPECT_EQ(stream, nullptr) << name;
    }
    EXPECT_EQ(callback->fileNames.Count(), 0u);
}

TEST(OpenCallbackTest, VolumesAreRecordedWhileTheirStreamsLive)
{
    CVolumeSet set;
    CInterfaceRef<COpenCallbackImp> callback = MakeCallback(set);
    CInterfaceRef<IInStream> second;
    ASSERT_EQ(callback->GetStream(L"second.bin", second.OutPtr()), S_OK);
    CInterfaceRef<IInStream> third;
    ASSERT_EQ(callback->GetStream(L"dir2/third.bin", third.OutPtr()), S_OK);
    ASSERT_EQ(callback->fileNames.Count(), 2u);
    EXPECT_STREQ(callback->fileNames.At(1).Chars(), L"dir2\\third.bin");
    EXPECT_EQ(callback->fileSizes.At(0), 7u);
    char byte = 0;
    UINT32 read = 0;
    ASSERT_EQ(third->Read(&byte, 1, &read), S_OK);
    EXPECT_EQ(byte, '3');

    // The stream keeps the callback alive; releasing it marks its volume unused.
    third.Release();
    EXPECT_TRUE(callback->fileNamesUsed.At(0));
    EXPECT_FALSE(callback->fileNamesUsed.At(1));

    // The name property describes the last volume opened.
    CPropValue name;
    ASSERT_EQ(callback->GetProperty(kpidName, &name), S_OK);
    ASSERT_EQ(name.vt, VT_BSTR);
    EXPECT_STREQ(name.bstrVal, L"third.bin");
}

TEST(OpenCallbackTest, AnInnerArchiveOpensNoVolumesAndNamesItsItem)
{
    CVolumeSet set;
    CInterfaceRef<COpenCallbackImp> callback = MakeCallback(set);
    callback->SetSubArchiveName(L"inner\\archive.tar");
    IInStream* stream = nullptr;
    EXPECT_EQ(callback->GetStream(L"second.bin", &stream), S_FALSE);
    EXPECT_EQ(stream, nullptr);
    CPropValue name;
    ASSERT_EQ(callback->GetProperty(kpidName, &name), S_OK);
    EXPECT_STREQ(name.bstrVal, L"inner\\archive.tar");
    CPropValue size;
    ASSERT_EQ(callback->GetProperty(kpidSize, &size), S_OK);
    EXPECT_EQ(size.vt, VT_EMPTY);
}

TEST(OpenCallbackTest, AMissingFirstVolumeThrowsAndNoUiRefusesThePassword)
{
    CVolumeSet set;
    CInterfaceRef<COpenCallbackImp> callback(new COpenCallbackImp());
    EXPECT_THROW(callback->Init((set.folder + L"\\").c_str(), L"nothere.bin"), int);
    BSTR password = nullptr;
    EXPECT_EQ(callback->CryptoGetTextPassword(&password), E_NOTIMPL);
    EXPECT_FALSE(callback->passwordAsked);
}

} // namespace
