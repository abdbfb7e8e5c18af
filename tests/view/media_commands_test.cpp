// The play-list command of the view: a drive-list pane plays its cursor drive's media
// files, and the first start with nothing to play takes up the list file played last.
#include "tests/view/CommandTestSupport.h"

#include "app/settings/MediaSettings.h"
#include "media/playlist/AudioPlayList.h"
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
