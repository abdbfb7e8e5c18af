// History lists, media kinds and M3U play lists with their fillers.
#include "app/records/DirectoryWalk.h"
#include "app/records/HistoryList.h"
#include "app/records/MediaKinds.h"
#include "app/records/PlayListFile.h"
#include "tests/common/TestSupport.h"
#include "tests/common/TestHelpers.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace
{

using qvtest::Items;
using qvtest::W;

std::vector<std::wstring> Paths(const IPlayList& list)
{
    std::vector<std::wstring> out;
    CString path;
    for (INT_PTR i = 0; i < list.GetEntryCount(); ++i)
    {
        list.GetEntryFullPath(i, path);
        out.push_back(W(path));
    }
    return out;
}

using qvtest::Utf16Bytes;

std::string Cp932(const std::wstring& text)
{
    int length = WideCharToMultiByte(932, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string bytes(length, '\0');
    WideCharToMultiByte(932, 0, text.c_str(), (int)text.size(), &bytes[0], length, nullptr, nullptr);
    return bytes;
}

// ---- History lists ----

TEST(RecordsHistoryList, MovesAnEqualEntryToTheFrontInTheNewSpelling)
{
    CStringArray list;
    list.Add(L"D:\\x");
    list.Add(L"C:\\TMP");
    EXPECT_EQ(2, AddToHistoryList(list, 20, L"c:\\tmp"));
    EXPECT_EQ((std::vector<std::wstring>{L"c:\\tmp", L"D:\\x"}), Items(list));

    CStringArray first;
    first.Add(L"C:\\TMP");
    first.Add(L"D:\\x");
    EXPECT_EQ(2, AddToHistoryList(first, 20, L"c:\\tmp"));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\TMP", L"D:\\x"}), Items(first));
}

TEST(RecordsHistoryList, HoldsOneLessThanTheMaximum)
{
    CStringArray list;
    for (int i = 0; i < 9; ++i)
    {
        AddToHistoryList(list, 10, CString(wchar_t(L'a' + i), 1));
    }
    ASSERT_EQ(9, list.GetCount());
    EXPECT_EQ(9, AddToHistoryList(list, 10, L"j"));
    EXPECT_EQ(L"j", W(list[0]));
    EXPECT_EQ(L"b", W(list[8])); // "a", the oldest, is gone
}

TEST(RecordsHistoryList, TakesAnEntryOfTheListItself)
{
    // A combo box hands back the text of one of the list's own items.
    CStringArray list;
    for (const wchar_t* item : {L"C:\\first", L"D:\\second", L"E:\\a somewhat longer third entry"})
    {
        list.Add(item);
    }
    EXPECT_EQ(3, AddToHistoryList(list, 10, list[2]));
    EXPECT_EQ((std::vector<std::wstring>{L"E:\\a somewhat longer third entry", L"C:\\first", L"D:\\second"}),
              Items(list));
}

TEST(RecordsHistoryList, MaximumZeroAndEmptyEntryChangeNothing)
{
    CStringArray list;
    list.Add(L"x");
    EXPECT_EQ(0, AddToHistoryList(list, 0, L"y"));
    EXPECT_EQ(1, AddToHistoryList(list, 10, L""));
    EXPECT_EQ((std::vector<std::wstring>{L"x"}), Items(list));
}

// ---- Media kinds ----

TEST(RecordsMediaKinds, DefaultListInTableOrder)
{
    CStringArray kinds;
    GetMediaKindList(kinds, TRUE, TRUE);
    EXPECT_EQ((std::vector<std::wstring>{L"ASF", L"AVI", L"DAT", L"MPEG", L"MPG", L"MOV", L"WMA", L"MP4",
                                         L"WAV", L"MID", L"MP3", L"MP2"}),
              Items(kinds));
    GetMediaKindList(kinds, FALSE, TRUE);
    EXPECT_EQ((std::vector<std::wstring>{L"MID", L"MP3", L"MP2"}), Items(kinds));
    EXPECT_TRUE(IsAudioKindFile(L"c:\\m\\song.Mp3"));
    EXPECT_FALSE(IsMovieKindFile(L"c:\\m\\song.mp3"));
    EXPECT_TRUE(IsMovieKindFile(L"clip.wav"));
    EXPECT_FALSE(IsAudioKindFile(L"noextension"));
}

// ---- M3U files ----

class RecordsPlayList : public ::testing::Test
{
protected:
    std::wstring dir = qvtest::ScratchDir();
    CPlayListPaths list;
};

TEST_F(RecordsPlayList, ReadsUtf16LinesWhateverTheirEndsAndKeepsAnOpenLastLine)
{
    const std::wstring body = L"#EXTM3U\r\nC:\\v\\a.avi\r\nC:\\m\\b.mp3";
    std::wstring path = dir + L"\\list.m3u";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, Utf16Bytes(body + L"\r\n")));
    EXPECT_EQ(1, LoadPlayListM3u(path.c_str(), list));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\v\\a.avi", L"C:\\m\\b.mp3"}), Paths(list));
    EXPECT_EQ(L"C:\\v", W(list.GetEntry(0).folder));
    EXPECT_STREQ(L"a.avi", list.GetEntry(0).findData.cFileName);

    // Lists written elsewhere: the last line left open, lines ended by LF alone,
    // title lines that end in a media extension.
    const std::wstring foreign[] = {
        body, L"#EXTM3U\nC:\\v\\a.avi\nC:\\m\\b.mp3\n", L"C:\\v\\a.avi\r\nC:\\m\\b.mp3\n",
        L"#EXTM3U\r\n#EXTINF:12,a.avi\r\nC:\\v\\a.avi\r\n# C:\\old\\x.mp3\r\nC:\\m\\b.mp3\r\n"};
    for (const std::wstring& text : foreign)
    {
        list.RemoveAll();
        ASSERT_TRUE(qvtest::WriteFileBytes(path, Utf16Bytes(text)));
        EXPECT_EQ(1, LoadPlayListM3u(path.c_str(), list));
        EXPECT_EQ((std::vector<std::wstring>{L"C:\\v\\a.avi", L"C:\\m\\b.mp3"}), Paths(list));
    }
}

