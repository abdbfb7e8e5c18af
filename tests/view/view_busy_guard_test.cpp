// The bracket around the view's actions: only the outermost one stops the timers and
// makes the view idle again, on whatever way its scope is left.
#include "view/ViewBusyGuard.h"

#include <gtest/gtest.h>

namespace
{

bool Idle(const CQvView& view)
{
    return view.m_idleState == 1 && view.m_bReady == 1;
}

// A view without a window has no timers to look at: the full stop shows in the scroll
// repeat's direction, which it clears and the mere busy mark leaves.
TEST(ViewBusyGuard, AnInnerBracketLeavesStopAndEndToTheOutermost)
{
    struct Case
    {
        int outer;
        int inner;
        bool innerStops;
    } const cases[] = {
        {STOP_TIMERS_FOR_ACTION, STOP_TIMERS_FOR_ACTION, false},
        {STOP_TIMERS_FOR_ACTION, STOP_TIMERS_MARK_BUSY, false},
        {STOP_TIMERS_MARK_BUSY, STOP_TIMERS_MARK_BUSY, false},
        // Inside a mere mark the full stop is still to be made.
        {STOP_TIMERS_MARK_BUSY, STOP_TIMERS_FOR_ACTION, true},
    };
    CQvView view;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.outer << " " << c.inner);
        view.StartBinaryCursorTimer();
        {
            CViewBusyGuard outer(view, c.outer);
            EXPECT_FALSE(Idle(view));
            view.m_scrollRepeatDir = 1;
            {
                CViewBusyGuard inner(view, c.inner);
                EXPECT_EQ(c.innerStops ? 0 : 1, view.m_scrollRepeatDir);
            }
            EXPECT_FALSE(Idle(view)) << "the inner bracket ended the action";
            view.m_scrollRepeatDir = 1;
            {
                CViewBusyGuard again(view, c.inner);
                EXPECT_EQ(1, view.m_scrollRepeatDir) << "the full stop is made once";
            }
        }
        EXPECT_TRUE(Idle(view));
    }
}

TEST(ViewBusyGuard, AnEarlyReturnEndsTheActionToo)
{
    CQvView view;
    auto action = [&view](bool early) {
        CViewBusyGuard busy(view);
        if (early)
            return;
        view.m_scrollRepeatDir = 1;
    };
    for (bool early : {true, false})
    {
        view.m_idleState = view.m_bReady = 0;
        action(early);
        EXPECT_TRUE(Idle(view)) << early;
    }
}

TEST(ViewBusyGuard, ReleaseEndsAtOnceAndKeepBusyNever)
{
    CQvView view;
    {
        CViewBusyGuard busy(view);
        busy.Release();
        EXPECT_TRUE(Idle(view));
        view.m_idleState = 0;
    }
    EXPECT_EQ(0, view.m_idleState) << "the end of the scope ended the action a second time";
    {
        CViewBusyGuard busy(view);
        busy.KeepBusy();
    }
    EXPECT_FALSE(Idle(view));
    {
        CViewBusyGuard next(view);
    }
    EXPECT_TRUE(Idle(view)) << "the next bracket is the outermost again";
}

} // namespace
