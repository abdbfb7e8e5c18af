// The kept directory trees of drive roots and their cache files.
#include <gtest/gtest.h>
#include "filer/DirTreeStore.h"
#include "app/Settings.h"
#include "tests/common/TestSupport.h"

#include <set>
#include <string>
#include <vector>

namespace
{
std::vector<std::wstring> Paths(const DirTreeNode* head)
{
    std::vector<std::wstring> paths;
    for (; head != nullptr; head = head->m_next)
        paths.emplace_back(static_cast<LPCWSTR>(head->m_path), head->m_path.GetLength());
    return paths;
}

DirTreeNode* Chain(const std::vector<std::wstring>& paths)
{
    CDirTreeChain chain;
    for (const std::wstring& path : paths)
        chain.Append(path.c_str());
    return chain.Detach();
}

std::string Utf16(const std::wstring& text)
{
    std::string bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return bytes;
}
} // namespace

TEST(DirTreeStore, TreesRoundTripThroughTheirCacheFiles)
{
    const std::wstring folder = qvtest::ScratchDir();
    DirTreeStore store;
    store.SetCacheFolder(folder.c_str());
    const std::vector<std::wstring> small = {L"C:\\Tools", L"C:\\Tools\\ツール", L"", L"C:\\Tools\\b"};
    store.SetTree(L'c', Chain(small));
    // Long enough to cross the writer's chunks several times.
    std::vector<std::wstring> large;
    for (int i = 0; i < 20000; ++i)
        large.push_back(L"D:\\folder\\" + std::to_wstring(i));
    store.SetTree(L'D', Chain(large));

    EXPECT_TRUE(store.SaveTreeFiles(folder.c_str()));
    EXPECT_EQ(Utf16(L"C:\\Tools\r\nC:\\Tools\\ツール\r\n\r\nC:\\Tools\\b\r\n"),
              qvtest::ReadFileBytes(folder + L"\\C_TREE.DAT"));
    EXPECT_EQ((std::set<std::wstring>{L"C_TREE.DAT", L"D_TREE.DAT"}), qvtest::ListFolder(folder));

    store.Clear();
    EXPECT_EQ(nullptr, store.GetTree(L'C'));
    EXPECT_EQ(1, store.LoadTreeFile(L'c'));
    EXPECT_EQ(1, store.LoadTreeFile(L'D'));
    EXPECT_EQ(small, Paths(store.GetTree(L'C')));
    EXPECT_EQ(large, Paths(store.GetTree(L'd')));
    // A drive without a file is declined and keeps what it holds.
    store.SetTree(L'E', Chain({L"E:\\kept"}));
    EXPECT_EQ(0, store.LoadTreeFile(L'E'));
    EXPECT_EQ(std::vector<std::wstring>{L"E:\\kept"}, Paths(store.GetTree(L'E')));
}

TEST(DirTreeStore, CacheFilesAreReadAsTheyAreWrittenOrAsCodePageText)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        int result;
        std::vector<std::wstring> paths;
    } cases[] = {
        {"empty file", "", 1, {}},
        {"one byte", "\xFF", 0, {}},
        {"mark only", "\xFF\xFE", 0, {}},
        {"two code-page bytes", "C\r", 0, {}},
        {"last line without CR LF", Utf16(L"A\r\nB"), 1, {L"A"}},
        {"empty line", Utf16(L"A\r\n\r\n"), 1, {L"A", L""}},
        {"lone LF and CR", Utf16(L"A\nB\rC\r\n"), 1, {L"A\nB\rC"}},
        {"half a character at the end", Utf16(L"A\r\n") + "\x42", 1, {L"A"}},
        // Shift_JIS (the system code page) of "C:\テスト".
        {"code-page text", "C:\\\x83\x65\x83\x58\x83\x67\r\nD:\\x\r\ntail", 1, {L"C:\\テスト", L"D:\\x"}},
    };
    ASSERT_EQ(932u, GetACP());
    const std::wstring folder = qvtest::ScratchDir();
    const std::wstring path = folder + L"\\X_TREE.DAT";
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(qvtest::WriteFileBytes(path, c.bytes));
        CDirTreeChain chain;
        chain.Append(L"before");
        EXPECT_EQ(c.result, ReadTreeCacheFile(path.c_str(), chain));
        std::vector<std::wstring> expected = {L"before"};
        expected.insert(expected.end(), c.paths.begin(), c.paths.end());
        EXPECT_EQ(expected, Paths(chain.GetHead()));
    }
    CDirTreeChain chain;
    EXPECT_EQ(0, ReadTreeCacheFile((folder + L"\\missing.DAT").c_str(), chain));
    EXPECT_TRUE(chain.IsEmpty());
}

TEST(DirTreeStore, SlotsAreDriveLettersInEitherCase)
{
    DirTreeStore store;
    store.SetCacheFolder(L"C:\\prog");
    EXPECT_EQ(std::wstring(L"C:\\prog\\E_TREE.DAT"), std::wstring(store.GetCacheFilePath(L'e')));
    EXPECT_TRUE(store.GetCacheFilePath(L'1').IsEmpty());

    store.SetTree(L'a', Chain({L"A:\\one"}));
    store.SetTree(L'A', Chain({L"A:\\two"})); // replaces (and frees) the first
    EXPECT_EQ(std::vector<std::wstring>{L"A:\\two"}, Paths(store.GetTree(L'a')));
    store.SetTree(L'a', store.GetTree(L'A')); // the same chain again: kept, not freed
    EXPECT_EQ(std::vector<std::wstring>{L"A:\\two"}, Paths(store.GetTree(L'A')));
    store.SetTree(L'?', Chain({L"x"})); // no drive: freed, nothing kept
    EXPECT_EQ(nullptr, store.GetTree(L'?'));
    store.SetTree(L'A', nullptr);
    EXPECT_EQ(nullptr, store.GetTree(L'A'));

    // Fresh: no trees, no root entry, no result.
    DirTreeStore fresh;
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter)
        EXPECT_EQ(nullptr, fresh.GetTree(letter));
    EXPECT_EQ(0, fresh.m_root.m_entryClass);
    EXPECT_TRUE(fresh.m_resultPath.IsEmpty());
}

TEST(DirTreeStore, TheSwitchesAreTheTwoSettings)
{
    const int savedFile = g_SAVEDRIVETREETOFILE, savedMemory = g_SAVEDRIVETREETOMEMORY;
    struct Case
    {
        int toFile, toMemory;
        BOOL file, memory, either;
    } cases[] = {{0, 0, FALSE, FALSE, FALSE}, {1, 0, TRUE, FALSE, TRUE}, {0, 1, FALSE, TRUE, TRUE}};
    for (const Case& c : cases)
    {
        g_SAVEDRIVETREETOFILE = c.toFile;
        g_SAVEDRIVETREETOMEMORY = c.toMemory;
        EXPECT_EQ(c.file, DirTreeStore::SavesTreesToFile());
        EXPECT_EQ(c.memory, DirTreeStore::KeepsTreesInMemory());
        EXPECT_EQ(c.either, DirTreeStore::CachesTrees());
    }
    g_SAVEDRIVETREETOFILE = savedFile;
    g_SAVEDRIVETREETOMEMORY = savedMemory;
}
