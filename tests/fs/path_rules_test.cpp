#include "fs/FileSystem.h"
#include "fs/PathRules.h"

#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>

namespace
{

TEST(PathRulesTest, MakesFullPathsWithoutTheSystem)
{
    const struct
    {
        const wchar_t* base;
        const wchar_t* path;
        bool ok;
        const wchar_t* full;
    } cases[] = {
        // A rooted path that climbs above its root stays as given.
        {L"C:\\w", L"C:\\a\\..\\..\\b", true, L"C:\\a\\..\\..\\b"},
        {L"C:\\w", L"x\\..\\y", true, L"C:\\w\\y"},
        {L"C:\\w", L"C:\\a\\.\\b\\..\\c", true, L"C:\\a\\c"},
        {L"C:\\w\\", L".\\x", true, L"C:\\w\\x"},
        {L"\\\\srv\\share\\d", L"..\\x", true, L"\\\\srv\\share\\x"},
        {L"C:\\w", L"..\\..\\x", false, nullptr},
        {L"relative", L"x", false, nullptr},
    };
    for (const auto& c : cases)
    {
        UString full;
        EXPECT_EQ(MakeFullPathFrom(c.base, c.path, full), c.ok) << c.path;
        if (c.ok)
        {
            EXPECT_STREQ(full.Chars(), c.full) << c.path;
        }
    }
}

TEST(PathRulesTest, ResolvesDotComponents)
{
    const struct
    {
        const wchar_t* in;
        bool ok;
        const wchar_t* out;
    } cases[] = {
        {L"a\\b\\..\\c", true, L"a\\c"},
        {L"a\\.\\b", true, L"a\\b"},
        {L".\\a", true, L"a"},
        {L"a\\..", true, L""},
        {L"a\\b.\\..c", true, L"a\\b.\\..c"},
        {L"..\\a", false, nullptr},
        {L"a\\..\\..\\b", false, nullptr},
    };
    for (const auto& c : cases)
    {
        UString s(c.in);
        EXPECT_EQ(ResolveDotComponents(s), c.ok) << c.in;
        if (c.ok)
        {
            EXPECT_STREQ(s.Chars(), c.out) << c.in;
        }
    }
}

TEST(PathRulesTest, ChoosesTheExtendedLengthForm)
{
    const struct
    {
        const wchar_t* path;
        const wchar_t* super;
        ELongPathUse use;
    } cases[] = {
        {L"C:\\dir\\name.", L"\\\\?\\C:\\dir\\name.", LongPathOnly},
        {L"C:\\dir \\name", L"\\\\?\\C:\\dir \\name", LongPathOnly},
        {L"C:\\a\\..\\b", L"\\\\?\\C:\\b", LongPathOnRetry},
        {L"C:\\a\\..\\..\\b", L"", LongPathOnRetry},
        {L"\\\\srv\\share\\f", L"\\\\?\\UNC\\srv\\share\\f", LongPathOnRetry},
        {L"\\\\.\\PhysicalDrive0", L"", LongPathNever},
        {L"\\\\?\\C:\\x", L"", LongPathNever},
        {L"\\\\?\\C:\\a\\..\\b", L"\\\\?\\C:\\b", LongPathOnly},
        {L"..", L"", LongPathOnRetry},
    };
    for (const auto& c : cases)
    {
        UString super;
        EXPECT_TRUE(GetSuperPath(c.path, super)) << c.path;
        EXPECT_STREQ(super.Chars(), c.super) << c.path;
        EXPECT_EQ(GetLongPathUse(c.path), c.use) << c.path;
    }
    UString super;
    EXPECT_FALSE(GetSuperPath(L"\\\\srv\\share\\..\\..\\x", super));
}

TEST(PathRulesTest, RelativeSuperPathFollowsTheCurrentDirectory)
{
    UString saved;
    ASSERT_TRUE(GetCurrentDirectoryPath(saved));
    ASSERT_TRUE(SetCurrentDirectoryPath(L"C:\\windows"));
    UString super;
    EXPECT_TRUE(GetSuperPath(L"x\\..\\y.", super));
    EXPECT_TRUE(super.EqualsNoCase(L"\\\\?\\C:\\windows\\y.")) << super.Chars();
    EXPECT_TRUE(GetSuperPath(L"\\z", super));
    EXPECT_STREQ(super.Chars(), L"\\\\?\\C:\\z");
    SetCurrentDirectoryPath(saved);
}

TEST(PathRulesTest, RecognisesPrefixes)
{
    EXPECT_TRUE(IsDevicePath(L"\\\\.\\PhysicalDrive0"));
    EXPECT_TRUE(IsDevicePath(L"\\\\.\\C:"));
    EXPECT_FALSE(IsDevicePath(L"\\\\.\\physicaldrive0"));
    EXPECT_FALSE(IsDevicePath(L"\\\\.\\C:\\"));
    EXPECT_FALSE(IsDevicePath(L"\\\\.\\PhysicalDrive123456"));
    EXPECT_TRUE(IsDriveRootOnly(L"\\\\?\\C:\\"));
    EXPECT_FALSE(IsDriveRootOnly(L"C:\\x"));

    const struct
    {
        const wchar_t* path;
        uint32_t root;
        uint32_t server;
    } cases[] = {
        {L"C:\\x", 3, 0},
        {L"C:x", 0, 0},
        {L"\\x", 1, 0},
        {L"\\\\srv\\share\\x", 12, 6},
        {L"\\\\srv\\share", 0, 6},
        {L"\\\\?\\C:\\x", 7, 0},
        {L"\\\\?\\UNC\\srv\\share\\x", 18, 12},
        {L"\\\\.\\C:", 4, 0},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(GetRootPrefixLength(c.path), c.root) << c.path;
        EXPECT_EQ(GetServerPrefixLength(c.path), c.server) << c.path;
    }
}

TEST(PathRulesTest, FindsTheStreamColonAndDataSuffix)
{
    EXPECT_EQ(FindStreamColon(L"C:\\dir\\file:stream"), 11);
    EXPECT_EQ(FindStreamColon(L"C:\\dir\\file"), -1);
    EXPECT_EQ(FindStreamColon(L"C:\\d:ir\\file"), -1);
    EXPECT_EQ(FindStreamColon(L"C:file:s"), 6);
    EXPECT_STREQ(StripDataStreamSuffix(UString(L":x:$data")).Chars(), L":x");
    EXPECT_STREQ(StripDataStreamSuffix(UString(L"::$DATA")).Chars(), L"::$DATA");
    EXPECT_TRUE(IsDataStreamName(L"::$Data"));
}

TEST(PathRulesTest, SplitsFullPathAfterTheLastSeparator)
{
    UString dir, name;
    EXPECT_TRUE(GetFullPathParts(L"C:\\a\\.\\b.txt", dir, name));
    EXPECT_STREQ(dir.Chars(), L"C:\\a\\");
    EXPECT_STREQ(name.Chars(), L"b.txt");
}

} // namespace
