// The CD player's track choice and commands through a scripted CD device.
#include "app/Settings.h"
#include "app/dialogs/DialogAnswerScript.h"
#include "media/cd/CdPlayDlg.h"
#include "res/MediaDialogs.h"
#include "tests/common/DialogHarness.h"
#include "media/cd/CdPlayer.h"
#include "tests/common/TestHelpers.h"

#include <vector>

namespace
{

class CScriptedCd : public ICdAudioDevice
{
public:
    UINT Open(LPCWSTR) override { return 7; }
    BOOL SetTmsf(UINT) override { return TRUE; }
    BOOL GetTrackCount(UINT, int& count) override
    {
        count = 4;
        return TRUE;
    }
    BOOL GetTrackLength(UINT, int track, DWORD& length) override
    {
        length = MakeTmsf(3, track, 10, 0) >> 8;
        return TRUE;
    }
    DWORD GetPosition(UINT) override { return position; }
    BOOL IsMediaPresent(UINT) override { return TRUE; }
    int GetMode(UINT) override { return mode; }
    BOOL Play(UINT, DWORD from, DWORD to) override
    {
        plays.push_back(from);
        (void)to;
        if ((from & 0xFF) == failingTrack)
            return FALSE;
        mode = 526;
        return TRUE;
    }
    void Pause(UINT) override { mode = 529; }
    void StopAndClose(UINT) override { mode = 525; }
    BOOL IsRootAccessible(LPCWSTR) override { return TRUE; }

    int mode = 525;
    DWORD position = 0;
    DWORD failingTrack = 0;
    std::vector<DWORD> plays;
};

class CdPlayer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedDevice = g_CdAudioDevice;
        g_CdAudioDevice = &cd;
        savedRepeat = g_CDREPEAT;
        savedRandom = g_CDRANDOM;
        g_CdState = CD_STOPPED;
        ASSERT_EQ(1, ReadCdTracks(L"Q:", TRUE));
    }
    void TearDown() override
    {
        g_CdAudioDevice = savedDevice;
        g_CDREPEAT = savedRepeat;
        g_CDRANDOM = savedRandom;
        g_CdPlayerSeam = savedDraw;
        ClearCdTrackLists(nullptr);
        g_CdState = CD_STOPPED;
    }
    // The program as the tracks listed, with their flags.
    void SetProgram(const std::vector<int>& tracks, const std::vector<int>& unplayable = {},
                    const std::vector<int>& played = {})
    {
        g_CdProgram.RemoveAll();
        for (int t : tracks)
            g_CdProgram.Add(g_CdDiscTracks[t]);
        for (int i : unplayable)
            g_CdProgram[i].m_unplayable = 1;
        for (int i : played)
            g_CdProgram[i].m_played = 1;
    }

    CScriptedCd cd;
    ICdAudioDevice* savedDevice = nullptr;
    const CdPlayerSeam savedDraw = g_CdPlayerSeam;
    int savedRepeat = 0;
    int savedRandom = 0;
};

int g_draws[8];
int g_drawIndex = 0;
int ScriptedDraw()
{
    return g_draws[g_drawIndex++ % 8];
}

} // namespace

TEST_F(CdPlayer, TheDiscIsReadIntoTheProgram)
{
    ASSERT_EQ(4, g_CdDiscTracks.GetSize());
    EXPECT_EQ(4, g_CdProgram.GetSize());
    EXPECT_EQ(2, g_CdDiscTracks[1].m_minutes);
    EXPECT_EQ(10, g_CdDiscTracks[1].m_seconds);
    EXPECT_EQ(0u, g_CdDeviceId) << "a device opened for reading is closed again";
}

