// Path joining, resolution of typed directories and directory creation.
#include "app/Directories.h"
#include "app/DriveSeam.h"
#include "util/Globals.h"
#include "app/Settings.h"
#include "tests/common/TestSupport.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

using qvtest::W;

// Drives C and Z only, whatever the machine has.
DWORD WINAPI DrivesCAndZ()
{
    return (1u << 2) | (1u << 25);
}

class LastDirsGuard
{
public:
    LastDirsGuard() : m_useEach(g_USE_EACH_LAST_DIRECTORY) {}
    ~LastDirsGuard()
    {
        for (auto& set : g_DriveLastDirs)
            for (CString& slot : set)
                slot.Empty();
        g_USE_EACH_LAST_DIRECTORY = m_useEach;
    }

private:
    int m_useEach;
};

} // namespace

TEST(CombinePath, JoinsAndFoldsLikeACommandLine)
{
    LastDirsGuard guard;
    g_DriveLastDirs[0][L'E' - L'A'] = L"E:\\work\\src";
    struct Case
    {
        const wchar_t* base;
        const wchar_t* target;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\a\\b", L"..\\c", L"C:\\a\\c"},
        {L"C:\\a", L"\\x", L"C:\\x"},
        {L"C:\\a", L".", L"C:\\a"},
        {L"C:\\a", L"..\\..\\..", L"C:\\a"}, // nothing left to climb: the base
        {L"C:\\a", L"", L"C:\\a"},
        {L"C:\\a\\", L"", L"C:\\a"},
        {L"C:\\a", L"\\", L"C:"},
        {L"C:\\a", L"b", L"C:\\a\\b"},
        {L"", L"b", L""},
        {L"C:\\a", L"b\\.\\c\\\\d\\", L"C:\\a\\b\\c\\d"},
        {L"C:\\a", L"D:x", L"D:\\x"},            // no last directory stored for D
        {L"C:\\a", L"E:x", L"E:\\work\\src\\x"}, // continues from E's last directory
        {L"C:\\a", L"e:..", L"E:\\work"},
        {L"C:\\a", L"D:\\y\\..\\z", L"D:\\z"},
        {L"C:", L"b", L"C:\\b"},
        {L"\\\\srv\\share\\a", L"..\\b", L"\\\\srv\\share\\b"},
        {L"\\\\srv\\share\\a", L"\\x", L"\\\\srv\\share\\x"},
        {L"C:\\a", L"\\\\srv\\share\\x\\..\\y", L"\\\\srv\\share\\y"},
    };
    for (const Case& c : cases)
    {
        CString out = L"garbage";
        CombinePath(c.base, c.target, out, 0);
        EXPECT_EQ(W(out), c.expected) << c.base << L" + " << c.target;
    }
}

TEST(CombinePath, SecondPaneHasItsOwnLastDirectoriesOnlyWhenSet)
{
    LastDirsGuard guard;
    g_DriveLastDirs[0][L'D' - L'A'] = L"D:\\one";
    g_DriveLastDirs[1][L'D' - L'A'] = L"D:\\two";
    CString out;
    g_USE_EACH_LAST_DIRECTORY = 0;
    CombinePath(L"C:\\a", L"D:x", out, 1);
    EXPECT_EQ(W(out), L"D:\\one\\x");
    g_USE_EACH_LAST_DIRECTORY = 1;
    CombinePath(L"C:\\a", L"D:x", out, 1);
    EXPECT_EQ(W(out), L"D:\\two\\x");
    CombinePath(L"C:\\a", L"D:x", out, 0);
    EXPECT_EQ(W(out), L"D:\\one\\x");
}

