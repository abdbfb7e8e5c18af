// The search worker on prepared trees: names, conditions, contents in five character
// codes across read blocks, stop, and both hand-over modes.
#include "util/WorkerMessages.h"
#include "fileops/find/FindThread.h"
#include "filer/FilerPane.h"
#include "tests/common/ProgramWiring.h"
#include "tests/common/TestSupport.h"
#include "tests/fileops/FileopsTestHelpers.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

using fileopstest::MakeDir;
using fileopstest::MakeFile;

namespace
{

typedef HRESULT(WINAPI* ConvertFn)(LPDWORD, DWORD, LPCWSTR, LPINT, LPSTR, LPINT);

// The text in a code page by the platform's own conversions: the system's tables,
// else its conversion service.
std::string Encode(UINT codePage, const std::wstring& text)
{
    char buffer[512];
    int n = WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), buffer,
                                sizeof(buffer), nullptr, nullptr);
    if (n > 0)
        return std::string(buffer, n);
    HMODULE mlang = LoadLibraryW(L"mlang.dll");
    auto convert = mlang ? reinterpret_cast<ConvertFn>(reinterpret_cast<void*>(
                               GetProcAddress(mlang, "ConvertINetUnicodeToMultiByte")))
                         : nullptr;
    std::string out;
    DWORD mode = 0;
    INT count = static_cast<int>(text.size());
    INT size = sizeof(buffer);
    if (convert && convert(&mode, codePage, text.c_str(), &count, buffer, &size) == S_OK)
        out.assign(buffer, size);
    if (mlang)
        FreeLibrary(mlang);
    return out;
}

class FindThreadTest : public ::testing::Test
{
protected:
    std::wstring m_dir = qvtest::ScratchDir();

    // Runs a dialog-mode search without a window and gives the finds as paths below
    // the scratch folder.
    std::set<std::wstring> Search(LPCWSTR pattern, LPCWSTR text, std::vector<int> flags = {1, 0, 0, 0, 0},
                                  const FindCondition* condition = nullptr)
    {
        CFindThread worker;
        Configure(worker, pattern, text, flags, condition);
        EXPECT_TRUE(Run(worker));
        std::set<std::wstring> found;
        for (INT_PTR i = 0; i < worker.m_results.GetSize(); ++i)
            found.insert(Relative(worker.m_results[i]));
        return found;
    }

    void Configure(CFindThread& worker, LPCWSTR pattern, LPCWSTR text, const std::vector<int>& flags,
                   const FindCondition* condition)
    {
        worker.m_pattern = pattern;
        worker.m_searchText = text;
        worker.m_baseDirectory = m_dir.c_str();
        worker.m_startDirectory = m_dir.c_str();
        for (int i = 0; i < FIND_SLOT_COUNT; ++i)
            worker.m_encodingFlags[i] = flags[i];
        if (condition)
            worker.m_condition = *condition;
    }

    static bool Run(CFindThread& worker)
    {
        if (!worker.CreateThread())
            return false;
        return WaitForSingleObject(worker.m_hThread, 20000) == WAIT_OBJECT_0;
    }

    std::wstring Relative(const CFileInfo& entry) const
    {
        std::wstring path = static_cast<LPCWSTR>(entry.GetFullPath());
        return path.substr(m_dir.size() + 1);
    }
};

TEST_F(FindThreadTest, ContentsAreFoundAcrossBlocksAndEmptyFilesAndDirectoriesNever)
{
    const std::string text = "needle";
    MakeFile(m_dir, L"exact.txt", text);
    MakeFile(m_dir, L"ends.txt", "hay and " + text);
    MakeFile(m_dir, L"empty.txt", "");
    MakeFile(m_dir, L"other.txt", "needl eedle");
    // Straddling the first block's end, and a later one's (the carry shifts the
    // later boundaries, so the second file puts the text across several places).
    MakeFile(m_dir, L"boundary.txt", std::string(FIND_BLOCK_SIZE - 3, 'x') + text + "tail");
    std::string later(200000, 'y');
    later.replace(150000, text.size(), text);
    MakeFile(m_dir, L"later.txt", later);
    MakeDir(m_dir, L"needle");
    MakeFile(m_dir, L"needle\\inner.txt", "a needle inside");

    EXPECT_EQ(Search(L"*", L"needle"), (std::set<std::wstring>{L"exact.txt", L"ends.txt", L"boundary.txt",
                                                               L"later.txt", L"needle\\inner.txt"}));
    // Without a text every name matches, the directory included.
    EXPECT_EQ(Search(L"needle*", L"").count(L"needle"), 1u);
}