TEST_F(CdPlayer, SelectNextTrack)
{
    struct Case
    {
        std::vector<int> program, unplayable, played;
        INT_PTR position;
        int direction, repeat, random;
        std::vector<int> draws;
        int result;
        INT_PTR expectedPosition;
        INT_PTR expectedTrack;
    };
    const Case cases[] = {
        {{0, 1, 2}, {}, {}, 2, 1, 0, 0, {}, 0, 0, 0},          // the end without repeat
        {{0, 1, 2}, {}, {}, 2, 1, 1, 0, {}, 1, 0, 0},          // repeat wraps
        {{0, 1, 2}, {}, {}, 0, -1, 0, 0, {}, 1, 0, 0},         // previous at the first plays it again
        {{0, 1, 2}, {0}, {}, 0, -1, 0, 0, {}, 1, 1, 1},        // ...or the next playable one
        {{0, 1, 2}, {}, {}, 0, -1, 1, 0, {}, 1, 2, 2},         // previous with repeat wraps back
        {{0, 1, 2, 3}, {1, 2}, {}, 0, 1, 0, 0, {}, 1, 3, 3},   // unplayable entries are passed
        {{0, 1}, {0, 1}, {}, 0, 1, 1, 0, {}, 0, 0, 0},         // nothing playable
        {{3, 3, 1}, {}, {}, 0, 1, 0, 0, {}, 1, 1, 3},          // a track twice
        {{0, 1, 2}, {}, {1}, 0, 1, 0, 1, {10923, 0}, 1, 0, 0}, // random passes a played entry
        {{0, 1, 2}, {}, {}, 2, 1, 0, 1, {32767}, 1, 0, 0},     // random past the end wraps
        {{0, 1}, {}, {0, 1}, 0, 1, 0, 1, {16383}, 1, 1, 1},    // all played: marks start over
    };
    int row = 0;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(row++);
        SetProgram(c.program, c.unplayable, c.played);
        g_CDREPEAT = c.repeat;
        g_CDRANDOM = c.random;
        for (size_t i = 0; i < 8; ++i)
            g_draws[i] = i < c.draws.size() ? c.draws[i] : (c.draws.empty() ? 0 : c.draws.back());
        g_drawIndex = 0;
        g_CdPlayerSeam.random = ScriptedDraw;
        CCdPlayThread player;
        player.m_programPos = c.position;
        EXPECT_EQ(c.result, player.SelectNextTrack(c.direction));
        EXPECT_EQ(c.expectedPosition, player.m_programPos);
        EXPECT_EQ(c.expectedTrack, player.m_currentTrack);
    }
}

TEST_F(CdPlayer, NextWhilePausedWaitsForResume)
{
    CCdPlayThread player;
    player.m_driveString = L"Q:";
    g_CdDeviceId = 7;
    g_CdState = CD_PLAYING;
    player.Command(CD_PLAY);
    ASSERT_EQ(1u, cd.plays.size());
    EXPECT_EQ(MakeTmsf(1, 0, 0, 0), cd.plays[0]);
    cd.position = MakeTmsf(1, 0, 42, 0);
    player.Command(CD_PAUSE_RESUME);
    EXPECT_EQ(CD_PAUSED, g_CdState);
    player.Command(CD_NEXT);
    EXPECT_EQ(1u, cd.plays.size()) << "nothing plays while paused";
    EXPECT_EQ(1, player.m_currentTrack);
    player.Command(CD_PAUSE_RESUME);
    EXPECT_EQ(CD_PLAYING, g_CdState);
    ASSERT_EQ(2u, cd.plays.size());
    EXPECT_EQ(MakeTmsf(2, 0, 0, 0), cd.plays[1]) << "resume starts at the new track";
}

TEST_F(CdPlayer, ATrackThatFailsIsMarkedWhereverItStands)
{
    SetProgram({2, 0, 2});
    cd.failingTrack = 3; // disc track 2, counted from 1
    CCdPlayThread player;
    player.m_driveString = L"Q:";
    g_CdDeviceId = 7;
    g_CdState = CD_PLAYING;
    player.m_currentTrack = 2;
    player.Command(CD_PLAY);
    EXPECT_EQ(1, g_CdProgram[0].m_unplayable);
    EXPECT_EQ(0, g_CdProgram[1].m_unplayable);
    EXPECT_EQ(1, g_CdProgram[2].m_unplayable);
    EXPECT_EQ(1, g_CdDiscTracks[2].m_unplayable);
    // The poll after the failure goes on with the next playable entry.
    cd.mode = 525;
    player.Command(CD_POLL);
    EXPECT_EQ(1, player.m_programPos);
    EXPECT_EQ(0, player.m_currentTrack);
}

namespace
{

class CDrivenCdPlayDlg : public qvtest::CDrivenDialog<CDrivenCdPlayDlg, CCdPlayDlg>
{
};

void OneDrive(CStringArray& drives)
{
    drives.RemoveAll();
    drives.Add(L"Q:");
}

void NoDrive(CStringArray& drives)
{
    drives.RemoveAll();
}

} // namespace