TEST_F(RecordsPlayList, ReadsAnsiThroughTheSystemCodePage)
{
    // 表 ends in the byte 0x5C in code page 932: a byte-wise split would cut it.
    std::wstring path = dir + L"\\ansi.M3U";
    ASSERT_TRUE(qvtest::WriteFileBytes(path, Cp932(L"C:\\表\\曲.mp3\r\n")));
    EXPECT_EQ(1, LoadPlayListM3u(path.c_str(), list));
    ASSERT_EQ(1, list.GetEntryCount());
    EXPECT_EQ(L"C:\\表", W(list.GetEntry(0).folder));
    EXPECT_STREQ(L"曲.mp3", list.GetEntry(0).findData.cFileName);
}

TEST_F(RecordsPlayList, RefusesOtherExtensionsAndEmptyOrMissingFiles)
{
    list.AppendEntry(L"C:\\m", WIN32_FIND_DATAW{});
    std::wstring txt = dir + L"\\list.txt";
    EXPECT_EQ(0, SavePlayListM3u(txt.c_str(), list));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(txt.c_str()));

    std::wstring empty = dir + L"\\empty.m3u";
    ASSERT_TRUE(qvtest::WriteFileBytes(empty, ""));
    EXPECT_EQ(0, LoadPlayListM3u(empty.c_str(), list));
    EXPECT_EQ(0, LoadPlayListM3u((dir + L"\\missing.m3u").c_str(), list));
}

TEST_F(RecordsPlayList, SavesMarkAndCrLfLinesThatLoadBack)
{
    WIN32_FIND_DATAW findData{};
    wcscpy(findData.cFileName, L"b.mp3");
    list.AppendEntry(L"C:\\a", findData);
    wcscpy(findData.cFileName, L"動画.avi");
    list.AppendEntry(L"D:\\v", findData);
    std::wstring path = dir + L"\\out.m3u";
    ASSERT_EQ(1, SavePlayListM3u(path.c_str(), list));
    EXPECT_EQ(Utf16Bytes(L"C:\\a\\b.mp3\r\nD:\\v\\動画.avi\r\n"), qvtest::ReadFileBytes(path));

    CPlayListPaths again;
    ASSERT_EQ(1, LoadPlayListM3u(path.c_str(), again));
    EXPECT_EQ(Paths(list), Paths(again));
}

// ---- Fillers ----

TEST_F(RecordsPlayList, DirectoryAddsMediaFilesRecursivelyAndReadsListedM3u)
{
    CreateDirectoryW((dir + L"\\sub").c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\a.mp3", "x"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\skip.txt", "x"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\sub\\c.avi", "x"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\sub\\l.m3u", Utf16Bytes(L"X:\\listed.mp3\r\n")));
    CStringArray kinds;
    kinds.Add(L"MP3");
    kinds.Add(L"AVI");
    kinds.Add(L"M3U");
    AddDirectoryToPlayList(dir.c_str(), list, kinds);
    std::vector<std::wstring> paths = Paths(list);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ((std::vector<std::wstring>{L"X:\\listed.mp3", dir + L"\\a.mp3", dir + L"\\sub\\c.avi"}), paths);
}

std::wstring g_selectionDir;

BOOL FakeTargets(int pane, int n, CString& folder, WIN32_FIND_DATAW& findData)
{
    static const struct
    {
        const wchar_t* name;
        DWORD attributes;
    } kTargets[] = {{L"a.mp3", FILE_ATTRIBUTE_ARCHIVE}, {L"skip.txt", 0}, {L"sub", FILE_ATTRIBUTE_DIRECTORY}};
    if (pane != 1 || n >= 3)
    {
        return FALSE;
    }
    folder = g_selectionDir.c_str();
    findData = WIN32_FIND_DATAW{};
    wcscpy(findData.cFileName, kTargets[n].name);
    findData.dwFileAttributes = kTargets[n].attributes;
    return TRUE;
}

TEST_F(RecordsPlayList, PaneSelectionTakesEachTargetAndResetClearsStates)
{
    CreateDirectoryW((dir + L"\\sub").c_str(), nullptr);
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\sub\\c.mp3", "x"));
    g_selectionDir = dir;
    CStringArray kinds;
    kinds.Add(L"mp3");
    AddPaneSelectionToPlayList(1, list, kinds); // no source installed yet
    EXPECT_EQ(0, list.GetEntryCount());
    const PlayListHooks saved = g_PlayListHooks;
    g_PlayListHooks.paneTargetEntry = &FakeTargets;
    AddPaneSelectionToPlayList(1, list, kinds);
    g_PlayListHooks = saved;
    EXPECT_EQ((std::vector<std::wstring>{dir + L"\\a.mp3", dir + L"\\sub\\c.mp3"}), Paths(list));

    list.SetEntryState(1, 1);
    EXPECT_EQ(2, ResetPlayListFlags(list));
    EXPECT_EQ(0, list.GetEntry(1).state);
}

} // namespace