TEST(RelativePathEscapesRoot, CountsTheDepthFromTheRoot)
{
    struct Case
    {
        const wchar_t* target;
        const wchar_t* base;
        int expected;
    } cases[] = {
        {L"..\\..", L"C:\\a", 1},    {L"..", L"C:\\a", 0},
        {L".", L"C:\\", 0},          {L"..", L"C:", 1},
        {L"a\\..\\..", L"C:\\x", 0}, {L"a\\..\\..\\..", L"C:\\x", 1},
        {L"C:\\..", L"C:\\a\\b", 1}, // a rooted target ignores the base
        {L"C:\\a\\..", L"C:", 0},    {L"\\\\srv\\share\\..", L"C:\\a", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RelativePathEscapesRoot(c.target, c.base), c.expected) << c.target << L" on " << c.base;
}

TEST(ResolvePaneTargetDirectory, ChecksTheDriveInMode2)
{
    CDriveSeamOverride seam;
    g_DriveSeam.GetLogicalDrives = DrivesCAndZ;
    struct Case
    {
        const wchar_t* base;
        const wchar_t* target;
        int result;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\a", L"Q:\\x", 0, L""},                            // no drive Q
        {L"C:\\a", L"c:\\missing\\dir", 1, L"C:\\missing\\dir"}, // letter upper-cased
        {L"C:\\a", L"..\\..\\..", 0, L""},                       // climbs above the root
        {L"C:\\a", L"z:", 1, L"Z:"},
        {L"", L"x", 0, L""},
    };
    for (const Case& c : cases)
    {
        CString out = L"garbage";
        EXPECT_EQ(ResolvePaneTargetDirectory(c.base, c.target, out, 2, 0), c.result) << c.target;
        EXPECT_EQ(W(out), c.expected) << c.target;
    }
}

TEST(ResolvePaneTargetDirectory, WalksUpToTheNearestDirectoryInMode4)
{
    std::wstring scratch = qvtest::ScratchDir();
    CString out;
    EXPECT_EQ(ResolvePaneTargetDirectory(L"C:\\", L"C:\\qv-missing\\deeper", out, 4, 0), 1);
    EXPECT_EQ(W(out), L"C:");

    std::wstring missing = scratch + L"\\missing\\deeper";
    EXPECT_EQ(ResolvePaneTargetDirectory(L"C:\\", missing.c_str(), out, 4, 0), 1);
    EXPECT_EQ(_wcsicmp(out, scratch.c_str()), 0) << W(out);

    CDriveSeamOverride seam;
    g_DriveSeam.GetLogicalDrives = DrivesCAndZ;
    EXPECT_EQ(ResolvePaneTargetDirectory(L"C:\\", L"Q:\\x", out, 4, 0), 0);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(ResolvePaneTargetDirectory, FallsBackToTheWindowsDirectoryInMode8)
{
    CString savedWindowsDir = g_WindowsDir;
    g_WindowsDir = L"C:\\windows";
    CDriveSeamOverride seam;
    g_DriveSeam.GetLogicalDrives = DrivesCAndZ;
    struct Case
    {
        const wchar_t* target;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\exists-or-not", L"C:\\windows"},
        {L"Q:\\no-drive", L"C:\\windows"},
        {L"..\\..\\..", L"C:\\windows"},
        {L"C:", L"C:"}, // a bare drive is kept
    };
    for (const Case& c : cases)
    {
        CString out;
        EXPECT_EQ(ResolvePaneTargetDirectory(L"C:\\a", c.target, out, 8, 0), 1) << c.target;
        EXPECT_EQ(W(out), c.expected) << c.target;
    }
    g_WindowsDir = savedWindowsDir;
}

TEST(DirectoryExists, TellsDirectoriesFromFilesAndMissingDrives)
{
    std::wstring scratch = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(scratch + L"\\file.txt", "x"));
    ASSERT_TRUE(CreateDirectoryW((scratch + L"\\sub").c_str(), nullptr));
    EXPECT_EQ(DirectoryExists(L"C:\\"), 1);
    EXPECT_EQ(DirectoryExists(L"C:"), 1);
    EXPECT_EQ(DirectoryExists((scratch + L"\\sub").c_str()), 1);
    EXPECT_EQ(DirectoryExists((scratch + L"\\SUB\\").c_str()), 1);
    EXPECT_EQ(DirectoryExists((scratch + L"\\file.txt").c_str()), 0);
    EXPECT_EQ(DirectoryExists((scratch + L"\\none").c_str()), 0);
    EXPECT_EQ(DirectoryExists((scratch + L"\\s*").c_str()), 0);
    // Names the system's find would take for another (a wildcard, a trailing dot or
    // blank) still count only as themselves.
    EXPECT_EQ(DirectoryExists((scratch + L"\\s?b").c_str()), 0);
    EXPECT_EQ(DirectoryExists((scratch + L"\\sub.").c_str()), 0);
    EXPECT_EQ(DirectoryExists((scratch + L"\\sub ").c_str()), 0);
    EXPECT_EQ(DirectoryExists((scratch + L"\\sub\\..\\sub").c_str()), 1);
    // A letter that names no drive, with the system's drive list and a stand-in's.
    const DWORD drives = GetLogicalDrives();
    wchar_t missing = L'Y';
    while (missing > L'D' && (drives >> (missing - L'A')) & 1)
        --missing;
    ASSERT_GT(missing, L'D');
    for (LPCWSTR rest : {L":\\", L":\\sub", L":\\s?b"})
        EXPECT_EQ(DirectoryExists((std::wstring(1, missing) + rest).c_str()), 0) << missing << rest;
    CDriveSeamOverride seam;
    g_DriveSeam.GetLogicalDrives = DrivesCAndZ;
    EXPECT_EQ(DirectoryExists(L"Q:\\"), 0);
}

// A folder named by its 8.3 alias (a settings file or a shortcut may hold that form)
// is the folder; the alias spelled with a wildcard, a trailing dot or blank is not, nor
// is a file's alias.
TEST(DirectoryExists, AcceptsTheShortNameOfAFolder)
{
    const std::wstring scratch = qvtest::ScratchDir();
    const std::wstring folder = scratch + L"\\Long folder name";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((folder + L"\\inner").c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(scratch + L"\\Long file name.text", "x"));
    auto aliasOf = [](const std::wstring& path) {
        WIN32_FIND_DATAW found = {};
        HANDLE find = FindFirstFileW(path.c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return std::wstring();
        FindClose(find);
        return std::wstring(found.cAlternateFileName);
    };
    const std::wstring alias = aliasOf(folder);
    const std::wstring fileAlias = aliasOf(scratch + L"\\Long file name.text");
    if (alias.empty() || fileAlias.empty())
        GTEST_SKIP() << "this file system gives no 8.3 aliases";
    ASSERT_NE(alias.find(L'~'), std::wstring::npos) << alias;
    std::wstring lower = alias;
    for (wchar_t& ch : lower)
        ch = towlower(ch);
    struct Case
    {
        std::wstring name;
        int exists;
    } const cases[] = {
        {alias, 1},
        {lower, 1},
        {alias + L"\\", 1},
        {alias + L"\\inner", 1},
        {alias + L".", 0},
        {alias + L" ", 0},
        {alias.substr(0, alias.size() - 1) + L"?", 0},
        {alias.substr(0, alias.size() - 1) + L"*", 0},
        {alias + L"\\missing", 0},
        {fileAlias, 0},
        {L"CON", 0},
        {L"NUL", 0},
        {L"LPT1", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DirectoryExists((scratch + L"\\" + c.name).c_str()), c.exists) << c.name;

    // A pane's start folder given by its alias is that folder, not the one above.
    CString out;
    EXPECT_EQ(ResolvePaneTargetDirectory(L"C:\\", (scratch + L"\\" + alias).c_str(), out, 4, 0), 1);
    EXPECT_EQ(W(out), scratch + L"\\" + alias);
}

TEST(CreateDirectoryTree, CreatesEveryMissingLevel)
{
    std::wstring scratch = qvtest::ScratchDir();
    ASSERT_TRUE(CreateDirectoryW((scratch + L"\\a").c_str(), nullptr));
    std::wstring deep = scratch + L"\\a\\b\\c";
    WIN32_FIND_DATAW times = {};
    SYSTEMTIME st = {2001, 2, 0, 3, 4, 5, 6, 0};
    SystemTimeToFileTime(&st, &times.ftLastWriteTime);
    times.ftCreationTime = times.ftLastAccessTime = times.ftLastWriteTime;

    EXPECT_EQ(CreateDirectoryTree(deep.c_str(), 0, &times), 1);
    EXPECT_EQ(DirectoryExists((scratch + L"\\a\\b").c_str()), 1);
    EXPECT_EQ(DirectoryExists(deep.c_str()), 1);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(deep.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &times.ftLastWriteTime), 0);

    // Existing already: still 1; a file in the way: 0.
    EXPECT_EQ(CreateDirectoryTree(deep.c_str(), 0, nullptr), 1);
    ASSERT_TRUE(qvtest::WriteFileBytes(scratch + L"\\file", "x"));
    EXPECT_EQ(CreateDirectoryTree((scratch + L"\\file\\sub").c_str(), 0, nullptr), 0);
}

TEST(GetPathElement, ReturnsTheElementAfterTheNthBackslash)
{
    struct Case
    {
        int n;
        const wchar_t* path;
        int result;
        const wchar_t* expected;
    } cases[] = {
        {0, L"C:\\a\\b", 1, L"C:"},
        {2, L"\\\\srv\\share\\x", 1, L"srv"},
        {3, L"\\\\srv\\share\\x", 1, L"share"},
        {4, L"\\\\srv\\share\\x", 1, L"x"},
        {5, L"\\\\srv\\share\\x", 0, L""},
    };
    for (const Case& c : cases)
    {
        CString out;
        EXPECT_EQ(GetPathElement(c.n, c.path, out), c.result) << c.n;
        EXPECT_EQ(W(out), c.expected) << c.n;
    }
}
