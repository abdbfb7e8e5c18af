#include "fs/FileSystem.h"
#include "fs/FindEntries.h"
#include "fs/PathRules.h"
#include "tests/fs/MarkingFindApi.h"

#include "tests/common/TestHelpers.h"
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace
{

// Stands in for what the file system under Wine cannot show: directories named in
// links are reported as reparse points, and files get the alternate streams listed
// for them. Everything else comes from the real find functions.
class CFakeFindApi : public CMarkingFindApi
{
public:
    std::vector<std::wstring> links;
    std::map<std::wstring, std::vector<std::pair<std::wstring, uint64_t>>> streams;
    DWORD firstFileError = 0;

    HANDLE FirstStream(const wchar_t* path, WIN32_FIND_STREAM_DATA* data) override
    {
        auto it = streams.find(path);
        if (it == streams.end())
        {
            SetLastError(ERROR_HANDLE_EOF);
            return INVALID_HANDLE_VALUE;
        }
        m_search = &it->second;
        m_next = 0;
        HANDLE h = reinterpret_cast<HANDLE>(&m_search);
        if (!NextStream(h, data))
            return INVALID_HANDLE_VALUE;
        return h;
    }
    BOOL NextStream(HANDLE, WIN32_FIND_STREAM_DATA* data) override
    {
        if (m_next >= m_search->size())
        {
            SetLastError(ERROR_HANDLE_EOF);
            return FALSE;
        }
        const auto& s = (*m_search)[m_next++];
        wcscpy(data->cStreamName, s.first.c_str());
        data->StreamSize.QuadPart = static_cast<LONGLONG>(s.second);
        return TRUE;
    }
    BOOL Close(HANDLE handle) override
    {
        if (handle == reinterpret_cast<HANDLE>(&m_search))
            return TRUE;
        return CFindApi::Close(handle);
    }

protected:
    bool Redirect(const wchar_t* path, std::wstring& real) override
    {
        if (firstFileError)
        {
            SetLastError(firstFileError);
            return false;
        }
        real = path;
        return true;
    }
    void Mark(WIN32_FIND_DATAW* data) override
    {
        for (const std::wstring& name : links)
            if (name == data->cFileName)
                data->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    }

private:
    const std::vector<std::pair<std::wstring, uint64_t>>* m_search = nullptr;
    size_t m_next = 0;
};

class FileSystemTest : public qvtest::ScratchFolderTest
{
protected:
    void TearDown() override { SetFindApi(nullptr); }
    bool Exists(const std::wstring& path) const
    {
        return GetFileAttributesW((L"\\\\?\\" + path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

TEST_F(FileSystemTest, DeletesReadOnlyFile)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"ro.txt"), "x"));
    ASSERT_TRUE(SetFileAttributesW(P(L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(FsDeleteFile(P(L"ro.txt").c_str()));
    EXPECT_FALSE(Exists(P(L"ro.txt")));
}

TEST_F(FileSystemTest, TrailingDotNameIsReachedOnlyThroughTheExtendedForm)
{
    // The plain call would drop the dot and hit "name".
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"name"), "keep"));
    ASSERT_TRUE(qvtest::WriteFileBytes(L"\\\\?\\" + P(L"name."), "dot"));
    ASSERT_TRUE(IsExistingFile(P(L"name.").c_str()));
    EXPECT_TRUE(FsDeleteFile(P(L"name.").c_str()));
    EXPECT_FALSE(Exists(P(L"name.")));
    EXPECT_TRUE(Exists(P(L"name")));

    EXPECT_TRUE(FsMoveFile(P(L"name").c_str(), P(L"moved.").c_str()));
    EXPECT_EQ(qvtest::ReadFileBytes(L"\\\\?\\" + P(L"moved.")), "keep");
}

TEST_F(FileSystemTest, CreateDirectoryPathCases)
{
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"file"), "x"));
    ASSERT_TRUE(CreateDirectoryW(P(L"old").c_str(), nullptr));
    const struct
    {
        std::wstring path;
        bool ok;
        DWORD error;
        std::wstring mustExist;
    } cases[] = {
        {P(L"old"), true, 0, P(L"old")},
        {P(L"file\\sub"), false, ERROR_ALREADY_EXISTS, L""},
        {P(L"a\\b\\c\\"), true, 0, P(L"a\\b\\c")},
        {P(L"x\\y.\\z"), true, 0, P(L"x\\y.\\z")},
        {L"C:\\", true, 0, L"C:\\"}, // already a directory
    };
    for (const auto& c : cases)
    {
        SetLastError(0);
        EXPECT_EQ(CreateDirectoryPath(c.path.c_str()), c.ok) << c.path.c_str();
        if (!c.ok)
        {
            EXPECT_EQ(GetLastError(), c.error) << c.path.c_str();
        }
        if (!c.mustExist.empty())
        {
            EXPECT_TRUE(IsExistingDirectory(c.mustExist.c_str())) << c.path.c_str();
        }
    }
    // A drive root that is not there cannot be made.
    DWORD drives = GetLogicalDrives();
    for (wchar_t letter = L'Y'; letter > L'D'; letter--)
        if (!(drives & (1u << (letter - L'A'))))
        {
            wchar_t root[] = {letter, L':', L'\\', 0};
            EXPECT_FALSE(CreateDirectoryPath(root)) << root;
            break;
        }
}