TEST_F(FindThreadTest, AJapaneseWordIsFoundInAllFiveCharacterCodes)
{
    const std::wstring word = L"日本語の検索";
    struct Case
    {
        LPCWSTR name;
        std::string bytes;
        int slot;
    } cases[] = {
        {L"sjis.txt", "abc " + Encode(932, word) + " def", FIND_SLOT_ANSI},
        {L"euc.txt", "abc " + Encode(20932, word) + " def", FIND_SLOT_EUC},
        {L"utf16.txt", qvtest::Utf16Bytes(L"abc " + word + L" def"), FIND_SLOT_UTF16},
        {L"jis.txt", Encode(50220, L"abc " + word + L" def"), FIND_SLOT_JIS},
        {L"utf8.txt", "abc " + Encode(CP_UTF8, word) + " def", FIND_SLOT_UTF8},
    };
    std::set<std::wstring> all;
    for (const Case& c : cases)
    {
        ASSERT_GT(c.bytes.size(), 12u) << c.name;
        MakeFile(m_dir, c.name, c.bytes);
        all.insert(c.name);
    }
    EXPECT_EQ(Search(L"*", word.c_str(), {1, 1, 1, 1, 1}), all);
    // Each code alone finds its own file (and so each fixture really is in its code).
    for (const Case& c : cases)
    {
        std::vector<int> flags(FIND_SLOT_COUNT, 0);
        flags[c.slot] = 1;
        EXPECT_EQ(Search(L"*", word.c_str(), flags).count(c.name), 1u) << c.name;
        EXPECT_EQ(Search(L"*", word.c_str(), flags).count(L"utf8.txt"), c.slot == FIND_SLOT_UTF8 ? 1u : 0u)
            << c.name;
    }
}

TEST_F(FindThreadTest, JisTextIsFoundAcrossTheFilesEscapeSequences)
{
    // A text of ASCII and kanji: the file switches character sets between them.
    const std::wstring text = L"abc日本";
    std::string jis = Encode(50220, L"xx " + text + L" yy");
    ASSERT_NE(jis.find('\x1b'), std::string::npos);
    MakeFile(m_dir, L"mixed.txt", jis);
    MakeFile(m_dir, L"plain.txt", "abc");
    EXPECT_EQ(Search(L"*", text.c_str(), {0, 0, 0, 1, 0}), (std::set<std::wstring>{L"mixed.txt"}));
}

TEST_F(FindThreadTest, ConditionsBoundInclusivelyAndDirectoriesAreWalkedWhenNotReported)
{
    const FILETIME from = fileopstest::LocalFileTime(2020, 5, 1, 10, 0, 0);
    const FILETIME to = fileopstest::LocalFileTime(2020, 5, 31, 12, 0, 0);
    struct Case
    {
        LPCWSTR name;
        size_t size;
        FILETIME time;
        bool expected;
    } cases[] = {
        {L"at_from.txt", 3, from, true},
        {L"at_to.txt", 5, to, true},
        {L"before.txt", 4, fileopstest::LocalFileTime(2020, 5, 1, 9, 59, 59), false},
        {L"after.txt", 4, fileopstest::LocalFileTime(2020, 5, 31, 12, 0, 1), false},
        {L"small.txt", 2, from, false},
        {L"large.txt", 6, from, false},
        {L"sub\\deep.txt", 4, to, true},
    };
    std::set<std::wstring> expected;
    for (const Case& c : cases)
    {
        std::wstring path = MakeFile(m_dir, c.name, std::string(c.size, 'z'));
        ASSERT_TRUE(fileopstest::SetWriteTime(path, c.time));
        if (c.expected)
            expected.insert(c.name);
    }
    ASSERT_TRUE(fileopstest::SetWriteTime(m_dir + L"\\sub", from));
    FindCondition condition;
    InitFindCondition(condition);
    condition.updateEnabled = 1;
    condition.updateFrom = from;
    condition.updateTo = to;
    condition.sizeMinimum = 3;
    condition.sizeMaximum = 5;
    condition.attributeMask = 0x27; // no directory bit
    EXPECT_EQ(Search(L"*", L"", {1, 0, 0, 0, 0}, &condition), expected);
}

