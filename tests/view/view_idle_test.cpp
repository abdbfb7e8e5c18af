// Every command runs with the view busy, so the one-second change check cannot run
// into it, and leaves the view idle again, whatever its handler does itself.
#include "tests/view/CommandTestSupport.h"

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

} // namespace
