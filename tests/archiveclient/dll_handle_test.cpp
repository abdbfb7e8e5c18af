#include "archiveclient/base/DllHandle.h"

#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>

namespace
{

TEST(DllHandleTest, LoadingASecondLibraryFreesTheFirst)
{
    // Libraries the test program does not load by itself.
    const wchar_t* first = L"mscms.dll";
    const wchar_t* second = L"wer.dll";
    ASSERT_EQ(GetModuleHandleW(first), nullptr);
    {
        CDllHandle dll;
        ASSERT_TRUE(dll.Load(first));
        EXPECT_NE(GetModuleHandleW(first), nullptr);
        ASSERT_TRUE(dll.Load(second));
        EXPECT_EQ(GetModuleHandleW(first), nullptr);
        EXPECT_EQ(dll.Handle(), GetModuleHandleW(second));
    }
    EXPECT_EQ(GetModuleHandleW(second), nullptr);
    CDllHandle missing;
    EXPECT_FALSE(missing.Load(L"qv-no-such-library.dll"));
    EXPECT_EQ(missing.Handle(), nullptr);
}

TEST(DllHandleTest, ModuleDirectoryEndsWithASeparator)
{
    UString dir = GetModuleDirectory();
    EXPECT_TRUE(dir.EqualsNoCase((qvtest::ProgramDir() + L"\\").c_str())) << dir.Chars();
    UString path;
    ASSERT_TRUE(GetModuleFilePath(path));
    EXPECT_TRUE(UString(path.CharsAt(dir.Length())).EqualsAsciiNoCase("qv_archive_client_tests.exe"));
}

} // namespace
