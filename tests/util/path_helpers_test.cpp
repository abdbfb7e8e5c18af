// The long-path wrappers at work with the path helpers beyond 260 characters, the path and
// name helpers and the text conversions.
#include "app/NameSortKey.h"
#include "util/PathHelpers.h"
#include "app/Settings.h"
#include "tests/common/TestSupport.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace
{

using qvtest::W;

std::string A(const CStringA& s)
{
    return std::string(static_cast<LPCSTR>(s), s.GetLength());
}

} // namespace

// ---- Long paths -------------------------------------------------------------------

TEST(LongPathWrappers, WorkBeyond260Characters)
{
    std::wstring dir = qvtest::ScratchDir();
    while (dir.size() < 280)
    {
        dir += L"\\" + std::wstring(40, L'd');
        ASSERT_TRUE(CreateDirectoryLong(dir.c_str(), nullptr)) << dir.size();
    }
    std::wstring file = dir + L"\\Long File.txt";
    HANDLE h = CreateFileLong(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_TRUE(WriteUnicodeBom(h));
    SetFilePointer(h, 0, nullptr, FILE_BEGIN);
    unsigned char bytes[4] = {};
    DWORD got = 0;
    ReadFile(h, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(h);
    EXPECT_EQ(2u, got);
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(0xFE, bytes[1]);

    std::wstring moved = dir + L"\\Moved.txt";
    ASSERT_TRUE(MoveFileLong(file.c_str(), moved.c_str()));
    EXPECT_FALSE(FileExists(file.c_str()));
    WIN32_FIND_DATAW fd = {};
    ASSERT_TRUE(FileExists(moved.c_str(), &fd));
    EXPECT_STREQ(L"Moved.txt", fd.cFileName);
    EXPECT_EQ(2u, fd.nFileSizeLow);

    ASSERT_TRUE(SetFileAttributesLong(moved.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE find = FindFirstFileLong(moved.c_str(), &fd);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    EXPECT_TRUE(fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(FindCloseLong(find));
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    EXPECT_TRUE(FindCloseLong(find)); // already closed: accepted without a call

    HANDLE watch = FindFirstChangeNotificationLong(dir.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    EXPECT_NE(INVALID_HANDLE_VALUE, watch);
    if (watch != INVALID_HANDLE_VALUE)
        FindCloseChangeNotification(watch);

    SetFileAttributesLong(moved.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(DeleteFileLong(moved.c_str()));
    EXPECT_TRUE(RemoveDirectoryLong(dir.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dir.c_str()));
}

// ---- Paths and names ----------------------------------------------------------------

TEST(PathHelpers, FindBackslash)
{
    struct Case
    {
        int n;
        const wchar_t* path;
        int index;
    } cases[] = {
        {1, L"C:\\dir\\file", 2},  {2, L"C:\\dir\\file", 6},
        {3, L"C:\\dir\\file", -1}, {-1, L"C:\\dir\\file", 6},
        {0, L"C:\\dir\\file", -1}, {-1, L"file", -1},
        {2, L"\\\\server", 1},     {1, L"", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.index, FindBackslash(c.n, c.path)) << c.n << " " << c.path;
}

TEST(PathHelpers, SplitPath)
{
    struct Case
    {
        const wchar_t* path;
        const wchar_t* folder;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\", L"C:", L""},
        {L"name.txt", L"", L"name.txt"},
        {L"C:\\dir\\file.txt", L"C:\\dir", L"file.txt"},
        {L"C:\\dir\\", L"C:\\dir", L""},
        {L"\\\\server\\share", L"\\\\server", L"share"},
        {L"", L"", L""},
    };
    for (const Case& c : cases)
    {
        CString folder(L"junk"), name(L"junk");
        SplitPath(c.path, &folder, &name);
        EXPECT_EQ(c.folder, W(folder)) << c.path;
        EXPECT_EQ(c.name, W(name)) << c.path;
    }

    // Either out may be left off, and may be the very string that is split.
    CString path(L"C:\\dir\\file.txt");
    SplitPath(path, &path, nullptr);
    EXPECT_EQ(L"C:\\dir", W(path));
    CString other(L"C:\\dir\\file.txt");
    SplitPath(other, nullptr, &other);
    EXPECT_EQ(L"file.txt", W(other));
}

TEST(PathHelpers, SplitExtensionAndHasExtension)
{
    struct Case
    {
        const wchar_t* name;
        int result;
        const wchar_t* base;
        const wchar_t* extension;
    } cases[] = {
        {L"", 0, L"", L""},
        {L"README", 0, L"README", L""},
        {L".profile", 1, L"", L"profile"},
        {L"archive.tar.gz", 1, L"archive.tar", L"gz"},
        {L"name.", 1, L"name", L""},
        {L"C:\\dir.d\\file", 1, L"C:\\dir", L"d\\file"}, // the dot of a folder counts
    };
    for (const Case& c : cases)
    {
        CString base(L"junk"), extension(L"junk");
        EXPECT_EQ(c.result, SplitExtension(c.name, &base, &extension)) << c.name;
        EXPECT_EQ(c.base, W(base)) << c.name;
        EXPECT_EQ(c.extension, W(extension)) << c.name;
    }

    EXPECT_EQ(1, HasExtension(L"Photo.JPG", L"jpg"));
    EXPECT_EQ(0, HasExtension(L"archive.tar.gz", L"tar"));
    EXPECT_EQ(0, HasExtension(L"jpg", L"jpg"));
    EXPECT_EQ(0, HasExtension(L"name.", L""));
}

TEST(PathHelpers, GetPathRootAndIsPathRoot)
{
    struct Case
    {
        const wchar_t* path;
        int result;
        const wchar_t* root;
        BOOL isRoot;
    } cases[] = {
        {L"C:\\dir\\file", 1, L"C:\\", FALSE},
        {L"c:name", 1, L"c:", FALSE},
        {L"C:", 1, L"C:", TRUE},
        {L"z:\\", 1, L"z:\\", TRUE},
        {L"\\\\server", 0, nullptr, FALSE},
        {L"\\\\server\\share", 1, L"\\\\server\\share", TRUE},
        {L"\\\\server\\share\\", 1, L"\\\\server\\share\\", TRUE},
        {L"\\\\server\\share\\dir\\sub", 1, L"\\\\server\\share\\", FALSE},
        {L"\\dir", 0, nullptr, FALSE},
        {L"dir\\file", 0, nullptr, FALSE},
        {L"1:\\", 0, nullptr, FALSE},
        {L"", 0, nullptr, FALSE},
    };
    for (const Case& c : cases)
    {
        CString root(L"untouched");
        EXPECT_EQ(c.result, GetPathRoot(c.path, root)) << c.path;
        EXPECT_EQ(c.root ? c.root : L"untouched", W(root)) << c.path;
        EXPECT_EQ(c.isRoot, IsPathRoot(c.path)) << c.path;
    }
}

TEST(PathHelpers, FileExists)
{
    std::wstring dir = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\Report.TXT", "abc"));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\Folder").c_str(), nullptr));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\Folder\\inner.txt", "x"));

    struct Case
    {
        const wchar_t* relative;
        BOOL exists;
    } cases[] = {
        {L"\\Report.TXT", TRUE}, {L"\\report.txt", TRUE},   {L"\\REPORT.txt", TRUE},
        {L"\\Folder", FALSE},    {L"\\Folder\\*", FALSE},   {L"\\*.txt", FALSE},
        {L"\\Rep*", FALSE},      {L"\\missing.txt", FALSE}, {L"\\Folder\\inner.txt", TRUE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.exists, FileExists((dir + c.relative).c_str())) << c.relative;

    WIN32_FIND_DATAW fd = {};
    ASSERT_TRUE(FileExists((dir + L"\\report.txt").c_str(), &fd));
    EXPECT_STREQ(L"Report.TXT", fd.cFileName);
    EXPECT_EQ(3u, fd.nFileSizeLow);
}

TEST(PathHelpers, NameIsTakenByEverySpellingThatReachesAnEntry)
{
    std::wstring dir = qvtest::ScratchDir();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\precious_document.txt", "abc"));
    ASSERT_TRUE(CreateDirectoryW((dir + L"\\Folder").c_str(), nullptr));

    struct Case
    {
        std::wstring name;
        BOOL taken;
    };
    std::vector<Case> cases = {
        {L"precious_document.txt", TRUE},
        {L"PRECIOUS_DOCUMENT.TXT", TRUE},
        {L"precious_document.txt.", TRUE},
        {L"Folder", TRUE},
        {L"folder.", TRUE},
        {L"missing.txt", FALSE},
        {L"missing\\precious_document.txt", FALSE},
        {L"prec*", FALSE}, // a pattern is no name, although a find would match it
    };
    // The alias is the case the exact-name test misses: it answers to the other file.
    std::wstring alias = qvtest::ShortAlias(dir + L"\\precious_document.txt");
    if (!alias.empty())
    {
        EXPECT_FALSE(FileExists((dir + L"\\" + alias).c_str()));
        cases.push_back({alias, TRUE});
        cases.push_back({std::wstring(CString(alias.c_str()).MakeLower().GetString()), TRUE});
    }
    for (const Case& c : cases)
        EXPECT_EQ(c.taken, NameIsTaken((dir + L"\\" + c.name).c_str())) << c.name;
}

class CompareNamesForSortTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_shlwapi = LoadLibraryW(L"shlwapi.dll");
        ASSERT_NE(nullptr, m_shlwapi);
        m_logical = reinterpret_cast<StrCmpLogicalWProc>(
            reinterpret_cast<void*>(GetProcAddress(m_shlwapi, "StrCmpLogicalW")));
        ASSERT_NE(nullptr, m_logical);
    }
    void TearDown() override
    {
        g_USE_STR_CMP_LOGICAL_W = 0;
        g_pfnStrCmpLogicalW = nullptr;
        if (m_shlwapi)
            FreeLibrary(m_shlwapi);
    }

    HMODULE m_shlwapi = nullptr;
    StrCmpLogicalWProc m_logical = nullptr;
};

TEST_F(CompareNamesForSortTest, LocaleOrderIgnoresCaseWidthAndKanaType)
{
    struct Case
    {
        const wchar_t* a;
        const wchar_t* b;
        int result;
    } cases[] = {
        {L"a9", L"a10", 3},        // not numeric
        {L"\uFF41", L"a", 2},      // full-width a
        {L"\uFF21", L"a", 2},      // full-width A against lower-case a
        {L"\u30A2", L"\u3042", 2}, // katakana a, hiragana a
        {L"\uFF71", L"\u3042", 2}, // half-width katakana a
        {L"abc", L"ABD", 1},       {L"b", L"A", 3},
    };
    // Off, and on without the function loaded, both sort by the locale.
    for (StrCmpLogicalWProc loaded : {m_logical, static_cast<StrCmpLogicalWProc>(nullptr)})
    {
        g_USE_STR_CMP_LOGICAL_W = loaded ? 0 : 1;
        g_pfnStrCmpLogicalW = loaded;
        for (const Case& c : cases)
            EXPECT_EQ(c.result, CompareNamesForSort(c.a, c.b)) << c.a << " " << c.b;
    }
}

TEST_F(CompareNamesForSortTest, LogicalOrderWhenSwitchedOn)
{
    g_USE_STR_CMP_LOGICAL_W = 1;
    g_pfnStrCmpLogicalW = m_logical;
    EXPECT_EQ(1, CompareNamesForSort(L"a9", L"a10"));
    EXPECT_EQ(3, CompareNamesForSort(L"a10", L"a9"));
    EXPECT_EQ(2, CompareNamesForSort(L"ABC", L"abc"));
}

// ---- Text ---------------------------------------------------------------------------

TEST(TextHelpers, GetDisplayColumns)
{
    struct Case
    {
        std::wstring text;
        int length;
        int columns;
    } cases[] = {
        {L"abc", -1, 3},
        {L"\uFF41\uFF42", -1, 4},       // full-width letters
        {L"\uFF71\uFF72\uFF73", -1, 3}, // half-width katakana
        {L"\u65E5\u672C\u8A9E", -1, 6}, // kanji
        {L"a\u65E5 ", -1, 4},
        {L"abc\u65E5\u672C", 4, 5}, // counted up to the given length
        {L"", -1, 0},
        {std::wstring(300, L'x') + L"\u65E5", -1, 302},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.columns, GetDisplayColumns(c.text.c_str(), c.length)) << c.text.size();
}

TEST(TextHelpers, IsAnsiSafeName)
{
    struct Case
    {
        std::wstring name;
        BOOL safe;
    } cases[] = {
        {L"plain.txt", TRUE},
        {L"\u65E5\u672C\u8A9E\u30D5\u30A1\u30A4\u30EB.txt", TRUE}, // Japanese, in 932
        {L"\uD55C\uAE00.txt", FALSE},                              // Hangul, not in 932
        {L"\u20AC.txt", FALSE},                                    // euro sign, not in 932
        {L"caf\u00E9.txt", FALSE},                                 // would become "cafe"
        {L"\u00A5.txt", FALSE},                                    // would become a backslash
        {L"del\u007F.txt", FALSE},
        {std::wstring(247, L'a'), TRUE},
        {std::wstring(248, L'a'), FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.safe, IsAnsiSafeName(c.name.c_str())) << c.name.size() << " " << c.name.c_str();
}

TEST(TextHelpers, WideToAnsiNeverWritesPastTheCapacity)
{
    const char canary = '\x5A';
    const char expected[] = "\x82\xA0\x82\xA2\x82\xA4"; // あいう in code page 932
    struct Case
    {
        int capacity;
        int result;
    } cases[] = {{7, 7}, {6, 0}, {5, 0}, {1, 0}};
    for (const Case& c : cases)
    {
        char buffer[16];
        memset(buffer, canary, sizeof buffer);
        EXPECT_EQ(c.result, WideToAnsiBuffer(L"\u3042\u3044\u3046", buffer, c.capacity)) << c.capacity;
        if (c.result)
            EXPECT_STREQ(expected, buffer);
        else
            EXPECT_EQ('\0', buffer[0]) << c.capacity; // empty, not a cut character
        for (int i = c.capacity; i < static_cast<int>(sizeof buffer); ++i)
            EXPECT_EQ(canary, buffer[i]) << c.capacity << " byte " << i;
    }

    // The string is sized by the conversion, not by a guess from the length.
    CStringA narrow("junk");
    std::wstring many(1000, L'\u3042');
    EXPECT_EQ(2001, WideToAnsiString(many.c_str(), narrow));
    EXPECT_EQ(2000, narrow.GetLength());
    EXPECT_EQ(7, WideToAnsiString(L"\u8868\u793Aab", narrow)); // 表示ab
    EXPECT_EQ(std::string("\x95\x5C\x8E\xA6"
                          "ab"),
              A(narrow));
    EXPECT_EQ(1, WideToAnsiString(L"", narrow));
    EXPECT_TRUE(narrow.IsEmpty());
}

TEST(TextHelpers, AnsiToWideNeverWritesPastTheCapacity)
{
    const wchar_t canary = 0x5A5A;
    const char text[] = "\x82\xA0\x82\xA2"; // あい
    struct Case
    {
        int capacity;
        int result;
    } cases[] = {{3, 3}, {2, 0}, {1, 0}};
    for (const Case& c : cases)
    {
        wchar_t buffer[8];
        for (wchar_t& ch : buffer)
            ch = canary;
        EXPECT_EQ(c.result, AnsiToWideBuffer(text, buffer, c.capacity)) << c.capacity;
        EXPECT_STREQ(c.result ? L"\u3042\u3044" : L"", buffer);
        for (int i = c.capacity; i < 8; ++i)
            EXPECT_EQ(canary, buffer[i]) << c.capacity << " unit " << i;
    }

    CString wide(L"junk");
    EXPECT_EQ(5, AnsiToWideString("\x95\x5C\x8E\xA6"
                                  "ab",
                                  wide));
    EXPECT_EQ(L"\u8868\u793Aab", W(wide));
}