TEST_F(FindThreadTest, AFileThatShrankOrGrewIsReadAsItIsNow)
{
    const std::wstring path = MakeFile(m_dir, L"changing.txt", std::string(100000, 'a'));
    CFileInfo entry;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(path.c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    entry.SetFromDisk(m_dir.c_str(), data);

    CFindThread worker;
    worker.m_searchText = L"needle";
    worker.BuildPatterns();
    ASSERT_TRUE(qvtest::WriteFileBytes(path, "short"));
    EXPECT_EQ(worker.ScanFileContents(entry), 0); // ends (a hang fails by the test's timeout)
    ASSERT_TRUE(qvtest::WriteFileBytes(path, std::string(150000, 'b') + "needle"));
    EXPECT_EQ(worker.ScanFileContents(entry), 1);
}

TEST_F(FindThreadTest, StopEndsTheScanAndStillPostsTheEndMessage)
{
    MakeFile(m_dir, L"match.txt", "needle");
    HWND owner = CreateWindowW(L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    CFindThread worker;
    Configure(worker, L"*", L"needle", {1, 0, 0, 0, 0}, nullptr);
    worker.m_hOwnerDlg = owner;
    worker.m_stop = 1;
    ASSERT_TRUE(Run(worker));
    EXPECT_EQ(worker.m_results.GetSize(), 0);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(LOWORD(msg.wParam), IDM_WORKER_DONE);

    // A scan under way ends at its next poll.
    CContentPatterns patterns;
    int flags[FIND_SLOT_COUNT] = {1, 0, 0, 0, 0};
    patterns.Build(L"needle", flags);
    HANDLE file = CreateFileW((m_dir + L"\\match.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    volatile int stop = 1;
    EXPECT_EQ(patterns.ScanHandle(file, &stop), 0);
    CloseHandle(file);
    DestroyWindow(owner);
}

TEST_F(FindThreadTest, ResultsKeepTheSortOrderAsTheyArrive)
{
    MakeFile(m_dir, L"b.txt", std::string(30, 'b'));
    MakeFile(m_dir, L"a.txt", std::string(10, 'a'));
    MakeFile(m_dir, L"sub\\c.txt", std::string(20, 'c'));
    CFindThread worker;
    Configure(worker, L"*.txt", L"", {1, 0, 0, 0, 0}, nullptr);
    worker.m_sortKey = FIND_SORT_SIZE;
    ASSERT_TRUE(Run(worker));
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < worker.m_results.GetSize(); ++i)
        names.push_back(worker.m_results[i].GetName());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.txt", L"c.txt", L"b.txt"}));
    // A second click on the same column reverses the order.
    worker.SortResults(FIND_SORT_SIZE);
    EXPECT_EQ(std::wstring(worker.m_results[0].GetName()), L"b.txt");
}

// The rows a sink is told about, kept as the dialog's list keeps them.
class CRowRecorder : public CFindResultSink
{
public:
    void AddFind(int row, const CFileInfo& entry) override
    {
        rows.insert(row < 0 ? rows.end() : rows.begin() + row, std::wstring(entry.GetName()));
    }
    void ShowFinds(const CArrayFileInfo& finds) override
    {
        rows.clear();
        for (INT_PTR i = 0; i < finds.GetSize(); ++i)
            rows.push_back(std::wstring(finds[i].GetName()));
    }
    std::vector<std::wstring> rows;
};

std::vector<std::wstring> Names(const CArrayFileInfo& results)
{
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < results.GetSize(); ++i)
        names.push_back(results[i].GetName());
    return names;
}

// Large files are scanned two at a time; their finds still arrive in the walk's order:
// this folder's files as the system lists them, then the sub-folder's.
TEST_F(FindThreadTest, FindsInLargeFilesArriveInTheWalksOrder)
{
    const std::string big(300 * 1024, 'x');
    for (int i = 0; i < 8; ++i)
        MakeFile(m_dir, L"f" + std::to_wstring(i) + L".txt", i % 3 == 1 ? big : big + "needle");
    MakeFile(m_dir, L"small.txt", "needle");
    MakeFile(m_dir, L"sub\\g.txt", big + "needle");
    std::vector<std::wstring> expected;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((m_dir + L"\\*.txt").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do
    {
        const std::wstring name = data.cFileName;
        if (name != L"f1.txt" && name != L"f4.txt" && name != L"f7.txt")
            expected.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    expected.push_back(L"g.txt");

    CFindThread worker;
    Configure(worker, L"*.txt", L"needle", {1, 0, 0, 0, 0}, nullptr);
    ASSERT_TRUE(Run(worker));
    EXPECT_EQ(Names(worker.m_results), expected);
}

// The user acts on the rows of the dialog's list: they stay in the order of the
// worker's results while the finds arrive and after a sort.
TEST_F(FindThreadTest, SinkRowsFollowTheResultsOrder)
{
    MakeFile(m_dir, L"b.txt", std::string(30, 'b'));
    MakeFile(m_dir, L"a.txt", std::string(10, 'a'));
    MakeFile(m_dir, L"sub\\c.txt", std::string(20, 'c'));
    MakeFile(m_dir, L"sub\\d.txt", std::string(5, 'd'));
    CRowRecorder sink;
    CFindThread worker;
    Configure(worker, L"*.txt", L"", {1, 0, 0, 0, 0}, nullptr);
    worker.m_sortKey = FIND_SORT_SIZE;
    worker.m_sink = &sink;
    ASSERT_TRUE(Run(worker));
    EXPECT_EQ(sink.rows, Names(worker.m_results));
    worker.SortResults(FIND_SORT_NAME);
    EXPECT_EQ(sink.rows, Names(worker.m_results));
}

TEST_F(FindThreadTest, PaneModeFillsThePanesFindResults)
{
    MakeFile(m_dir, L"one.txt", "needle");
    MakeFile(m_dir, L"sub\\two.txt", "the needle");
    MakeFile(m_dir, L"three.txt", "no");
    qvtest::ScopedProgramWiring wiring;
    CFilerPane* saved = g_Panes[1];
    CFilerPane pane(1);
    g_Panes[1] = &pane;
    auto* worker = dynamic_cast<CFindThread*>(pane.m_findResults.StartSearch());
    ASSERT_NE(worker, nullptr);
    Configure(*worker, L"*", L"needle", {1, 0, 0, 0, 0}, nullptr);
    worker->m_mode = FIND_MODE_PANE;
    worker->m_paneIndex = 1;
    EXPECT_TRUE(Run(*worker));
    std::set<std::wstring> found;
    for (INT_PTR i = 0; i < pane.m_findResults.m_results.GetSize(); ++i)
        found.insert(Relative(pane.m_findResults.m_results[i]));
    EXPECT_EQ(found, (std::set<std::wstring>{L"one.txt", L"sub\\two.txt"}));
    EXPECT_EQ(worker->m_results.GetSize(), 0);
    pane.m_findResults.StopSearch();
    g_Panes[1] = saved;
}

TEST_F(FindThreadTest, ALinkBackToAnOuterFolderIsNotWalkedAgain)
{
    MakeFile(m_dir, L"top\\inner\\file.txt", "x");
    if (!fileopstest::MakeFolderLink(m_dir + L"\\top\\inner\\loop", m_dir + L"\\top"))
        GTEST_SKIP() << "no host link";
    std::set<std::wstring> found = Search(L"file.txt", L"");
    EXPECT_EQ(found, (std::set<std::wstring>{L"top\\inner\\file.txt"}));
}

} // namespace

namespace
{

// The scan looks at a text at every place around the ends of read blocks, in each
// character code and with the JIS text split by its file's escape sequences.
TEST(ContentScan, FindsTheTextAtEveryOffsetAroundBlockEnds)
{
    const std::wstring dir = qvtest::ScratchDir();
    const std::wstring path = dir + L"\\sweep.bin";
    const std::wstring word = L"ab日本語cd";
    struct Code
    {
        int slot;
        std::string bytes;
    } codes[] = {
        {FIND_SLOT_ANSI, Encode(932, word)},
        {FIND_SLOT_UTF16, qvtest::Utf16Bytes(word, false)},
        {FIND_SLOT_JIS, Encode(50220, word)},
        {FIND_SLOT_UTF8, Encode(CP_UTF8, word)},
    };
    for (const Code& code : codes)
    {
        int flags[FIND_SLOT_COUNT] = {0, 0, 0, 0, 0};
        flags[code.slot] = 1;
        CContentPatterns patterns;
        ASSERT_EQ(patterns.Build(word.c_str(), flags), 1);
        for (size_t boundary :
             {static_cast<size_t>(FIND_BLOCK_SIZE), static_cast<size_t>(2 * FIND_BLOCK_SIZE)})
        {
            for (size_t offset = boundary - code.bytes.size() - 4; offset < boundary + 4; ++offset)
            {
                std::string data(boundary + 100, 'z');
                data.replace(offset, code.bytes.size(), code.bytes);
                ASSERT_TRUE(qvtest::WriteFileBytes(path, data));
                HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          0, nullptr);
                EXPECT_EQ(patterns.ScanHandle(file, nullptr), 1) << code.slot << " at " << offset;
                CloseHandle(file);
            }
        }
        // The text cut short by the file's end is not found.
        ASSERT_TRUE(qvtest::WriteFileBytes(path, std::string(100, 'z') +
                                                     code.bytes.substr(0, code.bytes.size() - 1)));
        HANDLE file =
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(patterns.ScanHandle(file, nullptr), 0) << code.slot;
        CloseHandle(file);
    }
}

// With every code searched at once, texts of one character and up (the shortest
// are filtered sixteen positions at a time, the longer found through their byte
// pairs) are found across a block end and at the very end of the file, and a text
// cut short at the file's end is not.
TEST(ContentScan, FindsShortAndLongTextsWithEveryCodeSearched)
{
    const std::wstring path = qvtest::ScratchDir() + L"\\every.bin";
    const int flags[FIND_SLOT_COUNT] = {1, 1, 1, 1, 1};
    const size_t boundary = FIND_BLOCK_SIZE;
    for (const wchar_t* word : {L"a", L"日", L"ab", L"日本", L"検索語", L"ab日本語cd"})
    {
        CContentPatterns patterns;
        ASSERT_EQ(patterns.Build(word, flags), FIND_SLOT_COUNT);
        for (const std::string& bytes :
             {Encode(932, word), Encode(20932, word), qvtest::Utf16Bytes(word, false), Encode(50220, word),
              Encode(CP_UTF8, word)})
        {
            auto scan = [&](const std::string& data) {
                EXPECT_TRUE(qvtest::WriteFileBytes(path, data));
                HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          0, nullptr);
                const int found = patterns.ScanHandle(file, nullptr);
                CloseHandle(file);
                return found;
            };
            for (size_t offset = boundary - bytes.size() - 2; offset < boundary + 2; ++offset)
            {
                std::string data(boundary + 40, 'z');
                data.replace(offset, bytes.size(), bytes);
                EXPECT_EQ(scan(data), 1) << bytes.size() << " bytes at " << offset;
            }
            EXPECT_EQ(scan(std::string(boundary + 7, 'z') + bytes), 1) << bytes.size() << " bytes at the end";
            // Cut before the last character byte (a JIS text ends with its escape back).
            std::string cut = bytes;
            if (cut.size() > 3 && cut.compare(cut.size() - 3, 3, "\x1B(B") == 0)
                cut.resize(cut.size() - 3);
            cut.pop_back();
            if (cut.size() > 1)
                EXPECT_EQ(scan(std::string(boundary + 7, 'z') + cut), 0)
                    << bytes.size() << " bytes cut short";
        }
    }
}

} // namespace
