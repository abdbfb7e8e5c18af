// Directory keywords that act already.
#include "view/QvView.h"
#include "view/commands/CommandHandlers.h"

namespace commands
{

int ArmJumpKey(CQvView& view, const CommandCall&, INT_PTR)
{
    view.m_bJumpKeyArmed = 1;
    return 1;
}

int ReloadPanes(CQvView& view, const CommandCall&, INT_PTR)
{
    view.StopViewTimers(STOP_TIMERS_FOR_ACTION);
    view.ReloadFilerPanes();
    view.StartBinaryCursorTimer();
    return 1;
}

} // namespace commands
