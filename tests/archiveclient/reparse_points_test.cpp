#include "archiveclient/base/ReparsePoints.h"

#include "tests/common/TestSupport.h"
#include <gtest/gtest.h>
#include <string>

namespace
{

std::string BlockBytes(const CByteBlock& block)
{
    return std::string(reinterpret_cast<const char*>(block.Data()), static_cast<size_t>(block.Size()));
}

std::string Built(const wchar_t* target, bool isSymLink)
{
    CByteBlock block;
    EXPECT_TRUE(BuildReparseData(block, target, isSymLink));
    return BlockBytes(block);
}

UINT32 At16(const std::string& s, size_t i)
{
    return static_cast<BYTE>(s[i]) | (static_cast<BYTE>(s[i + 1]) << 8);
}

bool ParseBytes(const std::string& s, CReparseInfo& info)
{
    return info.Parse(reinterpret_cast<const BYTE*>(s.data()), s.size());
}

TEST(ReparsePoints, JunctionForADriveFolderIs44BytesAndRoundTrips)
{
    std::string data = Built(L"C:\\t", false);
    ASSERT_EQ(data.size(), 44u);
    EXPECT_EQ(data.substr(0, 8), std::string("\x03\x00\x00\xA0\x24\x00\x00\x00", 8));
    EXPECT_EQ(At16(data, 8), 0u);   // substitute offset
    EXPECT_EQ(At16(data, 10), 16u); // substitute length
    EXPECT_EQ(At16(data, 12), 18u); // print offset, after the terminator
    EXPECT_EQ(At16(data, 14), 8u);
    CReparseInfo info;
    ASSERT_TRUE(ParseBytes(data, info));
    EXPECT_EQ(info.Tag, kReparseTagMountPoint);
    EXPECT_EQ(info.Flags, 0u);
    EXPECT_STREQ(info.SubstituteName, L"\\??\\C:\\t");
    EXPECT_STREQ(info.PrintName, L"C:\\t");
    UString path;
    info.GetPath(path);
    EXPECT_STREQ(path, L"C:\\t");
}

TEST(ReparsePoints, BuiltLinksParseBackToTheirTargets)
{
    struct Case
    {
        const wchar_t* target;
        bool isSymLink;
        UINT32 flags;
        const wchar_t* substitute;
        const wchar_t* print;
        const wchar_t* path;
    } cases[] = {
        {L"a\\b", true, 1, L"a\\b", L"a\\b", L"a\\b"},
        {L"\\top", true, 1, L"\\top", L"\\top", L"\\top"},
        {L"C:\\x\\y", true, 0, L"\\??\\C:\\x\\y", L"C:\\x\\y", L"C:\\x\\y"},
        {L"\\\\?\\C:\\d", false, 0, L"\\??\\C:\\d", L"C:\\d", L"C:\\d"},
        {L"\\\\srv\\sh\\d", false, 0, L"\\??\\UNC\\srv\\sh\\d", L"\\\\srv\\sh\\d", L"\\\\?\\UNC\\srv\\sh\\d"},
        {L"\\\\?\\UNC\\srv\\sh", true, 0, L"\\??\\UNC\\srv\\sh", L"", L"\\\\?\\UNC\\srv\\sh"},
        {L"\\\\?\\Volume{1}\\", false, 0, L"\\??\\Volume{1}\\", L"", L"\\\\?\\Volume{1}\\"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.target)));
        std::string data = Built(c.target, c.isSymLink);
        CReparseInfo info;
        ASSERT_TRUE(ParseBytes(data, info));
        EXPECT_EQ(info.Tag, c.isSymLink ? kReparseTagSymLink : kReparseTagMountPoint);
        EXPECT_EQ(info.Flags, c.flags);
        EXPECT_STREQ(info.SubstituteName, c.substitute);
        EXPECT_STREQ(info.PrintName, c.print);
        UString path;
        info.GetPath(path);
        EXPECT_STREQ(path, c.path);
        if (c.isSymLink)
        {
            EXPECT_EQ(At16(data, 12), 0u); // the print name comes first
        }
    }
}

TEST(ReparsePoints, TargetsThatCannotBeStoredAreRefused)
{
    CByteBlock block;
    EXPECT_FALSE(BuildReparseData(block, L"rel\\dir", false));
    EXPECT_FALSE(BuildReparseData(block, L"\\top", false));
    std::wstring huge = L"C:\\" + std::wstring(5000, L'x');
    EXPECT_FALSE(BuildReparseData(block, huge.c_str(), true));
}

TEST(ReparsePoints, MalformedBuffersAreRefused)
{
    const std::string junction = Built(L"C:\\t", false);
    const std::string link = Built(L"a\\b", true);
    auto with16 = [](std::string s, size_t at, UINT32 v) {
        s[at] = static_cast<char>(v);
        s[at + 1] = static_cast<char>(v >> 8);
        return s;
    };
    struct Case
    {
        const char* name;
        std::string data;
    } cases[] = {
        {"shorter than the header", junction.substr(0, 7)},
        {"truncated", junction.substr(0, 43)},
        {"one byte longer", junction + '\0'},
        {"foreign tag", with16(junction, 0, 0x0001)},
        {"reserved set", with16(junction, 6, 1)},
        {"data length below 8", with16(junction.substr(0, 14), 4, 6)},
        {"odd substitute offset", with16(junction, 8, 1)},
        {"odd print offset", with16(junction, 12, 19)},
        {"substitute beyond the room", with16(junction, 10, 30)},
        {"print beyond the room", with16(junction, 14, 12)},
        {"huge print offset", with16(junction, 12, 0xFFFE)},
        {"link without room for flags", with16(link.substr(0, 16), 4, 8)},
        {"link names beyond the room", with16(link, 10, static_cast<UINT32>(link.size()))},
    };
    for (const Case& c : cases)
    {
        CReparseInfo info;
        EXPECT_FALSE(ParseBytes(c.data, info)) << c.name;
    }
    CReparseInfo info;
    EXPECT_TRUE(ParseBytes(junction, info));
    EXPECT_TRUE(ParseBytes(link, info));
}

// Stands in for the file system's reparse query, which this test system cannot answer.
class CFakeReparseApi : public CReparseApi
{
public:
    bool GetReparseData(CFileHandle&, const wchar_t*, void* buffer, DWORD size, DWORD& returned) override
    {
        if (data.size() > size)
            return false;
        memcpy(buffer, data.data(), data.size());
        returned = static_cast<DWORD>(data.size());
        return true;
    }
    std::string data;
};

TEST(ReparsePoints, ReadReparseDataGoesThroughTheSeam)
{
    std::wstring dir = qvtest::ScratchDir();
    CByteBlock block;
    block.CopyFrom("old", 3);
    EXPECT_FALSE(ReadReparseData((dir + L"\\missing").c_str(), block));
    EXPECT_EQ(block.Size(), 0u);

    CFakeReparseApi fake;
    fake.data = Built(L"C:\\t", false);
    CReparseApi* old = SetReparseApi(&fake);
    BY_HANDLE_FILE_INFORMATION info = {};
    bool ok = ReadReparseData(dir.c_str(), block, &info);
    SetReparseApi(old);
    ASSERT_TRUE(ok);
    EXPECT_EQ(BlockBytes(block), fake.data);
    EXPECT_NE(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

} // namespace