TEST_F(CdPlayer, TheDialogListsTheDiscAndEditsTheProgram)
{
    const CdPlayDlgSeam saved = g_CdPlayDlgSeam;
    g_CdPlayDlgSeam.listDrives = OneDrive;
    std::vector<std::wstring> disc, program, edited;
    CDrivenCdPlayDlg dlg;
    dlg.drive = [&](CDrivenCdPlayDlg& d) {
        disc = d.ListBoxLines(IDC_CD_DISC);
        program = d.ListBoxLines(IDC_CD_PROGRAM);
        ::SendDlgItemMessageW(d.m_hWnd, IDC_CD_PROGRAM, LB_SETCURSEL, 0, 0);
        d.Command(IDC_CD_REMOVE);
        ::SendDlgItemMessageW(d.m_hWnd, IDC_CD_DISC, LB_SETCURSEL, 3, 0);
        ::SendDlgItemMessageW(d.m_hWnd, IDC_CD_PROGRAM, LB_SETCURSEL, 3, 0);
        d.Command(IDC_CD_ADD);
        d.Command(IDC_CD_UP);
        edited = d.ListBoxLines(IDC_CD_PROGRAM);
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    g_CdPlayDlgSeam = saved;
    EXPECT_EQ(std::vector<std::wstring>(
                  {L"Track 01 [01:10]", L"Track 02 [02:10]", L"Track 03 [03:10]", L"Track 04 [04:10]"}),
              disc);
    ASSERT_EQ(5u, program.size());
    EXPECT_EQ(L"01:Track 01 [01:10]", program[0]);
    EXPECT_EQ(L"末尾", program[4]);
    EXPECT_EQ(std::vector<std::wstring>({L"01:Track 02 [02:10]", L"02:Track 03 [03:10]",
                                         L"03:Track 04 [04:10]", L"04:Track 04 [04:10]", L"末尾"}),
              edited);
}

TEST_F(CdPlayer, TheDialogNeedsACdDrive)
{
    const CdPlayDlgSeam saved = g_CdPlayDlgSeam;
    g_CdPlayDlgSeam.listDrives = NoDrive;
    CDialogAnswerScript script;
    CCdPlayDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    g_CdPlayDlgSeam = saved;
    ASSERT_EQ(1u, script.GetQuestions().size());
    EXPECT_EQ(std::wstring(L"有効なCD-ROMドライブが有りません"), qvtest::W(script.GetQuestions()[0].text));
}

TEST_F(CdPlayer, TheButtonsShowTheirActiveOrInactivePictureByThePlayersState)
{
    const CdPlayDlgSeam saved = g_CdPlayDlgSeam;
    g_CdPlayDlgSeam.listDrives = OneDrive;
    const int controls[CCdPlayDlg::BUTTON_COUNT] = {IDC_CD_PREVIOUS, IDC_CD_PLAY, IDC_CD_PAUSE, IDC_CD_STOP,
                                                    IDC_CD_NEXT,     IDC_CD_ADD,  IDC_CD_REMOVE};
    // Per state: previous, play, pause, stop, next, add, remove (1 inactive).
    const struct
    {
        int state;
        std::vector<int> shown;
    } rows[] = {
        {CD_STOPPED, {1, 0, 1, 1, 1, 0, 0}},
        {CD_PLAYING, {0, 1, 0, 0, 0, 0, 0}},
        {CD_PAUSED, {0, 0, 0, 0, 0, 0, 0}},
        {CD_STOPPED, {1, 0, 1, 1, 1, 0, 0}},
    };
    std::vector<std::vector<int>> shown;
    std::vector<HBITMAP> previousPictures;
    bool everyButtonHasAPicture = true;
    CDrivenCdPlayDlg dlg;
    dlg.drive = [&](CDrivenCdPlayDlg& d) {
        for (const auto& row : rows)
        {
            g_CdState = row.state;
            d.UpdateButtons(FALSE);
            std::vector<int> now;
            for (int slot = 0; slot < CCdPlayDlg::BUTTON_COUNT; ++slot)
            {
                now.push_back(d.ShownPicture(slot));
                everyButtonHasAPicture =
                    everyButtonHasAPicture &&
                    ::SendDlgItemMessageW(d.m_hWnd, controls[slot], BM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
            }
            shown.push_back(now);
            previousPictures.push_back(reinterpret_cast<HBITMAP>(
                ::SendDlgItemMessageW(d.m_hWnd, IDC_CD_PREVIOUS, BM_GETIMAGE, IMAGE_BITMAP, 0)));
        }
        d.Command(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    g_CdPlayDlgSeam = saved;
    g_CdState = CD_STOPPED;
    ASSERT_EQ(4u, shown.size());
    for (size_t i = 0; i < shown.size(); ++i)
        EXPECT_EQ(rows[i].shown, shown[i]) << "row " << i;
    EXPECT_TRUE(everyButtonHasAPicture);
    // The inactive and the active picture are two pictures.
    EXPECT_NE(previousPictures[0], previousPictures[1]);
    EXPECT_EQ(previousPictures[0], previousPictures[3]);
}
