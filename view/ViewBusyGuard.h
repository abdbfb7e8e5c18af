// The bracket around one action of the view: it begins with CQvView::StopViewTimers and
// ends with CQvView::StartBinaryCursorTimer, on every way out of the scope.
#pragma once
#include "view/QvView.h"

// Stops the view's timers when made (with any kind that StopViewTimers takes) and ends
// the action when the scope ends or at Release(), whichever comes first. Brackets nest:
// an action run inside another's leaves the end to the outermost bracket, which alone
// makes the view idle again. An inner bracket stops nothing once the outermost one made
// the full stop (STOP_TIMERS_FOR_ACTION); inside a lighter one (only marking the view
// busy) it makes its own stop.
class CViewBusyGuard
{
public:
    explicit CViewBusyGuard(CQvView& view, int kind = STOP_TIMERS_FOR_ACTION);
    ~CViewBusyGuard();
    CViewBusyGuard(const CViewBusyGuard&) = delete;
    CViewBusyGuard& operator=(const CViewBusyGuard&) = delete;

    // Ends the bracket now, for code that must run after the view is idle again; the
    // end of the scope then does nothing.
    void Release();
    // Ends the bracket but leaves the view busy, for a way out that must not make it idle
    // (the program is quitting); an enclosing bracket still ends as usual.
    void KeepBusy();

private:
    CQvView& m_view;
    bool m_open = true;
};
