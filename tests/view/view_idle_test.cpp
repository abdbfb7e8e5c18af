// Every command runs with the view busy, so the one-second change check cannot run
// into it, and leaves the view idle again, whatever its handler does itself.
#include "app/settings/FilerSettings.h"
#include "media/MciWnd.h"
#include "media/mci/MciDevice.h"
#include "tests/view/CommandTestSupport.h"

#include <array>
#include <string>
#include <vector>

namespace
{

CQvView* g_watched = nullptr;
std::vector<int> g_seenStates;

void RecordIdleState(const CommandEntry&, LPCWSTR, LPCWSTR)
{
    g_seenStates.push_back(g_watched->m_idleState);
}

class ViewIdle : public commandtest::CommandBench
{
};

TEST_F(ViewIdle, EveryCommandRunsBusyAndEndsIdle)
{
    struct Case
    {
        LPCWSTR keyword;
        bool runs;
    };
    const Case cases[] = {
        {L"@Wide", true},                 // splits the panes, with timers of its own
        {L"@ChangeDispHiddenFile", true}, // stops and restarts the timers itself
        {L"@NoSuchKeywordAtAll", false},  // not run at all
    };
    g_watched = &View();
    g_CommandObserver = RecordIdleState;
    for (const Case& c : cases)
    {
        LPCWSTR keyword = c.keyword;
        g_seenStates.clear();
        View().StartBinaryCursorTimer();
        View().ExecuteFilerCommand(keyword);
        EXPECT_EQ(!g_seenStates.empty(), c.runs) << std::wstring(keyword).c_str();
        for (int state : g_seenStates)
            EXPECT_EQ(state, 0) << "idle while running " << std::wstring(keyword).c_str();
        EXPECT_EQ(View().m_idleState, 1) << std::wstring(keyword).c_str();
        EXPECT_EQ(View().m_bReady, 1) << std::wstring(keyword).c_str();
    }
    g_watched = nullptr;
}

// The view as its timer sees it.
class CTimedView : public CQvView
{
public:
    using CQvView::OnTimer;
};

// A device that only reports the mode it is given.
class CModeDevice : public IMciDevice
{
public:
    explicit CModeDevice(int deviceMode) : mode(deviceMode) {}
    int GetMode() override { return mode; }
    LONG Open(LPCWSTR) override { return 0; }
    LONG Play() override { return 0; }
    void Stop() override {}
    void Close() override {}
    void Pause() override {}
    void Resume() override {}
    void SetTimeFormatMs() override {}
    LONG GetLength() override { return 0; }
    LONG GetPosition() override { return 0; }
    void Seek(LONG) override {}
    void SetVolume(int) override {}
    void SetZoom(int) override {}
    int GetZoom() override { return 100; }
    BOOL GetSourceRect(RECT&) override { return FALSE; }
    void ShowPlayBar(BOOL) override {}

    int mode;
};

// The one-second check asks the panes whether a re-read is due (each asking counts a
// tick), except while media plays and the user chose not to be disturbed then.
TEST_F(ViewIdle, ChangeCheckLeavesThePanesAloneWhileMediaPlaysIfAsked)
{
    struct Case
    {
        int neglect;
        int mode;
        int ticksAfter;
    };
    const Case cases[] = {
        {0, MEDIA_MODE_PLAY, 1},
        {1, MEDIA_MODE_PLAY, 0},
        {1, MEDIA_MODE_PAUSE, 0},
        {1, MEDIA_MODE_STOP, 1},
        {1, 0, 1}, // no media window at all
    };
    std::array<ReloadSetting, kReloadSettingCount> savedReload = g_ReloadSettings;
    for (ReloadSetting& setting : g_ReloadSettings)
        setting = {1, 1000};
    CMciWnd* savedWindow = g_MciWnd;
    for (const Case& c : cases)
    {
        Set(g_SOUNDNEGLECTRELOAD, c.neglect);
        CMciWnd window;
        window.SetDevice(new CModeDevice(c.mode));
        g_MciWnd = c.mode ? &window : nullptr;
        m_panes[0]->m_reloadTicks = 0;
        m_panes[1]->m_reloadTicks = 0;
        CTimedView view;
        view.m_idleState = 1;
        view.OnTimer(VIEW_TIMER_CHANGE_CHECK);
        EXPECT_EQ(m_panes[0]->m_reloadTicks, c.ticksAfter) << c.neglect << " " << c.mode;
        EXPECT_EQ(m_panes[1]->m_reloadTicks, c.ticksAfter) << c.neglect << " " << c.mode;
        EXPECT_EQ(view.m_idleState, 1);
        g_MciWnd = savedWindow;
    }
    g_ReloadSettings = savedReload;
}

} // namespace