TEST_F(FileSystemTest, TempDirectoryCreatedTwiceRemovesTheFirst)
{
    UString first, second;
    {
        CTempDirectory temp;
        ASSERT_TRUE(temp.Create(L"7zE"));
        first = temp.Path();
        ASSERT_TRUE(qvtest::WriteFileBytes(std::wstring(first.Chars()) + L"\\f", "x"));
        ASSERT_TRUE(temp.Create(L"7zE"));
        second = temp.Path();
        EXPECT_FALSE(first.Equals(second));
        EXPECT_FALSE(PathExists(first));
        EXPECT_TRUE(IsExistingDirectory(second));
    }
    EXPECT_FALSE(PathExists(second));
}

TEST_F(FileSystemTest, RemovesTreeWithReadOnlyFiles)
{
    ASSERT_TRUE(CreateDirectoryPath(P(L"t\\a\\b").c_str()));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"t\\a\\b\\f"), "x"));
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"t\\g"), "x"));
    ASSERT_TRUE(SetFileAttributesW(P(L"t\\a\\b\\f").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(RemoveDirectoryWithSubItems(P(L"t").c_str()));
    EXPECT_FALSE(Exists(P(L"t")));

    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"plain"), "x"));
    EXPECT_FALSE(RemoveDirectoryWithSubItems(P(L"plain").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
    EXPECT_FALSE(RemoveDirectoryWithSubItems(P(L"missing").c_str()));
}

TEST_F(FileSystemTest, RemovalNeverDescendsIntoALink)
{
    // "link" stands for a directory link; the system here cannot remove a link to a
    // non-empty directory, so the removal fails, but what the link shows must stay,
    // its attributes included (setting attributes through a link reaches the target).
    CFakeFindApi fake;
    fake.links = {L"link"};
    SetFindApi(&fake);
    const wchar_t* trees[] = {L"t\\link", L"t\\a\\link", L"t\\a\\b\\link"};
    for (const wchar_t* tree : trees)
    {
        std::wstring link = P(tree);
        ASSERT_TRUE(CreateDirectoryPath(link.c_str()));
        ASSERT_TRUE(qvtest::WriteFileBytes(link + L"\\keep.txt", "target"));
        const DWORD kShown = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN;
        ASSERT_TRUE(SetFileAttributesW(link.c_str(), FILE_ATTRIBUTE_HIDDEN));
        ASSERT_EQ(GetFileAttributesW(link.c_str()) & kShown, kShown);
        EXPECT_FALSE(RemoveDirectoryWithSubItems(P(L"t").c_str())) << tree;
        EXPECT_TRUE(Exists(link + L"\\keep.txt")) << tree;
        EXPECT_EQ(GetFileAttributesW(link.c_str()) & kShown, kShown) << tree;
        EXPECT_FALSE(RemoveDirectoryWithSubItems(link.c_str())) << tree;
        EXPECT_TRUE(Exists(link + L"\\keep.txt")) << tree;
        EXPECT_EQ(GetFileAttributesW(link.c_str()) & kShown, kShown) << tree;
        SetFindApi(nullptr);
        ASSERT_TRUE(RemoveDirectoryWithSubItems(P(L"t").c_str()));
        SetFindApi(&fake);
    }
}

TEST_F(FileSystemTest, FindsDriveRootsAndEntries)
{
    const wchar_t* roots[] = {L"C:\\", L"\\\\?\\C:\\"};
    for (const wchar_t* root : roots)
    {
        CFsEntryInfo entry;
        ASSERT_TRUE(entry.FindForPath(root)) << root;
        EXPECT_TRUE(entry.IsDir());
        EXPECT_STREQ(entry.Name.Chars(), L"C:");
    }
    ASSERT_TRUE(qvtest::WriteFileBytes(P(L"f.txt"), "12345"));
    CFsEntryInfo entry;
    ASSERT_TRUE(entry.FindForPath(P(L"f.txt").c_str()));
    EXPECT_EQ(entry.Size, 5u);
    EXPECT_STREQ(entry.Name.Chars(), L"f.txt");
    EXPECT_FALSE(entry.FindForPath(P(L"none").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileSystemTest, FindsAlternateStreamsByAnySpelling)
{
    std::wstring file = P(L"file.txt");
    ASSERT_TRUE(qvtest::WriteFileBytes(file, "abc"));
    CFsEntryInfo plain;
    ASSERT_TRUE(plain.FindForPath(file.c_str()));
    CFakeFindApi fake;
    fake.streams[file] = {{L"::$DATA", 3}, {L":extra:$DATA", 7}};
    SetFindApi(&fake);

    const wchar_t* spellings[] = {L":extra", L":extra:$DATA", L":EXTRA"};
    for (const wchar_t* spelling : spellings)
    {
        CFsEntryInfo entry;
        ASSERT_TRUE(entry.FindForPath((file + spelling).c_str())) << spelling;
        EXPECT_STREQ(entry.Name.Chars(), L"file.txt:extra");
        EXPECT_EQ(entry.Size, 7u);
        EXPECT_TRUE(entry.IsAltStream);
        EXPECT_EQ(entry.MTime.dwLowDateTime, plain.MTime.dwLowDateTime);
        EXPECT_EQ(entry.Attrib & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT), 0u);
    }
    CFsEntryInfo entry;
    EXPECT_FALSE(entry.FindForPath((file + L":missing").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    CStreamEnumerator streams(file.c_str());
    CStreamEntry stream;
    bool found = false;
    int count = 0;
    while (streams.NextStream(stream, found) && found)
        count++;
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(found);
}

TEST_F(FileSystemTest, EmptyDirectoryYieldsNoEntry)
{
    CDirEnumerator empty((dir + L"\\*").c_str());
    CFsEntryInfo entry;
    bool found = true;
    EXPECT_TRUE(empty.NextEntryOrEnd(entry, found));
    EXPECT_FALSE(found);

    // A drive root without "." and ".." answers "file not found" when it is empty.
    CFakeFindApi fake;
    fake.firstFileError = ERROR_FILE_NOT_FOUND;
    SetFindApi(&fake);
    CDirEnumerator root((dir + L"\\*").c_str());
    found = true;
    EXPECT_TRUE(root.NextEntryOrEnd(entry, found));
    EXPECT_FALSE(found);
    fake.firstFileError = ERROR_PATH_NOT_FOUND;
    CDirEnumerator missing(L"Q:\\missing\\*");
    EXPECT_FALSE(missing.NextEntryOrEnd(entry, found));
}

TEST_F(FileSystemTest, ListsLogicalDrives)
{
    COwnedPtrVector<UString> roots;
    roots.AddCopy(UString(L"stale"));
    ASSERT_TRUE(GetLogicalDriveList(roots));
    bool c = false, z = false;
    for (uint32_t i = 0; i < roots.Count(); i++)
    {
        c = c || roots.At(i).Equals(L"C:\\");
        z = z || roots.At(i).Equals(L"Z:\\");
        EXPECT_FALSE(roots.At(i).Equals(L"stale"));
    }
    EXPECT_TRUE(c && z);
}

} // namespace
