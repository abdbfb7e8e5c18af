// The play-list command of the view: a drive-list pane plays its cursor drive's media
// files, a filer pane without marks its cursor file, which is remembered as played,
// and the first start with nothing to play takes up the list file played last.
#include "tests/view/CommandTestSupport.h"

#include "app/records/PlayListFile.h"
#include "app/settings/MediaSettings.h"
#include "filer/FilerHooks.h"
#include "media/playlist/AudioPlayList.h"
#include "framework/FwLock.h"
#include "util/Globals.h"
#include "tests/common/TestHelpers.h"

#include <string>

namespace
{

using commandtest::CommandBench;

class MediaCommands : public CommandBench
{
protected:
    void SetUp() override
    {
        CommandBench::SetUp();
        m_savedLastList = g_LastPlayList;
        ClearPlayList();
    }
    void TearDown() override
    {
        ClearPlayList();
        g_LastPlayList = m_savedLastList;
        CommandBench::TearDown();
    }
    void AddToList() { View().AddToSoundList(); }
    // Pane 0 as a drive list of one row standing for `folder`.
    void ShowDriveRow(LPCWSTR folder)
    {
        CFilerPane& pane = *m_panes[0];
        pane.m_mode = PANE_MODE_DRIVE_LIST;
        pane.m_driveList.RemoveAll();
        if (folder != nullptr)
        {
            CDriveInfo row;
            row.m_kind = DRIVE_FIXED;
            row.m_name = folder;
            pane.m_driveList.Add(row);
        }
        pane.m_cursor = 0;
    }
    CString m_savedLastList;
};

TEST_F(MediaCommands, ADriveRowPlaysTheMediaFilesOfItsFolder)
{
    const std::wstring dir = m_dir.GetString();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\a.mp3", "ID3"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\b.txt", "text"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\c.mid", "MThd"));
    ShowDriveRow(m_dir);
    AddToList();
    EXPECT_EQ(g_PlayList.GetSize(), 2) << "the two media files, not the text";
}

TEST_F(MediaCommands, AListOfTheCursorFileAloneRemembersItAsPlayed)
{
    const std::wstring dir = m_dir.GetString();
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\a.mp3", "ID3"));
    ASSERT_TRUE(qvtest::WriteFileBytes(dir + L"\\b.mp3", "ID3"));
    CStringArray savedHistory;
    {
        CHandleLock lock(g_DataMutex);
        savedHistory.Copy(g_PlayedFileHistory);
        g_PlayedFileHistory.RemoveAll();
    }
    CFilerPane& pane = *m_panes[0];
    pane.ReadDirectory(TRUE);
    pane.SortEntries();
    INT_PTR a = -1, b = -1;
    for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
    {
        const std::wstring name = pane.m_entries[i].GetName();
        if (name == L"a.mp3")
            a = i;
        if (name == L"b.mp3")
            b = i;
    }
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    pane.m_cursor = a;
    // With a mark the list is the marked files and nothing is remembered.
    for (const bool marked : {true, false})
    {
        pane.SetEntryMark(b, marked ? 1 : 0);
        ClearPlayList();
        AddToList();
        EXPECT_EQ(g_PlayList.GetSize(), 1);
        CHandleLock lock(g_DataMutex);
        EXPECT_EQ(g_PlayedFileHistory.GetSize(), marked ? 0 : 1);
    }
    {
        CHandleLock lock(g_DataMutex);
        ASSERT_EQ(g_PlayedFileHistory.GetSize(), 1);
        EXPECT_EQ(std::wstring(g_PlayedFileHistory[0]), dir + L"\\a.mp3");
        g_PlayedFileHistory.Copy(savedHistory);
    }
}

TEST_F(MediaCommands, OnlyTheFirstStartWithNothingToPlayTakesUpTheLastListFile)
{
    const std::wstring list = std::wstring(m_dir.GetString()) + L"\\last.m3u";
    ASSERT_TRUE(qvtest::WriteFileBytes(list, "x.mp3\r\ny.mp3\r\n"));
    g_LastPlayList = list.c_str();
    ShowDriveRow(nullptr);
    AddToList();
    EXPECT_EQ(g_PlayList.GetSize(), 2);
    ClearPlayList();
    AddToList();
    EXPECT_EQ(g_PlayList.GetSize(), 0) << "the fallback is taken once";
}

} // namespace
