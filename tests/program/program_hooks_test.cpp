// What the hooks the program installs at start-up give the lower libraries.
#include "app/Settings.h"
#include "filer/FilerPane.h"
#include "filer/PaneHooks.h"
#include "program/ProgramHooks.h"
#include "tests/common/TestHelpers.h"
#include "tests/media/AudioFixtures.h"

#include <map>
#include <string>

using qvtest::W;

using namespace qvtest::audio;

namespace
{

class ProgramHooksTest : public qvtest::ScratchFolderTest
{
protected:
    void SetUp() override
    {
        qvtest::ScratchFolderTest::SetUp();
        InstallProgramHooks();
    }
    void TearDown() override { g_MPEGNAMEDISPLAY = m_savedMpegName; }

    void Write(const wchar_t* name, const std::string& bytes)
    {
        ASSERT_TRUE(qvtest::WriteFileBytes(P(name), bytes)) << W(name);
    }

    CPaneHooksOverride m_hooks;
    int m_savedMpegName = g_MPEGNAMEDISPLAY;
};

} // namespace

TEST_F(ProgramHooksTest, ListingShowsTheTitlesOfAudioFilesWhileTheSettingIsOn)
{
    const std::string frames = Mp3Frames(4);
    Write(L"song.mp3", Id3v2Title("Song title") + frames);
    Write(L"Tune.WAV", Wav(PcmBytes(200), "", ListInfo(InfoItem("INAM", "Tune title"))));
    Write(L"plain.mp3", frames);
    Write(L"notes.txt", Id3v2Title("Text title") + frames);
    ASSERT_TRUE(CreateDirectoryW(P(L"album.mp3").c_str(), nullptr));

    for (int on : {1, 0})
    {
        g_MPEGNAMEDISPLAY = on;
        CFilerPane pane(0);
        pane.SetMode(PANE_POS_ACTIVE, PANE_MODE_FILER, PANE_SUB_DIRECTORY);
        pane.ChangeDirectory(dir.c_str(), 0, FALSE, FALSE);
        std::map<std::wstring, std::wstring> shown;
        for (INT_PTR i = 0; i < pane.m_entries.GetSize(); ++i)
            shown[W(pane.m_entries[i].GetName())] = W(pane.m_entries[i].m_displayName);
        const std::map<std::wstring, std::wstring> expected = {{L"song.mp3", on ? L"Song title" : L""},
                                                               {L"Tune.WAV", on ? L"Tune title" : L""},
                                                               {L"plain.mp3", L""},
                                                               {L"notes.txt", L""},
                                                               {L"album.mp3", L""}};
        for (const auto& row : expected)
        {
            ASSERT_EQ(1u, shown.count(row.first)) << row.first;
            EXPECT_EQ(row.second, shown[row.first]) << "setting " << on << ": " << row.first;
        }
    }
}
